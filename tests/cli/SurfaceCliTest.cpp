#include "support/CliRunner.h"
#include "support/TestMaps.h"

#include <gdal_priv.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

using namespace orvalis::test;

namespace {

// 23 x 17 cells of classes 3, 5 and 8 in NLCD's frame; no-data (0) over the first 9 columns of the
// first 9 rows, wider than a 5-cell window.
void writeTestMap(const std::string& path)
{
    TestMap m;
    m.width = 23;
    m.height = 17;
    m.noDataValue = 0;
    m.value = [](int x, int y) {
        if (x < 9 && y < 9)
            return 0;
        const int k = (x / 3 + y / 4 + x * y % 3) % 3;
        return k == 0 ? 3 : k == 1 ? 5 : 8;
    };
    writeMap(path, m);
}

const std::string Args = "map.tif --window 5 --metrics pland,shdi --level class,landscape";

TEST(SurfaceCli, WritesANamedFloatBandPerMetricInTheMapsFrame)
{
    TempDir dir;
    writeTestMap(dir.file("map.tif"));
    const CliRun run = runCli(dir, "surface", Args + " --step 2 --shape circle --output s.tif");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("s.tif"), std::string::npos) << run.out;

    GDALDataset* ds = GDALDataset::Open(dir.file("s.tif").c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY);
    ASSERT_NE(ds, nullptr);
    EXPECT_EQ(ds->GetRasterXSize(), 12);
    EXPECT_EQ(ds->GetRasterYSize(), 9);
    const std::vector<std::string> names = {"pland_3", "pland_5", "pland_8", "shdi"};
    ASSERT_EQ(ds->GetRasterCount(), static_cast<int>(names.size()));
    for (int b = 1; b <= ds->GetRasterCount(); ++b) {
        GDALRasterBand* band = ds->GetRasterBand(b);
        EXPECT_EQ(band->GetDescription(), names[static_cast<std::size_t>(b) - 1]);
        EXPECT_EQ(band->GetRasterDataType(), GDT_Float32);
        int has = 0;
        EXPECT_TRUE(std::isnan(band->GetNoDataValue(&has)) && has);
    }
    // Cells twice the map's, the first centred on the map's first cell.
    double t[6];
    ASSERT_EQ(ds->GetGeoTransform(t), CE_None);
    const std::vector<double> want = {1249665.0 - 15, 60, 0, 1260015.0 + 15, 0, -60};
    for (int i = 0; i < 6; ++i)
        EXPECT_DOUBLE_EQ(t[i], want[static_cast<std::size_t>(i)]) << i;
    OGRSpatialReference albers;
    albers.importFromEPSG(Epsg);
    ASSERT_NE(ds->GetSpatialRef(), nullptr);
    EXPECT_TRUE(ds->GetSpatialRef()->IsSame(&albers));
    EXPECT_STREQ(ds->GetMetadataItem("COMPRESSION", "IMAGE_STRUCTURE"), "DEFLATE");
    // The window about map cell (2, 2) holds no landscape; the one about (16, 22) does.
    float v[2] = {0, 0};
    GDALRasterBand* shdi = ds->GetRasterBand(4);
    ASSERT_EQ(shdi->RasterIO(GF_Read, 1, 1, 1, 1, &v[0], 1, 1, GDT_Float32, 0, 0), CE_None);
    ASSERT_EQ(shdi->RasterIO(GF_Read, 11, 8, 1, 1, &v[1], 1, 1, GDT_Float32, 0, 0), CE_None);
    EXPECT_TRUE(std::isnan(v[0]));
    EXPECT_GE(v[1], 0.0f);
    GDALClose(ds);
    EXPECT_EQ(filesIn(dir.path()), 2u);
}

TEST(SurfaceCli, HabitatGivesHabitatAndMatrixBands)
{
    TempDir dir;
    writeTestMap(dir.file("map.tif"));
    const CliRun run = runCli(dir, "surface", "map.tif --window 3 --metrics pland --level class --habitat 3,8 --output h.tif");
    ASSERT_EQ(run.status, 0) << run.err;
    GDALDataset* ds = GDALDataset::Open(dir.file("h.tif").c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY);
    ASSERT_NE(ds, nullptr);
    ASSERT_EQ(ds->GetRasterCount(), 2);
    EXPECT_STREQ(ds->GetRasterBand(1)->GetDescription(), "pland_0");
    EXPECT_STREQ(ds->GetRasterBand(2)->GetDescription(), "pland_1");
    // Cell (16, 22): habitat and matrix share the window's landscape.
    float matrix = 0, habitat = 0;
    ASSERT_EQ(ds->GetRasterBand(1)->RasterIO(GF_Read, 22, 16, 1, 1, &matrix, 1, 1, GDT_Float32, 0, 0), CE_None);
    ASSERT_EQ(ds->GetRasterBand(2)->RasterIO(GF_Read, 22, 16, 1, 1, &habitat, 1, 1, GDT_Float32, 0, 0), CE_None);
    EXPECT_NEAR((std::isnan(matrix) ? 0 : matrix) + (std::isnan(habitat) ? 0 : habitat), 100.0f, 1e-4);
    GDALClose(ds);
}

TEST(SurfaceCli, TilesMergeIntoTheSingleRunsFile)
{
    TempDir dir;
    writeTestMap(dir.file("map.tif"));
    ASSERT_EQ(runCli(dir, "surface", Args + " --step 3 --output whole.tif").status, 0);
    ASSERT_EQ(runCli(dir, "surface", Args + " --step 3 --tile 1/2 --output a.tif").status, 0);
    ASSERT_EQ(runCli(dir, "surface", Args + " --step 3 --tile 2/2 --output b.tif --jobs 1").status, 0);
    const CliRun merged = runCli(dir, "surface", "--merge b.tif a.tif --output merged.tif");
    ASSERT_EQ(merged.status, 0) << merged.err;
    EXPECT_TRUE(readFile(dir.file("whole.tif")) == readFile(dir.file("merged.tif")));
    const CliRun missing = runCli(dir, "surface", "--merge b.tif --output other.tif");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("missing part 1/2"), std::string::npos) << missing.err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("other.tif")));
}

TEST(SurfaceCli, BadArgumentsExitTwoAndWriteNothing)
{
    TempDir dir;
    writeTestMap(dir.file("map.tif"));
    expectRefused(dir, "surface",
                  {
                      {"even window", "map.tif --window 4 --metrics shdi", "odd"},
                      {"window of 1", "map.tif --window 1 --metrics shdi", "odd"},
                      {"no window", "map.tif --metrics shdi", "--window"},
                      {"no metrics", "map.tif --window 3", "--metrics"},
                      {"unknown metric", "map.tif --window 3 --metrics shdy", "unknown metric 'shdy'"},
                      {"patch level", "map.tif --window 3 --metrics area --level patch", "class and landscape"},
                      {"class metric at landscape level", "map.tif --window 3 --metrics pland", "class level only"},
                      {"tile past its count", "map.tif --window 3 --metrics shdi --tile 3/2", "K/N"},
                      {"tile not numbers", "map.tif --window 3 --metrics shdi --tile a/b", "K/N"},
                      {"unknown shape", "map.tif --window 3 --metrics shdi --shape hexagon", "--shape"},
                      {"step 0", "map.tif --window 3 --metrics shdi --step 0", "--step"},
                      {"bad habitat", "map.tif --window 3 --metrics shdi --habitat x", "--habitat"},
                      {"map and merge", "map.tif --window 3 --merge a.tif", "excludes"},
                      {"no map", "--window 3 --metrics shdi", "MAP"},
                  },
                  [&] { EXPECT_EQ(filesIn(dir.path()), 1u); });
}

TEST(SurfaceCli, InterruptedRunLeavesNoFile)
{
    TempDir dir;
    TestMap m;
    m.width = m.height = 400;
    m.value = [](int x, int y) { return 1 + (x / 7 + y / 5 + x * y % 7) % 4; };
    writeMap(dir.file("map.tif"), m);
    // Patch metrics are measured window by window: seconds of work to interrupt.
    const pid_t pid = spawnCli(dir, {ORVALIS_CLI, "surface", dir.file("map.tif"), "--window", "61", "--metrics", "np",
                                     "--output", dir.file("s.tif")});
    ASSERT_GT(pid, 0);
    auto writing = [&] {
        for (const auto& e : std::filesystem::directory_iterator(dir.path()))
            if (e.path().extension() == ".part")
                return true;
        return false;
    };
    for (int i = 0; i < 1000 && !writing(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(writing());
    kill(pid, SIGINT);
    int raw = 0;
    ASSERT_EQ(waitpid(pid, &raw, 0), pid);
    ASSERT_TRUE(WIFEXITED(raw));
    EXPECT_EQ(WEXITSTATUS(raw), 1);
    EXPECT_NE(readFile(dir.file("cli.err")).find("interrupted"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.file("s.tif")));
    EXPECT_FALSE(writing());
}

TEST(SurfaceCli, UnreadableMapExitsOne)
{
    TempDir dir;
    writeFile(dir.file("map.tif"), "not a raster");
    const CliRun run = runCli(dir, "surface", "map.tif --window 3 --metrics shdi");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("map.tif"), std::string::npos) << run.err;
    EXPECT_EQ(filesIn(dir.path()), 1u);
}

}  // namespace
