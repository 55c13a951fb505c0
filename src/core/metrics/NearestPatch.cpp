#include "core/metrics/NearestPatch.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orvalis {
namespace {

constexpr std::int64_t Unset = std::numeric_limits<std::int64_t>::max();
constexpr int NearRadius = 32;
static_assert(NearestPatch::NearRows > NearRadius);

}  // namespace

// Boundary cells of one class in a k-d tree whose subtrees know when they hold a single
// patch, so a search from a patch skips its own cells wholesale.
class BoundaryTree {
public:
    using Point = NearestPatch::Point;

    explicit BoundaryTree(std::vector<Point> points) : pts_(std::move(points)), meta_(pts_.size())
    {
        build(0, pts_.size(), 0);
    }

    // Lowers best (squared) to the nearest point of another patch than `own`, if nearer.
    void nearest(int r, int c, std::int32_t own, std::int64_t& best) const { search(0, pts_.size(), 0, r, c, own, best); }

    // Lowers the best (squared) of every patch of the tree but `own` to its distance from cell
    // (r, c), where nearer.
    void lowerAll(int r, int c, std::int32_t own, std::vector<std::int64_t>& best) const
    {
        visit(0, pts_.size(), r, c, own, best);
    }
    // Takes the patches' best as they now are, for skipping subtrees of several patches.
    void refresh(const std::vector<std::int64_t>& best) { refreshFrom(0, pts_.size(), best); }

private:
    struct Meta {
        int minR, maxR, minC, maxC;
        std::int32_t onlyPatch;  // -1: several patches below
        std::int64_t maxBest = Unset;  // the largest best of the patches below, when last refreshed
    };

    std::int64_t refreshFrom(std::size_t lo, std::size_t hi, const std::vector<std::int64_t>& best)
    {
        if (lo >= hi)
            return 0;
        const std::size_t mid = lo + (hi - lo) / 2;
        const std::int64_t m = std::max({best[static_cast<std::size_t>(pts_[mid].patch)], refreshFrom(lo, mid, best),
                                         refreshFrom(mid + 1, hi, best)});
        meta_[mid].maxBest = m;
        return m;
    }

    void visit(std::size_t lo, std::size_t hi, int r, int c, std::int32_t own, std::vector<std::int64_t>& best) const
    {
        if (lo >= hi)
            return;
        const std::size_t mid = lo + (hi - lo) / 2;
        const Meta& m = meta_[mid];
        if (m.onlyPatch == own)
            return;
        const std::int64_t gr = r < m.minR ? m.minR - r : (r > m.maxR ? r - m.maxR : 0);
        const std::int64_t gc = c < m.minC ? m.minC - c : (c > m.maxC ? c - m.maxC : 0);
        // Bests only fall, so a refreshed largest best still bounds them all.
        if (gr * gr + gc * gc >= (m.onlyPatch >= 0 ? best[static_cast<std::size_t>(m.onlyPatch)] : m.maxBest))
            return;
        const Point& p = pts_[mid];
        if (p.patch != own) {
            const std::int64_t dr = p.r - r;
            const std::int64_t dc = p.c - c;
            std::int64_t& b = best[static_cast<std::size_t>(p.patch)];
            b = std::min(b, dr * dr + dc * dc);
        }
        visit(lo, mid, r, c, own, best);
        visit(mid + 1, hi, r, c, own, best);
    }

    void build(std::size_t lo, std::size_t hi, int depth)
    {
        if (lo >= hi)
            return;
        const std::size_t mid = lo + (hi - lo) / 2;
        auto first = pts_.begin() + static_cast<std::ptrdiff_t>(lo);
        auto last = pts_.begin() + static_cast<std::ptrdiff_t>(hi);
        auto nth = pts_.begin() + static_cast<std::ptrdiff_t>(mid);
        if (depth % 2 == 0)
            std::nth_element(first, nth, last, [](const Point& a, const Point& b) { return a.r < b.r; });
        else
            std::nth_element(first, nth, last, [](const Point& a, const Point& b) { return a.c < b.c; });
        Meta m{pts_[lo].r, pts_[lo].r, pts_[lo].c, pts_[lo].c, pts_[lo].patch, Unset};
        for (std::size_t i = lo; i < hi; ++i) {
            const Point& p = pts_[i];
            m.minR = std::min(m.minR, p.r);
            m.maxR = std::max(m.maxR, p.r);
            m.minC = std::min(m.minC, p.c);
            m.maxC = std::max(m.maxC, p.c);
            if (p.patch != m.onlyPatch)
                m.onlyPatch = -1;
        }
        meta_[mid] = m;
        build(lo, mid, depth + 1);
        build(mid + 1, hi, depth + 1);
    }

    void search(std::size_t lo, std::size_t hi, int depth, int r, int c, std::int32_t own, std::int64_t& best) const
    {
        if (lo >= hi)
            return;
        const std::size_t mid = lo + (hi - lo) / 2;
        const Meta& m = meta_[mid];
        if (m.onlyPatch == own)
            return;
        const std::int64_t gr = r < m.minR ? m.minR - r : (r > m.maxR ? r - m.maxR : 0);
        const std::int64_t gc = c < m.minC ? m.minC - c : (c > m.maxC ? c - m.maxC : 0);
        if (gr * gr + gc * gc >= best)
            return;
        const Point& p = pts_[mid];
        if (p.patch != own) {
            const std::int64_t dr = p.r - r;
            const std::int64_t dc = p.c - c;
            best = std::min(best, dr * dr + dc * dc);
        }
        const bool lowFirst = depth % 2 == 0 ? r < p.r : c < p.c;
        if (lowFirst) {
            search(lo, mid, depth + 1, r, c, own, best);
            search(mid + 1, hi, depth + 1, r, c, own, best);
        } else {
            search(mid + 1, hi, depth + 1, r, c, own, best);
            search(lo, mid, depth + 1, r, c, own, best);
        }
    }

    std::vector<Point> pts_;
    std::vector<Meta> meta_;
};


const std::vector<std::int64_t>& NearestPatch::search(const PatchRaster& raster, bool eightNeighbours, StopFlag stop)
{
    begin(raster.patchClass, raster.values.size(), stop);
    searchRows(raster, 0, raster.rows, eightNeighbours);
    if (pending())
        collectBoundary(raster, 0, raster.rows, 0);
    return finish();
}

void NearestPatch::begin(const std::vector<std::int32_t>& patchClass, std::size_t classes, StopFlag stop)
{
    stop_ = stop;
    patchClass_ = &patchClass;
    best_.assign(patchClass.size(), Unset);
    patchesOfClass_.assign(classes, 0);
    for (std::int32_t k : patchClass)
        ++patchesOfClass_[static_cast<std::size_t>(k)];
    classPending_.assign(classes, 0);
    boundary_.assign(classes, {});
    farTrees_.clear();
}

void NearestPatch::release()
{
    *this = NearestPatch();
}

// Every pair of cells of two patches of a class within the short radius, through the runs.
// Of a nearest pair, neither cell has a side facing its own class towards the other (that
// neighbour, in the same patch, would be nearer), and in the other's row no cell of the class
// lies between the column of the first and the other (it would be nearer, or the pair's own).
// So a cell looks only towards its open sides: along its row from a run's ends, and up or
// down a column from under a run of another class, there at the nearest cell of its class on
// either hand where that side is open too; a column stops at the first cell of its class.
void NearestPatch::searchRows(const PatchRaster& raster, int from, int to, bool eightNeighbours)
{
    const int rows = raster.rows;
    const int cols = raster.cols;
    const std::vector<CellRun>& runs = raster.runs;
    const std::int64_t limit = std::int64_t{NearRadius} * NearRadius + 1;
    // Patches closer than this would be one patch: two cells apart with 8 neighbours, a diagonal step with 4.
    const std::int64_t closest2 = eightNeighbours ? 4 : 2;
    for (int r = from; r < to; ++r) {
        stop_.check();
        const std::int32_t rowFirst = raster.rowRuns[static_cast<std::size_t>(r)];
        const std::int32_t rowEnd = raster.rowRuns[static_cast<std::size_t>(r) + 1];
        for (std::int32_t j = rowFirst; j < rowEnd; ++j) {
            const CellRun& run = runs[static_cast<std::size_t>(j)];
            const std::int32_t k = run.cls;
            if (k < 0 || patchesOfClass_[static_cast<std::size_t>(k)] < 2)
                continue;
            const std::int32_t own = run.patch;
            std::int64_t& best = best_[static_cast<std::size_t>(own)];
            // From cell c in direction step (-1 up, 1 down, 0 along the row), with the hands it may look to.
            auto look = [&](int c, int step, bool left, bool right) {
                std::int64_t bound = std::min(best, limit);
                // Stops a direction at a cell of the class: the pair's distance, unless its own.
                auto meet = [&](const CellRun& other, std::int64_t d2) {
                    if (other.patch == own)
                        return;
                    bound = d2;
                    std::int64_t& theirs = best_[static_cast<std::size_t>(other.patch)];
                    theirs = std::min(theirs, d2);
                };
                // The nearest runs of the class on either hand of run x, in row rr.
                auto sideways = [&](int rr, std::int32_t x, std::int64_t dr2) {
                    if (left)
                        for (std::int32_t y = x - 1; y >= raster.rowRuns[static_cast<std::size_t>(rr)]; --y) {
                            const CellRun& o = runs[static_cast<std::size_t>(y)];
                            const std::int64_t dc = c - (o.end - 1);
                            if (dr2 + dc * dc >= bound)
                                break;
                            if (o.cls == k) {
                                meet(o, dr2 + dc * dc);
                                break;
                            }
                        }
                    if (right)
                        for (std::int32_t y = x + 1; y < raster.rowRuns[static_cast<std::size_t>(rr) + 1]; ++y) {
                            const CellRun& o = runs[static_cast<std::size_t>(y)];
                            const std::int64_t dc = o.start - c;
                            if (dr2 + dc * dc >= bound)
                                break;
                            if (o.cls == k) {
                                meet(o, dr2 + dc * dc);
                                break;
                            }
                        }
                };
                if (step == 0) {
                    sideways(r, j, 0);
                } else {
                    std::int64_t dr = 1;
                    for (int rr = r + step; rr >= 0 && rr < rows && dr * dr < bound; rr += step, ++dr) {
                        const std::int32_t x = raster.runOf[static_cast<std::size_t>(rr) * static_cast<std::size_t>(cols) +
                                                            static_cast<std::size_t>(c)];
                        const CellRun& o = runs[static_cast<std::size_t>(x)];
                        if (o.cls == k) {
                            meet(o, dr * dr);
                            break;
                        }
                        sideways(rr, x, dr * dr);
                    }
                }
                if (bound < limit)
                    best = std::min(best, bound);
            };
            if (best <= closest2)
                continue;
            if (run.start > 0)
                look(run.start, 0, true, false);
            if (run.end < cols)
                look(run.end - 1, 0, false, true);
            // Cells under a run of another class in the next row up, then down.
            for (int step : {-1, 1}) {
                const int rr = r + step;
                if (rr < 0 || rr >= rows)
                    continue;
                const std::int32_t* across = raster.runOf.data() + static_cast<std::size_t>(rr) * static_cast<std::size_t>(cols);
                for (std::int32_t y = across[run.start]; y < raster.rowRuns[static_cast<std::size_t>(rr) + 1]; ++y) {
                    const CellRun& o = runs[static_cast<std::size_t>(y)];
                    if (o.start >= run.end)
                        break;
                    if (o.cls == k)
                        continue;
                    const int from = std::max(o.start, run.start);
                    const int to = std::min(o.end, run.end);
                    for (int c = from; c < to && best > closest2; ++c)
                        look(c, step, c == run.start && c > 0, c + 1 == run.end && c + 1 < cols);
                }
            }
        }
    }
}

// Patches with no other patch of their class within the short radius: a tree search over
// the class's boundary cells.
bool NearestPatch::pending()
{
    bool any = false;
    const std::vector<std::int32_t>& patchClass = *patchClass_;
    for (std::size_t p = 0; p < best_.size(); ++p) {
        const std::int32_t k = patchClass[p];
        if (best_[p] == Unset && patchesOfClass_[static_cast<std::size_t>(k)] >= 2) {
            classPending_[static_cast<std::size_t>(k)] = 1;
            any = true;
        }
    }
    return any;
}

void NearestPatch::collectBoundary(const PatchRaster& raster, int from, int to, int firstRow, bool pendingOnly)
{
    const int rows = raster.rows;
    const int cols = raster.cols;
    // A cell whose four sides all face its own class is never nearest: the cell beside it
    // towards any other cell is nearer, and it lies in the same patch.
    auto isBoundary = [&](int r, int c, std::int32_t k) {
        return (r > 0 && raster.classAt(r - 1, c) != k) || (r + 1 < rows && raster.classAt(r + 1, c) != k) ||
               (c > 0 && raster.classAt(r, c - 1) != k) || (c + 1 < cols && raster.classAt(r, c + 1) != k);
    };
    for (int r = from; r < to; ++r)
        for (std::int32_t j = raster.rowRuns[static_cast<std::size_t>(r)];
             j < raster.rowRuns[static_cast<std::size_t>(r) + 1]; ++j) {
            if (j == raster.rowRuns[static_cast<std::size_t>(r)])
                stop_.check();
            const CellRun& run = raster.runs[static_cast<std::size_t>(j)];
            if (run.cls < 0 || !classPending_[static_cast<std::size_t>(run.cls)] ||
                (pendingOnly && best_[static_cast<std::size_t>(run.patch)] != Unset))
                continue;
            for (int c = run.start; c < run.end; ++c)
                if (isBoundary(r, c, run.cls))
                    boundary_[static_cast<std::size_t>(run.cls)].push_back({r + firstRow, c, run.patch});
        }
}

// The pending patches' boundary cells in a tree per class; each first takes the distance to the
// nearest other pending patch of its class.
void NearestPatch::searchFrom()
{
    farTrees_.assign(boundary_.size(), nullptr);
    for (std::size_t k = 0; k < boundary_.size(); ++k) {
        if (!classPending_[k] || boundary_[k].empty())
            continue;
        std::vector<Point> points = std::move(boundary_[k]);
        boundary_[k].clear();
        const std::vector<Point> asked = points;
        auto tree = std::make_shared<BoundaryTree>(std::move(points));
        for (const Point& q : asked)
            tree->nearest(q.r, q.c, q.patch, best_[static_cast<std::size_t>(q.patch)]);
        tree->refresh(best_);
        farTrees_[k] = std::move(tree);
    }
}

void NearestPatch::searchFar(const PatchRaster& raster, int from, int to, int firstRow)
{
    const int rows = raster.rows;
    const int cols = raster.cols;
    auto isBoundary = [&](int r, int c, std::int32_t k) {
        return (r > 0 && raster.classAt(r - 1, c) != k) || (r + 1 < rows && raster.classAt(r + 1, c) != k) ||
               (c > 0 && raster.classAt(r, c - 1) != k) || (c + 1 < cols && raster.classAt(r, c + 1) != k);
    };
    for (int r = from; r < to; ++r)
        for (std::int32_t j = raster.rowRuns[static_cast<std::size_t>(r)];
             j < raster.rowRuns[static_cast<std::size_t>(r) + 1]; ++j) {
            const CellRun& run = raster.runs[static_cast<std::size_t>(j)];
            if (run.cls < 0 || !farTrees_[static_cast<std::size_t>(run.cls)])
                continue;
            const BoundaryTree& tree = *farTrees_[static_cast<std::size_t>(run.cls)];
            for (int c = run.start; c < run.end; ++c)
                if (isBoundary(r, c, run.cls))
                    tree.lowerAll(r + firstRow, c, run.patch, best_);
        }
    for (const auto& tree : farTrees_)
        if (tree)
            tree->refresh(best_);
}

const std::vector<std::int64_t>& NearestPatch::finish()
{
    farTrees_.clear();
    for (std::size_t k = 0; k < boundary_.size(); ++k) {
        if (!classPending_[k])
            continue;
        std::vector<Point>& points = boundary_[k];
        // Resolved patches already hold their exact nearest distance; the others' cells are asked.
        std::vector<Point> open;
        for (const Point& p : points)
            if (best_[static_cast<std::size_t>(p.patch)] == Unset)
                open.push_back(p);
        // A few questions cost less against every point than the tree's build.
        if (static_cast<double>(open.size()) <= 4.0 * std::log2(static_cast<double>(points.size())) + 8.0) {
            for (const Point& q : open) {
                stop_.check();
                std::int64_t& b = best_[static_cast<std::size_t>(q.patch)];
                for (const Point& p : points) {
                    const std::int64_t dr = p.r - q.r;
                    const std::int64_t dc = p.c - q.c;
                    if (p.patch != q.patch)
                        b = std::min(b, dr * dr + dc * dc);
                }
            }
        } else {
            const BoundaryTree search(std::move(points));
            for (std::size_t i = 0; i < open.size(); ++i) {
                stop_.checkEvery(i);
                const Point& q = open[i];
                search.nearest(q.r, q.c, q.patch, best_[static_cast<std::size_t>(q.patch)]);
            }
        }
        std::vector<Point>().swap(points);
    }
    for (std::int64_t& b : best_)
        if (b == Unset)
            b = -1;
    return best_;
}

}  // namespace orvalis
