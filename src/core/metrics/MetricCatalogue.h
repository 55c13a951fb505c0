#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvalis {

class Measure;

enum class MetricLevel : unsigned char { Patch, Class, Landscape };
enum class MetricType : unsigned char { AreaEdge, Shape, Core, Aggregation, Diversity, Complexity };

// The intermediates a metric reads; each is computed once per grid, and only when asked for.
enum MetricNeed : unsigned {
    NeedClasses = 0,           // cells per class: every metric
    NeedPatches = 1u << 0,     // patches labelled, with their cells, like sides and centroids
    NeedAdjacency = 1u << 1,   // sides between classes, counted once a pair
    NeedBorder = 1u << 2,      // sides on the map's edge and facing no-data, per class
    NeedNearest = 1u << 3,     // nearest patch of the same class
    NeedRadius = 1u << 4,      // distances of a patch's cells from its centroid
    NeedCore = 1u << 5,        // core cells at the edge depth, and the disjunct core areas
    NeedCircle = 1u << 6,      // the smallest circle about each patch
    NeedContig = 1u << 7,      // diagonal like neighbours within each patch
};

const char* levelName(MetricLevel level);  // "patch", "class", "landscape"
const char* typeName(MetricType type);     // "area and edge", "shape", "core area", ...
// The word that selects a type in a metric list: "area-edge", "shape", "core", ...
const char* typeWord(MetricType type);

using PatchFormula = std::function<std::optional<double>(Measure&, std::size_t patch)>;
using ClassFormula = std::function<std::optional<double>(Measure&, std::size_t cls)>;
using LandscapeFormula = std::function<std::optional<double>(Measure&)>;

// One metric at one level: what it is called, what it means, and how it is computed.
struct MetricDef {
    std::string code;        // landscapemetrics' name: frac_mn
    MetricLevel level;
    MetricType type;
    std::string name;        // "mean fractal dimension index"
    std::string unit;        // "ha", "m", "%", "" for none
    std::string definition;  // in words, for the documentation
    std::string fragstats;   // what the FRAGSTATS convention changes; empty when nothing
    unsigned needs = 0;      // MetricNeeds
    bool standard = false;   // in the default set, the table's first metrics
    PatchFormula patch;      // the one that matches level
    ClassFormula klass;
    LandscapeFormula landscape;
};

// Every metric, in output order: patch, class, landscape; within a level the default set first.
const std::vector<MetricDef>& metricCatalogue();

// The metric of that code at that level; null when there is none.
const MetricDef* findMetric(std::string_view code, MetricLevel level);

// The known code nearest to a mistyped one, by edit distance.
std::string nearestMetricCode(std::string_view code);

// Every code, each once, sorted, blank-separated: for error messages.
std::string knownMetricCodes();

// Which metrics a measurement gives, at which levels. The default: the class and landscape
// metrics of the standard set.
class MetricSelection {
public:
    MetricSelection();

    // words: codes ("pland", "ed"), type words ("shape", "core"), "all" or "default"; empty:
    // "default". A code is taken at every level asked for where it exists, and must exist at one.
    // levels empty: class and landscape. nullopt with *error set for an unknown word.
    static std::optional<MetricSelection> parse(const std::vector<std::string>& words,
                                                const std::vector<MetricLevel>& levels, std::string* error);
    // The whole catalogue at the levels given.
    static MetricSelection all(const std::vector<MetricLevel>& levels);

    const std::vector<const MetricDef*>& metrics() const { return *defs_; }
    bool hasLevel(MetricLevel level) const;
    unsigned needs() const { return needs_; }

private:
    explicit MetricSelection(std::vector<const MetricDef*> defs);
    std::shared_ptr<const std::vector<const MetricDef*>> defs_;
    unsigned needs_ = 0;
    unsigned levels_ = 0;
};

// "patch,class" and the like; nullopt with *error set for a word that is no level.
std::optional<std::vector<MetricLevel>> parseMetricLevels(const std::vector<std::string>& words, std::string* error);

}  // namespace orvalis
