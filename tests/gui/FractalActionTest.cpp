#include "gui/MainWindow.h"
#include "gui/forms/dialogFbm.h"
#include "support/MainWindowFixture.h"
#include "support/MetricsTable.h"
#include "support/PartialFiles.h"

#include <QAction>
#include <QCheckBox>
#include <QTest>
#include <QDialogButtonBox>
#include <QProgressDialog>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

using namespace orvalis::test;

namespace {

// Fills the fractal dialog once it shows, then presses Ok.
void answerFractalDialog(std::vector<Entry> entries, bool tickMetrics = false)
{
    whenModalShows<dialogFbm>([entries, tickMetrics](dialogFbm& dialog) {
        if (tickMetrics)
            QTest::keyClick(child<QCheckBox>(dialog, "metrics"), Qt::Key_Space);
        typeEntries(dialog, entries);
        clickButton(dialog, QDialogButtonBox::Ok);
    });
}

struct FractalWindow : MainWindowFixture {
    TempDir out;

    void trigger() { child<QAction>(window, "actionFractal")->trigger(); }
};

TEST_F(FractalWindow, OkRunsWithTheDialogValuesAndListsTheWrittenFilesSorted)
{
    window.setSettings({"", "", 5, 2});
    // No trailing "/": the window adds it.
    answerFractalDialog({{"Hi", "0.4"},
        {"Hf", "0.5"},
        {"Cf", "60"},
        {"Ci", "20"},
        {"Cp", "20"},
        {"Tam", "16"},
        {"amo", "2"},
        {"path", QString::fromStdString(out.path().string())}}, true);
    trigger();
    EXPECT_TRUE(window.reportedProblems().isEmpty());
    ASSERT_FALSE(window.fileNames.isEmpty());
    std::vector<std::string> files;
    for (const QString& name : window.fileNames)
        files.push_back(name.toStdString());
    EXPECT_EQ(readFile(out.file("metrics.csv")), measuredTable(files));
    EXPECT_LE(window.fileNames.size(), 2 * 3 * 2);
    const QString prefix = QString::fromStdString(out.path().string()) + "/";
    for (const QString& name : window.fileNames) {
        EXPECT_TRUE(name.startsWith(prefix + "0.40_") || name.startsWith(prefix + "0.50_")) << name.toStdString();
        const std::string text = readFile(name.toStdString());
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 16);
        EXPECT_EQ(std::set<char>(text.begin(), text.end()), (std::set<char>{'2', '5', ' ', '\n'}));
    }
    QStringList sorted = window.fileNames;
    sorted.sort();
    EXPECT_EQ(listed(), sorted);
}

TEST_F(FractalWindow, SizeAboveTheSurfaceAndMissingFolderAreRefusedBeforeAnythingStarts)
{
    window.fileNames = QStringList{"kept.txt"};
    answerFractalDialog({{"Tam", "5000"}, {"path", QString::fromStdString(out.path().string())}});
    trigger();
    ASSERT_EQ(window.reportedProblems().size(), 1);
    EXPECT_TRUE(window.reportedProblems().last().contains("4096")) << window.reportedProblems().last().toStdString();

    answerFractalDialog({{"Tam", "16"}, {"path", ""}});
    trigger();
    ASSERT_EQ(window.reportedProblems().size(), 2);
    EXPECT_TRUE(window.reportedProblems().last().contains("no folder")) << window.reportedProblems().last().toStdString();

    EXPECT_EQ(window.fileNames, QStringList{"kept.txt"});
    EXPECT_TRUE(std::filesystem::is_empty(out.path()));
}

TEST_F(FractalWindow, FileThatCannotBeWrittenIsReportedAndNotListed)
{
    const std::string blocked = out.file("0.50_040_00001.txt");
    std::filesystem::create_directory(blocked);
    answerFractalDialog({{"Hi", "0.5"},
        {"Hf", "0.5"},
        {"Ci", "40"},
        {"Cf", "40"},
        {"Tam", "16"},
        {"amo", "1"},
        {"path", QString::fromStdString(out.path().string() + "/")}});
    trigger();
    ASSERT_EQ(window.reportedProblems().size(), 1);
    EXPECT_TRUE(window.reportedProblems().last().contains(QString::fromStdString(blocked)))
        << window.reportedProblems().last().toStdString();
    EXPECT_TRUE(window.fileNames.isEmpty());
}

// The run goes on a thread of its own; its one dialog's Cancel leaves only whole, listed files.
TEST_F(FractalWindow, CancelOnItsThreadLeavesWholeListedFiles)
{
    const int size = 1025;
    bool sawLabel = false;
    QTimer watcher;
    watcher.setInterval(5);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        const QList<QProgressDialog*> dialogs = window.findChildren<QProgressDialog*>();
        EXPECT_LE(dialogs.size(), 1);
        std::size_t files = 0;
        for (const auto& entry : std::filesystem::directory_iterator(out.path()))
            files += entry.path().extension() == ".txt" ? 1 : 0;
        if (dialogs.isEmpty())
            return;
        sawLabel = sawLabel || dialogs.front()->labelText().startsWith("gerando para h=0.10 amostra no.");
        if (files >= 2 && (sawLabel || files >= 8))
            dialogs.front()->cancel();
    });
    watcher.start();
    answerFractalDialog({{"Hi", "0.1"}, {"Hf", "0.9"}, {"Ci", "1"}, {"Cf", "99"}, {"Tam", QString::number(size)},
                         {"amo", "50"}, {"path", QString::fromStdString(out.path().string())}});
    trigger();
    watcher.stop();
    EXPECT_TRUE(sawLabel);
    EXPECT_TRUE(window.reportedProblems().isEmpty());
    ASSERT_GE(window.fileNames.size(), 2);
    std::set<std::string> onDisk;
    for (const auto& entry : std::filesystem::directory_iterator(out.path()))
        if (entry.path().extension() == ".txt")
            onDisk.insert(entry.path().string());
    std::set<std::string> listedNames;
    for (const QString& name : window.fileNames) {
        listedNames.insert(name.toStdString());
        const std::string text = readFile(name.toStdString());
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), size) << name.toStdString();
    }
    EXPECT_EQ(onDisk, listedNames);
    EXPECT_EQ(unfinishedFiles(out.path()), 0u);
}

}  // namespace
