#pragma once

#include "core/random/RandomSource.h"
#include "core/run/CoverRange.h"
#include "core/run/RunControl.h"
#include "core/run/RunResult.h"

#include <cstdint>
#include <filesystem>
#include <string>

namespace orvalis {

// What one sampling run is asked for; strings are 8-bit text (UTF-8).
struct SampleParameters {
    std::filesystem::path image;   // the TGA image the windows are cut from
    std::filesystem::path folder;  // window files go to folder + "/" + name
    int windowSize = 100;          // side in pixels; an odd size loses one
    int replicates = 1;
    CoverRange cover;              // the classes filled: multiples of cover.step in [min, max]
    int minDistance = 10;
    std::string prefix;            // start of every window file name and of the batch list's name
    std::string postString;        // after every name in the batch list
    int coverValue = 1;
    int matrixValue = 0;
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
    NoImage,           // the image could not be loaded, or none was
    BadParameters,
};

struct SampleResult : RunResult {
    SampleStop stop = SampleStop::TriesSpent;
    std::int64_t target = 0;
    std::int64_t tries = 0;     // counted tries spent
    int levels = 0;             // cover classes the range asks for
    int levelsFilled = 0;       // of those, classes that got every replicate
    bool batchListFailed = false;
    std::string batchListError;  // the system's reason when batchListFailed

    int written() const { return static_cast<int>(files.size()); }
    // False when something could not be done: the user must be told.
    bool ok() const
    {
        return stop == SampleStop::TargetReached || stop == SampleStop::TriesSpent ||
               stop == SampleStop::Cancelled || stop == SampleStop::NoCentreLeft;
    }
};

// Loads the image, searches it for windows drawing from random, writes each window, logs it
// in the log and, once the search ends, writes the batch list batchListName(prefix) of every
// window written. An image that cannot be loaded ends the run before anything is written.
SampleResult runSample(const SampleParameters& parameters, RandomSource& random, RunControl& control);

// File name of one window: folder + "/" + prefix + class "%03d" + "_" + replicate "%03d" + ".txt".
std::string windowFileName(const std::string& folder, const std::string& prefix, int coverClass, int replicate);

// Cover fraction as the %g conversion writes it in the C locale.
std::string formatCover(double cover);

const char* sampleStopText(SampleStop stop);

}  // namespace orvalis
