#include "core/map/WindowWriters.h"

#include "core/io/NumberText.h"
#include "core/io/SafeFile.h"
#include "core/map/GdalSupport.h"

#include <limits>
#include <cpl_conv.h>
#include <gdal_priv.h>
#include <ogr_spatialref.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace orvalis {

namespace {

bool failWith(std::string* error, const std::string& what)
{
    if (error)
        *error = what;
    return false;
}

std::string systemError(const std::string& what, const std::string& path, int err)
{
    return what + " " + path + ": " + std::strerror(err != 0 ? err : EIO);
}

// GDAL keeps nothing beside the file (no .aux.xml) while alive, on this thread.
class NoSideFiles {
public:
    NoSideFiles()
    {
        if (const char* old = CPLGetThreadLocalConfigOption("GDAL_PAM_ENABLED", nullptr))
            previous_ = old;
        CPLSetThreadLocalConfigOption("GDAL_PAM_ENABLED", "NO");
    }
    ~NoSideFiles() { CPLSetThreadLocalConfigOption("GDAL_PAM_ENABLED", previous_ ? previous_->c_str() : nullptr); }
    NoSideFiles(const NoSideFiles&) = delete;
    NoSideFiles& operator=(const NoSideFiles&) = delete;

private:
    std::optional<std::string> previous_;
};

GDALDataType smallestTiffType(std::int64_t low, std::int64_t high)
{
    struct Fit {
        GDALDataType type;
        std::int64_t low, high;
    };
    static constexpr Fit fits[] = {{GDT_Byte, 0, 255},
                                   {GDT_UInt16, 0, 65535},
                                   {GDT_Int16, -32768, 32767},
                                   {GDT_UInt32, 0, 4294967295ll},
                                   {GDT_Int32, INT32_MIN, INT32_MAX}};
    for (const Fit& f : fits)
        if (low >= f.low && high <= f.high)
            return f.type;
    return GDT_Unknown;
}

bool checkGrid(const WindowGrid& grid, std::string* error)
{
    if (grid.width <= 0 || grid.height <= 0 || !grid.values)
        return failWith(error, "the window holds no cells");
    if (grid.width > INT_MAX || grid.height > INT_MAX)
        return failWith(error, "the window is too large to be written");
    return true;
}

}  // namespace

std::string asciiGridRefusal(const GeoTransform& map)
{
    if (!unrotated(map))
        return "the map is rotated, and an ASCII grid cannot say so";
    if (!squareCells(map))
        return "the map's cells are not square, and an ASCII grid has one cell size";
    if (!northUp(map))
        return "the map's rows do not run from north to south, as an ASCII grid's must";
    return {};
}

bool writeAsciiGrid(const std::string& path, const WindowGrid& grid, const GeoTransform& window,
                    const std::string& esriWkt, std::string* error, std::int64_t* noDataWritten,
                    const BeforeNaming& beforeNaming)
{
    if (!checkGrid(grid, error))
        return false;
    if (const std::string why = asciiGridRefusal(window); !why.empty())
        return failWith(error, "cannot write " + path + " as an ASCII grid: " + why);
    const std::string prj = std::filesystem::path(path).replace_extension(".prj").string();
    // The .prj goes first, so that the grid never stands without its coordinate system.
    if (!esriWkt.empty() && !writeWholeFile(prj, esriWkt))
        return failWith(error, systemError("cannot write", prj, errno));
    auto dropPrj = [&] {
        if (!esriWkt.empty())
            ::unlink(prj.c_str());
    };
    std::string temporary;
    std::FILE* file = createBeside(path, temporary);
    if (!file) {
        const int err = errno;
        dropPrj();
        return failWith(error, systemError("cannot create", path, err));
    }
    const double height = static_cast<double>(grid.height);
    // A class that is the usual no-data value would read back as no-data: take one below every class.
    std::int64_t noDataValue = AsciiGridNoData;
    std::int64_t lowest = std::numeric_limits<std::int64_t>::max();
    bool taken = false;
    for (std::size_t i = 0; i < static_cast<std::size_t>(grid.width * grid.height); ++i)
        if (!(grid.noData && grid.noData[i])) {
            taken = taken || grid.values[i] == AsciiGridNoData;
            lowest = std::min(lowest, grid.values[i]);
        }
    if (taken)
        noDataValue = lowest - 1;
    if (noDataWritten)
        *noDataWritten = noDataValue;
    std::string text = "ncols " + std::to_string(grid.width) + "\nnrows " + std::to_string(grid.height) +
                       "\nxllcorner " + shortestText(window[0]) + "\nyllcorner " +
                       shortestText(window[3] + height * window[5]) + "\ncellsize " + shortestText(window[1]) +
                       "\nNODATA_value " + std::to_string(noDataValue) + "\n";
    bool ok = true;
    errno = 0;
    char number[24];
    for (std::int64_t y = 0; y < grid.height && ok; ++y) {
        const std::size_t at = static_cast<std::size_t>(y * grid.width);
        for (std::int64_t x = 0; x < grid.width; ++x) {
            const bool none = grid.noData && grid.noData[at + static_cast<std::size_t>(x)];
            const auto r = std::to_chars(number, number + sizeof number,
                                         none ? noDataValue : grid.values[at + static_cast<std::size_t>(x)]);
            if (x > 0)
                text += ' ';
            text.append(number, r.ptr);
        }
        text += '\n';
        // Whole rows go out once a good handful waits, so a large window never sits in memory as text.
        if (text.size() >= (1u << 20) || y + 1 == grid.height) {
            ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
            text.clear();
        }
    }
    int err = errno;
    if (std::fclose(file) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && ((beforeNaming && !beforeNaming()) || !replaceWith(temporary, path))) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(temporary.c_str());
        dropPrj();
        return failWith(error, systemError("cannot write", path, err));
    }
    return true;
}

bool writeGeoTiff(const std::string& path, const WindowGrid& grid, const std::optional<GeoTransform>& window,
                  const std::string& wkt, std::string* error, const BeforeNaming& beforeNaming)
{
    if (!checkGrid(grid, error))
        return false;
    const std::size_t cells = static_cast<std::size_t>(grid.width * grid.height);
    const auto [low, high] = std::minmax_element(grid.values, grid.values + cells);
    const GDALDataType type = smallestTiffType(*low, *high);
    if (type == GDT_Unknown)
        return failWith(error, "cannot write " + path + ": its values, from " + std::to_string(*low) + " to " +
                                   std::to_string(*high) + ", do not fit a 32-bit GeoTIFF");
    registerGdal();
    GdalErrorScope errors;
    NoSideFiles noSideFiles;
    GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("GTiff");
    if (!driver)
        return failWith(error, "cannot write " + path + ": GDAL has no GeoTIFF driver");
    OGRSpatialReference crs;
    if (!wkt.empty() && crs.importFromWkt(wkt.c_str()) != OGRERR_NONE)
        return failWith(error, "cannot write " + path + ": the coordinate system is not valid WKT");
    // GDAL writes to a path, so the hidden name is made here and handed over.
    std::string temporary;
    std::FILE* reserved = createBeside(path, temporary);
    if (!reserved)
        return failWith(error, systemError("cannot create", path, errno));
    std::fclose(reserved);
    // Strips are compressed on every core; the file is the same byte for byte as with one.
    const char* const options[] = {"COMPRESS=DEFLATE", "NUM_THREADS=ALL_CPUS", nullptr};
    GDALDataset* out = driver->Create(temporary.c_str(), static_cast<int>(grid.width), static_cast<int>(grid.height), 1,
                                      type, const_cast<char**>(options));
    bool ok = out != nullptr;
    if (ok && window)
        ok = out->SetGeoTransform(const_cast<double*>(window->data())) == CE_None;
    if (ok && !wkt.empty())
        ok = out->SetSpatialRef(&crs) == CE_None;
    if (ok)
        ok = out->GetRasterBand(1)->RasterIO(GF_Write, 0, 0, static_cast<int>(grid.width), static_cast<int>(grid.height),
                                            const_cast<std::int64_t*>(grid.values), static_cast<int>(grid.width),
                                            static_cast<int>(grid.height), GDT_Int64, 0, 0, nullptr) == CE_None;
    if (out)
        GDALClose(GDALDataset::ToHandle(out));
    // Compressed strips are written at closing, where only the error state tells of a failure.
    ok = ok && !GdalErrorScope::failed();
    const std::string why = GdalErrorScope::message("GDAL gave no reason");
    if (ok && (!beforeNaming || beforeNaming()) && replaceWith(temporary, path))
        return true;
    const std::string reason = ok ? std::string(std::strerror(errno)) : why;
    ::unlink(temporary.c_str());
    return failWith(error, "cannot write " + path + ": " + reason);
}

}  // namespace orvalis
