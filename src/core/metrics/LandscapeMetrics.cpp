#include "core/metrics/LandscapeMetrics.h"

#include "core/metrics/Measure.h"

#include <cmath>
#include <limits>

namespace orvalis {

namespace {

using std::int32_t;
using std::size_t;

bool fail(std::string* error, const std::string& message)
{
    if (error)
        *error = message;
    return false;
}

// Grids above this many cells give their buffers back: their own work dwarfs the allocation.
constexpr size_t KeptCells = size_t{1} << 18;

MeasureScratch& scratch()
{
    thread_local MeasureScratch s;
    return s;
}

bool checkGrid(const GridView& grid, std::string* error)
{
    if (grid.rows <= 0 || grid.cols <= 0)
        return fail(error, "the grid is empty");
    if (static_cast<size_t>(grid.rows) * static_cast<size_t>(grid.cols) > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        return fail(error, "the grid is too large");
    if (grid.cells.size() != static_cast<size_t>(grid.rows) * static_cast<size_t>(grid.cols))
        return fail(error, "the cells do not fill the rows and columns given");
    if (!(grid.cellSize > 0) || !std::isfinite(grid.cellSize))
        return fail(error, "the cell size must be a positive number");
    return true;
}

}  // namespace

void collectMetricValues(Measure& m, const MetricsOptions& options, std::vector<MetricValue>& out)
{
    const std::vector<const MetricDef*>& defs = options.selection.metrics();
    size_t patchMetrics = 0;
    for (const MetricDef* d : defs)
        patchMetrics += d->level == MetricLevel::Patch;
    if (patchMetrics > 0) {
        const StopFlag stop(options.stop);
        const std::vector<int32_t>& order = m.patchOrder();
        out.reserve(order.size() * patchMetrics);
        for (size_t id = 0; id < order.size(); ++id) {
            stop.checkEvery(id);
            const size_t p = static_cast<size_t>(order[id]);
            const int cls = m.classValue(static_cast<size_t>(m.patchClass(p)));
            for (const MetricDef* d : defs)
                if (d->level == MetricLevel::Patch)
                    out.push_back({MetricLevel::Patch, cls, static_cast<int>(id) + 1, d->code, m.patchValues(*d)[p]});
        }
        for (MetricValue& v : out)
            if (v.value && std::isnan(*v.value))
                v.value.reset();
    }
    const auto stopped = [&] { return options.stop && options.stop->load(std::memory_order_relaxed); };
    for (size_t k = 0; k < m.classCount() && !stopped(); ++k)
        for (const MetricDef* d : defs)
            if (d->level == MetricLevel::Class && !stopped())
                out.push_back({MetricLevel::Class, m.classValue(k), 0, d->code, d->klass(m, k)});
    for (const MetricDef* d : defs)
        if (d->level == MetricLevel::Landscape && !stopped())
            out.push_back({MetricLevel::Landscape, 0, 0, d->code, d->landscape(m)});
}

std::string checkMetricsOptions(const MetricsOptions& options)
{
    if (options.neighbours != 4 && options.neighbours != 8)
        return "the neighbour rule must be 4 or 8";
    if (options.edgeDepth < 1)
        return "the edge depth must be at least 1 cell (core area metrics)";
    if (options.classesMax && *options.classesMax < 1)
        return "the largest number of classes must be at least 1 (rpr)";
    return {};
}

bool computeMetrics(const GridView& grid, const MetricsOptions& options, std::vector<MetricValue>& out, std::string* error)
{
    out.clear();
    if (const std::string why = checkMetricsOptions(options); !why.empty())
        return fail(error, why);
    if (!checkGrid(grid, error))
        return false;
    MeasureScratch& s = scratch();
    // A stop is heard between the metrics and inside each pass over the grid, a row at a time.
    const auto stopped = [&] { return options.stop && options.stop->load(std::memory_order_relaxed); };
    bool ok = false;
    bool broken = false;
    try {
        Measure m(grid, options, s);
        ok = !stopped() && m.prepare(options.selection.needs(), error);
        if (ok)
            collectMetricValues(m, options, out);
    } catch (const StopFlag::Stopped&) {
        broken = true;
    }
    if (broken || stopped()) {
        out.clear();
        ok = fail(error, "stopped");
    }
    // A pass broken off leaves the buffers half filled.
    if (broken || grid.cells.size() > KeptCells)
        s.release();
    return ok;
}

bool labelPatches(const GridView& grid, int neighbours, std::vector<int32_t>& ids, std::string* error)
{
    ids.clear();
    MetricsOptions options;
    options.neighbours = neighbours;
    if (const std::string why = checkMetricsOptions(options); !why.empty())
        return fail(error, why);
    if (!checkGrid(grid, error))
        return false;
    MeasureScratch& s = scratch();
    bool ok;
    {
        Measure m(grid, options, s);
        ok = m.prepare(NeedPatches, error);
        if (ok) {
            const std::vector<int32_t>& order = m.patchOrder();
            std::vector<int32_t> idOf(order.size());
            for (size_t i = 0; i < order.size(); ++i)
                idOf[static_cast<size_t>(order[i])] = static_cast<int32_t>(i) + 1;
            ids.assign(grid.cells.size(), 0);
            const PatchRaster& raster = s.raster;
            for (int r = 0; r < raster.rows; ++r)
                for (int32_t j = raster.rowRuns[static_cast<size_t>(r)]; j < raster.rowRuns[static_cast<size_t>(r) + 1]; ++j) {
                    const CellRun& run = raster.runs[static_cast<size_t>(j)];
                    if (run.patch < 0)
                        continue;
                    const size_t row = static_cast<size_t>(r) * static_cast<size_t>(grid.cols);
                    for (int c = run.start; c < run.end; ++c)
                        ids[row + static_cast<size_t>(c)] = idOf[static_cast<size_t>(run.patch)];
                }
        }
    }
    if (grid.cells.size() > KeptCells)
        s.release();
    return ok;
}

}  // namespace orvalis
