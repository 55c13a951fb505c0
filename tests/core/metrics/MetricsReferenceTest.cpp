// Every value landscapemetrics gives for the reference grids, row by row: the first 26 metrics,
// then the whole catalogue at patch, class and landscape level (patches joined on their ids).
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
using orvalis::GridView;
using orvalis::LandscapeGrid;
using orvalis::MetricLevel;
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
    std::string level;
    int cls;
    int id;
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
        rows.push_back({f[0], std::stoi(f[1]), f[2], f[2] == "landscape" ? 0 : std::stoi(f[3]), f[4].empty() ? 0 : std::stoi(f[4]),
                        f[5], f[6]});
    }
    return rows;
}

using Key = std::tuple<std::string, int, int, std::string>;

std::map<Key, std::optional<double>> measure(const std::string& file, int neighbours, double cellSize, bool catalogue)
{
    LandscapeGrid grid;
    const auto read = orvalis::readLandscapeFile(dataDir() + file, grid);
    EXPECT_TRUE(read.ok) << file << ": " << read.error;
    std::vector<int> cells;
    for (const auto& line : grid)
        cells.insert(cells.end(), line.begin(), line.end());
    GridView view{cells, static_cast<int>(grid.size()), static_cast<int>(grid[0].size()), std::nullopt, cellSize};
    if (file == "nodata_30x40.txt")
        view.noData = -9999;
    MetricsOptions options;
    options.neighbours = neighbours;
    if (catalogue)
        options.selection = orvalis::MetricSelection::all({MetricLevel::Patch, MetricLevel::Class, MetricLevel::Landscape});
    std::vector<MetricValue> values;
    std::string error;
    EXPECT_TRUE(computeMetrics(view, options, values, &error)) << error;
    std::map<Key, std::optional<double>> byKey;
    for (const MetricValue& v : values)
        byKey[{orvalis::levelName(v.level), v.cls, v.id, v.metric}] = v.value;
    return byKey;
}

void compareWith(const std::string& referenceName, double cellSize, bool catalogue)
{
    const std::vector<Row> rows = readReference(referenceName);
    ASSERT_GT(rows.size(), 0u);
    std::map<std::pair<std::string, int>, std::map<Key, std::optional<double>>> measured;
    int failures = 0;
    for (const Row& row : rows) {
        auto& ours = measured.try_emplace({row.file, row.neighbours}).first->second;
        if (ours.empty())
            ours = measure(row.file, row.neighbours, cellSize, catalogue);
        const std::string where = row.file + " rule " + std::to_string(row.neighbours) + " " + row.level + " " +
                                  std::to_string(row.cls) + " id " + std::to_string(row.id) + " " + row.metric;
        const auto it = ours.find({row.level, row.cls, row.id, row.metric});
        if (it == ours.end()) {
            ADD_FAILURE() << where << " missing";
            if (++failures > 40)
                return;
            continue;
        }
        const std::optional<double>& got = it->second;
        bool ok;
        if (row.value == "NA")
            ok = !got.has_value();
        else if (!got)
            ok = false;
        else if (row.metric == "np")
            ok = *got == std::stod(row.value);
        else
            ok = std::fabs(*got - std::stod(row.value)) <= std::max(1e-12, 1e-9 * std::fabs(std::stod(row.value)));
        if (!ok) {
            ADD_FAILURE() << where << ": got " << (got ? std::to_string(*got) : "NA") << ", expected " << row.value;
            if (++failures > 40)
                return;
        }
    }
}

}  // namespace

TEST(MetricsReference, StandardSetEveryGridBothRulesCellSize1)
{
    compareWith("reference.csv", 1.0, false);
}

TEST(MetricsReference, StandardSetClusteredGridCellSize30)
{
    compareWith("reference-cell30.csv", 30.0, false);
}

TEST(MetricsReference, CatalogueEveryGridBothRulesCellSize1)
{
    compareWith("reference-catalogue.csv", 1.0, true);
}

TEST(MetricsReference, CatalogueClusteredGridCellSize30)
{
    compareWith("reference-catalogue-cell30.csv", 30.0, true);
}
