#include "support/CliRunner.h"
#include "core/io/MetricsCsv.h"
#include "support/EngineRuns.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

using namespace orvalis::test;

namespace {

// A run with --metrics and the same run without, into two fresh folders.
struct MeasuredRun {
    const char* command;
    std::string arguments;  // both runs
    std::string measuring;  // --metrics and what goes with it
    std::string table;      // where the run keeps it
    std::string files;      // what names the run's files, in its order, for orvalis-cli metrics
};

// Every file below dir but the table, by path relative to dir, with its bytes.
std::map<std::string, std::string> filesBelow(const TempDir& dir, const std::string& table)
{
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir.path()))
        if (e.is_regular_file() && std::filesystem::relative(e.path(), dir.path()) != table)
            files[std::filesystem::relative(e.path(), dir.path()).string()] = readFile(e.path().string());
    return files;
}

// The fractal run's files in its order, from the engine on one thread; names start with w/.
std::string fractalFilesInOrder()
{
    TempDir engine;
    orvalis::FractalRunParameters p = smallFractalRun(engine.path().string() + "/");
    p.jobs = 1;
    std::string names;
    for (const std::string& f : fractalSeries(p).files)
        names += " w/" + std::filesystem::path(f).filename().string();
    return names;
}

}  // namespace

// The table a run writes is what orvalis-cli metrics writes afterwards for its files in its order,
// and measuring changes no other byte; without --metrics an earlier table stays as it was.
TEST(RunMetricsCli, TableIsWhatTheMetricsCommandWritesAndNothingElseChanges)
{
    const std::string image = sourceDir() + "/examples/augusta_forest.tga";
    const MeasuredRun runs[] = {
        {"sample",
         image + " --folder w --size 31 --replicates 2 --min-distance 12 --cover 20:80:15 --prefix P_ "
                 "--post-string ,x --seed 4",
         "--metrics", "metrics.csv", "--list P_ListFragStat.fbt"},
        {"random", "--folder w --size 20 --cover 10:90:40 --replicates 2 --post-string ,x --seed 3",
         "--metrics --neighbours 4", "w/metrics.csv", "--list w/random_ListFragStat.fbt --neighbours 4"},
        {"fractal", "--folder w --h 0.2:0.6:0.2 --cover 10:90:10 --size 24 --replicates 2 --jobs 3", "--metrics",
         "w/metrics.csv", fractalFilesInOrder()},
        {"random", "--folder w --size 20 --cover 10:90:40 --replicates 2 --post-string ,x --seed 3",
         "--metrics pland,ed,shape_mn,diversity", "w/metrics.csv",
         "--list w/random_ListFragStat.fbt --metrics pland,ed,shape_mn,diversity"},
    };
    for (const MeasuredRun& r : runs) {
        SCOPED_TRACE(r.command);
        TempDir plain, measured;
        for (const TempDir* dir : {&plain, &measured})
            std::filesystem::create_directory(dir->file("w"));
        writeFile(plain.file(r.table), "an earlier table\n");
        const CliRun without = runCli(plain, r.command, r.arguments);
        ASSERT_EQ(without.status, 0) << without.err;
        EXPECT_EQ(readFile(plain.file(r.table)), "an earlier table\n");
        const CliRun with = runCli(measured, r.command, r.arguments + " " + r.measuring);
        ASSERT_EQ(with.status, 0) << with.err;
        EXPECT_NE(with.out.find(", metrics table " + r.table), std::string::npos) << with.out;
        EXPECT_EQ(filesBelow(measured, r.table), filesBelow(plain, r.table));

        const CliRun check = runCli(measured, "metrics", r.files + " --output check.csv");
        ASSERT_EQ(check.status, 0) << check.err;
        EXPECT_GT(readFile(measured.file(r.table)).size(), orvalis::metricsCsvHeader().size());
        EXPECT_EQ(readFile(measured.file(r.table)), readFile(measured.file("check.csv")));
    }
}
