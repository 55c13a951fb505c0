#include "core/io/MetricsCsv.h"

#include "core/io/NumberText.h"

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
    appendMetricsRowsAfter(out, csvField(file), values);
}

void appendMetricsRowsAfter(std::string& out, const std::string& leading, const std::vector<MetricValue>& values,
                            const std::function<bool(const MetricValue&)>& keep)
{
    for (const MetricValue& v : values) {
        if (keep && !keep(v))
            continue;
        out += leading;
        out += v.landscape ? ",landscape,," : ",class," + std::to_string(v.cls) + ",";
        out += ",";
        out += v.metric;
        out += ",";
        out += formatMetricValue(v.value);
        out += "\n";
    }
}

bool appendMeasuredRows(std::string& out, const std::string& file, const LandscapeGrid& grid,
                        const MetricsOptions& options, std::string* error)
{
    std::vector<MetricValue> values;
    if (!computeMetrics(grid, options, values, error))
        return false;
    appendMetricsRows(out, file, values);
    return true;
}

bool appendMeasuredRows(std::string& out, const std::string& file, std::span<const int> cells, int rows, int cols,
                        const MetricsOptions& options, std::string* error)
{
    std::vector<MetricValue> values;
    if (!computeMetrics(cells, rows, cols, options, values, error))
        return false;
    appendMetricsRows(out, file, values);
    return true;
}

}  // namespace orvalis
