// Properties every landscape keeps, the spanning rule, the input the engine refuses, and grids
// measured alike whatever their form and whatever a thread measured before.
#include "core/metrics/LandscapeMetrics.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <random>
#include <string>
#include <thread>
#include <vector>

using orvalis::computeMetrics;
using orvalis::LandscapeGrid;
using orvalis::MetricsOptions;
using orvalis::MetricValue;

namespace {

std::vector<MetricValue> metricsOf(const LandscapeGrid& g, int rule, std::optional<int> noData = {})
{
    MetricsOptions o;
    o.neighbours = rule;
    o.noData = noData;
    std::vector<MetricValue> out;
    std::string error;
    EXPECT_TRUE(computeMetrics(g, o, out, &error)) << error;
    return out;
}

std::vector<double> column(const std::vector<MetricValue>& values, bool landscape, const std::string& metric)
{
    std::vector<double> found;
    for (const MetricValue& v : values)
        if (v.landscape == landscape && v.metric == metric)
            found.push_back(v.value.value_or(-1e300));
    return found;
}

}  // namespace

TEST(MetricsInvariants, PlandSumsTo100AndTransposeKeepsPatchCounts)
{
    std::mt19937 rng(99);
    for (int trial = 0; trial < 50; ++trial) {
        const int rows = 1 + static_cast<int>(rng() % 20), cols = 1 + static_cast<int>(rng() % 20);
        LandscapeGrid g(rows, std::vector<int>(cols)), t(cols, std::vector<int>(rows));
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c)
                t[c][r] = g[r][c] = static_cast<int>(rng() % 3) - (rng() % 9 == 0 ? 50 : 0);
        for (int rule : {4, 8}) {
            const auto a = metricsOf(g, rule, -50), b = metricsOf(t, rule, -50);
            if (a.empty() || b.empty())
                continue;  // every cell was no-data
            double sum = 0;
            for (double p : column(a, false, "pland"))
                sum += p;
            EXPECT_NEAR(sum, 100.0, 1e-9);
            EXPECT_EQ(column(a, false, "np"), column(b, false, "np"));
            EXPECT_EQ(column(a, true, "np"), column(b, true, "np"));
        }
    }
}

TEST(MetricsInvariants, OutputOrder)
{
    const auto out = metricsOf({{5, 2, 2}, {9, 5, 2}}, 8);
    const auto& cn = orvalis::classMetricNames();
    const auto& ln = orvalis::landscapeMetricNames();
    ASSERT_EQ(out.size(), 3 * cn.size() + ln.size());
    const int classes[] = {2, 5, 9};
    for (size_t i = 0; i < out.size(); ++i) {
        if (i < 3 * cn.size()) {
            EXPECT_FALSE(out[i].landscape);
            EXPECT_EQ(out[i].cls, classes[i / cn.size()]);
            EXPECT_EQ(out[i].metric, cn[i % cn.size()]);
        } else {
            EXPECT_TRUE(out[i].landscape);
            EXPECT_EQ(out[i].metric, ln[i - 3 * cn.size()]);
        }
    }
}

TEST(MetricsInvariants, Spanning)
{
    struct Case {
        const char* name;
        LandscapeGrid grid;
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
        const auto out = metricsOf(c.grid, c.rule, -1);
        int seen = 0;
        for (const MetricValue& v : out) {
            if (!v.landscape && v.cls == 1 && v.metric == "spanning") {
                EXPECT_EQ(v.value, c.spanning1) << c.name;
                ++seen;
            }
        }
        EXPECT_EQ(seen, 1) << c.name;
    }
}

TEST(MetricsInvariants, RefusedInput)
{
    struct Case {
        const char* name;
        LandscapeGrid grid;
        MetricsOptions options;
    };
    MetricsOptions nd;
    nd.noData = 7;
    MetricsOptions badRule;
    badRule.neighbours = 6;
    MetricsOptions badCell;
    badCell.cellSize = 0;
    const Case cases[] = {
        {"empty", {}, {}},
        {"rows without cells", {{}, {}}, {}},
        {"ragged", {{1, 2, 3}, {1, 2}}, {}},
        {"all no-data", {{7, 7}, {7, 7}}, nd},
        {"neighbour rule 6", {{1}}, badRule},
        {"cell size 0", {{1}}, badCell},
    };
    for (const Case& c : cases) {
        std::vector<MetricValue> out{MetricValue{}};
        std::string error;
        EXPECT_FALSE(computeMetrics(c.grid, c.options, out, &error)) << c.name;
        EXPECT_FALSE(error.empty()) << c.name;
        EXPECT_TRUE(out.empty()) << c.name;
        EXPECT_FALSE(computeMetrics(c.grid, c.options, out)) << c.name << " without an error string";
    }
    // The block form: the same refusals, and cells that do not fill the rows and columns given.
    struct Block {
        const char* name;
        std::vector<int> cells;
        int rows;
        int cols;
        MetricsOptions options;
    };
    const Block blocks[] = {
        {"no rows", {}, 0, 3, {}},
        {"rows without cells", {}, 2, 0, {}},
        {"a cell short", {1, 2, 3}, 2, 2, {}},
        {"a cell over", {1, 2, 3, 4, 5}, 2, 2, {}},
        {"negative columns", {}, 1, -1, {}},
        {"all no-data", {7, 7, 7, 7}, 2, 2, nd},
        {"neighbour rule 6", {1}, 1, 1, badRule},
        {"cell size 0", {1}, 1, 1, badCell},
    };
    for (const Block& b : blocks) {
        std::vector<MetricValue> out{MetricValue{}};
        std::string error;
        EXPECT_FALSE(computeMetrics(b.cells, b.rows, b.cols, b.options, out, &error)) << b.name;
        EXPECT_FALSE(error.empty()) << b.name;
        EXPECT_TRUE(out.empty()) << b.name;
    }
}

// A grid held as one block of cells measures as its rows do, and a thread measures a grid alike
// whatever it measured before, though it keeps its buffers between grids: each grid is measured
// first on a thread of its own, then all in turn on one thread, each after grids of other sizes,
// class counts and rules (the largest gives its buffers back).
TEST(MetricsInvariants, BlocksAndKeptBuffersMeasureAlike)
{
    struct Case {
        const char* name;
        LandscapeGrid grid;
        MetricsOptions options;
    };
    std::mt19937 rng(5);
    auto grid = [&](int rows, int cols, int classes, int noDataEvery) {
        LandscapeGrid g(rows, std::vector<int>(cols));
        for (auto& line : g)
            for (int& x : line)
                x = noDataEvery && rng() % noDataEvery == 0 ? -1 : static_cast<int>(rng() % classes) * 3;
        return g;
    };
    MetricsOptions four;
    four.neighbours = 4;
    MetricsOptions withNoData;
    withNoData.noData = -1;
    withNoData.cellSize = 30;
    const Case cases[] = {
        {"one cell", {{4}}, {}},
        {"wide, two classes", grid(5, 300, 2, 0), {}},
        {"many classes, hashed pairs", grid(30, 30, 120, 0), four},
        {"large, gives its buffers back", grid(600, 600, 2, 0), {}},
        {"no-data, three classes", grid(40, 70, 3, 5), withNoData},
        {"tall, one class", grid(200, 3, 1, 0), four},
    };
    std::vector<std::vector<MetricValue>> alone(std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i)
        std::thread([&] { EXPECT_TRUE(computeMetrics(cases[i].grid, cases[i].options, alone[i])); }).join();
    for (int pass = 0; pass < 2; ++pass)
        for (std::size_t i = 0; i < std::size(cases); ++i) {
            const Case& c = cases[pass == 0 ? i : std::size(cases) - 1 - i];
            const std::vector<MetricValue>& want = alone[pass == 0 ? i : std::size(cases) - 1 - i];
            std::vector<int> cells;
            for (const auto& line : c.grid)
                cells.insert(cells.end(), line.begin(), line.end());
            std::vector<MetricValue> out;
            ASSERT_TRUE(computeMetrics(cells, static_cast<int>(c.grid.size()), static_cast<int>(c.grid[0].size()),
                                       c.options, out)) << c.name;
            ASSERT_EQ(out.size(), want.size()) << c.name;
            for (std::size_t k = 0; k < out.size(); ++k) {
                EXPECT_EQ(out[k].metric, want[k].metric) << c.name;
                EXPECT_EQ(out[k].cls, want[k].cls) << c.name;
                ASSERT_EQ(out[k].value.has_value(), want[k].value.has_value()) << c.name << " " << out[k].metric;
                if (out[k].value) {
                    EXPECT_EQ(std::bit_cast<std::uint64_t>(*out[k].value), std::bit_cast<std::uint64_t>(*want[k].value))
                        << c.name << " " << out[k].metric;
                }
            }
        }
}
