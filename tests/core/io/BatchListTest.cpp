#include "core/io/BatchList.h"

#include "support/FileSizeLimit.h"
#include "support/NamedCase.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using namespace orvalis::test;

struct BatchCase : NamedCase {
    std::vector<std::string> names;
    std::string postString;
    std::string expected;
};

class BatchListTest : public ::testing::TestWithParam<BatchCase> {};

TEST_P(BatchListTest, WritesOneLinePerNameInOrder)
{
    const BatchCase& c = GetParam();
    TempDir dir;
    const std::string path = dir.file("SMP_ListFragStat.fbt");
    writeFile(path, "an older and longer list\nthat must go\n");
    std::string error;
    ASSERT_TRUE(orvalis::writeBatchListFile(path, c.names, c.postString, &error)) << error;
    EXPECT_EQ(readFile(path), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, BatchListTest,
    ::testing::Values(
        BatchCase{"RunOrderNotSorted", {"out/SMP_050_002.txt", "out/SMP_010_001.txt"}, "",
                  "out/SMP_050_002.txt\nout/SMP_010_001.txt\n"},
        BatchCase{"PostStringVerbatim", {"a.txt", "b.txt"}, "  , x, 999, 1, 1, IDF_ASCII",
                  "a.txt  , x, 999, 1, 1, IDF_ASCII\nb.txt  , x, 999, 1, 1, IDF_ASCII\n"},
        BatchCase{"EndingReplaced", {"grid.dat", "grid.ab"}, ",1", "grid.txt,1\ngridtxt,1\n"},
        BatchCase{"MapWindowsKept", {"w/a.tif", "w/b.asc"}, ",1", "w/a.tif,1\nw/b.asc,1\n"},
        BatchCase{"ShortNames", {"ab", ""}, "", "txt\ntxt\n"},
        BatchCase{"NonAsciiEndingCutByCharacter", {"mapa.\xc3\xa7\xc3\xa3o"}, "", "mapa.txt\n"},
        BatchCase{"NonAsciiKeptElsewhere", {"\xc3\x81rea/\xe6\x97\xa5.txt"}, " \xc3\xa9",
                  "\xc3\x81rea/\xe6\x97\xa5.txt \xc3\xa9\n"},
        BatchCase{"EmptyListTruncates", {}, ", x", ""}),
    CaseName());

TEST(BatchListName, KeepsTheFolderPartOfThePrefix)
{
    EXPECT_EQ(orvalis::batchListName("SMP_"), "SMP_ListFragStat.fbt");
    EXPECT_EQ(orvalis::batchListName(""), "ListFragStat.fbt");
    EXPECT_EQ(orvalis::batchListName("runs/a b/SMP_"), "runs/a b/SMP_ListFragStat.fbt");
}

TEST(BatchListFile, MissingFolderWritesNothingAndSaysWhy)
{
    TempDir dir;
    std::string error;
    EXPECT_FALSE(orvalis::writeBatchListFile(dir.file("missing/SMP_ListFragStat.fbt"), {"a.txt"}, "", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing")));
}

TEST(BatchListFile, ListCutShortIsRemoved)
{
    TempDir dir;
    const std::string path = dir.file("SMP_ListFragStat.fbt");
    std::string error;
    bool ok;
    {
        FileSizeLimit limit(64);
        ok = orvalis::writeBatchListFile(path, std::vector<std::string>(20, "out/SMP_050_001.txt"), "", &error);
    }
    EXPECT_FALSE(ok);
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(BatchListFile, WriteErrorIsReportedNotHidden)
{
    std::string error;
    EXPECT_FALSE(orvalis::writeBatchListFile("/dev/full", {"a.txt", "b.txt"}, "", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(std::filesystem::exists("/dev/full"));
}

}  // namespace
