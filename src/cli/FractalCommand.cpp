#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "core/neutral/FractalRun.h"
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

void fractalUsage(std::FILE* out)
{
    std::fprintf(out,
                 "usage: orvalis-cli fractal --folder DIR [OPTIONS]\n"
                 "\n"
                 "Writes fractal landscapes: for each Hurst exponent H, midpoint-displacement surfaces of\n"
                 "seeds 0..199 are cut at the thresholds 0.10..0.89; a cut whose whole percentage of cover\n"
                 "is wanted and still lacks files is written as DIR/<H %%.2f>_<cover %%03d>_<number %%05d>.txt.\n"
                 "The same options always give the same files, whatever the number of jobs.\n"
                 "\n"
                 "Options:\n"
                 "  --folder DIR          existing folder for the landscape files (required)\n"
                 "  --h MIN:MAX:STEP      H values, each 0.01..1, STEP at least 0.01 (0.1:0.9:0.1)\n"
                 "  --cover MIN:MAX:STEP  cover percentages, each 0..100, STEP 1..100 (1:100:1)\n"
                 "  --size N              rows and columns of every landscape, 1..4096 (100)\n"
                 "  --replicates N        files per H value and cover percentage, 1..999999 (1)\n"
                 "  --cover-value V       value written for cover cells\n"
                 "  --matrix-value V      value written for matrix cells\n"
                 "  --jobs N              threads building surfaces, 1..256 (every core)\n"
                 "  --help                show this text\n"
                 "\n"
                 "The two values default to config.txt in the working directory when it exists (1 and 0\n"
                 "otherwise).\n"
                 "\n"
                 "Exit status: 0 success, 1 a failed or interrupted run (files already written stay),\n"
                 "2 bad arguments or a missing folder.\n");
}

}  // namespace

int runFractalCommand(int argc, char** argv)
{
    Settings settings;
    FractalRunParameters p;
    std::string folder;
    try {
        Arguments args(argc, argv);
        if (helpRequested(args)) {
            fractalUsage(stdout);
            return 0;
        }
        loadConfigDefaults("fractal", settings);
        auto folderText = args.take("--folder");
        if (auto v = args.take("--h")) {
            RealRange r = parseRealRange("--h", *v, 0.01, 1.0, 0.01);
            if (r.max < r.min)
                throw UsageError{"--h: MAX is below MIN in '" + *v + "'"};
            p.initialH = r.min;
            p.finalH = r.max;
            p.stepH = r.step;
        }
        if (auto v = args.take("--cover")) {
            const IntRange r = parseOrderedIntRange("--cover", *v, 0, 100, 1);
            p.cover = {r.min, r.max, r.step};
        }
        if (auto v = args.take("--size")) {
            const long long size = parseInteger("--size", *v, 1, INT32_MAX);
            if (size > MaxSurfaceSize)
                throw UsageError{"--size: " + *v + " is larger than " + std::to_string(MaxSurfaceSize) +
                                 ", the largest fractal landscape"};
            p.size = static_cast<int>(size);
        }
        takeInteger(args, "--replicates", p.replicates, 1, 999999);
        takeClassValues(args, settings);
        takeInteger(args, "--jobs", p.jobs, 1, 256);
        args.finish();
        folder = existingFolderOption(folderText);
        if (folder.back() != '/')
            folder += '/';
        p.folder = folder;
        p.coverValue = settings.coverValue;
        p.matrixValue = settings.matrixValue;
        const std::string refused = checkFractalParameters(p);
        if (!refused.empty())
            throw UsageError{refused};
    } catch (const UsageError& e) {
        return usageFailure("fractal", e);
    }

    // Ctrl-C stops after the surface in hand; its files are whole.
    std::optional<InterruptGuard> interrupts(std::in_place);
    TerminalProgress progress;
    RunControl control([&progress](const ProgressEvent& e) { return progress(e) && !InterruptGuard::interrupted(); });
    RandomSource unused;  // each surface seeds a source of its own
    const FractalRunResult result = runFractalLandscapes(p, unused, control);
    const std::vector<std::string>& names = result.files;
    progress.finish();
    interrupts.reset();

    const int status =
        runExitStatus("fractal", !result.failed(), result.message, result.cancelled(), "the files written so far stay");
    const std::size_t hCount = fractalHValues(p.initialH, p.finalH, p.stepH).size();
    std::printf("%zu landscape%s of %d x %d cells written to %s (%zu H value%s, %lld surfaces)\n", names.size(),
                names.size() == 1 ? "" : "s", p.size, p.size, folder.c_str(), hCount, hCount == 1 ? "" : "s",
                static_cast<long long>(result.surfaces));
    return status;
}
