#pragma once
// The whole catalogue recomputed the plain way, cell by cell, straight from the definitions:
// the oracle the engine is checked against on many small grids. Nothing here is fast or shared
// with the engine.
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace orvalis::test {

struct SlowGrid {
    int rows = 0;
    int cols = 0;
    std::vector<int> cells;  // row after row
    int at(int r, int c) const { return cells[static_cast<std::size_t>(r) * static_cast<std::size_t>(cols) + static_cast<std::size_t>(c)]; }
};

struct SlowOptions {
    int neighbours = 8;             // patch rule (landscapemetrics' directions)
    double cellSize = 1.0;          // metres
    std::optional<int> noData;      // cells of this value are outside the landscape
    int edgeDepth = 1;
    bool countBoundary = false;
    bool considerBoundary = false;
    bool cellCenter = false;
    std::optional<int> classesMax;
    std::string base = "log2";      // log2, log or log10
};

// One value: level "patch", "class" or "landscape"; cls the class (patch and class level);
// id the patch id (patch level), numbered as landscapemetrics numbers patches.
struct SlowRow {
    std::string level;
    int cls = 0;
    int id = 0;
    std::string metric;
    std::optional<double> value;  // nullopt: NA
};

// Patches by flood fill. Ids as landscapemetrics numbers them: classes ascending, ids going
// on from one class to the next; within a class in the order their first cell is met going
// down the first column, then down the next.
struct SlowPatches {
    std::vector<int> id;                 // per cell, row after row: patch index (0-based), -1 outside
    std::vector<int> patchClass;         // per patch
    std::vector<std::vector<std::pair<int, int>>> cells;  // per patch: (row, col)
};

inline bool slowInside(const SlowGrid& g, const SlowOptions& o, int r, int c)
{
    return r >= 0 && r < g.rows && c >= 0 && c < g.cols && !(o.noData && g.at(r, c) == *o.noData);
}

inline SlowPatches slowPatches(const SlowGrid& g, const SlowOptions& o)
{
    SlowPatches p;
    p.id.assign(g.cells.size(), -1);
    std::vector<int> classes;
    for (int r = 0; r < g.rows; ++r)
        for (int c = 0; c < g.cols; ++c)
            if (slowInside(g, o, r, c))
                classes.push_back(g.at(r, c));
    std::sort(classes.begin(), classes.end());
    classes.erase(std::unique(classes.begin(), classes.end()), classes.end());
    for (int k : classes)
        for (int c = 0; c < g.cols; ++c)
            for (int r = 0; r < g.rows; ++r) {
                if (!slowInside(g, o, r, c) || g.at(r, c) != k || p.id[static_cast<std::size_t>(r * g.cols + c)] >= 0)
                    continue;
                const int n = static_cast<int>(p.cells.size());
                p.cells.emplace_back();
                p.patchClass.push_back(k);
                std::vector<std::pair<int, int>> stack{{r, c}};
                p.id[static_cast<std::size_t>(r * g.cols + c)] = n;
                while (!stack.empty()) {
                    const auto [cr, cc] = stack.back();
                    stack.pop_back();
                    p.cells[static_cast<std::size_t>(n)].push_back({cr, cc});
                    for (int dr = -1; dr <= 1; ++dr)
                        for (int dc = -1; dc <= 1; ++dc) {
                            if ((dr == 0 && dc == 0) || (o.neighbours == 4 && dr != 0 && dc != 0))
                                continue;
                            const int rr = cr + dr, c2 = cc + dc;
                            if (slowInside(g, o, rr, c2) && g.at(rr, c2) == k && p.id[static_cast<std::size_t>(rr * g.cols + c2)] < 0) {
                                p.id[static_cast<std::size_t>(rr * g.cols + c2)] = n;
                                stack.push_back({rr, c2});
                            }
                        }
                }
            }
    return p;
}

// Patch level (12 metrics), every _mn/_sd/_cv family at class and landscape level, and the
// core-area and fractal metrics of class and landscape level (tca cpland ndca dcad pafrac).
std::vector<SlowRow> slowPatchFamilies(const SlowGrid& g, const SlowOptions& o);

// The rest of the class and landscape levels: area and edge, aggregation, diversity and
// information theory (ca pland np pd te ed lpi lsi nlsi pladj ai clumpy cohesion mesh division
// split iji contag shdi ... relmutinf).
std::vector<SlowRow> slowAggregates(const SlowGrid& g, const SlowOptions& o);

}  // namespace orvalis::test
