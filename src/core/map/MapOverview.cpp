#include "core/map/MapOverview.h"

#include "core/io/TgaImage.h"
#include "core/map/GdalSupport.h"
#include "core/run/RunControl.h"
#include "core/sampler/SampleRun.h"

#include <gdal_priv.h>
#include <ogr_spatialref.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <memory>
#include <thread>

namespace orvalis {

namespace {

// The sampler's rule for a TGA: blue at most 128 is habitat.
constexpr int HabitatThreshold = 128;
constexpr std::uint32_t MatrixColour = 0xFFF2EFE6;
constexpr std::uint32_t HabitatColour = 0xFF3C4A3E;

void fitSize(MapOverview& out, int maxSide)
{
    const std::int64_t longSide = std::max(out.mapWidth, out.mapHeight);
    const double shrink = longSide > maxSide ? static_cast<double>(maxSide) / static_cast<double>(longSide) : 1.0;
    out.width = static_cast<int>(std::clamp<double>(std::round(static_cast<double>(out.mapWidth) * shrink), 1, maxSide));
    out.height = static_cast<int>(std::clamp<double>(std::round(static_cast<double>(out.mapHeight) * shrink), 1, maxSide));
}

// The map cell whose centre-sampled value pixel p shows, as GDAL's nearest neighbour takes it.
std::int64_t sampledCell(int p, std::int64_t cells, int pixels)
{
    return std::min<std::int64_t>(cells - 1, static_cast<std::int64_t>((p + 0.5) * static_cast<double>(cells) / pixels));
}

// The National Land Cover Database's legend, for NLCD files that come without a colour table.
struct NlcdClass {
    int value;
    std::uint32_t rgb;
    const char* name;
};
constexpr NlcdClass NlcdLegend[] = {
    {11, 0x466B9F, "Open Water"},
    {12, 0xD1DEF8, "Perennial Ice/Snow"},
    {21, 0xDEC5C5, "Developed, Open Space"},
    {22, 0xD99282, "Developed, Low Intensity"},
    {23, 0xEB0000, "Developed, Medium Intensity"},
    {24, 0xAB0000, "Developed, High Intensity"},
    {31, 0xB3AC9F, "Barren Land"},
    {41, 0x68AB5F, "Deciduous Forest"},
    {42, 0x1C5F2C, "Evergreen Forest"},
    {43, 0xB5C58F, "Mixed Forest"},
    {51, 0xAF963C, "Dwarf Scrub"},
    {52, 0xCCB879, "Shrub/Scrub"},
    {71, 0xDFDFC2, "Grassland/Herbaceous"},
    {72, 0xD1D182, "Sedge/Herbaceous"},
    {73, 0xA3CC51, "Lichens"},
    {74, 0x82BA9E, "Moss"},
    {81, 0xDCD939, "Pasture/Hay"},
    {82, 0xAB6C28, "Cultivated Crops"},
    {90, 0xB8D9EB, "Woody Wetlands"},
    {95, 0x6C9FB8, "Emergent Herbaceous Wetlands"}};

// NLCD's colours when every value of the overview (no-data aside) is one of its classes.
std::vector<std::uint32_t> nlcdColours(const MapOverview& o)
{
    std::vector<std::uint32_t> colours(96, 0);
    for (const NlcdClass& c : NlcdLegend)
        colours[static_cast<std::size_t>(c.value)] = 0xFF000000u | c.rgb;
    for (std::int32_t v : o.values)
        if (v != o.noData && (v < 0 || v >= 96 || colours[static_cast<std::size_t>(v)] == 0))
            return {};
    return colours;
}

bool refuse(std::string* why, std::string text)
{
    if (why)
        *why = std::move(text);
    return false;
}

bool readTgaOverview(const std::string& path, int maxSide, RunControl* control, MapOverview& out, std::string* why)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file)
        return refuse(why, "cannot open " + path);
    TgaLayout layout;
    if (!readTgaLayout(file.get(), layout, why))
        return false;
    if (layout.width == 0 || layout.height == 0)
        return refuse(why, "the TGA image has no pixels");
    out.tga = true;
    out.firstRowSouth = !layout.firstRowTop;
    out.mapWidth = layout.width;
    out.mapHeight = layout.height;
    out.colours = {MatrixColour, HabitatColour};
    fitSize(out, maxSide);
    out.values.assign(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height), 0);
    const std::size_t rowBytes = static_cast<std::size_t>(layout.width) * static_cast<std::size_t>(layout.bytesPerPixel);
    std::vector<unsigned char> row(rowBytes);
    std::vector<std::size_t> columnAt(static_cast<std::size_t>(out.width));
    for (int px = 0; px < out.width; ++px)
        columnAt[static_cast<std::size_t>(px)] =
            static_cast<std::size_t>(sampledCell(px, out.mapWidth, out.width)) * layout.bytesPerPixel;
    // Only the sampled rows are read: a large image costs a few thousand rows, not its whole size.
    for (int r = 0; r < out.height; ++r) {
        if (control && !control->report({std::int64_t(r) * out.width, std::int64_t(out.width) * out.height, {}}))
            return refuse(why, "the map's reading was stopped");
        const std::int64_t drawnRow = sampledCell(r, out.mapHeight, out.height);
        const std::int64_t storedRow = out.firstRowSouth ? out.mapHeight - 1 - drawnRow : drawnRow;
        const auto offset = static_cast<off_t>(layout.pixelOffset + static_cast<std::uint64_t>(storedRow) * rowBytes);
        if (fseeko(file.get(), offset, SEEK_SET) != 0 || std::fread(row.data(), 1, rowBytes, file.get()) != rowBytes)
            return refuse(why, "cannot read " + path);
        std::int32_t* target = out.values.data() + static_cast<std::size_t>(r) * static_cast<std::size_t>(out.width);
        // File order is blue, green, red: byte 0 is the component the sampler thresholds.
        for (int px = 0; px < out.width; ++px)
            target[px] = row[columnAt[static_cast<std::size_t>(px)]] <= HabitatThreshold ? 1 : 0;
    }
    return true;
}

using DatasetPtr = std::unique_ptr<GDALDataset, void (*)(GDALDataset*)>;

DatasetPtr openDataset(const std::string& path)
{
    return DatasetPtr(GDALDataset::Open(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY),
                      [](GDALDataset* d) { GDALClose(GDALDataset::ToHandle(d)); });
}

// Overview pixels of one read: small enough that a stop is heard within a moment even on a
// map of a million cells a side without overviews.
constexpr std::int64_t PiecePixels = 128 * 128;
// A piece holding data is narrowed down to this many blocks across and down.
constexpr double SplitBlocks = 8;

// Reads overview rows [r0, r1) through a dataset of this thread's own, piece by piece. A piece
// GDAL knows to hold no data is filled with what GDAL would give for it, without a read.
class PieceReader {
public:
    PieceReader(GDALRasterBand* band, MapOverview& out, double fill, RunControl* control,
                std::atomic<std::int64_t>& done)
        : band_(band), out_(out), fill_(fill), control_(control), done_(done)
    {
        band->GetBlockSize(&blockX_, &blockY_);
        blockX_ = std::max(blockX_, 1);
        blockY_ = std::max(blockY_, 1);
    }

    bool read(int c0, int r0, int c1, int r1, std::string* why)
    {
        if (control_ && control_->isCanceled())
            return refuse(why, "the map's reading was stopped");
        const double sx0 = c0 * out_.cellsPerPixelX(), sx1 = c1 * out_.cellsPerPixelX();
        const double sy0 = r0 * out_.cellsPerPixelY(), sy1 = r1 * out_.cellsPerPixelY();
        const int x0 = static_cast<int>(std::floor(sx0));
        const int x1 = static_cast<int>(std::min<double>(static_cast<double>(out_.mapWidth), std::ceil(sx1)));
        const int y0 = static_cast<int>(std::floor(sy0));
        const int y1 = static_cast<int>(std::min<double>(static_cast<double>(out_.mapHeight), std::ceil(sy1)));
        const int status = band_->GetDataCoverageStatus(x0, y0, x1 - x0, y1 - y0, GDAL_DATA_COVERAGE_STATUS_DATA, nullptr);
        const std::int64_t pixels = std::int64_t(c1 - c0) * (r1 - r0);
        if (status == GDAL_DATA_COVERAGE_STATUS_EMPTY) {
            for (int r = r0; r < r1; ++r)
                for (int c = c0; c < c1; ++c)
                    put(c, r);
            done_ += pixels;
            return true;
        }
        // Where GDAL tells data from empty blocks, a piece with data is narrowed down to a few blocks,
        // so that the empty blocks about the data are never decoded.
        const bool knows = (status & GDAL_DATA_COVERAGE_STATUS_UNIMPLEMENTED) == 0;
        const double blocksAcross = double(x1 - x0) / blockX_, blocksDown = double(y1 - y0) / blockY_;
        const bool wide = knows && std::max(blocksAcross, blocksDown) > SplitBlocks;
        if ((pixels > PiecePixels || wide) && pixels > 1) {
            // Halves along the side with more blocks (more pixels for a piece too large):
            // empty stretches of a sparse map fall out whole.
            const bool across = r1 - r0 == 1 || (c1 - c0 > 1 && (wide ? blocksAcross >= blocksDown : c1 - c0 >= r1 - r0));
            if (across) {
                const int cm = (c0 + c1) / 2;
                return read(c0, r0, cm, r1, why) && read(cm, r0, c1, r1, why);
            }
            const int rm = (r0 + r1) / 2;
            return read(c0, r0, c1, rm, why) && read(c0, rm, c1, r1, why);
        }
        GDALRasterIOExtraArg extra;
        INIT_RASTERIO_EXTRA_ARG(extra);
        extra.eResampleAlg = GRIORA_NearestNeighbour;
        extra.bFloatingPointWindowValidity = TRUE;
        // The fractional window makes every pixel sample the cell a read of the whole map would.
        extra.dfXOff = sx0;
        extra.dfXSize = sx1 - sx0;
        extra.dfYOff = sy0;
        extra.dfYSize = sy1 - sy0;
        const std::size_t first = static_cast<std::size_t>(r0) * static_cast<std::size_t>(out_.width) + static_cast<std::size_t>(c0);
        const GDALDataType type = out_.real ? GDT_Float32 : GDT_Int32;
        const GSpacing pixel = out_.real ? sizeof(float) : sizeof(std::int32_t);
        void* target = out_.real ? static_cast<void*>(out_.reals.data() + first) : static_cast<void*>(out_.values.data() + first);
        if (band_->RasterIO(GF_Read, x0, y0, x1 - x0, y1 - y0, target, c1 - c0, r1 - r0, type, pixel,
                            pixel * out_.width, &extra) != CE_None)
            return refuse(why, GdalErrorScope::message("cannot read the map"));
        done_ += pixels;
        return true;
    }

private:
    void put(int c, int r)
    {
        const std::size_t k = static_cast<std::size_t>(r) * static_cast<std::size_t>(out_.width) + static_cast<std::size_t>(c);
        if (out_.real)
            out_.reals[k] = static_cast<float>(fill_);
        else
            out_.values[k] = static_cast<std::int32_t>(fill_);
    }

    GDALRasterBand* band_;
    MapOverview& out_;
    double fill_;
    RunControl* control_;
    std::atomic<std::int64_t>& done_;
    int blockX_ = 1, blockY_ = 1;
};

// What GDAL gives for a block a sparse file leaves out: the no-data value, else 0.
double sparseFill(GDALRasterBand* band, bool real)
{
    int hasNoData = 0;
    const double noData = band->GetNoDataValue(&hasNoData);
    if (!hasNoData || (!real && !(std::isfinite(noData) && noData >= INT32_MIN && noData <= INT32_MAX)))
        return 0;
    return noData;
}

bool readRows(const std::string& path, int bandNumber, MapOverview& out, int r0, int r1, RunControl* control,
              std::atomic<std::int64_t>& done, bool reports, std::string* why)
{
    GdalErrorScope errors;
    const DatasetPtr ds = openDataset(path);
    if (!ds)
        return refuse(why, GdalErrorScope::message("GDAL cannot read " + path));
    GDALRasterBand* band = ds->GetRasterBand(bandNumber);
    PieceReader reader(band, out, sparseFill(band, out.real), control, done);
    const std::int64_t total = std::int64_t(out.width) * out.height;
    // Bands of rows a piece high, so that the thread that may report does so as it goes.
    const int step = std::max(1, static_cast<int>(PiecePixels / std::max(1, out.width)));
    for (int r = r0; r < r1; r += step) {
        if (!reader.read(0, r, out.width, std::min(r1, r + step), why))
            return false;
        if (reports && control && !control->report({done.load(), total, {}}))
            return refuse(why, "the map's reading was stopped");
    }
    return true;
}

bool readGdalOverview(const std::string& path, int maxSide, int bandNumber, int threads, RunControl* control,
                      MapOverview& out, std::string* why)
{
    registerGdal();
    GdalErrorScope errors;
    const DatasetPtr ds = openDataset(path);
    if (!ds)
        return refuse(why, GdalErrorScope::message("GDAL cannot read " + path));
    if (ds->GetRasterCount() < 1)
        return refuse(why, path + ": " + noBandReason(*ds));
    if (bandNumber < 1 || bandNumber > ds->GetRasterCount())
        return refuse(why, path + " has no band " + std::to_string(bandNumber));
    for (int b = 1; b <= ds->GetRasterCount(); ++b)
        out.bandNames.emplace_back(ds->GetRasterBand(b)->GetDescription());
    GeoTransform frame{};
    if (ds->GetGeoTransform(frame.data()) == CE_None)
        out.frame = frame;
    if (const OGRSpatialReference* crs = ds->GetSpatialRef()) {
        out.geographic = crs->IsGeographic();
        out.projected = crs->IsProjected();
        if (out.projected)
            out.metresPerUnit = crs->GetLinearUnits();
    }
    GDALRasterBand* band = ds->GetRasterBand(bandNumber);
    out.mapWidth = band->GetXSize();
    out.mapHeight = band->GetYSize();
    fitSize(out, maxSide);
    const GDALDataType type = band->GetRasterDataType();
    out.real = GDALDataTypeIsFloating(type) && !GDALDataTypeIsComplex(type);
    const std::size_t pixels = static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height);
    if (out.real)
        out.reals.assign(pixels, 0.0f);
    else
        out.values.assign(pixels, 0);
    // A map without overviews of its own is decoded whole: bands of rows on every core share the work.
    // Every thread opens the map again, and a map of millions of blocks brings an index of
    // hundreds of megabytes each time: such a map (sparse, or it would not be drawn at all) is read on one.
    int blockX = 0, blockY = 0;
    band->GetBlockSize(&blockX, &blockY);
    const std::int64_t blocks = (out.mapWidth + std::max(blockX, 1) - 1) / std::max(blockX, 1) *
                                ((out.mapHeight + std::max(blockY, 1) - 1) / std::max(blockY, 1));
    const bool large = band->GetOverviewCount() == 0 && out.mapWidth * out.mapHeight > (std::int64_t(1) << 24) &&
                       blocks < (std::int64_t(1) << 20);
    const int cores = large ? static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 8u)) : 1;
    const int parts = std::clamp(threads > 0 ? threads : cores, 1, out.height);
    // A band of rows needs one row of blocks at a time (two where bands meet): a cache that holds
    // just that is reused instead of growing through fresh memory, whose page faults cost a third
    // of the read on a large map. Pieces of a very wide map need far less than a whole row of
    // blocks, so the cache stays bounded whatever the width.
    const std::int64_t blockRow = (out.mapWidth + std::max(blockX, 1) - 1) / std::max(blockX, 1) *
                                  std::int64_t(std::max(blockX, 1)) * std::max(blockY, 1) *
                                  std::max(GDALGetDataTypeSizeBytes(band->GetRasterDataType()), 1);
    GdalCacheLimit cache(std::clamp(2 * (parts + 1) * blockRow, std::int64_t(64) << 20, std::int64_t(128) << 20));
    std::vector<std::string> problems(static_cast<std::size_t>(parts));
    std::vector<char> done(static_cast<std::size_t>(parts), 0);
    std::atomic<std::int64_t> pixelsDone{0};
    {
        std::vector<std::jthread> workers;
        for (int k = 0; k < parts; ++k) {
            const int r0 = out.height * k / parts, r1 = out.height * (k + 1) / parts;
            const bool last = k + 1 == parts;
            const auto job = [&, k, r0, r1, last] {
                done[k] = readRows(path, bandNumber, out, r0, r1, control, pixelsDone, last, &problems[k]);
                // One band failing stops the others: the whole read has failed.
                if (!done[k] && control)
                    control->cancel();
            };
            if (!last)
                workers.emplace_back(job);
            else
                job();
        }
    }
    for (int k = 0; k < parts; ++k)
        if (!done[static_cast<std::size_t>(k)])
            return refuse(why, problems[static_cast<std::size_t>(k)]);
    if (char** names = band->GetCategoryNames())
        for (; *names; ++names)
            out.categories.emplace_back(*names);
    int hasNoData = 0;
    const double noData = band->GetNoDataValue(&hasNoData);
    if (out.real) {
        if (hasNoData && !std::isnan(noData))
            std::replace(out.reals.begin(), out.reals.end(), static_cast<float>(noData), std::nanf(""));
        return true;
    }
    if (hasNoData && std::isfinite(noData) && noData >= INT32_MIN && noData <= INT32_MAX)
        out.noData = static_cast<std::int32_t>(noData);
    if (const GDALColorTable* table = band->GetColorTable()) {
        out.colours.resize(static_cast<std::size_t>(std::max(0, table->GetColorEntryCount())));
        for (std::size_t k = 0; k < out.colours.size(); ++k) {
            GDALColorEntry e{};
            table->GetColorEntryAsRGB(static_cast<int>(k), &e);
            out.colours[k] = static_cast<std::uint32_t>(e.c4 & 0xFF) << 24 | static_cast<std::uint32_t>(e.c1 & 0xFF) << 16 |
                             static_cast<std::uint32_t>(e.c2 & 0xFF) << 8 | static_cast<std::uint32_t>(e.c3 & 0xFF);
        }
    } else {
        out.colours = nlcdColours(out);
        out.nlcd = !out.colours.empty();
    }
    if (out.nlcd && out.categories.empty()) {
        out.categories.resize(out.colours.size());
        for (const NlcdClass& c : NlcdLegend)
            out.categories[static_cast<std::size_t>(c.value)] = c.name;
    }
    return true;
}

}  // namespace

bool readMapOverview(const std::string& path, int maxSide, MapOverview& out, std::string* why, int band, int threads,
                     RunControl* control)
{
    out = MapOverview{};
    if (maxSide < 1)
        return refuse(why, "an overview needs at least one pixel");
    // A FIFO or a device would hold the reader for ever.
    if (std::string refusal = specialFileRefusal(path); !refusal.empty())
        return refuse(why, path + ": " + refusal);
    const bool ok = isTgaPath(path) ? readTgaOverview(path, maxSide, control, out, why)
                                      : readGdalOverview(path, maxSide, band, threads, control, out, why);
    if (!ok)
        out = MapOverview{};
    return ok;
}

LoggedWindow loggedWindow(int x, int y, int side, std::int64_t mapHeight, bool firstRowSouth)
{
    const int h = side / 2;
    LoggedWindow w;
    w.side = side;
    if (firstRowSouth) {
        // Stored rows y - h .. y + h - 1 are drawn as rows mapHeight - y - h .. mapHeight - y + h - 1.
        w.northWest = {mapHeight - y - h, x - h};
        w.centre = {mapHeight - 1 - y, x};
    } else {
        w.northWest = {static_cast<std::int64_t>(y) - h, static_cast<std::int64_t>(x) - h};
        w.centre = {y, x};
    }
    return w;
}

}  // namespace orvalis
