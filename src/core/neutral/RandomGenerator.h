#pragma once

#include "core/run/Progress.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orvalis {

struct RandomRunResult {
    bool ok = true;          // false when a landscape or the batch list could not be written
    bool cancelled = false;  // the progress callback asked to stop before the series was complete
    std::string error;       // why the run stopped, for the user
    std::int64_t written = 0;
    std::string batchList;   // path of the FRAGSTATS batch list of the run
};

// Series of random two-class landscapes: every cell is independently a cover cell
// with the probability of its cover level. Rows are drawn and written as they are
// made, so no landscape is ever held in memory.
class RandomGenerator {
public:
    // postString follows every name in the run's FRAGSTATS batch list.
    explicit RandomGenerator(std::string postString = {});

    // Seeds the process-wide random source once, then writes replicates landscapes of
    // rows x cols cells for each cover level coverMin, coverMin + coverStep, ... <= coverMax.
    // Names of completely written files are appended to fileList in writing order and
    // listed in batchListName(folder). A file that cannot be written, or a cancel
    // inside a landscape, leaves that landscape removed and unlisted and ends the run.
    RandomRunResult generate(int coverMin, int coverMax, int coverStep, int rows, int cols, int replicates,
                             int matrixValue, int coverValue, const std::string& folder, int seed,
                             std::vector<std::string>& fileList, const ProgressCallback& progress = {});

    // Levels of a cover range, 0 when coverMax is below coverMin.
    static std::int64_t levelCount(int coverMin, int coverMax, int coverStep);

    // folder + "%03i" cover + "_" rows "x" cols "_a" replicate+1 ".txt"; the folder is a plain prefix.
    static std::string landscapeFileName(const std::string& folder, int cover, int rows, int cols, int replicate);

    // Batch list of a run writing into folder (also a plain prefix).
    static std::string batchListName(const std::string& folder);

    // Largest draw that makes a cover cell: r / 32767.0 <= cover / 100.0 exactly when r <= threshold.
    static int coverThreshold(int cover);

    // "gerando para cobertura 30 amostra no.1"
    static std::string progressLabel(int cover, int replicate);

private:
    enum class Outcome { Written, Failed, Cancelled };

    Outcome writeLandscape(int replicate, int cover, const std::string& folder, std::vector<std::string>& fileList,
                           RandomRunResult& result);

    std::string postString_;
    std::vector<int> row_;  // the row being drawn
    int rows = 0;
    int cols = 0;
    int matrixValue_ = 0;
    int coverValue_ = 1;
    std::int64_t done_ = 0;
    std::int64_t total_ = 0;
    const ProgressCallback* progress_ = nullptr;
};

}  // namespace orvalis
