#pragma once

#include <string>
#include <vector>

namespace orvalis {

// A field site: its name in the tables and its place in the map's coordinates.
struct Site {
    std::string id;
    double x = 0;
    double y = 0;
    std::string problem;  // why it cannot be measured (no coordinates, not a point); empty when it can
};

// How the sites file is read: which columns or fields, and the coordinate systems.
struct SiteListOptions {
    std::string idField;   // empty: a field named id, site or name if there is one, else the row number
    std::string xField;    // empty: x, else lon, longitude, easting
    std::string yField;    // empty: y, else lat, latitude, northing
    std::string sitesCrs;  // a CSV's coordinate system (EPSG:4326, a WKT, ...); empty: the map's
    std::string mapWkt;    // the map's coordinate system, which the sites are moved into
};

// Why the sites cannot be read, and whether the fault is the command line's (a column that is
// not there) rather than the file's.
struct SiteListError {
    std::string message;
    bool argument = false;
};

// Reads sites from a CSV (a header row, comma-separated, quotes as RFC 4180) or any point layer
// GDAL reads (GeoPackage, shapefile, GeoJSON, ...), moved into the map's coordinate system.
// warnings gets what the user should know (a row skipped, axes guessed).
bool readSiteList(const std::string& path, const SiteListOptions& options, std::vector<Site>& sites,
                  std::vector<std::string>& warnings, SiteListError& error);

}  // namespace orvalis
