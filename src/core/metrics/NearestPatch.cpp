#include "core/metrics/NearestPatch.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orvalis {
namespace {

constexpr std::int64_t Unset = std::numeric_limits<std::int64_t>::max();
constexpr int NearRadius = 8;

struct Offset {
    int dr;
    int dc;
    std::int64_t d2;
};

// Cell offsets out to a short radius, nearest first: most patches find their neighbour here.
const std::vector<Offset>& nearOffsets()
{
    static const std::vector<Offset> offsets = [] {
        constexpr int radius = NearRadius;
        std::vector<Offset> list;
        for (int dr = -radius; dr <= radius; ++dr)
            for (int dc = -radius; dc <= radius; ++dc) {
                const std::int64_t d2 = std::int64_t{dr} * dr + std::int64_t{dc} * dc;
                if (d2 > 0 && d2 <= std::int64_t{radius} * radius)
                    list.push_back({dr, dc, d2});
            }
        std::stable_sort(list.begin(), list.end(), [](const Offset& a, const Offset& b) { return a.d2 < b.d2; });
        return list;
    }();
    return offsets;
}

// Boundary cells of one class in a k-d tree whose subtrees know when they hold a single
// patch, so a search from a patch skips its own cells wholesale.
class BoundaryTree {
public:
    struct Point {
        int r;
        int c;
        std::int32_t patch;
    };

    explicit BoundaryTree(std::vector<Point> points) : pts_(std::move(points)), meta_(pts_.size())
    {
        build(0, pts_.size(), 0);
    }

    // Lowers best (squared) to the nearest point of another patch than `own`, if nearer.
    void nearest(int r, int c, std::int32_t own, std::int64_t& best) const { search(0, pts_.size(), 0, r, c, own, best); }

private:
    struct Meta {
        int minR, maxR, minC, maxC;
        std::int32_t onlyPatch;  // -1: several patches below
    };

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
        Meta m{pts_[lo].r, pts_[lo].r, pts_[lo].c, pts_[lo].c, pts_[lo].patch};
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

}  // namespace

std::vector<std::int64_t> nearestOtherPatch(const PatchRaster& raster, bool eightNeighbours)
{
    const int rows = raster.rows;
    const int cols = raster.cols;
    const std::size_t patches = raster.patchClass.size();
    std::vector<std::int64_t> best(patches, Unset);

    int classes = 0;
    for (std::int32_t k : raster.patchClass)
        classes = std::max(classes, k + 1);
    std::vector<std::int32_t> patchesOfClass(static_cast<std::size_t>(classes), 0);
    for (std::int32_t k : raster.patchClass)
        ++patchesOfClass[static_cast<std::size_t>(k)];

    // A cell whose four sides all face its own class is never nearest: the cell beside it
    // towards any other cell is nearer, and it lies in the same patch.
    auto isBoundary = [&](int r, int c, std::int32_t k) {
        const std::size_t i = static_cast<std::size_t>(r) * static_cast<std::size_t>(cols) + static_cast<std::size_t>(c);
        return (r > 0 && raster.cls[i - static_cast<std::size_t>(cols)] != k) ||
               (r + 1 < rows && raster.cls[i + static_cast<std::size_t>(cols)] != k) ||
               (c > 0 && raster.cls[i - 1] != k) || (c + 1 < cols && raster.cls[i + 1] != k);
    };

    // Patches closer than this would be one patch: two cells apart with 8 neighbours, a diagonal step with 4.
    const std::int64_t closest2 = eightNeighbours ? 4 : 2;
    const std::vector<Offset>& offsets = nearOffsets();
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            const std::size_t i = static_cast<std::size_t>(r) * static_cast<std::size_t>(cols) + static_cast<std::size_t>(c);
            const std::int32_t k = raster.cls[i];
            if (k < 0)
                continue;
            const std::int32_t own = raster.patch[i];
            std::int64_t& b = best[static_cast<std::size_t>(own)];
            if (b <= closest2 || patchesOfClass[static_cast<std::size_t>(k)] < 2 || !isBoundary(r, c, k))
                continue;
            for (const Offset& o : offsets) {
                if (o.d2 >= b)
                    break;
                const int rr = r + o.dr;
                const int cc = c + o.dc;
                if (rr < 0 || rr >= rows || cc < 0 || cc >= cols)
                    continue;
                const std::size_t j = static_cast<std::size_t>(rr) * static_cast<std::size_t>(cols) + static_cast<std::size_t>(cc);
                if (raster.cls[j] == k && raster.patch[j] != own) {
                    b = o.d2;
                    break;
                }
            }
        }
    }

    // Patches with no neighbour within the short radius: a tree search over the class's boundary cells.
    std::vector<char> classPending(static_cast<std::size_t>(classes), 0);
    bool anyPending = false;
    for (std::size_t p = 0; p < patches; ++p) {
        const std::int32_t k = raster.patchClass[p];
        if (best[p] == Unset && patchesOfClass[static_cast<std::size_t>(k)] >= 2) {
            classPending[static_cast<std::size_t>(k)] = 1;
            anyPending = true;
        }
    }
    if (anyPending) {
        std::vector<std::vector<BoundaryTree::Point>> boundary(static_cast<std::size_t>(classes));
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c) {
                const std::size_t i = static_cast<std::size_t>(r) * static_cast<std::size_t>(cols) + static_cast<std::size_t>(c);
                const std::int32_t k = raster.cls[i];
                if (k >= 0 && classPending[static_cast<std::size_t>(k)] && isBoundary(r, c, k))
                    boundary[static_cast<std::size_t>(k)].push_back({r, c, raster.patch[i]});
            }
        for (int k = 0; k < classes; ++k) {
            if (!classPending[static_cast<std::size_t>(k)])
                continue;
            std::vector<BoundaryTree::Point>& points = boundary[static_cast<std::size_t>(k)];
            // Resolved patches already hold their exact nearest distance; the others' cells are asked.
            std::vector<BoundaryTree::Point> open;
            for (const BoundaryTree::Point& p : points)
                if (best[static_cast<std::size_t>(p.patch)] == Unset)
                    open.push_back(p);
            // A few questions cost less against every point than the tree's build.
            if (static_cast<double>(open.size()) <= 4.0 * std::log2(static_cast<double>(points.size())) + 8.0) {
                for (const BoundaryTree::Point& q : open) {
                    std::int64_t& b = best[static_cast<std::size_t>(q.patch)];
                    for (const BoundaryTree::Point& p : points) {
                        const std::int64_t dr = p.r - q.r;
                        const std::int64_t dc = p.c - q.c;
                        if (p.patch != q.patch)
                            b = std::min(b, dr * dr + dc * dc);
                    }
                }
                continue;
            }
            const BoundaryTree tree(std::move(points));
            for (const BoundaryTree::Point& q : open)
                tree.nearest(q.r, q.c, q.patch, best[static_cast<std::size_t>(q.patch)]);
        }
    }

    for (std::size_t p = 0; p < patches; ++p)
        if (best[p] == Unset)
            best[p] = -1;
    return best;
}

}  // namespace orvalis
