#include "core/neutral/NearestFeature.h"

#include "core/neutral/NumericSupport.h"

#include <algorithm>
#include <limits>

namespace orvalis {

namespace {

// nearestFeature with either output left out.
void featureTransform(std::span<const unsigned char> features, int rows, int cols, std::vector<std::int32_t>* nearest,
                      std::vector<double>* squaredDistance)
{
    const std::size_t cells = static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols);
    const double infinity = std::numeric_limits<double>::infinity();
    // Column pass: the nearest feature row in each cell's own column, -1 where the column has none.
    std::vector<std::int32_t> featureRow(cells, -1);
    const unsigned threads = passThreads(cells);
    // Columns are independent: each thread sweeps the rows over a band of columns of its own.
    forParts(static_cast<std::size_t>(cols), threads, [&](unsigned, std::size_t c0, std::size_t c1) {
        std::vector<std::int32_t> last(c1 - c0, -1);
        for (int r = 0; r < rows; ++r) {
            const std::size_t base = static_cast<std::size_t>(r) * cols;
            for (std::size_t c = c0; c < c1; ++c) {
                if (features[base + c])
                    last[c - c0] = r;
                featureRow[base + c] = last[c - c0];
            }
        }
        std::fill(last.begin(), last.end(), -1);
        for (int r = rows - 1; r >= 0; --r) {
            const std::size_t base = static_cast<std::size_t>(r) * cols;
            for (std::size_t c = c0; c < c1; ++c) {
                const std::size_t i = base + c;
                if (features[i])
                    last[c - c0] = r;
                const std::int32_t below = last[c - c0];
                if (below >= 0 && (featureRow[i] < 0 || below - r < r - featureRow[i]))
                    featureRow[i] = below;
            }
        }
    });
    if (nearest)
        nearest->assign(cells, -1);
    if (squaredDistance)
        squaredDistance->assign(cells, infinity);
    // Row pass: the lower envelope of the parabolas f(q) + (c - q)^2 over the columns q that hold
    // a feature in their column; every number is a whole one well inside a double's exact range.
    // Rows are independent too: each thread takes a band of rows with envelopes of its own.
    forParts(static_cast<std::size_t>(rows), threads, [&](unsigned, std::size_t r0, std::size_t r1) {
        std::vector<int> v(static_cast<std::size_t>(cols));
        std::vector<double> z(static_cast<std::size_t>(cols) + 1);
        std::vector<double> f(static_cast<std::size_t>(cols));
        for (int r = static_cast<int>(r0); r < static_cast<int>(r1); ++r) {
            const std::size_t base = static_cast<std::size_t>(r) * cols;
            int k = -1;
            for (int q = 0; q < cols; ++q) {
                const std::int32_t fr = featureRow[base + q];
                if (fr < 0)
                    continue;
                const double dr = r - fr;
                f[static_cast<std::size_t>(q)] = dr * dr;
                const double fq = f[static_cast<std::size_t>(q)] + double(q) * q;
                double s = 0.0;
                while (k >= 0) {
                    const int p = v[static_cast<std::size_t>(k)];
                    s = (fq - (f[static_cast<std::size_t>(p)] + double(p) * p)) / (2.0 * (q - p));
                    if (s > z[static_cast<std::size_t>(k)])
                        break;
                    --k;
                }
                ++k;
                v[static_cast<std::size_t>(k)] = q;
                z[static_cast<std::size_t>(k)] = k == 0 ? -infinity : s;
                z[static_cast<std::size_t>(k) + 1] = infinity;
            }
            if (k < 0)
                continue;
            int j = 0;
            for (int c = 0; c < cols; ++c) {
                while (z[static_cast<std::size_t>(j) + 1] < c)
                    ++j;
                const int q = v[static_cast<std::size_t>(j)];
                if (nearest)
                    (*nearest)[base + c] = featureRow[base + q] * cols + q;
                if (squaredDistance) {
                    const double dc = c - q;
                    (*squaredDistance)[base + c] = f[static_cast<std::size_t>(q)] + dc * dc;
                }
            }
        }
    });
}

}  // namespace

void nearestFeature(std::span<const unsigned char> features, int rows, int cols, std::vector<std::int32_t>& nearest,
                    std::vector<double>* squaredDistance)
{
    featureTransform(features, rows, cols, &nearest, squaredDistance);
}

void squaredFeatureDistance(std::span<const unsigned char> features, int rows, int cols,
                            std::vector<double>& squaredDistance)
{
    featureTransform(features, rows, cols, nullptr, &squaredDistance);
}

}  // namespace orvalis
