// Properties every landscape keeps, the spanning rule, the input the engine refuses, and grids
// measured alike whatever a thread measured before, or after a stop broke a pass off.
#include "core/metrics/LandscapeMetrics.h"
#include "core/metrics/MetricDocs.h"

#include <gtest/gtest.h>

#include <atomic>
#include <bit>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

using orvalis::computeMetrics;
using orvalis::GridView;
using orvalis::MetricLevel;
using orvalis::MetricsOptions;
using orvalis::MetricValue;

namespace {

using Lines = std::vector<std::vector<int>>;

// A grid of lines and its cells in one block, as the engine reads them.
struct Grid {
    Lines lines;
    std::vector<int> cells;
    std::optional<int> noData;
    double cellSize = 1.0;

    Grid(Lines l, std::optional<int> nd = {}, double cs = 1.0) : lines(std::move(l)), noData(nd), cellSize(cs)
    {
        for (const auto& line : lines)
            cells.insert(cells.end(), line.begin(), line.end());
    }
    GridView view() const
    {
        return GridView{cells, static_cast<int>(lines.size()), lines.empty() ? 0 : static_cast<int>(lines[0].size()), noData,
                        cellSize};
    }
};

const std::vector<MetricLevel> AllLevels{MetricLevel::Patch, MetricLevel::Class, MetricLevel::Landscape};

std::vector<MetricValue> metricsOf(const Grid& g, int rule, bool catalogue = false)
{
    MetricsOptions o;
    o.neighbours = rule;
    if (catalogue)
        o.selection = orvalis::MetricSelection::all(AllLevels);
    std::vector<MetricValue> out;
    std::string error;
    computeMetrics(g.view(), o, out, &error);
    return out;
}

std::vector<double> column(const std::vector<MetricValue>& values, MetricLevel level, const std::string& metric)
{
    std::vector<double> found;
    for (const MetricValue& v : values)
        if (v.level == level && v.metric == metric)
            found.push_back(v.value.value_or(-1e300));
    return found;
}

void expectSame(const std::vector<MetricValue>& out, const std::vector<MetricValue>& want, const std::string& name)
{
    ASSERT_EQ(out.size(), want.size()) << name;
    for (std::size_t k = 0; k < out.size(); ++k) {
        EXPECT_EQ(out[k].metric, want[k].metric) << name;
        EXPECT_EQ(out[k].cls, want[k].cls) << name;
        ASSERT_EQ(out[k].value.has_value(), want[k].value.has_value()) << name << " " << out[k].metric;
        if (out[k].value) {
            EXPECT_EQ(std::bit_cast<std::uint64_t>(*out[k].value), std::bit_cast<std::uint64_t>(*want[k].value))
                << name << " " << out[k].metric;
        }
    }
}

}  // namespace

// pland sums to 100, patch areas to ta, patch ids run 1..np; and a transposed grid has the same
// class and landscape values, every metric of the catalogue.
TEST(MetricsInvariants, SumsIdsAndTransposes)
{
    std::mt19937 rng(99);
    for (int trial = 0; trial < 60; ++trial) {
        const int rows = 1 + static_cast<int>(rng() % 16), cols = 1 + static_cast<int>(rng() % 16);
        Lines g(rows, std::vector<int>(cols)), t(cols, std::vector<int>(rows));
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c)
                t[c][r] = g[r][c] = static_cast<int>(rng() % 3) - (rng() % 9 == 0 ? 50 : 0);
        for (int rule : {4, 8}) {
            const auto a = metricsOf(Grid(g, -50, 30.0), rule, true), b = metricsOf(Grid(t, -50, 30.0), rule, true);
            if (a.empty() || b.empty())
                continue;  // every cell was no-data
            double pland = 0, area = 0;
            for (double p : column(a, MetricLevel::Class, "pland"))
                pland += p;
            for (double p : column(a, MetricLevel::Patch, "area"))
                area += p;
            EXPECT_NEAR(pland, 100.0, 1e-9);
            EXPECT_NEAR(area, column(a, MetricLevel::Landscape, "ta")[0], 1e-9);
            int id = 0;
            for (const MetricValue& v : a) {
                if (v.level == MetricLevel::Patch && v.metric == "area") {
                    EXPECT_EQ(v.id, ++id);
                }
            }
            EXPECT_EQ(id, static_cast<int>(column(a, MetricLevel::Landscape, "np")[0]));
            std::map<std::tuple<MetricLevel, int, std::string>, double> byKey;
            for (const MetricValue& v : b)
                byKey[{v.level, v.cls, v.metric}] = v.value.value_or(-1e300);
            for (const MetricValue& v : a) {
                if (v.level == MetricLevel::Patch)
                    continue;
                const double x = v.value.value_or(-1e300), y = byKey.at({v.level, v.cls, v.metric});
                EXPECT_NEAR(x, y, 1e-9 * std::max(1.0, std::fabs(x))) << v.metric << " trial " << trial << " rule " << rule;
            }
        }
    }
}

TEST(MetricsInvariants, StandardOutputOrder)
{
    const auto out = metricsOf(Grid(Lines{{5, 2, 2}, {9, 5, 2}}), 8);
    const std::vector<std::string> cn = {"pland", "np", "pd", "ed", "lpi", "area_mn", "area_sd", "enn_mn", "cohesion",
                                         "ai", "clumpy", "mesh", "division", "split", "gyrate_am", "spanning"};
    const std::vector<std::string> ln = {"ta", "np", "pd", "ed", "lpi", "contag", "shdi", "ai", "mesh", "division"};
    ASSERT_EQ(out.size(), 3 * cn.size() + ln.size());
    const int classes[] = {2, 5, 9};
    for (size_t i = 0; i < out.size(); ++i) {
        if (i < 3 * cn.size()) {
            EXPECT_EQ(out[i].level, MetricLevel::Class);
            EXPECT_EQ(out[i].cls, classes[i / cn.size()]);
            EXPECT_EQ(out[i].metric, cn[i % cn.size()]);
        } else {
            EXPECT_EQ(out[i].level, MetricLevel::Landscape);
            EXPECT_EQ(out[i].metric, ln[i - 3 * cn.size()]);
        }
    }
}

TEST(MetricsInvariants, Spanning)
{
    struct Case {
        const char* name;
        Lines grid;
        int rule;
        double spanning1;
    };
    const Case cases[] = {
        {"column top to bottom", {{0, 1, 0}, {0, 1, 0}, {0, 1, 0}}, 4, 1},
        {"row left to right", {{0, 0, 0}, {1, 1, 1}, {0, 0, 0}}, 4, 1},
        {"diagonal joins only with 8", {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, 8, 1},
        {"diagonal broken with 4", {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, 4, 0},
        {"two patches share the span", {{1, 0}, {0, 0}, {0, 1}}, 8, 0},
        {"one row touches both", {{1, 0, 1}}, 4, 1},
        {"a hole of no-data breaks it", {{0, 1, 0}, {0, -1, 0}, {0, 1, 0}}, 8, 0},
    };
    for (const Case& c : cases) {
        const auto out = metricsOf(Grid(c.grid, -1), c.rule);
        int seen = 0;
        for (const MetricValue& v : out) {
            if (v.level == MetricLevel::Class && v.cls == 1 && v.metric == "spanning") {
                EXPECT_EQ(v.value, c.spanning1) << c.name;
                ++seen;
            }
        }
        EXPECT_EQ(seen, 1) << c.name;
    }
}

TEST(MetricsInvariants, RefusedInput)
{
    struct Block {
        const char* name;
        std::vector<int> cells;
        int rows;
        int cols;
        std::optional<int> noData;
        double cellSize;
        int neighbours;
        int edgeDepth;
    };
    const Block blocks[] = {
        {"no rows", {}, 0, 3, {}, 1, 8, 1},
        {"rows without cells", {}, 2, 0, {}, 1, 8, 1},
        {"a cell short", {1, 2, 3}, 2, 2, {}, 1, 8, 1},
        {"a cell over", {1, 2, 3, 4, 5}, 2, 2, {}, 1, 8, 1},
        {"negative columns", {}, 1, -1, {}, 1, 8, 1},
        {"all no-data", {7, 7, 7, 7}, 2, 2, 7, 1, 8, 1},
        {"neighbour rule 6", {1}, 1, 1, {}, 1, 6, 1},
        {"cell size 0", {1}, 1, 1, {}, 0, 8, 1},
        {"edge depth 0", {1}, 1, 1, {}, 1, 8, 0},
    };
    for (const Block& b : blocks) {
        MetricsOptions o;
        o.neighbours = b.neighbours;
        o.edgeDepth = b.edgeDepth;
        std::vector<MetricValue> out{MetricValue{}};
        std::string error;
        EXPECT_FALSE(computeMetrics(GridView{b.cells, b.rows, b.cols, b.noData, b.cellSize}, o, out, &error)) << b.name;
        EXPECT_FALSE(error.empty()) << b.name;
        EXPECT_TRUE(out.empty()) << b.name;
    }
}

// A thread measures a grid alike whatever it measured before, though it keeps its buffers
// between grids: each grid is measured first on a thread of its own, then all in turn on one
// thread, each after grids of other sizes, class counts and rules (the largest gives its buffers back).
TEST(MetricsInvariants, KeptBuffersMeasureAlike)
{
    struct Case {
        const char* name;
        Grid grid;
        int rule;
    };
    std::mt19937 rng(5);
    auto lines = [&](int rows, int cols, int classes, int noDataEvery) {
        Lines g(rows, std::vector<int>(cols));
        for (auto& line : g)
            for (int& x : line)
                x = noDataEvery && rng() % noDataEvery == 0 ? -1 : static_cast<int>(rng() % classes) * 3;
        return g;
    };
    const Case cases[] = {
        {"one cell", Grid(Lines{{4}}), 8},
        {"wide, two classes", Grid(lines(5, 300, 2, 0)), 8},
        {"many classes, hashed pairs", Grid(lines(30, 30, 120, 0)), 4},
        {"large, gives its buffers back", Grid(lines(600, 600, 2, 0)), 8},
        {"no-data, three classes", Grid(lines(40, 70, 3, 5), -1, 30), 8},
        {"tall, one class", Grid(lines(200, 3, 1, 0)), 4},
    };
    std::vector<std::vector<MetricValue>> alone(std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i)
        std::thread([&] { alone[i] = metricsOf(cases[i].grid, cases[i].rule, true); }).join();
    for (int pass = 0; pass < 2; ++pass)
        for (std::size_t i = 0; i < std::size(cases); ++i) {
            const std::size_t at = pass == 0 ? i : std::size(cases) - 1 - i;
            ASSERT_FALSE(alone[at].empty()) << cases[at].name;
            expectSame(metricsOf(cases[at].grid, cases[at].rule, true), alone[at], cases[at].name);
        }
}

// A stop raised at any moment of a pass over a large grid ends the measurement as stopped, with
// nothing measured, or lets it finish whole; the thread then measures the next grid alike.
TEST(MetricsInvariants, AStopInsideAPassLeavesNothingHalfDone)
{
    std::mt19937 rng(9);
    Lines lines(700, std::vector<int>(700));
    for (auto& line : lines)
        for (int& x : line)
            x = static_cast<int>(rng() % 5 < 2);
    const Grid large(lines), small(Lines{{1, 0, 1}, {1, 1, 0}, {0, 0, 1}});
    const std::vector<MetricValue> want = metricsOf(small, 8, true);
    for (int delayUs : {0, 200, 2000, 10000, 40000, 120000}) {
        SCOPED_TRACE(delayUs);
        std::atomic<bool> stop{false};
        MetricsOptions o;
        o.selection = orvalis::MetricSelection::all(AllLevels);
        o.stop = &stop;
        std::vector<MetricValue> out;
        std::string error;
        bool ok = false;
        std::thread measuring([&] {
            ok = computeMetrics(large.view(), o, out, &error);
            // The buffers a broken pass left must not show in the next grid.
            expectSame(metricsOf(small, 8, true), want, "after a stop");
        });
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs));
        stop = true;
        measuring.join();
        if (!ok) {
            EXPECT_EQ(error, "stopped");
            EXPECT_TRUE(out.empty());
        }
    }
}

// The metrics' page is the table's: a metric added without scripts/metrics-doc.sh fails here.
TEST(MetricsInvariants, DocumentationIsWrittenFromTheTable)
{
    const char* src = std::getenv("ORVALIS_SOURCE_DIR");
    std::ifstream in(std::string(src ? src : ".") + "/docs/METRICS.md", std::ios::binary);
    ASSERT_TRUE(in) << "docs/METRICS.md is missing";
    const std::string page((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_TRUE(page == orvalis::metricsMarkdown()) << "docs/METRICS.md is out of date: run scripts/metrics-doc.sh";
}
