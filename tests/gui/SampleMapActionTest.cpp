#include "core/random/RandomSource.h"
#include "core/sampler/SampleRun.h"
#include "gui/MainWindow.h"
#include "gui/MapView.h"
#include "gui/forms/DialogSample.h"
#include "support/MainWindowFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressDialog>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>

using namespace orvalis::test;

namespace {

const std::string exampleMap = sourceDir() + "/examples/augusta_nlcd.tif";

struct MapRun {
    std::string map = exampleMap;
    QString classes;
    int format = 0;  // the dialog's order: GeoTIFF, ESRI ASCII grid, text grid
    bool keepClasses = false;
};

struct SampleMapFixture : MainWindowFixture {
    void SetUp() override
    {
        window.setSettings({"M_", "", 1, 0});
        MainWindowFixture::SetUp();
    }

    // Fills the sampler dialog for a map the way a user would and presses OK; the windows go to
    // a fresh "windows" folder in the working folder.
    void runSample(const MapRun& run)
    {
        std::filesystem::remove_all("windows");
        std::filesystem::remove("sample.txt");  // each run starts without an earlier log to ask about
        std::filesystem::create_directory("windows");
        whenModalShows<DialogSample>([=](DialogSample& d) {
            child<QSpinBox>(d, "Tam")->setValue(30);
            child<QSpinBox>(d, "amo")->setValue(2);
            child<QSpinBox>(d, "Cp")->setValue(20);
            child<QSpinBox>(d, "Ci")->setValue(20);
            child<QSpinBox>(d, "Cf")->setValue(80);
            typeInto(child<QLineEdit>(d, "image"), QString::fromStdString(run.map));
            typeInto(child<QLineEdit>(d, "path"), "windows");
            typeInto(child<QLineEdit>(d, "habitatClasses"), run.classes);
            child<QComboBox>(d, "windowFormat")->setCurrentIndex(run.format);
            child<QCheckBox>(d, "keepClasses")->setChecked(run.keepClasses);
            clickButton(d, QDialogButtonBox::Ok);
        });
        child<QAction>(window, "actionSample")->trigger();
    }
};

// The window's run is the engine's run with the same parameters and draws, made in another
// folder: the same windows byte for byte, log and list. The progress shows the map's read first.
TEST_F(SampleMapFixture, RunOnTheExampleMapIsTheEnginesRun)
{
    struct Case {
        const char* name;
        MapRun run;
        orvalis::WindowFormat format;
    } cases[] = {
        {"GeoTIFF of habitat and matrix", {exampleMap, "41-43, 99", 0, false}, orvalis::WindowFormat::Tif},
        {"ESRI grid of the map's classes", {exampleMap, "90, 41", 1, true}, orvalis::WindowFormat::Asc},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir engineDir;
        orvalis::SampleResult want;
        {
            WorkingDir there(engineDir.path());
            std::filesystem::create_directory("windows");
            orvalis::SampleParameters p;
            p.image = exampleMap;
            p.folder = "windows";
            p.windowSize = 30;
            p.replicates = 2;
            p.cover = {20, 80, 20};
            p.prefix = "M_";
            p.habitatClasses = c.run.classes.toStdString();
            p.format = c.format;
            p.keepClasses = c.run.keepClasses;
            orvalis::RandomSource random(orvalis::globalRandom().state());
            orvalis::RunControl control;
            want = orvalis::runSample(p, random, control);
        }
        QStringList labels;
        qsizetype mostDialogs = 0;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            const QList<QProgressDialog*> dialogs = window.findChildren<QProgressDialog*>();
            mostDialogs = std::max(mostDialogs, dialogs.size());
            for (const QProgressDialog* d : dialogs) {
                const QString phase = d->labelText().section('\n', 0, 0);
                if (!labels.contains(phase))
                    labels << phase;
            }
        });
        watch.start(0);
        const qsizetype problemsBefore = window.reportedProblems().size();
        runSample(c.run);
        watch.stop();
        // The Map tab reads the run's log and windows on a thread: what it says belongs to this run.
        auto* map = window.findChild<MapView*>("mapView");
        QSignalSpy loaded(map, &MapView::loaded);
        ASSERT_TRUE(!map->loading() || loaded.wait(10000));
        // The dialog follows the run a few times a second: a search this short may end unseen.
        const QStringList phases{QString::fromUtf8("Reading the map\u2026"), "Calculando..."};
        ASSERT_FALSE(labels.isEmpty());
        EXPECT_EQ(labels, phases.mid(0, labels.size()));
        EXPECT_EQ(mostDialogs, 1);

        ASSERT_FALSE(want.files.empty());
        QStringList names;
        for (const std::string& f : want.files) {
            names << QString::fromStdString(f);
            EXPECT_EQ(readFile(f), readFile((engineDir.path() / f).string())) << f;
        }
        EXPECT_EQ(window.fileNames, names);
        for (const char* list : {"sample.txt", "M_ListFragStat.fbt"})
            EXPECT_EQ(readFile(list), readFile((engineDir.path() / list).string())) << list;
        // A class listed on its own that the map lacks is worth a word; nothing else is.
        const QStringList problems = window.reportedProblems().mid(problemsBefore);
        ASSERT_EQ(problems.size(), want.warnings.empty() ? 0 : 1) << problems.join('\n').toStdString();
        for (const std::string& w : want.warnings)
            EXPECT_TRUE(problems.front().contains(QString::fromStdString(w))) << problems.front().toStdString();
    }
}

TEST_F(SampleMapFixture, MapRunsThatCannotStartSayWhyAndWriteNothing)
{
    writeFile(dir.file("notes.tif"), "not a raster\n");
    struct Case {
        const char* name;
        MapRun run;
        const char* says;
    } cases[] = {
        {"a file GDAL does not read", {dir.file("notes.tif"), "1"}, "cannot be opened as a map"},
        {"no listed class in the map", {exampleMap, "99"}, "none of the habitat classes 99 occurs"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const qsizetype before = window.reportedProblems().size();
        runSample(c.run);
        ASSERT_EQ(window.reportedProblems().size(), before + 1);
        EXPECT_TRUE(window.reportedProblems().back().contains(c.says)) << window.reportedProblems().back().toStdString();
        EXPECT_TRUE(window.fileNames.isEmpty());
        EXPECT_FALSE(std::filesystem::exists(dir.file("sample.txt")));
    }
}

}  // namespace
