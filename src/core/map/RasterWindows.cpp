#include "core/map/RasterWindows.h"

#include "core/map/GdalSupport.h"

#include <gdal_priv.h>
#include <ogr_spatialref.h>

#include <algorithm>
#include <cmath>

namespace orvalis {

namespace {

bool refuse(std::string* error, const std::string& why)
{
    if (error)
        *error = why;
    return false;
}

std::string number(double v)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.17g", v);
    return text;
}

}  // namespace

RasterWindows::RasterWindows() = default;

RasterWindows::~RasterWindows()
{
    if (dataset_)
        GDALClose(GDALDataset::ToHandle(dataset_));
}

bool RasterWindows::open(const std::string& path, int band, const HabitatClasses& habitat, std::string* error)
{
    if (const std::string why = specialFileRefusal(path); !why.empty())
        return refuse(error, why);
    registerGdal();
    GdalErrorScope errors;
    dataset_ = GDALDataset::Open(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY | GDAL_OF_VERBOSE_ERROR);
    if (!dataset_)
        return refuse(error, GdalErrorScope::message("GDAL cannot read it as a raster"));
    if (dataset_->GetRasterCount() < 1)
        return refuse(error, noBandReason(*dataset_));
    if (band < 1 || band > dataset_->GetRasterCount())
        return refuse(error, "it has no band " + std::to_string(band) + " (it has " +
                                 std::to_string(dataset_->GetRasterCount()) + ")");
    band_ = dataset_->GetRasterBand(band);
    const GDALDataType type = band_->GetRasterDataType();
    if (GDALDataTypeIsComplex(type))
        return refuse(error, std::string("its cells are ") + GDALGetDataTypeName(type) + ", not classes");
    real_ = GDALDataTypeIsFloating(type);
    width_ = dataset_->GetRasterXSize();
    height_ = dataset_->GetRasterYSize();
    habitat_ = habitat;
    int has = 0;
    const double nd = band_->GetNoDataValue(&has);
    if (has)
        noData_ = nd;
    const int flags = band_->GetMaskFlags();
    maskRead_ = !(flags & GMF_ALL_VALID) && flags != GMF_NODATA;
    hasFrame_ = dataset_->GetGeoTransform(frame_.data()) == CE_None;
    if (const OGRSpatialReference* srs = dataset_->GetSpatialRef()) {
        char* text = nullptr;
        if (srs->exportToWkt(&text) == OGRERR_NONE && text)
            wkt_ = text;
        CPLFree(text);
        if (!hasFrame_)
            cellSizeNote_ = "it has no frame";
        else if (frame_[2] != 0.0 || frame_[4] != 0.0 || std::fabs(frame_[1]) != std::fabs(frame_[5]))
            cellSizeNote_ = "its cells are rotated or not square";
        else if (!srs->IsProjected())
            cellSizeNote_ = "its coordinates are degrees";
        else
            cellSize_ = std::fabs(frame_[1]) * srs->GetLinearUnits();
    } else {
        cellSizeNote_ = "it has no coordinate system";
    }
    return true;
}

bool RasterWindows::read(std::int64_t x0, std::int64_t y0, int w, int h, std::vector<int>& cells, std::string* error)
{
    cells.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), Outside);
    const std::int64_t fx = std::max<std::int64_t>(x0, 0), fy = std::max<std::int64_t>(y0, 0);
    const std::int64_t tx = std::min<std::int64_t>(x0 + w, width_), ty = std::min<std::int64_t>(y0 + h, height_);
    if (fx >= tx || fy >= ty)
        return true;
    const int rw = static_cast<int>(tx - fx), rh = static_cast<int>(ty - fy);
    values_.resize(static_cast<std::size_t>(rw) * static_cast<std::size_t>(rh));
    GdalErrorScope errors;
    if (band_->RasterIO(GF_Read, static_cast<int>(fx), static_cast<int>(fy), rw, rh, values_.data(), rw, rh, GDT_Float64, 0,
                        0) != CE_None)
        return refuse(error, GdalErrorScope::message("its cells could not be read"));
    if (maskRead_) {
        mask_.resize(values_.size());
        if (band_->GetMaskBand()->RasterIO(GF_Read, static_cast<int>(fx), static_cast<int>(fy), rw, rh, mask_.data(), rw, rh,
                                           GDT_Byte, 0, 0) != CE_None)
            return refuse(error, GdalErrorScope::message("its mask could not be read"));
    }
    for (int r = 0; r < rh; ++r)
        for (int c = 0; c < rw; ++c) {
            const std::size_t i = static_cast<std::size_t>(r) * static_cast<std::size_t>(rw) + static_cast<std::size_t>(c);
            const double v = values_[i];
            if (std::isnan(v) || (noData_ && v == *noData_) || (maskRead_ && mask_[i] == 0))
                continue;
            if (v != std::floor(v) || v <= static_cast<double>(INT_MIN) || v > static_cast<double>(INT_MAX)) {
                const std::string where = "row " + std::to_string(fy + r + 1) + ", column " + std::to_string(fx + c + 1);
                if (v != std::floor(v))
                    return refuse(error, where + " holds " + number(v) +
                                             ", not a class: classify the map first, e.g. gdal_translate -ot Int32");
                return refuse(error, where + ": the class " + number(v) + " does not fit in 32 bits");
            }
            const auto cls = static_cast<std::int64_t>(v);
            int& out = cells[static_cast<std::size_t>(fy + r - y0) * static_cast<std::size_t>(w) + static_cast<std::size_t>(fx + c - x0)];
            out = habitat_.empty() ? static_cast<int>(cls) : (habitat_.contains(cls) ? 1 : 0);
        }
    return true;
}

}  // namespace orvalis
