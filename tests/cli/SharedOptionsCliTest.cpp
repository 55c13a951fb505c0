#include "support/CliRunner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

using namespace orvalis::test;

namespace {

// Options every command reads the same way must fail the same way, whichever command it is.
TEST(SharedOptions, SameMistakeGivesTheSameMessageInEveryCommand)
{
    TempDir dir;
    std::filesystem::create_directory(dir.file("out"));
    writeFile(dir.file("file.txt"), "not a folder");
    struct Case {
        const char* name;
        std::string arguments;
        std::string message;
    };
    const Case cases[] = {
        {"cover value not a number", "--folder out --cover-value x", "--cover-value: 'x' is not a whole number"},
        {"matrix value above an int", "--folder out --matrix-value 2147483648",
         "--matrix-value: 2147483648 is outside -2147483648..2147483647"},
        {"cover value read before matrix value", "--folder out --matrix-value y --cover-value x",
         "--cover-value: 'x' is not a whole number"},
        {"no replicates", "--folder out --replicates 0", "--replicates: 0 is outside 1..999999"},
        {"folder without a value", "--folder", "--folder: 1 required DIR missing"},
        {"empty folder", "--folder=", "--folder: 1 required DIR missing"},
        {"folder that is a file", "--folder file.txt", "--folder: Directory is actually a file: file.txt"},
        {"unknown option", "--folder out --colour 3", "unexpected argument '--colour'"},
    };
    for (const char* command : {"sample", "random", "fractal"}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(command) + ": " + c.name);
            // The sample command wants its image too; the option mistake is reported first.
            const std::string image = std::string(command) == "sample" ? "image.tga " : "";
            const CliRun run = runCli(dir, command, image + c.arguments);
            EXPECT_EQ(run.status, 2);
            EXPECT_EQ(run.err, "orvalis-cli " + std::string(command) + ": " + c.message + "\nTry 'orvalis-cli " +
                                   command + " --help'.\n");
            EXPECT_EQ(run.out, "");
            EXPECT_TRUE(std::filesystem::is_empty(dir.file("out")));
        }
    }
}

TEST(SharedOptions, HelpIsAskedTheSameWayEverywhereAndNamesEveryOption)
{
    TempDir dir;
    const std::map<std::string, std::vector<const char*>> named = {
        {"sample",
         {"--folder", "--size", "--replicates", "--min-distance", "--cover", "--prefix", "--post-string",
          "--cover-value", "--matrix-value", "--seed", "config.txt", "sample.txt", "ListFragStat.fbt", "Ctrl-C"}},
        {"random",
         {"--folder", "--cover", "--size", "--rows", "--cols", "--replicates", "--seed", "--cover-value",
          "--matrix-value", "--post-string", "config.txt", "random_ListFragStat.fbt"}},
        {"fractal",
         {"--folder", "--h", "--cover", "--size", "--replicates", "--cover-value", "--matrix-value", "--jobs",
          "config.txt"}},
    };
    for (const auto& [command, words] : named) {
        for (const char* flag : {"--help", "-h", "--folder nowhere --help"}) {
            SCOPED_TRACE(command + " " + flag);
            const CliRun run = runCli(dir, command, flag);
            EXPECT_EQ(run.status, 0);
            EXPECT_EQ(run.out.rfind("usage: orvalis-cli " + command, 0), 0u) << run.out;
            EXPECT_EQ(run.err, "");
            for (const char* word : words)
                EXPECT_NE(run.out.find(word), std::string::npos) << word;
            EXPECT_NE(run.out.find("Exit status"), std::string::npos);
        }
    }
}

// What the program answers before any command: its version, its help, and refusals.
TEST(Program, AnswersWithoutACommand)
{
    TempDir dir;
    struct Case {
        const char* name;
        std::string arguments;
        int status;
        std::string outStart, errStart;
    };
    const Case cases[] = {
        {"version", "--version", 0, "orvalis-cli " ORVALIS_VERSION "\n", ""},
        {"help", "--help", 0, "usage: orvalis-cli", ""},
        {"nothing", "", 2, "", "usage: orvalis-cli"},
        {"unknown command", "map --folder out", 2, "", "orvalis-cli: unknown command 'map'\nusage: orvalis-cli"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CliRun run = runCli(dir, c.arguments, "");
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.out.substr(0, c.outStart.size()), c.outStart);
        EXPECT_EQ(run.out.empty(), c.outStart.empty()) << run.out;
        EXPECT_EQ(run.err.substr(0, c.errStart.size()), c.errStart);
        EXPECT_EQ(run.err.empty(), c.errStart.empty()) << run.err;
    }
}

}  // namespace
