#include "core/sampler/CoverTable.h"
#include "support/SamplerTestSupport.h"

#include <gtest/gtest.h>

#include <random>

using namespace orvalis;
using namespace orvalis::test;

namespace {

// Image sizes on both sides of the 256-pixel blocks, where the table changes how it sums.
TEST(CoverTable, CountsEveryRectangleAsThePixelsDo)
{
    struct Size {
        int width, height;
    } sizes[] = {{1, 1}, {7, 300}, {255, 255}, {256, 256}, {257, 513}, {512, 3}, {600, 777}};
    std::mt19937 gen(11);
    for (const Size& s : sizes) {
        SCOPED_TRACE(std::to_string(s.width) + " x " + std::to_string(s.height));
        std::uniform_int_distribution<int> byte(0, 255);
        const BlueImage img = makeBlue(s.width, s.height, [&](int, int) { return static_cast<unsigned char>(byte(gen)); });
        TgaImage bitmap;
        fillBitmap(bitmap, img);
        CoverTable table;
        ASSERT_TRUE(table.build(bitmap, 128));
        // Column and row prefix sums of the mask, computed the plain way.
        std::vector<std::vector<long long>> sum(s.height + 1, std::vector<long long>(s.width + 1, 0));
        for (int y = 0; y < s.height; ++y)
            for (int x = 0; x < s.width; ++x)
                sum[y + 1][x + 1] = sum[y][x + 1] + sum[y + 1][x] - sum[y][x] + (img.at(x, y) <= 128);
        std::uniform_int_distribution<int> cx(0, s.width), cy(0, s.height);
        for (int k = 0; k < 3000; ++k) {
            int x0 = cx(gen), x1 = cx(gen), y0 = cy(gen), y1 = cy(gen);
            if (x0 > x1)
                std::swap(x0, x1);
            if (y0 > y1)
                std::swap(y0, y1);
            const long long want = sum[y1][x1] - sum[y0][x1] - sum[y1][x0] + sum[y0][x0];
            ASSERT_EQ(table.count(x0, y0, x1, y1), want) << x0 << "," << y0 << " .. " << x1 << "," << y1;
        }
        EXPECT_EQ(table.count(0, 0, s.width, s.height), sum[s.height][s.width]);
    }
}

TEST(CoverTable, FullBlocksOfHabitatDoNotOverflow)
{
    TgaImage bitmap;
    fillBitmap(bitmap, makeBlue(1030, 1030, [](int, int) -> unsigned char { return 0; }));
    CoverTable table;
    ASSERT_TRUE(table.build(bitmap, 128));
    EXPECT_EQ(table.count(0, 0, 1030, 1030), 1030u * 1030u);
    EXPECT_EQ(table.count(1, 1, 257, 257), 256u * 256u);
    EXPECT_EQ(table.count(255, 255, 1024, 1024), 769u * 769u);
}

TEST(CoverTable, ThresholdDecidesHabitat)
{
    TgaImage bitmap;
    fillBitmap(bitmap, makeBlue(3, 1, [](int x, int) -> unsigned char { return static_cast<unsigned char>(127 + x); }));
    CoverTable table;
    ASSERT_TRUE(table.build(bitmap, 128));
    EXPECT_EQ(table.count(0, 0, 3, 1), 2u);
    ASSERT_TRUE(table.build(bitmap, 129));
    EXPECT_EQ(table.count(0, 0, 3, 1), 3u);
}

}  // namespace
