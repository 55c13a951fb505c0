// The surface engine against the plain way: every window cut out of the map by hand and measured by
// computeMetrics. Small random maps with no-data, square and circular windows of several sizes
// (some wider than the map), steps, thread counts, both ways of counting, and the metrics made of
// counts next to some that need patches.
#include "core/metrics/LandscapeMetrics.h"
#include "core/surface/SurfaceEngine.h"
#include "support/NamedCase.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

using namespace orvalis;
using orvalis::test::CaseName;
using orvalis::test::NamedCase;

namespace {

constexpr int NoData = -9999;
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// Every metric made of counts, at both levels, and a few that need patches.
const std::vector<std::string> Metrics = {
    "pland", "ca", "ed", "te", "lsi", "nlsi", "pladj", "ai", "clumpy", "iji", "ta", "contag", "shdi", "shei",
    "sidi", "siei", "msidi", "msiei", "pr", "prd", "rpr", "ent", "joinent", "condent", "mutinf", "relmutinf",
    "np", "lpi", "area_mn", "mesh", "cohesion"};

struct Map {
    int rows = 0, cols = 0;
    std::vector<int> cells;  // class values, NoData outside the landscape
    int at(int r, int c) const { return cells[static_cast<std::size_t>(r) * static_cast<std::size_t>(cols) + static_cast<std::size_t>(c)]; }
};

// Classes in clumps (a cell copies its upper or left neighbour half the time), some cells no-data.
Map randomMap(int rows, int cols, int classes, double noData, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> u(0, 1);
    Map m{rows, cols, std::vector<int>(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols))};
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            int v = 3 * static_cast<int>(random() % static_cast<unsigned>(classes)) + 2;
            if (u(random) < 0.5 && r > 0 && m.at(r - 1, c) != NoData)
                v = m.at(r - 1, c);
            else if (u(random) < 0.4 && c > 0 && m.at(r, c - 1) != NoData)
                v = m.at(r, c - 1);
            if (u(random) < noData)
                v = NoData;
            m.cells[static_cast<std::size_t>(r) * static_cast<std::size_t>(cols) + static_cast<std::size_t>(c)] = v;
        }
    return m;
}

struct Case : NamedCase {
    int rows, cols, classes;
    double noData;
    int window;
    WindowShape shape;
    int step;
    CountMethod method;
    int jobs;
    bool fragstats = false, countBoundary = false;
    int classesMax = 0;  // 0: none
};

class SurfaceEngineTest : public testing::TestWithParam<Case> {};

TEST_P(SurfaceEngineTest, EveryWindowAsComputeMetricsMeasuresIt)
{
    const Case& k = GetParam();
    const Map map = randomMap(k.rows, k.cols, k.classes, k.noData, static_cast<unsigned>(k.rows * 131 + k.window));
    std::set<int> present;
    for (int v : map.cells)
        if (v != NoData)
            present.insert(v);
    if (k.classes > 64) {
        ASSERT_GT(present.size(), 64u);
    }

    SurfaceSetup s;
    s.grid = {k.cols, k.rows, k.window, k.shape, k.step};
    s.classes.assign(present.begin(), present.end());
    s.metrics.selection = *MetricSelection::parse(Metrics, {MetricLevel::Class, MetricLevel::Landscape}, nullptr);
    s.metrics.convention = k.fragstats ? MetricConvention::Fragstats : MetricConvention::Landscapemetrics;
    s.metrics.countBoundary = k.countBoundary;
    s.metrics.base = k.fragstats ? LogBase::Ln : LogBase::Log2;
    if (k.classesMax)
        s.metrics.classesMax = k.classesMax;
    s.cellSize = 30;
    s.jobs = k.jobs;
    s.method = k.method;
    SurfaceEngine engine(s);
    const std::vector<SurfaceBand>& bands = engine.bands();
    const std::set<std::string> patches = {"np", "lpi", "area_mn", "mesh", "cohesion"};
    const std::set<std::string> pairs = {"iji", "contag", "ent", "joinent", "condent", "mutinf", "relmutinf"};
    for (std::size_t b = 0; b < bands.size(); ++b) {
        const std::string& code = bands[b].def->code;
        // Counts serve every metric they can; the table of pairs stops at 64 classes.
        EXPECT_EQ(engine.counted(b), !patches.count(code) && !(pairs.count(code) && present.size() > 64)) << bands[b].name;
    }

    auto read = [&](std::int64_t y0, int rows, int* out, std::string*) {
        for (int i = 0; i < rows * k.cols; ++i) {
            const int v = map.cells[static_cast<std::size_t>(y0 * k.cols + i)];
            out[i] = v == NoData ? -1 : static_cast<int>(std::lower_bound(s.classes.begin(), s.classes.end(), v) - s.classes.begin());
        }
        return true;
    };
    const std::int64_t width = s.grid.width(), height = s.grid.height();
    std::vector<double> got;
    std::int64_t next = 0;
    auto take = [&](std::int64_t first, int rows, const double* values, std::string*) {
        EXPECT_EQ(first, next);
        next = first + rows;
        got.insert(got.end(), values, values + static_cast<std::size_t>(rows) * bands.size() * static_cast<std::size_t>(width));
        return true;
    };
    RunControl control;
    std::string error;
    ASSERT_TRUE(engine.run(0, height, read, take, control, &error)) << error;
    ASSERT_EQ(next, height);

    const int h = k.window / 2;
    std::vector<int> window(static_cast<std::size_t>(k.window) * static_cast<std::size_t>(k.window));
    std::vector<MetricValue> values;
    int compared = 0;
    for (std::int64_t i = 0; i < height; ++i)
        for (std::int64_t j = 0; j < width; ++j) {
            const int y = static_cast<int>(i) * k.step, x = static_cast<int>(j) * k.step;
            for (int dr = -h; dr <= h; ++dr)
                for (int dc = -h; dc <= h; ++dc) {
                    const int r = y + dr, c = x + dc;
                    const bool in = r >= 0 && r < k.rows && c >= 0 && c < k.cols &&
                                    (k.shape == WindowShape::Square || dr * dr + dc * dc <= h * h);
                    window[static_cast<std::size_t>((dr + h) * k.window + dc + h)] = in ? map.at(r, c) : NoData;
                }
            std::map<std::string, double> want;
            if (computeMetrics(GridView{window, k.window, k.window, NoData, 30}, s.metrics, values))
                for (const MetricValue& v : values)
                    want[v.landscape() ? v.metric : v.metric + "_" + std::to_string(v.cls)] = v.value.value_or(NaN);
            for (std::size_t b = 0; b < bands.size(); ++b) {
                const double g = got[(static_cast<std::size_t>(i) * bands.size() + b) * static_cast<std::size_t>(width) +
                                     static_cast<std::size_t>(j)];
                const auto w = want.find(bands[b].name);
                const double expected = w == want.end() ? NaN : w->second;
                if (std::isnan(expected) || std::isnan(g)) {
                    EXPECT_TRUE(std::isnan(expected) && std::isnan(g))
                        << bands[b].name << " at row " << i << ", column " << j << ": " << g << " for " << expected;
                } else {
                    EXPECT_NEAR(g, expected, 1e-9 * std::max(1.0, std::fabs(expected)))
                        << bands[b].name << " at row " << i << ", column " << j;
                    ++compared;
                }
            }
        }
    EXPECT_GT(compared, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, SurfaceEngineTest,
    testing::Values(
        Case{{"Square3Strips"}, 13, 11, 4, 0.1, 3, WindowShape::Square, 1, CountMethod::Strips, 1},
        Case{{"Square7Step2StripsThreeThreads"}, 19, 23, 5, 0.15, 7, WindowShape::Square, 2, CountMethod::Strips, 3},
        Case{{"Square5Step3Extents"}, 17, 14, 3, 0.1, 5, WindowShape::Square, 3, CountMethod::Extents, 2},
        Case{{"Square9StepPastHalfTheWindow"}, 21, 18, 4, 0.05, 9, WindowShape::Square, 5, CountMethod::Strips, 2},
        Case{{"Circle7"}, 15, 16, 4, 0.1, 7, WindowShape::Circle, 1, CountMethod::Extents, 2},
        Case{{"Circle11Step2"}, 18, 13, 5, 0.2, 11, WindowShape::Circle, 2, CountMethod::Extents, 1},
        Case{{"WindowWiderThanTheMap"}, 5, 6, 3, 0.1, 15, WindowShape::Square, 1, CountMethod::Strips, 2},
        Case{{"MostlyNoData"}, 14, 12, 2, 0.7, 5, WindowShape::Square, 1, CountMethod::Strips, 2},
        Case{{"FragstatsCountBoundaryClassesMax"}, 16, 15, 4, 0.1, 5, WindowShape::Square, 1, CountMethod::Strips, 2,
             true, true, 6},
        Case{{"HundredsOfClassesPairsPerWindow"}, 24, 24, 200, 0.05, 5, WindowShape::Square, 1, CountMethod::Strips, 2}),
    CaseName());

}  // namespace
