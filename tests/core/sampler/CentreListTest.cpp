#include "core/sampler/CentreList.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using orvalis::CentreList;

namespace {

bool plainTooClose(const CentreList& c, int x, int y, int minDistance)
{
    for (std::size_t k = 0; k < c.xs.size(); ++k) {
        const double dx = c.xs[k] - x, dy = c.ys[k] - y;
        if (static_cast<long long>(std::sqrt(dx * dx + dy * dy)) <= minDistance)
            return true;
    }
    return false;
}

TEST(CentreList, DistanceIsTheWholePartOfTheEuclideanDistance)
{
    struct Case {
        const char* name;
        int x, y, minDistance;
        bool tooClose;
    } cases[] = {
        {"same centre at distance 0", 100, 100, 0, true},
        {"neighbour at distance 0", 101, 100, 0, false},
        {"exactly at the distance", 110, 100, 10, true},
        {"one past the distance", 111, 100, 10, false},
        {"diagonal 7.07 floors to 7", 105, 105, 7, true},
        {"diagonal 7.07 against 6", 105, 105, 6, false},
        {"sqrt(120) = 10.95 floors to 10", 102, 110, 10, true},
        {"sqrt(121) = 11", 100, 111, 10, false},
        {"far corner of a large image, 92537.4", 65534, 65534, 92537, true},
        {"far corner of a large image against 92536", 65534, 65534, 92536, false},
        {"negative distance refuses nothing", 100, 100, -1, false},
    };
    for (const Case& c : cases) {
        CentreList list;
        list.add(100, 100);
        EXPECT_EQ(list.tooClose(c.x, c.y, c.minDistance), c.tooClose) << c.name;
    }
}

TEST(CentreList, BucketsAgreeWithScanningEveryCentre)
{
    std::mt19937 gen(7);
    for (int minDistance : {0, 1, 3, 17, 100, 5000}) {
        CentreList list;
        std::uniform_int_distribution<int> coord(0, 2000);
        for (int i = 0; i < 400; ++i) {
            const int x = coord(gen), y = coord(gen);
            ASSERT_EQ(list.tooClose(x, y, minDistance), plainTooClose(list, x, y, minDistance))
                << "distance " << minDistance << " at " << x << "," << y;
            if (i % 3 == 0)
                list.add(x, y);
        }
    }
}

TEST(CentreList, ChangingTheDistanceStillSeesEveryCentre)
{
    CentreList list;
    list.add(10, 10);
    EXPECT_FALSE(list.tooClose(40, 10, 5));
    list.add(500, 500);
    EXPECT_TRUE(list.tooClose(40, 10, 30));
    EXPECT_TRUE(list.tooClose(520, 500, 20));
    EXPECT_FALSE(list.tooClose(520, 500, 19));
    EXPECT_EQ(list.size(), 2u);
}

}  // namespace
