// Every value landscapemetrics gives for the reference grids, row by row.
#include "core/io/LandscapeFile.h"
#include "core/metrics/LandscapeMetrics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

using orvalis::computeMetrics;
using orvalis::LandscapeGrid;
using orvalis::MetricsOptions;
using orvalis::MetricValue;

namespace {

std::string dataDir()
{
    const char* src = std::getenv("ORVALIS_SOURCE_DIR");
    return std::string(src ? src : ".") + "/tests/data/metrics/";
}

struct Row {
    std::string file;
    int neighbours;
    bool landscape;
    int cls;
    std::string metric;
    std::string value;  // as written: a number or NA
};

std::vector<Row> readReference(const std::string& name)
{
    std::ifstream in(dataDir() + name);
    EXPECT_TRUE(in) << name;
    std::vector<Row> rows;
    std::string line;
    std::getline(in, line);  // header
    while (std::getline(in, line)) {
        std::vector<std::string> f;
        std::stringstream ss(line);
        std::string field;
        while (std::getline(ss, field, ','))
            f.push_back(field);
        if (f.size() == 6)
            f.push_back("");
        EXPECT_EQ(f.size(), 7u) << line;
        if (f.size() != 7)
            continue;
        rows.push_back({f[0], std::stoi(f[1]), f[2] == "landscape", f[2] == "landscape" ? 0 : std::stoi(f[3]), f[5], f[6]});
    }
    return rows;
}

using Key = std::tuple<bool, int, std::string>;

std::map<Key, std::optional<double>> measure(const std::string& file, int neighbours, double cellSize)
{
    LandscapeGrid grid;
    const auto read = orvalis::readLandscapeFile(dataDir() + file, grid);
    EXPECT_TRUE(read.ok) << file << ": " << read.error;
    MetricsOptions options;
    options.neighbours = neighbours;
    options.cellSize = cellSize;
    if (file == "nodata_30x40.txt")
        options.noData = -9999;
    std::vector<MetricValue> values;
    std::string error;
    EXPECT_TRUE(computeMetrics(grid, options, values, &error)) << error;
    std::map<Key, std::optional<double>> byKey;
    for (const MetricValue& v : values)
        byKey[{v.landscape, v.landscape ? 0 : v.cls, v.metric}] = v.value;
    return byKey;
}

void compareWith(const std::string& referenceName, double cellSize)
{
    const std::vector<Row> rows = readReference(referenceName);
    ASSERT_GT(rows.size(), 0u);
    std::map<std::pair<std::string, int>, std::map<Key, std::optional<double>>> measured;
    for (const Row& row : rows) {
        auto& ours = measured.try_emplace({row.file, row.neighbours}).first->second;
        if (ours.empty())
            ours = measure(row.file, row.neighbours, cellSize);
        const std::string where = row.file + " rule " + std::to_string(row.neighbours) + " " +
                                  (row.landscape ? "landscape" : "class " + std::to_string(row.cls)) + " " + row.metric;
        const auto it = ours.find({row.landscape, row.cls, row.metric});
        ASSERT_NE(it, ours.end()) << where << " missing";
        const std::optional<double>& got = it->second;
        if (row.value == "NA") {
            EXPECT_FALSE(got.has_value()) << where << " should be NA, got " << got.value_or(0);
            continue;
        }
        ASSERT_TRUE(got.has_value()) << where << " is NA, expected " << row.value;
        const double want = std::stod(row.value);
        if (row.metric == "np") {
            EXPECT_EQ(*got, want) << where;
        } else if (row.metric == "ta") {
            const double cellHa = cellSize * cellSize / 10000.0;
            EXPECT_EQ(std::llround(*got / cellHa), std::llround(want / cellHa)) << where;
        } else {
            EXPECT_NEAR(*got, want, std::max(1e-12, 1e-9 * std::fabs(want))) << where;
        }
    }
}

}  // namespace

TEST(MetricsReference, EveryGridBothRulesCellSize1)
{
    compareWith("reference.csv", 1.0);
}

TEST(MetricsReference, ClusteredGridCellSize30)
{
    compareWith("reference-cell30.csv", 30.0);
}
