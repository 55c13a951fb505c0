#include "core/io/LandscapeWriter.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using orvalis::LandscapeGrid;
using orvalis::parseLandscape;
using orvalis::parseLandscapeField;
using orvalis::test::TempDir;

TEST(LandscapeFile, LineSplittingRules)
{
    struct Case {
        const char* name;
        std::string text;
        LandscapeGrid expected;
    };
    const Case cases[] = {
        {"empty file", "", {}},
        {"only line ends", "\n\n\r\n", {}},
        {"trailing blank keeps both", "5 7 \n", {{5, 7}}},
        {"no trailing blank loses last", "5 7\n", {{5}}},
        {"single value skipped", "5\n", {}},
        {"double blank gives empty field", "5  7 \n", {{5, 0, 7}}},
        {"leading blank", " 5 7 \n", {{0, 5, 7}}},
        {"letter reads as zero", "5 x 7 \n", {{5, 0, 7}}},
        {"signs", "-3 +4 \n", {{-3, 4}}},
        {"eleven digits reads as zero", "12345678901 1 \n", {{0, 1}}},
        {"last line without line end", "1 2 \n3 4 ", {{1, 2}, {3, 4}}},
        {"ragged lines stay ragged", "1 \n1 2 3 \n1 2 \n", {{1}, {1, 2, 3}, {1, 2}}},
        {"crlf", "1 0 \r\n0 1 \r\n", {{1, 0}, {0, 1}}},
        {"tab stays inside its field", "5\t7 9 \n", {{0, 9}}},
        {"tab around a number is white space", "\t5\t 9 \n", {{5, 9}}},
        {"blank-only line gives one empty field", " \n", {{0}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parseLandscape(c.text), c.expected) << c.name;
}

TEST(LandscapeFile, FieldConversion)
{
    struct Case {
        const char* field;
        int value;
    };
    const Case cases[] = {
        {"0", 0},          {"-0", 0},         {"007", 7},         {"2147483647", 2147483647},
        {"2147483648", 0}, {"-2147483648", -2147483647 - 1},     {"-2147483649", 0},
        {"+", 0},          {"-", 0},          {"--1", 0},         {"+-1", 0},
        {"1.0", 0},        {"1e3", 0},        {"0x10", 0},        {"1,000", 0},
        {"\t\v\f12\r", 12}, {"\xA0" "8", 0},  {"9\x85", 0},       {"99999999999999999999", 0},
        {"00000000000000000042", 42},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parseLandscapeField(c.field), c.value) << '"' << c.field << '"';
}

TEST(LandscapeFile, WriterLayoutAndRoundTrip)
{
    TempDir dir;
    std::string path = dir.file("grid.txt");
    ASSERT_TRUE(orvalis::writeLandscapeFile(path, {{1, 0}, {0, 1}}));
    EXPECT_EQ(orvalis::test::readFile(path), "1 0 \n0 1 \n");

    // Many distinct values, extremes included, exercise the writer's cache of value texts.
    LandscapeGrid grid;
    for (int r = 0; r < 50; ++r) {
        std::vector<int> line;
        for (int c = 0; c < 37; ++c)
            line.push_back((r * 37 + c) % 5 == 0 ? -2147483647 - 1 : (r * 131 + c * 7) % 9 - 4);
        grid.push_back(line);
    }
    grid.push_back({2147483647});
    grid.push_back({});
    ASSERT_TRUE(orvalis::writeLandscapeFile(path, grid));
    LandscapeGrid back;
    ASSERT_TRUE(orvalis::readLandscapeFile(path, back).ok);
    grid.pop_back();  // an empty line is a lone line end, which the reader skips
    EXPECT_EQ(back, grid);
}

TEST(LandscapeFile, WriterTextMatchesPlainFormattingWhateverTheValueMix)
{
    // Two one-digit values take a shortcut; a third value, a sign or a second digit must not.
    const std::vector<std::vector<int>> lines = {
        {0, 1, 1, 0}, {1, 0, 0, 0, 1}, {0, 1, 7, 0}, {7, 0, 7}, {1, 1}, {-1, 0, -1}, {0, 1}, {10, 1, 0}, {}, {0},
        {9, 8, 9, 8}, {8, 8, 9}, {0, 1, 0}};
    TempDir dir;
    std::string path = dir.file("mix.txt");
    orvalis::LandscapeWriter writer;
    ASSERT_TRUE(writer.open(path));
    std::string expected;
    for (const auto& line : lines) {
        ASSERT_TRUE(writer.writeLine(line));
        for (int v : line)
            expected += std::to_string(v) + " ";
        expected += "\n";
    }
    ASSERT_TRUE(writer.close());
    EXPECT_EQ(orvalis::test::readFile(path), expected);
}

TEST(LandscapeFile, FlagLinesWriteWhatWriteLineWritesForTheSameValues)
{
    // One-digit pairs take a vector path; signs, two digits and the extremes take the general one.
    struct Pair {
        const char* name;
        int ifZero, ifOne;
    };
    const Pair pairs[] = {
        {"zero one", 0, 1},          {"one zero", 1, 0},        {"five nine", 5, 9},
        {"same value twice", 3, 3},  {"negative", -1, 0},       {"two digits", 10, 1},
        {"int min", 0, -2147483647 - 1}, {"int max", 2147483647, 7}, {"both wide", -45, 123456},
    };
    // Lengths around the 16-cell steps, with flags that are not just 0 and 1.
    std::vector<std::vector<unsigned char>> flagLines;
    for (std::size_t n : {0u, 1u, 15u, 16u, 17u, 31u, 33u, 100u, 40000u}) {
        std::vector<unsigned char> flags(n);
        for (std::size_t i = 0; i < n; ++i)
            flags[i] = (i * 7 + n) % 5 == 0 ? 0 : static_cast<unsigned char>((i % 3 == 0) ? 0xFF : 1 + i % 2);
        flagLines.push_back(flags);
    }
    TempDir dir;
    for (const Pair& pair : pairs) {
        const std::string byFlags = dir.file("flags.txt"), byValues = dir.file("values.txt");
        orvalis::LandscapeWriter flagWriter, valueWriter;
        ASSERT_TRUE(flagWriter.open(byFlags));
        ASSERT_TRUE(valueWriter.open(byValues));
        for (const auto& flags : flagLines) {
            std::vector<int> values;
            for (unsigned char f : flags)
                values.push_back(f ? pair.ifOne : pair.ifZero);
            ASSERT_TRUE(flagWriter.writeFlagLine(flags, pair.ifZero, pair.ifOne)) << pair.name;
            ASSERT_TRUE(valueWriter.writeLine(values)) << pair.name;
            // Lines of either kind share one buffer.
            ASSERT_TRUE(flagWriter.writeLine(values)) << pair.name;
            ASSERT_TRUE(valueWriter.writeLine(values)) << pair.name;
        }
        ASSERT_TRUE(flagWriter.close());
        ASSERT_TRUE(valueWriter.close());
        const std::string text = orvalis::test::readFile(byFlags);
        EXPECT_EQ(text, orvalis::test::readFile(byValues)) << pair.name;
        EXPECT_GT(text.size(), 160000u) << pair.name;
    }
}

TEST(LandscapeFile, WholeGridTextIsWhatWriteLineWritesWhateverTheThreads)
{
    struct Shape {
        int rows, cols;
    };
    // Blocks of rows cut at a million cells: grids of one block, of several, and one cell wide.
    TempDir dir;
    for (const Shape& shape : {Shape{0, 5}, Shape{3, 4}, Shape{1500, 1000}, Shape{2100, 1}}) {
        std::vector<int> cells(static_cast<std::size_t>(shape.rows) * shape.cols);
        for (std::size_t i = 0; i < cells.size(); ++i)
            cells[i] = i % 11 == 0 ? -9999 : i % 7 == 0 ? 2147483647 : i % 5 == 0 ? -2147483647 - 1 : static_cast<int>(i % 13);
        orvalis::LandscapeWriter lines;
        ASSERT_TRUE(lines.open(dir.file("lines.txt")));
        for (int r = 0; r < shape.rows; ++r)
            ASSERT_TRUE(lines.writeLine(std::span<const int>(cells.data() + static_cast<std::size_t>(r) * shape.cols,
                                                             static_cast<std::size_t>(shape.cols))));
        ASSERT_TRUE(lines.close());
        const std::string expected = orvalis::test::readFile(dir.file("lines.txt"));
        for (int threads : {1, 3}) {
            std::string error;
            ASSERT_TRUE(orvalis::writeLandscapeText(dir.file("grid.txt"), cells.data(), shape.rows, shape.cols, threads,
                                                    &error))
                << error;
            EXPECT_EQ(orvalis::test::readFile(dir.file("grid.txt")), expected) << shape.rows << "x" << shape.cols;
        }
    }
    std::string error;
    const int cell = 1;
    EXPECT_FALSE(orvalis::writeLandscapeText(dir.file("none/grid.txt"), &cell, 1, 1, 1, &error));
    EXPECT_FALSE(error.empty());
}

TEST(LandscapeFile, ReaderRefusesWhatItCannotRead)
{
    TempDir dir;
    LandscapeGrid grid{{1, 2}};
    EXPECT_FALSE(orvalis::readLandscapeFile(dir.file("missing.txt"), grid).ok);
    EXPECT_TRUE(grid.empty());

    grid = {{1, 2}};
    EXPECT_FALSE(orvalis::readLandscapeFile(dir.path().string(), grid).ok) << "a folder";
    EXPECT_TRUE(grid.empty());

    std::string big = dir.file("big.txt");
    orvalis::test::writeFile(big, std::string(1000, '1') + " \n");
    grid = {{1}};
    EXPECT_FALSE(orvalis::readLandscapeFile(big, grid, 100).ok) << "over the size limit";
    EXPECT_TRUE(grid.empty());
    EXPECT_TRUE(orvalis::readLandscapeFile(big, grid).ok);
    EXPECT_EQ(grid, (LandscapeGrid{{0}}));

    std::string binary;
    for (int i = 0; i < 100000; ++i)
        binary.push_back(static_cast<char>((i * 7919) % 256));
    orvalis::test::writeFile(big, binary);
    const orvalis::LandscapeReadResult read = orvalis::readLandscapeFile(big, grid);
    EXPECT_FALSE(read.ok) << "binary data is refused with a reason, not drawn as zeros";
    EXPECT_NE(read.error.find("binary"), std::string::npos) << read.error;
    EXPECT_TRUE(grid.empty());

    // A pipe is refused at once instead of waiting for a writer that may never come.
    const std::string fifo = dir.file("pipe.txt");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(orvalis::readLandscapeFile(fifo, grid).error, "not a regular file");
}

TEST(LandscapeFile, WriterReportsFailures)
{
    orvalis::LandscapeWriter writer;
    EXPECT_FALSE(writer.open("/nonexistent-folder/x.txt"));
    EXPECT_FALSE(writer.error().empty());
    EXPECT_FALSE(writer.writeLine(std::vector<int>{1}));
    EXPECT_FALSE(writer.writeFlagLine(std::vector<unsigned char>{1}, 0, 1));

    if (access("/dev/full", W_OK) == 0) {
        std::string error;
        LandscapeGrid grid(2000, std::vector<int>(100, 1));
        EXPECT_FALSE(orvalis::writeLandscapeFile("/dev/full", grid, &error)) << "disk full";
        EXPECT_NE(error.find("write failed"), std::string::npos) << error;

        ASSERT_TRUE(writer.open("/dev/full"));
        bool ok = true;
        const std::vector<unsigned char> flags(1000, 1);
        for (int i = 0; i < 200 && ok; ++i)
            ok = writer.writeFlagLine(flags, 0, 1);
        EXPECT_FALSE(ok && writer.close()) << "flag lines on a full disk";
        EXPECT_NE(writer.error().find("write failed"), std::string::npos) << writer.error();
        writer.close();
    }

    TempDir dir;
    std::string path = dir.file("cut.txt");
    ASSERT_TRUE(writer.open(path));
    writer.writeLine(std::vector<int>{1, 2});
    writer.discard();
    struct stat st {};
    EXPECT_NE(stat(path.c_str(), &st), 0) << "discarded output is removed";
}
