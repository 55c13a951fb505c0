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

    // Boundary j (1..k-1): the cells of classes j and above are the `within` highest-ranked ones.
    // Cells in a bucket above the boundary's are in, below it out; of the `members` cells of its
    // own bucket the first `rank` in rank order (value down, then cell number up) are in.
    struct Boundary {
        std::int64_t bucket = 0;  // -1: every cell in; Buckets: none
        std::int64_t rank = 0;
        std::int32_t slot = -1;  // its bucket's place among the buckets ranked cell by cell
    };
    std::vector<Boundary> boundaries(k > 0 ? k - 1 : 0);
    std::vector<std::int64_t> wanted;  // the boundaries' buckets, each once
    std::int64_t within = 0;
    for (std::size_t j = k; j-- > 1;) {
        within += counts[j];
        Boundary& b = boundaries[j - 1];
        if (within <= 0) {
            b.bucket = static_cast<std::int64_t>(Buckets);
            continue;
        }
        if (within >= n) {
            b.bucket = -1;
            continue;
        }
        std::int64_t seen = 0;
        std::size_t bucket = Buckets;
        while (bucket-- > 0 && seen + histogram[bucket] < within)
            seen += histogram[bucket];
        b.bucket = static_cast<std::int64_t>(bucket);
        b.rank = within - seen;
        const auto at = std::find(wanted.begin(), wanted.end(), b.bucket);
        b.slot = static_cast<std::int32_t>(at - wanted.begin());
        if (at == wanted.end())
            wanted.push_back(b.bucket);
    }

    // Every cell by its bucket; those of a boundary's bucket are kept for the ranking, each
    // thread's in the place its share of the bucket's cells (from its table) leaves it.
    std::vector<std::vector<std::size_t>> members(wanted.size());
    std::vector<std::vector<std::size_t>> place(threads, std::vector<std::size_t>(wanted.size(), 0));
    for (std::size_t w = 0; w < wanted.size(); ++w) {
        const auto bucket = static_cast<std::size_t>(wanted[w]);
        members[w].resize(static_cast<std::size_t>(histogram[bucket]));
        std::size_t at = static_cast<std::size_t>(histogram[bucket]);
        for (unsigned t = threads; t-- > 1;) {
            at -= static_cast<std::size_t>(tables[t][bucket]);
            place[t][w] = at;
        }
    }
    tables = {};
    // What a bucket's cells take: their class, the boundaries below the bucket counted, or -(slot + 1)
    // for a boundary's bucket.
    std::vector<std::int32_t> code(Buckets, 0), boundariesAt(Buckets, 0);
    auto below = static_cast<std::int32_t>(std::count_if(boundaries.begin(), boundaries.end(),
                                                         [](const Boundary& b) { return b.bucket < 0; }));
    for (const Boundary& b : boundaries)
        if (b.bucket >= 0 && b.bucket < static_cast<std::int64_t>(Buckets)) {
            code[static_cast<std::size_t>(b.bucket)] = -(b.slot + 1);
            ++boundariesAt[static_cast<std::size_t>(b.bucket)];
        }
    for (std::size_t b = 0; b < Buckets; ++b) {
        if (code[b] >= 0)
            code[b] = below;
        below += boundariesAt[b];
    }
    boundariesAt = {};
    forParts(size, threads, [&](unsigned t, std::size_t begin, std::size_t end) {
        std::size_t* next = place[t].data();
        for (std::size_t i = begin; i < end; ++i) {
            if (!inside(i)) {
                out[i] = outsideValue;
                continue;
            }
            const std::int32_t c = code[orderKey(surface[i]) >> BucketShift];
            if (c >= 0) {
                out[i] = values[static_cast<std::size_t>(c)];
            } else {
                const auto slot = static_cast<std::size_t>(-c - 1);
                members[slot][next[slot]++] = i;
            }
        }
    });
    struct Member {
        double value;
        std::size_t cell;
    };
    const auto higher = [](const Member& a, const Member& b) {
        return a.value > b.value || (a.value == b.value && a.cell < b.cell);
    };
    for (std::size_t w = 0; w < wanted.size(); ++w) {
        // The boundaries in this bucket, most cells in first; each cut inside the cells the one before kept.
        std::vector<std::int64_t> ranks;
        std::size_t base = 0;
        for (const Boundary& b : boundaries) {
            base += wanted[w] > b.bucket;
            if (b.bucket == wanted[w])
                ranks.push_back(b.rank);
        }
        std::sort(ranks.begin(), ranks.end(), std::greater<std::int64_t>());
        // Gives the cell at each rank position its class.
        const auto assign = [&](std::size_t count, const auto& cellAt) {
            std::size_t cls = base + ranks.size();
            std::size_t next = ranks.size();  // boundaries whose rank the position has not reached yet
            for (std::size_t p = 0; p < count; ++p) {
                while (next > 0 && static_cast<std::int64_t>(p) >= ranks[next - 1]) {
                    --next;
                    --cls;
                }
                out[cellAt(p)] = values[cls];
            }
        };
        std::vector<std::size_t>& cells = members[w];
        // The members are in cell order: when they share one value (a surface of few values), that
        // is their rank order, and their values need not be kept beside them.
        const double first = surface[cells.front()];
        if (std::all_of(cells.begin(), cells.end(), [&](std::size_t i) { return surface[i] == first; })) {
            assign(cells.size(), [&](std::size_t p) { return cells[p]; });
            continue;
        }
        std::vector<Member> ranked(cells.size());
        for (std::size_t p = 0; p < cells.size(); ++p)
            ranked[p] = {surface[cells[p]], cells[p]};
        cells = {};
        auto limit = ranked.end();
        for (const std::int64_t rank : ranks) {
            const auto cut = ranked.begin() + rank;
            if (cut < limit)
                std::nth_element(ranked.begin(), cut, limit, higher);
            limit = cut;
        }
        assign(ranked.size(), [&](std::size_t p) { return ranked[p].cell; });
    }
}

bool classifyTiles(std::span<const ValueTile> tiles, int rows, int cols, std::span<const std::int64_t> counts,
                   std::span<const int> values, std::span<int> out)
{
    const auto cells = static_cast<std::int64_t>(rows) * cols;
    if (std::accumulate(counts.begin(), counts.end(), std::int64_t{0}) != cells)
        return false;
    std::vector<std::size_t> order(tiles.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return tiles[a].value > tiles[b].value; });
    for (std::size_t i = 1; i < order.size(); ++i)
        if (tiles[order[i]].value == tiles[order[i - 1]].value)
            return false;
    // ends[m]: the rank just past the m-th class from the top (the last class first).
    const std::size_t k = counts.size();
    std::vector<std::int64_t> ends(k);
    std::int64_t end = 0;
    for (std::size_t m = 0; m < k; ++m)
        ends[m] = end += counts[k - 1 - m];
    // The rank of each tile's first cell; a tile's cells rank in cell order, row after row.
    std::vector<std::int64_t> firstRank(tiles.size());
    std::int64_t rank = 0;
    for (const std::size_t t : order) {
        firstRank[t] = rank;
        rank += static_cast<std::int64_t>(tiles[t].maxRow - tiles[t].minRow) * (tiles[t].maxCol - tiles[t].minCol);
    }
    if (rank != cells)
        return false;
    forParts(tiles.size(), passThreads(static_cast<std::size_t>(cells)), [&](unsigned, std::size_t begin, std::size_t stop) {
        for (std::size_t t = begin; t < stop; ++t) {
            const ValueTile& tile = tiles[t];
            const int width = tile.maxCol - tile.minCol;
            std::int64_t at = firstRank[t];
            auto m = static_cast<std::size_t>(std::upper_bound(ends.begin(), ends.end(), at) - ends.begin());
            for (int r = tile.minRow; r < tile.maxRow; ++r) {
                int* line = out.data() + static_cast<std::size_t>(r) * static_cast<std::size_t>(cols) +
                            static_cast<std::size_t>(tile.minCol);
                for (std::int64_t done = 0; done < width;) {
                    while (ends[m] <= at)
                        ++m;
                    const std::int64_t run = std::min<std::int64_t>(width - done, ends[m] - at);
                    std::fill_n(line + done, run, values[k - 1 - m]);
                    done += run;
                    at += run;
                }
            }
        }
    });
    return true;
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
