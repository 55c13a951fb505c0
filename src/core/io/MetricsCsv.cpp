#include "core/io/MetricsCsv.h"

#include "core/io/NumberText.h"
#include "core/run/StopFlag.h"

namespace orvalis {

std::string csvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string csvName(const std::string& text)
{
    if (!text.empty() && (text[0] == '=' || text[0] == '+' || text[0] == '-' || text[0] == '@'))
        return csvField("'" + text);
    return csvField(text);
}

std::string metricsCsvHeader()
{
    return "file,level,class,id,metric,value\n";
}

std::string formatMetricValue(const std::optional<double>& value)
{
    return value ? shortestText(*value) : "NA";
}

void appendMetricsRows(std::string& out, const std::string& file, const std::vector<MetricValue>& values)
{
    appendMetricsRowsAfter(out, csvName(file), values);
}

void appendMetricsRowsAfter(std::string& out, const std::string& leading, const std::vector<MetricValue>& values,
                            const std::function<bool(const MetricValue&)>& keep)
{
    for (const MetricValue& v : values) {
        if (keep && !keep(v))
            continue;
        out += leading;
        switch (v.level) {
        case MetricLevel::Patch:
            out += ",patch," + std::to_string(v.cls) + "," + std::to_string(v.id);
            break;
        case MetricLevel::Class:
            out += ",class," + std::to_string(v.cls) + ",";
            break;
        case MetricLevel::Landscape:
            out += ",landscape,,";
            break;
        }
        out += ",";
        out += v.metric;
        out += ",";
        out += formatMetricValue(v.value);
        out += "\n";
    }
}

bool appendMeasuredRows(std::string& out, const std::string& file, const GridView& grid, const MetricsOptions& options,
                        std::string* error)
{
    std::vector<MetricValue> values;
    if (!computeMetrics(grid, options, values, error))
        return false;
    // Millions of patch rows take a while to write out: a stop is heard every few thousand of them.
    const StopFlag stop(options.stop);
    const std::size_t before = out.size();
    std::size_t seen = 0;
    bool stopped = false;
    appendMetricsRowsAfter(out, csvName(file), values, [&](const MetricValue&) {
        stopped = stopped || ((++seen & 0xFFFF) == 0 && stop.raised());
        return !stopped;
    });
    if (stopped) {
        out.resize(before);
        if (error)
            *error = "stopped";
        return false;
    }
    return true;
}

std::vector<int> flattenGrid(const LandscapeGrid& grid)
{
    std::vector<int> cells;
    std::size_t n = 0;
    for (const auto& line : grid)
        n += line.size();
    cells.reserve(n);
    for (const auto& line : grid)
        cells.insert(cells.end(), line.begin(), line.end());
    return cells;
}

bool appendMeasuredRows(std::string& out, const std::string& file, const LandscapeGrid& grid, double cellSize,
                        const std::optional<int>& noData, const MetricsOptions& options, std::string* error)
{
    for (const auto& line : grid)
        if (line.size() != grid.front().size()) {
            if (error)
                *error = "the grid is not rectangular: its rows differ in length";
            return false;
        }
    const std::vector<int> cells = flattenGrid(grid);
    const GridView view{cells, static_cast<int>(grid.size()), grid.empty() ? 0 : static_cast<int>(grid.front().size()), noData,
                        cellSize};
    return appendMeasuredRows(out, file, view, options, error);
}

}  // namespace orvalis
