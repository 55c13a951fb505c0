#include "core/random/RandomSource.h"

namespace orvalis {

void RandomSource::discard(std::uint64_t k)
{
    // Square the affine step x -> a*x + c repeatedly, applying the powers that k selects.
    std::uint32_t a = Multiplier;
    std::uint32_t c = Increment;
    std::uint32_t accA = 1;
    std::uint32_t accC = 0;
    while (k != 0) {
        if (k & 1u) {
            accA = accA * a;
            accC = accC * a + c;
        }
        c = c * (a + 1);
        a = a * a;
        k >>= 1;
    }
    state_ = state_ * accA + accC;
}

RandomSource& globalRandom()
{
    static RandomSource source;
    return source;
}

void srand(unsigned int seed)
{
    globalRandom().seed(seed);
}

int rand()
{
    return globalRandom().next();
}

}  // namespace orvalis
