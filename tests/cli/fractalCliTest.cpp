#include "core/neutral/FractalRun.h"
#include "support/EngineRuns.h"
#include "support/CliRunner.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace orvalis::test;

namespace {

const char* smallRunArguments = "--folder out --h 0.2:0.6:0.2 --cover 10:90:10 --size 24 --replicates 2";

}  // namespace

TEST(FractalCli, BadArgumentsExitWithStatusTwoBeforeWriting)
{
    TempDir dir;
    std::filesystem::create_directory(dir.file("out"));
    expectRefused(dir, "fractal",
                  {
                      {"no folder", "--size 10", "--folder is required"},
                      {"missing folder", "--folder nowhere", "Directory does not exist: nowhere"},
                      {"size above the surface", "--folder out --size 5000", "larger than 4096"},
                      {"size zero", "--folder out --size 0", "--size"},
                      {"H step finer than the names", "--folder out --h 0.1:0.2:0.005", "--h: STEP"},
                      {"H above 1", "--folder out --h 0.1:1.5:0.1", "--h: MAX"},
                      {"H max below min", "--folder out --h 0.6:0.2:0.1", "below MIN"},
                      {"cover max below min", "--folder out --cover 50:10:1", "below MIN"},
                      {"no jobs", "--folder out --jobs 0", "--jobs"},
                      {"unknown option", "--folder out --seed 3", "unexpected argument"},
                  },
                  [&] { EXPECT_TRUE(std::filesystem::is_empty(dir.file("out"))); });
}

TEST(FractalCli, WritesTheEngineFilesWithTheConfiguredValues)
{
    TempDir dir, engine;
    std::filesystem::create_directory(dir.file("out"));
    writeFile(dir.file("config.txt"), "pre\npost\n9\n4\n");
    const CliRun run = runCli(dir, "fractal", std::string(smallRunArguments) + " --jobs 2");
    ASSERT_EQ(run.status, 0) << run.err;

    orvalis::FractalRunParameters p = smallFractalRun(engine.path().string() + "/");
    p.coverValue = 9;
    p.matrixValue = 4;
    p.jobs = 1;
    const orvalis::FractalRunResult r = fractalSeries(p);
    ASSERT_FALSE(r.failed()) << r.message;
    const std::vector<std::string>& expected = r.files;
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(filesIn(dir.file("out")), expected.size());
    for (const std::string& name : expected) {
        const std::string file = dir.file("out/" + std::filesystem::path(name).filename().string());
        EXPECT_EQ(readFile(file), readFile(name)) << file;
    }
    EXPECT_NE(run.out.find(std::to_string(expected.size()) + " landscapes of 24 x 24 cells written to out/"),
              std::string::npos)
        << run.out;

    // Options win over config.txt.
    const CliRun values = runCli(dir, "fractal",
                                 "--folder out --h 0.5:0.5:0.1 --cover 40:40:1 --size 8 "
                                 "--cover-value 1 --matrix-value 0");
    ASSERT_EQ(values.status, 0) << values.err;
    const std::string text = readFile(dir.file("out/0.50_040_00001.txt"));
    EXPECT_EQ(text.find_first_not_of("01 \n"), std::string::npos) << text;
}

TEST(FractalCli, FileThatCannotBeWrittenFailsWithStatusOneAndNamesIt)
{
    TempDir dir;
    std::filesystem::create_directory(dir.file("out"));
    std::filesystem::create_directory(dir.file("out/0.20_010_00001.txt"));
    const CliRun run = runCli(dir, "fractal", smallRunArguments);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("0.20_010_00001.txt"), std::string::npos) << run.err;
}

TEST(FractalCli, LevelsLeftShortAreNamedInTheSummary)
{
    TempDir dir;
    std::filesystem::create_directory(dir.file("out"));
    // One cell is all cover or none: 50 % never comes.
    const CliRun run = runCli(dir, "fractal", "--folder out --h 0.5:0.5:0.1 --cover 50:100:50 --size 1");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("1 of 2 landscapes written; short: H 0.50, 50 % (0 of 1)\n"), std::string::npos)
        << run.out;
}
