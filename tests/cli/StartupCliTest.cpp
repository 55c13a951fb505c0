#include "support/CliRunner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

using namespace orvalis::test;

namespace {

// The libraries the dynamic loader mapped for one run, as LD_DEBUG=files logs them.
std::string loaderLog(const TempDir& dir, const std::string& command, const std::string& arguments, int& status)
{
    std::filesystem::remove_all(dir.file("ld"));
    std::filesystem::create_directory(dir.file("ld"));
    const CliRun run = runCli(dir, command, arguments, "export LD_DEBUG=files LD_DEBUG_OUTPUT=ld/log;");
    status = run.status;
    std::string log;
    for (const auto& entry : std::filesystem::directory_iterator(dir.file("ld")))
        log += readFile(entry.path().string());
    return log;
}

// A script that measures thousands of files one call at a time pays each start: the commands
// that need neither maps nor charts must not load GDAL or Qt, and the others must still get them.
TEST(Startup, OnlyTheRunsThatNeedGdalOrQtLoadThem)
{
    TempDir dir;
    std::filesystem::create_directory(dir.file("out"));
    writeFile(dir.file("grid.txt"), "0 1 1 0 \n1 1 0 0 \n0 0 1 1 \n1 0 1 0 \n");
    const std::string tga = sourceDir() + "/examples/augusta_forest.tga";
    const std::string map = sourceDir() + "/examples/augusta_nlcd.tif";
    struct Case {
        const char* name;
        std::string command, arguments;
        bool gdal;
        bool qt = false;
    };
    const Case cases[] = {
        {"version", "--version", "", false},
        {"random", "random", "--folder out --size 20 --cover 30:30:1", false},
        {"fractal", "fractal", "--folder out --size 16 --h 0.5:0.5:0.1 --cover 30:30:1 --jobs 1", false},
        {"sample of a TGA", "sample", tga + " --folder out --size 20 --cover 30:30:1 --seed 1", false},
        {"metrics of a text grid", "metrics", "grid.txt --output -", false},
        {"neutral landscapes as text grids", "neutral", "random --rows 8 --cols 8 --cover 30 --folder out", false},
        {"neutral landscapes as GeoTIFFs", "neutral",
         "random --rows 8 --cols 8 --cover 30 --folder out --format tif", true},
        {"metrics of a map", "metrics", map + " --output -", true},
        {"sample of a map", "sample", map + " --habitat 41-43 --folder out --size 20 --cover 30:30:1 --seed 1", true},
        {"the list of commands", "--help", "", false},
        {"help of a command that reads maps", "surface", "--help", false},
        {"a comparison's tables and charts", "compare", "grid.txt --replicates 2 --models random --output cmp", false,
         true},
    };
    // A build without the window's libraries has no charts to draw.
    const bool charts = std::filesystem::exists(std::filesystem::path(ORVALIS_CLI).parent_path() / "orvalis-charts.so");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int status = -1;
        const std::string log = loaderLog(dir, c.command, c.arguments, status);
        EXPECT_EQ(status, 0);
        ASSERT_NE(log.find("generating link map"), std::string::npos) << "no loader log";
        EXPECT_EQ(log.find("libgdal.so") != std::string::npos, c.gdal);
        EXPECT_EQ(log.find("libQt6Charts.so") != std::string::npos, c.qt && charts);
    }
}

// orvalis-cli copied alone, away from its modules: what needs none still runs, and what needs one
// says which part is not installed instead of failing obscurely.
TEST(Startup, WithoutItsModulesTheProgramSaysWhatIsMissing)
{
    TempDir dir;
    std::filesystem::create_directories(dir.file("bin"));
    std::filesystem::create_directory(dir.file("out"));
    const std::string alone = dir.file("bin/orvalis-cli");
    std::filesystem::copy_file(ORVALIS_CLI, alone);
    writeFile(dir.file("grid.txt"), "0 1 1 0 \n1 1 0 0 \n0 0 1 1 \n1 0 1 0 \n");
    const std::string map = sourceDir() + "/examples/augusta_nlcd.tif";
    struct Case {
        const char* name;
        std::string arguments;
        int status;
        std::string message;
    };
    const Case cases[] = {
        {"random", "random --folder out --size 20 --cover 30:30:1", 0, ""},
        {"metrics of the catalogue", "metrics --list-metrics", 0, ""},
        {"a comparison, whose tables need no module", "compare grid.txt --replicates 2 --models random --output cmp",
         0, "orvalis-cli compare: warning: no pictures: chart drawing is not installed: no orvalis-charts.so in "},
        {"sample of a map", "sample " + map + " --habitat 41-43 --folder out --size 20", 1,
         "orvalis-cli sample: reading and writing maps through GDAL is not installed: no orvalis-gdal.so in "},
        {"metrics of a map", "metrics " + map + " --output -", 1,
         "orvalis-cli metrics: " + map + ": reading and writing maps through GDAL is not installed: no orvalis-gdal.so in "},
        {"sites", "sites " + map + " sites.csv --radius 100", 1,
         "orvalis-cli sites: " + map + ": reading and writing maps through GDAL is not installed: no orvalis-gdal.so in "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string line = "cd '" + dir.path().string() + "' && exec '" + alone + "' " + c.arguments +
                                 " >cli.out 2>cli.err";
        const int raw = std::system(line.c_str());
        EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, c.status);
        const std::string err = readFile(dir.file("cli.err"));
        EXPECT_NE(err.find(c.message), std::string::npos) << err;
    }
}

}  // namespace
