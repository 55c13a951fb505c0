#pragma once

#include "core/metrics/LandscapeMetrics.h"
#include "core/neutral/CellBuffers.h"
#include "core/random/RandomSource.h"
#include "core/run/RunControl.h"
#include "core/run/RunResult.h"
#include "core/neutral/SurfaceBlend.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace orvalis {

enum class GridFormat { Text, AsciiGrid, GeoTiff };

// A series of landscapes of one neutral model (or a blend), each made from its own surface at
// exact counts: for each cover level, habitat cells exactly level % of the cells (the
// highest values); or, with proportions, classes 1..k of exactly their rounded counts.
struct NeutralRunParameters {
    SurfaceBlend model;
    int rows = 100;
    int cols = 100;
    std::vector<int> coverLevels;      // habitat percentages, each 0..100, in writing order
    std::vector<double> proportions;   // without cover levels: class 1 the lowest values, class k the highest
    int replicates = 1;
    std::uint32_t seed = 1;
    int coverValue = 1;
    int matrixValue = 0;
    std::vector<unsigned char> mask;   // empty, or rows x cols: only cells not 0 are ranked
    int outsideValue = -9999;          // what cells outside the mask hold
    GridFormat format = GridFormat::Text;
    double cellSize = 1.0;             // of the .asc and .tif frames
    std::filesystem::path folder;      // the landscapes, the batch list and metrics.csv go into it
    std::string postString;            // after every name in the batch list
    std::optional<MetricsOptions> metrics;
    int jobs = 0;                      // threads making landscapes; 0: one per core. The files do not depend on it.
};

// Reads cover levels "30", "10,30,50" or MIN:MAX:STEP, each 0..100, into levels; why not, or empty.
std::string readCoverLevels(const std::string& text, std::vector<int>& levels);
// Reads class shares "0.2,0.3,0.5" (or separated by '/') summing to 1; why not, or empty.
std::string readClassProportions(const std::string& text, std::vector<double>& proportions);

// The levels a run makes: the cover percentages, or one level (-1) for proportions.
std::vector<int> neutralLevels(const NeutralRunParameters& parameters);

// folder / (model text with ':' and '*' made '_' and 'x', "_" level %03d or "classes", "_" replicate from 1 %05d, extension).
std::string neutralFileName(const NeutralRunParameters& parameters, int level, int replicate);

// The batch list of a series: folder / "<model>_ListFragStat.fbt".
std::string neutralBatchListName(const NeutralRunParameters& parameters);

// Why the run cannot start: a model that cannot make this size, bad proportions or levels, a
// mask of another size, a folder that takes no files, or more memory than the machine has free
// for jobs landscapes at once. Empty when it can.
std::string checkNeutralParameters(const NeutralRunParameters& parameters);

// Replicate `replicate` (from 0) of level `level`, cells row after row; its state comes from the
// seed, the level and the replicate alone, so it equals its place in any run. Empty with *error set.
LandscapeCells neutralLandscapeCells(const NeutralRunParameters& parameters, int level, int replicate,
                                       std::string* error = nullptr);

// Makes the landscapes on `jobs` threads and writes them in order on the calling thread (level
// after level, replicate after replicate), each under a hidden name until complete, listed in
// the batch list and, when asked, measured into metrics.csv beside it. random is not drawn
// from: every replicate has a state of its own.
RunResult runNeutralLandscapes(const NeutralRunParameters& parameters, RandomSource& random, RunControl& control);

}  // namespace orvalis
