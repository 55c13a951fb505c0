#include "core/map/LandCoverMap.h"

#include "core/map/BandBlocks.h"
#include "core/map/ByteClassifier.h"
#include "core/map/GdalSupport.h"
#include "core/map/PieceStream.h"

#include <gdal_priv.h>
#include <ogr_spatialref.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <type_traits>
#include <unordered_map>

namespace orvalis {

namespace {

using CellType = LandCoverMap::CellType;

std::string mebibytes(std::uint64_t bytes)
{
    return std::to_string((bytes + (1u << 20) - 1) >> 20) + " MiB";
}

// Calls f with a value of the C++ type that holds the band's cells.
template <typename F>
auto withCellType(CellType type, F&& f)
{
    switch (type) {
    case CellType::UInt8: return f(std::uint8_t{});
    case CellType::Int8: return f(std::int8_t{});
    case CellType::UInt16: return f(std::uint16_t{});
    case CellType::Int16: return f(std::int16_t{});
    case CellType::UInt32: return f(std::uint32_t{});
    case CellType::Int32: return f(std::int32_t{});
    case CellType::UInt64: return f(std::uint64_t{});
    case CellType::Int64:
    case CellType::Float32:
    case CellType::Float64: break;
    }
    return f(std::int64_t{});
}

// Sets the bits of the two layers from the pieces of the band as they come, and indexes each
// block row of the layers once every cell of it is in.
struct LayerBuilder {
    BitLayer& habitat;
    BitLayer& noData;
    std::int64_t width;
    std::int64_t height;
    bool& noMemory;
    std::int64_t indexed = 0;  // block rows indexed so far
    std::vector<std::uint64_t> habitatWords = {};
    std::vector<std::uint64_t> noDataWords = {};

    template <typename T, typename Classifier>
    bool take(Classifier& classifier, const BandPiece& p)
    {
        const auto words = static_cast<std::size_t>((p.width + 63) / 64);
        if (habitatWords.size() < words) {
            habitatWords.resize(words);
            noDataWords.resize(words);
        }
        // Pieces that own whole words of their rows (almost all) get their habitat bits written in place.
        const bool inPlace = p.x0 % 64 == 0 && (p.width % 64 == 0 || p.x0 + p.width == width);
        for (std::int64_t r = 0; r < p.height; ++r) {
            const auto* values = static_cast<const T*>(p.values) + r * p.stride;
            const unsigned char* mask = p.mask ? p.mask + r * p.width : nullptr;
            std::uint64_t* habitatOut = inPlace ? habitat.word(p.x0 / 64, p.y0 + r) : habitatWords.data();
            const bool anyNoData = classifier.row(values, mask, p.width, habitatOut, inPlace ? BitLayer::WordStep : 1,
                                                  noDataWords.data());
            if (!inPlace)
                habitat.orBits(p.x0, p.y0 + r, habitatWords.data(), p.width);
            if (anyNoData) {
                // Rows indexed before hold no no-data cell, which the zeroed index already says.
                if (noData.empty() && !noData.allocate(width, height)) {
                    noMemory = true;
                    return false;
                }
                noData.orBits(p.x0, p.y0 + r, noDataWords.data(), p.width);
            }
        }
        for (; (indexed + 1) * BitLayer::Block <= p.rowsFinished ||
               (p.rowsFinished == height && indexed * BitLayer::Block < height);
             ++indexed) {
            habitat.indexBlockRow(indexed);
            if (!noData.empty())
                noData.indexBlockRow(indexed);
        }
        return true;
    }
};

void layerFlags(const BitLayer& layer, std::int64_t x0, std::int64_t y0, std::int64_t w, std::int64_t h,
                unsigned char* out)
{
    if (layer.empty()) {
        std::memset(out, 0, static_cast<std::size_t>(w * h));
        return;
    }
    for (std::int64_t y = 0; y < h; ++y) {
        unsigned char* o = out + y * w;
        for (std::int64_t x = 0; x < w; ++x)
            o[x] = layer.bit(x0 + x, y0 + y);
    }
}

int CPL_STDCALL progressThrough(double fraction, const char*, void* data)
{
    const auto* keepGoing = static_cast<const std::function<bool(double)>*>(data);
    return !*keepGoing || (*keepGoing)(fraction) ? TRUE : FALSE;
}

}  // namespace

int rasterBandCount(const std::string& path)
{
    registerGdal();
    GdalErrorScope errors;
    const GDALDatasetUniquePtr dataset(GDALDataset::Open(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY));
    return dataset ? dataset->GetRasterCount() : 0;
}

LandCoverMap::LandCoverMap() = default;

LandCoverMap::~LandCoverMap()
{
    close();
}

void LandCoverMap::close()
{
    unload();
    if (dataset_) {
        GdalErrorScope errors;
        GDALClose(GDALDataset::ToHandle(dataset_));
    }
    dataset_ = nullptr;
    band_ = nullptr;
    path_.clear();
    bandNumber_ = bandCount_ = 0;
    width_ = height_ = 0;
    hasGeoTransform_ = false;
    geoTransform_ = {};
    crsWkt_.clear();
    crsEsriWkt_.clear();
    geographic_ = false;
    noDataValue_ = {};
}

bool LandCoverMap::open(const std::string& path, int band, std::string* error)
{
    close();
    registerGdal();
    GdalErrorScope errors;
    auto fail = [&](const std::string& what) {
        if (error)
            *error = what;
        close();
        return false;
    };
    if (const std::string why = specialFileRefusal(path); !why.empty())
        return fail(path + " cannot be opened as a map: " + why);
    dataset_ = GDALDataset::Open(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY | GDAL_OF_VERBOSE_ERROR);
    if (!dataset_)
        return fail(path + " cannot be opened as a map: " + GdalErrorScope::message("no raster format knows it"));
    path_ = path;
    bandCount_ = dataset_->GetRasterCount();
    if (bandCount_ == 0) {
        // Containers (netCDF, HDF) hold their rasters as subdatasets, each opened by its own name.
        return fail(path + " cannot be opened as a map: " + noBandReason(*dataset_));
    }
    if (band < 1 || band > bandCount_)
        return fail("band " + std::to_string(band) + " does not exist: " + path + " has " + std::to_string(bandCount_) +
                    (bandCount_ == 1 ? " band" : " bands"));
    bandNumber_ = band;
    band_ = dataset_->GetRasterBand(band);
    const GDALDataType type = band_->GetRasterDataType();
    typeName_ = GDALGetDataTypeName(type);
    switch (type) {
    case GDT_Byte: {
        // Before GDAL had an 8-bit signed type, signed bytes were flagged in the metadata.
        const char* pixelType = band_->GetMetadataItem("PIXELTYPE", "IMAGE_STRUCTURE");
        cellType_ = pixelType && std::strcmp(pixelType, "SIGNEDBYTE") == 0 ? CellType::Int8 : CellType::UInt8;
        if (cellType_ == CellType::Int8)
            typeName_ = "Int8";
        break;
    }
#if GDAL_VERSION_NUM >= GDAL_COMPUTE_VERSION(3, 7, 0)
    case GDT_Int8: cellType_ = CellType::Int8; break;
#endif
    case GDT_UInt16: cellType_ = CellType::UInt16; break;
    case GDT_Int16: cellType_ = CellType::Int16; break;
    case GDT_UInt32: cellType_ = CellType::UInt32; break;
    case GDT_Int32: cellType_ = CellType::Int32; break;
    case GDT_UInt64: cellType_ = CellType::UInt64; break;
    case GDT_Int64: cellType_ = CellType::Int64; break;
    // R's terra and gdalwarp write classes as Float32 by default: whole values are classes.
    case GDT_Float32: cellType_ = CellType::Float32; break;
    case GDT_Float64: cellType_ = CellType::Float64; break;
    default:
        return fail("band " + std::to_string(band) + " of " + path + " holds " + typeName_ +
                    " values: Orvalis samples classified maps, whose cells hold whole class numbers");
    }
    width_ = band_->GetXSize();
    height_ = band_->GetYSize();
    if (width_ > BitLayer::MaxSide || height_ > BitLayer::MaxSide)
        return fail(path + " is too large: " + std::to_string(width_) + " x " + std::to_string(height_) +
                    " cells, at most " + std::to_string(BitLayer::MaxSide) + " a side");

    int has = 0;
    if (type == GDT_Int64) {
        noDataValue_.asSigned = band_->GetNoDataValueAsInt64(&has);
        noDataValue_.has = has != 0;
    } else if (type == GDT_UInt64) {
        noDataValue_.asUnsigned = band_->GetNoDataValueAsUInt64(&has);
        noDataValue_.isSigned = false;
        noDataValue_.has = has != 0;
    } else if (real()) {
        const double nd = band_->GetNoDataValue(&has);
        realNoData_.reset();
        if (has && !std::isnan(nd))
            realNoData_ = nd;
        // NaN and no-data cells reach the classifier as this one value.
        noDataValue_ = NoDataValue{true, true, RealNoData, 0};
    } else {
        const double nd = band_->GetNoDataValue(&has);
        // A fractional no-data value is no cell's value in an integer band.
        noDataValue_.has = has && std::nearbyint(nd) == nd && std::fabs(nd) < 9.2e18;
        noDataValue_.asSigned = noDataValue_.has ? static_cast<std::int64_t>(nd) : 0;
    }

    double t[6];
    hasGeoTransform_ = dataset_->GetGeoTransform(t) == CE_None;
    if (hasGeoTransform_)
        std::copy(t, t + 6, geoTransform_.begin());
    else
        geoTransform_ = {0, 1, 0, static_cast<double>(height_), 0, -1};
    if (const OGRSpatialReference* srs = dataset_->GetSpatialRef()) {
        auto exported = [&](const char* format) {
            char* text = nullptr;
            const char* const options[] = {format, nullptr};
            std::string out;
            if (srs->exportToWkt(&text, options) == OGRERR_NONE && text)
                out = text;
            CPLFree(text);
            return out;
        };
        crsWkt_ = exported("FORMAT=WKT2_2019");
        crsEsriWkt_ = exported("FORMAT=WKT1_ESRI");
        if (crsEsriWkt_.empty())
            crsEsriWkt_ = exported("FORMAT=WKT1");
        geographic_ = srs->IsGeographic() != 0;
    }
    return true;
}

GDALRasterBand* LandCoverMap::maskToRead() const
{
    const int flags = band_->GetMaskFlags();
    // A mask made from the no-data value alone says what the value test says.
    if ((flags & GMF_ALL_VALID) || flags == GMF_NODATA)
        return nullptr;
    return band_->GetMaskBand();
}

void LandCoverMap::unload()
{
    habitat_.clear();
    noData_.clear();
    tally_ = {};
}

bool LandCoverMap::load(const HabitatClasses& classes, const std::function<bool(double)>& keepGoing, std::string* error)
{
    unload();
    auto fail = [&](const std::string& what) {
        if (error)
            *error = what;
        unload();
        return false;
    };
    if (!band_)
        return fail("no map is open");
    GdalErrorScope errors;
    GdalCacheLimit cache(ReadCacheBytes);
    if (!habitat_.allocate(width_, height_))
        return fail("not enough memory for the habitat of " + path_ + " (" +
                    mebibytes(static_cast<std::uint64_t>(width_) * static_cast<std::uint64_t>(height_) * 3 / 16) + ")");
    GDALRasterBand* mask = maskToRead();
    BandBlocks blocks(band_, mask);
    bool noMemory = false;
    std::string readError;
    StreamEnd outcome = StreamEnd::Done;
    std::vector<std::pair<std::int64_t, std::uint64_t>> byClass;
    LayerBuilder builder{habitat_, noData_, width_, height_, noMemory};
    std::vector<std::int64_t> whole;
    std::string fault;
    auto read = [&](auto& classifier, auto zero) {
        using T = decltype(zero);
        outcome = streamPieces(
            blocks,
            [&](const BandPiece& p) {
                BandPiece q;
                if (real() && !wholePiece(p, whole, q, fault))
                    return false;
                return builder.take<T>(classifier, real() ? q : p);
            },
            keepGoing, &readError);
        byClass = classifier.cellsByClass();
        if constexpr (requires { classifier.lowest(); }) {
            tally_.lowestClass = classifier.lowest();
            tally_.highestClass = classifier.highest();
            tally_.beyond64 = classifier.beyond64();
        }
    };
    withCellType(wholeType(), [&](auto zero) {
        using T = decltype(zero);
        CellClassifier<T> classifier(classes, noDataValue_);
        if constexpr (sizeof(T) == 1) {
            ByteClassifier fast;
            if (fast.prepare(classifier.table(), std::is_signed_v<T>))
                return read(fast, std::uint8_t{});
        }
        read(classifier, zero);
    });
    // The blocks were read once; the cache need not keep them.
    band_->FlushCache();
    if (mask)
        mask->FlushCache();
    if (noMemory)
        return fail("not enough memory for the no-data cells of " + path_);
    if (!fault.empty())
        return fail(path_ + ": " + fault);
    if (outcome == StreamEnd::Failed)
        return fail("reading " + path_ + " failed: " + readError);
    if (outcome == StreamEnd::Stopped)
        return fail("reading " + path_ + " was stopped");

    tally_.cells = static_cast<std::uint64_t>(width_) * static_cast<std::uint64_t>(height_);
    tally_.habitat = habitat_.count(0, 0, width_, height_);
    tally_.noData = noData(0, 0, width_, height_);
    tally_.valid = tally_.cells - tally_.noData;
    tally_.byClass = std::move(byClass);
    for (std::int64_t cls : classes.listedSingly()) {
        const auto it = std::lower_bound(tally_.byClass.begin(), tally_.byClass.end(),
                                         std::pair<std::int64_t, std::uint64_t>(cls, 0));
        if (it == tally_.byClass.end() || it->first != cls)
            tally_.singlyListedAbsent.push_back(cls);
    }
    return true;
}

void LandCoverMap::habitatFlags(std::int64_t x0, std::int64_t y0, std::int64_t w, std::int64_t h,
                                unsigned char* out) const
{
    layerFlags(habitat_, x0, y0, w, h, out);
}

void LandCoverMap::noDataFlags(std::int64_t x0, std::int64_t y0, std::int64_t w, std::int64_t h,
                               unsigned char* out) const
{
    layerFlags(noData_, x0, y0, w, h, out);
}

bool LandCoverMap::readClasses(std::int64_t x0, std::int64_t y0, std::int64_t w, std::int64_t h,
                               std::vector<std::int64_t>& out, std::string* error)
{
    auto fail = [&](const std::string& what) {
        if (error)
            *error = what;
        return false;
    };
    if (!band_)
        return fail("no map is open");
    if (x0 < 0 || y0 < 0 || w < 0 || h < 0 || x0 + w > width_ || y0 + h > height_)
        return fail("the window lies outside the map");
    try {
        out.assign(static_cast<std::size_t>(w * h), 0);
    } catch (const std::bad_alloc&) {
        return fail("not enough memory for a window of " + std::to_string(w) + " x " + std::to_string(h) + " cells");
    }
    if (w == 0 || h == 0)
        return true;
    GdalErrorScope errors;
    if (real()) {
        std::vector<double> reals(out.size());
        if (band_->RasterIO(GF_Read, static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(w), static_cast<int>(h),
                            reals.data(), static_cast<int>(w), static_cast<int>(h), GDT_Float64, 0, 0, nullptr) != CE_None)
            return fail("reading a window of " + path_ + " failed: " + GdalErrorScope::message("no reason given"));
        for (std::size_t i = 0; i < reals.size(); ++i) {
            const double v = reals[i];
            // No-data cells keep their value where it is a whole number, as an integer band's do.
            const bool whole = v == std::floor(v) && std::fabs(v) < 9.2e18;
            if (std::isnan(v) || (realNoData_ && v == *realNoData_ && !whole))
                out[i] = RealNoData;
            else if (v != std::floor(v) || std::fabs(v) >= 9.2e18)
                return fail(path_ + ": row " + std::to_string(y0 + static_cast<std::int64_t>(i) / w + 1) + ", column " +
                            std::to_string(x0 + static_cast<std::int64_t>(i) % w + 1) + " is not a whole class");
            else
                out[i] = static_cast<std::int64_t>(v);
        }
        return true;
    }
    if (band_->RasterIO(GF_Read, static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(w), static_cast<int>(h),
                        out.data(), static_cast<int>(w), static_cast<int>(h), GDT_Int64, 0, 0, nullptr) != CE_None)
        return fail("reading a window of " + path_ + " failed: " + GdalErrorScope::message("no reason given"));
    if (cellType_ == CellType::Int8 && band_->GetRasterDataType() == GDT_Byte)
        for (std::int64_t& v : out)
            v = static_cast<std::int8_t>(static_cast<std::uint8_t>(v));
    return true;
}

bool LandCoverMap::histogramCounts(ClassCounts& out, const std::function<bool(double)>& keepGoing, std::string* error)
{
    const int buckets = cellType_ == CellType::UInt8 ? 256 : 65536;
    std::vector<GUIntBig> histogram(static_cast<std::size_t>(buckets), 0);
    // The base class counts the cells themselves: the .aux.xml layer would keep the histogram
    // beside the user's map and answer later counts from it, even after the map has changed.
    if (band_->GDALRasterBand::GetHistogram(-0.5, buckets - 0.5, buckets, histogram.data(), FALSE, FALSE,
                                            progressThrough,
                                            const_cast<std::function<bool(double)>*>(&keepGoing)) != CE_None) {
        if (error)
            *error = "counting the classes of " + path_ + " failed: " + GdalErrorScope::message("it was stopped");
        return false;
    }
    const NoDataTest<std::uint16_t> isNoData(noDataValue_);
    std::uint64_t counted = 0;
    for (int v = 0; v < buckets; ++v)
        if (histogram[v] && !isNoData(static_cast<std::uint16_t>(v))) {
            out.classes.emplace_back(v, histogram[v]);
            counted += histogram[v];
        }
    // Whether GDAL counted the no-data cells or not, they are what the classes leave.
    out.noData = static_cast<std::uint64_t>(width_) * static_cast<std::uint64_t>(height_) - counted;
    return true;
}

bool LandCoverMap::classCounts(ClassCounts& out, std::size_t maxDistinct, const std::function<bool(double)>& keepGoing,
                               std::string* error)
{
    out = {};
    if (!band_) {
        if (error)
            *error = "no map is open";
        return false;
    }
    GdalErrorScope errors;
    GdalCacheLimit cache(ReadCacheBytes);
    GDALRasterBand* mask = maskToRead();
    if (!mask && (cellType_ == CellType::UInt8 || cellType_ == CellType::UInt16)) {
        const bool ok = histogramCounts(out, keepGoing, error);
        band_->FlushCache();
        return ok;
    }

    std::string readError;
    StreamEnd outcome = StreamEnd::Done;
    BandBlocks blocks(band_, mask);
    std::vector<std::int64_t> whole;
    std::string fault;
    withCellType(wholeType(), [&](auto zero) {
        using T = decltype(zero);
        const NoDataTest<T> isNoData(noDataValue_);
        std::unordered_map<T, std::uint64_t> cells;
        T last{};
        std::uint64_t* lastCount = nullptr;  // the count of last, null when last is not kept
        bool lastSeen = false;
        outcome = streamPieces(
            blocks,
            [&](const BandPiece& piece) {
                BandPiece q;
                if (real() && !wholePiece(piece, whole, q, fault))
                    return false;
                const BandPiece& p = real() ? q : piece;
                for (std::int64_t r = 0; r < p.height; ++r) {
                    const T* values = static_cast<const T*>(p.values) + r * p.stride;
                    const unsigned char* m = p.mask ? p.mask + r * p.width : nullptr;
                    for (std::int64_t i = 0; i < p.width; ++i) {
                        const T v = values[i];
                        if ((m && !m[i]) || isNoData(v)) {
                            ++out.noData;
                            continue;
                        }
                        if (!lastSeen || v != last) {
                            last = v;
                            lastSeen = true;
                            auto it = cells.find(v);
                            if (it == cells.end() && cells.size() < maxDistinct)
                                it = cells.emplace(v, 0).first;
                            else if (it == cells.end())
                                out.complete = false;
                            lastCount = it == cells.end() ? nullptr : &it->second;
                        }
                        if (lastCount)
                            ++*lastCount;
                        else
                            ++out.otherCells;
                    }
                }
                return true;
            },
            keepGoing, &readError);
        for (const auto& [v, n] : cells) {
            std::int64_t cls = 0;
            if (asClass(v, cls))
                out.classes.emplace_back(cls, n);
            else
                out.otherCells += n;
        }
        std::sort(out.classes.begin(), out.classes.end());
    });
    band_->FlushCache();
    if (outcome != StreamEnd::Done) {
        if (error)
            *error = !fault.empty() ? path_ + ": " + fault
                     : outcome == StreamEnd::Stopped ? "counting the classes of " + path_ + " was stopped"
                                                     : "reading " + path_ + " failed: " + readError;
        out = {};
        return false;
    }
    return true;
}

std::optional<std::int64_t> LandCoverMap::noDataClass() const
{
    if (real())
        return realNoData_ && *realNoData_ == std::floor(*realNoData_) && std::fabs(*realNoData_) < 9.2e18
                   ? std::optional<std::int64_t>(static_cast<std::int64_t>(*realNoData_))
                   : std::nullopt;
    if (!noDataValue_.has)
        return std::nullopt;
    if (!noDataValue_.isSigned)
        return noDataValue_.asUnsigned <= static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())
                   ? std::optional<std::int64_t>(static_cast<std::int64_t>(noDataValue_.asUnsigned))
                   : std::nullopt;
    return noDataValue_.asSigned;
}

bool LandCoverMap::wholePiece(const BandPiece& p, std::vector<std::int64_t>& buffer, BandPiece& out,
                              std::string& fault) const
{
    buffer.resize(static_cast<std::size_t>(p.width * p.height));
    auto convert = [&](auto zero) {
        using R = decltype(zero);
        for (std::int64_t r = 0; r < p.height; ++r) {
            const R* values = static_cast<const R*>(p.values) + r * p.stride;
            std::int64_t* to = buffer.data() + r * p.width;
            for (std::int64_t i = 0; i < p.width; ++i) {
                const double v = static_cast<double>(values[i]);
                if (std::isnan(v) || (realNoData_ && v == *realNoData_)) {
                    to[i] = RealNoData;
                } else if (v != std::floor(v) || std::fabs(v) >= 9.2e18) {
                    char text[64];
                    std::snprintf(text, sizeof text, "%.9g", v);
                    fault = "row " + std::to_string(p.y0 + r + 1) + ", column " + std::to_string(p.x0 + i + 1) + " holds " +
                            text + ", not a class; a map of classes stored as reals is classified with gdal_translate "
                            "-ot Int32 IN OUT";
                    return false;
                } else {
                    to[i] = static_cast<std::int64_t>(v);
                }
            }
        }
        return true;
    };
    if (!(cellType_ == CellType::Float32 ? convert(float{}) : convert(double{})))
        return false;
    out = p;
    out.values = buffer.data();
    out.stride = p.width;
    return true;
}

}  // namespace orvalis
