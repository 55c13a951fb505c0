#pragma once

#include "core/surface/ClassRows.h"
#include "core/surface/CountMetrics.h"
#include "core/surface/SurfaceLayout.h"

#include <cstdint>
#include <vector>

namespace orvalis {

// How a counter follows its windows. Strips (squares only): per map column, the counts of the
// window's height of rows, moved down as the output rows go; a window is then the sum of its
// columns' strips, moved along by whole strips, so that a window costs the same whatever its size.
// Extents: each row of the window moved along by its ends, for circles (and for squares whose
// strips would not fit in memory, or hold so many classes that whole strips cost more than rows' ends).
enum class CountMethod : unsigned char { Strips, Extents };

// The counts (CountLayout) of the windows of output columns first .. last - 1, one output row after
// another. Not shared between threads.
class WindowCounter {
public:
    WindowCounter(const SurfaceGrid& grid, const CountLayout& layout, std::int64_t first, std::int64_t last,
                  CountMethod method, bool outerEdge);

    // Memory the strips of `columns` output columns would take.
    static std::int64_t stripBytes(const SurfaceGrid& grid, const CountLayout& layout, std::int64_t columns);

    // Starts output row i. rows holds the map rows of its windows, and of the row before's when
    // continuing (the previous call was for row i - 1).
    void startRow(const ClassRows& rows, std::int64_t i, bool continuing);
    // Moves to the next window along the row (the first call: column first) and gives its counts.
    const std::int32_t* next();
    // Sides of the window's cells on its outer edge, when asked for at construction.
    std::int64_t outerEdge() const { return outerEdge_; }

private:
    template <int Sign, class T>
    void cell(T* v, int a) const;
    template <int Sign, class T>
    void side(T* v, int a, int b) const;

    void buildStrips();
    void moveStrips();
    void stripRows(std::int64_t from, std::int64_t to, bool add);
    void stripsWindow();
    void extentsWindow();
    std::int64_t dataIn(const int* row, std::int64_t from, std::int64_t to) const;
    void countOuterEdge();

    SurfaceGrid grid_;
    const CountLayout layout_;  // a copy: read in every inner loop
    std::int64_t first_, last_;
    CountMethod method_;
    bool wantOuterEdge_;
    int h_, n_;
    std::vector<int> extents_;
    const ClassRows* rows_ = nullptr;
    std::int64_t centreRow_ = 0;
    std::vector<const int*> lines_;  // extents: the window's rows, and the one below its last
    std::int64_t column_ = -1;  // output column of the counts held
    std::vector<std::int32_t> window_;
    std::int64_t outerEdge_ = 0;
    // Strips: map columns x0_ .. x0_ + columns - 1; cells and vertical sides in a_, sides with the
    // column to the right in side_.
    std::int64_t x0_ = 0;
    std::int64_t stripColumns_ = 0;
    std::vector<std::uint16_t> a_, side_;
};

}  // namespace orvalis
