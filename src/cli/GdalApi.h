#pragma once

#include "core/map/GdalSupport.h"
#include "core/map/PatchMap.h"
#include "core/map/RasterGrid.h"
#include "core/map/RasterWindows.h"
#include "core/map/WindowWriters.h"
#include "core/sampler/MapSampleRun.h"
#include "core/sites/SiteList.h"
#include "core/surface/SurfaceRun.h"

#include <cstdint>

// The functions of the full core that call GDAL, as orvalis-gdal.so hands them to orvalis-cli
// (`orvalis_gdal_api`): the program keeps the light core and calls these only for a raster.
namespace orvalis::cli {

struct GdalApi {
    decltype(&orvalis::readRasterGrid) readRasterGrid;
    decltype(&orvalis::writeAsciiGrid) writeAsciiGrid;
    decltype(&orvalis::writeGeoTiff) writeGeoTiff;
    decltype(&orvalis::writePatchMap) writePatchMap;
    decltype(&orvalis::runMapSample) runMapSample;
    decltype(&orvalis::readSiteList) readSiteList;
    decltype(&orvalis::runSurface) runSurface;
    decltype(&orvalis::mergeSurface) mergeSurface;
    // A RasterWindows lives in the program; the module opens, reads and closes its dataset.
    decltype(&RasterWindows::open) openWindows;
    decltype(&RasterWindows::read) readWindows;
    void (*closeDataset)(GDALDataset* dataset);
    // GdalCacheLimit: the limit set, giving the size before; and that size given back.
    std::int64_t (*limitCache)(std::int64_t bytes);
    void (*restoreCache)(std::int64_t previous);
    decltype(&orvalis::rasterCellSize) rasterCellSize;
};

}  // namespace orvalis::cli
