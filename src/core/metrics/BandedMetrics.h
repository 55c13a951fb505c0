#pragma once

#include "core/metrics/LandscapeMetrics.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvalis {

// A landscape read a band of rows at a time, from the top, and read again from the top when a
// metric needs a second look.
struct RowBands {
    int rows = 0;
    int cols = 0;
    int bandRows = 256;          // rows read at once
    std::optional<int> noData;   // cells of this value are outside the landscape
    double cellSize = 1.0;
    // Rows first .. first + count - 1, row after row, into cells (room for count x cols values).
    std::function<bool(int first, int count, int* cells, std::string* error)> read;
    // Told the share of the work done after each band; false stops the measurement.
    std::function<bool(double done)> progress;
};

// Whether the metrics options select can be computed band by band.
bool measurableByBands(const MetricsOptions& options);

// The selected metrics that need the whole grid in memory, blank-separated ("core_mn circle_mn").
std::string wholeGridMetrics(const MetricsOptions& options);

// Bytes held while measuring by bands, besides those of the patches: the rows read at once and,
// at worst, the window the nearest-neighbour search looks through.
std::uint64_t bandedBytes(const RowBands& bands);
// Bytes a patch holds while measuring by bands, about.
constexpr std::uint64_t BandedPatchBytes = 200;

// What computeMetrics gives for the same cells, with the landscape never held whole: patches
// are labelled row after row, joined across rows by union-find, and each keeps only its sums;
// gyration and nearest neighbours read the rows again with the patches' numbers known. Needs
// measurableByBands(options).
bool computeMetricsByBands(const RowBands& bands, const MetricsOptions& options, std::vector<MetricValue>& out,
                           std::string* error = nullptr);

}  // namespace orvalis
