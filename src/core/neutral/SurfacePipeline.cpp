#include "core/neutral/SurfacePipeline.h"

#include "core/io/MetricsCsv.h"

#include <algorithm>
#include <tuple>

namespace orvalis {

SurfacePipeline::SurfacePipeline(const FractalRunParameters& p, const std::vector<double>& hValues, int jobs)
    : p_(p), hValues_(hValues), total_(static_cast<std::int64_t>(hValues.size()) * SurfacesPerH)
{
    const double side = static_cast<double>(p.size) + 1.0;
    // Each surface in flight holds its window and its build's working grids.
    const double bytesPerSurface = side * side * sizeof(double) * 2.5 + 4096.0;
    const double budget = 512.0 * 1024 * 1024;
    // Small surfaces run far ahead so that workers seldom wait for the writer; large ones
    // stay close, as surfaces built past the end of an H value are thrown away.
    const double wanted = std::max(2.0 * jobs + 2.0, std::min(256.0, 4.0e6 / (side * side)));
    lookahead_ = static_cast<std::int64_t>(std::clamp(budget / bytesPerSurface, 1.0, wanted));
    if (jobs > 1)
        for (int i = 0; i < jobs; ++i)
            workers_.emplace_back([this] { work(); });
}

SurfacePipeline::~SurfacePipeline()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    workToDo_.notify_all();
    for (std::thread& t : workers_)
        t.join();
}

std::shared_ptr<BuiltSurface> SurfacePipeline::build(std::int64_t task) const
{
    const double H = hValues_[static_cast<std::size_t>(task / SurfacesPerH)];
    const int seed = static_cast<int>(task % SurfacesPerH);
    auto built = std::make_shared<BuiltSurface>();
    built->built = p_.referenceSurfaces ? built->surface.generateReferenceSurface(H, p_.size, SurfaceLevels, seed)
                                        : built->surface.generateSurface(H, p_.size, SurfaceLevels, seed);
    if (built->built)
        built->counts = coverCounts(built->surface);
    return built;
}

void SurfacePipeline::plan(std::int64_t task, BuiltSurface& built)
{
    if (task % SurfacesPerH == 0)
        planTally_.fill(0);
    built.planned = true;
    planNext_ = task + 1;
    if (!built.built) {
        planNext_ = total_;  // the run ends here
        return;
    }
    bool filled = true;
    for (int L = p_.cover.min; L <= p_.cover.max && filled; L += p_.cover.step)
        filled = planTally_[static_cast<std::size_t>(L)] >= p_.replicates;
    if (filled) {
        built.levelsFilled = true;
        planNext_ = (task / SurfacesPerH + 1) * SurfacesPerH;
        return;
    }
    // A file's level is the cover of the cells it holds: rows and columns 0..size-1.
    const std::int64_t cells = static_cast<std::int64_t>(p_.size) * p_.size;
    const double H = hValues_[static_cast<std::size_t>(task / SurfacesPerH)];
    for (int k = 0; k < ThresholdCount; ++k) {
        const int pc = static_cast<int>(100 * built.counts[static_cast<std::size_t>(k)] / cells);
        int& tally = planTally_[static_cast<std::size_t>(pc)];
        if (!isFractalLevel(p_.cover, pc) || tally >= p_.replicates)
            continue;
        ++tally;
        SurfaceCut& cut = built.cuts.emplace_back();
        cut.threshold = k;
        cut.level = pc;
        cut.name = fractalFileName(p_.folder, H, pc, tally);
        cut.measured = !p_.metrics;
    }
}

bool SurfacePipeline::planReady()
{
    bool planned = false;
    while (planNext_ < total_) {
        const auto it = ready_.find(planNext_);
        if (it == ready_.end())
            break;
        planned = true;
        plan(planNext_, *it->second);
        for (std::size_t c = 0; c < it->second->cuts.size(); ++c)
            if (!it->second->cuts[c].measured)
                toMeasure_.emplace_back(it->second, c);
        // Surfaces the run will skip are not worth building.
        nextClaim_ = std::max(nextClaim_, planNext_);
    }
    return planned;
}

void SurfacePipeline::measure(const BuiltSurface& built, SurfaceCut& cut) const
{
    const double threshold = fractalThresholds()[static_cast<std::size_t>(cut.threshold)];
    // One block a thread, kept: a run measures hundreds of files.
    thread_local std::vector<int> cells;
    thresholdedCells(built.surface, threshold, p_.matrixValue, p_.coverValue, cells);
    const int size = built.surface.size();
    appendMeasuredRows(cut.rows, cut.name, GridView{cells, size, size, std::nullopt, 1.0}, *p_.metrics, &cut.error);
}

std::shared_ptr<BuiltSurface> SurfacePipeline::take(std::int64_t task)
{
    if (workers_.empty()) {
        std::shared_ptr<BuiltSurface> built = build(task);
        plan(task, *built);
        return built;
    }
    std::unique_lock<std::mutex> lock(mutex_);
    // A skip to the next H value opens a whole look-ahead of surfaces to build.
    if (task > consumerAt_)
        workToDo_.notify_all();
    consumerAt_ = task;
    nextClaim_ = std::max(nextClaim_, task);
    ready_.erase(ready_.begin(), ready_.lower_bound(task));
    consumerGoes_.wait(lock, [&] {
        const auto it = ready_.find(task);
        return it != ready_.end() && it->second->planned;
    });
    auto it = ready_.find(task);
    std::shared_ptr<BuiltSurface> built = std::move(it->second);
    ready_.erase(it);
    consumerAt_ = task + 1;
    lock.unlock();
    workToDo_.notify_one();
    return built;
}

const SurfaceCut& SurfacePipeline::cut(BuiltSurface& built, std::size_t i)
{
    SurfaceCut& c = built.cuts[i];
    if (workers_.empty()) {
        if (!c.measured)
            measure(built, c);
        c.measured = true;
        return c;
    }
    std::unique_lock<std::mutex> lock(mutex_);
    consumerGoes_.wait(lock, [&] { return c.measured; });
    return c;
}

void SurfacePipeline::work()
{
    for (;;) {
        std::int64_t task = 0;
        std::shared_ptr<BuiltSurface> measured;
        std::size_t cut = 0;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            workToDo_.wait(lock, [&] {
                return stop_ || !toMeasure_.empty() || (nextClaim_ < total_ && nextClaim_ < consumerAt_ + lookahead_);
            });
            if (stop_)
                return;
            // Files to measure first: the consumer is waiting for them or soon will be.
            if (!toMeasure_.empty()) {
                std::tie(measured, cut) = std::move(toMeasure_.front());
                toMeasure_.pop_front();
            } else {
                task = nextClaim_++;
            }
        }
        if (measured) {
            // Only this worker writes to the cut until it is marked measured, under the lock.
            SurfaceCut& c = measured->cuts[cut];
            measure(*measured, c);
            {
                std::lock_guard<std::mutex> lock(mutex_);
                c.measured = true;
            }
            consumerGoes_.notify_one();
            continue;
        }
        auto built = build(task);
        bool planned = false;
        std::size_t toMeasure = 0;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (task >= consumerAt_) {
                ready_[task] = std::move(built);
                planned = planReady();
                toMeasure = toMeasure_.size();
            }
        }
        // The other workers are woken only for files to measure; each of them checks for
        // surfaces to build as it goes back to waiting.
        if (planned)
            consumerGoes_.notify_one();
        if (toMeasure > 1)
            workToDo_.notify_all();
    }
}

}  // namespace orvalis
