#include "plots/CatalogueTexts.h"

#include <QCoreApplication>

namespace orvalis::catalogue {

namespace {

QString translated(const char* context, const std::string& text)
{
    return text.empty() ? QString() : QCoreApplication::translate(context, text.c_str());
}

}  // namespace

QString metricName(const MetricDef& d)
{
    return translated(metricsContext, d.name);
}

QString metricUnit(const MetricDef& d)
{
    return translated(metricsContext, d.unit);
}

QString metricDefinition(const MetricDef& d)
{
    return translated(metricsContext, d.definition);
}

QString typeName(MetricType type)
{
    return translated(metricsContext, orvalis::typeName(type));
}

QString modelTitle(const NeutralModelDef& d)
{
    return translated(modelsContext, d.title);
}

QString parameterHelp(const ModelParameter& p)
{
    return translated(modelsContext, p.help);
}

}  // namespace orvalis::catalogue
