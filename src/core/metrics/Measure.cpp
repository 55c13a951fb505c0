#include "core/metrics/Measure.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <unordered_map>

namespace orvalis {

namespace {

using std::int32_t;
using std::int64_t;
using std::size_t;

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

bool fail(std::string* error, const char* message)
{
    if (error)
        *error = message;
    return false;
}

// The distance loops in two builds, picked once when the program loads: with the processor's
// wider vectors where it has them, and the portable ones elsewhere. Square roots are exact in
// both, so both give the same bits.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define ORVALIS_SQRT_CLONES __attribute__((target_clones("avx", "default")))
#else
#define ORVALIS_SQRT_CLONES
#endif

// Mean and spreads of values[i] over the i in each group, two passes as R's sd takes them.
void summarise(const SeriesValues& series, size_t classes, SeriesStats& out)
{
    out.perClass.assign(classes, SeriesStats::Group());
    out.all = SeriesStats::Group();
    std::vector<double> sums(classes, 0.0);
    double sumAll = 0;
    for (size_t i = 0; i < series.values.size(); ++i) {
        const double v = series.values[i];
        SeriesStats::Group& g = out.perClass[static_cast<size_t>(series.classes[i])];
        ++g.n;
        ++out.all.n;
        if (std::isnan(v)) {
            g.na = true;
            out.all.na = true;
            continue;
        }
        sums[static_cast<size_t>(series.classes[i])] += v;
        sumAll += v;
    }
    for (size_t k = 0; k < classes; ++k)
        out.perClass[k].mean = sums[k] / static_cast<double>(out.perClass[k].n);
    out.all.mean = sumAll / static_cast<double>(out.all.n);
    std::vector<double> squares(classes, 0.0);
    double squaresAll = 0;
    for (size_t i = 0; i < series.values.size(); ++i) {
        const double v = series.values[i];
        if (std::isnan(v))
            continue;
        const size_t k = static_cast<size_t>(series.classes[i]);
        const double d = v - out.perClass[k].mean;
        squares[k] += d * d;
        const double e = v - out.all.mean;
        squaresAll += e * e;
    }
    auto finish = [](SeriesStats::Group& g, double sq) {
        const double n = static_cast<double>(g.n);
        g.sd = g.n > 1 ? std::sqrt(sq / (n - 1)) : NaN;
        g.sdPop = g.n > 0 ? std::sqrt(sq / n) : NaN;
        if (g.na || g.n == 0)
            g.mean = g.sd = g.sdPop = NaN;
    };
    for (size_t k = 0; k < classes; ++k)
        finish(out.perClass[k], squares[k]);
    finish(out.all, squaresAll);
}

}  // namespace

// Per patch the distances of its cell centres from their centre, summed in row order as one
// pass over the cells would. A run's distances come first, all in doubles (column holds 0, 1,
// 2, ... as doubles) so that they take the widest vectors; the sums then add them in order.
ORVALIS_SQRT_CLONES
void sumRowRadii(const CellRun* runs, std::size_t count, int r, const double* meanR, const double* meanC,
                 const double* column, double* distance, double* radiusSum)
{
    for (std::size_t j = 0; j < count; ++j) {
        const CellRun& run = runs[j];
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

Measure::Measure(const GridView& grid, const MetricsOptions& options, MeasureScratch& scratch)
    : grid_(grid), options_(options), stop_(options.stop), s_(scratch), raster_(scratch.raster)
{
}

bool Measure::prepare(unsigned needs, std::string* error)
{
    std::vector<const int*>& lines = s_.lines;
    lines.clear();
    for (int r = 0; r < grid_.rows; ++r)
        lines.push_back(grid_.cells.data() + static_cast<size_t>(r) * static_cast<size_t>(grid_.cols));
    // Patches are labelled when a metric first asks for them.
    (void)needs;
    raster_.cut(lines, grid_.cols, grid_.noData, options_.neighbours == 8, false, stop_);
    labelled_ = false;
    if (raster_.values.empty())
        return fail(error, "the grid holds no cell inside the landscape");
    classCells_.assign(raster_.values.size(), 0);
    for (const CellRun& run : raster_.runs)
        if (run.cls >= 0)
            classCells_[static_cast<size_t>(run.cls)] += run.end - run.start;
    dataCells_ = std::accumulate(classCells_.begin(), classCells_.end(), int64_t{0});
    cellHa_ = grid_.cellSize * grid_.cellSize / 10000.0;
    return true;
}

void Measure::adopt(StreamedLandscape& parts)
{
    raster_.rows = parts.rows;
    raster_.cols = parts.cols;
    raster_.values = std::move(parts.values);
    raster_.runs.clear();
    raster_.rowRuns.clear();
    raster_.runOf.clear();
    raster_.classContacts.clear();
    raster_.patchClass = std::move(parts.patchClass);
    raster_.shapes = std::move(parts.shapes);
    labelled_ = true;
    classCells_ = std::move(parts.classCells);
    dataCells_ = std::accumulate(classCells_.begin(), classCells_.end(), int64_t{0});
    cellHa_ = grid_.cellSize * grid_.cellSize / 10000.0;
    pairs_ = std::move(parts.pairs);
    edgeOf_.assign(classCount(), 0);
    edgeAll_ = 0;
    for (const Pair& q : pairs_) {
        edgeOf_[static_cast<size_t>(q.a)] += q.sides;
        edgeOf_[static_cast<size_t>(q.b)] += q.sides;
        edgeAll_ += q.sides;
    }
    paired_ = true;
    mapEdgeOf_ = std::move(parts.mapEdge);
    noDataEdgeOf_ = std::move(parts.noDataEdge);
    bordered_ = true;
    if (!parts.nearest2.empty()) {
        adoptedNearest2_ = std::move(parts.nearest2);
        nearest2_ = &adoptedNearest2_;
        searched_ = true;
    }
    if (!parts.radiusSum.empty()) {
        s_.radiusSum = std::move(parts.radiusSum);
        radii_ = true;
    }
}

double Measure::log(double x) const
{
    switch (options_.base) {
    case LogBase::Log2: return std::log2(x);
    case LogBase::Log10: return std::log10(x);
    case LogBase::Ln: break;
    }
    return std::log(x);
}

void Measure::labelIfNeeded()
{
    if (labelled_)
        return;
    raster_.labelPatches(options_.neighbours == 8, stop_);
    labelled_ = true;
}

size_t Measure::patchCount()
{
    labelIfNeeded();
    return raster_.patchClass.size();
}

int32_t Measure::patchClass(size_t p)
{
    labelIfNeeded();
    return raster_.patchClass[p];
}

const PatchShape& Measure::shape(size_t p)
{
    labelIfNeeded();
    return raster_.shapes[p];
}

int64_t Measure::perimeterSides(size_t p)
{
    const PatchShape& s = shape(p);
    return 4 * s.cells - 2 * s.like;
}

void Measure::sumPatches()
{
    if (summed_)
        return;
    labelIfNeeded();
    const size_t K = classCount();
    patchesOf_.assign(K, 0);
    largestOf_.assign(K, 0);
    likeOf_.assign(K, 0);
    spans_.assign(K, 0);
    for (size_t p = 0; p < raster_.patchClass.size(); ++p) {
        stop_.checkEvery(p);
        const size_t k = static_cast<size_t>(raster_.patchClass[p]);
        const PatchShape& s = raster_.shapes[p];
        ++patchesOf_[k];
        largestOf_[k] = std::max(largestOf_[k], s.cells);
        likeOf_[k] += s.like;
        if ((s.borders & (TopBorder | BottomBorder)) == (TopBorder | BottomBorder) ||
            (s.borders & (LeftBorder | RightBorder)) == (LeftBorder | RightBorder))
            spans_[k] = 1;
    }
    summed_ = true;
}

int64_t Measure::patchesOf(size_t k)
{
    sumPatches();
    return patchesOf_[k];
}

int64_t Measure::largestOf(size_t k)
{
    sumPatches();
    return largestOf_[k];
}

int64_t Measure::likeOf(size_t k)
{
    sumPatches();
    return likeOf_[k];
}

bool Measure::spans(size_t k)
{
    sumPatches();
    return spans_[k] != 0;
}

const std::vector<int32_t>& Measure::patchOrder()
{
    labelIfNeeded();
    if (order_.size() != raster_.patchClass.size()) {
        order_.resize(raster_.patchClass.size());
        std::iota(order_.begin(), order_.end(), 0);
        const auto& cls = raster_.patchClass;
        const auto& shapes = raster_.shapes;
        std::sort(order_.begin(), order_.end(), [&](int32_t a, int32_t b) {
            const PatchShape& x = shapes[static_cast<size_t>(a)];
            const PatchShape& y = shapes[static_cast<size_t>(b)];
            return std::tie(cls[static_cast<size_t>(a)], x.left, x.leftTop) <
                   std::tie(cls[static_cast<size_t>(b)], y.left, y.leftTop);
        });
    }
    return order_;
}

const std::vector<Measure::Pair>& Measure::pairs()
{
    if (paired_)
        return pairs_;
    labelIfNeeded();
    const size_t K = classCount();
    pairs_.clear();
    edgeOf_.assign(K, 0);
    edgeAll_ = 0;
    if (!raster_.classContacts.empty()) {
        for (size_t a = 0; a < K; ++a)
            for (size_t b = a + 1; b < K; ++b)
                if (const int64_t n = raster_.classContacts[a * K + b]; n > 0)
                    pairs_.push_back({static_cast<int32_t>(a), static_cast<int32_t>(b), n});
    } else {
        // Classes too many for a table of every pair: the sides counted cell by cell.
        std::unordered_map<uint64_t, int64_t> between;
        auto side = [&](int32_t a, int32_t b) {
            if (a < 0 || b < 0 || a == b)
                return;
            if (a > b)
                std::swap(a, b);
            ++between[(static_cast<uint64_t>(a) << 32) | static_cast<uint32_t>(b)];
        };
        for (int r = 0; r < raster_.rows; ++r)
            for (int c = 0; c < raster_.cols; ++c) {
                if (c == 0)
                    stop_.check();
                if (c + 1 < raster_.cols)
                    side(raster_.classAt(r, c), raster_.classAt(r, c + 1));
                if (r + 1 < raster_.rows)
                    side(raster_.classAt(r, c), raster_.classAt(r + 1, c));
            }
        for (const auto& [key, n] : between)
            pairs_.push_back({static_cast<int32_t>(key >> 32), static_cast<int32_t>(key & 0xffffffffu), n});
        std::sort(pairs_.begin(), pairs_.end(), [](const Pair& x, const Pair& y) { return std::tie(x.a, x.b) < std::tie(y.a, y.b); });
    }
    for (const Pair& q : pairs_) {
        edgeOf_[static_cast<size_t>(q.a)] += q.sides;
        edgeOf_[static_cast<size_t>(q.b)] += q.sides;
        edgeAll_ += q.sides;
    }
    paired_ = true;
    return pairs_;
}

int64_t Measure::edgeOf(size_t k)
{
    pairs();
    return edgeOf_[k];
}

const std::vector<double>& Measure::sidesOf(size_t k)
{
    if (sidesOf_.size() != classCount()) {
        sidesOf_.assign(classCount(), {});
        for (const Pair& q : pairs()) {
            sidesOf_[static_cast<size_t>(q.a)].push_back(static_cast<double>(q.sides));
            sidesOf_[static_cast<size_t>(q.b)].push_back(static_cast<double>(q.sides));
        }
    }
    return sidesOf_[k];
}

int64_t Measure::edgeAll()
{
    pairs();
    return edgeAll_;
}

// Sides on the map's edge and sides facing no-data, through the runs: along each row between
// neighbouring runs, across rows where the runs of two rows overlap.
void Measure::countBorders()
{
    if (bordered_)
        return;
    const size_t K = classCount();
    mapEdgeOf_.assign(K, 0);
    noDataEdgeOf_.assign(K, 0);
    const auto& runs = raster_.runs;
    const auto& rowRuns = raster_.rowRuns;
    const int rows = raster_.rows;
    for (int r = 0; r < rows; ++r) {
        stop_.check();
        const int32_t first = rowRuns[static_cast<size_t>(r)];
        const int32_t last = rowRuns[static_cast<size_t>(r) + 1];
        if (first == last)
            continue;
        if (const int32_t k = runs[static_cast<size_t>(first)].cls; k >= 0)
            ++mapEdgeOf_[static_cast<size_t>(k)];
        if (const int32_t k = runs[static_cast<size_t>(last) - 1].cls; k >= 0)
            ++mapEdgeOf_[static_cast<size_t>(k)];
        for (int32_t j = first; j < last; ++j) {
            const CellRun& run = runs[static_cast<size_t>(j)];
            if (run.cls >= 0 && (r == 0 || r + 1 == rows))
                mapEdgeOf_[static_cast<size_t>(run.cls)] += (run.end - run.start) * ((r == 0) + (r + 1 == rows));
            if (j > first) {
                const int32_t a = runs[static_cast<size_t>(j) - 1].cls;
                if (a < 0 && run.cls >= 0)
                    ++noDataEdgeOf_[static_cast<size_t>(run.cls)];
                else if (a >= 0 && run.cls < 0)
                    ++noDataEdgeOf_[static_cast<size_t>(a)];
            }
        }
        if (r == 0)
            continue;
        int32_t i = rowRuns[static_cast<size_t>(r) - 1];
        const int32_t aboveEnd = first;
        for (int32_t j = first; j < last && i < aboveEnd;) {
            const CellRun& below = runs[static_cast<size_t>(j)];
            const CellRun& above = runs[static_cast<size_t>(i)];
            const int32_t sides = std::min(above.end, below.end) - std::max(above.start, below.start);
            if (sides > 0) {
                if (above.cls < 0 && below.cls >= 0)
                    noDataEdgeOf_[static_cast<size_t>(below.cls)] += sides;
                else if (above.cls >= 0 && below.cls < 0)
                    noDataEdgeOf_[static_cast<size_t>(above.cls)] += sides;
            }
            if (above.end < below.end)
                ++i;
            else
                ++j;
        }
    }
    bordered_ = true;
}

int64_t Measure::mapEdgeOf(size_t k)
{
    countBorders();
    return mapEdgeOf_[k];
}

int64_t Measure::noDataEdgeOf(size_t k)
{
    countBorders();
    return noDataEdgeOf_[k];
}

double Measure::nearest(size_t p)
{
    if (!searched_) {
        labelIfNeeded();
        nearest2_ = &s_.nearest.search(raster_, options_.neighbours == 8, stop_);
        searched_ = true;
    }
    const int64_t d2 = (*nearest2_)[p];
    return d2 < 0 ? NaN : std::sqrt(static_cast<double>(d2)) * grid_.cellSize;
}

void Measure::sumRadii()
{
    if (radii_)
        return;
    labelIfNeeded();
    const size_t P = raster_.patchClass.size();
    std::vector<double> meanR(P), meanC(P);
    for (size_t p = 0; p < P; ++p) {
        const PatchShape& s = raster_.shapes[p];
        meanR[p] = static_cast<double>(s.sumR) / static_cast<double>(s.cells);
        meanC[p] = static_cast<double>(s.sumC) / static_cast<double>(s.cells);
    }
    if (options_.cellCenter) {
        sumRadiiFromCells(meanR, meanC);
        radii_ = true;
        return;
    }
    s_.radiusSum.assign(P, 0.0);
    s_.distance.resize(static_cast<size_t>(raster_.cols) + 3);
    for (int c = static_cast<int>(s_.column.size()); c < raster_.cols + 3; ++c)
        s_.column.push_back(c);
    for (int r = 0; r < raster_.rows; ++r) {
        stop_.check();
        const int32_t first = raster_.rowRuns[static_cast<size_t>(r)];
        sumRowRadii(raster_.runs.data() + first, static_cast<size_t>(raster_.rowRuns[static_cast<size_t>(r) + 1] - first), r,
                    meanR.data(), meanC.data(), s_.column.data(), s_.distance.data(), s_.radiusSum.data());
    }
    radii_ = true;
}

// R's signif(x, 6).
double signif6(double x)
{
    if (x == 0)
        return 0;
    const double scale = std::pow(10.0, 6 - static_cast<int>(std::ceil(std::log10(std::fabs(x)))));
    return std::round(x * scale) / scale;
}

// With cellCenter the centre is the patch's cell nearest its centroid, distances compared to six
// significant digits as landscapemetrics rounds them; cells tied there each give a mean distance,
// and these are averaged.
void Measure::sumRadiiFromCells(const std::vector<double>& meanR, const std::vector<double>& meanC)
{
    const size_t P = raster_.patchClass.size();
    const double cs = grid_.cellSize;
    auto forCells = [&](auto f) {
        for (int r = 0; r < raster_.rows; ++r) {
            stop_.check();
            for (int32_t j = raster_.rowRuns[static_cast<size_t>(r)]; j < raster_.rowRuns[static_cast<size_t>(r) + 1]; ++j) {
                const CellRun& run = raster_.runs[static_cast<size_t>(j)];
                if (run.patch >= 0)
                    for (int c = run.start; c < run.end; ++c)
                        f(static_cast<size_t>(run.patch), r, c);
            }
        }
    };
    std::vector<double> nearest(P, std::numeric_limits<double>::infinity());
    forCells([&](size_t l, int r, int c) {
        nearest[l] = std::min(nearest[l], signif6(std::hypot((r - meanR[l]) * cs, (c - meanC[l]) * cs)));
    });
    std::vector<std::vector<std::pair<int, int>>> ties(P);
    forCells([&](size_t l, int r, int c) {
        if (signif6(std::hypot((r - meanR[l]) * cs, (c - meanC[l]) * cs)) == nearest[l])
            ties[l].push_back({r, c});
    });
    std::vector<double> sums(P, 0.0);
    forCells([&](size_t l, int r, int c) {
        for (const auto& [tr, tc] : ties[l])
            sums[l] += std::hypot(static_cast<double>(r - tr) * cs, static_cast<double>(c - tc) * cs);
    });
    s_.radiusSum.assign(P, 0.0);
    for (size_t l = 0; l < P; ++l)
        s_.radiusSum[l] = sums[l] / static_cast<double>(ties[l].size()) / cs;
}

double Measure::gyrate(size_t p)
{
    sumRadii();
    return s_.radiusSum[p] / static_cast<double>(raster_.shapes[p].cells) * grid_.cellSize;
}

int64_t Measure::coreCells(size_t p)
{
    findCores();
    return coreCells_[p];
}

int64_t Measure::coreAreas(size_t p)
{
    findCores();
    return coreAreas_[p];
}

const std::vector<std::pair<int32_t, int64_t>>& Measure::cores()
{
    findCores();
    return cores_;
}

double Measure::circleDiameter2(size_t p)
{
    findCircles();
    return diameter2_[p];
}

int64_t Measure::diagonalPairs(size_t p)
{
    countDiagonals();
    return diagonal_[p];
}

const SeriesStats& Measure::stats(const std::string& code, const std::function<void(Measure&, SeriesValues&)>& fill)
{
    auto found = stats_.find(code);
    if (found != stats_.end())
        return found->second;
    SeriesValues series;
    fill(*this, series);
    SeriesStats& out = stats_[code];
    summarise(series, classCount(), out);
    return out;
}

const std::vector<double>& Measure::patchValues(const MetricDef& def)
{
    auto found = patchValues_.find(&def);
    if (found != patchValues_.end())
        return found->second;
    std::vector<double>& values = patchValues_[&def];
    const size_t P = patchCount();
    values.resize(P);
    for (size_t p = 0; p < P; ++p) {
        stop_.checkEvery(p);
        values[p] = def.patch(*this, p).value_or(NaN);
    }
    return values;
}

}  // namespace orvalis
