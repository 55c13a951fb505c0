// Every metric once: its code, level, type, name, unit, meaning and formula. Everything else
// (output order, names accepted, help, charts, the documentation) is read from this table.
#include "core/metrics/MetricCatalogue.h"

#include "core/metrics/Measure.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <set>

namespace orvalis {

namespace {

using std::int64_t;
using std::size_t;
using Value = std::optional<double>;
using L = MetricLevel;
using T = MetricType;

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// Undefined (0/0, a logarithm of 0, ...) is NA, never a number.
Value defined(double v)
{
    return std::isfinite(v) ? Value(v) : std::nullopt;
}

// FRAGSTATS' shortest perimeter, in cell sides, of n cells (packed into a square).
double minPerimeter(int64_t n)
{
    const int64_t s = static_cast<int64_t>(std::floor(std::sqrt(static_cast<double>(n))));
    const int64_t r = n - s * s;
    return static_cast<double>(r == 0 ? 4 * s : r <= s ? 4 * s + 2 : 4 * s + 4);
}

// FRAGSTATS' largest number of like sides n cells can share (cells packed into a square).
double maxLikeSides(int64_t n)
{
    const int64_t s = static_cast<int64_t>(std::floor(std::sqrt(static_cast<double>(n))));
    const int64_t r = n - s * s;
    return static_cast<double>(r == 0 ? 2 * s * (s - 1) : r <= s ? 2 * s * (s - 1) + 2 * r - 1 : 2 * s * (s - 1) + 2 * r - 2);
}

// -sum p log p of the entries' shares, in the options' base; zero entries add nothing.
double entropy(Measure& m, const std::vector<double>& entries)
{
    double total = 0;
    for (double e : entries)
        total += e;
    if (total <= 0)
        return 0;
    double h = 0;
    for (double e : entries)
        if (e > 0)
            h -= e / total * m.log(e / total);
    return h;
}

// The adjacency matrix's entries that are not 0, sides counted both ways: a class's like sides
// twice on the diagonal, each pair of classes once in each direction. Kept sparse: a map may hold
// thousands of classes.
struct Adjacency {
    std::vector<double> entries;
    std::vector<double> rows;  // per class: its row's sum, sides facing a class
};

Adjacency adjacency(Measure& m)
{
    Adjacency a;
    const size_t K = m.classCount();
    a.rows.assign(K, 0.0);
    for (size_t k = 0; k < K; ++k) {
        const double like = 2.0 * static_cast<double>(m.likeOf(k));
        if (like > 0)
            a.entries.push_back(like);
        a.rows[k] += like;
    }
    for (const Measure::Pair& q : m.pairs()) {
        const double n = static_cast<double>(q.sides);
        a.entries.push_back(n);
        a.entries.push_back(n);
        a.rows[static_cast<size_t>(q.a)] += n;
        a.rows[static_cast<size_t>(q.b)] += n;
    }
    return a;
}

// Entropies of the adjacency matrix: of its column sums and of all its entries.
struct Entropies {
    double composition;
    double complexity;
};

Entropies adjacencyEntropies(Measure& m)
{
    const Adjacency a = adjacency(m);
    // The matrix is symmetric: its column sums are its row sums.
    return {entropy(m, a.rows), entropy(m, a.entries)};
}

double share(Measure& m, size_t k)
{
    return static_cast<double>(m.cellsOf(k)) / static_cast<double>(m.dataCells());
}

double classes(Measure& m)
{
    return static_cast<double>(m.classCount());
}

// A class's sides that lie on its patches' outlines: facing other classes, the map's edge or no-data.
double outline(Measure& m, size_t k)
{
    return static_cast<double>(m.edgeOf(k) + m.mapEdgeOf(k) + m.noDataEdgeOf(k));
}

double cohesion(Measure& m, long k)
{
    const double n = static_cast<double>(m.dataCells());
    const double perim = m.patchSum("perimeter", k, [&](size_t p) { return static_cast<double>(m.perimeterSides(p)); });
    const double weighted = m.patchSum("perimeter x root area", k, [&](size_t p) {
        return static_cast<double>(m.perimeterSides(p)) * std::sqrt(static_cast<double>(m.shape(p).cells));
    });
    return (1.0 - perim / weighted) / (1.0 - 1.0 / std::sqrt(n)) * 100.0;
}

double area2(Measure& m, long k)
{
    return m.patchSum("area squared", k, [&](size_t p) {
        const double a = static_cast<double>(m.shape(p).cells);
        return a * a;
    });
}

// PAFRAC: 2 over the slope of log area against log perimeter over the patches; NA below 10 patches
// (FRAGSTATS: at landscape level below 2, and wherever the patches are all of one size).
Value pafrac(Measure& m, long k)
{
    std::vector<std::pair<double, double>> xy;
    for (size_t p = 0; p < m.patchCount(); ++p)
        if (k < 0 || m.patchClass(p) == k)
            xy.push_back({std::log(static_cast<double>(m.perimeterSides(p)) * m.cellSide()),
                          std::log(static_cast<double>(m.shape(p).cells) * m.cellSide() * m.cellSide())});
    const std::size_t fewest = m.fragstats() && k < 0 ? 2 : 10;
    if (xy.size() < fewest)
        return std::nullopt;
    if (m.fragstats() && std::all_of(xy.begin(), xy.end(), [&](const auto& p) { return p.second == xy.front().second; }))
        return std::nullopt;
    double mx = 0, my = 0;
    for (const auto& [x, y] : xy) {
        mx += x;
        my += y;
    }
    mx /= static_cast<double>(xy.size());
    my /= static_cast<double>(xy.size());
    double sxy = 0, sxx = 0, xx = 0;
    for (const auto& [x, y] : xy) {
        sxy += (x - mx) * (y - my);
        sxx += (x - mx) * (x - mx);
        xx += x * x;
    }
    // Perimeters all alike leave no slope: R's least squares drops the predictor as its QR does.
    if (std::sqrt(sxx) < 1e-7 * std::sqrt(xx))
        return std::nullopt;
    return defined(2.0 / (sxy / sxx));
}

double coreCellsOf(Measure& m, long k)
{
    return m.patchSum("core cells", k, [&](size_t p) { return static_cast<double>(m.coreCells(p)); });
}

double coreAreasOf(Measure& m, long k)
{
    return m.patchSum("core areas", k, [&](size_t p) { return static_cast<double>(m.coreAreas(p)); });
}

// IJI over the sides between different classes: their evenness among the pairs of classes.
Value iji(Measure& m, const std::vector<double>& sides, double pairsPossible)
{
    if (m.classCount() < 3)
        return std::nullopt;
    double total = 0;
    for (double e : sides)
        total += e;
    if (total <= 0)
        return 0.0;
    double h = 0;
    for (double e : sides)
        if (e > 0)
            h -= e / total * std::log(e / total);
    return defined(h / std::log(pairsPossible) * 100.0);
}

// What one family of summaries (mean, sd, cv) reads: a value per patch or per core area.
struct Family {
    const char* code;      // "area": gives area_mn, area_sd, area_cv
    const char* what;      // "patch area"
    T type;
    const char* unit;
    unsigned needs;
    std::function<void(Measure&, SeriesValues&)> fill;
};

}  // namespace

const char* levelName(MetricLevel level)
{
    switch (level) {
    case L::Patch: return "patch";
    case L::Class: return "class";
    case L::Landscape: break;
    }
    return "landscape";
}

const char* typeName(MetricType type)
{
    switch (type) {
    case T::AreaEdge: return "area and edge";
    case T::Shape: return "shape";
    case T::Core: return "core area";
    case T::Aggregation: return "aggregation";
    case T::Diversity: return "diversity";
    case T::Complexity: break;
    }
    return "complexity";
}

const char* typeWord(MetricType type)
{
    switch (type) {
    case T::AreaEdge: return "area-edge";
    case T::Shape: return "shape";
    case T::Core: return "core";
    case T::Aggregation: return "aggregation";
    case T::Diversity: return "diversity";
    case T::Complexity: break;
    }
    return "complexity";
}

namespace {

std::vector<MetricDef> buildCatalogue()
{
    std::vector<MetricDef> t;
    const unsigned P = NeedPatches;
    auto patch = [&](const char* code, T type, const char* name, const char* unit, const char* def, unsigned needs,
                     PatchFormula f, const char* fragstats = "") {
        MetricDef d{code, L::Patch, type, name, unit, def, fragstats, needs | P, false, std::move(f), {}, {}};
        t.push_back(std::move(d));
    };
    auto klass = [&](const char* code, T type, const char* name, const char* unit, const char* def, unsigned needs,
                     ClassFormula f, const char* fragstats = "") {
        MetricDef d{code, L::Class, type, name, unit, def, fragstats, needs, false, {}, std::move(f), {}};
        t.push_back(std::move(d));
    };
    auto land = [&](const char* code, T type, const char* name, const char* unit, const char* def, unsigned needs,
                    LandscapeFormula f, const char* fragstats = "") {
        MetricDef d{code, L::Landscape, type, name, unit, def, fragstats, needs, false, {}, {}, std::move(f)};
        t.push_back(std::move(d));
    };
    const unsigned A = NeedPatches | NeedAdjacency;
    const unsigned B = NeedBorder;

    // Patch level.
    patch("area", T::AreaEdge, "patch area", "ha", "cells of the patch x cell area", 0,
          [](Measure& m, size_t p) { return Value(static_cast<double>(m.shape(p).cells) * m.cellHa()); });
    patch("perim", T::AreaEdge, "patch perimeter", "m",
          "sides of the patch's cells facing anything but the patch (other classes, the map's edge, no-data) x cell side", 0,
          [](Measure& m, size_t p) { return Value(static_cast<double>(m.perimeterSides(p)) * m.cellSide()); });
    patch("gyrate", T::AreaEdge, "radius of gyration", "m",
          "mean distance between the patch's cell centres and their centroid (with --cell-center, the patch's cell nearest it)",
          NeedRadius, [](Measure& m, size_t p) { return Value(m.gyrate(p)); });
    patch("para", T::Shape, "perimeter-area ratio", "m/m²", "perimeter (m) / area (m²)", 0,
          [](Measure& m, size_t p) {
              const double area = static_cast<double>(m.shape(p).cells) * m.cellSide() * m.cellSide();
              return Value(static_cast<double>(m.perimeterSides(p)) * m.cellSide() / (m.fragstats() ? area / 10000.0 : area));
          },
          "perimeter (m) / area (ha)");
    patch("shape", T::Shape, "shape index", "", "0.25 x perimeter / sqrt(area), in cell sides and cells", 0,
          [](Measure& m, size_t p) {
              const PatchShape& s = m.shape(p);
              const double perim = static_cast<double>(m.perimeterSides(p));
              if (m.fragstats())
                  return Value(perim / minPerimeter(s.cells));
              return Value(0.25 * perim / std::sqrt(static_cast<double>(s.cells)));
          },
          "perimeter / the shortest perimeter of as many cells packed into a square, in cell sides");
    patch("frac", T::Shape, "fractal dimension index", "",
          "2 ln(0.25 x perimeter) / ln(area), perimeter in m and area in m²; 1 for a one-cell patch of 1 m", 0,
          [](Measure& m, size_t p) {
              const double area = static_cast<double>(m.shape(p).cells) * m.cellSide() * m.cellSide();
              const double perim = static_cast<double>(m.perimeterSides(p)) * m.cellSide();
              const double v = 2.0 * std::log(0.25 * perim) / std::log(area);
              return Value(std::isfinite(v) ? v : 1.0);
          });
    patch("circle", T::Shape, "related circumscribing circle", "",
          "1 - area / area of the smallest circle holding the outer corners of the patch's cells in its first and last "
          "rows and columns",
          NeedCircle,
          [](Measure& m, size_t p) {
              const double cells = static_cast<double>(m.shape(p).cells);
              if (m.fragstats() && cells == 1)
                  return Value(0.0);
              return Value(1.0 - cells / (std::numbers::pi * m.circleDiameter2(p) / 4.0));
          },
          "0 for a patch of one cell");
    patch("contig", T::Shape, "contiguity index", "",
          "(mean over the patch's cells of the 3 x 3 template (1 centre, 2 sides, 1 corners) summed over its cells "
          "in the patch, minus 1) / 12",
          NeedContig, [](Measure& m, size_t p) {
              const double n = static_cast<double>(m.shape(p).cells);
              const double sum = n + 4.0 * static_cast<double>(m.shape(p).like) + 2.0 * static_cast<double>(m.diagonalPairs(p));
              return Value((sum / n - 1.0) / 12.0);
          });
    patch("core", T::Core, "core area", "ha", "cells of the patch more than --edge-depth steps across cell sides from any cell outside it (the map's edge "
          "is outside unless --consider-boundary) x cell area",
          NeedCore, [](Measure& m, size_t p) { return Value(static_cast<double>(m.coreCells(p)) * m.cellHa()); });
    patch("cai", T::Core, "core area index", "%", "core area / area x 100", NeedCore, [](Measure& m, size_t p) {
        return Value(static_cast<double>(m.coreCells(p)) / static_cast<double>(m.shape(p).cells) * 100.0);
    });
    patch("ncore", T::Core, "number of core areas", "", "disjunct core areas of the patch, their cells joined by the patch rule", NeedCore,
          [](Measure& m, size_t p) { return Value(static_cast<double>(m.coreAreas(p))); });
    patch("enn", T::Aggregation, "Euclidean nearest-neighbour distance", "m",
          "shortest distance between the centres of a cell of the patch and a cell of another patch of its class; NA "
          "when its class has one patch",
          NeedNearest, [](Measure& m, size_t p) { return defined(m.nearest(p)); });

    // Class level, the standard set first.
    klass("pland", T::AreaEdge, "percentage of landscape", "%", "cells of the class / cells of the landscape x 100", 0,
          [](Measure& m, size_t k) { return Value(100.0 * share(m, k)); });
    klass("np", T::Aggregation, "number of patches", "", "patches of the class", P,
          [](Measure& m, size_t k) { return Value(static_cast<double>(m.patchesOf(k))); });
    klass("pd", T::Aggregation, "patch density", "per 100 ha", "patches of the class / landscape area (ha) x 100", P,
          [](Measure& m, size_t k) { return Value(static_cast<double>(m.patchesOf(k)) / m.areaHa() * 100.0); });
    klass("ed", T::AreaEdge, "edge density", "m/ha", "total edge (te) / landscape area (ha)", A | B, [](Measure& m, size_t k) {
        const double sides = static_cast<double>(m.edgeOf(k)) +
                             (m.options().countBoundary ? static_cast<double>(m.mapEdgeOf(k) + m.noDataEdgeOf(k)) : 0.0);
        return Value(sides * m.cellSide() / m.areaHa());
    });
    klass("lpi", T::AreaEdge, "largest patch index", "%", "cells of the class's largest patch / cells of the landscape x 100",
          P, [](Measure& m, size_t k) {
              return Value(100.0 * static_cast<double>(m.largestOf(k)) / static_cast<double>(m.dataCells()));
          });
    klass("area_mn", T::AreaEdge, "", "", "", P, {});  // filled in by the families below, placed here
    klass("area_sd", T::AreaEdge, "", "", "", P, {});
    klass("enn_mn", T::Aggregation, "", "", "", P, {});
    klass("cohesion", T::Aggregation, "patch cohesion index", "%",
          "(1 - sum p / sum p sqrt(a)) / (1 - 1 / sqrt(N)) x 100 over the class's patches, p their perimeters in cell "
          "sides (the map's edge and no-data included), a their cells, N the landscape's cells; NA on a one-cell map",
          P, [](Measure& m, size_t k) { return defined(cohesion(m, static_cast<long>(k))); });
    klass("ai", T::Aggregation, "aggregation index", "%",
          "like sides / the most like sides as many cells can share x 100; NA for a class of one cell", A,
          [](Measure& m, size_t k) {
              if (m.cellsOf(k) < 2)
                  return Value();
              return Value(static_cast<double>(m.likeOf(k)) / maxLikeSides(m.cellsOf(k)) * 100.0);
          });
    klass("clumpy", T::Aggregation, "clumpiness index", "",
          "G = like sides x 2 / (4 n - shortest perimeter of n cells), P = share of the class: (G - P) / P when G < P "
          "and P < 0.5, else (G - P) / (1 - P); -1 is maximally dispersed, 1 maximally clumped; NA for one cell or the "
          "whole map",
          A, [](Measure& m, size_t k) {
              const int64_t n = m.cellsOf(k);
              if (n < 2 || n == m.dataCells() || (m.fragstats() && n == m.dataCells() - 1))
                  return Value();
              const double g = 2.0 * static_cast<double>(m.likeOf(k)) / (4.0 * static_cast<double>(n) - minPerimeter(n));
              const double s = share(m, k);
              return defined(g < s && s < 0.5 ? (g - s) / s : (g - s) / (1.0 - s));
          },
          "also NA for a class of every cell but one");
    klass("mesh", T::Aggregation, "effective mesh size", "ha", "sum of squared patch areas / landscape area", P,
          [](Measure& m, size_t k) { return Value(area2(m, static_cast<long>(k)) * m.cellHa() / static_cast<double>(m.dataCells())); });
    klass("division", T::Aggregation, "landscape division index", "", "1 - sum of squared patch areas / landscape area²", P,
          [](Measure& m, size_t k) {
              const double n = static_cast<double>(m.dataCells());
              return Value(1.0 - area2(m, static_cast<long>(k)) / (n * n));
          });
    klass("split", T::Aggregation, "splitting index", "", "landscape area² / sum of squared patch areas", P,
          [](Measure& m, size_t k) {
              const double n = static_cast<double>(m.dataCells());
              return Value(n * n / area2(m, static_cast<long>(k)));
          });
    klass("gyrate_am", T::AreaEdge, "area-weighted mean radius of gyration", "m",
          "mean of the patches' gyrate weighted by their areas", P | NeedRadius, [](Measure& m, size_t k) {
              const double weighted = m.patchSum("gyrate x area", static_cast<long>(k), [&](size_t p) {
                  return m.gyrate(p) * static_cast<double>(m.shape(p).cells);
              });
              return Value(weighted / static_cast<double>(m.cellsOf(k)));
          });
    klass("spanning", T::Aggregation, "spanning cluster", "",
          "1 when one patch of the class touches both the top and bottom rows, or both the left and right columns; else 0",
          P, [](Measure& m, size_t k) { return Value(m.spans(k) ? 1.0 : 0.0); });
    const size_t standardClass = t.size();

    klass("ca", T::AreaEdge, "total (class) area", "ha", "cells of the class x cell area", 0,
          [](Measure& m, size_t k) { return Value(static_cast<double>(m.cellsOf(k)) * m.cellHa()); });
    klass("te", T::AreaEdge, "total edge", "m",
          "sides between the class and other classes x cell side (with --count-boundary also those on the map's edge "
          "and facing no-data)",
          A | B, [](Measure& m, size_t k) {
              const double sides = static_cast<double>(m.edgeOf(k)) +
                                   (m.options().countBoundary ? static_cast<double>(m.mapEdgeOf(k) + m.noDataEdgeOf(k)) : 0.0);
              return Value(sides * m.cellSide());
          });
    klass("lsi", T::Aggregation, "landscape shape index", "",
          "sides of the class's outline (other classes, the map's edge, no-data) / shortest perimeter of as many cells",
          A | B, [](Measure& m, size_t k) { return defined(outline(m, k) / minPerimeter(m.cellsOf(k))); });
    klass("nlsi", T::Aggregation, "normalized landscape shape index", "",
          "(outline - shortest) / (longest - shortest outline as many cells can have in this landscape); NA when "
          "undefined",
          A | B, [](Measure& m, size_t k) {
              const double e = outline(m, k);
              const double n = static_cast<double>(m.cellsOf(k));
              const double N = static_cast<double>(m.dataCells());
              const double minE = minPerimeter(m.cellsOf(k));
              const double p = n / N;
              const double frame = 2.0 * m.grid().rows + 2.0 * m.grid().cols;
              const double cut = (0.5 * N + 0.5 * frame) / N;
              const bool even = m.dataCells() % 2 == 0;
              double maxE = p <= 0.5 ? 4.0 * n : p <= cut ? (even ? 3.0 * N - 2.0 * n : 3.0 * N - 2.0 * n + 3.0) : e + 4.0 * (N - n);
              if (m.fragstats() && p > 0.5) {
                  // FRAGSTATS' output follows the landscape's outline, in cell sides, above half the map.
                  double outlineAll = 0;
                  for (size_t j = 0; j < m.classCount(); ++j)
                      outlineAll += static_cast<double>(m.mapEdgeOf(j) + m.noDataEdgeOf(j));
                  maxE = outlineAll + 4.0 * (N - n);
              }
              return defined((e - minE) / (maxE - minE));
          },
          "above half the landscape, the longest outline is the landscape's outline + 4 x (cells of the landscape - "
          "cells of the class)");
    klass("pladj", T::Aggregation, "percentage of like adjacencies", "%",
          "like sides counted both ways / all sides of the class's cells (the map's edge and no-data included) x 100",
          A, [](Measure& m, size_t k) {
              return Value(2.0 * static_cast<double>(m.likeOf(k)) / (4.0 * static_cast<double>(m.cellsOf(k))) * 100.0);
          });
    klass("iji", T::Aggregation, "interspersion and juxtaposition index", "%",
          "evenness of the class's sides among the other classes: -sum e ln e / ln(m - 1) x 100, e the shares of its "
          "sides facing each other class; NA with fewer than 3 classes",
          A, [](Measure& m, size_t k) {
              return iji(m, m.sidesOf(k), classes(m) - 1.0);
          });
    klass("tca", T::Core, "total core area", "ha", "core cells of the class's patches x cell area", P | NeedCore,
          [](Measure& m, size_t k) { return Value(coreCellsOf(m, static_cast<long>(k)) * m.cellHa()); });
    klass("cpland", T::Core, "core area percentage of landscape", "%", "core cells of the class / cells of the landscape x 100",
          P | NeedCore, [](Measure& m, size_t k) {
              return Value(coreCellsOf(m, static_cast<long>(k)) / static_cast<double>(m.dataCells()) * 100.0);
          });
    klass("ndca", T::Core, "number of disjunct core areas", "", "disjunct core areas of the class's patches", P | NeedCore,
          [](Measure& m, size_t k) { return Value(coreAreasOf(m, static_cast<long>(k))); });
    klass("dcad", T::Core, "disjunct core area density", "per 100 ha", "ndca / landscape area (ha) x 100", P | NeedCore,
          [](Measure& m, size_t k) { return Value(coreAreasOf(m, static_cast<long>(k)) / m.areaHa() * 100.0); });
    klass("pafrac", T::Shape, "perimeter-area fractal dimension", "",
          "2 / slope of ln(area) regressed on ln(perimeter) over the class's patches; NA below 10 patches", P,
          [](Measure& m, size_t k) { return pafrac(m, static_cast<long>(k)); }, "also NA when the patches are all of one size");

    // Landscape level, the standard set first.
    land("ta", T::AreaEdge, "total area", "ha", "cells of the landscape x cell area", 0, [](Measure& m) { return Value(m.areaHa()); });
    land("np", T::Aggregation, "number of patches", "", "patches of every class", P,
         [](Measure& m) { return Value(static_cast<double>(m.patchCount())); });
    land("pd", T::Aggregation, "patch density", "per 100 ha", "patches / landscape area (ha) x 100", P,
         [](Measure& m) { return Value(static_cast<double>(m.patchCount()) / m.areaHa() * 100.0); });
    land("ed", T::AreaEdge, "edge density", "m/ha", "total edge (te) / landscape area (ha)", A | B, [](Measure& m) {
        double sides = static_cast<double>(m.edgeAll());
        if (m.options().countBoundary)
            for (size_t k = 0; k < m.classCount(); ++k)
                sides += static_cast<double>(m.mapEdgeOf(k) + m.noDataEdgeOf(k));
        return Value(sides * m.cellSide() / m.areaHa());
    });
    land("lpi", T::AreaEdge, "largest patch index", "%", "cells of the largest patch / cells of the landscape x 100", P,
         [](Measure& m) {
             int64_t largest = 0;
             for (size_t k = 0; k < m.classCount(); ++k)
                 largest = std::max(largest, m.largestOf(k));
             return Value(100.0 * static_cast<double>(largest) / static_cast<double>(m.dataCells()));
         });
    land("contag", T::Aggregation, "contagion", "%",
         "(1 + sum g ln g / (2 ln m)) x 100, g the shares of the adjacency matrix (sides counted both ways, like sides "
         "on the diagonal, neither the map's edge nor no-data); NA with fewer than 2 classes",
         A, [](Measure& m) {
             const size_t K = m.classCount();
             if (K < 2)
                 return Value();
             const Adjacency adj = adjacency(m);
             double sum = 0;
             if (m.fragstats()) {
                 // Each row's shares weighted by the class's share of the landscape.
                 auto add = [&](size_t row, double g) {
                     const double q = share(m, row) * g / adj.rows[row];
                     sum += q * std::log(q);
                 };
                 for (size_t k = 0; k < K; ++k)
                     if (m.likeOf(k) > 0)
                         add(k, 2.0 * static_cast<double>(m.likeOf(k)));
                 for (const Measure::Pair& q : m.pairs()) {
                     add(static_cast<size_t>(q.a), static_cast<double>(q.sides));
                     add(static_cast<size_t>(q.b), static_cast<double>(q.sides));
                 }
             } else {
                 double total = 0;
                 for (double e : adj.entries)
                     total += e;
                 if (total <= 0)
                     return Value();
                 for (double e : adj.entries)
                     sum += e / total * std::log(e / total);
             }
             return defined((1.0 + sum / (2.0 * std::log(static_cast<double>(K)))) * 100.0);
         },
         "g = P_i x g_ik / sum_k g_ik: each row's shares weighted by its class's share of the landscape");
    land("shdi", T::Diversity, "Shannon's diversity index", "", "-sum p ln p over the classes' shares", 0, [](Measure& m) {
        double h = 0;
        for (size_t k = 0; k < m.classCount(); ++k)
            h -= share(m, k) * std::log(share(m, k));
        return Value(h);
    });
    land("ai", T::Aggregation, "aggregation index", "%", "sum of the classes' ai x their shares (a class with NA adds 0)", A,
         [](Measure& m) {
             double sum = 0;
             for (size_t k = 0; k < m.classCount(); ++k)
                 if (m.cellsOf(k) > 1)
                     sum += static_cast<double>(m.likeOf(k)) / maxLikeSides(m.cellsOf(k)) * 100.0 * share(m, k);
             return Value(sum);
         });
    land("mesh", T::Aggregation, "effective mesh size", "ha", "sum of squared patch areas / landscape area", P,
         [](Measure& m) { return Value(area2(m, -1) * m.cellHa() / static_cast<double>(m.dataCells())); });
    land("division", T::Aggregation, "landscape division index", "", "1 - sum of squared patch areas / landscape area²", P,
         [](Measure& m) {
             const double n = static_cast<double>(m.dataCells());
             return Value(1.0 - area2(m, -1) / (n * n));
         });
    const size_t standardLandscape = t.size();

    land("te", T::AreaEdge, "total edge", "m",
         "sides between different classes x cell side (with --count-boundary also those on the map's edge and facing "
         "no-data)",
         A | B, [](Measure& m) {
             double sides = static_cast<double>(m.edgeAll());
             if (m.options().countBoundary)
                 for (size_t k = 0; k < m.classCount(); ++k)
                     sides += static_cast<double>(m.mapEdgeOf(k) + m.noDataEdgeOf(k));
             return Value(sides * m.cellSide());
         });
    land("lsi", T::Aggregation, "landscape shape index", "",
         "sides between classes, on the map's edge and facing no-data / shortest perimeter of the landscape's cells", A | B,
         [](Measure& m) {
             double sides = static_cast<double>(m.edgeAll());
             for (size_t k = 0; k < m.classCount(); ++k)
                 sides += static_cast<double>(m.mapEdgeOf(k) + m.noDataEdgeOf(k));
             return defined(sides / minPerimeter(m.dataCells()));
         });
    land("pladj", T::Aggregation, "percentage of like adjacencies", "%",
         "like sides / all sides (like sides and sides between classes counted both ways, the map's edge once; no-data "
         "left out) x 100",
         A | B, [](Measure& m) {
             double like = 0, edge = 0;
             for (size_t k = 0; k < m.classCount(); ++k) {
                 like += 2.0 * static_cast<double>(m.likeOf(k));
                 edge += static_cast<double>(m.mapEdgeOf(k));
             }
             return defined(like / (like + 2.0 * static_cast<double>(m.edgeAll()) + edge) * 100.0);
         });
    land("cohesion", T::Aggregation, "patch cohesion index", "%", "cohesion over every patch", P,
         [](Measure& m) { return defined(cohesion(m, -1)); });
    land("split", T::Aggregation, "splitting index", "", "landscape area² / sum of squared patch areas", P, [](Measure& m) {
        const double n = static_cast<double>(m.dataCells());
        return Value(n * n / area2(m, -1));
    });
    land("iji", T::Aggregation, "interspersion and juxtaposition index", "%",
         "evenness of the sides between classes among the pairs of classes: -sum e ln e / ln(m (m - 1) / 2) x 100; NA "
         "with fewer than 3 classes",
         A, [](Measure& m) {
             std::vector<double> sides;
             for (const Measure::Pair& q : m.pairs())
                 sides.push_back(static_cast<double>(q.sides));
             return iji(m, sides, classes(m) * (classes(m) - 1.0) / 2.0);
         });
    land("shei", T::Diversity, "Shannon's evenness index", "", "shdi / ln m; 0 with one class", 0, [](Measure& m) {
        if (m.classCount() < 2)
            return Value(0.0);
        double h = 0;
        for (size_t k = 0; k < m.classCount(); ++k)
            h -= share(m, k) * std::log(share(m, k));
        return defined(h / std::log(classes(m)));
    });
    auto simpson = [](Measure& m) {
        double s = 0;
        for (size_t k = 0; k < m.classCount(); ++k)
            s += share(m, k) * share(m, k);
        return s;
    };
    land("sidi", T::Diversity, "Simpson's diversity index", "", "1 - sum p² over the classes' shares", 0,
         [simpson](Measure& m) { return Value(1.0 - simpson(m)); });
    land("siei", T::Diversity, "Simpson's evenness index", "", "sidi / (1 - 1 / m); NA with one class", 0,
         [simpson](Measure& m) { return defined((1.0 - simpson(m)) / (1.0 - 1.0 / classes(m))); });
    land("msidi", T::Diversity, "modified Simpson's diversity index", "", "-ln sum p²", 0,
         [simpson](Measure& m) { return defined(-std::log(simpson(m))); });
    land("msiei", T::Diversity, "modified Simpson's evenness index", "", "msidi / ln m; NA with one class", 0,
         [simpson](Measure& m) { return defined(-std::log(simpson(m)) / std::log(classes(m))); });
    land("pr", T::Diversity, "patch richness", "", "classes present", 0, [](Measure& m) { return Value(classes(m)); });
    land("prd", T::Diversity, "patch richness density", "per 100 ha", "classes / landscape area (ha) x 100", 0,
         [](Measure& m) { return Value(classes(m) / m.areaHa() * 100.0); });
    land("rpr", T::Diversity, "relative patch richness", "%", "classes / --classes-max x 100; NA without --classes-max", 0,
         [](Measure& m) {
             if (!m.options().classesMax)
                 return Value();
             return defined(classes(m) / *m.options().classesMax * 100.0);
         });
    land("ent", T::Complexity, "marginal entropy", "bits (--base)",
         "entropy of the adjacency matrix's column sums (sides counted both ways, neither the map's edge nor no-data)",
         A, [](Measure& m) { return Value(adjacencyEntropies(m).composition); });
    land("joinent", T::Complexity, "joint entropy", "bits (--base)", "entropy of the adjacency matrix's entries", A,
         [](Measure& m) { return Value(adjacencyEntropies(m).complexity); });
    land("condent", T::Complexity, "conditional entropy", "bits (--base)", "joint entropy - marginal entropy", A,
         [](Measure& m) {
             const Entropies e = adjacencyEntropies(m);
             return Value(e.complexity - e.composition);
         });
    land("mutinf", T::Complexity, "mutual information", "bits (--base)", "marginal entropy - conditional entropy", A,
         [](Measure& m) {
             const Entropies e = adjacencyEntropies(m);
             return Value(2.0 * e.composition - e.complexity);
         });
    land("relmutinf", T::Complexity, "relative mutual information", "", "mutual information / marginal entropy; 1 when "
         "the mutual information is 0", A, [](Measure& m) {
             const Entropies e = adjacencyEntropies(m);
             const double mutinf = 2.0 * e.composition - e.complexity;
             return mutinf == 0 ? Value(1.0) : defined(mutinf / e.composition);
         });
    land("tca", T::Core, "total core area", "ha", "core cells of every patch x cell area", P | NeedCore,
         [](Measure& m) { return Value(coreCellsOf(m, -1) * m.cellHa()); });
    land("ndca", T::Core, "number of disjunct core areas", "", "disjunct core areas of every patch", P | NeedCore,
         [](Measure& m) { return Value(coreAreasOf(m, -1)); });
    land("dcad", T::Core, "disjunct core area density", "per 100 ha", "ndca / landscape area (ha) x 100", P | NeedCore,
         [](Measure& m) { return Value(coreAreasOf(m, -1) / m.areaHa() * 100.0); });
    land("pafrac", T::Shape, "perimeter-area fractal dimension", "",
         "2 / slope of ln(area) regressed on ln(perimeter) over every patch; NA below 10 patches", P,
         [](Measure& m) { return pafrac(m, -1); }, "NA below 2 patches (not 10), and when they are all of one size");

    // The _mn, _sd and _cv families: one summary each of a series of patch (or core area) values.
    auto patchSeries = [&](const char* code) {
        return [code](Measure& m, SeriesValues& s) {
            const MetricDef* def = findMetric(code, L::Patch);
            s.values = m.patchValues(*def);
            s.classes.resize(s.values.size());
            for (size_t p = 0; p < s.values.size(); ++p)
                s.classes[p] = m.patchClass(p);
        };
    };
    auto needsOf = [&](const char* code) {
        for (const MetricDef& d : t)
            if (d.code == code && d.level == L::Patch)
                return d.needs;
        return 0u;
    };
    std::vector<Family> families;
    for (const char* code : {"area", "cai", "circle", "contig", "core", "enn", "frac", "gyrate", "para", "shape"}) {
        const MetricDef* d = nullptr;
        for (const MetricDef& x : t)
            if (x.code == code && x.level == L::Patch)
                d = &x;
        families.push_back({code, nullptr, d->type, nullptr, needsOf(code), patchSeries(code)});
    }
    // landscapemetrics summarises each patch's number of disjunct core areas here, not their areas.
    families.push_back({"dcore", "number of disjunct core areas per patch", T::Core, "", P | NeedCore,
                        [](Measure& m, SeriesValues& s) {
                            if (m.fragstats()) {
                                // FRAGSTATS' series: the area of each disjunct core area.
                                s.values.clear();
                                s.classes.clear();
                                for (const auto& [patch, cells] : m.cores()) {
                                    s.values.push_back(static_cast<double>(cells) * m.cellHa());
                                    s.classes.push_back(m.patchClass(static_cast<size_t>(patch)));
                                }
                                return;
                            }
                            const size_t n = m.patchCount();
                            s.values.resize(n);
                            s.classes.resize(n);
                            for (size_t p = 0; p < n; ++p) {
                                s.values[p] = static_cast<double>(m.coreAreas(p));
                                s.classes[p] = m.patchClass(p);
                            }
                        }});
    struct Reducer {
        const char* suffix;
        const char* name;
        const char* definition;
    };
    const Reducer reducers[] = {{"mn", "mean", "mean of %s"},
                                {"sd", "standard deviation", "sample standard deviation (n - 1) of %s"},
                                {"cv", "coefficient of variation", "sd / mean x 100 of %s"}};
    std::vector<MetricDef> generated;
    for (const Family& f : families) {
        std::string what, unit;
        if (f.what) {
            what = f.what;
            unit = f.unit;
        } else {
            for (const MetricDef& d : t)
                if (d.code == f.code && d.level == L::Patch) {
                    what = d.name;
                    unit = d.unit;
                }
        }
        for (const Reducer& r : reducers)
            for (const L level : {L::Class, L::Landscape}) {
                MetricDef d;
                d.code = std::string(f.code) + "_" + r.suffix;
                d.level = level;
                d.type = f.type;
                d.name = std::string(r.name) + " of " + what;
                d.unit = std::string(r.suffix) == "cv" ? "%" : unit;
                char text[200];
                std::snprintf(text, sizeof text, r.definition, what.c_str());
                d.definition = std::string(text) + (level == L::Class ? " over the class's patches" : " over all patches") +
                               "; NA when any is NA";
                if (std::string(r.suffix) != "mn")
                    d.fragstats = "population standard deviation (divisor n); 0 for a single value";
                if (std::string(f.code) == "dcore")
                    d.fragstats = std::string(r.suffix) == "mn" ? "over the areas (ha) of the disjunct core areas"
                                                                 : "over the areas (ha) of the disjunct core areas, population "
                                                                   "standard deviation";
                d.needs = f.needs | P;
                const std::string key = f.code;
                const auto fill = f.fill;
                const std::string suffix = r.suffix;
                auto pick = [suffix](const SeriesStats::Group& g, bool fragstats) -> Value {
                    const double sd = fragstats ? g.sdPop : g.sd;
                    if (suffix == "mn")
                        return defined(g.mean);
                    if (suffix == "sd")
                        return defined(sd);
                    return defined(sd / g.mean * 100.0);
                };
                if (level == L::Class)
                    d.klass = [key, fill, pick](Measure& m, size_t k) {
                        return pick(m.stats(key, fill).perClass[k], m.fragstats());
                    };
                else
                    d.landscape = [key, fill, pick](Measure& m) { return pick(m.stats(key, fill).all, m.fragstats()); };
                generated.push_back(std::move(d));
            }
    }
    // The standard family members keep their places in the standard set.
    for (MetricDef& g : generated) {
        auto placeholder = std::find_if(t.begin(), t.end(), [&](const MetricDef& d) {
            return d.code == g.code && d.level == g.level && !d.klass && !d.landscape && !d.patch;
        });
        if (placeholder != t.end())
            *placeholder = std::move(g);
        else
            t.push_back(std::move(g));
    }
    for (size_t i = 0; i < t.size(); ++i)
        t[i].standard = (t[i].level == L::Class && i < standardClass) ||
                        (t[i].level == L::Landscape && i >= standardClass && i < standardLandscape) ||
                        false;
    // Patch level first, then class, then landscape; the standard set first in its own order,
    // the rest by code.
    std::vector<size_t> order(t.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const MetricDef& x = t[a];
        const MetricDef& y = t[b];
        if (x.level != y.level)
            return x.level < y.level;
        if (x.standard != y.standard)
            return x.standard;
        if (x.standard)
            return a < b;
        return x.code < y.code;
    });
    std::vector<MetricDef> sorted;
    for (size_t i : order)
        sorted.push_back(std::move(t[i]));
    return sorted;
}

}  // namespace

const std::vector<MetricDef>& metricCatalogue()
{
    static const std::vector<MetricDef> catalogue = buildCatalogue();
    return catalogue;
}

const MetricDef* findMetric(std::string_view code, MetricLevel level)
{
    for (const MetricDef& d : metricCatalogue())
        if (d.level == level && d.code == code)
            return &d;
    return nullptr;
}

namespace {

size_t editDistance(std::string_view a, std::string_view b)
{
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t up = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = up;
        }
    }
    return row[b.size()];
}

std::set<std::string> allCodes()
{
    std::set<std::string> codes;
    for (const MetricDef& d : metricCatalogue())
        codes.insert(d.code);
    return codes;
}

}  // namespace

std::string nearestMetricCode(std::string_view code)
{
    std::string best;
    size_t distance = std::numeric_limits<size_t>::max();
    for (const std::string& c : allCodes())
        if (const size_t d = editDistance(code, c); d < distance) {
            distance = d;
            best = c;
        }
    return best;
}

std::string knownMetricCodes()
{
    std::string list;
    for (const std::string& c : allCodes())
        list += (list.empty() ? "" : " ") + c;
    return list;
}

MetricSelection::MetricSelection()
{
    static const MetricSelection standard = [] {
        std::vector<const MetricDef*> defs;
        for (const MetricDef& d : metricCatalogue())
            if (d.standard)
                defs.push_back(&d);
        return MetricSelection(std::move(defs));
    }();
    *this = standard;
}

MetricSelection::MetricSelection(std::vector<const MetricDef*> defs)
{
    for (const MetricDef* d : defs) {
        needs_ |= d->needs;
        levels_ |= 1u << static_cast<unsigned>(d->level);
    }
    defs_ = std::make_shared<const std::vector<const MetricDef*>>(std::move(defs));
}

bool MetricSelection::hasLevel(MetricLevel level) const
{
    return (levels_ >> static_cast<unsigned>(level)) & 1u;
}

MetricSelection MetricSelection::all(const std::vector<MetricLevel>& levels)
{
    return *parse({"all"}, levels, nullptr);
}

std::optional<MetricSelection> MetricSelection::parse(const std::vector<std::string>& words,
                                                      const std::vector<MetricLevel>& levelsGiven, std::string* error)
{
    const std::vector<MetricLevel> levels = levelsGiven.empty() ? std::vector<MetricLevel>{L::Class, L::Landscape} : levelsGiven;
    auto atLevel = [&](const MetricDef& d) { return std::find(levels.begin(), levels.end(), d.level) != levels.end(); };
    std::vector<std::string> list = words;
    if (list.empty())
        list.push_back("default");
    std::set<const MetricDef*> chosen;
    for (const std::string& word : list) {
        size_t before = chosen.size();
        bool known = false;
        for (const MetricDef& d : metricCatalogue()) {
            // The default set at patch level, where it has no members, is every patch metric.
            const bool match = word == "all" || (word == "default" && (d.standard || d.level == L::Patch)) ||
                               word == typeWord(d.type) || (word == "area_edge" && d.type == T::AreaEdge) ||
                               d.code == word;
            if (!match)
                continue;
            known = true;
            if (atLevel(d))
                chosen.insert(&d);
        }
        if (!known) {
            if (error)
                *error = "unknown metric '" + word + "' (did you mean '" + nearestMetricCode(word) +
                         "'?); known: all, default, the types area-edge shape core aggregation diversity complexity, "
                         "and " + knownMetricCodes();
            return std::nullopt;
        }
        if (chosen.size() == before && word != "default" && word != "all") {
            std::string where;
            for (const MetricDef& d : metricCatalogue())
                if (d.code == word || word == typeWord(d.type))
                    if (where.find(levelName(d.level)) == std::string::npos)
                        where += std::string(where.empty() ? "" : ", ") + levelName(d.level);
            if (error)
                *error = "'" + word + "' is measured at " + where + " level only: ask for that level";
            return std::nullopt;
        }
    }
    std::vector<const MetricDef*> defs;
    for (const MetricDef& d : metricCatalogue())
        if (chosen.count(&d))
            defs.push_back(&d);
    return MetricSelection(std::move(defs));
}

std::optional<std::vector<MetricLevel>> parseMetricLevels(const std::vector<std::string>& words, std::string* error)
{
    std::vector<MetricLevel> levels;
    for (const std::string& w : words) {
        MetricLevel l;
        if (w == "patch")
            l = L::Patch;
        else if (w == "class")
            l = L::Class;
        else if (w == "landscape")
            l = L::Landscape;
        else {
            if (error)
                *error = "unknown level '" + w + "'; known: patch, class, landscape";
            return std::nullopt;
        }
        if (std::find(levels.begin(), levels.end(), l) == levels.end())
            levels.push_back(l);
    }
    return levels;
}

}  // namespace orvalis
