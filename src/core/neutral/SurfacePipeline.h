#pragma once

#include "core/neutral/FractalRun.h"
#include "core/neutral/MidpointSurface.h"

#include <array>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace orvalis {

// One file a surface gives.
struct SurfaceCut {
    int threshold = 0;  // index into fractalThresholds()
    int level = 0;      // the whole percentage of cover cells, as named
    std::string name;   // fractalFileName of the file
    std::string rows;   // its rows in the metrics table, when the run keeps one
    std::string error;  // why the metrics engine refused it; empty when it did not

private:
    friend class SurfacePipeline;
    bool measured = false;
};

// A built surface with its cover counts and the files it gives.
struct BuiltSurface {
    MidpointSurface surface;
    std::array<std::int64_t, ThresholdCount> counts{};
    bool built = false;         // false: surface.error() says why
    bool levelsFilled = false;  // its H value already had every file it asks for: the run moves on
    std::vector<SurfaceCut> cuts;  // in writing order

private:
    friend class SurfacePipeline;
    bool planned = false;
};

// Builds the surfaces of task numbers hIndex * 200 + seed ahead of the consumer on worker
// threads, chooses the files each gives in the run's order (the choice depends on the files
// of the surfaces before it) and, when the run keeps a metrics table, measures them on the
// workers too. The consumer takes surfaces strictly in order and moves to the next H value
// when a surface says levelsFilled; results that fall behind it are dropped. With one job
// the consumer does all of it itself, as it comes to it.
class SurfacePipeline {
public:
    SurfacePipeline(const FractalRunParameters& p, const std::vector<double>& hValues, int jobs);
    ~SurfacePipeline();
    SurfacePipeline(const SurfacePipeline&) = delete;
    SurfacePipeline& operator=(const SurfacePipeline&) = delete;

    // The surface of task with its files chosen.
    std::shared_ptr<BuiltSurface> take(std::int64_t task);
    // File i of a surface take gave, its rows made: the consumer writes one file while the
    // workers measure the next ones.
    const SurfaceCut& cut(BuiltSurface& built, std::size_t i);

private:
    void work();
    std::shared_ptr<BuiltSurface> build(std::int64_t task) const;
    // Chooses the files of task, the next surface of the run's order.
    void plan(std::int64_t task, BuiltSurface& built);
    // Plans every surface that is ready in the run's order, under the lock; whether it planned any.
    bool planReady();
    void measure(const BuiltSurface& built, SurfaceCut& cut) const;

    const FractalRunParameters& p_;
    const std::vector<double>& hValues_;
    const std::int64_t total_;
    std::int64_t lookahead_ = 1;
    std::mutex mutex_;
    std::condition_variable workToDo_;      // the workers wait on it
    std::condition_variable consumerGoes_;  // the consumer waits on it
    std::int64_t nextClaim_ = 0;
    std::int64_t consumerAt_ = 0;
    bool stop_ = false;
    std::map<std::int64_t, std::shared_ptr<BuiltSurface>> ready_;
    std::int64_t planNext_ = 0;
    std::array<int, 101> planTally_{};  // files of each level chosen so far in planNext_'s H value
    // Files still to measure, oldest first; a worker holds its surface while it measures.
    std::deque<std::pair<std::shared_ptr<BuiltSurface>, std::size_t>> toMeasure_;
    std::vector<std::thread> workers_;
};

}  // namespace orvalis
