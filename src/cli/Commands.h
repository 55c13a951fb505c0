#pragma once

#include "cli/CliSupport.h"
#include "cli/SurfaceCommand.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Each command has its options as read from the command line, a function that declares them on the
// program's App, and a run that gives the process's exit status: 0 success, 1 a failed or interrupted run.
namespace orvalis::cli {

struct SampleOptions {
    std::string image, folder;
    int size = 100, replicates = 1, minDistance = 10;
    IntRange cover{1, 100, 1};
    std::optional<std::string> prefix, postString;
    ClassValues values;
    std::optional<unsigned> seed;
    std::string habitat, format;
    int band = 1;
    bool keepClasses = false;
    RunMetricsOptions metrics;
};
CLI::App* addSampleCommand(CLI::App& app, SampleOptions& options);
int runSampleCommand(const SampleOptions& options);

struct RandomOptions {
    std::string folder;
    IntRange cover{1, 100, 1};
    int rows = 100, cols = 100, replicates = 1, seed = 5;
    std::optional<std::string> postString;
    ClassValues values;
    RunMetricsOptions metrics;
};
CLI::App* addRandomCommand(CLI::App& app, RandomOptions& options);
int runRandomCommand(const RandomOptions& options);

struct FractalOptions {
    std::string folder;
    RealRange h{0.1, 0.9, 0.1};
    IntRange cover{1, 100, 1};
    int size = 100, replicates = 1;
    int jobs = 0;  // every core
    ClassValues values;
    RunMetricsOptions metrics;
};
CLI::App* addFractalCommand(CLI::App& app, FractalOptions& options);
int runFractalCommand(const FractalOptions& options);

struct MetricsOptionsCli {
    std::vector<std::string> files;
    std::string list;
    MetricChoiceCli choice;
    std::optional<double> cellSize;  // given: every file without a frame of its own
    std::optional<int> noData;
    std::string output = "metrics.csv";
    std::string patchMap;
    bool listMetrics = false;
    int jobs = 0;                  // every core, at most 64
    bool noMemoryCheck = false;
};
CLI::App* addMetricsCommand(CLI::App& app, MetricsOptionsCli& options);
int runMetricsCommand(const MetricsOptionsCli& options);

struct CompareOptions {
    std::vector<std::string> files;
    std::string log;
    std::string models = "random,fractal:0.2,fractal:0.5,fractal:0.8";
    int replicates = 99;
    std::uint32_t seed = 1;
    int neighbours = 8;
    std::optional<double> cellSize;  // given: windows without a frame of their own
    std::string metrics;  // empty: all
    std::string output = ".";
    bool keepLandscapes = false;
    std::string shard = "1/1";
    int jobs = 0;  // every core
    ClassValues values;
    std::string habitat;  // empty: the cover value
    std::vector<std::string> merge;
};
CLI::App* addCompareCommand(CLI::App& app, CompareOptions& options);
int runCompareCommand(const CompareOptions& options);

struct SitesOptions {
    std::string map;
    std::string sites;
    std::string radius;             // comma-separated, map units
    std::string shape = "circle";   // circle or square
    std::string id, x, y;           // column or field names; empty: found by name
    std::string sitesCrs;           // a CSV's coordinates' system; empty: the map's
    MetricChoiceCli choice;
    std::string habitat;
    int band = 1;
    int jobs = 0;                   // every core
    std::string output = "sites.csv";
};
CLI::App* addSitesCommand(CLI::App& app, SitesOptions& options);
int runSitesCommand(const SitesOptions& options);

struct NeutralOptions {
    std::string model;                // MODEL, or MODEL:NAME=VALUE...
    std::vector<std::string> params;  // --param NAME=VALUE, in order
    std::string blend;
    int rows = 0, cols = 0;
    std::string cover, proportions;
    int replicates = 1;
    std::uint32_t seed = 1;
    std::string format = "txt";
    double cellSize = 1.0;
    std::string folder = ".";
    std::string mask;
    std::optional<std::string> postString;
    ClassValues values;
    RunMetricsOptions metrics;
    int jobs = 0;  // every core
    bool listModels = false;
};
CLI::App* addNeutralCommand(CLI::App& app, NeutralOptions& options);
int runNeutralCommand(const NeutralOptions& options);

CLI::App* addSurfaceCommand(CLI::App& app, SurfaceOptions& options);
int runSurfaceCommand(const SurfaceOptions& options);

}  // namespace orvalis::cli
