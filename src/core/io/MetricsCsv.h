#pragma once

#include "core/metrics/LandscapeMetrics.h"

#include <optional>
#include <string>
#include <vector>

namespace orvalis {

// The metrics table, shaped as landscapemetrics' results so that R and pandas join it directly:
// file,level,class,id,metric,value; class empty at landscape level, id empty.
std::string metricsCsvHeader();

// The rows of one file, appended to out. Values are the shortest text that reads back as the
// same double; an undefined value is NA.
void appendMetricsRows(std::string& out, const std::string& file, const std::vector<MetricValue>& values);

// A value as the table writes it.
std::string formatMetricValue(const std::optional<double>& value);

}  // namespace orvalis
