// libFuzzer target: any bytes as a landscape file. The fast parser must agree with a plain
// reading of the format rules, and both file readers with the parser; a rectangular grid is
// measured with every metric at every level, whose areas must add up.
#include "FuzzSupport.h"
#include "core/io/CompactGrid.h"
#include "core/io/LandscapeFile.h"
#include "core/metrics/LandscapeMetrics.h"

#include <cmath>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

// Lines split at every blank, the last field dropped, lines of fewer than two fields skipped.
orvalis::LandscapeGrid referenceParse(std::string_view text)
{
    orvalis::LandscapeGrid grid;
    while (!text.empty()) {
        const std::size_t nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        text = nl == std::string_view::npos ? std::string_view() : text.substr(nl + 1);
        std::vector<int> values;
        std::size_t blank;
        while ((blank = line.find(' ')) != std::string_view::npos) {
            values.push_back(orvalis::parseLandscapeField(line.substr(0, blank)));
            line.remove_prefix(blank + 1);
        }
        if (!values.empty())
            grid.push_back(std::move(values));
    }
    return grid;
}

// The whole catalogue, both patch rules, the first value seen as no-data: patch areas add up to
// the total area and the class shares to 100 %.
void measure(const orvalis::LandscapeGrid& grid)
{
    if (grid.empty() || grid.size() * grid[0].size() > 4096)
        return;
    std::vector<int> cells;
    for (const auto& line : grid) {
        if (line.size() != grid[0].size())
            return;
        cells.insert(cells.end(), line.begin(), line.end());
    }
    using L = orvalis::MetricLevel;
    static const orvalis::MetricSelection all = orvalis::MetricSelection::all({L::Patch, L::Class, L::Landscape});
    for (int rule : {4, 8}) {
        orvalis::MetricsOptions o;
        o.neighbours = rule;
        o.edgeDepth = 1 + static_cast<int>(cells.size() % 3);
        o.selection = all;
        std::vector<orvalis::MetricValue> out;
        const orvalis::GridView view{cells, static_cast<int>(grid.size()), static_cast<int>(grid[0].size()),
                                     cells.size() > 1 ? std::optional<int>(cells[0]) : std::nullopt, 30.0};
        if (!orvalis::computeMetrics(view, o, out))
            continue;  // every cell was no-data
        double area = 0, pland = 0, ta = -1;
        for (const orvalis::MetricValue& v : out) {
            if (v.level == L::Patch && v.metric == "area")
                area += *v.value;
            if (v.level == L::Class && v.metric == "pland")
                pland += *v.value;
            if (v.level == L::Landscape && v.metric == "ta")
                ta = *v.value;
        }
        if (std::fabs(area - ta) > 1e-9 * ta || std::fabs(pland - 100.0) > 1e-9) {
            fuzzsupport::report("metrics: patch areas or class shares do not add up");
            std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzsupport::keepReportChannel();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const orvalis::LandscapeGrid grid = orvalis::parseLandscape(text);
    if (grid != referenceParse(text)) {
        fuzzsupport::report("parseLandscape disagrees with the format rules");
        std::abort();
    }
    // The file readers refuse binary data (a NUL byte) and otherwise read what the parser reads.
    const bool binary = text.find('\0') != std::string_view::npos;
    const std::string path = fuzzsupport::writeToMemoryFile(data, size);
    orvalis::LandscapeGrid fromFile;
    const orvalis::LandscapeReadResult result = orvalis::readLandscapeFile(path, fromFile);
    if (binary ? (result.ok || !fromFile.empty()) : (!result.ok || fromFile != grid)) {
        fuzzsupport::report("readLandscapeFile differs from parseLandscape: " + result.error);
        std::abort();
    }
    orvalis::CompactGrid compact;
    const orvalis::LandscapeReadResult compactResult = orvalis::readLandscapeFile(path, compact);
    if (compactResult.ok != result.ok || compact.lines() != fromFile) {
        fuzzsupport::report("the compact reader differs from the plain one");
        std::abort();
    }
    measure(grid);
    return 0;
}
