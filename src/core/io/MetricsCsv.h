#pragma once

#include "core/io/LandscapeFile.h"
#include "core/metrics/LandscapeMetrics.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvalis {

// The metrics table, shaped as landscapemetrics' results so that R and pandas join it directly:
// file,level,class,id,metric,value; class empty at landscape level, id empty but at patch level.
std::string metricsCsvHeader();

// The rows of one file, appended to out. Values are the shortest text that reads back as the
// same double; an undefined value is NA.
void appendMetricsRows(std::string& out, const std::string& file, const std::vector<MetricValue>& values);

// The rows of a grid measured with options, appended to out under the name file; false with
// *error set when the engine refuses the grid (out is then unchanged).
bool appendMeasuredRows(std::string& out, const std::string& file, const GridView& grid, const MetricsOptions& options,
                        std::string* error = nullptr);
// The same for a grid of lines (line j is grid row j).
bool appendMeasuredRows(std::string& out, const std::string& file, const LandscapeGrid& grid, double cellSize,
                        const std::optional<int>& noData, const MetricsOptions& options, std::string* error = nullptr);

// The cells of a grid of lines in one block, row after row, for a GridView.
std::vector<int> flattenGrid(const LandscapeGrid& grid);

// The rows of one file after leading fields already in CSV form (such as "name,random,3"),
// keeping only the metrics keep accepts (all when it is empty).
void appendMetricsRowsAfter(std::string& out, const std::string& leading, const std::vector<MetricValue>& values,
                            const std::function<bool(const MetricValue&)>& keep = {});

// A field quoted only when it must be: commas, quotes or line breaks inside.
std::string csvField(const std::string& text);

// A name (a file, a site) as a field: csvField, and one that begins with =, +, - or @ gets a
// leading ' so that a spreadsheet shows it as text instead of running it as a formula.
std::string csvName(const std::string& text);

// A value as the table writes it.
std::string formatMetricValue(const std::optional<double>& value);

}  // namespace orvalis
