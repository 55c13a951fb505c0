#include "core/compare/ReplicateRandom.h"

#include "core/compare/CompareRun.h"
#include "core/neutral/ExactClasses.h"
#include "core/neutral/MidpointSurface.h"

#include <algorithm>
#include <functional>
#include <numeric>
#include <utility>
#include <vector>

namespace orvalis {

std::uint64_t replicateState(std::uint32_t seed, int window, int model, int replicate)
{
    // Each number goes through its own round, so (1, 2) and (2, 1) part at once.
    std::uint64_t s = mix64(seed);
    s = mix64(s ^ static_cast<std::uint32_t>(window));
    s = mix64(s ^ static_cast<std::uint32_t>(model));
    return mix64(s ^ static_cast<std::uint32_t>(replicate));
}

bool placeRandomHabitat(std::span<int> cells, std::int64_t habitat, ReplicateRandom& random, int coverValue,
                        int matrixValue, const std::atomic<bool>* stop)
{
    const auto n = static_cast<std::int64_t>(cells.size());
    const bool fewerHabitat = habitat <= n - habitat;
    const std::int64_t drawn = fewerHabitat ? habitat : n - habitat;
    std::fill(cells.begin(), cells.end(), fewerHabitat ? matrixValue : coverValue);
    const int drawnValue = fewerHabitat ? coverValue : matrixValue;
    // Kept per thread: a run makes thousands of landscapes of one size.
    thread_local std::vector<std::int32_t> order;
    order.resize(cells.size());
    std::iota(order.begin(), order.end(), 0);
    // The draws do not depend on the cells, so they are made Ahead steps early and the cells
    // they will touch fetched meanwhile: on a large grid every step would otherwise wait on memory.
    constexpr std::int64_t Ahead = 64;
    std::int64_t picked[Ahead];
    const auto draw = [&](std::int64_t i) {
        picked[i % Ahead] = i + static_cast<std::int64_t>(random.below(static_cast<std::uint64_t>(n - i)));
    };
    for (std::int64_t i = 0; i < std::min(drawn, Ahead); ++i)
        draw(i);
    for (std::int64_t i = 0; i < drawn; ++i) {
        if ((i & 0xFFFF) == 0 && stop && stop->load(std::memory_order_relaxed))
            return false;
        const std::int64_t j = picked[i % Ahead];
        if (i + Ahead < drawn) {
            draw(i + Ahead);
            __builtin_prefetch(&order[static_cast<std::size_t>(picked[(i + Ahead) % Ahead])], 1);
        }
        if (i + Ahead / 2 < drawn)
            __builtin_prefetch(&cells[static_cast<std::size_t>(order[static_cast<std::size_t>(picked[(i + Ahead / 2) % Ahead])])], 1);
        std::swap(order[static_cast<std::size_t>(i)], order[static_cast<std::size_t>(j)]);
        cells[static_cast<std::size_t>(order[static_cast<std::size_t>(i)])] = drawnValue;
    }
    return true;
}

void placeSurfaceHabitat(std::span<int> cells, int rows, int cols, const MidpointSurface& surface,
                         std::int64_t habitat, int coverValue, int matrixValue)
{
    std::fill(cells.begin(), cells.end(), matrixValue);
    if (habitat <= 0)
        return;
    // The habitat-th highest value: a histogram finds the bucket that holds it, and only that
    // bucket's values are ranked. Cells above it are habitat, and of the cells equal to it the
    // earliest make up the count, as ranking every (value, cell) pair would give.
    constexpr int Buckets = 4096;
    // The surface is rescaled to [0, 1]; the clamp keeps any value in a bucket all the same.
    const auto bucket = [](double v) {
        return std::clamp(static_cast<int>(v * (Buckets - 1)), 0, Buckets - 1);
    };
    thread_local std::vector<std::int64_t> counts;
    counts.assign(Buckets, 0);
    for (int r = 0; r < rows; ++r)
        for (const double* v = surface.grid()[r]; v != surface.grid()[r] + cols; ++v)
            ++counts[static_cast<std::size_t>(bucket(*v))];
    int top = Buckets - 1;
    std::int64_t above = 0;
    while (above + counts[static_cast<std::size_t>(top)] < habitat)
        above += counts[static_cast<std::size_t>(top--)];
    thread_local std::vector<double> values;
    values.clear();
    for (int r = 0; r < rows; ++r)
        for (const double* v = surface.grid()[r]; v != surface.grid()[r] + cols; ++v)
            if (bucket(*v) == top)
                values.push_back(*v);
    const auto nth = values.begin() + (habitat - above - 1);
    std::nth_element(values.begin(), nth, values.end(), std::greater<double>());
    const double threshold = *nth;
    // Values above the threshold are all in the buckets above or before nth in its own.
    std::int64_t ties = habitat - above - std::count_if(values.begin(), nth, [&](double v) { return v > threshold; });
    for (int r = 0; r < rows; ++r) {
        const double* line = surface.grid()[r];
        int* out = cells.data() + static_cast<std::size_t>(r) * static_cast<std::size_t>(cols);
        for (int c = 0; c < cols; ++c) {
            const bool tie = line[c] == threshold && ties > 0;
            ties -= tie;
            if (line[c] > threshold || tie)
                out[c] = coverValue;
        }
    }
}

int surfaceLevelsFor(int size)
{
    int levels = 0;
    while ((std::int64_t{1} << levels) < size)
        ++levels;
    return levels;
}

std::vector<int> neutralLandscape(const NeutralModel& kind, std::uint32_t seed, int window, int model, int replicate,
                                  int rows, int cols, std::int64_t habitat, int coverValue, int matrixValue,
                                  const std::atomic<bool>* stop)
{
    const auto stopped = [stop] { return stop && stop->load(std::memory_order_relaxed); };
    // Filled a row at a time: the first touch of a large grid's pages takes a while, and a stop is heard meanwhile.
    std::vector<int> cells;
    cells.reserve(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols));
    for (int r = 0; r < rows; ++r) {
        if ((r & 63) == 0 && stopped())
            return {};
        cells.resize(cells.size() + static_cast<std::size_t>(cols));
    }
    const std::int64_t n = static_cast<std::int64_t>(cells.size());
    habitat = std::clamp<std::int64_t>(habitat, 0, n);
    ReplicateRandom random(replicateState(seed, window, model, replicate));
    if (kind.kind == NeutralModel::Kind::Random) {
        if (!placeRandomHabitat(cells, habitat, random, coverValue, matrixValue, stop))
            return {};
        return cells;
    }
    if (habitat == 0 || habitat == n) {
        // Nothing to rank: the surface would not change the landscape.
        std::fill(cells.begin(), cells.end(), habitat == 0 ? matrixValue : coverValue);
        return cells;
    }
    if (kind.kind == NeutralModel::Kind::Table) {
        Surface surface;
        const bool built = kind.blend.parts.empty() ? buildSurface(kind.choice, rows, cols, random, surface)
                                                    : kind.blend.build(rows, cols, random, surface);
        if (!built || stopped())
            return {};
        placeHighest(surface, habitat, coverValue, matrixValue, cells);
        return cells;
    }
    const int size = std::max(rows, cols);
    MidpointSurface surface;
    // The surface's seed is an int; the top bits of the state's first draw give a non-negative one.
    const int surfaceSeed = static_cast<int>(random.next() >> 33);
    if (!surface.generateSurface(kind.H, size, surfaceLevelsFor(size), surfaceSeed) || stopped())
        return {};
    placeSurfaceHabitat(cells, rows, cols, surface, habitat, coverValue, matrixValue);
    return cells;
}

}  // namespace orvalis
