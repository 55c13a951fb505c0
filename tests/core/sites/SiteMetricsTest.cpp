// Sites measured against the plain way: each buffer's cells found by testing every cell of the
// map, cut out with everything else outside the landscape, and measured by the engine.
#include "core/io/MetricsCsv.h"
#include "core/io/NumberText.h"
#include "core/sites/SiteMetrics.h"
#include "support/TempDir.h"
#include "support/TestMaps.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <fstream>
#include <random>

using namespace orvalis;
using orvalis::test::TempDir;
using orvalis::test::TestMap;

namespace {

// The rows one buffer gives, computed cell by cell over the whole map.
std::string plainRows(const TestMap& m, const Site& s, double radius, BufferShape shape, const HabitatClasses& habitat,
                      const MetricsOptions& options)
{
    int top = INT_MAX, bottom = -1, left = INT_MAX, right = -1;
    long inside = 0, data = 0, onMapOrOff = 0;
    auto within = [&](int c, int r) {
        const double dx = m.gt[0] + (c + 0.5) * m.gt[1] - s.x, dy = m.gt[3] + (r + 0.5) * m.gt[5] - s.y;
        return shape == BufferShape::Circle ? dx * dx + dy * dy <= radius * radius : std::fabs(dx) <= radius && std::fabs(dy) <= radius;
    };
    const int reach = static_cast<int>(radius / 30.0) + 3;
    for (int r = -reach - 2; r < m.height + reach + 2; ++r)
        for (int c = -reach - 2; c < m.width + reach + 2; ++c)
            if (within(c, r)) {
                ++onMapOrOff;
                if (r >= 0 && r < m.height && c >= 0 && c < m.width) {
                    ++inside;
                    top = std::min(top, r), bottom = std::max(bottom, r), left = std::min(left, c), right = std::max(right, c);
                }
            }
    const std::string leading = s.id + "," + shortestText(radius);
    std::vector<int> cells;
    for (int r = top; r <= bottom && inside; ++r)
        for (int c = left; c <= right; ++c) {
            const bool nd = m.noDataValue && m.value(c, r) == *m.noDataValue;
            int v = INT_MIN;
            if (within(c, r) && !nd)
                v = habitat.empty() ? m.value(c, r) : habitat.contains(m.value(c, r));
            data += v != INT_MIN;
            cells.push_back(v);
        }
    std::string rows = leading + ",landscape,,,coverage," + shortestText(static_cast<double>(data) / static_cast<double>(onMapOrOff)) + "\n";
    if (data > 0) {
        std::vector<MetricValue> values;
        EXPECT_TRUE(computeMetrics(GridView{cells, bottom - top + 1, right - left + 1, INT_MIN, 30.0}, options, values));
        appendMetricsRowsAfter(rows, leading, values);
    }
    return rows;
}

}  // namespace

// Random sites (inside, on the edge, with buffers past it) on a map with no-data, both shapes,
// the map's classes and habitat, the whole catalogue: every row as the plain way gives it, in order.
TEST(SiteMetrics, EveryBufferIsItsDiscCutOutAndMeasured)
{
    TempDir dir;
    std::mt19937 rng(11);
    TestMap m;
    m.width = 53;
    m.height = 41;
    std::vector<int> grid(static_cast<std::size_t>(m.width * m.height));
    for (int& v : grid)
        v = rng() % 9 == 0 ? 255 : 10 + static_cast<int>(rng() % 4) * 10;
    m.value = [&](int c, int r) { return grid[static_cast<std::size_t>(r * m.width + c)]; };
    m.noDataValue = 255;
    const std::string path = dir.file("map.tif");
    orvalis::test::writeMap(path, m);

    for (const char* habitatText : {"", "20-30"}) {
        for (BufferShape shape : {BufferShape::Circle, BufferShape::Square}) {
            SiteMetricsParameters p;
            p.map = path;
            p.radii = {45.0, 100.0, 301.5};
            p.shape = shape;
            p.metrics.selection = MetricSelection::all({MetricLevel::Patch, MetricLevel::Class, MetricLevel::Landscape});
            if (*habitatText)
                p.habitat.parse(habitatText, nullptr);
            for (int i = 0; i < 12; ++i) {
                const double x = m.gt[0] + static_cast<double>(rng() % (m.width * 30 + 1));
                const double y = m.gt[3] - static_cast<double>(rng() % (m.height * 30 + 1));
                p.sites.push_back({"s" + std::to_string(i), x, y, {}});
            }
            p.sites.push_back({"corner", m.gt[0], m.gt[3], {}});
            p.jobs = 3;
            std::string got, want;
            RunControl control;
            std::size_t expected = 0;
            ASSERT_TRUE(measureSites(p, [&](std::size_t i, SiteResult&& r) {
                EXPECT_EQ(i, expected++);
                EXPECT_EQ(r.error, "") << p.sites[i].id;
                got += r.rows;
            }, control, nullptr));
            for (const Site& s : p.sites)
                for (double radius : p.radii)
                    want += plainRows(m, s, radius, shape, p.habitat, p.metrics);
            EXPECT_TRUE(got == want) << habitatText << (shape == BufferShape::Circle ? " circle" : " square");
        }
    }
}

// What cannot be measured is named per site; the others are measured all the same.
TEST(SiteMetrics, BadSitesAreNamedAndTheOthersMeasured)
{
    TempDir dir;
    TestMap m;
    m.width = m.height = 20;
    m.value = [](int c, int r) { return (c / 5 + r / 5) % 2; };
    orvalis::test::writeMap(dir.file("map.tif"), m);
    SiteMetricsParameters p;
    p.map = dir.file("map.tif");
    p.radii = {60, 400};
    p.sites = {{"in", m.gt[0] + 300, m.gt[3] - 300, {}},
               {"out", m.gt[0] - 1000, m.gt[3], {}},
               {"bad", 0, 0, "row 4 has no number for x or y"},
               {"edge", m.gt[0] + 1, m.gt[3] - 300, {}}};
    std::vector<SiteResult> results;
    RunControl control;
    ASSERT_TRUE(measureSites(p, [&](std::size_t, SiteResult&& r) { results.push_back(std::move(r)); }, control, nullptr));
    ASSERT_EQ(results.size(), 4u);
    EXPECT_EQ(results[0].error, "");
    EXPECT_NE(results[0].rows.find("in,60,landscape,,,coverage,1\n"), std::string::npos);
    EXPECT_EQ(results[1].error, "it lies outside the map");
    EXPECT_EQ(results[2].error, "row 4 has no number for x or y");
    EXPECT_EQ(results[3].error, "");
    ASSERT_EQ(results[3].warnings.size(), 2u);  // both radii reach past the west edge
    EXPECT_NE(results[3].warnings[0].find("the 60 buffer reaches past the map's edge"), std::string::npos);

    p.map = dir.file("missing.tif");
    std::string error;
    EXPECT_FALSE(measureSites(p, [](std::size_t, SiteResult&&) {}, control, &error));
    EXPECT_FALSE(error.empty());
}

// Sites come from a CSV's columns or a point layer in another coordinate system.
TEST(SiteMetrics, SiteListsFromCsvAndLayers)
{
    TempDir dir;
    OGRSpatialReference albers;
    albers.importFromEPSG(orvalis::test::Epsg);
    char* wkt = nullptr;
    albers.exportToWkt(&wkt);
    const std::string mapWkt = wkt;
    CPLFree(wkt);
    std::ofstream(dir.file("a.csv")) << "\xEF\xBB\xBFName,Easting,Northing\r\n\"plot, 1\",1250000,1259000\r\n2,x,5\r\n";
    std::vector<Site> sites;
    std::vector<std::string> warnings;
    SiteListError error;
    ASSERT_TRUE(readSiteList(dir.file("a.csv"), {{}, {}, {}, {}, mapWkt}, sites, warnings, error)) << error.message;
    ASSERT_EQ(sites.size(), 2u);
    EXPECT_EQ(sites[0].id, "plot, 1");
    EXPECT_EQ(sites[0].x, 1250000);
    EXPECT_EQ(sites[0].y, 1259000);
    EXPECT_EQ(sites[1].problem, "row 3 has no number for x or y");
    EXPECT_FALSE(readSiteList(dir.file("a.csv"), {{}, "lon", {}, {}, mapWkt}, sites, warnings, error));
    EXPECT_TRUE(error.argument);
    EXPECT_NE(error.message.find("no 'lon' column (columns: Name, Easting, Northing)"), std::string::npos);

    // Degrees in a CSV with --sites-crs, and the same point in a GeoJSON layer: both land where
    // the map's system puts them.
    OGRSpatialReference wgs;
    wgs.importFromEPSG(4326);
    wgs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    albers.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    std::unique_ptr<OGRCoordinateTransformation> t(OGRCreateCoordinateTransformation(&albers, &wgs));
    double lon = 1250000, lat = 1259000;
    ASSERT_TRUE(t->Transform(1, &lon, &lat));
    char text[1000];
    std::snprintf(text, sizeof text, "id,lon,lat\nA,%.12f,%.12f\n", lon, lat);
    std::ofstream(dir.file("deg.csv")) << text;
    ASSERT_TRUE(readSiteList(dir.file("deg.csv"), {{}, {}, {}, "EPSG:4326", mapWkt}, sites, warnings, error)) << error.message;
    EXPECT_NEAR(sites[0].x, 1250000, 1e-3);
    EXPECT_NEAR(sites[0].y, 1259000, 1e-3);
    std::snprintf(text, sizeof text,
                  "{\"type\":\"FeatureCollection\",\"features\":[{\"type\":\"Feature\",\"properties\":{\"site\":\"B\"},"
                  "\"geometry\":{\"type\":\"Point\",\"coordinates\":[%.12f,%.12f]}},{\"type\":\"Feature\",\"properties\":"
                  "{\"site\":\"L\"},\"geometry\":{\"type\":\"LineString\",\"coordinates\":[[0,0],[1,1]]}}]}",
                  lon, lat);
    std::ofstream(dir.file("sites.geojson")) << text;
    ASSERT_TRUE(readSiteList(dir.file("sites.geojson"), {{}, {}, {}, {}, mapWkt}, sites, warnings, error)) << error.message;
    ASSERT_EQ(sites.size(), 2u);
    EXPECT_EQ(sites[0].id, "B");
    EXPECT_NEAR(sites[0].x, 1250000, 1e-3);
    EXPECT_NEAR(sites[0].y, 1259000, 1e-3);
    EXPECT_EQ(sites[1].problem, "feature 2 is not a point");
}
