#include "core/sampler/CoverTable.h"

#include <algorithm>
#include <new>
#include <vector>

namespace orvalis {

void CoverTable::clear()
{
    local_.reset();
    columnStrip_.reset();
    rowStrip_.reset();
    corner_.reset();
    stride_ = blocksX_ = 0;
}

bool CoverTable::build(const TgaImage& image, int threshold, const std::function<bool()>& keepGoing)
{
    clear();
    const std::size_t w = static_cast<std::size_t>(std::max(image.width, 0));
    const std::size_t h = static_cast<std::size_t>(std::max(image.height, 0));
    const std::size_t stride = w + 1;
    const std::size_t blocksX = w / Block + 1, blocksY = h / Block + 1;
    local_.reset(new (std::nothrow) std::uint16_t[stride * (h + 1)]);
    columnStrip_.reset(new (std::nothrow) std::uint32_t[stride * blocksY]);
    rowStrip_.reset(new (std::nothrow) std::uint32_t[(h + 1) * blocksX]);
    corner_.reset(new (std::nothrow) std::uint32_t[blocksX * blocksY]);
    std::vector<std::uint16_t> columnRun;  // local count of the current block row so far, per column
    std::vector<std::uint32_t> rowRun;     // [0, x0 of block) x [y0 of block, y) so far, per block column
    std::vector<std::uint32_t> rowPrefix;  // one image row: habitat in [0, x0 of block), per block column
    try {
        columnRun.assign(stride, 0);
        rowRun.assign(blocksX, 0);
        rowPrefix.assign(blocksX, 0);
    } catch (const std::bad_alloc&) {
        clear();
        return false;
    }
    if (!local_ || !columnStrip_ || !rowStrip_ || !corner_) {
        clear();
        return false;
    }
    stride_ = stride;
    blocksX_ = blocksX;
    std::fill(local_.get(), local_.get() + stride, 0);
    std::fill(columnStrip_.get(), columnStrip_.get() + stride, 0u);
    std::fill(rowStrip_.get(), rowStrip_.get() + blocksX, 0u);
    std::fill(corner_.get(), corner_.get() + blocksX, 0u);

    const std::size_t bpp = image.bytesPerPixel;
    for (std::size_t py = 0; py < h; ++py) {
        const unsigned char* px = image.data + py * w * bpp + 2;
        std::uint32_t inBlock = 0;  // habitat of this row from the block's first column
        std::uint32_t before = 0;   // habitat of this row left of the current block
        for (std::size_t x = 0; x < w; ++x, px += bpp) {
            if (x % Block == 0) {
                before += inBlock;
                inBlock = 0;
                rowPrefix[x / Block] = before;
            }
            columnRun[x] = static_cast<std::uint16_t>(columnRun[x] + inBlock);
            inBlock += *px <= threshold ? 1u : 0u;
        }
        columnRun[w] = static_cast<std::uint16_t>(columnRun[w] + (w % Block == 0 ? 0u : inBlock));
        if (w % Block == 0)
            rowPrefix[w / Block] = before + inBlock;
        for (std::size_t bx = 0; bx < blocksX; ++bx)
            rowRun[bx] += rowPrefix[bx];

        const std::size_t y = py + 1;
        std::uint16_t* local = local_.get() + y * stride;
        std::uint32_t* strip = rowStrip_.get() + y * blocksX;
        if (y % Block != 0) {
            std::copy(columnRun.begin(), columnRun.end(), local);
            std::copy(rowRun.begin(), rowRun.end(), strip);
            continue;
        }
        if (keepGoing && !keepGoing()) {
            clear();
            return false;
        }
        // A new block row starts: fold the finished one into the strips and corners.
        const std::size_t by = y / Block;
        const std::uint32_t* columnAbove = columnStrip_.get() + (by - 1) * stride;
        std::uint32_t* column = columnStrip_.get() + by * stride;
        for (std::size_t x = 0; x < stride; ++x)
            column[x] = columnAbove[x] + columnRun[x];
        const std::uint32_t* cornerAbove = corner_.get() + (by - 1) * blocksX;
        std::uint32_t* corner = corner_.get() + by * blocksX;
        for (std::size_t bx = 0; bx < blocksX; ++bx)
            corner[bx] = cornerAbove[bx] + rowRun[bx];
        std::fill(columnRun.begin(), columnRun.end(), 0);
        std::fill(rowRun.begin(), rowRun.end(), 0u);
        std::fill(local, local + stride, 0);
        std::fill(strip, strip + blocksX, 0u);
    }
    return true;
}

}  // namespace orvalis
