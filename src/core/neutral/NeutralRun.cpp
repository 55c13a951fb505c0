#include "core/neutral/NeutralRun.h"

#include "core/compare/ReplicateRandom.h"
#include "core/io/BatchList.h"
#include "core/io/LandscapeWriter.h"
#include "core/map/WindowWriters.h"
#include "core/neutral/ExactClasses.h"
#include "core/neutral/ModelSurfaces.h"
#include "core/run/RunChecks.h"
#include "core/run/RunLock.h"
#include "core/run/RunRecord.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <fstream>
#include <map>
#include <mutex>
#include <new>
#include <thread>

namespace orvalis {

namespace {

// The state of a proportions run's one level: outside the cover percentages.
constexpr int ClassesLevel = -1;

int jobCount(const NeutralRunParameters& p)
{
    const int jobs = p.jobs > 0 ? p.jobs : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    return std::min(jobs, 256);
}

// Bytes the system could still give (MemAvailable); 0 when it does not say.
std::uint64_t availableMemory()
{
    std::ifstream meminfo("/proc/meminfo");
    std::string key;
    std::uint64_t kilobytes = 0;
    std::string unit;
    while (meminfo >> key >> kilobytes >> unit)
        if (key == "MemAvailable:")
            return kilobytes * 1024;
    return 0;
}

// Peak bytes of one landscape in the making: the model's build, the ranking's copy, the cells
// and what a GDAL writer converts them to.
double bytesPerLandscape(const NeutralRunParameters& p)
{
    const double cells = static_cast<double>(p.rows) * static_cast<double>(p.cols);
    const double writer = p.format == GridFormat::Text ? 0.0 : 9.0;
    return cells * (p.model.bytesPerCell() + 8.0 + 4.0 + writer + (p.metrics ? 4.0 : 0.0));
}

std::string extension(GridFormat format)
{
    switch (format) {
    case GridFormat::AsciiGrid:
        return ".asc";
    case GridFormat::GeoTiff:
        return ".tif";
    case GridFormat::Text:
        break;
    }
    return ".txt";
}

std::string fileStem(const NeutralRunParameters& p)
{
    std::string stem = p.model.text();
    for (char& c : stem)
        c = c == ':' || c == '+' ? '_' : c == '*' ? 'x' : c == '/' ? '-' : c;
    return stem;
}

std::string writeLandscape(const NeutralRunParameters& p, const std::string& name, std::span<const int> cells,
                           const BeforeNaming& beforeNaming)
{
    std::string error;
    if (p.format == GridFormat::Text)
        return writeLandscapeText(name, cells.data(), p.rows, p.cols, jobCount(p), &error, beforeNaming) ? std::string() : error;
    const std::vector<std::int64_t> values(cells.begin(), cells.end());
    std::vector<unsigned char> noData;
    if (!p.mask.empty()) {
        noData.resize(p.mask.size());
        for (std::size_t i = 0; i < noData.size(); ++i)
            noData[i] = p.mask[i] == 0;
    }
    const WindowGrid grid{p.cols, p.rows, values.data(), noData.empty() ? nullptr : noData.data()};
    const GeoTransform frame{0.0, p.cellSize, 0.0, p.rows * p.cellSize, 0.0, -p.cellSize};
    const bool ok = p.format == GridFormat::AsciiGrid
                        ? writeAsciiGrid(name, grid, frame, std::string(), &error, nullptr, beforeNaming)
                        : writeGeoTiff(name, grid, frame, std::string(), &error, beforeNaming);
    return ok ? std::string() : error;
}

LandscapeGrid gridOf(const NeutralRunParameters& p, std::span<const int> cells)
{
    LandscapeGrid grid(static_cast<std::size_t>(p.rows));
    for (int r = 0; r < p.rows; ++r) {
        const auto begin = cells.begin() + static_cast<std::ptrdiff_t>(r) * p.cols;
        grid[static_cast<std::size_t>(r)].assign(begin, begin + p.cols);
    }
    return grid;
}

struct Made {
    LandscapeCells cells;
    std::string error;
};

// Landscapes made ahead of the writer on worker threads, at most a few beyond the one it
// waits for, so that memory stays at jobs + 1 landscapes; the writer takes them in order.
class LandscapePipeline {
public:
    LandscapePipeline(const NeutralRunParameters& p, const std::vector<int>& levels, int jobs)
        : p_(p), levels_(levels), total_(static_cast<std::int64_t>(levels.size()) * p.replicates),
          lookahead_(jobs + 1)
    {
        for (int i = 0; i < jobs; ++i)
            workers_.emplace_back([this] { work(); });
    }

    ~LandscapePipeline()
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stop_ = true;
        }
        workToDo_.notify_all();
        for (std::thread& t : workers_)
            t.join();
    }

    // The landscape of task; waits, asking keepWaiting every 25 ms; nullopt once it says no.
    template <class KeepWaiting>
    std::optional<Made> take(std::int64_t task, KeepWaiting keepWaiting)
    {
        std::unique_lock<std::mutex> lock(mutex_);
        consumerAt_ = task;
        workToDo_.notify_all();
        for (;;) {
            const auto found = ready_.find(task);
            if (found != ready_.end()) {
                Made made = std::move(found->second);
                ready_.erase(found);
                consumerAt_ = task + 1;
                workToDo_.notify_all();
                return made;
            }
            lock.unlock();
            if (!keepWaiting())
                return std::nullopt;
            lock.lock();
            resultReady_.wait_for(lock, std::chrono::milliseconds(25));
        }
    }

private:
    void work()
    {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            workToDo_.wait(lock, [this] { return stop_ || (nextClaim_ < total_ && nextClaim_ < consumerAt_ + lookahead_); });
            if (stop_)
                return;
            const std::int64_t task = nextClaim_++;
            lock.unlock();
            Made made;
            const int level = levels_[static_cast<std::size_t>(task / p_.replicates)];
            try {
                made.cells = neutralLandscapeCells(p_, level, static_cast<int>(task % p_.replicates), &made.error);
            } catch (const std::bad_alloc&) {
                made.cells.clear();
                made.error = "out of memory";
            }
            lock.lock();
            ready_.emplace(task, std::move(made));
            resultReady_.notify_all();
        }
    }

    const NeutralRunParameters& p_;
    const std::vector<int>& levels_;
    const std::int64_t total_;
    const std::int64_t lookahead_;
    std::mutex mutex_;
    std::condition_variable workToDo_;
    std::condition_variable resultReady_;
    std::int64_t nextClaim_ = 0;
    std::int64_t consumerAt_ = 0;
    bool stop_ = false;
    std::map<std::int64_t, Made> ready_;
    std::vector<std::thread> workers_;
};

std::string levelLabel(int level)
{
    return level == ClassesLevel ? std::string("classes") : std::to_string(level) + " %";
}

// The parts of a comma-separated list, blanks around each dropped, empty parts left out.
std::vector<std::string> commaParts(const std::string& text)
{
    std::vector<std::string> parts;
    std::size_t from = 0;
    while (from <= text.size()) {
        std::size_t end = text.find(',', from);
        if (end == std::string::npos)
            end = text.size();
        const std::size_t first = text.find_first_not_of(' ', from);
        if (first != std::string::npos && first < end) {
            const std::size_t last = text.find_last_not_of(' ', end - 1);
            parts.push_back(text.substr(first, last - first + 1));
        }
        from = end + 1;
    }
    return parts;
}

}  // namespace

std::string readCoverLevels(const std::string& text, std::vector<int>& levels)
{
    levels.clear();
    const auto whole = [](const std::string& part, int& value) {
        const auto r = std::from_chars(part.data(), part.data() + part.size(), value);
        return !part.empty() && r.ec == std::errc() && r.ptr == part.data() + part.size() && value >= 0 && value <= 100;
    };
    const std::size_t a = text.find(':');
    if (a != std::string::npos) {
        const std::size_t b = text.find(':', a + 1);
        int min = 0, max = 0, step = 0;
        if (b == std::string::npos || !whole(text.substr(0, a), min) || !whole(text.substr(a + 1, b - a - 1), max) ||
            !whole(text.substr(b + 1), step) || step < 1 || max < min)
            return "'" + text + "': levels are MIN:MAX:STEP with 0 <= MIN <= MAX <= 100 and STEP 1..100";
        for (int level = min; level <= max; level += step)
            levels.push_back(level);
        return {};
    }
    for (const std::string& part : commaParts(text)) {
        int level = 0;
        if (!whole(part, level))
            return "'" + part + "' is not a cover level, a whole percentage 0..100";
        levels.push_back(level);
    }
    return levels.empty() ? "name at least one cover level" : std::string();
}

std::string readClassProportions(const std::string& text, std::vector<double>& proportions)
{
    proportions.clear();
    std::string list = text;
    std::replace(list.begin(), list.end(), '/', ',');
    for (const std::string& part : commaParts(list)) {
        double v = 0.0;
        const auto r = std::from_chars(part.data(), part.data() + part.size(), v);
        if (r.ec != std::errc() || r.ptr != part.data() + part.size())
            return "'" + part + "' is not a number";
        proportions.push_back(v);
    }
    return checkProportions(proportions);
}

std::vector<int> neutralLevels(const NeutralRunParameters& p)
{
    if (p.coverLevels.empty())
        return {ClassesLevel};
    return p.coverLevels;
}

std::string neutralFileName(const NeutralRunParameters& p, int level, int replicate)
{
    char tail[64];
    if (level == ClassesLevel)
        std::snprintf(tail, sizeof tail, "_classes_%05lld", static_cast<long long>(replicate) + 1);
    else
        std::snprintf(tail, sizeof tail, "_%03d_%05lld", level, static_cast<long long>(replicate) + 1);
    return (p.folder / (fileStem(p) + tail + extension(p.format))).string();
}

std::string neutralBatchListName(const NeutralRunParameters& p)
{
    return batchListName((p.folder / (fileStem(p) + "_")).string());
}

std::string checkNeutralParameters(const NeutralRunParameters& p)
{
    if (p.model.parts.empty())
        return "no neutral model named";
    if (const std::string why = p.model.checkSize(p.rows, p.cols); !why.empty())
        return why;
    if (!p.coverLevels.empty()) {
        for (int level : p.coverLevels)
            if (level < 0 || level > 100)
                return "cover levels must lie between 0 and 100 (got " + std::to_string(level) + ")";
        std::vector<int> sorted = p.coverLevels;
        std::sort(sorted.begin(), sorted.end());
        if (std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end())
            return "a cover level is named twice: its files would overwrite each other";
    } else if (const std::string why = checkProportions(p.proportions); !why.empty()) {
        return why;
    }
    if (p.replicates < 1)
        return "the number of replicates must be at least 1";
    if (p.jobs < 0)
        return "the number of jobs cannot be negative";
    if (!p.coverLevels.empty() && p.coverValue == p.matrixValue)
        return "the cover and matrix values must differ";
    if (!p.mask.empty() && p.mask.size() != static_cast<std::size_t>(p.rows) * static_cast<std::size_t>(p.cols))
        return "the mask is not of " + std::to_string(p.rows) + " x " + std::to_string(p.cols) + " cells";
    if (!p.mask.empty() && p.metrics)
        return "landscapes with a mask are not measured as they are written: measure them with "
               "'orvalis-cli metrics --no-data " + std::to_string(p.outsideValue) + "'";
    if (!(p.cellSize > 0.0) || !std::isfinite(p.cellSize))
        return "the cell size must be above 0";
    if (p.metrics)
        if (const std::string why = checkMeasurable(p.rows, p.cols); !why.empty())
            return why;
    const int jobs = jobCount(p);
    const double need = bytesPerLandscape(p) * (jobs + 2);
    if (const std::uint64_t free = availableMemory(); free > 0 && need > static_cast<double>(free)) {
        char text[200];
        std::snprintf(text, sizeof text,
                      "%d x %d landscapes of %s need about %.1f GB with %d job%s; %.1f GB of memory are free",
                      p.rows, p.cols, p.model.text().c_str(), need / 1e9, jobs, jobs == 1 ? "" : "s",
                      static_cast<double>(free) / 1e9);
        return text;
    }
    return {};
}

LandscapeCells neutralLandscapeCells(const NeutralRunParameters& p, int level, int replicate, std::string* error)
{
    ReplicateRandom random(replicateState(p.seed, level, 0, replicate));
    const std::size_t size = static_cast<std::size_t>(p.rows) * static_cast<std::size_t>(p.cols);
    std::int64_t inside = static_cast<std::int64_t>(size);
    if (!p.mask.empty())
        inside = std::count_if(p.mask.begin(), p.mask.end(), [](unsigned char m) { return m != 0; });
    std::vector<std::int64_t> counts;
    std::vector<int> values;
    if (level == ClassesLevel) {
        counts = classCounts(p.proportions, inside);
        for (std::size_t i = 0; i < counts.size(); ++i)
            values.push_back(static_cast<int>(i) + 1);
    } else {
        const std::int64_t habitat = std::clamp<std::int64_t>(habitatAtCover(level, inside), 0, inside);
        counts = {inside - habitat, habitat};
        values = {p.matrixValue, p.coverValue};
    }
    // A surface of rectangles is classified from its tiles, without the surface, where it can be.
    Surface surface;
    std::vector<ValueTile> tiles;
    if (p.mask.empty() && p.model.buildTiles(p.rows, p.cols, random, tiles)) {
        LandscapeCells cells(size);
        if (classifyTiles(tiles, p.rows, p.cols, counts, values, cells))
            return cells;
        paintTiles(tiles, p.rows, p.cols, surface);
    } else if (!p.model.build(p.rows, p.cols, random, surface, error)) {
        return {};
    }
    LandscapeCells cells(surface.size());
    classifyByRank(surface, counts, values, cells, p.mask, p.outsideValue);
    return cells;
}

RunResult runNeutralLandscapes(const NeutralRunParameters& p, RandomSource&, RunControl& control)
{
    RunResult result;
    const std::vector<int> levels = neutralLevels(p);
    result.message = checkNeutralParameters(p);
    const std::string longest = neutralFileName(p, levels.empty() ? 100 : levels.back(), p.replicates - 1);
    for (const std::string& why : {checkListText("post-string", p.postString), checkOutputFolder(p.folder),
                                   checkNameLength(p.folder, longest)})
        if (result.message.empty())
            result.message = why;
    RunLock lock;
    if (result.message.empty() && !lock.acquire({p.folder}))
        result.message = lock.message();
    RunRecord record(neutralBatchListName(p), p.postString);
    if (p.metrics) {
        // A signal's flag ends the measuring of one large landscape within a row.
        MetricsOptions measuring = *p.metrics;
        if (!measuring.stop)
            measuring.stop = control.stopFlag();
        record.keepMetrics(metricsTableBeside(record.batchList()), measuring, p.cellSize);
    }
    if (result.message.empty() && !record.beginAtFirstFile())
        result.message = withReason("cannot create " + record.failedListName(), record.error());
    if (!result.message.empty()) {
        result.status = RunStatus::Refused;
        return result;
    }
    result.batchList = record.batchList();
    result.metricsTable = record.metricsTable();
    const std::int64_t total = static_cast<std::int64_t>(levels.size()) * p.replicates;
    result.asked = total;
    const bool watched = control.observed();
    std::vector<int> written(levels.size(), 0);
    {
        LandscapePipeline pipeline(p, levels, jobCount(p));
        std::int64_t done = 0;
        std::string label;
        const auto goOn = [&] { return !watched || control.report(ProgressEvent{done, total, label, -1}); };
        for (std::int64_t task = 0; task < total; ++task) {
            const std::size_t li = static_cast<std::size_t>(task / p.replicates);
            const int replicate = static_cast<int>(task % p.replicates);
            const std::string name = neutralFileName(p, levels[li], replicate);
            label = std::filesystem::path(name).filename().string();
            if (!goOn()) {
                result.status = RunStatus::Cancelled;
                break;
            }
            std::optional<Made> made = pipeline.take(task, goOn);
            if (!made) {
                result.status = RunStatus::Cancelled;
                break;
            }
            if (made->cells.empty()) {
                result.status = RunStatus::Failed;
                result.message = "could not make " + name + ": " + made->error;
                break;
            }
            if (const std::string why = writeLandscape(p, name, made->cells, [&] { return record.replaceEarlier(); });
                !why.empty()) {
                result.status = RunStatus::Failed;
                result.message = "cannot write " + name + ": " + why;
                break;
            }
            if (!(p.metrics ? record.addFile(name, gridOf(p, made->cells)) : record.addFile(name))) {
                if (control.isCanceled()) {
                    result.status = RunStatus::Cancelled;
                    break;
                }
                result.status = RunStatus::Failed;
                result.message = withReason("cannot write " + record.failedListName(), record.error());
                break;
            }
            ++written[li];
            ++done;
        }
    }
    // A run that fails before its first landscape leaves the earlier lists as they were.
    if (!record.end(result) && !result.failed()) {
        result.status = RunStatus::Failed;
        result.message = withReason("cannot write " + record.failedListName(), record.error());
    }
    result.files = record.takeFiles();
    for (std::size_t li = 0; li < levels.size(); ++li)
        if (written[li] < p.replicates)
            result.shortLevels.push_back({levelLabel(levels[li]), written[li], p.replicates});
    if (watched && result.status == RunStatus::Completed)
        control.report(ProgressEvent{total, total, std::string(), -1});
    return result;
}

}  // namespace orvalis
