#pragma once

#include "core/metrics/LandscapeMetrics.h"
#include "core/run/RunControl.h"
#include "core/surface/ClassRows.h"
#include "core/surface/SurfaceLayout.h"
#include "core/surface/WindowCounter.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvalis {

// What a surface is computed from: where its windows lie, the map's classes and the metrics.
struct SurfaceSetup {
    SurfaceGrid grid;
    std::vector<int> classes;       // the map's class values, ascending; the rows hold their places
    MetricsOptions metrics;         // class and landscape metrics only
    double cellSize = 1.0;          // metres
    int jobs = 1;
    std::optional<CountMethod> method;  // how counts follow the windows; by default strips where they fit
};

// Output rows firstRow .. firstRow + rows - 1: values[(row * bands + band) * width + column], NaN where
// a metric is undefined, the window holds no landscape or, for a class metric, none of its class.
using SurfaceRowsSink = std::function<bool(std::int64_t firstRow, int rows, const double* values, std::string* error)>;

// The metrics of every window of a surface, computed row after row with every core: the metrics
// made of counts (countedMetric) from counts that slide with the windows, the others by the metrics
// engine on each window's cells.
class SurfaceEngine {
public:
    explicit SurfaceEngine(SurfaceSetup setup);

    const SurfaceSetup& setup() const { return setup_; }
    const std::vector<SurfaceBand>& bands() const { return bands_; }
    // Whether band b is computed from counts.
    bool counted(std::size_t b) const { return counted_[b] != nullptr; }

    // Computes output rows first .. last - 1, giving them to take in order, a few at a time. False with
    // *error when reading or take fails; true, with fewer rows given, when control asks to stop.
    bool run(std::int64_t first, std::int64_t last, const ClassRowReader& read, const SurfaceRowsSink& take,
             RunControl& control, std::string* error);

private:
    struct Worker;
    // Rows i0 .. i1 - 1 of the worker's columns; a cancelled control ends it at the next row.
    void work(Worker& w, const ClassRows& rows, std::int64_t first, std::int64_t i0, std::int64_t i1, double* out,
              const RunControl& control);

    SurfaceSetup setup_;
    std::vector<SurfaceBand> bands_;
    std::vector<const CountedMetric*> counted_;  // per band; null where the engine measures the window
    CountLayout layout_;
    bool outerEdge_ = false;
    MetricsOptions slow_;                         // the options with only the metrics measured per window
    bool anySlow_ = false;
    std::vector<int> classBand_;                  // per metric of slow_ at class level: its first band
    std::vector<int> landscapeBand_;              // per metric of slow_ at landscape level: its band
};

}  // namespace orvalis
