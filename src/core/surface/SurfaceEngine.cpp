#include "core/surface/SurfaceEngine.h"

#include <algorithm>
#include <condition_variable>
#include <limits>
#include <memory>
#include <mutex>
#include <thread>

namespace orvalis {

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// A table of every pair of classes grows with their square: beyond this many classes the metrics
// that read pairs are measured window by window instead.
constexpr int MaxPairedClasses = 64;
// Strips beyond this are not kept: the windows then move by their rows' ends.
constexpr std::int64_t StripBudget = std::int64_t{1} << 30;
// Bounds on what one batch of output rows holds: its values, and the map rows its windows cover.
constexpr std::int64_t BatchValueBytes = std::int64_t{16} << 20;
constexpr std::int64_t BatchRowBytes = std::int64_t{256} << 20;

bool readsPairs(const MetricSelection& selection)
{
    for (const MetricDef* d : selection.metrics())
        if (const CountedMetric* c = countedMetric(*d); c && c->pairs)
            return true;
    return false;
}

}  // namespace

struct SurfaceEngine::Worker {
    std::int64_t first = 0, last = 0;  // output columns
    std::unique_ptr<WindowCounter> counter;
    std::unique_ptr<WindowMeasure> measure;
    std::vector<int> cells;
    std::vector<MetricValue> values;
};

SurfaceEngine::SurfaceEngine(SurfaceSetup setup)
    : setup_(std::move(setup)),
      layout_(static_cast<int>(setup_.classes.size()),
              readsPairs(setup_.metrics.selection) && static_cast<int>(setup_.classes.size()) <= MaxPairedClasses)
{
    bands_ = surfaceBands(setup_.metrics.selection, setup_.classes);
    std::vector<std::string> slowCodes;
    for (const SurfaceBand& b : bands_) {
        const CountedMetric* c = countedMetric(*b.def);
        if (c && c->pairs && !layout_.pairs())
            c = nullptr;
        counted_.push_back(c);
        if (c)
            outerEdge_ = outerEdge_ || c->outerEdge;
        else if (std::find(slowCodes.begin(), slowCodes.end(), b.def->code) == slowCodes.end())
            slowCodes.push_back(b.def->code);
    }
    anySlow_ = !slowCodes.empty();
    if (!anySlow_)
        return;
    std::vector<MetricLevel> levels;
    for (const MetricLevel l : {MetricLevel::Class, MetricLevel::Landscape})
        if (setup_.metrics.selection.hasLevel(l))
            levels.push_back(l);
    slow_ = setup_.metrics;
    // The codes come from the selection at these levels, so they parse.
    slow_.selection = *MetricSelection::parse(slowCodes, levels, nullptr);
    for (const MetricDef* d : slow_.selection.metrics()) {
        std::size_t b = 0;
        while (b < bands_.size() && bands_[b].def != d)
            ++b;
        (d->level == MetricLevel::Class ? classBand_ : landscapeBand_).push_back(static_cast<int>(b));
    }
}

void SurfaceEngine::work(Worker& w, const ClassRows& rows, std::int64_t first, std::int64_t i0, std::int64_t i1,
                         double* out, const RunControl& control)
{
    const SurfaceGrid& g = setup_.grid;
    const std::int64_t width = g.width();
    const std::size_t B = bands_.size();
    const int S = g.window, h = g.halo();
    const std::vector<int> extents = windowExtents(S, g.shape);
    for (std::int64_t i = i0; i < i1 && !control.isCanceled(); ++i) {
        double* row = out + static_cast<std::size_t>(i - i0) * B * static_cast<std::size_t>(width);
        auto at = [&](std::size_t band, std::int64_t j) -> double& {
            return row[band * static_cast<std::size_t>(width) + static_cast<std::size_t>(j)];
        };
        if (w.counter)
            w.counter->startRow(rows, i, i > first);
        const std::int64_t y = i * g.step;
        for (std::int64_t j = w.first; j < w.last; ++j) {
            if (w.counter) {
                const std::int32_t* counts = w.counter->next();
                w.measure->load(counts, w.counter->outerEdge());
                const bool empty = w.measure->dataCells() == 0;
                for (std::size_t b = 0; b < B; ++b) {
                    const CountedMetric* c = counted_[b];
                    if (!c)
                        continue;
                    double v = NaN;
                    if (!empty) {
                        if (bands_[b].cls < 0) {
                            v = c->landscape(*w.measure).value_or(NaN);
                        } else if (const int k = w.measure->present(bands_[b].cls); k >= 0) {
                            v = c->klass(*w.measure, static_cast<std::size_t>(k)).value_or(NaN);
                        }
                    }
                    at(b, j) = v;
                }
            }
            if (!anySlow_)
                continue;
            for (std::size_t b = 0; b < B; ++b)
                if (!counted_[b])
                    at(b, j) = NaN;
            const std::int64_t x = j * g.step;
            for (int dr = -h; dr <= h; ++dr) {
                const int* r = rows.row(y + dr);
                const int e = extents[static_cast<std::size_t>(dr + h)];
                int* dst = w.cells.data() + static_cast<std::size_t>(dr + h) * static_cast<std::size_t>(S);
                for (int dc = -h; dc <= h; ++dc)
                    dst[dc + h] = dc >= -e && dc <= e ? r[x + dc] : ClassRows::Outside;
            }
            const GridView view{w.cells, S, S, ClassRows::Outside, setup_.cellSize};
            // A window with no landscape cell is refused, and stays NaN.
            if (!computeMetrics(view, slow_, w.values))
                continue;
            // Class rows come class by class, each with the class metrics in order; then the landscape's.
            std::size_t c = 0, l = 0;
            for (const MetricValue& v : w.values) {
                std::size_t band;
                if (v.level == MetricLevel::Class) {
                    band = static_cast<std::size_t>(classBand_[c] + v.cls);
                    c = (c + 1) % classBand_.size();
                } else {
                    band = static_cast<std::size_t>(landscapeBand_[l++]);
                }
                at(band, j) = v.value.value_or(NaN);
            }
        }
    }
}

bool SurfaceEngine::run(std::int64_t first, std::int64_t last, const ClassRowReader& read, const SurfaceRowsSink& take,
                        RunControl& control, std::string* error)
{
    const SurfaceGrid& g = setup_.grid;
    const std::int64_t width = g.width();
    if (first >= last)
        return true;
    // Threads take equal runs of columns; each needs enough columns to be worth its strips.
    const std::int64_t threads = std::clamp<std::int64_t>(setup_.jobs, 1, std::max<std::int64_t>(1, width / 16));
    const bool anyCounted = std::any_of(counted_.begin(), counted_.end(), [](const CountedMetric* c) { return c; });
    // A strip moves as a whole vector of counts, a row end as a few: with very many classes and a
    // small window the ends are cheaper.
    CountMethod method = setup_.method.value_or(CountMethod::Strips);
    if (!setup_.method && (WindowCounter::stripBytes(g, layout_, width + threads) > StripBudget ||
                           layout_.size() > 64 * g.window))
        method = CountMethod::Extents;
    if (g.shape != WindowShape::Square)
        method = CountMethod::Extents;
    std::vector<Worker> workers(static_cast<std::size_t>(threads));
    for (std::int64_t t = 0; t < threads; ++t) {
        Worker& w = workers[static_cast<std::size_t>(t)];
        w.first = width * t / threads;
        w.last = width * (t + 1) / threads;
        if (anyCounted) {
            w.counter = std::make_unique<WindowCounter>(g, layout_, w.first, w.last, method, outerEdge_);
            w.measure = std::make_unique<WindowMeasure>(layout_, setup_.metrics, setup_.cellSize, g.window);
        }
        if (anySlow_)
            w.cells.resize(static_cast<std::size_t>(g.window) * static_cast<std::size_t>(g.window));
    }

    const std::int64_t rowValues = static_cast<std::int64_t>(bands_.size()) * width * 8;
    const std::int64_t mapRowBytes = (g.mapWidth + 2 * g.halo() + 2) * 4;
    std::int64_t batch = std::clamp<std::int64_t>(BatchValueBytes / std::max<std::int64_t>(rowValues, 1), 1, 64);
    batch = std::clamp<std::int64_t>((BatchRowBytes / mapRowBytes - g.window) / g.step, 1, batch);
    batch = std::min(batch, last - first);
    // The rows of a batch's windows, and those of the row before it, from which the strips move;
    // only rows on the map are held.
    ClassRows rows(g.mapWidth, g.mapHeight, g.halo() + 1,
                   static_cast<int>(std::min<std::int64_t>(batch * g.step + g.window, g.mapHeight)));
    std::vector<double> values(static_cast<std::size_t>(batch) * bands_.size() * static_cast<std::size_t>(width));

    std::mutex mutex;
    std::condition_variable start, done;
    std::int64_t generation = 0, pending = 0, i0 = first, i1 = first;
    bool quit = false;
    auto loop = [&](Worker& w) {
        std::int64_t seen = 0;
        for (;;) {
            std::int64_t a, b;
            {
                std::unique_lock lock(mutex);
                start.wait(lock, [&] { return quit || generation != seen; });
                if (quit)
                    return;
                seen = generation;
                a = i0;
                b = i1;
            }
            work(w, rows, first, a, b, values.data(), control);
            std::lock_guard lock(mutex);
            if (--pending == 0)
                done.notify_one();
        }
    };
    std::vector<std::thread> pool;
    for (std::size_t t = 1; t < workers.size(); ++t)
        pool.emplace_back(loop, std::ref(workers[t]));
    auto stop = [&] {
        {
            std::lock_guard lock(mutex);
            quit = true;
        }
        start.notify_all();
        for (std::thread& t : pool)
            t.join();
    };

    bool ok = true;
    for (std::int64_t at = first; at < last && ok; at += batch) {
        if (control.isCanceled())
            break;
        const std::int64_t end = std::min(at + batch, last);
        if (!rows.hold((at - 1) * g.step - g.halo(), (end - 1) * g.step + g.halo() + 1, read, error)) {
            ok = false;
            break;
        }
        {
            std::lock_guard lock(mutex);
            i0 = at;
            i1 = end;
            pending = static_cast<std::int64_t>(pool.size());
            ++generation;
        }
        start.notify_all();
        work(workers[0], rows, first, at, end, values.data(), control);
        {
            std::unique_lock lock(mutex);
            done.wait(lock, [&] { return pending == 0; });
        }
        // A batch broken off is not whole.
        if (control.isCanceled())
            break;
        ok = take(at, static_cast<int>(end - at), values.data(), error);
        if (ok && !control.report({end - first, last - first, "rows", -1}))
            break;
    }
    stop();
    return ok;
}

}  // namespace orvalis
