#include "cli/CliApp.h"
#include "cli/Commands.h"
#include "cli/Modules.h"

#include <cstdio>
#include <cstring>
#include <string>

// orvalis-cli links the core without GDAL and Qt: sample, random, fractal, metrics, compare and
// neutral run here and load orvalis-gdal.so only when they read or write a raster (GdalProxies.cpp),
// and the charts module only when a comparison is drawn. Sites and surface, which always read a
// map, and the list of every command run in orvalis-gdal.so, which holds the whole command line.

using namespace orvalis::cli;

namespace {

bool runsHere(const char* first)
{
    for (const char* name : {"sample", "random", "fractal", "metrics", "compare", "neutral", "--version"})
        if (std::strcmp(first, name) == 0)
            return true;
    return false;
}

int runInGdalModule(int argc, char** argv)
{
    std::string error;
    if (auto entry = reinterpret_cast<int (*)(int, char**)>(moduleSymbol(GdalModule, "orvalis_cli_main", error)))
        return entry(argc, argv);
    std::fprintf(stderr, "orvalis-cli: the commands that read maps are not installed: %s\n", error.c_str());
    return 1;
}

}  // namespace

// Exit status: 0 success, --help and --version; 1 a failed or interrupted run; 2 bad arguments.
int main(int argc, char** argv)
{
    if (argc < 2 || !runsHere(argv[1]))
        return runInGdalModule(argc, argv);

    CLI::App app("Landscape windows and neutral landscapes from the command line.", "orvalis-cli");
    setUpApp(app);
    SampleOptions sample;
    RandomOptions random;
    FractalOptions fractal;
    MetricsOptionsCli metrics;
    CompareOptions compare;
    NeutralOptions neutral;
    CLI::App* sampleCommand = addSampleCommand(app, sample);
    CLI::App* randomCommand = addRandomCommand(app, random);
    CLI::App* fractalCommand = addFractalCommand(app, fractal);
    CLI::App* metricsCommand = addMetricsCommand(app, metrics);
    CLI::App* compareCommand = addCompareCommand(app, compare);
    CLI::App* neutralCommand = addNeutralCommand(app, neutral);
    for (CLI::App* command : {sampleCommand, randomCommand, fractalCommand, metricsCommand, compareCommand,
                              neutralCommand})
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
    if (*neutralCommand)
        return runNeutralCommand(neutral);
    return runFractalCommand(fractal);
}
