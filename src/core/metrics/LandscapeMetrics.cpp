#include "core/metrics/LandscapeMetrics.h"

#include "core/metrics/NearestPatch.h"
#include "core/metrics/PatchRaster.h"

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

// Per class: its patches' sums, gathered in one pass over the patches.
struct ClassSums {
    double area2 = 0;        // sum of squared patch sizes, in cells
    double perim = 0;        // cohesion's sums
    double perimRoot = 0;
    double gyrateArea = 0;   // gyrate x cells
    double enn = 0;
    double areaSquares = 0;  // squared deviations of patch areas from the mean, hectares
};

// The distance loops in two builds, picked once when the program loads: with the processor's
// wider vectors where it has them, and the portable ones elsewhere. Square roots are exact in
// both, so both give the same bits.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define ORVALIS_SQRT_CLONES __attribute__((target_clones("avx", "default")))
#else
#define ORVALIS_SQRT_CLONES
#endif

// Per patch the distances of its cell centres from their mean, summed in row order as one pass
// over the cells would. A run's distances come first, all in doubles (column holds 0, 1, 2, ...
// as doubles) so that they take the widest vectors; the sums then add them in order.
ORVALIS_SQRT_CLONES
void sumRadii(const PatchRaster& raster, const double* meanR, const double* meanC, const double* column,
              double* distance, double* radiusSum)
{
    for (int r = 0; r < raster.rows; ++r)
        for (int32_t j = raster.rowRuns[static_cast<size_t>(r)]; j < raster.rowRuns[static_cast<size_t>(r) + 1]; ++j) {
            const CellRun& run = raster.runs[static_cast<size_t>(j)];
            if (run.patch < 0)
                continue;
            const size_t l = static_cast<size_t>(run.patch);
            const double dr = r - meanR[l];
            const double mc = meanC[l];
            const int n = run.end - run.start;
            // Whole blocks of four, past the run's end into the buffers' slack: no loop for the rest.
            for (int i = 0; i < n; i += 4)
                for (int q = 0; q < 4; ++q) {
                    const double dc = column[run.start + i + q] - mc;
                    distance[i + q] = std::sqrt(dr * dr + dc * dc);
                }
            double sum = radiusSum[l];
            for (int i = 0; i < n; ++i)
                sum += distance[i];
            radiusSum[l] = sum;
        }
}

// What a thread keeps between grids: a run measuring thousands of small grids allocates once.
struct Scratch {
    std::vector<const int*> lines;
    PatchRaster raster;
    NearestPatch nearest;
    std::vector<double> radiusSum;  // per patch: distances of its cell centres from their mean
    std::vector<ClassStats> klass;
    std::vector<ClassSums> sums;
    std::vector<double> meanR;
    std::vector<double> meanC;
    std::vector<double> entries;
    std::vector<double> distance;
    std::vector<double> column;  // 0, 1, 2, ... as doubles

    void release() { *this = Scratch(); }
};

// Grids above this many cells give their buffers back: their own work dwarfs the allocation.
constexpr size_t KeptCells = size_t{1} << 18;

Scratch& scratch()
{
    thread_local Scratch s;
    return s;
}

bool checkOptions(const MetricsOptions& options, std::string* error)
{
    if (options.neighbours != 4 && options.neighbours != 8)
        return fail(error, "the neighbour rule must be 4 or 8");
    if (!(options.cellSize > 0) || !std::isfinite(options.cellSize))
        return fail(error, "the cell size must be a positive number");
    return true;
}

bool checkSize(size_t rows, size_t cols, std::string* error)
{
    if (rows > static_cast<size_t>(std::numeric_limits<int>::max()) ||
        cols > static_cast<size_t>(std::numeric_limits<int>::max()) ||
        rows * cols > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        return fail(error, "the grid is too large");
    return true;
}

// Sides between different classes counted cell by cell, for classes too many for a table: into
// a hash map, whose order of first insertion decides the order contag sums in, so it stays the cells' order.
void countSparseSides(const PatchRaster& raster, std::vector<ClassStats>& klass,
                      std::unordered_map<uint64_t, int64_t>& between)
{
    auto side = [&](int r, int c, int rr, int cc) {
        int32_t a = raster.classAt(r, c);
        int32_t b = raster.classAt(rr, cc);
        if (a < 0 || b < 0 || a == b)
            return;
        ++klass[static_cast<size_t>(a)].edge;
        ++klass[static_cast<size_t>(b)].edge;
        if (a > b)
            std::swap(a, b);
        ++between[(static_cast<uint64_t>(a) << 32) | static_cast<uint32_t>(b)];
    };
    for (int r = 0; r < raster.rows; ++r)
        for (int c = 0; c < raster.cols; ++c) {
            if (c + 1 < raster.cols)
                side(r, c, r, c + 1);
            if (r + 1 < raster.rows)
                side(r, c, r + 1, c);
        }
}

bool measure(Scratch& s, std::span<const int* const> lines, int cols, const MetricsOptions& options,
             std::vector<MetricValue>& out, std::string* error)
{
    PatchRaster& raster = s.raster;
    raster.cut(lines, cols, options.noData, options.neighbours == 8);
    const std::vector<int>& values = raster.values;
    if (values.empty())
        return fail(error, "the grid holds no cell inside the landscape");

    const size_t K = values.size();
    const size_t P = raster.patchClass.size();
    const std::vector<PatchShape>& shape = raster.shapes;
    std::vector<ClassStats>& klass = s.klass;
    klass.assign(K, ClassStats());
    int64_t N = 0;
    for (size_t p = 0; p < P; ++p) {
        ClassStats& k = klass[static_cast<size_t>(raster.patchClass[p])];
        k.cells += shape[p].cells;
        k.like += shape[p].like;
        ++k.patches;
        N += shape[p].cells;
    }
    // Adjacencies between different classes, each side once (the lower class first).
    const bool denseMatrix = !raster.classContacts.empty();
    const std::vector<int64_t>& between = raster.classContacts;
    std::unordered_map<uint64_t, int64_t> betweenSparse;
    if (denseMatrix) {
        for (size_t a = 0; a < K; ++a)
            for (size_t b = a + 1; b < K; ++b) {
                klass[a].edge += between[a * K + b];
                klass[b].edge += between[a * K + b];
            }
    } else {
        countSparseSides(raster, klass, betweenSparse);
    }
    std::vector<double>& meanR = s.meanR;
    std::vector<double>& meanC = s.meanC;
    meanR.resize(P);
    meanC.resize(P);
    for (size_t p = 0; p < P; ++p) {
        meanR[p] = static_cast<double>(shape[p].sumR) / static_cast<double>(shape[p].cells);
        meanC[p] = static_cast<double>(shape[p].sumC) / static_cast<double>(shape[p].cells);
    }
    std::vector<double>& radiusSum = s.radiusSum;
    radiusSum.assign(P, 0.0);
    s.distance.resize(static_cast<size_t>(raster.cols) + 3);
    for (int c = static_cast<int>(s.column.size()); c < raster.cols + 3; ++c)
        s.column.push_back(c);
    sumRadii(raster, meanR.data(), meanC.data(), s.column.data(), s.distance.data(), radiusSum.data());
    const std::vector<int64_t>& nearest2 = s.nearest.search(raster, options.neighbours == 8);

    const double cs = options.cellSize;
    const double cellHa = cs * cs / 10000.0;
    std::vector<ClassSums>& sums = s.sums;
    sums.assign(K, ClassSums());
    for (size_t p = 0; p < P; ++p) {
        const PatchShape& st = shape[p];
        const size_t k = static_cast<size_t>(raster.patchClass[p]);
        ClassStats& owner = klass[k];
        owner.largest = std::max(owner.largest, st.cells);
        if ((st.borders & (TopBorder | BottomBorder)) == (TopBorder | BottomBorder) ||
            (st.borders & (LeftBorder | RightBorder)) == (LeftBorder | RightBorder))
            owner.spanning = true;
        const double cells = static_cast<double>(st.cells);
        ClassSums& a = sums[k];
        a.area2 += cells * cells;
        const double perim = static_cast<double>(4 * st.cells - 2 * st.like);
        a.perim += perim;
        a.perimRoot += perim * std::sqrt(cells);
        a.gyrateArea += radiusSum[p];  // (radiusSum / cells) x cells
        if (nearest2[p] >= 0)
            a.enn += std::sqrt(static_cast<double>(nearest2[p]));
        const double meanHa = static_cast<double>(owner.cells) * cellHa / static_cast<double>(owner.patches);
        const double d = cells * cellHa - meanHa;
        a.areaSquares += d * d;
    }

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
            sd = std::sqrt(a.areaSquares / (np - 1));
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
        std::vector<double>& entries = s.entries;
        entries.clear();
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

// Measures, then gives large grids' buffers back.
bool measureKeeping(std::span<const int* const> lines, int cols, const MetricsOptions& options,
                    std::vector<MetricValue>& out, std::string* error)
{
    Scratch& s = scratch();
    const bool ok = measure(s, lines, cols, options, out, error);
    if (lines.size() * static_cast<size_t>(cols) > KeptCells)
        s.release();
    return ok;
}

}  // namespace

bool computeMetrics(const LandscapeGrid& grid, const MetricsOptions& options, std::vector<MetricValue>& out,
                    std::string* error)
{
    out.clear();
    if (!checkOptions(options, error))
        return false;
    if (grid.empty())
        return fail(error, "the grid is empty");
    const size_t width = grid.front().size();
    for (const auto& line : grid)
        if (line.size() != width)
            return fail(error, "the grid is not rectangular: its rows differ in length");
    if (!checkSize(grid.size(), width, error))
        return false;
    std::vector<const int*>& lines = scratch().lines;
    lines.clear();
    for (const auto& line : grid)
        lines.push_back(line.data());
    return measureKeeping(lines, static_cast<int>(width), options, out, error);
}

bool computeMetrics(std::span<const int> cells, int rows, int cols, const MetricsOptions& options,
                    std::vector<MetricValue>& out, std::string* error)
{
    out.clear();
    if (!checkOptions(options, error))
        return false;
    if (rows <= 0 || cols < 0)
        return fail(error, "the grid is empty");
    if (cells.size() != static_cast<size_t>(rows) * static_cast<size_t>(cols))
        return fail(error, "the cells do not fill the rows and columns given");
    if (!checkSize(static_cast<size_t>(rows), static_cast<size_t>(cols), error))
        return false;
    std::vector<const int*>& lines = scratch().lines;
    lines.clear();
    for (int r = 0; r < rows; ++r)
        lines.push_back(cells.data() + static_cast<size_t>(r) * static_cast<size_t>(cols));
    return measureKeeping(lines, cols, options, out, error);
}

}  // namespace orvalis
