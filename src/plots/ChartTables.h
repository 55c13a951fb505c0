#pragma once

#include <compare>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace orvalis {

// One chart of a comparison: a metric at landscape level or of one class.
struct ChartKey {
    bool landscape = false;
    int cls = 0;  // class level only
    std::string metric;

    // The picture's file name without its suffix: "class_1_pland", "landscape_ed".
    std::string name() const;
    auto operator<=>(const ChartKey&) const = default;
};

// What a model's replicates give in one whole-percent cover bin, all windows of the bin pooled.
struct CoverBin {
    int bin = 0;          // the whole percent: windows with bin <= cover < bin + 1
    double cover = 0;     // the mean cover of the pooled values' windows, where the bin is drawn
    double low = 0;       // the 2.5 % quantile
    double median = 0;
    double high = 0;      // the 97.5 % quantile
    std::size_t n = 0;    // values pooled (NA left out)
};

struct ModelBand {
    std::string model;            // "random", "fractal:0.5"
    std::vector<CoverBin> bins;   // sorted by bin; bins without a value are left out
};

struct RealPoint {
    std::string file;
    double cover = 0;
    double value = 0;
};

// Share of the random model's replicates whose habitat class has a spanning cluster, per bin.
struct PercolationBin {
    int bin = 0;
    double cover = 0;
    std::size_t replicates = 0;
    std::size_t spanning = 0;
    double share() const { return replicates ? static_cast<double>(spanning) / static_cast<double>(replicates) : 0; }
};

struct WindowInfo {
    int rows = 0;
    int cols = 0;
    std::int64_t habitat = 0;
    double cover = 0;  // % of cells
};

// The tables of a comparison folder, reduced to what its charts show.
struct ChartTables {
    std::filesystem::path folder;
    std::map<std::string, WindowInfo> windows;
    std::vector<ChartKey> keys;        // compare.csv's charts: class level by class, then landscape level
    std::vector<std::string> models;   // in the order compare.csv names them
    std::map<ChartKey, std::vector<RealPoint>> real;
    std::map<ChartKey, std::vector<ModelBand>> bands;  // one per model that has values, in models' order
    std::optional<int> habitatClass;   // the class whose pland is the window's cover in the neutral rows
    std::vector<PercolationBin> percolation;  // empty without spanning rows of the random model
};

// Reads windows.csv, compare.csv and neutral-metrics.csv of folder. False with *error set when a
// table is missing or malformed (named with its line).
bool loadChartTables(const std::filesystem::path& folder, ChartTables& out, std::string* error);

// The one value a chart would show everywhere (every real window, every band's quantiles); empty
// when its values differ, as a metric that only restates the window's size or its cover does not.
std::optional<double> constantValue(const ChartTables& tables, const ChartKey& key);

// The whole-percent bin of a cover in %; a hair of rounding below a whole percent still counts as it.
int coverBin(double cover);

// The p quantile (0..1) of sorted values, interpolated between order statistics (R's type 7).
double quantileOfSorted(const std::vector<double>& sorted, double p);

}  // namespace orvalis
