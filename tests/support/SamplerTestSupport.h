#pragma once

#include "core/io/TgaImage.h"
#include "support/TempDir.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace orvalis::test {

// The blue byte of every pixel, row-major, as the sampler tests it.
struct BlueImage {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> blue;
    unsigned char at(int x, int y) const { return blue[static_cast<std::size_t>(y) * width + x]; }
};

inline BlueImage makeBlue(int width, int height, const std::function<unsigned char(int, int)>& value)
{
    BlueImage img{width, height, std::vector<unsigned char>(static_cast<std::size_t>(width) * height)};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            img.blue[static_cast<std::size_t>(y) * width + x] = value(x, y);
    return img;
}

// Fills a TgaImage as the reader would hold it: red, green, blue per pixel.
inline void fillBitmap(TgaImage& image, const BlueImage& src)
{
    image.release();
    const std::size_t n = static_cast<std::size_t>(src.width) * src.height;
    image.data = static_cast<unsigned char*>(std::malloc(n * 3 + 1));
    for (std::size_t i = 0; i < n; ++i) {
        image.data[i * 3] = 200;
        image.data[i * 3 + 1] = 7;
        image.data[i * 3 + 2] = src.blue[i];
    }
    image.width = src.width;
    image.height = src.height;
    image.bitsPerPixel = 24;
    image.bytesPerPixel = 3;
    image.pixelCount = static_cast<std::uint32_t>(n);
    image.loaded = 1;
}

// An uncompressed 24-bit TGA file: header, then blue, green, red per pixel in row order.
inline void writeTga(const std::string& path, const BlueImage& src)
{
    std::string bytes(18, '\0');
    bytes[2] = 2;
    bytes[12] = static_cast<char>(src.width & 0xFF);
    bytes[13] = static_cast<char>(src.width >> 8);
    bytes[14] = static_cast<char>(src.height & 0xFF);
    bytes[15] = static_cast<char>(src.height >> 8);
    bytes[16] = 24;
    for (unsigned char b : src.blue) {
        bytes += static_cast<char>(b);
        bytes += static_cast<char>(99);
        bytes += static_cast<char>(255 - b);
    }
    writeFile(path, bytes);
}

// Reads the blue bytes of an uncompressed 24/32-bit TGA straight from the file.
inline BlueImage readTgaBlue(const std::string& path)
{
    const std::string b = readFile(path);
    BlueImage img;
    if (b.size() < 18)
        return img;
    auto u8 = [&](std::size_t i) { return static_cast<unsigned char>(b[i]); };
    const std::size_t start = 18 + u8(0);
    const int bpp = u8(16) / 8;
    img.width = u8(12) | (u8(13) << 8);
    img.height = u8(14) | (u8(15) << 8);
    img.blue.resize(static_cast<std::size_t>(img.width) * img.height);
    for (std::size_t i = 0; i < img.blue.size(); ++i)
        img.blue[i] = u8(start + i * static_cast<std::size_t>(bpp));  // files store blue first
    return img;
}

struct ReferenceWindow {
    std::string name;
    std::string logLine;
    std::string content;
};

struct ReferenceRun {
    std::vector<ReferenceWindow> windows;
    std::uint32_t finalState = 0;
    long long tries = 0;
    std::string log() const
    {
        std::string s;
        for (const auto& w : windows)
            s += w.logLine;
        return s;
    }
};

struct ReferenceSettings {
    int h = 50;
    int replicates = 1;
    int coverMin = 1, coverMax = 100, coverStep = 1;
    int minDistance = 10;
    int coverValue = 1, matrixValue = 0;
    std::string folder, prefix;
    int stopAfter = -1;  // windows after which the run is cancelled, -1 for never
    std::function<bool(int, int)> noData;  // cells outside the mapped area; a window holding one is a failed try
};

// The search done the plain way: 15-bit LCG draws, per-pixel counts, every centre scanned.
inline ReferenceRun referenceRun(const BlueImage& img, const ReferenceSettings& s, std::uint32_t state)
{
    ReferenceRun run;
    auto draw = [&state] {
        state = state * 214013u + 2531011u;
        return static_cast<int>((state >> 16) & 0x7FFF);
    };
    long long target = ((long long)(s.coverMax + s.coverStep - s.coverMin) * s.replicates) / s.coverStep;
    // The run also ends once every level it samples is full, which a target may overcount.
    long long fillable = 0;
    for (int c = std::max(s.coverMin, 0); c <= std::min(s.coverMax, 100); ++c)
        fillable += c % s.coverStep == 0 ? s.replicates : 0;
    target = std::min(target, fillable);
    const long long pixels = 4LL * s.h * s.h;
    std::vector<int> count(101, 0), xs, ys;
    long long tries = 0;
    long long written = 0;
    for (;;) {
        if (s.stopAfter >= 0 && written >= s.stopAfter)
            break;
        const int r1 = draw();
        const int r2 = draw();
        const int x = (int)(((double)r1 / 32767) * img.width);
        const int y = (int)(((double)r2 / 32767) * img.height);
        bool fail = x < s.h || x >= img.width - s.h || y < s.h || y >= img.height - s.h;
        if (!fail) {
            bool near = false;
            for (std::size_t k = 0; k < xs.size() && !near; ++k) {
                const double dx = xs[k] - x, dy = ys[k] - y;
                near = (long long)std::sqrt(dx * dx + dy * dy) <= s.minDistance;
            }
            if (near)
                continue;
            for (int i = x - s.h; s.noData && i < x + s.h && !fail; ++i)
                for (int j = y - s.h; j < y + s.h && !fail; ++j)
                    fail = s.noData(i, j);
        }
        if (!fail) {
            long long habitat = 0;
            for (int i = x - s.h; i < x + s.h; ++i)
                for (int j = y - s.h; j < y + s.h; ++j)
                    habitat += img.at(i, j) <= 128;
            const int cls = (int)(100 * habitat / pixels);
            if (cls >= s.coverMin && cls <= s.coverMax && cls % s.coverStep == 0 && count[cls] < s.replicates) {
                const int n = ++count[cls];
                xs.push_back(x);
                ys.push_back(y);
                char buf[64];
                std::snprintf(buf, sizeof buf, "%03d_%03d.txt", cls, n);
                ReferenceWindow w;
                w.name = s.folder + "/" + s.prefix + buf;
                std::snprintf(buf, sizeof buf, " %g %d %d\n", (double)habitat / (double)pixels, x, y);
                w.logLine = w.name + buf;
                for (int i = x - s.h; i < x + s.h; ++i) {
                    for (int j = y - s.h; j < y + s.h; ++j)
                        w.content += std::to_string(img.at(i, j) <= 128 ? s.coverValue : s.matrixValue) + " ";
                    w.content += "\n";
                }
                run.windows.push_back(std::move(w));
                if (++written >= target)
                    break;
            }
        }
        if (++tries > 99999)
            break;
    }
    run.finalState = state;
    run.tries = tries;
    return run;
}

}  // namespace orvalis::test
