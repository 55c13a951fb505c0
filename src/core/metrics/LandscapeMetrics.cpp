#include "core/metrics/LandscapeMetrics.h"

#include "core/metrics/NearestPatch.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numeric>
#include <unordered_map>

namespace orvalis {

const std::vector<std::string>& classMetricNames()
{
    static const std::vector<std::string> names = {"pland", "np", "pd", "ed", "lpi", "area_mn", "area_sd", "enn_mn",
                                                   "cohesion", "ai", "clumpy", "mesh", "division", "split",
                                                   "gyrate_am", "spanning"};
    return names;
}

const std::vector<std::string>& landscapeMetricNames()
{
    static const std::vector<std::string> names = {"ta", "np", "pd", "ed", "lpi", "contag", "shdi", "ai", "mesh",
                                                   "division"};
    return names;
}

namespace {

using std::int32_t;
using std::int64_t;
using std::size_t;

bool fail(std::string* error, const char* message)
{
    if (error)
        *error = message;
    return false;
}

// Distinct class values ascending and every cell as an index into them (-1 outside).
std::vector<int> denseClasses(const LandscapeGrid& grid, const std::optional<int>& noData, int cols,
                              std::vector<int32_t>& cls)
{
    const size_t rows = grid.size();
    cls.assign(rows * static_cast<size_t>(cols), -1);
    int64_t lo = std::numeric_limits<int64_t>::max();
    int64_t hi = std::numeric_limits<int64_t>::min();
    size_t cells = 0;
    for (const auto& line : grid)
        for (int v : line)
            if (!noData || v != *noData) {
                lo = std::min<int64_t>(lo, v);
                hi = std::max<int64_t>(hi, v);
                ++cells;
            }
    std::vector<int> values;
    if (cells == 0)
        return values;
    const uint64_t span = static_cast<uint64_t>(hi - lo) + 1;
    if (span <= 2 * cells + 1024) {
        // Values in a narrow range: a table indexed by value, no sorting.
        std::vector<int32_t> index(span, -1);
        for (const auto& line : grid)
            for (int v : line)
                if (!noData || v != *noData)
                    index[static_cast<size_t>(v - lo)] = 0;
        for (size_t i = 0; i < span; ++i)
            if (index[i] == 0) {
                index[i] = static_cast<int32_t>(values.size());
                values.push_back(static_cast<int>(lo + static_cast<int64_t>(i)));
            }
        size_t i = 0;
        for (const auto& line : grid)
            for (int v : line) {
                if (!noData || v != *noData)
                    cls[i] = index[static_cast<size_t>(v - lo)];
                ++i;
            }
        return values;
    }
    values.reserve(cells);
    for (const auto& line : grid)
        for (int v : line)
            if (!noData || v != *noData)
                values.push_back(v);
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    size_t i = 0;
    for (const auto& line : grid)
        for (int v : line) {
            if (!noData || v != *noData)
                cls[i] = static_cast<int32_t>(std::lower_bound(values.begin(), values.end(), v) - values.begin());
            ++i;
        }
    return values;
}

int32_t findRoot(std::vector<int32_t>& parent, int32_t x)
{
    while (parent[static_cast<size_t>(x)] != x) {
        parent[static_cast<size_t>(x)] = parent[static_cast<size_t>(parent[static_cast<size_t>(x)])];
        x = parent[static_cast<size_t>(x)];
    }
    return x;
}

// Patches by one raster scan with union-find; patches are numbered in the order their first cell is met.
void labelPatches(PatchRaster& raster, bool eight)
{
    const int rows = raster.rows;
    const int cols = raster.cols;
    const auto& cls = raster.cls;
    auto& lab = raster.patch;
    lab.assign(cls.size(), -1);
    std::vector<int32_t> parent;
    auto join = [&](int32_t a, int32_t b) {
        a = findRoot(parent, a);
        b = findRoot(parent, b);
        if (a != b)
            parent[static_cast<size_t>(std::max(a, b))] = std::min(a, b);
        return std::min(a, b);
    };
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            const size_t i = static_cast<size_t>(r) * static_cast<size_t>(cols) + static_cast<size_t>(c);
            const int32_t k = cls[i];
            if (k < 0)
                continue;
            int32_t l = -1;
            auto meet = [&](size_t j) {
                if (cls[j] != k)
                    return;
                // Most neighbours already carry the cell's label: no set to look up then.
                l = l < 0 || lab[j] == l ? lab[j] : join(l, lab[j]);
            };
            if (c > 0)
                meet(i - 1);
            if (r > 0) {
                meet(i - static_cast<size_t>(cols));
                if (eight && c > 0)
                    meet(i - static_cast<size_t>(cols) - 1);
                if (eight && c + 1 < cols)
                    meet(i - static_cast<size_t>(cols) + 1);
            }
            if (l < 0) {
                l = static_cast<int32_t>(parent.size());
                parent.push_back(l);
            }
            lab[i] = l;
        }
    }
    std::vector<int32_t> compact(parent.size(), -1);
    raster.patchClass.clear();
    for (size_t i = 0; i < lab.size(); ++i) {
        if (lab[i] < 0)
            continue;
        const int32_t root = findRoot(parent, lab[i]);
        int32_t& id = compact[static_cast<size_t>(root)];
        if (id < 0) {
            id = static_cast<int32_t>(raster.patchClass.size());
            raster.patchClass.push_back(cls[i]);
        }
        lab[i] = id;
    }
}

struct PatchStats {
    int64_t cells = 0;
    int64_t like = 0;   // sides shared by two of its cells
    int64_t sumR = 0;
    int64_t sumC = 0;
    unsigned char touches = 0;  // map sides its cells lie on: Top, Bottom, Left, Right
    double radiusSum = 0;  // distances of its cell centres from their mean
};

enum : unsigned char { Top = 1, Bottom = 2, Left = 4, Right = 8 };

struct ClassStats {
    int64_t cells = 0;
    int64_t like = 0;    // like sides, each counted once
    int64_t edge = 0;    // sides facing another class
    int64_t patches = 0;
    int64_t largest = 0;
    bool spanning = false;
};

// FRAGSTATS' largest number of like sides n cells can share (cells packed into a square).
int64_t maxLikeSides(int64_t n)
{
    const int64_t side = static_cast<int64_t>(std::floor(std::sqrt(static_cast<double>(n))));
    const int64_t m = n - side * side;
    if (m == 0)
        return 2 * side * (side - 1);
    if (m <= side)
        return 2 * side * (side - 1) + 2 * m - 1;
    return 2 * side * (side - 1) + 2 * m - 2;
}

// The shortest perimeter, in cell sides, n cells can have.
int64_t minPerimeter(int64_t n)
{
    const int64_t side = static_cast<int64_t>(std::floor(std::sqrt(static_cast<double>(n))));
    if (side * side == n)
        return 4 * side;
    if (n <= side * (side + 1))
        return 4 * side + 2;
    return 4 * side + 4;
}

}  // namespace

bool computeMetrics(const LandscapeGrid& grid, const MetricsOptions& options, std::vector<MetricValue>& out,
                    std::string* error)
{
    out.clear();
    if (options.neighbours != 4 && options.neighbours != 8)
        return fail(error, "the neighbour rule must be 4 or 8");
    if (!(options.cellSize > 0) || !std::isfinite(options.cellSize))
        return fail(error, "the cell size must be a positive number");
    if (grid.empty())
        return fail(error, "the grid is empty");
    const size_t width = grid.front().size();
    for (const auto& line : grid)
        if (line.size() != width)
            return fail(error, "the grid is not rectangular: its rows differ in length");
    if (grid.size() > static_cast<size_t>(std::numeric_limits<int>::max()) ||
        width > static_cast<size_t>(std::numeric_limits<int>::max()) ||
        grid.size() * width > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        return fail(error, "the grid is too large");

    PatchRaster raster;
    raster.rows = static_cast<int>(grid.size());
    raster.cols = static_cast<int>(width);
    const std::vector<int> values = denseClasses(grid, options.noData, raster.cols, raster.cls);
    if (values.empty())
        return fail(error, "the grid holds no cell inside the landscape");
    labelPatches(raster, options.neighbours == 8);

    const int rows = raster.rows;
    const int cols = raster.cols;
    const size_t K = values.size();
    const size_t P = raster.patchClass.size();
    const auto& cls = raster.cls;
    const auto& lab = raster.patch;

    std::vector<PatchStats> patch(P);
    std::vector<ClassStats> klass(K);
    // Adjacencies between different classes, each side once (the lower class first).
    const bool denseMatrix = K <= 64 || K * K <= cls.size();
    std::vector<int64_t> between(denseMatrix ? K * K : 0, 0);
    std::unordered_map<uint64_t, int64_t> betweenSparse;
    auto addBetween = [&](int32_t a, int32_t b) {
        if (a > b)
            std::swap(a, b);
        if (denseMatrix)
            ++between[static_cast<size_t>(a) * K + static_cast<size_t>(b)];
        else
            ++betweenSparse[(static_cast<uint64_t>(a) << 32) | static_cast<uint32_t>(b)];
    };
    auto side = [&](size_t i, size_t j) {
        const int32_t a = cls[i];
        const int32_t b = cls[j];
        if (a < 0 || b < 0)
            return;
        if (a == b) {
            ++klass[static_cast<size_t>(a)].like;
            ++patch[static_cast<size_t>(lab[i])].like;
        } else {
            ++klass[static_cast<size_t>(a)].edge;
            ++klass[static_cast<size_t>(b)].edge;
            addBetween(a, b);
        }
    };
    int64_t N = 0;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            const size_t i = static_cast<size_t>(r) * static_cast<size_t>(cols) + static_cast<size_t>(c);
            if (c + 1 < cols)
                side(i, i + 1);
            if (r + 1 < rows)
                side(i, i + static_cast<size_t>(cols));
            if (cls[i] < 0)
                continue;
            ++N;
            ++klass[static_cast<size_t>(cls[i])].cells;
            PatchStats& p = patch[static_cast<size_t>(lab[i])];
            ++p.cells;
            p.sumR += r;
            p.sumC += c;
        }
    }
    // Only cells on the map's border say which of its sides a patch reaches.
    auto touch = [&](int r, int c, unsigned char sideBit) {
        const int32_t l = lab[static_cast<size_t>(r) * static_cast<size_t>(cols) + static_cast<size_t>(c)];
        if (l >= 0)
            patch[static_cast<size_t>(l)].touches |= sideBit;
    };
    for (int c = 0; c < cols; ++c) {
        touch(0, c, Top);
        touch(rows - 1, c, Bottom);
    }
    for (int r = 0; r < rows; ++r) {
        touch(r, 0, Left);
        touch(r, cols - 1, Right);
    }
    std::vector<double> meanR(P), meanC(P);
    for (size_t p = 0; p < P; ++p) {
        meanR[p] = static_cast<double>(patch[p].sumR) / static_cast<double>(patch[p].cells);
        meanC[p] = static_cast<double>(patch[p].sumC) / static_cast<double>(patch[p].cells);
    }
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            const size_t i = static_cast<size_t>(r) * static_cast<size_t>(cols) + static_cast<size_t>(c);
            const int32_t l = lab[i];
            if (l < 0)
                continue;
            const double dr = r - meanR[static_cast<size_t>(l)];
            const double dc = c - meanC[static_cast<size_t>(l)];
            patch[static_cast<size_t>(l)].radiusSum += std::sqrt(dr * dr + dc * dc);
        }
    const std::vector<int64_t> nearest2 = nearestOtherPatch(raster, options.neighbours == 8);

    // Per class: its patches' sums, gathered in one pass over the patches.
    struct ClassSums {
        double area2 = 0;        // sum of squared patch sizes, in cells
        double perim = 0;        // cohesion's sums
        double perimRoot = 0;
        double gyrateArea = 0;   // gyrate x cells
        double enn = 0;
    };
    std::vector<ClassSums> sums(K);
    for (size_t p = 0; p < P; ++p) {
        const PatchStats& s = patch[p];
        const size_t k = static_cast<size_t>(raster.patchClass[p]);
        ClassStats& owner = klass[k];
        ++owner.patches;
        owner.largest = std::max(owner.largest, s.cells);
        if ((s.touches & (Top | Bottom)) == (Top | Bottom) || (s.touches & (Left | Right)) == (Left | Right))
            owner.spanning = true;
        const double cells = static_cast<double>(s.cells);
        ClassSums& a = sums[k];
        a.area2 += cells * cells;
        const double perim = static_cast<double>(4 * s.cells - 2 * s.like);
        a.perim += perim;
        a.perimRoot += perim * std::sqrt(cells);
        a.gyrateArea += s.radiusSum;  // (radiusSum / cells) x cells
        if (nearest2[p] >= 0)
            a.enn += std::sqrt(static_cast<double>(nearest2[p]));
    }

    const double cs = options.cellSize;
    const double cellHa = cs * cs / 10000.0;
    const double Nd = static_cast<double>(N);
    const double areaHa = Nd * cellHa;
    out.reserve(K * classMetricNames().size() + landscapeMetricNames().size());
    auto put = [&](bool landscape, int value, const char* metric, std::optional<double> v) {
        out.push_back(MetricValue{landscape, value, metric, v});
    };

    double aiLandscape = 0;
    for (size_t k = 0; k < K; ++k) {
        const ClassStats& c = klass[k];
        const ClassSums& a = sums[k];
        const int value = values[k];
        const double n = static_cast<double>(c.cells);
        const double np = static_cast<double>(c.patches);
        const double P_ = n / Nd;
        put(false, value, "pland", 100.0 * P_);
        put(false, value, "np", np);
        put(false, value, "pd", np / areaHa * 100.0);
        put(false, value, "ed", static_cast<double>(c.edge) * cs / areaHa);
        put(false, value, "lpi", 100.0 * static_cast<double>(c.largest) / Nd);
        const double meanHa = n * cellHa / np;
        put(false, value, "area_mn", meanHa);
        std::optional<double> sd, enn;
        if (c.patches > 1) {
            double ss = 0;
            for (size_t p = 0; p < P; ++p)
                if (static_cast<size_t>(raster.patchClass[p]) == k) {
                    const double d = static_cast<double>(patch[p].cells) * cellHa - meanHa;
                    ss += d * d;
                }
            sd = std::sqrt(ss / (np - 1));
            enn = a.enn / np * cs;
        }
        put(false, value, "area_sd", sd);
        put(false, value, "enn_mn", enn);
        std::optional<double> cohesion;
        if (N > 1)
            cohesion = (1.0 - a.perim / a.perimRoot) / (1.0 - 1.0 / std::sqrt(Nd)) * 100.0;
        put(false, value, "cohesion", cohesion);
        std::optional<double> ai;
        if (c.cells > 1) {
            ai = static_cast<double>(c.like) / static_cast<double>(maxLikeSides(c.cells)) * 100.0;
            aiLandscape += *ai * P_;
        }
        put(false, value, "ai", ai);
        std::optional<double> clumpy;
        if (c.cells > 1 && c.cells < N) {
            // Sides on the map boundary or facing no-data count as sides facing another class.
            const double G = 2.0 * static_cast<double>(c.like) / static_cast<double>(4 * c.cells - minPerimeter(c.cells));
            clumpy = (G < P_ && P_ < 0.5) ? (G - P_) / P_ : (G - P_) / (1.0 - P_);
        }
        put(false, value, "clumpy", clumpy);
        put(false, value, "mesh", a.area2 * cellHa * cellHa / areaHa);
        put(false, value, "division", 1.0 - a.area2 / (Nd * Nd));
        put(false, value, "split", Nd * Nd / a.area2);
        put(false, value, "gyrate_am", a.gyrateArea / n * cs);
        put(false, value, "spanning", c.spanning ? 1.0 : 0.0);
    }

    int64_t edgeAll = 0;
    int64_t largest = 0;
    double area2 = 0;
    for (size_t k = 0; k < K; ++k) {
        largest = std::max(largest, klass[k].largest);
        area2 += sums[k].area2;
    }
    std::optional<double> contag;
    {
        // Adjacencies counted both ways: like sides twice on the diagonal, each other pair once per direction.
        std::vector<double> entries;
        for (size_t k = 0; k < K; ++k)
            entries.push_back(2.0 * static_cast<double>(klass[k].like));
        auto addPair = [&](int64_t n) {
            edgeAll += n;
            entries.push_back(static_cast<double>(n));
            entries.push_back(static_cast<double>(n));
        };
        if (denseMatrix) {
            for (int64_t n : between)
                if (n > 0)
                    addPair(n);
        } else {
            for (const auto& [key, n] : betweenSparse)
                addPair(n);
        }
        const double total = std::accumulate(entries.begin(), entries.end(), 0.0);
        if (K >= 2 && total > 0) {
            double esum = 0;
            for (double e : entries)
                if (e > 0)
                    esum += e / total * std::log(e / total);
            contag = (1.0 + esum / (2.0 * std::log(static_cast<double>(K)))) * 100.0;
        }
    }
    double shdi = 0;
    for (size_t k = 0; k < K; ++k) {
        const double p = static_cast<double>(klass[k].cells) / Nd;
        shdi -= p * std::log(p);
    }
    put(true, 0, "ta", areaHa);
    put(true, 0, "np", static_cast<double>(P));
    put(true, 0, "pd", static_cast<double>(P) / areaHa * 100.0);
    put(true, 0, "ed", static_cast<double>(edgeAll) * cs / areaHa);
    put(true, 0, "lpi", 100.0 * static_cast<double>(largest) / Nd);
    put(true, 0, "contag", contag);
    put(true, 0, "shdi", shdi);
    put(true, 0, "ai", aiLandscape);
    put(true, 0, "mesh", area2 * cellHa * cellHa / areaHa);
    put(true, 0, "division", 1.0 - area2 / (Nd * Nd));
    return true;
}

}  // namespace orvalis
