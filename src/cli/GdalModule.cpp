#include "cli/CliApp.h"
#include "cli/Commands.h"
#include "cli/GdalApi.h"

#include <vector>

// orvalis-gdal.so: every command over the full core, GDAL included. orvalis-cli hands it the
// commands it does not run itself (sites and surface, which always read a map, and the list of
// commands), and calls the functions of GdalApi when it reads or writes a raster.

using namespace orvalis::cli;

extern "C" int orvalis_cli_main(int argc, char** argv)
{
    CLI::App app("Landscape windows and neutral landscapes from the command line.", "orvalis-cli");
    setUpApp(app);

    SampleOptions sample;
    RandomOptions random;
    FractalOptions fractal;
    MetricsOptionsCli metrics;
    CompareOptions compare;
    SitesOptions sites;
    SurfaceOptions surface;
    NeutralOptions neutral;
    CLI::App* sampleCommand = addSampleCommand(app, sample);
    CLI::App* randomCommand = addRandomCommand(app, random);
    CLI::App* fractalCommand = addFractalCommand(app, fractal);
    CLI::App* metricsCommand = addMetricsCommand(app, metrics);
    CLI::App* compareCommand = addCompareCommand(app, compare);
    CLI::App* sitesCommand = addSitesCommand(app, sites);
    CLI::App* surfaceCommand = addSurfaceCommand(app, surface);
    CLI::App* neutralCommand = addNeutralCommand(app, neutral);
    for (CLI::App* command : {sampleCommand, randomCommand, fractalCommand, metricsCommand, compareCommand,
                              sitesCommand, surfaceCommand, neutralCommand})
        command->group("Commands");

    if (const int status = parseCommandLine(app, argc, argv); status >= 0)
        return status;
    if (*sampleCommand)
        return runSampleCommand(sample);
    if (*randomCommand)
        return runRandomCommand(random);
    if (*metricsCommand)
        return runMetricsCommand(metrics);
    if (*compareCommand)
        return runCompareCommand(compare);
    if (*sitesCommand)
        return runSitesCommand(sites);
    if (*surfaceCommand)
        return runSurfaceCommand(surface);
    if (*neutralCommand)
        return runNeutralCommand(neutral);
    return runFractalCommand(fractal);
}

extern "C" const GdalApi* orvalis_gdal_api()
{
    static const GdalApi api{orvalis::readRasterGrid, orvalis::writeAsciiGrid, orvalis::writeGeoTiff,
                             orvalis::writePatchMap, orvalis::runMapSample};
    return &api;
}
