#pragma once

#include "core/map/GeoTransform.h"
#include "core/metrics/MetricCatalogue.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvalis {

enum class WindowShape : unsigned char { Square, Circle };

const char* shapeName(WindowShape shape);  // "square", "circle"

// The largest window side: a window's cells must fit the metrics' grids (32-bit cell indices).
constexpr int MaxWindow = 46339;

// Where the windows of a surface lie on its map. Output cell (i, j) holds the window centred on
// map cell (row i * step, column j * step), counted from the map's north-west corner from 0; the
// surface's cells are step map cells wide and centred on those map cells.
struct SurfaceGrid {
    std::int64_t mapWidth = 0;
    std::int64_t mapHeight = 0;
    int window = 3;  // odd, >= 3
    WindowShape shape = WindowShape::Square;
    int step = 1;

    int halo() const { return (window - 1) / 2; }
    std::int64_t width() const { return (mapWidth + step - 1) / step; }
    std::int64_t height() const { return (mapHeight + step - 1) / step; }
};

// Why the grid cannot be computed (even or too small a window, a step below 1, an empty map); empty when it can.
std::string checkSurfaceGrid(const SurfaceGrid& grid);

// The surface's frame: cells step times the map's, the first one centred on the map's first cell,
// so (step - 1) / 2 map cells north and west of the map's corner.
GeoTransform surfaceFrame(const GeoTransform& map, int step);

// Per row of a circular window, from the top: the columns each side of the centre column whose
// cell centres lie within (window - 1) / 2 cells of the centre cell's centre. A square's are all halo().
std::vector<int> windowExtents(int window, WindowShape shape);

// One band of a surface: a landscape metric, or a class metric of one class of the map.
struct SurfaceBand {
    const MetricDef* def = nullptr;
    int cls = -1;       // the class's place among the map's classes; -1 at landscape level
    std::string name;   // "shdi", "pland_41"
};

// Class metrics first, each over the classes ascending, then the landscape metrics, each in the
// selection's order. classes: the map's class values, ascending.
std::vector<SurfaceBand> surfaceBands(const MetricSelection& selection, const std::vector<int>& classes);

}  // namespace orvalis
