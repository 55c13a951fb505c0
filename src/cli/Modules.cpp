#include "cli/Modules.h"

#include <dlfcn.h>
#include <signal.h>

#include <filesystem>
#include <map>
#include <mutex>
#include <system_error>
#include <vector>

#ifndef ORVALIS_MODULE_PATH
#error "ORVALIS_MODULE_PATH must be the modules' folder relative to the program's (see src/cli/CMakeLists.txt)"
#endif

namespace orvalis::cli {

namespace {

// Beside the program first: a build tree keeps its modules there, and an installed program has none there.
std::vector<std::filesystem::path> moduleCandidates(const char* module)
{
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return {std::filesystem::path(ORVALIS_MODULE_PATH) / module};
    const std::filesystem::path dir = self.parent_path();
    return {dir / module, (dir / ORVALIS_MODULE_PATH / module).lexically_normal()};
}

// Some of GDAL's libraries set signal handlers as they load; the program's own (Ctrl-C ends a run
// between two steps) must stay what they were before the module came.
class KeepSignalHandlers {
public:
    KeepSignalHandlers()
    {
        for (int s = 1; s < Count; ++s)
            kept_[s] = ::sigaction(s, nullptr, &actions_[s]) == 0;
    }
    ~KeepSignalHandlers()
    {
        for (int s = 1; s < Count; ++s)
            if (kept_[s] && s != SIGKILL && s != SIGSTOP)
                ::sigaction(s, &actions_[s], nullptr);
    }
    KeepSignalHandlers(const KeepSignalHandlers&) = delete;
    KeepSignalHandlers& operator=(const KeepSignalHandlers&) = delete;

private:
    static constexpr int Count = 32;  // the standard signals; the real-time ones are nobody's here
    struct sigaction actions_[Count] {};
    bool kept_[Count] {};
};

struct Loaded {
    void* handle = nullptr;
    std::string error;
};

Loaded load(const char* module)
{
    const std::vector<std::filesystem::path> candidates = moduleCandidates(module);
    for (const std::filesystem::path& path : candidates) {
        std::error_code ec;
        if (!std::filesystem::exists(path, ec))
            continue;
        // Lazy binding: only the functions a run calls are resolved.
        const KeepSignalHandlers signals;
        if (void* handle = ::dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL))
            return {handle, {}};
        const char* why = ::dlerror();
        return {nullptr, why ? why : path.string() + ": cannot be loaded"};
    }
    return {nullptr, "no " + std::string(module) + " in " + candidates.back().parent_path().string()};
}

}  // namespace

void* moduleSymbol(const char* module, const char* symbol, std::string& error)
{
    static std::mutex mutex;
    static std::map<std::string, Loaded> modules;
    const std::lock_guard<std::mutex> lock(mutex);
    auto found = modules.find(module);
    if (found == modules.end())
        found = modules.emplace(module, load(module)).first;
    if (!found->second.handle) {
        error = found->second.error;
        return nullptr;
    }
    if (void* address = ::dlsym(found->second.handle, symbol))
        return address;
    error = std::string(module) + " has no " + symbol + ": it does not belong to this orvalis-cli";
    return nullptr;
}

}  // namespace orvalis::cli
