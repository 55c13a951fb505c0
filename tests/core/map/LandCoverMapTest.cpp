#include "core/io/TgaImage.h"
#include "core/map/LandCoverMap.h"

#include "support/NamedCase.h"
#include "support/TempDir.h"

#include <gdal_priv.h>
#include <gtest/gtest.h>

#include <cpl_conv.h>

#include <filesystem>
#include <limits>
#include <map>
#include <random>

namespace {

using namespace orvalis;
using namespace orvalis::test;

using ClassCells = std::vector<std::pair<std::int64_t, std::uint64_t>>;

// How a case marks its no-data cells.
enum class Invalid { None, Value, Mask, MaskFile, Alpha, ValueAndMask };

struct MapCase : NamedCase {
    int width, height;
    GDALDataType type;
    std::vector<const char*> options;  // GeoTIFF creation options: layout, signed bytes
    const char* classes;
    Invalid invalid;
    std::int64_t offset = 0;  // added to every class value, to reach a type's far end
};

// A map as the test made it, cell by cell: what the slow counts are taken from.
struct Truth {
    int width = 0, height = 0;
    std::vector<std::int64_t> values;
    std::vector<unsigned char> noData, habitat;

    std::uint64_t count(const std::vector<unsigned char>& layer, int x0, int y0, int x1, int y1) const
    {
        std::uint64_t n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                n += layer[static_cast<std::size_t>(y) * width + x];
        return n;
    }
};

bool signedBytes(const MapCase& c)
{
    for (const char* o : c.options)
        if (std::string(o) == "PIXELTYPE=SIGNEDBYTE")
            return true;
    return false;
}

// Writes a map of patches of 12 classes (with scattered single cells) and returns its cells.
Truth makeMap(const MapCase& c, const std::string& path, std::mt19937& gen)
{
    GDALAllRegister();
    Truth t;
    t.width = c.width;
    t.height = c.height;
    const std::int64_t low = signedBytes(c) || c.type == GDT_Int16 || c.type == GDT_Int32 || c.type == GDT_Int64 ? -6 : 0;
    std::uniform_int_distribution<int> cls(0, 11), odd(0, 19), side(1, 40);
    const int patch = side(gen);
    std::vector<int> coarse(static_cast<std::size_t>((c.width / patch + 1) * (c.height / patch + 1)));
    for (int& v : coarse)
        v = cls(gen);
    t.values.resize(static_cast<std::size_t>(c.width) * c.height);
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x)
            t.values[static_cast<std::size_t>(y) * c.width + x] =
                c.offset + low + (odd(gen) == 0 ? cls(gen) : coarse[(y / patch) * (c.width / patch + 1) + x / patch]);

    std::vector<const char*> options = c.options;
    const bool alpha = c.invalid == Invalid::Alpha;
    if (alpha)
        options.push_back("ALPHA=YES");
    options.push_back(nullptr);
    GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("GTiff");
    GDALDataset* ds = driver->Create(path.c_str(), c.width, c.height, alpha ? 2 : 1, c.type, const_cast<char**>(options.data()));
    EXPECT_NE(ds, nullptr) << CPLGetLastErrorMsg();
    GDALRasterBand* band = ds->GetRasterBand(1);
    if (signedBytes(c)) {
        // GDAL converts to the band's type as if bytes were unsigned: the bytes go as they are.
        std::vector<std::uint8_t> bytes(t.values.begin(), t.values.end());
        EXPECT_EQ(band->RasterIO(GF_Write, 0, 0, c.width, c.height, bytes.data(), c.width, c.height, GDT_Byte, 0, 0,
                                 nullptr),
                  CE_None);
    } else {
        EXPECT_EQ(band->RasterIO(GF_Write, 0, 0, c.width, c.height, t.values.data(), c.width, c.height, GDT_Int64, 0,
                                 0, nullptr),
                  CE_None);
    }
    t.noData.assign(t.values.size(), 0);
    const std::int64_t noDataValue = c.offset + low + 3;
    if (c.invalid == Invalid::Value || c.invalid == Invalid::ValueAndMask) {
        if (c.type == GDT_Int64)
            band->SetNoDataValueAsInt64(noDataValue);
        else if (c.type == GDT_UInt64)
            band->SetNoDataValueAsUInt64(static_cast<std::uint64_t>(noDataValue));
        else
            band->SetNoDataValue(static_cast<double>(noDataValue));
        for (std::size_t i = 0; i < t.values.size(); ++i)
            t.noData[i] = t.values[i] == noDataValue;
    }
    if (c.invalid != Invalid::None && c.invalid != Invalid::Value) {
        // A masked-out disc and a masked-out first column.
        std::vector<unsigned char> valid(t.values.size());
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x) {
                const int dx = x - c.width / 3, dy = y - c.height / 2, r = std::min(c.width, c.height) / 4;
                const bool out = x == 0 || dx * dx + dy * dy < r * r;
                valid[static_cast<std::size_t>(y) * c.width + x] = out ? 0 : 255;
                t.noData[static_cast<std::size_t>(y) * c.width + x] |= out;
            }
        GDALRasterBand* maskBand = nullptr;
        if (alpha) {
            maskBand = ds->GetRasterBand(2);
        } else {
            CPLSetThreadLocalConfigOption("GDAL_TIFF_INTERNAL_MASK", c.invalid == Invalid::MaskFile ? "NO" : "YES");
            EXPECT_EQ(ds->CreateMaskBand(GMF_PER_DATASET), CE_None);
            CPLSetThreadLocalConfigOption("GDAL_TIFF_INTERNAL_MASK", nullptr);
            maskBand = band->GetMaskBand();
        }
        EXPECT_EQ(maskBand->RasterIO(GF_Write, 0, 0, c.width, c.height, valid.data(), c.width, c.height, GDT_Byte, 0, 0,
                                     nullptr),
                  CE_None);
    }
    GDALClose(GDALDataset::ToHandle(ds));
    if (c.invalid == Invalid::MaskFile) {
        EXPECT_TRUE(std::filesystem::exists(path + ".msk"));
    }
    HabitatClasses classes;
    EXPECT_TRUE(classes.parse(c.classes, nullptr));
    t.habitat.resize(t.values.size());
    for (std::size_t i = 0; i < t.values.size(); ++i)
        t.habitat[i] = !t.noData[i] && classes.contains(t.values[i]);
    return t;
}

class MapCountTest : public ::testing::TestWithParam<MapCase> {};

// Every count the map gives, against the cells the test wrote.
TEST_P(MapCountTest, CountsAsTheCellsDo)
{
    const MapCase& c = GetParam();
    TempDir dir;
    const std::string path = dir.file("m\xc3\xa3pa.tif");
    std::mt19937 gen(static_cast<unsigned>(c.width * 31 + c.height));
    const Truth t = makeMap(c, path, gen);

    HabitatClasses classes;
    ASSERT_TRUE(classes.parse(c.classes, nullptr));
    LandCoverMap map;
    std::string error;
    ASSERT_TRUE(map.open(path, 1, &error)) << error;
    ASSERT_EQ(map.width(), c.width);
    ASSERT_EQ(map.height(), c.height);
    double lastFraction = 0;
    ASSERT_TRUE(map.load(classes, [&](double f) { return lastFraction = f, true; }, &error)) << error;
    EXPECT_EQ(lastFraction, 1.0);

    const HabitatTally& tally = map.tally();
    const std::uint64_t habitat = t.count(t.habitat, 0, 0, c.width, c.height);
    const std::uint64_t noData = t.count(t.noData, 0, 0, c.width, c.height);
    EXPECT_EQ(tally.habitat, habitat);
    EXPECT_EQ(tally.noData, noData);
    EXPECT_EQ(tally.valid, t.values.size() - noData);
    EXPECT_EQ(map.hasNoData(), noData > 0);
    std::map<std::int64_t, std::uint64_t> byClass;
    for (std::size_t i = 0; i < t.values.size(); ++i)
        if (t.habitat[i])
            ++byClass[t.values[i]];
    EXPECT_EQ(tally.byClass, ClassCells(byClass.begin(), byClass.end()));
    for (std::int64_t v : tally.singlyListedAbsent)
        EXPECT_EQ(byClass.count(v), 0u) << v;

    // Sums of the layers the slow way, for rectangles anywhere, edges and corners included.
    std::vector<std::uint64_t> sumH((c.width + 1) * static_cast<std::size_t>(c.height + 1)), sumN(sumH.size());
    auto at = [&](int x, int y) { return static_cast<std::size_t>(y) * (c.width + 1) + x; };
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * c.width + x;
            sumH[at(x + 1, y + 1)] = sumH[at(x, y + 1)] + sumH[at(x + 1, y)] - sumH[at(x, y)] + t.habitat[i];
            sumN[at(x + 1, y + 1)] = sumN[at(x, y + 1)] + sumN[at(x + 1, y)] - sumN[at(x, y)] + t.noData[i];
        }
    std::uniform_int_distribution<int> px(0, c.width), py(0, c.height);
    for (int k = 0; k < 3000; ++k) {
        int x0 = px(gen), x1 = px(gen), y0 = py(gen), y1 = py(gen);
        if (k % 7 == 0)
            x0 = 0, y1 = c.height;
        if (x0 > x1)
            std::swap(x0, x1);
        if (y0 > y1)
            std::swap(y0, y1);
        const auto want = [&](const std::vector<std::uint64_t>& s) {
            return s[at(x1, y1)] - s[at(x0, y1)] - s[at(x1, y0)] + s[at(x0, y0)];
        };
        ASSERT_EQ(map.habitat(x0, y0, x1, y1), want(sumH)) << x0 << "," << y0 << " .. " << x1 << "," << y1;
        ASSERT_EQ(map.noData(x0, y0, x1, y1), want(sumN)) << x0 << "," << y0 << " .. " << x1 << "," << y1;
    }

    // A window's cells: flags from the bits, classes read again from the file.
    const int w = std::min(c.width, 37), h = std::min(c.height, 29);
    const int x0 = std::uniform_int_distribution<int>(0, c.width - w)(gen);
    const int y0 = std::uniform_int_distribution<int>(0, c.height - h)(gen);
    std::vector<unsigned char> flags(static_cast<std::size_t>(w) * h), none(flags.size());
    std::vector<std::int64_t> values;
    map.habitatFlags(x0, y0, w, h, flags.data());
    map.noDataFlags(x0, y0, w, h, none.data());
    ASSERT_TRUE(map.readClasses(x0, y0, w, h, values, &error)) << error;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::size_t i = static_cast<std::size_t>(y0 + y) * c.width + x0 + x, j = static_cast<std::size_t>(y) * w + x;
            ASSERT_EQ(flags[j], t.habitat[i]) << x << "," << y;
            ASSERT_EQ(none[j], t.noData[i]) << x << "," << y;
            ASSERT_EQ(values[j], t.values[i]) << x << "," << y;
        }

    ClassCounts counts;
    ASSERT_TRUE(map.classCounts(counts, 1000, {}, &error)) << error;
    std::map<std::int64_t, std::uint64_t> histogram;
    for (std::size_t i = 0; i < t.values.size(); ++i)
        if (!t.noData[i])
            ++histogram[t.values[i]];
    EXPECT_TRUE(counts.complete);
    EXPECT_EQ(counts.noData, noData);
    EXPECT_EQ(counts.classes, ClassCells(histogram.begin(), histogram.end()));
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, MapCountTest,
    ::testing::Values(
        MapCase{"ByteTiled16", 300, 270, GDT_Byte, {"TILED=YES", "BLOCKXSIZE=16", "BLOCKYSIZE=16"}, "2,5,7", Invalid::Value},
        MapCase{"ByteTiled256", 513, 300, GDT_Byte, {"TILED=YES", "COMPRESS=DEFLATE"}, "1-3, 9", Invalid::None},
        MapCase{"ByteStrips", 260, 390, GDT_Byte, {"BLOCKYSIZE=7"}, "0-4", Invalid::Mask},
        MapCase{"ByteManyClassesMasked", 200, 140, GDT_Byte, {"TILED=YES", "BLOCKXSIZE=48", "BLOCKYSIZE=32"},
                "0-1, 3-8, 10, 11", Invalid::ValueAndMask},
        MapCase{"ByteMaskFile", 129, 257, GDT_Byte, {"BLOCKYSIZE=1"}, "4,6", Invalid::MaskFile},
        MapCase{"ByteAlpha", 150, 131, GDT_Byte, {"INTERLEAVE=PIXEL"}, "4-6", Invalid::Alpha},
        MapCase{"ByteOneColumn", 1, 600, GDT_Byte, {}, "1", Invalid::Value},
        MapCase{"ByteOneRow", 700, 1, GDT_Byte, {"TILED=YES"}, "1", Invalid::None},
        MapCase{"SignedByte", 260, 140, GDT_Byte, {"PIXELTYPE=SIGNEDBYTE", "BLOCKYSIZE=5"}, "-6--4, 2", Invalid::Value},
        MapCase{"UInt16", 257, 129, GDT_UInt16, {"TILED=YES", "BLOCKXSIZE=32", "BLOCKYSIZE=64"}, "1,2,3", Invalid::Value},
        MapCase{"Int16", 140, 300, GDT_Int16, {"BLOCKYSIZE=3"}, "-6, -2-1", Invalid::ValueAndMask},
        MapCase{"UInt32", 128, 256, GDT_UInt32, {"TILED=YES", "BLOCKXSIZE=64", "BLOCKYSIZE=64"}, "7-11", Invalid::Mask},
        MapCase{"Int32", 250, 250, GDT_Int32, {}, "-6,0,5", Invalid::Value},
        MapCase{"Int64Far", 200, 150, GDT_Int64, {"TILED=YES", "BLOCKXSIZE=16", "BLOCKYSIZE=48"},
                "1000000000001-1000000000004", Invalid::Value, 1000000000006},
        MapCase{"UInt64", 150, 200, GDT_UInt64, {"BLOCKYSIZE=9"}, "2-4", Invalid::ValueAndMask},
        // Whole-number classes stored as reals, as R's terra and gdalwarp write them.
        MapCase{"Float32", 190, 170, GDT_Float32, {"TILED=YES", "BLOCKXSIZE=32", "BLOCKYSIZE=32"}, "2-5", Invalid::Value},
        MapCase{"Float64Masked", 130, 150, GDT_Float64, {"BLOCKYSIZE=11"}, "1,8", Invalid::ValueAndMask}),
    CaseName());

// A block too large to hold whole is read in bands of rows.
TEST(LandCoverMap, ReadsAHugeBlockInPieces)
{
    const MapCase c{"OneStrip", 5000, 3500, GDT_Byte, {"BLOCKYSIZE=3500", "COMPRESS=DEFLATE"}, "5", Invalid::Value};
    TempDir dir;
    std::mt19937 gen(3);
    const Truth t = makeMap(c, dir.file("strip.tif"), gen);
    HabitatClasses classes;
    ASSERT_TRUE(classes.parse(c.classes, nullptr));
    LandCoverMap map;
    std::string error;
    ASSERT_TRUE(map.open(dir.file("strip.tif"), 1, &error)) << error;
    ASSERT_TRUE(map.load(classes, {}, &error)) << error;
    EXPECT_EQ(map.tally().habitat, t.count(t.habitat, 0, 0, c.width, c.height));
    EXPECT_EQ(map.noData(1000, 17, 4321, 3333), t.count(t.noData, 1000, 17, 4321, 3333));
    EXPECT_EQ(map.habitat(129, 1, 4999, 3499), t.count(t.habitat, 129, 1, 4999, 3499));
}

// The bundled NLCD map holds the forest of the bundled image: classes 41-43 are its black cells.
TEST(LandCoverMap, AugustaForestIsTheImagesBlackCells)
{
    const std::string path = sourceDir() + "/examples/augusta_nlcd.tif";
    LandCoverMap map;
    std::string error;
    ASSERT_TRUE(map.open(path, 1, &error)) << error;
    EXPECT_TRUE(map.hasGeoTransform());
    EXPECT_EQ(map.geoTransform(), (GeoTransform{1249665, 30, 0, 1260015, 0, -30}));
    EXPECT_TRUE(map.squareCells());
    EXPECT_TRUE(map.northUp());
    EXPECT_FALSE(map.geographic());
    EXPECT_NE(map.crsWkt().find("Albers"), std::string::npos);
    EXPECT_NE(map.crsEsriWkt().find("PROJCS"), std::string::npos);

    HabitatClasses forest;
    ASSERT_TRUE(forest.parse("41-43, 99", nullptr));
    ASSERT_TRUE(map.load(forest, {}, &error)) << error;
    TgaImage image;
    ASSERT_TRUE(image.load((sourceDir() + "/examples/augusta_forest.tga").c_str()));
    ASSERT_EQ(image.width, map.width());
    ASSERT_EQ(image.height, map.height());
    std::vector<unsigned char> flags(static_cast<std::size_t>(image.width) * image.height);
    map.habitatFlags(0, 0, image.width, image.height, flags.data());
    std::uint64_t black = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            // The image's stored rows run south to north.
            const bool isBlack = image.component(x, image.height - 1 - y, 0) < 128;
            black += isBlack;
            ASSERT_EQ(flags[static_cast<std::size_t>(y) * image.width + x], isBlack) << x << "," << y;
        }
    EXPECT_EQ(map.tally().habitat, black);
    EXPECT_EQ(map.tally().noData, 0u);
    EXPECT_FALSE(map.hasNoData());
    ASSERT_EQ(map.tally().byClass.size(), 3u);
    EXPECT_EQ(map.tally().singlyListedAbsent, std::vector<std::int64_t>{99});
}

TEST(LandCoverMap, StopsWhenToldAndHoldsNothing)
{
    const MapCase c{"Stop", 300, 300, GDT_Byte, {"BLOCKYSIZE=1"}, "1", Invalid::None};
    TempDir dir;
    std::mt19937 gen(5);
    makeMap(c, dir.file("stop.tif"), gen);
    HabitatClasses classes;
    ASSERT_TRUE(classes.parse("1", nullptr));
    LandCoverMap map;
    std::string error;
    ASSERT_TRUE(map.open(dir.file("stop.tif"), 1, &error)) << error;
    EXPECT_FALSE(map.load(classes, [](double f) { return f < 0.01; }, &error));
    EXPECT_NE(error.find("stopped"), std::string::npos) << error;
    EXPECT_FALSE(map.loaded());
    EXPECT_EQ(map.loadedBytes(), 0u);
    EXPECT_TRUE(map.load(classes, {}, &error)) << "the map stays open for another try: " << error;
}

TEST(LandCoverMap, ClassCountsSayWhenTheyStopShort)
{
    const MapCase c{"Wide", 200, 100, GDT_Int32, {}, "1", Invalid::Value};
    TempDir dir;
    std::mt19937 gen(9);
    const Truth t = makeMap(c, dir.file("wide.tif"), gen);
    LandCoverMap map;
    std::string error;
    ASSERT_TRUE(map.open(dir.file("wide.tif"), 1, &error)) << error;
    ClassCounts counts;
    ASSERT_TRUE(map.classCounts(counts, 4, {}, &error)) << error;
    EXPECT_FALSE(counts.complete);
    EXPECT_EQ(counts.classes.size(), 4u);
    std::uint64_t counted = counts.otherCells + counts.noData;
    for (const auto& [cls, cells] : counts.classes) {
        EXPECT_EQ(cells, static_cast<std::uint64_t>(std::count(t.values.begin(), t.values.end(), cls))) << cls;
        counted += cells;
    }
    EXPECT_EQ(counted, t.values.size());
}

// The counts of an 8-bit map come from a histogram: one kept in an .aux.xml beside the map would
// litter the user's folder and answer for the map after it changed.
TEST(LandCoverMap, ClassCountsLeaveNothingBesideTheMapAndFollowItsChanges)
{
    TempDir dir;
    const std::string path = dir.file("byte.tif");
    for (unsigned seed : {1u, 2u}) {
        std::mt19937 gen(seed);
        const Truth t = makeMap({"Byte", 60, 40, GDT_Byte, {}, "1", Invalid::None}, path, gen);
        LandCoverMap map;
        std::string error;
        ASSERT_TRUE(map.open(path, 1, &error)) << error;
        ClassCounts counts;
        ASSERT_TRUE(map.classCounts(counts, 256, {}, &error)) << error;
        map.close();
        std::map<std::int64_t, std::uint64_t> truth;
        for (std::int64_t v : t.values)
            ++truth[v];
        EXPECT_EQ(ClassCells(counts.classes), ClassCells(truth.begin(), truth.end())) << seed;
        EXPECT_FALSE(std::filesystem::exists(path + ".aux.xml"));
    }
}

struct OpenCase : NamedCase {
    std::function<std::string(const TempDir&)> make;  // returns the path to open
    int band;
    const char* says;
};

class OpenErrorTest : public ::testing::TestWithParam<OpenCase> {};

TEST_P(OpenErrorTest, SaysWhyTheMapCannotBeUsed)
{
    const OpenCase& c = GetParam();
    TempDir dir;
    const std::string path = c.make(dir);
    LandCoverMap map;
    std::string error;
    EXPECT_FALSE(map.open(path, c.band, &error));
    EXPECT_NE(error.find(c.says), std::string::npos) << error;
    EXPECT_FALSE(map.isOpen());
}

std::string rasterOf(const TempDir& dir, GDALDataType type, int bands)
{
    GDALAllRegister();
    const std::string path = dir.file("r.tif");
    GDALDataset* ds = GetGDALDriverManager()->GetDriverByName("GTiff")->Create(path.c_str(), 4, 3, bands, type, nullptr);
    GDALClose(GDALDataset::ToHandle(ds));
    return path;
}

INSTANTIATE_TEST_SUITE_P(
    Maps, OpenErrorTest,
    ::testing::Values(
        OpenCase{"Missing", [](const TempDir& d) { return d.file("none.tif"); }, 1, "cannot be opened as a map: "},
        OpenCase{"NotARaster",
                 [](const TempDir& d) {
                     writeFile(d.file("notes.txt"), "1 2 3\nhello\n");
                     return d.file("notes.txt");
                 },
                 1, "cannot be opened as a map"},
        OpenCase{"NoSuchBand", [](const TempDir& d) { return rasterOf(d, GDT_Byte, 2); }, 3,
                 "band 3 does not exist: " },
        OpenCase{"BandZero", [](const TempDir& d) { return rasterOf(d, GDT_Byte, 1); }, 0, "has 1 band"},
        OpenCase{"Complex", [](const TempDir& d) { return rasterOf(d, GDT_CInt16, 1); }, 1, "CInt16"}),
    CaseName());

// A real band's NaN cells are no-data like its declared value, and a fractional value is no
// class: the load is refused naming the cell and how to classify the map.
TEST(LandCoverMap, RealBandsHoldWholeClassesOnly)
{
    struct Case {
        const char* name;
        float fifth;  // the value of cell (4, 2)
        const char* says;
    };
    const Case cases[] = {{"NaN is no-data", std::numeric_limits<float>::quiet_NaN(), nullptr},
                          {"a fraction is refused", 2.5f, "row 3, column 5 holds 2.5, not a class"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        GDALAllRegister();
        const std::string path = dir.file("r.tif");
        GDALDataset* ds = GetGDALDriverManager()->GetDriverByName("GTiff")->Create(path.c_str(), 6, 4, 1, GDT_Float32, nullptr);
        std::vector<float> cells(24, 41.0f);
        cells[0] = 11.0f;
        cells[2 * 6 + 4] = c.fifth;
        ds->GetRasterBand(1)->SetNoDataValue(-9999);
        cells[23] = -9999.0f;
        ASSERT_EQ(ds->GetRasterBand(1)->RasterIO(GF_Write, 0, 0, 6, 4, cells.data(), 6, 4, GDT_Float32, 0, 0, nullptr), CE_None);
        GDALClose(GDALDataset::ToHandle(ds));
        LandCoverMap map;
        std::string error;
        ASSERT_TRUE(map.open(path, 1, &error)) << error;
        HabitatClasses forest;
        forest.parse("41", nullptr);
        const bool loaded = map.load(forest, {}, &error);
        if (c.says) {
            EXPECT_FALSE(loaded);
            EXPECT_NE(error.find(c.says), std::string::npos) << error;
            EXPECT_NE(error.find("gdal_translate -ot Int32"), std::string::npos) << error;
            continue;
        }
        ASSERT_TRUE(loaded) << error;
        EXPECT_EQ(map.tally().noData, 2u);
        EXPECT_EQ(map.tally().habitat, 21u);
        ClassCounts counts;
        ASSERT_TRUE(map.classCounts(counts, 100, {}, &error)) << error;
        EXPECT_EQ(ClassCells(counts.classes), (ClassCells{{11, 1}, {41, 21}}));
        EXPECT_EQ(counts.noData, 2u);
    }
}

}  // namespace
