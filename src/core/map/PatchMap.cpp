#include "core/map/PatchMap.h"

#include "core/map/GdalSupport.h"
#include "core/map/RasterGrid.h"
#include "core/map/WindowWriters.h"

#include <gdal_priv.h>

#include <filesystem>
#include <optional>

namespace orvalis {

bool writePatchMap(const std::string& source, const std::string& path, int rows, int cols,
                   const std::vector<std::int32_t>& ids, std::string* error)
{
    std::optional<GeoTransform> frame;
    std::string wkt;
    if (isRasterGridPath(source)) {
        registerGdal();
        GdalErrorScope errors;
        GDALDatasetUniquePtr ds(GDALDataset::Open(source.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY));
        if (ds) {
            GeoTransform t;
            if (ds->GetGeoTransform(t.data()) == CE_None)
                frame = t;
            if (const OGRSpatialReference* crs = ds->GetSpatialRef()) {
                char* text = nullptr;
                if (crs->exportToWkt(&text) == OGRERR_NONE && text)
                    wkt = text;
                CPLFree(text);
            }
        }
    }
    const std::vector<std::int64_t> values(ids.begin(), ids.end());
    const WindowGrid grid{cols, rows, values.data(), nullptr};
    return writeGeoTiff(path, grid, frame, wkt, error);
}

}  // namespace orvalis
