#pragma once

#include "core/neutral/FractalRun.h"
#include "core/neutral/MidpointSurface.h"

#include <array>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace orvalis {

// A built surface with its cover counts, ready for the threshold sweep.
struct BuiltSurface {
    MidpointSurface surface;
    std::array<std::int64_t, ThresholdCount> counts{};
    bool built = false;  // false: surface.error() says why
};

// Builds the surfaces of task numbers hIndex * 200 + seed ahead of the consumer on worker
// threads. The consumer takes them strictly in order and may skip forward (an H value
// finished early); results that fall behind it are dropped. With one job the consumer
// builds each surface itself when it takes it.
class SurfacePipeline {
public:
    SurfacePipeline(const FractalRunParameters& p, const std::vector<double>& hValues, int jobs);
    ~SurfacePipeline();
    SurfacePipeline(const SurfacePipeline&) = delete;
    SurfacePipeline& operator=(const SurfacePipeline&) = delete;

    std::unique_ptr<BuiltSurface> take(std::int64_t task);

private:
    void work();
    std::unique_ptr<BuiltSurface> build(std::int64_t task) const;

    const FractalRunParameters& p_;
    const std::vector<double>& hValues_;
    const std::int64_t total_;
    std::int64_t lookahead_ = 1;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::int64_t nextClaim_ = 0;
    std::int64_t consumerAt_ = 0;
    bool stop_ = false;
    std::map<std::int64_t, std::unique_ptr<BuiltSurface>> ready_;
    std::vector<std::thread> workers_;
};

}  // namespace orvalis
