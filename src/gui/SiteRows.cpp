#include "gui/SiteRows.h"

#include "core/io/MetricsCsv.h"
#include "core/io/NumberText.h"
#include "core/sites/SiteMetrics.h"
#include "plots/CsvReader.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <sstream>

namespace {

std::optional<double> number(const std::string& text)
{
    if (text.empty())
        return std::nullopt;
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size())
        return std::nullopt;
    return v;
}

std::optional<int> whole(const std::string& text)
{
    int v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return v;
}

}  // namespace

bool SiteRows::add(const std::string& text)
{
    std::istringstream in(text);
    orvalis::CsvReader reader(in);
    std::vector<std::string> f;
    std::vector<SiteRow> added;
    const std::size_t sitesBefore = sites_.size(), metricsBefore = metrics_.size();
    const auto undo = [&] {
        sites_.resize(sitesBefore);
        metrics_.resize(metricsBefore);
        return false;
    };
    while (reader.next(f)) {
        if (f.size() == 1 && f[0].empty())
            continue;
        if (f.size() != 7)
            return undo();
        SiteRow row;
        // A site's rows come together: only a new name is kept again.
        if (sites_.size() == sitesBefore || sites_.back() != f[0])
            sites_.push_back(f[0]);
        row.site = static_cast<std::uint32_t>(sites_.size() - 1);
        const std::optional<double> radius = number(f[1]);
        if (!radius)
            return undo();
        row.radius = *radius;
        if (f[2] == "patch")
            row.level = orvalis::MetricLevel::Patch;
        else if (f[2] == "class")
            row.level = orvalis::MetricLevel::Class;
        else if (f[2] != "landscape")
            return undo();
        row.cls = whole(f[3]);
        row.id = whole(f[4]);
        if ((row.level != orvalis::MetricLevel::Landscape) != row.cls.has_value() ||
            (row.level == orvalis::MetricLevel::Patch) != row.id.has_value())
            return undo();
        const auto known = std::find(metrics_.begin(), metrics_.end(), f[5]);
        row.metric = static_cast<std::uint32_t>(known - metrics_.begin());
        if (known == metrics_.end())
            metrics_.push_back(f[5]);
        if (f[6] != "NA") {
            row.value = number(f[6]);
            if (!row.value)
                return undo();
        }
        added.push_back(row);
    }
    rows_.insert(rows_.end(), added.begin(), added.end());
    return true;
}

std::string SiteRows::csv() const
{
    std::string out = orvalis::sitesCsvHeader();
    for (const SiteRow& r : rows_) {
        out += orvalis::csvName(site(r));
        out += ',';
        out += orvalis::shortestText(r.radius);
        out += ',';
        out += orvalis::levelName(r.level);
        out += ',';
        if (r.cls)
            out += std::to_string(*r.cls);
        out += ',';
        if (r.id)
            out += std::to_string(*r.id);
        out += ',';
        out += metric(r);
        out += ',';
        out += orvalis::formatMetricValue(r.value);
        out += '\n';
    }
    return out;
}
