#include "core/neutral/FractalRun.h"

#include "support/CommaLocale.h"
#include "support/MetricsTable.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

using namespace orvalis;
using orvalis::test::readFile;
using orvalis::test::TempDir;

namespace {

// Runs the fractal series and appends the names it wrote to files.
FractalRunResult runFractal(const FractalRunParameters& p, std::vector<std::string>& files,
                            const ProgressCallback& progress = {})
{
    RandomSource unused;
    RunControl control(progress);
    FractalRunResult r = runFractalLandscapes(p, unused, control);
    files.insert(files.end(), r.files.begin(), r.files.end());
    return r;
}

struct ExpectedFile {
    std::string name;
    double H;
    int seed;
    double threshold;
};

// The run as first described: every surface measured with 80 separate passes, one thread.
std::vector<ExpectedFile> straightforwardRun(const FractalRunParameters& p)
{
    std::vector<ExpectedFile> out;
    MidpointSurface surface;
    for (double H = p.initialH; H <= p.finalH + 1e-9; H += p.stepH) {
        int tally[101] = {};
        for (int seed = 0; seed < SurfacesPerH; ++seed) {
            surface.generateSurface(H, p.size, SurfaceLevels, seed);
            if (p.cover.max < p.cover.min)
                break;
            bool complete = true;
            for (int L = p.cover.min; L <= p.cover.max; L += p.cover.step)
                complete = complete && tally[L] >= p.replicates;
            if (complete)
                break;
            double t = 0.1;
            for (int k = 0; k < 80; ++k) {
                long long count = 0;  // the cover of the cells the file holds
                for (int r = 0; r < p.size; ++r)
                    for (int c = 0; c < p.size; ++c)
                        count += surface.at(r, c) > t;
                const int pc = static_cast<int>(100 * count / (p.size * p.size));
                if (tally[pc] < p.replicates && pc >= p.cover.min && pc <= p.cover.max && (pc - p.cover.min) % p.cover.step == 0)
                    out.push_back({fractalFileName(p.folder, H, pc, ++tally[pc]), H, seed, t});
                t = t + 0.01;
            }
        }
    }
    return out;
}

std::string thresholdedText(double H, int size, int seed, double t, int matrixValue, int coverValue)
{
    MidpointSurface s;
    s.generateSurface(H, size, SurfaceLevels, seed);
    std::ostringstream text;
    for (int r = 0; r < size; ++r) {
        for (int c = 0; c < size; ++c)
            text << (s.at(r, c) > t ? coverValue : matrixValue) << ' ';
        text << '\n';
    }
    return text.str();
}

FractalRunParameters smallRun(const TempDir& dir)
{
    FractalRunParameters p;
    p.initialH = 0.3;
    p.finalH = 0.5;
    p.stepH = 0.1;
    p.cover.min = 10;
    p.cover.max = 70;
    p.cover.step = 15;
    p.size = 16;
    p.replicates = 2;
    p.matrixValue = 3;
    p.coverValue = 7;
    p.folder = dir.path().string() + "/";
    return p;
}

std::size_t filesIn(const TempDir& dir)
{
    std::size_t n = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        n += e.is_regular_file();
    return n;
}

}  // namespace

TEST(FractalNames, FileNameAndProgressLabelFormats)
{
    EXPECT_EQ(fractalFileName("C:/out/", 0.5, 30, 1), "C:/out/0.50_030_00001.txt");
    EXPECT_EQ(fractalFileName("", 0.30000000000000004, 5, 123), "0.30_005_00123.txt");
    EXPECT_EQ(fractalProgressLabel(0.5, 3), "gerando para h=0.50 amostra no.3");
}

TEST(FractalNames, KeepTheDecimalPointUnderACommaLocale)
{
    orvalis::test::CommaLocale comma;
    if (!comma.active())
        GTEST_SKIP() << "no locale with a decimal comma could be set";
    EXPECT_EQ(fractalFileName("out/", 0.5, 30, 1), "out/0.50_030_00001.txt");
    EXPECT_EQ(fractalProgressLabel(0.25, 2), "gerando para h=0.25 amostra no.2");
}

TEST(FractalHValues, RunningSumsWithHalfStepTolerance)
{
    struct Case {
        const char* name;
        double initial, final, step;
        std::size_t count;
    } cases[] = {
        {"dialog defaults", 0.1, 0.9, 0.1, 9},
        {"finest step", 0.01, 1.0, 0.01, 100},
        {"single value", 0.5, 0.5, 0.1, 1},
        {"final below initial", 0.6, 0.4, 0.1, 0},
        {"step past the end", 0.1, 1.0, 0.7, 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fractalHValues(c.initial, c.final, c.step).size(), c.count) << c.name;
    EXPECT_DOUBLE_EQ(fractalHValues(0.1, 0.9, 0.1).back(), 0.9);
}

TEST(FractalParameters, RefusesWhatTheRunCannotDoBeforeStarting)
{
    struct Case {
        const char* name;
        void (*change)(FractalRunParameters&);
        const char* mentions;
    } cases[] = {
        {"size above 4096", [](FractalRunParameters& p) { p.size = 4097; }, "4096"},
        {"size zero", [](FractalRunParameters& p) { p.size = 0; }, "size"},
        {"zero H step", [](FractalRunParameters& p) { p.stepH = 0.0; }, "step"},
        {"H step too fine for the names", [](FractalRunParameters& p) { p.stepH = 0.004; }, "file names"},
        {"cover above 100", [](FractalRunParameters& p) { p.cover.max = 101; }, "100"},
        {"zero cover step", [](FractalRunParameters& p) { p.cover.step = 0; }, "cover step"},
        {"no replicates", [](FractalRunParameters& p) { p.replicates = 0; }, "replicates"},
    };
    EXPECT_EQ(checkFractalParameters(FractalRunParameters{}), "");
    for (const Case& c : cases) {
        FractalRunParameters p;
        c.change(p);
        const std::string why = checkFractalParameters(p);
        EXPECT_NE(why.find(c.mentions), std::string::npos) << c.name << ": " << why;
        std::vector<std::string> files;
        FractalRunResult r = runFractal(p, files);
        EXPECT_FALSE(!r.failed()) << c.name;
        EXPECT_EQ(r.surfaces, 0) << c.name;
    }
}

TEST(CoverCounts, OnePassEqualsEightySeparatePasses)
{
    for (auto [H, size, seed] : {std::tuple{0.1, 1, 0}, std::tuple{0.5, 16, 3}, std::tuple{0.9, 100, 199}, std::tuple{0.2, 333, 8}}) {
        MidpointSurface s;
        s.generateSurface(H, size, SurfaceLevels, seed);
        const auto counts = coverCounts(s);
        for (int k = 0; k < ThresholdCount; ++k)
            ASSERT_EQ(counts[k], coverFraction(s, size, fractalThresholds()[k])) << "size " << size << " k " << k;
    }
    // The thresholds are running sums of 0.01, not the decimal values.
    EXPECT_EQ(fractalThresholds()[0], 0.1);
    EXPECT_NEAR(fractalThresholds()[79], 0.89, 1e-12);
}

TEST(FractalRun, WritesTheFilesOfTheStraightforwardRunInOrder)
{
    TempDir dir;
    const FractalRunParameters p = smallRun(dir);
    const std::vector<ExpectedFile> expected = straightforwardRun(p);
    std::vector<std::string> files;
    const FractalRunResult r = runFractal(p, files);
    ASSERT_TRUE(!r.failed()) << r.message;
    EXPECT_FALSE(r.cancelled());
    ASSERT_EQ(files.size(), expected.size());
    // 3 H values x 5 percentages x 2 replicates, when every percentage is reached.
    EXPECT_LE(files.size(), 30u);
    EXPECT_EQ(filesIn(dir), files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        ASSERT_EQ(files[i], expected[i].name);
        // Rows and columns 0..size-1: the measured window without its last row and column.
        ASSERT_EQ(readFile(files[i]), thresholdedText(expected[i].H, p.size, expected[i].seed, expected[i].threshold,
                                                      p.matrixValue, p.coverValue))
            << files[i];
    }
}

TEST(FractalRun, CoverMinimumAboveMaximumIsRefusedBeforeAnySurface)
{
    TempDir dir;
    FractalRunParameters p = smallRun(dir);
    p.cover.min = 60;
    p.cover.max = 40;
    std::vector<std::string> files;
    const FractalRunResult r = runFractal(p, files);
    EXPECT_EQ(r.status, RunStatus::Refused);
    EXPECT_NE(r.message.find("cover minimum 60 is above the maximum 40"), std::string::npos) << r.message;
    EXPECT_EQ(r.surfaces, 0);
    EXPECT_EQ(filesIn(dir), 0u);
}

TEST(FractalRun, UnreachablePercentageUsesAllTwoHundredSurfaces)
{
    TempDir dir;
    FractalRunParameters p = smallRun(dir);
    p.initialH = p.finalH = 0.5;
    // One cell is all cover or none: 50 % cannot occur.
    p.size = 1;
    p.cover.min = p.cover.max = 50;
    std::vector<std::string> files;
    const FractalRunResult r = runFractal(p, files);
    EXPECT_TRUE(!r.failed());
    EXPECT_EQ(r.surfaces, SurfacesPerH);
    EXPECT_TRUE(files.empty());
}

TEST(FractalRun, SeveralThreadsWriteTheSameBytesAsOne)
{
    TempDir one, many;
    FractalRunParameters p = smallRun(one);
    p.cover.min = 5;
    p.cover.max = 95;
    p.cover.step = 5;
    p.jobs = 1;
    std::vector<std::string> filesOne, filesMany;
    ASSERT_TRUE(!runFractal(p, filesOne).failed());
    p.folder = many.path().string() + "/";
    p.jobs = 4;
    const FractalRunResult r = runFractal(p, filesMany);
    ASSERT_TRUE(!r.failed());
    ASSERT_EQ(filesOne.size(), filesMany.size());
    ASSERT_FALSE(filesOne.empty());
    for (std::size_t i = 0; i < filesOne.size(); ++i) {
        EXPECT_EQ(std::filesystem::path(filesOne[i]).filename(), std::filesystem::path(filesMany[i]).filename());
        EXPECT_EQ(readFile(filesOne[i]), readFile(filesMany[i])) << filesOne[i];
    }
}

// The files are measured on the workers and handed over in the run's order, on one thread or many,
// and a run stopped between two files has measured exactly the files it wrote.
TEST(FractalRun, MetricsTableHoldsTheRowsOfTheFilesWrittenInTheirOrder)
{
    TempDir dir;
    FractalRunParameters p = smallRun(dir);
    p.metrics = MetricsOptions{};
    const std::string table = dir.file("metrics.csv");
    for (int jobs : {1, 3}) {
        p.jobs = jobs;
        std::vector<std::string> files;
        const FractalRunResult r = runFractal(p, files);
        ASSERT_FALSE(r.failed()) << r.message;
        EXPECT_EQ(r.metricsTable, table);
        EXPECT_EQ(readFile(table), orvalis::test::measuredTable(files)) << jobs << " jobs";
    }
    int between = 0;
    std::vector<std::string> files;
    const FractalRunResult r = runFractal(p, files, [&](const ProgressEvent& e) { return !(e.label.empty() && ++between > 12); });
    ASSERT_TRUE(r.cancelled());
    ASSERT_FALSE(files.empty());
    EXPECT_EQ(readFile(table), orvalis::test::measuredTable(files));
}

TEST(FractalRun, ProgressLabelsEachSurfaceAndCancelKeepsTheFirstSurfaceFiles)
{
    TempDir dir;
    FractalRunParameters p = smallRun(dir);
    p.jobs = 2;
    const std::vector<ExpectedFile> expected = straightforwardRun(p);
    std::vector<std::string> labels;
    std::vector<std::string> files;
    const FractalRunResult r = runFractal(p, files, [&](const ProgressEvent& e) {
        if (!e.label.empty())
            labels.push_back(e.label);
        EXPECT_EQ(e.total, 3 * SurfacesPerH);
        return e.done < 1;
    });
    EXPECT_TRUE(r.cancelled());
    EXPECT_TRUE(!r.failed());
    EXPECT_EQ(r.surfaces, 1);
    EXPECT_EQ(labels, std::vector<std::string>{"gerando para h=0.30 amostra no.1"});
    std::vector<std::string> fromFirstSurface;
    for (const ExpectedFile& f : expected)
        if (f.seed == 0 && f.H == p.initialH)
            fromFirstSurface.push_back(f.name);
    ASSERT_FALSE(fromFirstSurface.empty());
    EXPECT_EQ(files, fromFirstSurface);
    EXPECT_EQ(filesIn(dir), files.size());
}

TEST(FractalRun, FileThatCannotBeWrittenStopsTheRunAndIsNotListed)
{
    TempDir dir;
    FractalRunParameters p = smallRun(dir);
    std::vector<std::string> all;
    ASSERT_TRUE(!runFractal(p, all).failed());
    ASSERT_GE(all.size(), 4u);
    for (const std::string& f : all)
        std::filesystem::remove(f);
    // A folder in the way of the third file.
    std::filesystem::create_directory(all[2]);
    std::vector<std::string> files;
    const FractalRunResult r = runFractal(p, files);
    EXPECT_FALSE(!r.failed());
    EXPECT_NE(r.message.find(all[2]), std::string::npos) << r.message;
    EXPECT_EQ(files, std::vector<std::string>(all.begin(), all.begin() + 2));
    EXPECT_TRUE(std::filesystem::exists(all[1]));
    EXPECT_FALSE(std::filesystem::exists(all[3]));

    FractalRunParameters missing = smallRun(dir);
    missing.folder = dir.path().string() + "/no such folder/";
    files.clear();
    const FractalRunResult m = runFractal(missing, files);
    EXPECT_FALSE(!m.failed());
    EXPECT_NE(m.message.find("no such folder"), std::string::npos) << m.message;
    EXPECT_TRUE(files.empty());
}

TEST(FractalRun, EveryFileHoldsTheCoverItsNameGives)
{
    for (int size : {5, 16, 33}) {
        SCOPED_TRACE(size);
        TempDir dir;
        FractalRunParameters p;
        p.initialH = p.finalH = 0.5;
        p.size = size;
        p.cover = {1, 100, 1};
        p.folder = dir.path();
        p.jobs = 1;
        std::vector<std::string> files;
        ASSERT_FALSE(runFractal(p, files).failed());
        ASSERT_FALSE(files.empty());
        for (const std::string& name : files) {
            const std::string text = readFile(name);
            const long long cover = std::count(text.begin(), text.end(), '1');
            const int level = std::stoi(name.substr(name.size() - 13, 3));
            ASSERT_EQ(100 * cover / (size * size), level) << name;
        }
    }
}

TEST(FractalRun, HValuesStopAtTheFinalH)
{
    struct Case {
        double first, last, step;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {0.9, 1.0, 0.2, {"0.90"}},
        {0.5, 0.6, 0.2, {"0.50"}},
        {0.1, 0.9, 0.1, {"0.10", "0.20", "0.30", "0.40", "0.50", "0.60", "0.70", "0.80", "0.90"}},
        {0.01, 0.05, 0.01, {"0.01", "0.02", "0.03", "0.04", "0.05"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> got;
        for (double H : fractalHValues(c.first, c.last, c.step))
            got.push_back(fractalFileName("", H, 0, 0).substr(0, 4));
        EXPECT_EQ(got, c.expected) << c.first << ":" << c.last << ":" << c.step;
    }
}
