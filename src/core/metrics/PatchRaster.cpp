#include "core/metrics/PatchRaster.h"

#include <algorithm>
#include <limits>

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
                      bool eightNeighbours)
{
    rows = static_cast<int>(lines.size());
    cols = width;
    runs.clear();
    rowRuns.clear();
    rowRuns.reserve(lines.size() + 1);
    runOf.resize(lines.size() * static_cast<std::size_t>(std::max(cols, 0)));
    std::int32_t* cell = runOf.data();
    for (const int* v : lines) {
        rowRuns.push_back(static_cast<std::int32_t>(runs.size()));
        if (cols <= 0)
            continue;
        // The run's value stays in cls until classify() turns it into a dense class.
        auto close = [&](int start, int end) {
            const auto id = static_cast<std::int32_t>(runs.size());
            runs.push_back({start, end, v[start], -1});
            std::fill(cell + start, cell + end, id);
        };
        int start = 0;
        for (int c = 1; c < cols; ++c)
            if (v[c] != v[c - 1]) {
                close(start, c);
                start = c;
            }
        close(start, cols);
        cell += cols;
    }
    rowRuns.push_back(static_cast<std::int32_t>(runs.size()));
    classify(noData);
    if (!values.empty())
        label(eightNeighbours);
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
// their first cell.
void PatchRaster::label(bool eightNeighbours)
{
    std::vector<std::int32_t>& parent = scratch_;
    parent.resize(runs.size());
    const std::int32_t reach = eightNeighbours ? 1 : 0;
    for (int r = 0; r < rows; ++r) {
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
            for (std::int32_t a = i; a < first && runs[static_cast<std::size_t>(a)].start < run.end + reach; ++a) {
                if (runs[static_cast<std::size_t>(a)].cls != run.cls)
                    continue;
                const std::int32_t x = findRoot(parent, a);
                const std::int32_t y = findRoot(parent, j);
                if (x != y)
                    parent[static_cast<std::size_t>(std::max(x, y))] = std::min(x, y);
            }
        }
    }
    patchClass.clear();
    for (std::size_t j = 0; j < runs.size(); ++j) {
        CellRun& run = runs[j];
        if (run.cls < 0)
            continue;
        const std::int32_t root = findRoot(parent, static_cast<std::int32_t>(j));
        if (root == static_cast<std::int32_t>(j)) {
            run.patch = static_cast<std::int32_t>(patchClass.size());
            patchClass.push_back(run.cls);
        } else {
            run.patch = runs[static_cast<std::size_t>(root)].patch;
        }
    }
}

}  // namespace orvalis
