#include "core/io/CompactGrid.h"

#include <algorithm>

namespace orvalis {

CompactGrid CompactGrid::from(const LandscapeGrid& grid)
{
    CompactGrid compact;
    for (const std::vector<int>& line : grid)
        compact.appendLine(line);
    return compact;
}

void CompactGrid::clear()
{
    *this = CompactGrid();
}

void CompactGrid::reserve(std::size_t cells)
{
    if (wide_)
        values_.reserve(cells);
    else
        codes_.reserve(cells);
}

bool CompactGrid::codeOf(int value, std::uint8_t& code)
{
    if (!(haveLast_ && value == lastValue_)) {
        auto it = std::find(table_.begin(), table_.end(), value);
        if (it == table_.end()) {
            if (table_.size() == 256)
                return false;  // a 257th value: a byte no longer codes the cells
            table_.push_back(value);
            it = table_.end() - 1;
        }
        haveLast_ = true;
        lastValue_ = value;
        lastCode_ = static_cast<std::uint8_t>(it - table_.begin());
    }
    code = lastCode_;
    return true;
}

void CompactGrid::widen()
{
    values_.reserve(std::max(codes_.capacity(), codes_.size()));
    for (std::uint8_t code : codes_)
        values_.push_back(table_[code]);
    codes_ = {};
    wide_ = true;
}

void CompactGrid::appendLine(std::span<const int> values)
{
    for (int v : values) {
        std::uint8_t code = 0;
        if (!wide_ && codeOf(v, code)) {
            codes_.push_back(code);
            continue;
        }
        if (!wide_)
            widen();
        values_.push_back(v);
    }
    starts_.push_back(starts_.back() + values.size());
}

LandscapeGrid CompactGrid::lines() const
{
    LandscapeGrid grid(lineCount());
    for (std::size_t j = 0; j < grid.size(); ++j) {
        grid[j].resize(lineLength(j));
        for (std::size_t i = 0; i < grid[j].size(); ++i)
            grid[j][i] = at(j, i);
    }
    return grid;
}

std::size_t CompactGrid::bytes() const
{
    return codes_.capacity() + values_.capacity() * sizeof(int) + starts_.capacity() * sizeof(std::size_t) +
           table_.capacity() * sizeof(int);
}

LandscapeReadResult readLandscapeFile(const std::string& path, CompactGrid& grid, std::uint64_t maxBytes)
{
    grid.clear();
    std::uint64_t fileBytes = 0;
    bool reserved = false;
    LandscapeReadResult result = readLandscapeLines(
        path, maxBytes,
        [&](const std::vector<int>& line) {
            // The first line tells how many bytes a cell takes in the file: room for them all at once.
            if (!reserved && !line.empty()) {
                reserved = true;
                grid.reserve(static_cast<std::size_t>(fileBytes / 2 + 64));
            }
            grid.appendLine(line);
        },
        [&](std::uint64_t size) { fileBytes = size; });
    if (!result.ok)
        grid.clear();
    return result;
}

}  // namespace orvalis
