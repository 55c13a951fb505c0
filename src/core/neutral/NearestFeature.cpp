#include "core/neutral/NearestFeature.h"

#include "core/neutral/NumericSupport.h"

#include <algorithm>
#include <limits>
#include <memory>

namespace orvalis {

namespace {

// nearestFeature with either output left out (null); every cell of those given is written.
void featureTransform(std::span<const unsigned char> features, int rows, int cols, std::int32_t* nearest,
                      double* squaredDistance)
{
    const std::size_t cells = static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols);
    const double infinity = std::numeric_limits<double>::infinity();
    // Column pass: the nearest feature row in each cell's own column, -1 where the column has none.
    // Left unset: the column pass writes every cell, and first touches its pages on its own threads.
    const auto featureRow = std::make_unique_for_overwrite<std::int32_t[]>(cells);
    const unsigned threads = passThreads(cells);
    // Columns are independent: each thread sweeps the rows over a band of columns of its own.
    forParts(static_cast<std::size_t>(cols), threads, [&](unsigned, std::size_t c0, std::size_t c1) {
        // Selects rather than branches: whether a cell is a feature is often a coin toss.
        const std::size_t width = c1 - c0;
        std::vector<std::int32_t> last(width, -1);
        for (int r = 0; r < rows; ++r) {
            const unsigned char* feature = features.data() + static_cast<std::size_t>(r) * cols + c0;
            std::int32_t* nearestRow = featureRow.get() + static_cast<std::size_t>(r) * cols + c0;
            for (std::size_t c = 0; c < width; ++c) {
                const std::int32_t is = -static_cast<std::int32_t>(feature[c] != 0);
                last[c] = (r & is) | (last[c] & ~is);
                nearestRow[c] = last[c];
            }
        }
        std::fill(last.begin(), last.end(), -1);
        for (int r = rows - 1; r >= 0; --r) {
            const unsigned char* feature = features.data() + static_cast<std::size_t>(r) * cols + c0;
            std::int32_t* nearestRow = featureRow.get() + static_cast<std::size_t>(r) * cols + c0;
            for (std::size_t c = 0; c < width; ++c) {
                const std::int32_t is = -static_cast<std::int32_t>(feature[c] != 0);
                const std::int32_t below = (r & is) | (last[c] & ~is);
                last[c] = below;
                const std::int32_t above = nearestRow[c];
                // The one above on a tie.
                const bool closer = (below >= 0) & ((above < 0) | (below - r < r - above));
                nearestRow[c] = closer ? below : above;
            }
        }
    });
    // Row pass: for each cell the column q minimising f(q) + (c - q)^2, f(q) the squared row distance
    // to q's nearest feature (the leftmost q on a tie), from the lower envelope of the parabolas
    // (Felzenszwalb and Huttenlocher). Its breakpoints are kept as exact fractions num / den
    // (den > 0) and compared by cross-multiplying in 128 bits: no rounding, and no division.
    // Rows are independent: each thread takes a band of rows with buffers of its own.
    forParts(static_cast<std::size_t>(rows), threads, [&](unsigned, std::size_t r0, std::size_t r1) {
        using Wide = __int128;
        const auto n = static_cast<std::size_t>(cols);
        std::vector<int> v(n);
        std::vector<std::int64_t> f(n), g(n), zNum(n + 1), zDen(n + 1);
        for (int r = static_cast<int>(r0); r < static_cast<int>(r1); ++r) {
            const std::size_t base = static_cast<std::size_t>(r) * cols;
            const auto put = [&](int c, int q) {
                if (nearest)
                    nearest[base + c] = featureRow[base + q] * cols + q;
                if (squaredDistance) {
                    const std::int64_t dc = c - q;
                    squaredDistance[base + c] = static_cast<double>(f[static_cast<std::size_t>(q)] + dc * dc);
                }
            };
            for (int q = 0; q < cols; ++q) {
                const std::int32_t fr = featureRow[base + q];
                const std::int64_t dr = r - fr;
                f[static_cast<std::size_t>(q)] = fr < 0 ? -1 : dr * dr;
            }
            int k = -1;
            for (int q = 0; q < cols; ++q) {
                const std::int64_t fq = f[static_cast<std::size_t>(q)];
                if (fq < 0)
                    continue;
                const std::int64_t gq = fq + std::int64_t{q} * q;
                g[static_cast<std::size_t>(q)] = gq;
                std::int64_t num = 0, den = 1;
                // The breakpoint with the envelope's last parabola p; the first has none (minus infinity).
                while (k >= 0) {
                    const int p = v[static_cast<std::size_t>(k)];
                    num = gq - g[static_cast<std::size_t>(p)];
                    den = 2 * std::int64_t{q - p};
                    if (k == 0 ||
                        Wide{num} * zDen[static_cast<std::size_t>(k)] > Wide{zNum[static_cast<std::size_t>(k)]} * den)
                        break;
                    --k;
                }
                ++k;
                v[static_cast<std::size_t>(k)] = q;
                zNum[static_cast<std::size_t>(k)] = num;
                zDen[static_cast<std::size_t>(k)] = den;
            }
            if (k < 0) {
                // No feature anywhere.
                if (nearest)
                    std::fill(nearest + base, nearest + base + cols, -1);
                if (squaredDistance)
                    std::fill(squaredDistance + base, squaredDistance + base + cols, infinity);
                continue;
            }
            int j = 0;
            for (int c = 0; c < cols; ++c) {
                while (j < k &&
                       Wide{zNum[static_cast<std::size_t>(j) + 1]} < Wide{c} * zDen[static_cast<std::size_t>(j) + 1])
                    ++j;
                put(c, v[static_cast<std::size_t>(j)]);
            }
        }
    });
}

}  // namespace

void nearestFeature(std::span<const unsigned char> features, int rows, int cols, std::vector<std::int32_t>& nearest,
                    Surface* squaredDistance)
{
    const std::size_t cells = features.size();
    nearest.resize(cells);
    if (squaredDistance)
        squaredDistance->resize(cells);
    featureTransform(features, rows, cols, nearest.data(), squaredDistance ? squaredDistance->data() : nullptr);
}

void nearestFeature(std::span<const unsigned char> features, int rows, int cols, std::span<std::int32_t> nearest)
{
    featureTransform(features, rows, cols, nearest.data(), nullptr);
}

void squaredFeatureDistance(std::span<const unsigned char> features, int rows, int cols,
                            Surface& squaredDistance)
{
    squaredDistance.resize(features.size());
    featureTransform(features, rows, cols, nullptr, squaredDistance.data());
}

}  // namespace orvalis
