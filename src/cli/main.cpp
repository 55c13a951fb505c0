#include "cli/CliApp.h"
#include "cli/Commands.h"
#include "cli/Modules.h"
#include "core/sampler/MapSampleRun.h"

#include <cstdio>
#include <cstring>
#include <string>

// orvalis-cli: random, fractal, sample of a TGA image and --version run here, with neither GDAL
// nor Qt loaded. The map sampler, the other commands and the list of every command run in
// orvalis-gdal.so, which holds the whole command line and is loaded only for them.

using namespace orvalis::cli;

namespace orvalis {

// The map sampler, from the GDAL module: a TGA image is sampled without it.
SampleResult runMapSample(const SampleParameters& parameters, RandomSource& random, RunControl& control)
{
    using Entry = void (*)(const SampleParameters&, RandomSource&, RunControl&, SampleResult&);
    std::string error;
    SampleResult result;
    if (auto entry = reinterpret_cast<Entry>(moduleSymbol(GdalModule, "orvalis_run_map_sample", error))) {
        entry(parameters, random, control, result);
        return result;
    }
    result.status = RunStatus::Failed;
    result.stop = SampleStop::NoImage;
    result.message = "reading land-cover maps is not installed: " + error;
    return result;
}

}  // namespace orvalis

namespace {

bool runsHere(const char* first)
{
    for (const char* name : {"random", "fractal", "sample", "--version"})
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
    CLI::App* sampleCommand = addSampleCommand(app, sample);
    CLI::App* randomCommand = addRandomCommand(app, random);
    addFractalCommand(app, fractal)->group("Commands");
    sampleCommand->group("Commands");
    randomCommand->group("Commands");
    if (const int status = parseCommandLine(app, argc, argv); status >= 0)
        return status;
    if (*sampleCommand)
        return runSampleCommand(sample);
    if (*randomCommand)
        return runRandomCommand(random);
    return runFractalCommand(fractal);
}
