#pragma once

#include "core/metrics/MetricCatalogue.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One row of a sites table: site,radius,level,class,id,metric,value.
struct SiteRow {
    std::uint32_t site = 0;    // into SiteRows::sites
    double radius = 0;
    orvalis::MetricLevel level = orvalis::MetricLevel::Landscape;
    std::optional<int> cls;    // class and patch level
    std::optional<int> id;     // patch level
    std::uint32_t metric = 0;  // into SiteRows::metrics
    std::optional<double> value;  // nullopt: NA
};

// A sites table held for the window, compact enough for many thousands of sites: names kept once.
class SiteRows {
public:
    // Adds the rows measureSites gave for one site; false, adding nothing, at a line that is no row.
    bool add(const std::string& text);

    const std::vector<SiteRow>& rows() const { return rows_; }
    const std::string& site(const SiteRow& row) const { return sites_[row.site]; }
    const std::string& metric(const SiteRow& row) const { return metrics_[row.metric]; }
    // The table as measureSites' rows write it, its header first.
    std::string csv() const;

private:
    std::vector<SiteRow> rows_;
    std::vector<std::string> sites_;
    std::vector<std::string> metrics_;
};
