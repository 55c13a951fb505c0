#include "core/neutral/FractalRun.h"

#include "core/io/LandscapeWriter.h"
#include "core/neutral/SurfacePipeline.h"
#include "core/run/RunChecks.h"
#include "core/run/RunLock.h"
#include "core/run/RunRecord.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <memory>
#include <thread>

namespace orvalis {

namespace {

std::string formatH(double H)
{
    // to_chars, not printf: under a user locale with a decimal comma the GUI would write 0,50.
    char text[400];
    auto r = std::to_chars(text, text + sizeof text, H, std::chars_format::fixed, 2);
    return std::string(text, r.ptr);
}

}  // namespace

std::vector<double> fractalHValues(double initialH, double finalH, double stepH)
{
    std::vector<double> values;
    if (!(stepH > 0.0) || !std::isfinite(initialH) || !std::isfinite(finalH))
        return values;
    // Room for the rounding of the running sum only: an H beyond finalH is never visited.
    const double limit = finalH + 1e-9 * std::max(1.0, std::fabs(finalH));
    for (double H = initialH; H <= limit; H += stepH)
        values.push_back(H);
    return values;
}

const std::array<double, ThresholdCount>& fractalThresholds()
{
    static const std::array<double, ThresholdCount> thresholds = [] {
        std::array<double, ThresholdCount> t{};
        double v = 0.1;
        for (double& x : t) {
            x = v;
            v = v + 0.01;
        }
        return t;
    }();
    return thresholds;
}

std::string fractalFileName(const std::filesystem::path& folder, double H, int percentage, int number)
{
    char tail[64];
    std::snprintf(tail, sizeof tail, "_%03i_%05i.txt", percentage, number);
    return (folder / (formatH(H) + tail)).string();
}

std::string fractalProgressLabel(double H, int sampleNumber)
{
    return "gerando para h=" + formatH(H) + " amostra no." + std::to_string(sampleNumber);
}

std::string checkFractalParameters(const FractalRunParameters& p)
{
    if (!std::isfinite(p.initialH) || !std::isfinite(p.finalH) || !std::isfinite(p.stepH) || p.stepH <= 0.0)
        return "the H range needs finite values and a step above 0";
    if ((p.finalH - p.initialH) / p.stepH > 100000.0)
        return "the H range asks for more than 100000 H values";
    if (p.cover.min < 0 || p.cover.min > 100 || p.cover.max < 0 || p.cover.max > 100)
        return "cover percentages must lie between 0 and 100";
    if (p.cover.step < 1)
        return "the cover step must be at least 1";
    if (const std::string why = checkCoverOrder(p.cover); !why.empty())
        return why;
    if (p.size < 1 || p.size > MaxSurfaceSize)
        return "the size must be between 1 and " + std::to_string(MaxSurfaceSize) + " cells (got " +
               std::to_string(p.size) + ")";
    if (p.replicates < 1)
        return "the number of replicates must be at least 1";
    if (p.jobs < 0)
        return "the number of jobs cannot be negative";
    // Files are named by H with two decimals: two H values with one name would overwrite each other.
    const std::vector<double> hs = fractalHValues(p.initialH, p.finalH, p.stepH);
    for (std::size_t i = 1; i < hs.size(); ++i)
        if (formatH(hs[i]) == formatH(hs[i - 1]))
            return "H values " + std::to_string(hs[i - 1]) + " and " + std::to_string(hs[i]) +
                   " would share the file names of H " + formatH(hs[i]) + "; use a step of at least 0.01";
    return {};
}

std::int64_t coverFraction(const MidpointSurface& surface, int size, double threshold, double* fraction)
{
    std::int64_t count = 0;
    for (int row = 0; row < size; ++row) {
        const double* line = surface.grid()[row];
        for (int col = 0; col < size; ++col)
            count += line[col] > threshold;
    }
    if (fraction)
        *fraction = size > 0 ? static_cast<double>(count) / (static_cast<double>(size) * static_cast<double>(size)) : 0.0;
    return count;
}

std::array<std::int64_t, ThresholdCount> coverCounts(const MidpointSurface& surface)
{
    const auto& t = fractalThresholds();
    // below[k] = cells with exactly k thresholds under their value.
    std::array<std::int64_t, ThresholdCount + 1> below{};
    const int size = surface.size();
    for (int row = 0; row < size; ++row) {
        const double* line = surface.grid()[row];
        for (int col = 0; col < size; ++col) {
            const double v = line[col];
            // The thresholds are 0.01 apart: guess the place, then settle it on the stored values.
            const double guess = (v - 0.1) * 100.0 + 1.0;
            int k = guess > 0.0 ? (guess < ThresholdCount ? static_cast<int>(guess) : ThresholdCount) : 0;
            while (k < ThresholdCount && t[static_cast<std::size_t>(k)] < v)
                ++k;
            while (k > 0 && !(t[static_cast<std::size_t>(k) - 1] < v))
                --k;
            ++below[static_cast<std::size_t>(k)];
        }
    }
    std::array<std::int64_t, ThresholdCount> counts{};
    std::int64_t above = 0;
    for (int i = ThresholdCount - 1; i >= 0; --i) {
        above += below[static_cast<std::size_t>(i) + 1];
        counts[static_cast<std::size_t>(i)] = above;
    }
    return counts;
}

namespace {

void thresholdLine(const double* values, int size, double threshold, int matrixValue, int coverValue, int* line)
{
    for (int col = 0; col < size; ++col)
        line[col] = values[col] > threshold ? coverValue : matrixValue;
}

}  // namespace

void thresholdedRow(const MidpointSurface& surface, int row, double threshold, int matrixValue, int coverValue,
                    std::vector<int>& line)
{
    const int size = surface.size();
    line.resize(static_cast<std::size_t>(size));
    thresholdLine(surface.grid()[row], size, threshold, matrixValue, coverValue, line.data());
}

void thresholdedCells(const MidpointSurface& surface, double threshold, int matrixValue, int coverValue,
                      std::vector<int>& cells)
{
    const int size = surface.size();
    cells.resize(static_cast<std::size_t>(size) * static_cast<std::size_t>(size));
    for (int row = 0; row < size; ++row)
        thresholdLine(surface.grid()[row], size, threshold, matrixValue, coverValue,
                      cells.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(size));
}

bool writeThresholdedGrid(const MidpointSurface& surface, const std::string& fileName, double threshold,
                          int matrixValue, int coverValue, std::string* error, const BeforeNaming& beforeNaming)
{
    const int size = surface.size();
    LandscapeWriter writer;
    bool ok = writer.open(fileName);
    std::vector<int> line;
    for (int row = 0; ok && row < size; ++row) {
        thresholdedRow(surface, row, threshold, matrixValue, coverValue, line);
        ok = writer.writeLine(line);
    }
    if (ok)
        ok = writer.close(beforeNaming);
    if (!ok) {
        if (error)
            *error = writer.error();
        writer.discard();
    }
    return ok;
}

FractalRunResult runFractalLandscapes(const FractalRunParameters& p, RandomSource&, RunControl& control)
{
    FractalRunResult result;
    result.message = checkFractalParameters(p);
    if (result.message.empty())
        result.message = checkOutputFolder(p.folder);
    RunLock lock;
    if (result.message.empty() && !lock.acquire({p.folder}))
        result.message = lock.message();
    RunRecord record;
    if (p.metrics)
        record.keepMetrics((p.folder / "metrics.csv").string(), *p.metrics);
    if (result.message.empty() && !record.beginAtFirstFile())
        result.message = withReason("cannot create " + record.failedListName(), record.error());
    if (!result.message.empty()) {
        result.status = RunStatus::Refused;
        return result;
    }
    result.metricsTable = record.metricsTable();
    const std::vector<double> hValues = fractalHValues(p.initialH, p.finalH, p.stepH);
    const auto& thresholds = fractalThresholds();
    const std::int64_t total = static_cast<std::int64_t>(hValues.size()) * SurfacesPerH;
    int jobs = p.jobs > 0 ? p.jobs : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    jobs = std::min(jobs, 256);
    SurfacePipeline pipeline(p, hValues, jobs);
    const bool watched = control.observed();

    auto report = [&](std::int64_t done, std::string label) {
        if (watched && !control.report(ProgressEvent{done, total, std::move(label), -1})) {
            result.status = RunStatus::Cancelled;
            return false;
        }
        return true;
    };

    std::vector<std::array<int, 101>> tallies(hValues.size());
    // The range was checked above: its minimum is not above its maximum.
    result.asked = static_cast<long long>(hValues.size()) * fractalLevelCount(p.cover) * p.replicates;
    // What each H got against what it asked, whenever the run ends.
    auto finish = [&]() -> FractalRunResult& {
        // A run that fails before its first landscape leaves the earlier table as it was.
        if (!record.end(result) && !result.failed()) {
            result.status = RunStatus::Failed;
            result.message = withReason("could not write " + record.failedListName(), record.error());
        }
        result.files = record.takeFiles();
        for (std::size_t hi = 0; hi < hValues.size(); ++hi)
            for (int L = p.cover.min; L <= p.cover.max; L += p.cover.step)
                if (const int got = tallies[hi][static_cast<std::size_t>(L)]; got < p.replicates)
                    result.shortLevels.push_back(
                        {"H " + formatH(hValues[hi]) + ", " + std::to_string(L) + " %", got, p.replicates});
        return result;
    };

    for (std::size_t hi = 0; hi < hValues.size(); ++hi) {
        const double H = hValues[hi];
        std::array<int, 101>& tally = tallies[hi];
        for (int seed = 0; seed < SurfacesPerH; ++seed) {
            const std::int64_t task = static_cast<std::int64_t>(hi) * SurfacesPerH + seed;
            if (!report(task, fractalProgressLabel(H, seed + 1)))
                return finish();
            const std::shared_ptr<BuiltSurface> built = pipeline.take(task);
            ++result.surfaces;
            if (!built->built) {
                result.status = RunStatus::Failed;
                result.message = "could not build the surface of H " + formatH(H) + " number " +
                                 std::to_string(seed + 1) + ": " + built->surface.error();
                return finish();
            }
            if (built->levelsFilled)
                break;
            for (std::size_t i = 0; i < built->cuts.size(); ++i) {
                const SurfaceCut& planned = built->cuts[i];
                ++tally[static_cast<std::size_t>(planned.level)];
                const std::string& name = planned.name;
                std::string why;
                if (!writeThresholdedGrid(built->surface, name,
                                          thresholds[static_cast<std::size_t>(planned.threshold)], p.matrixValue,
                                          p.coverValue, &why, [&] { return record.replaceEarlier(); })) {
                    result.status = RunStatus::Failed;
                    result.message = "could not write " + name + ": " + why;
                    return finish();
                }
                const SurfaceCut& cut = pipeline.cut(*built, i);
                if (!cut.error.empty()) {
                    result.status = RunStatus::Failed;
                    result.message = "could not measure " + name + ": " + cut.error;
                    return finish();
                }
                if (!record.addMeasuredFile(name, cut.rows)) {
                    result.status = RunStatus::Failed;
                    result.message = withReason("could not write " + record.failedListName(), record.error());
                    return finish();
                }
                // A large surface can hold many files: a stop is heard between any two of them.
                if (!report(task, std::string()))
                    return finish();
            }
            if (!report(task + 1, std::string()))
                return finish();
        }
    }
    if (watched)
        control.report(ProgressEvent{total, total, std::string(), -1});
    return finish();
}

}  // namespace orvalis
