// Class- and landscape-level aggregates recomputed the plain way: patches by flood fill, then
// one pass over every cell side. Matches landscapemetrics 2.2.2, including where it pads the map
// and where it lets no-data count as edge.
#include "SlowCatalogue.h"

#ifndef ORVALIS_SLOW_ONLY
#include <gtest/gtest.h>
#endif

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <tuple>

namespace orvalis::test {

namespace {

// Smallest perimeter (in cell sides) n cells can have: FRAGSTATS' min-e.
double minPerimeter(double n)
{
    const double s = std::trunc(std::sqrt(n));
    const double m = n - s * s;
    if (m == 0)
        return 4 * s;
    if (m <= s)
        return 4 * s + 2;
    return 4 * s + 4;
}

// Most like adjacencies (each counted once) n cells can have: FRAGSTATS' max-g_ii.
double maxLikeAdjacencies(double n)
{
    const double s = std::trunc(std::sqrt(n));
    const double m = n - s * s;
    if (m == 0)
        return 2 * s * (s - 1);
    if (m <= s)
        return 2 * s * (s - 1) + 2 * m - 1;
    return 2 * s * (s - 1) + 2 * m - 2;
}

// Shannon entropy of counts (zeros skipped). An all-zero vector gives 0, as landscapemetrics'
// rcpp_get_entropy does (its NaN proportions fail the > 0 test).
double entropy(const std::vector<double>& counts, const std::string& base)
{
    double total = 0;
    for (double x : counts)
        total += x;
    double h = 0;
    for (double x : counts)
        if (total > 0 && x > 0)
            h -= x / total * std::log(x / total);
    if (base == "log2")
        return h / std::log(2.0);
    if (base == "log10")
        return h / std::log(10.0);
    return h;
}

std::optional<double> finite(double x)
{
    if (std::isfinite(x))
        return x;
    return std::nullopt;
}

}  // namespace

std::vector<SlowRow> slowAggregates(const SlowGrid& g, const SlowOptions& o)
{
    const SlowPatches patches = slowPatches(g, o);

    // Cells per class; N cells in the landscape (no-data left out).
    std::map<int, double> cells;
    double N = 0;
    for (int r = 0; r < g.rows; ++r)
        for (int c = 0; c < g.cols; ++c)
            if (slowInside(g, o, r, c)) {
                cells[g.at(r, c)] += 1;
                N += 1;
            }
    std::vector<int> classes;
    for (const auto& [k, n] : cells)
        classes.push_back(k);
    const double m = static_cast<double>(classes.size());

    // Every side of every landscape cell, seen from that cell: so a side between two landscape
    // cells is met twice (once from each), a side on the map boundary or facing no-data once.
    std::map<int, std::map<int, double>> adj;  // adj[i][k]: sides of class-i cells facing class-k cells
    std::map<int, double> boundary;            // sides of class-i cells on the map boundary
    std::map<int, double> facingNoData;        // sides of class-i cells facing no-data
    for (int i : classes)
        for (int k : classes)
            adj[i][k] = 0;
    const int sides[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    for (int r = 0; r < g.rows; ++r)
        for (int c = 0; c < g.cols; ++c) {
            if (!slowInside(g, o, r, c))
                continue;
            const int i = g.at(r, c);
            for (const auto& d : sides) {
                const int rr = r + d[0], cc = c + d[1];
                if (rr < 0 || rr >= g.rows || cc < 0 || cc >= g.cols)
                    boundary[i] += 1;
                else if (!slowInside(g, o, rr, cc))
                    facingNoData[i] += 1;
                else
                    adj[i][g.at(rr, cc)] += 1;
            }
        }

    // Per patch: cells and perimeter in sides (everything that is not the patch counts, the
    // map boundary and no-data included; same-class sides never leave a patch).
    const std::size_t P = patches.cells.size();
    std::vector<double> patchCells(P), patchPerim(P);
    for (std::size_t p = 0; p < P; ++p) {
        patchCells[p] = static_cast<double>(patches.cells[p].size());
        for (const auto& [r, c] : patches.cells[p])
            for (const auto& d : sides) {
                const int rr = r + d[0], cc = c + d[1];
                if (!slowInside(g, o, rr, cc) || g.at(rr, cc) != patches.patchClass[p])
                    patchPerim[p] += 1;
            }
    }

    const double cs = o.cellSize;
    const double cellHa = cs * cs / 10000;
    const double A = N * cellHa;  // ha

    std::vector<SlowRow> rows;
    auto add = [&](const std::string& level, int cls, const std::string& metric, std::optional<double> v) {
        rows.push_back(SlowRow{level, cls, 0, metric, v});
    };

    // Nothing but no-data: landscapemetrics answers NA throughout.
    if (N == 0) {
        for (const char* metric : {"ai", "cohesion", "condent", "contag", "division", "ed", "ent", "iji", "joinent",
                                   "lpi", "lsi", "mesh", "msidi", "msiei", "mutinf", "np", "pd", "pladj", "pr", "prd",
                                   "relmutinf", "rpr", "shdi", "shei", "sidi", "siei", "split", "ta", "te"})
            add("landscape", 0, metric, std::nullopt);
        return rows;
    }

    double landscapeAi = 0;
    for (int i : classes) {
        const double n = cells[i];
        double unlike = 0;
        for (int k : classes)
            if (k != i)
                unlike += adj[i][k];
        const double like = adj[i][i];  // double counted
        const double outer = boundary[i] + facingNoData[i];

        double np = 0, sumA = 0, sumA2 = 0, maxA = 0, sumP = 0, sumPsqrtA = 0;
        bool spans = false;
        for (std::size_t p = 0; p < P; ++p) {
            if (patches.patchClass[p] != i)
                continue;
            np += 1;
            sumA += patchCells[p];
            sumA2 += patchCells[p] * patchCells[p];
            maxA = std::max(maxA, patchCells[p]);
            sumP += patchPerim[p];
            sumPsqrtA += patchPerim[p] * std::sqrt(patchCells[p]);
            bool top = false, bottom = false, left = false, right = false;
            for (const auto& [r, c] : patches.cells[p]) {
                top = top || r == 0;
                bottom = bottom || r == g.rows - 1;
                left = left || c == 0;
                right = right || c == g.cols - 1;
            }
            spans = spans || (top && bottom) || (left && right);
        }

        add("class", i, "ca", n * cellHa);
        add("class", i, "pland", n / N * 100);
        add("class", i, "np", np);
        add("class", i, "pd", np / A * 100);
        add("class", i, "lpi", maxA / N * 100);

        // Edge: the map boundary and no-data only with countBoundary.
        const double te = (unlike + (o.countBoundary ? outer : 0)) * cs;
        add("class", i, "te", te);
        add("class", i, "ed", te / A);

        // lsi and nlsi always pad: boundary and no-data are edge.
        const double perim = unlike + outer;
        const double minP = minPerimeter(n);
        add("class", i, "lsi", perim / minP);
        const double pi = n / N;
        const double B = 2.0 * g.rows + 2.0 * g.cols;  // cells on the map boundary, no-data or not
        const double cut = (0.5 * N + 0.5 * B) / N;
        double maxP = 0;
        if (pi <= 0.5)
            maxP = 4 * n;
        else if (std::fmod(N, 2) == 0 && pi <= cut)
            maxP = 3 * N - 2 * n;
        else if (pi <= cut)
            maxP = 3 * N - 2 * n + 3;
        else
            maxP = perim + 4 * (N - n);
        add("class", i, "nlsi", finite((perim - minP) / (maxP - minP)));

        // pladj: like sides (both ways) over all sides of the class, the map boundary included.
        add("class", i, "pladj", finite(like / (like + unlike + outer) * 100));

        const double maxG = maxLikeAdjacencies(n);
        const std::optional<double> ai = maxG > 0 ? std::optional<double>(like / 2 / maxG * 100) : std::nullopt;
        add("class", i, "ai", ai);
        landscapeAi += ai.value_or(0) * pi;

        const double G = like / (like + unlike + outer - minP);
        const double clumpy = (G < pi && pi < 0.5) ? (G - pi) / pi : (G - pi) / (1 - pi);
        add("class", i, "clumpy", n == 1 || pi == 1 ? std::nullopt : finite(clumpy));

        add("class", i, "cohesion", finite((1 - sumP / sumPsqrtA) / (1 - 1 / std::sqrt(N)) * 100));
        add("class", i, "mesh", sumA2 / N * cellHa);
        add("class", i, "division", 1 - sumA2 / (N * N));
        add("class", i, "split", N * N / sumA2);

        std::optional<double> iji;
        if (m >= 3) {
            double h = 0;
            for (int k : classes)
                if (k != i && adj[i][k] > 0)
                    h -= adj[i][k] / unlike * std::log(adj[i][k] / unlike);
            iji = h / std::log(m - 1) * 100;
        }
        add("class", i, "iji", iji);
        add("class", i, "spanning", spans ? 1.0 : 0.0);
    }

    // Landscape level.
    double sumA2 = 0, maxA = 0, sumP = 0, sumPsqrtA = 0;
    for (std::size_t p = 0; p < P; ++p) {
        sumA2 += patchCells[p] * patchCells[p];
        maxA = std::max(maxA, patchCells[p]);
        sumP += patchPerim[p];
        sumPsqrtA += patchPerim[p] * std::sqrt(patchCells[p]);
    }
    double unlikeOnce = 0, likeBoth = 0, outer = 0, boundarySides = 0;
    for (int i : classes) {
        for (int k : classes)
            if (k > i)
                unlikeOnce += adj[i][k];
        likeBoth += adj[i][i];
        outer += boundary[i] + facingNoData[i];
        boundarySides += boundary[i];
    }
    const double np = static_cast<double>(P);
    add("landscape", 0, "ta", A);
    add("landscape", 0, "np", np);
    add("landscape", 0, "pd", np / A * 100);
    add("landscape", 0, "lpi", maxA / N * 100);
    const double te = (unlikeOnce + (o.countBoundary ? outer : 0)) * cs;
    add("landscape", 0, "te", te);
    add("landscape", 0, "ed", te / A);
    add("landscape", 0, "lsi", finite((unlikeOnce + outer) / minPerimeter(N)));
    // No-data sides are neither like nor counted; boundary sides are.
    add("landscape", 0, "pladj", finite(likeBoth / (likeBoth + 2 * unlikeOnce + boundarySides) * 100));
    add("landscape", 0, "ai", landscapeAi);
    add("landscape", 0, "cohesion", finite((1 - sumP / sumPsqrtA) / (1 - 1 / std::sqrt(N)) * 100));
    add("landscape", 0, "mesh", sumA2 / N * cellHa);
    add("landscape", 0, "division", 1 - sumA2 / (N * N));
    add("landscape", 0, "split", N * N / sumA2);

    // Composition.
    double shdi = 0, simpson = 0;
    for (int i : classes) {
        const double p = cells[i] / N;
        shdi -= p * std::log(p);
        simpson += p * p;
    }
    add("landscape", 0, "pr", m);
    add("landscape", 0, "prd", m / A * 100);
    add("landscape", 0, "rpr", o.classesMax ? std::optional<double>(m / *o.classesMax * 100) : std::nullopt);
    add("landscape", 0, "shdi", shdi);
    add("landscape", 0, "shei", m == 1 ? 0.0 : shdi / std::log(m));
    add("landscape", 0, "sidi", 1 - simpson);
    add("landscape", 0, "siei", finite((1 - simpson) / (1 - 1 / m)));
    add("landscape", 0, "msidi", -std::log(simpson));
    add("landscape", 0, "msiei", finite(-std::log(simpson) / std::log(m)));

    // Configuration: the 4-neighbour co-occurrence matrix, both ways, no boundary.
    std::optional<double> contag;
    if (m >= 2) {
        double total = 0;
        for (int i : classes)
            for (int k : classes)
                total += adj[i][k];
        double s = 0;
        for (int i : classes)
            for (int k : classes)
                if (adj[i][k] > 0)
                    s += adj[i][k] / total * std::log(adj[i][k] / total);
        contag = finite((1 + s / (2 * std::log(m))) * 100);
    }
    add("landscape", 0, "contag", contag);

    std::optional<double> iji;
    if (m >= 3) {
        double h = 0;
        for (int i : classes)
            for (int k : classes)
                if (k > i && adj[i][k] > 0)
                    h -= adj[i][k] / unlikeOnce * std::log(adj[i][k] / unlikeOnce);
        iji = h / std::log(m * (m - 1) / 2) * 100;
    }
    add("landscape", 0, "iji", iji);

    std::vector<double> columnSums, pairs;
    for (int k : classes) {
        double s = 0;
        for (int i : classes) {
            s += adj[i][k];
            pairs.push_back(adj[i][k]);
        }
        columnSums.push_back(s);
    }
    // ent is the entropy of the column sums (4 n_k less the sides off the map or on no-data),
    // not of the cell counts: landscapemetrics takes it from the co-occurrence matrix.
    const double comp = entropy(columnSums, o.base);
    const double cplx = entropy(pairs, o.base);
    const double mutinf = comp - (cplx - comp);
    add("landscape", 0, "ent", comp);
    add("landscape", 0, "joinent", cplx);
    add("landscape", 0, "condent", cplx - comp);
    add("landscape", 0, "mutinf", mutinf);
    add("landscape", 0, "relmutinf", mutinf == 0 ? 1.0 : mutinf / comp);
    return rows;
}

}  // namespace orvalis::test

#ifndef ORVALIS_SLOW_ONLY  // the tests; a benchmark takes the recomputation alone

// ---------------------------------------------------------------------------------------------

namespace {

using orvalis::test::SlowGrid;
using orvalis::test::SlowOptions;
using orvalis::test::SlowRow;

std::string dataDir()
{
    const char* root = std::getenv("ORVALIS_SOURCE_DIR");
    return std::string(root ? root : ".") + "/tests/data/metrics/";
}

SlowGrid readGrid(const std::string& path)
{
    std::ifstream in(path);
    SlowGrid g;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream s(line);
        int v = 0, n = 0;
        while (s >> v) {
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

SlowGrid parse(std::vector<std::string> lines)
{
    SlowGrid g;
    for (const std::string& line : lines) {
        g.cols = 0;
        for (char ch : line) {
            g.cells.push_back(ch - '0');
            ++g.cols;
        }
        ++g.rows;
    }
    return g;
}

std::optional<double> valueOf(const std::vector<SlowRow>& rows, const std::string& level, int cls, const std::string& metric)
{
    for (const SlowRow& r : rows)
        if (r.level == level && r.cls == cls && r.metric == metric)
            return r.value;
    ADD_FAILURE() << "no " << level << " " << cls << " " << metric;
    return std::nullopt;
}

// A number where one is expected; NaN (failing any comparison) when missing or NA.
double num(const std::vector<SlowRow>& rows, const std::string& level, int cls, const std::string& metric)
{
    return valueOf(rows, level, cls, metric).value_or(std::nan(""));
}

const std::set<std::string> classMetrics{"ai", "ca", "clumpy", "cohesion", "division", "ed", "iji", "lpi", "lsi",
                                         "mesh", "nlsi", "np", "pd", "pladj", "pland", "split", "te"};
const std::set<std::string> landscapeMetrics{"ai", "cohesion", "condent", "contag", "division", "ed", "ent", "iji",
                                             "joinent", "lpi", "lsi", "mesh", "msidi", "msiei", "mutinf", "np",
                                             "pd", "pladj", "pr", "prd", "relmutinf", "rpr", "shdi", "shei",
                                             "sidi", "siei", "split", "ta", "te"};

// Every reference row of these metrics, for every grid and neighbour rule of the file; returns
// how many rows were compared.
int checkAgainst(const std::string& csv, double cellSize)
{
    std::ifstream in(dataDir() + csv);
    EXPECT_TRUE(in) << dataDir() + csv;
    // (file, neighbours) -> reference rows
    std::map<std::pair<std::string, int>, std::vector<std::vector<std::string>>> groups;
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        std::vector<std::string> f;
        std::istringstream s(line);
        std::string x;
        while (std::getline(s, x, ','))
            f.push_back(x);
        if (f.size() == 6)
            f.push_back("");
        EXPECT_EQ(f.size(), 7u) << line;
        if (f.size() != 7)
            continue;
        const bool mine = (f[2] == "class" && classMetrics.count(f[5])) || (f[2] == "landscape" && landscapeMetrics.count(f[5]));
        if (mine)
            groups[{f[0], std::stoi(f[1])}].push_back(f);
    }
    int compared = 0;
    for (const auto& [key, ref] : groups) {
        SlowOptions o;
        o.neighbours = key.second;
        o.cellSize = cellSize;
        if (key.first == "nodata_30x40.txt")
            o.noData = -9999;
        const SlowGrid g = readGrid(dataDir() + key.first);
        EXPECT_GT(g.rows, 0) << key.first;
        if (g.rows == 0)
            continue;
        std::map<std::tuple<std::string, int, std::string>, std::optional<double>> byKey;
        for (const SlowRow& r : orvalis::test::slowAggregates(g, o))
            byKey[{r.level, r.cls, r.metric}] = r.value;
        for (const auto& f : ref) {
            const std::string where = key.first + " n" + f[1] + " " + f[2] + " " + f[3] + " " + f[5] + ": ";
            const auto it = byKey.find({f[2], f[3].empty() ? 0 : std::stoi(f[3]), f[5]});
            if (it == byKey.end()) {
                ADD_FAILURE() << where << "not produced";
                continue;
            }
            ++compared;
            if (f[6] == "NA") {
                EXPECT_FALSE(it->second.has_value()) << where << "want NA, got " << it->second.value_or(0);
                continue;
            }
            EXPECT_TRUE(it->second.has_value()) << where << "want " << f[6] << ", got NA";
            if (!it->second)
                continue;
            const double want = std::stod(f[6]);
            EXPECT_NEAR(*it->second, want, std::max(1e-12, 1e-9 * std::fabs(want))) << where;
        }
    }
    return compared;
}

TEST(SlowAggregates, AgreesWithLandscapemetricsCatalogue)
{
    EXPECT_GT(checkAgainst("reference-catalogue.csv", 1.0), 1000);
    EXPECT_GT(checkAgainst("reference-catalogue-cell30.csv", 30.0), 100);
}

TEST(SlowAggregates, SpanningNeedsOnePatchAcrossTheMap)
{
    // A diagonal joins only under the 8 rule, and then so do the two triangles around it.
    const SlowGrid diagonal = parse({"1000", "0100", "0010", "0001"});
    // A band spans left to right; corner cells and an edge-hugging pair do not.
    const SlowGrid band = parse({"200", "111", "002"});
    for (int rule : {4, 8}) {
        SlowOptions o;
        o.neighbours = rule;
        const auto d = orvalis::test::slowAggregates(diagonal, o);
        EXPECT_EQ(valueOf(d, "class", 1, "spanning"), rule == 8 ? 1.0 : 0.0) << rule;
        EXPECT_EQ(valueOf(d, "class", 0, "spanning"), rule == 8 ? 1.0 : 0.0) << rule;
        const auto b = orvalis::test::slowAggregates(band, o);
        EXPECT_EQ(valueOf(b, "class", 1, "spanning"), 1.0) << rule;
        EXPECT_EQ(valueOf(b, "class", 0, "spanning"), 0.0) << rule;
        EXPECT_EQ(valueOf(b, "class", 2, "spanning"), 0.0) << rule;
    }
}

TEST(SlowAggregates, CountBoundaryAddsMapEdgeAndNoDataSidesToEdgeOnly)
{
    // 9 is no-data. Unlike sides: 3. Class 0 has 5 sides on the map edge; class 1 has 5 there
    // and 2 facing no-data.
    const SlowGrid g = parse({"0019", "0111"});
    SlowOptions o;
    o.noData = 9;
    o.cellSize = 10;
    const auto without = orvalis::test::slowAggregates(g, o);
    o.countBoundary = true;
    const auto with = orvalis::test::slowAggregates(g, o);
    const double A = 7 * 100 / 10000.0;
    struct Case {
        std::string level;
        int cls;
        double sidesWithout, sidesWith;
    };
    for (const Case& c : {Case{"class", 0, 3, 8}, Case{"class", 1, 3, 10}, Case{"landscape", 0, 3, 15}}) {
        EXPECT_DOUBLE_EQ(num(without, c.level, c.cls, "te"), c.sidesWithout * 10) << c.level << c.cls;
        EXPECT_DOUBLE_EQ(num(with, c.level, c.cls, "te"), c.sidesWith * 10) << c.level << c.cls;
        EXPECT_DOUBLE_EQ(num(with, c.level, c.cls, "ed"), c.sidesWith * 10 / A) << c.level << c.cls;
        // lsi pads the map whatever countBoundary says.
        EXPECT_EQ(valueOf(without, c.level, c.cls, "lsi"), valueOf(with, c.level, c.cls, "lsi")) << c.level << c.cls;
    }
}

TEST(SlowAggregates, BaseScalesInformationMetricsButNotShdi)
{
    const SlowGrid g = parse({"0012", "0112", "2211", "0221"});
    SlowOptions o;
    const auto log2 = orvalis::test::slowAggregates(g, o);
    for (const auto& [base, factor] : {std::pair<std::string, double>{"log", std::log(2.0)}, {"log10", std::log10(2.0)}}) {
        o.base = base;
        const auto other = orvalis::test::slowAggregates(g, o);
        for (const char* m : {"ent", "condent", "joinent", "mutinf"}) {
            EXPECT_GT(num(log2, "landscape", 0, m), 0.0) << m;
            EXPECT_NEAR(num(other, "landscape", 0, m), num(log2, "landscape", 0, m) * factor, 1e-12) << base << m;
        }
        for (const char* m : {"relmutinf", "shdi", "contag"})
            EXPECT_NEAR(num(other, "landscape", 0, m), num(log2, "landscape", 0, m), 1e-12) << base << m;
    }
}

TEST(SlowAggregates, RelativeRichnessNeedsClassesMax)
{
    const SlowGrid g = parse({"0012", "0112"});
    SlowOptions o;
    EXPECT_FALSE(valueOf(orvalis::test::slowAggregates(g, o), "landscape", 0, "rpr").has_value());
    o.classesMax = 5;
    EXPECT_DOUBLE_EQ(num(orvalis::test::slowAggregates(g, o), "landscape", 0, "rpr"), 60.0);
}

}  // namespace

#endif
