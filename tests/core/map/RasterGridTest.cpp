// Georeferenced grids read for measuring: cells, cell size from the frame, no-data from the
// band or its mask, and the refusals.
#include "core/map/RasterGrid.h"

#include "support/NamedCase.h"
#include "support/TempDir.h"
#include "support/TestMaps.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <limits>

using namespace orvalis;
using namespace orvalis::test;

namespace {

struct GridCase : NamedCase {
    GDALDataType type;
    int epsg;                      // 0: no coordinate system
    std::array<double, 6> gt;
    std::optional<double> noData;
    bool masked;                   // a mask band leaves the first column out
    std::optional<double> wantCellSize;
    std::optional<int> wantNoData;
};

int cell(int x, int y)
{
    return (x * 7 + y * 3) % 5 + 2;
}

void writeGrid(const std::string& path, const GridCase& c, int w, int h)
{
    TestMap m{w, h, cell, c.type, c.noData};
    if (c.masked)
        m.masked = [](int x, int) { return x == 0; };
    m.gt = c.gt;
    m.epsg = c.epsg;
    writeMap(path, m);
}

class RasterGrids : public ::testing::TestWithParam<GridCase> {};

TEST_P(RasterGrids, ReadWithTheirFrameAndNoData)
{
    const GridCase& c = GetParam();
    TempDir dir;
    const std::string path = dir.file("w.tif");
    writeGrid(path, c, 9, 6);
    LandscapeGrid grid;
    RasterGridInfo info;
    std::string error;
    ASSERT_TRUE(readRasterGrid(path, grid, info, &error)) << error;
    ASSERT_EQ(grid.size(), 6u);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 9; ++x)
            EXPECT_EQ(grid[y][x], c.masked && x == 0 ? *c.wantNoData : cell(x, y)) << x << "," << y;
    ASSERT_EQ(info.cellSize.has_value(), c.wantCellSize.has_value());
    if (c.wantCellSize)  // the survey foot's length comes from PROJ's tables, rounded there
        EXPECT_NEAR(*info.cellSize, *c.wantCellSize, 1e-12 * *c.wantCellSize);
    EXPECT_EQ(info.noData, c.wantNoData);
    EXPECT_EQ(info.cellSize.has_value(), info.cellSizeNote.empty()) << info.cellSizeNote;
}

const std::array<double, 6> albers{1249665, 30, 0, 1260015, 0, -30};

INSTANTIATE_TEST_SUITE_P(
    Frames, RasterGrids,
    ::testing::Values(GridCase{{"ProjectedMetres"}, GDT_Byte, 5070, albers, std::nullopt, false, 30.0, std::nullopt},
                      GridCase{{"ProjectedFeet"}, GDT_Int16, 2277, {0, 10, 0, 0, 0, -10}, -1.0, false, 10 * (1200.0 / 3937.0),
                               -1},
                      GridCase{{"Degrees"}, GDT_UInt16, 4326, {-80, 0.001, 0, 33, 0, -0.001}, std::nullopt, false,
                               std::nullopt, std::nullopt},
                      GridCase{{"NoCoordinateSystem"}, GDT_Int32, 0, albers, std::nullopt, false, std::nullopt,
                               std::nullopt},
                      GridCase{{"RectangularCells"}, GDT_Byte, 5070, {0, 30, 0, 0, 0, -20}, std::nullopt, false,
                               std::nullopt, std::nullopt},
                      GridCase{{"MaskBelowEveryClass"}, GDT_Byte, 5070, albers, std::nullopt, true, 30.0, 1},
                      GridCase{{"MaskTakesTheNoDataValue"}, GDT_Int16, 5070, albers, -9999.0, true, 30.0, -9999},
                      // Whole classes stored as reals, as R's terra writes them.
                      GridCase{{"RealWholeValues"}, GDT_Float32, 5070, albers, std::nullopt, false, 30.0, std::nullopt},
                      GridCase{{"RealMasked"}, GDT_Float64, 5070, albers, -9999.0, true, 30.0, -9999}),
    [](const auto& info) { return info.param.name; });

TEST(RasterGrid, RefusesWhatIsNoClassGrid)
{
    TempDir dir;
    LandscapeGrid grid;
    RasterGridInfo info;
    std::string error;
    EXPECT_FALSE(readRasterGrid(dir.file("missing.tif"), grid, info, &error));
    EXPECT_NE(error.find("No such file"), std::string::npos) << error;

    // A fraction is no class; NaN is no-data.
    writeGrid(dir.file("real.tif"), GridCase{{"Real"}, GDT_Float32, 0, albers, std::nullopt, false, {}, {}}, 4, 4);
    {
        GDALDatasetUniquePtr ds(GDALDataset::Open(dir.file("real.tif").c_str(), GDAL_OF_RASTER | GDAL_OF_UPDATE));
        float cells[2] = {std::numeric_limits<float>::quiet_NaN(), 2.25f};
        ASSERT_EQ(ds->GetRasterBand(1)->RasterIO(GF_Write, 1, 2, 2, 1, cells, 2, 1, GDT_Float32, 0, 0, nullptr), CE_None);
    }
    EXPECT_FALSE(readRasterGrid(dir.file("real.tif"), grid, info, &error));
    EXPECT_NE(error.find("row 3, column 3 holds 2.25, not a class"), std::string::npos) << error;
    {
        GDALDatasetUniquePtr ds(GDALDataset::Open(dir.file("real.tif").c_str(), GDAL_OF_RASTER | GDAL_OF_UPDATE));
        const float two = 2.0f;
        ASSERT_EQ(ds->GetRasterBand(1)->RasterIO(GF_Write, 2, 2, 1, 1, const_cast<float*>(&two), 1, 1, GDT_Float32, 0, 0,
                                                 nullptr),
                  CE_None);
    }
    ASSERT_TRUE(readRasterGrid(dir.file("real.tif"), grid, info, &error)) << error;
    ASSERT_TRUE(info.noData.has_value());
    EXPECT_EQ(grid[2][1], *info.noData);
    EXPECT_EQ(grid[2][2], 2);

    writeGrid(dir.file("big.tif"), GridCase{{"Big"}, GDT_Byte, 0, albers, std::nullopt, false, {}, {}}, 40, 30);
    EXPECT_FALSE(readRasterGrid(dir.file("big.tif"), grid, info, &error, 1000));
    EXPECT_TRUE(grid.empty());
}

// A no-data value no 32-bit class can hold (a UInt32 band's 4294967295) leaves its cells out
// rather than refusing the grid; a class beyond 32 bits is still refused, named.
TEST(RasterGrid, NoDataBeyond32BitsIsNoClass)
{
    TempDir dir;
    TestMap m{5, 4, [](int x, int) { return x + 2; }, GDT_UInt32};
    m.noDataValue = 4294967295.0;
    writeMap(dir.file("u32.tif"), m);
    {
        GDALDatasetUniquePtr ds(GDALDataset::Open(dir.file("u32.tif").c_str(), GDAL_OF_RASTER | GDAL_OF_UPDATE));
        std::uint32_t none = 4294967295u;
        ASSERT_EQ(ds->GetRasterBand(1)->RasterIO(GF_Write, 2, 1, 1, 1, &none, 1, 1, GDT_UInt32, 0, 0, nullptr), CE_None);
    }
    LandscapeGrid grid;
    RasterGridInfo info;
    std::string error;
    ASSERT_TRUE(readRasterGrid(dir.file("u32.tif"), grid, info, &error)) << error;
    ASSERT_EQ(info.noData, 1);  // one below every class
    EXPECT_EQ(grid[1][2], 1);
    EXPECT_EQ(grid[0][4], 6);

    TestMap big{3, 2, [](int, int) { return 7; }, GDT_Int64};
    writeMap(dir.file("i64.tif"), big);
    {
        GDALDatasetUniquePtr ds(GDALDataset::Open(dir.file("i64.tif").c_str(), GDAL_OF_RASTER | GDAL_OF_UPDATE));
        std::int64_t wide = 1099511627817;  // 41 in its low 32 bits
        ASSERT_EQ(ds->GetRasterBand(1)->RasterIO(GF_Write, 1, 1, 1, 1, &wide, 1, 1, GDT_Int64, 0, 0, nullptr), CE_None);
    }
    EXPECT_FALSE(readRasterGrid(dir.file("i64.tif"), grid, info, &error));
    EXPECT_NE(error.find("row 2, column 2: the class 1099511627817 does not fit in 32 bits"), std::string::npos) << error;
}

}  // namespace
