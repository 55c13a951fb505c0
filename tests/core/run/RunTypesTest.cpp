#include "core/io/BatchList.h"
#include "core/io/MetricsCsv.h"
#include "core/run/CoverRange.h"
#include "core/run/RunControl.h"
#include "core/run/RunRecord.h"
#include "core/run/RunResult.h"
#include "core/run/RunLock.h"
#include "support/PartialFiles.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

using namespace orvalis;
using orvalis::test::filesIn;
using orvalis::test::readFile;
using orvalis::test::unfinishedFiles;
using orvalis::test::WorkingDir;
using orvalis::test::writeFile;
using orvalis::test::TempDir;

// Every range of a small cube against the plain reading of each run's rule.
TEST(CoverRange, EachRunsRuleAgreesWithItsPlainReading)
{
    for (int min = -2; min <= 102; min += 3)
        for (int max = -2; max <= 102; max += 5)
            for (int step = 1; step <= 40; step += 3) {
                const CoverRange r{min, max, step};
                int sampled = 0;
                for (int c = 0; c <= 100; ++c) {
                    const bool multiple = c >= min && c <= max && c % step == 0;
                    ASSERT_EQ(isSampledClass(r, c), multiple);
                    sampled += multiple;
                    ASSERT_EQ(isFractalLevel(r, c), c >= min && c <= max && (c - min) % step == 0);
                }
                ASSERT_EQ(sampledClassCount(r), sampled);
                std::int64_t visited = 0;
                for (int c = min; c <= max; c += step)
                    ++visited;
                ASSERT_EQ(randomLevelCount(r), visited) << min << ":" << max << ":" << step;
                ASSERT_EQ(sampleTarget(r, 3), (std::int64_t(max) + step - min) * 3 / step);
                ASSERT_EQ(sampleDialogTotal(r, 3), 3 * ((std::int64_t(max) + step - min) / step));
                ASSERT_EQ(fractalLevelCount(r), (max - min) / step + 1);
            }
    // Named cases where the dialog and the run count differently, on purpose.
    EXPECT_EQ(sampleTarget({1, 11, 4}, 2), 7);
    EXPECT_EQ(sampleDialogTotal({1, 11, 4}, 2), 6);
    EXPECT_EQ(fractalLevelCount({50, 40, 20}), 1);
    EXPECT_EQ(randomLevelCount({50, 40, 20}), 0);
    EXPECT_EQ(sampleTarget({1, 100, 0}, 5), 0);
}

TEST(RunControl, AStopAskedByTheObserverOrFromOutsideSticks)
{
    int calls = 0;
    RunControl watched([&](const ProgressEvent& e) { return ++calls, e.done < 2; });
    EXPECT_TRUE(watched.report({1, 5, {}, -1}));
    EXPECT_FALSE(watched.report({2, 5, {}, -1}));
    EXPECT_FALSE(watched.report({1, 5, {}, -1}));
    EXPECT_EQ(calls, 2);  // once stopped, the observer is not asked again

    RunControl unwatched;
    EXPECT_FALSE(unwatched.observed());
    EXPECT_TRUE(unwatched.report({}));
    unwatched.cancel();
    EXPECT_TRUE(unwatched.observed());
    EXPECT_FALSE(unwatched.report({}));
}

TEST(RunRecord, ListsStartEmptyAtOnceAndNameEachFileAsItCompletes)
{
    TempDir dir;
    writeFile(dir.file("sample.txt"), "old/w_001.txt 0.5 3 4\n");
    writeFile(dir.file("x_ListFragStat.fbt"), "old/w_001.txt\n");
    {
        RunRecord record(dir.file("x_ListFragStat.fbt"), ",post");
        ASSERT_TRUE(record.begin(dir.file("sample.txt")));
        EXPECT_EQ(readFile(dir.file("sample.txt")), "");  // the earlier run's lists are gone at once
        EXPECT_EQ(readFile(dir.file("x_ListFragStat.fbt")), "");
        ASSERT_TRUE(record.addFile("w/a_001.txt", "w/a_001.txt 0.5 3 4"));
        // Flushed at once: a run killed now leaves lists naming exactly its complete file.
        EXPECT_EQ(readFile(dir.file("sample.txt")), "w/a_001.txt 0.5 3 4\n");
        EXPECT_EQ(readFile(dir.file("x_ListFragStat.fbt")), "w/a_001.txt,post\n");
        ASSERT_TRUE(record.finish());
    }
    EXPECT_EQ(unfinishedFiles(dir.path()), 0u);

    // A list that cannot be made leaves the other as it was.
    writeFile(dir.file("sample.txt"), "kept\n");
    RunRecord nowhere(dir.file("no/such/x_ListFragStat.fbt"));
    EXPECT_FALSE(nowhere.begin(dir.file("sample.txt")));
    EXPECT_EQ(nowhere.failedList(), RunRecord::List::BatchList);
    EXPECT_EQ(withReason("cannot create it", nowhere.error()), "cannot create it: No such file or directory");
    EXPECT_EQ(readFile(dir.file("sample.txt")), "kept\n");
    EXPECT_EQ(unfinishedFiles(dir.path()), 0u);

    RunRecord full;
    ASSERT_TRUE(full.begin("/dev/full"));  // a device is written through, never replaced
    EXPECT_FALSE(full.addFile("w/b.txt", "w/b.txt 1 2 3"));
    EXPECT_EQ(full.failedList(), RunRecord::List::Log);
    EXPECT_EQ(full.error(), "No space left on device");
    EXPECT_TRUE(full.files().empty());
}

TEST(RunRecord, MetricsTableStartsWithItsHeaderAndTakesEachFilesRowsAfterItsLines)
{
    TempDir dir;
    const std::string table = dir.file("metrics.csv");
    writeFile(table, "earlier\n");
    RunRecord blocked(dir.file("no/such/list.fbt"));
    blocked.keepMetrics(table, {});
    EXPECT_FALSE(blocked.begin(dir.file("sample.txt")));
    EXPECT_EQ(readFile(table), "earlier\n");  // replaced only once every list could be made
    EXPECT_FALSE(std::filesystem::exists(dir.file("sample.txt")));
    EXPECT_EQ(unfinishedFiles(dir.path()), 0u);

    MetricsOptions four;
    four.neighbours = 4;
    RunRecord record(dir.file("l.fbt"));
    record.keepMetrics(table, four);
    ASSERT_TRUE(record.begin(dir.file("sample.txt")));
    EXPECT_EQ(readFile(table), metricsCsvHeader());
    const LandscapeGrid grid = {{1, 0, 1}, {0, 1, 1}};
    ASSERT_TRUE(record.addFile("w/a.txt", grid, "w/a.txt 0.5 1 1"));
    std::string rows = metricsCsvHeader();
    ASSERT_TRUE(appendMeasuredRows(rows, "w/a.txt", grid, 1.0, std::nullopt, four));
    EXPECT_EQ(readFile(table), rows);

    // A grid the engine refuses leaves every list as it was and names the file.
    EXPECT_FALSE(record.addFile("w/ragged.txt", LandscapeGrid{{1, 0}, {1}}, "w/ragged.txt 0.5 1 1"));
    EXPECT_EQ(record.failedList(), RunRecord::List::Metrics);
    EXPECT_NE(record.error().find("w/ragged.txt"), std::string::npos) << record.error();
    EXPECT_EQ(readFile(dir.file("sample.txt")), "w/a.txt 0.5 1 1\n");
    EXPECT_EQ(readFile(dir.file("l.fbt")), "w/a.txt\n");
    EXPECT_EQ(readFile(table), rows);
    EXPECT_EQ(record.files(), std::vector<std::string>{"w/a.txt"});
}

TEST(RunLock, ASecondRunIntoTheSameFolderIsRefusedAndToldWhoHoldsIt)
{
    TempDir dir;
    std::filesystem::create_directory(dir.file("out"));
    RunLock first;
    ASSERT_TRUE(first.acquire({dir.file("out"), dir.path(), dir.file("out/.")}));  // one folder named twice
    RunLock second;
    EXPECT_FALSE(second.acquire({dir.path()}));
    EXPECT_NE(second.message().find("process " + std::to_string(getpid())), std::string::npos) << second.message();
    EXPECT_NE(second.message().find(dir.path().string()), std::string::npos) << second.message();
    first.release();
    EXPECT_TRUE(second.acquire({dir.path(), dir.file("out")}));
    EXPECT_EQ(filesIn(dir.path()), 0u);  // the folder itself is locked: nothing is left behind
}

// The batch list a run leaves, through the one writer every run uses.
TEST(RunRecord, BatchListLinesForEveryKindOfName)
{
    struct Case {
        const char* name;
        std::string prefix;
        std::vector<std::string> files;
        std::string postString, expected;
    };
    const Case cases[] = {
        {"two files in run order", "SMP_", {"out/SMP_50_002.txt", "out/SMP_10_001.txt"}, "",
         "out/SMP_50_002.txt\nout/SMP_10_001.txt\n"},
        {"post-string", "SMP_", {"a.txt"}, "  , x, 999", "a.txt  , x, 999\n"},
        {"empty prefix, other extension", "", {"a.dat"}, ",1", "a.txt,1\n"},
        {"map window kept whole", "", {"a.asc"}, ",1", "a.asc,1\n"},
        {"folder in the prefix", "runs/A_", {"b.txt"}, "", "b.txt\n"},
        {"non-ASCII", "\xc3\x81rea_", {"\xc3\xa7/\xe6\x97\xa5.txt"}, " \xc3\xa9", "\xc3\xa7/\xe6\x97\xa5.txt \xc3\xa9\n"},
        {"no files", "SMP_", {}, ", x", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        WorkingDir cwd(dir.path());
        std::filesystem::create_directory("runs");
        writeFile(batchListName(c.prefix), "an earlier run's list\n");
        RunRecord record(batchListName(c.prefix), c.postString);
        ASSERT_TRUE(record.begin());
        for (const std::string& f : c.files)
            ASSERT_TRUE(record.addFile(f));
        ASSERT_TRUE(record.finish());
        EXPECT_EQ(readFile(batchListName(c.prefix)), c.expected);
    }
    TempDir dir;
    WorkingDir cwd(dir.path());
    RunRecord missing(batchListName("missing/SMP_"));
    EXPECT_FALSE(missing.begin());
    EXPECT_FALSE(std::filesystem::exists("missing"));
}

TEST(RunSummary, NamesWhatWasWrittenAndEachLevelLeftShort)
{
    RunResult r;
    r.files = {"a", "b"};
    r.asked = 6;
    EXPECT_EQ(runSummary(r, "windows"), "2 of 6 windows written");
    r.shortLevels = {{"10 %", 0, 2}, {"20 %", 1, 2}, {"30 %", 1, 2}};
    EXPECT_EQ(runSummary(r, "windows"), "2 of 6 windows written; short: 10 % (0 of 2), 20 % (1 of 2), 30 % (1 of 2)");
    EXPECT_EQ(runSummary(r, "windows", 1), "2 of 6 windows written; short: 10 % (0 of 2) and 2 more");
}
