#pragma once

#include "core/io/LandscapeFile.h"
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
#include <vector>

namespace orvalis {

// A series of random two-class landscapes: for each cover level, replicates landscapes of
// rows x cols cells, every cell independently a cover cell with the probability of its level.
struct RandomLandscapeParameters {
    CoverRange cover;               // levels cover.min, cover.min + cover.step, ... up to cover.max
    int rows = 100;
    int cols = 100;
    int replicates = 1;
    int matrixValue = 0;
    int coverValue = 1;
    std::filesystem::path folder;   // the landscapes and the series' batch list go into it
    int seed = 5;                   // the random source is seeded with it once, first
    std::string postString;         // after every name in the batch list
    std::optional<MetricsOptions> metrics;  // set: every landscape is measured into metrics.csv beside the list
};

// Rows are drawn and written as they are made, so no landscape is held in memory unless it
// is to be measured.
// Complete files are listed in writing order in the result and in the batch list
// batchListName(folder). A file that cannot be written, or a cancel inside a landscape,
// leaves that landscape removed and unlisted and ends the run.
RunResult runRandomLandscapes(const RandomLandscapeParameters& parameters, RandomSource& random, RunControl& control);

// Writes one random series; runRandomLandscapes is the way in.
class RandomGenerator {
public:
    RandomGenerator(const RandomLandscapeParameters& parameters, RandomSource& random, RunControl& control);
    RandomGenerator(const RandomGenerator&) = delete;
    RandomGenerator& operator=(const RandomGenerator&) = delete;

    // Seeds the source once, then writes the series.
    RunResult run();

    // folder / ("%03i" cover + "_" rows "x" cols "_a" replicate+1 ".txt").
    static std::string landscapeFileName(const std::filesystem::path& folder, int cover, int rows, int cols,
                                         int replicate);

    // Batch list of a series written into folder.
    static std::string batchListName(const std::filesystem::path& folder);

    // Largest draw that makes a cover cell: r / 32767.0 <= cover / 100.0 exactly when r <= threshold.
    static int coverThreshold(int cover);

    // "gerando para cobertura 30 amostra no.1"
    static std::string progressLabel(int cover, int replicate);

private:
    enum class Outcome { Written, Failed, Cancelled };

    Outcome writeLandscape(int replicate, int cover, RunResult& result);
    Outcome fail(RunResult& result, const std::string& name, const std::string& why);

    const RandomLandscapeParameters& p_;
    RandomSource& random_;
    RunControl& control_;
    std::vector<int> row_;  // the row being drawn
    LandscapeGrid grid_;    // the landscape's rows so far, when it is to be measured
    std::int64_t done_ = 0;
    const std::int64_t total_;
    RunRecord record_;
};

}  // namespace orvalis
