#include "core/random/RandomSource.h"
#include "support/SamplerTestSupport.h"
#include "core/run/RunLock.h"
#include "core/sampler/WindowSampler.h"
#include "support/NamedCase.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <unistd.h>

using namespace orvalis;
using namespace orvalis::test;

namespace {

struct SamplerRun {
    SampleResult outcome;
    std::vector<std::string> names;
    std::string log;
    std::uint32_t finalState = 0;
};

// Runs a sampler that holds its image with the working directory at dir.
SamplerRun runLoaded(WindowSampler& sampler, const ReferenceSettings& s, std::uint32_t seed, const TempDir& dir,
                    const ProgressCallback& progress = {})
{
    SampleParameters p;
    p.folder = s.folder;
    p.prefix = s.prefix;
    p.replicates = s.replicates;
    p.cover = {s.coverMin, s.coverMax, s.coverStep};
    p.minDistance = s.minDistance;
    p.logPath = dir.file("sample.txt");
    SamplerRun r;
    RandomSource random(seed);
    ProgressCallback cb = progress;
    if (!cb && s.stopAfter >= 0)
        cb = [k = s.stopAfter](const ProgressEvent& e) { return e.done < k; };
    RunControl control(cb);
    r.outcome = sampler.sampleWindows(p, random, control);
    r.names = r.outcome.files;
    r.finalState = random.state();
    r.log = readFile(p.logPath);
    return r;
}

// Runs the engine on an in-memory image with the working directory at dir.
SamplerRun runSampler(const BlueImage& img, const ReferenceSettings& s, std::uint32_t seed, const TempDir& dir,
                     bool straightforward = false, const ProgressCallback& progress = {})
{
    WindowSampler sampler;
    fillBitmap(sampler.image, img);
    sampler.configure(128, s.h, s.matrixValue, s.coverValue);
    sampler.setStraightforward(straightforward);
    return runLoaded(sampler, s, seed, dir, progress);
}

void expectSameAsReference(const SamplerRun& got, const ReferenceRun& want)
{
    ASSERT_EQ(got.names.size(), want.windows.size());
    for (std::size_t i = 0; i < want.windows.size(); ++i) {
        EXPECT_EQ(got.names[i], want.windows[i].name);
        EXPECT_EQ(readFile(want.windows[i].name), want.windows[i].content) << want.windows[i].name;
    }
    EXPECT_EQ(got.log, want.log());
    EXPECT_EQ(got.outcome.tries, want.tries);
    EXPECT_EQ(got.finalState, want.finalState) << "the random source must end where the plain run leaves it";
}

struct ExampleCase : NamedCase {
    ReferenceSettings settings;
    std::uint32_t seed;
};

class ExampleImage : public ::testing::TestWithParam<ExampleCase> {};

TEST_P(ExampleImage, WritesWhatThePlainSearchWrites)
{
    const BlueImage img = readTgaBlue(sourceDir() + "/examples/augusta_forest.tga");
    ASSERT_EQ(img.width, 678);
    ASSERT_EQ(img.height, 440);
    TempDir dir;
    ReferenceSettings s = GetParam().settings;
    s.folder = dir.file("out");
    std::filesystem::create_directory(s.folder);

    WindowSampler sampler;
    ASSERT_TRUE(sampler.loadImage((sourceDir() + "/examples/augusta_forest.tga").c_str()));
    sampler.configure(128, s.h, s.matrixValue, s.coverValue);
    const SamplerRun got = runLoaded(sampler, s, GetParam().seed, dir);

    const ReferenceRun want = referenceRun(img, s, GetParam().seed);
    EXPECT_FALSE(want.windows.empty());
    expectSameAsReference(got, want);
    EXPECT_EQ(filesIn(s.folder), want.windows.size());
    EXPECT_TRUE(got.outcome.ok());
}

INSTANTIATE_TEST_SUITE_P(
    Sampler, ExampleImage,
    ::testing::Values(
        ExampleCase{"DialogDefaultsFromStart", {50, 1, 1, 100, 1, 10, 1, 0, "", "SMP_", -1}, 1},
        ExampleCase{"StepTenThreeReplicates", {20, 3, 5, 50, 10, 25, 1, 0, "", "A_", -1}, 12345},
        ExampleCase{"CoverZeroAllowedOddValues", {10, 5, 0, 100, 25, 0, -7, 42, "", "", -1}, 99},
        ExampleCase{"ManyReplicatesLargeDistance", {15, 40, 60, 70, 2, 40, 1, 0, "", "z", -1}, 2026}),
    CaseName());

struct EdgeCase : NamedCase {
    int width, height;
    std::function<unsigned char(int, int)> pixel;
    ReferenceSettings settings;
    std::vector<std::string> expectedNames;  // relative to the folder
    long long expectedTries;  // -1: whatever the plain search spends
    SampleStop expectedStop;
};

class SmallImages : public ::testing::TestWithParam<EdgeCase> {};

TEST_P(SmallImages, EndAsThePlainSearchEnds)
{
    const EdgeCase& c = GetParam();
    const BlueImage img = makeBlue(c.width, c.height, c.pixel);
    TempDir dir;
    ReferenceSettings s = c.settings;
    s.folder = dir.file("w");
    std::filesystem::create_directory(s.folder);
    const SamplerRun got = runSampler(img, s, 1, dir);
    const ReferenceRun want = referenceRun(img, s, 1);
    expectSameAsReference(got, want);
    std::vector<std::string> expected;
    for (const auto& n : c.expectedNames)
        expected.push_back(s.folder + "/" + n);
    EXPECT_EQ(got.names, expected);
    if (c.expectedTries >= 0) {
        EXPECT_EQ(got.outcome.tries, c.expectedTries);
    }
    EXPECT_EQ(got.outcome.stop, c.expectedStop);
    EXPECT_EQ(filesIn(s.folder), expected.size());
}

unsigned char black(int, int) { return 0; }
unsigned char white(int, int) { return 255; }

INSTANTIATE_TEST_SUITE_P(
    Sampler, SmallImages,
    ::testing::Values(
        EdgeCase{"AllBlackOneFileOfClass100", 1000, 1000, black, {50, 1, 1, 100, 1, 10, 1, 0, "", "S_", -1},
                 {"S_100_001.txt"}, 100000, SampleStop::TriesSpent},
        EdgeCase{"AllWhiteNoFile", 300, 300, white, {50, 1, 1, 100, 1, 10, 1, 0, "", "S_", -1}, {}, 100000,
                 SampleStop::TriesSpent},
        EdgeCase{"CoverMinZeroAdmitsClassZero", 300, 300, white, {50, 2, 0, 100, 1, 10, 1, 0, "", "", -1},
                 {"000_001.txt", "000_002.txt"}, 100000, SampleStop::TriesSpent},
        EdgeCase{"Value128IsHabitat", 120, 120, [](int, int) -> unsigned char { return 128; },
                 {50, 1, 100, 100, 1, 10, 1, 0, "", "", -1}, {"100_001.txt"}, -1, SampleStop::TargetReached},
        EdgeCase{"Value129IsMatrix", 120, 120, [](int, int) -> unsigned char { return 129; },
                 {50, 1, 0, 0, 1, 10, 1, 0, "", "", -1}, {"000_001.txt"}, -1, SampleStop::TargetReached},
        EdgeCase{"ImageNoWiderThanTheWindow", 100, 400, black, {50, 1, 1, 100, 1, 0, 1, 0, "", "", -1}, {}, 100000,
                 SampleStop::TriesSpent},
        EdgeCase{"ImageNoTallerThanTheWindow", 400, 100, black, {50, 1, 1, 100, 1, 0, 1, 0, "", "", -1}, {}, 100000,
                 SampleStop::TriesSpent},
        // Only centre (50, 50) fits; its window holds columns 0..99 of which the first 53 are habitat.
        EdgeCase{"Exactly53PercentIsClass53", 101, 101, [](int x, int) -> unsigned char { return x < 53 ? 0 : 255; },
                 {50, 1, 50, 60, 1, 10, 1, 0, "", "", -1}, {"053_001.txt"}, 100000, SampleStop::TriesSpent},
        EdgeCase{"JustBelow53PercentIsClass52", 101, 101,
                 [](int x, int y) -> unsigned char { return x < 53 && !(x == 0 && y == 0) ? 0 : 255; },
                 {50, 1, 50, 60, 1, 10, 1, 0, "", "", -1}, {"052_001.txt"}, 100000, SampleStop::TriesSpent},
        EdgeCase{"CoverMinAboveMaxWritesNothing", 300, 300, black, {20, 1, 60, 40, 1, 10, 1, 0, "", "", -1}, {},
                 100000, SampleStop::TriesSpent},
        EdgeCase{"CancelAfterThreeWindows", 300, 300, black, {5, 99, 100, 100, 1, 0, 1, 0, "", "c", 3},
                 {"c100_001.txt", "c100_002.txt", "c100_003.txt"}, -1, SampleStop::Cancelled}),
    CaseName());

TEST(Sampler, OnlyMultiplesOfTheStepAreSampled)
{
    // Habitat in columns 0..104: window cover falls steadily from 100 % to 6 % across the centres.
    const BlueImage img = makeBlue(200, 200, [](int x, int) -> unsigned char { return x < 105 ? 0 : 255; });
    TempDir dir;
    ReferenceSettings s{50, 1, 5, 50, 10, 0, 1, 0, dir.file("m"), "", -1};
    std::filesystem::create_directory(s.folder);
    SamplerRun got = runSampler(img, s, 4, dir);
    expectSameAsReference(got, referenceRun(img, s, 4));
    std::sort(got.names.begin(), got.names.end());
    std::vector<std::string> expected;
    for (const char* n : {"010_001.txt", "020_001.txt", "030_001.txt", "040_001.txt", "050_001.txt"})
        expected.push_back(s.folder + "/" + n);
    EXPECT_EQ(got.names, expected);
    EXPECT_EQ(got.outcome.stop, SampleStop::TargetReached);  // (50 + 10 - 5) / 10 = 5 windows
    EXPECT_EQ(got.outcome.levelsFilled, 5);
}

TEST(Sampler, ReplicateNumbersGrowPastThreeDigits)
{
    const BlueImage img = makeBlue(200, 200, black);
    TempDir dir;
    ReferenceSettings s{1, 1002, 100, 100, 1, 0, 1, 0, dir.file("r"), "", -1};
    std::filesystem::create_directory(s.folder);
    const SamplerRun got = runSampler(img, s, 5, dir);
    ASSERT_EQ(got.names.size(), 1002u);
    EXPECT_EQ(got.names[998], s.folder + "/100_999.txt");
    EXPECT_EQ(got.names[999], s.folder + "/100_1000.txt");
    EXPECT_EQ(got.names[1001], s.folder + "/100_1002.txt");
    EXPECT_EQ(readFile(s.folder + "/100_1000.txt"), "1 1 \n1 1 \n");
    EXPECT_EQ(got.outcome.stop, SampleStop::TargetReached);
}

TEST(Sampler, StraightforwardCountAgreesWithTheFastOne)
{
    const BlueImage img = readTgaBlue(sourceDir() + "/examples/augusta_forest.tga");
    for (bool straightforward : {false, true}) {
        TempDir dir;
        ReferenceSettings s{25, 2, 10, 90, 5, 15, 1, 0, dir.file("o"), "P", -1};
        std::filesystem::create_directory(s.folder);
        const SamplerRun got = runSampler(img, s, 77, dir, straightforward);
        expectSameAsReference(got, referenceRun(img, s, 77));
    }
}

// After one window nothing else fits: every in-image centre lies within the minimum distance.
TEST(Sampler, RunWithNoCentreLeftEndsBySelfAndSaysSo)
{
    const BlueImage img = makeBlue(3000, 3000, black);
    TempDir dir;
    ReferenceSettings s{1, 50, 100, 100, 1, 5000, 1, 0, dir.file("d"), "", -1};
    std::filesystem::create_directory(s.folder);
    const SamplerRun got = runSampler(img, s, 3, dir);
    // NoCentreLeft says the run saw it and ran the budget down at once, instead of drawing on.
    EXPECT_EQ(got.outcome.stop, SampleStop::NoCentreLeft);
    EXPECT_FALSE(got.outcome.message.empty());
    EXPECT_EQ(got.names.size(), 1u);
    // The plain search would have gone on to spend every try; the generator ends in the same state.
    expectSameAsReference(got, referenceRun(img, s, 3));
    EXPECT_EQ(got.outcome.tries, 100000);
}

TEST(Sampler, RareFreeCentresAreStillFound)
{
    // A minimum distance that leaves room for a few more windows only in far corners.
    const BlueImage img = makeBlue(400, 400, black);
    TempDir dir;
    ReferenceSettings s{2, 30, 100, 100, 1, 380, 1, 0, dir.file("d"), "", -1};
    std::filesystem::create_directory(s.folder);
    for (std::uint32_t seed : {1u, 8u, 31u}) {
        const SamplerRun got = runSampler(img, s, seed, dir);
        expectSameAsReference(got, referenceRun(img, s, seed));
    }
}

TEST(Sampler, CancelReachesTheRunWhileEveryPassIsRefused)
{
    const BlueImage img = makeBlue(3000, 3000, black);
    TempDir dir;
    ReferenceSettings s{1, 50, 100, 100, 1, 5000, 1, 0, dir.file("d"), "", -1};
    std::filesystem::create_directory(s.folder);
    long long callsAfterFirstWindow = 0;
    const SamplerRun got = runSampler(img, s, 3, dir, false, [&](const ProgressEvent& e) {
        if (e.done == 0)
            return true;
        return ++callsAfterFirstWindow < 500;
    });
    EXPECT_EQ(got.outcome.stop, SampleStop::Cancelled);
    EXPECT_EQ(got.names.size(), 1u);
    EXPECT_LT(got.outcome.tries, 100000);
}

TEST(Sampler, CancelWhilePreparingTheImageDrawsNothing)
{
    const BlueImage img = makeBlue(300, 1200, black);  // several 256-row blocks
    TempDir dir;
    ReferenceSettings s{5, 4, 100, 100, 1, 0, 1, 0, dir.file("p"), "", -1};
    std::filesystem::create_directory(s.folder);
    int calls = 0;
    const SamplerRun got = runSampler(img, s, 9, dir, false, [&](const ProgressEvent&) { return ++calls < 2; });
    EXPECT_EQ(got.outcome.stop, SampleStop::Cancelled);
    EXPECT_EQ(got.outcome.tries, 0);
    EXPECT_TRUE(got.names.empty());
    EXPECT_EQ(got.finalState, 9u) << "no draw was taken";
}

TEST(Sampler, ProgressCountsWindowsAndTriesLeft)
{
    const BlueImage img = makeBlue(300, 300, black);
    TempDir dir;
    ReferenceSettings s{5, 4, 100, 100, 1, 0, 1, 0, dir.file("p"), "", -1};
    std::filesystem::create_directory(s.folder);
    std::vector<ProgressEvent> events;
    const SamplerRun got = runSampler(img, s, 1, dir, false, [&](const ProgressEvent& e) {
        events.push_back(e);
        return true;
    });
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.front().done, 0);
    EXPECT_EQ(events.front().total, 4);
    EXPECT_EQ(events.front().budgetLeft, 100000);
    EXPECT_EQ(events.back().done, 3);
    EXPECT_EQ(events.back().budgetLeft, 100000 - got.outcome.tries);
}

TEST(Sampler, MissingFolderStopsAtTheFirstWindowAndNamesIt)
{
    const BlueImage img = makeBlue(300, 300, black);
    TempDir dir;
    ReferenceSettings s{5, 3, 100, 100, 1, 0, 1, 0, dir.file("missing"), "m", -1};
    const SamplerRun got = runSampler(img, s, 1, dir);
    EXPECT_EQ(got.outcome.stop, SampleStop::WindowWriteFailed);
    EXPECT_FALSE(got.outcome.ok());
    EXPECT_NE(got.outcome.message.find(s.folder + "/m100_001.txt"), std::string::npos) << got.outcome.message;
    EXPECT_NE(got.outcome.message.find("No such file"), std::string::npos) << got.outcome.message;
    EXPECT_TRUE(got.names.empty());
    EXPECT_EQ(got.log, "");
}

TEST(Sampler, UnwritableWindowKeepsWhatWasWrittenBefore)
{
    const BlueImage img = makeBlue(300, 300, black);
    TempDir dir;
    ReferenceSettings s{5, 3, 100, 100, 1, 0, 1, 0, dir.file("f"), "", -1};
    std::filesystem::create_directories(s.folder + "/100_002.txt");  // a folder where the second file must go
    const SamplerRun got = runSampler(img, s, 1, dir);
    EXPECT_EQ(got.outcome.stop, SampleStop::WindowWriteFailed);
    EXPECT_NE(got.outcome.message.find("100_002.txt"), std::string::npos);
    ASSERT_EQ(got.names, std::vector<std::string>{s.folder + "/100_001.txt"});
    EXPECT_EQ(got.outcome.written(), 1);
    const ReferenceRun want = referenceRun(img, s, 1);
    EXPECT_EQ(readFile(got.names[0]), want.windows[0].content);
    EXPECT_EQ(got.log, want.windows[0].logLine);
    EXPECT_TRUE(std::filesystem::is_directory(s.folder + "/100_002.txt")) << "what blocked the file must stay";
}

TEST(Sampler, FullDiskStopsTheRunAndLeavesNoPartialWindow)
{
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    const BlueImage img = makeBlue(300, 300, black);
    TempDir dir;
    ReferenceSettings s{40, 3, 100, 100, 1, 0, 1, 0, dir.file("f"), "", -1};
    std::filesystem::create_directory(s.folder);
    // A link to a device is written through, not replaced: writes there fail as on a full disk.
    std::filesystem::create_symlink("/dev/full", s.folder + "/100_002.txt");
    const SamplerRun got = runSampler(img, s, 1, dir);
    EXPECT_EQ(got.outcome.stop, SampleStop::WindowWriteFailed);
    EXPECT_NE(got.outcome.message.find("100_002.txt"), std::string::npos);
    EXPECT_NE(got.outcome.message.find("No space left"), std::string::npos) << got.outcome.message;
    EXPECT_EQ(got.names, std::vector<std::string>{s.folder + "/100_001.txt"});
    EXPECT_TRUE(std::filesystem::is_symlink(s.folder + "/100_002.txt"));
    EXPECT_EQ(std::filesystem::read_symlink(s.folder + "/100_002.txt"), "/dev/full");
    EXPECT_EQ(filesIn(s.folder), 1u);  // the link is not a regular file
    EXPECT_EQ(std::count(got.log.begin(), got.log.end(), '\n'), 1);
}

TEST(SampleRun, LoadsSamplesAndListsWhatTheSearchWrote)
{
    TempDir dir;
    WorkingDir cwd(dir.path());
    const BlueImage img = makeBlue(120, 90, [](int x, int y) { return (x * 7 + y * 3) % 11 < 5 ? 0 : 255; });
    writeTga(dir.file("map.tga"), img);
    std::filesystem::create_directory(dir.file("w"));
    ReferenceSettings s;
    s.h = 10;
    s.replicates = 2;
    s.coverMin = 30;
    s.coverMax = 60;
    s.folder = "w";
    s.prefix = "P_";
    SampleParameters p;
    p.image = dir.file("map.tga");
    p.folder = "w";
    p.windowSize = 21;  // an odd size loses one
    p.replicates = s.replicates;
    p.cover = {s.coverMin, s.coverMax, s.coverStep};
    p.prefix = s.prefix;
    p.postString = "!";
    RandomSource random(9);
    RunControl control;
    const SampleResult got = runSample(p, random, control);
    const ReferenceRun want = referenceRun(img, s, 9);
    ASSERT_FALSE(want.windows.empty());
    ASSERT_EQ(got.files.size(), want.windows.size());
    std::string list;
    for (std::size_t i = 0; i < want.windows.size(); ++i) {
        EXPECT_EQ(got.files[i], want.windows[i].name);
        list += want.windows[i].name + "!\n";
    }
    EXPECT_EQ(readFile("sample.txt"), want.log());
    EXPECT_EQ(got.batchList, "P_ListFragStat.fbt");
    EXPECT_EQ(readFile("P_ListFragStat.fbt"), list);

    // An image that cannot be read stops the run before anything is touched.
    TempDir empty;
    WorkingDir inEmpty(empty.path());
    p.image = empty.file("missing.tga");
    const SampleResult refused = runSample(p, random, control);
    EXPECT_EQ(refused.stop, SampleStop::NoImage);
    EXPECT_EQ(refused.status, RunStatus::Refused);
    EXPECT_EQ(filesIn(empty.path()), 0u);
}

TEST(SampleRun, ARunThatCannotStartLeavesEveryEarlierFileAsItWas)
{
    TempDir dir;
    WorkingDir cwd(dir.path());
    writeTga(dir.file("map.tga"), makeBlue(60, 40, [](int x, int) { return x < 30 ? 0 : 255; }));
    std::filesystem::create_directory(dir.file("w"));
    writeFile(dir.file("w/P_050_001.txt"), "1 0 \n");
    writeFile(dir.file("sample.txt"), "w/P_050_001.txt 0.5 20 20\n");
    writeFile(dir.file("P_ListFragStat.fbt"), "w/P_050_001.txt\n");
    const auto snapshot = [&] {
        std::map<std::string, std::string> files;
        for (const auto& e : std::filesystem::recursive_directory_iterator(dir.path()))
            if (e.is_regular_file())
                files[e.path().string()] = readFile(e.path().string());
        return files;
    };
    const auto before = snapshot();
    RunLock other;
    struct Case {
        const char* name;
        std::function<void(SampleParameters&)> change;
        std::string reason;
        bool busy = false;
    };
    const Case cases[] = {
        {"missing folder", [](SampleParameters& p) { p.folder = "gone"; }, "gone cannot be used"},
        {"window larger than the image", [](SampleParameters& p) { p.windowSize = 40; },
         "a window of 40 pixels does not fit inside the image of 60 x 40 pixels"},
        {"cover minimum above maximum", [](SampleParameters& p) { p.cover = {60, 40, 1}; },
         "cover minimum 60 is above the maximum 40"},
        {"line break in the prefix", [](SampleParameters& p) { p.prefix = "P\n"; }, "sample prefix holds a line break"},
        {"name too long", [](SampleParameters& p) { p.prefix = std::string(300, 'p'); }, "longer than the 255 bytes"},
        {"unreadable image", [](SampleParameters& p) { p.image = "nothing.tga"; }, "Não foi possivel carregar a imagem"},
        {"another run in the working directory", [](SampleParameters&) {}, "process " + std::to_string(getpid()), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SampleParameters p;
        p.image = "map.tga";
        p.folder = "w";
        p.windowSize = 10;
        p.prefix = "P_";
        c.change(p);
        if (c.busy)
            ASSERT_TRUE(other.acquire({dir.path()}));
        RandomSource random;
        RunControl control;
        const SampleResult got = runSample(p, random, control);
        other.release();
        EXPECT_EQ(got.status, RunStatus::Refused);
        EXPECT_NE(got.message.find(c.reason), std::string::npos) << got.message;
        EXPECT_TRUE(got.files.empty());
        EXPECT_EQ(snapshot(), before);
    }
}

TEST(Sampler, UnopenableLogDoesNothing)
{
    WindowSampler sampler;
    fillBitmap(sampler.image, makeBlue(300, 300, black));
    sampler.configure(128, 5, 0, 1);
    TempDir dir;
    SampleParameters p;
    p.folder = dir.path().string();
    p.logPath = dir.file("no/such/sample.txt");
    RandomSource random;
    RunControl control;
    const SampleResult out = sampler.sampleWindows(p, random, control);
    const std::vector<std::string>& names = out.files;
    EXPECT_EQ(out.stop, SampleStop::LogNotOpened);
    EXPECT_TRUE(names.empty());
    EXPECT_EQ(filesIn(dir.path()), 0u);
}

TEST(Sampler, RefusesToRunWithoutImageOrWithAnEmptyWindow)
{
    TempDir dir;
    RandomSource random;
    RunControl control;
    SampleParameters p;
    p.logPath = dir.file("sample.txt");
    WindowSampler none;
    none.configure(128, 5, 0, 1);
    EXPECT_EQ(none.sampleWindows(p, random, control).stop, SampleStop::NoImage);
    WindowSampler flat;
    fillBitmap(flat.image, makeBlue(50, 50, black));
    flat.configure(128, 0.9, 0, 1);
    EXPECT_EQ(flat.halfSize, 0);
    EXPECT_EQ(flat.sampleWindows(p, random, control).stop, SampleStop::BadParameters);
}

TEST(Sampler, EmptyFolderIsRefusedRatherThanTheRootFolder)
{
    WindowSampler sampler;
    fillBitmap(sampler.image, makeBlue(300, 300, black));
    sampler.configure(128, 5, 0, 1);
    TempDir dir;
    SampleParameters p;
    p.folder = "";
    p.logPath = dir.file("sample.txt");
    RandomSource random;
    RunControl control;
    const SampleResult out = sampler.sampleWindows(p, random, control);
    const std::vector<std::string>& names = out.files;
    EXPECT_EQ(out.stop, SampleStop::BadParameters);
    EXPECT_FALSE(out.ok());
    EXPECT_TRUE(names.empty());
    EXPECT_FALSE(std::filesystem::exists(p.logPath));
}

TEST(Sampler, ThirtyTwoBitPixelsAreTestedOnTheirBlueByte)
{
    // Alpha 0 everywhere and red the opposite of blue: only byte 2 of each 4-byte pixel counts.
    WindowSampler sampler;
    TgaImage& image = sampler.image;
    image.data = static_cast<unsigned char*>(std::malloc(6 * 6 * 4));
    for (int i = 0; i < 36; ++i) {
        const unsigned char blue = (i % 6) < 3 ? 10 : 250;
        image.data[i * 4] = static_cast<unsigned char>(255 - blue);
        image.data[i * 4 + 1] = 0;
        image.data[i * 4 + 2] = blue;
        image.data[i * 4 + 3] = 0;
    }
    image.width = image.height = 6;
    image.bitsPerPixel = 32;
    image.bytesPerPixel = 4;
    image.pixelCount = 36;
    image.loaded = 1;
    sampler.configure(128, 2, 0, 1);
    EXPECT_EQ(sampler.windowCover(3, 3), 8);  // columns 1..2 of 1..4 are habitat
    TempDir dir;
    ASSERT_TRUE(sampler.writeWindow(3, 3, 2, dir.file("w.txt")));
    EXPECT_EQ(readFile(dir.file("w.txt")), "1 1 1 1 \n1 1 1 1 \n0 0 0 0 \n0 0 0 0 \n");
}

TEST(Sampler, TargetMultipliesBeforeDividing)
{
    // Levels 10..50 with 3 replicates: the run asks for (50 + 10 - 5) * 3 / 10 = 16 windows, not 15.
    const BlueImage img = makeBlue(100, 100, black);
    TempDir dir;
    ReferenceSettings s{10, 3, 5, 50, 10, 0, 1, 0, dir.file("t"), "", -1};
    std::filesystem::create_directory(s.folder);
    std::int64_t total = -1;
    const SamplerRun got = runSampler(img, s, 1, dir, false, [&](const ProgressEvent& e) {
        total = e.total;
        return true;
    });
    EXPECT_EQ(got.outcome.target, 16);
    EXPECT_EQ(total, 16);
    EXPECT_EQ(got.outcome.levels, 5);
}

TEST(Sampler, WindowFileRunsAlongImageColumns)
{
    // Habitat only in image row 1 and image column 2: lines of the file are columns.
    WindowSampler sampler;
    fillBitmap(sampler.image, makeBlue(6, 6, [](int x, int y) -> unsigned char { return x == 2 || y == 1 ? 0 : 255; }));
    sampler.configure(128, 2, 5, 9);
    TempDir dir;
    std::string error;
    ASSERT_TRUE(sampler.writeWindow(3, 3, 2, dir.file("w.txt"), &error)) << error;
    EXPECT_EQ(readFile(dir.file("w.txt")), "9 5 5 5 \n9 9 9 9 \n9 5 5 5 \n9 5 5 5 \n");
    EXPECT_EQ(sampler.windowCover(3, 3), 7);
}

TEST(Sampler, CoverIsWrittenAsPrintfG)
{
    struct {
        double cover;
        const char* text;
    } cases[] = {{0.3042, "0.3042"}, {0.25, "0.25"}, {1.0, "1"}, {0.0, "0"}, {1.0 / 3.0, "0.333333"},
                 {5299.0 / 10000.0, "0.5299"}, {1.0 / 1e6, "1e-06"}};
    for (const auto& c : cases)
        EXPECT_EQ(formatCover(c.cover), c.text);
}

}  // namespace
