#include "core/sampler/CentreList.h"

#include <algorithm>

namespace orvalis {

namespace {

std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    std::int64_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

}  // namespace

std::uint64_t CentreList::cellKey(std::int64_t cx, std::int64_t cy)
{
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(cx)) << 32) |
           static_cast<std::uint32_t>(cy);
}

void CentreList::clear()
{
    xs.clear();
    ys.clear();
    cells_.clear();
    cellSize_ = 0;
}

void CentreList::addToCell(std::size_t index)
{
    cells_[cellKey(floorDiv(xs[index], cellSize_), floorDiv(ys[index], cellSize_))].push_back(
        static_cast<std::uint32_t>(index));
}

void CentreList::rebuildCells(std::int64_t cellSize)
{
    cellSize_ = cellSize;
    cells_.clear();
    for (std::size_t k = 0; k < xs.size(); ++k)
        addToCell(k);
}

void CentreList::add(int x, int y)
{
    xs.push_back(x);
    ys.push_back(y);
    if (cellSize_ > 0)
        addToCell(xs.size() - 1);
}

bool CentreList::tooClose(int x, int y, int minDistance)
{
    if (minDistance < 0 || xs.empty())
        return false;
    // Cells as wide as the reach: every centre that can be too close sits in the 3 x 3 cells around.
    const std::int64_t reach = static_cast<std::int64_t>(minDistance) + 1;
    if (cellSize_ != reach)
        rebuildCells(reach);
    const std::int64_t cx = floorDiv(x, cellSize_);
    const std::int64_t cy = floorDiv(y, cellSize_);
    for (std::int64_t i = cx - 1; i <= cx + 1; ++i) {
        for (std::int64_t j = cy - 1; j <= cy + 1; ++j) {
            auto it = cells_.find(cellKey(i, j));
            if (it == cells_.end())
                continue;
            for (std::uint32_t k : it->second) {
                if (withinDistance(static_cast<std::int64_t>(xs[k]) - x, static_cast<std::int64_t>(ys[k]) - y,
                                   minDistance))
                    return true;
            }
        }
    }
    return false;
}

}  // namespace orvalis
