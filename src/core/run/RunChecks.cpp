#include "core/run/RunChecks.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace orvalis {

std::string checkOutputFolder(const std::filesystem::path& folder)
{
    const std::string name = folder.empty() ? std::string(".") : folder.string();
    struct stat st {};
    if (::stat(name.c_str(), &st) != 0)
        return "the folder " + name + " cannot be used: " + std::strerror(errno);
    if (!S_ISDIR(st.st_mode))
        return name + " is not a folder";
    if (::access(name.c_str(), W_OK | X_OK) != 0)
        return "the folder " + name + " takes no new files: " + std::strerror(errno);
    return {};
}

std::string checkListText(const std::string& what, const std::string& text)
{
    for (unsigned char c : text)
        if (c < 0x20 || c == 0x7F)
            return "the " + what + " holds a line break or another control character, which would break its lists";
    return {};
}

std::string checkNameLength(const std::filesystem::path& folder, const std::string& name)
{
    const std::string where = folder.empty() ? std::string(".") : folder.string();
    errno = 0;
    long limit = ::pathconf(where.c_str(), _PC_NAME_MAX);
    if (limit <= 0)
        limit = NAME_MAX;
    const std::string last = std::filesystem::path(name).filename().string();
    if (static_cast<long>(last.size()) > limit)
        return "the file name " + last + " is longer than the " + std::to_string(limit) +
               " bytes the file system allows";
    return {};
}

std::string checkCoverOrder(const CoverRange& range)
{
    if (range.min > range.max)
        return "the cover minimum " + std::to_string(range.min) + " is above the maximum " + std::to_string(range.max);
    return {};
}

std::string checkMeasurable(std::int64_t rows, std::int64_t cols)
{
    const std::string size = std::to_string(rows) + " x " + std::to_string(cols);
    if (rows < 1 || cols < 1)
        return "landscapes of " + size + " cells hold nothing to measure";
    if (rows * cols > INT32_MAX)
        return "landscapes of " + size + " cells are too large to measure (at most " + std::to_string(INT32_MAX) +
               " cells)";
    return {};
}

}  // namespace orvalis
