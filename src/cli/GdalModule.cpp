#include "cli/GdalApi.h"

#include <gdal_priv.h>

#include <algorithm>

// orvalis-gdal.so: the full core's functions that call GDAL, for orvalis-cli (GdalProxies.cpp).

using orvalis::cli::GdalApi;

extern "C" const GdalApi* orvalis_gdal_api()
{
    static const GdalApi api{
        orvalis::readRasterGrid,
        orvalis::writeAsciiGrid,
        orvalis::writeGeoTiff,
        orvalis::writePatchMap,
        orvalis::runMapSample,
        orvalis::readSiteList,
        orvalis::runSurface,
        orvalis::mergeSurface,
        &orvalis::RasterWindows::open,
        &orvalis::RasterWindows::read,
        [](GDALDataset* dataset) { GDALClose(GDALDataset::ToHandle(dataset)); },
        [](std::int64_t bytes) {
            const std::int64_t previous = GDALGetCacheMax64();
            GDALSetCacheMax64(std::min(previous, bytes));
            return previous;
        },
        [](std::int64_t previous) { GDALSetCacheMax64(previous); },
        orvalis::rasterCellSize,
    };
    return &api;
}
