#include "cli/CliSupport.h"

#include "core/io/SafeFile.h"
#include "core/map/GdalSupport.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <unistd.h>

namespace orvalis::cli {

namespace {

// Why text is not a whole number in [min, max], or nothing when it is; the number lands in value.
std::string readWhole(const std::string& text, long long min, long long max, long long& value,
                      const char* whyMax = nullptr)
{
    errno = 0;
    char* end = nullptr;
    value = std::strtoll(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno == ERANGE)
        return "'" + text + "' is not a whole number";
    if (value > max && whyMax)
        return text + " is larger than " + std::to_string(max) + ", " + whyMax;
    if (value < min || value > max)
        return text + " is outside " + std::to_string(min) + ".." + std::to_string(max);
    return {};
}

std::string readPart(const std::string& text, int min, int max, int& value)
{
    long long v = 0;
    std::string error = readWhole(text, min, max, v);
    value = static_cast<int>(v);
    return error;
}

std::string readPart(const std::string& text, double min, double max, double& value)
{
    errno = 0;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || errno == ERANGE || !std::isfinite(value))
        return "'" + text + "' is not a number";
    if (value < min || value > max) {
        char buf[128];
        std::snprintf(buf, sizeof buf, "%s is outside %g..%g", text.c_str(), min, max);
        return buf;
    }
    return {};
}

// Why text is not MIN:MAX:STEP within bounds, or nothing when it is; the parts land in range.
template <class T>
std::string readRange(const std::string& text, const RangeBounds<T>& bounds, Range<T>& range)
{
    const std::size_t a = text.find(':');
    const std::size_t b = a == std::string::npos ? a : text.find(':', a + 1);
    if (a == std::string::npos || b == std::string::npos || text.find(':', b + 1) != std::string::npos)
        return "expected MIN:MAX:STEP, got '" + text + "'";
    const std::string min = text.substr(0, a), max = text.substr(a + 1, b - a - 1);
    std::string error = readPart(min, bounds.minLo, bounds.minHi, range.min);
    if (!error.empty())
        return "MIN " + error;
    error = readPart(max, bounds.maxLo, bounds.maxHi, range.max);
    if (!error.empty())
        return "MAX " + error;
    error = readPart(text.substr(b + 1), bounds.stepLo, bounds.stepHi, range.step);
    if (!error.empty())
        return "STEP " + error;
    if (bounds.ordered && range.max < range.min)
        return "MAX " + max + " is below MIN " + min;
    return {};
}

template <class T>
CLI::Option* addRange(CLI::App& command, const std::string& name, Range<T>& range, const RangeBounds<T>& bounds,
                      const std::string& help)
{
    auto store = [&range, bounds](const std::string& text) { readRange(text, bounds, range); };
    auto check = [bounds](const std::string& text) {
        Range<T> unused;
        return readRange(text, bounds, unused);
    };
    return command.add_option_function<std::string>(name, store, help)->check(check)->type_name("MIN:MAX:STEP");
}

}  // namespace

CLI::Validator wholeNumber(long long min, long long max, const char* whyMax)
{
    return CLI::Validator(
        [min, max, whyMax](std::string& text) {
            long long value = 0;
            std::string error = readWhole(text, min, max, value, whyMax);
            if (error.empty())
                text = std::to_string(value);
            return error;
        },
        "");
}

CLI::Option* addRangeOption(CLI::App& command, const std::string& name, IntRange& range,
                            const RangeBounds<int>& bounds, const std::string& help)
{
    return addRange(command, name, range, bounds, help);
}

CLI::Option* addRangeOption(CLI::App& command, const std::string& name, RealRange& range,
                            const RangeBounds<double>& bounds, const std::string& help)
{
    return addRange(command, name, range, bounds, help);
}

CLI::Option* addNumber(CLI::App& command, const std::string& name, int& value, long long min, long long max,
                       const std::string& help)
{
    return command.add_option(name, value, help)->transform(wholeNumber(min, max))->type_name("N");
}

CLI::Option* addNeighboursOption(CLI::App& command, int& neighbours, const std::string& help)
{
    return command.add_option("--neighbours", neighbours, help)->check(CLI::IsMember({4, 8}))->type_name("N");
}

std::vector<std::string> commaList(const std::string& text)
{
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, ',');) {
        const std::size_t from = part.find_first_not_of(' ');
        const std::size_t to = part.find_last_not_of(' ');
        if (from != std::string::npos)
            parts.push_back(part.substr(from, to - from + 1));
    }
    return parts;
}

void addMetricChoiceOptions(CLI::App& command, MetricChoiceCli& c)
{
    command.add_option("--metrics", c.metrics,
                       "metrics, comma-separated: codes (pland,ed), types (area-edge, shape, core,\n"
                       "aggregation, diversity, complexity), all or default (the standard 26 of class and\n"
                       "landscape level; every patch metric at patch level)")
        ->type_name("LIST");
    command.add_option("--level", c.levels, "levels, comma-separated: patch, class, landscape (class,landscape)")
        ->type_name("LIST");
    addNeighboursOption(command, c.neighbours, "patch rule: 4 or 8 neighbours (8)");
    addNumber(command, "--edge-depth", c.edgeDepth, 1, 1000000, "cells from a patch's edge that are not core, 1.. (1)");
    command.add_flag("--count-boundary", c.countBoundary, "the map's edge and no-data count as edge in te and ed");
    command.add_flag("--consider-boundary", c.considerBoundary, "cells on the map's edge may be core");
    command.add_flag("--cell-center", c.cellCenter, "gyrate about the patch's cell nearest its centroid");
    command.add_option_function<int>(
               "--classes-max", [&c](const int& v) { c.classesMax = v; },
               "the classes the map could hold, for rpr (rpr is NA without)")
        ->transform(wholeNumber(1, INT32_MAX))
        ->type_name("N");
    command.add_option("--base", c.base, "logarithm of ent, condent, joinent, mutinf: log2, log or log10 (log2)")
        ->check(CLI::IsMember({"log2", "log", "log10"}).description(""))
        ->type_name("B");
    command.add_option("--convention", c.convention,
                       "landscapemetrics, or fragstats for FRAGSTATS 4.2's formulas where they differ\n"
                       "(see docs/METRICS.md) (landscapemetrics)")
        ->check(CLI::IsMember({"landscapemetrics", "fragstats"}).description(""))
        ->type_name("C");
}

std::optional<MetricsOptions> metricsOptionsOf(const MetricChoiceCli& c, std::string* error)
{
    const std::optional<std::vector<MetricLevel>> levels = parseMetricLevels(commaList(c.levels), error);
    if (!levels)
        return std::nullopt;
    std::optional<MetricSelection> selection = MetricSelection::parse(commaList(c.metrics), *levels, error);
    if (!selection)
        return std::nullopt;
    MetricsOptions o;
    o.neighbours = c.neighbours;
    o.edgeDepth = c.edgeDepth;
    o.countBoundary = c.countBoundary;
    o.considerBoundary = c.considerBoundary;
    o.cellCenter = c.cellCenter;
    o.classesMax = c.classesMax;
    o.base = c.base == "log" ? LogBase::Ln : c.base == "log10" ? LogBase::Log10 : LogBase::Log2;
    o.convention = c.convention == "fragstats" ? MetricConvention::Fragstats : MetricConvention::Landscapemetrics;
    o.selection = *selection;
    if (const std::string why = checkMetricsOptions(o); !why.empty()) {
        if (error)
            *error = why;
        return std::nullopt;
    }
    return o;
}

std::string metricCodesHelp()
{
    std::string text;
    for (const MetricLevel level : {MetricLevel::Patch, MetricLevel::Class, MetricLevel::Landscape}) {
        std::string line = std::string(levelName(level)) + " level:";
        std::size_t width = line.size();
        for (const MetricDef& d : metricCatalogue()) {
            if (d.level != level)
                continue;
            if (width + 1 + d.code.size() > 98) {
                line += "\n ";
                width = 1;
            }
            line += " " + d.code;
            width += 1 + d.code.size();
        }
        text += line + "\n";
    }
    return text;
}

void addRunMetricsOptions(CLI::App& command, RunMetricsOptions& metrics, const std::string& where)
{
    CLI::Option* on = command.add_option("--metrics", metrics.list,
                                         "measure every file as it is written, into metrics.csv " + where +
                                             "\n(the table orvalis-cli metrics writes; LIST as its --metrics takes it)")
                          ->expected(0, 1)
                          ->type_name("[LIST]")
                          ->check([](const std::string& list) {
                              std::string why;
                              MetricSelection::parse(commaList(list), {}, &why);
                              return why;
                          });
    // Given at all, with or without a list, the run measures.
    command.parse_complete_callback([&metrics, on] { metrics.on = on->count() > 0; });
    // The description says what it needs; CLI11's own notes would break the column.
    addNeighboursOption(command, metrics.neighbours, "patch rule of --metrics: 4 or 8 neighbours (8)")
        ->needs(on)
        ->option_text("N");
}

std::optional<MetricsOptions> runMetrics(const RunMetricsOptions& metrics)
{
    if (!metrics.on)
        return std::nullopt;
    MetricsOptions options;
    options.neighbours = metrics.neighbours;
    // The list was checked as the command line was read.
    if (auto selection = MetricSelection::parse(commaList(metrics.list), {}, nullptr))
        options.selection = *selection;
    return options;
}

std::string metricsTableNote(const RunResult& result)
{
    return result.metricsTable.empty() ? std::string() : ", metrics table " + result.metricsTable;
}

CLI::Option* addFolderOption(CLI::App& command, std::string& folder, const std::string& help)
{
    return command.add_option("--folder", folder, help)
        ->required()
        ->check(CLI::ExistingDirectory.description(""))
        ->type_name("DIR");
}

void addClassValueOptions(CLI::App& command, ClassValues& values, const std::string& cells,
                          const std::string& coverHelp, const std::string& matrixHelp)
{
    auto add = [&command](const std::string& name, std::optional<int>& value, const std::string& help) {
        command.add_option_function<int>(name, [&value](const int& v) { value = v; }, help)
            ->transform(wholeNumber(INT_MIN, INT_MAX))
            ->type_name("V");
    };
    add("--cover-value", values.cover, coverHelp.empty() ? "value written for " + cells + " cells" : coverHelp);
    add("--matrix-value", values.matrix, matrixHelp.empty() ? "value written for matrix cells" : matrixHelp);
}

void addVrtSourcesFlag(CLI::App& command)
{
    command.add_flag_callback("--allow-vrt-sources", [] { allowVrtSources(true); },
                              "read a VRT whose sources are raw files or lie outside its folder");
}

void addHelpFlag(CLI::App& app)
{
    // CLI11's own flag is looked at only after every option was checked.
    app.set_help_flag();
    app.add_flag_callback("-h,--help", [] { throw CLI::CallForHelp(); }, "show this text")->trigger_on_parse();
}

HelpFormatter::HelpFormatter()
{
    label("Usage", "usage");
    label("SUBCOMMAND", "COMMAND");
    column_width(28);
}

std::string HelpFormatter::make_help(const CLI::App* app, std::string name, CLI::AppFormatMode mode) const
{
    if (mode == CLI::AppFormatMode::Sub)
        return make_expanded(app);
    return make_usage(app, name) + "\n" + make_description(app) + make_positionals(app) + make_groups(app, mode) +
           make_subcommands(app, mode) + "\n" + make_footer(app);
}

std::string HelpFormatter::make_subcommand(const CLI::App* sub) const
{
    const std::string description = sub->get_description();
    std::ostringstream out;
    CLI::detail::format_help(out, sub->get_display_name(true), description.substr(0, description.find('\n')),
                             get_column_width());
    return out.str();
}

std::string inputReplacedBy(const std::string& output, const std::vector<std::string>& inputs)
{
    if (output == "-")
        return {};
    for (const std::string& input : inputs) {
        std::error_code ec;
        if (std::filesystem::equivalent(output, input, ec))
            return input;
    }
    return {};
}

int runExitStatus(const char* command, bool ok, const std::string& error, bool cancelled, const char* interrupted)
{
    if (!ok) {
        std::fprintf(stderr, "orvalis-cli %s: %s\n", command, error.c_str());
        return 1;
    }
    if (cancelled) {
        std::fprintf(stderr, "orvalis-cli %s: interrupted; %s\n", command, interrupted);
        return 1;
    }
    return 0;
}

TerminalProgress::TerminalProgress() : enabled_(isatty(fileno(stderr)) != 0) {}

bool TerminalProgress::operator()(const ProgressEvent& event)
{
    if (!enabled_)
        return true;
    auto now = std::chrono::steady_clock::now();
    if (drawn_ && now - last_ < std::chrono::milliseconds(200))
        return true;
    last_ = now;
    drawn_ = true;
    std::string line = std::to_string(event.done);
    if (event.total > 0)
        line += "/" + std::to_string(event.total);
    if (event.budgetLeft >= 0)
        line += "  tries left " + std::to_string(event.budgetLeft);
    if (!event.label.empty())
        line += "  " + event.label;
    std::fprintf(stderr, "\r\033[K%s", line.c_str());
    std::fflush(stderr);
    return true;
}

void TerminalProgress::finish()
{
    if (drawn_) {
        std::fputc('\n', stderr);
        drawn_ = false;
    }
}

void loadConfigDefaults(const char* command, Settings& settings)
{
    std::error_code ec;
    if (!std::filesystem::exists("config.txt", ec))
        return;
    ConfigResult config = readConfig("config.txt", settings);
    if (!config.ok)
        std::fprintf(stderr, "orvalis-cli %s: config.txt: %s; the settings not read keep their defaults\n", command,
                     config.error.c_str());
}

Settings commandSettings(const char* command, const ClassValues& values)
{
    Settings settings;
    loadConfigDefaults(command, settings);
    if (values.cover)
        settings.coverValue = *values.cover;
    if (values.matrix)
        settings.matrixValue = *values.matrix;
    return settings;
}

namespace {

// Lock-free, so the handler may raise it; runs read it as their stop (RunControl, MetricsOptions).
std::atomic<bool> interruptFlag{false};
static_assert(std::atomic<bool>::is_always_lock_free);
// The guard's self-pipe: the handler writes 1 for a signal, the guard 0 when the run is over.
int wakeFds[2] = {-1, -1};

void onInterrupt(int)
{
    const int saved = errno;
    interruptFlag.store(true, std::memory_order_relaxed);
    const char signalled = 1;
    if (wakeFds[1] >= 0)
        [[maybe_unused]] const ssize_t n = ::write(wakeFds[1], &signalled, 1);
    errno = saved;
}

// The next byte on the self-pipe within timeoutMs (-1: no limit); -1 when none came.
int nextWake(int timeoutMs)
{
    pollfd p{wakeFds[0], POLLIN, 0};
    char byte = 0;
    if (::poll(&p, 1, timeoutMs) > 0 && ::read(wakeFds[0], &byte, 1) == 1)
        return byte;
    return -1;
}

}  // namespace

InterruptGuard::InterruptGuard()
{
    interruptFlag.store(false, std::memory_order_relaxed);
    if (::pipe2(wakeFds, O_CLOEXEC) != 0)
        wakeFds[0] = wakeFds[1] = -1;
    else
        ::fcntl(wakeFds[1], F_SETFL, O_NONBLOCK);
    // The watchdog never takes the signals, so that they break off the run's own waits.
    sigset_t both, old;
    sigemptyset(&both);
    sigaddset(&both, SIGINT);
    sigaddset(&both, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &both, &old);
    if (wakeFds[0] >= 0)
        watchdog_ = std::thread([this] { watch(); });
    pthread_sigmask(SIG_SETMASK, &old, nullptr);
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no SA_RESTART: open and read on a pipe return EINTR
    sigaction(SIGINT, &action, &oldInt_);
    sigaction(SIGTERM, &action, &oldTerm_);
}

InterruptGuard::~InterruptGuard()
{
    sigaction(SIGINT, &oldInt_, nullptr);
    sigaction(SIGTERM, &oldTerm_, nullptr);
    // After a signal the deadline stands for what the command still does (a summary on a full pipe).
    if (watchdog_.joinable() && interrupted()) {
        watchdog_.detach();
        return;
    }
    if (watchdog_.joinable()) {
        const char over = 0;
        while (::write(wakeFds[1], &over, 1) != 1 && errno == EINTR) {
        }
        watchdog_.join();
    }
    for (int& fd : wakeFds) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

void InterruptGuard::watch()
{
    int byte = nextWake(-1);
    if (byte != 1)
        return;
    // The run stops at its next turn; one stuck in a read or a long step is not waited for.
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(GraceMs);
    while (byte == 1) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
        byte = nextWake(static_cast<int>(std::max<long long>(0, left.count())));
    }
    if (byte == 0)
        return;
    [[maybe_unused]] const bool idle = appendLock().try_lock_for(std::chrono::milliseconds(50));
    removeUnfinishedFiles();
    static const char said[] = "orvalis-cli: interrupted; the files and lines written so far are whole\n";
    // Said only when standard error can take it now: a full pipe must not hold the exit up.
    pollfd err{STDERR_FILENO, POLLOUT, 0};
    if (::poll(&err, 1, 0) == 1 && (err.revents & POLLOUT))
        [[maybe_unused]] const ssize_t n = ::write(STDERR_FILENO, said, sizeof said - 1);
    std::_Exit(1);
}

bool InterruptGuard::interrupted()
{
    return interruptFlag.load(std::memory_order_relaxed);
}

const std::atomic<bool>* InterruptGuard::flag()
{
    return &interruptFlag;
}

}  // namespace orvalis::cli
