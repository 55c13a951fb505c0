#include "core/map/GeoTransform.h"

#include <algorithm>
#include <cmath>

namespace orvalis {

namespace {

// Cell sizes are read from text often printed with a dozen digits; closer than this is equal.
bool nearlyEqual(double a, double b)
{
    return std::fabs(a - b) <= 1e-9 * std::max(std::fabs(a), std::fabs(b));
}

}  // namespace

MapPoint mapPoint(const GeoTransform& t, double column, double row)
{
    return {t[0] + column * t[1] + row * t[2], t[3] + column * t[4] + row * t[5]};
}

GeoTransform windowGeoTransform(const GeoTransform& map, std::int64_t column, std::int64_t row)
{
    const MapPoint origin = mapPoint(map, static_cast<double>(column), static_cast<double>(row));
    return {origin.x, map[1], map[2], origin.y, map[4], map[5]};
}

bool unrotated(const GeoTransform& t)
{
    return t[2] == 0 && t[4] == 0;
}

bool northUp(const GeoTransform& t)
{
    return unrotated(t) && t[1] > 0 && t[5] < 0;
}

bool squareCells(const GeoTransform& t)
{
    const double across = std::hypot(t[1], t[4]), down = std::hypot(t[2], t[5]);
    const double dot = t[1] * t[2] + t[4] * t[5];
    return across > 0 && nearlyEqual(across, down) && std::fabs(dot) <= 1e-9 * across * down;
}

}  // namespace orvalis
