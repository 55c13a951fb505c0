#pragma once

#include <array>
#include <cstdint>

namespace orvalis {

// GDAL's affine frame of a map: the map coordinates of column x, row y (cell corners at whole
// numbers) are (t[0] + x t[1] + y t[2], t[3] + x t[4] + y t[5]).
using GeoTransform = std::array<double, 6>;

struct MapPoint {
    double x = 0;
    double y = 0;
};

// Map coordinates of a point given as a column and a row, both counted from the map's
// north-west corner.
MapPoint mapPoint(const GeoTransform& t, double column, double row);

// The frame of a window whose first cell is the map's column, row: the origin moves to that
// cell's corner, the cell vectors stay.
GeoTransform windowGeoTransform(const GeoTransform& map, std::int64_t column, std::int64_t row);

// Rows run along the y axis and columns along x, with no rotation terms.
bool unrotated(const GeoTransform& t);
// Unrotated, columns growing east and rows growing south, as most maps are stored.
bool northUp(const GeoTransform& t);
// Both cell sides equally long and at a right angle.
bool squareCells(const GeoTransform& t);

}  // namespace orvalis
