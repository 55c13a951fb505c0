#pragma once

#include "core/metrics/PatchRaster.h"

#include <cstdint>
#include <vector>

namespace orvalis {

// The nearest-neighbour distances of patches. Keeps its buffers between searches.
class NearestPatch {
public:
    // Per patch the squared distance, in cells, from its nearest cell centre to a cell of another
    // patch of the same class; -1 where the class has no other patch. The raster's patches were
    // cut with 8 neighbours or else 4.
    const std::vector<std::int64_t>& search(const PatchRaster& raster, bool eightNeighbours);

    void release();

private:
    void searchNear(const PatchRaster& raster, bool eightNeighbours);
    void searchFar(const PatchRaster& raster);

    std::vector<std::int64_t> best_;
    std::vector<std::int32_t> patchesOfClass_;
};

}  // namespace orvalis
