#include "core/neutral/ModelSurfaces.h"

#include "core/neutral/NearestFeature.h"
#include "core/neutral/NumericSupport.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <numbers>
#include <numeric>

namespace orvalis {

namespace {

std::size_t cellCount(int rows, int cols)
{
    return static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols);
}

// A draw in [0, 1) of its own for every cell: equal classes then split at random, not by rows.
void addOwnDraws(Surface& out, ReplicateRandom& random)
{
    addUniformDraws(out, random);
}

// Union-find over cell numbers; the smaller root wins, so labels do not depend on the order of unions.
std::int32_t findRoot(std::span<std::int32_t> parent, std::int32_t i)
{
    while (parent[static_cast<std::size_t>(i)] != i) {
        parent[static_cast<std::size_t>(i)] = parent[static_cast<std::size_t>(parent[static_cast<std::size_t>(i)])];
        i = parent[static_cast<std::size_t>(i)];
    }
    return i;
}

void unite(std::span<std::int32_t> parent, std::int32_t a, std::int32_t b)
{
    a = findRoot(parent, a);
    b = findRoot(parent, b);
    if (a < b)
        parent[static_cast<std::size_t>(b)] = a;
    else if (b < a)
        parent[static_cast<std::size_t>(a)] = b;
}

}  // namespace

namespace {

// values linearly onto [0, 1], their extremes the least of lows and the greatest of highs (the
// parts' extremes); all 0 when they are equal.
void putOnto01(std::span<double> values, const std::vector<double>& lows, const std::vector<double>& highs)
{
    const double low = *std::min_element(lows.begin(), lows.end());
    const double span = *std::max_element(highs.begin(), highs.end()) - low;
    forParts(values.size(), passThreads(values.size()), [&](unsigned, std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end; ++i)
            values[i] = span > 0.0 ? (values[i] - low) / span : 0.0;
    });
}

// values[i] = f(values[i]), then linearly onto [0, 1] as rescale01 does, the lowest and highest
// values found in the same pass.
template <class F>
void mapRescale01(std::span<double> values, const F& f)
{
    if (values.empty())
        return;
    const unsigned threads = passThreads(values.size());
    std::vector<double> lows(threads), highs(threads);
    forParts(values.size(), threads, [&](unsigned t, std::size_t begin, std::size_t end) {
        double lo = f(values[begin]), hi = lo;
        for (std::size_t i = begin; i < end; ++i) {
            const double v = f(values[i]);
            values[i] = v;
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
        lows[t] = lo;
        highs[t] = hi;
    });
    putOnto01(values, lows, highs);
}

}  // namespace

namespace {

// values[i] = f(values[i], the i-th uniform01 draw), in parts side by side; random is left after the last draw.
template <class F>
void eachUniformDraw(std::span<double> values, ReplicateRandom& random, const F& f)
{
    const ReplicateRandom start = random;
    forParts(values.size(), passThreads(values.size()), [&](unsigned, std::size_t begin, std::size_t end) {
        ReplicateRandom part = start.ahead(begin);
        for (std::size_t i = begin; i < end; ++i)
            values[i] = f(values[i], uniform01(part));
    });
    random = start.ahead(values.size());
}

}  // namespace

void addUniformDraws(std::span<double> values, ReplicateRandom& random)
{
    eachUniformDraw(values, random, [](double v, double u) { return v + u; });
}

void setUniformDraws(std::span<double> values, ReplicateRandom& random)
{
    const ReplicateRandom start = random;
    forParts(values.size(), passThreads(values.size()), [&](unsigned, std::size_t begin, std::size_t end) {
        ReplicateRandom part = start.ahead(begin);
        for (std::size_t i = begin; i < end; ++i)
            values[i] = uniform01(part);
    });
    random = start.ahead(values.size());
}

void rescale01(std::span<double> values)
{
    mapRescale01(values, [](double v) { return v; });
}

namespace {

// The planar gradient's value v in [0, 1] at every cell, stored as f(v); with rescale, the results
// are then put linearly onto [0, 1] as mapRescale01 does, their extremes found in the same pass.
// One pass over the cells where a gradient stored and then mapped would take two.
template <class F>
void mapPlanar(int rows, int cols, double direction, Surface& out, const F& f, bool rescale)
{
    const double radians = direction * std::numbers::pi / 180.0;
    const double eastness = std::sin(radians);
    const double southness = -std::cos(radians);
    const auto at = [=](std::size_t r, int c) { return southness * static_cast<double>(r) + eastness * c; };
    out.resize(cellCount(rows, cols));
    if (out.empty())
        return;
    // Rounding keeps the sum monotone in the row and in the column: its extremes lie at the corners.
    const std::size_t lastRow = static_cast<std::size_t>(rows) - 1;
    const double corners[] = {at(0, 0), at(0, cols - 1), at(lastRow, 0), at(lastRow, cols - 1)};
    double low = corners[0], high = corners[0];
    for (const double v : corners) {
        low = std::min(low, v);
        high = std::max(high, v);
    }
    const double span = high - low;
    const unsigned threads = passThreads(out.size());
    std::vector<double> lows(threads, std::numeric_limits<double>::infinity());
    std::vector<double> highs(threads, -std::numeric_limits<double>::infinity());
    forParts(static_cast<std::size_t>(rows), threads, [&](unsigned t, std::size_t begin, std::size_t end) {
        double lo = lows[t], hi = highs[t];
        for (std::size_t r = begin; r < end; ++r)
            for (int c = 0; c < cols; ++c) {
                const double v = f(span > 0.0 ? (at(r, c) - low) / span : 0.0);
                out[r * cols + c] = v;
                lo = std::min(lo, v);
                hi = std::max(hi, v);
            }
        lows[t] = lo;
        highs[t] = hi;
    });
    if (rescale)
        putOnto01(out, lows, highs);
}

}  // namespace

void planarGradient(int rows, int cols, double direction, Surface& out)
{
    mapPlanar(rows, cols, direction, out, [](double v) { return v; }, false);
}

void edgeGradient(int rows, int cols, double direction, Surface& out)
{
    mapPlanar(rows, cols, direction, out, [](double v) { return std::fabs(0.5 - v) * -2.0 + 1.0; }, true);
}

void waveSurface(int rows, int cols, double periods, double direction, Surface& out)
{
    mapPlanar(
        rows, cols, direction, out,
        [periods](double v) { return std::sin(v * (2.0 * std::numbers::pi * periods)); }, true);
}

void distanceGradient(std::span<const unsigned char> sources, int rows, int cols, Surface& out)
{
    squaredFeatureDistance(sources, rows, cols, out);
    mapRescale01(out, [](double v) { return std::isfinite(v) ? std::sqrt(v) : 0.0; });
}

std::vector<unsigned char> randomSources(int rows, int cols, std::int64_t n, ReplicateRandom& random)
{
    const std::size_t cells = cellCount(rows, cols);
    std::vector<unsigned char> sources(cells, 0);
    n = std::min<std::int64_t>(n, static_cast<std::int64_t>(cells));
    for (std::int64_t placed = 0; placed < n;) {
        const std::size_t i = random.below(cells);
        if (!sources[i]) {
            sources[i] = 1;
            ++placed;
        }
    }
    return sources;
}

namespace {

// One draw of next() for every cell, as one loop over the cells would make them (in parts side by
// side); the `count` cells of the highest draws, the earlier cell on a tie, are marked. random is
// left after the last draw.
std::vector<unsigned char> highestDraws(std::size_t cells, std::int64_t count, ReplicateRandom& random)
{
    std::vector<unsigned char> chosen(cells, 0);
    const ReplicateRandom start = random;
    random = start.ahead(cells);
    if (count <= 0)
        return chosen;
    const unsigned threads = passThreads(cells);
    // The draws are made twice (counting, then choosing) rather than kept: making one costs less
    // than reading it back from memory.
    constexpr int Shift = 48;
    constexpr std::size_t Buckets = std::size_t(1) << (64 - Shift);
    std::vector<std::vector<std::int64_t>> tables(threads, std::vector<std::int64_t>(Buckets, 0));
    forParts(cells, threads, [&](unsigned t, std::size_t begin, std::size_t end) {
        ReplicateRandom part = start.ahead(begin);
        std::int64_t* table = tables[t].data();
        for (std::size_t i = begin; i < end; ++i)
            ++table[part.next() >> Shift];
    });
    std::size_t bucket = Buckets;
    std::int64_t above = 0;
    while (bucket-- > 0) {
        std::int64_t inBucket = 0;
        for (const auto& table : tables)
            inBucket += table[bucket];
        if (above + inBucket >= count)
            break;
        above += inBucket;
    }
    // Draws above the boundary's bucket are chosen; of those in it, the highest (the earlier cell
    // on a tie) make up the count.
    std::vector<std::vector<std::pair<std::uint64_t, std::size_t>>> members(threads);
    forParts(cells, threads, [&](unsigned t, std::size_t begin, std::size_t end) {
        ReplicateRandom part = start.ahead(begin);
        for (std::size_t i = begin; i < end; ++i) {
            const std::uint64_t draw = part.next();
            const std::size_t b = draw >> Shift;
            chosen[i] = b > bucket;
            if (b == bucket)
                members[t].emplace_back(draw, i);
        }
    });
    std::vector<std::pair<std::uint64_t, std::size_t>> boundary;
    for (const auto& m : members)
        boundary.insert(boundary.end(), m.begin(), m.end());
    const auto cut = boundary.begin() + (count - above);
    std::nth_element(boundary.begin(), cut - 1, boundary.end(), [](const auto& a, const auto& b) {
        return a.first > b.first || (a.first == b.first && a.second < b.second);
    });
    for (auto it = boundary.begin(); it != cut; ++it)
        chosen[it->second] = 1;
    return chosen;
}

}  // namespace

void randomClusterNN(int rows, int cols, double p, Neighbourhood n, ReplicateRandom& random, Surface& out,
                     std::vector<std::int32_t>* clusterOf)
{
    const std::size_t cells = cellCount(rows, cols);
    const auto total = static_cast<std::int64_t>(cells);
    // classifyArray's boundary: the lowest int((1 - p) cells) values stay out.
    const std::int64_t occupiedCount = total - static_cast<std::int64_t>((1.0 - p) * static_cast<double>(total));
    const std::vector<unsigned char> occupied = highestDraws(cells, occupiedCount, random);

    const unsigned threads = passThreads(cells);
    // Union-find over cell numbers, every entry written by the pass over the runs below.
    const auto parentCells = std::make_unique_for_overwrite<std::int32_t[]>(cells);
    const std::span<std::int32_t> parent(parentCells.get(), cells);
    // The neighbours already scanned: up and left, with up-left and up-right for 8, up-right for
    // NLMpy's diagonal structure [0 1 1; 1 1 1; 1 1 0].
    const bool upLeft = n == Neighbourhood::Eight;
    const bool upRight = n != Neighbourhood::Four;
    const auto uniteUp = [&](int c, std::int32_t i) {
        const std::int32_t up = i - cols;
        if (occupied[static_cast<std::size_t>(up)])
            unite(parent, i, up);
        if (upLeft && c > 0 && occupied[static_cast<std::size_t>(up) - 1])
            unite(parent, i, up - 1);
        if (upRight && c + 1 < cols && occupied[static_cast<std::size_t>(up) + 1])
            unite(parent, i, up + 1);
    };
    // Each thread unites the cells of a band of rows, a run of occupied cells at a time: the run's
    // cells join its first, which joins the first cell of every run above that touches it under
    // the neighbourhood. The bands' first rows are joined to the rows above them afterwards.
    // Whatever the order of the unions, a cluster's root is its first cell.
    std::vector<std::size_t> firstRows(threads);
    forParts(static_cast<std::size_t>(rows), threads, [&](unsigned t, std::size_t r0, std::size_t r1) {
        firstRows[t] = r0;
        for (std::size_t r = r0; r < r1; ++r) {
            const unsigned char* row = occupied.data() + r * cols;
            const unsigned char* above = row - cols;
            std::int32_t* parentRow = parent.data() + r * cols;
            const auto rowStart = static_cast<std::int32_t>(r * cols);
            for (int c = 0;;) {
                for (; c < cols && !row[c]; ++c)
                    parentRow[c] = rowStart + c;
                if (c == cols)
                    break;
                const int first = c;
                const std::int32_t head = rowStart + first;
                parentRow[first] = head;
                while (++c < cols && row[c])
                    parentRow[c] = head;
                if (r == r0)
                    continue;
                const int from = std::max(0, first - (upLeft ? 1 : 0));
                const int to = std::min(cols, c + (upRight ? 1 : 0));
                for (int u = from; u < to; ++u)
                    if (above[u] && (u == from || !above[u - 1]))
                        unite(parent, head, head - cols + (u - first));
            }
        }
    });
    for (const std::size_t r0 : firstRows)
        if (r0 > 0 && r0 < static_cast<std::size_t>(rows))
            for (int c = 0; c < cols; ++c) {
                const auto i = static_cast<std::int32_t>(r0 * cols + c);
                if (occupied[static_cast<std::size_t>(i)])
                    uniteUp(c, i);
            }
    // Labels in order of each cluster's first cell, row after row, as ndimage.label numbers them.
    // A parent is never a later cell than its child, so one pass in cell order meets every
    // cluster's root first and can turn each parent into its label in place.
    const std::span<std::int32_t> label = parent;
    std::int32_t clusters = 0;
    for (std::size_t i = 0; i < cells; ++i) {
        // Without branches: whether a cell is occupied or a root is a coin toss.
        const std::int32_t up = parent[i];
        const bool root = up == static_cast<std::int32_t>(i);
        const std::int32_t inherited = label[static_cast<std::size_t>(up)];
        const std::int32_t own = root ? clusters : inherited;
        clusters += static_cast<std::int32_t>(root & (occupied[i] != 0));
        label[i] = occupied[i] ? own : -1;
    }
    std::vector<double> values(static_cast<std::size_t>(clusters));
    for (double& v : values)
        v = uniform01(random);
    const auto nearest = std::make_unique_for_overwrite<std::int32_t[]>(cells);
    nearestFeature(occupied, rows, cols, {nearest.get(), cells});
    out.resize(cells);
    forParts(cells, threads, [&](unsigned, std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end; ++i)
            out[i] = nearest[i] < 0 ? 0.0
                                    : values[static_cast<std::size_t>(label[static_cast<std::size_t>(nearest[i])])];
    });
    if (clusterOf)
        clusterOf->assign(label.begin(), label.end());
}

void randomElementNN(int rows, int cols, std::int64_t n, ReplicateRandom& random, Surface& out)
{
    const std::size_t cells = cellCount(rows, cols);
    n = std::min<std::int64_t>(n, static_cast<std::int64_t>(cells));
    std::vector<std::int32_t> number(cells, 0);
    for (std::int32_t placed = 0; placed < n;) {
        const std::size_t i = random.below(cells);
        if (number[i] == 0)
            number[i] = ++placed;
    }
    const unsigned threads = passThreads(cells);
    std::vector<unsigned char> features(cells);
    forParts(cells, threads, [&](unsigned, std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end; ++i)
            features[i] = number[i] != 0;
    });
    const auto nearest = std::make_unique_for_overwrite<std::int32_t[]>(cells);
    nearestFeature(features, rows, cols, {nearest.get(), cells});
    out.resize(cells);
    forParts(cells, threads, [&](unsigned, std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end; ++i)
            out[i] = nearest[i] < 0 ? 0.0 : number[static_cast<std::size_t>(nearest[i])] - 1.0;
    });
    rescale01(out);
}

namespace {

struct Rectangle {
    int row, col, height, width;
    double value;
};

// One rectangle's draws, in their order.
Rectangle drawRectangle(int rows, int cols, int minSide, int maxSide, ReplicateRandom& random)
{
    const auto sides = static_cast<std::uint64_t>(maxSide - minSide + 1);
    Rectangle r{};
    r.height = minSide + static_cast<int>(random.below(sides));
    r.width = minSide + static_cast<int>(random.below(sides));
    // Corners from -maxSide+1 on, so that edge cells are as likely to be painted as any other.
    r.row = static_cast<int>(random.below(static_cast<std::uint64_t>(rows + maxSide - 1))) - (maxSide - 1);
    r.col = static_cast<int>(random.below(static_cast<std::uint64_t>(cols + maxSide - 1))) - (maxSide - 1);
    r.value = uniform01(random);
    return r;
}

}  // namespace

// Painting the rectangles one by one as drawn touches the grid all over; instead they are drawn a
// batch at a time and painted band of rows by band of rows, each band on whichever thread. While
// many cells are left, a batch is sized to leave a few hundred of them unpainted on average; the
// rare batch that paints them all after all is undone by painting the whole surface again one
// rectangle at a time from the first draw. Once few are left, a first pass over each batch marks
// every cell still unpainted (-1) with -(2 + the batch's first rectangle over it), so that the
// rectangle that paints the last cell is known and the batch is painted only up to it, as painting
// one by one would stop there. Either way the generator is left just after that rectangle's draws.
void randomRectangularCluster(int rows, int cols, int minSide, int maxSide, ReplicateRandom& random,
                              Surface& out)
{
    const std::size_t cells = cellCount(rows, cols);
    out.assign(cells, -1.0);
    std::size_t unpainted = cells;
    constexpr int BandRows = 16;
    const int bands = (rows + BandRows - 1) / BandRows;
    const double area = static_cast<double>(maxSide) * maxSide;
    const std::size_t tailBatch = std::clamp<std::size_t>(cells / 16, 1024, std::size_t(1) << 20);
    // The chance that a rectangle covers a given cell away from the edges.
    const double side = (minSide + maxSide) / 2.0;
    const double cover = side * side / ((rows + maxSide - 1.0) * (cols + maxSide - 1.0));
    constexpr double Left = 256.0;  // cells a batch leaves unpainted on average while many are
    const unsigned threads = passThreads(cells);
    const ReplicateRandom origin = random;
    // A rectangle's part in one band: its number in the batch, rows and columns clipped, value.
    struct Piece {
        std::uint32_t k;
        std::int32_t row0, row1, col0, col1;
        double value;
    };
    std::size_t drawn = 0;
    std::vector<std::vector<Piece>> inBand(static_cast<std::size_t>(bands));
    while (unpainted > 0) {
        const ReplicateRandom atStart = random;
        const bool many = static_cast<double>(unpainted) > Left * 3.0;
        std::size_t batchSize = tailBatch;
        if (many)
            batchSize = std::clamp<std::size_t>(
                static_cast<std::size_t>(std::log(static_cast<double>(unpainted) / Left) / std::max(cover, 1e-300)), 1,
                std::size_t(1) << 20);
        for (auto& list : inBand)
            list.clear();
        for (std::size_t k = 0; k < batchSize; ++k) {
            const Rectangle r = drawRectangle(rows, cols, minSide, maxSide, random);
            const int top = std::max(r.row, 0), bottom = std::min(r.row + r.height, rows);
            const int left = std::max(r.col, 0), right = std::min(r.col + r.width, cols);
            if (top >= bottom || left >= right)
                continue;
            for (int band = top / BandRows; band <= (bottom - 1) / BandRows; ++band)
                inBand[static_cast<std::size_t>(band)].push_back(
                    {static_cast<std::uint32_t>(k), std::max(top, band * BandRows), std::min(bottom, (band + 1) * BandRows),
                     left, right, r.value});
        }
        drawn = batchSize;
        // Runs visit(band, rectangle, row, first col, end col) over the batch's rectangles of each
        // band in order, bands on several threads.
        const auto overBands = [&](const auto& visit) {
            forParts(static_cast<std::size_t>(bands), threads, [&](unsigned t, std::size_t b0, std::size_t b1) {
                for (std::size_t band = b0; band < b1; ++band)
                    for (const Piece& p : inBand[band])
                        for (int row = p.row0; row < p.row1; ++row)
                            visit(t, p, out.data() + static_cast<std::size_t>(row) * cols);
            });
        };
        std::size_t last = drawn - 1;  // the batch's last rectangle to paint
        if (!many && static_cast<double>(unpainted) <= area * static_cast<double>(drawn)) {
            // This batch may paint the last cell: find which rectangle does.
            std::vector<std::size_t> marked(threads, 0);
            std::vector<std::size_t> latest(threads, 0);
            overBands([&](unsigned t, const Piece& p, double* line) {
                for (int c = p.col0; c < p.col1; ++c)
                    if (line[c] == -1.0) {
                        line[c] = -2.0 - p.k;
                        ++marked[t];
                        latest[t] = std::max<std::size_t>(latest[t], p.k);
                    }
            });
            std::size_t newly = 0;
            for (unsigned t = 0; t < threads; ++t)
                newly += marked[t];
            if (newly == unpainted) {
                last = *std::max_element(latest.begin(), latest.end());
                random = atStart;
                for (std::size_t k = 0; k <= last; ++k)
                    drawRectangle(rows, cols, minSide, maxSide, random);
            }
            // Marked cells are painted below by the rectangle that marked them, if not by later ones.
            unpainted -= newly;
        }
        std::vector<std::size_t> painted(threads, 0);
        overBands([&](unsigned t, const Piece& p, double* line) {
            if (p.k > last)
                return;
            std::size_t n = 0;
            for (int c = p.col0; c < p.col1; ++c) {
                n += line[c] == -1.0;
                line[c] = p.value;
            }
            painted[t] += n;
        });
        std::size_t newly = 0;
        for (const std::size_t n : painted)
            newly += n;
        if (many && newly == unpainted && drawn > 1) {
            // Painted out before the batch's end: paint it all again as drawn, stopping there.
            random = origin;
            out.assign(cells, -1.0);
            for (std::size_t left = cells; left > 0;) {
                const Rectangle r = drawRectangle(rows, cols, minSide, maxSide, random);
                for (int row = std::max(r.row, 0); row < std::min(r.row + r.height, rows); ++row) {
                    double* line = out.data() + static_cast<std::size_t>(row) * cols;
                    for (int c = std::max(r.col, 0); c < std::min(r.col + r.width, cols); ++c) {
                        left -= line[c] == -1.0;
                        line[c] = r.value;
                    }
                }
            }
            return;
        }
        unpainted -= newly;
    }
}

void randomCurds(int rows, int cols, std::span<const double> proportions, std::span<const double> subdivisions,
                 ReplicateRandom& random, Surface& out)
{
    const std::size_t levels = std::min(proportions.size(), subdivisions.size());
    std::vector<unsigned char> cut(1, 0);  // the level a block was cut at, from 1; 0 while whole
    std::size_t side = 1;
    std::vector<std::int32_t> whole;
    for (std::size_t level = 0; level < levels; ++level) {
        const auto s = static_cast<std::size_t>(subdivisions[level]);
        const std::size_t finer = side * s;
        std::vector<unsigned char> next(finer * finer);
        for (std::size_t r = 0; r < finer; ++r)
            for (std::size_t c = 0; c < finer; ++c)
                next[r * finer + c] = cut[(r / s) * side + c / s];
        cut = std::move(next);
        side = finer;
        whole.clear();
        for (std::size_t i = 0; i < cut.size(); ++i)
            if (!cut[i])
                whole.push_back(static_cast<std::int32_t>(i));
        const auto taken = std::min<std::int64_t>(
            std::llround(proportions[level] * static_cast<double>(whole.size())), static_cast<std::int64_t>(whole.size()));
        for (std::int64_t i = 0; i < taken; ++i) {
            const auto j = static_cast<std::size_t>(i) + random.below(whole.size() - static_cast<std::size_t>(i));
            std::swap(whole[static_cast<std::size_t>(i)], whole[j]);
            cut[static_cast<std::size_t>(whole[static_cast<std::size_t>(i)])] = static_cast<unsigned char>(level + 1);
        }
    }
    out.resize(cellCount(rows, cols));
    const double never = static_cast<double>(levels) + 1.0;
    forParts(static_cast<std::size_t>(rows), passThreads(out.size()), [&](unsigned, std::size_t r0, std::size_t r1) {
        for (std::size_t r = r0; r < r1; ++r) {
            const std::size_t cr = r * side / static_cast<std::size_t>(rows);
            for (int c = 0; c < cols; ++c) {
                const std::size_t cc = static_cast<std::size_t>(c) * side / static_cast<std::size_t>(cols);
                const unsigned char level = cut[cr * side + cc];
                out[r * cols + c] = level ? level : never;
            }
        }
    });
    addOwnDraws(out, random);
}

void percolationSurface(int rows, int cols, double p, ReplicateRandom& random, Surface& out)
{
    out.assign(cellCount(rows, cols), 0.0);
    eachUniformDraw(out, random, [p](double, double u) { return u < p ? 1.0 : 0.0; });
    addOwnDraws(out, random);
}

void voronoiMosaic(int rows, int cols, std::int64_t n, ReplicateRandom& random, Surface& out)
{
    struct Point {
        double x, y, value;
    };
    std::vector<Point> points(static_cast<std::size_t>(std::max<std::int64_t>(n, 1)));
    for (Point& p : points) {
        p.x = uniform01(random) * cols;
        p.y = uniform01(random) * rows;
        p.value = uniform01(random);
    }
    // Buckets of about one point each; points stay in their order within a bucket.
    const double side = std::max(1.0, std::sqrt(static_cast<double>(rows) * cols / static_cast<double>(points.size())));
    const int bucketCols = std::max(1, static_cast<int>(std::ceil(cols / side)));
    const int bucketRows = std::max(1, static_cast<int>(std::ceil(rows / side)));
    const auto bucketOf = [&](double x, double y) {
        const int bc = std::min(bucketCols - 1, static_cast<int>(x / side));
        const int br = std::min(bucketRows - 1, static_cast<int>(y / side));
        return static_cast<std::size_t>(br) * bucketCols + bc;
    };
    std::vector<std::int32_t> start(static_cast<std::size_t>(bucketRows) * bucketCols + 1, 0);
    for (const Point& p : points)
        ++start[bucketOf(p.x, p.y) + 1];
    std::partial_sum(start.begin(), start.end(), start.begin());
    std::vector<std::int32_t> order(points.size());
    {
        std::vector<std::int32_t> fill(start.begin(), start.end() - 1);
        for (std::size_t i = 0; i < points.size(); ++i)
            order[static_cast<std::size_t>(fill[bucketOf(points[i].x, points[i].y)]++)] = static_cast<std::int32_t>(i);
    }
    out.resize(cellCount(rows, cols));
    const int rings = std::max(bucketRows, bucketCols);
    // Every cell is found on its own: bands of rows side by side.
    forParts(static_cast<std::size_t>(rows), passThreads(out.size()), [&](unsigned, std::size_t r0, std::size_t r1) {
        for (int r = static_cast<int>(r0); r < static_cast<int>(r1); ++r) {
            const double y = r + 0.5;
            const int br = std::min(bucketRows - 1, static_cast<int>(y / side));
            for (int c = 0; c < cols; ++c) {
                const double x = c + 0.5;
                const int bc = std::min(bucketCols - 1, static_cast<int>(x / side));
                double best = std::numeric_limits<double>::infinity();
                std::int32_t bestIndex = -1;
                for (int ring = 0; ring <= rings; ++ring) {
                    for (int rr = br - ring; rr <= br + ring; ++rr) {
                        if (rr < 0 || rr >= bucketRows)
                            continue;
                        const bool edgeRow = rr == br - ring || rr == br + ring;
                        for (int cc = bc - ring; cc <= bc + ring; cc += edgeRow ? 1 : 2 * std::max(ring, 1)) {
                            if (cc < 0 || cc >= bucketCols)
                                continue;
                            const std::size_t b = static_cast<std::size_t>(rr) * bucketCols + cc;
                            for (std::int32_t k = start[b]; k < start[b + 1]; ++k) {
                                const std::int32_t i = order[static_cast<std::size_t>(k)];
                                const Point& p = points[static_cast<std::size_t>(i)];
                                const double d = (p.x - x) * (p.x - x) + (p.y - y) * (p.y - y);
                                if (d < best || (d == best && i < bestIndex)) {
                                    best = d;
                                    bestIndex = i;
                                }
                            }
                        }
                    }
                    // Every bucket beyond this ring lies at least ring sides away.
                    const double reach = ring * side;
                    if (bestIndex >= 0 && best < reach * reach)
                        break;
                }
                out[static_cast<std::size_t>(r) * cols + c] = points[static_cast<std::size_t>(bestIndex)].value;
            }
        }
    });
}

void neighbourhoodClusters(int rows, int cols, double pNeigh, double pEmpty, int categories, int neighbours,
                           ReplicateRandom& random, Surface& out)
{
    const std::size_t cells = cellCount(rows, cols);
    std::vector<unsigned char> category(cells, 0);
    // The empty cells, beside a filled one or not, each in a set it can leave in one step. A try
    // of nlm_neigh picks any empty cell and keeps it with p_neigh or p_empty; the cell finally
    // kept is therefore drawn with those weights, which is what is drawn here.
    std::vector<std::int32_t> beside, alone(cells), place(cells);
    std::vector<unsigned char> isBeside(cells, 0);
    std::iota(alone.begin(), alone.end(), 0);
    std::iota(place.begin(), place.end(), 0);
    const auto take = [&](std::vector<std::int32_t>& set, std::size_t at) {
        const std::int32_t cell = set[at];
        set[at] = set.back();
        place[static_cast<std::size_t>(set[at])] = static_cast<std::int32_t>(at);
        set.pop_back();
        return cell;
    };
    const std::size_t perCategory = cells / static_cast<std::size_t>(categories);
    for (int cat = categories - 1; cat > 0; --cat) {
        for (std::size_t j = 0; j < perCategory && !(beside.empty() && alone.empty()); ++j) {
            const double weightBeside = static_cast<double>(beside.size()) * pNeigh;
            const double weightAlone = static_cast<double>(alone.size()) * pEmpty;
            std::vector<std::int32_t>& set =
                uniform01(random) * (weightBeside + weightAlone) < weightBeside ? beside : alone;
            const std::int32_t cell = take(set, random.below(set.size()));
            category[static_cast<std::size_t>(cell)] = static_cast<unsigned char>(cat);
            const int r = cell / cols, c = cell % cols;
            for (int dr = -1; dr <= 1; ++dr)
                for (int dc = -1; dc <= 1; ++dc) {
                    if ((dr == 0 && dc == 0) || (neighbours == 4 && dr != 0 && dc != 0))
                        continue;
                    const int nr = (r + dr + rows) % rows, nc = (c + dc + cols) % cols;
                    const std::size_t nb = static_cast<std::size_t>(nr) * cols + nc;
                    if (category[nb] || isBeside[nb])
                        continue;
                    isBeside[nb] = 1;
                    take(alone, static_cast<std::size_t>(place[nb]));
                    place[nb] = static_cast<std::int32_t>(beside.size());
                    beside.push_back(static_cast<std::int32_t>(nb));
                }
        }
    }
    out.resize(cells);
    for (std::size_t i = 0; i < cells; ++i)
        out[i] = category[i];
    addOwnDraws(out, random);
}

void perlinNoise(int rows, int cols, int periods, int octaves, int lacunarity, double persistence,
                 ReplicateRandom& random, Surface& out)
{
    const double dim = std::max(rows, cols);
    out.assign(cellCount(rows, cols), 0.0);
    std::vector<std::array<double, 2>> gradients;
    const auto fade = [](double t) { return t * t * t * (t * (t * 6.0 - 15.0) + 10.0); };
    double amplitude = 1.0;
    std::int64_t P = periods;
    for (int octave = 0; octave < octaves; ++octave) {
        const auto lattice = static_cast<std::size_t>(P + 1);
        gradients.resize(lattice * lattice);
        for (auto& g : gradients) {
            const double angle = 2.0 * std::numbers::pi * uniform01(random);
            g = {std::cos(angle), std::sin(angle)};
        }
        const double scale = static_cast<double>(P) / dim;
        // Rows are independent once the octave's gradients are drawn.
        forParts(static_cast<std::size_t>(rows), passThreads(out.size()), [&](unsigned, std::size_t r0, std::size_t r1) {
        for (int r = static_cast<int>(r0); r < static_cast<int>(r1); ++r) {
            const double x = r * scale;
            const auto i = std::min<std::size_t>(static_cast<std::size_t>(x), lattice - 2);
            const double fx = x - static_cast<double>(i);
            const double t = fade(fx);
            double* line = out.data() + static_cast<std::size_t>(r) * cols;
            for (int c = 0; c < cols; ++c) {
                const double y = c * scale;
                const auto j = std::min<std::size_t>(static_cast<std::size_t>(y), lattice - 2);
                const double fy = y - static_cast<double>(j);
                const auto& g00 = gradients[i * lattice + j];
                const auto& g10 = gradients[(i + 1) * lattice + j];
                const auto& g01 = gradients[i * lattice + j + 1];
                const auto& g11 = gradients[(i + 1) * lattice + j + 1];
                const double n00 = fx * g00[0] + fy * g00[1];
                const double n10 = (fx - 1.0) * g10[0] + fy * g10[1];
                const double n01 = fx * g01[0] + (fy - 1.0) * g01[1];
                const double n11 = (fx - 1.0) * g11[0] + (fy - 1.0) * g11[1];
                const double s = fade(fy);
                const double n0 = n00 * (1.0 - t) + t * n10;
                const double n1 = n01 * (1.0 - t) + t * n11;
                line[c] += std::numbers::sqrt2 * ((1.0 - s) * n0 + s * n1) * amplitude;
            }
        }
        });
        amplitude *= persistence;
        P *= lacunarity;
    }
    rescale01(out);
}

std::vector<ValueTile> binarySpacePartitionTiles(int rows, int cols, std::int64_t n, PartOrientation orientation,
                                                 double maxRatio, ReplicateRandom& random)
{
    struct Patch {
        int minRow, maxRow, minCol, maxCol;
        std::int32_t children = -1;  // the first of its two halves; -1 for a leaf
        bool horizontal = false;
    };
    const std::size_t cells = cellCount(rows, cols);
    n = std::min<std::int64_t>(n, static_cast<std::int64_t>(cells));
    std::vector<Patch> patches{{0, rows, 0, cols}};
    // The leaf that holds a cell, found down the tree of halves rather than kept for every cell.
    const auto leafAt = [&](int r, int c) {
        std::int32_t at = 0;
        while (patches[static_cast<std::size_t>(at)].children >= 0) {
            const Patch& p = patches[static_cast<std::size_t>(at)];
            const Patch& first = patches[static_cast<std::size_t>(p.children)];
            at = p.children + (p.horizontal ? r >= first.maxRow : c >= first.maxCol);
        }
        return at;
    };
    for (std::int64_t count = 1; count < n;) {
        const auto r = static_cast<int>(random.below(static_cast<std::uint64_t>(rows)));
        const auto c = static_cast<int>(random.below(static_cast<std::uint64_t>(cols)));
        const std::int32_t chosen = leafAt(r, c);
        const Patch p = patches[static_cast<std::size_t>(chosen)];
        const int dimRows = p.maxRow - p.minRow, dimCols = p.maxCol - p.minCol;
        bool horizontal = random.below(2) == 0;
        if (orientation == PartOrientation::Longest) {
            if (dimRows != dimCols)
                horizontal = dimRows > dimCols;
        } else {
            if (orientation != PartOrientation::Random)
                horizontal = orientation == PartOrientation::Horizontal;
            if (horizontal && dimCols / (dimRows / 2.0) > maxRatio)
                horizontal = false;
            else if (!horizontal && dimRows / (dimCols / 2.0) > maxRatio)
                horizontal = true;
        }
        // A patch one cell thin splits the other way, so that every n up to the cell count is reached.
        if (horizontal ? dimRows < 2 : dimCols < 2)
            horizontal = !horizontal;
        if (horizontal ? dimRows < 2 : dimCols < 2)
            continue;
        Patch a{p.minRow, p.maxRow, p.minCol, p.maxCol}, b = a;
        if (horizontal)
            a.maxRow = b.minRow = p.minRow + dimRows / 2;
        else
            a.maxCol = b.minCol = p.minCol + dimCols / 2;
        Patch& split = patches[static_cast<std::size_t>(chosen)];
        split.children = static_cast<std::int32_t>(patches.size());
        split.horizontal = horizontal;
        patches.push_back(a);
        patches.push_back(b);
        ++count;
    }
    std::vector<ValueTile> leaves;
    for (const Patch& p : patches)
        if (p.children < 0)
            leaves.push_back({p.minRow, p.maxRow, p.minCol, p.maxCol, uniform01(random)});
    return leaves;
}

void binarySpacePartition(int rows, int cols, std::int64_t n, PartOrientation orientation, double maxRatio,
                          ReplicateRandom& random, Surface& out)
{
    const std::vector<ValueTile> leaves = binarySpacePartitionTiles(rows, cols, n, orientation, maxRatio, random);
    paintTiles(leaves, rows, cols, out);
}

void paintTiles(std::span<const ValueTile> tiles, int rows, int cols, Surface& out)
{
    // The tiles cover the grid once: each is painted with its value, a share of them on each thread.
    const std::size_t cells = cellCount(rows, cols);
    out.resize(cells);
    forParts(tiles.size(), passThreads(cells), [&](unsigned, std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end; ++i) {
            const ValueTile& q = tiles[i];
            for (int rr = q.minRow; rr < q.maxRow; ++rr)
                std::fill_n(out.begin() + static_cast<std::ptrdiff_t>(rr) * cols + q.minCol, q.maxCol - q.minCol,
                            q.value);
        }
    });
}

}  // namespace orvalis
