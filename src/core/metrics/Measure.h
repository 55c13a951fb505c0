#pragma once

#include "core/metrics/LandscapeMetrics.h"
#include "core/metrics/NearestPatch.h"
#include "core/metrics/PatchRaster.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace orvalis {

// A series of values (one per patch, or per disjunct core area) summed up per class and over
// the whole landscape: what the _mn, _sd and _cv metrics read. NaN stands for NA.
struct SeriesStats {
    struct Group {
        std::int64_t n = 0;
        bool na = false;   // some value undefined: so is every summary
        double mean = 0;
        double sd = 0;     // sample sd (divisor n - 1); NaN for n < 2
        double sdPop = 0;  // population sd (divisor n)
    };
    std::vector<Group> perClass;
    Group all;
};

// The values of a series and the (dense) class of each.
struct SeriesValues {
    std::vector<double> values;
    std::vector<std::int32_t> classes;
};

// What a thread keeps between grids: a run measuring thousands of small grids allocates once.
struct MeasureScratch {
    std::vector<const int*> lines;
    PatchRaster raster;
    NearestPatch nearest;
    std::vector<double> radiusSum;
    std::vector<double> column;
    std::vector<double> distance;
    std::vector<double> entries;

    void release() { *this = MeasureScratch(); }
};

// Sides between a cell of class a and one of class b.
struct ClassPair {
    std::int32_t a, b;  // a < b
    std::int64_t sides;
};

// What Measure finds in a grid's cells, found instead from its rows read a band at a time.
struct StreamedLandscape {
    int rows = 0;
    int cols = 0;
    std::vector<int> values;                         // dense class -> class value, ascending
    std::vector<std::int64_t> classCells;            // per dense class
    std::vector<std::int64_t> mapEdge, noDataEdge;   // per dense class, as Measure counts them
    std::vector<ClassPair> pairs;                    // sorted by a, then b
    std::vector<std::int32_t> patchClass;            // per patch, numbered by first cell row after row
    std::vector<PatchShape> shapes;
    std::vector<std::int64_t> nearest2;              // NearestPatch's answer; empty when not searched
    std::vector<double> radiusSum;                   // per patch; empty when not summed
};

// Adds row r's runs' distances from their patches' centres to radiusSum, as the whole grid's
// pass does; distance and column hold the row's columns and three more.
void sumRowRadii(const CellRun* runs, std::size_t count, int r, const double* meanR, const double* meanC,
                 const double* column, double* distance, double* radiusSum);

// One grid being measured: its intermediates, each computed on first use. A raised options.stop
// ends the pass under way with StopFlag::Stopped.
class Measure {
public:
    Measure(const GridView& grid, const MetricsOptions& options, MeasureScratch& scratch);

    // Cuts the grid into runs and classes, and labels the patches when needs ask for them.
    bool prepare(unsigned needs, std::string* error);
    // Takes the intermediates of a grid that was never held whole (grid's cells are empty);
    // only the metrics StreamedLandscape has the intermediates of may then be asked for.
    void adopt(StreamedLandscape& parts);

    const GridView& grid() const { return grid_; }
    const MetricsOptions& options() const { return options_; }
    bool fragstats() const { return options_.convention == MetricConvention::Fragstats; }

    // Composition.
    std::size_t classCount() const { return raster_.values.size(); }
    int classValue(std::size_t k) const { return raster_.values[k]; }
    std::int64_t cellsOf(std::size_t k) const { return classCells_[k]; }
    std::int64_t dataCells() const { return dataCells_; }
    double cellSide() const { return grid_.cellSize; }
    double cellHa() const { return cellHa_; }
    double areaHa() const { return static_cast<double>(dataCells_) * cellHa_; }
    double log(double x) const;  // in the options' base

    // Patches, numbered by their first cell row after row.
    std::size_t patchCount();
    std::int32_t patchClass(std::size_t p);
    const PatchShape& shape(std::size_t p);
    std::int64_t perimeterSides(std::size_t p);  // every side facing anything but the patch
    std::int64_t patchesOf(std::size_t k);
    std::int64_t largestOf(std::size_t k);       // cells
    std::int64_t likeOf(std::size_t k);          // like sides, each once
    bool spans(std::size_t k);
    // Patches in landscapemetrics' order: classes ascending, then first cell down the columns.
    const std::vector<std::int32_t>& patchOrder();

    // Sides between different classes.
    using Pair = ClassPair;
    const std::vector<Pair>& pairs();
    std::int64_t edgeOf(std::size_t k);  // sides facing another class
    std::int64_t edgeAll();              // sides between classes, each once
    // Per class, its sides facing each other class it touches, in the order of pairs().
    const std::vector<double>& sidesOf(std::size_t k);

    // Sides of a class on the map's edge, and facing no-data cells.
    std::int64_t mapEdgeOf(std::size_t k);
    std::int64_t noDataEdgeOf(std::size_t k);

    // Distance to the nearest patch of the same class in metres; NaN without one.
    double nearest(std::size_t p);
    // Mean distance of the patch's cells from its centre, in metres.
    double gyrate(std::size_t p);
    // Core cells of a patch and its disjunct core areas.
    std::int64_t coreCells(std::size_t p);
    std::int64_t coreAreas(std::size_t p);
    // Each disjunct core area: its patch and its cells, in the order of their first cells.
    const std::vector<std::pair<std::int32_t, std::int64_t>>& cores();
    // Squared diameter, in cell sides, of the smallest circle holding the patch.
    double circleDiameter2(std::size_t p);
    // Pairs of the patch's cells that touch at a corner only.
    std::int64_t diagonalPairs(std::size_t p);

    // A series by code, filled on first use.
    const SeriesStats& stats(const std::string& code, const std::function<void(Measure&, SeriesValues&)>& fill);
    // Per class, then over every patch (at classCount()), the sum of f(p) over the patches: one
    // pass, the first time key is asked for.
    template <class F>
    double patchSum(const char* key, long cls, F f)
    {
        std::vector<double>& sums = patchSums_[key];
        if (sums.empty()) {
            const std::size_t P = patchCount();
            sums.assign(classCount() + 1, 0.0);
            for (std::size_t p = 0; p < P; ++p) {
                const double v = f(p);
                sums[static_cast<std::size_t>(raster_.patchClass[p])] += v;
                sums.back() += v;
            }
        }
        return sums[cls < 0 ? classCount() : static_cast<std::size_t>(cls)];
    }

    // The values of a patch metric, per patch, filled on first use.
    const std::vector<double>& patchValues(const MetricDef& def);

private:
    void labelIfNeeded();
    void sumPatches();
    void countBorders();
    void findCores();
    void findCircles();
    void countDiagonals();
    void sumRadii();
    void sumRadiiFromCells(const std::vector<double>& meanR, const std::vector<double>& meanC);

    const GridView& grid_;
    const MetricsOptions& options_;
    const StopFlag stop_;  // looked at every row of each pass over the grid
    MeasureScratch& s_;
    PatchRaster& raster_;
    double cellHa_ = 0;
    std::int64_t dataCells_ = 0;
    std::vector<std::int64_t> classCells_;

    bool labelled_ = false;
    bool summed_ = false;
    std::vector<std::int64_t> patchesOf_, largestOf_, likeOf_;
    std::vector<char> spans_;
    bool paired_ = false;
    std::vector<Pair> pairs_;
    std::vector<std::int64_t> edgeOf_;
    std::int64_t edgeAll_ = 0;
    std::vector<std::vector<double>> sidesOf_;
    bool bordered_ = false;
    std::vector<std::int64_t> mapEdgeOf_, noDataEdgeOf_;
    bool searched_ = false;
    const std::vector<std::int64_t>* nearest2_ = nullptr;
    std::vector<std::int64_t> adoptedNearest2_;
    bool radii_ = false;
    bool cored_ = false;
    std::vector<std::int64_t> coreCells_, coreAreas_;
    std::vector<std::pair<std::int32_t, std::int64_t>> cores_;
    bool circled_ = false;
    std::vector<double> diameter2_;
    bool diagonals_ = false;
    std::vector<std::int64_t> diagonal_;
    std::vector<std::int32_t> order_;
    std::map<std::string, SeriesStats> stats_;
    std::map<std::string, std::vector<double>> patchSums_;
    std::map<const MetricDef*, std::vector<double>> patchValues_;
};

// The rows computeMetrics gives for a measured grid; a raised options.stop throws StopFlag::Stopped.
void collectMetricValues(Measure& m, const MetricsOptions& options, std::vector<MetricValue>& out);

}  // namespace orvalis
