#include "core/io/CompactGrid.h"
#include "core/io/LandscapeWriter.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <random>

using namespace orvalis;
using orvalis::test::TempDir;

// Both readers give the same lines, for grids of few values and of more than a byte can code.
TEST(CompactGrid, ReadsWhatThePlainReaderReads)
{
    struct Case {
        const char* name;
        int lines, values;
        bool ragged;
    };
    const Case cases[] = {
        {"two classes", 300, 2, false},
        {"land-cover classes, ragged lines", 200, 20, true},
        {"exactly 256 values", 200, 256, false},
        {"more values than a byte codes", 200, 5000, true},
    };
    std::mt19937 random(3);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LandscapeGrid grid(static_cast<std::size_t>(c.lines));
        for (auto& line : grid) {
            line.resize(c.ragged ? 2 + random() % 400 : 300);
            for (int& v : line)
                v = static_cast<int>(random() % static_cast<unsigned>(c.values)) - c.values / 3;
        }
        TempDir dir;
        ASSERT_TRUE(writeLandscapeFile(dir.file("g.txt"), grid));
        LandscapeGrid plain;
        CompactGrid compact;
        ASSERT_TRUE(readLandscapeFile(dir.file("g.txt"), plain).ok);
        ASSERT_TRUE(readLandscapeFile(dir.file("g.txt"), compact).ok);
        EXPECT_EQ(plain, grid);
        EXPECT_EQ(compact.lines(), grid);
        if (c.values <= 256)  // a byte a cell, whatever the values
            EXPECT_LT(compact.bytes(), std::filesystem::file_size(dir.file("g.txt")));
    }
    CompactGrid refused;
    EXPECT_FALSE(readLandscapeFile("/nonexistent/g.txt", refused).ok);
    EXPECT_TRUE(refused.empty());
}
