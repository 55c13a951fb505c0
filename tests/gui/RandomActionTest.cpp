#include "gui/MainWindow.h"
#include "gui/forms/DialogRnd.h"
#include "support/EngineRuns.h"
#include "support/MainWindowFixture.h"
#include "support/MetricsTable.h"
#include "support/PartialFiles.h"

#include <QAction>
#include <QCheckBox>
#include <QTest>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QProgressDialog>
#include <QSpinBox>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

using namespace orvalis::test;

namespace {

struct Values {
    QString ci, cf, cp, tam, amo, folder;
    bool tickMetrics = false;
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
        if (v.tickMetrics)
            QTest::keyClick(child<QCheckBox>(dialog, "metrics"), Qt::Key_Space);
        clickButton(dialog, QDialogButtonBox::Ok);
    });
}

struct RandomActionFixture : MainWindowFixture {
    void trigger() { child<QAction>(window, "actionRandom")->trigger(); }
};

TEST_F(RandomActionFixture, OkRunsTheSeriesIntoTheFolderWithTheSettingsSeed)
{
    TempDir out;
    const std::string folder = out.path().string();
    window.fileNames = QStringList{"old.txt"};
    answerRandomDialog({"10", "35", "10", "50", "2", QString::fromStdString(folder), true});
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
    std::vector<std::string> files;
    for (const QString& name : expected)
        files.push_back(name.toStdString());
    EXPECT_EQ(readFile(folder + "/metrics.csv"), measuredTable(files));
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
    EXPECT_TRUE(window.reportedProblems()[0].contains(missing + "/ cannot be used"));
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
        if (filesBeingWritten(getpid(), out.path(), true) > 0) {
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

}  // namespace
