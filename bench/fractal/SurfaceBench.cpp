// One midpoint-displacement surface of window side 100, 1000 and 4096: the fast build,
// which computes only what the window depends on, against the full-grid reference build.
#include "core/neutral/MidpointSurface.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using Clock = std::chrono::steady_clock;
using orvalis::MidpointSurface;

namespace {

struct Timing {
    double seconds = 1e300;
    std::size_t peakBytes = 0;
};

// Best of `repeats`: the least disturbed run on a shared machine.
template <typename Build>
Timing best(int repeats, Build build)
{
    Timing t;
    for (int i = 0; i < repeats; ++i) {
        MidpointSurface s;
        const auto start = Clock::now();
        build(s, i);
        t.seconds = std::min(t.seconds, std::chrono::duration<double>(Clock::now() - start).count());
        t.peakBytes = s.peakGridBytes();
    }
    return t;
}

bool sameWindow(int size, int seed)
{
    MidpointSurface a, b;
    a.generateSurface(0.5, size, orvalis::SurfaceLevels, seed);
    b.generateReferenceSurface(0.5, size, orvalis::SurfaceLevels, seed);
    for (int r = 0; r <= size; ++r)
        if (!std::equal(a.grid()[r], a.grid()[r] + size + 1, b.grid()[r]))
            return false;
    return true;
}

}  // namespace

int main()
{
    std::printf("%6s %12s %12s %10s %14s %14s %s\n", "size", "fast s", "reference s", "speed-up", "fast grid MB",
                "ref grid MB", "identical");
    for (int size : {100, 1000, 4096}) {
        const int fastRepeats = size == 100 ? 200 : size == 1000 ? 10 : 3;
        const Timing fast = best(fastRepeats, [size](MidpointSurface& s, int i) {
            s.generateSurface(0.5, size, orvalis::SurfaceLevels, i);
        });
        const Timing reference = best(2, [size](MidpointSurface& s, int i) {
            s.generateReferenceSurface(0.5, size, orvalis::SurfaceLevels, i);
        });
        std::printf("%6d %12.6f %12.6f %9.1fx %14.3f %14.3f %s\n", size, fast.seconds, reference.seconds,
                    reference.seconds / fast.seconds, fast.peakBytes / 1048576.0, reference.peakBytes / 1048576.0,
                    sameWindow(size, 1) ? "yes" : "NO");
    }
    return 0;
}
