#pragma once

#include "core/metrics/GridView.h"
#include "core/metrics/MetricCatalogue.h"

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvalis {

enum class MetricConvention : unsigned char { Landscapemetrics, Fragstats };
enum class LogBase : unsigned char { Log2, Ln, Log10 };

// How the metrics are computed, with landscapemetrics' names and defaults.
struct MetricsOptions {
    int neighbours = 8;              // 8 or 4: the patch rule (directions)
    int edgeDepth = 1;               // cells from a patch's edge that are not core
    bool countBoundary = false;      // the map's edge counts as edge (te, ed)
    bool considerBoundary = false;   // cells on the map's edge may be core
    bool cellCenter = false;         // a patch's centre is its cell nearest the centroid (gyrate)
    std::optional<int> classesMax;   // the classes possible, for rpr
    LogBase base = LogBase::Log2;    // of the information-theory metrics
    MetricConvention convention = MetricConvention::Landscapemetrics;
    MetricSelection selection;       // which metrics, at which levels
    const std::atomic<bool>* stop = nullptr;  // once raised, measuring ends early and fails
};

struct MetricValue {
    MetricLevel level = MetricLevel::Class;
    int cls = 0;                   // the class (patch and class level)
    int id = 0;                    // the patch id (patch level), as landscapemetrics numbers them
    std::string metric;            // "pland", "np", ...
    std::optional<double> value;   // nullopt: undefined (written NA)

    bool landscape() const { return level == MetricLevel::Landscape; }
};

// Why options cannot be honoured by the metrics they select; empty when they can.
std::string checkMetricsOptions(const MetricsOptions& options);

// Patch rows (patches by id, metrics in catalogue order), then class rows (classes ascending),
// then the landscape rows, for the metrics options select. The grid must hold at least one
// cell that is not no-data; otherwise false with *error set.
bool computeMetrics(const GridView& grid, const MetricsOptions& options, std::vector<MetricValue>& out,
                    std::string* error = nullptr);

// Each cell's patch id as computeMetrics numbers patches (from 1), 0 outside the landscape.
bool labelPatches(const GridView& grid, int neighbours, std::vector<std::int32_t>& ids, std::string* error = nullptr);

}  // namespace orvalis
