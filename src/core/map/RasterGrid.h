#pragma once

#include "core/io/CompactGrid.h"
#include "core/io/LandscapeFile.h"

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

namespace orvalis {

// What a georeferenced grid says about itself beyond its cells.
struct RasterGridInfo {
    // Side of a cell in metres, from the file's frame when its cells are square, unrotated and
    // in a projected system (metres, feet, ... converted); empty otherwise.
    std::optional<double> cellSize;
    // Cells outside the landscape: the band's no-data value, or a value no cell holds that
    // stands for the cells GDAL's mask leaves out.
    std::optional<int> noData;
    // Why the frame gave no cell size although the file has one (degrees, rotation, ...).
    std::string cellSizeNote;
};

// Reads band 1 of a GeoTIFF, an ESRI ASCII grid or any raster GDAL reads into grid (line j is
// map row j, north first). Refused with a message when GDAL cannot read it, its cells are not
// whole numbers in 32 bits, or it holds more than maxCells cells.
bool readRasterGrid(const std::string& path, LandscapeGrid& grid, RasterGridInfo& info, std::string* error,
                    std::uint64_t maxCells = 100'000'000);

// Reads as readRasterGrid does, but into the viewer's form: line k is the map's column k, north
// first, as in a text grid. grid is left empty when the file is refused.
bool readRasterColumns(const std::string& path, CompactGrid& grid, RasterGridInfo& info, std::string* error,
                       std::uint64_t maxCells);

// The side of a cell in metres of the raster at path, by the rule readRasterGrid follows; empty
// when its frame gives none (or it cannot be opened).
std::optional<double> rasterCellSize(const std::string& path);

// Whether a landscape file is read through GDAL rather than as a text grid: every name but ".txt".
bool isRasterGridPath(const std::string& path);

// A landscape file read for measuring: a text grid strictly (readGridStrictly), any other name
// through GDAL, whose frame's cell size replaces cellSize and whose no-data fills noData when unset.
// False with *error set; grid is then empty.
// sizeNote, when given, says why the file gives no cell size of its own (a text grid; a raster
// in degrees, ...) and is left empty when it gives one.
// A raster of more than maxCells cells is refused.
bool readMeasurableGrid(const std::string& path, LandscapeGrid& grid, double& cellSize, std::optional<int>& noData,
                        std::string* error, std::string* sizeNote = nullptr, std::uint64_t maxCells = 100'000'000,
                        const std::atomic<bool>* stop = nullptr);

}  // namespace orvalis
