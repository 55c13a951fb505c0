#include "core/map/RasterGrid.h"

#include "core/io/StrictGrid.h"
#include "core/map/GdalSupport.h"

#include <gdal_priv.h>
#include <ogr_spatialref.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <limits>
#include <algorithm>
#include <vector>

namespace orvalis {

namespace {

bool refuse(std::string* error, const std::string& why)
{
    if (error)
        *error = why;
    return false;
}

// The cell size in metres of a square, unrotated frame in a projected system.
void readCellSize(GDALDataset& ds, RasterGridInfo& info)
{
    double gt[6];
    if (ds.GetGeoTransform(gt) != CE_None)
        return;
    if (gt[2] != 0.0 || gt[4] != 0.0 || std::fabs(gt[1]) != std::fabs(gt[5])) {
        info.cellSizeNote = "its cells are rotated or not square";
        return;
    }
    const OGRSpatialReference* srs = ds.GetSpatialRef();
    if (!srs) {
        info.cellSizeNote = "it has no coordinate system";
        return;
    }
    if (!srs->IsProjected()) {
        info.cellSizeNote = "its coordinates are degrees";
        return;
    }
    info.cellSize = std::fabs(gt[1]) * srs->GetLinearUnits();
}

}  // namespace

std::optional<double> rasterCellSize(const std::string& path)
{
    registerGdal();
    GdalErrorScope errors;
    GDALDatasetUniquePtr ds(GDALDataset::Open(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY));
    if (!ds)
        return std::nullopt;
    RasterGridInfo info;
    readCellSize(*ds, info);
    return info.cellSize;
}

bool readRasterGrid(const std::string& path, LandscapeGrid& grid, RasterGridInfo& info, std::string* error,
                    std::uint64_t maxCells)
{
    grid.clear();
    info = {};
    if (const std::string why = specialFileRefusal(path); !why.empty())
        return refuse(error, why);
    registerGdal();
    GdalErrorScope errors;
    GDALDatasetUniquePtr ds(GDALDataset::Open(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY | GDAL_OF_VERBOSE_ERROR));
    if (!ds)
        return refuse(error, GdalErrorScope::message("GDAL cannot read it as a raster"));
    if (ds->GetRasterCount() < 1)
        return refuse(error, noBandReason(*ds));
    GDALRasterBand* band = ds->GetRasterBand(1);
    const GDALDataType type = band->GetRasterDataType();
    if (GDALDataTypeIsComplex(type))
        return refuse(error, std::string("its cells are ") + GDALGetDataTypeName(type) +
                                 ", not classes: landscape metrics need whole-number classes");
    // A real-valued band (R's terra and gdalwarp write Float32) is a map when its values are whole.
    const bool real = GDALDataTypeIsFloating(type);
    const std::uint64_t width = static_cast<std::uint64_t>(ds->GetRasterXSize());
    const std::uint64_t height = static_cast<std::uint64_t>(ds->GetRasterYSize());
    if (width == 0 || height == 0 || width * height > maxCells)
        return refuse(error, "it holds " + std::to_string(width) + " x " + std::to_string(height) +
                                 " cells; at most " + std::to_string(maxCells) + " can be measured");

    std::vector<std::int64_t> values(width * height);
    std::vector<unsigned char> missing;  // a real band's NaN cells
    if (real) {
        std::vector<double> reals(width * height);
        if (band->RasterIO(GF_Read, 0, 0, static_cast<int>(width), static_cast<int>(height), reals.data(),
                           static_cast<int>(width), static_cast<int>(height), GDT_Float64, 0, 0) != CE_None)
            return refuse(error, GdalErrorScope::message("its cells could not be read"));
        int hasNd = 0;
        const double nd = band->GetNoDataValue(&hasNd);
        missing.assign(reals.size(), 0);
        for (std::size_t i = 0; i < reals.size(); ++i) {
            const double v = reals[i];
            if (std::isnan(v) || (hasNd && v == nd)) {
                missing[i] = 1;
                continue;
            }
            if (v != std::floor(v)) {
                char text[64];
                std::snprintf(text, sizeof text, "%.9g", v);
                return refuse(error, "row " + std::to_string(i / width + 1) + ", column " + std::to_string(i % width + 1) +
                                         " holds " + text + ", not a class; classify the map first, e.g. gdal_translate "
                                         "-ot Int32 IN OUT if its values are classes stored as reals");
            }
            values[i] = std::fabs(v) < 9.2e18 ? static_cast<std::int64_t>(v) : (v < 0 ? INT64_MIN : INT64_MAX);
        }
    } else if (band->RasterIO(GF_Read, 0, 0, static_cast<int>(width), static_cast<int>(height), values.data(),
                              static_cast<int>(width), static_cast<int>(height), GDT_Int64, 0, 0) != CE_None) {
        return refuse(error, GdalErrorScope::message("its cells could not be read"));
    }
    std::vector<unsigned char> valid;
    const int flags = band->GetMaskFlags();
    if (!(flags & GMF_ALL_VALID) && flags != GMF_NODATA) {
        valid.resize(values.size());
        if (band->GetMaskBand()->RasterIO(GF_Read, 0, 0, static_cast<int>(width), static_cast<int>(height),
                                          valid.data(), static_cast<int>(width), static_cast<int>(height), GDT_Byte, 0,
                                          0) != CE_None)
            return refuse(error, GdalErrorScope::message("its mask could not be read"));
    }

    int hasNoData = 0;
    const double noData = band->GetNoDataValue(&hasNoData);
    if (hasNoData && noData == std::floor(noData) && std::fabs(noData) <= std::numeric_limits<int>::max())
        info.noData = static_cast<int>(noData);
    // An integer band's no-data value beyond 32 bits (4294967295 of a UInt32 band) is no class:
    // its cells are left out as masked cells are.
    if (!real && hasNoData && !info.noData) {
        std::int64_t nd = 0;
        bool exact = false;
        if (type == GDT_Int64 || type == GDT_UInt64) {
            int has64 = 0;
            nd = type == GDT_Int64 ? band->GetNoDataValueAsInt64(&has64)
                                   : static_cast<std::int64_t>(std::min<std::uint64_t>(band->GetNoDataValueAsUInt64(&has64),
                                                                                      std::numeric_limits<std::int64_t>::max()));
            exact = has64 != 0;
        } else if (noData == std::floor(noData) && std::fabs(noData) < 9.2e18) {
            nd = static_cast<std::int64_t>(noData);
            exact = true;
        }
        if (exact) {
            missing.assign(values.size(), 0);
            for (std::size_t i = 0; i < values.size(); ++i)
                missing[i] = values[i] == nd;
        }
    }
    // A real band's NaN and no-data cells are left out as masked cells are.
    if (!missing.empty() && std::any_of(missing.begin(), missing.end(), [](unsigned char m) { return m != 0; })) {
        if (valid.empty())
            valid.assign(values.size(), 1);
        for (std::size_t i = 0; i < values.size(); ++i)
            if (missing[i])
                valid[i] = 0;
    }
    std::int64_t lowest = std::numeric_limits<std::int64_t>::max();
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (!valid.empty() && valid[i] == 0)
            continue;
        if (values[i] < std::numeric_limits<int>::min() || values[i] > std::numeric_limits<int>::max())
            return refuse(error, "row " + std::to_string(i / width + 1) + ", column " +
                                     std::to_string(i % width + 1) + ": the class " + std::to_string(values[i]) +
                                     " does not fit in 32 bits");
        lowest = std::min(lowest, values[i]);
    }
    // Cells the mask leaves out take the no-data value, or one below every valid cell's.
    if (!valid.empty() && !info.noData) {
        if (lowest == std::numeric_limits<int>::min())
            return refuse(error, "its mask leaves cells out but every 32-bit value is a class");
        info.noData = static_cast<int>(std::min<std::int64_t>(lowest, std::numeric_limits<int>::max()) - 1);
    }
    grid.assign(height, std::vector<int>(width));
    for (std::size_t r = 0; r < height; ++r)
        for (std::size_t c = 0; c < width; ++c) {
            const std::size_t i = r * width + c;
            grid[r][c] = !valid.empty() && valid[i] == 0 ? *info.noData : static_cast<int>(values[i]);
        }
    readCellSize(*ds, info);
    return true;
}

bool readRasterColumns(const std::string& path, CompactGrid& grid, RasterGridInfo& info, std::string* error,
                       std::uint64_t maxCells)
{
    grid.clear();
    LandscapeGrid rows;
    if (!readRasterGrid(path, rows, info, error, maxCells))
        return false;
    const std::size_t width = rows.front().size();
    grid.reserve(width * rows.size());
    std::vector<int> column(rows.size());
    for (std::size_t c = 0; c < width; ++c) {
        for (std::size_t r = 0; r < rows.size(); ++r)
            column[r] = rows[r][c];
        grid.appendLine(column);
    }
    return true;
}

}  // namespace orvalis
