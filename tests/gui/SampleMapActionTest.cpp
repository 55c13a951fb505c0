#include "core/random/RandomSource.h"
#include "core/sampler/SampleRun.h"
#include "gui/MainWindow.h"
#include "gui/forms/DialogSample.h"
#include "support/MainWindowFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressDialog>
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
    std::string folder = dir.file("windows");

    void SetUp() override
    {
        std::filesystem::create_directory(folder);
        window.setSettings({"M_", "", 1, 0});
        MainWindowFixture::SetUp();
    }

    // Fills the sampler dialog for a map the way a user would and presses OK.
    void runSample(const MapRun& run)
    {
        whenModalShows<DialogSample>([=, this](DialogSample& d) {
            child<QSpinBox>(d, "Tam")->setValue(30);
            child<QSpinBox>(d, "amo")->setValue(2);
            child<QSpinBox>(d, "distMin")->setValue(5);
            child<QSpinBox>(d, "Cp")->setValue(20);
            child<QSpinBox>(d, "Ci")->setValue(20);
            child<QSpinBox>(d, "Cf")->setValue(80);
            typeInto(child<QLineEdit>(d, "image"), QString::fromStdString(run.map));
            typeInto(child<QLineEdit>(d, "path"), QString::fromStdString(folder));
            typeInto(child<QLineEdit>(d, "habitatClasses"), run.classes);
            child<QComboBox>(d, "windowFormat")->setCurrentIndex(run.format);
            child<QCheckBox>(d, "keepClasses")->setChecked(run.keepClasses);
            clickButton(d, QDialogButtonBox::Ok);
        });
        child<QAction>(window, "actionSample")->trigger();
    }
};

// The window's run is the engine's run with the same parameters and draws: the same windows, byte
// for byte, and the same log. The progress dialog shows the map's read before the search.
TEST_F(SampleMapFixture, RunOnTheExampleMapIsTheEnginesRun)
{
    struct Case {
        const char* name;
        MapRun run;
        orvalis::WindowFormat format;
        const char* extension;
    } cases[] = {
        {"GeoTIFF of habitat and matrix", {exampleMap, "41-43, 99", 0, false}, orvalis::WindowFormat::Tif, ".tif"},
        {"ESRI grid of the map's classes", {exampleMap, "90, 41", 1, true}, orvalis::WindowFormat::Asc, ".asc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(folder);
        std::filesystem::create_directory(folder);
        const std::uint32_t state = orvalis::globalRandom().state();
        QStringList labels;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            for (const QProgressDialog* d : window.findChildren<QProgressDialog*>())
                if (!labels.contains(d->labelText()))
                    labels << d->labelText();
        });
        watch.start(0);
        const qsizetype problemsBefore = window.reportedProblems().size();
        runSample(c.run);
        watch.stop();
        EXPECT_EQ(labels.value(0), "Reading the map");
        EXPECT_TRUE(labels.contains("Calculando...")) << labels.join('|').toStdString();

        orvalis::SampleParameters p;
        p.image = exampleMap;
        p.folder = dir.file("engine");
        std::filesystem::create_directory(p.folder);
        p.windowSize = 30;
        p.replicates = 2;
        p.minDistance = 5;
        p.cover = {20, 80, 20};
        p.prefix = "M_";
        p.logPath = dir.file("engine.txt");
        p.batchList = dir.file("engine.fbt");
        p.habitatClasses = c.run.classes.toStdString();
        p.format = c.format;
        p.keepClasses = c.run.keepClasses;
        orvalis::RandomSource random(state);
        orvalis::RunControl control;
        const orvalis::SampleResult want = orvalis::runSample(p, random, control);
        ASSERT_FALSE(want.files.empty());
        ASSERT_EQ(window.fileNames.size(), static_cast<qsizetype>(want.files.size()));
        for (std::size_t i = 0; i < want.files.size(); ++i) {
            const std::filesystem::path made = window.fileNames[static_cast<qsizetype>(i)].toStdString();
            EXPECT_EQ(made.filename(), std::filesystem::path(want.files[i]).filename());
            EXPECT_EQ(made.extension(), c.extension);
            EXPECT_EQ(readFile(made.string()), readFile(want.files[i])) << made;
        }
        std::string log = readFile(dir.file("sample.txt"));
        for (std::size_t at; (at = log.find(folder + "/")) != std::string::npos;)
            log.replace(at, folder.size(), p.folder.string());
        EXPECT_EQ(log, readFile(p.logPath));
        EXPECT_TRUE(std::filesystem::exists(dir.file("M_ListFragStat.fbt")));

        // A class listed on its own that the map lacks is worth a word; nothing else is.
        QStringList problems = window.reportedProblems().mid(problemsBefore);
        ASSERT_EQ(problems.size(), want.warnings.empty() ? 0 : 1) << problems.join('\n').toStdString();
        for (const std::string& w : want.warnings)
            EXPECT_TRUE(problems.front().contains(QString::fromStdString(w))) << problems.front().toStdString();
        std::filesystem::remove(dir.file("sample.txt"));
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
