#pragma once

#include "core/io/SafeFile.h"
#include "core/map/GeoTransform.h"

#include <cstdint>
#include <optional>
#include <string>

namespace orvalis {

// The cells of one window as the writers take them.
struct WindowGrid {
    std::int64_t width = 0;
    std::int64_t height = 0;
    const std::int64_t* values = nullptr;   // width x height, row-major, in the map's row order
    const unsigned char* noData = nullptr;  // optional, nonzero where a cell is no-data
};

// The no-data value an ESRI ASCII grid window declares and writes for no-data cells.
constexpr std::int64_t AsciiGridNoData = -9999;

// Why windows of a map with this frame cannot be ESRI ASCII grids, whose header knows only a
// lower-left corner and one cell size; empty when they can.
std::string asciiGridRefusal(const GeoTransform& map);

// Writes an ESRI ASCII grid (.asc): the header (corner and cell size from window, the window's
// own frame, in the shortest text that reads back exactly), then one line per row, north first.
// With esriWkt not empty the same name with .prj holds it. Each file appears under its name only
// when complete; false, leaving no new file behind, with a message. NODATA_value is
// AsciiGridNoData unless a cell's class holds it; then one below every class, given in *noDataWritten.
// beforeNaming, when given, is called once the grid is complete, before it takes its name.
bool writeAsciiGrid(const std::string& path, const WindowGrid& grid, const GeoTransform& window,
                    const std::string& esriWkt, std::string* error, std::int64_t* noDataWritten = nullptr,
                    const BeforeNaming& beforeNaming = {});

// Writes a single-band GeoTIFF, DEFLATE-compressed, in the smallest of Byte, UInt16, Int16,
// UInt32 and Int32 that holds the values, with the window's frame (when given) and the CRS
// (WKT, when not empty); no no-data value is declared. Appears under its name only when complete,
// after beforeNaming when given.
bool writeGeoTiff(const std::string& path, const WindowGrid& grid, const std::optional<GeoTransform>& window,
                  const std::string& wkt, std::string* error, const BeforeNaming& beforeNaming = {});

}  // namespace orvalis
