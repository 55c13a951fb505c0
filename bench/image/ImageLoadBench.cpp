// Load rate of a large 32-bit TGA image from the page cache, against a per-pixel reader.
#include "core/io/TgaImage.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

bool writeImage(const std::string& path, int width, int height, int depth)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    unsigned char header[18] = {};
    header[2] = 2;
    header[12] = width & 0xFF;
    header[13] = (width >> 8) & 0xFF;
    header[14] = height & 0xFF;
    header[15] = (height >> 8) & 0xFF;
    header[16] = static_cast<unsigned char>(depth);
    bool ok = std::fwrite(header, 1, 18, f) == 18;
    std::vector<unsigned char> row(std::size_t(width) * (depth / 8));
    for (int y = 0; y < height && ok; ++y) {
        for (std::size_t i = 0; i < row.size(); ++i)
            row[i] = static_cast<unsigned char>(i * 7 + y);
        ok = std::fwrite(row.data(), 1, row.size(), f) == row.size();
    }
    return std::fclose(f) == 0 && ok;
}

// The straightforward reader: one small read and one swap per pixel.
bool loadPerPixel(const char* path, std::vector<unsigned char>& out)
{
    std::FILE* f = std::fopen(path, "rb");
    if (!f)
        return false;
    unsigned char header[18];
    if (std::fread(header, 1, 18, f) != 18) {
        std::fclose(f);
        return false;
    }
    const int width = header[12] | (header[13] << 8);
    const int height = header[14] | (header[15] << 8);
    const int bpp = header[16] / 8;
    std::fseek(f, header[0], SEEK_CUR);
    const std::size_t pixels = std::size_t(width) * std::size_t(height);
    unsigned char* block = static_cast<unsigned char*>(std::malloc(pixels * bpp));
    bool ok = block != nullptr;
    for (std::size_t i = 0; i < pixels && ok; ++i) {
        unsigned char px[4];
        ok = std::fread(px, bpp, 1, f) == 1;
        block[i * bpp] = px[2];
        block[i * bpp + 1] = px[1];
        block[i * bpp + 2] = px[0];
        if (bpp == 4)
            block[i * bpp + 3] = px[3];
    }
    std::fclose(f);
    if (ok)
        out.assign(block, block + 16);
    std::free(block);
    return ok;
}

// prepare runs untimed before each run, so freeing the previous image is not counted as loading.
template <typename Prepare, typename Run>
double bestSeconds(int repeats, Prepare&& prepare, Run&& run)
{
    double best = 1e30;
    for (int r = 0; r < repeats; ++r) {
        prepare();
        const auto start = Clock::now();
        if (!run()) {
            std::fprintf(stderr, "load failed\n");
            std::exit(1);
        }
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

}  // namespace

int main(int argc, char** argv)
{
    const int side = argc > 1 ? std::atoi(argv[1]) : 8192;
    const std::filesystem::path dir = std::filesystem::temp_directory_path();
    std::printf("TGA load, %d x %d, best of several runs from the page cache\n", side, side);
    for (int depth : {32, 24}) {
        const std::string path = (dir / ("orvalis-bench-" + std::to_string(getpid()) + "-" + std::to_string(depth) + ".tga")).string();
        if (!writeImage(path, side, side, depth)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
        const double bytes = double(side) * side * (depth / 8);
        std::vector<unsigned char> first;
        loadPerPixel(path.c_str(), first);  // warms the page cache
        orvalis::TgaImage image;
        const auto release = [&] { image.release(); };
        const auto load = [&] { return image.load(path.c_str()); };
        const double once = bestSeconds(1, release, load);
        const double fast = std::min(once, bestSeconds(7, release, load));
        const double plain = bestSeconds(2, [] {}, [&] { return loadPerPixel(path.c_str(), first); });
        const bool same = std::memcmp(first.data(), image.data, first.size()) == 0;
        std::printf("%d-bit: load %.3f s = %.2f GB/s (first load in the process %.2f GB/s); per-pixel baseline %.3f s = "
                    "%.2f GB/s; ratio %.1fx%s\n",
                    depth, fast, bytes / fast / 1e9, bytes / once / 1e9, plain, bytes / plain / 1e9, plain / fast,
                    same ? "" : "  (PIXELS DIFFER)");
        image.release();
        std::filesystem::remove(path);
    }
    return 0;
}
