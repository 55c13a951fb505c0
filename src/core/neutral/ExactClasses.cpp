#include "core/neutral/ExactClasses.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <numeric>

namespace orvalis {

std::string checkProportions(std::span<const double> proportions)
{
    if (proportions.empty())
        return "no proportions given";
    double sum = 0.0;
    for (double p : proportions) {
        if (!std::isfinite(p) || p < 0.0)
            return "proportions must be numbers of at least 0";
        sum += p;
    }
    if (std::fabs(sum - 1.0) > 1e-9)
        return "proportions must sum to 1 (within 1e-9); these sum to " + std::to_string(sum);
    return {};
}

std::vector<std::int64_t> classCounts(std::span<const double> proportions, std::int64_t cells)
{
    const std::size_t k = proportions.size();
    std::vector<std::int64_t> counts(k, 0);
    std::vector<double> remainders(k, 0.0);
    std::int64_t given = 0;
    for (std::size_t i = 0; i < k; ++i) {
        const double exact = proportions[i] * static_cast<double>(cells);
        counts[i] = std::min(cells - given, static_cast<std::int64_t>(std::floor(exact)));
        remainders[i] = exact - std::floor(exact);
        given += counts[i];
    }
    std::vector<std::size_t> order(k);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return remainders[a] > remainders[b]; });
    for (std::size_t i = 0; given < cells && k > 0; i = (i + 1) % k, ++given)
        ++counts[order[i]];
    return counts;
}

void classifyByRank(std::span<const double> surface, std::span<const std::int64_t> counts, std::span<const int> values,
                    std::span<int> out, std::span<const unsigned char> mask, int outsideValue)
{
    const std::size_t k = counts.size();
    const bool masked = !mask.empty();
    std::vector<double> ranked;
    ranked.reserve(surface.size());
    for (std::size_t i = 0; i < surface.size(); ++i)
        if (!masked || mask[i])
            ranked.push_back(surface[i]);
    const auto n = static_cast<std::int64_t>(ranked.size());
    // Boundary j (1..k-1): the cells of classes j and above are the `within` highest-ranked ones:
    // every value above threshold, then the first `ties` cells equal to it.
    struct Boundary {
        double threshold = 0.0;
        std::int64_t ties = 0;
    };
    std::vector<Boundary> boundaries(k > 0 ? k - 1 : 0);
    std::int64_t within = 0;
    std::size_t sortedUpTo = 0;  // ranked[0, sortedUpTo) holds the highest values already
    for (std::size_t j = k; j-- > 1;) {
        within += counts[j];
        Boundary& b = boundaries[j - 1];
        if (j + 1 < k && counts[j] == 0) {
            // An empty class: the boundary below it is the one above.
            b = boundaries[j];
            continue;
        }
        if (within <= 0) {
            b.threshold = std::numeric_limits<double>::infinity();
            continue;
        }
        if (within >= n) {
            b.threshold = -std::numeric_limits<double>::infinity();
            continue;
        }
        const auto nth = ranked.begin() + (within - 1);
        std::nth_element(ranked.begin() + static_cast<std::ptrdiff_t>(sortedUpTo), nth, ranked.end(), std::greater<double>());
        sortedUpTo = static_cast<std::size_t>(within);
        b.threshold = *nth;
        const std::int64_t above = std::count_if(ranked.begin(), ranked.end(), [&](double v) { return v > b.threshold; });
        b.ties = within - above;
    }
    for (std::size_t i = 0; i < surface.size(); ++i) {
        if (masked && !mask[i]) {
            out[i] = outsideValue;
            continue;
        }
        const double v = surface[i];
        std::size_t cls = 0;
        for (std::size_t j = 0; j < boundaries.size(); ++j) {
            Boundary& b = boundaries[j];
            bool in = v > b.threshold;
            if (!in && v == b.threshold && b.ties > 0) {
                --b.ties;
                in = true;
            }
            cls += in;
        }
        out[i] = values[cls];
    }
}

void placeHighest(std::span<const double> surface, std::int64_t habitat, int coverValue, int matrixValue,
                  std::span<int> out, std::span<const unsigned char> mask, int outsideValue)
{
    std::int64_t inside = static_cast<std::int64_t>(surface.size());
    if (!mask.empty())
        inside = std::count_if(mask.begin(), mask.end(), [](unsigned char m) { return m != 0; });
    habitat = std::clamp<std::int64_t>(habitat, 0, inside);
    const std::int64_t counts[2] = {inside - habitat, habitat};
    const int values[2] = {matrixValue, coverValue};
    classifyByRank(surface, counts, values, out, mask, outsideValue);
}

std::int64_t habitatAtCover(int percent, std::int64_t cells)
{
    return (cells * percent + 50) / 100;
}

}  // namespace orvalis
