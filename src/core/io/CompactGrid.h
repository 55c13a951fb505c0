#pragma once

#include "core/io/LandscapeFile.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace orvalis {

// A landscape grid in little memory, for grids as large as the files they come from: each
// cell is a one-byte code into a table of the grid's values while the grid holds at most
// 256 distinct values (a land-cover map or a two-class window), four bytes a cell beyond.
// Lines keep their own lengths, as in a LandscapeGrid.
class CompactGrid {
public:
    static CompactGrid from(const LandscapeGrid& grid);

    void clear();
    // Room for about this many cells, so that growing never doubles the memory held.
    void reserve(std::size_t cells);
    void appendLine(std::span<const int> values);

    bool empty() const { return starts_.size() <= 1; }
    std::size_t lineCount() const { return starts_.size() - 1; }
    std::size_t lineLength(std::size_t line) const { return starts_[line + 1] - starts_[line]; }
    int at(std::size_t line, std::size_t i) const
    {
        const std::size_t k = starts_[line] + i;
        return wide_ ? values_[k] : table_[codes_[k]];
    }
    // The plain form, line by line.
    LandscapeGrid lines() const;
    // Bytes held for the cells and lines.
    std::size_t bytes() const;

private:
    // The value's code, added to the table when new; false when the table is full.
    bool codeOf(int value, std::uint8_t& code);
    void widen();

    std::vector<int> table_;            // the values the codes stand for
    std::vector<std::uint8_t> codes_;   // a code a cell, while there are at most 256 values
    std::vector<int> values_;           // the cells themselves, once there are more
    bool wide_ = false;
    std::vector<std::size_t> starts_{0};  // where each line starts, and one past the last
    int lastValue_ = 0;
    std::uint8_t lastCode_ = 0;
    bool haveLast_ = false;
};

// Replaces grid with the content of the file, read a block at a time; on any failure grid is
// left empty. Refuses what readLandscapeFile refuses.
LandscapeReadResult readLandscapeFile(const std::string& path, CompactGrid& grid,
                                      std::uint64_t maxBytes = DefaultLandscapeReadLimit);

}  // namespace orvalis
