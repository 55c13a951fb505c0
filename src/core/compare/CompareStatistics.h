#pragma once

#include <optional>
#include <vector>

namespace orvalis {

// Where a real value falls among the values of its neutral replicates, as compare.csv writes it.
struct NeutralSummary {
    int n = 0;   // replicates with a value
    int na = 0;  // replicates whose value is undefined, left out
    std::optional<double> mean, sd, low, high, percentile, z;  // low, high: the 2.5 % and 97.5 % quantiles
};

// The quantile p of sorted values by linear interpolation between order statistics (R's type 7,
// numpy's default); sorted must not be empty.
double quantileType7(const std::vector<double>& sorted, double p);

// Sample sd (n - 1); percentile rank 100 (below + equal / 2) / n; z = (real - mean) / sd.
// Undefined where n is 0, sd is 0 or undefined, or real is undefined.
NeutralSummary summarise(const std::optional<double>& real, const std::vector<std::optional<double>>& replicates);

}  // namespace orvalis
