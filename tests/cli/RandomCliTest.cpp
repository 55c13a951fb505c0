#include "support/EngineRuns.h"
#include "support/CliRunner.h"
#include "support/PartialFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace orvalis::test;

namespace {

std::vector<std::string> engineFiles(const TempDir& dir, int coverMin, int coverMax, int step, int rows, int cols,
                                     int replicates, int matrix, int cover, int seed)
{
    const orvalis::RunResult r =
        randomSeries(dir.path().string(), {coverMin, coverMax, step}, rows, cols, replicates, matrix, cover, seed);
    EXPECT_FALSE(r.failed()) << r.message;
    return r.files;
}

}  // namespace

TEST(RandomCli, BadArgumentsExitWithStatusTwo)
{
    TempDir dir;
    std::filesystem::create_directory(dir.file("out"));
    expectRefused(dir, "random",
                  {
                      {"no folder", "--size 10", "--folder is required"},
                      {"missing folder", "--folder nowhere", "Directory does not exist: nowhere"},
                      {"cover above 100", "--folder out --cover 0:101:1", "--cover: MAX"},
                      {"cover step 0", "--folder out --cover 10:20:0", "--cover: STEP"},
                      {"cover max below min", "--folder out --cover 50:10:1", "below MIN"},
                      {"size and rows", "--folder out --size 5 --rows 5 --cols 5", "--size excludes --rows"},
                      {"rows alone", "--folder out --rows 5", "--rows requires --cols"},
                      {"cols alone", "--folder out --cols 5", "--cols requires --rows"},
                      {"size 0", "--folder out --size 0", "--size"},
                      {"seed not a number", "--folder out --seed five", "--seed"},
                      {"unknown option", "--folder out --colour 3", "unexpected argument"},
                  },
                  [&] { EXPECT_TRUE(std::filesystem::is_empty(dir.file("out"))); });
}

TEST(RandomCli, DefaultsGiveTheFilesOfASeedFiveRun)
{
    TempDir dir, ref;
    std::filesystem::create_directory(dir.file("out"));
    CliRun run = runCli(dir, "random", "--folder out --cover 10:35:10 --replicates 2 --size 50");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("6 of 6 landscapes of 50 x 50 cells written to out/ (seed 5)"), std::string::npos)
        << run.out;
    const auto expected = engineFiles(ref, 10, 35, 10, 50, 50, 2, 0, 1, 5);
    ASSERT_EQ(expected.size(), 6u);
    for (const auto& name : expected) {
        const std::string written = dir.file("out/" + std::filesystem::path(name).filename().string());
        EXPECT_EQ(readFile(written), readFile(name)) << written;
    }
    EXPECT_EQ(readFile(dir.file("out/random_ListFragStat.fbt")),
              "out/010_50x50_a1.txt\nout/010_50x50_a2.txt\nout/020_50x50_a1.txt\n"
              "out/020_50x50_a2.txt\nout/030_50x50_a1.txt\nout/030_50x50_a2.txt\n");
}

// Numbers are decimal even with a leading zero (not octal), and a repeated option counts with its last value.
TEST(RandomCli, NumbersAreDecimalAndTheLastRepeatCounts)
{
    TempDir dir;
    std::filesystem::create_directory(dir.file("out"));
    const CliRun run = runCli(dir, "random", "--folder out --cover 30:30:1 --size 3 --size 010 --seed 010");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "1 of 1 landscape of 10 x 10 cells written to out/ (seed 10); batch list out/random_ListFragStat.fbt\n");
}

TEST(RandomCli, ClassValuesAndPostStringComeFromConfigUnlessGiven)
{
    TempDir dir, ref;
    std::filesystem::create_directory(dir.file("out"));
    writeFile(dir.file("config.txt"), "SMP_\n, x, 999\n7\n3\n");
    CliRun run = runCli(dir, "random", "--folder out/ --cover 40:40:1 --rows 3 --cols 2 --seed -12");
    ASSERT_EQ(run.status, 0) << run.err;
    auto expected = engineFiles(ref, 40, 40, 1, 3, 2, 1, 3, 7, -12);
    EXPECT_EQ(readFile(dir.file("out/040_3x2_a1.txt")), readFile(expected.at(0)));
    EXPECT_EQ(readFile(dir.file("out/random_ListFragStat.fbt")), "out/040_3x2_a1.txt, x, 999\n");

    run = runCli(dir, "random",
                 "--folder out --cover 40:40:1 --rows 3 --cols 2 --seed -12 --cover-value 1 --matrix-value 0 "
                 "--post-string ,y");
    ASSERT_EQ(run.status, 0) << run.err;
    expected = engineFiles(ref, 40, 40, 1, 3, 2, 1, 0, 1, -12);
    EXPECT_EQ(readFile(dir.file("out/040_3x2_a1.txt")), readFile(expected.at(0)));
    EXPECT_EQ(readFile(dir.file("out/random_ListFragStat.fbt")), "out/040_3x2_a1.txt,y\n");
}

TEST(RandomCli, WriteFailureExitsWithStatusOneAndListsOnlyWholeFiles)
{
    TempDir dir;
    std::filesystem::create_directory(dir.file("out"));
    // A file size limit plays a full disk: 300 x 300 landscapes of 1000000 values pass the limit, those of 1 do not.
    CliRun run = runCli(dir, "random",
                        "--folder out --cover 0:100:100 --size 300 --cover-value 1000000 --matrix-value 1",
                        "trap '' XFSZ; ulimit -f 400 &&");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("cannot write out/100_300x300_a1.txt"), std::string::npos) << run.err;
    EXPECT_NE(run.out.find("1 of 2 landscapes"), std::string::npos) << run.out;
    EXPECT_TRUE(std::filesystem::exists(dir.file("out/000_300x300_a1.txt")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("out/100_300x300_a1.txt")));
    EXPECT_EQ(readFile(dir.file("out/random_ListFragStat.fbt")), "out/000_300x300_a1.txt\n");
}

TEST(RandomCli, InterruptRemovesTheLandscapeCutShort)
{
    TempDir dir;
    std::filesystem::create_directory(dir.file("out"));
    const std::string folder = dir.file("out");
    const std::string file = folder + "/050_20000x20000_a1.txt";
    std::vector<std::string> args{ORVALIS_CLI, "random", "--folder", folder, "--cover", "50:50:1", "--size", "20000"};
    const pid_t pid = spawnCli(dir, args);
    ASSERT_GT(pid, 0);

    // Wait until the landscape is on its way to the disk, then press Ctrl-C.
    for (int i = 0; i < 1000 && filesBeingWritten(pid, folder, true) == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_EQ(filesBeingWritten(pid, folder, true), 1u);
    kill(pid, SIGINT);
    int raw = 0;
    ASSERT_EQ(waitpid(pid, &raw, 0), pid);
    ASSERT_TRUE(WIFEXITED(raw));
    EXPECT_EQ(WEXITSTATUS(raw), 1);
    EXPECT_NE(readFile(dir.file("cli.err")).find("interrupted"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_EQ(unfinishedFiles(folder), 0u);
    EXPECT_EQ(readFile(folder + "/random_ListFragStat.fbt"), "");
}
