#include "core/surface/SurfaceRun.h"

#include "core/map/GdalSupport.h"
#include "core/map/RasterWindows.h"
#include "core/run/RunChecks.h"
#include "core/surface/SurfaceEngine.h"
#include "core/surface/SurfaceFile.h"

#include <gdal_priv.h>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <map>
#include <thread>
#include <unordered_set>

namespace orvalis {

namespace {

RunResult refused(const std::string& why)
{
    RunResult r;
    r.status = RunStatus::Refused;
    r.message = why;
    return r;
}

RunResult failed(const std::string& why)
{
    RunResult r;
    r.status = RunStatus::Failed;
    r.message = why;
    return r;
}

RunResult cancelled()
{
    RunResult r;
    r.status = RunStatus::Cancelled;
    return r;
}

// Rows read at once while the map is scanned: a few million cells.
int scanRows(std::int64_t width)
{
    return static_cast<int>(std::clamp<std::int64_t>((std::int64_t{1} << 22) / width, 1, 4096));
}

// The place of each class among the map's classes, by a table over their range when it is narrow.
class ClassIndex {
public:
    explicit ClassIndex(const std::vector<int>& classes) : classes_(classes)
    {
        if (classes.empty())
            return;
        low_ = classes.front();
        const std::int64_t range = static_cast<std::int64_t>(classes.back()) - low_ + 1;
        if (range <= (std::int64_t{1} << 24)) {
            table_.assign(static_cast<std::size_t>(range), -1);
            for (std::size_t k = 0; k < classes.size(); ++k)
                table_[static_cast<std::size_t>(static_cast<std::int64_t>(classes[k]) - low_)] = static_cast<int>(k);
        }
    }

    // -1 for a class the map was not found to hold.
    int operator()(int value) const
    {
        if (!table_.empty()) {
            const std::int64_t at = static_cast<std::int64_t>(value) - low_;
            return at >= 0 && at < static_cast<std::int64_t>(table_.size()) ? table_[static_cast<std::size_t>(at)] : -1;
        }
        const auto it = std::lower_bound(classes_.begin(), classes_.end(), value);
        return it != classes_.end() && *it == value ? static_cast<int>(it - classes_.begin()) : -1;
    }

private:
    const std::vector<int>& classes_;
    std::int64_t low_ = 0;
    std::vector<int> table_;
};

// Every class of the map, ascending: one pass over its rows.
bool scanClasses(RasterWindows& map, std::vector<int>& classes, RunControl& control, bool& stopped, std::string* error)
{
    constexpr int Low = -32768, High = 65535;
    std::vector<unsigned char> seen(static_cast<std::size_t>(High - Low + 1), 0);
    std::unordered_set<int> others;
    std::vector<int> cells;
    const int rows = scanRows(map.width());
    for (std::int64_t y = 0; y < map.height(); y += rows) {
        const int n = static_cast<int>(std::min<std::int64_t>(rows, map.height() - y));
        if (!map.read(0, y, static_cast<int>(map.width()), n, cells, error))
            return false;
        for (const int v : cells) {
            if (v == RasterWindows::Outside)
                continue;
            if (v >= Low && v <= High)
                seen[static_cast<std::size_t>(v - Low)] = 1;
            else
                others.insert(v);
        }
        if (!control.report({y + n, map.height(), "reading the classes", -1})) {
            stopped = true;
            return true;
        }
    }
    classes.assign(others.begin(), others.end());
    for (int v = Low; v <= High; ++v)
        if (seen[static_cast<std::size_t>(v - Low)])
            classes.push_back(v);
    std::sort(classes.begin(), classes.end());
    return true;
}

std::string habitatText(const HabitatClasses& habitat)
{
    std::string text;
    const std::vector<std::int64_t>& v = habitat.values();
    for (std::size_t i = 0; i < v.size();) {
        std::size_t j = i;
        while (j + 1 < v.size() && v[j + 1] == v[j] + 1)
            ++j;
        text += (text.empty() ? "" : ",") + std::to_string(v[i]) + (j > i ? "-" + std::to_string(v[j]) : "");
        i = j + 1;
    }
    return text;
}

std::string shortest(double v)
{
    char text[32];
    const auto r = std::to_chars(text, text + sizeof text, v);
    return std::string(text, r.ptr);
}

int jobsOf(int jobs)
{
    return jobs > 0 ? jobs : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

}  // namespace

std::string checkSurfaceParameters(const SurfaceParameters& p)
{
    SurfaceGrid g{1, 1, p.window, p.shape, p.step};
    if (std::string why = checkSurfaceGrid(g); !why.empty())
        return why;
    if (p.tiles < 1 || p.tile < 1 || p.tile > p.tiles)
        return "a tile is K/N with 1 <= K <= N";
    if (p.metrics.selection.hasLevel(MetricLevel::Patch))
        return "a surface holds class and landscape metrics, one value per window: patch metrics have none";
    if (p.metrics.selection.metrics().empty())
        return "no metric to compute";
    if (p.cellSize && !(*p.cellSize > 0))
        return "the cell size must be a positive number";
    return checkMetricsOptions(p.metrics);
}

std::string surfaceOptionsText(const SurfaceParameters& p, double cellSize)
{
    const MetricsOptions& m = p.metrics;
    const char* base = m.base == LogBase::Log2 ? "log2" : m.base == LogBase::Ln ? "log" : "log10";
    return "band=" + std::to_string(p.band) + " habitat=" + (p.habitat.empty() ? "none" : habitatText(p.habitat)) +
           " cell-size=" + shortest(cellSize) + " neighbours=" + std::to_string(m.neighbours) +
           " edge-depth=" + std::to_string(m.edgeDepth) + " count-boundary=" + (m.countBoundary ? "yes" : "no") +
           " consider-boundary=" + (m.considerBoundary ? "yes" : "no") + " cell-center=" + (m.cellCenter ? "yes" : "no") +
           " classes-max=" + (m.classesMax ? std::to_string(*m.classesMax) : "none") + " base=" + base +
           " convention=" + (m.convention == MetricConvention::Fragstats ? "fragstats" : "landscapemetrics");
}

RunResult runSurface(const SurfaceParameters& p, RunControl& control)
{
    if (std::string why = checkSurfaceParameters(p); !why.empty())
        return refused(why);
    // Known before the map's classes are scanned, which may take long.
    if (std::string why = checkOutputFolder(std::filesystem::path(p.output).parent_path()); !why.empty())
        return refused("cannot write " + p.output + ": " + why);
    RasterWindows map;
    std::string why;
    if (!map.open(p.map, p.band, p.habitat, &why))
        return failed(why.find(p.map) == std::string::npos ? p.map + ": " + why : why);
    SurfaceSetup setup;
    setup.grid = {map.width(), map.height(), p.window, p.shape, p.step};
    if (std::string bad = checkSurfaceGrid(setup.grid); !bad.empty())
        return refused(p.map + ": " + bad);
    if (p.tiles > setup.grid.height())
        return refused("--tile " + std::to_string(p.tile) + "/" + std::to_string(p.tiles) + ": the surface has only " +
                       std::to_string(setup.grid.height()) + " rows to share");
    setup.cellSize = map.cellSize().value_or(p.cellSize.value_or(1.0));
    setup.metrics = p.metrics;
    setup.jobs = jobsOf(p.jobs);

    // Every part must name the same bands, so the classes come from the whole map.
    if (!p.habitat.empty()) {
        setup.classes = {0, 1};
    } else {
        bool stopped = false;
        if (!scanClasses(map, setup.classes, control, stopped, &why))
            return failed(p.map + ": " + why);
        if (stopped)
            return cancelled();
    }
    SurfaceEngine engine(setup);
    SurfaceDescription d;
    d.mapWidth = setup.grid.mapWidth;
    d.mapHeight = setup.grid.mapHeight;
    d.window = p.window;
    d.shape = p.shape;
    d.step = p.step;
    d.options = surfaceOptionsText(p, setup.cellSize);
    for (const SurfaceBand& b : engine.bands())
        d.bands.push_back(b.name);
    if (d.bands.empty())
        return refused(p.map + ": it holds no class, so its class metrics have no band");
    if (map.hasFrame())
        d.frame = surfaceFrame(map.frame(), p.step);
    d.wkt = map.wkt();
    const std::optional<SurfacePart> part =
        p.tiles > 1 ? std::optional<SurfacePart>(surfacePart(setup.grid.height(), p.tile, p.tiles)) : std::nullopt;

    SurfaceWriter writer;
    if (!writer.create(p.output, d, part, setup.jobs, &why))
        return failed(why);
    const ClassIndex index(setup.classes);
    std::vector<int> cells;
    const std::int64_t width = map.width();
    auto read = [&](std::int64_t y0, int rows, int* out, std::string* error) {
        if (!map.read(0, y0, static_cast<int>(width), rows, cells, error)) {
            *error = p.map + ": " + *error;
            return false;
        }
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const int v = cells[i];
            out[i] = v == RasterWindows::Outside ? ClassRows::Outside : index(v);
            if (v != RasterWindows::Outside && out[i] < 0) {
                *error = p.map + ": class " + std::to_string(v) + " appeared after the map was first read";
                return false;
            }
        }
        return true;
    };
    auto take = [&](std::int64_t, int rows, const double* values, std::string* error) {
        return writer.append(values, rows, error);
    };
    const std::int64_t first = part ? part->firstRow : 0;
    const std::int64_t last = part ? part->firstRow + part->rows : setup.grid.height();
    if (!engine.run(first, last, read, take, control, &why)) {
        writer.abandon();
        return failed(why);
    }
    if (control.isCanceled()) {
        writer.abandon();
        return cancelled();
    }
    if (!writer.finish(&why))
        return failed(why);
    RunResult r;
    r.files.push_back(p.output);
    return r;
}

RunResult mergeSurface(const std::vector<std::string>& parts, const std::string& output, int jobs, RunControl& control)
{
    if (parts.empty())
        return refused("name the parts to merge");
    if (std::string why = checkOutputFolder(std::filesystem::path(output).parent_path()); !why.empty())
        return refused("cannot write " + output + ": " + why);
    std::vector<SurfaceDescription> descriptions(parts.size());
    std::map<int, std::size_t> byTile;
    int tiles = 0;
    std::string why;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        std::optional<SurfacePart> part;
        if (!readSurfaceDescription(parts[i], descriptions[i], part, &why))
            return refused(parts[i] + ": " + why);
        if (!part)
            return refused(parts[i] + ": it is a whole surface, not a part of a --tile run");
        const SurfaceDescription& a = descriptions.front();
        const SurfaceDescription& b = descriptions[i];
        std::string differs;
        if (a.mapWidth != b.mapWidth || a.mapHeight != b.mapHeight)
            differs = "map size";
        else if (a.window != b.window || a.shape != b.shape)
            differs = "window";
        else if (a.step != b.step)
            differs = "step";
        else if (a.bands != b.bands)
            differs = "metrics or classes";
        else if (a.options != b.options)
            differs = "metric options";
        else if (!(a == b))
            differs = "frame or coordinate system";
        if (!differs.empty())
            return refused(parts[i] + " does not belong with " + parts.front() + ": its " + differs + " differs");
        if (i == 0)
            tiles = part->tiles;
        if (part->tiles != tiles)
            return refused(parts[i] + " is part " + std::to_string(part->tile) + "/" + std::to_string(part->tiles) +
                           ", not of " + std::to_string(tiles) + " parts like " + parts.front());
        if (byTile.count(part->tile))
            return refused("part " + std::to_string(part->tile) + "/" + std::to_string(tiles) + " is given twice: " +
                           parts[byTile[part->tile]] + " and " + parts[i]);
        const SurfacePart expected = surfacePart(b.height(), part->tile, tiles);
        if (part->firstRow != expected.firstRow || part->rows != expected.rows)
            return refused(parts[i] + ": its rows are not those of part " + std::to_string(part->tile) + "/" +
                           std::to_string(tiles));
        byTile[part->tile] = i;
    }
    std::string missing;
    for (int t = 1; t <= tiles; ++t)
        if (!byTile.count(t))
            missing += (missing.empty() ? "" : ", ") + std::to_string(t) + "/" + std::to_string(tiles);
    if (!missing.empty())
        return refused("missing part" + std::string(missing.find(',') != std::string::npos ? "s " : " ") + missing);

    const SurfaceDescription& d = descriptions.front();
    SurfaceWriter writer;
    if (!writer.create(output, d, std::nullopt, jobsOf(jobs), &why))
        return failed(why);
    const std::size_t bands = d.bands.size();
    const std::int64_t width = d.width();
    const int chunk = SurfaceWriter::tileRows(width, d.height(), bands);
    std::vector<float> read(static_cast<std::size_t>(chunk) * bands * static_cast<std::size_t>(width));
    std::vector<double> rows(read.size());
    std::int64_t done = 0;
    for (int t = 1; t <= tiles; ++t) {
        const std::string& path = parts[byTile[t]];
        GdalErrorScope errors;
        GDALDataset* ds = GDALDataset::Open(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY);
        if (!ds) {
            writer.abandon();
            return failed(path + ": " + GdalErrorScope::message("GDAL cannot read it"));
        }
        const std::int64_t height = ds->GetRasterYSize();
        for (std::int64_t y = 0; y < height; y += chunk) {
            const int n = static_cast<int>(std::min<std::int64_t>(chunk, height - y));
            // Rows one after another, each with every band: as the writer takes them.
            const GSpacing pixel = sizeof(float), line = static_cast<GSpacing>(bands * static_cast<std::size_t>(width)) * pixel,
                           band = static_cast<GSpacing>(width) * pixel;
            if (ds->RasterIO(GF_Read, 0, static_cast<int>(y), static_cast<int>(width), n, read.data(), static_cast<int>(width),
                             n, GDT_Float32, static_cast<int>(bands), nullptr, pixel, line, band, nullptr) != CE_None) {
                const std::string reason = GdalErrorScope::message("GDAL gave no reason");
                GDALClose(GDALDataset::ToHandle(ds));
                writer.abandon();
                return failed(path + ": " + reason);
            }
            const std::size_t values = static_cast<std::size_t>(n) * bands * static_cast<std::size_t>(width);
            std::copy(read.begin(), read.begin() + static_cast<std::ptrdiff_t>(values), rows.begin());
            if (!writer.append(rows.data(), n, &why)) {
                GDALClose(GDALDataset::ToHandle(ds));
                writer.abandon();
                return failed(why);
            }
            done += n;
            if (!control.report({done, d.height(), "rows", -1})) {
                GDALClose(GDALDataset::ToHandle(ds));
                writer.abandon();
                return cancelled();
            }
        }
        GDALClose(GDALDataset::ToHandle(ds));
    }
    if (!writer.finish(&why))
        return failed(why);
    RunResult r;
    r.files.push_back(output);
    return r;
}

}  // namespace orvalis
