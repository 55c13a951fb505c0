#include "cli/GdalApi.h"
#include "cli/Modules.h"

// orvalis-cli's side of the functions and classes that call GDAL: each loads orvalis-gdal.so the
// first time a raster or a layer is read or written, and says so plainly when the module is not
// installed. RasterWindows keeps its members here and has the module work on them.
namespace orvalis {

namespace {

const cli::GdalApi* gdal(std::string& error)
{
    using Entry = const cli::GdalApi* (*)();
    if (auto entry = reinterpret_cast<Entry>(cli::moduleSymbol(cli::GdalModule, "orvalis_gdal_api", error)))
        return entry();
    error = "reading and writing maps through GDAL is not installed: " + error;
    return nullptr;
}

bool missing(std::string* error, const std::string& why)
{
    if (error)
        *error = why;
    return false;
}

}  // namespace

bool readRasterGrid(const std::string& path, LandscapeGrid& grid, RasterGridInfo& info, std::string* error,
                    std::uint64_t maxCells)
{
    std::string why;
    if (const cli::GdalApi* api = gdal(why))
        return api->readRasterGrid(path, grid, info, error, maxCells);
    grid.clear();
    info = {};
    return missing(error, why);
}

std::optional<double> rasterCellSize(const std::string& path)
{
    std::string why;
    if (const cli::GdalApi* api = gdal(why))
        return api->rasterCellSize(path);
    return std::nullopt;
}

bool writeAsciiGrid(const std::string& path, const WindowGrid& grid, const GeoTransform& window,
                    const std::string& esriWkt, std::string* error, std::int64_t* noDataWritten,
                    const BeforeNaming& beforeNaming)
{
    std::string why;
    if (const cli::GdalApi* api = gdal(why))
        return api->writeAsciiGrid(path, grid, window, esriWkt, error, noDataWritten, beforeNaming);
    return missing(error, why);
}

bool writeGeoTiff(const std::string& path, const WindowGrid& grid, const std::optional<GeoTransform>& window,
                  const std::string& wkt, std::string* error, const BeforeNaming& beforeNaming)
{
    std::string why;
    if (const cli::GdalApi* api = gdal(why))
        return api->writeGeoTiff(path, grid, window, wkt, error, beforeNaming);
    return missing(error, why);
}

bool writePatchMap(const std::string& source, const std::string& path, int rows, int cols,
                   const std::vector<std::int32_t>& ids, std::string* error)
{
    std::string why;
    if (const cli::GdalApi* api = gdal(why))
        return api->writePatchMap(source, path, rows, cols, ids, error);
    return missing(error, why);
}

// A TGA image is sampled without the module; a map needs it.
SampleResult runMapSample(const SampleParameters& parameters, RandomSource& random, RunControl& control)
{
    std::string why;
    if (const cli::GdalApi* api = gdal(why))
        return api->runMapSample(parameters, random, control);
    SampleResult result;
    result.status = RunStatus::Failed;
    result.stop = SampleStop::NoImage;
    result.message = why;
    return result;
}

bool readSiteList(const std::string& path, const SiteListOptions& options, std::vector<Site>& sites,
                  std::vector<std::string>& warnings, SiteListError& error)
{
    std::string why;
    if (const cli::GdalApi* api = gdal(why))
        return api->readSiteList(path, options, sites, warnings, error);
    error = {why, false};
    return false;
}

RunResult runSurface(const SurfaceParameters& p, RunControl& control)
{
    std::string why;
    if (const cli::GdalApi* api = gdal(why))
        return api->runSurface(p, control);
    RunResult result;
    result.status = RunStatus::Failed;
    result.message = why;
    return result;
}

RunResult mergeSurface(const std::vector<std::string>& parts, const std::string& output, int jobs, RunControl& control)
{
    std::string why;
    if (const cli::GdalApi* api = gdal(why))
        return api->mergeSurface(parts, output, jobs, control);
    RunResult result;
    result.status = RunStatus::Failed;
    result.message = why;
    return result;
}

RasterWindows::RasterWindows() = default;

RasterWindows::~RasterWindows()
{
    // A dataset was opened by the module, which is therefore loaded.
    std::string why;
    if (dataset_)
        if (const cli::GdalApi* api = gdal(why))
            api->closeDataset(dataset_);
}

bool RasterWindows::open(const std::string& path, int band, const HabitatClasses& habitat, std::string* error)
{
    std::string why;
    if (const cli::GdalApi* api = gdal(why))
        return (this->*(api->openWindows))(path, band, habitat, error);
    return missing(error, why);
}

bool RasterWindows::read(std::int64_t x0, std::int64_t y0, int w, int h, std::vector<int>& cells, std::string* error)
{
    std::string why;
    if (const cli::GdalApi* api = gdal(why))
        return (this->*(api->readWindows))(x0, y0, w, h, cells, error);
    return missing(error, why);
}

// Without the module no map is read, and there is no cache to bound: -1 says so to the destructor.
GdalCacheLimit::GdalCacheLimit(std::int64_t bytes) : previous_(-1)
{
    std::string why;
    if (const cli::GdalApi* api = gdal(why))
        previous_ = api->limitCache(bytes);
}

GdalCacheLimit::~GdalCacheLimit()
{
    std::string why;
    if (previous_ >= 0)
        if (const cli::GdalApi* api = gdal(why))
            api->restoreCache(previous_);
}

}  // namespace orvalis
