#include "core/neutral/RandomGenerator.h"

#include "core/io/BatchList.h"
#include "core/io/LandscapeWriter.h"
#include "core/run/RunChecks.h"
#include "core/run/RunLock.h"

#include <algorithm>
#include <cstdio>

namespace orvalis {

namespace {

// About a millisecond of drawing and writing between two looks at the control.
constexpr std::int64_t CellsPerCheck = 1 << 18;

}  // namespace

RandomGenerator::RandomGenerator(const RandomLandscapeParameters& p, RandomSource& random, RunControl& control)
    : p_(p), random_(random), control_(control), row_(static_cast<std::size_t>(p.cols), 0),
      total_(std::int64_t(p.replicates) * randomLevelCount(p.cover)), record_(batchListName(p.folder), p.postString)
{
    if (p.metrics)
        record_.keepMetrics(metricsTableBeside(record_.batchList()), *p.metrics);
}

RunResult RandomGenerator::run()
{
    RunResult result;
    result.batchList = record_.batchList();
    result.metricsTable = record_.metricsTable();
    if (!record_.beginAtFirstFile()) {
        result.status = RunStatus::Refused;
        result.message = withReason("cannot create " + record_.failedListName(), record_.error());
        return result;
    }
    random_.seed(static_cast<unsigned>(p_.seed));
    const bool watched = control_.observed();
    bool stop = false;
    result.asked = total_;
    for (std::int64_t cover = p_.cover.min; cover <= p_.cover.max; cover += p_.cover.step) {
        int written = 0;
        for (int replicate = 0; !stop && replicate < p_.replicates; ++replicate) {
            if (writeLandscape(replicate, static_cast<int>(cover), result) != Outcome::Written) {
                stop = true;
                break;
            }
            ++written;
            ++done_;
            // A stop asked after the last landscape changes nothing.
            if (watched && !control_.report({done_, total_, std::string(), -1}) && done_ < total_) {
                result.status = RunStatus::Cancelled;
                stop = true;
            }
        }
        if (written < p_.replicates)
            result.shortLevels.push_back({std::to_string(cover) + " %", written, p_.replicates});
    }
    // A run that fails before its first landscape leaves the earlier lists as they were.
    if (!record_.end(result) && result.status != RunStatus::Failed) {
        result.status = RunStatus::Failed;
        result.message = withReason("cannot write " + record_.failedListName(), record_.error());
    }
    result.files = record_.takeFiles();
    return result;
}

RandomGenerator::Outcome RandomGenerator::fail(RunResult& result, const std::string& name, const std::string& why)
{
    result.status = RunStatus::Failed;
    result.message = "cannot write " + name + ": " + why;
    return Outcome::Failed;
}

RandomGenerator::Outcome RandomGenerator::writeLandscape(int replicate, int cover, RunResult& result)
{
    const std::string name = landscapeFileName(p_.folder, cover, p_.rows, p_.cols, replicate);
    const bool watched = control_.observed();
    if (watched && !control_.report({done_, total_, progressLabel(cover, replicate), -1})) {
        result.status = RunStatus::Cancelled;
        return Outcome::Cancelled;
    }
    LandscapeWriter writer;
    if (!writer.open(name))
        return fail(result, name, writer.error());
    const int threshold = coverThreshold(cover);
    grid_.clear();
    const std::int64_t rowsPerCheck = std::max<std::int64_t>(1, CellsPerCheck / std::max(p_.cols, 1));
    for (int i = 0; i < p_.rows; ++i) {
        // A local copy keeps the generator's state in a register across the row.
        RandomSource draws = random_;
        for (int& cell : row_)
            cell = draws.next() <= threshold ? p_.coverValue : p_.matrixValue;
        random_ = draws;
        if (p_.metrics)
            grid_.push_back(row_);
        if (!writer.writeLine(row_)) {
            const std::string why = writer.error();
            writer.discard();
            return fail(result, name, why);
        }
        if (watched && (i + 1) % rowsPerCheck == 0 && i + 1 < p_.rows &&
            !control_.report({done_, total_, std::string(), -1})) {
            writer.discard();
            result.status = RunStatus::Cancelled;
            return Outcome::Cancelled;
        }
    }
    if (!writer.close([this] { return record_.replaceEarlier(); })) {
        const std::string why = writer.error();
        writer.discard();
        return fail(result, name, why);
    }
    if (!(p_.metrics ? record_.addFile(name, grid_) : record_.addFile(name))) {
        result.status = RunStatus::Failed;
        result.message = withReason("cannot write " + record_.failedListName(), record_.error());
        return Outcome::Failed;
    }
    return Outcome::Written;
}

RunResult runRandomLandscapes(const RandomLandscapeParameters& p, RandomSource& random, RunControl& control)
{
    RunResult refused;
    refused.status = RunStatus::Refused;
    if (p.cover.step < 1 || p.rows < 0 || p.cols < 0 || p.replicates < 0) {
        refused.message = "invalid random series: the cover step must be at least 1 and sizes and replicates "
                          "must not be negative";
        return refused;
    }
    const std::string longest =
        RandomGenerator::landscapeFileName(p.folder, 100, p.rows, p.cols, std::max(p.replicates - 1, 0));
    for (const std::string& why : {checkCoverOrder(p.cover), checkListText("post-string", p.postString),
                                   checkOutputFolder(p.folder), checkNameLength(p.folder, longest),
                                   p.metrics ? checkMeasurable(p.rows, p.cols) : std::string()}) {
        if (!why.empty()) {
            refused.message = why;
            return refused;
        }
    }
    RunLock lock;
    if (!lock.acquire({p.folder})) {
        refused.message = lock.message();
        return refused;
    }
    return RandomGenerator(p, random, control).run();
}

std::string RandomGenerator::landscapeFileName(const std::filesystem::path& folder, int cover, int rows, int cols,
                                               int replicate)
{
    char name[96];
    std::snprintf(name, sizeof name, "%03i_%dx%d_a%lld.txt", cover, rows, cols, static_cast<long long>(replicate) + 1);
    return (folder / name).string();
}

std::string RandomGenerator::batchListName(const std::filesystem::path& folder)
{
    return orvalis::batchListName((folder / "random_").string());
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

}  // namespace orvalis
