#include "cli/Commands.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#ifndef ORVALIS_VERSION
#error "ORVALIS_VERSION must be the project's version (see src/cli/CMakeLists.txt)"
#endif

using namespace orvalis::cli;

namespace {

// Bad arguments to a command: the reason, where to read more, and the status for bad arguments.
int usageFailure(const std::string& command, const std::string& message)
{
    std::fprintf(stderr, "orvalis-cli %s: %s\n", command.c_str(), message.c_str());
    std::fprintf(stderr, "Try 'orvalis-cli %s --help'.\n", command.c_str());
    return 2;
}

}  // namespace

// orvalis-cli links the core without GDAL and Qt (orvalis_core_light), so that a run starts in a few
// milliseconds: GDAL comes with orvalis-gdal.so the first time a raster is read or written
// (GdalProxies.cpp), Qt with orvalis-charts.so when a comparison's charts are drawn.

// Exit status: 0 success, --help and --version; 1 a failed or interrupted run; 2 bad arguments.
int main(int argc, char** argv)
{
    CLI::App app("Landscape windows and neutral landscapes from the command line.", "orvalis-cli");
    app.formatter(std::make_shared<HelpFormatter>());
    // A repeated option counts with its last value.
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.require_subcommand(1);
    addHelpFlag(app);
    app.set_version_flag("--version", "orvalis-cli " ORVALIS_VERSION, "show the program's version");
    app.footer("'orvalis-cli COMMAND --help' describes each command's options.");

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

    if (argc < 2) {
        std::fputs(app.help().c_str(), stderr);
        return 2;
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        // The help of the command asked about, or the program's.
        std::fputs(app.help().c_str(), stdout);
        return 0;
    } catch (const CLI::CallForVersion& e) {
        std::printf("%s\n", e.what());
        return 0;
    } catch (const CLI::ParseError& e) {
        const std::vector<CLI::App*> commands = app.get_subcommands();
        if (!commands.empty()) {
            const std::vector<std::string> extra = commands.front()->remaining();
            // CLI11 lists the unexpected arguments last first; the first one is the mistake to name.
            if (dynamic_cast<const CLI::ExtrasError*>(&e) && !extra.empty())
                return usageFailure(commands.front()->get_name(), "unexpected argument '" + extra.front() + "'");
            return usageFailure(commands.front()->get_name(), e.what());
        }
        const std::vector<std::string> unknown = app.remaining();
        const std::string message = unknown.empty() ? e.what() : "unknown command '" + unknown.front() + "'";
        std::fprintf(stderr, "orvalis-cli: %s\n", message.c_str());
        std::fputs(app.help().c_str(), stderr);
        return 2;
    }
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
