// Apart from the translations: only catalogue-texts and the tests read the whole tables through here.
#include "plots/CatalogueTexts.h"

#include <set>
#include <utility>

namespace orvalis::catalogue {

namespace {

constexpr MetricType Types[] = {MetricType::AreaEdge, MetricType::Shape,     MetricType::Core,
                                MetricType::Aggregation, MetricType::Diversity, MetricType::Complexity};

std::string quoted(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + '"';
}

}  // namespace

std::vector<Text> allTexts()
{
    std::vector<Text> out;
    std::set<std::pair<std::string, std::string>> seen;
    const auto add = [&](const char* context, const std::string& text) {
        if (!text.empty() && seen.insert({context, text}).second)
            out.push_back({context, text});
    };
    for (MetricType t : Types)
        add(metricsContext, orvalis::typeName(t));
    for (const MetricDef& d : metricCatalogue()) {
        add(metricsContext, d.name);
        add(metricsContext, d.unit);
        add(metricsContext, d.definition);
    }
    for (const NeutralModelDef& d : neutralModels()) {
        add(modelsContext, d.title);
        for (const ModelParameter& p : d.parameters)
            add(modelsContext, p.help);
    }
    return out;
}

std::string lupdateSource()
{
    std::string out = "// Written by catalogue-texts (scripts/update-translations.sh) from the metric and neutral-model\n"
                      "// tables: lupdate reads their texts here. Not compiled.\n"
                      "static const char* const catalogueTexts[] = {\n";
    for (const Text& t : allTexts())
        out += "    QT_TRANSLATE_NOOP(" + quoted(t.context) + ", " + quoted(t.text) + "),\n";
    return out + "};\n";
}

}  // namespace orvalis::catalogue
