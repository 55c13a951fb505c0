#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace orvalis {

// Landscapes made from a surface at exact counts: cells ranked by value, highest first, and
// among equal values the earlier cell (row after row) first, as the comparison ranks them.

// Why proportions cannot be classes: none, one negative or not finite, or a sum further than
// 1e-9 from 1; empty when they can.
std::string checkProportions(std::span<const double> proportions);

// Cells per class: floor(p_i x cells), then the cells left over one each to the classes of the
// largest remainders (the earlier class on a tie), so that the counts sum to cells exactly.
std::vector<std::int64_t> classCounts(std::span<const double> proportions, std::int64_t cells);

// out[i] = values[j] for the cells of class j, class 0 taking the counts[0] lowest-ranked cells
// and the last class the highest. With a mask (rows x cols, 0 outside) only the cells inside
// are ranked and the counts must sum to them; the others take outsideValue. counts must sum to
// the cells ranked.
void classifyByRank(std::span<const double> surface, std::span<const std::int64_t> counts, std::span<const int> values,
                    std::span<int> out, std::span<const unsigned char> mask = {}, int outsideValue = 0);

// A rectangle of cells [minRow, maxRow) x [minCol, maxCol) of one value.
struct ValueTile {
    int minRow = 0, maxRow = 0, minCol = 0, maxCol = 0;
    double value = 0.0;
};

// classifyByRank (without a mask) for the surface of a rows x cols grid that tiles cover once,
// from the tiles alone: each painted a row at a time with the classes its ranks fall in, without
// a surface. false, out untouched, when two tiles share a value (their cells would interleave in
// rank) or the counts do not sum to the cells.
bool classifyTiles(std::span<const ValueTile> tiles, int rows, int cols, std::span<const std::int64_t> counts,
                   std::span<const int> values, std::span<int> out);

// Exactly habitat cells coverValue (the highest), the others matrixValue.
void placeHighest(std::span<const double> surface, std::int64_t habitat, int coverValue, int matrixValue,
                  std::span<int> out, std::span<const unsigned char> mask = {}, int outsideValue = 0);

// Cells at a cover percentage of cells: the nearest whole count, halves up.
std::int64_t habitatAtCover(int percent, std::int64_t cells);

}  // namespace orvalis
