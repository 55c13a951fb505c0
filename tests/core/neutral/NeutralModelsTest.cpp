// The models' table: names and values read back, mistakes are named with the range and the
// parameter list, classification at exact counts, the page written from the table, and runs
// that give the same bytes whatever the number of jobs.
#include "core/compare/CompareRun.h"
#include "core/compare/ReplicateRandom.h"
#include "core/neutral/ExactClasses.h"
#include "core/neutral/MidpointSurface.h"
#include "core/neutral/ModelSurfaces.h"
#include "core/neutral/NeutralModels.h"
#include "core/neutral/NeutralRun.h"
#include "core/neutral/SurfaceBlend.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <numbers>
#include <numeric>
#include <sstream>

using namespace orvalis;
using namespace orvalis::test;

namespace {

// Ranks every (value, cell) pair, highest value first and the earlier cell first among equals.
std::vector<int> slowClasses(const std::vector<double>& surface, const std::vector<std::int64_t>& counts,
                             const std::vector<unsigned char>& mask)
{
    std::vector<int> order;
    for (int i = 0; i < static_cast<int>(surface.size()); ++i)
        if (mask.empty() || mask[static_cast<std::size_t>(i)])
            order.push_back(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return surface[static_cast<std::size_t>(a)] > surface[static_cast<std::size_t>(b)];
    });
    std::vector<int> out(surface.size(), -9);
    std::size_t at = 0;
    for (std::size_t cls = counts.size(); cls-- > 0;)
        for (std::int64_t k = 0; k < counts[cls]; ++k)
            out[static_cast<std::size_t>(order[at++])] = static_cast<int>(cls) + 1;
    return out;
}

std::string fileText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

TEST(NeutralModels, EveryModelBuildsTheSameSurfaceFromTheSameState)
{
    for (const NeutralModelDef& d : neutralModels()) {
        std::string text = d.name;
        if (d.parameter("h"))
            text += ":h=0.6";
        std::string why;
        const std::optional<ModelChoice> choice = parseModelChoice(text, &why);
        ASSERT_TRUE(choice) << why;
        EXPECT_EQ(choice->text(), text);
        const bool countsCells =
            std::any_of(d.parameters.begin(), d.parameters.end(), [](const ModelParameter& p) { return p.countsCells; });
        for (const auto& [rows, cols] : {std::pair{1, 1}, std::pair{1, 9}, std::pair{12, 7}}) {
            if (!countsCells || rows * cols >= choice->number("n")) {
                EXPECT_EQ(checkModelSize(*choice, rows, cols), "") << text;
            }
        }
        Surface a, b;
        ReplicateRandom ra(replicateState(4, 2, 0, 1)), rb(replicateState(4, 2, 0, 1));
        ASSERT_TRUE(buildSurface(*choice, 33, 41, ra, a)) << text;
        ASSERT_TRUE(buildSurface(*choice, 33, 41, rb, b)) << text;
        ASSERT_EQ(a.size(), 33u * 41u) << text;
        EXPECT_EQ(a, b) << text;
        EXPECT_TRUE(std::all_of(a.begin(), a.end(), [](double v) { return std::isfinite(v); })) << text;
    }
}

TEST(NeutralModels, ChoicesReadBackAndMistakesNameTheParameterAndItsRange)
{
    for (const char* text : {"cluster:p=0.55:neighbourhood=8", "gaussian:range=20", "fbm:h=0.8", "curds:proportions=0.5/0.5:subdivisions=2/8",
                             "neigh:p_neigh=0.2:categories=5", "planar:direction=45", "bsp:n=3:orientation=vertical"}) {
        std::string why;
        const std::optional<ModelChoice> choice = parseModelChoice(text, &why);
        ASSERT_TRUE(choice) << text << ": " << why;
        EXPECT_EQ(choice->text(), text);
    }
    EXPECT_EQ(parseModelChoice("fractal:0.5")->text(), "fractal:h=0.5");
    // Commas between assignments, and NLMpy's and NLMR's names for a parameter.
    for (const auto& [given, read] : std::vector<std::pair<std::string, std::string>>{
             {"cluster:p=0.55,neighbourhood=8", "cluster:p=0.55:neighbourhood=8"},
             {"wave:period=2,direction=10", "wave:periods=2:direction=10"},
             {"perlin:period=8:octaves=2", "perlin:periods=8:octaves=2"},
             {"neigh:p=0.2,categories=5", "neigh:p_neigh=0.2:categories=5"}}) {
        std::string why;
        const std::optional<ModelChoice> choice = parseModelChoice(given, &why);
        ASSERT_TRUE(choice) << given << ": " << why;
        EXPECT_EQ(choice->text(), read);
    }
    EXPECT_EQ(splitModelList("random,cluster:p=0.55,neighbourhood=8,fractal:0.5,0.5*fbm:h=0.8+0.5*planar,planar"),
              (std::vector<std::string>{"random", "cluster:p=0.55,neighbourhood=8", "fractal:0.5",
                                        "0.5*fbm:h=0.8+0.5*planar", "planar"}));
    struct Bad {
        const char* text;
        std::vector<std::string> named;
    };
    for (const Bad& bad : std::vector<Bad>{
             {"forest", {"unknown neutral model 'forest'", "cluster", "bsp"}},
             {"cluster:q=1", {"unknown parameter 'q'", "p (0, 1], default 0.5", "neighbourhood 4|8|diagonal"}},
             {"cluster:p=0.5,q=1", {"unknown parameter 'q'"}},
             {"cluster:p=1.5", {"p=1.5 is outside (0, 1]", "neighbourhood"}},
             {"cluster:p=x", {"'x' is not a number"}},
             {"cluster:neighbourhood=6", {"not one of 4|8|diagonal"}},
             {"gaussian:range=0", {"range=0 is outside (0, 100000]", "smoothness (0, 10], default 0.5"}},
             {"fbm", {"h is required, in (0, 1]"}},
             {"element:n=2.5", {"not a whole number"}},
             {"rectangles:min=9:max=3", {"min=9 is above max=3"}},
             {"curds:proportions=0.5:subdivisions=2/2", {"as many levels"}},
             {"random:p=1", {"random takes no parameters"}},
         }) {
        std::string why;
        EXPECT_FALSE(parseModelChoice(bad.text, &why)) << bad.text;
        for (const std::string& part : bad.named)
            EXPECT_NE(why.find(part), std::string::npos) << bad.text << ": " << why;
    }
    // A model's size is checked against what it can make.
    EXPECT_NE(checkModelSize(*parseModelChoice("element:n=50"), 5, 5).find("above the 25 cells"), std::string::npos);
    EXPECT_NE(checkModelSize(*parseModelChoice("fractal:0.5"), 5000, 10).find("4096"), std::string::npos);
}

TEST(NeutralModels, TheComparisonReadsEveryModelAndKeepsItsOldNames)
{
    for (const auto& [text, name] : std::vector<std::pair<std::string, std::string>>{
             {"random", "random"},
             {"fractal:0.5", "fractal:0.5"},
             {"fractal:h=0.5", "fractal:0.5"},
             {"cluster:p=0.55", "cluster:p=0.55"},
             {"gaussian:range=20", "gaussian:range=20"}}) {
        std::string why;
        const std::optional<NeutralModel> m = NeutralModel::parse(text, &why);
        ASSERT_TRUE(m) << text << ": " << why;
        EXPECT_EQ(m->name(), name);
    }
    EXPECT_EQ(NeutralModel::parse("fractal:h=0.5")->kind, NeutralModel::Kind::Fractal);
    std::string why;
    EXPECT_FALSE(NeutralModel::parse("distance:source=grid.txt", &why));
    // A table model's replicate has exactly the window's habitat, its cells the surface's highest.
    const NeutralModel cluster = *NeutralModel::parse("cluster:p=0.4");
    const std::vector<int> cells = neutralLandscape(cluster, 7, 2, 1, 3, 20, 30, 123, 1, 0);
    EXPECT_EQ(std::count(cells.begin(), cells.end(), 1), 123);
    ReplicateRandom random(replicateState(7, 2, 1, 3));
    Surface surface;
    ASSERT_TRUE(buildSurface(cluster.choice, 20, 30, random, surface));
    std::vector<int> expected(surface.size());
    placeHighest(surface, 123, 1, 0, expected);
    EXPECT_EQ(cells, expected);
}

TEST(ExactClasses, CountsAreRoundedByLargestRemainders)
{
    struct Case {
        std::vector<double> proportions;
        std::int64_t cells;
        std::vector<std::int64_t> counts;
    };
    for (const Case& c : std::vector<Case>{
             {{0.5, 0.5}, 7, {4, 3}},
             {{1.0 / 3, 1.0 / 3, 1.0 / 3}, 10, {4, 3, 3}},
             {{0.2, 0.3, 0.5}, 9, {2, 3, 4}},
             {{0.05, 0.05, 0.9}, 10, {1, 0, 9}},
             {{0.0, 1.0}, 5, {0, 5}},
             {{0.25, 0.25, 0.25, 0.25}, 0, {0, 0, 0, 0}},
         }) {
        const std::vector<std::int64_t> counts = classCounts(c.proportions, c.cells);
        EXPECT_EQ(counts, c.counts) << c.cells;
        EXPECT_EQ(std::accumulate(counts.begin(), counts.end(), std::int64_t{0}), c.cells);
    }
    EXPECT_EQ(checkProportions(std::vector<double>{0.2, 0.3, 0.5}), "");
    EXPECT_EQ(checkProportions(std::vector<double>{0.2, 0.3, 0.5 + 5e-10}), "");
    EXPECT_NE(checkProportions(std::vector<double>{0.2, 0.3, 0.5 + 2e-9}).find("sum to 1"), std::string::npos);
    EXPECT_NE(checkProportions(std::vector<double>{-0.5, 1.5}), "");
}

TEST(ExactClasses, RankingEqualsSortingEveryCellWithTiesToTheEarlierCell)
{
    for (std::uint64_t seed = 1; seed <= 20; ++seed) {
        ReplicateRandom random(seed);
        const int cells = 1 + static_cast<int>(random.below(150));
        // Few distinct values, so that ties cross every boundary.
        const auto levels = 1 + random.below(6);
        std::vector<double> surface(static_cast<std::size_t>(cells));
        for (double& v : surface)
            v = static_cast<double>(random.below(levels));
        std::vector<unsigned char> mask;
        if (seed % 3 == 0)
            for (int i = 0; i < cells; ++i)
                mask.push_back(random.below(4) != 0);
        const auto inside = mask.empty() ? cells : std::count(mask.begin(), mask.end(), 1);
        const std::vector<double> proportions = seed % 2 ? std::vector<double>{0.2, 0.0, 0.5, 0.3}
                                                         : std::vector<double>{0.6, 0.4};
        const std::vector<std::int64_t> counts = classCounts(proportions, inside);
        std::vector<int> values(counts.size());
        std::iota(values.begin(), values.end(), 1);
        std::vector<int> out(surface.size());
        classifyByRank(surface, counts, values, out, mask, -9);
        EXPECT_EQ(out, slowClasses(surface, counts, mask)) << "seed " << seed;
    }
    // Grids large enough to be ranked on several threads: continuous values, values packed into
    // few buckets, and ties across the parts.
    for (int kind = 0; kind < 3; ++kind) {
        ReplicateRandom random(100 + kind);
        std::vector<double> surface(300007);
        for (double& v : surface) {
            const double u = static_cast<double>(random.next() >> 11) * 0x1p-53;
            v = kind == 0 ? u - 0.5 : kind == 1 ? 1.0 + u * 1e-9 : static_cast<double>(random.below(5));
        }
        std::vector<unsigned char> mask;
        if (kind == 2)
            for (std::size_t i = 0; i < surface.size(); ++i)
                mask.push_back(random.below(7) != 0);
        const auto inside = mask.empty() ? static_cast<std::int64_t>(surface.size()) : std::count(mask.begin(), mask.end(), 1);
        const std::vector<std::int64_t> counts = classCounts(std::vector<double>{0.3, 0.0, 0.45, 0.25}, inside);
        const std::vector<int> values{1, 2, 3, 4};
        std::vector<int> out(surface.size());
        classifyByRank(surface, counts, values, out, mask, -9);
        EXPECT_EQ(out, slowClasses(surface, counts, mask)) << "kind " << kind;
    }
}

TEST(ExactClasses, TilesGiveTheClassesOfTheirPaintedSurface)
{
    struct Case {
        int rows, cols, n;
        std::vector<double> proportions;
    };
    const std::vector<Case> cases{{1, 1, 1, {0.5, 0.5}},       {7, 5, 6, {0.2, 0.0, 0.5, 0.3}},
                                  {40, 33, 16, {0.3, 0.7}},     {64, 64, 64, {1.0 / 3, 1.0 / 3, 1.0 / 3}},
                                  {9, 200, 30, {0.0, 1.0}},     {555, 600, 200, {0.1, 0.25, 0.25, 0.4}}};
    for (const Case& c : cases)
        for (std::uint64_t seed = 1; seed <= 3; ++seed) {
            ReplicateRandom random(seed);
            const std::vector<ValueTile> tiles =
                binarySpacePartitionTiles(c.rows, c.cols, c.n, PartOrientation::Longest, 2.0, random);
            Surface surface;
            paintTiles(tiles, c.rows, c.cols, surface);
            const std::vector<std::int64_t> counts = classCounts(c.proportions, c.rows * c.cols);
            std::vector<int> values(counts.size());
            std::iota(values.begin(), values.end(), 1);
            std::vector<int> fromTiles(surface.size(), -1), fromSurface(surface.size());
            ASSERT_TRUE(classifyTiles(tiles, c.rows, c.cols, counts, values, fromTiles));
            classifyByRank(surface, counts, values, fromSurface);
            EXPECT_EQ(fromTiles, fromSurface) << c.rows << " x " << c.cols << " seed " << seed;
        }
    // Two tiles of one value interleave in rank: left to the surface.
    const std::vector<ValueTile> tied{{0, 1, 0, 2, 0.5}, {1, 2, 0, 2, 0.5}};
    const std::int64_t counts[] = {2, 2};
    const int values[] = {1, 2};
    std::vector<int> out(4, -1);
    EXPECT_FALSE(classifyTiles(tied, 2, 2, counts, values, out));
    EXPECT_EQ(out, std::vector<int>(4, -1));
}

TEST(ExactClasses, HabitatEqualsTheComparisonsFractalPlacement)
{
    MidpointSurface surface;
    ASSERT_TRUE(surface.generateSurface(0.5, 40, surfaceLevelsFor(40), 12));
    const int rows = 33, cols = 40;
    std::vector<double> values;
    for (int r = 0; r < rows; ++r)
        values.insert(values.end(), surface.grid()[r], surface.grid()[r] + cols);
    for (const std::int64_t habitat : {0, 1, 500, 1319, 1320}) {
        std::vector<int> ours(values.size()), compare(values.size());
        placeHighest(values, habitat, 1, 0, ours);
        placeSurfaceHabitat(compare, rows, cols, surface, habitat, 1, 0);
        EXPECT_EQ(ours, compare) << habitat;
    }
}

TEST(SurfaceBlend, IsTheWeightedMeanOfTheRescaledParts)
{
    std::string why;
    const std::optional<SurfaceBlend> blend = SurfaceBlend::parse("0.5*planar:direction=90+1.5*wave:periods=2:direction=90", &why);
    ASSERT_TRUE(blend) << why;
    EXPECT_EQ(blend->text(), "0.5*planar:direction=90+1.5*wave:periods=2:direction=90");
    Surface mixed;
    ReplicateRandom random(1);
    ASSERT_TRUE(blend->build(1, 9, random, mixed));
    // Both parts vary along the row only: the blend is a known function of the column.
    std::vector<double> expected(9);
    for (int c = 0; c < 9; ++c) {
        const double x = c / 8.0;
        expected[static_cast<std::size_t>(c)] = 0.5 * x + 1.5 * (std::sin(x * 4.0 * std::numbers::pi) + 1.0) / 2.0;
    }
    const auto [lo, hi] = std::minmax_element(expected.begin(), expected.end());
    const double low = *lo, span = *hi - *lo;
    for (int c = 0; c < 9; ++c)
        EXPECT_NEAR(mixed[static_cast<std::size_t>(c)], (expected[static_cast<std::size_t>(c)] - low) / span, 1e-9) << c;
    EXPECT_FALSE(SurfaceBlend::parse("x*planar", &why));
    EXPECT_FALSE(SurfaceBlend::parse("0.5*planar+", &why));
    EXPECT_EQ(SurfaceBlend::parse("cluster")->text(), "cluster");
}

TEST(NeutralRun, SameBytesWhateverTheJobsAndExactCounts)
{
    TempDir one, many;
    NeutralRunParameters p;
    p.model = *SurfaceBlend::parse("cluster:p=0.5");
    p.rows = 21;
    p.cols = 34;
    p.coverLevels = {10, 35};
    p.replicates = 3;
    p.seed = 9;
    RandomSource unused;
    RunControl control;
    p.folder = one.path();
    p.jobs = 1;
    const RunResult a = runNeutralLandscapes(p, unused, control);
    p.folder = many.path();
    p.jobs = 4;
    const RunResult b = runNeutralLandscapes(p, unused, control);
    ASSERT_EQ(a.status, RunStatus::Completed) << a.message;
    ASSERT_EQ(a.files.size(), 6u);
    ASSERT_EQ(b.files.size(), 6u);
    for (std::size_t i = 0; i < a.files.size(); ++i) {
        const std::filesystem::path name = std::filesystem::path(a.files[i]).filename();
        EXPECT_EQ(name, std::filesystem::path(b.files[i]).filename());
        const std::string text = fileText(a.files[i]);
        EXPECT_EQ(text, fileText(b.files[i])) << name;
        const int level = i < 3 ? 10 : 35;
        EXPECT_EQ(std::count(text.begin(), text.end(), '1'), habitatAtCover(level, 21 * 34)) << name;
    }
    EXPECT_EQ(std::filesystem::path(a.files[4]).filename(), "cluster_p=0.5_035_00002.txt");
    // Any replicate made alone equals its file.
    p.folder = one.path();
    const LandscapeCells alone = neutralLandscapeCells(p, 35, 1);
    std::string text;
    for (int r = 0; r < p.rows; ++r) {
        for (int c = 0; c < p.cols; ++c)
            text += std::to_string(alone[static_cast<std::size_t>(r * p.cols + c)]) + " ";
        text += "\n";
    }
    EXPECT_EQ(text, fileText(a.files[4]));
    EXPECT_EQ(fileText(a.batchList).substr(0, a.files[0].size()), a.files[0]);
}

TEST(NeutralRun, ProportionsGiveExactClassesAndTooMuchMemoryIsRefusedFirst)
{
    TempDir dir;
    NeutralRunParameters p;
    p.model = *SurfaceBlend::parse("gaussian:range=3");
    p.rows = 10;
    p.cols = 13;
    p.proportions = {0.2, 0.3, 0.5};
    p.folder = dir.path();
    RandomSource unused;
    RunControl control;
    const RunResult r = runNeutralLandscapes(p, unused, control);
    ASSERT_EQ(r.status, RunStatus::Completed) << r.message;
    const LandscapeCells cells = neutralLandscapeCells(p, -1, 0);
    const std::vector<std::int64_t> counts = classCounts(p.proportions, 130);
    for (int cls = 1; cls <= 3; ++cls)
        EXPECT_EQ(std::count(cells.begin(), cells.end(), cls), counts[static_cast<std::size_t>(cls - 1)]);

    TempDir empty;
    p.folder = empty.path();
    p.rows = p.cols = 46000;
    p.jobs = 64;
    const RunResult refused = runNeutralLandscapes(p, unused, control);
    EXPECT_EQ(refused.status, RunStatus::Refused);
    EXPECT_NE(refused.message.find("GB of memory are free"), std::string::npos) << refused.message;
    EXPECT_TRUE(std::filesystem::is_empty(empty.path()));
}

TEST(NeutralModels, TheModelsPageIsTheTables)
{
    const char* root = std::getenv("ORVALIS_SOURCE_DIR");
    const std::filesystem::path page = std::filesystem::path(root ? root : ORVALIS_SOURCE_DIR_BUILT) / "docs/MODELS.md";
    EXPECT_EQ(fileText(page), modelsMarkdown()) << "run build/src/cli/models-doc > docs/MODELS.md";
}
