#include "core/random/RandomSource.h"

#include <gtest/gtest.h>

#include <vector>

using orvalis::RandomSource;

namespace {

std::vector<int> draws(RandomSource& source, int n)
{
    std::vector<int> out;
    for (int i = 0; i < n; ++i)
        out.push_back(source.next());
    return out;
}

}  // namespace

TEST(RandomSource, MatchesTheWindowsRuntimeSequences)
{
    RandomSource one(1);
    EXPECT_EQ(draws(one, 10),
              (std::vector<int>{41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464}));
    RandomSource zero(0);
    EXPECT_EQ(draws(zero, 10),
              (std::vector<int>{38, 7719, 21238, 2437, 8855, 11797, 8365, 32285, 10450, 30612}));
}

TEST(RandomSource, ProcessWideSourceStartsAtStateOneAndReseeds)
{
    // Nothing else in this test binary draws from the global source before this.
    EXPECT_EQ(orvalis::rand(), 41);
    EXPECT_EQ(orvalis::rand(), 18467);
    orvalis::srand(0);
    EXPECT_EQ(orvalis::rand(), 38);
    orvalis::srand(1);
    EXPECT_EQ(orvalis::rand(), 41);
    // A negative seed given as int wraps to the same state as on the original runtime.
    orvalis::srand(static_cast<unsigned>(-5));
    RandomSource wrapped(0xFFFFFFFBu);
    EXPECT_EQ(orvalis::rand(), wrapped.next());
}

TEST(RandomSource, DrawsStayInFifteenBits)
{
    RandomSource source(12345);
    int low = RandomSource::Max, high = 0;
    for (int i = 0; i < 200000; ++i) {
        int v = source.next();
        low = std::min(low, v);
        high = std::max(high, v);
    }
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, RandomSource::Max);
}

TEST(RandomSource, JumpAheadEqualsStepping)
{
    for (std::uint32_t seed : {0u, 1u, 5u, 199u, 0xFFFFFFFFu}) {
        for (std::uint64_t k : {0ull, 1ull, 2ull, 3ull, 17ull, 1000ull, 65537ull, 1234567ull}) {
            RandomSource stepped(seed);
            for (std::uint64_t i = 0; i < k; ++i)
                stepped.next();
            RandomSource jumped(seed);
            jumped.discard(k);
            EXPECT_EQ(jumped.state(), stepped.state()) << "seed " << seed << " k " << k;
            EXPECT_EQ(jumped.next(), stepped.next());
        }
    }
    // The period is 2^32: a full cycle comes back to the start.
    RandomSource cycle(77);
    cycle.discard(1ull << 32);
    EXPECT_EQ(cycle.state(), 77u);
}

TEST(RandomSource, IndependentInstancesDoNotShareState)
{
    RandomSource a(3), b(3);
    a.next();
    a.next();
    b.next();
    EXPECT_NE(a.state(), b.state());
    b.next();
    EXPECT_EQ(a.state(), b.state());
}
