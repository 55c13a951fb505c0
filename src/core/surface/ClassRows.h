#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace orvalis {

// Fills rows y0 .. y0 + rows - 1 of the map (all on it), row after row, with each cell's class as its
// place among the map's classes, or a negative value outside the landscape.
using ClassRowReader = std::function<bool(std::int64_t y0, int rows, int* cells, std::string* error)>;

// The map rows the windows of a few output rows need, as classes, in a ring: rows are read once, in
// order, and dropped when the windows have passed them. Every row is padded with cells outside the
// landscape on both sides, and rows off the map are all outside, so windows at the edges need no tests.
class ClassRows {
public:
    static constexpr int Outside = -1;

    // width: the map's; pad: the columns each side of it; capacity: the rows held at once.
    ClassRows(std::int64_t width, std::int64_t height, int pad, int capacity);

    // Makes rows first .. last - 1 available (last - first <= capacity), reading those not held yet;
    // rows before first may be dropped.
    bool hold(std::int64_t first, std::int64_t last, const ClassRowReader& read, std::string* error);

    // Row y's cells: [x] for x in -pad .. width + pad - 1.
    const int* row(std::int64_t y) const
    {
        if (y < 0 || y >= height_)
            return outside_.data() + pad_;
        return ring_.data() + static_cast<std::size_t>(y % capacity_) * stride_ + static_cast<std::size_t>(pad_);
    }

private:
    std::int64_t width_, height_;
    int pad_, capacity_;
    std::size_t stride_;
    std::vector<int> ring_;
    std::vector<int> outside_;
    std::vector<int> block_;
    std::int64_t heldFirst_ = 0, heldLast_ = 0;  // rows on the map held: [heldFirst_, heldLast_)
};

}  // namespace orvalis
