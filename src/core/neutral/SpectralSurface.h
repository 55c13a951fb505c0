#pragma once

#include "core/compare/ReplicateRandom.h"
#include "core/neutral/CellBuffers.h"

#include <vector>

namespace orvalis {

// Surfaces made by spectral synthesis: complex Gaussian noise shaped by a power spectrum, then
// one inverse FFT (FFTW). The grid is extended to a size FFTW does fast (2^a 3^b 5^c 7^d) and
// the top-left rows x cols kept; the noise is drawn row after row over the half spectrum.

// Fractional Brownian motion of Hurst exponent h in (0, 1]: power falling as |k|^-(2h + 2)
// (Saupe 1988; Keitt 2000). Opposite edges of the extended grid match.
void fbmSurface(int rows, int cols, double h, ReplicateRandom& random, Surface& out);

// A stationary Gaussian random field with Matern covariance of range a (cells) and smoothness
// nu: power (1 + (2 pi a |k|)^2)^-(nu + 1). nu = 0.5 is the exponential covariance exp(-r / a)
// of NLMR's nlm_gaussianfield. The grid is extended by three ranges (at most its own size)
// so that the wrap of the FFT joins cells that far apart only.
void gaussianFieldSurface(int rows, int cols, double range, double smoothness, ReplicateRandom& random,
                          Surface& out);

// The smallest n' >= n whose prime factors are 2, 3, 5 and 7.
int fastFftSize(int n);

// Two independent standard normal deviates (Box-Muller) from two uniform draws.
void normalPair(ReplicateRandom& random, double& a, double& b);

}  // namespace orvalis
