// The engine against a plain recomputation of every metric: flood-fill patches, every cell
// pair for nearest distances, loops over sides; on a few hundred small random grids.
#include "core/io/LandscapeFile.h"
#include "core/io/MetricsCsv.h"
#include "core/metrics/LandscapeMetrics.h"
#include "SlowCatalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <vector>

using orvalis::computeMetrics;
using orvalis::LandscapeGrid;
using orvalis::MetricLevel;
using orvalis::MetricValue;
using Options = orvalis::test::SlowOptions;

namespace {

using Key = std::tuple<bool, int, std::string>;
using Values = std::map<Key, std::optional<double>>;

struct Cell {
    int r;
    int c;
};

Values slowMetrics(const LandscapeGrid& g, const Options& o)
{
    const int R = static_cast<int>(g.size());
    const int C = static_cast<int>(g[0].size());
    auto inside = [&](int r, int c) { return r >= 0 && r < R && c >= 0 && c < C && !(o.noData && g[r][c] == *o.noData); };
    std::set<int> classes;
    double N = 0;
    for (int r = 0; r < R; ++r)
        for (int c = 0; c < C; ++c)
            if (inside(r, c)) {
                classes.insert(g[r][c]);
                ++N;
            }
    // Flood fill.
    std::vector<std::vector<int>> label(R, std::vector<int>(C, -1));
    std::vector<std::vector<Cell>> patches;
    for (int r = 0; r < R; ++r)
        for (int c = 0; c < C; ++c) {
            if (!inside(r, c) || label[r][c] >= 0)
                continue;
            const int id = static_cast<int>(patches.size());
            patches.emplace_back();
            std::vector<Cell> stack{{r, c}};
            label[r][c] = id;
            while (!stack.empty()) {
                const Cell x = stack.back();
                stack.pop_back();
                patches[id].push_back(x);
                for (int dr = -1; dr <= 1; ++dr)
                    for (int dc = -1; dc <= 1; ++dc) {
                        if ((dr == 0 && dc == 0) || (o.neighbours == 4 && dr != 0 && dc != 0))
                            continue;
                        const int rr = x.r + dr, cc = x.c + dc;
                        if (inside(rr, cc) && label[rr][cc] < 0 && g[rr][cc] == g[r][c]) {
                            label[rr][cc] = id;
                            stack.push_back({rr, cc});
                        }
                    }
            }
        }
    const double cs = o.cellSize;
    const double cellHa = cs * cs / 10000;
    const double A = N * cellHa;
    auto classOf = [&](const std::vector<Cell>& p) { return g[p[0].r][p[0].c]; };
    const int dirs[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};

    Values v;
    double aiSum = 0, allArea2 = 0, maxPatch = 0;
    for (int k : classes) {
        std::vector<int> mine;
        for (int i = 0; i < static_cast<int>(patches.size()); ++i)
            if (classOf(patches[i]) == k)
                mine.push_back(i);
        double n = 0, edge = 0, like = 0, sides = 0;
        for (int r = 0; r < R; ++r)
            for (int c = 0; c < C; ++c) {
                if (!inside(r, c) || g[r][c] != k)
                    continue;
                ++n;
                for (const auto& d : dirs) {
                    const int rr = r + d[0], cc = c + d[1];
                    ++sides;
                    if (!inside(rr, cc))
                        continue;
                    if (g[rr][cc] == k)
                        like += 0.5;
                    else
                        edge += 1;
                }
            }
        const double np = static_cast<double>(mine.size());
        double largest = 0, area2 = 0, areaSum = 0, perimSum = 0, perimRootSum = 0, gyrArea = 0, ennSum = 0;
        bool spanning = false;
        for (int i : mine) {
            const auto& p = patches[i];
            const double a = static_cast<double>(p.size());
            largest = std::max(largest, a);
            area2 += a * a;
            areaSum += a * cellHa;
            double perim = 0, mr = 0, mc = 0;
            bool top = false, bottom = false, left = false, right = false;
            for (const Cell& x : p) {
                mr += x.r / a;
                mc += x.c / a;
                top |= x.r == 0;
                bottom |= x.r == R - 1;
                left |= x.c == 0;
                right |= x.c == C - 1;
                for (const auto& d : dirs) {
                    const int rr = x.r + d[0], cc = x.c + d[1];
                    if (!inside(rr, cc) || label[rr][cc] != i)
                        ++perim;
                }
            }
            spanning |= (top && bottom) || (left && right);
            perimSum += perim;
            perimRootSum += perim * std::sqrt(a);
            double gyr = 0;
            for (const Cell& x : p)
                gyr += std::hypot(x.r - mr, x.c - mc) / a;
            gyrArea += gyr * cs * a;
            double best = 1e300;
            for (int j : mine)
                if (j != i)
                    for (const Cell& x : p)
                        for (const Cell& y : patches[j])
                            best = std::min(best, std::hypot(x.r - y.r, x.c - y.c) * cs);
            ennSum += best;
        }
        maxPatch = std::max(maxPatch, largest);
        allArea2 += area2;
        const double mean = areaSum / np;
        double ss = 0;
        for (int i : mine)
            ss += std::pow(static_cast<double>(patches[i].size()) * cellHa - mean, 2);
        v[{false, k, "pland"}] = 100 * n / N;
        v[{false, k, "np"}] = np;
        v[{false, k, "pd"}] = np / A * 100;
        v[{false, k, "ed"}] = edge * cs / A;
        v[{false, k, "lpi"}] = 100 * largest / N;
        v[{false, k, "area_mn"}] = mean;
        v[{false, k, "area_sd"}] = np > 1 ? std::optional<double>(std::sqrt(ss / (np - 1))) : std::nullopt;
        v[{false, k, "enn_mn"}] = np > 1 ? std::optional<double>(ennSum / np) : std::nullopt;
        v[{false, k, "cohesion"}] =
            N > 1 ? std::optional<double>(100 * (1 - perimSum / perimRootSum) / (1 - 1 / std::sqrt(N))) : std::nullopt;
        // The most like sides n cells can share, by trying every near-square packing.
        double maxLike = 0;
        for (int w = 1; w <= n; ++w) {
            const int full = static_cast<int>(n) / w, rest = static_cast<int>(n) % w;
            double s = full * (w - 1) + (full - 1) * w + (rest > 0 ? (rest - 1) + rest : 0);
            maxLike = std::max(maxLike, s);
        }
        std::optional<double> ai;
        if (n > 1) {
            ai = 100 * like / maxLike;
            aiSum += *ai * n / N;
        }
        v[{false, k, "ai"}] = ai;
        std::optional<double> clumpy;
        if (n > 1 && n < N) {
            const double minPerim = 4 * n - 2 * maxLike;
            const double G = 2 * like / (sides - minPerim);
            const double P = n / N;
            clumpy = (G < P && P < 0.5) ? (G - P) / P : (G - P) / (1 - P);
        }
        v[{false, k, "clumpy"}] = clumpy;
        v[{false, k, "mesh"}] = area2 * cellHa * cellHa / A;
        double div = 1;
        for (int i : mine)
            div -= std::pow(static_cast<double>(patches[i].size()) / N, 2);
        v[{false, k, "division"}] = div;
        v[{false, k, "split"}] = N * N / area2;
        v[{false, k, "gyrate_am"}] = gyrArea / n;
        v[{false, k, "spanning"}] = spanning ? 1.0 : 0.0;
    }
    // Landscape: an adjacency matrix counted both ways.
    std::map<std::pair<int, int>, double> adj;
    double edgeAll = 0;
    for (int r = 0; r < R; ++r)
        for (int c = 0; c < C; ++c)
            for (const auto& d : dirs) {
                const int rr = r + d[0], cc = c + d[1];
                if (!inside(r, c) || !inside(rr, cc))
                    continue;
                adj[{g[r][c], g[rr][cc]}] += 1;
                if (g[r][c] != g[rr][cc])
                    edgeAll += 0.5;
            }
    double total = 0;
    for (const auto& [pair, count] : adj)
        total += count;
    std::optional<double> contag;
    if (classes.size() > 1 && total > 0) {
        double e = 0;
        for (const auto& [pair, count] : adj)
            e += count / total * std::log(count / total);
        contag = 100 * (1 + e / (2 * std::log(static_cast<double>(classes.size()))));
    }
    double shdi = 0, division = 1;
    for (int k : classes) {
        double n = 0;
        for (const auto& line : g)
            n += static_cast<double>(std::count(line.begin(), line.end(), k));
        shdi -= n / N * std::log(n / N);
    }
    for (const auto& p : patches)
        division -= std::pow(static_cast<double>(p.size()) / N, 2);
    v[{true, 0, "ta"}] = A;
    v[{true, 0, "np"}] = static_cast<double>(patches.size());
    v[{true, 0, "pd"}] = static_cast<double>(patches.size()) / A * 100;
    v[{true, 0, "ed"}] = edgeAll * cs / A;
    v[{true, 0, "lpi"}] = 100 * maxPatch / N;
    v[{true, 0, "contag"}] = contag;
    v[{true, 0, "shdi"}] = shdi;
    v[{true, 0, "ai"}] = aiSum;
    v[{true, 0, "mesh"}] = allArea2 * cellHa * cellHa / A;
    v[{true, 0, "division"}] = division;
    return v;
}

std::string describe(const LandscapeGrid& g, const Options& o)
{
    std::string s = "rule " + std::to_string(o.neighbours) + " cell " + std::to_string(o.cellSize) + " depth " +
                    std::to_string(o.edgeDepth) + (o.considerBoundary ? " consider" : "") + (o.countBoundary ? " count" : "") +
                    (o.cellCenter ? " centre" : "") + " base " + o.base + "\n";
    for (const auto& line : g) {
        for (int x : line)
            s += std::to_string(x) + " ";
        s += "\n";
    }
    return s;
}

// The engine's options for the oracle's.
orvalis::MetricsOptions engineOptions(const Options& o, bool catalogue)
{
    orvalis::MetricsOptions e;
    e.neighbours = o.neighbours;
    e.edgeDepth = o.edgeDepth;
    e.countBoundary = o.countBoundary;
    e.considerBoundary = o.considerBoundary;
    e.cellCenter = o.cellCenter;
    e.classesMax = o.classesMax;
    e.base = o.base == "log" ? orvalis::LogBase::Ln : o.base == "log10" ? orvalis::LogBase::Log10 : orvalis::LogBase::Log2;
    if (catalogue)
        e.selection = orvalis::MetricSelection::all({MetricLevel::Patch, MetricLevel::Class, MetricLevel::Landscape});
    return e;
}

std::vector<MetricValue> engine(const LandscapeGrid& g, const Options& o, bool catalogue)
{
    const std::vector<int> cells = orvalis::flattenGrid(g);
    std::vector<MetricValue> out;
    std::string error;
    EXPECT_TRUE(computeMetrics(orvalis::GridView{cells, static_cast<int>(g.size()), static_cast<int>(g[0].size()), o.noData,
                                                 o.cellSize},
                               engineOptions(o, catalogue), out, &error))
        << error;
    return out;
}

void expectNear(const std::optional<double>& got, const std::optional<double>& want, const std::string& where)
{
    ASSERT_EQ(got.has_value(), want.has_value()) << where << (got ? " got a value" : " got NA");
    if (got) {
        ASSERT_NEAR(*got, *want, std::max(1e-12, 1e-9 * std::fabs(*want))) << where;
    }
}

// The standard set against the first oracle, then every metric of the catalogue, patch rows
// joined on their ids, against the catalogue's oracle.
void expectSame(const LandscapeGrid& g, const Options& o)
{
    const std::vector<MetricValue> out = engine(g, o, false);
    const Values want = slowMetrics(g, o);
    ASSERT_EQ(out.size(), want.size()) << describe(g, o);
    // The first oracle knows only the default edge and centre rules.
    for (const MetricValue& m : o.countBoundary || o.cellCenter ? std::vector<MetricValue>() : out) {
        const bool landscape = m.level == MetricLevel::Landscape;
        const auto it = want.find({landscape, landscape ? 0 : m.cls, m.metric});
        ASSERT_NE(it, want.end()) << m.metric;
        expectNear(m.value, it->second, (landscape ? "landscape " : "class " + std::to_string(m.cls) + " ") + m.metric + "\n" + describe(g, o));
    }
    orvalis::test::SlowGrid slow{static_cast<int>(g.size()), static_cast<int>(g[0].size()), orvalis::flattenGrid(g)};
    std::map<std::tuple<std::string, int, int, std::string>, std::optional<double>> oracle;
    using Part = std::vector<orvalis::test::SlowRow> (*)(const orvalis::test::SlowGrid&, const Options&);
    for (const Part part : {Part(&orvalis::test::slowPatchFamilies), Part(&orvalis::test::slowAggregates)})
        for (const orvalis::test::SlowRow& r : part(slow, o))
            oracle[{r.level, r.level == "landscape" ? 0 : r.cls, r.id, r.metric}] = r.value;
    const std::vector<MetricValue> all = engine(g, o, true);
    std::size_t compared = 0;
    for (const MetricValue& m : all) {
        const auto it = oracle.find({orvalis::levelName(m.level), m.cls, m.id, m.metric});
        const std::string where = std::string(orvalis::levelName(m.level)) + " " + std::to_string(m.cls) + " id " +
                                  std::to_string(m.id) + " " + m.metric + "\n" + describe(g, o);
        ASSERT_NE(it, oracle.end()) << where << " has no oracle value";
        expectNear(m.value, it->second, where);
        ++compared;
    }
    ASSERT_EQ(compared, oracle.size()) << "the oracle has rows the engine does not give\n" << describe(g, o);
}

}  // namespace

TEST(MetricsSlow, RandomSmallGridsAgree)
{
    std::mt19937 rng(20240611);
    for (int trial = 0; trial < 400; ++trial) {
        const int rows = 1 + static_cast<int>(rng() % 12);
        const int cols = 1 + static_cast<int>(rng() % 15);
        const int classes = 1 + static_cast<int>(rng() % 4);
        const bool withNoData = rng() % 3 == 0;
        // Uneven class shares, so some classes are rare and their patches far apart.
        std::vector<int> weights;
        for (int k = 0; k < classes; ++k)
            weights.push_back(1 + static_cast<int>(rng() % 10));
        std::discrete_distribution<int> pick(weights.begin(), weights.end());
        LandscapeGrid g(rows, std::vector<int>(cols));
        for (auto& line : g)
            for (int& x : line)
                x = withNoData && rng() % 6 == 0 ? -9999 : pick(rng) * 7 - 3;
        g[rng() % rows][rng() % cols] = 4;  // at least one cell inside the landscape
        Options o;
        o.neighbours = rng() % 2 ? 8 : 4;
        o.cellSize = rng() % 2 ? 1.0 : 30.0;
        if (withNoData)
            o.noData = -9999;
        // The catalogue's options, now and then away from their defaults.
        if (rng() % 3 == 0) {
            o.edgeDepth = 1 + static_cast<int>(rng() % 3);
            o.considerBoundary = rng() % 2;
            o.countBoundary = rng() % 2;
            o.cellCenter = rng() % 4 == 0;
            o.base = rng() % 2 ? "log" : "log10";
            if (rng() % 2)
                o.classesMax = 5;
        }
        expectSame(g, o);
        if (HasFatalFailure())
            return;
    }
}

// Patches further apart than the short ring search reaches take the tree search.
TEST(MetricsSlow, DistantPatchesAgree)
{
    std::mt19937 rng(7);
    for (int trial = 0; trial < 12; ++trial) {
        const int side = 30 + static_cast<int>(rng() % 20);
        LandscapeGrid g(side, std::vector<int>(side + 5, 0));
        const int seeds = 2 + static_cast<int>(rng() % 6);
        for (int s = 0; s < seeds; ++s) {
            const int r = static_cast<int>(rng() % side), c = static_cast<int>(rng() % (side + 5));
            for (int dr = 0; dr < 3; ++dr)
                for (int dc = 0; dc < 1 + static_cast<int>(rng() % 4); ++dc)
                    if (r + dr < side && c + dc < side + 5)
                        g[r + dr][c + dc] = 1 + s % 2;
        }
        for (int rule : {4, 8}) {
            Options o;
            o.neighbours = rule;
            expectSame(g, o);
            if (HasFatalFailure())
                return;
        }
    }
}

// Many classes with values far apart: the sorted class lookup and the sparse adjacency count.
TEST(MetricsSlow, ManyScatteredClassesAgree)
{
    std::mt19937 rng(3);
    LandscapeGrid g(9, std::vector<int>(11));
    for (auto& line : g)
        for (int& x : line)
            x = static_cast<int>(rng() % 80) * 100003 - 4000000;
    for (int rule : {4, 8}) {
        Options o;
        o.neighbours = rule;
        expectSame(g, o);
    }
}

// Rows of more than 64 and 128 cells, whose runs are found a machine word of cells at a time:
// runs across the words' edges, and patches of a class far apart along the rows.
TEST(MetricsSlow, WideRowsAgree)
{
    std::mt19937 rng(41);
    for (int trial = 0; trial < 8; ++trial) {
        const int rows = 2 + static_cast<int>(rng() % 9);
        const int cols = 60 + static_cast<int>(rng() % 150);
        LandscapeGrid g(rows, std::vector<int>(cols, 0));
        for (int s = 0; s < 6; ++s) {
            const int r = static_cast<int>(rng() % rows), c = static_cast<int>(rng() % cols);
            const int value = 1 + static_cast<int>(rng() % 2);
            for (int rr = r; rr < std::min(rows, r + 1 + static_cast<int>(rng() % 3)); ++rr)
                for (int cc = c; cc < std::min(cols, c + 1 + static_cast<int>(rng() % 70)); ++cc)
                    g[rr][cc] = value;
        }
        for (auto& line : g)
            for (int& x : line)
                if (rng() % 40 == 0)
                    x = trial % 2 ? -9999 : 2;
        for (int rule : {4, 8}) {
            Options o;
            o.neighbours = rule;
            o.noData = -9999;
            expectSame(g, o);
            if (HasFatalFailure())
                return;
        }
    }
}
