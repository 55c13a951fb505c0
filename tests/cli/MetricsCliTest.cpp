#include "core/io/MetricsCsv.h"
#include "core/metrics/LandscapeMetrics.h"
#include "support/CliRunner.h"

#include <gtest/gtest.h>

using namespace orvalis::test;

namespace {

std::string engineRows(const std::string& name, const orvalis::LandscapeGrid& grid, int neighbours = 8)
{
    orvalis::MetricsOptions options;
    options.neighbours = neighbours;
    std::string rows;
    EXPECT_TRUE(orvalis::appendMeasuredRows(rows, name, grid, 1.0, std::nullopt, options));
    return rows;
}

}  // namespace

// Bad files are named with their line; the good ones are measured all the same, in the order given.
TEST(MetricsCli, MeasuresTheGoodFilesInOrderAndNamesEveryBadOne)
{
    TempDir dir;
    writeFile(dir.file("a.txt"), "1 0 1 \n0 1 1 \n");
    writeFile(dir.file("b.txt"), "2 2 \n2 5 \n");
    const std::pair<const char*, const char*> bad[] = {
        {"letters.txt", "1 0 \n0 x1 \n"},   {"ragged.txt", "1 0 1 \n0 1 \n"},
        {"empty.txt", ""},                  {"nodata.txt", "-9 -9 \n-9 -9 \n"},
        {"no-blank.txt", "1 0 \n0 1\n"},    {"huge.txt", "99999999999 1 \n"},
    };
    std::string arguments = "b.txt a.txt --no-data -9 --output out.csv";
    for (const auto& [name, text] : bad) {
        writeFile(dir.file(name), text);
        arguments += std::string(" ") + name;
    }
    const CliRun run = runCli(dir, "metrics", arguments + " missing.txt");
    EXPECT_EQ(run.status, 1);
    for (const char* expected : {"letters.txt: line 2: 'x1' is not a whole number", "ragged.txt: line 2: 2 values",
                                 "empty.txt: the file holds no grid", "nodata.txt:", "no-blank.txt: line 2:",
                                 "huge.txt: line 1: '99999999999' is not a whole number in 32 bits",
                                 "missing.txt: No such file"})
        EXPECT_NE(run.err.find(expected), std::string::npos) << expected << "\n" << run.err;
    EXPECT_EQ(readFile(dir.file("out.csv")), orvalis::metricsCsvHeader() + engineRows("b.txt", {{2, 2}, {2, 5}}) +
                                                 engineRows("a.txt", {{1, 0, 1}, {0, 1, 1}}));
}

TEST(MetricsCli, ReadsTheFilesABatchListNamesAndWritesToStandardOutput)
{
    TempDir dir;
    writeFile(dir.file("w_010.txt"), "1 0 \n0 0 \n");
    writeFile(dir.file("w_020.txt"), "1 1 \n0 0 \n");
    writeFile(dir.file("list.fbt"), "w_010.txt, x, 999\r\nw_020.txt, x, 999\n");
    const CliRun run = runCli(dir, "metrics", "--list list.fbt --neighbours 4 --output -");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, orvalis::metricsCsvHeader() + engineRows("w_010.txt", {{1, 0}, {0, 0}}, 4) +
                           engineRows("w_020.txt", {{1, 1}, {0, 0}}, 4));
}
