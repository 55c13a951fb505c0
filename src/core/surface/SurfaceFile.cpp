#include "core/surface/SurfaceFile.h"

#include "core/io/SafeFile.h"
#include "core/map/GdalSupport.h"

#include <cpl_conv.h>
#include <gdal_priv.h>
#include <ogr_spatialref.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <sstream>
#include <unistd.h>

namespace orvalis {

namespace {

constexpr int TileColumns = 256;
// A row of tiles of every band is held twice (filling and being written): at most this much each.
constexpr std::int64_t TileRowBytes = std::int64_t{64} << 20;

constexpr const char* KeySurface = "ORVALIS_SURFACE";
constexpr const char* KeyMap = "ORVALIS_SURFACE_MAP_SIZE";
constexpr const char* KeyWindow = "ORVALIS_SURFACE_WINDOW";
constexpr const char* KeyShape = "ORVALIS_SURFACE_SHAPE";
constexpr const char* KeyStep = "ORVALIS_SURFACE_STEP";
constexpr const char* KeyOptions = "ORVALIS_SURFACE_OPTIONS";
// Parts only: the merged file is written from these as a single run writes it.
constexpr const char* KeyPart = "ORVALIS_SURFACE_PART";
constexpr const char* KeyFirstRow = "ORVALIS_SURFACE_FIRST_ROW";
constexpr const char* KeyFrame = "ORVALIS_SURFACE_FRAME";
constexpr const char* KeyCrs = "ORVALIS_SURFACE_CRS";

bool fail(std::string* error, const std::string& why)
{
    if (error)
        *error = why;
    return false;
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

std::string exact(double v)
{
    char text[32];
    const auto r = std::to_chars(text, text + sizeof text, v);
    return std::string(text, r.ptr);
}

template <class T>
bool parseWhole(const char* text, T& value)
{
    if (!text)
        return false;
    const char* end = text + std::strlen(text);
    const auto r = std::from_chars(text, end, value);
    return r.ec == std::errc() && r.ptr == end;
}

}  // namespace

SurfacePart surfacePart(std::int64_t height, int tile, int tiles)
{
    const std::int64_t first = height * (tile - 1) / tiles, last = height * tile / tiles;
    return {tile, tiles, first, last - first};
}

int SurfaceWriter::tileRows(std::int64_t width, std::int64_t height, std::size_t bands)
{
    const auto b = static_cast<std::int64_t>(bands);
    // Two rows of tiles in memory, and the file's table of tiles (two 8-byte numbers a tile) that
    // grows as they get shorter.
    auto bytes = [&](std::int64_t rows) {
        return 2 * rows * width * b * 4 + (height + rows - 1) / rows * ((width + TileColumns - 1) / TileColumns) * b * 16;
    };
    int rows = 256;
    while (rows > 16 && rows * width * b * 4 > TileRowBytes && bytes(rows / 2) < bytes(rows))
        rows /= 2;
    return rows;
}

SurfaceWriter::~SurfaceWriter()
{
    abandon();
}

bool SurfaceWriter::create(const std::string& path, const SurfaceDescription& d, const std::optional<SurfacePart>& part,
                           int compressionThreads, std::string* error)
{
    registerGdal();
    GdalErrorScope errors;
    NoSideFiles noSideFiles;
    GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("GTiff");
    if (!driver)
        return fail(error, "cannot write " + path + ": GDAL has no GeoTIFF driver");
    OGRSpatialReference crs;
    if (!d.wkt.empty() && crs.importFromWkt(d.wkt.c_str()) != OGRERR_NONE)
        return fail(error, "cannot write " + path + ": the map's coordinate system is not valid WKT");
    width_ = d.width();
    height_ = part ? part->rows : d.height();
    bands_ = d.bands.size();
    if (width_ < 1 || height_ < 1 || bands_ < 1 || width_ > INT_MAX || height_ > INT_MAX || bands_ > 65535)
        return fail(error, "cannot write " + path + ": a surface of " + std::to_string(width_) + " x " +
                               std::to_string(height_) + " cells and " + std::to_string(bands_) + " bands");
    tileRows_ = tileRows(width_, height_, bands_);
    // GDAL writes to a path, so the hidden name is made here and handed over.
    std::FILE* reserved = createBeside(path, temporary_);
    if (!reserved)
        return fail(error, "cannot create " + path + ": " + std::strerror(errno));
    std::fclose(reserved);
    path_ = path;
    const std::string blockY = "BLOCKYSIZE=" + std::to_string(tileRows_);
    const std::string blockX = "BLOCKXSIZE=" + std::to_string(TileColumns);
    // Level 1 and horizontal differencing: a surface's floats barely compress further, and deflating
    // them at the default level costs more than computing them. GDAL's threads compress whole tiles
    // and write them in order, so the bytes do not depend on their number.
    const std::string threads = "NUM_THREADS=" + std::to_string(std::max(1, compressionThreads));
    const char* const options[] = {"TILED=YES",        blockX.c_str(), blockY.c_str(),     "COMPRESS=DEFLATE",
                                   "ZLEVEL=1",         "PREDICTOR=2",  "INTERLEAVE=BAND",  "BIGTIFF=IF_SAFER",
                                   threads.c_str(),    nullptr};
    dataset_ = driver->Create(temporary_.c_str(), static_cast<int>(width_), static_cast<int>(height_),
                              static_cast<int>(bands_), GDT_Float32, const_cast<char**>(options));
    bool ok = dataset_ != nullptr;
    if (ok && d.frame) {
        GeoTransform frame = part ? windowGeoTransform(*d.frame, 0, part->firstRow) : *d.frame;
        ok = dataset_->SetGeoTransform(frame.data()) == CE_None;
    }
    if (ok && !d.wkt.empty())
        ok = dataset_->SetSpatialRef(&crs) == CE_None;
    if (ok) {
        dataset_->SetMetadataItem(KeySurface, "1");
        dataset_->SetMetadataItem(KeyMap, (std::to_string(d.mapWidth) + " " + std::to_string(d.mapHeight)).c_str());
        dataset_->SetMetadataItem(KeyWindow, std::to_string(d.window).c_str());
        dataset_->SetMetadataItem(KeyShape, shapeName(d.shape));
        dataset_->SetMetadataItem(KeyStep, std::to_string(d.step).c_str());
        dataset_->SetMetadataItem(KeyOptions, d.options.c_str());
        if (part) {
            dataset_->SetMetadataItem(KeyPart, (std::to_string(part->tile) + "/" + std::to_string(part->tiles)).c_str());
            dataset_->SetMetadataItem(KeyFirstRow, std::to_string(part->firstRow).c_str());
            if (d.frame) {
                std::string text;
                for (double v : *d.frame)
                    text += (text.empty() ? "" : " ") + exact(v);
                dataset_->SetMetadataItem(KeyFrame, text.c_str());
            }
            if (!d.wkt.empty())
                dataset_->SetMetadataItem(KeyCrs, d.wkt.c_str());
        }
        for (std::size_t b = 0; b < bands_ && ok; ++b) {
            GDALRasterBand* band = dataset_->GetRasterBand(static_cast<int>(b) + 1);
            band->SetDescription(d.bands[b].c_str());
            ok = band->SetNoDataValue(std::numeric_limits<double>::quiet_NaN()) == CE_None;
        }
    }
    if (!ok) {
        const std::string why = GdalErrorScope::message("GDAL gave no reason");
        abandon();
        return fail(error, "cannot write " + path + ": " + why);
    }
    const std::size_t tileRowValues = bands_ * static_cast<std::size_t>(tileRows_) * static_cast<std::size_t>(width_);
    filling_.assign(tileRowValues, 0.0f);
    writing_.assign(tileRowValues, 0.0f);
    rowsIn_ = 0;
    busy_ = quit_ = false;
    writeError_.clear();
    thread_ = std::thread(&SurfaceWriter::writeLoop, this);
    return true;
}

void SurfaceWriter::writeLoop()
{
    for (;;) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return busy_ || quit_; });
        if (!busy_)
            return;
        const int rows = writingRows_;
        const std::int64_t tileRow = writingTileRow_;
        lock.unlock();
        std::string why;
        const bool ok = flushTiles(writing_, rows, tileRow, why);
        lock.lock();
        if (!ok && writeError_.empty())
            writeError_ = why;
        busy_ = false;
        changed_.notify_all();
    }
}

bool SurfaceWriter::flushTiles(std::vector<float>& tiles, int rows, std::int64_t tileRow, std::string& error)
{
    GdalErrorScope errors;
    std::vector<float> block(static_cast<std::size_t>(TileColumns) * static_cast<std::size_t>(tileRows_));
    const float none = std::numeric_limits<float>::quiet_NaN();
    const std::int64_t tilesAcross = (width_ + TileColumns - 1) / TileColumns;
    for (std::size_t b = 0; b < bands_; ++b) {
        GDALRasterBand* band = dataset_->GetRasterBand(static_cast<int>(b) + 1);
        for (std::int64_t t = 0; t < tilesAcross; ++t) {
            const std::int64_t x0 = t * TileColumns;
            const std::size_t n = static_cast<std::size_t>(std::min<std::int64_t>(TileColumns, width_ - x0));
            // The parts of a tile past the surface's edge are NaN, so that the bytes never depend on what was there before.
            std::fill(block.begin(), block.end(), none);
            for (int r = 0; r < rows; ++r) {
                const float* src = tiles.data() + (b * static_cast<std::size_t>(tileRows_) + static_cast<std::size_t>(r)) *
                                                      static_cast<std::size_t>(width_) +
                                   static_cast<std::size_t>(x0);
                std::copy(src, src + n, block.data() + static_cast<std::size_t>(r) * TileColumns);
            }
            if (band->WriteBlock(static_cast<int>(t), static_cast<int>(tileRow), block.data()) != CE_None) {
                error = GdalErrorScope::message("GDAL gave no reason");
                return false;
            }
        }
    }
    return true;
}

bool SurfaceWriter::waitForWriter(std::string* error)
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return !busy_; });
    if (!writeError_.empty())
        return fail(error, "cannot write " + path_ + ": " + writeError_);
    return true;
}

bool SurfaceWriter::append(const double* values, int rows, std::string* error)
{
    for (int i = 0; i < rows; ++i) {
        if (rowsIn_ >= height_)
            return fail(error, "cannot write " + path_ + ": more rows than the surface has");
        const int r = static_cast<int>(rowsIn_ % tileRows_);
        const double* row = values + static_cast<std::size_t>(i) * bands_ * static_cast<std::size_t>(width_);
        for (std::size_t b = 0; b < bands_; ++b) {
            const double* src = row + b * static_cast<std::size_t>(width_);
            float* dst = filling_.data() +
                         (b * static_cast<std::size_t>(tileRows_) + static_cast<std::size_t>(r)) * static_cast<std::size_t>(width_);
            for (std::int64_t x = 0; x < width_; ++x)
                dst[x] = static_cast<float>(src[x]);
        }
        ++rowsIn_;
        if (r + 1 == tileRows_ || rowsIn_ == height_) {
            if (!waitForWriter(error))
                return false;
            std::lock_guard lock(mutex_);
            filling_.swap(writing_);
            writingRows_ = r + 1;
            writingTileRow_ = (rowsIn_ - 1) / tileRows_;
            busy_ = true;
            changed_.notify_all();
        }
    }
    return true;
}

bool SurfaceWriter::finish(std::string* error)
{
    if (!dataset_)
        return fail(error, "cannot write " + path_ + ": it was not created");
    bool ok = waitForWriter(error);
    if (ok && rowsIn_ != height_)
        ok = fail(error, "cannot write " + path_ + ": " + std::to_string(rowsIn_) + " of its " + std::to_string(height_) +
                             " rows were computed");
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
        changed_.notify_all();
    }
    thread_.join();
    if (!ok) {
        abandon();
        return false;
    }
    GdalErrorScope errors;
    NoSideFiles noSideFiles;
    // Compressed tiles and the directory are completed at closing, where only the error state tells of a failure.
    GDALClose(GDALDataset::ToHandle(dataset_));
    const bool closed = !GdalErrorScope::failed();
    dataset_ = nullptr;
    if (!closed) {
        const std::string why = GdalErrorScope::message("GDAL gave no reason");
        abandon();
        return fail(error, "cannot write " + path_ + ": " + why);
    }
    if (!replaceWith(temporary_, path_)) {
        const std::string why = std::strerror(errno);
        abandon();
        return fail(error, "cannot write " + path_ + ": " + why);
    }
    temporary_.clear();
    return true;
}

void SurfaceWriter::abandon()
{
    if (thread_.joinable()) {
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return !busy_; });
            quit_ = true;
            changed_.notify_all();
        }
        thread_.join();
    }
    if (dataset_) {
        GdalErrorScope errors;
        NoSideFiles noSideFiles;
        GDALClose(GDALDataset::ToHandle(dataset_));
        dataset_ = nullptr;
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
}

bool readSurfaceDescription(const std::string& path, SurfaceDescription& d, std::optional<SurfacePart>& part,
                            std::string* error)
{
    registerGdal();
    GdalErrorScope errors;
    GDALDataset* ds = GDALDataset::Open(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY);
    if (!ds)
        return fail(error, GdalErrorScope::message("GDAL cannot read it as a raster"));
    auto item = [&](const char* key) { return ds->GetMetadataItem(key); };
    bool ok = item(KeySurface) != nullptr;
    d = SurfaceDescription();
    part.reset();
    if (ok) {
        std::istringstream size(item(KeyMap) ? item(KeyMap) : "");
        ok = static_cast<bool>(size >> d.mapWidth >> d.mapHeight);
        const char* shape = item(KeyShape);
        ok = ok && shape && (std::strcmp(shape, "square") == 0 || std::strcmp(shape, "circle") == 0);
        if (ok)
            d.shape = std::strcmp(shape, "circle") == 0 ? WindowShape::Circle : WindowShape::Square;
        ok = ok && parseWhole(item(KeyWindow), d.window) && parseWhole(item(KeyStep), d.step) && d.step >= 1 &&
             d.mapWidth >= 1 && d.mapHeight >= 1;
        d.options = item(KeyOptions) ? item(KeyOptions) : "";
    }
    if (!ok) {
        GDALClose(GDALDataset::ToHandle(ds));
        return fail(error, "it is not a surface written by orvalis-cli surface");
    }
    for (int b = 1; b <= ds->GetRasterCount(); ++b)
        d.bands.push_back(ds->GetRasterBand(b)->GetDescription());
    if (const char* p = item(KeyPart)) {
        SurfacePart q;
        const std::string text = p;
        const std::size_t slash = text.find('/');
        ok = slash != std::string::npos && parseWhole(text.substr(0, slash).c_str(), q.tile) &&
             parseWhole(text.substr(slash + 1).c_str(), q.tiles) && parseWhole(item(KeyFirstRow), q.firstRow);
        q.rows = ds->GetRasterYSize();
        if (const char* frame = item(KeyFrame)) {
            std::istringstream in(frame);
            GeoTransform t{};
            for (double& v : t) {
                std::string word;
                in >> word;
                ok = ok && std::from_chars(word.data(), word.data() + word.size(), v).ec == std::errc();
            }
            d.frame = t;
        }
        if (const char* crs = item(KeyCrs))
            d.wkt = crs;
        part = q;
    } else {
        GeoTransform t{};
        if (ds->GetGeoTransform(t.data()) == CE_None)
            d.frame = t;
        if (const OGRSpatialReference* srs = ds->GetSpatialRef()) {
            char* text = nullptr;
            if (srs->exportToWkt(&text) == OGRERR_NONE && text)
                d.wkt = text;
            CPLFree(text);
        }
    }
    const bool sized = ds->GetRasterXSize() == d.width() && (part ? true : ds->GetRasterYSize() == d.height());
    GDALClose(GDALDataset::ToHandle(ds));
    if (!ok || !sized)
        return fail(error, "its description as a surface is damaged");
    return true;
}

}  // namespace orvalis
