#include "gui/MainWindow.h"
#include "gui/SampleAction.h"
#include "gui/MapView.h"
#include "core/random/RandomSource.h"
#include "gui/forms/DialogSample.h"
#include "support/SamplerTestSupport.h"
#include "support/MainWindowFixture.h"
#include "support/MetricsTable.h"
#include "support/NamedCase.h"
#include "support/PartialFiles.h"

#include <QAction>
#include <QCheckBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QStatusBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <functional>

using namespace orvalis::test;

namespace {

struct SampleActionFixture : MainWindowFixture {
    std::string folder = dir.file("windows");
    std::string imagePath = dir.file("land.tga");
    BlueImage image = makeBlue(240, 180, [](int x, int y) -> unsigned char { return (x * 7 + y * 3) % 200 < 90 ? 0 : 230; });

    void SetUp() override
    {
        std::filesystem::create_directory(folder);
        writeTga(imagePath, image);
        window.setSettings({"G_", ",x", 4, 2});
        MainWindowFixture::SetUp();
    }

    // Typed into the working folder's field when set.
    QString workFolder;
    // The button that answers the question about an earlier log, when one is expected.
    const char* earlierLogAnswer = nullptr;

    // Clicks the named button of the question once it shows: after the sampler dialog has closed.
    static void answerEarlierLog(const char* button, int triesLeft)
    {
        QTimer::singleShot(10, [button, triesLeft] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) {
                ASSERT_GT(triesLeft, 0) << "no question about the earlier log";
                answerEarlierLog(button, triesLeft - 1);
                return;
            }
            QTest::mouseClick(child<QPushButton>(*box, button), Qt::LeftButton);
        });
    }

    // Fills the sampler dialog the way a user would and presses OK.
    void runSample(const QString& imageText, const QString& folderText, int size, int replicates, int minDistance,
                   int ci, int cf, int cp, std::function<void()> whileRunning = {})
    {
        whenModalShows<DialogSample>([=, this](DialogSample& d) {
            ASSERT_EQ(&d, &window.sampleDialog());
            child<QSpinBox>(d, "Tam")->setValue(size);
            child<QSpinBox>(d, "amo")->setValue(replicates);
            child<QSpinBox>(d, "distMin")->setValue(minDistance);
            child<QSpinBox>(d, "Cp")->setValue(cp);
            child<QSpinBox>(d, "Ci")->setValue(ci);
            child<QSpinBox>(d, "Cf")->setValue(cf);
            typeInto(child<QLineEdit>(d, "image"), imageText);
            typeInto(child<QLineEdit>(d, "path"), folderText);
            if (!workFolder.isEmpty())
                typeInto(child<QLineEdit>(d, "workFolder"), workFolder);
            if (earlierLogAnswer)
                answerEarlierLog(earlierLogAnswer, 500);
            if (whileRunning)
                QTimer::singleShot(0, whileRunning);
            clickButton(d, QDialogButtonBox::Ok);
        });
        child<QAction>(window, "actionSample")->trigger();
    }

};

TEST_F(SampleActionFixture, RunThroughTheDialogWritesListsAndLogs)
{
    const std::uint32_t state = orvalis::globalRandom().state();
    child<QCheckBox>(window.sampleDialog(), "metrics")->setChecked(true);  // as the last run left it
    runSample(QString::fromStdString(imagePath), QString::fromStdString(folder), 21, 2, 5, 10, 90, 20);

    ReferenceSettings s{10, 2, 10, 90, 20, 5, 4, 2, folder, "G_", -1};
    const ReferenceRun want = referenceRun(image, s, state);
    ASSERT_FALSE(want.windows.empty());
    QStringList names;
    std::vector<std::string> files;
    std::string batch;
    for (const auto& w : want.windows) {
        names << QString::fromStdString(w.name);
        files.push_back(w.name);
        batch += w.name + ",x\n";
        EXPECT_EQ(readFile(w.name), w.content);
    }
    EXPECT_EQ(readFile(dir.file("metrics.csv")), measuredTable(files));
    EXPECT_EQ(window.fileNames, names);
    QStringList sorted = names;
    sorted.sort();
    EXPECT_EQ(listed(), sorted);
    EXPECT_EQ(readFile(dir.file("sample.txt")), want.log());
    EXPECT_EQ(readFile(dir.file("G_ListFragStat.fbt")), batch);
    EXPECT_TRUE(window.reportedProblems().isEmpty());
    // Every run ends with its summary in the status bar.
    const QString summary = window.findChild<QStatusBar*>()->currentMessage();
    EXPECT_TRUE(summary.startsWith("Sample: " + QString::number(want.windows.size()) + " of ")) << summary.toStdString();
    EXPECT_EQ(orvalis::globalRandom().state(), want.finalState);
    // The dialog keeps what was entered for the next run.
    EXPECT_TRUE(window.sampleDialog().measureMetrics());
    EXPECT_EQ(window.sampleDialog().windowSize(), 21);
    EXPECT_EQ(window.sampleDialog().coverStep(), 20);
    EXPECT_EQ(window.sampleDialog().folder(), QString::fromStdString(folder));
    // The Map tab shows the run's image with its windows, their side learnt from their files.
    auto* map = child<MapView>(window, "mapView");
    QSignalSpy loaded(map, &MapView::loaded);
    ASSERT_TRUE(!map->loading() || loaded.wait(10000));
    EXPECT_EQ(QFileInfo(map->scene().mapPath), QFileInfo(QString::fromStdString(imagePath)));
    ASSERT_EQ(map->scene().windows.size(), static_cast<qsizetype>(want.windows.size()));
    EXPECT_EQ(map->scene().windows[0].cells.width(), 20);
}

TEST_F(SampleActionFixture, APipeChosenAsTheImageIsRefusedWithoutWaiting)
{
    const std::string fifo = dir.file("pipe.tga");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    runSample(QString::fromStdString(fifo), QString::fromStdString(folder), 20, 1, 10, 1, 100, 1);
    ASSERT_EQ(window.reportedProblems().size(), 1);
    EXPECT_TRUE(window.reportedProblems().front().contains("not a plain file"));
    EXPECT_FALSE(std::filesystem::exists(dir.file("sample.txt")));
}

TEST_F(SampleActionFixture, ImageThatDoesNotLoadIsShownInTheWindow)
{
    window.fileNames = QStringList{"old.txt"};
    runSample(QString::fromStdString(dir.file("nothing.tga")), QString::fromStdString(folder), 20, 1, 10, 1, 100, 1);
    ASSERT_EQ(window.reportedProblems().size(), 1);
    EXPECT_TRUE(window.reportedProblems().front().contains("nothing.tga"));
    EXPECT_TRUE(window.fileNames.isEmpty());
    EXPECT_TRUE(listed().isEmpty());
    EXPECT_FALSE(std::filesystem::exists(dir.file("G_ListFragStat.fbt")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("sample.txt")));
}

TEST_F(SampleActionFixture, FolderThatCannotBeWrittenIsNamedAndNothingIsListed)
{
    const std::string missing = dir.file("gone");
    // An earlier run's log and list stay as they were: the run is refused before it starts.
    writeFile(dir.file("sample.txt"), "w/G_050_001.txt 0.5 20 20\n");
    writeFile(dir.file("G_ListFragStat.fbt"), "w/G_050_001.txt\n");
    earlierLogAnswer = "replaceLog";
    runSample(QString::fromStdString(imagePath), QString::fromStdString(missing), 20, 1, 10, 1, 100, 1);
    ASSERT_EQ(window.reportedProblems().size(), 1);
    EXPECT_TRUE(window.reportedProblems().front().contains(QString::fromStdString(missing + " cannot be used")))
        << window.reportedProblems().front().toStdString();
    EXPECT_TRUE(window.fileNames.isEmpty());
    EXPECT_TRUE(listed().isEmpty());
    EXPECT_EQ(readFile(dir.file("sample.txt")), "w/G_050_001.txt 0.5 20 20\n");
    EXPECT_EQ(readFile(dir.file("G_ListFragStat.fbt")), "w/G_050_001.txt\n");
}

TEST_F(SampleActionFixture, RunWithNoCentreLeftEndsAndSaysSo)
{
    image = makeBlue(600, 600, [](int, int) -> unsigned char { return 0; });
    writeTga(imagePath, image);
    runSample(QString::fromStdString(imagePath), QString::fromStdString(folder), 2, 5, 5000, 99, 100, 1);
    EXPECT_EQ(window.fileNames.size(), 1);
    ASSERT_EQ(window.reportedProblems().size(), 1);
    EXPECT_TRUE(window.reportedProblems().front().contains("no window centre is left"));
    EXPECT_EQ(listed(), window.fileNames);
}

TEST_F(SampleActionFixture, EmptyFolderWritesNothing)
{
    runSample(QString::fromStdString(imagePath), QString(), 20, 1, 10, 1, 100, 1);
    ASSERT_EQ(window.reportedProblems().size(), 1);
    EXPECT_TRUE(window.reportedProblems().front().contains("no folder"));
    EXPECT_TRUE(window.fileNames.isEmpty());
    EXPECT_FALSE(std::filesystem::exists(dir.file("sample.txt")));
}

// One dialog follows the run on its thread, and its Cancel stops it between whole windows.
TEST_F(SampleActionFixture, CancelStopsTheRunOnItsThreadAndKeepsWholeFiles)
{
    image = makeBlue(400, 400, [](int, int) -> unsigned char { return 0; });
    writeTga(imagePath, image);
    bool inspected = false;
    qsizetype mostDialogs = 0;
    std::function<void()> cancelAfterThreeFiles;
    cancelAfterThreeFiles = [&] {
        const QList<QProgressDialog*> dialogs = window.findChildren<QProgressDialog*>();
        mostDialogs = std::max(mostDialogs, dialogs.size());
        if (dialogs.isEmpty() || filesIn(folder) < 3 || !dialogs.front()->labelText().contains("windows written")) {
            QTimer::singleShot(0, cancelAfterThreeFiles);
            return;
        }
        QProgressDialog* progress = dialogs.front();
        const QStringList lines = progress->labelText().split('\n');
        ASSERT_EQ(lines.size(), 3) << progress->labelText().toStdString();
        EXPECT_EQ(lines[0], "Calculando...");
        EXPECT_TRUE(lines[2].startsWith("Tempo de busca total... ")) << lines[2].toStdString();
        EXPECT_EQ(progress->windowModality(), Qt::WindowModal);
        EXPECT_EQ(progress->maximum(), 1998);  // cover min stops at 99: (100 + 1 - 99) * 999
        inspected = true;
        QPushButton* cancel = nullptr;
        for (QPushButton* b : progress->findChildren<QPushButton*>(QString(), Qt::FindDirectChildrenOnly))
            if (b->text() == "Cancel")
                cancel = b;
        ASSERT_NE(cancel, nullptr);
        QTest::mouseClick(cancel, Qt::LeftButton);
    };
    runSample(QString::fromStdString(imagePath), QString::fromStdString(folder), 10, 999, 0, 100, 100, 1,
              cancelAfterThreeFiles);
    EXPECT_TRUE(inspected);
    EXPECT_EQ(mostDialogs, 1);
    const qsizetype k = window.fileNames.size();
    EXPECT_GE(k, 3);
    EXPECT_LT(k, 1998);
    EXPECT_EQ(filesIn(folder), static_cast<std::size_t>(k));
    EXPECT_EQ(unfinishedFiles(folder), 0u);
    // Every window is whole: ten lines of ten cells, all habitat.
    for (const QString& name : window.fileNames)
        EXPECT_EQ(readFile(name.toStdString()), readFile(window.fileNames.front().toStdString()));
    const std::string log = readFile(dir.file("sample.txt"));
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), k);
    const std::string batch = readFile(dir.file("G_ListFragStat.fbt"));
    EXPECT_EQ(std::count(batch.begin(), batch.end(), '\n'), k);
    QStringList sorted = window.fileNames;
    sorted.sort();
    EXPECT_EQ(listed(), sorted);
    EXPECT_TRUE(window.findChildren<QProgressDialog*>().isEmpty());
}

// A second run in the same working folder asks before it replaces the first one's log.
TEST_F(SampleActionFixture, EarlierLogIsKeptReplacedOrLeftAsTheUserAnswers)
{
    struct Case {
        const char* answer;
        bool runs;
        bool kept;
    } cases[] = {
        {"keepCopy", true, true},
        {"replaceLog", true, false},
        {"cancelRun", false, false},
    };
    const std::string work = dir.file("work");
    std::filesystem::create_directory(work);
    workFolder = QString::fromStdString(work);
    const QString log = QString::fromStdString(work + "/sample.txt");
    // The Map tab reads each run's log after the run: let it finish before the folder is cleared.
    auto* map = child<MapView>(window, "mapView");
    const auto mapSettled = [map] {
        QSignalSpy loaded(map, &MapView::loaded);
        if (map->loading())
            loaded.wait(10000);
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        std::filesystem::remove_all(work);
        std::filesystem::create_directory(work);
        earlierLogAnswer = nullptr;
        runSample(QString::fromStdString(imagePath), QString::fromStdString(folder), 21, 2, 5, 10, 90, 20);
        mapSettled();
        ASSERT_TRUE(window.reportedProblems().isEmpty()) << window.reportedProblems().join('\n').toStdString();
        // The log goes to the working folder, not to the folder the program started in.
        EXPECT_FALSE(std::filesystem::exists(dir.file("sample.txt")));
        EXPECT_TRUE(std::filesystem::exists(work + "/G_ListFragStat.fbt"));
        const std::string firstLog = readFile(log.toStdString());
        const std::string firstRecord = readFile(work + "/sample-run.txt");
        ASSERT_FALSE(firstLog.empty());
        const QDateTime written(QDate(2024, 5, 1), QTime(13, 2, 3));
        QFile logFile(log);
        ASSERT_TRUE(logFile.open(QIODevice::ReadWrite));
        ASSERT_TRUE(logFile.setFileTime(written, QFileDevice::FileModificationTime));
        logFile.close();
        // A copy of that second is there already: the new copies take the next number.
        writeFile(work + "/sample-run-20240501-130203.txt", "older\n");
        const QStringList firstList = window.fileNames;
        const std::uint32_t state = orvalis::globalRandom().state();

        earlierLogAnswer = c.answer;
        runSample(QString::fromStdString(imagePath), QString::fromStdString(folder), 21, 2, 5, 10, 90, 20);
        mapSettled();
        EXPECT_TRUE(window.reportedProblems().isEmpty());
        EXPECT_EQ(std::filesystem::exists(work + "/sample-20240501-130203-2.txt"), c.kept);
        if (c.kept) {
            EXPECT_EQ(readFile(work + "/sample-20240501-130203-2.txt"), firstLog);
            EXPECT_EQ(readFile(work + "/sample-run-20240501-130203-2.txt"), firstRecord);
            EXPECT_TRUE(window.statusBar()->currentMessage().contains("sample-20240501-130203-2.txt"));
        }
        EXPECT_EQ(readFile(work + "/sample-run-20240501-130203.txt"), "older\n");
        EXPECT_EQ(orvalis::globalRandom().state() != state, c.runs);
        if (!c.runs) {
            EXPECT_EQ(readFile(log.toStdString()), firstLog);
            EXPECT_EQ(window.fileNames, firstList);
        }
    }
}

}  // namespace
