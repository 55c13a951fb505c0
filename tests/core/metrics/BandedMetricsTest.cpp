// Measuring band by band gives every value the whole grid gives, bit for bit: maps whose patches
// cross many bands, join late (U shapes), lie far apart or touch no-data, at several band heights.
#include "core/metrics/BandedMetrics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <random>
#include <string>
#include <vector>

using namespace orvalis;

namespace {

struct Map {
    int rows, cols;
    std::vector<int> cells;
};

// Random classes smoothed by a few majority passes, so that patches grow across many rows.
Map blobs(int rows, int cols, int classes, int passes, double noData, unsigned seed)
{
    std::mt19937 rng(seed);
    Map m{rows, cols, std::vector<int>(static_cast<size_t>(rows) * static_cast<size_t>(cols))};
    for (int& v : m.cells)
        v = static_cast<int>(rng() % static_cast<unsigned>(classes)) * 7 - 3;
    for (int pass = 0; pass < passes; ++pass) {
        std::vector<int> next = m.cells;
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c) {
                int best = m.cells[static_cast<size_t>(r * cols + c)], bestCount = 0;
                for (int dr = -1; dr <= 1; ++dr)
                    for (int dc = -1; dc <= 1; ++dc) {
                        const int rr = r + dr, cc = c + dc;
                        if (rr < 0 || cc < 0 || rr >= rows || cc >= cols)
                            continue;
                        const int v = m.cells[static_cast<size_t>(rr * cols + cc)];
                        int count = 0;
                        for (int er = -1; er <= 1; ++er)
                            for (int ec = -1; ec <= 1; ++ec) {
                                const int sr = r + er, sc = c + ec;
                                count += sr >= 0 && sc >= 0 && sr < rows && sc < cols &&
                                         m.cells[static_cast<size_t>(sr * cols + sc)] == v;
                            }
                        if (count > bestCount) {
                            best = v;
                            bestCount = count;
                        }
                    }
                next[static_cast<size_t>(r * cols + c)] = best;
            }
        m.cells = next;
    }
    for (int& v : m.cells)
        if (std::uniform_real_distribution<double>(0, 1)(rng) < noData)
            v = -99;
    return m;
}

// Combs: teeth hanging from a bar at the bottom, so every tooth is a label of its own until
// the last rows join them; a diagonal staircase that only 8 neighbours join; far dots.
Map combs(int rows, int cols)
{
    Map m{rows, cols, std::vector<int>(static_cast<size_t>(rows) * static_cast<size_t>(cols), 0)};
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            int& v = m.cells[static_cast<size_t>(r * cols + c)];
            if (c < cols / 2)
                v = (c % 3 == 0 || r == rows - 1) ? 1 : 0;
            else if ((r + c) % 9 == 0)
                v = 2;
        }
    m.cells[0] = 5;
    m.cells.back() = 5;
    m.cells[static_cast<size_t>(cols - 1)] = 5;
    return m;
}

// Every metric at level that can be measured by bands.
std::vector<MetricsOptions> bandedSelections(MetricsOptions base)
{
    std::vector<MetricsOptions> out;
    for (MetricLevel level : {MetricLevel::Patch, MetricLevel::Class, MetricLevel::Landscape}) {
        std::vector<std::string> codes;
        for (const MetricDef& d : metricCatalogue()) {
            if (d.level != level)
                continue;
            MetricsOptions one = base;
            one.selection = *MetricSelection::parse({d.code}, {level}, nullptr);
            if (measurableByBands(one))
                codes.push_back(d.code);
        }
        MetricsOptions o = base;
        o.selection = *MetricSelection::parse(codes, {level}, nullptr);
        out.push_back(o);
    }
    return out;
}

void expectSame(const Map& map, std::optional<int> noData, const MetricsOptions& options, int bandRows, const std::string& name)
{
    const GridView view{map.cells, map.rows, map.cols, noData, 30.0};
    std::vector<MetricValue> whole, banded;
    std::string error;
    ASSERT_TRUE(computeMetrics(view, options, whole, &error)) << name << ": " << error;
    RowBands bands;
    bands.rows = map.rows;
    bands.cols = map.cols;
    bands.bandRows = bandRows;
    bands.noData = noData;
    bands.cellSize = 30.0;
    int nextRow = 0;
    bands.read = [&](int first, int count, int* cells, std::string*) {
        EXPECT_EQ(first, nextRow) << name << ": rows are read in order";
        nextRow = first + count == map.rows ? 0 : first + count;
        std::memcpy(cells, map.cells.data() + static_cast<size_t>(first) * static_cast<size_t>(map.cols),
                    static_cast<size_t>(count) * static_cast<size_t>(map.cols) * sizeof(int));
        return true;
    };
    ASSERT_TRUE(computeMetricsByBands(bands, options, banded, &error)) << name << ": " << error;
    ASSERT_EQ(whole.size(), banded.size()) << name;
    for (size_t i = 0; i < whole.size(); ++i) {
        const MetricValue& a = whole[i];
        const MetricValue& b = banded[i];
        ASSERT_TRUE(a.level == b.level && a.cls == b.cls && a.id == b.id && a.metric == b.metric) << name << ": row " << i;
        ASSERT_EQ(a.value.has_value(), b.value.has_value()) << name << ": " << a.metric << " class " << a.cls;
        if (a.value)
            EXPECT_EQ(std::bit_cast<std::uint64_t>(*a.value), std::bit_cast<std::uint64_t>(*b.value))
                << name << ": " << a.metric << " class " << a.cls << " id " << a.id << ": " << *a.value << " vs " << *b.value;
    }
}

}  // namespace

TEST(BandedMetrics, EqualTheWholeGridBitForBit)
{
    struct Case {
        const char* name;
        Map map;
        std::optional<int> noData;
        int neighbours;
        bool fragstats;
    };
    const std::vector<Case> cases = {
        {"blobs, 3 classes, 8 neighbours", blobs(57, 41, 3, 3, 0, 1), {}, 8, false},
        {"blobs, 4 neighbours, no-data", blobs(61, 37, 4, 2, 0.05, 2), -99, 4, false},
        {"noise, FRAGSTATS", blobs(40, 45, 2, 0, 0, 3), {}, 8, true},
        {"noise of 90 classes", blobs(48, 50, 90, 0, 0.02, 4), -99, 8, false},
        {"combs and staircases, 8 neighbours", combs(80, 60), {}, 8, false},
        {"combs and staircases, 4 neighbours", combs(80, 60), {}, 4, false},
        {"far dots in no-data", [] {
             Map m{120, 90, std::vector<int>(120 * 90, -99)};
             for (int i : {5, 3000, 9000, 10700})
                 m.cells[static_cast<size_t>(i)] = 1 + i % 2;
             m.cells[4000] = 1;
             return m;
         }(), -99, 8, false},
        {"a hook joined late beside a dot in its column", [] {
             const char* rows[] = {"10000000", "10000000", "11111000", "00001000", "10001000",
                                   "00001000", "10001000", "10001000", "11111000", "00000000"};
             Map m{10, 8, {}};
             for (const char* r : rows)
                 for (int c = 0; c < 8; ++c)
                     m.cells.push_back(r[c] - '0');
             return m;
         }(), {}, 8, false},
        {"lone dots far from a block of their class, one far from everything", [] {
             Map m{100, 100, std::vector<int>(100 * 100, 0)};
             for (int i = 60 * 100; i < 100 * 100; ++i)
                 m.cells[static_cast<size_t>(i)] = 1 + (i % 100 > 70);
             m.cells[0] = 1;
             m.cells[99] = 1;
             m.cells[4 * 100 + 50] = 3;
             m.cells[10 * 100 + 90] = 2;
             return m;
         }(), {}, 8, false},
        {"one row", blobs(1, 70, 3, 0, 0, 5), {}, 8, false},
        {"one column", blobs(70, 1, 3, 0, 0, 6), {}, 4, false},
    };
    for (const Case& c : cases)
        for (int bandRows : {1, 2, 7, 1000}) {
            MetricsOptions base;
            base.neighbours = c.neighbours;
            base.convention = c.fragstats ? MetricConvention::Fragstats : MetricConvention::Landscapemetrics;
            for (const MetricsOptions& o : bandedSelections(base))
                expectSame(c.map, c.noData, o, bandRows, std::string(c.name) + ", bands of " + std::to_string(bandRows));
        }
}

// The default set is measured by bands; core areas and circles need the whole grid, and say so.
TEST(BandedMetrics, TellsWhichMetricsNeedTheWholeGrid)
{
    MetricsOptions o;
    EXPECT_TRUE(measurableByBands(o));
    o.selection = *MetricSelection::parse({"pland", "core_mn", "circle_mn", "enn_mn"}, {}, nullptr);
    EXPECT_FALSE(measurableByBands(o));
    EXPECT_EQ(wholeGridMetrics(o), "circle_mn core_mn");
    std::vector<MetricValue> out;
    std::string error;
    RowBands bands{4, 4, 2, {}, 1.0, [](int, int, int*, std::string*) { return true; }};
    EXPECT_FALSE(computeMetricsByBands(bands, o, out, &error));
    EXPECT_NE(error.find("circle_mn core_mn"), std::string::npos) << error;
}

// A failed read ends the measurement with the reader's message.
TEST(BandedMetrics, AReadFailureIsReported)
{
    MetricsOptions o;
    RowBands bands{10, 3, 4, {}, 1.0, [](int first, int count, int* cells, std::string* error) {
                       std::fill(cells, cells + count * 3, 1);
                       if (first < 4)
                           return true;
                       *error = "row 5 could not be read";
                       return false;
                   }};
    std::vector<MetricValue> out;
    std::string error;
    EXPECT_FALSE(computeMetricsByBands(bands, o, out, &error));
    EXPECT_EQ(error, "row 5 could not be read");
}

// Progress rises to the whole; a progress callback that says stop ends the measurement.
TEST(BandedMetrics, ProgressRisesAndStops)
{
    const Map map = blobs(30, 20, 3, 1, 0, 7);
    MetricsOptions o;
    RowBands bands{30, 20, 4, {}, 1.0, [&](int first, int count, int* cells, std::string*) {
                       std::copy_n(map.cells.begin() + first * 20, count * 20, cells);
                       return true;
                   }};
    std::vector<double> seen;
    bands.progress = [&](double done) {
        seen.push_back(done);
        return true;
    };
    std::vector<MetricValue> out;
    std::string error;
    ASSERT_TRUE(computeMetricsByBands(bands, o, out, &error)) << error;
    ASSERT_FALSE(seen.empty());
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_GE(seen.back(), 0.95);
    bands.progress = [](double done) { return done < 0.3; };
    EXPECT_FALSE(computeMetricsByBands(bands, o, out, &error));
    EXPECT_EQ(error, "cancelled");
}
