#pragma once

#include "core/map/BandBlocks.h"
#include "core/map/BitLayer.h"
#include "core/map/CellClassifier.h"
#include "core/map/GeoTransform.h"
#include "core/map/HabitatClasses.h"

#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class GDALDataset;
class GDALRasterBand;

namespace orvalis {

// What load() counted in its one pass.
struct HabitatTally {
    std::uint64_t cells = 0;    // width x height
    std::uint64_t valid = 0;    // cells that are not no-data
    std::uint64_t habitat = 0;
    std::uint64_t noData = 0;
    // Habitat classes the map holds, ascending, with their cells; absent classes are left out.
    std::vector<std::pair<std::int64_t, std::uint64_t>> byClass;
    // Classes listed singly that no valid cell holds, ascending.
    std::vector<std::int64_t> singlyListedAbsent;
    // The lowest and highest class of any valid cell, for bands wider than 16 bits (narrower
    // ones fit any window format); beyond64: a UInt64 cell past the signed 64-bit range.
    std::int64_t lowestClass = std::numeric_limits<std::int64_t>::max();
    std::int64_t highestClass = std::numeric_limits<std::int64_t>::min();
    bool beyond64 = false;
};

// The classes a map holds, for a chooser.
struct ClassCounts {
    std::vector<std::pair<std::int64_t, std::uint64_t>> classes;  // ascending, cells > 0
    std::uint64_t noData = 0;
    // False when the map holds more distinct values than were asked for: classes then has the
    // first ones met, counted exactly, and otherCells the valid cells of all the others.
    bool complete = true;
    std::uint64_t otherCells = 0;
};

// A classified land-cover map read through GDAL: one integer band whose cell values are
// classes. load() reads it once, block by block, into one habitat bit and (where the map has
// any) one no-data bit per cell, indexed so that both can be counted in any rectangle at a
// cost that does not grow with the rectangle. Columns x count from the west edge, rows y
// from the north edge, in GDAL's order.
class LandCoverMap {
public:
    // GDAL's block cache while the map is read: blocks are visited once, so it only needs to
    // hold what one block row of an interleaved file brings in.
    static constexpr std::int64_t ReadCacheBytes = 64ll << 20;

    LandCoverMap();
    ~LandCoverMap();
    LandCoverMap(const LandCoverMap&) = delete;
    LandCoverMap& operator=(const LandCoverMap&) = delete;

    // Opens anything GDAL reads as a raster and picks band (from 1); false, holding nothing,
    // with a message when it cannot be opened, the band does not exist or is not integer.
    bool open(const std::string& path, int band, std::string* error);
    void close();
    bool isOpen() const { return band_ != nullptr; }

    std::int64_t width() const { return width_; }    // columns
    std::int64_t height() const { return height_; }  // rows
    int band() const { return bandNumber_; }
    int bandCount() const { return bandCount_; }
    const std::string& typeName() const { return typeName_; }

    // GDAL's frame of the map; without one, cells are units, row 0 is north and the map's
    // south-west corner is (0, 0).
    bool hasGeoTransform() const { return hasGeoTransform_; }
    const GeoTransform& geoTransform() const { return geoTransform_; }
    // The coordinate reference system as WKT 2 and as the ESRI WKT a .prj holds; empty without one.
    const std::string& crsWkt() const { return crsWkt_; }
    const std::string& crsEsriWkt() const { return crsEsriWkt_; }
    bool geographic() const { return geographic_; }  // coordinates in degrees
    bool unrotated() const { return orvalis::unrotated(geoTransform_); }
    bool squareCells() const { return orvalis::squareCells(geoTransform_); }
    bool northUp() const { return orvalis::northUp(geoTransform_); }

    // Reads the map once and keeps which cells are habitat (a valid cell whose class is listed)
    // and which are no-data (equal to the band's no-data value or masked out by GDAL's mask,
    // alpha band or .msk file). keepGoing hears the fraction read after each block; false from
    // it stops the read. False, holding nothing, on a stop or a read error.
    bool load(const HabitatClasses& classes, const std::function<bool(double fraction)>& keepGoing,
              std::string* error);
    bool loaded() const { return !habitat_.empty(); }
    void unload();
    const HabitatTally& tally() const { return tally_; }
    // The band's no-data value as a class number, when it is a whole number (of an integer band,
    // or a real one's declared value).
    std::optional<std::int64_t> noDataClass() const;
    // Memory held by the loaded layers.
    std::uint64_t loadedBytes() const { return habitat_.bytes() + noData_.bytes(); }

    // Habitat and no-data cells in columns [x0, x1) and rows [y0, y1) of a loaded map.
    std::uint64_t habitat(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1) const
    {
        return habitat_.count(x0, y0, x1, y1);
    }
    std::uint64_t noData(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1) const
    {
        return noData_.empty() || !noData_.maybeAny(x0, y0, x1, y1) ? 0 : noData_.count(x0, y0, x1, y1);
    }
    bool hasNoData() const { return !noData_.empty(); }

    // Row-major flags of the w x h cells from (x0, y0): 1 habitat / 0 not, and 1 no-data / 0 not.
    void habitatFlags(std::int64_t x0, std::int64_t y0, std::int64_t w, std::int64_t h, unsigned char* out) const;
    void noDataFlags(std::int64_t x0, std::int64_t y0, std::int64_t w, std::int64_t h, unsigned char* out) const;

    // The class values of the w x h cells from (x0, y0), row-major, read again from the map
    // (only the blocks the window covers).
    bool readClasses(std::int64_t x0, std::int64_t y0, std::int64_t w, std::int64_t h, std::vector<std::int64_t>& out,
                     std::string* error);

    // The classes the map holds with their cells, without loading it: GDAL's exact histogram
    // where the band is 8 or 16 bits unsigned and unmasked, else one pass that keeps at most
    // maxDistinct values.
    bool classCounts(ClassCounts& out, std::size_t maxDistinct, const std::function<bool(double fraction)>& keepGoing,
                     std::string* error);

    // What a real band's NaN and no-data cells are classified as: no class can hold it.
    static constexpr std::int64_t RealNoData = std::numeric_limits<std::int64_t>::min();

    // How the band's cells are stored, as the block reader sees them.
    enum class CellType { UInt8, Int8, UInt16, Int16, UInt32, Int32, UInt64, Int64, Float32, Float64 };

private:
    // The mask band to read beside the values, or nullptr when the no-data value says it all.
    GDALRasterBand* maskToRead() const;
    // Real-valued bands are read as whole numbers of 64 bits, their NaN and no-data cells as
    // RealNoData; the type the cells are classified as.
    bool real() const { return cellType_ == CellType::Float32 || cellType_ == CellType::Float64; }
    CellType wholeType() const { return real() ? CellType::Int64 : cellType_; }
    // A piece of a real band as whole numbers in buffer; false with fault naming a fractional cell.
    bool wholePiece(const BandPiece& p, std::vector<std::int64_t>& buffer, BandPiece& out, std::string& fault) const;
    bool histogramCounts(ClassCounts& out, const std::function<bool(double)>& keepGoing, std::string* error);

    GDALDataset* dataset_ = nullptr;
    GDALRasterBand* band_ = nullptr;
    std::string path_;
    int bandNumber_ = 0;
    int bandCount_ = 0;
    CellType cellType_ = CellType::UInt8;
    std::optional<double> realNoData_;  // a real band's declared no-data value
    std::string typeName_;
    std::int64_t width_ = 0;
    std::int64_t height_ = 0;
    bool hasGeoTransform_ = false;
    GeoTransform geoTransform_{};
    std::string crsWkt_;
    std::string crsEsriWkt_;
    bool geographic_ = false;
    NoDataValue noDataValue_;

    BitLayer habitat_;
    BitLayer noData_;
    HabitatTally tally_;
};

// The raster bands of the file GDAL opens at path, 0 when it opens none: a map whose chosen
// band is refused still tells which others there are.
int rasterBandCount(const std::string& path);

}  // namespace orvalis
