#pragma once

#include <gdal_priv.h>
#include <ogr_spatialref.h>

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvalis::test {

constexpr int Epsg = 5070;  // NLCD's Albers

// A one-band GeoTIFF made for a test: tiled, DEFLATE, in NLCD's frame unless told otherwise.
struct TestMap {
    int width = 0, height = 0;
    std::function<int(int, int)> value;  // class at (column, row)
    GDALDataType type = GDT_Byte;
    std::optional<double> noDataValue;
    std::function<bool(int, int)> masked;  // cells a per-dataset mask marks invalid
    std::array<double, 6> gt{1249665.0, 30.0, 0.0, 1260015.0, 0.0, -30.0};
    int block = 64;
    int epsg = Epsg;  // 0: no coordinate system
};

inline void writeMap(const std::string& path, const TestMap& m)
{
    GDALAllRegister();
    GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("GTiff");
    const std::string blockX = "BLOCKXSIZE=" + std::to_string(m.block);
    const std::string blockY = "BLOCKYSIZE=" + std::to_string(m.block);
    const char* options[] = {"TILED=YES", blockX.c_str(), blockY.c_str(), "COMPRESS=DEFLATE", nullptr};
    GDALDataset* ds = driver->Create(path.c_str(), m.width, m.height, 1, m.type, const_cast<char**>(options));
    ASSERT_NE(ds, nullptr);
    std::array<double, 6> gt = m.gt;
    ds->SetGeoTransform(gt.data());
    if (m.epsg) {
        OGRSpatialReference srs;
        srs.importFromEPSG(m.epsg);
        ds->SetSpatialRef(&srs);
    }
    GDALRasterBand* band = ds->GetRasterBand(1);
    if (m.noDataValue)
        band->SetNoDataValue(*m.noDataValue);
    std::vector<int> row(static_cast<std::size_t>(m.width));
    for (int y = 0; y < m.height; ++y) {
        for (int x = 0; x < m.width; ++x)
            row[static_cast<std::size_t>(x)] = m.value(x, y);
        ASSERT_EQ(band->RasterIO(GF_Write, 0, y, m.width, 1, row.data(), m.width, 1, GDT_Int32, 0, 0), CE_None);
    }
    if (m.masked) {
        ASSERT_EQ(band->CreateMaskBand(GMF_PER_DATASET), CE_None);
        GDALRasterBand* mask = band->GetMaskBand();
        std::vector<unsigned char> bits(static_cast<std::size_t>(m.width));
        for (int y = 0; y < m.height; ++y) {
            for (int x = 0; x < m.width; ++x)
                bits[static_cast<std::size_t>(x)] = m.masked(x, y) ? 0 : 255;
            ASSERT_EQ(mask->RasterIO(GF_Write, 0, y, m.width, 1, bits.data(), m.width, 1, GDT_Byte, 0, 0), CE_None);
        }
    }
    GDALClose(ds);
}

// A sparse tiled GeoTIFF of side x side Byte cells, no-data 255, that holds one block of value 7
// at block column blockX, block row blockY: the rest is never written and takes no room.
inline void writeSparseMap(const std::string& path, int side, int block, int blockX, int blockY)
{
    GDALAllRegister();
    const std::string size = std::to_string(block);
    const std::string blockXSize = "BLOCKXSIZE=" + size, blockYSize = "BLOCKYSIZE=" + size;
    const char* options[] = {"TILED=YES",    blockXSize.c_str(), blockYSize.c_str(), "SPARSE_OK=TRUE",
                             "COMPRESS=DEFLATE", "BIGTIFF=YES",  nullptr};
    GDALDataset* ds = GetGDALDriverManager()->GetDriverByName("GTiff")->Create(path.c_str(), side, side, 1, GDT_Byte,
                                                                              const_cast<char**>(options));
    ASSERT_NE(ds, nullptr);
    ds->GetRasterBand(1)->SetNoDataValue(255);
    std::vector<unsigned char> data(static_cast<std::size_t>(block) * static_cast<std::size_t>(block), 7);
    ASSERT_EQ(ds->GetRasterBand(1)->WriteBlock(blockX, blockY, data.data()), CE_None);
    GDALClose(ds);
}

}  // namespace orvalis::test
