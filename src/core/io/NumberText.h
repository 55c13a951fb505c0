#pragma once

#include <string>

namespace orvalis {

// The shortest text that reads back as the same double, whatever the user's locale: what
// the metrics table and the grid headers write.
std::string shortestText(double value);

}  // namespace orvalis
