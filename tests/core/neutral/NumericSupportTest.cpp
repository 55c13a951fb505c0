#include "core/neutral/MidpointSurface.h"
#include "core/neutral/NumericSupport.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace orvalis;

TEST(GaussianSource, ConstantsSpanPlusMinusRootFifteen)
{
    GaussianSource g;
    seedGaussian(g, 3);
    EXPECT_EQ(g.count, 5);
    EXPECT_EQ(g.upperBound, 32767);
    // Five draws of 0 and five of 32767 are the two ends of the deviate's range.
    EXPECT_DOUBLE_EQ(0.0 * g.factor - g.additive, -3.872983346207417);
    EXPECT_DOUBLE_EQ(5.0 * 32767.0 * g.factor - g.additive, 3.872983346207417);
    EXPECT_EQ(g.additive, std::sqrt(15.0));
}

TEST(GaussianSource, EachDeviateSumsTheNextFiveDrawsOfTheSeededSource)
{
    for (int seed : {0, 1, 199, -5}) {
        GaussianSource g;
        seedGaussian(g, seed);
        RandomSource plain(static_cast<unsigned>(seed));
        for (int i = 0; i < 1000; ++i) {
            double sum = 0.0;
            for (int k = 0; k < 5; ++k)
                sum += plain.next();
            const double v = nextGaussian(g);
            ASSERT_EQ(v, sum * g.factor - g.additive) << "seed " << seed << " deviate " << i;
            ASSERT_LE(std::fabs(v), 3.872983346207417);
        }
    }
}

TEST(GaussianSource, ReseedingRestartsTheSequence)
{
    GaussianSource g;
    seedGaussian(g, 42);
    const double first = nextGaussian(g), second = nextGaussian(g);
    seedGaussian(g, 42);
    EXPECT_EQ(nextGaussian(g), first);
    EXPECT_EQ(nextGaussian(g), second);
}

TEST(Imatrix, AddressesEveryElementWithinItsBounds)
{
    struct Case {
        const char* name;
        int rowLow, rowHigh, colLow, colHigh;
    } cases[] = {{"zero based", 0, 4, 0, 6}, {"offset", 3, 5, -2, 2}, {"single element", 7, 7, 7, 7}};
    for (const Case& c : cases) {
        double** m = imatrix(c.rowLow, c.rowHigh, c.colLow, c.colHigh);
        for (int i = c.rowLow; i <= c.rowHigh; ++i)
            for (int j = c.colLow; j <= c.colHigh; ++j)
                m[i][j] = i * 100 + j;
        for (int i = c.rowLow; i <= c.rowHigh; ++i)
            for (int j = c.colLow; j <= c.colHigh; ++j)
                ASSERT_EQ(m[i][j], i * 100 + j) << c.name;
        releaseMatrix(m, c.rowLow, c.rowHigh, c.colLow, c.colHigh);
    }
}

TEST(MidpointSurfaceArguments, RefusedWithAReasonAndNoGridInsteadOfEndingTheProcess)
{
    struct Case {
        const char* name;
        int size, maxLevel;
        const char* reason;
    };
    const Case cases[] = {
        {"window larger than the grid", MaxSurfaceSize + 1, SurfaceLevels, "size greater than 2^level"},
        {"negative window", -1, SurfaceLevels, "negative window size"},
        {"too many stages", 10, 31, "subdivision stages outside 0..30"},
        {"negative stages", 0, -1, "subdivision stages outside 0..30"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MidpointSurface fast, reference;
        EXPECT_FALSE(fast.generateSurface(0.5, c.size, c.maxLevel, 0));
        EXPECT_FALSE(reference.generateReferenceSurface(0.5, c.size, c.maxLevel, 0));
        EXPECT_EQ(fast.error(), c.reason);
        EXPECT_EQ(reference.error(), c.reason);
        EXPECT_TRUE(MidpointSurface::rawWindow(0.5, c.size, c.maxLevel, 0).empty());
    }
}
