#include "core/compare/ComparePipeline.h"

#include "core/io/LandscapeWriter.h"
#include "core/io/MetricsCsv.h"
#include "core/map/RasterGrid.h"
#include "core/neutral/MidpointSurface.h"
#include "core/run/RunChecks.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

namespace orvalis {

MetricKeys::MetricKeys(const MetricSelection& kept, int coverValue, int matrixValue)
    : low_(std::min(coverValue, matrixValue)), high_(std::max(coverValue, matrixValue))
{
    const int classes[2] = {low_, high_};
    for (int slot = 0; slot < 2; ++slot)
        for (const MetricDef* d : kept.metrics())
            if (d->level == MetricLevel::Class) {
                classSlot_[slot][d->code] = static_cast<int>(keys_.size());
                keys_.push_back({MetricLevel::Class, classes[slot], d->code});
            }
    for (const MetricDef* d : kept.metrics())
        if (d->level == MetricLevel::Landscape) {
            landscapeSlot_[d->code] = static_cast<int>(keys_.size());
            keys_.push_back({MetricLevel::Landscape, 0, d->code});
        }
}

int MetricKeys::index(const MetricValue& v) const
{
    const std::map<std::string, int>* slots = nullptr;
    if (v.level == MetricLevel::Landscape)
        slots = &landscapeSlot_;
    else if (v.level == MetricLevel::Class && (v.cls == low_ || v.cls == high_))
        slots = &classSlot_[v.cls == low_ ? 0 : 1];
    if (!slots)
        return -1;
    const auto found = slots->find(v.metric);
    return found == slots->end() ? -1 : found->second;
}

std::string modelFolderName(const NeutralModel& model)
{
    std::string name = model.name();
    std::replace(name.begin(), name.end(), ':', '_');
    std::replace(name.begin(), name.end(), '/', '-');
    return name;
}

std::string keptLandscapeName(const std::string& windowFile, int replicate)
{
    char number[16];
    std::snprintf(number, sizeof number, "_%03d.txt", replicate);
    return std::filesystem::path(windowFile).stem().string() + number;
}

ComparePipeline::ComparePipeline(const CompareParameters& p, const std::vector<int>& windows, const MetricKeys& keys,
                                 int jobs)
    : p_(p),
      windows_(windows),
      keys_(keys),
      perWindow_(1 + static_cast<std::int64_t>(p.models.size()) * p.replicates),
      total_(perWindow_ * static_cast<std::int64_t>(windows.size()))
{
    // Enough in flight that workers seldom wait for the consumer, few enough to keep memory flat.
    lookahead_ = std::max<std::int64_t>(64, 16 * jobs);
    for (int i = 0; i < jobs; ++i)
        workers_.emplace_back([this] { work(); });
}

ComparePipeline::~ComparePipeline()
{
    halt();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    workToDo_.notify_all();
    resultReady_.notify_all();
    for (std::thread& t : workers_)
        t.join();
}

void ComparePipeline::read(RealWindow& w) const
{
    LandscapeGrid grid;
    w.options = p_.metrics;
    w.options.selection = *compareSelection(p_.metricNames);
    w.options.stop = &halt_;
    w.cellSize = p_.cellSize;
    std::optional<int> noData;
    if (!readMeasurableGrid(w.file, grid, w.cellSize, noData, &w.error, &w.sizeNote, 100'000'000, &halt_))
        return;
    w.rows = static_cast<int>(grid.size());
    w.cols = grid.empty() ? 0 : static_cast<int>(grid.front().size());
    w.error = checkMeasurable(w.rows, w.cols);
    if (!w.error.empty())
        return;
    const bool fractal = std::any_of(p_.models.begin(), p_.models.end(),
                                     [](const NeutralModel& m) { return m.kind == NeutralModel::Kind::Fractal; });
    if (fractal && std::max(w.rows, w.cols) > MaxSurfaceSize) {
        w.error = "larger than the largest fractal landscape (" + std::to_string(MaxSurfaceSize) + " cells a side)";
        return;
    }
    // Windows written with a map's classes compare fairly: everything but habitat is matrix.
    std::vector<int> cells;
    cells.reserve(static_cast<std::size_t>(w.rows) * static_cast<std::size_t>(w.cols));
    for (const std::vector<int>& line : grid)
        for (int v : line) {
            if (noData && v == *noData) {
                w.error = "holds no-data cells; a window must be whole to be compared";
                return;
            }
            const bool habitat = p_.habitat.empty() ? v == p_.coverValue : p_.habitat.contains(v);
            w.habitat += habitat;
            cells.push_back(habitat ? p_.coverValue : p_.matrixValue);
        }
    // The log's cover (six significant digits) must be the window's: else the habitat is misnamed.
    if (static_cast<std::size_t>(w.index) < p_.logCovers.size()) {
        const double cover = static_cast<double>(w.habitat) / static_cast<double>(cells.size());
        const double logged = p_.logCovers[static_cast<std::size_t>(w.index)];
        if (std::fabs(cover - logged) > 5e-6 * std::max(1.0, logged) + 1e-12) {
            char text[160];
            std::snprintf(text, sizeof text, "holds %.6g habitat where its log line says %.6g: ", cover, logged);
            w.error = text + std::string(p_.habitat.empty() ? "the cover value " + std::to_string(p_.coverValue) +
                                                                   " is not its habitat (windows keeping a map's classes "
                                                                   "need --habitat)"
                                                             : "--habitat does not name its habitat classes");
            return;
        }
    }
    std::vector<MetricValue> values;
    if (!computeMetrics(GridView{cells, w.rows, w.cols, std::nullopt, w.cellSize}, w.options, values, &w.error))
        return;
    w.real.assign(keys_.keys().size(), std::nullopt);
    for (const MetricValue& v : values)
        if (const int k = keys_.index(v); k >= 0)
            w.real[static_cast<std::size_t>(k)] = v.value;
}

CompareTask ComparePipeline::replicate(const RealWindow& w, int model, int replicate) const
{
    CompareTask t;
    const NeutralModel& m = p_.models[static_cast<std::size_t>(model)];
    const std::vector<int> cells = neutralLandscape(m, p_.seed, w.index, model, replicate, w.rows, w.cols, w.habitat,
                                                    p_.coverValue, p_.matrixValue, &halt_);
    if (cells.empty()) {
        t.error = "could not build its " + m.name() + " landscape " + std::to_string(replicate + 1);
        return t;
    }
    if (p_.keepLandscapes) {
        const std::filesystem::path path =
            p_.output / "landscapes" / modelFolderName(m) / keptLandscapeName(w.file, replicate + 1);
        LandscapeWriter writer;
        bool ok = writer.open(path.string());
        for (int r = 0; ok && r < w.rows; ++r)
            ok = writer.writeLine(std::span<const int>(cells).subspan(static_cast<std::size_t>(r) * w.cols,
                                                                      static_cast<std::size_t>(w.cols)));
        if (!(ok && writer.close())) {
            t.error = "could not write " + path.string() + ": " + writer.error();
            writer.discard();
            return t;
        }
    }
    std::vector<MetricValue> values;
    if (!computeMetrics(GridView{cells, w.rows, w.cols, std::nullopt, w.cellSize}, w.options, values, &t.error))
        return t;
    t.values.assign(keys_.keys().size(), std::nullopt);
    for (const MetricValue& v : values)
        if (const int k = keys_.index(v); k >= 0)
            t.values[static_cast<std::size_t>(k)] = v.value;
    const std::string leading = csvName(w.file) + "," + m.name() + "," + std::to_string(replicate + 1);
    appendMetricsRowsAfter(t.rows, leading, values, [this](const MetricValue& v) { return keys_.index(v) >= 0; });
    return t;
}

void ComparePipeline::work()
{
    for (;;) {
        std::int64_t task = 0;
        std::shared_ptr<RealWindow> w;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            workToDo_.wait(lock, [&] { return stop_ || (nextClaim_ < total_ && nextClaim_ < consumerAt_ + lookahead_); });
            if (stop_)
                return;
            task = nextClaim_++;
            const int local = static_cast<int>(task / perWindow_);
            if (task % perWindow_ == 0) {
                w = std::make_shared<RealWindow>();
                w->index = windows_[static_cast<std::size_t>(local)];
                w->file = p_.files[static_cast<std::size_t>(w->index)];
                read_[local] = w;
            } else {
                // The window's first task was claimed before this one: it is read, or being read.
                // Gone only when the consumer stopped and released it with tasks still unclaimed.
                const auto found = read_.find(local);
                if (found == read_.end())
                    return;
                w = found->second;
                resultReady_.wait(lock, [&] { return stop_ || w->ready; });
                if (stop_)
                    return;
            }
        }
        CompareTask result;
        const std::int64_t sub = task % perWindow_;
        if (sub == 0)
            read(*w);
        else if (w->error.empty())
            result = replicate(*w, static_cast<int>((sub - 1) / p_.replicates), static_cast<int>((sub - 1) % p_.replicates));
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (sub == 0)
                w->ready = true;
            results_[task] = std::move(result);
        }
        resultReady_.notify_all();
    }
}

std::optional<CompareTask> ComparePipeline::take(std::int64_t task, const std::function<bool()>& keepWaiting)
{
    std::unique_lock<std::mutex> lock(mutex_);
    consumerAt_ = task;
    workToDo_.notify_all();
    while (!resultReady_.wait_for(lock, std::chrono::milliseconds(25),
                                  [&] { return results_.count(task) != 0; })) {
        lock.unlock();
        const bool goOn = keepWaiting();
        lock.lock();
        if (!goOn)
            return std::nullopt;
    }
    auto it = results_.find(task);
    CompareTask result = std::move(it->second);
    results_.erase(it);
    consumerAt_ = task + 1;
    lock.unlock();
    workToDo_.notify_one();
    return result;
}

std::shared_ptr<RealWindow> ComparePipeline::window(int local)
{
    std::lock_guard<std::mutex> lock(mutex_);
    return read_[local];
}

void ComparePipeline::release(int local)
{
    std::lock_guard<std::mutex> lock(mutex_);
    read_.erase(local);
}

}  // namespace orvalis
