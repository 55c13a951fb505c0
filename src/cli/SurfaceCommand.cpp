#include "cli/Commands.h"
#include "cli/SurfaceCommand.h"
#include "core/map/HabitatClasses.h"
#include "core/map/RasterWindows.h"
#include "core/surface/SurfaceRun.h"

#include <charconv>
#include <cstdio>
#include <optional>
#include <string>

namespace orvalis::cli {

namespace {

std::string readTile(const std::string& text, int& tile, int& tiles)
{
    const std::size_t slash = text.find('/');
    const auto whole = [](const std::string& part, int& value) {
        const auto r = std::from_chars(part.data(), part.data() + part.size(), value);
        return !part.empty() && r.ec == std::errc() && r.ptr == part.data() + part.size();
    };
    if (slash == std::string::npos || !whole(text.substr(0, slash), tile) || !whole(text.substr(slash + 1), tiles) ||
        tiles < 1 || tile < 1 || tile > tiles)
        return "'" + text + "': a tile is K/N with 1 <= K <= N";
    return {};
}

int finish(const RunResult& result, const std::string& output, const char* what)
{
    if (result.status == RunStatus::Refused) {
        std::fprintf(stderr, "orvalis-cli surface: %s\n", result.message.c_str());
        return 1;
    }
    const int status = runExitStatus("surface", !result.failed(), result.message, result.cancelled(),
                                     ("nothing was written under " + output).c_str());
    if (status == 0)
        std::printf("%s written to %s\n", what, output.c_str());
    return status;
}

}  // namespace

CLI::App* addSurfaceCommand(CLI::App& app, SurfaceOptions& o)
{
    CLI::App* cmd = app.add_subcommand(
        "surface",
        "Moving-window metrics over a whole map, as a GeoTIFF.\n"
        "\n"
        "For every cell of the map (every N-th row and column with --step N) the class and landscape\n"
        "metrics of 'orvalis-cli metrics' over the window of SIZE x SIZE cells centred on it, or with\n"
        "--shape circle over the cells of that square whose centres lie within (SIZE - 1) / 2 cells of\n"
        "its centre. Cells off the map and no-data cells are outside each window's landscape. Writes a\n"
        "Float32 GeoTIFF (tiled, DEFLATE) in the map's coordinate system, one band per metric: METRIC\n"
        "for a landscape metric (shdi), METRIC_CLASS for each class of the map (pland_41; with\n"
        "--habitat the classes are 1, habitat, and 0, matrix). NaN, the no-data value, where a metric\n"
        "is undefined, the window holds no landscape or a class is absent from it.\n"
        "\n"
        "Output cell (i, j) holds the window centred on map cell (row i x N, column j x N), counting\n"
        "from the north-west corner from 0; its cells are N map cells wide and centred on those map\n"
        "cells, so the output's corner lies (N - 1) / 2 map cells north and west of the map's.");
    addHelpFlag(*cmd);
    addVrtSourcesFlag(*cmd);
    CLI::Option* map = cmd->add_option("MAP", o.map, "the land-cover map: GeoTIFF or any raster GDAL reads")->type_name("");
    CLI::Option* window = cmd->add_option("--window", o.window, "window side in cells, odd, 3.." + std::to_string(MaxWindow))
                              ->transform(wholeNumber(1, MaxWindow))
                              ->type_name("SIZE");
    cmd->add_option("--shape", o.shape, "square or circle (square)")
        ->check(CLI::IsMember({"square", "circle"}).description(""))
        ->type_name("S");
    o.choice.levels = "landscape";
    addMetricChoiceOptions(*cmd, o.choice);
    CLI::Option* metrics = cmd->get_option("--metrics");
    metrics->description("metrics, comma-separated: codes (pland,ed,shdi), types (area-edge, shape, core,\n"
                         "aggregation, diversity, complexity) or all, as 'orvalis-cli metrics' takes them");
    cmd->get_option("--level")->description("levels, comma-separated: class, landscape (landscape)");
    addNumber(*cmd, "--step", o.step, 1, 1000000, "compute every N-th row and column, 1.. (1)");
    cmd->add_option("--habitat", o.habitat,
                    "habitat classes: the map becomes habitat (1) and matrix (0) first; 41,42,43 or\n"
                    "41-43")
        ->type_name("CLASSES");
    addNumber(*cmd, "--band", o.band, 1, 65535, "the map's band, 1.. (1)");
    cmd->add_option_function<double>(
           "--cell-size", [&o](const double& v) { o.cellSize = v; },
           "side of a cell in metres, for maps without a projected frame (1)")
        ->check(CLI::PositiveNumber)
        ->type_name("M");
    cmd->add_option("--output", o.output, "the GeoTIFF to write (surface.tif)")->type_name("FILE");
    cmd->add_option("--tile", o.tile,
                    "only the K-th of N equal bands of output rows, into --output, for a job array;\n"
                    "join the parts with --merge (1/1)")
        ->type_name("K/N");
    addNumber(*cmd, "--jobs", o.jobs, 1, 256, "threads, 1..256 (every core)");
    CLI::Option* merge = cmd->add_option("--merge", o.merge, "join the parts of a --tile run into --output")
                             ->type_name("PART...")
                             ->expected(1, -1)
                             ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    merge->excludes(map)->excludes(window);
    map->option_text(" ");
    window->option_text("SIZE");
    merge->option_text("PART...");
    cmd->callback([&o, merge, metrics] {
        // The file is put in place only when whole, which would leave no map or part to read again.
        std::vector<std::string> inputs = o.merge;
        if (!o.map.empty())
            inputs.push_back(o.map);
        if (const std::string input = inputReplacedBy(o.output, inputs); !input.empty())
            throw CLI::ValidationError("--output", "the surface would replace " + input + "; name another with --output");
        if (merge->count() > 0)
            return;
        if (o.map.empty())
            throw CLI::ValidationError("MAP", "name the map, or the parts to join with --merge");
        if (o.window == 0)
            throw CLI::ValidationError("--window", "give the window's side in cells: --window SIZE");
        if (o.window < 3 || o.window % 2 == 0)
            throw CLI::ValidationError("--window", std::to_string(o.window) +
                                                       ": the window must be an odd number of cells, at least 3, "
                                                       "so that it has a centre cell");
        if (metrics->count() == 0)
            throw CLI::ValidationError("--metrics", "name the metrics: --metrics pland,ed,shdi (or a type, or all)");
        std::string why;
        const std::optional<MetricsOptions> options = metricsOptionsOf(o.choice, &why);
        if (!options) {
            // The surface's level is the landscape unless asked: say how to ask for the other.
            if (why.find("level only") != std::string::npos)
                why += " (--level class,landscape)";
            throw CLI::ValidationError("--metrics", why);
        }
        if (options->selection.hasLevel(MetricLevel::Patch))
            throw CLI::ValidationError("--level", "a surface holds one value per window: class and landscape levels only");
        int k = 0, n = 0;
        if (const std::string bad = readTile(o.tile, k, n); !bad.empty())
            throw CLI::ValidationError("--tile", bad);
        HabitatClasses habitat;
        if (!o.habitat.empty() && !habitat.parse(o.habitat, &why))
            throw CLI::ValidationError("--habitat", why);
    });
    cmd->footer("A cluster splits one map with --tile K/N (each job reads the rows its windows need) and\n"
                "joins the parts with 'orvalis-cli surface --merge PART... --output FILE', which gives the\n"
                "file a single run writes, byte for byte. The file appears under its name only when whole.\n"
                "\n"
                "Exit status: 0 success, 1 the map could not be read, the file could not be written, parts\n"
                "that do not belong together, or an interrupted run; 2 bad arguments.");
    return cmd;
}

int runSurfaceCommand(const SurfaceOptions& o)
{
    std::optional<InterruptGuard> interrupts(std::in_place);
    TerminalProgress progress;
    RunControl control([&progress](const ProgressEvent& e) { return progress(e) && !InterruptGuard::interrupted(); },
                       InterruptGuard::flag());
    if (!o.merge.empty()) {
        const RunResult result = mergeSurface(o.merge, o.output, o.jobs, control);
        progress.finish();
        return finish(result, o.output, "surface");
    }
    SurfaceParameters p;
    p.map = o.map;
    p.band = o.band;
    if (!o.habitat.empty())
        p.habitat.parse(o.habitat, nullptr);
    p.window = o.window;
    p.shape = o.shape == "circle" ? WindowShape::Circle : WindowShape::Square;
    p.step = o.step;
    p.metrics = *metricsOptionsOf(o.choice, nullptr);
    p.cellSize = o.cellSize;
    readTile(o.tile, p.tile, p.tiles);
    p.jobs = o.jobs;
    p.output = o.output;
    if (!o.cellSize) {
        // Only to warn: the run opens the map itself.
        RasterWindows probe;
        if (probe.open(o.map, o.band, p.habitat, nullptr) && !probe.cellSize())
            std::fprintf(stderr, "orvalis-cli surface: warning: %s: %s; cells are measured as 1 m (--cell-size)\n",
                         o.map.c_str(), probe.cellSizeNote().c_str());
    }
    const RunResult result = runSurface(p, control);
    progress.finish();
    return finish(result, o.output, p.tiles > 1 ? "part" : "surface");
}

}  // namespace orvalis::cli
