#pragma once

#include "core/map/GeoTransform.h"
#include "core/map/HabitatClasses.h"

#include <climits>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class GDALDataset;
class GDALRasterBand;

namespace orvalis {

// One band of a classified raster, read a rectangle at a time for measuring windows of it:
// the rectangle's cells as classes (or, with habitat classes, 1 for habitat and 0 for the rest),
// and Outside where a cell lies off the map, is no-data or is masked out. Whole-number cells
// of a real-valued band are classes too (NaN is no-data); a fractional one is refused, named.
// Columns x count from the west edge, rows y from the north edge, in GDAL's order. Not shared
// between threads: each opens its own.
class RasterWindows {
public:
    // The value of every cell outside the landscape; no class may hold it.
    static constexpr int Outside = INT_MIN;
    // GDAL's block cache while windows are read: the blocks the windows in flight touch.
    static constexpr std::int64_t CacheBytes = 64ll << 20;

    RasterWindows();
    ~RasterWindows();
    RasterWindows(const RasterWindows&) = delete;
    RasterWindows& operator=(const RasterWindows&) = delete;

    // Opens band (from 1) of anything GDAL reads as a raster; habitat empty: the map's classes.
    bool open(const std::string& path, int band, const HabitatClasses& habitat, std::string* error);

    std::int64_t width() const { return width_; }
    std::int64_t height() const { return height_; }
    const GeoTransform& frame() const { return frame_; }
    bool hasFrame() const { return hasFrame_; }
    const std::string& wkt() const { return wkt_; }
    // The side of a cell in metres when the frame is projected, unrotated and square.
    const std::optional<double>& cellSize() const { return cellSize_; }
    // Why the frame gives no cell size (degrees, rotation, ...); empty when it gives one.
    const std::string& cellSizeNote() const { return cellSizeNote_; }

    // Cells of columns x0 .. x0 + w - 1 and rows y0 .. y0 + h - 1 (any of them may lie off the
    // map), row after row, into cells. False with a message when GDAL fails or a cell is no class.
    bool read(std::int64_t x0, std::int64_t y0, int w, int h, std::vector<int>& cells, std::string* error);

private:
    GDALDataset* dataset_ = nullptr;
    GDALRasterBand* band_ = nullptr;
    bool real_ = false;        // a floating-point band
    bool maskRead_ = false;    // a mask beyond the no-data value
    std::optional<double> noData_;
    HabitatClasses habitat_;
    std::int64_t width_ = 0, height_ = 0;
    GeoTransform frame_{0, 1, 0, 0, 0, -1};
    bool hasFrame_ = false;
    std::string wkt_;
    std::optional<double> cellSize_;
    std::string cellSizeNote_;
    std::vector<double> values_;
    std::vector<unsigned char> mask_;
};

}  // namespace orvalis
