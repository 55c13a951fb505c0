#pragma once

#include "core/io/LandscapeFile.h"
#include "core/io/TgaImage.h"
#include "core/random/RandomSource.h"
#include "core/run/RunControl.h"
#include "core/sampler/CentreList.h"
#include "core/sampler/CoverTable.h"
#include "core/sampler/SampleRun.h"
#include "core/sampler/WindowSearch.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace orvalis {

// Cuts square windows at whole-percentage habitat levels out of one image.
class WindowSampler : public WindowSource {
public:
    static constexpr std::int64_t TryBudget = WindowTryBudget;

    WindowSampler() = default;
    ~WindowSampler() override { image.release(); }
    WindowSampler(const WindowSampler&) = delete;
    WindowSampler& operator=(const WindowSampler&) = delete;

    void configure(int threshold, double halfSize, int matrixValue, int coverValue);
    bool loadImage(const char* path);

    // Habitat pixels of the window of half size halfSize centred at (x, y); -1 without an image.
    std::int64_t windowCover(int x, int y);
    // Writes the window as a landscape file, one line per image column; false with error set on failure.
    bool writeWindow(int x, int y, int h, const std::string& fileName, std::string* error = nullptr,
                     const BeforeNaming& beforeNaming = {}) override;

    int width() const override { return image.width; }
    int height() const override { return image.height; }
    bool prepareCounts(const std::function<bool()>& keepGoing) override;
    std::int64_t windowHabitat(int x, int y, int h) override;
    // The window as its file reads back: grid row k is the file's line k, image column x - h + k.
    LandscapeGrid windowGrid(int x, int y, int h) const override;

    // The search, drawing its centres from random. Every window written is logged in
    // params.logPath and named in the result's files exactly as written. The image, half
    // size and class values are those configured; the batch list is the caller's.
    SampleResult sampleWindows(const SampleParameters& params, RandomSource& random, RunControl& control);

    // Counts every window pixel by pixel, scans every centre and cuts window files from the pixels:
    // the reference the fast path must match.
    void setStraightforward(bool on) { straightforward_ = on; }

    int halfSize = 0;
    int threshold = 128;
    TgaImage image;
    int matrixValue = 0;
    int coverValue = 1;

private:
    bool coverTableReady(const std::function<bool()>& keepGoing = {});
    bool habitatBitsReady();
    std::int64_t countPixels(int x, int y, int h) const;

    bool straightforward_ = false;
    CoverTable coverTable_;
    // The pixels and threshold something was prepared for, to tell when it must be prepared again.
    struct PreparedFor {
        const unsigned char* data = nullptr;
        int threshold = -1;
        int width = -1;
        int height = -1;
        bool operator==(const PreparedFor&) const = default;
    };
    PreparedFor current() const { return {image.data, threshold, image.width, image.height}; }

    PreparedFor tableFor_;
    // Habitat as one bit per pixel (bit x % 8 of byte x / 8 of each row): window files are cut from it.
    std::vector<unsigned char> habitatBits_;
    std::size_t bitsStride_ = 0;
    PreparedFor bitsFor_;
};

}  // namespace orvalis
