#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace orvalis {

// What a long run says at each natural turn of its loop (one file, one surface, one pass).
struct ProgressEvent {
    std::int64_t done = 0;     // units finished so far
    std::int64_t total = 0;    // units the run expects; 0 when unknown
    std::string label;         // what is being worked on, empty to keep the last label
    std::int64_t budgetLeft = -1;  // search tries still allowed, -1 when the run has no budget
};

// Called by engines on their own thread; returning false asks the run to stop
// at the next safe point.
using ProgressCallback = std::function<bool(const ProgressEvent&)>;

}  // namespace orvalis
