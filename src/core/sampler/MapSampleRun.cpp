#include "core/sampler/MapSampleRun.h"

#include "core/io/BatchList.h"
#include "core/io/LandscapeWriter.h"
#include "core/io/NumberText.h"
#include "core/map/HabitatClasses.h"
#include "core/map/LandCoverMap.h"
#include "core/map/RasterGrid.h"
#include "core/map/WindowWriters.h"
#include "core/run/RunLock.h"
#include "core/sampler/WindowSearch.h"

#include <algorithm>
#include <array>
#include <climits>
#include <optional>
#include <vector>

#include <unistd.h>

namespace orvalis {

namespace {

std::filesystem::path folderOf(const std::string& path)
{
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    return parent.empty() ? std::filesystem::path(".") : parent;
}

// The search's view of a loaded map: counts from its habitat and no-data bits, windows cut
// from the bits or, keeping the classes, from the map's own values.
class MapWindowSource : public WindowSource {
public:
    MapWindowSource(LandCoverMap& map, const SampleParameters& p) : map_(map), p_(p) {}

    int width() const override { return static_cast<int>(map_.width()); }
    int height() const override { return static_cast<int>(map_.height()); }

    std::int64_t windowHabitat(int x, int y, int h) override
    {
        return static_cast<std::int64_t>(map_.habitat(x - h, y - h, x + h, y + h));
    }

    bool windowHasNoData(int x, int y, int h) override { return map_.noData(x - h, y - h, x + h, y + h) != 0; }

    std::string fileExtension() const override { return windowFormatExtension(p_.format); }

    std::string logFields(int x, int y) const override
    {
        const MapPoint at = mapPoint(map_.geoTransform(), x, y);
        return " " + shortestText(at.x) + " " + shortestText(at.y);
    }

    LandscapeGrid windowGrid(int x, int y, int h) const override
    {
        const std::size_t side = 2 * static_cast<std::size_t>(h);
        if (!cells(x - h, y - h, static_cast<int>(side), nullptr))
            return {};  // refused by the metrics engine, which stops the run with a message
        // A text grid's line k is the window's column k; the other formats are read row by row.
        const bool byColumn = p_.format == WindowFormat::Txt;
        LandscapeGrid grid(side, std::vector<int>(side));
        for (std::size_t r = 0; r < side; ++r)
            for (std::size_t c = 0; c < side; ++c)
                (byColumn ? grid[c][r] : grid[r][c]) = static_cast<int>(values_[r * side + c]);
        return grid;
    }

    bool writeWindow(int x, int y, int h, const std::string& name, std::string* error,
                     const BeforeNaming& beforeNaming = {}) override
    {
        const int side = 2 * h;
        if (!cells(x - h, y - h, side, error))
            return false;
        if (p_.format == WindowFormat::Txt)
            return writeText(side, name, error, beforeNaming);
        const GeoTransform frame = windowGeoTransform(map_.geoTransform(), x - h, y - h);
        const WindowGrid grid{side, side, values_.data()};
        if (p_.format == WindowFormat::Asc) {
            std::int64_t noData = AsciiGridNoData;
            const bool ok = writeAsciiGrid(name, grid, frame, map_.crsEsriWkt(), error, &noData, beforeNaming);
            if (ok && noData != AsciiGridNoData && noDataNote_.empty())
                noDataNote_ = "class " + std::to_string(AsciiGridNoData) + " occurs in the map: windows holding it declare "
                              "NODATA_value " + std::to_string(noData) + " (first " + name + ")";
            return ok;
        }
        return writeGeoTiff(name, grid, map_.hasGeoTransform() ? std::optional(frame) : std::nullopt, map_.crsWkt(),
                            error, beforeNaming);
    }

private:
    // The window's cell values, row-major in the map's row order.
    // The window just written is measured from the cells it was written from, not read again.
    bool cells(int x0, int y0, int side, std::string* error) const
    {
        const std::array<int, 3> window{x0, y0, side};
        if (window == held_)
            return true;
        held_ = {-1, -1, -1};
        const std::size_t n = static_cast<std::size_t>(side) * static_cast<std::size_t>(side);
        values_.resize(n);
        if (p_.keepClasses) {
            if (!map_.readClasses(x0, y0, side, side, values_, error))
                return false;
            held_ = window;
            return true;
        }
        flags_.resize(n);
        map_.habitatFlags(x0, y0, side, side, flags_.data());
        for (std::size_t i = 0; i < n; ++i)
            values_[i] = flags_[i] ? p_.coverValue : p_.matrixValue;
        held_ = window;
        return true;
    }

    // The text grid every run writes: line k is the window's column k, its values running
    // down the rows.
    bool writeText(int side, const std::string& name, std::string* error, const BeforeNaming& beforeNaming)
    {
        LandscapeWriter writer;
        if (!writer.open(name)) {
            if (error)
                *error = writer.error();
            return false;
        }
        const std::size_t n = static_cast<std::size_t>(side);
        std::vector<int> line(n);
        bool ok = true;
        for (std::size_t c = 0; ok && c < n; ++c) {
            for (std::size_t r = 0; r < n; ++r)
                line[r] = static_cast<int>(values_[r * n + c]);
            ok = writer.writeLine(line);
        }
        ok = writer.close(beforeNaming) && ok;
        if (!ok) {
            if (error)
                *error = writer.error();
            writer.discard();
        }
        return ok;
    }

    LandCoverMap& map_;
    const SampleParameters& p_;
    // The last window's cells: written, then measured.
    mutable std::vector<std::int64_t> values_;
    mutable std::vector<unsigned char> flags_;
    mutable std::array<int, 3> held_{-1, -1, -1};  // first column, first row and side of the cells held

public:
    // What the user should hear of the windows written: a class that took the usual no-data value.
    std::string noDataNote_;
};

SampleResult refusal(SampleStop stop, std::string message)
{
    SampleResult out;
    out.status = RunStatus::Refused;
    out.stop = stop;
    out.message = std::move(message);
    return out;
}

}  // namespace

std::string mapBatchListTail(WindowFormat format, double cellSize, int side)
{
    switch (format) {
    case WindowFormat::Tif: return ", x, 999, x, x, 1, x, IDF_GeoTIFF";
    case WindowFormat::Txt:
        return ", " + shortestText(cellSize) + ", 999, " + std::to_string(side) + ", " + std::to_string(side) +
               ", 1, -9999, IDF_ASCII";
    case WindowFormat::Asc:
    case WindowFormat::Default: break;
    }
    return {};
}

SampleResult runMapSample(const SampleParameters& parameters, RandomSource& random, RunControl& control)
{
    SampleParameters p = parameters;
    if (p.format == WindowFormat::Default)
        p.format = WindowFormat::Tif;
    if (p.batchList.empty())
        p.batchList = batchListName(p.prefix);
    if (p.habitatClasses.empty())
        return refusal(SampleStop::BadParameters,
                       "a land-cover map needs its habitat classes (for example 41-43 for NLCD forest)");
    HabitatClasses classes;
    std::string why;
    if (!classes.parse(p.habitatClasses, &why))
        return refusal(SampleStop::BadParameters, why);

    LandCoverMap map;
    if (!map.open(p.image.string(), p.band, &why))
        return refusal(SampleStop::NoImage, why);
    if (map.width() > INT32_MAX / 2 || map.height() > INT32_MAX / 2)
        return refusal(SampleStop::BadParameters, "the map is too large to sample");
    if (p.format == WindowFormat::Asc) {
        const std::string cannot = asciiGridRefusal(map.geoTransform());
        if (!cannot.empty())
            return refusal(SampleStop::BadParameters, cannot);
    }
    why = checkSampleParameters(p, static_cast<int>(map.width()), static_cast<int>(map.height()));
    if (!why.empty())
        return refusal(SampleStop::BadParameters, why);
    const int h = p.windowSize / 2;
    // Windows are measured with the map's cells, as orvalis-cli metrics measures a GeoTIFF window,
    // and the run's record gives them to the readers of its log.
    p.cellSize = rasterCellSize(p.image.string());
    p.crs = map.crsWkt();
    if (p.metrics && p.cellSize)
        p.metricsCellSize = *p.cellSize;
    if (p.postString.empty())
        p.postString = mapBatchListTail(p.format, map.geoTransform()[1], 2 * h);

    // The windows' folder and the lists' folders are ours until the run ends.
    RunLock lock;
    if (!lock.acquire({folderOf(windowFileName(p.folder.string(), p.prefix, 0, 0)), folderOf(p.logPath),
                       folderOf(p.batchList)}))
        return refusal(SampleStop::FolderBusy, lock.message());

    // One pass over the map, block by block; the user's Cancel stays within reach.
    ProgressEvent event;
    event.label = "Reading the map";
    event.total = 1000;
    const bool watched = control.observed();
    bool cancelled = false;
    const bool loaded = map.load(
        classes,
        [&](double fraction) {
            if (!watched)
                return true;
            event.done = static_cast<std::int64_t>(fraction * 1000.0);
            cancelled = !control.report(event);
            return !cancelled;
        },
        &why);
    if (!loaded) {
        if (cancelled) {
            SampleResult out;
            out.status = RunStatus::Cancelled;
            out.stop = SampleStop::Cancelled;
            return out;
        }
        return refusal(SampleStop::NoImage, why);
    }
    if (map.tally().valid == 0)
        return refusal(SampleStop::BadParameters, "every cell of the map is no-data: there is nothing to sample");
    // A habitat class that is the band's no-data value names no cell: say so rather than "absent".
    std::string noDataHabitat;
    if (const std::optional<std::int64_t> nd = map.noDataClass(); nd && classes.contains(*nd))
        noDataHabitat = "class " + std::to_string(*nd) + " is the band's no-data value";
    if (map.tally().habitat == 0)
        return refusal(SampleStop::BadParameters, "none of the habitat classes " + p.habitatClasses +
                                                      " occurs in the map (band " + std::to_string(p.band) + ")" +
                                                      (noDataHabitat.empty() ? "" : "; " + noDataHabitat));
    // Windows that keep the map's classes hold them as 32-bit numbers in every format.
    const HabitatTally& tally = map.tally();
    if (p.keepClasses && (tally.beyond64 || (tally.highestClass >= tally.lowestClass &&
                                             (tally.lowestClass < INT32_MIN || tally.highestClass > INT32_MAX))))
        return refusal(SampleStop::BadParameters,
                       "the map holds classes beyond 32 bits (from " + std::to_string(tally.lowestClass) + " to " +
                           (tally.beyond64 ? std::string("past 2^63") : std::to_string(tally.highestClass)) +
                           "), which windows keeping its classes cannot hold; sample habitat and matrix instead");
    std::vector<std::string> warnings;
    if (!noDataHabitat.empty())
        warnings.push_back(noDataHabitat + ": its cells are no-data, not habitat");
    if (map.geographic())
        warnings.push_back("the map's coordinate system is geographic (degrees): cell sizes and areas of its windows "
                           "are not metric");
    for (std::int64_t absent : map.tally().singlyListedAbsent)
        if (!map.noDataClass() || absent != *map.noDataClass())
            warnings.push_back("habitat class " + std::to_string(absent) + " does not occur in the map");

    // A window of the run's format is written once, under a hidden name, before the log and the
    // list are replaced: a format GDAL cannot write there fails now, changing nothing.
    if (p.format != WindowFormat::Txt) {
        const std::string probe = (folderOf(windowFileName(p.folder.string(), p.prefix, 0, 0)) /
                                   (".orvalis-probe-" + std::to_string(::getpid()) + (p.format == WindowFormat::Asc ? ".asc" : ".tif")))
                                      .string();
        const std::int64_t cell = 0;
        const GeoTransform frame = windowGeoTransform(map.geoTransform(), 0, 0);
        std::string cannot;
        const bool ok = p.format == WindowFormat::Asc
                            ? writeAsciiGrid(probe, WindowGrid{1, 1, &cell}, frame, map.crsEsriWkt(), &cannot)
                            : writeGeoTiff(probe, WindowGrid{1, 1, &cell}, map.hasGeoTransform() ? std::optional(frame) : std::nullopt,
                                           map.crsWkt(), &cannot);
        std::filesystem::remove(probe);
        std::filesystem::remove(std::filesystem::path(probe).replace_extension(".prj"));
        if (!ok)
            return refusal(SampleStop::BadParameters, "windows cannot be written: " + cannot);
    }
    MapWindowSource source(map, p);
    SampleResult result = searchWindows(source, p, h, random, control);
    result.batchList = p.batchList;
    if (!source.noDataNote_.empty())
        warnings.push_back(source.noDataNote_);
    result.warnings.insert(result.warnings.begin(), warnings.begin(), warnings.end());
    return result;
}

}  // namespace orvalis
