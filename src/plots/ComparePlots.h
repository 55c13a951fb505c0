#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace orvalis {

struct PlotsResult {
    bool ok = true;
    std::string message;             // why a plot could not be drawn
    std::vector<std::string> files;  // the pictures written
};

// Draws the pictures of a comparison folder from its tables alone (compare.csv,
// neutral-metrics.csv, windows.csv), so merged shards are drawn like a single run: one PNG and
// one SVG per metric under folder/plots, and the percolation picture when random replicates
// were measured for spanning.
PlotsResult drawComparePlots(const std::filesystem::path& folder);

}  // namespace orvalis
