#include "cli/Commands.h"
#include "core/io/Config.h"
#include "core/map/RasterGrid.h"
#include "core/neutral/ExactClasses.h"
#include "core/neutral/NeutralRun.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace orvalis::cli {

namespace {

// The model, or the blend, with the --param values over it.
std::string readModel(const NeutralOptions& o, SurfaceBlend& model)
{
    std::string why;
    if (!o.blend.empty()) {
        std::optional<SurfaceBlend> blend = SurfaceBlend::parse(o.blend, &why);
        if (!blend)
            return why;
        model = std::move(*blend);
        return {};
    }
    if (o.model.empty())
        return "name a MODEL (" + neutralModelNames() + ") or a --blend";
    // --param values go after those in MODEL, so that they win.
    std::string text = o.model;
    for (const std::string& a : o.params)
        text += ":" + a;
    std::optional<ModelChoice> choice = parseModelChoice(text, &why);
    if (!choice)
        return why;
    model.parts = {{1.0, std::move(*choice)}};
    return {};
}

std::string readMask(const std::string& path, int rows, int cols, std::vector<unsigned char>& mask)
{
    LandscapeGrid grid;
    double cellSize = 1.0;
    std::optional<int> noData;
    std::string why;
    if (!readMeasurableGrid(path, grid, cellSize, noData, &why))
        return "cannot read the mask " + path + ": " + why;
    if (static_cast<int>(grid.size()) != rows || static_cast<int>(grid.front().size()) != cols)
        return "the mask " + path + " is not of " + std::to_string(rows) + " x " + std::to_string(cols) + " cells";
    mask.clear();
    for (const std::vector<int>& line : grid)
        for (int v : line)
            mask.push_back(v != 0 && !(noData && v == *noData));
    return {};
}

GridFormat formatOf(const std::string& name)
{
    return name == "asc" ? GridFormat::AsciiGrid : name == "tif" ? GridFormat::GeoTiff : GridFormat::Text;
}

// The parameters the options ask for; *why says what cannot be.
NeutralRunParameters neutralParameters(const NeutralOptions& o, const Settings& settings, std::string& why)
{
    NeutralRunParameters p;
    why = readModel(o, p.model);
    if (why.empty() && (o.rows < 1 || o.cols < 1))
        why = "give the landscape's size: --rows R --cols C";
    if (why.empty() && o.cover.empty() == o.proportions.empty())
        why = "give either --cover LEVELS or --proportions P";
    if (why.empty() && !o.cover.empty())
        why = readCoverLevels(o.cover, p.coverLevels);
    if (why.empty() && !o.proportions.empty())
        why = readClassProportions(o.proportions, p.proportions);
    p.rows = o.rows;
    p.cols = o.cols;
    if (why.empty() && !o.mask.empty())
        why = readMask(o.mask, o.rows, o.cols, p.mask);
    p.replicates = o.replicates;
    p.seed = o.seed;
    p.coverValue = settings.coverValue;
    p.matrixValue = settings.matrixValue;
    p.format = formatOf(o.format);
    p.cellSize = o.cellSize;
    p.folder = o.folder;
    p.postString = settings.samplePostString;
    p.metrics = runMetrics(o.metrics);
    p.jobs = o.jobs;
    if (why.empty())
        why = checkNeutralParameters(p);
    return p;
}

std::string modelsHelp()
{
    std::string text = "Models and their parameters (--param NAME=VALUE; lists separated by '/'):\n";
    for (const NeutralModelDef& d : neutralModels()) {
        text += "  " + d.name + std::string(d.name.size() < 12 ? 12 - d.name.size() : 1, ' ') + d.title + "\n";
        for (const ModelParameter& p : d.parameters) {
            std::string line = "      " + p.shownName() + " " + p.rangeText();
            line += !p.defaultText.empty() ? " (" + p.defaultText + ")" : p.drawn ? " (drawn)" : p.required ? " (required)" : "";
            text += line + ": " + p.help + "\n";
        }
    }
    return text;
}

void listModels()
{
    for (const NeutralModelDef& d : neutralModels()) {
        std::printf("%s\t%s\n    follows %s\n", d.name.c_str(), d.title.c_str(), d.reference.c_str());
        for (const ModelParameter& p : d.parameters) {
            const std::string given = !p.defaultText.empty() ? "default " + p.defaultText
                                      : p.drawn              ? "drawn for every replicate when absent"
                                      : p.required           ? "required"
                                                             : "optional";
            std::printf("    %s %s, %s: %s\n", p.shownName().c_str(), p.rangeText().c_str(), given.c_str(),
                        p.help.c_str());
        }
    }
}

}  // namespace

CLI::App* addNeutralCommand(CLI::App& app, NeutralOptions& o)
{
    CLI::App* cmd = app.add_subcommand(
        "neutral",
        "Writes a series of neutral landscapes of any model at exact habitat counts.\n"
        "\n"
        "For each cover level, REPLICATES landscapes of exactly that share of habitat cells (the cells of\n"
        "the model's surface with the highest values, ties to the earlier cell), or with --proportions k\n"
        "classes 1..k of exactly their rounded counts (class 1 the lowest values). Files are\n"
        "DIR/<model and parameters>_<level %03d or classes>_<replicate %05d>.<txt|asc|tif>, listed in the\n"
        "FRAGSTATS batch list DIR/<model>_ListFragStat.fbt. The same options give the same bytes whatever\n"
        "the number of jobs. docs/MODELS.md gives each model's definition.");
    addHelpFlag(*cmd);
    cmd->add_option("MODEL", o.model, "the model, as MODEL or MODEL:NAME=VALUE:NAME=VALUE (or NAME=VALUE,NAME=VALUE)")->type_name("");
    cmd->add_option("--param", o.params, "a parameter of the model, repeated as needed")
        ->type_name("NAME=VALUE")
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    cmd->add_option("--blend", o.blend, "NLMpy's blendArray of models instead of MODEL, as 0.5*fbm:h=0.8+0.5*planar")
        ->type_name("EXPR");
    cmd->add_flag("--list-models", o.listModels, "list the models with their parameters, defaults and ranges");
    addNumber(*cmd, "--rows", o.rows, 1, 1000000, "rows of every landscape, 1..1000000");
    addNumber(*cmd, "--cols", o.cols, 1, 1000000, "columns of every landscape, 1..1000000");
    cmd->add_option("--cover", o.cover, "habitat percentages: L, L,L,... or MIN:MAX:STEP, each 0..100")
        ->type_name("LEVELS");
    cmd->add_option("--proportions", o.proportions, "class shares summing to 1, as 0.2,0.3,0.5, instead of --cover")
        ->type_name("P");
    addNumber(*cmd, "--replicates", o.replicates, 1, 999999, "landscapes per level, 1..999999 (1)");
    cmd->add_option("--seed", o.seed, "seed of the replicates, 0..4294967295 (1)")
        ->transform(wholeNumber(0, UINT32_MAX))
        ->type_name("S");
    cmd->add_option("--format", o.format, "txt (text grid), asc (ESRI ASCII grid) or tif (GeoTIFF) (txt)")
        ->check(CLI::IsMember({"txt", "asc", "tif"}))
        ->type_name("F");
    cmd->add_option("--cell-size", o.cellSize, "side of a cell in metres, for .asc and .tif frames and metrics (1)")
        ->check(CLI::PositiveNumber)
        ->type_name("M");
    cmd->add_option("--folder", o.folder, "existing folder for the files (.)")
        ->check(CLI::ExistingDirectory.description(""))
        ->type_name("DIR");
    cmd->add_option("--mask", o.mask, "grid of the landscape's size: only cells other than 0 and no-data are\n"
                                      "ranked; the others are written -9999")
        ->type_name("FILE");
    addClassValueOptions(*cmd, o.values, "habitat");
    cmd->add_option_function<std::string>(
           "--post-string", [&o](const std::string& v) { o.postString = v; }, "text after each name in the batch list")
        ->type_name("S");
    addRunMetricsOptions(*cmd, o.metrics, "beside the batch list");
    addNumber(*cmd, "--jobs", o.jobs, 1, 256, "threads making landscapes, 1..256 (every core)");
    cmd->callback([&o] {
        if (o.listModels)
            return;
        if (!o.blend.empty() && (!o.model.empty() || !o.params.empty()))
            throw CLI::ValidationError("--blend", "a blend names its models itself: give no MODEL or --param");
        std::string why;
        neutralParameters(o, Settings{}, why);
        if (!why.empty())
            throw CLI::ValidationError(why);
    });
    cmd->footer(modelsHelp() +
                "\n"
                "The class values and the post-string default to config.txt in the working directory when it\n"
                "exists (1, 0 and empty otherwise).\n"
                "\n"
                "Exit status: 0 success, 1 a failed or interrupted run (the files written so far stay),\n"
                "2 bad arguments: an unknown model or parameter, a value out of its range, proportions not\n"
                "summing to 1, or landscapes too large for the memory free.");
    return cmd;
}

int runNeutralCommand(const NeutralOptions& o)
{
    if (o.listModels) {
        listModels();
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    Settings settings = commandSettings("neutral", o.values);
    if (o.postString)
        settings.samplePostString = *o.postString;
    std::string why;
    const NeutralRunParameters p = neutralParameters(o, settings, why);
    if (!why.empty()) {
        std::fprintf(stderr, "orvalis-cli neutral: %s\n", why.c_str());
        return 2;
    }

    // Ctrl-C stops before the next landscape; every file written is whole.
    std::optional<InterruptGuard> interrupts(std::in_place);
    TerminalProgress progress;
    RunControl control([&progress](const ProgressEvent& e) { return progress(e) && !InterruptGuard::interrupted(); },
                       InterruptGuard::flag());
    RandomSource unused;  // each replicate has a state of its own
    const RunResult result = runNeutralLandscapes(p, unused, control);
    progress.finish();
    interrupts.reset();

    const int status = runExitStatus("neutral", !result.failed(), result.message, result.cancelled(),
                                     "the files written so far stay");
    std::printf("%zu of %lld landscape%s of %d x %d cells (%s) written to %s (seed %u); batch list %s%s\n",
                result.files.size(), result.asked, result.asked == 1 ? "" : "s", p.rows, p.cols,
                p.model.text().c_str(), p.folder.string().c_str(), p.seed, result.batchList.c_str(),
                metricsTableNote(result).c_str());
    if (!result.shortLevels.empty())
        std::printf("%s\n", runSummary(result, "landscapes").c_str());
    return status;
}

}  // namespace orvalis::cli
