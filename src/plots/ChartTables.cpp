#include "plots/ChartTables.h"

#include "core/compare/CompareTables.h"
#include "plots/CsvReader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <set>

namespace orvalis {

namespace {

// Not strtod: the user's locale may read "0.5" as 0.
bool readNumber(const std::string& text, double& value)
{
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

bool readInteger(const std::string& text, std::int64_t& value)
{
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

// One table opened with its header checked; rows are then read with next().
class Table {
public:
    Table(const std::filesystem::path& path, const std::vector<std::string>& names) : in_(path, std::ios::binary), csv_(in_)
    {
        name_ = path.filename().string();
        std::vector<std::string> header;
        if (!in_) {
            error_ = "cannot read " + path.string();
        } else if (!csv_.next(header)) {
            error_ = name_ + " is empty";
        } else {
            std::string missing;
            columns_ = csvColumns(header, names, &missing);
            if (!missing.empty())
                error_ = name_ + " has no column " + missing;
        }
    }
    bool opened(std::string* error) const
    {
        if (!error_.empty() && error)
            *error = error_;
        return error_.empty();
    }
    bool next()
    {
        while (csv_.next(fields_)) {
            if (fields_.size() == 1 && fields_[0].empty())
                continue;
            return true;
        }
        return false;
    }
    const std::string& field(std::size_t column) const
    {
        static const std::string none;
        const int at = columns_[column];
        return static_cast<std::size_t>(at) < fields_.size() ? fields_[static_cast<std::size_t>(at)] : none;
    }
    bool fail(const std::string& what, std::string* error) const
    {
        if (error)
            *error = name_ + " line " + std::to_string(csv_.records()) + ": " + what;
        return false;
    }

private:
    std::ifstream in_;
    CsvReader csv_;
    std::string name_;
    std::string error_;
    std::vector<int> columns_;
    std::vector<std::string> fields_;
};

bool readKey(const std::string& level, const std::string& cls, const std::string& metric, ChartKey& key)
{
    key.metric = metric;
    key.landscape = level == "landscape";
    key.cls = 0;
    if (key.landscape)
        return !metric.empty();
    std::int64_t c = 0;
    if (level != "class" || !readInteger(cls, c))
        return false;
    key.cls = static_cast<int>(c);
    return !metric.empty();
}

bool loadWindows(const std::filesystem::path& folder, ChartTables& out, std::string* error)
{
    enum { File, Rows, Cols, Habitat, Cover };
    Table t(folder / CompareFileNames::windows, {"file", "rows", "cols", "habitat", "cover"});
    if (!t.opened(error))
        return false;
    while (t.next()) {
        std::int64_t rows = 0, cols = 0;
        WindowInfo w;
        if (!readInteger(t.field(Rows), rows) || !readInteger(t.field(Cols), cols) ||
            !readInteger(t.field(Habitat), w.habitat) || !readNumber(t.field(Cover), w.cover))
            return t.fail("rows, cols, habitat or cover is not a number", error);
        w.rows = static_cast<int>(rows);
        w.cols = static_cast<int>(cols);
        out.windows[t.field(File)] = w;
    }
    return true;
}

std::size_t modelIndex(ChartTables& out, const std::string& model)
{
    const auto at = std::find(out.models.begin(), out.models.end(), model);
    if (at != out.models.end())
        return static_cast<std::size_t>(at - out.models.begin());
    out.models.push_back(model);
    return out.models.size() - 1;
}

bool loadCompare(const std::filesystem::path& folder, ChartTables& out, std::string* error)
{
    enum { File, Model, Level, Class, Metric, Real };
    Table t(folder / CompareFileNames::compare, {"file", "model", "level", "class", "metric", "real"});
    if (!t.opened(error))
        return false;
    std::set<std::pair<ChartKey, std::string>> seen;
    std::set<ChartKey> known;
    ChartKey key;
    while (t.next()) {
        if (!readKey(t.field(Level), t.field(Class), t.field(Metric), key))
            return t.fail("no level, class or metric", error);
        const std::string& file = t.field(File);
        const auto window = out.windows.find(file);
        if (window == out.windows.end())
            return t.fail("window " + file + " is not in windows.csv", error);
        modelIndex(out, t.field(Model));
        if (known.insert(key).second)
            out.keys.push_back(key);
        // Every model repeats the real value; one point per window.
        if (!seen.emplace(key, file).second || t.field(Real) == "NA")
            continue;
        double value = 0;
        if (!readNumber(t.field(Real), value))
            return t.fail("real is not a number", error);
        out.real[key].push_back({file, window->second.cover, value});
    }
    std::stable_sort(out.keys.begin(), out.keys.end(), [](const ChartKey& a, const ChartKey& b) {
        return std::pair(a.landscape, a.cls) < std::pair(b.landscape, b.cls);
    });
    return true;
}

struct Pool {
    std::vector<double> values;
    double coverSum = 0;
};

struct SpanningRow {
    int cls;
    double cover;
    bool spans;
};

bool loadNeutral(const std::filesystem::path& folder, ChartTables& out, std::string* error)
{
    enum { File, Model, Level, Class, Metric, Value };
    Table t(folder / CompareFileNames::neutral, {"file", "model", "level", "class", "metric", "value"});
    if (!t.opened(error))
        return false;
    const std::set<ChartKey> charted(out.keys.begin(), out.keys.end());
    // key -> model -> bin
    std::map<ChartKey, std::map<std::size_t, std::map<int, Pool>>> pools;
    std::map<int, std::size_t> plandMatches;
    std::vector<SpanningRow> spanning;
    ChartKey key;
    while (t.next()) {
        if (!readKey(t.field(Level), t.field(Class), t.field(Metric), key))
            return t.fail("no level, class or metric", error);
        const auto window = out.windows.find(t.field(File));
        if (window == out.windows.end())
            return t.fail("window " + t.field(File) + " is not in windows.csv", error);
        if (t.field(Value) == "NA")
            continue;
        double value = 0;
        if (!readNumber(t.field(Value), value))
            return t.fail("value is not a number", error);
        const double cover = window->second.cover;
        const std::string& model = t.field(Model);
        if (!key.landscape && key.metric == "pland" && std::abs(value - cover) <= 1e-6)
            ++plandMatches[key.cls];
        if (!key.landscape && key.metric == "spanning" && model == "random")
            spanning.push_back({key.cls, cover, value == 1});
        if (!charted.contains(key))
            continue;
        Pool& pool = pools[key][modelIndex(out, model)][coverBin(cover)];
        pool.values.push_back(value);
        pool.coverSum += cover;
    }

    for (auto& [k, models] : pools) {
        std::vector<ModelBand>& bands = out.bands[k];
        for (auto& [model, bins] : models) {
            ModelBand band{out.models[model], {}};
            for (auto& [bin, pool] : bins) {
                std::sort(pool.values.begin(), pool.values.end());
                const double n = static_cast<double>(pool.values.size());
                band.bins.push_back({bin, pool.coverSum / n, quantileOfSorted(pool.values, 0.025),
                                     quantileOfSorted(pool.values, 0.5), quantileOfSorted(pool.values, 0.975),
                                     pool.values.size()});
            }
            bands.push_back(std::move(band));
        }
    }

    // The habitat class is the one whose pland is the window's cover, in most windows; at 50 %
    // both classes match, so a tie goes to class 1, the usual cover value, else to the lowest.
    std::set<int> classes;
    for (const SpanningRow& r : spanning)
        classes.insert(r.cls);
    for (const auto& [cls, n] : plandMatches)
        classes.insert(cls);
    const bool recorded = out.habitatClass.has_value();
    for (int cls : recorded ? std::set<int>() : classes) {
        const auto score = [&](int c) { return std::pair(plandMatches[c], c == 1); };
        if (!out.habitatClass || score(cls) > score(*out.habitatClass))
            out.habitatClass = cls;
    }
    std::map<int, PercolationBin> percolation;
    for (const SpanningRow& r : spanning) {
        if (r.cls != out.habitatClass)
            continue;
        PercolationBin& b = percolation[coverBin(r.cover)];
        ++b.replicates;
        b.spanning += r.spans;
        b.cover += r.cover;
    }
    for (auto& [bin, b] : percolation) {
        b.bin = bin;
        b.cover /= static_cast<double>(b.replicates);
        out.percolation.push_back(b);
    }
    return true;
}

}  // namespace

std::string ChartKey::name() const
{
    return landscape ? "landscape_" + metric : "class_" + std::to_string(cls) + "_" + metric;
}

std::optional<double> constantValue(const ChartTables& tables, const ChartKey& key)
{
    std::optional<double> first;
    bool same = true;
    const auto see = [&](double v) {
        if (!first)
            first = v;
        else if (std::abs(v - *first) > 1e-12 * std::max(1.0, std::abs(*first)))
            same = false;
    };
    if (const auto real = tables.real.find(key); real != tables.real.end())
        for (const RealPoint& p : real->second)
            see(p.value);
    if (const auto bands = tables.bands.find(key); bands != tables.bands.end())
        for (const ModelBand& band : bands->second)
            for (const CoverBin& b : band.bins) {
                see(b.low);
                see(b.high);
            }
    return same ? first : std::nullopt;
}

int coverBin(double cover)
{
    return static_cast<int>(std::floor(cover + 1e-9));
}

double quantileOfSorted(const std::vector<double>& sorted, double p)
{
    if (sorted.empty())
        return 0;
    const double h = (static_cast<double>(sorted.size()) - 1) * p;
    const std::size_t lo = static_cast<std::size_t>(std::floor(h));
    if (lo + 1 >= sorted.size())
        return sorted.back();
    return sorted[lo] + (h - static_cast<double>(lo)) * (sorted[lo + 1] - sorted[lo]);
}

bool loadChartTables(const std::filesystem::path& folder, ChartTables& out, std::string* error)
{
    out = ChartTables{};
    out.folder = folder;
    // The record names the habitat's value; the tables' guess stands for folders without one.
    std::ifstream record(folder / CompareFileNames::record);
    for (std::string line; std::getline(record, line);) {
        std::int64_t value = 0;
        if (line.rfind("cover-value ", 0) == 0 && readInteger(line.substr(12), value)) {
            out.habitatClass = static_cast<int>(value);
            break;
        }
    }
    return loadWindows(folder, out, error) && loadCompare(folder, out, error) && loadNeutral(folder, out, error);
}

}  // namespace orvalis
