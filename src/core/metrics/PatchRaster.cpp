#include "core/metrics/PatchRaster.h"

#include <algorithm>
#include <bit>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace orvalis {

namespace {

std::int32_t findRoot(std::vector<std::int32_t>& parent, std::int32_t x)
{
    while (parent[static_cast<std::size_t>(x)] != x) {
        parent[static_cast<std::size_t>(x)] = parent[static_cast<std::size_t>(parent[static_cast<std::size_t>(x)])];
        x = parent[static_cast<std::size_t>(x)];
    }
    return x;
}

}  // namespace

void PatchRaster::cut(std::span<const int* const> lines, int width, const std::optional<int>& noData,
                      bool eightNeighbours, bool labelToo, StopFlag stop)
{
    rows = static_cast<int>(lines.size());
    cols = std::max(width, 0);
    runs.clear();
    rowRuns.clear();
    rowRuns.reserve(lines.size() + 1);
    // Grown a row at a time, so that the first touch of a large grid's pages is spread under the stop's checks.
    runOf.clear();
    runOf.reserve(lines.size() * static_cast<std::size_t>(cols));
    changes_.resize(static_cast<std::size_t>(cols) / 64 + 1);
    for (const int* v : lines) {
        stop.check();
        runOf.resize(runOf.size() + static_cast<std::size_t>(cols));
        std::int32_t* cell = runOf.data() + runOf.size() - static_cast<std::size_t>(cols);
        rowRuns.push_back(static_cast<std::int32_t>(runs.size()));
        if (cols == 0)
            continue;
        numberRuns(v, static_cast<std::int32_t>(runs.size()), cell);
        // The run's value stays in cls until classify() turns it into a dense class.
        int start = 0;
        for (std::size_t w = 0; w < changes_.size(); ++w)
            for (std::uint64_t m = changes_[w]; m != 0; m &= m - 1) {
                const int end = static_cast<int>(w * 64) + std::countr_zero(m);
                runs.push_back({start, end, v[start], -1});
                start = end;
            }
        runs.push_back({start, cols, v[start], -1});
    }
    rowRuns.push_back(static_cast<std::int32_t>(runs.size()));
    classify(noData);
    patchClass.clear();
    shapes.clear();
    classContacts.clear();
    if (!values.empty() && labelToo)
        label(eightNeighbours, stop);
}

// Sets bit c of changes_ where v[c] differs from v[c - 1], and gives each cell its run's
// number, counting from first. Four cells at a time where the processor has SSE2: a branch
// per cell would be mispredicted at every run's end.
void PatchRaster::numberRuns(const int* v, std::int32_t first, std::int32_t* cell)
{
    std::fill(changes_.begin(), changes_.end(), 0);
    std::int32_t id = first;
    cell[0] = id;
    auto one = [&](int c) {
        const bool change = v[c] != v[c - 1];
        id += change;
        cell[c] = id;
        changes_[static_cast<std::size_t>(c) / 64] |= std::uint64_t{change} << (c % 64);
    };
    int c = 1;
#if defined(__SSE2__)
    // Blocks start at multiples of four, so none straddles two words of changes_.
    for (; c < std::min(4, cols); ++c)
        one(c);
    __m128i carry = _mm_set1_epi32(id);
    for (; c + 4 <= cols; c += 4) {
        const __m128i same = _mm_cmpeq_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(v + c)),
                                             _mm_loadu_si128(reinterpret_cast<const __m128i*>(v + c - 1)));
        const auto m = static_cast<unsigned>(~_mm_movemask_ps(_mm_castsi128_ps(same))) & 15u;
        changes_[static_cast<std::size_t>(c) / 64] |= std::uint64_t{m} << (c % 64);
        // Running count of changes: the numbers of the four cells' runs.
        __m128i n = _mm_andnot_si128(same, _mm_set1_epi32(1));
        n = _mm_add_epi32(n, _mm_slli_si128(n, 4));
        n = _mm_add_epi32(n, _mm_slli_si128(n, 8));
        n = _mm_add_epi32(n, carry);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(cell + c), n);
        carry = _mm_shuffle_epi32(n, 0xff);
    }
    id = _mm_cvtsi128_si32(carry);
#endif
    for (; c < cols; ++c)
        one(c);
}

void PatchRaster::release()
{
    *this = PatchRaster();
}

void PatchRaster::classify(const std::optional<int>& noData)
{
    values.clear();
    std::int64_t lo = std::numeric_limits<std::int64_t>::max();
    std::int64_t hi = std::numeric_limits<std::int64_t>::min();
    std::size_t cells = 0;
    for (const CellRun& run : runs)
        if (!noData || run.cls != *noData) {
            lo = std::min<std::int64_t>(lo, run.cls);
            hi = std::max<std::int64_t>(hi, run.cls);
            cells += static_cast<std::size_t>(run.end - run.start);
        }
    if (cells == 0)
        return;
    const std::uint64_t span = static_cast<std::uint64_t>(hi - lo) + 1;
    if (span <= 2 * cells + 1024) {
        // Values in a narrow range: a table indexed by value, no sorting.
        std::vector<std::int32_t>& index = scratch_;
        index.assign(span, -1);
        for (const CellRun& run : runs)
            if (!noData || run.cls != *noData)
                index[static_cast<std::size_t>(run.cls - lo)] = 0;
        for (std::size_t i = 0; i < span; ++i)
            if (index[i] == 0) {
                index[i] = static_cast<std::int32_t>(values.size());
                values.push_back(static_cast<int>(lo + static_cast<std::int64_t>(i)));
            }
        for (CellRun& run : runs)
            run.cls = !noData || run.cls != *noData ? index[static_cast<std::size_t>(run.cls - lo)] : -1;
        return;
    }
    for (const CellRun& run : runs)
        if (!noData || run.cls != *noData)
            values.push_back(run.cls);
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    for (CellRun& run : runs)
        run.cls = !noData || run.cls != *noData
                      ? static_cast<std::int32_t>(std::lower_bound(values.begin(), values.end(), run.cls) - values.begin())
                      : -1;
}

// Runs joined by union-find with the touching runs of the row above. A set's root is its
// lowest run, the first met, so numbering the roots in run order numbers the patches by
// their first cell. The sides between runs are counted on the way: across rows in the join,
// along a row in the numbering.
void PatchRaster::label(bool eightNeighbours, StopFlag stop)
{
    std::vector<std::int32_t>& parent = scratch_;
    parent.resize(runs.size());
    likeUp_.assign(runs.size(), 0);
    const std::size_t classes = values.size();
    const bool table = classes <= 64 || classes * classes <= static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols);
    classContacts.assign(table ? classes * classes : 0, 0);
    auto contact = [&](std::int32_t a, std::int32_t b, std::int64_t n) {
        if (table)
            classContacts[static_cast<std::size_t>(std::min(a, b)) * classes + static_cast<std::size_t>(std::max(a, b))] += n;
    };
    const std::int32_t reach = eightNeighbours ? 1 : 0;
    for (int r = 0; r < rows; ++r) {
        stop.check();
        const std::int32_t first = rowRuns[static_cast<std::size_t>(r)];
        const std::int32_t last = rowRuns[static_cast<std::size_t>(r) + 1];
        for (std::int32_t j = first; j < last; ++j)
            parent[static_cast<std::size_t>(j)] = j;
        if (r == 0)
            continue;
        std::int32_t i = rowRuns[static_cast<std::size_t>(r) - 1];
        for (std::int32_t j = first; j < last; ++j) {
            const CellRun& run = runs[static_cast<std::size_t>(j)];
            if (run.cls < 0)
                continue;
            while (i < first && runs[static_cast<std::size_t>(i)].end + reach <= run.start)
                ++i;
            std::int32_t root = j;  // the run's set's root, kept as the run joins sets
            for (std::int32_t a = i; a < first && runs[static_cast<std::size_t>(a)].start < run.end + reach; ++a) {
                const CellRun& above = runs[static_cast<std::size_t>(a)];
                // Runs touching only at a corner share no side.
                const std::int32_t sides = std::min(above.end, run.end) - std::max(above.start, run.start);
                if (above.cls != run.cls) {
                    if (above.cls >= 0 && sides > 0)
                        contact(above.cls, run.cls, sides);
                    continue;
                }
                if (sides > 0)
                    likeUp_[static_cast<std::size_t>(j)] += sides;
                const std::int32_t x = findRoot(parent, a);
                if (x != root) {
                    parent[static_cast<std::size_t>(std::max(x, root))] = std::min(x, root);
                    root = std::min(x, root);
                }
            }
        }
    }
    patchClass.clear();
    shapes.clear();
    for (int r = 0; r < rows; ++r) {
        stop.check();
        const std::int32_t first = rowRuns[static_cast<std::size_t>(r)];
        const std::int32_t last = rowRuns[static_cast<std::size_t>(r) + 1];
        for (std::int32_t j = first; j < last; ++j) {
            CellRun& run = runs[static_cast<std::size_t>(j)];
            if (run.cls < 0)
                continue;
            // Neighbouring runs differ in value, so in class too where both are inside.
            if (j > first && runs[static_cast<std::size_t>(j) - 1].cls >= 0)
                contact(runs[static_cast<std::size_t>(j) - 1].cls, run.cls, 1);
            const std::int32_t root = findRoot(parent, j);
            if (root == j) {
                run.patch = static_cast<std::int32_t>(patchClass.size());
                patchClass.push_back(run.cls);
                PatchShape& fresh = shapes.emplace_back();
                fresh.top = r;
                fresh.left = run.start;
                fresh.leftTop = r;
                fresh.right = run.end - 1;
            } else {
                run.patch = runs[static_cast<std::size_t>(root)].patch;
            }
            PatchShape& shape = shapes[static_cast<std::size_t>(run.patch)];
            const std::int64_t n = run.end - run.start;
            shape.cells += n;
            shape.like += n - 1 + likeUp_[static_cast<std::size_t>(j)];
            shape.sumR += r * n;
            shape.sumC += (std::int64_t{run.start} + run.end - 1) * n / 2;
            shape.bottom = r;
            if (run.start < shape.left) {
                shape.left = run.start;
                shape.leftTop = r;
            }
            shape.right = std::max(shape.right, run.end - 1);
            shape.borders |= static_cast<unsigned char>((r == 0 ? TopBorder : 0) | (r + 1 == rows ? BottomBorder : 0) |
                                                        (run.start == 0 ? LeftBorder : 0) | (run.end == cols ? RightBorder : 0));
        }
    }
}

}  // namespace orvalis
