#pragma once

#include "core/io/LandscapeFile.h"
#include "core/io/MetricsCsv.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvalis::test {

// The metrics table of files read back from the disk, in the order given: what a run that
// measures its files must have written.
inline std::string measuredTable(const std::vector<std::string>& files, int neighbours = 8)
{
    MetricsOptions options;
    options.neighbours = neighbours;
    std::string table = metricsCsvHeader();
    for (const std::string& file : files) {
        LandscapeGrid grid;
        EXPECT_TRUE(readLandscapeFile(file, grid).ok) << file;
        EXPECT_TRUE(appendMeasuredRows(table, file, grid, 1.0, std::nullopt, options)) << file;
    }
    return table;
}

}  // namespace orvalis::test
