#include "core/sites/SiteMetrics.h"

#include "core/io/MetricsCsv.h"
#include "core/io/NumberText.h"
#include "core/map/GdalSupport.h"
#include "core/map/RasterWindows.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

namespace orvalis {

namespace {

// The cell indices whose centres may lie within radius of v along one axis (origin o, step d).
std::pair<std::int64_t, std::int64_t> candidates(double o, double d, double v, double radius)
{
    const double a = (v - radius - o) / d - 0.5, b = (v + radius - o) / d - 0.5;
    return {static_cast<std::int64_t>(std::floor(std::min(a, b))) - 1, static_cast<std::int64_t>(std::ceil(std::max(a, b))) + 1};
}

}  // namespace

SiteBuffer siteBuffer(const GeoTransform& t, std::int64_t width, std::int64_t height, double x, double y, double radius,
                      BufferShape shape)
{
    SiteBuffer b;
    const auto [c0, c1] = candidates(t[0], t[1], x, radius);
    const auto [r0, r1] = candidates(t[3], t[5], y, radius);
    auto within = [&](std::int64_t r, std::int64_t c) {
        const double dx = t[0] + (static_cast<double>(c) + 0.5) * t[1] - x;
        const double dy = t[3] + (static_cast<double>(r) + 0.5) * t[5] - y;
        return shape == BufferShape::Circle ? dx * dx + dy * dy <= radius * radius
                                            : std::fabs(dx) <= radius && std::fabs(dy) <= radius;
    };
    std::int64_t top = height, bottom = -1, left = width, right = -1;
    for (std::int64_t r = r0; r <= r1; ++r)
        for (std::int64_t c = c0; c <= c1; ++c)
            if (within(r, c)) {
                ++b.cells;
                if (r >= 0 && r < height && c >= 0 && c < width) {
                    ++b.onMap;
                    top = std::min(top, r);
                    bottom = std::max(bottom, r);
                    left = std::min(left, c);
                    right = std::max(right, c);
                }
            }
    if (b.onMap == 0)
        return b;
    b.x0 = left;
    b.y0 = top;
    b.cols = static_cast<int>(right - left + 1);
    b.rows = static_cast<int>(bottom - top + 1);
    b.inside.assign(static_cast<std::size_t>(b.cols) * static_cast<std::size_t>(b.rows), 0);
    for (int r = 0; r < b.rows; ++r)
        for (int c = 0; c < b.cols; ++c)
            b.inside[static_cast<std::size_t>(r) * static_cast<std::size_t>(b.cols) + static_cast<std::size_t>(c)] =
                within(top + r, left + c);
    return b;
}

std::string sitesCsvHeader()
{
    return "site,radius,level,class,id,metric,value\n";
}

namespace {

// One site at every radius, on one worker's reader, measured with metrics (p's, with the run's stop).
SiteResult measureSite(const SiteMetricsParameters& p, const MetricsOptions& metrics, const Site& site,
                       RasterWindows& map, double cellSize)
{
    SiteResult out;
    if (!site.problem.empty()) {
        out.error = site.problem;
        return out;
    }
    const GeoTransform& t = map.frame();
    const double col = (site.x - t[0]) / t[1], row = (site.y - t[3]) / t[5];
    if (!(col >= 0 && row >= 0 && col <= static_cast<double>(map.width()) && row <= static_cast<double>(map.height()))) {
        out.error = "it lies outside the map";
        return out;
    }
    std::vector<int> cells;
    std::vector<MetricValue> values;
    for (double radius : p.radii) {
        const SiteBuffer b = siteBuffer(t, map.width(), map.height(), site.x, site.y, radius, p.shape);
        const std::string leading = csvName(site.id) + "," + shortestText(radius);
        std::int64_t data = 0;
        if (b.onMap > 0) {
            std::string why;
            if (!map.read(b.x0, b.y0, b.cols, b.rows, cells, &why)) {
                out.error = why;
                out.rows.clear();
                return out;
            }
            for (std::size_t i = 0; i < cells.size(); ++i) {
                if (!b.inside[i])
                    cells[i] = RasterWindows::Outside;
                data += cells[i] != RasterWindows::Outside;
            }
        }
        const double coverage = b.cells > 0 ? static_cast<double>(data) / static_cast<double>(b.cells) : 0.0;
        out.rows += leading + ",landscape,,,coverage," + shortestText(coverage) + "\n";
        if (b.onMap < b.cells)
            out.warnings.push_back("the " + shortestText(radius) + " buffer reaches past the map's edge (coverage " +
                                   shortestText(std::round(coverage * 1e4) / 1e4) + ")");
        if (data == 0) {
            if (b.onMap == b.cells)
                out.warnings.push_back("the " + shortestText(radius) + " buffer holds no cell with data");
            continue;
        }
        std::string why;
        if (!computeMetrics(GridView{cells, b.rows, b.cols, RasterWindows::Outside, cellSize}, metrics, values, &why)) {
            out.error = why;
            out.rows.clear();
            return out;
        }
        appendMetricsRowsAfter(out.rows, leading, values);
    }
    return out;
}

}  // namespace

bool measureSites(const SiteMetricsParameters& p, const std::function<void(std::size_t, SiteResult&&)>& take,
                  RunControl& control, std::string* error)
{
    // GDAL's block cache holds what the buffers in flight touch, never the map.
    GdalCacheLimit cache(RasterWindows::CacheBytes);
    RasterWindows first;
    if (!first.open(p.map, p.band, p.habitat, error))
        return false;
    if (!first.hasFrame() || first.frame()[2] != 0.0 || first.frame()[4] != 0.0) {
        if (error)
            *error = "its frame is missing or rotated: buffers in map units need a north-up frame";
        return false;
    }
    const double cellSize = first.cellSize().value_or(p.cellSize.value_or(1.0));
    const std::size_t n = p.sites.size();
    int jobs = p.jobs > 0 ? p.jobs : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    jobs = static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(std::min(jobs, 256)), std::max<std::size_t>(n, 1)));

    // Workers run ahead of the sites handed over by a bounded margin, so memory stays flat.
    const std::size_t ahead = 64 + 16 * static_cast<std::size_t>(jobs);
    std::mutex mutex;
    std::condition_variable ready, room;
    std::map<std::size_t, SiteResult> done;
    std::size_t next = 0, handed = 0;
    bool stop = false;
    // Raised with stop: a large buffer being measured ends within a row.
    std::atomic<bool> halt{false};
    MetricsOptions metrics = p.metrics;
    metrics.stop = &halt;
    auto work = [&](RasterWindows* reader) {
        RasterWindows own;
        if (!reader) {
            std::string why;
            if (!own.open(p.map, p.band, p.habitat, &why)) {
                std::lock_guard<std::mutex> lock(mutex);
                for (; next < n; ++next)
                    done[next].error = why;
                ready.notify_all();
                return;
            }
            reader = &own;
        }
        for (;;) {
            std::size_t i;
            {
                std::unique_lock<std::mutex> lock(mutex);
                room.wait(lock, [&] { return stop || next >= n || next < handed + ahead; });
                if (stop || next >= n)
                    return;
                i = next++;
            }
            SiteResult r = measureSite(p, metrics, p.sites[i], *reader, cellSize);
            {
                std::lock_guard<std::mutex> lock(mutex);
                done[i] = std::move(r);
            }
            ready.notify_all();
        }
    };
    std::vector<std::thread> pool;
    pool.emplace_back(work, &first);
    for (int j = 1; j < jobs; ++j)
        pool.emplace_back(work, nullptr);
    bool cancelled = false;
    for (std::size_t i = 0; i < n; ++i) {
        SiteResult r;
        {
            std::unique_lock<std::mutex> lock(mutex);
            while (!ready.wait_for(lock, std::chrono::milliseconds(25), [&] { return done.count(i) != 0; })) {
                lock.unlock();
                const bool goOn = control.report(ProgressEvent{static_cast<std::int64_t>(i), static_cast<std::int64_t>(n), {}, -1});
                lock.lock();
                if (!goOn) {
                    cancelled = true;
                    break;
                }
            }
            if (cancelled)
                break;
            r = std::move(done[i]);
            done.erase(i);
            handed = i + 1;
        }
        room.notify_all();
        take(i, std::move(r));
        if (!control.report(ProgressEvent{static_cast<std::int64_t>(i + 1), static_cast<std::int64_t>(n), p.sites[i].id, -1})) {
            cancelled = true;
            break;
        }
    }
    {
        std::lock_guard<std::mutex> lock(mutex);
        stop = true;
    }
    halt.store(true, std::memory_order_relaxed);
    room.notify_all();
    for (std::thread& t : pool)
        t.join();
    if (cancelled && error)
        *error = "stopped";
    return !cancelled;
}

}  // namespace orvalis
