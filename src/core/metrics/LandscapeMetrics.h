#pragma once
#include "core/io/LandscapeFile.h"   // LandscapeGrid = std::vector<std::vector<int>>: line j is grid row j
#include <optional>
#include <span>
#include <string>
#include <vector>
namespace orvalis {
struct MetricsOptions {
    int neighbours = 8;            // 8 or 4: the patch rule
    double cellSize = 1.0;         // metres
    std::optional<int> noData;     // cells with this value are outside the landscape
};
struct MetricValue {
    bool landscape = false;        // false: class level
    int cls = 0;                   // the class (class level only)
    std::string metric;            // "pland", "np", ...
    std::optional<double> value;   // nullopt: undefined (written NA)
};
// Class-level rows for every class present (classes ascending, metrics in the order listed
// below), then the landscape-level rows. The grid must be rectangular (all rows the same
// length) and hold at least one cell that is not no-data; otherwise false with *error set.
bool computeMetrics(const LandscapeGrid& grid, const MetricsOptions& options, std::vector<MetricValue>& out, std::string* error = nullptr);
// The same for rows x cols cells held row after row in one block, as the runs make them.
bool computeMetrics(std::span<const int> cells, int rows, int cols, const MetricsOptions& options,
                    std::vector<MetricValue>& out, std::string* error = nullptr);
// The metric names in output order.
const std::vector<std::string>& classMetricNames();      // pland np pd ed lpi area_mn area_sd enn_mn cohesion ai clumpy mesh division split gyrate_am spanning
const std::vector<std::string>& landscapeMetricNames();  // ta np pd ed lpi contag shdi ai mesh division
}
