#include "core/neutral/MidpointSurface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <tuple>
#include <vector>

using namespace orvalis;

namespace {

constexpr int N = 1 << SurfaceLevels;

// The raw 4097 x 4097 reference surface, built once per (H, seed) for the whole binary.
const std::vector<double>& fullReference(double H, int seed)
{
    static std::map<std::pair<double, int>, std::vector<double>> cache;
    auto it = cache.find({H, seed});
    if (it == cache.end())
        it = cache.emplace(std::make_pair(H, seed), MidpointSurface::referenceRawWindow(H, N, SurfaceLevels, seed)).first;
    return it->second;
}

std::vector<double> normalisedWindow(const MidpointSurface& s)
{
    std::vector<double> out;
    for (int r = 0; r <= s.size(); ++r)
        out.insert(out.end(), s.grid()[r], s.grid()[r] + s.size() + 1);
    return out;
}

}  // namespace

TEST(MidpointSurface, FastWindowEqualsTheCentredCropOfTheFullReferenceGrid)
{
    const std::vector<int> sizes = {0, 1, 2, 3, 4, 5, 7, 31, 64, 99, 100, 101, 255, 256, 257, 1000, 2047, 2049, 4095, 4096};
    for (auto [H, seed] : {std::pair{0.01, 0}, std::pair{1.0, 199}}) {
        const std::vector<double>& full = fullReference(H, seed);
        for (int size : sizes) {
            const int off = (N - size) / 2;
            const std::vector<double> fast = MidpointSurface::rawWindow(H, size, SurfaceLevels, seed);
            ASSERT_EQ(fast.size(), static_cast<std::size_t>(size + 1) * (size + 1));
            for (int r = 0; r <= size; ++r) {
                const double* want = &full[static_cast<std::size_t>(off + r) * (N + 1) + off];
                const double* got = &fast[static_cast<std::size_t>(r) * (size + 1)];
                const auto [g, w] = std::mismatch(got, got + size + 1, want);
                ASSERT_EQ(g, got + size + 1) << "H " << H << " seed " << seed << " size " << size << " row " << r
                                             << " column " << (g - got) << ": " << *g << " != " << *w;
            }
        }
    }
}

TEST(MidpointSurface, WindowOfSize100UsesRowsAndColumns1998To2098)
{
    const std::vector<double>& full = fullReference(1.0, 199);
    const std::vector<double> w = MidpointSurface::rawWindow(1.0, 100, SurfaceLevels, 199);
    EXPECT_EQ(w.front(), full[1998u * (N + 1) + 1998]);
    EXPECT_EQ(w.back(), full[2098u * (N + 1) + 2098]);
    EXPECT_EQ(w[100], full[1998u * (N + 1) + 2098]);
}

TEST(MidpointSurface, FastBuildMatchesReferenceOnEverySizeOfSmallGrids)
{
    for (int level = 0; level <= 6; ++level)
        for (int size = 0; size <= (1 << level); ++size)
            for (int seed : {0, 1, 123})
                for (double H : {0.01, 0.37, 1.0})
                    ASSERT_EQ(MidpointSurface::rawWindow(H, size, level, seed),
                              MidpointSurface::referenceRawWindow(H, size, level, seed))
                        << "level " << level << " size " << size << " seed " << seed << " H " << H;
}

TEST(MidpointSurface, NormalisedFastAndReferenceSurfacesAreBitIdentical)
{
    for (auto [H, size, seed] : {std::tuple{0.1, 2, 0}, std::tuple{0.9, 100, 199}, std::tuple{0.33, 777, 12}}) {
        MidpointSurface fast, reference;
        fast.generateSurface(H, size, SurfaceLevels, seed);
        reference.generateReferenceSurface(H, size, SurfaceLevels, seed);
        EXPECT_EQ(normalisedWindow(fast), normalisedWindow(reference)) << "H " << H << " size " << size;
    }
}

TEST(MidpointSurface, InterpolatedPointsAreWholeNumbersBeforeNormalisation)
{
    for (int size : {100, 4096}) {
        const std::vector<double> w = MidpointSurface::rawWindow(0.7, size, SurfaceLevels, 3);
        int fractional = 0;
        for (double v : w)
            fractional += v != std::trunc(v);
        // Only the four grid corners are stored untruncated, and only size 4096 reaches them.
        EXPECT_LE(fractional, size == 4096 ? 4 : 0) << "size " << size;
    }
}

TEST(MidpointSurface, NormalisedWindowSpansZeroToOne)
{
    for (auto [H, size, seed] : {std::tuple{0.1, 2, 5}, std::tuple{0.5, 16, 0}, std::tuple{1.0, 100, 42}}) {
        MidpointSurface s;
        s.generateSurface(H, size, SurfaceLevels, seed);
        const std::vector<double> w = normalisedWindow(s);
        EXPECT_EQ(*std::min_element(w.begin(), w.end()), 0.0);
        EXPECT_EQ(*std::max_element(w.begin(), w.end()), 1.0);
        EXPECT_EQ(s.size(), size);
    }
}

TEST(MidpointSurface, FlatWindowNormalisesToZeroInsteadOfNaN)
{
    MidpointSurface fast, reference;
    fast.generateSurface(0.5, 0, SurfaceLevels, 9);
    reference.generateReferenceSurface(0.5, 0, 4, 9);
    EXPECT_EQ(fast.at(0, 0), 0.0);
    EXPECT_EQ(reference.at(0, 0), 0.0);
}

TEST(MidpointSurface, SameSeedAndHGiveTheSameSurfaceAndSeedsDiffer)
{
    MidpointSurface a, b, c;
    a.generateSurface(0.4, 64, SurfaceLevels, 11);
    b.generateSurface(0.4, 64, SurfaceLevels, 11);
    c.generateSurface(0.4, 64, SurfaceLevels, 12);
    EXPECT_EQ(normalisedWindow(a), normalisedWindow(b));
    EXPECT_NE(normalisedWindow(a), normalisedWindow(c));
    // Reusing one object replaces its surface.
    a.generateSurface(0.4, 64, SurfaceLevels, 12);
    EXPECT_EQ(normalisedWindow(a), normalisedWindow(c));
}

TEST(MidpointSurface, SmallWindowNeedsLittleGridMemory)
{
    MidpointSurface s;
    s.generateSurface(0.5, 100, SurfaceLevels, 0);
    EXPECT_LT(s.peakGridBytes(), 1u << 20);
}

// Mean squared increment at lag k grows as k^(2H) for fractional Brownian motion.
TEST(MidpointSurface, IncrementVarianceScalesWithTwiceH)
{
    const int size = 1024;
    for (double H : {0.2, 0.5, 0.8}) {
        std::vector<double> logLag, logMsi;
        std::vector<std::vector<double>> windows;
        for (int seed = 0; seed < 2; ++seed)
            windows.push_back(MidpointSurface::rawWindow(H, size, SurfaceLevels, seed));
        for (int k = 1; k <= 64; ++k) {
            double sum = 0.0;
            long long n = 0;
            for (const auto& w : windows)
                for (int r = 0; r <= size; r += 3)
                    for (int c = 0; c + k <= size; ++c) {
                        const double dx = w[r * (size + 1) + c + k] - w[r * (size + 1) + c];
                        const double dy = w[(c + k) * (size + 1) + r] - w[c * (size + 1) + r];
                        sum += dx * dx + dy * dy;
                        n += 2;
                    }
            logLag.push_back(std::log(k));
            logMsi.push_back(std::log(sum / n));
        }
        const double mx = std::accumulate(logLag.begin(), logLag.end(), 0.0) / logLag.size();
        const double my = std::accumulate(logMsi.begin(), logMsi.end(), 0.0) / logMsi.size();
        double sxy = 0, sxx = 0;
        for (std::size_t i = 0; i < logLag.size(); ++i) {
            sxy += (logLag[i] - mx) * (logMsi[i] - my);
            sxx += (logLag[i] - mx) * (logLag[i] - mx);
        }
        EXPECT_NEAR(sxy / sxx, 2 * H, 0.2) << "H " << H;
    }
}
