// Surface files: what a run writes holds the engine's values band by band, parts of a --tile run
// merge into the single run's bytes, parts that do not belong together are refused, and a
// cancelled run leaves nothing behind.
#include "core/map/RasterWindows.h"
#include "core/surface/SurfaceEngine.h"
#include "core/surface/SurfaceRun.h"
#include "support/TempDir.h"
#include "support/TestMaps.h"

#include <gdal_priv.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

using namespace orvalis;
using orvalis::test::TempDir;

namespace {

// 37 x 300 cells: two rows of 256-row tiles, the second short; no-data in a corner and a stripe.
test::TestMap testMap()
{
    test::TestMap m;
    m.width = 37;
    m.height = 300;
    m.type = GDT_Int16;
    m.noDataValue = -1;
    m.value = [](int x, int y) {
        if ((x < 6 && y < 9) || x == 20)
            return -1;
        return 11 + 3 * static_cast<int>(((x / 4) * 7 + (y / 5) * 3 + (x * y) % 5) % 4);
    };
    return m;
}

SurfaceParameters parameters(const std::string& map, const std::string& output, int step = 1)
{
    SurfaceParameters p;
    p.map = map;
    p.window = 5;
    p.step = step;
    p.metrics.selection = *MetricSelection::parse({"pland", "ed", "shdi", "np"}, {MetricLevel::Class, MetricLevel::Landscape}, nullptr);
    p.jobs = 2;
    p.output = output;
    return p;
}

RunResult run(const SurfaceParameters& p, int tile = 1, int tiles = 1)
{
    SurfaceParameters q = p;
    q.tile = tile;
    q.tiles = tiles;
    RunControl control;
    return runSurface(q, control);
}

RunResult merge(const std::vector<std::string>& parts, const std::string& output)
{
    RunControl control;
    return mergeSurface(parts, output, 2, control);
}

TEST(SurfaceRun, FileHoldsTheEngineValuesOfEveryBand)
{
    TempDir dir;
    writeMap(dir.file("map.tif"), testMap());
    const SurfaceParameters p = parameters(dir.file("map.tif"), dir.file("s.tif"));
    const RunResult r = run(p);
    ASSERT_FALSE(r.failed()) << r.message;

    RasterWindows reader;
    ASSERT_TRUE(reader.open(p.map, 1, HabitatClasses(), nullptr));
    SurfaceSetup s;
    s.grid = {37, 300, 5, WindowShape::Square, 1};
    s.classes = {11, 14, 17, 20};
    s.metrics = p.metrics;
    s.cellSize = 30;
    SurfaceEngine engine(s);
    std::vector<int> cells;
    auto read = [&](std::int64_t y0, int rows, int* out, std::string* error) {
        if (!reader.read(0, y0, 37, rows, cells, error))
            return false;
        for (std::size_t i = 0; i < cells.size(); ++i)
            out[i] = cells[i] == RasterWindows::Outside ? -1 : (cells[i] - 11) / 3;
        return true;
    };
    std::vector<double> want;
    auto take = [&](std::int64_t, int rows, const double* v, std::string*) {
        want.insert(want.end(), v, v + static_cast<std::size_t>(rows) * engine.bands().size() * 37);
        return true;
    };
    RunControl control;
    ASSERT_TRUE(engine.run(0, 300, read, take, control, nullptr));

    GDALDataset* ds = GDALDataset::Open(p.output.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY);
    ASSERT_NE(ds, nullptr);
    ASSERT_EQ(static_cast<std::size_t>(ds->GetRasterCount()), engine.bands().size());
    std::vector<float> band(37 * 300);
    for (std::size_t b = 0; b < engine.bands().size(); ++b) {
        GDALRasterBand* rb = ds->GetRasterBand(static_cast<int>(b) + 1);
        EXPECT_EQ(rb->GetDescription(), engine.bands()[b].name);
        ASSERT_EQ(rb->RasterIO(GF_Read, 0, 0, 37, 300, band.data(), 37, 300, GDT_Float32, 0, 0), CE_None);
        int mismatches = 0;
        for (std::size_t i = 0; i < 300; ++i)
            for (std::size_t x = 0; x < 37; ++x) {
                const float w = static_cast<float>(want[(i * engine.bands().size() + b) * 37 + x]);
                const float g = band[i * 37 + x];
                mismatches += !(std::isnan(w) ? std::isnan(g) : g == w);
            }
        EXPECT_EQ(mismatches, 0) << engine.bands()[b].name;
    }
    GDALClose(ds);
}

TEST(SurfaceRun, TilesMergeIntoTheSingleRunsBytes)
{
    TempDir dir;
    writeMap(dir.file("map.tif"), testMap());
    const SurfaceParameters p = parameters(dir.file("map.tif"), dir.file("whole.tif"));
    ASSERT_FALSE(run(p).failed());
    std::vector<std::string> parts;
    for (int t = 1; t <= 3; ++t) {
        SurfaceParameters q = p;
        q.output = dir.file("part" + std::to_string(t) + ".tif");
        q.jobs = t;  // the bytes do not depend on the threads
        const RunResult r = run(q, t, 3);
        ASSERT_FALSE(r.failed()) << r.message;
        parts.push_back(q.output);
    }
    const RunResult m = merge({parts[2], parts[0], parts[1]}, dir.file("merged.tif"));
    ASSERT_FALSE(m.failed()) << m.message;
    const std::string whole = test::readFile(dir.file("whole.tif"));
    EXPECT_GT(whole.size(), 1000u);
    EXPECT_TRUE(whole == test::readFile(dir.file("merged.tif")));
}

TEST(SurfaceRun, PartsThatDoNotBelongTogetherAreRefused)
{
    TempDir dir;
    writeMap(dir.file("map.tif"), testMap());
    const SurfaceParameters p = parameters(dir.file("map.tif"), dir.file("whole.tif"));
    ASSERT_FALSE(run(p).failed());
    std::vector<std::string> parts;
    for (int t = 1; t <= 3; ++t) {
        SurfaceParameters q = p;
        q.output = dir.file("part" + std::to_string(t) + ".tif");
        ASSERT_FALSE(run(q, t, 3).failed());
        parts.push_back(q.output);
    }
    SurfaceParameters coarse = parameters(dir.file("map.tif"), dir.file("coarse3.tif"), 2);
    ASSERT_FALSE(run(coarse, 3, 3).failed());
    SurfaceParameters halves = p;
    halves.output = dir.file("half2.tif");
    ASSERT_FALSE(run(halves, 2, 2).failed());

    const struct {
        const char* name;
        std::vector<std::string> parts;
        const char* message;
    } cases[] = {
        {"a part missing", {parts[0], parts[2]}, "missing part 2/3"},
        {"a part twice", {parts[0], parts[1], parts[1], parts[2]}, "part 2/3 is given twice"},
        {"another step", {parts[0], parts[1], dir.file("coarse3.tif")}, "its step differs"},
        {"another split", {parts[0], parts[1], dir.file("half2.tif")}, "not of 3 parts"},
        {"a whole surface", {parts[0], dir.file("whole.tif")}, "not a part"},
        {"not a surface", {parts[0], dir.file("map.tif")}, "not a surface"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const RunResult r = merge(c.parts, dir.file("merged.tif"));
        EXPECT_EQ(r.status, RunStatus::Refused);
        EXPECT_NE(r.message.find(c.message), std::string::npos) << r.message;
        EXPECT_FALSE(std::filesystem::exists(dir.file("merged.tif")));
    }
}

TEST(SurfaceRun, CancelledRunLeavesNothing)
{
    TempDir dir;
    writeMap(dir.file("map.tif"), testMap());
    SurfaceParameters p = parameters(dir.file("map.tif"), dir.file("s.tif"));
    int reports = 0;
    RunControl control([&](const ProgressEvent& e) { return e.label != "rows" || ++reports < 2; });
    const RunResult r = runSurface(p, control);
    EXPECT_EQ(r.status, RunStatus::Cancelled);
    EXPECT_EQ(test::filesIn(dir.path()), 1u);
}

}  // namespace
