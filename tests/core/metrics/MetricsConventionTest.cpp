// Where FRAGSTATS 4.2 reports other values than landscapemetrics, each difference on a grid small
// enough to work out by hand: the landscapemetrics value, then FRAGSTATS'.
#include "core/metrics/LandscapeMetrics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

using orvalis::MetricLevel;

namespace {

using Lines = std::vector<std::vector<int>>;

std::optional<double> valueOf(const Lines& lines, MetricLevel level, int cls, const std::string& metric,
                              orvalis::MetricConvention convention)
{
    std::vector<int> cells;
    for (const auto& line : lines)
        cells.insert(cells.end(), line.begin(), line.end());
    orvalis::MetricsOptions o;
    o.convention = convention;
    o.selection = *orvalis::MetricSelection::parse({metric}, {level}, nullptr);
    std::vector<orvalis::MetricValue> out;
    std::string error;
    EXPECT_TRUE(orvalis::computeMetrics(
        orvalis::GridView{cells, static_cast<int>(lines.size()), static_cast<int>(lines[0].size()), std::nullopt, 1.0}, o, out,
        &error))
        << error;
    for (const orvalis::MetricValue& v : out)
        if (v.metric == metric && (level == MetricLevel::Landscape || v.cls == cls))
            return v.value;
    ADD_FAILURE() << metric << " not measured";
    return std::nullopt;
}

constexpr double NA = -1e300;

}  // namespace

TEST(MetricsConvention, FragstatsDiffersWhereItsDocumentationAndOutputSay)
{
    const Lines twoCells = {{1, 1, 0}, {0, 0, 0}};
    const Lines oneCell = {{1, 0, 0}, {0, 0, 0}};
    const Lines oneAndThree = {{1, 0, 1, 1, 1}};
    const Lines row = {{1, 1, 2}};
    const Lines allButOne = {{1, 1}, {1, 2}};
    const Lines ring = {{1, 1, 1}, {1, 2, 1}, {1, 1, 1}};
    const Lines threePatches = {{1, 0, 2, 2, 0, 0}, {0, 0, 2, 0, 0, 0}};
    // Two 5 x 4 blocks of class 1, each with a core of 3 x 2 cells, apart by a column of 0.
    Lines blocks(5, std::vector<int>(9, 1));
    for (auto& line : blocks)
        line[4] = 0;
    const struct {
        const char* name;
        const Lines& grid;
        MetricLevel level;
        int cls;
        const char* metric;
        double landscapemetrics;
        double fragstats;
    } cases[] = {
        {"shape over the shortest perimeter", twoCells, MetricLevel::Class, 1, "shape_mn", 1.0606601717798212, 1.0},
        {"para per hectare", oneCell, MetricLevel::Class, 1, "para_mn", 4.0, 40000.0},
        {"circle of one cell", oneCell, MetricLevel::Class, 1, "circle_mn", 1 - 2 / std::numbers::pi, 0.0},
        {"sd with divisor n", oneAndThree, MetricLevel::Class, 1, "area_sd", 0.0001414213562373095, 0.0001},
        {"cv with divisor n", oneAndThree, MetricLevel::Class, 1, "area_cv", 70.71067811865474, 50.0},
        {"sd of a single patch", oneCell, MetricLevel::Class, 1, "area_sd", NA, 0.0},
        {"contag weighted by the classes' shares", row, MetricLevel::Landscape, 0, "contag", 25.0, 23.47534716212587},
        {"clumpy of every cell but one", allButOne, MetricLevel::Class, 1, "clumpy", 1.0, NA},
        {"nlsi above half the map", ring, MetricLevel::Class, 1, "nlsi", 2.0, 1.0},
        {"pafrac of the landscape from 2 patches", threePatches, MetricLevel::Landscape, 0, "pafrac", NA, 0},
        {"dcore over the core areas' areas", blocks, MetricLevel::Class, 1, "dcore_mn", 1.0, 0.0006},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto lm = valueOf(c.grid, c.level, c.cls, c.metric, orvalis::MetricConvention::Landscapemetrics);
        const auto fs = valueOf(c.grid, c.level, c.cls, c.metric, orvalis::MetricConvention::Fragstats);
        if (c.landscapemetrics == NA)
            EXPECT_FALSE(lm.has_value());
        else
            EXPECT_NEAR(lm.value_or(NA), c.landscapemetrics, 1e-12);
        if (c.fragstats == NA)
            EXPECT_FALSE(fs.has_value());
        else if (std::string(c.metric) == "pafrac")
            EXPECT_TRUE(fs.has_value());  // a number where landscapemetrics wants 10 patches
        else
            EXPECT_NEAR(fs.value_or(NA), c.fragstats, 1e-12);
    }
}
