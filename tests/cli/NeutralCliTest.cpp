#include "core/neutral/NeutralModels.h"
#include "support/CliRunner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace orvalis::test;

namespace {

std::vector<std::string> namesIn(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(NeutralCli, BadArgumentsExitWithStatusTwoNamingTheParameter)
{
    TempDir dir;
    std::filesystem::create_directory(dir.file("out"));
    const std::string size = "--folder out --rows 20 --cols 30 ";
    expectRefused(dir, "neutral",
                  {
                      {"unknown model", size + "--cover 30 forest", "unknown neutral model 'forest'"},
                      {"unknown parameter", size + "--cover 30 cluster --param q=1",
                       "unknown parameter 'q'; its parameters: p (0, 1], default 0.5; neighbourhood 4|8|diagonal"},
                      {"out of range", size + "--cover 30 cluster:p=1.5", "p=1.5 is outside (0, 1]"},
                      {"range of 0", size + "--cover 30 gaussian --param range=0", "range=0 is outside (0, 100000]"},
                      {"missing h", size + "--cover 30 fbm", "h is required"},
                      {"proportions", size + "--proportions 0.2,0.3,0.4 random", "must sum to 1"},
                      {"cover and proportions", size + "--cover 30 --proportions 0.5,0.5 random", "either --cover"},
                      {"neither", size + "random", "either --cover"},
                      {"no size", "--folder out --cover 30 random", "--rows R --cols C"},
                      {"cover above 100", size + "--cover 101 random", "'101' is not a cover level"},
                      {"too large for memory", "--folder out --rows 46000 --cols 46000 --jobs 64 --cover 30 gaussian",
                       "GB of memory are free"},
                      {"blend and model", size + "--cover 30 --blend 0.5*planar+0.5*fbm:h=0.5 random", "--blend"},
                  },
                  [&] { EXPECT_TRUE(std::filesystem::is_empty(dir.file("out"))); });
}

TEST(NeutralCli, HelpAndListNameEveryModelOfTheTable)
{
    TempDir dir;
    const CliRun list = runCli(dir, "neutral", "--list-models");
    const CliRun help = runCli(dir, "neutral", "--help");
    ASSERT_EQ(list.status, 0) << list.err;
    ASSERT_EQ(help.status, 0) << help.err;
    for (const orvalis::NeutralModelDef& d : orvalis::neutralModels()) {
        EXPECT_NE(list.out.find(d.name + "\t" + d.title), std::string::npos) << d.name;
        EXPECT_NE(help.out.find("  " + d.name + " "), std::string::npos) << d.name;
        for (const orvalis::ModelParameter& p : d.parameters)
            EXPECT_NE(list.out.find("    " + p.shownName() + " " + p.rangeText()), std::string::npos) << d.name << " " << p.name;
    }
}

// Jobs change nothing; --param and the MODEL:NAME=VALUE form are one model; the names say the
// model, level and replicate; GeoTIFF and ASCII grids are written as well.
TEST(NeutralCli, SameBytesWhateverTheJobsInEveryFormat)
{
    TempDir dir;
    for (const char* folder : {"one", "four", "tif"})
        std::filesystem::create_directory(dir.file(folder));
    const CliRun one = runCli(dir, "neutral", "cluster:p=0.55 --rows 17 --cols 23 --cover 10:30:20 --replicates 2 "
                                             "--seed 4 --folder one --jobs 1");
    const CliRun four = runCli(dir, "neutral", "cluster --param p=0.55 --rows 17 --cols 23 --cover 10,30 --replicates 2 "
                                              "--seed 4 --folder four --jobs 4");
    ASSERT_EQ(one.status, 0) << one.err;
    ASSERT_EQ(four.status, 0) << four.err;
    EXPECT_NE(one.out.find("4 of 4 landscapes of 17 x 23 cells (cluster:p=0.55) written to one (seed 4)"),
              std::string::npos)
        << one.out;
    const std::vector<std::string> names = namesIn(dir.file("one"));
    EXPECT_EQ(names, (std::vector<std::string>{"cluster_p=0.55_010_00001.txt", "cluster_p=0.55_010_00002.txt",
                                               "cluster_p=0.55_030_00001.txt", "cluster_p=0.55_030_00002.txt",
                                               "cluster_p=0.55_ListFragStat.fbt"}));
    for (const std::string& name : names) {
        if (name.ends_with(".txt")) {
            EXPECT_EQ(readFile(dir.file("one/" + name)), readFile(dir.file("four/" + name))) << name;
        }
    }
    const std::string first = readFile(dir.file("one/cluster_p=0.55_030_00001.txt"));
    EXPECT_EQ(std::count(first.begin(), first.end(), '1'), (17 * 23 * 30 + 50) / 100);

    const CliRun tif = runCli(dir, "neutral", "mosaic --rows 9 --cols 8 --proportions 0.25/0.25/0.5 --format tif "
                                             "--cell-size 30 --folder tif --metrics pland");
    ASSERT_EQ(tif.status, 0) << tif.err;
    EXPECT_TRUE(std::filesystem::exists(dir.file("tif/mosaic_classes_00001.tif")));
    const std::string metrics = readFile(dir.file("tif/metrics.csv"));
    EXPECT_NE(metrics.find("mosaic_classes_00001.tif"), std::string::npos) << metrics;
}

TEST(NeutralCli, CompareTakesTheTableModelsAndTheOldFractalForm)
{
    TempDir dir;
    std::string grid;
    for (int r = 0; r < 12; ++r) {
        for (int c = 0; c < 12; ++c)
            grid += (r < 5 && c < 7) ? "1 " : "0 ";
        grid += "\n";
    }
    writeFile(dir.file("w.txt"), grid);
    const std::string common = "w.txt --replicates 3 --metrics np,pland --jobs 2 --output ";
    const CliRun a = runCli(dir, "compare", common + "a --models random,fractal:0.5,cluster:p=0.55,gaussian:range=4");
    const CliRun b = runCli(dir, "compare", common + "b --models random,fractal:h=0.5,cluster:p=0.55,gaussian:range=4");
    ASSERT_EQ(a.status, 0) << a.err;
    ASSERT_EQ(b.status, 0) << b.err;
    const std::string table = readFile(dir.file("a/neutral-metrics.csv"));
    EXPECT_EQ(table, readFile(dir.file("b/neutral-metrics.csv")));
    for (const char* model : {",random,", ",fractal:0.5,", ",cluster:p=0.55,", ",gaussian:range=4,"})
        EXPECT_NE(table.find(model), std::string::npos) << model;
    const CliRun bad = runCli(dir, "compare", common + "c --models random,cluster:p=2");
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("p=2 is outside (0, 1]"), std::string::npos) << bad.err;
}
