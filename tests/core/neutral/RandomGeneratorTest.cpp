#include "core/neutral/RandomGenerator.h"
#include "core/random/RandomSource.h"
#include "core/run/RunLock.h"
#include "support/FileSizeLimit.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <unistd.h>
#include <sstream>

using orvalis::ProgressEvent;
using orvalis::RandomGenerator;
using orvalis::RandomSource;
using namespace orvalis::test;

namespace {

// The landscape as the plain reading of the rule gives it, from the given draws.
std::string referenceLandscape(RandomSource& draws, int rows, int cols, int cover, int coverValue, int matrixValue)
{
    std::ostringstream out;
    for (int i = 0; i < rows; ++i) {
        for (int j = 0; j < cols; ++j) {
            int r = draws.next();
            out << (r / 32767.0 <= cover / 100.0 ? coverValue : matrixValue) << ' ';
        }
        out << '\n';
    }
    return out.str();
}

struct Series {
    int coverMin = 10, coverMax = 35, coverStep = 10, rows = 50, cols = 50, replicates = 2;
    int matrixValue = 0, coverValue = 1, seed = 5;
};

struct SeriesRun {
    bool ok = false;
    bool cancelled = false;
    std::string error;
    std::int64_t written = 0;
    std::string batchList;
};

// Runs a series and appends the names it wrote to names.
SeriesRun run(const Series& s, const std::string& folder, std::vector<std::string>& names,
              const orvalis::ProgressCallback& progress = {}, const std::string& post = {})
{
    orvalis::RandomLandscapeParameters p;
    p.cover = {s.coverMin, s.coverMax, s.coverStep};
    p.rows = s.rows;
    p.cols = s.cols;
    p.replicates = s.replicates;
    p.matrixValue = s.matrixValue;
    p.coverValue = s.coverValue;
    p.folder = folder;
    p.seed = s.seed;
    p.postString = post;
    RandomSource random;
    orvalis::RunControl control(progress);
    const orvalis::RunResult r = orvalis::runRandomLandscapes(p, random, control);
    names.insert(names.end(), r.files.begin(), r.files.end());
    return {!r.failed(), r.cancelled(), r.message, static_cast<std::int64_t>(r.files.size()), r.batchList};
}

std::string folderOf(const TempDir& dir)
{
    return dir.path().string() + "/";
}

}  // namespace

TEST(RandomGenerator, ExampleSeriesWritesNamesInOrderWithTheDrawnCells)
{
    TempDir dir;
    const std::string folder = folderOf(dir);
    std::vector<std::string> labels;
    std::int64_t total = -1, lastDone = -1;
    std::vector<std::string> names{"kept from before"};
    Series s;
    auto result = run(s, folder, names, [&](const ProgressEvent& e) {
        if (!e.label.empty())
            labels.push_back(e.label);
        total = e.total;
        lastDone = e.done;
        return true;
    }, ", x, 999, x");

    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_FALSE(result.cancelled);
    EXPECT_EQ(result.written, 6);
    const std::vector<std::string> expectedNames{
        "kept from before",           folder + "010_50x50_a1.txt", folder + "010_50x50_a2.txt",
        folder + "020_50x50_a1.txt", folder + "020_50x50_a2.txt", folder + "030_50x50_a1.txt",
        folder + "030_50x50_a2.txt"};
    EXPECT_EQ(names, expectedNames);
    EXPECT_EQ(total, 6);
    EXPECT_EQ(lastDone, 6);
    ASSERT_EQ(labels.size(), 6u);
    EXPECT_EQ(labels[0], "gerando para cobertura 10 amostra no.1");
    EXPECT_EQ(labels[2], "gerando para cobertura 20 amostra no.1");
    EXPECT_EQ(labels[5], "gerando para cobertura 30 amostra no.2");

    // One seeding for the whole run: the draws continue from file to file.
    RandomSource draws(5);
    const int covers[] = {10, 10, 20, 20, 30, 30};
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(readFile(names[k + 1]), referenceLandscape(draws, 50, 50, covers[k], 1, 0)) << names[k + 1];

    EXPECT_EQ(result.batchList, folder + "random_ListFragStat.fbt");
    std::string expectedList;
    for (int k = 1; k <= 6; ++k)
        expectedList += names[k] + ", x, 999, x\n";
    EXPECT_EQ(readFile(result.batchList), expectedList);
}

TEST(RandomGenerator, ExtremeCoverLevels)
{
    struct Case {
        const char* name;
        int cover;
    };
    for (const Case& c : {Case{"cover 100: only cover cells", 100}, Case{"cover 0: cover only where the draw is 0", 0}}) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        Series s{c.cover, c.cover, 1, 400, 400, 1, 7, 3, 12345};
        std::vector<std::string> names;
        ASSERT_TRUE(run(s, folderOf(dir), names).ok);
        ASSERT_EQ(names.size(), 1u);
        const std::string text = readFile(names[0]);

        RandomSource draws(12345);
        std::int64_t zeroDraws = 0;
        for (int k = 0; k < 400 * 400; ++k)
            zeroDraws += draws.next() == 0;
        std::int64_t coverCells = 0, matrixCells = 0;
        std::istringstream in(text);
        for (int v; in >> v;)
            (v == 3 ? coverCells : matrixCells) += 1;
        EXPECT_EQ(coverCells + matrixCells, 400 * 400);
        EXPECT_EQ(coverCells, c.cover == 100 ? 400 * 400 : zeroDraws);
    }
}

TEST(RandomGenerator, ThreeByTwoGridLayout)
{
    TempDir dir;
    Series s{50, 50, 1, 3, 2, 1, -1, 42, 9};
    std::vector<std::string> names;
    ASSERT_TRUE(run(s, folderOf(dir), names).ok);
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0], folderOf(dir) + "050_3x2_a1.txt");
    RandomSource draws(9);
    const std::string text = readFile(names[0]);
    EXPECT_EQ(text, referenceLandscape(draws, 3, 2, 50, 42, -1));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3);
    EXPECT_EQ(std::count(text.begin(), text.end(), ' '), 6);
}

TEST(RandomGenerator, SameSeedGivesTheSameBytesOtherSeedsDiffer)
{
    TempDir a, b, c;
    Series s{20, 40, 20, 64, 33, 2};
    std::vector<std::string> na, nb, nc;
    ASSERT_TRUE(run(s, folderOf(a), na).ok);
    ASSERT_TRUE(run(s, folderOf(b), nb).ok);
    s.seed = 6;
    ASSERT_TRUE(run(s, folderOf(c), nc).ok);
    ASSERT_EQ(na.size(), 4u);
    for (std::size_t k = 0; k < na.size(); ++k) {
        EXPECT_EQ(readFile(na[k]), readFile(nb[k]));
        EXPECT_NE(readFile(na[k]), readFile(nc[k]));
    }
    EXPECT_NE(readFile(na[0]), readFile(na[1])) << "replicates must not repeat the draws";
}

TEST(RandomGenerator, CoverShareLiesWithinFourStandardErrors)
{
    for (int cover : {1, 5, 30, 50, 99}) {
        SCOPED_TRACE("cover " + std::to_string(cover));
        TempDir dir;
        Series s{cover, cover, 1, 1000, 1000, 1, 0, 1, 777};
        std::vector<std::string> names;
        ASSERT_TRUE(run(s, folderOf(dir), names).ok);
        const std::string text = readFile(names.at(0));
        const double n = 1e6;
        const double coverCells = static_cast<double>(std::count(text.begin(), text.end(), '1'));
        const double p = (std::floor(32767.0 * cover / 100.0) + 1) / 32768.0;
        EXPECT_NEAR(coverCells / n, p, 4 * std::sqrt(p * (1 - p) / n));
    }
}

TEST(RandomGenerator, ThresholdAgreesWithTheFloatingPointTestForEveryDraw)
{
    for (int cover = -1; cover <= 101; ++cover) {
        const int t = RandomGenerator::coverThreshold(cover);
        for (int r = 0; r <= 32767; ++r)
            ASSERT_EQ(r <= t, r / 32767.0 <= cover / 100.0) << "cover " << cover << " draw " << r;
    }
}

TEST(RandomGenerator, NamesJoinTheFolderAndTheLandscape)
{
    struct Case {
        std::string folder;
        int cover, rows, cols, replicate;
        std::string expected;
    };
    const Case cases[] = {
        {"/data/rnd/", 5, 100, 100, 0, "/data/rnd/005_100x100_a1.txt"},
        {"/data/rnd", 10, 50, 50, 0, "/data/rnd/010_50x50_a1.txt"},
        {"", 100, 3, 2, 11, "100_3x2_a12.txt"},
        {"d/", 30, 20000, 20000, 999999, "d/030_20000x20000_a1000000.txt"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RandomGenerator::landscapeFileName(c.folder, c.cover, c.rows, c.cols, c.replicate), c.expected);
}

TEST(RandomGenerator, CancelInsideALargeLandscapeRemovesIt)
{
    TempDir dir;
    Series s{40, 60, 20, 2000, 2000, 1};
    std::vector<std::string> names;
    int midLandscapeCalls = 0;
    auto result = run(s, folderOf(dir), names, [&](const ProgressEvent& e) {
        if (e.label.empty() && e.done == 0)
            ++midLandscapeCalls;
        return midLandscapeCalls < 3;
    });
    EXPECT_TRUE(result.ok) << result.error;
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(midLandscapeCalls, 3);
    EXPECT_TRUE(names.empty());
    EXPECT_FALSE(std::filesystem::exists(folderOf(dir) + "040_2000x2000_a1.txt"));
    EXPECT_EQ(readFile(result.batchList), "");
}

TEST(RandomGenerator, LargeLandscapeAsksTheCallbackOftenEnoughToCancel)
{
    TempDir dir;
    Series s{50, 50, 1, 4000, 1000, 1};
    std::vector<std::string> names;
    int calls = 0;
    ASSERT_TRUE(run(s, folderOf(dir), names, [&](const ProgressEvent&) { return ++calls, true; }).ok);
    // 4 million cells: at least one look per quarter million cells.
    EXPECT_GE(calls, 4'000'000 / 262'144);
}

TEST(RandomGenerator, CancelBetweenLandscapesKeepsTheFinishedOnes)
{
    TempDir dir;
    Series s{10, 30, 10, 20, 20, 2};
    std::vector<std::string> names;
    auto result = run(s, folderOf(dir), names, [](const ProgressEvent& e) { return e.done < 3; });
    EXPECT_TRUE(result.ok);
    EXPECT_TRUE(result.cancelled);
    ASSERT_EQ(names.size(), 3u);
    for (const auto& name : names)
        EXPECT_EQ(readFile(name).size(), 20u * 41u);
    EXPECT_FALSE(std::filesystem::exists(folderOf(dir) + "020_20x20_a2.txt"));
    EXPECT_EQ(readFile(result.batchList), names[0] + "\n" + names[1] + "\n" + names[2] + "\n");
}

TEST(RandomGenerator, FullDiskStopsTheRunAndListsOnlyWholeFiles)
{
    TempDir dir;
    // A per-file size limit stands in for a full disk: the second, larger landscape cannot be written.
    Series s{0, 100, 100, 300, 300, 1, 1, 1000000, 3};
    std::vector<std::string> names;
    SeriesRun result;
    {
        FileSizeLimit limit(400'000);
        ASSERT_TRUE(limit.active());
        result = run(s, folderOf(dir), names);
    }

    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("100_300x300_a1.txt"), std::string::npos) << result.error;
    ASSERT_EQ(names, std::vector<std::string>{folderOf(dir) + "000_300x300_a1.txt"});
    EXPECT_FALSE(std::filesystem::exists(folderOf(dir) + "100_300x300_a1.txt"));
    EXPECT_EQ(readFile(result.batchList), names[0] + "\n");
}

TEST(RandomGenerator, RefusesSeriesThatCannotEnd)
{
    struct Case {
        const char* name;
        Series series;
    };
    const Case cases[] = {
        {"cover step 0", Series{10, 30, 0}},
        {"negative rows", Series{10, 30, 10, -1, 5}},
        {"negative columns", Series{10, 30, 10, 5, -1}},
        {"negative replicates", Series{10, 30, 10, 5, 5, -2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        std::vector<std::string> names;
        auto result = run(c.series, folderOf(dir), names);
        EXPECT_FALSE(result.ok);
        EXPECT_FALSE(result.error.empty());
        EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    }
}

TEST(RandomGenerator, ARunThatCannotStartLeavesTheEarlierSeriesAsItWas)
{
    TempDir dir;
    std::vector<std::string> earlier;
    ASSERT_TRUE(run(Series{10, 10, 1, 4, 4, 1}, folderOf(dir), earlier).ok);
    const auto snapshot = [&] {
        std::map<std::string, std::string> files;
        for (const auto& e : std::filesystem::directory_iterator(dir.path()))
            files[e.path().filename().string()] = readFile(e.path().string());
        return files;
    };
    const auto before = snapshot();
    orvalis::RunLock other;
    struct Case {
        const char* name;
        Series series;
        std::string folder, post, reason;
        bool busy = false;
    };
    const Case cases[] = {
        {"missing folder", Series{}, folderOf(dir) + "no/such/", "", "No such file or directory"},
        {"cover maximum below minimum", Series{50, 10, 1}, folderOf(dir), "", "cover minimum 50 is above the maximum 10"},
        {"line break in the post-string", Series{}, folderOf(dir), "a\nb", "post-string holds a line break"},
        {"another run writing there", Series{}, folderOf(dir), "", "process " + std::to_string(getpid()), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.busy)
            ASSERT_TRUE(other.acquire({dir.path()}));
        std::vector<std::string> names;
        const SeriesRun result = run(c.series, c.folder, names, {}, c.post);
        other.release();
        EXPECT_FALSE(result.ok);
        EXPECT_NE(result.error.find(c.reason), std::string::npos) << result.error;
        EXPECT_TRUE(names.empty());
        EXPECT_EQ(snapshot(), before);
    }
    EXPECT_EQ(orvalis::randomLevelCount({50, 10, 1}), 0);
    EXPECT_EQ(orvalis::randomLevelCount({0, 100, 10}), 11);
}

TEST(RandomGenerator, ExistingFileIsOverwritten)
{
    TempDir dir;
    const std::string name = folderOf(dir) + "100_2x2_a1.txt";
    orvalis::test::writeFile(name, std::string(10000, 'x'));
    std::vector<std::string> names;
    ASSERT_TRUE(run(Series{100, 100, 1, 2, 2, 1}, folderOf(dir), names).ok);
    EXPECT_EQ(readFile(name), "1 1 \n1 1 \n");
}
