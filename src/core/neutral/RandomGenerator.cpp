#include "core/neutral/RandomGenerator.h"

#include "core/io/LandscapeWriter.h"
#include "core/random/RandomSource.h"
#include "core/io/BatchList.h"

#include <algorithm>
#include <cstdio>

namespace orvalis {

namespace {

// About a millisecond of drawing and writing between two looks at the callback.
constexpr std::int64_t CellsPerCheck = 1 << 18;

}  // namespace

RandomGenerator::RandomGenerator(std::string postString) : postString_(std::move(postString)) {}

std::int64_t RandomGenerator::levelCount(int coverMin, int coverMax, int coverStep)
{
    if (coverStep < 1 || coverMax < coverMin)
        return 0;
    return (std::int64_t(coverMax) + coverStep - coverMin) / coverStep;
}

std::string RandomGenerator::landscapeFileName(const std::string& folder, int cover, int rows, int cols,
                                               int replicate)
{
    char name[96];
    std::snprintf(name, sizeof name, "%03i_%dx%d_a%lld.txt", cover, rows, cols, static_cast<long long>(replicate) + 1);
    return folder + name;
}

std::string RandomGenerator::batchListName(const std::string& folder)
{
    return orvalis::batchListName(folder + "random_");
}

int RandomGenerator::coverThreshold(int cover)
{
    if (cover < 0)
        return -1;
    if (cover >= 100)
        return RandomSource::Max;
    return static_cast<int>(std::int64_t(RandomSource::Max) * cover / 100);
}

std::string RandomGenerator::progressLabel(int cover, int replicate)
{
    return "gerando para cobertura " + std::to_string(cover) + " amostra no." +
           std::to_string(static_cast<long long>(replicate) + 1);
}

RandomRunResult RandomGenerator::generate(int coverMin, int coverMax, int coverStep, int rows, int cols,
                                          int replicates, int matrixValue, int coverValue,
                                          const std::string& folder, int seed, std::vector<std::string>& fileList,
                                          const ProgressCallback& progress)
{
    RandomRunResult result;
    if (coverStep < 1 || rows < 0 || cols < 0 || replicates < 0) {
        result.ok = false;
        result.error = "invalid random series: the cover step must be at least 1 and sizes and replicates "
                       "must not be negative";
        return result;
    }
    srand(static_cast<unsigned>(seed));
    this->rows = rows;
    this->cols = cols;
    matrixValue_ = matrixValue;
    coverValue_ = coverValue;
    row_.assign(static_cast<std::size_t>(cols), 0);
    done_ = 0;
    total_ = std::int64_t(replicates) * levelCount(coverMin, coverMax, coverStep);
    progress_ = progress ? &progress : nullptr;

    std::vector<std::string> written;
    bool stop = false;
    for (std::int64_t cover = coverMin; !stop && cover <= coverMax; cover += coverStep) {
        for (int replicate = 0; !stop && replicate < replicates; ++replicate) {
            Outcome outcome = writeLandscape(replicate, static_cast<int>(cover), folder, written, result);
            if (outcome != Outcome::Written) {
                stop = true;
                break;
            }
            ++done_;
            if (progress_ && !(*progress_)({done_, total_, std::string(), -1}) && done_ < total_) {
                result.cancelled = true;
                stop = true;
            }
        }
    }
    result.written = static_cast<std::int64_t>(written.size());
    fileList.insert(fileList.end(), written.begin(), written.end());

    result.batchList = batchListName(folder);
    std::string listError;
    // After a failure that wrote nothing the list fails for the same reason; one message is enough.
    if (!writeBatchListFile(result.batchList, written, postString_, &listError) && (result.ok || !written.empty())) {
        std::string what = "cannot write the batch list " + result.batchList + ": " + listError;
        result.error = result.ok ? what : result.error + "; " + what;
        result.ok = false;
    }
    row_.clear();
    row_.shrink_to_fit();
    progress_ = nullptr;
    return result;
}

RandomGenerator::Outcome RandomGenerator::writeLandscape(int replicate, int cover, const std::string& folder,
                                                         std::vector<std::string>& fileList,
                                                         RandomRunResult& result)
{
    const std::string name = landscapeFileName(folder, cover, rows, cols, replicate);
    if (progress_ && !(*progress_)({done_, total_, progressLabel(cover, replicate), -1})) {
        result.cancelled = true;
        return Outcome::Cancelled;
    }
    LandscapeWriter writer;
    if (!writer.open(name)) {
        result.ok = false;
        result.error = "cannot write " + name + ": " + writer.error();
        return Outcome::Failed;
    }
    const int threshold = coverThreshold(cover);
    const std::int64_t rowsPerCheck = std::max<std::int64_t>(1, CellsPerCheck / std::max(cols, 1));
    for (int i = 0; i < rows; ++i) {
        // A local copy keeps the generator's state in a register across the row.
        RandomSource draws = globalRandom();
        for (int& cell : row_)
            cell = draws.next() <= threshold ? coverValue_ : matrixValue_;
        globalRandom() = draws;
        if (!writer.writeLine(row_)) {
            result.ok = false;
            result.error = "cannot write " + name + ": " + writer.error();
            writer.discard();
            return Outcome::Failed;
        }
        if (progress_ && (i + 1) % rowsPerCheck == 0 && i + 1 < rows &&
            !(*progress_)({done_, total_, std::string(), -1})) {
            writer.discard();
            result.cancelled = true;
            return Outcome::Cancelled;
        }
    }
    if (!writer.close()) {
        result.ok = false;
        result.error = "cannot write " + name + ": " + writer.error();
        writer.discard();
        return Outcome::Failed;
    }
    fileList.push_back(name);
    return Outcome::Written;
}

}  // namespace orvalis
