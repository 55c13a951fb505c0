// The shape intermediates of Measure: diagonal neighbours, circumscribing circles, core cells.
#include "core/metrics/Measure.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace orvalis {

namespace {

using std::int32_t;
using std::int64_t;
using std::size_t;

// Cells in [from, to) of one run that have a cell of another run in [a0 + shift, a1 + shift).
int64_t overlap(int32_t from, int32_t to, int32_t a0, int32_t a1)
{
    return std::max<int64_t>(0, std::min(to, a1) - std::max(from, a0));
}

struct Corner {
    int64_t x;
    int64_t y;
};


// The squared radius of the smallest circle holding n points: the smallest of the circles on
// two points as diameter or through three that holds them all (n is at most 8).
double smallestCircleRadius2(const Corner* pts, int n)
{
    double best = std::numeric_limits<double>::infinity();
    auto tryCircle = [&](double cx, double cy, double r2) {
        if (r2 >= best)
            return;
        for (int i = 0; i < n; ++i) {
            const double dx = static_cast<double>(pts[i].x) - cx;
            const double dy = static_cast<double>(pts[i].y) - cy;
            if (dx * dx + dy * dy > r2 * (1 + 1e-12))
                return;
        }
        best = r2;
    };
    for (int i = 0; i < n; ++i)
        for (int j = i + 1; j < n; ++j) {
            const double ax = static_cast<double>(pts[i].x), ay = static_cast<double>(pts[i].y);
            const double bx = static_cast<double>(pts[j].x), by = static_cast<double>(pts[j].y);
            const double cx = (ax + bx) / 2, cy = (ay + by) / 2;
            tryCircle(cx, cy, (ax - cx) * (ax - cx) + (ay - cy) * (ay - cy));
            for (int k = j + 1; k < n; ++k) {
                const double ex = static_cast<double>(pts[k].x), ey = static_cast<double>(pts[k].y);
                const double d = 2 * (ax * (by - ey) + bx * (ey - ay) + ex * (ay - by));
                if (d == 0)
                    continue;
                const double a2 = ax * ax + ay * ay, b2 = bx * bx + by * by, e2 = ex * ex + ey * ey;
                const double ux = (a2 * (by - ey) + b2 * (ey - ay) + e2 * (ay - by)) / d;
                const double uy = (a2 * (ex - bx) + b2 * (ax - ex) + e2 * (bx - ax)) / d;
                tryCircle(ux, uy, (ax - ux) * (ax - ux) + (ay - uy) * (ay - uy));
            }
        }
    return best;
}

}  // namespace

// Pairs of a patch's cells that meet at a corner: between the runs of two rows that lie in
// one patch, each cell of the lower run against the cells one column to either side above.
void Measure::countDiagonals()
{
    if (diagonals_)
        return;
    labelIfNeeded();
    diagonal_.assign(raster_.patchClass.size(), 0);
    const auto& runs = raster_.runs;
    for (int r = 1; r < raster_.rows; ++r) {
        stop_.check();
        const int32_t first = raster_.rowRuns[static_cast<size_t>(r)];
        const int32_t last = raster_.rowRuns[static_cast<size_t>(r) + 1];
        int32_t i = raster_.rowRuns[static_cast<size_t>(r) - 1];
        for (int32_t j = first; j < last; ++j) {
            const CellRun& run = runs[static_cast<size_t>(j)];
            if (run.patch < 0)
                continue;
            while (i < first && runs[static_cast<size_t>(i)].end + 1 <= run.start)
                ++i;
            for (int32_t a = i; a < first && runs[static_cast<size_t>(a)].start < run.end + 1; ++a) {
                const CellRun& above = runs[static_cast<size_t>(a)];
                if (above.patch != run.patch)
                    continue;
                diagonal_[static_cast<size_t>(run.patch)] += overlap(run.start, run.end, above.start + 1, above.end + 1) +
                                                             overlap(run.start, run.end, above.start - 1, above.end - 1);
            }
        }
    }
    diagonals_ = true;
}

// The circle about a patch as landscapemetrics draws it: the smallest circle holding the outer
// corners of the cells in the patch's first and last rows and columns (a corner elsewhere may
// stick out). Of those corners only the ends of each of the four lines matter: eight points.
void Measure::findCircles()
{
    if (circled_)
        return;
    labelIfNeeded();
    const size_t P = raster_.patchClass.size();
    const auto& runs = raster_.runs;
    const auto& shapes = raster_.shapes;
    struct Lines {
        int32_t topFrom = INT32_MAX, topTo = -1, bottomFrom = INT32_MAX, bottomTo = -1;
        int32_t leftFrom = INT32_MAX, leftTo = -1, rightFrom = INT32_MAX, rightTo = -1;
    };
    std::vector<Lines> lines(P);
    for (int r = 0; r < raster_.rows; ++r)
        for (int32_t j = raster_.rowRuns[static_cast<size_t>(r)]; j < raster_.rowRuns[static_cast<size_t>(r) + 1]; ++j) {
            if (j == raster_.rowRuns[static_cast<size_t>(r)])
                stop_.check();
            const CellRun& run = runs[static_cast<size_t>(j)];
            if (run.patch < 0)
                continue;
            const PatchShape& s = shapes[static_cast<size_t>(run.patch)];
            Lines& l = lines[static_cast<size_t>(run.patch)];
            if (r == s.top) {
                l.topFrom = std::min(l.topFrom, run.start);
                l.topTo = std::max(l.topTo, run.end);
            }
            if (r == s.bottom) {
                l.bottomFrom = std::min(l.bottomFrom, run.start);
                l.bottomTo = std::max(l.bottomTo, run.end);
            }
            if (run.start == s.left) {
                l.leftFrom = std::min<int32_t>(l.leftFrom, r);
                l.leftTo = r + 1;
            }
            if (run.end - 1 == s.right) {
                l.rightFrom = std::min<int32_t>(l.rightFrom, r);
                l.rightTo = r + 1;
            }
        }
    diameter2_.assign(P, 0.0);
    for (size_t p = 0; p < P; ++p) {
        stop_.checkEvery(p);
        const PatchShape& s = shapes[p];
        if (s.cells == 1) {
            diameter2_[p] = 2.0;
            continue;
        }
        const Lines& l = lines[p];
        const Corner pts[8] = {{l.topFrom, s.top}, {l.topTo, s.top}, {l.bottomFrom, s.bottom + 1}, {l.bottomTo, s.bottom + 1},
                               {s.left, l.leftFrom}, {s.left, l.leftTo}, {s.right + 1, l.rightFrom}, {s.right + 1, l.rightTo}};
        diameter2_[p] = 4.0 * smallestCircleRadius2(pts, 8);
    }
    circled_ = true;
}

// Core cells: a patch's cells more than the edge depth from anything outside it, in steps
// across cell sides (two passes of a city-block distance transform, each patch on its own).
// The map's edge is outside unless considerBoundary. Disjunct core areas are the core cells
// joined by the patch rule.
void Measure::findCores()
{
    if (cored_)
        return;
    labelIfNeeded();
    const int rows = raster_.rows;
    const int cols = raster_.cols;
    const size_t P = raster_.patchClass.size();
    const int32_t depth = options_.edgeDepth;
    const int32_t edge = options_.considerBoundary ? depth + 1 : 1;  // distance past the map's edge
    std::vector<int32_t> patch(static_cast<size_t>(rows) * static_cast<size_t>(cols));
    for (size_t i = 0; i < patch.size(); ++i) {
        stop_.checkEvery(i);
        patch[i] = raster_.runs[static_cast<size_t>(raster_.runOf[i])].patch;
    }
    // Distances above depth + 1 need not be told apart.
    const int32_t cap = depth + 1;
    std::vector<int32_t> dist(patch.size(), 0);
    auto at = [cols](int r, int c) { return static_cast<size_t>(r) * static_cast<size_t>(cols) + static_cast<size_t>(c); };
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            if (c == 0)
                stop_.check();
            const size_t i = at(r, c);
            if (patch[i] < 0)
                continue;
            int32_t d = cap;
            d = std::min(d, r == 0 ? edge : patch[i - static_cast<size_t>(cols)] == patch[i] ? dist[i - static_cast<size_t>(cols)] + 1 : 1);
            d = std::min(d, c == 0 ? edge : patch[i - 1] == patch[i] ? dist[i - 1] + 1 : 1);
            dist[i] = d;
        }
    for (int r = rows - 1; r >= 0; --r)
        for (int c = cols - 1; c >= 0; --c) {
            if (c == 0)
                stop_.check();
            const size_t i = at(r, c);
            if (patch[i] < 0)
                continue;
            int32_t d = dist[i];
            d = std::min(d, r + 1 == rows ? edge : patch[i + static_cast<size_t>(cols)] == patch[i] ? dist[i + static_cast<size_t>(cols)] + 1 : 1);
            d = std::min(d, c + 1 == cols ? edge : patch[i + 1] == patch[i] ? dist[i + 1] + 1 : 1);
            dist[i] = d;
        }
    coreCells_.assign(P, 0);
    coreAreas_.assign(P, 0);
    // Union-find over the core cells; a set's root is its first cell, so areas come in cell order.
    std::vector<int32_t>& parent = dist;  // reused: -1 not core, else the parent cell
    auto find = [&](int32_t x) {
        while (parent[static_cast<size_t>(x)] != x) {
            parent[static_cast<size_t>(x)] = parent[static_cast<size_t>(parent[static_cast<size_t>(x)])];
            x = parent[static_cast<size_t>(x)];
        }
        return x;
    };
    auto join = [&](int32_t a, int32_t b) {
        a = find(a);
        b = find(b);
        if (a != b)
            parent[static_cast<size_t>(std::max(a, b))] = std::min(a, b);
    };
    const bool eight = options_.neighbours == 8;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            if (c == 0)
                stop_.check();
            const size_t i = at(r, c);
            if (patch[i] < 0 || parent[i] <= depth) {
                parent[i] = -1;
                continue;
            }
            parent[i] = static_cast<int32_t>(i);
            ++coreCells_[static_cast<size_t>(patch[i])];
            auto link = [&](int rr, int cc) {
                if (rr >= 0 && cc >= 0 && cc < cols && parent[at(rr, cc)] >= 0)
                    join(static_cast<int32_t>(i), static_cast<int32_t>(at(rr, cc)));
            };
            link(r, c - 1);
            link(r - 1, c);
            if (eight) {
                link(r - 1, c - 1);
                link(r - 1, c + 1);
            }
        }
    // Roots are their areas' first cells: numbered in that order, then their cells counted.
    cores_.clear();
    for (size_t i = 0; i < parent.size(); ++i) {
        stop_.checkEvery(i);
        if (parent[i] == static_cast<int32_t>(i)) {
            ++coreAreas_[static_cast<size_t>(patch[i])];
            patch[i] = -2 - static_cast<int32_t>(cores_.size());
            cores_.push_back({raster_.runs[static_cast<size_t>(raster_.runOf[i])].patch, 0});
        }
    }
    for (size_t i = 0; i < parent.size(); ++i) {
        stop_.checkEvery(i);
        if (parent[i] >= 0)
            ++cores_[static_cast<size_t>(-2 - patch[static_cast<size_t>(find(static_cast<int32_t>(i)))])].second;
    }
    cored_ = true;
}

}  // namespace orvalis
