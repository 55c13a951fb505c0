#include "cli/GdalApi.h"
#include "cli/Modules.h"

// orvalis-cli's side of the functions that call GDAL: each loads orvalis-gdal.so the first time a
// raster is read or written, and says so plainly when the module is not installed.
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

bool writeAsciiGrid(const std::string& path, const WindowGrid& grid, const GeoTransform& window,
                    const std::string& esriWkt, std::string* error, std::int64_t* noDataWritten)
{
    std::string why;
    if (const cli::GdalApi* api = gdal(why))
        return api->writeAsciiGrid(path, grid, window, esriWkt, error, noDataWritten);
    return missing(error, why);
}

bool writeGeoTiff(const std::string& path, const WindowGrid& grid, const std::optional<GeoTransform>& window,
                  const std::string& wkt, std::string* error)
{
    std::string why;
    if (const cli::GdalApi* api = gdal(why))
        return api->writeGeoTiff(path, grid, window, wkt, error);
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

}  // namespace orvalis
