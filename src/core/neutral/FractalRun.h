#pragma once

#include "core/io/SafeFile.h"
#include "core/metrics/LandscapeMetrics.h"
#include "core/random/RandomSource.h"
#include "core/run/CoverRange.h"
#include "core/run/RunControl.h"
#include "core/run/RunResult.h"
#include "core/neutral/MidpointSurface.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace orvalis {

constexpr int SurfacesPerH = 200;
constexpr int ThresholdCount = 80;

// Inputs of a fractal run, named after the fields of the fractal dialog.
struct FractalRunParameters {
    double initialH = 0.1;
    double finalH = 0.9;
    double stepH = 0.1;
    CoverRange cover;    // percentages cover.min, cover.min + cover.step, ... up to cover.max
    int size = 100;
    int replicates = 1;
    int matrixValue = 0;
    int coverValue = 1;
    std::filesystem::path folder;  // the files go into it
    int jobs = 0;        // threads building surfaces; 0 uses every core
    bool referenceSurfaces = false;  // full-grid surfaces, for measuring the fast build
    std::optional<MetricsOptions> metrics;  // set: every file is measured into folder/metrics.csv
};

struct FractalRunResult : RunResult {
    std::int64_t surfaces = 0;  // surfaces the run took in turn, seeds of every H together
};

// Why the run cannot start with these values; empty when it can.
std::string checkFractalParameters(const FractalRunParameters& parameters);

// The H values the run visits: initialH, initialH + stepH, ... (each a running sum)
// up to finalH, with room for rounding only. stepH must be positive.
std::vector<double> fractalHValues(double initialH, double finalH, double stepH);

// 0.10, 0.11, ... 0.89, each the running sum of 0.01 steps.
const std::array<double, ThresholdCount>& fractalThresholds();

// folder / (H "%.2f" + "_" + percentage "%03i" + "_" + number "%05i" + ".txt").
std::string fractalFileName(const std::filesystem::path& folder, double H, int percentage, int number);

// "gerando para h=0.50 amostra no.3"
std::string fractalProgressLabel(double H, int sampleNumber);

// Cells of the size x size cells a file holds (rows and columns 0..size-1) strictly above
// threshold, and their share of them.
std::int64_t coverFraction(const MidpointSurface& surface, int size, double threshold, double* fraction = nullptr);

// coverFraction's count for each of the 80 thresholds, from one pass over those cells.
std::array<std::int64_t, ThresholdCount> coverCounts(const MidpointSurface& surface);

// Row `row` of a file cut at threshold, columns 0..size-1: coverValue above the threshold,
// matrixValue otherwise.
void thresholdedRow(const MidpointSurface& surface, int row, double threshold, int matrixValue, int coverValue,
                    std::vector<int>& line);

// The size x size cells of a file, row after row, as thresholdedRow gives each row.
void thresholdedCells(const MidpointSurface& surface, double threshold, int matrixValue, int coverValue,
                      std::vector<int>& cells);

// Writes rows and columns 0..size-1 as thresholdedRow gives them.
bool writeThresholdedGrid(const MidpointSurface& surface, const std::string& fileName, double threshold,
                          int matrixValue, int coverValue, std::string* error = nullptr,
                          const BeforeNaming& beforeNaming = {});

// For each H, surfaces of seeds 0..199 are cut at the 80 thresholds; a cut whose whole
// percentage of cover is wanted and still short of `replicates` files is written and named
// in the result. Each surface draws from a source of its own seeded with its number, so
// `random` is not drawn from. Surfaces are built, and files measured, on `jobs` threads;
// files are written in the run's order on the calling thread, which is also the only one
// that reports.
FractalRunResult runFractalLandscapes(const FractalRunParameters& parameters, RandomSource& random,
                                      RunControl& control);

}  // namespace orvalis
