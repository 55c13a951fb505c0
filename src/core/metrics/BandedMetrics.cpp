#include "core/metrics/BandedMetrics.h"

#include "core/metrics/Measure.h"
#include "core/metrics/NearestPatch.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <limits>
#include <numeric>
#include <unordered_map>

namespace orvalis {

namespace {

using std::int32_t;
using std::int64_t;
using std::size_t;

bool fail(std::string* error, const std::string& message)
{
    if (error)
        *error = message;
    return false;
}

constexpr unsigned BandNeeds = NeedPatches | NeedAdjacency | NeedBorder | NeedNearest | NeedRadius;

// Rows searched for nearest neighbours at once, between the window's margins.
constexpr int SearchRows = 128;

// Cuts a row into runs of equal values; classOf gives a value's class, -1 outside.
template <class F>
void cutRow(const int* v, int cols, std::vector<CellRun>& out, F classOf)
{
    out.clear();
    int start = 0;
    for (int c = 1; c <= cols; ++c)
        if (c == cols || v[c] != v[c - 1]) {
            out.push_back({start, c, classOf(v[start]), -1});
            start = c;
        }
}

// Calls f(row cells, r) for every row in order, reading a band at a time; the pass is the
// share of the work from done to done + share.
template <class F>
bool forEachRow(const RowBands& bands, std::vector<int>& buffer, double done, double share, std::string* error, F f)
{
    const int step = std::max(1, bands.bandRows);
    for (int first = 0; first < bands.rows; first += step) {
        const int count = std::min(step, bands.rows - first);
        buffer.resize(static_cast<size_t>(count) * static_cast<size_t>(bands.cols));
        if (!bands.read(first, count, buffer.data(), error))
            return false;
        for (int i = 0; i < count; ++i)
            f(buffer.data() + static_cast<size_t>(i) * static_cast<size_t>(bands.cols), first + i);
        if (bands.progress && !bands.progress(done + share * (first + count) / bands.rows))
            return fail(error, "cancelled");
    }
    return true;
}

// Numbers for values: those of a usual map's range from a table, the others from a hash map.
class ValueIndex {
public:
    static constexpr int Low = -1024;
    static constexpr int Span = 1 << 17;

    ValueIndex() : table_(Span, -1) {}

    // The value's number, or -1 when it has none yet.
    int32_t find(int value) const
    {
        if (value >= Low && value < Low + Span)
            return table_[static_cast<size_t>(value - Low)];
        const auto it = spill_.find(value);
        return it == spill_.end() ? -1 : it->second;
    }
    void set(int value, int32_t number)
    {
        if (value >= Low && value < Low + Span)
            table_[static_cast<size_t>(value - Low)] = number;
        else
            spill_[value] = number;
    }

private:
    std::vector<int32_t> table_;
    std::unordered_map<int, int32_t> spill_;
};

// Class numbers given in the order values are first met.
class ClassIndex {
public:
    explicit ClassIndex(std::optional<int> noData) : noData_(noData) {}

    int32_t operator()(int value)
    {
        if (noData_ && value == *noData_)
            return -1;
        int32_t k = index_.find(value);
        if (k < 0) {
            k = static_cast<int32_t>(values_.size());
            index_.set(value, k);
            values_.push_back(value);
        }
        return k;
    }

    const std::vector<int>& values() const { return values_; }

private:
    std::optional<int> noData_;
    ValueIndex index_;
    std::vector<int> values_;
};

// The first look at the rows: classes, sides between them and on the borders, and the patches
// with their sums, keyed by provisional labels joined by union-find as rows bring them together.
class FirstPass {
public:
    FirstPass(int rows, int cols, std::optional<int> noData, bool eight)
        : rows_(rows), cols_(cols), reach_(eight ? 1 : 0), classOf_(noData), table_(TableSide * TableSide, 0)
    {
    }

    bool addRow(const int* v, int r, std::string* error);
    // The landscape's intermediates, and per label its patch's final number.
    void finish(StreamedLandscape& out, std::vector<int32_t>& patchOf, std::vector<int32_t>& denseOf);
    const std::vector<int>& values() const { return classOf_.values(); }

private:
    static constexpr int32_t TableSide = 64;  // classes whose contacts are kept in a table

    void grow(size_t k)
    {
        if (k >= cells_.size()) {
            cells_.resize(k + 1, 0);
            mapEdge_.resize(k + 1, 0);
            noDataEdge_.resize(k + 1, 0);
        }
    }
    void contact(int32_t a, int32_t b, int64_t n)
    {
        if (a > b)
            std::swap(a, b);
        if (b < TableSide)
            table_[static_cast<size_t>(a) * TableSide + static_cast<size_t>(b)] += n;
        else
            spill_[(static_cast<uint64_t>(a) << 32) | static_cast<uint32_t>(b)] += n;
    }
    int32_t find(int32_t x)
    {
        while (parent_[static_cast<size_t>(x)] != x) {
            parent_[static_cast<size_t>(x)] = parent_[static_cast<size_t>(parent_[static_cast<size_t>(x)])];
            x = parent_[static_cast<size_t>(x)];
        }
        return x;
    }
    int32_t unite(int32_t x, int32_t y);

    int rows_, cols_;
    int32_t reach_;
    ClassIndex classOf_;
    std::vector<int64_t> cells_, mapEdge_, noDataEdge_;  // per provisional class
    std::vector<int64_t> table_;
    std::unordered_map<uint64_t, int64_t> spill_;
    std::vector<int32_t> parent_;      // per label
    std::vector<int32_t> slotOf_;      // per label that is a root: where its sums are
    std::vector<PatchShape> shapes_;   // per slot
    std::vector<int32_t> shapeClass_;  // per slot
    std::vector<int32_t> freeSlots_;
    std::vector<CellRun> above_, row_;
};

int32_t FirstPass::unite(int32_t x, int32_t y)
{
    // The lower label is the patch's first cell's: it stays the root.
    const int32_t root = std::min(x, y);
    const int32_t other = std::max(x, y);
    parent_[static_cast<size_t>(other)] = root;
    PatchShape& d = shapes_[static_cast<size_t>(slotOf_[static_cast<size_t>(root)])];
    const int32_t freed = slotOf_[static_cast<size_t>(other)];
    const PatchShape& s = shapes_[static_cast<size_t>(freed)];
    d.cells += s.cells;
    d.like += s.like;
    d.sumR += s.sumR;
    d.sumC += s.sumC;
    d.borders |= s.borders;
    d.top = std::min(d.top, s.top);
    d.bottom = std::max(d.bottom, s.bottom);
    if (s.left < d.left || (s.left == d.left && s.leftTop < d.leftTop)) {
        d.left = s.left;
        d.leftTop = s.leftTop;
    }
    d.right = std::max(d.right, s.right);
    freeSlots_.push_back(freed);
    return root;
}

bool FirstPass::addRow(const int* v, int r, std::string* error)
{
    cutRow(v, cols_, row_, [this](int value) { return classOf_(value); });
    grow(classOf_.values().size());
    const bool top = r == 0, bottom = r + 1 == rows_;
    if (const int32_t k = row_.front().cls; k >= 0)
        ++mapEdge_[static_cast<size_t>(k)];
    if (const int32_t k = row_.back().cls; k >= 0)
        ++mapEdge_[static_cast<size_t>(k)];
    for (size_t j = 0; j < row_.size(); ++j) {
        const CellRun& run = row_[j];
        if (run.cls >= 0) {
            const int64_t n = run.end - run.start;
            cells_[static_cast<size_t>(run.cls)] += n;
            if (top || bottom)
                mapEdge_[static_cast<size_t>(run.cls)] += n * (top + bottom);
        }
        if (j == 0)
            continue;
        const int32_t a = row_[j - 1].cls;
        if (a < 0 && run.cls >= 0)
            ++noDataEdge_[static_cast<size_t>(run.cls)];
        else if (a >= 0 && run.cls < 0)
            ++noDataEdge_[static_cast<size_t>(a)];
        else if (a >= 0)
            contact(a, run.cls, 1);
    }
    if (r > 0) {
        // Sides facing no-data across the rows.
        for (size_t i = 0, j = 0; i < above_.size() && j < row_.size();) {
            const CellRun& up = above_[i];
            const CellRun& down = row_[j];
            const int64_t sides = std::min(up.end, down.end) - std::max(up.start, down.start);
            if (sides > 0) {
                if (up.cls < 0 && down.cls >= 0)
                    noDataEdge_[static_cast<size_t>(down.cls)] += sides;
                else if (up.cls >= 0 && down.cls < 0)
                    noDataEdge_[static_cast<size_t>(up.cls)] += sides;
            }
            if (up.end < down.end)
                ++i;
            else
                ++j;
        }
    }
    size_t i = 0;
    for (CellRun& run : row_) {
        if (run.cls < 0)
            continue;
        while (i < above_.size() && above_[i].end + reach_ <= run.start)
            ++i;
        int32_t id = -1;
        int64_t likeUp = 0;
        for (size_t a = i; a < above_.size() && above_[a].start < run.end + reach_; ++a) {
            const CellRun& up = above_[a];
            // Runs touching only at a corner share no side.
            const int32_t sides = std::min(up.end, run.end) - std::max(up.start, run.start);
            if (up.cls != run.cls) {
                if (up.cls >= 0 && sides > 0)
                    contact(up.cls, run.cls, sides);
                continue;
            }
            if (sides > 0)
                likeUp += sides;
            const int32_t x = find(up.patch);
            id = id < 0 ? x : (x == id ? id : unite(x, id));
        }
        if (id < 0) {
            if (parent_.size() >= static_cast<size_t>(std::numeric_limits<int32_t>::max()))
                return fail(error, "the map holds too many patches");
            id = static_cast<int32_t>(parent_.size());
            parent_.push_back(id);
            int32_t slot;
            if (freeSlots_.empty()) {
                slot = static_cast<int32_t>(shapes_.size());
                shapes_.emplace_back();
                shapeClass_.push_back(run.cls);
            } else {
                slot = freeSlots_.back();
                freeSlots_.pop_back();
                shapes_[static_cast<size_t>(slot)] = PatchShape();
                shapeClass_[static_cast<size_t>(slot)] = run.cls;
            }
            slotOf_.push_back(slot);
            PatchShape& fresh = shapes_[static_cast<size_t>(slot)];
            fresh.top = r;
            fresh.left = run.start;
            fresh.leftTop = r;
            fresh.right = run.end - 1;
        }
        run.patch = id;
        PatchShape& shape = shapes_[static_cast<size_t>(slotOf_[static_cast<size_t>(id)])];
        const int64_t n = run.end - run.start;
        shape.cells += n;
        shape.like += n - 1 + likeUp;
        shape.sumR += r * n;
        shape.sumC += (int64_t{run.start} + run.end - 1) * n / 2;
        shape.bottom = r;
        if (run.start < shape.left) {
            shape.left = run.start;
            shape.leftTop = r;
        }
        shape.right = std::max(shape.right, run.end - 1);
        shape.borders |= static_cast<unsigned char>((top ? TopBorder : 0) | (bottom ? BottomBorder : 0) |
                                                    (run.start == 0 ? LeftBorder : 0) | (run.end == cols_ ? RightBorder : 0));
    }
    std::swap(above_, row_);
    return true;
}

void FirstPass::finish(StreamedLandscape& out, std::vector<int32_t>& patchOf, std::vector<int32_t>& denseOf)
{
    out.rows = rows_;
    out.cols = cols_;
    const std::vector<int>& values = classOf_.values();
    const size_t K = values.size();
    std::vector<int32_t> byValue(K);
    std::iota(byValue.begin(), byValue.end(), 0);
    std::sort(byValue.begin(), byValue.end(), [&](int32_t a, int32_t b) { return values[static_cast<size_t>(a)] < values[static_cast<size_t>(b)]; });
    denseOf.assign(K, 0);
    out.values.resize(K);
    for (size_t d = 0; d < K; ++d) {
        denseOf[static_cast<size_t>(byValue[d])] = static_cast<int32_t>(d);
        out.values[d] = values[static_cast<size_t>(byValue[d])];
    }
    auto dense = [&](const std::vector<int64_t>& perClass) {
        std::vector<int64_t> v(K, 0);
        for (size_t k = 0; k < K; ++k)
            v[static_cast<size_t>(denseOf[k])] = perClass[k];
        return v;
    };
    out.classCells = dense(cells_);
    out.mapEdge = dense(mapEdge_);
    out.noDataEdge = dense(noDataEdge_);
    out.pairs.clear();
    auto pair = [&](size_t a, size_t b, int64_t n) {
        int32_t x = denseOf[a], y = denseOf[b];
        out.pairs.push_back({std::min(x, y), std::max(x, y), n});
    };
    for (size_t a = 0; a < TableSide; ++a)
        for (size_t b = a + 1; b < TableSide; ++b)
            if (const int64_t n = table_[a * TableSide + b]; n > 0)
                pair(a, b, n);
    for (const auto& [key, n] : spill_)
        pair(static_cast<size_t>(key >> 32), static_cast<size_t>(key & 0xffffffffu), n);
    std::sort(out.pairs.begin(), out.pairs.end(), [](const ClassPair& x, const ClassPair& y) { return std::tie(x.a, x.b) < std::tie(y.a, y.b); });
    std::vector<int64_t>().swap(table_);
    spill_.clear();

    // Labels to patches, numbered as their roots (the first cells) come row after row. A label's
    // parent is lower than itself, so in label order each parent already points at its root.
    const size_t labels = parent_.size();
    for (size_t g = 0; g < labels; ++g)
        parent_[g] = parent_[static_cast<size_t>(parent_[g])];
    patchOf.assign(labels, 0);
    int32_t patches = 0;
    for (size_t g = 0; g < labels; ++g)
        patchOf[g] = parent_[g] == static_cast<int32_t>(g) ? patches++ : patchOf[static_cast<size_t>(parent_[g])];
    // The slots put in patch order where they lie, free slots behind them.
    std::vector<int32_t> place(shapes_.size(), -1);
    for (size_t g = 0; g < labels; ++g)
        if (parent_[g] == static_cast<int32_t>(g))
            place[static_cast<size_t>(slotOf_[g])] = patchOf[g];
    std::vector<int32_t>().swap(parent_);
    std::vector<int32_t>().swap(slotOf_);
    int32_t spare = patches;
    for (int32_t& p : place)
        if (p < 0)
            p = spare++;
    for (size_t s = 0; s < place.size(); ++s)
        while (place[s] != static_cast<int32_t>(s)) {
            const size_t t = static_cast<size_t>(place[s]);
            std::swap(shapes_[s], shapes_[t]);
            std::swap(shapeClass_[s], shapeClass_[t]);
            std::swap(place[s], place[t]);
        }
    shapes_.resize(static_cast<size_t>(patches));
    shapes_.shrink_to_fit();
    shapeClass_.resize(static_cast<size_t>(patches));
    for (int32_t& k : shapeClass_)
        k = denseOf[static_cast<size_t>(k)];
    out.shapes = std::move(shapes_);
    out.patchClass = std::move(shapeClass_);
}

// The rows again, with each run given its dense class and its patch's number: a run starts a
// new label exactly where the first pass started one.
class Relabel {
public:
    Relabel(int cols, std::optional<int> noData, bool eight, const std::vector<int32_t>& patchOf,
            const std::vector<int>& firstValues, const std::vector<int32_t>& denseOf)
        : cols_(cols), reach_(eight ? 1 : 0), noData_(noData), patchOf_(patchOf)
    {
        for (size_t k = 0; k < firstValues.size(); ++k)
            dense_.set(firstValues[k], denseOf[k]);
    }

    const std::vector<CellRun>& addRow(const int* v)
    {
        std::swap(above_, row_);
        cutRow(v, cols_, row_, [this](int value) { return noData_ && value == *noData_ ? -1 : dense_.find(value); });
        size_t i = 0;
        for (CellRun& run : row_) {
            if (run.cls < 0)
                continue;
            while (i < above_.size() && above_[i].end + reach_ <= run.start)
                ++i;
            run.patch = -1;
            for (size_t a = i; a < above_.size() && above_[a].start < run.end + reach_; ++a)
                if (above_[a].cls == run.cls) {
                    run.patch = above_[a].patch;
                    break;
                }
            if (run.patch < 0)
                run.patch = patchOf_[next_++];
        }
        return row_;
    }

private:
    int cols_;
    int32_t reach_;
    std::optional<int> noData_;
    const std::vector<int32_t>& patchOf_;
    ValueIndex dense_;
    size_t next_ = 0;
    std::vector<CellRun> above_, row_;
};

// Rows kept for a window of the map around the rows being searched from.
class RowWindow {
public:
    RowWindow(int rows, int cols, int margin) : rows_(rows), cols_(cols), margin_(margin) {}

    // Takes row r (rows come in order) and calls f(window, from, to, firstRow) for every stretch
    // of rows whose margins have now been read.
    template <class F>
    void add(const std::vector<CellRun>& runs, int r, F f)
    {
        held_.push_back(runs);
        while (searched_ < rows_) {
            const int to = std::min(rows_, searched_ + SearchRows);
            const int w0 = std::max(0, searched_ - margin_);
            const int w1 = std::min(rows_, to + margin_);
            if (r + 1 < w1)
                return;
            build(w0, w1);
            f(window_, searched_ - w0, to - w0, w0);
            searched_ = to;
            while (first_ < searched_ - margin_) {
                held_.pop_front();
                ++first_;
            }
        }
    }

private:
    void build(int w0, int w1)
    {
        window_.rows = w1 - w0;
        window_.cols = cols_;
        window_.runs.clear();
        window_.rowRuns.clear();
        window_.runOf.resize(static_cast<size_t>(w1 - w0) * static_cast<size_t>(cols_));
        for (int r = w0; r < w1; ++r) {
            window_.rowRuns.push_back(static_cast<int32_t>(window_.runs.size()));
            int32_t* cell = window_.runOf.data() + static_cast<size_t>(r - w0) * static_cast<size_t>(cols_);
            for (const CellRun& run : held_[static_cast<size_t>(r - first_)]) {
                std::fill(cell + run.start, cell + run.end, static_cast<int32_t>(window_.runs.size()));
                window_.runs.push_back(run);
            }
        }
        window_.rowRuns.push_back(static_cast<int32_t>(window_.runs.size()));
    }

    int rows_, cols_, margin_;
    int searched_ = 0;  // the first row not yet searched from
    int first_ = 0;     // the row held_ starts with
    std::deque<std::vector<CellRun>> held_;
    PatchRaster window_;
};

}  // namespace

bool measurableByBands(const MetricsOptions& options)
{
    const unsigned needs = options.selection.needs();
    if (needs & ~BandNeeds)
        return false;
    return !(options.cellCenter && (needs & NeedRadius));
}

std::string wholeGridMetrics(const MetricsOptions& options)
{
    std::vector<std::string> codes;
    for (const MetricDef* d : options.selection.metrics())
        if (((d->needs & ~BandNeeds) || (options.cellCenter && (d->needs & NeedRadius))) &&
            std::find(codes.begin(), codes.end(), d->code) == codes.end())
            codes.push_back(d->code);
    std::string out;
    for (const std::string& c : codes)
        out += (out.empty() ? "" : " ") + c;
    return out;
}

std::uint64_t bandedBytes(const RowBands& bands)
{
    const auto cols = static_cast<std::uint64_t>(std::max(bands.cols, 0));
    // The rows read (values and the reader's own copy), the window's cells and at worst a run a cell.
    const std::uint64_t read = static_cast<std::uint64_t>(std::max(bands.bandRows, 1)) * cols * 12;
    const std::uint64_t window = static_cast<std::uint64_t>(SearchRows + 2 * NearestPatch::NearRows) * cols * (4 + 2 * 16);
    return read + window + cols * 64;
}

bool computeMetricsByBands(const RowBands& bands, const MetricsOptions& options, std::vector<MetricValue>& out,
                           std::string* error)
{
    out.clear();
    if (const std::string why = checkMetricsOptions(options); !why.empty())
        return fail(error, why);
    if (!measurableByBands(options))
        return fail(error, "these metrics need the whole grid: " + wholeGridMetrics(options));
    if (bands.rows <= 0 || bands.cols <= 0)
        return fail(error, "the grid is empty");
    if (!(bands.cellSize > 0) || !std::isfinite(bands.cellSize))
        return fail(error, "the cell size must be a positive number");
    const bool eight = options.neighbours == 8;
    const unsigned needs = options.selection.needs();
    const bool again = (needs & (NeedRadius | NeedNearest)) != 0;
    std::vector<int> buffer;
    StreamedLandscape parts;
    std::vector<int32_t> patchOf, denseOf;
    std::vector<int> firstValues;
    {
        FirstPass first(bands.rows, bands.cols, bands.noData, eight);
        bool ok = true;
        if (!forEachRow(bands, buffer, 0, again ? 0.5 : 1, error, [&](const int* v, int r) { ok = ok && first.addRow(v, r, error); }) ||
            !ok)
            return false;
        firstValues = first.values();
        first.finish(parts, patchOf, denseOf);
    }
    if (parts.values.empty())
        return fail(error, "the grid holds no cell inside the landscape");

    const size_t P = parts.patchClass.size();
    const size_t K = parts.values.size();
    if (again) {
        std::vector<double> meanR, meanC, column, distance;
        if (needs & NeedRadius) {
            meanR.resize(P);
            meanC.resize(P);
            for (size_t p = 0; p < P; ++p) {
                const PatchShape& s = parts.shapes[p];
                meanR[p] = static_cast<double>(s.sumR) / static_cast<double>(s.cells);
                meanC[p] = static_cast<double>(s.sumC) / static_cast<double>(s.cells);
            }
            parts.radiusSum.assign(P, 0.0);
            distance.resize(static_cast<size_t>(bands.cols) + 3);
            for (int c = 0; c < bands.cols + 3; ++c)
                column.push_back(c);
        }
        NearestPatch nearest;
        const bool near = (needs & NeedNearest) != 0;
        if (near)
            nearest.begin(parts.patchClass, K);
        Relabel relabel(bands.cols, bands.noData, eight, patchOf, firstValues, denseOf);
        RowWindow window(bands.rows, bands.cols, NearestPatch::NearRows);
        const bool read = forEachRow(bands, buffer, 0.5, 0.45, error, [&](const int* v, int r) {
            const std::vector<CellRun>& runs = relabel.addRow(v);
            if (needs & NeedRadius)
                sumRowRadii(runs.data(), runs.size(), r, meanR.data(), meanC.data(), column.data(), distance.data(),
                            parts.radiusSum.data());
            if (near)
                window.add(runs, r, [&](const PatchRaster& w, int from, int to, int) { nearest.searchRows(w, from, to, eight); });
        });
        if (!read)
            return false;
        if (near && nearest.pending()) {
            // Patches with no neighbour near: their boundary cells, then every boundary cell of
            // their classes asked against them, in two more looks.
            for (int look = 0; look < 2; ++look) {
                Relabel again(bands.cols, bands.noData, eight, patchOf, firstValues, denseOf);
                RowWindow edges(bands.rows, bands.cols, 1);
                if (!forEachRow(bands, buffer, 0.95 + 0.025 * look, 0.025, error, [&](const int* v, int r) {
                        edges.add(again.addRow(v), r, [&](const PatchRaster& w, int from, int to, int firstRow) {
                            if (look == 0)
                                nearest.collectBoundary(w, from, to, firstRow, true);
                            else
                                nearest.searchFar(w, from, to, firstRow);
                        });
                    }))
                    return false;
                if (look == 0)
                    nearest.searchFrom();
            }
        }
        if (near)
            parts.nearest2 = nearest.finish();
    }
    std::vector<int32_t>().swap(patchOf);

    const GridView view{{}, bands.rows, bands.cols, bands.noData, bands.cellSize};
    MeasureScratch scratch;
    bool broken = false;
    try {
        Measure m(view, options, scratch);
        m.adopt(parts);
        collectMetricValues(m, options, out);
    } catch (const StopFlag::Stopped&) {
        broken = true;
    }
    if (broken || (options.stop && options.stop->load(std::memory_order_relaxed))) {
        out.clear();
        return fail(error, "stopped");
    }
    return true;
}

}  // namespace orvalis
