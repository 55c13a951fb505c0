// Sampling a land-cover map: the same windows as the TGA search where the two hold the same
// habitat, windows with no-data refused, georeferenced windows, and the refusals.
#include "core/io/BatchList.h"
#include "core/io/MetricsCsv.h"
#include "core/io/NumberText.h"
#include "core/map/RasterGrid.h"
#include "core/sampler/MapSampleRun.h"
#include "core/sampler/SampleRun.h"
#include "support/NamedCase.h"
#include "support/SamplerTestSupport.h"
#include "support/TempDir.h"
#include "support/TestMaps.h"

#include <gdal_priv.h>
#include <ogr_spatialref.h>

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <optional>
#include <sstream>

using namespace orvalis;
using namespace orvalis::test;

namespace {


struct MapRun {
    SampleResult result;
    std::string log, list;
    std::uint32_t finalState = 0;
};

// Runs with the working directory at dir, windows into dir/out, lists in dir.
MapRun sampleIn(const TempDir& dir, SampleParameters p, std::uint32_t seed)
{
    WorkingDir here(dir.path());
    std::filesystem::create_directories("out");
    p.folder = "out";
    RandomSource random(seed);
    RunControl control;
    MapRun run;
    run.result = runSample(p, random, control);
    run.finalState = random.state();
    run.log = readFile("sample.txt");
    run.list = readFile(batchListName(p.prefix));
    return run;
}

std::vector<std::string> fields(const std::string& line)
{
    std::istringstream in(line);
    std::vector<std::string> out;
    for (std::string f; in >> f;)
        out.push_back(f);
    return out;
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);)
        out.push_back(l);
    return out;
}

// Each log line cut to its first four fields: name, cover, x, y.
std::string firstFourFields(const std::string& log)
{
    std::string out;
    for (const std::string& line : lines(log)) {
        const auto f = fields(line);
        out += f.at(0) + " " + f.at(1) + " " + f.at(2) + " " + f.at(3) + "\n";
    }
    return out;
}

BlueImage exampleImage()
{
    return readTgaBlue(sourceDir() + "/examples/augusta_forest.tga");
}

struct EquivalenceCase : NamedCase {
    int window, replicates, minDistance;
    CoverRange cover;
    std::uint32_t seed;
    GDALDataType type = GDT_Byte;
};

class MapAndImage : public ::testing::TestWithParam<EquivalenceCase> {};

// A map whose habitat is exactly the image's dark pixels, in the image's row order, gives the
// very windows, log fields and list of the image.
TEST_P(MapAndImage, GiveTheSameWindows)
{
    const EquivalenceCase& c = GetParam();
    const BlueImage img = exampleImage();
    ASSERT_EQ(img.width, 678);
    TempDir tgaDir, mapDir;
    writeMap(mapDir.file("map.tif"),
             {img.width, img.height, [&](int x, int y) { return img.at(x, y) <= 128 ? 42 : 81; }, c.type});
    SampleParameters p;
    p.windowSize = c.window;
    p.replicates = c.replicates;
    p.minDistance = c.minDistance;
    p.cover = c.cover;
    p.postString = ", 30, 999, 1, 1, 1, -9999, IDF_ASCII";
    p.image = sourceDir() + "/examples/augusta_forest.tga";
    const MapRun tga = sampleIn(tgaDir, p, c.seed);
    p.image = mapDir.file("map.tif");
    p.habitatClasses = "41-43";
    p.format = WindowFormat::Txt;
    const MapRun map = sampleIn(mapDir, p, c.seed);

    ASSERT_EQ(map.result.status, RunStatus::Completed) << map.result.message;
    ASSERT_FALSE(tga.result.files.empty());
    EXPECT_EQ(map.result.files, tga.result.files);
    EXPECT_EQ(map.result.tries, tga.result.tries);
    EXPECT_EQ(map.finalState, tga.finalState);
    EXPECT_EQ(firstFourFields(map.log), tga.log);
    EXPECT_EQ(map.list, tga.list);
    for (const std::string& name : tga.result.files)
        EXPECT_EQ(readFile(mapDir.file(name)), readFile(tgaDir.file(name))) << name;
}

INSTANTIATE_TEST_SUITE_P(Settings, MapAndImage,
                         ::testing::Values(EquivalenceCase{{"DialogDefaults"}, 100, 1, 10, {1, 100, 1}, 1},
                                           EquivalenceCase{{"SmallWindowsTenStepThreeReplicates"}, 40, 3, 25,
                                                           {10, 90, 10}, 12345},
                                           EquivalenceCase{{"OddWindowWideSpacing"}, 61, 2, 80, {0, 100, 5}, 7},
                                           // Classes stored as reals, as R's terra writes them.
                                           EquivalenceCase{{"Float32Map"}, 40, 2, 25, {10, 90, 20}, 3, GDT_Float32}),
                         [](const auto& info) { return info.param.name; });

// No-data, by the band's value or by its mask, makes a window a failed try: the plain search
// with the same cells left out gives the same windows, tries and end state.
TEST(MapSample, WindowsHoldingNoDataAreFailedTries)
{
    const BlueImage img = makeBlue(300, 220, [](int x, int y) { return static_cast<unsigned char>(((x / 7) * 31 + (y / 5) * 17) % 256); });
    const auto hole = [](int x, int y) { return (x - 150) * (x - 150) + (y - 100) * (y - 100) < 45 * 45 || x < 12; };
    for (const bool byMask : {false, true}) {
        SCOPED_TRACE(byMask ? "mask band" : "no-data value");
        TempDir dir;
        TestMap map{img.width, img.height, [&](int x, int y) {
                         return !byMask && hole(x, y) ? 0 : (img.at(x, y) <= 128 ? 3 : 7);
                     }};
        if (byMask)
            map.masked = hole;
        else
            map.noDataValue = 0;
        writeMap(dir.file("map.tif"), map);
        SampleParameters p;
        p.image = dir.file("map.tif");
        p.habitatClasses = "3";
        p.format = WindowFormat::Txt;
        p.windowSize = 40;
        p.replicates = 2;
        p.cover = {5, 95, 5};
        p.postString = " x";
        const MapRun run = sampleIn(dir, p, 99);
        ASSERT_EQ(run.result.status, RunStatus::Completed) << run.result.message;

        ReferenceSettings s;
        s.h = 20;
        s.replicates = 2;
        s.coverMin = 5, s.coverMax = 95, s.coverStep = 5;
        s.folder = "out";
        s.noData = hole;
        const ReferenceRun want = referenceRun(img, s, 99);
        ASSERT_FALSE(want.windows.empty());
        ASSERT_EQ(run.result.files.size(), want.windows.size());
        for (std::size_t i = 0; i < want.windows.size(); ++i) {
            EXPECT_EQ(run.result.files[i], want.windows[i].name);
            EXPECT_EQ(readFile(dir.file(want.windows[i].name)), want.windows[i].content);
        }
        EXPECT_EQ(firstFourFields(run.log), want.log());
        EXPECT_EQ(run.result.tries, want.tries);
        EXPECT_EQ(run.finalState, want.finalState);
    }
}

struct ReadBack {
    std::array<double, 6> gt{};
    GDALDataType type = GDT_Unknown;
    std::vector<int> values;  // row-major
    int width = 0, height = 0;
    bool sameCrs = false;
};

ReadBack readBack(const std::string& path)
{
    ReadBack r;
    GDALDataset* ds = GDALDataset::Open(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY);
    if (!ds)
        return r;
    ds->GetGeoTransform(r.gt.data());
    r.width = ds->GetRasterXSize();
    r.height = ds->GetRasterYSize();
    GDALRasterBand* band = ds->GetRasterBand(1);
    r.type = band->GetRasterDataType();
    r.values.resize(static_cast<std::size_t>(r.width) * static_cast<std::size_t>(r.height));
    (void)band->RasterIO(GF_Read, 0, 0, r.width, r.height, r.values.data(), r.width, r.height, GDT_Int32, 0, 0);
    OGRSpatialReference want;
    want.importFromEPSG(Epsg);
    const OGRSpatialReference* got = ds->GetSpatialRef();
    r.sameCrs = got && got->IsSame(&want);
    GDALClose(ds);
    return r;
}

struct FormatCase : NamedCase {
    WindowFormat format;
    bool keepClasses;
    int classOffset;           // added to every class: pushes the values past a Byte
    GDALDataType wantedType;   // GeoTIFF only
};

class GeoreferencedWindows : public ::testing::TestWithParam<FormatCase> {};

// The window's origin is the map's moved to its first cell, its cells the map's, its values
// the map's classes or the cover and matrix values, in the smallest type that holds them.
TEST_P(GeoreferencedWindows, ReadBackThroughGdal)
{
    const FormatCase& c = GetParam();
    TempDir dir;
    const auto cls = [&](int x, int y) { return c.classOffset + ((x / 9 + y / 13) % 4 == 0 ? 41 : 11 + (x * y) % 3); };
    writeMap(dir.file("map.tif"), {200, 150, cls, c.classOffset != 0 ? GDT_Int16 : GDT_Byte});
    SampleParameters p;
    p.image = dir.file("map.tif");
    p.habitatClasses = std::to_string(41 + c.classOffset);
    p.format = c.format;
    p.keepClasses = c.keepClasses;
    p.windowSize = 30;
    p.replicates = 1;
    p.cover = {0, 100, 10};
    p.coverValue = 5;
    p.matrixValue = 9;
    const MapRun run = sampleIn(dir, p, 3);
    ASSERT_EQ(run.result.status, RunStatus::Completed) << run.result.message;
    ASSERT_FALSE(run.result.files.empty());
    const auto logLines = lines(run.log);
    ASSERT_EQ(logLines.size(), run.result.files.size());
    const auto tail = c.format == WindowFormat::Tif ? ", x, 999, x, x, 1, x, IDF_GeoTIFF" : "";
    EXPECT_EQ(lines(run.list).front(), run.result.files.front() + tail);
    for (const std::string& line : logLines) {
        const auto f = fields(line);
        ASSERT_EQ(f.size(), 6u);
        const int x = std::stoi(f[2]), y = std::stoi(f[3]);
        EXPECT_EQ(f[4], shortestText(1249665.0 + x * 30.0));
        EXPECT_EQ(f[5], shortestText(1260015.0 - y * 30.0));
        const ReadBack got = readBack(dir.file(f[0]));
        ASSERT_EQ(got.width, 30) << f[0];
        ASSERT_EQ(got.height, 30);
        EXPECT_EQ(got.gt, (std::array<double, 6>{1249665.0 + (x - 15) * 30.0, 30.0, 0.0, 1260015.0 - (y - 15) * 30.0,
                                                 0.0, -30.0}));
        EXPECT_TRUE(got.sameCrs);
        if (c.format == WindowFormat::Tif)
            EXPECT_EQ(got.type, c.wantedType);
        else
            EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(dir.file(f[0])).replace_extension(".prj")));
        for (int r = 0; r < 30; ++r)
            for (int k = 0; k < 30; ++k) {
                const int v = cls(x - 15 + k, y - 15 + r);
                const int want = c.keepClasses ? v : (v == 41 + c.classOffset ? 5 : 9);
                ASSERT_EQ(got.values[static_cast<std::size_t>(r * 30 + k)], want) << f[0] << " row " << r;
            }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Formats, GeoreferencedWindows,
    ::testing::Values(FormatCase{{"GeoTiffCoverValues"}, WindowFormat::Tif, false, 0, GDT_Byte},
                      FormatCase{{"GeoTiffClasses"}, WindowFormat::Tif, true, 0, GDT_Byte},
                      FormatCase{{"GeoTiffWideClasses"}, WindowFormat::Tif, true, 300, GDT_UInt16},
                      FormatCase{{"GeoTiffNegativeClasses"}, WindowFormat::Tif, true, -100, GDT_Int16},
                      FormatCase{{"AsciiGridClasses"}, WindowFormat::Asc, true, 0, GDT_Unknown},
                      FormatCase{{"AsciiGridCoverValues"}, WindowFormat::Asc, false, 0, GDT_Unknown}),
    [](const auto& info) { return info.param.name; });

// Sampled all the same, but the user hears what the run could not do as asked.
TEST(MapSample, WarnsOfDegreesAndOfSinglyListedClassesThatDoNotOccur)
{
    TempDir dir;
    TestMap m{80, 60, [](int x, int y) { return (x / 3 + y / 2) % 2 + 1; }};
    m.epsg = 4326;
    m.gt = {-82.1, 0.00027, 0, 33.5, 0, -0.00027};
    writeMap(dir.file("map.tif"), m);
    SampleParameters p;
    p.image = dir.file("map.tif");
    p.habitatClasses = "1, 9, 20-30";
    p.windowSize = 10;
    p.cover = {0, 100, 1};
    const MapRun run = sampleIn(dir, p, 1);
    ASSERT_EQ(run.result.status, RunStatus::Completed) << run.result.message;
    ASSERT_EQ(run.result.warnings.size(), 2u);
    EXPECT_NE(run.result.warnings[0].find("degrees"), std::string::npos);
    EXPECT_NE(run.result.warnings[1].find("class 9 "), std::string::npos);
}

TEST(MapSample, TextWindowsListTheirFragstatsTailWhenNoPostStringIsSet)
{
    EXPECT_EQ(mapBatchListTail(WindowFormat::Txt, 30.0, 100), ", 30, 999, 100, 100, 1, -9999, IDF_ASCII");
    EXPECT_EQ(mapBatchListTail(WindowFormat::Txt, 0.000269494585235856, 8),
              ", 0.000269494585235856, 999, 8, 8, 1, -9999, IDF_ASCII");
    EXPECT_EQ(mapBatchListTail(WindowFormat::Asc, 30.0, 100), "");
}

struct BadMapCase : NamedCase {
    std::function<void(const TempDir&, SampleParameters&)> make;
    std::string says;
};

class BadMaps : public ::testing::TestWithParam<BadMapCase> {};

// Refused before anything is written: no window, no log, no list.
TEST_P(BadMaps, AreRefusedWithoutWritingAnything)
{
    TempDir dir;
    SampleParameters p;
    p.image = dir.file("map.tif");
    p.habitatClasses = "1";
    p.windowSize = 20;
    GetParam().make(dir, p);
    const MapRun run = sampleIn(dir, p, 1);
    EXPECT_EQ(run.result.status, RunStatus::Refused);
    EXPECT_NE(run.result.message.find(GetParam().says), std::string::npos) << run.result.message;
    EXPECT_EQ(filesIn(dir.path() / "out"), 0u);
    EXPECT_FALSE(std::filesystem::exists(dir.file("sample.txt")));
}

const auto plain = [](int x, int y) { return (x + y) % 2 + 1; };

INSTANTIATE_TEST_SUITE_P(
    Inputs, BadMaps,
    ::testing::Values(
        BadMapCase{{"NotARaster"}, [](const TempDir& d, SampleParameters&) { writeFile(d.file("map.tif"), "hello\n"); },
                   "map.tif"},
        BadMapCase{{"NoSuchBand"},
                   [](const TempDir& d, SampleParameters& p) {
                       writeMap(d.file("map.tif"), {50, 50, plain});
                       p.band = 2;
                   },
                   "band 2"},
        BadMapCase{{"FractionalValue"},
                   [](const TempDir& d, SampleParameters&) {
                       writeMap(d.file("map.tif"), {50, 50, plain, GDT_Float32});
                       GDALDatasetUniquePtr ds(GDALDataset::Open(d.file("map.tif").c_str(), GDAL_OF_RASTER | GDAL_OF_UPDATE));
                       const float fraction = 1.5f;
                       ds->GetRasterBand(1)->RasterIO(GF_Write, 7, 3, 1, 1, const_cast<float*>(&fraction), 1, 1, GDT_Float32, 0,
                                                      0, nullptr);
                   },
                   "row 4, column 8 holds 1.5, not a class"},
        BadMapCase{{"NoHabitatClassOccurs"},
                   [](const TempDir& d, SampleParameters& p) {
                       writeMap(d.file("map.tif"), {50, 50, plain});
                       p.habitatClasses = "41-43";
                   },
                   "none of the habitat classes"},
        BadMapCase{{"SmallerThanTheWindow"},
                   [](const TempDir& d, SampleParameters&) { writeMap(d.file("map.tif"), {15, 50, plain}); },
                   "does not fit"},
        BadMapCase{{"OneCell"}, [](const TempDir& d, SampleParameters&) { writeMap(d.file("map.tif"), {1, 1, plain}); },
                   "does not fit"},
        BadMapCase{{"AllNoData"},
                   [](const TempDir& d, SampleParameters&) {
                       TestMap m{50, 50, [](int, int) { return 0; }};
                       m.noDataValue = 0;
                       writeMap(d.file("map.tif"), m);
                   },
                   "no-data"},
        BadMapCase{{"NoClassesGiven"},
                   [](const TempDir& d, SampleParameters& p) {
                       writeMap(d.file("map.tif"), {50, 50, plain});
                       p.habitatClasses.clear();
                   },
                   "habitat classes"},
        BadMapCase{{"AsciiGridOfRotatedMap"},
                   [](const TempDir& d, SampleParameters& p) {
                       TestMap m{50, 50, plain};
                       m.gt = {0, 30, 5, 0, 5, -30};
                       writeMap(d.file("map.tif"), m);
                       p.format = WindowFormat::Asc;
                   },
                   "rotated"},
        BadMapCase{{"HabitatIsTheNoDataValue"},
                   [](const TempDir& d, SampleParameters&) {
                       TestMap m{50, 50, plain};
                       m.noDataValue = 1;
                       writeMap(d.file("map.tif"), m);
                   },
                   "class 1 is the band's no-data value"},
        BadMapCase{{"KeptClassBeyond32Bits"},
                   [](const TempDir& d, SampleParameters& p) {
                       writeMap(d.file("map.tif"), {50, 50, plain, GDT_Int64});
                       GDALDatasetUniquePtr ds(GDALDataset::Open(d.file("map.tif").c_str(), GDAL_OF_RASTER | GDAL_OF_UPDATE));
                       std::int64_t wide = 1099511627817;  // 41 in its low 32 bits
                       ds->GetRasterBand(1)->RasterIO(GF_Write, 30, 30, 1, 1, &wide, 1, 1, GDT_Int64, 0, 0, nullptr);
                       p.keepClasses = true;
                   },
                   "beyond 32 bits (from 1 to 1099511627817)"},
        BadMapCase{{"ClassesForAnImage"},
                   [](const TempDir&, SampleParameters& p) { p.image = sourceDir() + "/examples/augusta_forest.tga"; },
                   "TGA"}),
    [](const auto& info) { return info.param.name; });

}  // namespace

namespace {

// Every window measured as it is written, with the map's cells, gives the table that reading the
// windows back gives: GeoTIFF and ESRI ASCII windows through their frames, text windows by column.
TEST(MapSample, MeasuredWindowsMatchTheFilesReadBack)
{
    for (const WindowFormat format : {WindowFormat::Tif, WindowFormat::Asc, WindowFormat::Txt}) {
        SCOPED_TRACE(windowFormatExtension(format));
        TempDir dir;
        const auto cls = [](int x, int y) { return (x / 6 + y / 4) % 3 == 0 ? 41 : 11 + (x * y) % 4; };
        writeMap(dir.file("map.tif"), {160, 120, cls});
        SampleParameters p;
        p.image = dir.file("map.tif");
        p.habitatClasses = "41";
        p.format = format;
        p.keepClasses = format != WindowFormat::Txt;
        p.windowSize = 24;
        p.cover = {20, 50, 1};
        p.metrics = MetricsOptions{};
        const MapRun run = sampleIn(dir, p, 5);
        ASSERT_EQ(run.result.status, RunStatus::Completed) << run.result.message;
        ASSERT_FALSE(run.result.files.empty());
        std::string want = metricsCsvHeader();
        for (const std::string& name : run.result.files) {
            LandscapeGrid grid;
            MetricsOptions options;
            double cellSize = 0;
            if (format == WindowFormat::Txt) {
                ASSERT_TRUE(readLandscapeFile(dir.file(name), grid).ok);
                cellSize = 30;
            } else {
                RasterGridInfo info;
                std::string error;
                ASSERT_TRUE(readRasterGrid(dir.file(name), grid, info, &error)) << error;
                ASSERT_EQ(info.cellSize, 30.0);
                cellSize = *info.cellSize;
            }
            ASSERT_TRUE(appendMeasuredRows(want, name, grid, cellSize, std::nullopt, options));
        }
        EXPECT_EQ(readFile(dir.file("metrics.csv")), want);
    }
}

}  // namespace
