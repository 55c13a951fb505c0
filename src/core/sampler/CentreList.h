#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace orvalis {

// Accepted window centres of one run, in acceptance order. The distance test
// looks only at the centres in the grid cells around the candidate.
class CentreList {
public:
    // True when some accepted centre lies at an integer distance (whole part of
    // the Euclidean distance) of minDistance or less.
    bool tooClose(int x, int y, int minDistance);
    void add(int x, int y);

    std::size_t size() const { return xs.size(); }
    bool empty() const { return xs.empty(); }
    void clear();

    std::vector<int> xs;
    std::vector<int> ys;

private:
    static std::uint64_t cellKey(std::int64_t cx, std::int64_t cy);
    void rebuildCells(std::int64_t cellSize);
    void addToCell(std::size_t index);

    std::int64_t cellSize_ = 0;  // 0 until the first distance test fixes it
    std::unordered_map<std::uint64_t, std::vector<std::uint32_t>> cells_;
};

// floor(sqrt(dx² + dy²)) <= minDistance, decided in exact integer arithmetic.
inline bool withinDistance(std::int64_t dx, std::int64_t dy, std::int64_t minDistance)
{
    if (minDistance < 0)
        return false;
    const std::int64_t reach = minDistance + 1;
    return dx * dx + dy * dy < reach * reach;
}

}  // namespace orvalis
