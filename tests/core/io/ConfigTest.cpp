#include "core/io/Config.h"

#include "support/Timing.h"
#include "support/FileSizeLimit.h"
#include "support/NamedCase.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using orvalis::test::QuickSeconds;
using orvalis::test::secondsFor;

#include <sys/stat.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <filesystem>

namespace {

using orvalis::ConfigResult;
using orvalis::Settings;
using namespace orvalis::test;

struct ReadCase : NamedCase {
    std::string bytes;
    Settings expected;
    int valuesRead;
};

class ConfigReadTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ConfigReadTest, GivesTheSettingsOfTheFile)
{
    const ReadCase& c = GetParam();
    TempDir dir;
    writeFile(dir.file("config.txt"), c.bytes);
    Settings s;
    const ConfigResult r = orvalis::readConfig(dir.file("config.txt"), s);
    EXPECT_EQ(s.samplePrefix, c.expected.samplePrefix);
    EXPECT_EQ(s.samplePostString, c.expected.samplePostString);
    EXPECT_EQ(s.coverValue, c.expected.coverValue);
    EXPECT_EQ(s.matrixValue, c.expected.matrixValue);
    EXPECT_EQ(r.valuesRead, c.valuesRead);
    EXPECT_EQ(r.ok, c.valuesRead == 4) << r.error;
    EXPECT_FALSE(r.missing);
    EXPECT_EQ(r.error.empty(), r.ok);
}

// Defaults are empty strings, cover 1 and matrix 0.
INSTANTIATE_TEST_SUITE_P(
    Files, ConfigReadTest,
    ::testing::Values(
        ReadCase{"FourLines", "SMP_\n\n1\n0\n", {"SMP_", "", 1, 0}, 4},
        ReadCase{"WindowsLineEnds", "SMP_\r\n  a, b ,c \r\n7\r\n-3\r\n", {"SMP_", "  a, b ,c ", 7, -3}, 4},
        ReadCase{"IntegersOnOneLine", "p\nq\n  12   34\n", {"p", "q", 12, 34}, 4},
        ReadCase{"IntegersAfterBlankLines", "p\nq\n\n\n\t 12\n\n34", {"p", "q", 12, 34}, 4},
        ReadCase{"SignsAndLeadingZeros", "p\nq\n+007\n-0012\n", {"p", "q", 7, -12}, 4},
        ReadCase{"NoFinalLineEnd", "p\nq\n5\n6", {"p", "q", 5, 6}, 4},
        ReadCase{"ExtremeIntegers", "p\nq\n-2147483648\n2147483647\n", {"p", "q", INT_MIN, INT_MAX}, 4},
        ReadCase{"AboveTheSpinBoxRange", "p\nq\n123456\n-7654321\n", {"p", "q", 123456, -7654321}, 4},
        ReadCase{"TabsKeptInStrings", "\tp\t\nq \n1\n0\n", {"\tp\t", "q ", 1, 0}, 4},
        ReadCase{"Latin1File", "Amostra_\xe7\xe3o\r\n, \xe9t\xe9\r\n1\r\n0\r\n",
                 {"Amostra_\xc3\xa7\xc3\xa3o", ", \xc3\xa9t\xc3\xa9", 1, 0}, 4},
        ReadCase{"Utf8File", "Amostra_\xc3\xa7\xc3\xa3o\n, \xc3\xa9t\xc3\xa9\n1\n0\n",
                 {"Amostra_\xc3\xa7\xc3\xa3o", ", \xc3\xa9t\xc3\xa9", 1, 0}, 4},
        ReadCase{"ByteOrderMarkDropped", "\xef\xbb\xbfSMP_\r\n\r\n1\r\n0\r\n", {"SMP_", "", 1, 0}, 4},
        ReadCase{"NumberGluedToText", "p\nq\n12abc\n5\n", {"p", "q", 12, 0}, 3},
        ReadCase{"DecimalPointEndsTheNumber", "p\nq\n1.5\n0\n", {"p", "q", 1, 0}, 3},
        ReadCase{"TextWhereCoverBelongsStopsTheRest", "p\nq\nabc\n5\n", {"p", "q", 1, 0}, 2},
        ReadCase{"TextWhereMatrixBelongs", "p\nq\n5\nx\n", {"p", "q", 5, 0}, 3},
        ReadCase{"SignWithoutDigits", "p\nq\n- 5\n6\n", {"p", "q", 1, 0}, 2},
        ReadCase{"OverflowStopsTheRest", "p\nq\n2147483648\n5\n", {"p", "q", 1, 0}, 2},
        ReadCase{"NegativeOverflow", "p\nq\n4\n-2147483649\n", {"p", "q", 4, 0}, 3},
        ReadCase{"OnlyTheIntegersMissing", "p\nq\n", {"p", "q", 1, 0}, 2},
        ReadCase{"OneLine", "p", {"p", "", 1, 0}, 1},
        ReadCase{"EmptyFile", "", {"", "", 1, 0}, 0},
        ReadCase{"BinaryFile", std::string("\x7f" "ELF\x02\x01\x01\0\0\0\n\x03\x00\n1\n0\n", 17), {"", "", 1, 0}, 0},
        ReadCase{"ControlBytesInThePostString", "p\nq\x01\n1\n0\n", {"p", "", 1, 0}, 1},
        ReadCase{"PngHeader", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), {"", "", 1, 0}, 0},
        ReadCase{"C1ControlInUtf8", "p\xc2\x85q\nr\n1\n0\n", {"", "", 1, 0}, 0},
        ReadCase{"Latin1LettersNextToTheControlRange", "\xa0\xff\n\xc0\n1\n0\n", {"\xc2\xa0\xc3\xbf", "\xc3\x80", 1, 0}, 4}),
    CaseName());

TEST(ConfigRead, MissingFileIsNotAFault)
{
    TempDir dir;
    Settings s;
    const ConfigResult r = orvalis::readConfig(dir.file("config.txt"), s);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.missing);
    EXPECT_EQ(r.valuesRead, 0);
    EXPECT_EQ(s.coverValue, 1);
}

TEST(ConfigRead, FolderPipeAndDeviceAreRefusedWithoutBlocking)
{
    TempDir dir;
    std::filesystem::create_directory(dir.file("folder"));
    ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0600), 0);
    for (const std::string& path : {dir.file("folder"), dir.file("pipe"), std::string("/dev/zero")}) {
        Settings s;
        const ConfigResult r = orvalis::readConfig(path, s);
        EXPECT_FALSE(r.ok) << path;
        EXPECT_FALSE(r.missing) << path;
        EXPECT_FALSE(r.error.empty()) << path;
        EXPECT_EQ(s.samplePrefix, "") << path;
        EXPECT_EQ(s.coverValue, 1) << path;
    }
}

TEST(ConfigRead, HugeSingleLineIsRefusedQuickly)
{
    TempDir dir;
    const std::string path = dir.file("config.txt");
    {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        const std::string chunk(1 << 20, 'a');
        for (int i = 0; i < 100; ++i)
            std::fwrite(chunk.data(), 1, chunk.size(), f);
        std::fclose(f);
    }
    Settings s;
    ConfigResult r;
    EXPECT_LT(secondsFor([&] { r = orvalis::readConfig(path, s); }), QuickSeconds);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.valuesRead, 0);
    EXPECT_NE(r.error.find("longer than"), std::string::npos) << r.error;
    EXPECT_EQ(s.samplePrefix, "");
}

TEST(ConfigRead, OverlongPostStringDoesNotChangeHowTheNameIsDecoded)
{
    TempDir dir;
    const std::string path = dir.file("config.txt");
    writeFile(path, "Amostra_\xc3\xa7\xc3\xa3o\n" + std::string(orvalis::MaxConfigLineBytes + 10, '\xe9') + "\n1\n0\n");
    Settings s;
    const ConfigResult r = orvalis::readConfig(path, s);
    EXPECT_EQ(r.valuesRead, 1);
    EXPECT_EQ(s.samplePrefix, "Amostra_\xc3\xa7\xc3\xa3o");
    EXPECT_EQ(s.samplePostString, "");
}

TEST(ConfigRead, HugeRunsOfDigitsOrBlanksStayFast)
{
    TempDir dir;
    const std::string path = dir.file("config.txt");
    for (char fill : {'7', ' '}) {
        writeFile(path, "p\nq\n" + std::string(100u << 20, fill));
        Settings s;
        ConfigResult r;
        EXPECT_LT(secondsFor([&] { r = orvalis::readConfig(path, s); }), QuickSeconds);
        EXPECT_EQ(r.valuesRead, 2) << fill;
        EXPECT_EQ(s.samplePostString, "q");
        EXPECT_EQ(s.coverValue, 1);
    }
}

struct RoundTripCase : NamedCase {
    Settings settings;
};

class ConfigRoundTripTest : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(ConfigRoundTripTest, ReadsBackWhatWasWritten)
{
    const Settings& in = GetParam().settings;
    TempDir dir;
    const std::string path = dir.file("config.txt");
    ASSERT_TRUE(orvalis::writeConfig(path, in).ok);
    Settings out;
    out.coverValue = 12345;
    out.matrixValue = 54321;
    const ConfigResult r = orvalis::readConfig(path, out);
    EXPECT_TRUE(r.ok) << r.error;
    EXPECT_EQ(out.samplePrefix, in.samplePrefix);
    EXPECT_EQ(out.samplePostString, in.samplePostString);
    EXPECT_EQ(out.coverValue, in.coverValue);
    EXPECT_EQ(out.matrixValue, in.matrixValue);
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
}

INSTANTIATE_TEST_SUITE_P(
    Settings, ConfigRoundTripTest,
    ::testing::Values(RoundTripCase{"Plain", {"SMP_", "", 1, 0}},
                      RoundTripCase{"EmptyStrings", {"", "", -5, 7}},
                      RoundTripCase{"BlanksAndCommas", {"  a b  ", " , x, 999, 1, 1, IDF_ASCII ,", 2, 3}},
                      RoundTripCase{"NonAscii", {"\xc3\x81rea_\xe6\x97\xa5\xe6\x9c\xac_", "\xf0\x9f\x8c\xb2 \xc3\xa7", 9, 8}},
                      RoundTripCase{"FolderInPrefix", {"out/run 1/SMP_", "x", 1, 0}},
                      RoundTripCase{"ExtremeIntegers", {"p", "q", INT_MIN, INT_MAX}},
                      RoundTripCase{"LeadingDigitsInPostString", {"1", "2", 3, 4}}),
    CaseName());

TEST(ConfigWrite, FourLinesWhateverTheOldLayout)
{
    TempDir dir;
    const std::string path = dir.file("config.txt");
    writeFile(path, "SMP_\r\n\r\n1 0 trailing junk\r\n");
    ASSERT_TRUE(orvalis::writeConfig(path, Settings{"SMP_", "", 1, 0}).ok);
    EXPECT_EQ(readFile(path), "SMP_\n\n1\n0\n");
}

TEST(ConfigWrite, StringsThatCouldNotBeReadBackAreRefused)
{
    TempDir dir;
    const std::string path = dir.file("config.txt");
    writeFile(path, "old\n\n1\n0\n");
    const Settings bad[] = {{"a\nb", "", 1, 0},
                            {"a", "b\r", 1, 0},
                            {std::string("a\0b", 3), "", 1, 0},
                            {"a", std::string(orvalis::MaxConfigLineBytes + 1, 'x'), 1, 0}};
    for (const Settings& s : bad) {
        const ConfigResult r = orvalis::writeConfig(path, s);
        EXPECT_FALSE(r.ok);
        EXPECT_FALSE(r.error.empty());
        EXPECT_EQ(readFile(path), "old\n\n1\n0\n");
    }
}

TEST(ConfigWrite, FailureIsReportedAndTouchesNothing)
{
    TempDir dir;
    std::filesystem::create_directory(dir.file("config.txt"));
    writeFile(dir.file("file"), "x");
    for (const std::string& path : {dir.file("config.txt"), dir.file("file") + "/config.txt",
                                   dir.file("missing") + "/config.txt", std::string("/dev/full")}) {
        const ConfigResult r = orvalis::writeConfig(path, Settings{"p", "q", 1, 0});
        EXPECT_FALSE(r.ok) << path;
        EXPECT_FALSE(r.error.empty()) << path;
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("config.txt")));
    EXPECT_TRUE(std::filesystem::is_empty(dir.file("config.txt")));
    EXPECT_EQ(readFile(dir.file("file")), "x");
    EXPECT_FALSE(std::filesystem::exists(dir.file("config.txt.tmp")));
}

TEST(ConfigWrite, FailedRewriteKeepsTheOldFile)
{
    TempDir dir;
    const std::string path = dir.file("config.txt");
    writeFile(path, "old\n\n1\n0\n");
    ConfigResult r;
    {
        FileSizeLimit limit(64);
        r = orvalis::writeConfig(path, Settings{std::string(200, 'p'), "", 1, 0});
    }
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.empty());
    EXPECT_EQ(readFile(path), "old\n\n1\n0\n");
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
}

TEST(ConfigWrite, LinkStaysALinkAndItsTargetIsRewritten)
{
    TempDir dir;
    writeFile(dir.file("shared.txt"), "old\n\n1\n0\n");
    std::filesystem::create_symlink(dir.file("shared.txt"), dir.file("config.txt"));
    ASSERT_TRUE(orvalis::writeConfig(dir.file("config.txt"), Settings{"new", "", 2, 3}).ok);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("config.txt")));
    EXPECT_EQ(readFile(dir.file("shared.txt")), "new\n\n2\n3\n");
}

TEST(ConfigWrite, KeepsThePermissionsOfTheOldFile)
{
    TempDir dir;
    const std::string path = dir.file("config.txt");
    writeFile(path, "old\n\n1\n0\n");
    namespace fs = std::filesystem;
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(orvalis::writeConfig(path, Settings{"new", "", 1, 0}).ok);
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
}

}  // namespace
