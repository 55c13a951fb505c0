#include "core/map/BandedRaster.h"

#include "core/map/GdalSupport.h"
#include "core/map/RasterWindows.h"

#include <algorithm>
#include <climits>

namespace orvalis {

bool rasterExtent(const std::string& path, std::int64_t& width, std::int64_t& height, std::string* error)
{
    RasterWindows raster;
    if (!raster.open(path, 1, {}, error))
        return false;
    width = raster.width();
    height = raster.height();
    return true;
}

int bandRowsFor(std::int64_t cols)
{
    return static_cast<int>(std::clamp<std::int64_t>((std::int64_t{1} << 20) / std::max<std::int64_t>(cols, 1), 1, 4096));
}

bool measureRasterByBands(const std::string& path, double& cellSize, const std::optional<int>& noData,
                          const MetricsOptions& options, std::vector<MetricValue>& out, std::string* error,
                          std::string* sizeNote, const std::function<bool(double)>& progress)
{
    out.clear();
    RasterWindows raster;
    if (!raster.open(path, 1, {}, error))
        return false;
    if (raster.width() > INT_MAX || raster.height() > INT_MAX) {
        if (error)
            *error = "it holds more than " + std::to_string(INT_MAX) + " rows or columns";
        return false;
    }
    if (raster.cellSize())
        cellSize = *raster.cellSize();
    if (sizeNote)
        *sizeNote = raster.cellSize() ? std::string() : raster.cellSizeNote().empty() ? "its frame gives no cell size"
                                                                                     : raster.cellSizeNote();
    // Only the blocks of the rows being read stay in GDAL's cache.
    const GdalCacheLimit cache(RasterWindows::CacheBytes);
    RowBands bands;
    bands.rows = static_cast<int>(raster.height());
    bands.cols = static_cast<int>(raster.width());
    bands.bandRows = bandRowsFor(raster.width());
    bands.noData = RasterWindows::Outside;
    bands.cellSize = cellSize;
    bands.progress = progress;
    std::vector<int> cells;
    bands.read = [&](int first, int count, int* into, std::string* why) {
        if (!raster.read(0, first, bands.cols, count, cells, why))
            return false;
        for (int& v : cells)
            if (noData && v == *noData)
                v = RasterWindows::Outside;
        std::copy(cells.begin(), cells.end(), into);
        return true;
    };
    return computeMetricsByBands(bands, options, out, error);
}

}  // namespace orvalis
