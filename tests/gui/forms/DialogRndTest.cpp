#include "gui/MainWindow.h"
#include "gui/forms/DialogRnd.h"
#include "support/EngineRuns.h"
#include "support/MainWindowFixture.h"
#include "support/PartialFiles.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>

using namespace orvalis::test;

namespace {

struct Values {
    QString ci, cf, cp, tam, amo, folder;
};

// Fills the open random dialog with the values and presses Ok, once it shows.
void answerRandomDialog(const Values& v)
{
    whenModalShows<DialogRnd>([v](DialogRnd& dialog) {
        typeInto(child<QSpinBox>(dialog, "Ci"), v.ci);
        typeInto(child<QSpinBox>(dialog, "Cf"), v.cf);
        typeInto(child<QSpinBox>(dialog, "Cp"), v.cp);
        typeInto(child<QSpinBox>(dialog, "Tam"), v.tam);
        typeInto(child<QSpinBox>(dialog, "amo"), v.amo);
        typeInto(child<QLineEdit>(dialog, "path"), v.folder);
        clickButton(dialog, QDialogButtonBox::Ok);
    });
}

}  // namespace

TEST(DialogRnd, FreshDialogShowsTheFieldsWithTheirRangesAndDefaults)
{
    DialogRnd dialog;
    EXPECT_EQ(dialog.objectName(), "DialogRnd");
    EXPECT_EQ(dialog.windowTitle(), "Random landscapes settings");
    expectSpinFields(dialog, {
        {"Ci", "label", "Cover mim", 0, 99, 1},
        {"Cf", "label_2", "Cover max", 1, 100, 100},
        {"Cp", "label_3", "Step change in cover", 1, 100, 1},
        {"Tam", "label_5", "Size", 2, 9999999, 100},
        {"amo", "label_4", "Number of replicates", 1, 999999, 1},
        {"nArq", "label_7", "TOTAL NUMBER OF FILES TO GENERATE", 0, 999999999, 100},
    });
    expectTotalField(dialog, "nArq");
    EXPECT_EQ(child<QLabel>(dialog, "label_6")->text(), "Folder");
    EXPECT_TRUE(child<QLineEdit>(dialog, "path")->text().isEmpty());
    EXPECT_EQ(child<QPushButton>(dialog, "pushButton")->text(), "...");
    EXPECT_EQ(dialog.coverMin(), 1);
    EXPECT_EQ(dialog.coverMax(), 100);
    EXPECT_EQ(dialog.coverStep(), 1);
    EXPECT_EQ(dialog.gridSize(), 100);
    EXPECT_EQ(dialog.replicates(), 1);
}

TEST(DialogRnd, TotalFollowsEveryTypedChange)
{
    struct Case {
        const char* name;
        QString ci, cf, cp, amo;
        int total;
    };
    const Case cases[] = {
        {"eleven levels of five", "0", "100", "10", "5", 55},
        {"levels 10, 20, 30 twice", "10", "35", "10", "2", 6},
        {"cover max below min", "50", "10", "1", "1", 0},
        {"one level", "99", "99", "7", "999999", 999999},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DialogRnd dialog;
        dialog.show();
        typeInto(child<QSpinBox>(dialog, "Ci"), c.ci);
        typeInto(child<QSpinBox>(dialog, "Cf"), c.cf);
        typeInto(child<QSpinBox>(dialog, "Cp"), c.cp);
        typeInto(child<QSpinBox>(dialog, "amo"), c.amo);
        auto* total = child<QSpinBox>(dialog, "nArq");
        EXPECT_EQ(total->value(), c.total);
        typeInto(child<QSpinBox>(dialog, "Tam"), "4096");
        EXPECT_EQ(dialog.gridSize(), 4096);
        EXPECT_EQ(total->value(), c.total) << "the size is not part of the total";
    }
}

TEST(DialogRnd, FolderChooserFillsOrEmptiesTheField)
{
    TempDir dir;
    DialogRnd dialog;
    dialog.show();
    auto* path = child<QLineEdit>(dialog, "path");
    auto* button = child<QPushButton>(dialog, "pushButton");

    const QString chosen = QString::fromStdString(dir.path().string());
    whenModalShows<QFileDialog>([chosen](QFileDialog& chooser) {
        EXPECT_EQ(chooser.windowTitle(), "Choose folder to generate files");
        chooser.setDirectory(chosen);
        QMetaObject::invokeMethod(&chooser, "accept");
    });
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(path->text(), chosen);
    EXPECT_EQ(dialog.folder(), chosen);

    cancelNextFileDialog();
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(path->text().isEmpty());
}

struct RandomActionFixture : MainWindowFixture {
    void trigger() { child<QAction>(window, "actionRandom")->trigger(); }
};

TEST_F(RandomActionFixture, OkRunsTheSeriesIntoTheFolderWithTheSettingsSeed)
{
    TempDir out;
    const std::string folder = out.path().string();
    window.fileNames = QStringList{"old.txt"};
    answerRandomDialog({"10", "35", "10", "50", "2", QString::fromStdString(folder)});
    trigger();

    EXPECT_TRUE(window.reportedProblems().isEmpty()) << window.reportedProblems().join("\n").toStdString();
    QStringList expected;
    for (const char* name : {"010_50x50_a1.txt", "010_50x50_a2.txt", "020_50x50_a1.txt", "020_50x50_a2.txt",
                             "030_50x50_a1.txt", "030_50x50_a2.txt"})
        expected << QString::fromStdString(folder + "/" + name);
    EXPECT_EQ(window.fileNames, expected);
    EXPECT_EQ(listed(), expected);

    // The seed field starts at 5: the files are those of a seed-5 run of the engine.
    TempDir ref;
    const orvalis::RunResult r = randomSeries(ref.path().string(), {10, 35, 10}, 50, 50, 2, 0, 1, 5);
    ASSERT_FALSE(r.failed()) << r.message;
    const std::vector<std::string>& refNames = r.files;
    ASSERT_EQ(refNames.size(), 6u);
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(readFile(expected[k].toStdString()), readFile(refNames[k])) << k;
    EXPECT_TRUE(std::filesystem::exists(folder + "/random_ListFragStat.fbt"));
}

TEST_F(RandomActionFixture, EmptyFolderIsReportedAndNothingIsWritten)
{
    answerRandomDialog({"50", "50", "1", "10", "1", ""});
    trigger();
    ASSERT_EQ(window.reportedProblems().size(), 1);
    EXPECT_TRUE(window.reportedProblems()[0].contains("no folder"));
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST_F(RandomActionFixture, UnwritableFolderIsReportedAndListsNothing)
{
    const QString missing = QString::fromStdString((dir.path() / "missing").string());
    window.fileNames = QStringList{"old.txt"};
    answerRandomDialog({"50", "50", "1", "10", "1", missing});
    trigger();
    ASSERT_EQ(window.reportedProblems().size(), 1);
    EXPECT_TRUE(window.reportedProblems()[0].contains(missing + "/050_10x10_a1.txt"));
    EXPECT_TRUE(window.fileNames.isEmpty());
    EXPECT_EQ(list->count(), 0);
}

TEST_F(RandomActionFixture, CancelInsideALargeLandscapeRemovesIt)
{
    TempDir out;
    const std::string file = out.path().string() + "/050_10000x10000_a1.txt";
    // Cancel as soon as the landscape has started to reach the disk.
    QTimer watcher;
    watcher.setInterval(5);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (unfinishedFiles(out.path(), true) > 0) {
            if (auto* progress = window.findChild<QProgressDialog*>())
                progress->cancel();
        }
    });
    watcher.start();
    answerRandomDialog({"50", "50", "1", "10000", "2", QString::fromStdString(out.path().string())});
    trigger();
    watcher.stop();
    EXPECT_TRUE(window.reportedProblems().isEmpty());
    EXPECT_TRUE(window.fileNames.isEmpty());
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_EQ(unfinishedFiles(out.path()), 0u);
    EXPECT_EQ(readFile(out.path().string() + "/random_ListFragStat.fbt"), "");
}
