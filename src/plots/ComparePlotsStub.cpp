#include "plots/ComparePlots.h"

namespace orvalis {

// Built without Qt: the tables are written, the pictures cannot be.
PlotsResult drawComparePlots(const std::filesystem::path&)
{
    return {false, "pictures need the window's libraries (Qt Charts); this build has none", {}};
}

}  // namespace orvalis
