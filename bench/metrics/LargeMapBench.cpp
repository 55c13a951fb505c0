// Memory of measuring a large raster band by band. `make` writes a tiled GeoTIFF a band of rows
// at a time (random cells of two classes at 50 %, or clumps of four classes from value noise with
// 1 % of cells flipped); `measure` measures it with the default metrics and prints the peak
// resident memory and the time, against the bytes a grid held whole would take (23 a cell).
// Usage: bench_metrics_large make FILE ROWS COLS [random|clumps]
//        bench_metrics_large measure FILE
#include "BenchSupport.h"
#include "core/map/BandedRaster.h"
#include "core/map/GdalSupport.h"

#include <gdal_priv.h>
#include <ogr_spatialref.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::uint64_t mix(std::uint64_t x)
{
    x += 0x9e3779b97f4a7c15ull;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ull;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebull;
    return x ^ (x >> 31);
}

double unit(std::uint64_t x)
{
    return static_cast<double>(mix(x) >> 11) * 0x1.0p-53;
}

// Value noise: random values at the corners of 32-cell squares, blended smoothly between them.
double noise(std::int64_t r, std::int64_t c)
{
    const std::int64_t s = 32;
    const std::int64_t r0 = r / s, c0 = c / s;
    const double fr = static_cast<double>(r % s) / s, fc = static_cast<double>(c % s) / s;
    auto at = [](std::int64_t i, std::int64_t j) { return unit(static_cast<std::uint64_t>(i) * 1000003u + static_cast<std::uint64_t>(j)); };
    const double wr = fr * fr * (3 - 2 * fr), wc = fc * fc * (3 - 2 * fc);
    const double top = at(r0, c0) * (1 - wc) + at(r0, c0 + 1) * wc;
    const double bottom = at(r0 + 1, c0) * (1 - wc) + at(r0 + 1, c0 + 1) * wc;
    return top * (1 - wr) + bottom * wr;
}

int make(const char* path, int rows, int cols, bool clumps)
{
    orvalis::registerGdal();
    GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("GTiff");
    char** options = nullptr;
    options = CSLSetNameValue(options, "TILED", "YES");
    options = CSLSetNameValue(options, "COMPRESS", "DEFLATE");
    options = CSLSetNameValue(options, "BIGTIFF", "IF_SAFER");
    GDALDataset* ds = driver->Create(path, cols, rows, 1, GDT_Byte, options);
    CSLDestroy(options);
    if (!ds) {
        std::fprintf(stderr, "cannot create %s\n", path);
        return 1;
    }
    double frame[6] = {500000, 30, 0, 5000000, 0, -30};
    ds->SetGeoTransform(frame);
    OGRSpatialReference srs;
    srs.importFromEPSG(32631);
    ds->SetSpatialRef(&srs);
    GDALRasterBand* band = ds->GetRasterBand(1);
    const int step = 256;
    std::vector<unsigned char> cells;
    for (int first = 0; first < rows; first += step) {
        const int count = std::min(step, rows - first);
        cells.resize(static_cast<std::size_t>(count) * static_cast<std::size_t>(cols));
        for (int r = 0; r < count; ++r)
            for (int c = 0; c < cols; ++c) {
                const std::uint64_t i = static_cast<std::uint64_t>(first + r) * static_cast<std::uint64_t>(cols) + static_cast<std::uint64_t>(c);
                unsigned char& v = cells[static_cast<std::size_t>(r) * static_cast<std::size_t>(cols) + static_cast<std::size_t>(c)];
                if (!clumps)
                    v = unit(i) < 0.5 ? 1 : 0;
                else
                    v = unit(i) < 0.01 ? static_cast<unsigned char>(mix(i) % 4) : static_cast<unsigned char>(std::min(3.0, noise(first + r, c) * 4));
            }
        if (band->RasterIO(GF_Write, 0, first, cols, count, cells.data(), cols, count, GDT_Byte, 0, 0) != CE_None) {
            std::fprintf(stderr, "cannot write %s\n", path);
            GDALClose(ds);
            return 1;
        }
    }
    GDALClose(ds);
    std::printf("%s: %d x %d cells (%s)\n", path, rows, cols, clumps ? "clumps" : "random");
    return 0;
}

int measure(const char* path)
{
    std::int64_t width = 0, height = 0;
    std::string error;
    if (!orvalis::rasterExtent(path, width, height, &error)) {
        std::fprintf(stderr, "%s: %s\n", path, error.c_str());
        return 1;
    }
    const auto start = orvalis::bench::Clock::now();
    double cellSize = 1;
    std::vector<orvalis::MetricValue> out;
    if (!orvalis::measureRasterByBands(path, cellSize, std::nullopt, orvalis::MetricsOptions(), out, &error)) {
        std::fprintf(stderr, "%s: %s\n", path, error.c_str());
        return 1;
    }
    const double secs = orvalis::bench::seconds(start, orvalis::bench::Clock::now());
    double patches = 0;
    for (const orvalis::MetricValue& v : out)
        if (v.landscape() && v.metric == "np")
            patches = v.value.value_or(0);
    const double cells = static_cast<double>(width) * static_cast<double>(height);
    const double peak = static_cast<double>(orvalis::bench::statusKb("VmHWM")) * 1024;
    std::printf("%s: %lld x %lld cells, %.0f patches: %.1f s, peak %.0f MB (%.2f bytes a cell); "
                "held whole about %.0f MB\n",
                path, static_cast<long long>(width), static_cast<long long>(height), patches, secs, peak / 1048576,
                peak / cells, cells * 23 / 1048576);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string what = argc > 1 ? argv[1] : "";
    if (what == "make" && argc >= 5)
        return make(argv[2], std::atoi(argv[3]), std::atoi(argv[4]), argc > 5 && std::string(argv[5]) == "clumps");
    if (what == "measure" && argc == 3)
        return measure(argv[2]);
    std::fprintf(stderr, "usage: bench_metrics_large make FILE ROWS COLS [random|clumps]\n"
                         "       bench_metrics_large measure FILE\n");
    return 2;
}
