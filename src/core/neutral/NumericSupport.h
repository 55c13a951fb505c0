#pragma once

#include "core/random/RandomSource.h"

#include <algorithm>
#include <cstddef>
#include <thread>
#include <vector>

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

// Threads for a pass over cells whose result does not depend on how they are cut: one per core
// (at most 16) on large grids, one on small ones.
inline unsigned passThreads(std::size_t cells)
{
    if (cells < (std::size_t(1) << 18))
        return 1;
    return std::clamp(std::thread::hardware_concurrency(), 1u, 16u);
}

// Runs part(t, begin, end) over [0, n) cut into `threads` consecutive ranges, range t on a thread
// of its own (range 0 on the calling one).
template <class Part>
void forParts(std::size_t n, unsigned threads, const Part& part)
{
    std::vector<std::thread> helpers;
    for (unsigned t = 1; t < threads; ++t)
        helpers.emplace_back([&part, n, t, threads] { part(t, n * t / threads, n * (t + 1) / threads); });
    part(0u, std::size_t(0), n / threads);
    for (std::thread& h : helpers)
        h.join();
}

}  // namespace orvalis
