#include "core/neutral/SurfacePipeline.h"

#include <algorithm>

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
    changed_.notify_all();
    for (std::thread& t : workers_)
        t.join();
}

std::unique_ptr<BuiltSurface> SurfacePipeline::build(std::int64_t task) const
{
    const double H = hValues_[static_cast<std::size_t>(task / SurfacesPerH)];
    const int seed = static_cast<int>(task % SurfacesPerH);
    auto built = std::make_unique<BuiltSurface>();
    built->built = p_.referenceSurfaces ? built->surface.generateReferenceSurface(H, p_.size, SurfaceLevels, seed)
                                        : built->surface.generateSurface(H, p_.size, SurfaceLevels, seed);
    if (built->built)
        built->counts = coverCounts(built->surface);
    return built;
}

std::unique_ptr<BuiltSurface> SurfacePipeline::take(std::int64_t task)
{
    if (workers_.empty())
        return build(task);
    std::unique_lock<std::mutex> lock(mutex_);
    consumerAt_ = task;
    nextClaim_ = std::max(nextClaim_, task);
    ready_.erase(ready_.begin(), ready_.lower_bound(task));
    changed_.notify_all();
    changed_.wait(lock, [&] { return ready_.count(task) != 0; });
    auto it = ready_.find(task);
    std::unique_ptr<BuiltSurface> built = std::move(it->second);
    ready_.erase(it);
    consumerAt_ = task + 1;
    changed_.notify_all();
    return built;
}

void SurfacePipeline::work()
{
    for (;;) {
        std::int64_t task;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            changed_.wait(lock, [&] { return stop_ || (nextClaim_ < total_ && nextClaim_ < consumerAt_ + lookahead_); });
            if (stop_)
                return;
            task = nextClaim_++;
        }
        auto built = build(task);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (task >= consumerAt_)
                ready_[task] = std::move(built);
        }
        changed_.notify_all();
    }
}

}  // namespace orvalis
