// Patch-level metrics and the families built on them, recomputed the plain way: every patch
// from its list of cells, every side looked at, every pair of cells compared. Values follow
// landscapemetrics 2.2.2, including where it departs from FRAGSTATS.
#include "SlowCatalogue.h"

#include <cmath>
#include <map>
#include <set>
#include <utility>

namespace orvalis::test {

namespace {

constexpr int kRook[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
constexpr int kDiagonal[4][2] = {{-1, -1}, {-1, 1}, {1, -1}, {1, 1}};

struct PatchValues {
    int cls = 0;
    double cells = 0;
    double area = 0;   // ha
    double perim = 0;  // m
    double core = 0;   // ha
    double ncore = 0;
    double contig = 0;
    double gyrate = 0;
    double circle = 0;
    std::optional<double> enn;
};

// Edge cells of every patch, by rings: the first ring is the cells with a rook neighbour
// outside the patch (the map boundary too unless considerBoundary), each further ring the
// cells rook-adjacent to the ring before. Core is what is left after edgeDepth rings.
std::vector<char> edgeCells(const SlowGrid& g, const SlowOptions& o, const SlowPatches& p)
{
    std::vector<char> edge(g.cells.size(), 0);
    auto samePatch = [&](int r, int c, int id) {
        return slowInside(g, o, r, c) && p.id[static_cast<std::size_t>(r * g.cols + c)] == id;
    };
    auto onMap = [&](int r, int c) { return r >= 0 && r < g.rows && c >= 0 && c < g.cols; };
    for (const auto& cells : p.cells)
        for (const auto& [r, c] : cells) {
            const int id = p.id[static_cast<std::size_t>(r * g.cols + c)];
            for (const auto& d : kRook) {
                const int rr = r + d[0], cc = c + d[1];
                if (!onMap(rr, cc) ? !o.considerBoundary : !samePatch(rr, cc, id))
                    edge[static_cast<std::size_t>(r * g.cols + c)] = 1;
            }
        }
    for (int ring = 2; ring <= o.edgeDepth; ++ring) {
        std::vector<char> next = edge;
        for (const auto& cells : p.cells)
            for (const auto& [r, c] : cells) {
                if (edge[static_cast<std::size_t>(r * g.cols + c)])
                    continue;
                for (const auto& d : kRook) {
                    const int rr = r + d[0], cc = c + d[1];
                    if (onMap(rr, cc) && edge[static_cast<std::size_t>(rr * g.cols + cc)])
                        next[static_cast<std::size_t>(r * g.cols + c)] = 1;
                }
            }
        edge = std::move(next);
    }
    return edge;
}

// Disjunct core areas of each patch: core cells joined by the patch rule.
std::vector<int> coreAreaCounts(const SlowGrid& g, const SlowOptions& o, const SlowPatches& p, const std::vector<char>& edge)
{
    std::vector<int> counts(p.cells.size(), 0);
    std::vector<char> seen(g.cells.size(), 0);
    auto isCore = [&](int r, int c) {
        return slowInside(g, o, r, c) && p.id[static_cast<std::size_t>(r * g.cols + c)] >= 0 &&
               !edge[static_cast<std::size_t>(r * g.cols + c)];
    };
    for (std::size_t k = 0; k < p.cells.size(); ++k)
        for (const auto& [r0, c0] : p.cells[k]) {
            if (!isCore(r0, c0) || seen[static_cast<std::size_t>(r0 * g.cols + c0)])
                continue;
            ++counts[k];
            std::vector<std::pair<int, int>> stack{{r0, c0}};
            seen[static_cast<std::size_t>(r0 * g.cols + c0)] = 1;
            while (!stack.empty()) {
                const auto [r, c] = stack.back();
                stack.pop_back();
                for (int dr = -1; dr <= 1; ++dr)
                    for (int dc = -1; dc <= 1; ++dc) {
                        if ((dr == 0 && dc == 0) || (o.neighbours == 4 && dr != 0 && dc != 0))
                            continue;
                        const int rr = r + dr, cc = c + dc;
                        if (isCore(rr, cc) && !seen[static_cast<std::size_t>(rr * g.cols + cc)] &&
                            p.id[static_cast<std::size_t>(rr * g.cols + cc)] == static_cast<int>(k)) {
                            seen[static_cast<std::size_t>(rr * g.cols + cc)] = 1;
                            stack.push_back({rr, cc});
                        }
                    }
            }
        }
    return counts;
}

struct Point {
    double x;
    double y;
};

// Radius of the smallest circle holding every point: the smallest of the circles on two hull
// points as diameter or through three hull points that holds them all.
double smallestCircleRadius(std::vector<std::pair<long long, long long>> pts)
{
    std::sort(pts.begin(), pts.end());
    pts.erase(std::unique(pts.begin(), pts.end()), pts.end());
    if (pts.size() == 1)
        return 0;
    auto cross = [](auto o, auto a, auto b) { return (a.first - o.first) * (b.second - o.second) - (a.second - o.second) * (b.first - o.first); };
    std::vector<std::pair<long long, long long>> hull(2 * pts.size());
    std::size_t k = 0;
    for (std::size_t i = 0; i < pts.size(); ++i) {
        while (k >= 2 && cross(hull[k - 2], hull[k - 1], pts[i]) <= 0)
            --k;
        hull[k++] = pts[i];
    }
    for (std::size_t i = pts.size() - 1, t = k + 1; i-- > 0;) {
        while (k >= t && cross(hull[k - 2], hull[k - 1], pts[i]) <= 0)
            --k;
        hull[k++] = pts[i];
    }
    hull.resize(k - 1);
    std::vector<Point> h;
    for (const auto& [x, y] : hull)
        h.push_back({static_cast<double>(x), static_cast<double>(y)});
    double best = INFINITY;
    auto tryCircle = [&](Point c, double r2) {
        if (r2 >= best * best)
            return;
        for (const Point& q : h)
            if ((q.x - c.x) * (q.x - c.x) + (q.y - c.y) * (q.y - c.y) > r2 * (1 + 1e-12))
                return;
        best = std::sqrt(r2);
    };
    for (std::size_t i = 0; i < h.size(); ++i)
        for (std::size_t j = i + 1; j < h.size(); ++j) {
            const Point c{(h[i].x + h[j].x) / 2, (h[i].y + h[j].y) / 2};
            tryCircle(c, (h[i].x - c.x) * (h[i].x - c.x) + (h[i].y - c.y) * (h[i].y - c.y));
            for (std::size_t m = j + 1; m < h.size(); ++m) {
                const Point a = h[i], b = h[j], e = h[m];
                const double d = 2 * (a.x * (b.y - e.y) + b.x * (e.y - a.y) + e.x * (a.y - b.y));
                if (d == 0)
                    continue;
                const double a2 = a.x * a.x + a.y * a.y, b2 = b.x * b.x + b.y * b.y, e2 = e.x * e.x + e.y * e.y;
                const Point cc{(a2 * (b.y - e.y) + b2 * (e.y - a.y) + e2 * (a.y - b.y)) / d,
                               (a2 * (e.x - b.x) + b2 * (a.x - e.x) + e2 * (b.x - a.x)) / d};
                tryCircle(cc, (a.x - cc.x) * (a.x - cc.x) + (a.y - cc.y) * (a.y - cc.y));
            }
        }
    return best;
}

// landscapemetrics does not enclose every cell corner, only the outer corners of the cells in
// the patch's first and last rows and columns (the right corners of a cell in the last column,
// and so on); a corner elsewhere may stick out of that circle. Cell units, x = column.
double circleRadiusCells(const std::vector<std::pair<int, int>>& cells)
{
    int rMin = cells[0].first, rMax = rMin, cMin = cells[0].second, cMax = cMin;
    for (const auto& [r, c] : cells) {
        rMin = std::min(rMin, r);
        rMax = std::max(rMax, r);
        cMin = std::min(cMin, c);
        cMax = std::max(cMax, c);
    }
    std::vector<std::pair<long long, long long>> pts;
    for (const auto& [r, c] : cells) {
        if (c == cMax)
            pts.insert(pts.end(), {{c + 1, r}, {c + 1, r + 1}});
        if (c == cMin)
            pts.insert(pts.end(), {{c, r}, {c, r + 1}});
        if (r == rMax)
            pts.insert(pts.end(), {{c, r + 1}, {c + 1, r + 1}});
        if (r == rMin)
            pts.insert(pts.end(), {{c, r}, {c + 1, r}});
    }
    return smallestCircleRadius(std::move(pts));
}

// R's signif(x, 6).
double signif6(double x)
{
    if (x == 0)
        return 0;
    const double scale = std::pow(10.0, 6 - static_cast<int>(std::ceil(std::log10(std::fabs(x)))));
    return std::round(x * scale) / scale;
}

double gyrationOf(const std::vector<std::pair<int, int>>& cells, const SlowOptions& o)
{
    const double n = static_cast<double>(cells.size());
    double mr = 0, mc = 0;
    for (const auto& [r, c] : cells) {
        mr += r;
        mc += c;
    }
    mr /= n;
    mc /= n;
    auto meanDistance = [&](double cr, double cc) {
        double sum = 0;
        for (const auto& [r, c] : cells)
            sum += std::hypot((r - cr) * o.cellSize, (c - cc) * o.cellSize);
        return sum / n;
    };
    if (!o.cellCenter)
        return meanDistance(mr, mc);
    // The centroid moved to the cell nearest to it; ties (to six significant digits) are
    // all taken and their mean distances averaged.
    double nearest = INFINITY;
    for (const auto& [r, c] : cells)
        nearest = std::min(nearest, signif6(std::hypot((r - mr) * o.cellSize, (c - mc) * o.cellSize)));
    double sum = 0;
    int ties = 0;
    for (const auto& [r, c] : cells)
        if (signif6(std::hypot((r - mr) * o.cellSize, (c - mc) * o.cellSize)) == nearest) {
            sum += meanDistance(r, c);
            ++ties;
        }
    return sum / ties;
}

std::vector<PatchValues> patchValues(const SlowGrid& g, const SlowOptions& o, const SlowPatches& p)
{
    const std::vector<char> edge = edgeCells(g, o, p);
    const std::vector<int> ncore = coreAreaCounts(g, o, p, edge);
    const double cellHa = o.cellSize * o.cellSize / 10000.0;
    std::map<int, int> patchesOfClass;
    for (int k : p.patchClass)
        ++patchesOfClass[k];
    std::vector<PatchValues> out;
    for (std::size_t k = 0; k < p.cells.size(); ++k) {
        const auto& cells = p.cells[k];
        const int id = static_cast<int>(k);
        auto inPatch = [&](int r, int c) { return slowInside(g, o, r, c) && p.id[static_cast<std::size_t>(r * g.cols + c)] == id; };
        PatchValues v;
        v.cls = p.patchClass[k];
        v.cells = static_cast<double>(cells.size());
        v.area = v.cells * cellHa;
        double sides = 0, coreCells = 0, rookPairs = 0, diagonalPairs = 0;
        for (const auto& [r, c] : cells) {
            if (!edge[static_cast<std::size_t>(r * g.cols + c)])
                ++coreCells;
            for (const auto& d : kRook)
                (inPatch(r + d[0], c + d[1]) ? rookPairs : sides) += 1;
            for (const auto& d : kDiagonal)
                if (inPatch(r + d[0], c + d[1]))
                    ++diagonalPairs;
        }
        v.perim = sides * o.cellSize;
        v.core = coreCells * cellHa;
        v.ncore = ncore[k];
        // Template 1 for the cell, 2 per rook and 1 per diagonal neighbour of the same patch;
        // pairs are seen from both cells.
        v.contig = ((v.cells + 2 * rookPairs + diagonalPairs) / v.cells - 1) / 12;
        v.gyrate = gyrationOf(cells, o);
        const double radius = circleRadiusCells(cells) * o.cellSize;
        v.circle = 1 - v.area * 10000 / (M_PI * radius * radius);
        if (patchesOfClass[v.cls] > 1) {
            double nearest = INFINITY;
            for (std::size_t m = 0; m < p.cells.size(); ++m) {
                if (m == k || p.patchClass[m] != v.cls)
                    continue;
                for (const auto& [r, c] : cells)
                    for (const auto& [r2, c2] : p.cells[m])
                        nearest = std::min(nearest, std::hypot((r - r2) * o.cellSize, (c - c2) * o.cellSize));
            }
            v.enn = nearest;
        }
        out.push_back(v);
    }
    return out;
}

// R's mean, sd (divisor n - 1) and sd / mean * 100; NA in, NA out.
struct Summary {
    std::optional<double> mn, sd, cv;
};

Summary summarise(const std::vector<std::optional<double>>& xs)
{
    Summary s;
    for (const auto& x : xs)
        if (!x)
            return s;
    const double n = static_cast<double>(xs.size());
    double mean = 0;
    for (const auto& x : xs)
        mean += *x;
    mean /= n;
    s.mn = mean;
    if (xs.size() < 2)
        return s;
    double ss = 0;
    for (const auto& x : xs)
        ss += (*x - mean) * (*x - mean);
    s.sd = std::sqrt(ss / (n - 1));
    const double cv = *s.sd / mean * 100;
    if (!std::isnan(cv))
        s.cv = cv;
    return s;
}

// 2 / slope of the least-squares line of ln(area) on ln(perimeter); NA under ten patches or
// when every perimeter is the same.
std::optional<double> paFractal(const std::vector<const PatchValues*>& ps)
{
    if (ps.size() < 10)
        return std::nullopt;
    const double n = static_cast<double>(ps.size());
    double mx = 0, my = 0;
    for (const PatchValues* v : ps) {
        mx += std::log(v->perim);
        my += std::log(v->area * 10000);
    }
    mx /= n;
    my /= n;
    double sxx = 0, sxy = 0;
    for (const PatchValues* v : ps) {
        const double dx = std::log(v->perim) - mx;
        sxx += dx * dx;
        sxy += dx * (std::log(v->area * 10000) - my);
    }
    // lm() drops a predictor its QR finds constant (tolerance 1e-7): the slope is then NA.
    double sumSquares = 0;
    for (const PatchValues* v : ps)
        sumSquares += std::log(v->perim) * std::log(v->perim);
    if (std::sqrt(sxx) < 1e-7 * std::sqrt(sumSquares))
        return std::nullopt;
    return 2 / (sxy / sxx);
}

using Field = double PatchValues::*;

const std::vector<std::pair<std::string, Field>>& familyFields()
{
    static const std::vector<std::pair<std::string, Field>> fields{
        {"area", &PatchValues::area},     {"cai", nullptr},   {"circle", &PatchValues::circle},
        {"contig", &PatchValues::contig}, {"core", &PatchValues::core}, {"dcore", &PatchValues::ncore},
        {"enn", nullptr},                 {"frac", nullptr},  {"gyrate", &PatchValues::gyrate},
        {"para", nullptr},                {"shape", nullptr},
    };
    return fields;
}

std::map<std::string, std::optional<double>> patchMetrics(const PatchValues& v)
{
    const double areaM2 = v.area * 10000;
    double frac = 2 * std::log(0.25 * v.perim) / std::log(areaM2);
    if (std::isnan(frac))
        frac = 1;  // one cell of 1 m²: 0 / 0
    return {
        {"area", v.area},
        {"cai", v.core / v.area * 100},
        {"circle", v.circle},
        {"contig", v.contig},
        {"core", v.core},
        {"enn", v.enn},
        {"frac", frac},
        {"gyrate", v.gyrate},
        {"ncore", v.ncore},
        {"para", v.perim / areaM2},
        {"perim", v.perim},
        {"shape", 0.25 * v.perim / std::sqrt(areaM2)},
    };
}

void addLevel(std::vector<SlowRow>& rows, const std::string& level, int cls, const std::vector<const PatchValues*>& ps,
              double totalArea)
{
    std::vector<std::map<std::string, std::optional<double>>> metrics;
    for (const PatchValues* v : ps)
        metrics.push_back(patchMetrics(*v));
    for (const auto& [name, field] : familyFields()) {
        std::vector<std::optional<double>> xs;
        for (std::size_t i = 0; i < ps.size(); ++i)
            xs.push_back(field ? std::optional<double>(ps[i]->*field) : metrics[i].at(name));
        const Summary s = summarise(xs);
        rows.push_back({level, cls, 0, name + "_mn", s.mn});
        rows.push_back({level, cls, 0, name + "_sd", s.sd});
        rows.push_back({level, cls, 0, name + "_cv", s.cv});
    }
    double core = 0, ncore = 0, area = 0, gyrateArea = 0;
    for (const PatchValues* v : ps) {
        core += v->core;
        ncore += v->ncore;
        area += v->area;
        gyrateArea += v->gyrate * v->area;
    }
    rows.push_back({level, cls, 0, "tca", core});
    rows.push_back({level, cls, 0, "ndca", ncore});
    rows.push_back({level, cls, 0, "dcad", ncore / totalArea * 100});
    rows.push_back({level, cls, 0, "pafrac", paFractal(ps)});
    if (level == "class") {
        rows.push_back({level, cls, 0, "cpland", core / totalArea * 100});
        rows.push_back({level, cls, 0, "gyrate_am", gyrateArea / area});
    }
}

}  // namespace

std::vector<SlowRow> slowPatchFamilies(const SlowGrid& g, const SlowOptions& o)
{
    const SlowPatches p = slowPatches(g, o);
    const std::vector<PatchValues> values = patchValues(g, o, p);
    std::vector<SlowRow> rows;
    if (values.empty())
        return rows;
    double totalArea = 0;
    for (const PatchValues& v : values)
        totalArea += v.area;
    for (std::size_t k = 0; k < values.size(); ++k)
        for (const auto& [name, value] : patchMetrics(values[k]))
            rows.push_back({"patch", values[k].cls, static_cast<int>(k) + 1, name, value});
    std::set<int> classes(p.patchClass.begin(), p.patchClass.end());
    for (int cls : classes) {
        std::vector<const PatchValues*> ps;
        for (const PatchValues& v : values)
            if (v.cls == cls)
                ps.push_back(&v);
        addLevel(rows, "class", cls, ps, totalArea);
    }
    std::vector<const PatchValues*> all;
    for (const PatchValues& v : values)
        all.push_back(&v);
    addLevel(rows, "landscape", 0, all, totalArea);
    return rows;
}

}  // namespace orvalis::test

#ifndef ORVALIS_SLOW_ONLY  // the tests; a benchmark takes the recomputation alone

// Against landscapemetrics' own values on the reference grids.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <tuple>

namespace {

using orvalis::test::SlowGrid;
using orvalis::test::SlowOptions;
using orvalis::test::SlowRow;

std::string dataDir()
{
    const char* root = std::getenv("ORVALIS_SOURCE_DIR");
    return std::string(root ? root : ".") + "/tests/data/metrics/";
}

SlowGrid readGrid(const std::string& file)
{
    SlowGrid g;
    std::ifstream in(dataDir() + file);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream row(line);
        int v = 0, n = 0;
        while (row >> v) {
            g.cells.push_back(v);
            ++n;
        }
        if (n == 0)
            continue;
        g.cols = n;
        ++g.rows;
    }
    return g;
}

// level, class, id, metric
using Key = std::tuple<std::string, int, int, std::string>;

struct Reference {
    std::map<std::pair<std::string, int>, std::map<Key, std::optional<double>>> byRun;  // (file, rule)
};

Reference readReference(const std::string& name, const std::set<std::string>& onlyMetrics = {})
{
    Reference ref;
    std::ifstream in(dataDir() + name);
    EXPECT_TRUE(in.good()) << name;
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        std::vector<std::string> f;
        std::stringstream ss(line);
        std::string cell;
        while (std::getline(ss, cell, ','))
            f.push_back(cell);
        if (f.size() == 6)
            f.push_back("");
        if (!onlyMetrics.empty() && !onlyMetrics.count(f[5]))
            continue;
        const int cls = f[3].empty() ? 0 : std::stoi(f[3]);
        const int id = f[4].empty() ? 0 : std::stoi(f[4]);
        std::optional<double> value;
        if (f[6] != "NA")
            value = std::stod(f[6]);
        ref.byRun[{f[0], std::stoi(f[1])}][{f[2], cls, id, f[5]}] = value;
    }
    return ref;
}

std::map<Key, std::optional<double>> run(const std::string& file, int rule, double cellSize)
{
    SlowOptions o;
    o.neighbours = rule;
    o.cellSize = cellSize;
    if (file == "nodata_30x40.txt")
        o.noData = -9999;
    std::map<Key, std::optional<double>> out;
    for (const SlowRow& r : orvalis::test::slowPatchFamilies(readGrid(file), o))
        out[{r.level, r.cls, r.id, r.metric}] = r.value;
    return out;
}

std::string describe(const std::pair<std::string, int>& runKey, const Key& k)
{
    return runKey.first + " rule " + std::to_string(runKey.second) + " " + std::get<0>(k) + " class " +
           std::to_string(std::get<1>(k)) + " id " + std::to_string(std::get<2>(k)) + " " + std::get<3>(k);
}

void expectSame(const std::string& where, const std::optional<double>& got, const std::optional<double>& want)
{
    if (!want) {
        EXPECT_FALSE(got.has_value()) << where << ": want NA, got " << got.value_or(0);
        return;
    }
    ASSERT_TRUE(got.has_value()) << where << ": got NA, want " << *want;
    EXPECT_NEAR(*got, *want, std::max(1e-12, 1e-9 * std::fabs(*want))) << where;
}

// Every value produced has its reference row and agrees with it; every reference row of a
// metric produced at that level is produced. gyrate_am is only in the older reference files.
void compareCatalogue(const std::string& name, double cellSize)
{
    const Reference ref = readReference(name);
    ASSERT_FALSE(ref.byRun.empty());
    for (const auto& [runKey, want] : ref.byRun) {
        const auto got = run(runKey.first, runKey.second, cellSize);
        std::set<std::pair<std::string, std::string>> produced;  // level, metric
        for (const auto& [k, v] : got) {
            produced.insert({std::get<0>(k), std::get<3>(k)});
            if (std::get<3>(k) == "gyrate_am")
                continue;
            const auto it = want.find(k);
            if (it == want.end()) {
                ADD_FAILURE() << describe(runKey, k) << ": not in the reference";
                continue;
            }
            expectSame(describe(runKey, k), v, it->second);
        }
        for (const auto& [k, v] : want) {
            if (produced.count({std::get<0>(k), std::get<3>(k)})) {
                EXPECT_TRUE(got.count(k)) << describe(runKey, k) << ": not produced";
            }
        }
    }
}

void compareGyrateAm(const std::string& name, double cellSize)
{
    const Reference ref = readReference(name, {"gyrate_am"});
    ASSERT_FALSE(ref.byRun.empty());
    for (const auto& [runKey, want] : ref.byRun) {
        const auto got = run(runKey.first, runKey.second, cellSize);
        for (const auto& [k, v] : want) {
            const auto it = got.find(k);
            ASSERT_NE(it, got.end()) << describe(runKey, k) << ": not produced";
            expectSame(describe(runKey, k), it->second, v);
        }
    }
}

TEST(SlowPatchFamilies, CatalogueCellSize1)
{
    compareCatalogue("reference-catalogue.csv", 1.0);
}

TEST(SlowPatchFamilies, CatalogueCellSize30)
{
    compareCatalogue("reference-catalogue-cell30.csv", 30.0);
}

TEST(SlowPatchFamilies, GyrateAreaWeighted)
{
    compareGyrateAm("reference.csv", 1.0);
    compareGyrateAm("reference-cell30.csv", 30.0);
}

// The options the reference files leave at their defaults, on small maps worked by hand.
std::map<Key, std::optional<double>> runGrid(const std::vector<std::string>& lines, const SlowOptions& o)
{
    SlowGrid g;
    for (const std::string& line : lines) {
        for (char ch : line)
            g.cells.push_back(ch - '0');
        g.cols = static_cast<int>(line.size());
        ++g.rows;
    }
    std::map<Key, std::optional<double>> out;
    for (const SlowRow& r : orvalis::test::slowPatchFamilies(g, o))
        out[{r.level, r.cls, r.id, r.metric}] = r.value;
    return out;
}

TEST(SlowPatchFamilies, EdgeDepthAndMapBoundary)
{
    // A 5 x 5 block in the top left corner: rings run in from the other class and, unless the
    // map boundary is ignored, from the map boundary too.
    const std::vector<std::string> map{"111112", "111112", "111112", "111112", "111112", "222222"};
    struct Case {
        int depth;
        bool considerBoundary;
        double coreCells;
    } cases[] = {{1, false, 9}, {2, false, 1}, {3, false, 0}, {1, true, 16}, {2, true, 9}, {5, true, 0}};
    for (const Case& c : cases) {
        SlowOptions o;
        o.edgeDepth = c.depth;
        o.considerBoundary = c.considerBoundary;
        const auto got = runGrid(map, o);
        EXPECT_DOUBLE_EQ(*got.at({"patch", 1, 1, "core"}), c.coreCells / 10000) << c.depth << " " << c.considerBoundary;
        EXPECT_EQ(*got.at({"patch", 1, 1, "ncore"}), c.coreCells > 0 ? 1 : 0) << c.depth << " " << c.considerBoundary;
    }
}

TEST(SlowPatchFamilies, DisjunctCoresFollowThePatchRule)
{
    // Two core cells of the class-1 patch touch only at a corner.
    const std::vector<std::string> map{"222222", "221222", "211122", "221112", "222122", "222222"};
    SlowOptions o;
    o.neighbours = 8;
    EXPECT_EQ(*runGrid(map, o).at({"patch", 1, 1, "ncore"}), 1);
    o.neighbours = 4;
    const auto four = runGrid(map, o);
    EXPECT_EQ(*four.at({"patch", 1, 1, "ncore"}), 2);
    EXPECT_EQ(*four.at({"class", 1, 0, "dcore_mn"}), 2);
    EXPECT_DOUBLE_EQ(*four.at({"patch", 1, 1, "core"}), 2.0 / 10000);
}

TEST(SlowPatchFamilies, GyrateFromTheNearestCell)
{
    // An L: the centroid (0.6, 0.6) is outside; two cells are equally near it and both count.
    const std::vector<std::string> map{"111", "122", "122"};
    SlowOptions o;
    EXPECT_NEAR(*runGrid(map, o).at({"patch", 1, 1, "gyrate"}),
                (std::sqrt(0.72) + 2 * std::sqrt(0.52) + 2 * std::sqrt(2.32)) / 5, 1e-12);
    o.cellCenter = true;
    EXPECT_NEAR(*runGrid(map, o).at({"patch", 1, 1, "gyrate"}), (2 + std::sqrt(2.0) + std::sqrt(5.0)) / 5, 1e-12);
}

}  // namespace

#endif
