#pragma once

#include "core/metrics/BandedMetrics.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvalis {

// Columns and rows of band 1 of a raster file, read without its cells; false with *error set.
bool rasterExtent(const std::string& path, std::int64_t& width, std::int64_t& height, std::string* error);

// Rows read at once from a raster of this many columns: about a million cells.
int bandRowsFor(std::int64_t cols);

// Measures band 1 of a raster file as readMeasurableGrid and computeMetrics would, a band of
// rows at a time: the frame's cell size replaces cellSize (sizeNote says why there is none);
// cells the file leaves out (its no-data value, its mask, NaN) and cells of noData are outside.
bool measureRasterByBands(const std::string& path, double& cellSize, const std::optional<int>& noData,
                          const MetricsOptions& options, std::vector<MetricValue>& out, std::string* error,
                          std::string* sizeNote = nullptr, const std::function<bool(double)>& progress = {});

}  // namespace orvalis
