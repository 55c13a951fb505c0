// The map overview: drawn north-up whatever a TGA's row order, each pixel the map cell under its
// centre, and a logged window found on it exactly where its file's cells are.
#include "core/map/MapOverview.h"
#include "core/map/RasterGrid.h"
#include "core/random/RandomSource.h"
#include "core/run/RunControl.h"
#include "core/sampler/SampleLog.h"
#include "core/sampler/SampleRun.h"
#include "support/NamedCase.h"
#include "support/SamplerTestSupport.h"
#include "support/TempDir.h"
#include "support/TestMaps.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace orvalis;
using namespace orvalis::test;

namespace {

// The map cell a pixel of a reduced overview shows: the one under the pixel's centre.
std::int64_t cellUnder(int pixel, std::int64_t cells, int pixels)
{
    return static_cast<std::int64_t>((pixel + 0.5) * static_cast<double>(cells) / pixels);
}

SampleLog sampleIn(const TempDir& dir, SampleParameters p)
{
    WorkingDir here(dir.path());
    std::filesystem::create_directories("windows");
    p.folder = "windows";
    RandomSource random(3);
    RunControl control;
    const SampleResult result = runSample(p, random, control);
    EXPECT_EQ(result.status, RunStatus::Completed) << result.message;
    EXPECT_FALSE(result.files.empty());
    return readSampleLog(dir.file("sample.txt"));
}

}  // namespace

// The bundled image stores its south row first: the window file's line k (image column x - h + k)
// and value j (stored row y - h + j) must be the overview's cell under the outline.
TEST(LoggedWindow, BundledTgaWindowFilesHoldTheCellsUnderTheirOutline)
{
    MapOverview map;
    std::string why;
    ASSERT_TRUE(readMapOverview(sourceDir() + "/examples/augusta_forest.tga", 2048, map, &why)) << why;
    ASSERT_EQ(map.width, 678);
    ASSERT_EQ(map.height, 440);
    EXPECT_TRUE(map.firstRowSouth);
    TempDir dir;
    SampleParameters p;
    p.image = sourceDir() + "/examples/augusta_forest.tga";
    p.windowSize = 50;
    p.cover = {10, 90, 20};
    const SampleLog log = sampleIn(dir, p);
    ASSERT_TRUE(log.ok) << log.error;
    ASSERT_FALSE(log.windows.empty());
    for (const SampleLogEntry& e : log.windows) {
        const std::string file = loggedFilePath(dir.file("sample.txt"), e.name);
        ASSERT_EQ(windowFileSide(file, &why), 50) << why;
        LandscapeGrid grid;
        ASSERT_TRUE(readLandscapeFile(file, grid).ok);
        const LoggedWindow w = loggedWindow(e.x, e.y, 50, map.mapHeight, map.firstRowSouth);
        const auto cell = [&](std::int64_t column, std::int64_t row) {
            return map.at(static_cast<int>(column), static_cast<int>(row)) ? p.coverValue : p.matrixValue;
        };
        int differing = 0;
        for (int k = 0; k < 50; ++k)
            for (int j = 0; j < 50; ++j)
                differing += grid[k][j] != cell(w.northWest.column + k, w.northWest.row + 49 - j);
        EXPECT_EQ(differing, 0) << e.name;
        EXPECT_EQ(grid[25][25], cell(w.centre.column, w.centre.row)) << e.name;
    }
}

// A GeoTIFF's rows run north to south as GDAL orders them: window row r is map row y - h + r.
TEST(LoggedWindow, GeoTiffWindowsHoldTheCellsUnderTheirOutline)
{
    TempDir dir;
    writeMap(dir.file("map.tif"), {90, 70, [](int x, int y) { return 1 + (x * 7 + y * 13 + (x * y) % 11) % 40; }});
    MapOverview map;
    std::string why;
    ASSERT_TRUE(readMapOverview(dir.file("map.tif"), 2048, map, &why)) << why;
    EXPECT_FALSE(map.firstRowSouth);
    SampleParameters p;
    p.image = dir.file("map.tif");
    p.habitatClasses = "1-20";
    p.keepClasses = true;
    p.windowSize = 12;
    p.cover = {1, 100, 1};
    p.minDistance = 15;
    const SampleLog log = sampleIn(dir, p);
    ASSERT_FALSE(log.windows.empty());
    for (const SampleLogEntry& e : log.windows) {
        EXPECT_TRUE(e.mapX && e.mapY) << e.name;
        LandscapeGrid grid;
        RasterGridInfo info;
        ASSERT_TRUE(readRasterGrid(loggedFilePath(dir.file("sample.txt"), e.name), grid, info, &why)) << why;
        const LoggedWindow w = loggedWindow(e.x, e.y, static_cast<int>(grid.size()), map.mapHeight, map.firstRowSouth);
        for (int r = 0; r < w.side; ++r)
            for (int c = 0; c < w.side; ++c)
                ASSERT_EQ(grid[r][c], map.at(static_cast<int>(w.northWest.column + c), static_cast<int>(w.northWest.row + r)))
                    << e.name << " row " << r << " column " << c;
        EXPECT_EQ(grid[6][6], map.at(static_cast<int>(w.centre.column), static_cast<int>(w.centre.row)));
    }
}

struct OrientationCase : NamedCase {
    bool firstRowTop;
    int maxSide;
};

class TgaOverview : public ::testing::TestWithParam<OrientationCase> {};

// Against a plain reading of the whole file: row 0 of the overview is the image's top edge.
TEST_P(TgaOverview, IsDrawnNorthUpFromTheSampledCells)
{
    const OrientationCase& c = GetParam();
    BlueImage image{23, 17, {}};
    RandomSource random(11);
    for (int k = 0; k < image.width * image.height; ++k)
        image.blue.push_back(static_cast<unsigned char>(random.next() % 256));
    TempDir dir;
    writeTga(dir.file("a.tga"), image);
    if (c.firstRowTop) {
        std::string bytes = readFile(dir.file("a.tga"));
        bytes[17] = 0x20;
        writeFile(dir.file("a.tga"), bytes);
    }
    MapOverview map;
    std::string why;
    ASSERT_TRUE(readMapOverview(dir.file("a.tga"), c.maxSide, map, &why)) << why;
    EXPECT_EQ(map.firstRowSouth, !c.firstRowTop);
    EXPECT_EQ(std::max(map.width, map.height), std::min(c.maxSide, 23));
    for (int r = 0; r < map.height; ++r)
        for (int col = 0; col < map.width; ++col) {
            const auto row = cellUnder(r, 17, map.height);
            const auto stored = c.firstRowTop ? row : 16 - row;
            const int expected = image.at(static_cast<int>(cellUnder(col, 23, map.width)), static_cast<int>(stored)) <= 128;
            ASSERT_EQ(map.at(col, r), expected) << "pixel " << col << ", " << r;
        }
}

INSTANTIATE_TEST_SUITE_P(Rows, TgaOverview,
                         ::testing::Values(OrientationCase{{"BottomUpWhole"}, false, 64},
                                           OrientationCase{{"TopDownWhole"}, true, 64},
                                           OrientationCase{{"BottomUpReduced"}, false, 7},
                                           OrientationCase{{"TopDownReduced"}, true, 7}),
                         CaseName());

// A reduced read through GDAL samples the cells the full one holds, and NLCD classes get NLCD's colours.
TEST(MapOverview, ReducedGeoTiffSamplesTheCellsUnderItsPixels)
{
    const std::string nlcd = sourceDir() + "/examples/augusta_nlcd.tif";
    MapOverview whole, reduced;
    std::string why;
    ASSERT_TRUE(readMapOverview(nlcd, 2048, whole, &why)) << why;
    ASSERT_TRUE(readMapOverview(nlcd, 100, reduced, &why)) << why;
    ASSERT_EQ(whole.width, 678);
    ASSERT_EQ(reduced.width, 100);
    ASSERT_EQ(reduced.height, 65);
    EXPECT_DOUBLE_EQ(reduced.cellsPerPixelX(), 6.78);
    for (int r = 0; r < reduced.height; ++r)
        for (int c = 0; c < reduced.width; ++c)
            ASSERT_EQ(reduced.at(c, r), whole.at(static_cast<int>(cellUnder(c, 678, 100)), static_cast<int>(cellUnder(r, 440, 65))))
                << c << ", " << r;
    // Read in bands of rows on several threads, each pixel still samples the same cell.
    for (int threads : {2, 3, 7}) {
        MapOverview banded;
        ASSERT_TRUE(readMapOverview(nlcd, 100, banded, &why, 1, threads)) << why;
        EXPECT_EQ(banded.values, reduced.values) << threads << " threads";
    }
    ASSERT_GT(reduced.colours.size(), 42u);
    EXPECT_EQ(reduced.colours[42], 0xFF1C5F2Cu);
    EXPECT_FALSE(readMapOverview(sourceDir() + "/README.md", 100, reduced, &why));
    EXPECT_FALSE(why.empty());
}

// Read in pieces of rows and columns, every pixel still samples the cell under its centre.
TEST(MapOverview, PiecesSampleTheCellsTheWholeReadDoes)
{
    const std::string nlcd = sourceDir() + "/examples/augusta_nlcd.tif";
    MapOverview whole;
    std::string why;
    ASSERT_TRUE(readMapOverview(nlcd, 2048, whole, &why)) << why;
    for (int side : {300, 517, 677}) {
        MapOverview map;
        ASSERT_TRUE(readMapOverview(nlcd, side, map, &why, 1, 2)) << why;
        for (int r = 0; r < map.height; ++r)
            for (int c = 0; c < map.width; ++c)
                ASSERT_EQ(map.at(c, r), whole.at(static_cast<int>(cellUnder(c, 678, map.width)),
                                                  static_cast<int>(cellUnder(r, 440, map.height))))
                    << side << ": " << c << ", " << r;
    }
    // Small blocks: pieces with data are narrowed down block by block, and still sample the same cells.
    TempDir dir;
    TestMap m;
    m.width = 700;
    m.height = 500;
    m.block = 16;
    m.value = [](int x, int y) { return static_cast<int>((static_cast<unsigned>(x) * 2654435761u ^ static_cast<unsigned>(y) * 40503u) % 7); };
    writeMap(dir.file("blocks.tif"), m);
    MapOverview full;
    ASSERT_TRUE(readMapOverview(dir.file("blocks.tif"), 2048, full, &why)) << why;
    for (int y = 0; y < m.height; y += 37)
        for (int x = 0; x < m.width; x += 13)
            ASSERT_EQ(full.at(x, y), m.value(x, y)) << x << ", " << y;
    for (int side : {90, 333}) {
        MapOverview map;
        ASSERT_TRUE(readMapOverview(dir.file("blocks.tif"), side, map, &why)) << why;
        for (int r = 0; r < map.height; ++r)
            for (int c = 0; c < map.width; ++c)
                ASSERT_EQ(map.at(c, r), full.at(static_cast<int>(cellUnder(c, 700, map.width)),
                                                 static_cast<int>(cellUnder(r, 500, map.height))))
                    << side << ": " << c << ", " << r;
    }
    // What the legend and the pointer need: the frame, its units, NLCD's names.
    ASSERT_TRUE(whole.frame.has_value());
    EXPECT_DOUBLE_EQ((*whole.frame)[0], 1249665);
    EXPECT_FALSE(whole.geographic);
    EXPECT_TRUE(whole.projected);
    EXPECT_DOUBLE_EQ(whole.metresPerUnit, 1);
    EXPECT_TRUE(whole.nlcd);
    ASSERT_GT(whole.categories.size(), 95u);
    EXPECT_EQ(whole.categories[41], "Deciduous Forest");
    EXPECT_EQ(whole.categories[95], "Emergent Herbaceous Wetlands");
}

// A sparse GeoTIFF far larger than memory: the blocks it leaves out are no-data without being
// read, the one block written lands where it lies, and a stop is heard.
TEST(MapOverview, SparseHugeMapIsReadByItsDataAndCanBeStopped)
{
    TempDir dir;
    const std::string path = dir.file("sparse.tif");
    constexpr int Side = 200'000, Block = 512;
    writeSparseMap(path, Side, Block, 300, 100);
    MapOverview map;
    std::string why;
    std::int64_t lastDone = 0, total = 0;
    RunControl watched([&](const ProgressEvent& e) {
        EXPECT_GE(e.done, lastDone);
        lastDone = e.done;
        total = e.total;
        return true;
    });
    ASSERT_TRUE(readMapOverview(path, 1000, map, &why, 1, 1, &watched)) << why;
    ASSERT_EQ(map.width, 1000);
    EXPECT_EQ(lastDone, total);
    EXPECT_EQ(total, 1000 * 1000);
    // 200 cells a pixel: the block of 512 cells covers pixels 768..770 across and 256..258 down.
    std::int64_t sevens = 0;
    for (int r = 0; r < map.height; ++r)
        for (int c = 0; c < map.width; ++c) {
            const std::int32_t v = map.at(c, r);
            const bool inBlock = cellUnder(c, Side, 1000) / Block == 300 && cellUnder(r, Side, 1000) / Block == 100;
            ASSERT_EQ(v, inBlock ? 7 : 255) << c << ", " << r;
            sevens += v == 7;
        }
    EXPECT_GT(sevens, 0);
    ASSERT_TRUE(map.noData.has_value());
    EXPECT_EQ(*map.noData, 255);

    RunControl stopped;
    stopped.cancel();
    EXPECT_FALSE(readMapOverview(path, 1000, map, &why, 1, 2, &stopped));
    EXPECT_NE(why.find("stopped"), std::string::npos) << why;
    RunControl stoppedTga;
    stoppedTga.cancel();
    EXPECT_FALSE(readMapOverview(sourceDir() + "/examples/augusta_forest.tga", 100, map, &why, 1, 0, &stoppedTga));
}

// A FIFO would hold GDAL or the TGA reader for ever: refused before it is opened.
TEST(MapOverview, FifoIsRefusedAtOnce)
{
    TempDir dir;
    for (const char* name : {"map.tif", "map.tga"}) {
        const std::string fifo = dir.file(name);
        ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
        MapOverview map;
        std::string why;
        EXPECT_FALSE(readMapOverview(fifo, 100, map, &why));
        EXPECT_NE(why.find("not a regular file"), std::string::npos) << why;
    }
}
