// A run that cannot start, or fails at its first file, changes nothing: every command leaves the
// earlier results in its folder, and its inputs, byte for byte as they were.
#include "support/CliRunner.h"
#include "support/NamedCase.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>

using namespace orvalis::test;

namespace {

// Every file and folder under dir with what it holds.
std::map<std::string, std::string> snapshot(const TempDir& dir)
{
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir.path()))
        files[e.path().string()] = e.is_regular_file() ? readFile(e.path().string()) : "(folder)";
    return files;
}

struct FailedStart : NamedCase {
    const char* command;
    std::string arguments;
    std::string prelude;
    std::function<void(const TempDir&)> setup;
    int status;
    const char* message;
};

class FailedStartCli : public testing::TestWithParam<FailedStart> {};

TEST_P(FailedStartCli, LeavesTheEarlierResultsAndItsInputsAsTheyWere)
{
    const FailedStart& c = GetParam();
    TempDir dir;
    std::filesystem::create_directory(dir.file("w"));
    for (const char* earlier : {"random_ListFragStat.fbt", "metrics.csv", "sites.csv", "001_200x200_a1.txt"})
        writeFile(dir.file(std::string("w/") + earlier), std::string("an earlier run's ") + earlier + "\n");
    std::string map = "ncols 6\nnrows 6\nxllcorner 0\nyllcorner 0\ncellsize 10\n";
    for (int r = 0; r < 6; ++r)
        map += r % 2 ? "1 0 1 1 0 1\n" : "0 0 1 1 1 0\n";
    writeFile(dir.file("map.asc"), map);
    writeFile(dir.file("plots.csv"), "id,x,y\nA,1000,1000\nB,-50,20\n");
    if (c.setup)
        c.setup(dir);
    const auto before = snapshot(dir);
    const CliRun run = runCli(dir, c.command, c.arguments, c.prelude);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    const auto after = snapshot(dir);
    for (const auto& [path, bytes] : before)
        EXPECT_TRUE(after.count(path) && after.at(path) == bytes) << path << " changed";
    EXPECT_EQ(after.size(), before.size()) << "files were left behind";
}

const std::string fullDisk = "trap '' XFSZ; ulimit -f 4;";

void earlierSampleLog(const TempDir& dir)
{
    for (const char* earlier : {"sample.txt", "sample-run.txt", "ListFragStat.fbt"})
        writeFile(dir.file(earlier), std::string("an earlier run's ") + earlier + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    EveryCommand, FailedStartCli,
    testing::Values(
        FailedStart{{"random_FirstNameTakenByAFolder"}, "random", "--folder w --cover 1:1:1 --size 10 --metrics pland",
                    "", [](const TempDir& d) { std::filesystem::create_directory(d.file("w/001_10x10_a1.txt")); }, 1,
                    "cannot write w/001_10x10_a1.txt"},
        FailedStart{{"random_FullDisk"}, "random", "--folder w --cover 1:1:1 --size 200 --metrics", fullDisk, {}, 1,
                    "File too large; nothing was replaced"},
        FailedStart{{"fractal_FullDisk"}, "fractal", "--folder w --h 0.5:0.5:0.1 --cover 50:50:1 --size 100 --metrics --jobs 1",
                    fullDisk, {}, 1, "File too large; nothing was replaced"},
        FailedStart{{"neutral_GeoTiffCannotBeWritten"}, "neutral",
                    "random --rows 10 --cols 10 --cover 50 --folder w --format tif --metrics", "GDAL_SKIP=GTiff", {}, 1,
                    "GDAL has no GeoTIFF driver; nothing was replaced"},
        FailedStart{{"sample_GeoTiffCannotBeWritten"}, "sample", "map.asc --habitat 1 --size 4 --folder w --format tif",
                    "GDAL_SKIP=GTiff", earlierSampleLog, 1, "windows cannot be written"},
        FailedStart{{"sample_FirstNameTakenByAFolder"}, "sample", "map.asc --habitat 1 --size 4 --folder w --format txt", "",
                    [](const TempDir& d) {
                        earlierSampleLog(d);
                        for (int cover = 0; cover <= 100; ++cover) {
                            char name[32];
                            std::snprintf(name, sizeof name, "w/%03d_001.txt", cover);
                            std::filesystem::create_directory(d.file(name));
                        }
                    },
                    1, "nothing was replaced"},
        FailedStart{{"metrics_NoFileCanBeMeasured"}, "metrics", "missing.txt map.asc --no-data 1 --output w/metrics.csv",
                    "", [](const TempDir& d) { writeFile(d.file("map.asc"), "1 1 \n1 1 \n"); }, 1,
                    "no file could be measured; w/metrics.csv was left as it was"},
        FailedStart{{"metrics_TableNamedAfterItsInput"}, "metrics", "map.asc --output ./map.asc", "", {}, 2,
                    "the table would replace map.asc"},
        FailedStart{{"sites_NoSiteInsideTheMap"}, "sites", "map.asc plots.csv --radius 10 --output w/sites.csv", "", {},
                    1, "no site could be measured; w/sites.csv was left as it was"},
        FailedStart{{"surface_OutputNamedAfterItsMap"}, "surface", "map.asc --window 3 --metrics shdi --output ./map.asc",
                    "", {}, 2, "the surface would replace map.asc"},
        FailedStart{{"surface_MergeOutputNamedAfterAPart"}, "surface", "--merge p1.tif p2.tif --output ./p1.tif", "",
                    [](const TempDir& d) {
                        for (const char* k : {"1", "2"})
                            runCli(d, "surface", std::string("map.asc --window 3 --metrics shdi --tile ") + k +
                                                     "/2 --output p" + k + ".tif");
                    },
                    2, "the surface would replace p1.tif"}),
    CaseName());

}  // namespace
