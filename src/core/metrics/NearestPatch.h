#pragma once

#include "core/metrics/PatchRaster.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace orvalis {

class BoundaryTree;

// The nearest-neighbour distances of patches. Keeps its buffers between searches.
class NearestPatch {
public:
    // Per patch the squared distance, in cells, from its nearest cell centre to a cell of another
    // patch of the same class; -1 where the class has no other patch. The raster's patches were
    // cut with 8 neighbours or else 4. A raised stop ends it at the next row (StopFlag::Stopped).
    const std::vector<std::int64_t>& search(const PatchRaster& raster, bool eightNeighbours, StopFlag stop = {});

    // The same search over a map read a band at a time. The rasters given are windows of the
    // map whose runs carry the map's dense classes and patch numbers; patchClass (per patch its
    // dense class) must outlive the search. The stop is looked at every row, and every few
    // thousand cells asked.
    void begin(const std::vector<std::int32_t>& patchClass, std::size_t classes, StopFlag stop = {});
    // Looks from the window's rows from .. to - 1; the window holds NearRows more rows on either
    // side where the map has them.
    void searchRows(const PatchRaster& window, int from, int to, bool eightNeighbours);
    // Whether some patch has no other of its class within NearRows. Then the boundary cells of
    // those patches are collected, from windows holding one more row on either side; after
    // searchFrom() every boundary cell of their classes is asked in another look at the rows.
    bool pending();
    void collectBoundary(const PatchRaster& window, int from, int to, int firstRow, bool pendingOnly = false);
    void searchFrom();
    void searchFar(const PatchRaster& window, int from, int to, int firstRow);
    const std::vector<std::int64_t>& finish();

    // Rows a window holds beyond those searched from.
    static constexpr int NearRows = 33;

    void release();

    // A boundary cell: its row, column and patch.
    struct Point {
        int r;
        int c;
        std::int32_t patch;
    };

private:
    StopFlag stop_;
    std::vector<std::int64_t> best_;
    std::vector<std::int32_t> patchesOfClass_;
    const std::vector<std::int32_t>* patchClass_ = nullptr;
    std::vector<char> classPending_;
    std::vector<std::vector<Point>> boundary_;
    std::vector<std::shared_ptr<BoundaryTree>> farTrees_;  // per class: its pending patches' boundary cells
};

}  // namespace orvalis
