#pragma once

#include "cli/CliSupport.h"

#include <optional>
#include <string>
#include <vector>

namespace orvalis::cli {

// Options of orvalis-cli surface, as read from the command line.
struct SurfaceOptions {
    std::string map;
    int window = 0;
    std::string shape = "square";
    MetricChoiceCli choice;
    int step = 1;
    std::string habitat;
    int band = 1;
    std::optional<double> cellSize;
    std::string output = "surface.tif";
    std::string tile = "1/1";
    int jobs = 0;
    std::vector<std::string> merge;
};

}  // namespace orvalis::cli
