#pragma once

#include "core/run/RunControl.h"
#include "core/io/Config.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvalis::cli {

// Thrown by the argument helpers; the command prints it and exits with status 2.
struct UsageError {
    std::string message;
};

// A whole number in [min, max]; throws UsageError naming the option otherwise.
long long parseInteger(const std::string& option, const std::string& text, long long min, long long max);
double parseReal(const std::string& option, const std::string& text, double min, double max);

struct IntRange {
    int min = 0, max = 0, step = 1;
};
struct RealRange {
    double min = 0, max = 0, step = 1;
};
// "MIN:MAX:STEP"; each part within its bounds, step at least stepMin.
IntRange parseIntRange(const std::string& option, const std::string& text, int lo, int hi, int stepMin);
RealRange parseRealRange(const std::string& option, const std::string& text, double lo, double hi, double stepMin);

// Walks argv as "--name value" pairs and flags; the command asks for each option it knows.
class Arguments {
public:
    Arguments(int argc, char** argv);
    // The value of --name, or nothing when absent; throws when the value is missing.
    std::optional<std::string> take(const std::string& name);
    bool takeFlag(const std::string& name);
    // Positional arguments left after all options were taken.
    std::optional<std::string> takePositional();
    // Throws for anything not taken.
    void finish();

private:
    struct Item {
        std::string text;
        bool used = false;
    };
    std::vector<Item> items_;
};

// True when --help or -h asks for the command's text.
bool helpRequested(Arguments& args);

// Sets value from the option when it is given; a whole number in [min, max].
void takeInteger(Arguments& args, const std::string& name, int& value, long long min, long long max);

// "MIN:MAX:STEP" as parseIntRange, with MAX not below MIN.
IntRange parseOrderedIntRange(const std::string& option, const std::string& text, int lo, int hi, int stepMin);

// --cover-value and --matrix-value, when given, over what config.txt set.
void takeClassValues(Arguments& args, Settings& settings);

// The text of --folder: given, not empty, and an existing folder.
std::string existingFolderOption(const std::optional<std::string>& folder);

// Prints a usage error as `command` does and gives the exit status for bad arguments.
int usageFailure(const char* command, const UsageError& error);

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

// While it lives, Ctrl-C and SIGTERM only raise a flag that the run polls between
// units of work, so that a run stops with whole files and its lists written.
class InterruptGuard {
public:
    InterruptGuard();
    ~InterruptGuard();
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;
    static bool interrupted();

private:
    void (*oldInt_)(int);
    void (*oldTerm_)(int);
};

// Folder that must exist before any work starts.
bool isExistingFolder(const std::string& path);

}  // namespace orvalis::cli
