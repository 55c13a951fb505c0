#include "core/surface/SurfaceLayout.h"

#include <cmath>

namespace orvalis {

const char* shapeName(WindowShape shape)
{
    return shape == WindowShape::Circle ? "circle" : "square";
}

std::string checkSurfaceGrid(const SurfaceGrid& g)
{
    if (g.window < 3 || g.window % 2 == 0 || g.window > MaxWindow)
        return "the window must be an odd number of cells from 3 to " + std::to_string(MaxWindow) + ", not " +
               std::to_string(g.window);
    if (g.step < 1)
        return "the step must be at least 1 cell";
    if (g.mapWidth < 1 || g.mapHeight < 1)
        return "the map has no cells";
    if (g.width() > INT32_MAX || g.height() > INT32_MAX)
        return "the surface would be too large for a GeoTIFF's rows and columns";
    return {};
}

GeoTransform surfaceFrame(const GeoTransform& map, int step)
{
    const double back = -(step - 1) / 2.0;
    const MapPoint origin = mapPoint(map, back, back);
    return {origin.x, map[1] * step, map[2] * step, origin.y, map[4] * step, map[5] * step};
}

std::vector<int> windowExtents(int window, WindowShape shape)
{
    const int h = (window - 1) / 2;
    std::vector<int> extents(static_cast<std::size_t>(window), h);
    if (shape == WindowShape::Circle)
        for (int dr = -h; dr <= h; ++dr) {
            // Whole numbers only: a centre exactly on the circle is inside.
            const std::int64_t room = std::int64_t{h} * h - std::int64_t{dr} * dr;
            auto e = static_cast<std::int64_t>(std::sqrt(static_cast<double>(room)));
            while (e * e > room)
                --e;
            while ((e + 1) * (e + 1) <= room)
                ++e;
            extents[static_cast<std::size_t>(dr + h)] = static_cast<int>(e);
        }
    return extents;
}

std::vector<SurfaceBand> surfaceBands(const MetricSelection& selection, const std::vector<int>& classes)
{
    std::vector<SurfaceBand> bands;
    for (const MetricDef* d : selection.metrics())
        if (d->level == MetricLevel::Class)
            for (std::size_t k = 0; k < classes.size(); ++k)
                bands.push_back({d, static_cast<int>(k), d->code + "_" + std::to_string(classes[k])});
    for (const MetricDef* d : selection.metrics())
        if (d->level == MetricLevel::Landscape)
            bands.push_back({d, -1, d->code});
    return bands;
}

}  // namespace orvalis
