// Properties every landscape keeps, the spanning rule, and the input the engine refuses.
#include "core/metrics/LandscapeMetrics.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
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
}
