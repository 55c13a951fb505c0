// The metrics that read nothing but cell and side counts, each with the catalogue's formula, step
// for step and in its order of summing, so that a window gives the engine's value to the last bits.
#include "core/surface/CountMetrics.h"

#include <cmath>
#include <string_view>

namespace orvalis {

namespace {

using std::int64_t;
using std::size_t;
using Value = std::optional<double>;
using M = WindowMeasure;
using L = MetricLevel;

Value defined(double v)
{
    return std::isfinite(v) ? Value(v) : std::nullopt;
}

double minPerimeter(int64_t n)
{
    const int64_t s = static_cast<int64_t>(std::floor(std::sqrt(static_cast<double>(n))));
    const int64_t r = n - s * s;
    return static_cast<double>(r == 0 ? 4 * s : r <= s ? 4 * s + 2 : 4 * s + 4);
}

double maxLikeSides(int64_t n)
{
    const int64_t s = static_cast<int64_t>(std::floor(std::sqrt(static_cast<double>(n))));
    const int64_t r = n - s * s;
    return static_cast<double>(r == 0 ? 2 * s * (s - 1) : r <= s ? 2 * s * (s - 1) + 2 * r - 1 : 2 * s * (s - 1) + 2 * r - 2);
}

double entropy(M& m, const std::vector<double>& entries)
{
    double total = 0;
    for (double e : entries)
        total += e;
    if (total <= 0)
        return 0;
    double h = 0;
    for (double e : entries)
        if (e > 0)
            h -= e / total * m.log(e / total);
    return h;
}

struct Adjacency {
    std::vector<double> entries;
    std::vector<double> rows;
};

Adjacency adjacency(M& m)
{
    Adjacency a;
    const size_t K = m.classCount();
    a.rows.assign(K, 0.0);
    for (size_t k = 0; k < K; ++k) {
        const double like = 2.0 * static_cast<double>(m.likeOf(k));
        if (like > 0)
            a.entries.push_back(like);
        a.rows[k] += like;
    }
    for (const M::Pair& q : m.pairs()) {
        const double n = static_cast<double>(q.sides);
        a.entries.push_back(n);
        a.entries.push_back(n);
        a.rows[static_cast<size_t>(q.a)] += n;
        a.rows[static_cast<size_t>(q.b)] += n;
    }
    return a;
}

struct Entropies {
    double composition;
    double complexity;
};

Entropies adjacencyEntropies(M& m)
{
    const Adjacency a = adjacency(m);
    return {entropy(m, a.rows), entropy(m, a.entries)};
}

double share(M& m, size_t k)
{
    return static_cast<double>(m.cellsOf(k)) / static_cast<double>(m.dataCells());
}

double classes(M& m)
{
    return static_cast<double>(m.classCount());
}

double outline(M& m, size_t k)
{
    return static_cast<double>(m.edgeOf(k) + m.boundaryOf(k));
}

Value iji(M& m, const std::vector<double>& sides, double pairsPossible)
{
    if (m.classCount() < 3)
        return std::nullopt;
    double total = 0;
    for (double e : sides)
        total += e;
    if (total <= 0)
        return 0.0;
    double h = 0;
    for (double e : sides)
        if (e > 0)
            h -= e / total * std::log(e / total);
    return defined(h / std::log(pairsPossible) * 100.0);
}

double simpson(M& m)
{
    double s = 0;
    for (size_t k = 0; k < m.classCount(); ++k)
        s += share(m, k) * share(m, k);
    return s;
}

// Sides counted as edge by te and ed: between classes, and with --count-boundary every other outline side too.
double edgeSides(M& m, size_t k)
{
    return static_cast<double>(m.edgeOf(k)) + (m.options().countBoundary ? static_cast<double>(m.boundaryOf(k)) : 0.0);
}

double edgeSidesAll(M& m)
{
    double sides = static_cast<double>(m.edgeAll());
    if (m.options().countBoundary)
        for (size_t k = 0; k < m.classCount(); ++k)
            sides += static_cast<double>(m.boundaryOf(k));
    return sides;
}

Value nlsi(M& m, size_t k)
{
    const double e = outline(m, k);
    const double n = static_cast<double>(m.cellsOf(k));
    const double N = static_cast<double>(m.dataCells());
    const double minE = minPerimeter(m.cellsOf(k));
    const double p = n / N;
    const double frame = 2.0 * m.side() + 2.0 * m.side();
    const double cut = (0.5 * N + 0.5 * frame) / N;
    const bool even = m.dataCells() % 2 == 0;
    double maxE = p <= 0.5 ? 4.0 * n : p <= cut ? (even ? 3.0 * N - 2.0 * n : 3.0 * N - 2.0 * n + 3.0) : e + 4.0 * (N - n);
    if (m.fragstats() && p > 0.5) {
        double outlineAll = 0;
        for (size_t j = 0; j < m.classCount(); ++j)
            outlineAll += static_cast<double>(m.boundaryOf(j));
        maxE = outlineAll + 4.0 * (N - n);
    }
    return defined((e - minE) / (maxE - minE));
}

Value clumpy(M& m, size_t k)
{
    const int64_t n = m.cellsOf(k);
    if (n < 2 || n == m.dataCells() || (m.fragstats() && n == m.dataCells() - 1))
        return Value();
    const double g = 2.0 * static_cast<double>(m.likeOf(k)) / (4.0 * static_cast<double>(n) - minPerimeter(n));
    const double s = share(m, k);
    return defined(g < s && s < 0.5 ? (g - s) / s : (g - s) / (1.0 - s));
}

Value contag(M& m)
{
    const size_t K = m.classCount();
    if (K < 2)
        return Value();
    const Adjacency adj = adjacency(m);
    double sum = 0;
    if (m.fragstats()) {
        auto add = [&](size_t row, double g) {
            const double q = share(m, row) * g / adj.rows[row];
            sum += q * std::log(q);
        };
        for (size_t k = 0; k < K; ++k)
            if (m.likeOf(k) > 0)
                add(k, 2.0 * static_cast<double>(m.likeOf(k)));
        for (const M::Pair& q : m.pairs()) {
            add(static_cast<size_t>(q.a), static_cast<double>(q.sides));
            add(static_cast<size_t>(q.b), static_cast<double>(q.sides));
        }
    } else {
        double total = 0;
        for (double e : adj.entries)
            total += e;
        if (total <= 0)
            return Value();
        for (double e : adj.entries)
            sum += e / total * std::log(e / total);
    }
    return defined((1.0 + sum / (2.0 * std::log(static_cast<double>(K)))) * 100.0);
}

Value shdi(M& m)
{
    double h = 0;
    for (size_t k = 0; k < m.classCount(); ++k)
        h -= share(m, k) * std::log(share(m, k));
    return Value(h);
}

const CountedMetric counted[] = {
    {"pland", L::Class, false, false, [](M& m, size_t k) { return Value(100.0 * share(m, k)); }, nullptr},
    {"ca", L::Class, false, false, [](M& m, size_t k) { return Value(static_cast<double>(m.cellsOf(k)) * m.cellHa()); },
     nullptr},
    {"ed", L::Class, false, false, [](M& m, size_t k) { return Value(edgeSides(m, k) * m.cellSide() / m.areaHa()); },
     nullptr},
    {"te", L::Class, false, false, [](M& m, size_t k) { return Value(edgeSides(m, k) * m.cellSide()); }, nullptr},
    {"lsi", L::Class, false, false, [](M& m, size_t k) { return defined(outline(m, k) / minPerimeter(m.cellsOf(k))); },
     nullptr},
    {"nlsi", L::Class, false, false, nlsi, nullptr},
    {"pladj", L::Class, false, false,
     [](M& m, size_t k) {
         return Value(2.0 * static_cast<double>(m.likeOf(k)) / (4.0 * static_cast<double>(m.cellsOf(k))) * 100.0);
     },
     nullptr},
    {"ai", L::Class, false, false,
     [](M& m, size_t k) {
         if (m.cellsOf(k) < 2)
             return Value();
         return Value(static_cast<double>(m.likeOf(k)) / maxLikeSides(m.cellsOf(k)) * 100.0);
     },
     nullptr},
    {"clumpy", L::Class, false, false, clumpy, nullptr},
    {"iji", L::Class, true, false, [](M& m, size_t k) { return iji(m, m.sidesOf(k), classes(m) - 1.0); }, nullptr},

    {"ta", L::Landscape, false, false, nullptr, [](M& m) { return Value(m.areaHa()); }},
    {"ed", L::Landscape, false, false, nullptr, [](M& m) { return Value(edgeSidesAll(m) * m.cellSide() / m.areaHa()); }},
    {"te", L::Landscape, false, false, nullptr, [](M& m) { return Value(edgeSidesAll(m) * m.cellSide()); }},
    {"lsi", L::Landscape, false, false, nullptr,
     [](M& m) {
         double sides = static_cast<double>(m.edgeAll());
         for (size_t k = 0; k < m.classCount(); ++k)
             sides += static_cast<double>(m.boundaryOf(k));
         return defined(sides / minPerimeter(m.dataCells()));
     }},
    {"pladj", L::Landscape, false, true, nullptr,
     [](M& m) {
         double like = 0;
         for (size_t k = 0; k < m.classCount(); ++k)
             like += 2.0 * static_cast<double>(m.likeOf(k));
         // Whole numbers below 2^53: their sum as doubles does not depend on the order.
         const double edge = static_cast<double>(m.outerEdge());
         return defined(like / (like + 2.0 * static_cast<double>(m.edgeAll()) + edge) * 100.0);
     }},
    {"ai", L::Landscape, false, false, nullptr,
     [](M& m) {
         double sum = 0;
         for (size_t k = 0; k < m.classCount(); ++k)
             if (m.cellsOf(k) > 1)
                 sum += static_cast<double>(m.likeOf(k)) / maxLikeSides(m.cellsOf(k)) * 100.0 * share(m, k);
         return Value(sum);
     }},
    {"contag", L::Landscape, true, false, nullptr, contag},
    {"iji", L::Landscape, true, false, nullptr,
     [](M& m) {
         std::vector<double> sides;
         for (const M::Pair& q : m.pairs())
             sides.push_back(static_cast<double>(q.sides));
         return iji(m, sides, classes(m) * (classes(m) - 1.0) / 2.0);
     }},
    {"shdi", L::Landscape, false, false, nullptr, shdi},
    {"shei", L::Landscape, false, false, nullptr,
     [](M& m) {
         if (m.classCount() < 2)
             return Value(0.0);
         return defined(*shdi(m) / std::log(classes(m)));
     }},
    {"sidi", L::Landscape, false, false, nullptr, [](M& m) { return Value(1.0 - simpson(m)); }},
    {"siei", L::Landscape, false, false, nullptr,
     [](M& m) { return defined((1.0 - simpson(m)) / (1.0 - 1.0 / classes(m))); }},
    {"msidi", L::Landscape, false, false, nullptr, [](M& m) { return defined(-std::log(simpson(m))); }},
    {"msiei", L::Landscape, false, false, nullptr,
     [](M& m) { return defined(-std::log(simpson(m)) / std::log(classes(m))); }},
    {"pr", L::Landscape, false, false, nullptr, [](M& m) { return Value(classes(m)); }},
    {"prd", L::Landscape, false, false, nullptr, [](M& m) { return Value(classes(m) / m.areaHa() * 100.0); }},
    {"rpr", L::Landscape, false, false, nullptr,
     [](M& m) {
         if (!m.options().classesMax)
             return Value();
         return defined(classes(m) / *m.options().classesMax * 100.0);
     }},
    {"ent", L::Landscape, true, false, nullptr, [](M& m) { return Value(adjacencyEntropies(m).composition); }},
    {"joinent", L::Landscape, true, false, nullptr, [](M& m) { return Value(adjacencyEntropies(m).complexity); }},
    {"condent", L::Landscape, true, false, nullptr,
     [](M& m) {
         const Entropies e = adjacencyEntropies(m);
         return Value(e.complexity - e.composition);
     }},
    {"mutinf", L::Landscape, true, false, nullptr,
     [](M& m) {
         const Entropies e = adjacencyEntropies(m);
         return Value(2.0 * e.composition - e.complexity);
     }},
    {"relmutinf", L::Landscape, true, false, nullptr,
     [](M& m) {
         const Entropies e = adjacencyEntropies(m);
         const double mutinf = 2.0 * e.composition - e.complexity;
         return mutinf == 0 ? Value(1.0) : defined(mutinf / e.composition);
     }},
};

}  // namespace

CountLayout::CountLayout(int classes, bool pairs)
    : classes_(classes), pairs_(pairs), size_(3 * classes + 1 + (pairs ? classes * (classes - 1) / 2 : 0))
{
}

WindowMeasure::WindowMeasure(const CountLayout& layout, const MetricsOptions& options, double cellSize, int side)
    : layout_(layout), options_(options), cellSize_(cellSize), cellHa_(cellSize * cellSize / 10000.0), side_(side),
      presentOf_(static_cast<size_t>(layout.classes()), -1), present_(presentOf_.size()), cells_(presentOf_.size()),
      like_(presentOf_.size()), edge_(presentOf_.size())
{
}

void WindowMeasure::load(const std::int32_t* counts, std::int64_t outerEdge)
{
    counts_ = counts;
    outerEdge_ = outerEdge;
    for (std::size_t i = 0; i < classes_; ++i)
        presentOf_[static_cast<size_t>(present_[i])] = -1;
    const int K = layout_.classes();
    const std::int32_t* cells = counts + layout_.cells(0);
    const std::int32_t* like = counts + layout_.like(0);
    const std::int32_t* edge = counts + layout_.edge(0);
    std::size_t n = 0;
    int64_t edges = 0;
    for (int k = 0; k < K; ++k) {
        if (cells[k] <= 0)
            continue;
        presentOf_[static_cast<size_t>(k)] = static_cast<int>(n);
        present_[n] = k;
        cells_[n] = cells[k];
        like_[n] = like[k];
        edge_[n] = edge[k];
        edges += edge[k];
        ++n;
    }
    classes_ = n;
    dataCells_ = counts[layout_.data()];
    edgeAll_ = edges / 2;
    paired_ = sided_ = false;
}

double WindowMeasure::log(double x) const
{
    switch (options_.base) {
    case LogBase::Log2: return std::log2(x);
    case LogBase::Log10: return std::log10(x);
    case LogBase::Ln: break;
    }
    return std::log(x);
}

const std::vector<WindowMeasure::Pair>& WindowMeasure::pairs()
{
    if (paired_)
        return pairs_;
    pairs_.clear();
    const int K = static_cast<int>(classes_);
    for (int i = 0; i < K; ++i)
        for (int j = i + 1; j < K; ++j)
            if (const std::int32_t n = counts_[layout_.pair(present_[static_cast<size_t>(i)], present_[static_cast<size_t>(j)])];
                n > 0)
                pairs_.push_back({i, j, n});
    paired_ = true;
    return pairs_;
}

const std::vector<double>& WindowMeasure::sidesOf(size_t k)
{
    if (!sided_) {
        sidesOf_.resize(classCount());
        for (auto& s : sidesOf_)
            s.clear();
        for (const Pair& q : pairs()) {
            sidesOf_[static_cast<size_t>(q.a)].push_back(static_cast<double>(q.sides));
            sidesOf_[static_cast<size_t>(q.b)].push_back(static_cast<double>(q.sides));
        }
        sided_ = true;
    }
    return sidesOf_[k];
}

const CountedMetric* countedMetric(const MetricDef& def)
{
    for (const CountedMetric& c : counted)
        if (c.level == def.level && def.code == std::string_view(c.code))
            return &c;
    return nullptr;
}

}  // namespace orvalis
