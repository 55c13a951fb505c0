#include "support/SamplerTestSupport.h"
#include "support/CliRunner.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace orvalis::test;

namespace {

std::string example()
{
    return sourceDir() + "/examples/augusta_forest.tga";
}

void expectRun(const TempDir& dir, const ReferenceRun& want, const std::string& batchName, const std::string& post)
{
    std::string batch;
    for (const auto& w : want.windows) {
        EXPECT_EQ(readFile(dir.file(w.name)), w.content) << w.name;
        batch += w.name + post + "\n";
    }
    EXPECT_EQ(readFile(dir.file("sample.txt")), want.log());
    EXPECT_EQ(readFile(dir.file(batchName)), batch);
}

TEST(SampleCli, BadArgumentsStopBeforeAnyWork)
{
    TempDir dir;
    std::filesystem::create_directory(dir.file("out"));
    expectRefused(dir, "sample",
                  {
                      {"no folder", example(), "--folder is required"},
                      {"missing folder", example() + " --folder nowhere", "Directory does not exist: nowhere"},
                      {"no image", "--folder out", "IMAGE is required"},
                      {"size 1", example() + " --folder out --size 1", "--size"},
                      {"replicates 0", example() + " --folder out --replicates 0", "--replicates"},
                      {"negative distance", example() + " --folder out --min-distance -1", "--min-distance"},
                      {"cover min 100", example() + " --folder out --cover 100:100:1", "--cover: MIN"},
                      {"cover max 0", example() + " --folder out --cover 0:0:1", "--cover: MAX"},
                      {"cover step 0", example() + " --folder out --cover 1:100:0", "--cover: STEP"},
                      {"cover not a range", example() + " --folder out --cover 1-100", "MIN:MAX:STEP"},
                      {"seed not a number", example() + " --folder out --seed one", "--seed"},
                      {"negative seed", example() + " --folder out --seed -3", "--seed"},
                      {"unknown option", example() + " --folder out --colour 3", "unexpected argument"},
                  },
                  [&] {
                      EXPECT_FALSE(std::filesystem::exists(dir.file("sample.txt")));
                      EXPECT_TRUE(std::filesystem::is_empty(dir.file("out")));
                  });
}

TEST(SampleCli, SeededRunWritesWindowsLogAndBatchList)
{
    TempDir dir;
    std::filesystem::create_directory(dir.file("out"));
    const CliRun run = runCli(dir, "sample",
                              example() + " --folder out/ --size 31 --replicates 2 --min-distance 12 "
                                          "--cover 20:80:15 --prefix R_ --post-string ,P --cover-value 9 "
                                          "--matrix-value 4 --seed 2024");
    ASSERT_EQ(run.status, 0) << run.err;
    const ReferenceRun want =
        referenceRun(readTgaBlue(example()), ReferenceSettings{15, 2, 20, 80, 15, 12, 9, 4, "out", "R_", -1}, 2024);
    ASSERT_FALSE(want.windows.empty());
    expectRun(dir, want, "R_ListFragStat.fbt", ",P");
    EXPECT_NE(run.out.find(std::to_string(want.windows.size()) + " windows written to out"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find(std::to_string(want.tries) + " of 100000 tries"), std::string::npos) << run.out;
}

TEST(SampleCli, WithoutSeedEveryRunStartsLikeTheProgramsFirst)
{
    TempDir dir;
    std::filesystem::create_directory(dir.file("w"));
    const ReferenceRun want =
        referenceRun(readTgaBlue(example()), ReferenceSettings{20, 1, 30, 60, 10, 10, 1, 0, "w", "", -1}, 1);
    for (int i = 0; i < 2; ++i) {
        const CliRun run = runCli(dir, "sample", example() + " --folder w --size 40 --cover 30:60:10");
        ASSERT_EQ(run.status, 0) << run.err;
        expectRun(dir, want, "ListFragStat.fbt", "");
    }
}

TEST(SampleCli, ConfigFileGivesDefaultsThatOptionsOverride)
{
    TempDir dir;
    std::filesystem::create_directory(dir.file("w"));
    writeFile(dir.file("config.txt"), "CFG_\n;post\n7\n3\n");
    const BlueImage img = readTgaBlue(example());
    CliRun run = runCli(dir, "sample", example() + " --folder w --size 30 --cover 40:60:10 --seed 5");
    ASSERT_EQ(run.status, 0) << run.err;
    expectRun(dir, referenceRun(img, ReferenceSettings{15, 1, 40, 60, 10, 10, 7, 3, "w", "CFG_", -1}, 5),
              "CFG_ListFragStat.fbt", ";post");

    run = runCli(dir, "sample",
                 example() + " --folder w --size 30 --cover 40:60:10 --seed 5 --prefix O_ --matrix-value 8");
    ASSERT_EQ(run.status, 0) << run.err;
    expectRun(dir, referenceRun(img, ReferenceSettings{15, 1, 40, 60, 10, 10, 7, 8, "w", "O_", -1}, 5),
              "O_ListFragStat.fbt", ";post");
}

TEST(SampleCli, FailedRunsExitWithStatusOneAndSayWhy)
{
    TempDir dir;
    std::filesystem::create_directory(dir.file("w"));
    writeFile(dir.file("broken.tga"), std::string(18, '\0'));
    CliRun run = runCli(dir, "sample", "broken.tga --folder w");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("cannot load the image 'broken.tga'"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("ListFragStat.fbt")));

    std::filesystem::create_directory(dir.file("sample.txt"));  // the log cannot be created
    run = runCli(dir, "sample", example() + " --folder w");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("sample.txt"), std::string::npos) << run.err;
    EXPECT_TRUE(std::filesystem::is_empty(dir.file("w")));
}

// Windows of a format GDAL cannot write fail before the log and the list of the last run are
// replaced (here GDAL is kept from its GeoTIFF driver; the map is an ESRI ASCII grid).
TEST(SampleCli, AFormatThatCannotBeWrittenLeavesTheLastRunsLists)
{
    TempDir dir;
    std::filesystem::create_directory(dir.file("w"));
    std::string grid = "ncols 40\nnrows 40\nxllcorner 0\nyllcorner 0\ncellsize 30\n";
    for (int r = 0; r < 40; ++r) {
        for (int c = 0; c < 40; ++c)
            grid += (r + c) % 3 ? "41 " : "81 ";
        grid += "\n";
    }
    writeFile(dir.file("map.asc"), grid);
    writeFile(dir.file("sample.txt"), "earlier.txt 0.5 10 10\n");
    writeFile(dir.file("ListFragStat.fbt"), "earlier.txt, x\n");
    const CliRun run = runCli(dir, "sample", "map.asc --habitat 41 --folder w --size 10 --format tif", "GDAL_SKIP=GTiff");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("windows cannot be written"), std::string::npos) << run.err;
    EXPECT_EQ(readFile(dir.file("sample.txt")), "earlier.txt 0.5 10 10\n");
    EXPECT_EQ(readFile(dir.file("ListFragStat.fbt")), "earlier.txt, x\n");
    EXPECT_TRUE(std::filesystem::is_empty(dir.file("w")));
}

}  // namespace
