#include "cli/CliSupport.h"

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace orvalis::cli {

long long parseInteger(const std::string& option, const std::string& text, long long min, long long max)
{
    errno = 0;
    char* end = nullptr;
    long long v = std::strtoll(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno == ERANGE)
        throw UsageError{option + ": '" + text + "' is not a whole number"};
    if (v < min || v > max)
        throw UsageError{option + ": " + text + " is outside " + std::to_string(min) + ".." + std::to_string(max)};
    return v;
}

double parseReal(const std::string& option, const std::string& text, double min, double max)
{
    errno = 0;
    char* end = nullptr;
    double v = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || errno == ERANGE || !std::isfinite(v))
        throw UsageError{option + ": '" + text + "' is not a number"};
    if (v < min || v > max) {
        char buf[128];
        std::snprintf(buf, sizeof buf, "%s: %s is outside %g..%g", option.c_str(), text.c_str(), min, max);
        throw UsageError{buf};
    }
    return v;
}

namespace {

void splitRange(const std::string& option, const std::string& text, std::string parts[3])
{
    std::size_t a = text.find(':');
    std::size_t b = a == std::string::npos ? a : text.find(':', a + 1);
    if (a == std::string::npos || b == std::string::npos || text.find(':', b + 1) != std::string::npos)
        throw UsageError{option + ": expected MIN:MAX:STEP, got '" + text + "'"};
    parts[0] = text.substr(0, a);
    parts[1] = text.substr(a + 1, b - a - 1);
    parts[2] = text.substr(b + 1);
}

}  // namespace

IntRange parseIntRange(const std::string& option, const std::string& text, int lo, int hi, int stepMin)
{
    std::string p[3];
    splitRange(option, text, p);
    IntRange r;
    r.min = static_cast<int>(parseInteger(option + " MIN", p[0], lo, hi));
    r.max = static_cast<int>(parseInteger(option + " MAX", p[1], lo, hi));
    r.step = static_cast<int>(parseInteger(option + " STEP", p[2], stepMin, hi));
    return r;
}

RealRange parseRealRange(const std::string& option, const std::string& text, double lo, double hi, double stepMin)
{
    std::string p[3];
    splitRange(option, text, p);
    RealRange r;
    r.min = parseReal(option + " MIN", p[0], lo, hi);
    r.max = parseReal(option + " MAX", p[1], lo, hi);
    r.step = parseReal(option + " STEP", p[2], stepMin, hi);
    return r;
}

Arguments::Arguments(int argc, char** argv)
{
    for (int i = 0; i < argc; ++i)
        items_.push_back({argv[i], false});
}

std::optional<std::string> Arguments::take(const std::string& name)
{
    std::optional<std::string> value;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (items_[i].used)
            continue;
        const std::string& t = items_[i].text;
        if (t == name) {
            if (i + 1 >= items_.size())
                throw UsageError{name + " needs a value"};
            items_[i].used = items_[i + 1].used = true;
            value = items_[i + 1].text;
            ++i;
        } else if (t.size() > name.size() && t.compare(0, name.size(), name) == 0 && t[name.size()] == '=') {
            items_[i].used = true;
            value = t.substr(name.size() + 1);
        }
    }
    return value;
}

bool Arguments::takeFlag(const std::string& name)
{
    bool seen = false;
    for (Item& item : items_) {
        if (!item.used && item.text == name) {
            item.used = true;
            seen = true;
        }
    }
    return seen;
}

std::optional<std::string> Arguments::takePositional()
{
    for (Item& item : items_) {
        if (!item.used && (item.text.empty() || item.text[0] != '-' || item.text == "-")) {
            item.used = true;
            return item.text;
        }
    }
    return std::nullopt;
}

void Arguments::finish()
{
    for (const Item& item : items_) {
        if (!item.used)
            throw UsageError{"unexpected argument '" + item.text + "'"};
    }
}

bool helpRequested(Arguments& args)
{
    return args.takeFlag("--help") || args.takeFlag("-h");
}

void takeInteger(Arguments& args, const std::string& name, int& value, long long min, long long max)
{
    if (auto v = args.take(name))
        value = static_cast<int>(parseInteger(name, *v, min, max));
}

IntRange parseOrderedIntRange(const std::string& option, const std::string& text, int lo, int hi, int stepMin)
{
    IntRange r = parseIntRange(option, text, lo, hi, stepMin);
    if (r.max < r.min)
        throw UsageError{option + ": MAX " + std::to_string(r.max) + " is below MIN " + std::to_string(r.min)};
    return r;
}

void takeClassValues(Arguments& args, Settings& settings)
{
    takeInteger(args, "--cover-value", settings.coverValue, INT32_MIN, INT32_MAX);
    takeInteger(args, "--matrix-value", settings.matrixValue, INT32_MIN, INT32_MAX);
}

std::string existingFolderOption(const std::optional<std::string>& folder)
{
    if (!folder || folder->empty())
        throw UsageError{"--folder DIR is required"};
    if (!isExistingFolder(*folder))
        throw UsageError{"--folder: '" + *folder + "' is not an existing folder"};
    return *folder;
}

int usageFailure(const char* command, const UsageError& error)
{
    std::fprintf(stderr, "orvalis-cli %s: %s\n", command, error.message.c_str());
    std::fprintf(stderr, "Try 'orvalis-cli %s --help'.\n", command);
    return 2;
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

bool isExistingFolder(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace orvalis::cli

namespace orvalis::cli {

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

namespace {

volatile std::sig_atomic_t interruptFlag = 0;

void onInterrupt(int)
{
    interruptFlag = 1;
}

}  // namespace

InterruptGuard::InterruptGuard()
{
    interruptFlag = 0;
    oldInt_ = std::signal(SIGINT, onInterrupt);
    oldTerm_ = std::signal(SIGTERM, onInterrupt);
}

InterruptGuard::~InterruptGuard()
{
    std::signal(SIGINT, oldInt_);
    std::signal(SIGTERM, oldTerm_);
}

bool InterruptGuard::interrupted()
{
    return interruptFlag != 0;
}

}  // namespace orvalis::cli
