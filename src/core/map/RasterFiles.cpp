#include "core/map/PatchMap.h"
#include "core/map/RasterGrid.h"

#include "core/io/StrictGrid.h"

#include <filesystem>

// What reading and naming raster files asks without GDAL: a text grid is read here, and only a
// raster goes to GDAL's readers, so that measuring text grids never loads it.
namespace orvalis {

bool isRasterGridPath(const std::string& path)
{
    return !(path.size() >= 4 && path.compare(path.size() - 4, 4, ".txt") == 0);
}

bool readMeasurableGrid(const std::string& path, LandscapeGrid& grid, double& cellSize, std::optional<int>& noData,
                        std::string* error, std::string* sizeNote, std::uint64_t maxCells,
                        const std::atomic<bool>* stop)
{
    if (sizeNote)
        *sizeNote = isRasterGridPath(path) ? std::string() : "a text grid knows no cell size";
    if (isRasterGridPath(path)) {
        RasterGridInfo info;
        if (!readRasterGrid(path, grid, info, error, maxCells))
            return false;
        if (sizeNote && !info.cellSize)
            *sizeNote = info.cellSizeNote.empty() ? "its frame gives no cell size" : info.cellSizeNote;
        if (info.cellSize)
            cellSize = *info.cellSize;
        if (!noData)
            noData = info.noData;
        return true;
    }
    const LandscapeReadResult read = readGridStrictly(path, grid, maxCells, stop);
    if (!read.ok && error)
        *error = read.error;
    return read.ok;
}

std::string patchMapPath(const std::string& folder, const std::string& file)
{
    return (std::filesystem::path(folder) / (std::filesystem::path(file).stem().string() + "_patches.tif")).string();
}

}  // namespace orvalis
