#include "core/io/MetricsCsv.h"

#include "core/io/NumberText.h"

namespace orvalis {

namespace {

// A field quoted only when it must be: commas, quotes or line breaks inside.
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

}  // namespace

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
    const std::string name = csvField(file);
    for (const MetricValue& v : values) {
        out += name;
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
