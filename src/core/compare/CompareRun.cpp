#include "core/compare/CompareRun.h"

#include "core/compare/ComparePipeline.h"
#include "core/compare/CompareRecord.h"
#include "core/compare/CompareStatistics.h"
#include "core/compare/CompareTables.h"
#include "core/io/MetricsCsv.h"
#include "core/io/NumberText.h"
#include "core/map/RasterGrid.h"
#include "core/map/RegularFile.h"
#include "core/run/RunChecks.h"
#include "core/run/RunLock.h"
#include "core/run/RunRecord.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <set>
#include <thread>
#include <unistd.h>

namespace orvalis {

std::string NeutralModel::name() const
{
    if (kind == Kind::Table)
        return blend.parts.empty() ? choice.text() : blend.text();
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
    if (text.find_first_of("+*") != std::string::npos) {
        std::optional<SurfaceBlend> blend = SurfaceBlend::parse(text, error);
        if (!blend)
            return std::nullopt;
        for (const SurfaceBlend::Part& part : blend->parts)
            if (part.choice.value("source"))
                return refuse("'" + text + "': a source grid has one size, and windows have many");
        NeutralModel blended{Kind::Table, 0.5};
        blended.blend = std::move(*blend);
        return blended;
    }
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

// The cell side each file's frame gives; empty for text grids and frames that give none.
std::vector<std::optional<double>> framedCellSizes(const std::vector<std::string>& files)
{
    std::vector<std::optional<double>> sizes;
    sizes.reserve(files.size());
    for (const std::string& file : files) {
        std::error_code ec;
        // Only a regular raster is asked: opening a FIFO would wait on it.
        sizes.push_back(isRasterGridPath(file) && std::filesystem::is_regular_file(file, ec) ? rasterCellSize(file)
                                                                                            : std::nullopt);
    }
    return sizes;
}

}  // namespace

std::vector<double> windowCellSizes(const std::vector<std::string>& files, double fallback)
{
    std::vector<double> sizes;
    for (const std::optional<double>& s : framedCellSizes(files))
        sizes.push_back(s.value_or(fallback));
    return sizes;
}

std::string cellSizeRecord(const CompareParameters& p)
{
    const std::vector<std::optional<double>> framed = framedCellSizes(p.files);
    const auto used = [&](std::size_t i) {
        return shortestText(framed[i].value_or(p.cellSize)) + (!framed[i] && !p.cellSizeKnown ? " assumed" : "");
    };
    if (framed.empty())
        return shortestText(p.cellSize) + (p.cellSizeKnown ? "" : " assumed");
    bool uniform = true;
    for (std::size_t i = 1; i < framed.size() && uniform; ++i)
        uniform = used(i) == used(0);
    if (uniform)
        return used(0);
    std::string text = "per window";
    for (std::size_t i = 0; i < framed.size(); ++i)
        text += "\nwindow-cell-size " + std::to_string(i) + " " + used(i);
    return text;
}

std::string sizeText(std::uint64_t bytes)
{
    const char* units[] = {"bytes", "kB", "MB", "GB", "TB"};
    double value = static_cast<double>(bytes);
    int unit = 0;
    while (value >= 1000 && unit < 4) {
        value /= 1000;
        ++unit;
    }
    char text[32];
    if (unit == 0)
        std::snprintf(text, sizeof text, "%llu bytes", static_cast<unsigned long long>(bytes));
    else
        std::snprintf(text, sizeof text, value < 10 ? "%.1f %s" : "%.0f %s", value, units[unit]);
    return text;
}

namespace {

std::vector<int> shardWindows(const CompareParameters& p);

// The rows a replicate adds to neutral-metrics.csv: the class rows of both classes and the landscape rows.
std::uint64_t rowsPerReplicate(const CompareParameters& p)
{
    const std::optional<MetricSelection> kept = compareSelection(p.metricNames);
    if (!kept)
        return 0;
    std::uint64_t rows = 0;
    for (const MetricDef* d : kept->metrics())
        rows += d->level == MetricLevel::Class ? 2 : 1;
    return rows;
}

}  // namespace

CompareSize estimateCompareSize(const CompareParameters& p)
{
    CompareSize size;
    const std::uint64_t rows = rowsPerReplicate(p);
    const std::uint64_t replicates = static_cast<std::uint64_t>(std::max(p.replicates, 0));
    const std::uint64_t digits = std::to_string(replicates).size();
    for (int w : shardWindows(p)) {
        const std::string& file = p.files[static_cast<std::size_t>(w)];
        const std::uint64_t name = csvField(file).size();
        for (const NeutralModel& m : p.models) {
            const std::uint64_t model = m.name().size();
            // ",class,1,,metric,value": about 36 characters past the file, model and replicate.
            size.tables += replicates * rows * (name + model + digits + 36) + rows * (name + model + 120);
        }
        if (p.keepLandscapes) {
            std::error_code ec;
            std::uint64_t bytes = std::filesystem::file_size(file, ec);
            if (ec)
                bytes = 0;
            // A text grid is written as it was read; a binary raster takes about two characters a cell.
            if (isRasterGridPath(file))
                bytes *= 2;
            size.landscapes += bytes * replicates * p.models.size();
        }
    }
    return size;
}

std::string clearEarlierComparison(const std::filesystem::path& folder, std::string* removed)
{
    namespace fs = std::filesystem;
    std::vector<fs::path> charts, landscapes;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(folder / "plots", ec)) {
        const std::string ext = e.path().extension().string();
        if ((ext == ".png" || ext == ".svg") && e.is_regular_file(ec))
            charts.push_back(e.path());
    }
    for (const auto& model : fs::directory_iterator(folder / "landscapes", ec))
        if (model.is_directory(ec))
            for (const auto& e : fs::directory_iterator(model.path(), ec))
                if (e.path().extension() == ".txt" && e.is_regular_file(ec))
                    landscapes.push_back(e.path());
    if (charts.empty() && landscapes.empty())
        return {};
    std::string first;
    std::getline(std::ifstream(folder / CompareFileNames::record), first);
    if (first != "orvalis compare run") {
        const fs::path where = charts.empty() ? folder / "landscapes" : folder / "plots";
        return where.string() + " holds files that no comparison of this folder wrote (no " +
               std::string(CompareFileNames::record) + "); they would mix with this run's: choose another folder";
    }
    for (const std::vector<fs::path>* files : {&charts, &landscapes})
        for (const fs::path& f : *files)
            if (!fs::remove(f, ec) && ec)
                return "cannot remove " + f.string() + " of the earlier comparison: " + ec.message();
    // Folders the removal emptied go too; anything else put there stays.
    for (const auto& model : fs::directory_iterator(folder / "landscapes", ec))
        if (model.is_directory(ec) && fs::is_empty(model.path(), ec))
            fs::remove(model.path(), ec);
    for (const char* sub : {"plots", "landscapes"})
        if (fs::is_empty(folder / sub, ec))
            fs::remove(folder / sub, ec);
    if (removed) {
        const auto count = [](std::size_t n, const char* what) {
            return std::to_string(n) + " " + what + (n == 1 ? "" : "s");
        };
        *removed = "removed the earlier comparison's " +
                   (charts.empty() ? std::string() : count(charts.size(), "chart file")) +
                   (!charts.empty() && !landscapes.empty() ? " and " : "") +
                   (landscapes.empty() ? std::string() : count(landscapes.size(), "kept landscape")) + " from " +
                   folder.string();
    }
    return {};
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

// Refuses a run whose files would not fit on the output's disk, saying how big they would be.
std::string checkFreeSpace(const CompareParameters& p)
{
    std::error_code ec;
    const std::filesystem::space_info space = std::filesystem::space(p.output, ec);
    if (ec)
        return {};
    std::uint64_t available = space.available;
    // The tables a rerun replaces give their room back.
    for (const char* name : {CompareFileNames::neutral, CompareFileNames::compare})
        if (const std::uintmax_t old = std::filesystem::file_size(p.output / name, ec); !ec)
            available += old;
    const CompareSize size = estimateCompareSize(p);
    if (size.total() <= available)
        return {};
    std::string what = "the tables would take about " + sizeText(size.tables);
    if (p.keepLandscapes)
        what += " and the kept landscapes about " + sizeText(size.landscapes);
    return what + ", but " + p.output.string() + " has " + sizeText(available) +
           " free: lower the number of replicates, or choose a folder on a larger disk";
}

// A window's neutral rows beyond a few megabytes wait in an unnamed file of the output folder,
// so that a window of many replicates costs disk, not memory, until it is whole.
class RowSpill {
public:
    explicit RowSpill(std::filesystem::path folder) : folder_(std::move(folder)) {}
    ~RowSpill()
    {
        if (file_)
            std::fclose(file_);
    }
    RowSpill(const RowSpill&) = delete;
    RowSpill& operator=(const RowSpill&) = delete;

    // Moves rows out once they have grown large; false with error() set when they cannot be.
    bool keep(std::string& rows)
    {
        if (rows.size() < (std::size_t(16) << 20))
            return true;
        if (!file_ && !open())
            return false;
        errno = 0;
        if (std::fwrite(rows.data(), 1, rows.size(), file_) != rows.size())
            return fail();
        rows.clear();
        held_ = true;
        return true;
    }
    // The rows kept so far, to be copied before the window's last ones; null when none.
    std::FILE* rows() const { return held_ ? file_ : nullptr; }
    void clear()
    {
        if (held_ && (std::fflush(file_) != 0 || ::ftruncate(::fileno(file_), 0) != 0))
            fail();
        if (file_)
            std::rewind(file_);
        held_ = false;
    }
    const std::string& error() const { return error_; }

private:
    bool open()
    {
        // Unnamed from the start where the system allows it, else unlinked at once: a killed run leaves nothing.
        int fd = ::open(folder_.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
        if (fd < 0) {
            std::string name = (folder_ / ".orvalis-rows-XXXXXX").string();
            fd = ::mkstemp(name.data());
            if (fd >= 0)
                ::unlink(name.c_str());
        }
        if (fd >= 0 && !(file_ = ::fdopen(fd, "w+b")))
            ::close(fd);
        return file_ ? true : fail();
    }
    bool fail()
    {
        error_ = (folder_ / "(the rows of the window being compared)").string() + ": " +
                 (errno ? std::strerror(errno) : "could not be written");
        return false;
    }

    std::filesystem::path folder_;
    std::FILE* file_ = nullptr;
    bool held_ = false;
    std::string error_;
};

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

RunResult runCompare(const CompareParameters& p, RunControl& control, const std::function<void(RunResult&)>& whileLocked)
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
        const std::string refusal = nonRegularFileRefusal(first);
        const std::string why = !refusal.empty()                     ? ": " + refusal
                                : !std::filesystem::exists(first, ec) ? ": no such file"
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
        result.message = checkFreeSpace(p);
    std::string cleared;
    if (result.message.empty())
        result.message = clearEarlierComparison(p.output, &cleared);
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
    if (!cleared.empty())
        result.warnings.push_back(cleared);

    int jobs = p.jobs > 0 ? p.jobs : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    jobs = std::min(jobs, 256);
    const MetricKeys keys(*compareSelection(p.metricNames), p.coverValue, p.matrixValue);
    std::optional<ComparePipeline> pipeline(std::in_place, p, windows, keys, jobs);
    const bool watched = control.observed();
    const std::int64_t total = result.asked;
    std::int64_t done = 0;
    std::string label;
    const auto goOn = [&] { return !watched || control.report(ProgressEvent{done, total, label, -1}); };
    std::vector<std::string> unread;
    bool stopped = false;
    const std::size_t K = keys.keys().size();
    const std::size_t R = static_cast<std::size_t>(p.replicates);
    // One model's values, key after key, with whether each is defined: half of optionals' room.
    std::vector<double> sampleValues(K * R);
    std::vector<std::uint8_t> sampleDefined(K * R);
    std::vector<std::optional<double>> keySamples(R);
    RowSpill spill(p.output);

    bool anyHabitat = false;
    std::size_t compared = 0;
    std::size_t unsized = 0;  // windows measured with cells nobody gave
    std::string firstUnsized;
    for (std::size_t local = 0; local < windows.size() && !stopped; ++local) {
        const std::int64_t first = static_cast<std::int64_t>(local) * pipeline->tasksPerWindow();
        label = p.files[static_cast<std::size_t>(windows[local])];
        if (!pipeline->take(first, goOn)) {
            stopped = true;
            break;
        }
        const std::shared_ptr<RealWindow> w = pipeline->window(static_cast<int>(local));
        std::string neutral, compare, windowRow, recordLine;
        if (!w->error.empty()) {
            unread.push_back(w->file + ": " + w->error);
            recordLine = compareRecordFailedLine(w->index);
        }
        for (std::size_t m = 0; m < p.models.size() && !stopped; ++m) {
            const std::string leading = csvName(w->file) + "," + p.models[m].name();
            for (int r = 0; r < p.replicates; ++r) {
                const std::int64_t task = first + 1 + static_cast<std::int64_t>(m) * p.replicates + r;
                std::optional<CompareTask> t = pipeline->take(task, goOn);
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
                if (!spill.keep(neutral)) {
                    result.status = RunStatus::Failed;
                    result.message = "could not write " + spill.error();
                    stopped = true;
                    break;
                }
                for (std::size_t k = 0; k < K; ++k) {
                    sampleDefined[k * R + static_cast<std::size_t>(r)] = t->values[k].has_value();
                    sampleValues[k * R + static_cast<std::size_t>(r)] = t->values[k].value_or(0.0);
                }
                ++done;
                if (!goOn()) {
                    stopped = true;
                    break;
                }
            }
            if (stopped || !w->error.empty())
                continue;
            for (std::size_t k = 0; k < K; ++k) {
                for (std::size_t r = 0; r < R; ++r)
                    keySamples[r] = sampleDefined[k * R + r] ? std::optional<double>(sampleValues[k * R + r]) : std::nullopt;
                appendCompareRow(compare, leading, keys.keys()[k], w->real[k], summarise(w->real[k], keySamples));
            }
        }
        pipeline->release(static_cast<int>(local));
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
        if (!tables.addWindow(neutral, compare, windowRow, recordLine, spill.rows())) {
            result.status = RunStatus::Failed;
            result.message = "could not write " + tables.error();
            stopped = true;
        }
        spill.clear();
    }
    // Replicates still being made end early: their results are not used.
    pipeline->halt();
    pipeline.reset();
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
    if (whileLocked)
        whileLocked(result);
    return result;
}

}  // namespace orvalis
