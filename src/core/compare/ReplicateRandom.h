#pragma once

#include <atomic>
#include <cstdint>
#include <span>

namespace orvalis {

class MidpointSurface;

// The splitmix64 step: a bijective mix of x, good enough to derive independent states from
// neighbouring numbers.
inline std::uint64_t mix64(std::uint64_t x)
{
    x += 0x9e3779b97f4a7c15ull;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ull;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebull;
    return x ^ (x >> 31);
}

// The state replicate `replicate` of model `model` for window `window` starts from, so that any
// replicate can be made alone and the thread that makes it does not matter.
std::uint64_t replicateState(std::uint32_t seed, int window, int model, int replicate);

// A small 64-bit generator (splitmix64) of our own: std::uniform_int_distribution gives other
// numbers under another standard library, and the files must not depend on it.
class ReplicateRandom {
public:
    explicit ReplicateRandom(std::uint64_t state) : state_(state) {}
    std::uint64_t next()
    {
        const std::uint64_t x = state_;
        state_ += Step;
        return mix64(x);
    }
    // The generator `draws` draws of next() on, at once: a long run of draws can be cut into parts
    // made side by side.
    ReplicateRandom ahead(std::uint64_t draws) const { return ReplicateRandom(state_ + draws * Step); }
    // Uniform in [0, range), without bias (Lemire's multiply and reject); range > 0.
    std::uint64_t below(std::uint64_t range)
    {
        unsigned __int128 m = static_cast<unsigned __int128>(next()) * range;
        auto low = static_cast<std::uint64_t>(m);
        if (low < range) {
            const std::uint64_t floor = (0 - range) % range;
            while (low < floor) {
                m = static_cast<unsigned __int128>(next()) * range;
                low = static_cast<std::uint64_t>(m);
            }
        }
        return static_cast<std::uint64_t>(m >> 64);
    }

private:
    static constexpr std::uint64_t Step = 0x9e3779b97f4a7c15ull;
    std::uint64_t state_;
};

// Exactly `habitat` of the cells coverValue, placed uniformly at random, the rest matrixValue.
// Only the smaller class is drawn (a partial Fisher-Yates shuffle), so the cost of the draws
// follows min(habitat, cells - habitat). A raised stop ends the draws early (false).
bool placeRandomHabitat(std::span<int> cells, std::int64_t habitat, ReplicateRandom& random, int coverValue,
                        int matrixValue, const std::atomic<bool>* stop = nullptr);

// Exactly `habitat` cells coverValue: those of the rows x cols top-left points of surface with
// the highest values, ties to the earlier cell (row after row), the rest matrixValue; habitat at
// most rows x cols.
void placeSurfaceHabitat(std::span<int> cells, int rows, int cols, const MidpointSurface& surface,
                         std::int64_t habitat, int coverValue, int matrixValue);

// The smallest number of midpoint stages whose grid holds a window of side size.
int surfaceLevelsFor(int size);

}  // namespace orvalis
