#pragma once

#include "core/io/TgaImage.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace orvalis {

// Habitat pixels of any rectangle in O(1): a summed-area table of the habitat mask
// kept in 2 bytes per pixel. Counts are local to 256 x 256 blocks; small tables of
// block corners and block-edge strips turn them into whole-image sums.
class CoverTable {
public:
    static constexpr int Block = 256;

    // False, holding nothing, when the memory cannot be had or keepGoing, asked once per
    // block row, says stop.
    bool build(const TgaImage& image, int threshold, const std::function<bool()>& keepGoing = {});
    void clear();
    bool empty() const { return !local_; }

    // Habitat pixels in columns [x0, x1) and rows [y0, y1).
    std::uint32_t count(int x0, int y0, int x1, int y1) const
    {
        // Unsigned wrap-around cancels out: no rectangle holds 2^32 pixels.
        return sum(x1, y1) - sum(x0, y1) - sum(x1, y0) + sum(x0, y0);
    }

private:
    // Habitat pixels in columns [0, x) and rows [0, y).
    std::uint32_t sum(int x, int y) const
    {
        const std::size_t xs = static_cast<std::size_t>(x), ys = static_cast<std::size_t>(y);
        const std::size_t bx = xs / Block, by = ys / Block;
        return corner_[by * blocksX_ + bx] + columnStrip_[by * stride_ + xs] + rowStrip_[ys * blocksX_ + bx] +
               local_[ys * stride_ + xs];
    }

    std::size_t stride_ = 0;   // width + 1
    std::size_t blocksX_ = 0;  // width / Block + 1
    std::unique_ptr<std::uint16_t[]> local_;         // within the block: [x0 of block, x) x [y0 of block, y)
    std::unique_ptr<std::uint32_t[]> columnStrip_;   // [x0 of block, x) x [0, y0 of block), per block row
    std::unique_ptr<std::uint32_t[]> rowStrip_;      // [0, x0 of block) x [y0 of block, y), per block column
    std::unique_ptr<std::uint32_t[]> corner_;        // [0, x0) x [0, y0) at block corners
};

}  // namespace orvalis
