// orvalis-cli sites: the table the engine gives, warnings and failures named, mistakes refused.
#include "core/sites/SiteMetrics.h"
#include "support/CliRunner.h"
#include "support/TestMaps.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>
#include <sys/wait.h>

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

// A FIFO named as a map, window or sites file is refused at once instead of waiting for a writer.
TEST(SitesCli, FifosAreRefusedAtOnce)
{
    TempDir dir;
    ASSERT_EQ(mkfifo(dir.file("pipe.tif").c_str(), 0600), 0);
    std::filesystem::create_directory(dir.file("w"));
    writeFile(dir.file("plots.csv"), "id,x,y\nA,1,1\n");
    TestMap m;
    m.width = m.height = 10;
    m.value = [](int c, int) { return c % 2; };
    writeMap(dir.file("map.tif"), m);
    for (const std::string args : {"metrics pipe.tif", "sample pipe.tif --habitat 1 --folder w",
                                   "compare pipe.tif --output c", "sites pipe.tif plots.csv --radius 10",
                                   "sites map.tif pipe.tif --radius 10"}) {
        SCOPED_TRACE(args);
        const std::string line = "cd '" + dir.path().string() + "' && timeout 20 '" ORVALIS_CLI "' " + args +
                                 " >cli.out 2>cli.err";
        const int raw = std::system(line.c_str());
        ASSERT_TRUE(WIFEXITED(raw));
        EXPECT_EQ(WEXITSTATUS(raw), 1);  // 124 would be the timeout's
        const std::string err = readFile(dir.file("cli.err"));
        EXPECT_TRUE(err.find("not a regular file") != std::string::npos ||
                    err.find("none of the windows can be read") != std::string::npos)
            << err;
    }
}
