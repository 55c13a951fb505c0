#pragma once

#include "core/map/RegularFile.h"

#include <cstdint>
#include <string>

class GDALDataset;

namespace orvalis {

// What the map code needs around GDAL: registration once, errors collected instead of printed
// (core never writes to the user), and a bounded block cache while a map is read.

// Registers GDAL's drivers the first time it is called; safe from any thread.
void registerGdal();

// While alive, GDAL's messages on this thread are kept for message() instead of printed.
class GdalErrorScope {
public:
    GdalErrorScope();
    ~GdalErrorScope();
    GdalErrorScope(const GdalErrorScope&) = delete;
    GdalErrorScope& operator=(const GdalErrorScope&) = delete;

    // GDAL's last error message, or fallback when it gave none.
    static std::string message(const std::string& fallback);
    // Whether GDAL reported an error (not a warning) since the scope began or was reset.
    static bool failed();
    static void reset();
};

// While alive, GDAL's block cache holds at most bytes (never more than it was allowed before),
// so that reading a map block by block keeps memory bounded.
class GdalCacheLimit {
public:
    explicit GdalCacheLimit(std::int64_t bytes);
    ~GdalCacheLimit();
    GdalCacheLimit(const GdalCacheLimit&) = delete;
    GdalCacheLimit& operator=(const GdalCacheLimit&) = delete;

private:
    std::int64_t previous_;
};

// "not a regular file" for a FIFO, a device or a socket, which GDAL would wait on for ever;
// then, unless allowVrtSources(true), why a VRT may not be read (vrtSourceRefusal); empty for
// a regular file, a folder (some formats are folders) or a path that is not on disk (GDAL's
// /vsi... names).
std::string specialFileRefusal(const std::string& path);

// Why an opened file that holds no band of its own cannot be read, naming the subdatasets a
// container (netCDF, HDF) holds, each of which opens by its name: "it holds no band of its own;
// open one of its subdatasets: NETCDF:"x.nc":a, NETCDF:"x.nc":b".
std::string noBandReason(GDALDataset& dataset);

// A VRT can make GDAL read any file the user may read (/etc/passwd as raw bands): why the VRT
// at path (or given inline, or as vrt://) may not be opened, because a source is a raw file, lies
// outside the VRT's folder or runs code; empty for anything else. Nested VRTs are followed.
std::string vrtSourceRefusal(const std::string& path);

}  // namespace orvalis
