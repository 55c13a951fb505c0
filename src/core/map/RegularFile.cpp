#include "core/map/RegularFile.h"

#include <sys/stat.h>

#include <atomic>
#include <cerrno>

namespace orvalis {

namespace {

std::atomic<bool> allowed{false};

}  // namespace

std::string nonRegularFileRefusal(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return errno == ELOOP ? "its symbolic links loop back on themselves" : std::string();
    if (S_ISREG(st.st_mode) || S_ISDIR(st.st_mode))
        return {};
    return "not a regular file";
}

void allowVrtSources(bool allow)
{
    allowed.store(allow);
}

bool vrtSourcesAllowed()
{
    return allowed.load();
}

}  // namespace orvalis
