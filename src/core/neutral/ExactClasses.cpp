#include "core/neutral/ExactClasses.h"

#include "core/neutral/NumericSupport.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <numeric>
#include <thread>

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

namespace {

// A key whose unsigned order is the values' order (-0 taken as 0; no NaN in a surface).
inline std::uint64_t orderKey(double v)
{
    v += 0.0;
    std::uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    return (bits >> 63) ? ~bits : bits | (std::uint64_t(1) << 63);
}

constexpr int BucketBits = 16;
constexpr std::size_t Buckets = std::size_t(1) << BucketBits;
constexpr int BucketShift = 64 - BucketBits;

}  // namespace

void classifyByRank(std::span<const double> surface, std::span<const std::int64_t> counts, std::span<const int> values,
                    std::span<int> out, std::span<const unsigned char> mask, int outsideValue)
{
    const std::size_t k = counts.size();
    const bool masked = !mask.empty();
    const std::size_t size = surface.size();
    const unsigned threads = passThreads(size);
    const auto inside = [&](std::size_t i) { return !masked || mask[i] != 0; };

    // The cells counted by the top bits of their keys, one table a thread.
    std::vector<std::vector<std::int64_t>> tables(threads, std::vector<std::int64_t>(Buckets, 0));
    forParts(size, threads, [&](unsigned t, std::size_t begin, std::size_t end) {
        std::int64_t* table = tables[t].data();
        for (std::size_t i = begin; i < end; ++i)
            if (inside(i))
                ++table[orderKey(surface[i]) >> BucketShift];
    });
    std::vector<std::int64_t>& histogram = tables[0];
    for (unsigned t = 1; t < threads; ++t)
        for (std::size_t b = 0; b < Buckets; ++b)
            histogram[b] += tables[t][b];
    std::int64_t n = 0;
    for (std::int64_t c : histogram)
        n += c;

    // Boundary j (1..k-1): the cells of classes j and above are the `within` highest-ranked ones:
    // every value above threshold, then the first `ties` cells equal to it.
    struct Boundary {
        double threshold = 0.0;
        std::int64_t ties = 0;
        std::int64_t within = 0;
        std::size_t bucket = 0;
        bool found = false;  // threshold is the within-th highest value, still to be found
    };
    std::vector<Boundary> boundaries(k > 0 ? k - 1 : 0);
    std::int64_t within = 0;
    for (std::size_t j = k; j-- > 1;) {
        within += counts[j];
        Boundary& b = boundaries[j - 1];
        b.within = within;
        if (within <= 0)
            b.threshold = std::numeric_limits<double>::infinity();
        else if (within >= n)
            b.threshold = -std::numeric_limits<double>::infinity();
        else
            b.found = true;
    }
    // The bucket of each threshold, from the top, and the cells above that bucket.
    std::vector<std::int64_t> aboveBucket(boundaries.size(), 0);
    for (std::size_t j = 0; j < boundaries.size(); ++j) {
        Boundary& b = boundaries[j];
        if (!b.found)
            continue;
        std::int64_t seen = 0;
        std::size_t bucket = Buckets;
        while (bucket-- > 0 && seen + histogram[bucket] < b.within)
            seen += histogram[bucket];
        b.bucket = bucket;
        aboveBucket[j] = seen;
    }
    // The values of the threshold buckets, then the rank within each bucket.
    std::vector<std::size_t> wanted;
    for (const Boundary& b : boundaries)
        if (b.found && std::find(wanted.begin(), wanted.end(), b.bucket) == wanted.end())
            wanted.push_back(b.bucket);
    std::vector<std::vector<double>> members(wanted.size());
    for (std::size_t w = 0; w < wanted.size(); ++w)
        members[w].reserve(static_cast<std::size_t>(histogram[wanted[w]]));
    if (!wanted.empty()) {
        std::vector<std::int32_t> slot(Buckets, -1);
        for (std::size_t w = 0; w < wanted.size(); ++w)
            slot[wanted[w]] = static_cast<std::int32_t>(w);
        // Each thread gathers its part; the order within a bucket does not change its ranks.
        std::vector<std::vector<std::vector<double>>> parts(threads, std::vector<std::vector<double>>(wanted.size()));
        forParts(size, threads, [&](unsigned t, std::size_t begin, std::size_t end) {
            std::vector<std::vector<double>>& mine = t == 0 ? members : parts[t];
            for (std::size_t i = begin; i < end; ++i)
                if (inside(i))
                    if (const std::int32_t w = slot[orderKey(surface[i]) >> BucketShift]; w >= 0)
                        mine[static_cast<std::size_t>(w)].push_back(surface[i]);
        });
        for (unsigned t = 1; t < threads; ++t)
            for (std::size_t w = 0; w < wanted.size(); ++w)
                members[w].insert(members[w].end(), parts[t][w].begin(), parts[t][w].end());
    }
    for (std::size_t j = 0; j < boundaries.size(); ++j) {
        Boundary& b = boundaries[j];
        if (!b.found)
            continue;
        std::vector<double>& m = members[static_cast<std::size_t>(std::find(wanted.begin(), wanted.end(), b.bucket) - wanted.begin())];
        const auto nth = m.begin() + (b.within - aboveBucket[j] - 1);
        std::nth_element(m.begin(), nth, m.end(), std::greater<double>());
        b.threshold = *nth;
        const std::int64_t aboveInBucket = std::count_if(m.begin(), m.end(), [&](double v) { return v > b.threshold; });
        b.ties = b.within - aboveBucket[j] - aboveInBucket;
    }
    // The empty classes' boundaries copy the one above, from the top down.
    for (std::size_t j = boundaries.size(); j-- > 0;)
        if (j + 1 < boundaries.size() && counts[j + 1] == 0)
            boundaries[j] = boundaries[j + 1];

    members = {};  // no longer needed: the ties' list below takes their room

    // Every cell by the thresholds; those equal to one are kept, in order, for the ties.
    std::vector<std::vector<std::size_t>> equal(threads);
    forParts(size, threads, [&](unsigned t, std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end; ++i) {
            if (!inside(i)) {
                out[i] = outsideValue;
                continue;
            }
            const double v = surface[i];
            std::size_t cls = 0;
            bool tie = false;
            for (const Boundary& b : boundaries) {
                cls += v > b.threshold;
                tie |= v == b.threshold;
            }
            if (tie)
                equal[t].push_back(i);
            else
                out[i] = values[cls];
        }
    });
    for (const std::vector<std::size_t>& part : equal)
        for (const std::size_t i : part) {
            const double v = surface[i];
            std::size_t cls = 0;
            for (Boundary& b : boundaries) {
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
