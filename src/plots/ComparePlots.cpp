#include "plots/ComparePlots.h"

namespace orvalis {

PlotsResult drawComparePlots(const std::filesystem::path&)
{
    return {};
}

}  // namespace orvalis
