#include "cli/Commands.h"
#include "core/io/BatchList.h"
#include "core/io/MetricsCsv.h"
#include "core/io/SafeFile.h"
#include "core/map/PatchMap.h"
#include "core/map/RasterGrid.h"
#include "core/metrics/LandscapeMetrics.h"
#include "core/sampler/SampleRun.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace orvalis::cli {

namespace {

struct Measured {
    std::string rows;      // the file's CSV rows
    std::string error;     // why the file was not measured
    std::string sizeNote;  // why the file gives no cell size of its own
};

Measured measure(const std::string& file, double cellSize, std::optional<int> noData, const MetricsOptions& options,
                 const std::string& patchMap)
{
    Measured m;
    LandscapeGrid grid;
    // A georeferenced grid brings its own cell size and no-data; --no-data still wins.
    if (!readMeasurableGrid(file, grid, cellSize, noData, &m.error, &m.sizeNote))
        return m;
    for (const auto& line : grid)
        if (line.size() != grid.front().size()) {
            m.error = "the grid is not rectangular: its rows differ in length";
            return m;
        }
    const std::vector<int> cells = flattenGrid(grid);
    const GridView view{cells, static_cast<int>(grid.size()), grid.empty() ? 0 : static_cast<int>(grid.front().size()), noData,
                        cellSize};
    if (!appendMeasuredRows(m.rows, file, view, options, &m.error))
        return m;
    if (!patchMap.empty()) {
        std::vector<std::int32_t> ids;
        if (!labelPatches(view, options.neighbours, ids, &m.error) ||
            !writePatchMap(file, patchMapPath(patchMap, file), view.rows, view.cols, ids, &m.error))
            m.rows.clear();
    }
    return m;
}

// The catalogue as a table: metric,level,type,name,unit.
std::string catalogueCsv()
{
    std::string out = "metric,level,type,name,unit\n";
    for (const MetricDef& d : metricCatalogue())
        out += d.code + "," + levelName(d.level) + "," + csvField(typeName(d.type)) + "," + csvField(d.name) + "," +
               csvField(d.unit) + "\n";
    return out;
}

}  // namespace

CLI::App* addMetricsCommand(CLI::App& app, MetricsOptionsCli& o)
{
    CLI::App* cmd = app.add_subcommand(
        "metrics",
        "Measures landscape files: patch-, class- and landscape-level metrics.\n"
        "\n"
        "Every metric of the R package landscapemetrics, with its definitions and defaults (and\n"
        "--convention fragstats for FRAGSTATS 4.2's), plus gyrate_am and spanning:\n" +
            metricCodesHelp() +
            "Without --metrics: pland np pd ed lpi area_mn area_sd enn_mn cohesion ai clumpy mesh division split\n"
            "gyrate_am spanning (class), ta np pd ed lpi contag shdi ai mesh division (landscape). Names, types and\n"
            "units: --list-metrics; definitions: docs/METRICS.md. Areas in hectares, lengths in metres. Writes one\n"
            "table, file,level,class,id,metric,value, in the order of the files given: patches by id (as\n"
            "landscapemetrics numbers them), then classes ascending, then the landscape; NA where undefined.");
    addHelpFlag(*cmd);
    addVrtSourcesFlag(*cmd);
    cmd->add_option("FILE", o.files,
                    "landscape files to measure: text grids (.txt), GeoTIFF, ESRI ASCII grids or any\n"
                    "raster GDAL reads (band 1)")->type_name("");
    cmd->add_option("--list", o.list, "also every file a FRAGSTATS batch list names")->type_name("BATCHLIST");
    addMetricChoiceOptions(*cmd, o.choice);
    cmd->add_option_function<double>(
           "--cell-size", [&o](const double& v) { o.cellSize = v; },
           "side of a cell in metres, for files without a projected frame (a sampling run's\n"
           "record beside --list, else 1 with a warning)")
        ->check(CLI::PositiveNumber)
        ->type_name("M");
    cmd->add_option_function<int>(
           "--no-data", [&o](const int& v) { o.noData = v; }, "cells of this value are outside the landscape")
        ->transform(wholeNumber(INT32_MIN, INT32_MAX))
        ->type_name("V");
    cmd->add_option("--output", o.output, "the table to write; - for standard output (metrics.csv)")
        ->type_name("FILE");
    cmd->add_option("--patch-map", o.patchMap,
                    "also write each file's patch ids as DIR/NAME_patches.tif (GeoTIFF, in the file's\n"
                    "frame when it has one; 0 outside the landscape)")
        ->check(CLI::ExistingDirectory.description(""))
        ->type_name("DIR");
    cmd->add_flag("--list-metrics", o.listMetrics, "print the catalogue (metric,level,type,name,unit) and stop");
    cmd->callback([&o] {
        std::string why;
        if (!o.listMetrics && !metricsOptionsOf(o.choice, &why))
            throw CLI::ValidationError("--metrics", why);
    });
    cmd->footer("A file that cannot be measured is named with the reason and its line; the others are still\n"
                "measured.\n"
                "\n"
                "Exit status: 0 every file measured, 1 some file could not be measured or the table could not\n"
                "be written, 2 bad arguments.");
    return cmd;
}

int runMetricsCommand(const MetricsOptionsCli& o)
{
    if (o.listMetrics) {
        const std::string table = catalogueCsv();
        std::fwrite(table.data(), 1, table.size(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    std::vector<std::string> files = o.files;
    if (!o.list.empty()) {
        std::string error;
        if (!readBatchListNames(o.list, files, error)) {
            std::fprintf(stderr, "orvalis-cli metrics: %s\n", error.c_str());
            return 1;
        }
    }
    if (files.empty()) {
        std::fprintf(stderr, "orvalis-cli metrics: no files to measure\nTry 'orvalis-cli metrics --help'.\n");
        return 2;
    }
    std::string why;
    const std::optional<MetricsOptions> options = metricsOptionsOf(o.choice, &why);
    if (!options) {
        std::fprintf(stderr, "orvalis-cli metrics: %s\n", why.c_str());
        return 2;
    }

    // Cells of files without a frame: as given, else as the sampling run's record says, else 1 m.
    std::optional<double> recorded;
    if (!o.cellSize && !o.list.empty())
        recorded = recordedCellSize(o.list);
    const double cellSize = o.cellSize.value_or(recorded.value_or(1.0));

    // Files are measured side by side; the table keeps the order they were given in.
    std::vector<Measured> measured(files.size());
    std::atomic<std::size_t> next{0};
    std::atomic<long long> done{0};
    TerminalProgress progress;
    std::mutex progressMutex;
    auto work = [&] {
        for (std::size_t i; (i = next++) < files.size();) {
            measured[i] = measure(files[i], cellSize, o.noData, *options, o.patchMap);
            const long long finished = ++done;
            std::lock_guard<std::mutex> lock(progressMutex);
            progress({finished, static_cast<long long>(files.size()), files[i], -1});
        }
    };    const unsigned threads = std::clamp<unsigned>(std::thread::hardware_concurrency(), 1, 64);
    std::vector<std::thread> pool;
    for (unsigned t = 1; t < std::min<std::size_t>(threads, files.size()); ++t)
        pool.emplace_back(work);
    work();
    for (std::thread& t : pool)
        t.join();
    progress.finish();

    // A cell size nobody gave is never silently 1 m.
    if (!o.cellSize && !recorded) {
        std::size_t unknown = 0;
        for (std::size_t i = 0; i < files.size(); ++i)
            if (measured[i].error.empty() && !measured[i].sizeNote.empty()) {
                if (!unknown++)
                    std::fprintf(stderr, "orvalis-cli metrics: warning: %s: %s; measured with cells of 1 m (give --cell-size)\n",
                                 files[i].c_str(), measured[i].sizeNote.c_str());
            }
        if (unknown > 1)
            std::fprintf(stderr, "orvalis-cli metrics: warning: %zu files in all measured with cells of 1 m\n", unknown);
    }
    int status = 0;
    std::string table = metricsCsvHeader();
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (!measured[i].error.empty()) {
            std::fprintf(stderr, "orvalis-cli metrics: %s: %s\n", files[i].c_str(), measured[i].error.c_str());
            status = 1;
            continue;
        }
        table += measured[i].rows;
    }
    if (o.output == "-") {
        std::fwrite(table.data(), 1, table.size(), stdout);
        return std::fflush(stdout) == 0 ? status : 1;
    }
    // The table appears under its name only when whole.
    if (!writeWholeFile(o.output, table)) {
        std::fprintf(stderr, "orvalis-cli metrics: cannot write %s: %s\n", o.output.c_str(), std::strerror(errno));
        return 1;
    }
    std::printf("%zu of %zu file%s measured; table %s\n",
                static_cast<std::size_t>(std::count_if(measured.begin(), measured.end(),
                                                       [](const Measured& m) { return m.error.empty(); })),
                files.size(), files.size() == 1 ? "" : "s", o.output.c_str());
    return status;
}

}  // namespace orvalis::cli
