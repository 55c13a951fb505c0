#include "plots/ChartTables.h"
#include "plots/CsvReader.h"
#include "plots/CompareFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <sstream>

using namespace orvalis;
using namespace orvalis::test;

namespace {

std::vector<std::vector<std::string>> readAll(const std::string& text)
{
    std::istringstream in(text);
    CsvReader csv(in);
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> fields;
    while (csv.next(fields))
        rows.push_back(fields);
    return rows;
}

TEST(CsvReader, ReadsTheTablesAsTheRunsQuoteThem)
{
    const struct {
        const char* name;
        std::string text;
        std::vector<std::vector<std::string>> rows;
    } cases[] = {
        {"plain", "a,b\n1,2\n", {{"a", "b"}, {"1", "2"}}},
        {"CRLF line ends", "a,b\r\n1,2\r\n", {{"a", "b"}, {"1", "2"}}},
        {"no last line end", "a,b\n1,", {{"a", "b"}, {"1", ""}}},
        {"comma and quote in a name", "\"w,1 \"\"x\"\".txt\",3\r\n", {{"w,1 \"x\".txt", "3"}}},
        {"line break in a quoted name", "\"a\r\nb\",1\r\nc,2\n", {{"a\nb", "1"}, {"c", "2"}}},
        {"accents", "\"forêt, été.txt\",NA\n", {{"forêt, été.txt", "NA"}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readAll(c.text), c.rows) << c.name;
}

// The band recomputed plainly: every value of a model's replicates in the windows of one whole percent.
TEST(ChartTables, BandsPoolEachModelsReplicatesByWholePercentOfCover)
{
    TempDir dir;
    const std::vector<HandWindow> windows = {
        {"a.txt", 30.2, 70}, {"b.txt", 30.8, 75}, {"c, \"d\".txt", 45, 90}, {"e.txt", 12.5, 20}};
    const std::vector<std::string> models = {"random", "fractal:0.5"};
    const int replicates = 21;
    writeCompareFolder(dir.path(), windows, models, replicates, false);

    // The same draws as the writer, in its order.
    RandomSource random(7);
    std::map<std::pair<std::string, int>, std::vector<double>> pooled;
    std::map<std::pair<std::string, int>, std::vector<double>> covers;
    for (const HandWindow& w : windows)
        for (const std::string& m : models)
            for (int r = 0; r < replicates; ++r) {
                const int bin = static_cast<int>(w.cover);
                pooled[{m, bin}].push_back(std::stod(std::to_string(drawnEd(random, w.cover))));
                covers[{m, bin}].push_back(w.cover);
                drawnEd(random, w.cover);
            }

    ChartTables t;
    std::string error;
    ASSERT_TRUE(loadChartTables(dir.path(), t, &error)) << error;
    const ChartKey ed{false, 1, "ed"};
    ASSERT_EQ(t.keys, (std::vector<ChartKey>{ed, ChartKey{true, 0, "ed"}}));
    EXPECT_EQ(t.models, models);
    ASSERT_EQ(t.bands[ed].size(), 2u);
    for (const ModelBand& band : t.bands[ed]) {
        ASSERT_EQ(band.bins.size(), 3u) << band.model;
        EXPECT_TRUE(std::is_sorted(band.bins.begin(), band.bins.end(),
                                   [](const CoverBin& a, const CoverBin& b) { return a.bin < b.bin; }));
        for (const CoverBin& b : band.bins) {
            std::vector<double> v = pooled[{band.model, b.bin}];
            std::sort(v.begin(), v.end());
            // R's type 7 as its help page writes it: 1-based position 1 + (n - 1) p.
            const auto q = [&](double p) {
                const double at = 1 + (v.size() - 1) * p;
                const std::size_t j = static_cast<std::size_t>(at);
                return j >= v.size() ? v.back() : v[j - 1] + (at - j) * (v[j] - v[j - 1]);
            };
            const std::vector<double>& cv = covers[{band.model, b.bin}];
            EXPECT_EQ(b.n, v.size());
            EXPECT_NEAR(b.low, q(0.025), 1e-9);
            EXPECT_NEAR(b.median, q(0.5), 1e-9);
            EXPECT_NEAR(b.high, q(0.975), 1e-9);
            EXPECT_NEAR(b.cover, std::accumulate(cv.begin(), cv.end(), 0.0) / cv.size(), 1e-9);
        }
    }
    // One real point per window, not per model; the quoted name joins windows.csv's cover.
    ASSERT_EQ(t.real[ed].size(), windows.size());
    EXPECT_EQ(t.real[ed][2].file, "c, \"d\".txt");
    EXPECT_DOUBLE_EQ(t.real[ed][2].cover, 45);
    EXPECT_TRUE((t.real[ChartKey{true, 0, "ed"}].empty())) << "NA real values are no points";
    EXPECT_TRUE(t.percolation.empty());
}

TEST(ChartTables, PercolationCountsTheHabitatClassOfRandomReplicates)
{
    TempDir dir;
    // b.txt's 50 % is the pland of both classes: class 1 must still be the habitat.
    writeCompareFolder(dir.path(), {{"a.txt", 30, 1}, {"b.txt", 50, 1}, {"c.txt", 50.5, 1}, {"d.txt", 70, 1}},
                       {"random", "fractal:0.2"}, 10, true);
    ChartTables t;
    std::string error;
    ASSERT_TRUE(loadChartTables(dir.path(), t, &error)) << error;
    EXPECT_EQ(t.habitatClass, 1);
    ASSERT_EQ(t.percolation.size(), 3u);
    const struct {
        int bin;
        std::size_t replicates, spanning;
        double cover;
    } expected[] = {{30, 10, 0, 30}, {50, 20, 10, 50.25}, {70, 10, 5, 70}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(t.percolation[i].bin, expected[i].bin);
        EXPECT_EQ(t.percolation[i].replicates, expected[i].replicates) << "fractal rows are not counted";
        EXPECT_EQ(t.percolation[i].spanning, expected[i].spanning);
        EXPECT_NEAR(t.percolation[i].cover, expected[i].cover, 1e-9);
    }
}

TEST(ChartTables, MalformedTablesAreNamedWithTheirLine)
{
    const struct {
        const char* name;
        const char* file;
        std::string text;
        const char* message;
    } cases[] = {
        {"unknown window", "compare.csv", "file,model,level,class,metric,real\na.txt,random,class,1,ed,1\nx.txt,random,class,1,ed,1\n",
         "compare.csv line 3: window x.txt is not in windows.csv"},
        {"missing column", "neutral-metrics.csv", "file,model,level,class,metric\n", "neutral-metrics.csv has no column value"},
        {"bad number", "windows.csv", "file,rows,cols,habitat,cover\na.txt,10,10,5,five\n",
         "windows.csv line 2: rows, cols, habitat or cover is not a number"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        writeCompareFolder(dir.path(), {{"a.txt", 30, 1}}, {"random"}, 2, false);
        writeFile(dir.file(c.file), c.text);
        ChartTables t;
        std::string error;
        EXPECT_FALSE(loadChartTables(dir.path(), t, &error)) << c.name;
        EXPECT_EQ(error, c.message) << c.name;
    }
}

}  // namespace
