// The whole metric catalogue against the standard 26 and against a straightforward computation.
// Maps: a SIDE x SIDE random map at 30 % habitat (1000 by default) and the bundled land-cover map
// (its NLCD classes). For each: the standard 26 metrics (class and landscape), the catalogue at
// class and landscape level, then at patch, class and landscape level, the median of 5 runs;
// the catalogue's time over the standard set's is the cost of the rest. The baseline is the
// tests' plain recomputation (flood fill, every cell pair, every circle), run on a BASE x BASE
// random map (100) and extrapolated by the square of the cells, its nearest-patch and circle
// searches being quadratic.
// Usage: bench_catalogue [SIDE [BASE [MAP]]]
#include "BenchSupport.h"
#include "SlowCatalogue.h"
#include "core/map/RasterGrid.h"
#include "core/metrics/LandscapeMetrics.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

using orvalis::bench::Clock;
using orvalis::bench::seconds;

namespace {

struct Map {
    std::string name;
    std::vector<int> cells;
    int rows = 0;
    int cols = 0;
    std::optional<int> noData;
    double cellSize = 1.0;
    orvalis::GridView view() const { return {cells, rows, cols, noData, cellSize}; }
};

Map randomMap(int side, unsigned seed)
{
    std::mt19937 rng(seed);
    std::bernoulli_distribution habitat(0.30);
    Map m{"random " + std::to_string(side) + " x " + std::to_string(side) + ", 30 % habitat", {}, side, side, {}, 30.0};
    m.cells.resize(static_cast<std::size_t>(side) * static_cast<std::size_t>(side));
    for (int& x : m.cells)
        x = habitat(rng) ? 1 : 0;
    return m;
}

double medianMs(const Map& map, const orvalis::MetricsOptions& options, std::size_t* rows)
{
    std::vector<double> times;
    std::vector<orvalis::MetricValue> out;
    for (int run = 0; run < 5; ++run) {
        const auto t0 = Clock::now();
        if (!orvalis::computeMetrics(map.view(), options, out))
            std::exit(1);
        times.push_back(seconds(t0, Clock::now()) * 1000.0);
    }
    *rows = out.size();
    std::sort(times.begin(), times.end());
    return times[2];
}

using orvalis::MetricLevel;

void measureMap(const Map& map, double baselineMsPerCell2)
{
    orvalis::MetricsOptions standard;
    orvalis::MetricsOptions classes = standard;
    classes.selection = orvalis::MetricSelection::all({MetricLevel::Class, MetricLevel::Landscape});
    orvalis::MetricsOptions all = standard;
    all.selection = orvalis::MetricSelection::all({MetricLevel::Patch, MetricLevel::Class, MetricLevel::Landscape});
    std::size_t n26 = 0, nClass = 0, nAll = 0;
    const double t26 = medianMs(map, standard, &n26);
    const double tClass = medianMs(map, classes, &nClass);
    const double tAll = medianMs(map, all, &nAll);
    const double cells = static_cast<double>(map.rows) * map.cols;
    const double baseline = baselineMsPerCell2 * cells * cells;
    std::printf("%s:\n", map.name.c_str());
    std::printf("  standard 26 metrics          %9.1f ms  (%zu values)\n", t26, n26);
    std::printf("  catalogue, class + landscape %9.1f ms  (%zu values)  %.2f x the standard set\n", tClass, nClass, tClass / t26);
    std::printf("  catalogue, patch level too   %9.1f ms  (%zu values)  %.2f x the standard set\n", tAll, nAll, tAll / t26);
    std::printf("  straightforward baseline     %9.0f s (extrapolated)  %.0f x slower than the whole catalogue\n",
                baseline / 1000.0, baseline / tAll);
}

}  // namespace

int main(int argc, char** argv)
{
    const int side = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int base = argc > 2 ? std::atoi(argv[2]) : 100;
    const std::string mapPath = argc > 3 ? argv[3] : std::string(ORVALIS_SOURCE_DIR) + "/examples/augusta_nlcd.tif";

    // The baseline: the plain recomputation of the whole catalogue on a small random map.
    const Map small = randomMap(base, 2);
    orvalis::test::SlowGrid slow{small.rows, small.cols, small.cells};
    orvalis::test::SlowOptions o;
    o.cellSize = small.cellSize;
    const auto t0 = Clock::now();
    const std::size_t rows = orvalis::test::slowPatchFamilies(slow, o).size() + orvalis::test::slowAggregates(slow, o).size();
    const double baseMs = seconds(t0, Clock::now()) * 1000.0;
    const double cells = static_cast<double>(base) * base;
    std::printf("straightforward computation of the catalogue on %d x %d: %.0f ms (%zu values)\n", base, base, baseMs, rows);
    const double perCell2 = baseMs / (cells * cells);

    measureMap(randomMap(side, 1), perCell2);
    Map nlcd;
    nlcd.name = mapPath;
    orvalis::LandscapeGrid grid;
    orvalis::RasterGridInfo info;
    std::string error;
    if (!orvalis::readRasterGrid(mapPath, grid, info, &error)) {
        std::fprintf(stderr, "%s: %s\n", mapPath.c_str(), error.c_str());
        return 1;
    }
    nlcd.rows = static_cast<int>(grid.size());
    nlcd.cols = static_cast<int>(grid.front().size());
    for (const auto& line : grid)
        nlcd.cells.insert(nlcd.cells.end(), line.begin(), line.end());
    nlcd.noData = info.noData;
    nlcd.cellSize = info.cellSize.value_or(1.0);
    measureMap(nlcd, perCell2);
    return 0;
}
