#pragma once

#include "core/map/GeoTransform.h"
#include "core/map/HabitatClasses.h"
#include "core/metrics/LandscapeMetrics.h"
#include "core/run/RunControl.h"
#include "core/sites/SiteList.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace orvalis {

enum class BufferShape { Circle, Square };

// The cells of a map around a site: those whose centres lie within the radius (a disc), or
// within the square of half-side radius. rows x cols cells from column x0 and row y0, the
// tightest rectangle of the buffer's cells on the map; inside marks the buffer's own.
struct SiteBuffer {
    std::int64_t x0 = 0, y0 = 0;
    int cols = 0, rows = 0;
    std::vector<unsigned char> inside;   // rows x cols, row after row
    std::int64_t cells = 0;              // the buffer's cells, on the map or off it
    std::int64_t onMap = 0;              // of them on the map
};

// The buffer of radius (map units) about (x, y) on a width x height map with frame, which must
// be unrotated.
SiteBuffer siteBuffer(const GeoTransform& frame, std::int64_t width, std::int64_t height, double x, double y,
                      double radius, BufferShape shape);

struct SiteMetricsParameters {
    std::string map;
    int band = 1;
    HabitatClasses habitat;              // empty: the map's classes
    std::vector<Site> sites;
    std::vector<double> radii;           // map units, ascending as given
    BufferShape shape = BufferShape::Circle;
    MetricsOptions metrics;
    std::optional<double> cellSize;      // metres, when the map's frame gives none
    int jobs = 0;                        // 0: one per core
};

// What one site gave: its rows of the table, and what the user should know.
struct SiteResult {
    std::string rows;
    std::vector<std::string> warnings;
    std::string error;   // why the site was not measured; empty when it was
};

// site,radius,level,class,id,metric,value
std::string sitesCsvHeader();

// Measures every site at every radius, the map read window by window on each worker, and hands
// each site's result to take in the sites' order. Each buffer is its own landscape: its rectangle
// with the cells outside the buffer, off the map or no-data outside the landscape; its rows begin
// with its coverage (the share of the buffer's cells on the map with data). False with *error
// when the map cannot be read at all; a site outside the map or a cell that is no class only
// fails that site. Progress counts sites; a stop leaves the sites handed over so far.
bool measureSites(const SiteMetricsParameters& p, const std::function<void(std::size_t, SiteResult&&)>& take,
                  RunControl& control, std::string* error);

}  // namespace orvalis
