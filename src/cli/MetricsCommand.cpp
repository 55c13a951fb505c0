#include "cli/Commands.h"
#include "core/io/BatchList.h"
#include "core/io/MetricsCsv.h"
#include "core/io/SafeFile.h"
#include "core/map/BandedRaster.h"
#include "core/map/PatchMap.h"
#include "core/map/RasterWindows.h"
#include "core/map/RasterGrid.h"
#include "core/metrics/LandscapeMetrics.h"
#include "core/run/RunChecks.h"
#include "core/sampler/SampleRun.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdint>
#include <functional>
#include <cstring>
#include <filesystem>
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

// Grids above this many cells are read a band of rows at a time when the metrics allow it.
constexpr std::int64_t BandedAbove = std::int64_t{1} << 22;
// Bytes a cell of a grid held whole costs while it is measured, about.
constexpr std::uint64_t WholeCellBytes = 23;
// Cells held whole at most, unless the memory check is waived.
constexpr std::uint64_t WholeCellsMax = 100'000'000;

std::string megabytes(std::uint64_t bytes)
{
    char text[32];
    if (bytes >= (std::uint64_t{1} << 30))
        std::snprintf(text, sizeof text, "%.1f GB", static_cast<double>(bytes) / (1 << 30));
    else
        std::snprintf(text, sizeof text, "%.0f MB", std::ceil(static_cast<double>(bytes) / (1 << 20)));
    return text;
}

// The memory the system can still give, from /proc/meminfo; empty where it does not say.
std::optional<std::uint64_t> availableMemory()
{
    std::FILE* f = std::fopen("/proc/meminfo", "r");
    if (!f)
        return std::nullopt;
    std::optional<std::uint64_t> found;
    char line[256];
    while (std::fgets(line, sizeof line, f))
        if (unsigned long long kb = 0; std::sscanf(line, "MemAvailable: %llu kB", &kb) == 1) {
            found = static_cast<std::uint64_t>(kb) * 1024;
            break;
        }
    std::fclose(f);
    return found;
}

struct Measuring {
    double cellSize;
    std::optional<int> noData;
    const MetricsOptions& options;
    const std::string& patchMap;
    bool noMemoryCheck;
    std::function<void(const std::string&)> say;  // a line on standard error
    std::function<void(const std::string&)> working;  // what is being measured, on the progress line
};

// A raster too large to be held whole cheaply: measured band by band when the metrics allow it,
// else held whole when the memory allows it. False when the file is to be read whole as usual.
bool measureLarge(const std::string& file, const Measuring& how, Measured& m)
{
    std::int64_t width = 0, height = 0;
    std::string why;
    if (!rasterExtent(file, width, height, &why))
        return false;  // the usual reading says why
    const std::int64_t cells = width * height;
    if (cells <= BandedAbove)
        return false;
    const std::string size = std::to_string(width) + " x " + std::to_string(height) + " cells";
    if (measurableByBands(how.options) && how.patchMap.empty()) {
        RowBands bands;
        bands.rows = static_cast<int>(std::min<std::int64_t>(height, INT32_MAX));
        bands.cols = static_cast<int>(std::min<std::int64_t>(width, INT32_MAX));
        bands.bandRows = bandRowsFor(width);
        how.say(file + ": " + size + ", read " + std::to_string(bands.bandRows) + " rows at a time: about " +
                megabytes(bandedBytes(bands) + RasterWindows::CacheBytes) + " and " + std::to_string(BandedPatchBytes) + " bytes a patch");
        double cellSize = how.cellSize;
        std::vector<MetricValue> values;
        auto progress = [&](double done) {
            how.working(file + " " + std::to_string(static_cast<int>(done * 100)) + " %");
            return !InterruptGuard::interrupted();
        };
        if (measureRasterByBands(file, cellSize, how.noData, how.options, values, &m.error, &m.sizeNote, progress))
            appendMetricsRows(m.rows, file, values);
        return true;
    }
    const std::string whole = how.patchMap.empty() ? wholeGridMetrics(how.options) : "--patch-map";
    const std::uint64_t bytes = static_cast<std::uint64_t>(cells) * WholeCellBytes;
    const std::optional<std::uint64_t> available = availableMemory();
    if (!how.noMemoryCheck && (static_cast<std::uint64_t>(cells) > WholeCellsMax || (available && bytes > *available))) {
        m.error = "it holds " + size + " and " + whole + " need the whole grid in memory: about " + megabytes(bytes) +
                  (static_cast<std::uint64_t>(cells) > WholeCellsMax ? ", above the " + std::to_string(WholeCellsMax) + " cells held whole"
                                                                    : ", more than the " + megabytes(*available) + " available") +
                  " (--no-memory-check to try anyway; the other metrics are measured band by band)";
        return true;
    }
    how.say(file + ": " + size + " held whole for " + whole + ": about " + megabytes(bytes));
    return false;
}

Measured measure(const std::string& file, const Measuring& how)
{
    Measured m;
    if (isRasterGridPath(file) && measureLarge(file, how, m))
        return m;
    double cellSize = how.cellSize;
    std::optional<int> noData = how.noData;
    LandscapeGrid grid;
    // A georeferenced grid brings its own cell size and no-data; --no-data still wins.
    if (!readMeasurableGrid(file, grid, cellSize, noData, &m.error, &m.sizeNote,
                            how.noMemoryCheck ? std::uint64_t{INT32_MAX} : WholeCellsMax, InterruptGuard::flag()))
        return m;
    for (const auto& line : grid)
        if (line.size() != grid.front().size()) {
            m.error = "the grid is not rectangular: its rows differ in length";
            return m;
        }
    const std::vector<int> cells = flattenGrid(grid);
    const int rows = static_cast<int>(grid.size());
    const int cols = grid.empty() ? 0 : static_cast<int>(grid.front().size());
    LandscapeGrid().swap(grid);
    const GridView view{cells, rows, cols, noData, cellSize};
    if (!appendMeasuredRows(m.rows, file, view, how.options, &m.error))
        return m;
    if (!how.patchMap.empty()) {
        std::vector<std::int32_t> ids;
        if (!labelPatches(view, how.options.neighbours, ids, &m.error) ||
            !writePatchMap(file, patchMapPath(how.patchMap, file), view.rows, view.cols, ids, &m.error))
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
            "landscapemetrics numbers them), then classes ascending, then the landscape; NA where undefined.\n"
            "\n"
            "Memory: a raster above 4194304 cells is read a band of rows at a time for every metric but those\n"
            "of core areas, circles and contiguity (and gyrate with --cell-center): up to 7 kB a column, GDAL's\n"
            "64 MB cache and about 200 bytes a patch, whatever the number of rows (enn also holds the edge\n"
            "cells of patches with no other of their class within 32 cells, 32 bytes each); a line on\n"
            "standard error says how much. The others, and --patch-map, hold the grid whole: about 23 bytes a\n"
            "cell, refused above 100000000 cells or the memory available unless --no-memory-check. Files are\n"
            "measured --jobs at a time.");
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
    addNumber(*cmd, "--jobs", o.jobs, 1, 64, "files measured at once, 1..64 (every core); each needs its own memory");
    cmd->add_flag("--no-memory-check", o.noMemoryCheck,
                  "hold a large grid whole even above the memory available or 100000000 cells");
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
    std::vector<std::string> inputs = files;
    if (!o.list.empty())
        inputs.push_back(o.list);
    if (const std::string input = inputReplacedBy(o.output, inputs); !input.empty()) {
        std::fprintf(stderr, "orvalis-cli metrics: the table would replace %s; name another with --output\n",
                     input.c_str());
        return 2;
    }
    // A table that cannot be written is known before the measuring, which may take long.
    const std::string folder = std::filesystem::path(o.output).parent_path().string();
    if (const std::string why = o.output == "-" ? std::string() : checkOutputFolder(folder); !why.empty()) {
        std::fprintf(stderr, "orvalis-cli metrics: cannot write %s: %s\n", o.output.c_str(), why.c_str());
        return 1;
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

    // Ctrl-C ends the measuring within a row of a grid; the table is then not written.
    const InterruptGuard interrupts;
    MetricsOptions stoppable = *options;
    stoppable.stop = InterruptGuard::flag();
    // Files are measured side by side; the table keeps the order they were given in.
    std::vector<Measured> measured(files.size());
    std::mutex progressMutex;
    TerminalProgress progress;
    std::atomic<std::size_t> next{0};
    std::atomic<long long> done{0};
    const Measuring how{cellSize, o.noData, stoppable, o.patchMap, o.noMemoryCheck,
                        [&](const std::string& line) {
                            std::lock_guard<std::mutex> lock(progressMutex);
                            progress.finish();
                            std::fprintf(stderr, "orvalis-cli metrics: %s\n", line.c_str());
                        },
                        [&](const std::string& label) {
                            std::lock_guard<std::mutex> lock(progressMutex);
                            progress({done.load(), static_cast<long long>(files.size()), label, -1});
                        }};
    auto work = [&] {
        for (std::size_t i; !InterruptGuard::interrupted() && (i = next++) < files.size();) {
            measured[i] = measure(files[i], how);
            const long long finished = ++done;
            std::lock_guard<std::mutex> lock(progressMutex);
            progress({finished, static_cast<long long>(files.size()), files[i], -1});
        }
    };
    const unsigned threads = o.jobs > 0 ? static_cast<unsigned>(o.jobs)
                                        : std::clamp<unsigned>(std::thread::hardware_concurrency(), 1, 64);
    std::vector<std::thread> pool;
    for (unsigned t = 1; t < std::min<std::size_t>(threads, files.size()); ++t)
        pool.emplace_back(work);
    work();
    for (std::thread& t : pool)
        t.join();
    progress.finish();
    if (InterruptGuard::interrupted())
        return runExitStatus("metrics", true, "", true, "no table was written");

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
    const auto good = static_cast<std::size_t>(
        std::count_if(measured.begin(), measured.end(), [](const Measured& m) { return m.error.empty(); }));
    // Not one file measured: the earlier table is worth more than a header.
    if (good == 0) {
        std::fprintf(stderr, "orvalis-cli metrics: no file could be measured; %s was left as it was\n",
                     o.output.c_str());
        return 1;
    }
    // The table appears under its name only when whole.
    if (!writeWholeFile(o.output, table)) {
        std::fprintf(stderr, "orvalis-cli metrics: cannot write %s: %s\n", o.output.c_str(), std::strerror(errno));
        return 1;
    }
    std::printf("%zu of %zu file%s measured; table %s\n", good, files.size(), files.size() == 1 ? "" : "s",
                o.output.c_str());
    return status;
}

}  // namespace orvalis::cli
