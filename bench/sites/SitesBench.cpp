// Metrics around field sites: SITES random sites at radii of 500, 1000 and 2000 m on a SIDE x SIDE
// map of 30 m cells (4000 and 1000 by default; five land-cover classes in blobs of a few hundred
// metres), the standard 26 metrics, every core. Prints the time, the peak memory and the time of
// the straightforward way (for each buffer, every cell of the map tested and the buffer copied
// out), timed on a few sites and scaled to all.
// Usage: bench_sites [SIDE [SITES]]
#include "BenchSupport.h"
#include "core/map/RasterWindows.h"
#include "core/sites/SiteMetrics.h"

#include <gdal_priv.h>
#include <ogr_spatialref.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <vector>

using orvalis::bench::Clock;
using orvalis::bench::seconds;

namespace {

constexpr double Cell = 30.0;
constexpr double X0 = 1000000.0, Y0 = 2000000.0;

void writeMap(const std::string& path, int side)
{
    GDALAllRegister();
    const char* options[] = {"TILED=YES", "COMPRESS=DEFLATE", nullptr};
    GDALDataset* ds = GetGDALDriverManager()->GetDriverByName("GTiff")->Create(path.c_str(), side, side, 1, GDT_Byte,
                                                                               const_cast<char**>(options));
    double gt[6] = {X0, Cell, 0, Y0, 0, -Cell};
    ds->SetGeoTransform(gt);
    OGRSpatialReference srs;
    srs.importFromEPSG(5070);
    ds->SetSpatialRef(&srs);
    // Classes of a coarse random grid, its blocks' edges made ragged by noise.
    std::mt19937 rng(3);
    const int coarse = 12;
    std::vector<unsigned char> blocks(static_cast<std::size_t>((side / coarse + 2) * (side / coarse + 2)));
    for (auto& b : blocks)
        b = static_cast<unsigned char>(1 + rng() % 5);
    std::vector<unsigned char> row(static_cast<std::size_t>(side));
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const int jx = (x + static_cast<int>(rng() % 5)) / coarse, jy = (y + static_cast<int>(rng() % 5)) / coarse;
            row[static_cast<std::size_t>(x)] = blocks[static_cast<std::size_t>(jy * (side / coarse + 2) + jx)];
        }
        if (ds->GetRasterBand(1)->RasterIO(GF_Write, 0, y, side, 1, row.data(), side, 1, GDT_Byte, 0, 0) != CE_None)
            std::exit(1);
    }
    GDALClose(ds);
}

}  // namespace

int main(int argc, char** argv)
{
    const int side = argc > 1 ? std::atoi(argv[1]) : 4000;
    const int count = argc > 2 ? std::atoi(argv[2]) : 1000;
    const std::string path = (std::filesystem::temp_directory_path() / "orvalis-bench-sites.tif").string();
    writeMap(path, side);

    orvalis::SiteMetricsParameters p;
    p.map = path;
    p.radii = {500, 1000, 2000};
    std::mt19937 rng(7);
    for (int i = 0; i < count; ++i)
        p.sites.push_back({std::to_string(i + 1), X0 + (rng() % (side * 30)), Y0 - (rng() % (side * 30)), {}});
    orvalis::bench::resetPeak();
    const long before = orvalis::bench::statusKb("VmRSS");
    orvalis::RunControl control;
    std::size_t bytes = 0;
    const auto t0 = Clock::now();
    std::string error;
    if (!orvalis::measureSites(p, [&](std::size_t, orvalis::SiteResult&& r) { bytes += r.rows.size(); }, control, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const double secs = seconds(t0, Clock::now());
    const long peak = orvalis::bench::statusKb("VmHWM");
    std::printf("%d sites x 3 radii (500, 1000, 2000 m) on %d x %d cells of 30 m, standard 26 metrics: %.2f s, "
                "table %.1f MB, peak memory %.0f MB (%.0f MB before)\n",
                count, side, side, secs, bytes / 1e6, peak / 1024.0, before / 1024.0);

    // The straightforward way on a few sites: every cell of the map tested against each buffer.
    orvalis::RasterWindows map;
    map.open(path, 1, {}, &error);
    const int few = std::min(count, 3);
    std::vector<int> whole;
    map.read(0, 0, side, side, whole, &error);
    const auto t1 = Clock::now();
    for (int i = 0; i < few; ++i)
        for (double radius : p.radii) {
            const orvalis::Site& s = p.sites[static_cast<std::size_t>(i)];
            int top = INT_MAX, bottom = -1, left = INT_MAX, right = -1;
            for (int r = 0; r < side; ++r)
                for (int c = 0; c < side; ++c) {
                    const double dx = X0 + (c + 0.5) * Cell - s.x, dy = Y0 - (r + 0.5) * Cell - s.y;
                    if (dx * dx + dy * dy <= radius * radius)
                        top = std::min(top, r), bottom = std::max(bottom, r), left = std::min(left, c), right = std::max(right, c);
                }
            std::vector<int> cells;
            for (int r = top; r <= bottom; ++r)
                for (int c = left; c <= right; ++c) {
                    const double dx = X0 + (c + 0.5) * Cell - s.x, dy = Y0 - (r + 0.5) * Cell - s.y;
                    cells.push_back(dx * dx + dy * dy <= radius * radius ? whole[static_cast<std::size_t>(r) * side + c] : INT_MIN);
                }
            std::vector<orvalis::MetricValue> out;
            orvalis::computeMetrics(orvalis::GridView{cells, bottom - top + 1, right - left + 1, INT_MIN, Cell}, {}, out);
        }
    const double plain = seconds(t1, Clock::now()) / few * count;
    std::printf("straightforward, scaled from %d sites: %.1f s, %.0f times the time\n", few, plain, plain / secs);
    std::filesystem::remove(path);
    return 0;
}
