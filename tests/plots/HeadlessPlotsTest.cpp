#include "plots/ComparePlots.h"
#include "plots/CompareFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace orvalis::test;

namespace {

// The command line has no application object and may run where no display exists.
TEST(HeadlessPlots, DrawsWithoutAnApplicationOrADisplay)
{
    unsetenv("QT_QPA_PLATFORM");
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    TempDir dir;
    writeCompareFolder(dir.path(), {{"a.txt", 30, 1}, {"b.txt", 60, 2}}, {"random"}, 3, true);
    const orvalis::PlotsResult result = orvalis::drawComparePlots(dir.path());
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_EQ(result.files.size(), 6u);  // two metrics and the percolation, PNG and SVG
    for (const std::string& file : result.files)
        EXPECT_GT(std::filesystem::file_size(file), 1000u) << file;
}

}  // namespace
