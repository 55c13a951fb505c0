#include "core/map/WindowWriters.h"

#include "support/NamedCase.h"
#include "support/TempDir.h"

#include <gdal_priv.h>
#include <gtest/gtest.h>
#include <ogr_spatialref.h>

#include <filesystem>

namespace {

using namespace orvalis;
using namespace orvalis::test;

std::string albers(const char* format)
{
    OGRSpatialReference crs;
    crs.importFromEPSG(5070);  // NAD83 / Conus Albers, the NLCD's own
    char* text = nullptr;
    const char* const options[] = {format, nullptr};
    crs.exportToWkt(&text, options);
    std::string out = text;
    CPLFree(text);
    return out;
}

// The file read back through GDAL stands where the window does, in the NLCD's Albers.
void expectFrame(GDALDataset* ds, const GeoTransform& frame)
{
    double t[6];
    ASSERT_EQ(ds->GetGeoTransform(t), CE_None);
    EXPECT_EQ(GeoTransform(std::to_array(t)), frame);
    OGRSpatialReference expected;
    expected.importFromEPSG(5070);
    ASSERT_NE(ds->GetSpatialRef(), nullptr);
    EXPECT_TRUE(ds->GetSpatialRef()->IsSame(&expected));
}

// Files a writer left in dir besides the ones named: a half-written file would show here.
std::vector<std::string> namesIn(const std::filesystem::path& dir)
{
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

struct TiffCase : NamedCase {
    std::vector<std::int64_t> values;  // 3 x 2
    GDALDataType type;
};

class GeoTiffWindowTest : public ::testing::TestWithParam<TiffCase> {};

TEST_P(GeoTiffWindowTest, ReadsBackInTheSmallestType)
{
    const TiffCase& c = GetParam();
    TempDir dir;
    const std::string path = dir.file("w\xc3\xadndow.tif");
    const GeoTransform frame{1249665 + 30 * 7, 30, 0, 1260015 - 30 * 5, 0, -30};
    const std::string wkt = albers("FORMAT=WKT2_2019");
    std::string error;
    ASSERT_TRUE(writeGeoTiff(path, WindowGrid{3, 2, c.values.data()}, frame, wkt, &error)) << error;
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"w\xc3\xadndow.tif"});

    GDALDataset* ds = GDALDataset::Open(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY);
    ASSERT_NE(ds, nullptr);
    GDALRasterBand* band = ds->GetRasterBand(1);
    EXPECT_EQ(band->GetRasterDataType(), c.type);
    std::vector<std::int64_t> back(6);
    ASSERT_EQ(band->RasterIO(GF_Read, 0, 0, 3, 2, back.data(), 3, 2, GDT_Int64, 0, 0, nullptr), CE_None);
    EXPECT_EQ(back, c.values);
    expectFrame(ds, frame);
    int hasNoData = 1;
    band->GetNoDataValue(&hasNoData);
    EXPECT_FALSE(hasNoData);
    EXPECT_STREQ(ds->GetMetadataItem("COMPRESSION", "IMAGE_STRUCTURE"), "DEFLATE");
    GDALClose(GDALDataset::ToHandle(ds));
}

INSTANTIATE_TEST_SUITE_P(
    Types, GeoTiffWindowTest,
    ::testing::Values(TiffCase{"Byte", {0, 41, 42, 43, 90, 255}, GDT_Byte},
                      TiffCase{"UInt16", {0, 1, 2, 3, 4, 256}, GDT_UInt16},
                      TiffCase{"Int16", {-1, 1, 2, 3, 4, 32767}, GDT_Int16},
                      TiffCase{"UInt32", {0, 1, 2, 3, 4, 65536}, GDT_UInt32},
                      TiffCase{"UInt32Top", {4294967295ll, 1, 2, 3, 4, 5}, GDT_UInt32},
                      TiffCase{"Int32", {-1, 1, 2, 3, 4, 32768}, GDT_Int32},
                      TiffCase{"Int32Bottom", {INT32_MIN, 0, 0, 0, 0, 0}, GDT_Int32}),
    CaseName());

TEST(GeoTiffWindow, RefusesValuesBeyond32BitsAndLeavesNothing)
{
    TempDir dir;
    const std::vector<std::int64_t> values{-1, 4294967295ll};
    std::string error;
    EXPECT_FALSE(writeGeoTiff(dir.file("w.tif"), WindowGrid{2, 1, values.data()}, std::nullopt, "", &error));
    EXPECT_NE(error.find("do not fit a 32-bit GeoTIFF"), std::string::npos) << error;
    EXPECT_TRUE(namesIn(dir.path()).empty());
    EXPECT_FALSE(writeGeoTiff(dir.file("no/such/folder/w.tif"), WindowGrid{1, 1, values.data()}, std::nullopt, "",
                              &error));
    EXPECT_NE(error.find("no/such/folder/w.tif"), std::string::npos) << error;
}

TEST(AsciiGridWindow, WritesTheHeaderValuesAndPrj)
{
    TempDir dir;
    const std::string path = dir.file("window.asc");
    writeFile(path, "an older window\n");
    const std::vector<std::int64_t> values{41, 42, 11, 0, 90, 43};
    const std::vector<unsigned char> noData{0, 0, 0, 1, 0, 0};
    // A corner that only the shortest exact text gives back: 0.1 + 0.2 is not 0.3.
    const GeoTransform frame{0.1 + 0.2, 30, 0, 1260015, 0, -30};
    const std::string esri = albers("FORMAT=WKT1_ESRI");
    std::string error;
    ASSERT_TRUE(writeAsciiGrid(path, WindowGrid{3, 2, values.data(), noData.data()}, frame, esri, &error)) << error;
    EXPECT_EQ(readFile(path), "ncols 3\nnrows 2\nxllcorner 0.30000000000000004\nyllcorner 1259955\ncellsize 30\n"
                              "NODATA_value -9999\n41 42 11\n-9999 90 43\n");
    EXPECT_EQ(readFile(dir.file("window.prj")), esri);
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"window.asc", "window.prj"}));

    GDALAllRegister();
    GDALDataset* ds = GDALDataset::Open(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY);
    ASSERT_NE(ds, nullptr);
    expectFrame(ds, frame);
    GDALClose(GDALDataset::ToHandle(ds));
}

TEST(AsciiGridWindow, WithoutACoordinateSystemLeavesNoPrj)
{
    TempDir dir;
    const std::vector<std::int64_t> values{1};
    std::string error;
    ASSERT_TRUE(writeAsciiGrid(dir.file("w.asc"), WindowGrid{1, 1, values.data()}, GeoTransform{0, 1, 0, 1, 0, -1}, "",
                               &error))
        << error;
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"w.asc"});
}

// A class that is the usual no-data value must not read back as no-data.
TEST(AsciiGridWindow, AClassOfMinus9999TakesAnotherNoDataValue)
{
    TempDir dir;
    const std::vector<std::int64_t> values{-9999, 3, -5};
    std::string error;
    std::int64_t noData = 0;
    ASSERT_TRUE(writeAsciiGrid(dir.file("w.asc"), WindowGrid{3, 1, values.data()}, GeoTransform{0, 1, 0, 1, 0, -1}, "",
                               &error, &noData))
        << error;
    EXPECT_EQ(noData, -10000);
    EXPECT_NE(readFile(dir.file("w.asc")).find("NODATA_value -10000\n-9999 3 -5\n"), std::string::npos)
        << readFile(dir.file("w.asc"));
}

struct FrameCase : NamedCase {
    GeoTransform frame;
    const char* says;  // empty: ASCII grids are possible
};

class AsciiGridFrameTest : public ::testing::TestWithParam<FrameCase> {};

TEST_P(AsciiGridFrameTest, TakesOnlyNorthUpSquareCells)
{
    const FrameCase& c = GetParam();
    const std::string why = asciiGridRefusal(c.frame);
    if (*c.says == '\0') {
        EXPECT_EQ(why, "");
        return;
    }
    EXPECT_NE(why.find(c.says), std::string::npos) << why;
    TempDir dir;
    const std::vector<std::int64_t> values{1};
    std::string error;
    EXPECT_FALSE(writeAsciiGrid(dir.file("w.asc"), WindowGrid{1, 1, values.data()}, c.frame, "PROJCS[]", &error));
    EXPECT_TRUE(namesIn(dir.path()).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Frames, AsciiGridFrameTest,
    ::testing::Values(FrameCase{"NorthUp", {1249665, 30, 0, 1260015, 0, -30}, ""},
                      FrameCase{"DegreesPrintedShort", {-84.5, 0.000833333333333, 0, 34, 0, -0.000833333333334}, ""},
                      FrameCase{"Rotated", {0, 30, 1, 0, 1, -30}, "rotated"},
                      FrameCase{"Rectangular", {0, 30, 0, 0, 0, -25}, "not square"},
                      FrameCase{"SouthUp", {0, 30, 0, 0, 0, 30}, "north to south"}),
    CaseName());

// A window's frame puts its cells where the map has them, rotated maps included.
TEST(WindowFrame, WindowCellsLieOnTheMapCells)
{
    const GeoTransform map{1000, 25, 4, 5000, 3, -25};
    const GeoTransform window = windowGeoTransform(map, 17, 40);
    for (double x : {0.0, 0.5, 3.0})
        for (double y : {0.0, 2.5, 7.0}) {
            const MapPoint a = mapPoint(window, x, y), b = mapPoint(map, 17 + x, 40 + y);
            EXPECT_DOUBLE_EQ(a.x, b.x);
            EXPECT_DOUBLE_EQ(a.y, b.y);
        }
}

}  // namespace
