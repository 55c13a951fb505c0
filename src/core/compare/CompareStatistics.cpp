#include "core/compare/CompareStatistics.h"

#include <algorithm>
#include <cmath>

namespace orvalis {

double quantileType7(const std::vector<double>& sorted, double p)
{
    const double h = (static_cast<double>(sorted.size()) - 1.0) * p;
    const auto below = static_cast<std::size_t>(std::floor(h));
    const std::size_t above = std::min(below + 1, sorted.size() - 1);
    return sorted[below] + (h - static_cast<double>(below)) * (sorted[above] - sorted[below]);
}

NeutralSummary summarise(const std::optional<double>& real, const std::vector<std::optional<double>>& replicates)
{
    NeutralSummary s;
    std::vector<double> values;
    values.reserve(replicates.size());
    for (const std::optional<double>& v : replicates)
        if (v)
            values.push_back(*v);
    s.n = static_cast<int>(values.size());
    s.na = static_cast<int>(replicates.size()) - s.n;
    if (values.empty())
        return s;
    const double n = static_cast<double>(values.size());
    std::sort(values.begin(), values.end());
    double sum = 0.0;
    for (double v : values)
        sum += v;
    // Equal values have their own mean and no spread, whatever the rounding of the sum says.
    const bool allEqual = values.front() == values.back();
    const double mean = allEqual ? values.front() : sum / n;
    s.mean = mean;
    if (values.size() > 1) {
        double squares = 0.0;
        for (double v : values)
            squares += (v - mean) * (v - mean);
        s.sd = allEqual ? 0.0 : std::sqrt(squares / (n - 1.0));
    }
    s.low = quantileType7(values, 0.025);
    s.high = quantileType7(values, 0.975);
    if (!real)
        return s;
    const auto first = std::lower_bound(values.begin(), values.end(), *real);
    const auto last = std::upper_bound(first, values.end(), *real);
    const double below = static_cast<double>(first - values.begin());
    const double equal = static_cast<double>(last - first);
    s.percentile = 100.0 * (below + equal / 2.0) / n;
    if (s.sd && *s.sd > 0.0)
        s.z = (*real - mean) / *s.sd;
    return s;
}

}  // namespace orvalis
