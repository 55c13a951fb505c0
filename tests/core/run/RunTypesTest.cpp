#include "core/run/CoverRange.h"
#include "core/run/RunControl.h"
#include "core/run/RunRecord.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace orvalis;
using orvalis::test::readFile;
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
                ASSERT_EQ(fractalDialogLevelCount(r), (max - min) / step + 1);
            }
    // Named cases where the dialog and the run count differently, on purpose.
    EXPECT_EQ(sampleTarget({1, 11, 4}, 2), 7);
    EXPECT_EQ(sampleDialogTotal({1, 11, 4}, 2), 6);
    EXPECT_EQ(fractalDialogLevelCount({50, 40, 20}), 1);
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

TEST(RunRecord, LogAndListNameOnlyFilesWhoseLineWasWritten)
{
    TempDir dir;
    RunRecord record(dir.file("x_ListFragStat.fbt"), ",post");
    ASSERT_TRUE(record.openLog(dir.file("sample.txt")));
    ASSERT_TRUE(record.addFile("w/a_001.txt", "w/a_001.txt 0.5 3 4"));
    EXPECT_EQ(readFile(dir.file("sample.txt")), "w/a_001.txt 0.5 3 4\n");  // flushed at once
    ASSERT_TRUE(record.closeLog());
    ASSERT_TRUE(record.writeBatchList());
    EXPECT_EQ(readFile(dir.file("x_ListFragStat.fbt")), "w/a_001.txt,post\n");

    RunRecord full;
    ASSERT_TRUE(full.openLog("/dev/full"));
    EXPECT_FALSE(full.addFile("w/b.txt", "w/b.txt 1 2 3"));
    EXPECT_EQ(full.error(), "No space left on device");
    EXPECT_TRUE(full.files().empty());
    EXPECT_TRUE(full.writeBatchList());  // a run without a batch list writes none

    RunRecord nowhere;
    EXPECT_FALSE(nowhere.openLog(dir.file("no/such/sample.txt")));
    EXPECT_EQ(withReason("cannot create sample.txt", nowhere.error()),
              "cannot create sample.txt: No such file or directory");
}
