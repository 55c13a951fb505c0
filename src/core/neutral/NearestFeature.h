#pragma once

#include "core/neutral/CellBuffers.h"

#include <cstdint>
#include <span>
#include <vector>

namespace orvalis {

// The exact Euclidean feature transform (Felzenszwalb and Huttenlocher's lower envelopes, a
// column pass then a row pass): for every cell of a rows x cols grid, the index
// (row * cols + col) of a nearest cell where features is nonzero, and when asked its squared
// distance in cells. With no feature at all every cell gets -1 and an infinite distance.
// Of nearest cells at the same distance one is taken; which depends on the envelopes only,
// so the same grid always gives the same answer.
void nearestFeature(std::span<const unsigned char> features, int rows, int cols, std::vector<std::int32_t>& nearest,
                    Surface* squaredDistance = nullptr);

// The same, into nearest (one entry a cell, every one written) without the distances.
void nearestFeature(std::span<const unsigned char> features, int rows, int cols, std::span<std::int32_t> nearest);
// The same transform's squared distances alone, without the nearest cells' indices.
void squaredFeatureDistance(std::span<const unsigned char> features, int rows, int cols,
                            Surface& squaredDistance);

}  // namespace orvalis
