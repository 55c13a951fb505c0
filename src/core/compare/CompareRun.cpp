#include "core/compare/CompareRun.h"

#include "core/compare/ComparePipeline.h"
#include "core/compare/CompareRecord.h"
#include "core/compare/CompareStatistics.h"
#include "core/compare/CompareTables.h"
#include "core/io/MetricsCsv.h"
#include "core/io/NumberText.h"
#include "core/run/RunChecks.h"
#include "core/run/RunLock.h"
#include "core/run/RunRecord.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <set>
#include <thread>

namespace orvalis {

std::string NeutralModel::name() const
{
    if (kind == Kind::Table)
        return choice.text();
    return kind == Kind::Random ? "random" : "fractal:" + shortestText(H);
}

std::optional<NeutralModel> NeutralModel::parse(const std::string& text, std::string* error)
{
    const auto refuse = [&](const std::string& why) -> std::optional<NeutralModel> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    if (text == "random")
        return NeutralModel{Kind::Random, 0.5};
    const std::string prefix = "fractal:";
    if (text.compare(0, prefix.size(), prefix) != 0 || text.find('=') != std::string::npos) {
        std::optional<ModelChoice> choice = parseModelChoice(text, error);
        if (!choice)
            return std::nullopt;
        if (choice->model->name == "fractal")
            return NeutralModel{Kind::Fractal, choice->number("h")};
        if (choice->model->name == "random")
            return NeutralModel{Kind::Random, 0.5};
        if (choice->value("source"))
            return refuse("'" + text + "': a source grid has one size, and windows have many");
        return NeutralModel{Kind::Table, 0.5, std::move(*choice)};
    }
    double H = 0.0;
    const char* begin = text.data() + prefix.size();
    const char* end = text.data() + text.size();
    const auto r = std::from_chars(begin, end, H);
    if (begin == end || r.ec != std::errc() || r.ptr != end)
        return refuse("'" + text + "': H must be a number, as in fractal:0.5");
    if (!(H > 0.0 && H <= 1.0))
        return refuse("'" + text + "': H must lie in (0, 1]");
    return NeutralModel{Kind::Fractal, H};
}

std::vector<NeutralModel> defaultNeutralModels()
{
    using K = NeutralModel::Kind;
    return {{K::Random, 0.5}, {K::Fractal, 0.2}, {K::Fractal, 0.5}, {K::Fractal, 0.8}};
}

std::optional<MetricSelection> compareSelection(const std::vector<std::string>& names, std::string* error)
{
    return MetricSelection::parse(names, {MetricLevel::Class, MetricLevel::Landscape}, error);
}

std::string checkMetricNames(const std::vector<std::string>& names)
{
    std::string why;
    compareSelection(names, &why);
    return why;
}

namespace {

std::string checkCompareParameters(const CompareParameters& p)
{
    if (p.files.empty())
        return "no windows to compare";
    if (p.models.empty())
        return "no neutral models named";
    for (const NeutralModel& m : p.models)
        if (std::string why; m.kind != NeutralModel::Kind::Random && !NeutralModel::parse(m.name(), &why))
            return why;
    if (p.replicates < 1)
        return "the number of replicates must be at least 1";
    if (p.shards < 1 || p.shard < 1 || p.shard > p.shards)
        return "shard " + std::to_string(p.shard) + "/" + std::to_string(p.shards) + " does not exist";
    if (p.jobs < 0)
        return "the number of jobs cannot be negative";
    if (p.coverValue == p.matrixValue)
        return "the cover and matrix values must differ";
    if (p.metrics.neighbours != 4 && p.metrics.neighbours != 8)
        return "neighbours must be 4 or 8";
    if (const std::string why = checkMetricsOptions(p.metrics); !why.empty())
        return why;
    if (!(p.cellSize > 0.0) || !std::isfinite(p.cellSize))
        return "the cell size must be above 0";
    return checkMetricNames(p.metricNames);
}

// The shard's windows, by their index in the full list.
std::vector<int> shardWindows(const CompareParameters& p)
{
    std::vector<int> windows;
    for (std::size_t i = static_cast<std::size_t>(p.shard - 1); i < p.files.size(); i += static_cast<std::size_t>(p.shards))
        windows.push_back(static_cast<int>(i));
    return windows;
}

// Landscapes are named after their window: two windows of one name would write over each other.
std::string checkLandscapeNames(const CompareParameters& p, const std::vector<int>& windows)
{
    std::set<std::string> seen;
    for (int i : windows) {
        const std::string& file = p.files[static_cast<std::size_t>(i)];
        if (!seen.insert(std::filesystem::path(file).stem().string()).second)
            return "two windows are named like " + file + ": their kept landscapes would share names";
    }
    return {};
}

std::string makeFolders(const CompareParameters& p)
{
    if (!p.keepLandscapes)
        return {};
    for (const NeutralModel& m : p.models) {
        std::error_code ec;
        const std::filesystem::path folder = p.output / "landscapes" / modelFolderName(m);
        std::filesystem::create_directories(folder, ec);
        if (ec)
            return "cannot make " + folder.string() + ": " + ec.message();
    }
    return {};
}

void appendCompareRow(std::string& out, const std::string& leading, const MetricKeys::Key& key,
                      const std::optional<double>& real, const NeutralSummary& s)
{
    out += leading;
    if (key.level == MetricLevel::Landscape) {
        out += ",landscape,";
    } else {
        out += ",class,";
        out += std::to_string(key.cls);
    }
    for (const std::string& field : {key.metric, formatMetricValue(real), std::to_string(s.n), std::to_string(s.na)}) {
        out += ',';
        out += field;
    }
    for (const std::optional<double>* v : {&s.mean, &s.sd, &s.low, &s.high, &s.percentile, &s.z}) {
        out += ',';
        out += formatMetricValue(*v);
    }
    out += '\n';
}

}  // namespace

RunResult runCompare(const CompareParameters& p, RunControl& control)
{
    RunResult result;
    const std::vector<int> windows = shardWindows(p);
    result.message = checkCompareParameters(p);
    // Nothing readable to compare: the earlier tables in the folder stay as they are.
    if (result.message.empty() && !windows.empty() && std::none_of(windows.begin(), windows.end(), [&](int w) {
            // A FIFO is no window: asked first, so that opening never waits on one.
            std::error_code ec;
            return std::filesystem::is_regular_file(p.files[static_cast<std::size_t>(w)], ec) &&
                   std::ifstream(p.files[static_cast<std::size_t>(w)], std::ios::binary).good();
        }))
    {
        const std::string& first = p.files[static_cast<std::size_t>(windows.front())];
        std::error_code ec;
        const std::string why = !std::filesystem::exists(first, ec)        ? ": no such file"
                                : !std::filesystem::is_regular_file(first, ec) ? ": not a regular file"
                                                                             : "";
        result.message = "none of the windows can be read (the first: " + first + why + ")";
    }
    if (result.message.empty() && p.keepLandscapes)
        result.message = checkLandscapeNames(p, windows);
    if (result.message.empty())
        result.message = checkOutputFolder(p.output);
    RunLock lock;
    if (result.message.empty() && !lock.acquire({p.output}))
        result.message = lock.message();
    if (result.message.empty())
        result.message = makeFolders(p);
    CompareTables tables;
    if (result.message.empty() && !tables.begin(p.output, compareRecordHead(p)))
        result.message = "cannot create " + tables.error();
    if (!result.message.empty()) {
        result.status = RunStatus::Refused;
        return result;
    }
    result.asked = static_cast<long long>(windows.size()) * static_cast<long long>(p.models.size()) * p.replicates;

    int jobs = p.jobs > 0 ? p.jobs : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    jobs = std::min(jobs, 256);
    const MetricKeys keys(*compareSelection(p.metricNames), p.coverValue, p.matrixValue);
    ComparePipeline pipeline(p, windows, keys, jobs);
    const bool watched = control.observed();
    const std::int64_t total = result.asked;
    std::int64_t done = 0;
    std::string label;
    const auto goOn = [&] { return !watched || control.report(ProgressEvent{done, total, label, -1}); };
    std::vector<std::string> unread;
    bool stopped = false;
    const std::size_t K = keys.keys().size();
    std::vector<std::vector<std::optional<double>>> samples(K, std::vector<std::optional<double>>(static_cast<std::size_t>(p.replicates)));

    bool anyHabitat = false;
    std::size_t compared = 0;
    std::size_t unsized = 0;  // windows measured with cells nobody gave
    std::string firstUnsized;
    for (std::size_t local = 0; local < windows.size() && !stopped; ++local) {
        const std::int64_t first = static_cast<std::int64_t>(local) * pipeline.tasksPerWindow();
        label = p.files[static_cast<std::size_t>(windows[local])];
        if (!pipeline.take(first, goOn)) {
            stopped = true;
            break;
        }
        const std::shared_ptr<RealWindow> w = pipeline.window(static_cast<int>(local));
        std::string neutral, compare, windowRow, recordLine;
        if (!w->error.empty()) {
            unread.push_back(w->file + ": " + w->error);
            recordLine = compareRecordFailedLine(w->index);
        }
        for (std::size_t m = 0; m < p.models.size() && !stopped; ++m) {
            const std::string leading = csvName(w->file) + "," + p.models[m].name();
            for (int r = 0; r < p.replicates; ++r) {
                const std::int64_t task = first + 1 + static_cast<std::int64_t>(m) * p.replicates + r;
                std::optional<CompareTask> t = pipeline.take(task, goOn);
                if (!t) {
                    stopped = true;
                    break;
                }
                if (!w->error.empty())
                    continue;
                if (!t->error.empty()) {
                    result.status = RunStatus::Failed;
                    result.message = w->file + ": " + t->error;
                    stopped = true;
                    break;
                }
                neutral += t->rows;
                for (std::size_t k = 0; k < K; ++k)
                    samples[k][static_cast<std::size_t>(r)] = t->values[k];
                ++done;
                if (!goOn()) {
                    stopped = true;
                    break;
                }
            }
            if (stopped || !w->error.empty())
                continue;
            for (std::size_t k = 0; k < K; ++k)
                appendCompareRow(compare, leading, keys.keys()[k], w->real[k], summarise(w->real[k], samples[k]));
        }
        pipeline.release(static_cast<int>(local));
        if (stopped)
            break;
        if (w->error.empty()) {
            const std::int64_t cells = static_cast<std::int64_t>(w->rows) * w->cols;
            anyHabitat = anyHabitat || w->habitat > 0;
            ++compared;
            if (!p.cellSizeKnown && !w->sizeNote.empty() && unsized++ == 0)
                firstUnsized = w->file + ": " + w->sizeNote;
            windowRow = csvName(w->file) + "," + std::to_string(w->rows) + "," + std::to_string(w->cols) + "," +
                        std::to_string(w->habitat) + "," +
                        shortestText(100.0 * static_cast<double>(w->habitat) / static_cast<double>(cells)) + "\n";
            recordLine = compareRecordWindowLine(w->index, neutral, compare);
        }
        if (!tables.addWindow(neutral, compare, windowRow, recordLine)) {
            result.status = RunStatus::Failed;
            result.message = "could not write " + tables.error();
            stopped = true;
        }
    }
    if (stopped && result.status == RunStatus::Completed)
        result.status = RunStatus::Cancelled;
    if (unsized > 0)
        result.warnings.push_back(firstUnsized + "; " + std::to_string(unsized) + " window" + (unsized == 1 ? "" : "s") +
                                  " measured with cells of " + shortestText(p.cellSize) + " m (give --cell-size)");
    // Windows without habitat all: most likely the habitat is misnamed, not absent.
    if (compared > 0 && !anyHabitat && result.status == RunStatus::Completed) {
        result.status = RunStatus::Failed;
        result.message = "no window holds habitat (" +
                         (p.habitat.empty() ? "cells of the cover value " + std::to_string(p.coverValue) +
                                                  "; windows that keep their map's classes need --habitat"
                                            : std::string("cells of the --habitat classes")) +
                         "): nothing to compare";
    }
    if (!unread.empty() && result.status == RunStatus::Completed) {
        result.status = RunStatus::Failed;
        result.message = std::to_string(unread.size()) + " of " + std::to_string(windows.size()) +
                         " windows could not be compared: ";
        for (std::size_t i = 0; i < unread.size(); ++i)
            result.message += (i ? "; " : "") + unread[i];
    }
    if (!tables.finish(compareRecordEndLine(result.status)) && !result.failed()) {
        result.status = RunStatus::Failed;
        result.message = "could not write " + tables.error();
    }
    result.files = tables.files();
    if (watched && result.status == RunStatus::Completed)
        control.report(ProgressEvent{total, total, std::string(), -1});
    return result;
}

}  // namespace orvalis
