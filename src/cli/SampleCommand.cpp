#include "cli/Commands.h"
#include "core/random/RandomSource.h"
#include "core/sampler/SampleRun.h"
#include "core/sampler/WindowSampler.h"
#include "core/io/Config.h"
#include "core/map/GdalSupport.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace orvalis::cli {

namespace {

std::string withoutTrailingSlashes(std::string folder)
{
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

}  // namespace

CLI::App* addSampleCommand(CLI::App& app, SampleOptions& o)
{
    CLI::App* cmd = app.add_subcommand(
        "sample",
        "Cuts windows at whole-percentage habitat levels from a TGA image or a land-cover map.\n"
        "\n"
        "Each window, a square cut out of IMAGE, is written as a landscape file\n"
        "DIR/<prefix><cover %03d>_<replicate %03d>.txt (.tif or .asc for a map), logged in sample.txt\n"
        "and listed in the FRAGSTATS batch list <prefix>ListFragStat.fbt, both in the working directory.\n"
        "The search spends at most 100000 tries.\n"
        "\n"
        "IMAGE may be any classified raster GDAL reads (GeoTIFF, ERDAS .img, netCDF, ...) that is not\n"
        "named .tga; --habitat then says which classes are habitat, windows holding no-data are\n"
        "refused, and sample.txt adds the map coordinates of each window's centre.");
    addHelpFlag(*cmd);
    addVrtSourcesFlag(*cmd);
    cmd->add_option("IMAGE", o.image,
                    "an uncompressed 24- or 32-bit TGA, where a pixel whose blue byte is 128 or less is\n"
                    "habitat; or a land-cover map")
        ->required()
        ->type_name("");
    addFolderOption(*cmd, o.folder, "existing folder for the window files");
    addNumber(*cmd, "--size", o.size, 2, 9999999, "window side in pixels, 2..9999999; an odd size loses one (100)");
    addNumber(*cmd, "--replicates", o.replicates, 1, 999999, "windows per cover level, 1..999999 (1)");
    addNumber(*cmd, "--min-distance", o.minDistance, 0, 9999999,
              "centres closer than this (whole pixels) are refused, 0..9999999 (10)");
    addRangeOption(*cmd, "--cover", o.cover, {0, 99, 1, 100, 1, 100, false},
                   "cover levels in percent: MIN 0..99, MAX 1..100, STEP 1..100;\n"
                   "only multiples of STEP are sampled (1:100:1)");
    cmd->add_option_function<std::string>(
           "--prefix", [&o](const std::string& v) { o.prefix = v; },
           "start of every file name and of the batch list's name")
        ->type_name("P");
    cmd->add_option_function<std::string>(
           "--post-string", [&o](const std::string& v) { o.postString = v; }, "text after each name in the batch list")
        ->type_name("S");
    addClassValueOptions(*cmd, o.values, "habitat");
    cmd->add_option("--habitat", o.habitat,
                    "habitat classes of a map: 41,42,43 or 41-43 or both mixed; required for a map,\n"
                    "refused for a TGA")
        ->type_name("CLASSES");
    addNumber(*cmd, "--band", o.band, 1, 999999, "the map's band holding the classes (1)");
    cmd->add_option("--format", o.format, "window files of a map: tif (GeoTIFF, the default), asc (ESRI ASCII\n"
                                          "grid) or txt (the text grid of a TGA's windows)")
        ->check(CLI::IsMember({"txt", "asc", "tif"}))
        ->type_name("F");
    cmd->add_flag("--keep-classes", o.keepClasses,
                  "map windows hold the map's classes instead of the cover and matrix values");
    addRunMetricsOptions(*cmd, o.metrics, "beside sample.txt");
    cmd->add_option_function<unsigned>(
           "--seed", [&o](const unsigned& v) { o.seed = v; },
           "seed the random source first, 0..4294967295; without it the run\n"
           "starts where the program's first run starts")
        ->transform(wholeNumber(0, 4294967295LL))
        ->type_name("N");
    cmd->footer("Prefix, post-string and the two values default to config.txt in the working directory\n"
                "when it exists (empty, empty, 1 and 0 otherwise).\n"
                "\n"
                "Ctrl-C stops the search between two windows; what was written is logged and listed.\n"
                "\n"
                "Exit status: 0 success (also when some levels could not be filled), 1 a failed or\n"
                "interrupted run, 2 bad arguments or a missing folder.");
    return cmd;
}

int runSampleCommand(const SampleOptions& o)
{
    Settings settings = commandSettings("sample", o.values);
    if (o.prefix)
        settings.samplePrefix = *o.prefix;
    if (o.postString)
        settings.samplePostString = *o.postString;
    SampleParameters params;
    params.image = o.image;
    params.folder = withoutTrailingSlashes(o.folder);
    params.windowSize = o.size;
    params.replicates = o.replicates;
    params.minDistance = o.minDistance;
    params.cover = {o.cover.min, o.cover.max, o.cover.step};
    params.prefix = settings.samplePrefix;
    params.postString = settings.samplePostString;
    params.coverValue = settings.coverValue;
    params.matrixValue = settings.matrixValue;
    params.habitatClasses = o.habitat;
    params.band = o.band;
    params.format = o.format == "txt"   ? WindowFormat::Txt
                    : o.format == "asc" ? WindowFormat::Asc
                    : o.format == "tif" ? WindowFormat::Tif
                                        : WindowFormat::Default;
    params.keepClasses = o.keepClasses;
    params.metrics = runMetrics(o.metrics);
    // Without --seed the run starts where the program's first run starts.
    RandomSource random;
    if (o.seed)
        random.seed(*o.seed);
    params.seed = o.seed;

    // A FIFO or a device would hold the TGA reader until its writer comes, if ever.
    if (const std::string why = isTgaPath(params.image) ? nonRegularFileRefusal(o.image) : std::string();
        !why.empty()) {
        std::fprintf(stderr, "orvalis-cli sample: %s: %s\n", o.image.c_str(), why.c_str());
        return 1;
    }

    // Ctrl-C ends the search between windows, so every listed window is whole.
    std::optional<InterruptGuard> interrupts(std::in_place);
    TerminalProgress progress;
    RunControl control([&progress](const ProgressEvent& e) { return progress(e) && !InterruptGuard::interrupted(); },
                       InterruptGuard::flag());
    const SampleResult outcome = runSample(params, random, control);
    progress.finish();
    interrupts.reset();

    if (outcome.stop == SampleStop::NoImage) {
        if (InterruptGuard::interrupted())
            std::fprintf(stderr, "orvalis-cli sample: interrupted while reading '%s'; nothing was replaced\n",
                         o.image.c_str());
        else if (isTgaPath(params.image))
            std::fprintf(stderr,
                         "orvalis-cli sample: cannot load the image '%s' (Não foi possivel carregar a imagem)\n",
                         o.image.c_str());
        else
            std::fprintf(stderr, "orvalis-cli sample: %s\n", outcome.message.c_str());
        return 1;
    }
    for (const std::string& warning : outcome.warnings)
        std::fprintf(stderr, "orvalis-cli sample: warning: %s\n", warning.c_str());
    int status = outcome.ok() ? 0 : 1;
    if (!outcome.ok() || outcome.stop == SampleStop::NoCentreLeft)
        std::fprintf(stderr, "orvalis-cli sample: %s\n", outcome.message.c_str());
    if (outcome.stop == SampleStop::Cancelled) {
        std::fprintf(stderr, "orvalis-cli sample: interrupted; the windows written so far are logged and listed\n");
        status = 1;
    }
    if (outcome.status == RunStatus::Refused)
        return status;
    const std::string folder = params.folder.string();
    std::printf("%d window%s written to %s, %d of %d cover level%s filled, %lld of %lld tries spent (%s); "
                "log sample.txt, batch list %s%s\n",
                outcome.written(), outcome.written() == 1 ? "" : "s", folder.c_str(), outcome.levelsFilled,
                outcome.levels, outcome.levels == 1 ? "" : "s", static_cast<long long>(outcome.tries),
                static_cast<long long>(WindowSampler::TryBudget), sampleStopText(outcome.stop),
                outcome.batchList.c_str(), metricsTableNote(outcome).c_str());
    // Levels that stayed empty or short are named, so that a partial series is never taken for a whole one.
    if (!outcome.shortLevels.empty())
        std::printf("%s\n", runSummary(outcome, "windows").c_str());
    return status;
}

}  // namespace orvalis::cli
