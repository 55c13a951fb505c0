#pragma once

// The benchmarks' land-cover map: a tiled (256), DEFLATE GeoTIFF of SIDE x SIDE Byte cells, 8 classes
// in ragged patches with scattered single cells, and a no-data (0) border.
#include "core/random/RandomSource.h"

#include <gdal_priv.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace benchmap {

constexpr int Classes = 8;
constexpr int Patch = 96;  // cells a side of the coarse class grid

inline std::uint64_t mix(std::uint64_t v)
{
    v += 0x9e3779b97f4a7c15ull;
    v = (v ^ (v >> 30)) * 0xbf58476d1ce4e5b9ull;
    v = (v ^ (v >> 27)) * 0x94d049bb133111ebull;
    return v ^ (v >> 31);
}

inline bool makeMap(const std::string& path, int side)
{
    GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("GTiff");
    const char* const options[] = {"TILED=YES", "BLOCKXSIZE=256", "BLOCKYSIZE=256", "COMPRESS=DEFLATE",
                                   "BIGTIFF=IF_SAFER", nullptr};
    GDALDataset* ds = driver->Create(path.c_str(), side, side, 1, GDT_Byte, const_cast<char**>(options));
    if (!ds)
        return false;
    double t[6] = {500000, 30, 0, 4000000, 0, -30};
    ds->SetGeoTransform(t);
    GDALRasterBand* band = ds->GetRasterBand(1);
    band->SetNoDataValue(0);
    // A coarse grid of classes, drawn from the project's generator.
    const int coarse = side / Patch + 2;
    orvalis::RandomSource random(7);
    std::vector<unsigned char> grid(static_cast<std::size_t>(coarse) * coarse);
    for (auto& c : grid)
        c = static_cast<unsigned char>(1 + random.next() % Classes);
    const int border = std::max(1, side / 200);
    std::vector<unsigned char> rows(static_cast<std::size_t>(side) * 256);
    for (int y0 = 0; y0 < side; y0 += 256) {
        const int h = std::min(256, side - y0);
        for (int r = 0; r < h; ++r) {
            const int y = y0 + r;
            unsigned char* row = rows.data() + static_cast<std::size_t>(r) * side;
            for (int x = 0; x < side; ++x) {
                const std::uint64_t n = mix(static_cast<std::uint64_t>(y) * 1000003u + static_cast<std::uint64_t>(x));
                // Patch edges wander by up to a quarter patch; one cell in fifty is any class.
                const int jx = static_cast<int>(n & 31) - 16, jy = static_cast<int>((n >> 5) & 31) - 16;
                const int cx = std::clamp((x + jx + Patch) / Patch, 0, coarse - 1);
                const int cy = std::clamp((y + jy + Patch) / Patch, 0, coarse - 1);
                unsigned char c = grid[static_cast<std::size_t>(cy) * coarse + cx];
                if ((n >> 10) % 50 == 0)
                    c = static_cast<unsigned char>(1 + (n >> 20) % Classes);
                if (x < border || y < border || x >= side - border || y >= side - border)
                    c = 0;
                row[x] = c;
            }
        }
        if (band->RasterIO(GF_Write, 0, y0, side, h, rows.data(), side, h, GDT_Byte, 0, 0, nullptr) != CE_None)
            return false;
    }
    GDALClose(GDALDataset::ToHandle(ds));
    return true;
}

}  // namespace benchmap
