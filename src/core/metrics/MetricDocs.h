#pragma once

#include <string>

namespace orvalis {

// docs/METRICS.md, written from the catalogue: every metric with its level, name, unit and
// definition, the options, and what the FRAGSTATS convention changes, with the sources.
std::string metricsMarkdown();

}  // namespace orvalis
