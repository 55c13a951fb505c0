#include "core/sampler/WindowSampler.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>

using orvalis::WindowSampler;
using orvalis::test::readFile;
using orvalis::test::TempDir;

namespace {

// Blue values spread over 0..255 with no pattern a tile could hide; red is the opposite of blue.
unsigned char blueAt(int x, int y, unsigned salt)
{
    std::uint32_t v = static_cast<std::uint32_t>(x) * 73856093u ^ static_cast<std::uint32_t>(y) * 19349663u ^ salt;
    v ^= v >> 13;
    v *= 0x5bd1e995u;
    return static_cast<unsigned char>(v >> 24);
}

void fillImage(orvalis::TgaImage& image, int width, int height, int bytesPerPixel, unsigned salt)
{
    image.release();
    const std::size_t n = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    image.data = static_cast<unsigned char*>(std::malloc(n * static_cast<std::size_t>(bytesPerPixel)));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            unsigned char* px = image.data + (static_cast<std::size_t>(y) * width + x) * bytesPerPixel;
            px[2] = blueAt(x, y, salt);
            px[0] = static_cast<unsigned char>(255 - px[2]);
            px[1] = static_cast<unsigned char>(x);
            if (bytesPerPixel == 4)
                px[3] = 0;
        }
    }
    image.width = width;
    image.height = height;
    image.bytesPerPixel = static_cast<unsigned char>(bytesPerPixel);
    image.bitsPerPixel = static_cast<unsigned char>(8 * bytesPerPixel);
    image.pixelCount = static_cast<std::uint32_t>(n);
    image.loaded = 1;
}

// The window file written out cell by cell: one line per image column, rows top to bottom.
std::string expectedWindow(int x, int y, int h, int threshold, int matrix, int cover, unsigned salt)
{
    std::string text;
    for (int i = x - h; i < x + h; ++i) {
        for (int j = y - h; j < y + h; ++j)
            text += std::to_string(blueAt(i, j, salt) <= threshold ? cover : matrix) + " ";
        text += "\n";
    }
    return text;
}

struct WindowCase {
    std::string name;
    int width, height, bytesPerPixel;
    int x, y, h;
    int threshold = 128;
    int matrix = 0, cover = 1;
};

std::vector<WindowCase> windowCases()
{
    std::vector<WindowCase> cases = {
        {"small square", 20, 20, 3, 10, 10, 4},
        {"touching the right and bottom edges", 123, 77, 3, 103, 57, 20},
        {"touching the left and top edges", 123, 77, 3, 20, 20, 20},
        {"more than one 56-column read", 300, 200, 3, 150, 100, 61},
        {"wider than one band of columns", 1100, 1060, 3, 540, 530, 520},
        {"32-bit pixels", 90, 80, 4, 45, 40, 27},
        {"32-bit pixels at the right edge", 90, 80, 4, 61, 40, 29},
        {"2 x 2 window", 5, 5, 3, 2, 3, 1},
        {"threshold below every pixel", 60, 60, 3, 30, 30, 12, -1},
        {"threshold 0", 60, 60, 3, 30, 30, 12, 0},
        {"threshold 255 takes every pixel", 60, 60, 3, 30, 30, 12, 255},
        {"threshold above 255", 60, 60, 3, 30, 30, 12, 1000},
        {"one-digit class values", 60, 60, 3, 31, 29, 13, 128, 5, 9},
        {"signed and wide class values", 60, 60, 4, 31, 29, 13, 128, -1, 12},
    };
    // Every offset of the window's first column within a byte of habitat bits.
    for (int k = 0; k < 8; ++k)
        cases.push_back({"first column " + std::to_string(13 + k), 100, 40, 3, 26 + k, 20, 13});
    return cases;
}

TEST(WindowFile, EveryCellIsThePixelsClassInBothWaysOfCutting)
{
    TempDir dir;
    const std::string path = dir.file("w.txt");
    unsigned salt = 1;
    for (const WindowCase& c : windowCases()) {
        WindowSampler sampler;
        fillImage(sampler.image, c.width, c.height, c.bytesPerPixel, ++salt);
        sampler.configure(c.threshold, c.h, c.matrix, c.cover);
        const std::string expected = expectedWindow(c.x, c.y, c.h, c.threshold, c.matrix, c.cover, salt);
        for (bool straightforward : {false, true}) {
            sampler.setStraightforward(straightforward);
            std::string error;
            ASSERT_TRUE(sampler.writeWindow(c.x, c.y, c.h, path, &error)) << c.name << ": " << error;
            EXPECT_EQ(readFile(path), expected) << c.name << (straightforward ? " (from the pixels)" : "");
        }
        orvalis::LandscapeGrid readBack;
        ASSERT_TRUE(orvalis::readLandscapeFile(path, readBack).ok);
        EXPECT_EQ(sampler.windowGrid(c.x, c.y, c.h), readBack) << c.name << " (the grid that is measured)";
    }
}

TEST(WindowFile, FollowsANewThresholdAndANewImage)
{
    TempDir dir;
    const std::string path = dir.file("w.txt");
    WindowSampler sampler;
    fillImage(sampler.image, 64, 64, 3, 7);
    sampler.configure(128, 10, 0, 1);
    ASSERT_TRUE(sampler.writeWindow(30, 30, 10, path));
    EXPECT_EQ(readFile(path), expectedWindow(30, 30, 10, 128, 0, 1, 7));

    sampler.configure(60, 10, 0, 1);
    ASSERT_TRUE(sampler.writeWindow(30, 30, 10, path));
    EXPECT_EQ(readFile(path), expectedWindow(30, 30, 10, 60, 0, 1, 7)) << "after a new threshold";

    // Two images of one size loaded in turn: the second often lands where the first was.
    for (unsigned salt : {11u, 12u}) {
        std::string tga(18, '\0');
        tga[2] = 2;
        tga[12] = 64;
        tga[14] = 64;
        tga[16] = 24;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                tga += {static_cast<char>(blueAt(x, y, salt)), '\0', '\0'};  // blue first in the file
        orvalis::test::writeFile(dir.file("image.tga"), tga);
        ASSERT_TRUE(sampler.loadImage(dir.file("image.tga").c_str()));
        ASSERT_TRUE(sampler.writeWindow(30, 30, 10, path));
        EXPECT_EQ(readFile(path), expectedWindow(30, 30, 10, 60, 0, 1, salt)) << "image " << salt;
    }
}

}  // namespace
