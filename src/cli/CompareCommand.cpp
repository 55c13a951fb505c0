#include "cli/Commands.h"
#include "core/compare/CompareRun.h"
#include "core/io/Config.h"
#include "core/run/RunLock.h"
#include "core/sampler/SampleLog.h"
#include "core/sampler/SampleRun.h"
#include "plots/ComparePlots.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace orvalis::cli {

namespace {

std::string readModels(const std::string& text, std::vector<NeutralModel>& models)
{
    models.clear();
    std::string listed;
    for (const std::string& item : commaList(text))
        listed += (listed.empty() ? "" : ",") + item;
    for (const std::string& name : splitModelList(listed)) {
        std::string why;
        const std::optional<NeutralModel> m = NeutralModel::parse(name, &why);
        if (!m)
            return why;
        models.push_back(*m);
    }
    return models.empty() ? "name at least one model" : std::string();
}

std::string readShard(const std::string& text, int& shard, int& shards)
{
    const std::size_t slash = text.find('/');
    const auto whole = [](const std::string& part, int& value) {
        const auto r = std::from_chars(part.data(), part.data() + part.size(), value);
        return !part.empty() && r.ec == std::errc() && r.ptr == part.data() + part.size();
    };
    if (slash == std::string::npos || !whole(text.substr(0, slash), shard) || !whole(text.substr(slash + 1), shards) ||
        shards < 1 || shard < 1 || shard > shards)
        return "'" + text + "': a shard is K/N with 1 <= K <= N";
    return {};
}

// Keeps the log's windows that exist; the missing ones are named and make the exit status 1.
bool logWindows(const std::string& log, std::vector<std::string>& files, std::vector<double>& covers)
{
    std::vector<std::string> named;
    std::string error;
    if (!readSampleLogWindows(log, named, &error)) {
        std::fprintf(stderr, "orvalis-cli compare: %s\n", error.c_str());
        return false;
    }
    // The covers the log gives, to check each window's habitat against.
    const SampleLog entries = readSampleLog(log);
    bool whole = true;
    for (std::size_t i = 0; i < named.size(); ++i) {
        const std::string& name = named[i];
        std::error_code ec;
        if (std::filesystem::exists(name, ec)) {
            files.push_back(name);
            if (entries.windows.size() == named.size())
                covers.push_back(entries.windows[i].cover);
            continue;
        }
        std::fprintf(stderr, "orvalis-cli compare: %s names %s, which is missing\n", log.c_str(), name.c_str());
        whole = false;
    }
    return whole;
}

// Draws the folder's charts; false when Ctrl-C stopped the drawing.
bool drawPlots(const std::string& folder)
{
    const PlotsResult plots = drawComparePlots(folder, [] { return !InterruptGuard::interrupted(); });
    if (plots.interrupted)
        return false;
    if (!plots.ok)
        std::fprintf(stderr, "orvalis-cli compare: warning: no pictures: %s\n", plots.message.c_str());
    if (!plots.constant.empty()) {
        std::string names;
        for (const std::string& c : plots.constant)
            names += (names.empty() ? "" : ", ") + c;
        std::fprintf(stderr, "orvalis-cli compare: %zu metric%s the same in every window and replicate, not charted "
                             "(plots/constant-metrics.txt): %s\n",
                     plots.constant.size(), plots.constant.size() == 1 ? " is" : "s are", names.c_str());
    }
    return true;
}

int runMerge(const CompareOptions& o)
{
    std::vector<std::filesystem::path> shards(o.merge.begin(), o.merge.end());
    std::error_code ec;
    std::filesystem::create_directories(o.output, ec);
    const RunResult result = mergeCompare(shards, o.output);
    for (const std::string& w : result.warnings)
        std::fprintf(stderr, "orvalis-cli compare: warning: %s\n", w.c_str());
    if (result.status == RunStatus::Refused) {
        std::fprintf(stderr, "orvalis-cli compare: %s\n", result.message.c_str());
        return 1;
    }
    const int status = runExitStatus("compare", !result.failed(), result.message, false, "");
    if (result.failed())
        return status;
    std::printf("%zu shard%s merged into %s\n", shards.size(), shards.size() == 1 ? "" : "s", o.output.c_str());
    // The charts are drawn under the folder's lock, so that no run writes tables beneath them.
    RunLock lock;
    if (!lock.acquire({o.output})) {
        std::fprintf(stderr, "orvalis-cli compare: no pictures: %s\n", lock.message().c_str());
        return 1;
    }
    const InterruptGuard interrupts;
    if (!drawPlots(o.output))
        return runExitStatus("compare", true, "", true, "the charts were not all drawn");
    return status;
}

}  // namespace

CLI::App* addCompareCommand(CLI::App& app, CompareOptions& o)
{
    CLI::App* cmd = app.add_subcommand(
        "compare",
        "Compares real windows with neutral landscapes of the same habitat amount.\n"
        "\n"
        "For each window, REPLICATES neutral landscapes of its size with exactly its number of habitat\n"
        "cells (cells of the cover value; every other cell is matrix) are made for each model and measured\n"
        "with the metrics of 'orvalis-cli metrics'. Writes into DIR neutral-metrics.csv (every replicate),\n"
        "compare.csv (per window, model and metric: the real value, the replicates' mean, sd, 2.5 and 97.5 %\n"
        "quantiles, the real value's percentile rank and z), windows.csv and compare-run.txt. The same\n"
        "options give the same files whatever the number of jobs or shards.");
    addHelpFlag(*cmd);
    addVrtSourcesFlag(*cmd);
    CLI::Option* files = cmd->add_option("FILE", o.files,
                                         "real windows: text grids (.txt), GeoTIFF, ESRI ASCII grids or any raster\n"
                                         "GDAL reads (band 1)")
                             ->type_name("");
    CLI::Option* log = cmd->add_option("--log", o.log, "the windows a sampling run's sample.txt names")
                           ->type_name("SAMPLE.TXT");
    cmd->add_option("--models", o.models,
                    "neutral models, comma-separated: random, fractal:H with H in (0, 1], or any model\n"
                    "of 'orvalis-cli neutral --list-models' as MODEL:NAME=VALUE:NAME=VALUE (or with ','\n"
                    "between its parameters: cluster:p=0.55,neighbourhood=8), or a blend\n"
                    "as 0.5*fbm:h=0.8+0.5*planar\n"
                    "(" + neutralModelNames() + ")\n"
                    "(random,fractal:0.2,fractal:0.5,fractal:0.8)")
        ->type_name("LIST");
    addNumber(*cmd, "--replicates", o.replicates, 1, 999999, "neutral landscapes per window and model, 1..999999 (99)");
    cmd->add_option("--seed", o.seed, "seed of the replicates, 0..4294967295 (1)")
        ->transform(wholeNumber(0, UINT32_MAX))
        ->type_name("S");
    addNeighboursOption(*cmd, o.neighbours, "patch rule: 4 or 8 neighbours (8)");
    cmd->add_option_function<double>(
           "--cell-size", [&o](const double& v) { o.cellSize = v; },
           "side of a cell in metres, for files without a projected frame (the sampling run's\n"
           "record beside --log, else 1 with a warning)")
        ->check(CLI::PositiveNumber)
        ->type_name("M");
    cmd->add_option("--metrics", o.metrics,
                    "class and landscape metrics to keep, comma-separated: codes, types or all, as\n"
                    "'orvalis-cli metrics' takes them (the standard 26)")
        ->type_name("LIST");
    cmd->add_option("--output", o.output, "folder for the tables, made when missing (.)")->type_name("DIR");
    cmd->add_flag("--keep-landscapes", o.keepLandscapes,
                  "also write every replicate as DIR/landscapes/MODEL/WINDOW_RRR.txt\n"
                  "(MODEL: random or fractal_H)");
    cmd->add_option("--shard", o.shard, "only windows K, K+N, K+2N, ... of the list, for a job array (1/1)")
        ->type_name("K/N");
    addNumber(*cmd, "--jobs", o.jobs, 1, 256, "threads making and measuring replicates, 1..256 (every core)");
    addClassValueOptions(*cmd, o.values, "habitat",
                         "value of the habitat cells in the windows compared (unless --habitat names\n"
                         "their classes), and of habitat in the neutral landscapes made and kept",
                         "value of matrix in the neutral landscapes made and kept; in the windows,\n"
                         "every cell that is not habitat is matrix whatever its value");
    cmd->add_option("--habitat", o.habitat,
                    "habitat classes of windows that keep their map's classes (41-43): every other\n"
                    "class is matrix; without it, the cells of the cover value")
        ->type_name("CLASSES");
    CLI::Option* merge = cmd->add_option("--merge", o.merge, "join the tables of shard folders into --output")
                             ->type_name("DIR...")
                             ->expected(1, -1)
                             ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    merge->excludes(files)->excludes(log);
    log->excludes(files);
    // The descriptions say which go together; CLI11's own notes would break the column.
    files->option_text("...");
    log->option_text("SAMPLE.TXT");
    merge->option_text("DIR...");
    cmd->callback([&o, merge] {
        std::vector<NeutralModel> models;
        if (const std::string why = readModels(o.models, models); !why.empty())
            throw CLI::ValidationError("--models", why);
        int k = 0, n = 0;
        if (const std::string why = readShard(o.shard, k, n); !why.empty())
            throw CLI::ValidationError("--shard", why);
        if (const std::string why = checkMetricNames(commaList(o.metrics)); !why.empty())
            throw CLI::ValidationError("--metrics", why);
        if (std::string why; !o.habitat.empty() && !HabitatClasses().parse(o.habitat, &why))
            throw CLI::ValidationError("--habitat", why);
        if (merge->count() == 0 && o.files.empty() && o.log.empty())
            throw CLI::ValidationError("name the windows to compare: FILE... or --log SAMPLE.TXT");
    });
    cmd->footer("--cover-value and --matrix-value default to config.txt in the working directory when it\n"
                "exists (1 and 0 otherwise). 'compare --merge DIR... --output DIR' joins the shards of one\n"
                "comparison in the order a single run writes its rows.\n"
                "\n"
                "Exit status: 0 success, 1 a failed or interrupted run, a window that could not be read or a\n"
                "log naming missing files (the others are compared), 2 bad arguments.");
    return cmd;
}

int runCompareCommand(const CompareOptions& o)
{
    if (!o.merge.empty())
        return runMerge(o);
    const Settings settings = commandSettings("compare", o.values);
    CompareParameters p;
    p.files = o.files;
    bool whole = true;
    if (!o.log.empty())
        whole = logWindows(o.log, p.files, p.logCovers);
    if (p.logCovers.size() != p.files.size())
        p.logCovers.clear();
    if (!o.habitat.empty())
        p.habitat.parse(o.habitat, nullptr);
    if (p.files.empty()) {
        std::fprintf(stderr, "orvalis-cli compare: no windows to compare\n");
        return 1;
    }
    readModels(o.models, p.models);
    readShard(o.shard, p.shard, p.shards);
    p.replicates = o.replicates;
    p.seed = o.seed;
    p.coverValue = settings.coverValue;
    p.matrixValue = settings.matrixValue;
    p.metrics.neighbours = o.neighbours;
    // Cells of windows without a frame: as given, else as the sampling run's record says, else 1 m.
    const std::optional<double> recorded = o.log.empty() ? std::nullopt : recordedCellSize(o.log);
    p.cellSize = o.cellSize.value_or(recorded.value_or(1.0));
    p.cellSizeKnown = o.cellSize || recorded;
    p.metricNames = commaList(o.metrics);
    p.output = o.output;
    p.keepLandscapes = o.keepLandscapes;
    p.jobs = o.jobs;
    std::error_code ec;
    std::filesystem::create_directories(p.output, ec);

    // Ctrl-C stops the replicates being made; the tables keep whole windows and no chart is drawn.
    const InterruptGuard interrupts;
    TerminalProgress progress;
    RunControl control([&progress](const ProgressEvent& e) { return progress(e) && !InterruptGuard::interrupted(); },
                       InterruptGuard::flag());
    bool chartsStopped = false;
    // The charts are drawn before the run lets go of its folder: a second run cannot write beneath them.
    const RunResult result = runCompare(p, control, [&](RunResult& r) {
        progress.finish();
        if (!r.cancelled() && r.status != RunStatus::Refused && !InterruptGuard::interrupted())
            chartsStopped = !drawPlots(p.output.string());
    });
    progress.finish();
    if (result.status == RunStatus::Refused) {
        std::fprintf(stderr, "orvalis-cli compare: %s\n", result.message.c_str());
        return 1;
    }
    for (const std::string& w : result.warnings)
        std::fprintf(stderr, "orvalis-cli compare: warning: %s\n", w.c_str());
    int status = runExitStatus("compare", !result.failed(), result.message, result.cancelled(),
                               "the tables hold the windows compared so far; no chart was drawn");
    if (chartsStopped && status == 0)
        status = runExitStatus("compare", true, "", true, "the tables are whole; the charts were not all drawn");
    const std::size_t windows = (p.files.size() + static_cast<std::size_t>(p.shards) - 1 - static_cast<std::size_t>(p.shard - 1)) /
                                static_cast<std::size_t>(p.shards);
    std::printf("%zu window%s against %zu model%s x %d replicates; tables in %s%s\n", windows, windows == 1 ? "" : "s",
                p.models.size(), p.models.size() == 1 ? "" : "s", p.replicates, p.output.string().c_str(),
                status != 0 ? " (the run did not complete)" : "");
    return whole ? status : 1;
}

}  // namespace orvalis::cli
