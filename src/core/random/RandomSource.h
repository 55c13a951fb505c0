#pragma once

#include <cstdint>

namespace orvalis {

// The 15-bit linear congruential generator of the Windows C runtime, so that a
// given seed reproduces the same draws on every platform.
class RandomSource {
public:
    static constexpr int Max = 32767;
    static constexpr std::uint32_t Multiplier = 214013u;
    static constexpr std::uint32_t Increment = 2531011u;

    explicit RandomSource(std::uint32_t seed = 1) : state_(seed) {}

    void seed(std::uint32_t seed) { state_ = seed; }
    std::uint32_t state() const { return state_; }

    // One draw in 0..32767.
    int next()
    {
        state_ = state_ * Multiplier + Increment;
        return static_cast<int>((state_ >> 16) & 0x7FFFu);
    }

    // Moves the state ahead by k draws in O(log k) steps.
    void discard(std::uint64_t k);

private:
    std::uint32_t state_;
};

// The process-wide generator that stands in for the C runtime's rand/srand;
// it starts in state 1, as the C runtime does.
RandomSource& globalRandom();
void srand(unsigned int seed);
int rand();

}  // namespace orvalis
