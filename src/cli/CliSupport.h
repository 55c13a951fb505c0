#pragma once

#include "core/metrics/LandscapeMetrics.h"
#include "core/run/RunControl.h"
#include "core/run/RunResult.h"
#include "core/io/Config.h"

#include <CLI/CLI.hpp>

#include <atomic>
#include <chrono>
#include <csignal>
#include <thread>
#include <optional>
#include <string>

namespace orvalis::cli {

// --cover-value and --matrix-value as given; an unset one keeps what config.txt or the default says.
struct ClassValues {
    std::optional<int> cover, matrix;
};

// A "MIN:MAX:STEP" option's value, and the interval each of its parts must lie in.
template <class T>
struct Range {
    T min{}, max{}, step{};
};
template <class T>
struct RangeBounds {
    T minLo, minHi, maxLo, maxHi, stepLo, stepHi;
    bool ordered = true;  // MAX below MIN is refused
};
using IntRange = Range<int>;
using RealRange = Range<double>;

// A whole number in [min, max], made plain decimal for CLI11's reader (which takes 010 as octal). Above max,
// `whyMax` (if given) is said instead of the interval.
CLI::Validator wholeNumber(long long min, long long max, const char* whyMax = nullptr);

// Declares `name` as MIN:MAX:STEP within bounds; a value given lands in range.
CLI::Option* addRangeOption(CLI::App& command, const std::string& name, IntRange& range,
                            const RangeBounds<int>& bounds, const std::string& help);
CLI::Option* addRangeOption(CLI::App& command, const std::string& name, RealRange& range,
                            const RangeBounds<double>& bounds, const std::string& help);

// A whole-number option in [min, max], shown as N.
CLI::Option* addNumber(CLI::App& command, const std::string& name, int& value, long long min, long long max,
                       const std::string& help);

// --neighbours 4|8: the patch rule of the metrics.
CLI::Option* addNeighboursOption(CLI::App& command, int& neighbours, const std::string& help);

// The parts of "a,b,c", blanks around them and empty parts dropped.
std::vector<std::string> commaList(const std::string& text);

// Which metrics, at which levels, and the options they are computed with, as `metrics` takes them.
struct MetricChoiceCli {
    std::string metrics;                 // codes, types, all; empty: the standard set
    std::string levels = "class,landscape";
    int neighbours = 8;
    int edgeDepth = 1;
    bool countBoundary = false;
    bool considerBoundary = false;
    bool cellCenter = false;
    std::optional<int> classesMax;
    std::string base = "log2";
    std::string convention = "landscapemetrics";
};
void addMetricChoiceOptions(CLI::App& command, MetricChoiceCli& choice);
// The engine's options; nullopt with *error set for an unknown metric or level.
std::optional<MetricsOptions> metricsOptionsOf(const MetricChoiceCli& choice, std::string* error);
// The catalogue's codes by level, wrapped for a help text.
std::string metricCodesHelp();

// --metrics [LIST] and its --neighbours, as the runs take them.
struct RunMetricsOptions {
    bool on = false;
    std::string list;  // as `metrics --metrics` takes it; empty: the standard set
    int neighbours = 8;
};
// `where` says where the run puts metrics.csv.
void addRunMetricsOptions(CLI::App& command, RunMetricsOptions& metrics, const std::string& where);
// What the run's parameters take: nothing without --metrics.
std::optional<MetricsOptions> runMetrics(const RunMetricsOptions& metrics);
// ", metrics table PATH" for a summary line; empty when the run kept none.
std::string metricsTableNote(const RunResult& result);

// --folder DIR, required and an existing folder.
CLI::Option* addFolderOption(CLI::App& command, std::string& folder, const std::string& help);

// --cover-value then --matrix-value, in that order of checking; `cells` names what the cover value is written for.
// coverHelp and matrixHelp, when given, say what the values mean for a command that also reads them.
void addClassValueOptions(CLI::App& command, ClassValues& values, const std::string& cells,
                          const std::string& coverHelp = {}, const std::string& matrixHelp = {});

// --allow-vrt-sources: a command that reads maps reads VRTs whatever their sources.
void addVrtSourcesFlag(CLI::App& command);

// -h/--help that answers as soon as it is read, so that it wins over any mistake on the same line.
void addHelpFlag(CLI::App& app);

// Help with the usage line first, and only the first line of a command's description in the command list.
class HelpFormatter : public CLI::Formatter {
public:
    HelpFormatter();
    std::string make_help(const CLI::App* app, std::string name, CLI::AppFormatMode mode) const override;
    std::string make_subcommand(const CLI::App* sub) const override;
};

// The input that a table or a surface written to output would replace (the same file under
// any name), or empty: such a run is refused before it reads anything.
std::string inputReplacedBy(const std::string& output, const std::vector<std::string>& inputs);

// Says on standard error why a run failed or that it was interrupted (with what stays, as
// `interrupted` puts it), and gives the run's exit status.
int runExitStatus(const char* command, bool ok, const std::string& error, bool cancelled, const char* interrupted);

// A progress line on standard error, redrawn at most a few times a second, and
// only when standard error is a terminal.
class TerminalProgress {
public:
    TerminalProgress();
    bool operator()(const ProgressEvent& event);
    void finish();  // ends the line, if one was drawn

private:
    bool enabled_;
    bool drawn_ = false;
    std::chrono::steady_clock::time_point last_{};
};

// Fills settings from config.txt in the working directory when the file exists; what
// cannot be read is reported on standard error and keeps its default.
void loadConfigDefaults(const char* command, Settings& settings);

// config.txt's settings (or the defaults) with the class values given on the command line over them.
Settings commandSettings(const char* command, const ClassValues& values);

// While it lives, Ctrl-C and SIGTERM raise a flag that the run polls between units of work, so
// that a run stops with whole files and its lists written. They also break off a wait on a pipe
// or a device (no restart), and a run that has not ended GraceMs after the signal is ended at
// once, once no table is half written (exit status 1, as for a run that stopped itself).
class InterruptGuard {
public:
    static constexpr int GraceMs = 250;

    InterruptGuard();
    ~InterruptGuard();
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;
    static bool interrupted();
    // Raised by the signal itself: given to a run as its stop, it is heard at the run's next
    // check in any thread, without waiting for the thread that reports progress.
    static const std::atomic<bool>* flag();

private:
    void watch();

    struct sigaction oldInt_{}, oldTerm_{};
    std::thread watchdog_;
};

}  // namespace orvalis::cli
