#include "core/io/LandscapeWriter.h"
#include "support/CliRunner.h"

#include <gtest/gtest.h>

#include <algorithm>
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
                         // NAME=VALUE after a comma belongs to the model before it.
                         {"unknown parameter", "a.txt --models random,cluster:p=0.55,nope=2", "unknown parameter 'nope'"},
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
    EXPECT_FALSE(std::filesystem::exists(dir.file("out/plots")));
}

TEST(CompareCli, InterruptReachesInsideALargeWindow)
{
    TempDir dir;
    // A window whose reading, measuring and every replicate each take a while: the whole run
    // would last minutes.
    window(dir, "big.txt", 1'800'000, 2000);
    const pid_t pid = spawnCli(dir, {ORVALIS_CLI, "compare", dir.file("big.txt"), "--replicates", "500", "--models",
                                     "random", "--jobs", "1", "--output", dir.file("out")});
    ASSERT_GT(pid, 0);
    for (int i = 0; i < 2000 && !std::filesystem::exists(dir.file("out/compare-run.txt")); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    kill(pid, SIGTERM);
    const auto signalled = std::chrono::steady_clock::now();
    int raw = 0;
    ASSERT_EQ(waitpid(pid, &raw, 0), pid);
    EXPECT_LT(std::chrono::steady_clock::now() - signalled, std::chrono::seconds(20));
    ASSERT_TRUE(WIFEXITED(raw));
    EXPECT_EQ(WEXITSTATUS(raw), 1);
    EXPECT_NE(readFile(dir.file("cli.err")).find("interrupted"), std::string::npos);
    EXPECT_EQ(readFile(dir.file("out/neutral-metrics.csv")), "file,model,replicate,level,class,id,metric,value\n");
    EXPECT_FALSE(std::filesystem::exists(dir.file("out/plots")));
}

TEST(CompareCli, RerunClearsWhatTheEarlierRunLeft)
{
    TempDir dir;
    window(dir, "a.txt", 100);
    window(dir, "b.txt", 230);
    const std::string common = "a.txt b.txt --replicates 2 --models random --jobs 1 ";
    CliRun run = runCli(dir, "compare", common + "--metrics np,ed --keep-landscapes --output out");
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_TRUE(std::filesystem::exists(dir.file("out/plots/landscape_ed.svg")));
    ASSERT_TRUE(std::filesystem::exists(dir.file("out/landscapes/random/a_001.txt")));

    run = runCli(dir, "compare", common + "--metrics np --output out");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("removed the earlier comparison's 12 chart files and 4 kept landscapes"), std::string::npos)
        << run.err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("out/landscapes")));
    std::vector<std::string> charts;
    for (const auto& e : std::filesystem::directory_iterator(dir.file("out/plots")))
        charts.push_back(e.path().filename().string());
    std::sort(charts.begin(), charts.end());
    EXPECT_EQ(charts, (std::vector<std::string>{"class_0_np.png", "class_0_np.svg", "class_1_np.png", "class_1_np.svg",
                                                "landscape_np.png", "landscape_np.svg"}));

    // Pictures that no comparison of the folder wrote are not ours to remove: the run is refused.
    std::filesystem::create_directories(dir.file("other/plots"));
    test::writeFile(dir.file("other/plots/mine.png"), "not a chart");
    run = runCli(dir, "compare", common + "--output other");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("no comparison"), std::string::npos) << run.err;
    EXPECT_EQ(readFile(dir.file("other/plots/mine.png")), "not a chart");
    EXPECT_FALSE(std::filesystem::exists(dir.file("other/compare.csv")));
}

TEST(CompareCli, FolderStaysLockedWhileTheChartsAreDrawn)
{
    TempDir dir, second;
    for (int i = 0; i < 3; ++i)
        window(dir, "w" + std::to_string(i) + ".txt", 60 + 90 * i);
    const pid_t pid = spawnCli(dir, {ORVALIS_CLI, "compare", dir.file("w0.txt"), dir.file("w1.txt"), dir.file("w2.txt"),
                                     "--replicates", "3", "--jobs", "1", "--output", dir.file("out")});
    ASSERT_GT(pid, 0);
    // Whole tables, and some 50 charts still to draw.
    for (int i = 0; i < 24000 && readFile(dir.file("out/compare-run.txt")).find("end completed") == std::string::npos; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const CliRun intruder = runCli(second, "compare", dir.file("w0.txt") + " --replicates 1 --output " + dir.file("out"));
    const bool drawing = waitpid(pid, nullptr, WNOHANG) == 0;
    int raw = 0;
    waitpid(pid, &raw, 0);
    EXPECT_EQ(WEXITSTATUS(raw), 0);
    if (!drawing)
        GTEST_SKIP() << "the charts were drawn before the second run started";
    EXPECT_EQ(intruder.status, 1);
    EXPECT_NE(intruder.err.find("another Orvalis run"), std::string::npos) << intruder.err;
    EXPECT_NE(readFile(dir.file("out/windows.csv")).find("w2.txt"), std::string::npos);
}

TEST(CompareCli, ManyReplicatesOfAWindowKeepTheirRowsInOrder)
{
    TempDir dir;
    window(dir, "a.txt", 11, 6);
    // Enough replicates that the window's rows pass through the spill file.
    const std::string common = "a.txt --models random --jobs 2 --seed 5 ";
    ASSERT_EQ(runCli(dir, "compare", common + "--replicates 9000 --output many").status, 0);
    ASSERT_EQ(runCli(dir, "compare", common + "--replicates 40 --output few").status, 0);
    const std::string many = readFile(dir.file("many/neutral-metrics.csv"));
    const std::string few = readFile(dir.file("few/neutral-metrics.csv"));
    ASSERT_GT(many.size(), std::size_t(16) << 20);
    // A replicate's rows do not depend on how many there are.
    EXPECT_EQ(many.compare(0, few.size(), few), 0);
    const long perReplicate = (std::count(few.begin(), few.end(), '\n') - 1) / 40;
    EXPECT_EQ(std::count(many.begin(), many.end(), '\n') - 1, perReplicate * 9000);
    const std::size_t last = many.rfind('\n', many.size() - 2) + 1;
    EXPECT_EQ(many.compare(last, 18, "a.txt,random,9000,"), 0) << many.substr(last);
}

}  // namespace
}  // namespace orvalis
