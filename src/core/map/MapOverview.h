#pragma once

#include "core/map/GeoTransform.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvalis {

class RunControl;

// A reduced picture of a TGA image or a GIS map, for drawing the whole map at once: each pixel
// holds the value of the map cell at its centre (nearest neighbour), rows north first.
struct MapOverview {
    std::int64_t mapWidth = 0;   // cells of the map
    std::int64_t mapHeight = 0;
    int width = 0;               // pixels of the overview
    int height = 0;
    // Row-major, north first. A TGA gives 1 for habitat (the sampler's dark pixels) and 0 for
    // the matrix; a GIS map its band's values. Empty for a real-valued band, whose values are in reals.
    std::vector<std::int32_t> values;
    // A floating-point band's values, as values would be; NaN where the band has no data.
    std::vector<float> reals;
    std::optional<std::int32_t> noData;
    // 0xAARRGGBB of value k, when the map brings a colour table (a TGA gets one for its two values,
    // a map holding only NLCD classes NLCD's legend).
    std::vector<std::uint32_t> colours;
    bool tga = false;
    bool real = false;  // a floating-point band: a surface of values rather than classes
    // A GIS map's bands by their descriptions (a surface's metric names), in order; empty for a TGA.
    std::vector<std::string> bandNames;
    // The map's stored row 0 is its south edge (a TGA without the top-origin bit): the search's
    // rows then run south to north.
    bool firstRowSouth = false;
    // A GIS map's frame, when it has one; unset for a TGA.
    std::optional<GeoTransform> frame;
    bool geographic = false;     // the frame is in degrees of longitude and latitude
    bool projected = false;      // the frame is in a projected system's unit:
    double metresPerUnit = 1.0;  // that many metres, for a scale bar
    // Names of the class values, by value, where the band names them (or NLCD's names); empty
    // names for the values it leaves unnamed.
    std::vector<std::string> categories;
    bool nlcd = false;  // drawn and named with NLCD's legend

    // Map cells per overview pixel along each axis (1 when the map is no larger than asked).
    double cellsPerPixelX() const { return width ? static_cast<double>(mapWidth) / width : 1.0; }
    double cellsPerPixelY() const { return height ? static_cast<double>(mapHeight) / height : 1.0; }
    std::int32_t at(int column, int row) const
    {
        return values[static_cast<std::size_t>(row) * static_cast<std::size_t>(width) + static_cast<std::size_t>(column)];
    }
};

// Reads an overview at most maxSide pixels on the map's long side, never the whole map: a TGA
// row by row, only the rows it samples; a GIS map (band) in pieces through reduced GDAL reads,
// which take the file's own overviews when it has them, and pieces GDAL knows to hold no data
// (a sparse GeoTIFF's missing blocks) are filled without reading. threads: bands of rows a GIS
// map is read in at once, 0 for one per core on a large map without overviews. control, when
// given, hears progress in overview pixels and stops the read. False with why when the map
// cannot be read or the read was stopped.
bool readMapOverview(const std::string& path, int maxSide, MapOverview& out, std::string* why, int band = 1,
                     int threads = 0, RunControl* control = nullptr);

// A map cell counted from the north-west corner of the map as drawn.
struct MapCell {
    std::int64_t row = 0;
    std::int64_t column = 0;
    bool operator==(const MapCell&) const = default;
};

// Where the window a log names with centre (x, y) and side lies on the map drawn north-up.
// The search counts rows in the map's stored order and the window covers stored rows
// [y - side/2, y + side/2) and columns [x - side/2, x + side/2); on a south-first TGA stored row r
// is drawn as row mapHeight - 1 - r, so the window's first stored row is its southern one.
struct LoggedWindow {
    MapCell northWest;  // first cell of the window as drawn
    int side = 0;
    // The cell the log's (x, y) names: stored row y, column x, the first cell past the window's
    // centre corner in stored order (drawn south-east of that corner, or north-east on a south-first TGA).
    MapCell centre;
};
LoggedWindow loggedWindow(int x, int y, int side, std::int64_t mapHeight, bool firstRowSouth);

}  // namespace orvalis
