#include "core/io/SampleLog.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace orvalis;
using namespace orvalis::test;

namespace {

TEST(SampleLog, NamesTheWindowsWhateverTheirNamesHold)
{
    TempDir dir;
    const std::string here = dir.path().string() + "/";
    const struct {
        const char* name;
        std::string line;
        std::string file;  // "" when the line is refused
    } cases[] = {
        {"TGA window", "windows/SMP030_001.txt 0.3025 120 88", here + "windows/SMP030_001.txt"},
        {"map window", "w/070_001.tif 0.7084 398 304 1234567.5 -89.25", here + "w/070_001.tif"},
        {"blanks in the name", "my windows/a b.txt 1 5 6", here + "my windows/a b.txt"},
        {"name ending in numbers", "w/run 2 3.txt 0 10 20", here + "w/run 2 3.txt"},
        {"numbers that are no map fields", "w/a 12 13 0.5 10 20", here + "w/a 12 13"},
        {"absolute name", "/data/w/a.txt 0.5 1 2", "/data/w/a.txt"},
        {"CRLF", "a.txt 0.5 1 2\r", here + "a.txt"},
        {"too few fields", "a.txt 0.5 1", ""},
        {"no name", "0.5 1 2", ""},
    };
    for (const auto& c : cases) {
        writeFile(dir.file("sample.txt"), c.line + "\n\n");
        std::vector<std::string> files;
        std::string error;
        const bool read = readSampleLogFiles(dir.path() / "sample.txt", files, &error);
        EXPECT_EQ(read, !c.file.empty()) << c.name << ": " << error;
        if (read)
            EXPECT_EQ(files, std::vector<std::string>{c.file}) << c.name;
        else
            EXPECT_EQ(error, dir.file("sample.txt") + " line 1 is no sampled window") << c.name;
    }
}

}  // namespace
