#include "core/map/MapOverview.h"

#include "core/io/TgaImage.h"
#include "core/map/GdalSupport.h"
#include "core/sampler/SampleRun.h"

#include <gdal_priv.h>

#include <algorithm>
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
constexpr std::pair<int, std::uint32_t> NlcdLegend[] = {
    {11, 0x466B9F}, {12, 0xD1DEF8}, {21, 0xDEC5C5}, {22, 0xD99282}, {23, 0xEB0000}, {24, 0xAB0000}, {31, 0xB3AC9F},
    {41, 0x68AB5F}, {42, 0x1C5F2C}, {43, 0xB5C58F}, {51, 0xAF963C}, {52, 0xCCB879}, {71, 0xDFDFC2}, {72, 0xD1D182},
    {73, 0xA3CC51}, {74, 0x82BA9E}, {81, 0xDCD939}, {82, 0xAB6C28}, {90, 0xB8D9EB}, {95, 0x6C9FB8}};

// NLCD's colours when every value of the overview (no-data aside) is one of its classes.
std::vector<std::uint32_t> nlcdColours(const MapOverview& o)
{
    std::vector<std::uint32_t> colours(96, 0);
    for (const auto& [value, rgb] : NlcdLegend)
        colours[static_cast<std::size_t>(value)] = 0xFF000000u | rgb;
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

bool readTgaOverview(const std::string& path, int maxSide, MapOverview& out, std::string* why)
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

// Overview rows [r0, r1) through a dataset of this thread's own: the source window is given in
// fractional rows so that each pixel samples the cell the whole read would.
bool readRows(const std::string& path, int bandNumber, MapOverview& out, int r0, int r1, std::string* why)
{
    const std::size_t first = static_cast<std::size_t>(r0) * static_cast<std::size_t>(out.width);
    void* target = out.real ? static_cast<void*>(out.reals.data() + first) : static_cast<void*>(out.values.data() + first);
    GdalErrorScope errors;
    const DatasetPtr ds = openDataset(path);
    if (!ds)
        return refuse(why, GdalErrorScope::message("GDAL cannot read " + path));
    const double rowsPerPixel = out.cellsPerPixelY();
    GDALRasterIOExtraArg extra;
    INIT_RASTERIO_EXTRA_ARG(extra);
    extra.eResampleAlg = GRIORA_NearestNeighbour;
    extra.bFloatingPointWindowValidity = TRUE;
    extra.dfXOff = 0;
    extra.dfXSize = static_cast<double>(out.mapWidth);
    extra.dfYOff = r0 * rowsPerPixel;
    extra.dfYSize = (r1 - r0) * rowsPerPixel;
    const int y0 = static_cast<int>(std::floor(extra.dfYOff));
    const int y1 = static_cast<int>(std::min<double>(static_cast<double>(out.mapHeight), std::ceil(extra.dfYOff + extra.dfYSize)));
    if (ds->GetRasterBand(bandNumber)->RasterIO(GF_Read, 0, y0, static_cast<int>(out.mapWidth), y1 - y0, target, out.width,
                                                r1 - r0, out.real ? GDT_Float32 : GDT_Int32, 0, 0, &extra) != CE_None)
        return refuse(why, GdalErrorScope::message("cannot read " + path));
    return true;
}

bool readGdalOverview(const std::string& path, int maxSide, int bandNumber, int threads, MapOverview& out,
                      std::string* why)
{
    registerGdal();
    GdalErrorScope errors;
    const DatasetPtr ds = openDataset(path);
    if (!ds)
        return refuse(why, GdalErrorScope::message("GDAL cannot read " + path));
    if (bandNumber < 1 || bandNumber > ds->GetRasterCount())
        return refuse(why, path + " has no band " + std::to_string(bandNumber));
    for (int b = 1; b <= ds->GetRasterCount(); ++b)
        out.bandNames.emplace_back(ds->GetRasterBand(b)->GetDescription());
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
    const bool large = band->GetOverviewCount() == 0 && out.mapWidth * out.mapHeight > (std::int64_t(1) << 24);
    const int cores = large ? static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 8u)) : 1;
    const int parts = std::clamp(threads > 0 ? threads : cores, 1, out.height);
    // A band of rows needs one row of blocks at a time (two where bands meet): a cache that holds
    // just that is reused instead of growing through fresh memory, whose page faults cost a third
    // of the read on a large map.
    int blockX = 0, blockY = 0;
    band->GetBlockSize(&blockX, &blockY);
    const std::int64_t blockRow = (out.mapWidth + std::max(blockX, 1) - 1) / std::max(blockX, 1) *
                                  std::int64_t(std::max(blockX, 1)) * std::max(blockY, 1) *
                                  std::max(GDALGetDataTypeSizeBytes(band->GetRasterDataType()), 1);
    GdalCacheLimit cache(std::max(std::int64_t(64) << 20, 2 * (parts + 1) * blockRow));
    std::vector<std::string> problems(static_cast<std::size_t>(parts));
    std::vector<char> done(static_cast<std::size_t>(parts), 0);
    {
        std::vector<std::jthread> workers;
        for (int k = 0; k < parts; ++k) {
            const int r0 = out.height * k / parts, r1 = out.height * (k + 1) / parts;
            const auto job = [&, k, r0, r1] { done[k] = readRows(path, bandNumber, out, r0, r1, &problems[k]); };
            if (k + 1 < parts)
                workers.emplace_back(job);
            else
                job();
        }
    }
    for (int k = 0; k < parts; ++k)
        if (!done[static_cast<std::size_t>(k)])
            return refuse(why, problems[static_cast<std::size_t>(k)]);
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
    }
    return true;
}

}  // namespace

bool readMapOverview(const std::string& path, int maxSide, MapOverview& out, std::string* why, int band, int threads)
{
    out = MapOverview{};
    if (maxSide < 1)
        return refuse(why, "an overview needs at least one pixel");
    const bool ok = isTgaPath(path) ? readTgaOverview(path, maxSide, out, why)
                                      : readGdalOverview(path, maxSide, band, threads, out, why);
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
