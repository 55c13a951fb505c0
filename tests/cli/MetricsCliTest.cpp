#include "core/io/MetricsCsv.h"
#include "core/map/GdalSupport.h"
#include "core/map/RasterGrid.h"
#include "core/metrics/LandscapeMetrics.h"
#include "support/CliRunner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <vector>

#include <gdal_priv.h>
#include <ogr_spatialref.h>

using namespace orvalis::test;

namespace {

std::string engineRows(const std::string& name, const orvalis::LandscapeGrid& grid, int neighbours = 8)
{
    orvalis::MetricsOptions options;
    options.neighbours = neighbours;
    std::string rows;
    EXPECT_TRUE(orvalis::appendMeasuredRows(rows, name, grid, 1.0, std::nullopt, options));
    return rows;
}

}  // namespace

// Bad files are named with their line; the good ones are measured all the same, in the order given.
TEST(MetricsCli, MeasuresTheGoodFilesInOrderAndNamesEveryBadOne)
{
    TempDir dir;
    writeFile(dir.file("a.txt"), "1 0 1 \n0 1 1 \n");
    writeFile(dir.file("b.txt"), "2 2 \n2 5 \n");
    const std::pair<const char*, const char*> bad[] = {
        {"letters.txt", "1 0 \n0 x1 \n"},   {"ragged.txt", "1 0 1 \n0 1 \n"},
        {"empty.txt", ""},                  {"nodata.txt", "-9 -9 \n-9 -9 \n"},
        {"no-blank.txt", "1 0 \n0 1\n"},    {"huge.txt", "99999999999 1 \n"},
    };
    std::string arguments = "b.txt a.txt --no-data -9 --output out.csv";
    for (const auto& [name, text] : bad) {
        writeFile(dir.file(name), text);
        arguments += std::string(" ") + name;
    }
    const CliRun run = runCli(dir, "metrics", arguments + " missing.txt");
    EXPECT_EQ(run.status, 1);
    for (const char* expected : {"letters.txt: line 2: 'x1' is not a whole number", "ragged.txt: line 2: 2 values",
                                 "empty.txt: the file holds no grid", "nodata.txt:", "no-blank.txt: line 2:",
                                 "huge.txt: line 1: '99999999999' is not a whole number in 32 bits",
                                 "missing.txt: No such file"})
        EXPECT_NE(run.err.find(expected), std::string::npos) << expected << "\n" << run.err;
    EXPECT_EQ(readFile(dir.file("out.csv")), orvalis::metricsCsvHeader() + engineRows("b.txt", {{2, 2}, {2, 5}}) +
                                                 engineRows("a.txt", {{1, 0, 1}, {0, 1, 1}}));
}

TEST(MetricsCli, ReadsTheFilesABatchListNamesAndWritesToStandardOutput)
{
    TempDir dir;
    writeFile(dir.file("w_010.txt"), "1 0 \n0 0 \n");
    writeFile(dir.file("w_020.txt"), "1 1 \n0 0 \n");
    writeFile(dir.file("list.fbt"), "w_010.txt, x, 999\r\nw_020.txt, x, 999\n");
    const CliRun run = runCli(dir, "metrics", "--list list.fbt --neighbours 4 --output -");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, orvalis::metricsCsvHeader() + engineRows("w_010.txt", {{1, 0}, {0, 0}}, 4) +
                           engineRows("w_020.txt", {{1, 1}, {0, 0}}, 4));
}

// The catalogue's choices: levels, codes and types, the options of landscapemetrics, and the
// mistakes refused with status 2 before anything is written.
TEST(MetricsCli, ChoosesLevelsMetricsAndOptionsAndRefusesWhatItCannotHonour)
{
    TempDir dir;
    writeFile(dir.file("a.txt"), "1 1 0 0 \n1 1 0 2 \n0 0 2 2 \n");
    const orvalis::LandscapeGrid grid = {{1, 1, 0, 0}, {1, 1, 0, 2}, {0, 0, 2, 2}};
    const std::vector<int> cells = orvalis::flattenGrid(grid);
    auto expected = [&](const std::vector<std::string>& words, const std::vector<orvalis::MetricLevel>& levels,
                        orvalis::MetricsOptions o) {
        o.selection = *orvalis::MetricSelection::parse(words, levels, nullptr);
        std::string rows;
        EXPECT_TRUE(orvalis::appendMeasuredRows(rows, "a.txt", orvalis::GridView{cells, 3, 4, std::nullopt, 1.0}, o));
        return orvalis::metricsCsvHeader() + rows;
    };
    using L = orvalis::MetricLevel;
    orvalis::MetricsOptions fragstats;
    fragstats.convention = orvalis::MetricConvention::Fragstats;
    orvalis::MetricsOptions deep;
    deep.edgeDepth = 2;
    deep.base = orvalis::LogBase::Log10;
    deep.neighbours = 4;
    const struct {
        const char* arguments;
        std::string want;
    } cases[] = {
        {"--level patch,class --metrics area,pland", expected({"area", "pland"}, {L::Patch, L::Class}, {})},
        {"--level landscape --metrics diversity", expected({"diversity"}, {L::Landscape}, {})},
        {"--level patch --metrics shape --convention fragstats", expected({"shape"}, {L::Patch}, fragstats)},
        {"--metrics core,ent --neighbours 4 --edge-depth 2 --base log10", expected({"core", "ent"}, {}, deep)},
    };
    for (const auto& c : cases) {
        const CliRun run = runCli(dir, "metrics", std::string("a.txt --output - ") + c.arguments);
        EXPECT_EQ(run.status, 0) << c.arguments << "\n" << run.err;
        EXPECT_EQ(run.out, c.want) << c.arguments;
    }
    EXPECT_NE(expected({"shape"}, {L::Patch}, fragstats), expected({"shape"}, {L::Patch}, {}));

    expectRefused(dir, "metrics",
                  {{"unknown metric", "a.txt --metrics pland,edd", "unknown metric 'edd' (did you mean 'ed'?)"},
                   {"a patch metric without the patch level", "a.txt --metrics perim", "patch level only"},
                   {"unknown level", "a.txt --level patches", "unknown level 'patches'"},
                   {"edge depth 0", "a.txt --edge-depth 0", "--edge-depth"},
                   {"unknown convention", "a.txt --convention r", "--convention"}},
                  [&] { EXPECT_FALSE(std::filesystem::exists(dir.file("metrics.csv"))); });
}

// --list-metrics is the catalogue itself; --patch-map writes the ids the patch rows carry.
TEST(MetricsCli, ListsTheCatalogueAndMapsThePatches)
{
    TempDir dir;
    const CliRun list = runCli(dir, "metrics", "--list-metrics");
    EXPECT_EQ(list.status, 0) << list.err;
    std::string want = "metric,level,type,name,unit\n";
    for (const orvalis::MetricDef& d : orvalis::metricCatalogue())
        want += d.code + "," + orvalis::levelName(d.level) + "," + orvalis::csvField(orvalis::typeName(d.type)) + "," +
                orvalis::csvField(d.name) + "," + orvalis::csvField(d.unit) + "\n";
    EXPECT_EQ(list.out, want);
    EXPECT_EQ(std::count(list.out.begin(), list.out.end(), '\n'), 1 + 12 + 55 + 66 + 2);  // and gyrate_am, spanning

    writeFile(dir.file("a.txt"), "1 0 1 \n1 0 0 \n");
    std::filesystem::create_directory(dir.file("ids"));
    const CliRun run = runCli(dir, "metrics", "a.txt --patch-map ids --output -");
    EXPECT_EQ(run.status, 0) << run.err;
    orvalis::LandscapeGrid ids;
    orvalis::RasterGridInfo info;
    std::string error;
    ASSERT_TRUE(orvalis::readRasterGrid(dir.file("ids/a_patches.tif"), ids, info, &error)) << error;
    // Class 0 first, then class 1, each down the columns: 0-cells are patch 1, the left 1-cells 2, the right 3.
    EXPECT_EQ(ids, (orvalis::LandscapeGrid{{2, 1, 3}, {2, 1, 1}}));
}

// A cell size is never silently 1 m: text grids get it from the sampling run's record beside
// their list, or a warning naming them.
TEST(MetricsCli, CellSizeFromTheSamplingRecordOrAWarning)
{
    TempDir dir;
    writeFile(dir.file("w1.txt"), "1 0 \n0 0 \n");
    writeFile(dir.file("list.fbt"), "w1.txt, x\n");
    const CliRun plain = runCli(dir, "metrics", "w1.txt --metrics ta --output -");
    EXPECT_NE(plain.out.find("landscape,,,ta,4e-04\n"), std::string::npos) << plain.out;
    EXPECT_NE(plain.err.find("warning: w1.txt: a text grid knows no cell size; measured with cells of 1 m"),
              std::string::npos)
        << plain.err;
    writeFile(dir.file("sample-run.txt"), "orvalis sample run\nimage: map.tif\ncell-size: 30\n");
    const CliRun recorded = runCli(dir, "metrics", "--list list.fbt --metrics ta --output -");
    EXPECT_NE(recorded.out.find("landscape,,,ta,0.36\n"), std::string::npos) << recorded.out;
    EXPECT_EQ(recorded.err, "");
    const CliRun given = runCli(dir, "metrics", "--list list.fbt --metrics ta --cell-size 10 --output -");
    EXPECT_NE(given.out.find("landscape,,,ta,0.04\n"), std::string::npos) << given.out;
}

namespace {

// A projected GeoTIFF of clumps of three classes with its own no-data value in scattered cells;
// sparse leaves every block unwritten, so that a huge map costs nothing on disk.
void writeRaster(const std::string& path, int rows, int cols, bool sparse)
{
    orvalis::registerGdal();
    char** options = CSLSetNameValue(nullptr, "TILED", "YES");
    options = CSLSetNameValue(options, "SPARSE_OK", sparse ? "TRUE" : "FALSE");
    GDALDataset* ds = GetGDALDriverManager()->GetDriverByName("GTiff")->Create(path.c_str(), cols, rows, 1, GDT_Int16, options);
    CSLDestroy(options);
    ASSERT_NE(ds, nullptr);
    double frame[6] = {500000, 30, 0, 5000000, 0, -30};
    ds->SetGeoTransform(frame);
    OGRSpatialReference srs;
    srs.importFromEPSG(32631);
    ds->SetSpatialRef(&srs);
    GDALRasterBand* band = ds->GetRasterBand(1);
    band->SetNoDataValue(-9999);
    if (!sparse) {
        std::vector<std::int16_t> cells(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols));
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c) {
                const unsigned h = static_cast<unsigned>(r * 7919 + c * 104729) * 2654435761u;
                cells[static_cast<std::size_t>(r) * static_cast<std::size_t>(cols) + static_cast<std::size_t>(c)] =
                    h % 97 == 0 ? std::int16_t{-9999} : static_cast<std::int16_t>((r / 37 + c / 23 + (h >> 28) % 2) % 3);
            }
        ASSERT_EQ(band->RasterIO(GF_Write, 0, 0, cols, rows, cells.data(), cols, rows, GDT_Int16, 0, 0), CE_None);
    }
    GDALClose(ds);
}

}  // namespace

// A raster above four million cells is read band by band, with the same table as when it is held
// whole (as --patch-map needs); metrics that need it whole on a map too large are refused, saying why.
TEST(MetricsCli, LargeRastersAreMeasuredBandByBandOrRefusedWithTheMemoryNeeded)
{
    TempDir dir;
    writeRaster(dir.file("big.tif"), 2050, 2050, false);
    const CliRun banded = runCli(dir, "metrics", "big.tif --jobs 1 --output banded.csv");
    EXPECT_EQ(banded.status, 0) << banded.err;
    EXPECT_NE(banded.err.find("big.tif: 2050 x 2050 cells, read 511 rows at a time: about"), std::string::npos) << banded.err;
    std::filesystem::create_directory(dir.file("patches"));
    const CliRun whole = runCli(dir, "metrics", "big.tif --patch-map patches --output whole.csv");
    EXPECT_EQ(whole.status, 0) << whole.err;
    EXPECT_NE(whole.err.find("held whole for --patch-map: about 93 MB"), std::string::npos) << whole.err;
    EXPECT_EQ(readFile(dir.file("banded.csv")), readFile(dir.file("whole.csv")));

    writeRaster(dir.file("huge.tif"), 10001, 10000, true);
    const CliRun refused = runCli(dir, "metrics", "huge.tif --metrics pland,core_mn,circle_mn --output -");
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("huge.tif: it holds 10000 x 10001 cells and circle_mn core_mn need the whole grid in "
                               "memory: about 2.1 GB, above the 100000000 cells held whole (--no-memory-check"),
              std::string::npos)
        << refused.err;
    EXPECT_EQ(runCli(dir, "metrics", "big.tif --jobs 65").status, 2);
}
