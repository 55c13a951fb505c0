#include "core/sampler/WindowSampler.h"

#include "core/sampler/HabitatMask.h"
#include "core/sampler/WindowSearch.h"

#include "core/io/LandscapeWriter.h"
#include "core/random/RandomSource.h"
#include "core/run/RunRecord.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace orvalis {


void WindowSampler::configure(int threshold_, double halfSize_, int matrixValue_, int coverValue_)
{
    threshold = threshold_;
    halfSize = std::isfinite(halfSize_) ? static_cast<int>(std::clamp(halfSize_, -2147483648.0, 2147483647.0)) : 0;
    matrixValue = matrixValue_;
    coverValue = coverValue_;
}

bool WindowSampler::loadImage(const char* path)
{
    coverTable_.clear();
    tableFor_ = {};
    habitatBits_ = {};
    bitsFor_ = {};
    return image.load(path);
}

bool WindowSampler::coverTableReady(const std::function<bool()>& keepGoing)
{
    if (tableFor_ == current())
        return !coverTable_.empty();
    tableFor_ = current();
    // Without room for the table the windows are counted pixel by pixel: slower, same counts.
    return coverTable_.build(image, threshold, keepGoing);
}

std::int64_t WindowSampler::countPixels(int x, int y, int h) const
{
    std::int64_t habitat = 0;
    for (int i = x - h; i < x + h; ++i)
        for (int j = y - h; j < y + h; ++j)
            if (image.component(i, j, 2) <= threshold)
                ++habitat;
    return habitat;
}

std::int64_t WindowSampler::windowCover(int x, int y)
{
    if (!image.isLoaded())
        return -1;
    return windowHabitat(x, y, halfSize);
}

std::int64_t WindowSampler::windowHabitat(int x, int y, int h)
{
    if (straightforward_ || !coverTableReady())
        return countPixels(x, y, h);
    return coverTable_.count(x - h, y - h, x + h, y + h);
}

bool WindowSampler::prepareCounts(const std::function<bool()>& keepGoing)
{
    if (straightforward_)
        return true;
    bool stopped = false;
    coverTableReady([&] {
        stopped = keepGoing && !keepGoing();
        return !stopped;
    });
    if (stopped)
        tableFor_ = {};  // an interrupted table is built again by the next run
    return !stopped;
}

bool WindowSampler::habitatBitsReady()
{
    if (bitsFor_ == current())
        return !habitatBits_.empty();
    bitsFor_ = current();
    habitatBits_.clear();
    const std::size_t width = static_cast<std::size_t>(image.width);
    const std::size_t height = static_cast<std::size_t>(image.height);
    // Spare bytes at each row's end let a window's last bits be read eight bytes at a time.
    bitsStride_ = (width + 7) / 8 + 8;
    try {
        std::vector<unsigned char> bits(bitsStride_ * height);
        std::vector<unsigned char> flags(roundUpToTile(width));
        for (std::size_t row = 0; row < height; ++row) {
            habitatRowBits(image.data + row * width * image.bytesPerPixel, image.bytesPerPixel, width, threshold,
                           flags.data(), bits.data() + row * bitsStride_);
        }
        habitatBits_ = std::move(bits);
    } catch (const std::bad_alloc&) {
        // Without room for the bits the windows are gathered from the pixels: slower, same files.
        habitatBits_.clear();
    }
    return !habitatBits_.empty();
}

bool WindowSampler::writeWindow(int x, int y, int h, const std::string& fileName, std::string* error,
                                const BeforeNaming& beforeNaming)
{
    if (!image.isLoaded()) {
        if (error)
            *error = "Nenhuma imagem carregada";
        return false;
    }
    LandscapeWriter writer;
    if (!writer.open(fileName)) {
        if (error)
            *error = writer.error();
        return false;
    }
    const bool fromBits = !straightforward_ && habitatBitsReady();
    const std::size_t side = static_cast<std::size_t>(2) * static_cast<std::size_t>(h);
    const std::size_t paddedSide = roundUpToTile(side);
    // Lines run along image columns: a band of columns is gathered as habitat flags, a strip of rows at a time,
    // and turned into one run of flags per column. The band's flags stay within about a megabyte.
    const std::size_t band =
        std::min(paddedSide, std::max(FlagTile, (std::size_t(1) << 20) / paddedSide / FlagTile * FlagTile));
    std::vector<unsigned char> strip(fromBits ? 0 : FlagTile * band);
    std::vector<unsigned char> columns(band * paddedSide);
    bool ok = true;
    for (std::size_t c0 = 0; ok && c0 < side; c0 += band) {
        const std::size_t cols = std::min(band, side - c0);
        const std::size_t firstColumn = static_cast<std::size_t>(x - h) + c0;
        const std::size_t firstRow = static_cast<std::size_t>(y - h);
        if (fromBits)
            columnsFromBits(habitatBits_.data(), bitsStride_, firstColumn, firstRow, cols, side, columns.data(),
                            paddedSide);
        else
            columnsFromPixels(image, threshold, firstColumn, firstRow, cols, side, strip.data(), columns.data(),
                              paddedSide);
        for (std::size_t c = 0; ok && c < cols; ++c)
            ok = writer.writeFlagLine(std::span<const unsigned char>(columns.data() + c * paddedSide, side), matrixValue,
                                      coverValue);
    }
    ok = writer.close(beforeNaming) && ok;
    if (!ok) {
        if (error)
            *error = writer.error();
        writer.discard();
    }
    return ok;
}

LandscapeGrid WindowSampler::windowGrid(int x, int y, int h) const
{
    const std::size_t side = 2 * static_cast<std::size_t>(h);
    LandscapeGrid grid(side, std::vector<int>(side));
    for (std::size_t k = 0; k < side; ++k)
        for (std::size_t j = 0; j < side; ++j)
            grid[k][j] = image.component(x - h + static_cast<int>(k), y - h + static_cast<int>(j), 2) <= threshold
                             ? coverValue
                             : matrixValue;
    return grid;
}

SampleResult WindowSampler::sampleWindows(const SampleParameters& params, RandomSource& random, RunControl& control)
{
    if (!image.isLoaded()) {
        SampleResult out;
        out.stop = SampleStop::NoImage;
        out.status = RunStatus::Refused;
        out.message = "Nenhuma imagem carregada";
        return out;
    }
    return searchWindows(*this, params, halfSize, random, control, straightforward_);
}

}  // namespace orvalis
