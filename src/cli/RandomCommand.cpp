#include "cli/Commands.h"
#include "core/neutral/RandomGenerator.h"
#include "core/io/Config.h"

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace orvalis::cli {

CLI::App* addRandomCommand(CLI::App& app, RandomOptions& o)
{
    CLI::App* cmd = app.add_subcommand(
        "random",
        "Writes a series of random landscapes.\n"
        "\n"
        "For each cover level, REPLICATES landscapes in which every cell is independently a cover cell\n"
        "with the probability of the level. Files are DIR/<cover %03d>_<rows>x<cols>_a<replicate>.txt,\n"
        "listed in the FRAGSTATS batch list DIR/random_ListFragStat.fbt. The same seed and options give\n"
        "the same files.");
    addHelpFlag(*cmd);
    addFolderOption(*cmd, o.folder, "existing folder for the landscape files");
    addRangeOption(*cmd, "--cover", o.cover, {0, 100, 0, 100, 1, 100},
                   "cover levels in percent, each 0..100, STEP 1..100 (1:100:1)");
    CLI::Option* size = cmd->add_option_function<int>(
                               "--size", [&o](const int& n) { o.rows = o.cols = n; },
                               "rows and columns of every landscape, 1..9999999 (100)")
                            ->transform(wholeNumber(1, 9999999))
                            ->type_name("N");
    CLI::Option* rows =
        addNumber(*cmd, "--rows", o.rows, 1, 9999999, "rows apart, 1..9999999, with --cols instead of --size");
    CLI::Option* cols = addNumber(*cmd, "--cols", o.cols, 1, 9999999, "columns apart, 1..9999999, with --rows");
    rows->needs(cols);
    cols->needs(rows);
    size->excludes(rows)->excludes(cols);
    // The descriptions say how the three go together; CLI11's own notes would break the column.
    for (CLI::Option* option : {size, rows, cols})
        option->option_text("N");
    addNumber(*cmd, "--replicates", o.replicates, 1, 999999, "landscapes per cover level, 1..999999 (1)");
    addNumber(*cmd, "--seed", o.seed, INT32_MIN, INT32_MAX, "seed of the random source (5)");
    addClassValueOptions(*cmd, o.values, "cover");
    cmd->add_option_function<std::string>(
           "--post-string", [&o](const std::string& v) { o.postString = v; }, "text after each name in the batch list")
        ->type_name("S");
    addRunMetricsOptions(*cmd, o.metrics, "beside the batch list");
    cmd->footer("The two values and the post-string default to config.txt in the working directory when\n"
                "it exists (1, 0 and empty otherwise).\n"
                "\n"
                "Exit status: 0 success, 1 a failed or interrupted run (a landscape cut short is removed),\n"
                "2 bad arguments or a missing folder.");
    return cmd;
}

int runRandomCommand(const RandomOptions& o)
{
    Settings settings = commandSettings("random", o.values);
    if (o.postString)
        settings.samplePostString = *o.postString;
    std::string folder = o.folder;
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    const int coverMin = o.cover.min, coverMax = o.cover.max, coverStep = o.cover.step;
    const int rows = o.rows, cols = o.cols, replicates = o.replicates, seed = o.seed;

    RandomLandscapeParameters p;
    p.cover = {coverMin, coverMax, coverStep};
    p.rows = rows;
    p.cols = cols;
    p.replicates = replicates;
    p.matrixValue = settings.matrixValue;
    p.coverValue = settings.coverValue;
    p.folder = folder;
    p.seed = seed;
    p.postString = settings.samplePostString;
    p.metrics = runMetrics(o.metrics);

    // Ctrl-C stops at the next look at the progress, so no half-written landscape stays behind.
    std::optional<InterruptGuard> interrupts(std::in_place);
    TerminalProgress progress;
    std::string label;
    RunControl control([&](const ProgressEvent& e) {
        // Looks inside a landscape carry no label; the line keeps naming the landscape.
        if (!e.label.empty())
            label = e.label;
        ProgressEvent shown = e;
        shown.label = label;
        return progress(shown) && !InterruptGuard::interrupted();
    }, InterruptGuard::flag());
    RandomSource random;
    const RunResult result = runRandomLandscapes(p, random, control);
    progress.finish();
    interrupts.reset();

    const int status = runExitStatus("random", !result.failed(), result.message, result.cancelled(),
                                     "finished landscapes stay, one cut short was removed");
    const long long total = static_cast<long long>(replicates) * randomLevelCount(p.cover);
    std::printf("%lld of %lld landscape%s of %d x %d cells written to %s (seed %d); batch list %s%s\n",
                static_cast<long long>(result.files.size()), total, total == 1 ? "" : "s", rows, cols, folder.c_str(),
                seed, result.batchList.c_str(), metricsTableNote(result).c_str());
    // Levels that stayed empty or short are named, so that a partial series is never taken for a whole one.
    if (!result.shortLevels.empty())
        std::printf("%s\n", runSummary(result, "landscapes").c_str());
    return status;
}

}  // namespace orvalis::cli
