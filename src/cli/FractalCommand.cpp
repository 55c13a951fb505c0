#include "cli/Commands.h"
#include "core/neutral/FractalRun.h"
#include "core/io/Config.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace orvalis::cli {

namespace {

FractalRunParameters fractalParameters(const FractalOptions& o, const Settings& settings)
{
    FractalRunParameters p;
    p.initialH = o.h.min;
    p.finalH = o.h.max;
    p.stepH = o.h.step;
    p.cover = {o.cover.min, o.cover.max, o.cover.step};
    p.size = o.size;
    p.replicates = o.replicates;
    p.jobs = o.jobs;
    p.folder = !o.folder.empty() && o.folder.back() == '/' ? o.folder : o.folder + '/';
    p.coverValue = settings.coverValue;
    p.matrixValue = settings.matrixValue;
    p.metrics = runMetrics(o.metrics);
    return p;
}

}  // namespace

CLI::App* addFractalCommand(CLI::App& app, FractalOptions& o)
{
    CLI::App* cmd = app.add_subcommand(
        "fractal",
        "Writes a series of fractal (midpoint-displacement) landscapes.\n"
        "\n"
        "For each Hurst exponent H, midpoint-displacement surfaces of seeds 0..199 are cut at the thresholds\n"
        "0.10..0.89; a cut whose whole percentage of cover is wanted and still lacks files is written as\n"
        "DIR/<H %.2f>_<cover %03d>_<number %05d>.txt. The same options always give the same files,\n"
        "whatever the number of jobs.");
    addHelpFlag(*cmd);
    addFolderOption(*cmd, o.folder, "existing folder for the landscape files");
    addRangeOption(*cmd, "--h", o.h, {0.01, 1.0, 0.01, 1.0, 0.01, 1.0},
                   "H values, each 0.01..1, STEP at least 0.01 (0.1:0.9:0.1)");
    addRangeOption(*cmd, "--cover", o.cover, {0, 100, 0, 100, 1, 100},
                   "cover percentages, each 0..100, STEP 1..100 (1:100:1)");
    cmd->add_option("--size", o.size, "rows and columns of every landscape, 1..4096 (100)")
        ->transform(wholeNumber(1, MaxSurfaceSize, "the largest fractal landscape"))
        ->type_name("N");
    addNumber(*cmd, "--replicates", o.replicates, 1, 999999, "files per H value and cover percentage, 1..999999 (1)");
    addClassValueOptions(*cmd, o.values, "cover");
    addNumber(*cmd, "--jobs", o.jobs, 1, 256, "threads building surfaces, 1..256 (every core)");
    addRunMetricsOptions(*cmd, o.metrics, "in DIR");
    // Each range passes alone; the H values they make must still have names of their own.
    cmd->callback([&o] {
        const std::string refused = checkFractalParameters(fractalParameters(o, Settings{}));
        if (!refused.empty())
            throw CLI::ValidationError(refused);
    });
    cmd->footer("The two values default to config.txt in the working directory when it exists (1 and 0\n"
                "otherwise).\n"
                "\n"
                "Exit status: 0 success, 1 a failed or interrupted run (files already written stay),\n"
                "2 bad arguments or a missing folder.");
    return cmd;
}

int runFractalCommand(const FractalOptions& o)
{
    const FractalRunParameters p = fractalParameters(o, commandSettings("fractal", o.values));

    // Ctrl-C stops after the surface in hand; its files are whole.
    std::optional<InterruptGuard> interrupts(std::in_place);
    TerminalProgress progress;
    RunControl control([&progress](const ProgressEvent& e) { return progress(e) && !InterruptGuard::interrupted(); },
                       InterruptGuard::flag());
    RandomSource unused;  // each surface seeds a source of its own
    const FractalRunResult result = runFractalLandscapes(p, unused, control);
    const std::vector<std::string>& names = result.files;
    progress.finish();
    interrupts.reset();

    const int status =
        runExitStatus("fractal", !result.failed(), result.message, result.cancelled(), "the files written so far stay");
    const std::size_t hCount = fractalHValues(p.initialH, p.finalH, p.stepH).size();
    std::printf("%zu landscape%s of %d x %d cells written to %s (%zu H value%s, %lld surfaces)%s\n", names.size(),
                names.size() == 1 ? "" : "s", p.size, p.size, p.folder.c_str(), hCount, hCount == 1 ? "" : "s",
                static_cast<long long>(result.surfaces), metricsTableNote(result).c_str());
    // Levels that stayed empty or short are named, so that a partial series is never taken for a whole one.
    if (!result.shortLevels.empty())
        std::printf("%s\n", runSummary(result, "landscapes").c_str());
    return status;
}

}  // namespace orvalis::cli
