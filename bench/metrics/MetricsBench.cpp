// All landscape metrics on a 1000 x 1000 random map at 30 % habitat, against the
// straightforward nearest-patch search (every cell of a patch against every cell of the
// class's other patches) timed on a 200 x 200 map and extrapolated by the square of the cells.
// Then the time a grid of the fractal run's defaults takes: 100 x 100 cells, two classes.
// Usage: bench_metrics [SIDE [BASELINE_SIDE]]
#include "core/metrics/LandscapeMetrics.h"
#include "core/neutral/FractalRun.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

using Clock = std::chrono::steady_clock;

namespace {

using Lines = std::vector<std::vector<int>>;

// A grid and its cells in one block, flattened once, outside the timed loops.
struct Flat {
    Lines lines;
    std::vector<int> cells;
    explicit Flat(Lines l) : lines(std::move(l))
    {
        for (const auto& line : lines)
            cells.insert(cells.end(), line.begin(), line.end());
    }
    const std::vector<int>& operator[](std::size_t r) const { return lines[r]; }
    std::size_t size() const { return lines.size(); }
};

bool measure(const Flat& g, const orvalis::MetricsOptions& options, std::vector<orvalis::MetricValue>& out)
{
    const int rows = static_cast<int>(g.lines.size());
    return orvalis::computeMetrics(orvalis::GridView{g.cells, rows, static_cast<int>(g.lines[0].size()), std::nullopt, 1.0},
                                   options, out);
}

Flat randomMap(int side, unsigned seed)
{
    std::mt19937 rng(seed);
    std::bernoulli_distribution habitat(0.30);
    Lines g(static_cast<size_t>(side), std::vector<int>(static_cast<size_t>(side)));
    for (auto& line : g)
        for (int& x : line)
            x = habitat(rng) ? 1 : 0;
    return Flat(std::move(g));
}

double millis(Clock::time_point a, Clock::time_point b)
{
    return std::chrono::duration<double, std::milli>(b - a).count();
}

// Flood-fill patches with 8 neighbours, then every cell pair between patches of a class.
double slowEnnSum(const Flat& g)
{
    const int n = static_cast<int>(g.size());
    std::vector<int> label(static_cast<size_t>(n) * n, -1);
    std::vector<std::vector<std::pair<int, int>>> patches;
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c) {
            if (label[static_cast<size_t>(r) * n + c] >= 0)
                continue;
            const int id = static_cast<int>(patches.size());
            patches.emplace_back();
            std::vector<std::pair<int, int>> stack{{r, c}};
            label[static_cast<size_t>(r) * n + c] = id;
            while (!stack.empty()) {
                const auto [y, x] = stack.back();
                stack.pop_back();
                patches[static_cast<size_t>(id)].push_back({y, x});
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int yy = y + dy, xx = x + dx;
                        if (yy < 0 || yy >= n || xx < 0 || xx >= n || g[yy][xx] != g[r][c] ||
                            label[static_cast<size_t>(yy) * n + xx] >= 0)
                            continue;
                        label[static_cast<size_t>(yy) * n + xx] = id;
                        stack.push_back({yy, xx});
                    }
            }
        }
    double sum = 0;
    for (const auto& p : patches) {
        const int k = g[p[0].first][p[0].second];
        long best = -1;
        for (const auto& q : patches) {
            if (&q == &p || g[q[0].first][q[0].second] != k)
                continue;
            for (const auto& a : p)
                for (const auto& b : q) {
                    const long d = static_cast<long>(a.first - b.first) * (a.first - b.first) +
                                   static_cast<long>(a.second - b.second) * (a.second - b.second);
                    if (best < 0 || d < best)
                        best = d;
                }
        }
        if (best >= 0)
            sum += std::sqrt(static_cast<double>(best));
    }
    return sum;
}

// Grids as the fractal dialog's defaults cut them: every H, a few seeds, every tenth threshold.
std::vector<Flat> fractalGrids(int size)
{
    std::vector<Flat> grids;
    orvalis::MidpointSurface s;
    for (double H : orvalis::fractalHValues(0.1, 0.9, 0.1))
        for (int seed = 0; seed < 4; ++seed) {
            s.generateSurface(H, size, orvalis::SurfaceLevels, seed);
            for (int t = 0; t < orvalis::ThresholdCount; t += 10) {
                Lines g(static_cast<size_t>(size));
                for (int row = 0; row < size; ++row)
                    orvalis::thresholdedRow(s, row, orvalis::fractalThresholds()[static_cast<size_t>(t)], 0, 1,
                                            g[static_cast<size_t>(row)]);
                grids.emplace_back(std::move(g));
            }
        }
    return grids;
}

}  // namespace

int main(int argc, char** argv)
{
    const int side = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int baseSide = argc > 2 ? std::atoi(argv[2]) : 200;
    const Flat map = randomMap(side, 1);
    std::vector<orvalis::MetricValue> out;
    double patches = 0;
    for (int rule : {8, 4}) {
        orvalis::MetricsOptions options;
        options.neighbours = rule;
        std::vector<double> times;
        for (int run = 0; run < 7; ++run) {
            const auto t0 = Clock::now();
            if (!measure(map, options, out))
                return 1;
            times.push_back(millis(t0, Clock::now()));
        }
        std::sort(times.begin(), times.end());
        for (const auto& v : out)
            if (v.landscape() && v.metric == "np")
                patches = *v.value;
        std::printf("%d x %d, 30 %% habitat, %d neighbours: %.0f patches, all metrics %.1f ms (median of 7, best %.1f)\n",
                    side, side, rule, patches, times[3], times[0]);
    }

    // The straightforward nearest-patch search, checked against the engine on the small map.
    const Flat small = randomMap(baseSide, 2);
    const auto t0 = Clock::now();
    const double slowSum = slowEnnSum(small);
    const double slowMs = millis(t0, Clock::now());
    orvalis::MetricsOptions eight;
    const auto t1 = Clock::now();
    measure(small, eight, out);
    const double fastSmallMs = millis(t1, Clock::now());
    double fastSum = 0;
    std::vector<double> np, enn;
    for (const auto& v : out)
        if (!v.landscape() && v.metric == "np")
            np.push_back(*v.value);
        else if (!v.landscape() && v.metric == "enn_mn")
            enn.push_back(*v.value);
    for (size_t k = 0; k < np.size(); ++k)
        fastSum += np[k] * enn[k];
    const bool agree = std::fabs(fastSum - slowSum) <= 1e-9 * slowSum;
    const double scale = std::pow(static_cast<double>(side) * side / (static_cast<double>(baseSide) * baseSide), 2);

    orvalis::MetricsOptions options;
    std::vector<double> times;
    for (int run = 0; run < 7; ++run) {
        const auto t2 = Clock::now();
        measure(map, options, out);
        times.push_back(millis(t2, Clock::now()));
    }
    std::sort(times.begin(), times.end());
    std::printf("%d x %d: straightforward nearest-patch search %.0f ms, all metrics %.2f ms; nearest distances %s\n",
                baseSide, baseSide, slowMs, fastSmallMs, agree ? "agree" : "DIFFER");
    std::printf("%d x %d extrapolated (x%.0f): straightforward nearest-patch search alone %.0f s against all metrics %.1f ms: %.0f times faster\n",
                side, side, scale, slowMs * scale / 1000.0, times[3], slowMs * scale / times[3]);

    const std::vector<Flat> grids = fractalGrids(100);
    std::vector<double> perGrid;
    for (int run = 0; run < 7; ++run) {
        const auto t3 = Clock::now();
        for (const auto& g : grids)
            measure(g, options, out);
        perGrid.push_back(millis(t3, Clock::now()) * 1000.0 / static_cast<double>(grids.size()));
    }
    std::sort(perGrid.begin(), perGrid.end());
    std::printf("100 x 100 fractal grids, two classes (%zu): all metrics %.1f us a grid (median of 7, best %.1f)\n",
                grids.size(), perGrid[3], perGrid[0]);
    return agree ? 0 : 1;
}
