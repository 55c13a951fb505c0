// Each neutral model's defining property on small grids, against plain slow versions.
#include "core/compare/ReplicateRandom.h"
#include "core/neutral/ModelSurfaces.h"
#include "core/neutral/NearestFeature.h"
#include "core/neutral/SpectralSurface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <numbers>
#include <set>

using namespace orvalis;

namespace {

double squared(double r0, double c0, double r1, double c1)
{
    return (r0 - r1) * (r0 - r1) + (c0 - c1) * (c0 - c1);
}

// The nearest feature's squared distance for every cell, trying every feature.
std::vector<double> slowSquaredDistances(const std::vector<unsigned char>& features, int rows, int cols)
{
    std::vector<double> d(features.size(), std::numeric_limits<double>::infinity());
    std::vector<int> listed;
    for (int i = 0; i < rows * cols; ++i)
        if (features[static_cast<std::size_t>(i)])
            listed.push_back(i);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            for (const int i : listed)
                d[static_cast<std::size_t>(r * cols + c)] =
                    std::min(d[static_cast<std::size_t>(r * cols + c)], squared(r, c, i / cols, i % cols));
    return d;
}

std::vector<unsigned char> sparse(int rows, int cols, int everyNth, std::uint64_t state)
{
    ReplicateRandom random(state);
    std::vector<unsigned char> f(static_cast<std::size_t>(rows) * cols);
    for (auto& v : f)
        v = random.below(static_cast<std::uint64_t>(everyNth)) == 0;
    return f;
}

}  // namespace

TEST(NearestFeature, EqualsTryingEveryFeature)
{
    struct Case {
        int rows, cols, everyNth;
    };
    for (const Case& c : {Case{1, 1, 1}, Case{1, 17, 5}, Case{13, 1, 4}, Case{9, 14, 9}, Case{31, 23, 40},
                          Case{20, 20, 400}, Case{600, 520, 5000}, Case{40, 37, 2}, Case{33, 29, 3}}) {
        for (std::uint64_t seed = 1; seed <= 3; ++seed) {
            std::vector<unsigned char> features = sparse(c.rows, c.cols, c.everyNth, seed);
            std::vector<std::int32_t> nearest;
            Surface d;
            nearestFeature(features, c.rows, c.cols, nearest, &d);
            const std::vector<double> slow = slowSquaredDistances(features, c.rows, c.cols);
            std::vector<int> byColumn;
            for (int col = 0; col < c.cols; ++col)
                for (int row = 0; row < c.rows; ++row)
                    if (features[static_cast<std::size_t>(row * c.cols + col)])
                        byColumn.push_back(row * c.cols + col);
            for (int i = 0; i < c.rows * c.cols; ++i) {
                const auto k = static_cast<std::size_t>(i);
                ASSERT_EQ(d[k], slow[k]) << c.rows << "x" << c.cols << " cell " << i;
                if (std::isinf(slow[k])) {
                    EXPECT_EQ(nearest[k], -1);
                    continue;
                }
                // Of the nearest features, the one in the leftmost column, then the upper one.
                const auto at = std::find_if(byColumn.begin(), byColumn.end(), [&](int j) {
                    return squared(i / c.cols, i % c.cols, j / c.cols, j % c.cols) == slow[k];
                });
                EXPECT_EQ(nearest[k], *at) << c.rows << "x" << c.cols << " cell " << i;
            }
        }
    }
}

TEST(ModelSurfaces, DistanceGradientIsTheEuclideanDistanceRescaled)
{
    const int rows = 19, cols = 27;
    const std::vector<unsigned char> sources = sparse(rows, cols, 60, 7);
    Surface surface;
    distanceGradient(sources, rows, cols, surface);
    std::vector<double> slow = slowSquaredDistances(sources, rows, cols);
    for (double& v : slow)
        v = std::sqrt(v);
    rescale01(slow);
    for (std::size_t i = 0; i < slow.size(); ++i)
        EXPECT_NEAR(surface[i], slow[i], 1e-12) << i;
}

TEST(ModelSurfaces, PlanarIsExactlyLinearAndEdgeFoldsItInTheMiddle)
{
    for (const double direction : {0.0, 30.0, 90.0, 135.0, 200.0, 359.0}) {
        const int rows = 11, cols = 16;
        Surface planar, edge;
        planarGradient(rows, cols, direction, planar);
        edgeGradient(rows, cols, direction, edge);
        const auto at = [cols](const Surface& v, int r, int c) {
            return v[static_cast<std::size_t>(r * cols + c)];
        };
        // A step along a row or down a column adds the same amount everywhere, of the direction's signs.
        const double east = cols > 1 ? at(planar, 0, 1) - at(planar, 0, 0) : 0.0;
        const double south = at(planar, 1, 0) - at(planar, 0, 0);
        const double rad = direction * std::numbers::pi / 180.0;
        EXPECT_NEAR(east * -std::cos(rad), south * std::sin(rad), 1e-12) << direction;
        std::vector<double> folded;
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c) {
                EXPECT_NEAR(at(planar, r, c), at(planar, 0, 0) + r * south + c * east, 1e-12) << direction;
                folded.push_back(1.0 - 2.0 * std::fabs(0.5 - at(planar, r, c)));
            }
        rescale01(folded);
        for (std::size_t i = 0; i < folded.size(); ++i)
            EXPECT_NEAR(edge[i], folded[i], 1e-12) << direction;
    }
}

// Planar surfaces are rescaled from their corners and drawn cells in parts side by side: both
// give the bytes of the plain cell-by-cell versions, on grids large enough for several threads.
TEST(ModelSurfaces, FastPathsEqualThePlainVersions)
{
    for (const auto& [rows, cols] : {std::pair{1, 1}, std::pair{1, 7}, std::pair{6, 1}, std::pair{600, 700}})
        for (const double direction : {-0.0, 0.0, 45.0, 90.0, 180.0, 225.0, 270.0, 315.0, 333.3, 360.0}) {
            const double rad = direction * std::numbers::pi / 180.0;
            std::vector<double> plain;
            for (int r = 0; r < rows; ++r)
                for (int c = 0; c < cols; ++c)
                    plain.push_back(-std::cos(rad) * static_cast<double>(r) + std::sin(rad) * c);
            rescale01(plain);
            Surface planar;
            planarGradient(rows, cols, direction, planar);
            ASSERT_EQ(planar.size(), plain.size());
            EXPECT_EQ(std::memcmp(planar.data(), plain.data(), plain.size() * sizeof(double)), 0)
                << rows << " x " << cols << " at " << direction;
        }
    ReplicateRandom parts(5), plain(5);
    std::vector<double> drawn(300007, 0.5), expected = drawn;
    addUniformDraws(drawn, parts);
    for (double& v : expected)
        v += uniform01(plain);
    EXPECT_EQ(drawn, expected);
    EXPECT_EQ(parts.next(), plain.next());
}

TEST(ModelSurfaces, ClusterCellsShareOneValueAndTheRestTakeTheNearestCluster)
{
    for (const auto n : {Neighbourhood::Four, Neighbourhood::Eight, Neighbourhood::Diagonal}) {
        const int rows = 23, cols = 31;
        ReplicateRandom random(replicateState(3, 1, 2, static_cast<int>(n)));
        Surface surface;
        std::vector<std::int32_t> cluster;
        randomClusterNN(rows, cols, 0.45, n, random, surface, &cluster);
        // The share drawn is NLMpy's: cells - int((1 - p) cells).
        const auto occupied = std::count_if(cluster.begin(), cluster.end(), [](std::int32_t c) { return c >= 0; });
        EXPECT_EQ(occupied, rows * cols - static_cast<int>(0.55 * rows * cols));
        std::map<std::int32_t, double> valueOf;
        std::vector<unsigned char> features(cluster.size());
        for (std::size_t i = 0; i < cluster.size(); ++i) {
            features[i] = cluster[i] >= 0;
            if (cluster[i] < 0)
                continue;
            const auto [it, fresh] = valueOf.emplace(cluster[i], surface[i]);
            EXPECT_EQ(it->second, surface[i]) << "cluster " << cluster[i];
        }
        // Neighbours under the rule are in the same cluster; cells not neighbours may not be.
        const std::vector<std::pair<int, int>> linked =
            n == Neighbourhood::Four    ? std::vector<std::pair<int, int>>{{0, 1}, {1, 0}}
            : n == Neighbourhood::Eight ? std::vector<std::pair<int, int>>{{0, 1}, {1, 0}, {1, 1}, {1, -1}}
                                        : std::vector<std::pair<int, int>>{{0, 1}, {1, 0}, {1, -1}};
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c)
                for (const auto& [dr, dc] : linked) {
                    const int rr = r + dr, cc = c + dc;
                    if (rr >= rows || cc < 0 || cc >= cols)
                        continue;
                    const std::int32_t a = cluster[static_cast<std::size_t>(r * cols + c)];
                    const std::int32_t b = cluster[static_cast<std::size_t>(rr * cols + cc)];
                    if (a >= 0 && b >= 0) {
                        EXPECT_EQ(a, b);
                    }
                }
        const std::vector<double> nearest = slowSquaredDistances(features, rows, cols);
        for (int i = 0; i < rows * cols; ++i) {
            if (cluster[static_cast<std::size_t>(i)] >= 0)
                continue;
            // Some cluster cell at the nearest distance holds the cell's value.
            bool found = false;
            for (int j = 0; j < rows * cols && !found; ++j)
                found = cluster[static_cast<std::size_t>(j)] >= 0 &&
                        squared(i / cols, i % cols, j / cols, j % cols) == nearest[static_cast<std::size_t>(i)] &&
                        surface[static_cast<std::size_t>(j)] == surface[static_cast<std::size_t>(i)];
            EXPECT_TRUE(found) << "cell " << i;
        }
    }
}

TEST(ModelSurfaces, ClusterLabelsEqualAFloodFillInCellOrderOnLargeGrids)
{
    // Large enough for the labelling to run in bands on several threads.
    const int rows = 613, cols = 499;
    for (const auto n : {Neighbourhood::Four, Neighbourhood::Eight, Neighbourhood::Diagonal}) {
        for (const double p : {0.3, 0.59, 0.8}) {
            ReplicateRandom random(replicateState(9, 2, 1, static_cast<int>(n)));
            Surface surface;
            std::vector<std::int32_t> cluster;
            randomClusterNN(rows, cols, p, n, random, surface, &cluster);
            std::vector<std::pair<int, int>> steps = {{0, 1}, {0, -1}, {1, 0}, {-1, 0}};
            if (n == Neighbourhood::Eight)
                steps.insert(steps.end(), {{1, 1}, {1, -1}, {-1, 1}, {-1, -1}});
            if (n == Neighbourhood::Diagonal)
                steps.insert(steps.end(), {{-1, 1}, {1, -1}});
            std::vector<std::int32_t> slow(cluster.size(), -1);
            std::int32_t next = 0;
            for (int start = 0; start < rows * cols; ++start) {
                if (cluster[static_cast<std::size_t>(start)] < 0 || slow[static_cast<std::size_t>(start)] >= 0)
                    continue;
                std::vector<int> stack{start};
                slow[static_cast<std::size_t>(start)] = next;
                while (!stack.empty()) {
                    const int i = stack.back();
                    stack.pop_back();
                    for (const auto& [dr, dc] : steps) {
                        const int r = i / cols + dr, c = i % cols + dc;
                        const auto j = static_cast<std::size_t>(r * cols + c);
                        if (r < 0 || r >= rows || c < 0 || c >= cols || cluster[j] < 0 || slow[j] >= 0)
                            continue;
                        slow[j] = next;
                        stack.push_back(r * cols + c);
                    }
                }
                ++next;
            }
            EXPECT_EQ(cluster, slow) << "p " << p;
        }
    }
}

TEST(ModelSurfaces, ElementCellsTakeTheirNearestSeedsNumber)
{
    const int rows = 17, cols = 21, n = 12;
    ReplicateRandom random(99);
    Surface surface;
    randomElementNN(rows, cols, n, random, surface);
    // The seeds: the cells the draws name, in draw order, repeats skipped.
    ReplicateRandom again(99);
    std::vector<int> seeds;
    while (static_cast<int>(seeds.size()) < n) {
        const int i = static_cast<int>(again.below(static_cast<std::uint64_t>(rows * cols)));
        if (std::find(seeds.begin(), seeds.end(), i) == seeds.end())
            seeds.push_back(i);
    }
    for (int i = 0; i < rows * cols; ++i) {
        double best = std::numeric_limits<double>::infinity();
        for (int s : seeds)
            best = std::min(best, squared(i / cols, i % cols, s / cols, s % cols));
        const int number = static_cast<int>(std::lround(surface[static_cast<std::size_t>(i)] * (n - 1)));
        const int seed = seeds[static_cast<std::size_t>(number)];
        EXPECT_EQ(squared(i / cols, i % cols, seed / cols, seed % cols), best) << "cell " << i;
    }
}

TEST(ModelSurfaces, MosaicCellsTakeTheValueOfThePointNearestTheirCentre)
{
    const int rows = 25, cols = 18, n = 30;
    ReplicateRandom random(5);
    Surface surface;
    voronoiMosaic(rows, cols, n, random, surface);
    ReplicateRandom again(5);
    std::vector<std::array<double, 3>> points(n);
    for (auto& p : points)
        p = {uniform01(again) * cols, uniform01(again) * rows, uniform01(again)};
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            double best = std::numeric_limits<double>::infinity(), value = -1.0;
            for (const auto& p : points)
                if (const double d = squared(p[1], p[0], r + 0.5, c + 0.5); d < best) {
                    best = d;
                    value = p[2];
                }
            EXPECT_EQ(surface[static_cast<std::size_t>(r * cols + c)], value) << r << "," << c;
        }
}

TEST(ModelSurfaces, CategoricalModelsKeepTheirCounts)
{
    const int rows = 16, cols = 16;
    const auto categoryCounts = [](const Surface& s) {
        std::map<int, int> counts;
        for (double v : s)
            ++counts[static_cast<int>(std::floor(v))];
        return counts;
    };
    {
        // One level halving 16 blocks: 8 cut (level 1), 8 never (level 2).
        ReplicateRandom random(1);
        Surface s;
        const double p[] = {0.5}, sub[] = {4};
        randomCurds(4, 4, p, sub, random, s);
        EXPECT_EQ(categoryCounts(s), (std::map<int, int>{{1, 8}, {2, 8}}));
    }
    {
        // Two levels over 16 x 16: 16 blocks, 4 cut; then the 12 x 16 whole cells, half cut.
        ReplicateRandom random(2);
        Surface s;
        const double p[] = {0.25, 0.5}, sub[] = {4, 4};
        randomCurds(rows, cols, p, sub, random, s);
        EXPECT_EQ(categoryCounts(s), (std::map<int, int>{{1, 64}, {2, 96}, {3, 96}}));
    }
    for (const int neighbours : {4, 8}) {
        ReplicateRandom random(3);
        Surface s;
        neighbourhoodClusters(rows, cols, 0.3, 0.01, 4, neighbours, random, s);
        EXPECT_EQ(categoryCounts(s), (std::map<int, int>{{0, 64}, {1, 64}, {2, 64}, {3, 64}}));
    }
    for (const double p : {0.0, 1.0}) {
        ReplicateRandom random(4);
        Surface s;
        percolationSurface(rows, cols, p, random, s);
        EXPECT_EQ(categoryCounts(s), (std::map<int, int>{{static_cast<int>(p), rows * cols}}));
    }
}

// Rectangles painted one at a time as drawn, until every cell is painted.
Surface paintedOneByOne(int rows, int cols, int minSide, int maxSide, ReplicateRandom& random)
{
    Surface out(static_cast<std::size_t>(rows) * cols, -1.0);
    auto left = out.size();
    const auto sides = static_cast<std::uint64_t>(maxSide - minSide + 1);
    while (left > 0) {
        const int h = minSide + static_cast<int>(random.below(sides));
        const int w = minSide + static_cast<int>(random.below(sides));
        const int row = static_cast<int>(random.below(static_cast<std::uint64_t>(rows + maxSide - 1))) - (maxSide - 1);
        const int col = static_cast<int>(random.below(static_cast<std::uint64_t>(cols + maxSide - 1))) - (maxSide - 1);
        const double value = uniform01(random);
        for (int r = std::max(row, 0); r < std::min(row + h, rows); ++r)
            for (int c = std::max(col, 0); c < std::min(col + w, cols); ++c) {
                double& cell = out[static_cast<std::size_t>(r) * cols + c];
                left -= cell < 0.0;
                cell = value;
            }
    }
    return out;
}

TEST(ModelSurfaces, RectanglesEqualPaintingOneByOneAndDrawNoFurther)
{
    struct Case {
        int rows, cols, minSide, maxSide;
    };
    for (const Case& c : {Case{13, 9, 1, 1}, Case{40, 70, 2, 5}, Case{600, 500, 3, 9}, Case{300, 900, 1, 40}}) {
        ReplicateRandom ours(21), plain(21);
        Surface s;
        randomRectangularCluster(c.rows, c.cols, c.minSide, c.maxSide, ours, s);
        EXPECT_EQ(s, paintedOneByOne(c.rows, c.cols, c.minSide, c.maxSide, plain)) << c.rows << "x" << c.cols;
        EXPECT_EQ(ours.next(), plain.next()) << "a blend's next part draws on from the same place";
    }
}

TEST(ModelSurfaces, RectanglesAndPartitionsCoverEveryCell)
{
    for (const auto& [minSide, maxSide] : {std::pair{1, 1}, std::pair{2, 5}, std::pair{7, 7}}) {
        ReplicateRandom random(11);
        Surface s;
        randomRectangularCluster(13, 9, minSide, maxSide, random, s);
        for (double v : s)
            EXPECT_TRUE(v >= 0.0 && v < 1.0) << v;
    }
    for (const auto orientation :
         {PartOrientation::Longest, PartOrientation::Random, PartOrientation::Horizontal, PartOrientation::Vertical}) {
        ReplicateRandom random(12);
        Surface s;
        const int rows = 9, cols = 14, n = 20;
        binarySpacePartition(rows, cols, n, orientation, 2.0, random, s);
        // n rectangles: each value's cells fill their bounding box.
        std::map<double, std::array<int, 5>> boxes;  // min row, max row, min col, max col, cells
        for (int i = 0; i < rows * cols; ++i) {
            auto [it, fresh] = boxes.emplace(s[static_cast<std::size_t>(i)], std::array<int, 5>{rows, -1, cols, -1, 0});
            auto& b = it->second;
            b = {std::min(b[0], i / cols), std::max(b[1], i / cols), std::min(b[2], i % cols), std::max(b[3], i % cols),
                 b[4] + 1};
        }
        EXPECT_EQ(boxes.size(), static_cast<std::size_t>(n));
        for (const auto& [value, b] : boxes)
            EXPECT_EQ((b[1] - b[0] + 1) * (b[3] - b[2] + 1), b[4]) << value;
    }
}

// Spectral surfaces over replicates: the power spectrum of fbm falls as |k|^-(2h + 2); the
// Gaussian field's correlation at its range is exp(-1) for smoothness 0.5 and higher when smoother.
TEST(SpectralSurface, FbmSlopeAndGaussianCorrelationMatchTheirDefinitions)
{
    const int side = 64;
    for (const double h : {0.3, 0.8}) {
        // The mean squared increment over a lag grows as lag^(2h): the variogram's slope in log-log.
        double small = 0.0, large = 0.0;
        for (int rep = 0; rep < 40; ++rep) {
            ReplicateRandom random(replicateState(1, 0, 0, rep));
            Surface s;
            fbmSurface(side, side, h, random, s);
            for (int r = 0; r < side; ++r)
                for (int c = 0; c + 8 < side; ++c) {
                    const double a = s[static_cast<std::size_t>(r * side + c)];
                    small += std::pow(s[static_cast<std::size_t>(r * side + c + 1)] - a, 2);
                    large += std::pow(s[static_cast<std::size_t>(r * side + c + 8)] - a, 2);
                }
        }
        const double slope = std::log(large / small) / std::log(8.0);
        EXPECT_NEAR(slope, 2.0 * h, 0.25) << h;
    }
    const auto correlationAt = [](double range, double smoothness, int lag) {
        double sxy = 0.0, sxx = 0.0;
        for (int rep = 0; rep < 30; ++rep) {
            ReplicateRandom random(replicateState(2, 0, 0, rep));
            Surface s;
            gaussianFieldSurface(96, 96, range, smoothness, random, s);
            double mean = 0.0;
            for (double v : s)
                mean += v / static_cast<double>(s.size());
            for (int r = 0; r < 96; ++r)
                for (int c = 0; c < 96; ++c) {
                    const double a = s[static_cast<std::size_t>(r * 96 + c)] - mean;
                    sxx += a * a;
                    if (c + lag < 96)
                        sxy += a * (s[static_cast<std::size_t>(r * 96 + c + lag)] - mean) * 96.0 / (96.0 - lag);
                }
        }
        return sxy / sxx;
    };
    EXPECT_NEAR(correlationAt(6.0, 0.5, 6), std::exp(-1.0), 0.1);
    EXPECT_NEAR(correlationAt(6.0, 0.5, 1), std::exp(-1.0 / 6.0), 0.06);
    EXPECT_GT(correlationAt(6.0, 2.5, 6), correlationAt(6.0, 0.5, 6) + 0.1);
}

TEST(SpectralSurface, FastSizesHaveOnlySmallFactors)
{
    const std::map<int, int> expected{{1, 1}, {11, 12}, {13, 14}, {97, 98}, {1000, 1000}, {4001, 4032}};
    for (const auto& [n, fast] : expected)
        EXPECT_EQ(fastFftSize(n), fast) << n;
}
