#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "core/neutral/RandomGenerator.h"
#include "core/io/Config.h"

#include <cstdint>
#include <cstdio>
#include <optional>
#include <filesystem>
#include <string>
#include <vector>

using namespace orvalis;
using namespace orvalis::cli;

namespace {

void randomUsage(std::FILE* out)
{
    std::fprintf(out,
                 "usage: orvalis-cli random --folder DIR [OPTIONS]\n"
                 "\n"
                 "Writes a series of random landscapes: for each cover level, REPLICATES landscapes in\n"
                 "which every cell is independently a cover cell with the probability of the level.\n"
                 "Files are DIR/<cover %%03d>_<rows>x<cols>_a<replicate>.txt, listed in the FRAGSTATS batch\n"
                 "list DIR/random_ListFragStat.fbt. The same seed and options give the same files.\n"
                 "\n"
                 "Options:\n"
                 "  --folder DIR          existing folder for the landscape files (required)\n"
                 "  --cover MIN:MAX:STEP  cover levels in percent, each 0..100, STEP 1..100 (1:100:1)\n"
                 "  --size N              rows and columns of every landscape, 1..9999999 (100)\n"
                 "  --rows R --cols C     rows and columns apart, each 1..9999999, instead of --size\n"
                 "  --replicates N        landscapes per cover level, 1..999999 (1)\n"
                 "  --seed N              seed of the random source (5)\n"
                 "  --cover-value V       value written for cover cells\n"
                 "  --matrix-value V      value written for matrix cells\n"
                 "  --post-string S       text after each name in the batch list\n"
                 "  --help                show this text\n"
                 "\n"
                 "The two values and the post-string default to config.txt in the working directory when\n"
                 "it exists (1, 0 and empty otherwise).\n"
                 "\n"
                 "Exit status: 0 success, 1 a failed or interrupted run (a landscape cut short is removed),\n"
                 "2 bad arguments or a missing folder.\n");
}

int sizeOption(Arguments& args, const char* name)
{
    auto v = args.take(name);
    return v ? static_cast<int>(parseInteger(name, *v, 1, 9999999)) : -1;
}

}  // namespace

int runRandomCommand(int argc, char** argv)
{
    Settings settings;
    std::string folder;
    int coverMin = 1, coverMax = 100, coverStep = 1;
    int rows = 100, cols = 100, replicates = 1, seed = 5;
    try {
        Arguments args(argc, argv);
        if (helpRequested(args)) {
            randomUsage(stdout);
            return 0;
        }
        loadConfigDefaults("random", settings);
        auto folderText = args.take("--folder");
        if (auto v = args.take("--cover")) {
            const IntRange r = parseOrderedIntRange("--cover", *v, 0, 100, 1);
            coverMin = r.min;
            coverMax = r.max;
            coverStep = r.step;
        }
        const int size = sizeOption(args, "--size");
        const int rowsOption = sizeOption(args, "--rows");
        const int colsOption = sizeOption(args, "--cols");
        if (size > 0 && (rowsOption > 0 || colsOption > 0))
            throw UsageError{"give either --size or --rows and --cols, not both"};
        if ((rowsOption > 0) != (colsOption > 0))
            throw UsageError{"--rows and --cols go together"};
        if (size > 0)
            rows = cols = size;
        if (rowsOption > 0) {
            rows = rowsOption;
            cols = colsOption;
        }
        takeInteger(args, "--replicates", replicates, 1, 999999);
        takeInteger(args, "--seed", seed, INT32_MIN, INT32_MAX);
        takeClassValues(args, settings);
        if (auto v = args.take("--post-string"))
            settings.samplePostString = *v;
        args.finish();
        folder = existingFolderOption(folderText);
        if (folder.back() != '/')
            folder += '/';
    } catch (const UsageError& e) {
        return usageFailure("random", e);
    }

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
    });
    RandomSource random;
    const RunResult result = runRandomLandscapes(p, random, control);
    progress.finish();
    interrupts.reset();

    const int status = runExitStatus("random", !result.failed(), result.message, result.cancelled(),
                                     "finished landscapes stay, one cut short was removed");
    const long long total = static_cast<long long>(replicates) * randomLevelCount(p.cover);
    std::printf("%lld of %lld landscape%s of %d x %d cells written to %s (seed %d); batch list %s\n",
                static_cast<long long>(result.files.size()), total, total == 1 ? "" : "s", rows, cols, folder.c_str(),
                seed, result.batchList.c_str());
    return status;
}
