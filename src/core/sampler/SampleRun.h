#pragma once

#include "core/metrics/LandscapeMetrics.h"
#include "core/random/RandomSource.h"
#include "core/run/CoverRange.h"
#include "core/run/RunControl.h"
#include "core/run/RunRecord.h"
#include "core/run/RunResult.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace orvalis {

// How map windows are written: the text grid every run writes, an ESRI ASCII grid, a GeoTIFF.
enum class WindowFormat { Default, Txt, Asc, Tif };  // Default: tif for a map, txt for a TGA

// What one sampling run is asked for; strings are 8-bit text (UTF-8).
struct SampleParameters {
    std::filesystem::path image;   // a TGA image, or any land-cover map GDAL reads (a file not named .tga)
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
    std::string batchList;         // empty: runSample uses batchListName(prefix); the search alone keeps none

    // Maps only.
    std::string habitatClasses;    // "41-43,90": the classes that are habitat; required for a map
    int band = 1;
    WindowFormat format = WindowFormat::Default;
    bool keepClasses = false;      // windows hold the map's classes instead of the cover and matrix values
    std::optional<MetricsOptions> metrics;  // set: every window is measured into metrics.csv beside the log
    double metricsCellSize = 1.0;           // the side of the windows' cells in metres, for the metrics

    // The run's record, sample-run.txt beside the log: what the windows were cut from and how.
    std::optional<std::uint32_t> seed;       // as given, for the record
    std::optional<double> cellSize;          // metres, when the map's frame gives it
    std::string crs;                         // the map's coordinate system (WKT), when it has one
};

// The record's name beside a log.
std::string sampleRunRecordBeside(const std::string& logPath);
// The record of a run with these parameters.
std::string sampleRunRecord(const SampleParameters& p);
// The cell size (metres) a sampling run's record beside logPath gives; empty when there is no
// record or it gives none.
std::optional<double> recordedCellSize(const std::string& logPath);

enum class SampleStop {
    TargetReached,     // as many windows as the cover range and replicates ask for
    TriesSpent,        // the search budget ran out
    Cancelled,
    NoCentreLeft,      // every possible centre lies within the minimum distance of an accepted one
    LogNotOpened,      // sample.txt could not be created; nothing was done
    LogWriteFailed,
    ListWriteFailed,   // the batch list could not be created or written
    MetricsWriteFailed,  // the metrics table could not be created or written
    WindowWriteFailed,
    NoImage,           // the image could not be loaded, or none was
    BadParameters,     // the run cannot start with these parameters; nothing was touched
    FolderBusy,        // another run writes into the same folder
};

struct SampleResult : RunResult {
    SampleStop stop = SampleStop::TriesSpent;
    std::int64_t target = 0;
    std::int64_t tries = 0;     // counted tries spent
    int levels = 0;             // cover classes the range asks for
    int levelsFilled = 0;       // of those, classes that got every replicate

    int written() const { return static_cast<int>(files.size()); }
    // False when something could not be done: the user must be told.
    bool ok() const
    {
        return stop == SampleStop::TargetReached || stop == SampleStop::TriesSpent ||
               stop == SampleStop::Cancelled || stop == SampleStop::NoCentreLeft;
    }
};

// Loads the image and checks everything that can be checked before a file is written; a
// run refused then leaves every file as it was. Otherwise it locks the folder and the
// working directory against a second run, replaces the log and the batch list, searches the
// image for windows drawing from random, and writes each window, logging and listing it
// as soon as it is complete.
SampleResult runSample(const SampleParameters& parameters, RandomSource& random, RunControl& control);

// Whether path names a TGA image (by its extension, in any case): those keep their own reader and rules.
bool isTgaPath(const std::filesystem::path& path);

// The file extension of a format, dot included.
std::string windowFormatExtension(WindowFormat format);

// File name of one window: folder + "/" + prefix + class "%03d" + "_" + replicate "%03d" + extension.
std::string windowFileName(const std::string& folder, const std::string& prefix, int coverClass, int replicate,
                           const std::string& extension = ".txt");

// Cover fraction as the %g conversion writes it in the C locale.
std::string formatCover(double cover);

const char* sampleStopText(SampleStop stop);

// How a run stops when its record fails on list (atBegin: when the record begins).
SampleStop recordStop(RunRecord::List list, bool atBegin);

// Why the run cannot start with these parameters on an image of width x height; empty when it can.
std::string checkSampleParameters(const SampleParameters& parameters, int width, int height);

}  // namespace orvalis
