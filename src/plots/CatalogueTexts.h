#pragma once

#include "core/metrics/MetricCatalogue.h"
#include "core/neutral/NeutralModels.h"

#include <QString>

#include <string>
#include <vector>

// The texts of the engines' tables (metrics, neutral models) in the window's language. The engines
// keep their English; the window and its charts translate here, in the contexts below, whose texts
// catalogue-texts lists for lupdate (src/gui/translations/catalogue-texts.cpp). Without a
// translator, as in the command line, each text comes back as the table gives it.
namespace orvalis::catalogue {

inline constexpr char metricsContext[] = "orvalis::metrics";
inline constexpr char modelsContext[] = "orvalis::models";

QString metricName(const MetricDef& d);
QString metricUnit(const MetricDef& d);
QString metricDefinition(const MetricDef& d);
QString typeName(MetricType type);
QString modelTitle(const NeutralModelDef& d);
QString parameterHelp(const ModelParameter& p);

struct Text {
    const char* context;
    std::string text;
};
// Every text the functions above translate, each once, in table order.
std::vector<Text> allTexts();
// The file lupdate reads them from: one QT_TRANSLATE_NOOP a text.
std::string lupdateSource();

}  // namespace orvalis::catalogue
