// orvalis-cli sites: the table the engine gives, warnings and failures named, mistakes refused.
#include "core/sites/SiteMetrics.h"
#include "support/CliRunner.h"
#include "support/TestMaps.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace orvalis::test;

TEST(SitesCli, WritesTheEnginesTableAndNamesWhatItCouldNotMeasure)
{
    TempDir dir;
    TestMap m;
    m.width = 40;
    m.height = 30;
    m.value = [](int c, int r) { return 41 + (c * 7 + r * 3) % 5; };
    writeMap(dir.file("map.tif"), m);
    writeFile(dir.file("plots.csv"), "plot,east,north\nA,1250265,1259415\nfar,1000000,1259415\nB,1249700,1259900\n");
    const CliRun run = runCli(dir, "sites",
                              "map.tif plots.csv --x east --y north --id plot --radius 90,240 --habitat 41-42 "
                              "--metrics pland,np,ed --output out.csv");
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_NE(run.err.find("site far: it lies outside the map"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("warning: site B: the 90 buffer reaches past the map's edge"), std::string::npos) << run.err;
    EXPECT_NE(run.out.find("2 of 3 sites measured at 2 radii"), std::string::npos) << run.out;

    orvalis::SiteMetricsParameters p;
    p.map = dir.file("map.tif");
    p.radii = {90, 240};
    p.habitat.parse("41-42", nullptr);
    p.metrics.selection = *orvalis::MetricSelection::parse({"pland", "np", "ed"}, {}, nullptr);
    p.sites = {{"A", 1250265, 1259415, {}}, {"far", 1000000, 1259415, {}}, {"B", 1249700, 1259900, {}}};
    std::string want = orvalis::sitesCsvHeader();
    orvalis::RunControl control;
    ASSERT_TRUE(orvalis::measureSites(p, [&](std::size_t, orvalis::SiteResult&& r) { want += r.rows; }, control, nullptr));
    EXPECT_EQ(readFile(dir.file("out.csv")), want);

    const std::string plots = readFile(dir.file("plots.csv"));
    expectRefused(dir, "sites",
                  {{"radius 0", "map.tif plots.csv --radius 0,100", "a radius must be above 0"},
                   {"no such column", "map.tif plots.csv --radius 100", "no x column (columns: plot, east, north)"},
                   {"unknown metric", "map.tif plots.csv --x east --y north --radius 100 --metrics edd", "did you mean 'ed'"},
                   {"the table over the sites", "map.tif plots.csv --x east --y north --radius 100 --output ./plots.csv",
                    "would replace"}},
                  [&] { EXPECT_EQ(readFile(dir.file("plots.csv")), plots); });
}
