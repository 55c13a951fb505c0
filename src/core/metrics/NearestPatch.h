#pragma once

#include <cstdint>
#include <vector>

namespace orvalis {

// A landscape cut into patches: per cell its dense class (-1 outside the landscape) and
// its patch (-1 outside), row after row.
struct PatchRaster {
    int rows = 0;
    int cols = 0;
    std::vector<std::int32_t> cls;
    std::vector<std::int32_t> patch;
    std::vector<std::int32_t> patchClass;  // per patch
};

// Per patch the squared distance, in cells, from its nearest cell centre to a cell of another
// patch of the same class; -1 where the class has no other patch. The raster's patches were
// cut with 8 neighbours or else 4.
std::vector<std::int64_t> nearestOtherPatch(const PatchRaster& raster, bool eightNeighbours);

}  // namespace orvalis
