#pragma once

#include "core/metrics/LandscapeMetrics.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace orvalis {

// The counts a window's count-only metrics are made of, in one vector: per class of the map its
// cells, its like sides (each once) and its sides facing another class; the window's cells; and,
// when asked for, the sides between each pair of classes a < b. Sides are those between 4-neighbours
// both inside the window; the rest of a cell's four sides face no-data or the window's edge.
class CountLayout {
public:
    CountLayout(int classes, bool pairs);

    int classes() const { return classes_; }
    bool pairs() const { return pairs_; }
    int size() const { return size_; }

    int cells(int k) const { return k; }
    int like(int k) const { return classes_ + k; }
    int edge(int k) const { return 2 * classes_ + k; }
    int data() const { return 3 * classes_; }
    // Pairs a < b in the order (0, 1), (0, 2), ..., (1, 2), ...
    int pair(int a, int b) const { return 3 * classes_ + 1 + a * classes_ - a * (a + 1) / 2 + (b - a - 1); }

private:
    int classes_;
    bool pairs_;
    int size_;
};

// One window as the count-only metrics see it: Measure's quantities, from counts. Classes are
// those present in the window, ascending, as the engine numbers them.
class WindowMeasure {
public:
    // side: the window's rows and columns, as the engine gets them.
    WindowMeasure(const CountLayout& layout, const MetricsOptions& options, double cellSize, int side);

    // A window's counts, and the sides of its cells on its outer edge (only read by metrics that ask).
    void load(const std::int32_t* counts, std::int64_t outerEdge);

    // The place of the map's class among the window's classes; -1 when the window has none of it.
    int present(int mapClass) const { return presentOf_[static_cast<std::size_t>(mapClass)]; }

    const MetricsOptions& options() const { return options_; }
    bool fragstats() const { return options_.convention == MetricConvention::Fragstats; }
    int side() const { return side_; }
    std::size_t classCount() const { return classes_; }
    std::int64_t cellsOf(std::size_t k) const { return cells_[k]; }
    std::int64_t likeOf(std::size_t k) const { return like_[k]; }
    std::int64_t edgeOf(std::size_t k) const { return edge_[k]; }
    std::int64_t edgeAll() const { return edgeAll_; }
    // Sides on the map's edge and facing no-data, together: the engine's mapEdgeOf + noDataEdgeOf.
    std::int64_t boundaryOf(std::size_t k) const { return 4 * cells_[k] - 2 * like_[k] - edge_[k]; }
    std::int64_t outerEdge() const { return outerEdge_; }
    std::int64_t dataCells() const { return dataCells_; }
    double cellSide() const { return cellSize_; }
    double cellHa() const { return cellHa_; }
    double areaHa() const { return static_cast<double>(dataCells_) * cellHa_; }
    double log(double x) const;

    struct Pair {
        std::int32_t a, b;
        std::int64_t sides;
    };
    const std::vector<Pair>& pairs();
    const std::vector<double>& sidesOf(std::size_t k);

private:
    const CountLayout& layout_;
    const MetricsOptions& options_;
    double cellSize_, cellHa_;
    int side_;
    const std::int32_t* counts_ = nullptr;
    std::vector<int> presentOf_;
    std::size_t classes_ = 0;  // present in the window: the first classes_ of present_, cells_, like_, edge_
    std::vector<int> present_;
    std::vector<std::int64_t> cells_, like_, edge_;
    std::int64_t edgeAll_ = 0, dataCells_ = 0, outerEdge_ = 0;
    bool paired_ = false, sided_ = false;
    std::vector<Pair> pairs_;
    std::vector<std::vector<double>> sidesOf_;
};

// A metric computed from counts alone, with the engine's formula.
struct CountedMetric {
    const char* code;
    MetricLevel level;
    bool pairs;      // reads the sides of each pair of classes
    bool outerEdge;  // reads the sides on the window's outer edge
    std::optional<double> (*klass)(WindowMeasure&, std::size_t);
    std::optional<double> (*landscape)(WindowMeasure&);
};

// The counted form of def; null for a metric that needs patches (or anything else but counts).
const CountedMetric* countedMetric(const MetricDef& def);

}  // namespace orvalis
