#include "core/compare/CompareRun.h"
#include "core/compare/ReplicateRandom.h"
#include "core/neutral/MidpointSurface.h"
#include "core/io/LandscapeFile.h"
#include "core/io/LandscapeWriter.h"
#include "core/io/NumberText.h"
#include "support/TempDir.h"
#include "support/TestMaps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>

namespace orvalis {
namespace {

using test::TempDir;

// Plain CSV fields: the tests' file names hold no commas or quotes.
std::vector<std::vector<std::string>> csvRows(const std::string& text)
{
    std::vector<std::vector<std::string>> rows;
    std::istringstream in(text);
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        std::vector<std::string>& row = rows.emplace_back();
        std::istringstream fields(line);
        std::string f;
        while (std::getline(fields, f, ','))
            row.push_back(f);
        if (!line.empty() && line.back() == ',')
            row.emplace_back();
    }
    return rows;
}

// A window of rows x cols with `habitat` cells of 1 among 0s and 7s (another class the run folds into matrix).
std::string writeWindow(const TempDir& dir, const std::string& name, int rows, int cols, std::int64_t habitat)
{
    LandscapeGrid grid(static_cast<std::size_t>(rows), std::vector<int>(static_cast<std::size_t>(cols), 0));
    std::int64_t placed = 0;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            const bool h = placed < habitat && (r * 7 + c * 3) % 5 != 0;
            grid[r][c] = h ? 1 : (c % 3 == 0 ? 7 : 0);
            placed += h;
        }
    for (int r = rows - 1; r >= 0 && placed < habitat; --r)
        for (int c = cols - 1; c >= 0 && placed < habitat; --c)
            if (grid[r][c] != 1) {
                grid[r][c] = 1;
                ++placed;
            }
    const std::string path = dir.file(name);
    EXPECT_TRUE(writeLandscapeFile(path, grid));
    return path;
}

CompareParameters smallRun(const std::vector<std::string>& files, const std::filesystem::path& output)
{
    CompareParameters p;
    p.files = files;
    p.models = {*NeutralModel::parse("random"), *NeutralModel::parse("fractal:0.5")};
    p.replicates = 5;
    p.seed = 11;
    p.output = output;
    p.jobs = 2;
    return p;
}

RunResult run(const CompareParameters& p)
{
    RunControl control;
    return runCompare(p, control);
}

std::string tables(const std::filesystem::path& folder)
{
    std::string all;
    for (const char* name : {"neutral-metrics.csv", "compare.csv", "windows.csv", "compare-run.txt"})
        all += std::string("== ") + name + "\n" + test::readFile((folder / name).string());
    return all;
}

TEST(NeutralLandscape, HoldsExactlyTheHabitatCountOfItsWindow)
{
    struct Case {
        int rows, cols;
        std::int64_t habitat;
    };
    const Case cases[] = {{1, 1, 0}, {1, 1, 1}, {10, 10, 0}, {10, 10, 100}, {10, 10, 1}, {10, 10, 99},
                          {10, 10, 50}, {7, 23, 80}, {23, 7, 1}, {1, 40, 39}, {33, 17, 300}, {64, 64, 2048}};
    for (const NeutralModel& model : {*NeutralModel::parse("random"), *NeutralModel::parse("fractal:0.2"),
                                      *NeutralModel::parse("fractal:1"), *NeutralModel::parse("0.3*fbm:h=0.8+0.7*planar")})
        for (const Case& c : cases)
            for (int k = 0; k < 3; ++k) {
                SCOPED_TRACE(model.name() + " " + std::to_string(c.rows) + "x" + std::to_string(c.cols) + " h " +
                             std::to_string(c.habitat));
                const std::vector<int> cells = neutralLandscape(model, 3, 4, 1, k, c.rows, c.cols, c.habitat, 9, 2);
                ASSERT_EQ(cells.size(), static_cast<std::size_t>(c.rows * c.cols));
                EXPECT_EQ(std::count(cells.begin(), cells.end(), 9), c.habitat);
                EXPECT_EQ(std::count(cells.begin(), cells.end(), 2), c.rows * c.cols - c.habitat);
            }
}

// The fractal cut against its definition: rank every (value, cell) pair, highest value first, earlier cell first.
TEST(NeutralLandscape, FractalHabitatIsTheHighestRankedCells)
{
    for (int size : {1, 5, 16, 37})
        for (double H : {0.1, 1.0}) {
            MidpointSurface surface;
            ASSERT_TRUE(surface.generateSurface(H, size, surfaceLevelsFor(size), size * 7));
            const int rows = size, cols = std::max(1, size - 3);
            std::vector<std::pair<double, int>> ranked;
            for (int r = 0; r < rows; ++r)
                for (int c = 0; c < cols; ++c)
                    ranked.emplace_back(-surface.at(r, c), r * cols + c);
            std::sort(ranked.begin(), ranked.end());
            for (std::int64_t h : {std::int64_t{1}, std::int64_t{rows * cols / 3}, std::int64_t{rows * cols}}) {
                std::vector<int> expected(static_cast<std::size_t>(rows * cols), 0);
                for (std::int64_t i = 0; i < h; ++i)
                    expected[static_cast<std::size_t>(ranked[static_cast<std::size_t>(i)].second)] = 1;
                std::vector<int> cells(expected.size());
                placeSurfaceHabitat(cells, rows, cols, surface, h, 1, 0);
                EXPECT_EQ(cells, expected) << size << " " << H << " " << h;
            }
        }
}

TEST(NeutralModel, NamesReadBackAndHOutsideItsRangeIsRefused)
{
    for (const char* name : {"random", "fractal:0.2", "fractal:1", "fractal:0.05", "0.5*fbm:h=0.8+0.5*planar"})
        EXPECT_EQ(NeutralModel::parse(name)->name(), name);
    for (const char* bad : {"fractal:0", "fractal:1.5", "fractal:-0.2", "fractal:", "fractal:x", "fbm", "0.5*nope+planar",
                            "x*planar"}) {
        std::string why;
        EXPECT_FALSE(NeutralModel::parse(bad, &why)) << bad;
        EXPECT_FALSE(why.empty());
    }
}

TEST(CompareRun, SameBytesWhateverTheJobsAndAnyReplicateMadeAlone)
{
    TempDir dir;
    const std::vector<std::string> files = {writeWindow(dir, "a.txt", 12, 12, 40), writeWindow(dir, "b.txt", 9, 15, 90)};
    std::filesystem::create_directories(dir.path() / "one");
    std::filesystem::create_directories(dir.path() / "two");
    CompareParameters p = smallRun(files, dir.path() / "one");
    p.jobs = 1;
    p.keepLandscapes = true;
    ASSERT_EQ(run(p).status, RunStatus::Completed);
    p.jobs = 2;
    p.keepLandscapes = false;
    p.output = dir.path() / "two";
    ASSERT_EQ(run(p).status, RunStatus::Completed);
    EXPECT_EQ(tables(dir.path() / "one"), tables(dir.path() / "two"));

    // Replicate 4 of fractal (model 1) for window b (index 1), made on its own.
    const std::vector<int> alone = neutralLandscape(p.models[1], p.seed, 1, 1, 3, 9, 15, 90, 1, 0);
    LandscapeGrid kept;
    ASSERT_TRUE(readLandscapeFile((dir.path() / "one/landscapes/fractal_0.5/b_004.txt").string(), kept).ok);
    std::vector<int> flat;
    for (const auto& line : kept)
        flat.insert(flat.end(), line.begin(), line.end());
    EXPECT_EQ(flat, alone);
}

TEST(CompareRun, ShardsMergeIntoTheSingleRunsTables)
{
    TempDir dir;
    std::vector<std::string> files;
    for (int i = 0; i < 5; ++i)
        files.push_back(writeWindow(dir, "w" + std::to_string(i) + ".txt", 10, 10 + i, 20 * i + 5));
    files.push_back(dir.file("missing.txt"));
    CompareParameters p = smallRun(files, dir.path() / "single");
    std::filesystem::create_directories(p.output);
    EXPECT_EQ(run(p).status, RunStatus::Failed);  // the missing window is named, the others compared
    std::vector<std::filesystem::path> shards;
    for (int k = 3; k >= 1; --k) {
        p.shard = k;
        p.shards = 3;
        p.output = dir.path() / ("shard" + std::to_string(k));
        std::filesystem::create_directories(p.output);
        run(p);
        shards.push_back(p.output);
    }
    std::filesystem::create_directories(dir.path() / "merged");
    const RunResult merged = mergeCompare(shards, dir.path() / "merged");
    EXPECT_EQ(merged.status, RunStatus::Failed) << merged.message;
    EXPECT_EQ(tables(dir.path() / "merged"), tables(dir.path() / "single"));

    std::filesystem::create_directories(dir.path() / "bad");
    EXPECT_EQ(mergeCompare({shards[0], shards[1]}, dir.path() / "bad").status, RunStatus::Refused);
    EXPECT_EQ(mergeCompare({shards[0], shards[1], shards[1]}, dir.path() / "bad").status, RunStatus::Refused);
    p.seed = 12;
    p.output = shards[0];
    run(p);
    const RunResult other = mergeCompare(shards, dir.path() / "bad");
    EXPECT_EQ(other.status, RunStatus::Refused);
    EXPECT_NE(other.message.find("another comparison"), std::string::npos) << other.message;
}

// Type 7 the long way: the sorted values' positions (n - 1) p apart.
double slowQuantile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    const double h = (static_cast<double>(v.size()) - 1) * p;
    const double lo = v[static_cast<std::size_t>(std::floor(h))];
    const double hi = v[static_cast<std::size_t>(std::ceil(h))];
    return lo + (h - std::floor(h)) * (hi - lo);
}

void expectNear(const std::string& written, std::optional<double> expected, const std::string& what)
{
    if (!expected) {
        EXPECT_EQ(written, "NA") << what;
        return;
    }
    ASSERT_NE(written, "NA") << what;
    EXPECT_NEAR(std::stod(written), *expected, 1e-9 * std::max(1.0, std::fabs(*expected))) << what;
}

TEST(CompareRun, SummariesFollowFromTheReplicatesTable)
{
    TempDir dir;
    // Different sizes each get their own replicates; 0 and all habitat leave metrics undefined.
    const std::vector<std::string> files = {writeWindow(dir, "mid.txt", 20, 20, 150), writeWindow(dir, "flat.txt", 8, 30, 0),
                                            writeWindow(dir, "full.txt", 6, 6, 36)};
    CompareParameters p = smallRun(files, dir.path());
    p.replicates = 9;
    ASSERT_EQ(run(p).status, RunStatus::Completed);

    std::map<std::string, std::vector<std::optional<double>>> replicates;  // file model level class metric
    for (const auto& r : csvRows(test::readFile(dir.file("neutral-metrics.csv"))))
        replicates[r[0] + " " + r[1] + " " + r[3] + " " + r[4] + " " + r[6]].push_back(
            r[7] == "NA" ? std::nullopt : std::optional<double>(std::stod(r[7])));
    const auto compare = csvRows(test::readFile(dir.file("compare.csv")));
    ASSERT_FALSE(compare.empty());
    int checked = 0;
    for (const auto& r : compare) {
        const std::string what = r[0] + " " + r[1] + " " + r[2] + " " + r[3] + " " + r[4];
        std::vector<double> v;
        int na = p.replicates;
        for (const auto& x : replicates[what])
            if (x) {
                v.push_back(*x);
                --na;
            }
        EXPECT_EQ(r[6], std::to_string(v.size())) << what;
        EXPECT_EQ(r[7], std::to_string(na)) << what;
        if (v.empty()) {
            for (int f = 8; f < 14; ++f)
                EXPECT_EQ(r[f], "NA") << what;
            continue;
        }
        double mean = 0;
        for (double x : v)
            mean += x / static_cast<double>(v.size());
        double ss = 0;
        for (double x : v)
            ss += (x - mean) * (x - mean);
        const std::optional<double> sd = v.size() > 1 ? std::optional(std::sqrt(ss / (v.size() - 1))) : std::nullopt;
        expectNear(r[8], mean, what + " mean");
        expectNear(r[9], sd, what + " sd");
        expectNear(r[10], slowQuantile(v, 0.025), what + " q2.5");
        expectNear(r[11], slowQuantile(v, 0.975), what + " q97.5");
        if (r[5] == "NA") {
            EXPECT_EQ(r[12], "NA");
            EXPECT_EQ(r[13], "NA");
            continue;
        }
        const double real = std::stod(r[5]);
        double rank = 0;
        for (double x : v)
            rank += x < real ? 1.0 : x == real ? 0.5 : 0.0;
        expectNear(r[12], 100.0 * rank / static_cast<double>(v.size()), what + " percentile");
        expectNear(r[13], sd && *sd > 1e-12 * std::max(1.0, std::fabs(mean)) ? std::optional((real - mean) / *sd) : std::nullopt, what + " z");
        ++checked;
    }
    EXPECT_GT(checked, 20);
    EXPECT_EQ(test::readFile(dir.file("windows.csv")),
              "file,rows,cols,habitat,cover\n" + files[0] + ",20,20,150,37.5\n" + files[1] + ",8,30,0,0\n" + files[2] +
                  ",6,6,36,100\n");
}

// Site percolation on the square lattice: a random habitat spans from one side to the other more
// often than not above p = 0.593 (4 neighbours) or 0.407 (8 neighbours).
TEST(CompareRun, RandomReplicatesPercolateAtTheLatticesThreshold)
{
    TempDir dir;
    struct Case {
        int neighbours;
        double below, above;
    };
    for (const Case& c : {Case{4, 0.55, 0.63}, Case{8, 0.37, 0.45}}) {
        std::vector<std::string> files;
        for (double cover : {c.below, c.above})
            files.push_back(writeWindow(dir, "p" + std::to_string(c.neighbours) + "_" + shortestText(cover) + ".txt", 128,
                                        128, static_cast<std::int64_t>(cover * 128 * 128)));
        const std::filesystem::path out = dir.path() / ("n" + std::to_string(c.neighbours));
        std::filesystem::create_directories(out);
        CompareParameters p = smallRun(files, out);
        p.models = {*NeutralModel::parse("random")};
        p.replicates = 40;
        p.metrics.neighbours = c.neighbours;
        p.metricNames = {"spanning"};
        ASSERT_EQ(run(p).status, RunStatus::Completed);
        std::map<std::string, double> spanning;  // share of replicates whose habitat spans
        for (const auto& r : csvRows(test::readFile((out / "neutral-metrics.csv").string())))
            if (r[3] == "class" && r[4] == "1")
                spanning[r[0]] += std::stod(r[7]) / p.replicates;
        SCOPED_TRACE(c.neighbours);
        EXPECT_LT(spanning[files[0]], 0.5);
        EXPECT_GT(spanning[files[1]], 0.5);
    }
}

TEST(CompareRun, RefusesWhatCannotRun)
{
    TempDir dir;
    const std::string window = writeWindow(dir, "w.txt", 5, 5, 10);
    struct Case {
        const char* name;
        void (*change)(CompareParameters&);
    };
    const Case cases[] = {
        {"no windows", [](CompareParameters& p) { p.files.clear(); }},
        {"unknown metric", [](CompareParameters& p) { p.metricNames = {"pland", "nope"}; }},
        {"H above 1", [](CompareParameters& p) { p.models[1].H = 1.5; }},
        {"shard beyond the count", [](CompareParameters& p) { p.shard = 4, p.shards = 3; }},
        {"one value for both classes", [](CompareParameters& p) { p.matrixValue = p.coverValue; }},
        {"missing output folder", [](CompareParameters& p) { p.output /= "nowhere"; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CompareParameters p = smallRun({window}, dir.path());
        c.change(p);
        const RunResult r = run(p);
        EXPECT_EQ(r.status, RunStatus::Refused);
        EXPECT_FALSE(std::filesystem::exists(dir.file("compare.csv")));
    }
}

TEST(CompareRun, RecordGivesTheCellSizeMeasured)
{
    TempDir dir;
    const auto map = [&](const std::string& name, double side, int epsg) {
        test::TestMap m;
        m.width = m.height = 8;
        m.value = [](int x, int y) { return (x + y) % 3 == 0; };
        m.gt = {500000.0, side, 0.0, 4000000.0, 0.0, -side};
        m.epsg = epsg;
        test::writeMap(dir.file(name), m);
        return dir.file(name);
    };
    const std::string at30 = map("a.tif", 30, test::Epsg), alsoAt30 = map("b.tif", 30, test::Epsg);
    const std::string at242 = map("c.tif", 242.4, test::Epsg), unprojected = map("d.tif", 30, 0);
    const std::string text = writeWindow(dir, "e.txt", 8, 8, 20);
    const struct {
        const char* name;
        std::vector<std::string> files;
        bool given;
        const char* says;
    } cases[] = {
        {"frames of one size", {at30, alsoAt30}, false, "30"},
        {"frames of two sizes", {at30, at242}, false, "per window\nwindow-cell-size 0 30\nwindow-cell-size 1 242.4"},
        {"text grid, nothing given", {text}, false, "2.5 assumed"},
        {"text grid, size given", {text}, true, "2.5"},
        {"no projected frame beside a frame", {unprojected, at30}, true,
         "per window\nwindow-cell-size 0 2.5\nwindow-cell-size 1 30"},
    };
    for (const auto& c : cases) {
        CompareParameters p;
        p.files = c.files;
        p.cellSize = 2.5;
        p.cellSizeKnown = c.given;
        EXPECT_EQ(cellSizeRecord(p), c.says) << c.name;
    }
    // The record of a run says it, and the windows were measured with it (ta in hectares).
    CompareParameters p;
    p.files = {at242};
    p.models = {NeutralModel{}};
    p.replicates = 1;
    p.metricNames = {"ta"};
    p.output = dir.path() / "out";
    std::filesystem::create_directories(p.output);
    RunControl control;
    ASSERT_EQ(runCompare(p, control).status, RunStatus::Completed);
    EXPECT_NE(test::readFile((p.output / "compare-run.txt").string()).find("\ncell-size 242.4\n"), std::string::npos);
    const auto rows = csvRows(test::readFile((p.output / "compare.csv").string()));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_NEAR(std::stod(rows[0][5]), 64 * 242.4 * 242.4 / 10000, 1e-9);
}

}  // namespace
}  // namespace orvalis
