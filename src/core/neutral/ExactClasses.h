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

// Exactly habitat cells coverValue (the highest), the others matrixValue.
void placeHighest(std::span<const double> surface, std::int64_t habitat, int coverValue, int matrixValue,
                  std::span<int> out, std::span<const unsigned char> mask = {}, int outsideValue = 0);

// Cells at a cover percentage of cells: the nearest whole count, halves up.
std::int64_t habitatAtCover(int percent, std::int64_t cells);

}  // namespace orvalis
