#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "core/random/RandomSource.h"
#include "core/sampler/SampleRun.h"
#include "core/sampler/WindowSampler.h"
#include "core/io/BatchList.h"
#include "core/io/Config.h"

#include <cstdio>
#include <optional>
#include <filesystem>
#include <string>
#include <vector>

using namespace orvalis;
using namespace orvalis::cli;

namespace {

void sampleUsage(std::FILE* out)
{
    std::fprintf(out,
                 "usage: orvalis-cli sample IMAGE --folder DIR [OPTIONS]\n"
                 "\n"
                 "Cuts square windows out of IMAGE (an uncompressed 24- or 32-bit TGA; a pixel whose blue\n"
                 "byte is 128 or less is habitat) at whole-percentage habitat cover levels, and writes each\n"
                 "as a landscape file DIR/<prefix><cover %%03d>_<replicate %%03d>.txt. Each window is logged\n"
                 "in sample.txt and listed in the FRAGSTATS batch list <prefix>ListFragStat.fbt, both in\n"
                 "the working directory. The search spends at most 100000 tries.\n"
                 "\n"
                 "Options:\n"
                 "  --folder DIR          existing folder for the window files (required)\n"
                 "  --size N              window side in pixels, 2..9999999; an odd size loses one (100)\n"
                 "  --replicates N        windows per cover level, 1..999999 (1)\n"
                 "  --min-distance N      centres closer than this (whole pixels) are refused, 0..9999999 (10)\n"
                 "  --cover MIN:MAX:STEP  cover levels in percent: MIN 0..99, MAX 1..100, STEP 1..100;\n"
                 "                        only multiples of STEP are sampled (1:100:1)\n"
                 "  --prefix P            start of every file name and of the batch list's name\n"
                 "  --post-string S       text after each name in the batch list\n"
                 "  --cover-value V       value written for habitat cells\n"
                 "  --matrix-value V      value written for matrix cells\n"
                 "  --seed N              seed the random source first, 0..4294967295; without it the run\n"
                 "                        starts where the program's first run starts\n"
                 "  --help                show this text\n"
                 "\n"
                 "Prefix, post-string and the two values default to config.txt in the working directory\n"
                 "when it exists (empty, empty, 1 and 0 otherwise).\n"
                 "\n"
                 "Ctrl-C stops the search between two windows; what was written is logged and listed.\n"
                 "\n"
                 "Exit status: 0 success (also when some levels could not be filled), 1 a failed or\n"
                 "interrupted run, 2 bad arguments or a missing folder.\n");
}

std::string withoutTrailingSlashes(std::string folder)
{
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

}  // namespace

int runSampleCommand(int argc, char** argv)
{
    SampleParameters params;
    Settings settings;
    std::string image;
    int size = 100;
    std::optional<unsigned> seed;
    try {
        Arguments args(argc, argv);
        if (helpRequested(args)) {
            sampleUsage(stdout);
            return 0;
        }
        loadConfigDefaults("sample", settings);
        auto folder = args.take("--folder");
        takeInteger(args, "--size", size, 2, 9999999);
        takeInteger(args, "--replicates", params.replicates, 1, 999999);
        takeInteger(args, "--min-distance", params.minDistance, 0, 9999999);
        if (auto v = args.take("--cover")) {
            IntRange r = parseIntRange("--cover", *v, 0, 100, 1);
            if (r.min > 99)
                throw UsageError{"--cover MIN: " + std::to_string(r.min) + " is outside 0..99"};
            if (r.max < 1)
                throw UsageError{"--cover MAX: " + std::to_string(r.max) + " is outside 1..100"};
            params.cover = {r.min, r.max, r.step};
        }
        if (auto v = args.take("--prefix"))
            settings.samplePrefix = *v;
        if (auto v = args.take("--post-string"))
            settings.samplePostString = *v;
        takeClassValues(args, settings);
        if (auto v = args.take("--seed"))
            seed = static_cast<unsigned>(parseInteger("--seed", *v, 0, 4294967295LL));
        auto positional = args.takePositional();
        args.finish();
        if (!positional)
            throw UsageError{"the image file is missing"};
        image = *positional;
        params.folder = withoutTrailingSlashes(existingFolderOption(folder));
    } catch (const UsageError& e) {
        return usageFailure("sample", e);
    }
    params.prefix = settings.samplePrefix;
    params.postString = settings.samplePostString;
    params.image = image;
    params.windowSize = size;
    params.coverValue = settings.coverValue;
    params.matrixValue = settings.matrixValue;
    // Without --seed the run starts where the program's first run starts.
    RandomSource random;
    if (seed)
        random.seed(*seed);

    // Ctrl-C ends the search between windows, so every listed window is whole and the batch list is written.
    std::optional<InterruptGuard> interrupts(std::in_place);
    TerminalProgress progress;
    RunControl control([&progress](const ProgressEvent& e) { return progress(e) && !InterruptGuard::interrupted(); });
    const SampleResult outcome = runSample(params, random, control);
    progress.finish();
    interrupts.reset();
    if (outcome.stop == SampleStop::NoImage) {
        std::fprintf(stderr, "orvalis-cli sample: cannot load the image '%s' (Não foi possivel carregar a imagem)\n",
                     image.c_str());
        return 1;
    }

    int status = outcome.ok() ? 0 : 1;
    if (!outcome.ok() || outcome.stop == SampleStop::NoCentreLeft)
        std::fprintf(stderr, "orvalis-cli sample: %s\n", outcome.message.c_str());
    if (outcome.stop == SampleStop::Cancelled) {
        std::fprintf(stderr, "orvalis-cli sample: interrupted; the windows written so far are logged and listed\n");
        status = 1;
    }
    const std::string& listName = outcome.batchList;
    std::printf("%d window%s written to %s, %d of %d cover level%s filled, %lld of %lld tries spent (%s); "
                "log sample.txt, batch list %s\n",
                outcome.written(), outcome.written() == 1 ? "" : "s", params.folder.c_str(), outcome.levelsFilled,
                outcome.levels, outcome.levels == 1 ? "" : "s", static_cast<long long>(outcome.tries),
                static_cast<long long>(WindowSampler::TryBudget), sampleStopText(outcome.stop), listName.c_str());
    return status;
}
