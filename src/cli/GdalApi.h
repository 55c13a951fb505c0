#pragma once

#include "core/map/PatchMap.h"
#include "core/map/RasterGrid.h"
#include "core/map/WindowWriters.h"
#include "core/sampler/MapSampleRun.h"

// The functions of the full core that call GDAL, as orvalis-gdal.so hands them to orvalis-cli
// (`orvalis_gdal_api`): the program keeps the light core and calls these only for a raster.
namespace orvalis::cli {

struct GdalApi {
    decltype(&orvalis::readRasterGrid) readRasterGrid;
    decltype(&orvalis::writeAsciiGrid) writeAsciiGrid;
    decltype(&orvalis::writeGeoTiff) writeGeoTiff;
    decltype(&orvalis::writePatchMap) writePatchMap;
    decltype(&orvalis::runMapSample) runMapSample;
};

}  // namespace orvalis::cli
