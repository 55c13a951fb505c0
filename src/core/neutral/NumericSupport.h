#pragma once

#include "core/random/RandomSource.h"

namespace orvalis {

// A table of rows of doubles addressed as m[i][j] with rowLow <= i <= rowHigh and
// colLow <= j <= colHigh. Elements are not initialised; nullptr when the memory
// cannot be had.
double** imatrix(int rowLow, int rowHigh, int colLow, int colHigh);
// Frees a matrix made by imatrix with the same bounds.
void releaseMatrix(double** m, int rowLow, int rowHigh, int colLow, int colHigh);

// Sum of five 15-bit uniform draws, shifted and scaled to mean 0 and variance 1.
struct GaussianSource {
    int count = 5;
    int upperBound = RandomSource::Max;
    double additive = 3.872983346207417;        // sqrt(3 * count)
    double factor = 4.727907158064415e-05;      // 2 * sqrt(3 * count) / (count * upperBound)
    double upperBoundReal = RandomSource::Max;
    // Each surface owns its generator, so surfaces can be built side by side.
    RandomSource random;
};

// Sets the constants and reseeds the source's generator, as srand(seed) would.
void seedGaussian(GaussianSource& source, int seed);

// One deviate in [-sqrt(15), +sqrt(15)], consuming exactly `count` uniform draws.
inline double nextGaussian(GaussianSource& source)
{
    double sum = 0.0;
    for (int i = 0; i < source.count; ++i)
        sum += source.random.next();
    return sum * source.factor - source.additive;
}

}  // namespace orvalis
