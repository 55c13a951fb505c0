// sample.txt read back: both line forms, Windows line ends, names with blanks, and bad lines
// reported by number.
#include "core/sampler/SampleLog.h"
#include "support/NamedCase.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace orvalis;
using namespace orvalis::test;

namespace {

struct LineCase : NamedCase {
    const char* text;
    bool ok;
    const char* file = "";
    double cover = 0;
    int x = 0, y = 0;
    std::optional<double> mapX = std::nullopt, mapY = std::nullopt;
};

class SampleLogLine : public ::testing::TestWithParam<LineCase> {};

}  // namespace

TEST_P(SampleLogLine, ReadsAsLogged)
{
    const LineCase& c = GetParam();
    SampleLogEntry e;
    std::string why;
    ASSERT_EQ(parseSampleLogLine(c.text, e, &why), c.ok) << why;
    if (!c.ok) {
        EXPECT_FALSE(why.empty());
        return;
    }
    EXPECT_EQ(e.name, c.file);
    EXPECT_DOUBLE_EQ(e.cover, c.cover);
    EXPECT_EQ(e.x, c.x);
    EXPECT_EQ(e.y, c.y);
    EXPECT_EQ(e.mapX, c.mapX);
    EXPECT_EQ(e.mapY, c.mapY);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SampleLogLine,
    ::testing::Values(LineCase{{"Tga"}, "windows/SMP_070_001.txt 0.7084 398 304", true, "windows/SMP_070_001.txt", 0.7084, 398, 304},
                      LineCase{{"Map"}, "w/080_001.tif 0.808 99 72 1252635 1257855.5", true, "w/080_001.tif", 0.808, 99, 72,
                               1252635.0, 1257855.5},
                      LineCase{{"NegativeMapCoordinates"}, "a.asc 1 5 6 -82.25 1e-05", true, "a.asc", 1, 5, 6, -82.25, 1e-05},
                      LineCase{{"WindowsLineEnd"}, "a.txt 0.5 10 20\r", true, "a.txt", 0.5, 10, 20},
                      LineCase{{"BlanksInName"}, "/data/my maps/run 2/SMP_010_001.txt 0.1 3 4", true,
                               "/data/my maps/run 2/SMP_010_001.txt", 0.1, 3, 4},
                      LineCase{{"NumbersInNameTga"}, "dir 0.5 1 2/a.txt 0.25 7 8", true, "dir 0.5 1 2/a.txt", 0.25, 7, 8},
                      LineCase{{"TooFewFields"}, "a.txt 0.5 10", false},
                      LineCase{{"NoName"}, "0.5 10 20", false},
                      LineCase{{"CoverNotANumber"}, "a.txt half 10 20", false},
                      LineCase{{"CoverAboveOne"}, "a.txt 1.5 10 20", false},
                      LineCase{{"FractionalCentre"}, "a.txt 0.5 10.5 20", false},
                      LineCase{{"NegativeCentre"}, "a.txt 0.5 -1 20", false},
                      LineCase{{"DecimalComma"}, "a.txt 0,5 10 20", false},
                      LineCase{{"TwoBlanks"}, "a.txt 0.5  10 20", false}),
    CaseName());

TEST(SampleLog, SkipsEmptyLinesAndNamesBadOnes)
{
    TempDir dir;
    writeFile(dir.file("sample.txt"), "w/a.txt 0.5 10 20\r\n\r\nbroken line\nw/b.txt 0.6 30 40\r\nw/c.txt 9 1 1\n");
    const SampleLog log = readSampleLog(dir.file("sample.txt"));
    ASSERT_TRUE(log.ok);
    ASSERT_EQ(log.windows.size(), 2u);
    EXPECT_EQ(log.windows[1].name, "w/b.txt");
    EXPECT_EQ(log.windows[1].line, 4);
    ASSERT_EQ(log.badLines.size(), 2u);
    EXPECT_EQ(log.badLines[0].rfind("line 3:", 0), 0u) << log.badLines[0];
    EXPECT_EQ(log.badLines[1].rfind("line 5:", 0), 0u) << log.badLines[1];
    EXPECT_EQ(loggedFilePath(dir.file("sample.txt"), "w/b.txt"), dir.file("w/b.txt"));
    EXPECT_EQ(loggedFilePath(dir.file("sample.txt"), "/abs/b.txt"), "/abs/b.txt");
    EXPECT_FALSE(readSampleLog(dir.file("missing.txt")).ok);
}
