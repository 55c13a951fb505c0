#pragma once

#include "core/map/HabitatClasses.h"
#include "core/metrics/LandscapeMetrics.h"
#include "core/neutral/SurfaceBlend.h"
#include "core/run/RunControl.h"
#include "core/run/RunResult.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orvalis {

// A neutral model real windows are compared with.
struct NeutralModel {
    enum class Kind { Random, Fractal, Table };
    NeutralModel(Kind k = Kind::Random, double h = 0.5, ModelChoice s = {}) : kind(k), H(h), choice(std::move(s)) {}
    Kind kind = Kind::Random;
    double H = 0.5;  // fractal only, in (0, 1]
    ModelChoice choice;  // Table: any other model of core/neutral's table, with its parameters
    SurfaceBlend blend;  // Table: models blended, as "0.5*fbm:h=0.8+0.5*planar"; empty for one model

    // "random", "fractal:H" with H as its shortest text ("fractal:0.5"), or the choice's text
    // ("cluster:p=0.55"), as the tables write it.
    std::string name() const;
    // Reads one name back ("fractal:h=0.5" is fractal:0.5); nullopt with *error set for an unknown
    // model or parameter, or a value out of its range.
    static std::optional<NeutralModel> parse(const std::string& text, std::string* error = nullptr);
};

// The models a comparison uses when none are named: random, fractal:0.2, fractal:0.5, fractal:0.8.
std::vector<NeutralModel> defaultNeutralModels();

// Real windows against neutral landscapes with exactly their habitat count.
struct CompareParameters {
    std::vector<std::string> files;     // the real windows, in order; their index here names their replicates
    std::vector<NeutralModel> models = defaultNeutralModels();
    int replicates = 99;
    std::uint32_t seed = 1;
    int coverValue = 1;                 // a window's habitat; every other value counts as matrix
    HabitatClasses habitat;             // when not empty, a window's habitat: windows keeping a map's classes
    std::vector<double> logCovers;      // per file, the cover its sampling log gives (empty: none known)
    int matrixValue = 0;                // what matrix cells of neutral landscapes hold
    MetricsOptions metrics;             // the patch rule and the metrics' options; the selection is metricNames'
    double cellSize = 1.0;              // metres, for windows whose frame gives none
    bool cellSizeKnown = false;         // cellSize was given or recorded: no warning for windows without a frame
    std::vector<std::string> metricNames;  // the metrics kept: codes, types or "all"; empty: the standard set
    std::filesystem::path output;       // neutral-metrics.csv, compare.csv, windows.csv and the shard's record go here
    bool keepLandscapes = false;        // also output/landscapes/MODEL/WINDOW_RRR.txt, MODEL "random" or "fractal_H"
    int shard = 1;                      // this run takes files shard-1, shard-1+shards, ...
    int shards = 1;
    int jobs = 0;                       // worker threads; 0: one per core. The output does not depend on it.
};

// Why metric names cannot be kept: the first unknown one, with the names known; empty when all are known.
std::string checkMetricNames(const std::vector<std::string>& names);
// The class and landscape metrics names select (the standard set when empty); nullopt with
// *error set as checkMetricNames says.
std::optional<MetricSelection> compareSelection(const std::vector<std::string>& names, std::string* error = nullptr);

// The side of each file's cells as a comparison measures them: its raster frame's, else fallback.
std::vector<double> windowCellSizes(const std::vector<std::string>& files, double fallback);

// What compare-run.txt says of the cells measured: "30" when every window has that size (with
// " assumed" when no file, option or record gave it), else "per window" followed by a
// "window-cell-size INDEX SIZE" line for each window.
std::string cellSizeRecord(const CompareParameters& p);

// About how much a comparison writes, in bytes: the tables (neutral-metrics.csv for the most part)
// and the kept landscapes (as large as the text grid of their window, per replicate).
struct CompareSize {
    std::uint64_t tables = 0;
    std::uint64_t landscapes = 0;
    std::uint64_t total() const { return tables + landscapes; }
};
CompareSize estimateCompareSize(const CompareParameters& p);
// "1.4 GB", "820 kB": a size as the messages say it.
std::string sizeText(std::uint64_t bytes);

// A rerun never leaves an earlier comparison's charts (plots/*.png, *.svg) or kept landscapes
// (landscapes/MODEL/*.txt) beside its new tables: when folder holds a comparison's record, those
// files are removed and *removed says what went. Without a record, files there belong to somebody
// else: the run is refused with the reason, and nothing is removed.
std::string clearEarlierComparison(const std::filesystem::path& folder, std::string* removed);

// Measures every window of this shard and its neutral replicates, streaming rows to the tables
// in window order, so memory does not grow with the number of windows or replicates. Progress
// counts replicates; a cancel (reaching into the replicates being made) leaves the tables holding
// whole windows only. A file that cannot be read (or holds no-data cells) is named in the message,
// the others are still compared, and the run ends Failed. The output does not depend on jobs, and
// a shard writes exactly the single run's rows of its windows. whileLocked, when given, runs once
// the tables are closed and before the folder's lock is released (the charts are drawn there).
RunResult runCompare(const CompareParameters& parameters, RunControl& control,
                     const std::function<void(RunResult&)>& whileLocked = {});

// Joins the tables of shard folders into output in the order a single run writes them; refuses
// shards of different runs (seed, models, replicates, metrics or window list) or a missing shard.
RunResult mergeCompare(const std::vector<std::filesystem::path>& shardFolders, const std::filesystem::path& output);

// One neutral landscape, rows x cols, exactly habitat cells of coverValue and the rest
// matrixValue, row after row (random: placed uniformly; fractal: the cells of the surface's
// highest values, ties to the earlier cell): replicate `replicate` (from 0) of model `model` (its index in
// the run's list) for window `window` (its index in the full file list). Any one replicate
// made alone equals its place in a whole run.
// A raised stop ends the making early with an empty result.
std::vector<int> neutralLandscape(const NeutralModel& kind, std::uint32_t seed, int window, int model, int replicate,
                                  int rows, int cols, std::int64_t habitat, int coverValue, int matrixValue,
                                  const std::atomic<bool>* stop = nullptr);

}  // namespace orvalis
