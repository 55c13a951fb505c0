#include "core/io/LandscapeWriter.h"
#include "support/CliRunner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include <chrono>
#include <csignal>
#include <sys/wait.h>
#include <thread>

namespace orvalis {
namespace {

using test::CliRun;
using test::readFile;
using test::runCli;
using test::TempDir;

// A side x side window whose first `habitat` cells (row after row) are 1.
void window(const TempDir& dir, const std::string& name, int habitat, int side = 20)
{
    LandscapeGrid grid(side, std::vector<int>(side, 0));
    for (int i = 0; i < habitat; ++i)
        grid[i / side][i % side] = 1;
    ASSERT_TRUE(writeLandscapeFile(dir.file(name), grid));
}

TEST(CompareCli, RefusesBadOptions)
{
    TempDir dir;
    window(dir, "a.txt", 50);
    test::expectRefused(dir, "compare",
                        {{"H of 0", "a.txt --models random,fractal:0", "H must lie in (0, 1]"},
                         {"H above 1", "a.txt --models fractal:1.01", "H must lie in (0, 1]"},
                         {"unknown model", "a.txt --models forest", "unknown neutral model"},
                         {"unknown metric", "a.txt --metrics pland,patches", "unknown metric 'patches' (did you mean"},
                         {"shard beyond N", "a.txt --shard 4/3", "K/N"},
                         {"no windows", "--replicates 3", "name the windows"},
                         {"merge with files", "a.txt --merge x", "excludes"}},
                        [&] { EXPECT_FALSE(std::filesystem::exists(dir.file("compare.csv"))); });
}

TEST(CompareCli, LogNamingMissingFilesComparesTheRestAndFails)
{
    TempDir dir;
    std::filesystem::create_directories(dir.file("run/windows"));
    window(dir, "run/windows/010_001.txt", 40);
    window(dir, "run/windows/030_001.txt", 120);
    test::writeFile(dir.file("run/sample.txt"), "windows/010_001.txt 0.1 40 50\nwindows/020_001.txt 0.2 10 11\n"
                                                "windows/030_001.txt 0.3 70 71 500010.5 4100020\n");
    const CliRun run = runCli(dir, "compare", "--log run/sample.txt --replicates 3 --output out --models random");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("run/windows/020_001.txt, which is missing"), std::string::npos) << run.err;
    EXPECT_EQ(readFile(dir.file("out/windows.csv")),
              "file,rows,cols,habitat,cover\nrun/windows/010_001.txt,20,20,40,10\nrun/windows/030_001.txt,20,20,120,30\n");
}

// Windows that keep their map's classes: their habitat is named with --habitat; without it the
// log's covers disagree with the windows', and windows without any habitat are refused.
TEST(CompareCli, HabitatClassesOfWindowsKeepingTheirMapsClasses)
{
    TempDir dir;
    LandscapeGrid a(10, std::vector<int>(10, 81)), b = a;
    for (int i = 0; i < 30; ++i)
        a[i / 10][i % 10] = 41 + i % 3;
    for (int i = 0; i < 70; ++i)
        b[i / 10][i % 10] = 42;
    ASSERT_TRUE(writeLandscapeFile(dir.file("a.txt"), a));
    ASSERT_TRUE(writeLandscapeFile(dir.file("b.txt"), b));
    test::writeFile(dir.file("sample.txt"), "a.txt 0.3 5 5\nb.txt 0.7 20 5\n");
    const std::string common = " --replicates 3 --models random --output ";
    const CliRun without = runCli(dir, "compare", "--log sample.txt" + common + "c1");
    EXPECT_EQ(without.status, 1);
    EXPECT_NE(without.err.find("a.txt: holds 0 habitat where its log line says 0.3"), std::string::npos) << without.err;
    EXPECT_NE(without.err.find("need --habitat"), std::string::npos) << without.err;
    const CliRun with = runCli(dir, "compare", "--log sample.txt --habitat 41-43" + common + "c2");
    EXPECT_EQ(with.status, 0) << with.err;
    EXPECT_EQ(readFile(dir.file("c2/windows.csv")), "file,rows,cols,habitat,cover\na.txt,10,10,30,30\nb.txt,10,10,70,70\n");
    const CliRun none = runCli(dir, "compare", "a.txt b.txt" + common + "c3");
    EXPECT_EQ(none.status, 1);
    EXPECT_NE(none.err.find("no window holds habitat"), std::string::npos) << none.err;
}

TEST(CompareCli, MergedShardsEqualTheSingleRun)
{
    TempDir dir;
    std::string files;
    for (int i = 0; i < 4; ++i) {
        window(dir, "w" + std::to_string(i) + ".txt", 60 * i + 30);
        files += " w" + std::to_string(i) + ".txt";
    }
    const std::string common = files + " --replicates 4 --models random,fractal:0.8 --seed 3";
    ASSERT_EQ(runCli(dir, "compare", common + " --output single").status, 0);
    for (const char* k : {"1", "2"})
        ASSERT_EQ(runCli(dir, "compare", common + " --shard " + k + "/2 --output s" + k).status, 0);
    const CliRun merged = runCli(dir, "compare", "--merge s2 s1 --output merged");
    EXPECT_EQ(merged.status, 0) << merged.err;
    for (const char* name : {"neutral-metrics.csv", "compare.csv", "windows.csv"})
        EXPECT_EQ(readFile(dir.file(std::string("merged/") + name)), readFile(dir.file(std::string("single/") + name)))
            << name;
    const CliRun missing = runCli(dir, "compare", "--merge s1 --output partial");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("shard 2/2 is missing"), std::string::npos) << missing.err;

    // A run that cannot start, or a merge of a shard cut, edited or reordered, leaves the earlier results as they were.
    std::map<std::string, std::string> before;
    for (const char* name : {"neutral-metrics.csv", "compare.csv", "windows.csv", "compare-run.txt"})
        before[name] = readFile(dir.file(std::string("merged/") + name));
    const std::string table = readFile(dir.file("s2/compare.csv"));
    const std::size_t second = table.find('\n') + 1, third = table.find('\n', second) + 1;
    const std::size_t fourth = table.find('\n', third) + 1;
    std::string edited = table;
    edited[table.rfind(',') + 1] = edited[table.rfind(',') + 1] == '1' ? '2' : '1';
    const std::map<std::string, std::string> damaged = {
        {"cut", table.substr(0, table.size() - 30)},
        {"edited", edited},
        {"swapped", table.substr(0, second) + table.substr(third, fourth - third) + table.substr(second, third - second) +
                        table.substr(fourth)}};
    for (const auto& [folder, text] : damaged) {
        std::filesystem::copy(dir.file("s2"), dir.file(folder));
        test::writeFile(dir.file(folder + "/compare.csv"), text);
    }
    const struct {
        const char* name;
        std::string arguments;
        const char* says;
    } failures[] = {{"a typo for the only window", "typo.txt --output merged", "none of the windows can be read"},
                    {"a shard cut mid-row", "--merge s1 cut --output merged", "the shard was cut or edited"},
                    {"a shard with a value edited", "--merge s1 edited --output merged", "the shard was cut or edited"},
                    {"a shard with two rows swapped", "--merge s1 swapped --output merged", "the shard was cut or edited"},
                    {"a shard folder that does not exist", "--merge s1 nope --output merged", "nope: no such folder"}};
    for (const auto& f : failures) {
        SCOPED_TRACE(f.name);
        const CliRun run = runCli(dir, "compare", f.arguments);
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find(f.says), std::string::npos) << run.err;
        EXPECT_EQ(run.out.find("merged into"), std::string::npos) << run.out;
        for (const auto& [name, text] : before)
            EXPECT_EQ(readFile(dir.file("merged/" + name)), text) << name;
    }

    // A record written before tables were summed still merges, with a warning.
    std::filesystem::copy(dir.file("s2"), dir.file("old"));
    std::string record = readFile(dir.file("old/compare-run.txt"));
    for (std::size_t at; (at = record.find("table ")) != std::string::npos;)
        record.erase(at, record.find('\n', at) + 1 - at);
    test::writeFile(dir.file("old/compare-run.txt"), record);
    const CliRun old = runCli(dir, "compare", "--merge s1 old --output fromold");
    EXPECT_EQ(old.status, 0) << old.err;
    EXPECT_NE(old.err.find("holds no checksums"), std::string::npos) << old.err;
    EXPECT_EQ(readFile(dir.file("fromold/compare.csv")), readFile(dir.file("single/compare.csv")));
}

TEST(CompareCli, InterruptKeepsWholeWindows)
{
    TempDir dir;
    std::vector<std::string> args{ORVALIS_CLI, "compare", "--replicates", "999", "--output", dir.file("out"), "--jobs", "1"};
    // Windows large enough that the run is far from its end when the first one is written.
    for (int i = 0; i < 20; ++i) {
        window(dir, "w" + std::to_string(i) + ".txt", 40 * i + 1000, 60);
        args.push_back(dir.file("w" + std::to_string(i) + ".txt"));
    }
    const pid_t pid = spawnCli(dir, args);
    ASSERT_GT(pid, 0);
    // Once the first window is written, press Ctrl-C (a sanitizer build takes its time to get there).
    for (int i = 0; i < 24000 && readFile(dir.file("out/windows.csv")).find("w0.txt") == std::string::npos; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    kill(pid, SIGINT);
    int raw = 0;
    ASSERT_EQ(waitpid(pid, &raw, 0), pid);
    ASSERT_TRUE(WIFEXITED(raw));
    EXPECT_EQ(WEXITSTATUS(raw), 1);
    EXPECT_NE(readFile(dir.file("cli.err")).find("interrupted"), std::string::npos);
    const std::string record = readFile(dir.file("out/compare-run.txt"));
    EXPECT_NE(record.find("end cancelled\n"), std::string::npos) << record;
    // Every window the tables name has all its replicates' rows: 4 models x 999 x (2 x 16 + 10).
    const std::string table = readFile(dir.file("out/neutral-metrics.csv"));
    const std::string windows = readFile(dir.file("out/windows.csv"));
    const long written = std::count(windows.begin(), windows.end(), '\n') - 1;
    EXPECT_GE(written, 1);
    EXPECT_LT(written, 20);
    EXPECT_EQ(std::count(table.begin(), table.end(), '\n') - 1, written * 4 * 999 * 42);
}

}  // namespace
}  // namespace orvalis
