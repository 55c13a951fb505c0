#include "plots/ComparePlots.h"

namespace orvalis {

// Built without Qt: the tables are written, the pictures cannot be.
PlotsResult drawComparePlots(const std::filesystem::path&, const std::function<bool()>&)
{
    return {false, "pictures need the window's libraries (Qt Charts); this build has none", {}, {}, false};
}

}  // namespace orvalis
