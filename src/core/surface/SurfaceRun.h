#pragma once

#include "core/map/HabitatClasses.h"
#include "core/metrics/LandscapeMetrics.h"
#include "core/run/RunControl.h"
#include "core/run/RunResult.h"
#include "core/surface/SurfaceLayout.h"

#include <optional>
#include <string>
#include <vector>

namespace orvalis {

// A moving-window surface of a map: the metrics of the window about every step-th cell, as a GeoTIFF.
struct SurfaceParameters {
    std::string map;
    int band = 1;
    HabitatClasses habitat;          // empty: the map's classes
    int window = 3;                  // cells a side, odd
    WindowShape shape = WindowShape::Square;
    int step = 1;
    MetricsOptions metrics;          // class and landscape metrics
    std::optional<double> cellSize;  // metres, for a map whose frame gives none (1)
    int tile = 1, tiles = 1;         // this run's part of the output rows
    int jobs = 0;                    // 0: every core
    std::string output;
};

// Why the parameters cannot give a surface, before the map is opened; empty when they can.
std::string checkSurfaceParameters(const SurfaceParameters& p);

// The metric options that change a surface's values, as words for its file: two surfaces from the same
// map with the same words, window and step hold the same values.
std::string surfaceOptionsText(const SurfaceParameters& p, double cellSize);

// Writes the surface, or with tiles > 1 part tile of it, to p.output. Refused with a message for
// parameters that cannot work with this map, Failed when reading or writing fails, Cancelled when
// control asks; never leaves a file under p.output that is not whole.
RunResult runSurface(const SurfaceParameters& p, RunControl& control);

// Joins the parts of one --tile run into output, the file a single run writes; refused for parts
// that do not belong together, or a part missing or given twice. jobs: threads compressing (0: every core).
RunResult mergeSurface(const std::vector<std::string>& parts, const std::string& output, int jobs, RunControl& control);

}  // namespace orvalis
