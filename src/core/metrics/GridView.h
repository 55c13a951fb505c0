#pragma once

#include <cstddef>
#include <optional>
#include <span>

namespace orvalis {

// A grid as the metrics read it: rows x cols cells held row after row (row 0 the top), the
// value that marks cells outside the landscape, and the side of a cell in metres.
struct GridView {
    std::span<const int> cells;
    int rows = 0;
    int cols = 0;
    std::optional<int> noData;
    double cellSize = 1.0;

    int at(int r, int c) const
    {
        return cells[static_cast<std::size_t>(r) * static_cast<std::size_t>(cols) + static_cast<std::size_t>(c)];
    }
};

}  // namespace orvalis
