#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace orvalis {

struct PlotsResult {
    bool ok = true;
    std::string message;                // why a plot could not be drawn
    std::vector<std::string> files;     // the pictures written
    std::vector<std::string> constant;  // charts not drawn: one value everywhere ("landscape_ta 4")
    bool interrupted = false;           // keepGoing said no before every picture was drawn
};

// Draws the pictures of a comparison folder from its tables alone (compare.csv,
// neutral-metrics.csv, windows.csv), so merged shards are drawn like a single run: one PNG and
// one SVG per metric under folder/plots, and the percolation picture when random replicates
// were measured for spanning. A metric with one value in every window and replicate is listed in
// plots/constant-metrics.txt instead. Pictures of an earlier drawing that this one does not
// draw again are removed. keepGoing is asked before each picture.
PlotsResult drawComparePlots(const std::filesystem::path& folder, const std::function<bool()>& keepGoing = {});

}  // namespace orvalis
