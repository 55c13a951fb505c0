#pragma once

#include "core/compare/ReplicateRandom.h"
#include "core/neutral/CellBuffers.h"
#include "core/neutral/ExactClasses.h"

#include <cstdint>
#include <span>
#include <vector>

namespace orvalis {

// The neutral models' surfaces, rows x cols values row after row. Each follows the NLMpy or
// NLMR function named beside it; docs/MODELS.md says where they differ. Draws come from the
// replicate's own generator, in the order each function states, so that a replicate's bytes
// depend on its state alone.

// Uniform in [0, 1), 53 bits.
inline double uniform01(ReplicateRandom& random)
{
    return static_cast<double>(random.next() >> 11) * 0x1.0p-53;
}

// values[i] += the i-th uniform01 draw, as one loop over the cells would add them, made in parts
// side by side; random is left after the last draw.
void addUniformDraws(std::span<double> values, ReplicateRandom& random);
// values[i] = the i-th uniform01 draw, its cells written (and first touched) side by side.
void setUniformDraws(std::span<double> values, ReplicateRandom& random);

// Linearly onto [0, 1] (NLMpy's linearRescale01); a constant surface becomes all 0.
void rescale01(std::span<double> values);

// NLMpy planarGradient: southness * row + eastness * col for a bearing in degrees from north.
void planarGradient(int rows, int cols, double direction, Surface& out);
// NLMpy edgeGradient: 1 - 2 |0.5 - planar|, highest along the middle line.
void edgeGradient(int rows, int cols, double direction, Surface& out);
// NLMpy waveSurface: sin(2 pi periods planar), planar rescaled to [0, 1].
void waveSurface(int rows, int cols, double periods, double direction, Surface& out);
// NLMpy distanceGradient: the Euclidean distance to the nearest source cell (nonzero), rescaled.
void distanceGradient(std::span<const unsigned char> sources, int rows, int cols, Surface& out);
// n distinct source cells drawn uniformly, one below(cells) draw per try, repeats redrawn.
std::vector<unsigned char> randomSources(int rows, int cols, std::int64_t n, ReplicateRandom& random);

enum class Neighbourhood { Four, Eight, Diagonal };

// NLMpy randomClusterNN: the cells of a uniform random subset of cells - floor((1 - p) cells)
// cells form clusters (4, 8 or the diagonal neighbourhood [0 1 1; 1 1 1; 1 1 0]), labelled in
// order of their first cell, each given one uniform value in label order; every other cell
// takes the value of its nearest cluster cell.
void randomClusterNN(int rows, int cols, double p, Neighbourhood n, ReplicateRandom& random,
                     Surface& out, std::vector<std::int32_t>* clusterOf = nullptr);
// NLMpy randomElementNN: n distinct cells numbered in draw order; every cell takes the number
// of its nearest one.
void randomElementNN(int rows, int cols, std::int64_t n, ReplicateRandom& random, Surface& out);
// NLMpy randomRectangularCluster: rectangles of sides drawn in minSide..maxSide, corners in
// -maxSide+1..rows-1 and -maxSide+1..cols-1, each painted with one uniform value over those
// before, until every cell is painted.
void randomRectangularCluster(int rows, int cols, int minSide, int maxSide, ReplicateRandom& random,
                              Surface& out);
// NLMR nlm_curds (Keitt 2000): level i splits every block into s_i x s_i and cuts a share
// p_i of the blocks still whole; a cell's value is the level it was cut at (levels + 1 for
// never), plus a draw in [0, 1) of its own. The grid of prod(s) blocks a side is stretched
// over the landscape.
void randomCurds(int rows, int cols, std::span<const double> proportions, std::span<const double> subdivisions,
                 ReplicateRandom& random, Surface& out);
// NLMR nlm_percolation: each cell 1 with probability p, else 0, plus a draw in [0, 1) of its own.
void percolationSurface(int rows, int cols, double p, ReplicateRandom& random, Surface& out);
// NLMR nlm_mosaictess: n points uniform over the landscape, each cell the uniform value of the
// point nearest its centre (the earlier point on a tie).
void voronoiMosaic(int rows, int cols, std::int64_t n, ReplicateRandom& random, Surface& out);
// NLMR nlm_neigh: categories categories-1 down to 1 each take floor(cells / categories) cells, a
// cell at a time, accepted with p_neigh beside a filled cell (4 or 8 neighbours, the edges
// wrapping) and p_empty elsewhere; the rest stays 0. Plus a draw in [0, 1) of its own.
void neighbourhoodClusters(int rows, int cols, double pNeigh, double pEmpty, int categories, int neighbours,
                           ReplicateRandom& random, Surface& out);
// NLMpy perlinNoise: octaves of gradient noise, periods * lacunarity^o periods across the
// longer side, amplitudes persistence^o.
void perlinNoise(int rows, int cols, int periods, int octaves, int lacunarity, double persistence,
                 ReplicateRandom& random, Surface& out);

enum class PartOrientation { Longest, Random, Horizontal, Vertical };

// NLMpy bsp: leaves picked through a uniform cell and split in half until there are n; each
// leaf then takes a uniform value in order of its number. The leaves alone, or painted.
std::vector<ValueTile> binarySpacePartitionTiles(int rows, int cols, std::int64_t n, PartOrientation orientation,
                                                 double maxRatio, ReplicateRandom& random);
void binarySpacePartition(int rows, int cols, std::int64_t n, PartOrientation orientation, double maxRatio,
                          ReplicateRandom& random, Surface& out);

// A rows x cols surface of tiles that cover it once, each cell its tile's value.
void paintTiles(std::span<const ValueTile> tiles, int rows, int cols, Surface& out);

}  // namespace orvalis
