#pragma once

#include "core/run/Progress.h"
#include "core/io/TgaImage.h"
#include "core/sampler/CentreList.h"
#include "core/sampler/CoverTable.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace orvalis {

// What one sampling run is asked for; strings are 8-bit text (UTF-8).
struct SampleParameters {
    std::string folder;          // window files go to folder + "/" + name
    int replicates = 1;
    int coverMin = 1;
    int coverMax = 100;
    int coverStep = 1;
    int minDistance = 10;
    std::string prefix;          // start of every window file name
    std::string logPath = "sample.txt";
};

enum class SampleStop {
    TargetReached,     // as many windows as the cover range and replicates ask for
    TriesSpent,        // the search budget ran out
    Cancelled,
    NoCentreLeft,      // every possible centre lies within the minimum distance of an accepted one
    LogNotOpened,      // sample.txt could not be created; nothing was done
    LogWriteFailed,
    WindowWriteFailed,
    NoImage,
    BadParameters,
};

struct SampleOutcome {
    SampleStop stop = SampleStop::TriesSpent;
    int written = 0;
    std::int64_t target = 0;
    std::int64_t tries = 0;     // counted tries spent
    int levels = 0;             // cover classes the range asks for
    int levelsFilled = 0;       // of those, classes that got every replicate
    std::string message;        // why the run failed, or how it ended when that needs saying

    // False when something could not be done: the user must be told.
    bool ok() const
    {
        return stop == SampleStop::TargetReached || stop == SampleStop::TriesSpent ||
               stop == SampleStop::Cancelled || stop == SampleStop::NoCentreLeft;
    }
};

// Cuts square windows at whole-percentage habitat levels out of one image.
class WindowSampler {
public:
    static constexpr std::int64_t TryBudget = 100000;

    WindowSampler() = default;
    ~WindowSampler() { image.release(); }
    WindowSampler(const WindowSampler&) = delete;
    WindowSampler& operator=(const WindowSampler&) = delete;

    void configure(int threshold, double halfSize, int matrixValue, int coverValue);
    bool loadImage(const char* path);

    // Habitat pixels of the window of half size halfSize centred at (x, y).
    std::int64_t windowCover(int x, int y);
    // Writes the window as a landscape file, one line per image column; false with error set on failure.
    bool writeWindow(int x, int y, int h, const std::string& fileName, std::string* error = nullptr);

    // The search. Names of the written files are appended to fileNames, each exactly
    // the path the file was written to. Draws from the process-wide random source.
    SampleOutcome sampleWindows(const SampleParameters& params, std::vector<std::string>& fileNames,
                                const ProgressCallback& progress = {});

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
    std::int64_t countPixels(int x, int y) const;
    void requireImage() const;

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

// File name of one window: folder + "/" + prefix + class "%03d" + "_" + replicate "%03d" + ".txt".
std::string windowFileName(const std::string& folder, const std::string& prefix, int coverClass, int replicate);

// Cover fraction as the %g conversion writes it in the C locale.
std::string formatCover(double cover);

const char* sampleStopText(SampleStop stop);

}  // namespace orvalis
