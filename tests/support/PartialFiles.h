#pragma once

#include <filesystem>
#include <sys/types.h>
#include <string>
#include <system_error>

namespace orvalis::test {

// Unfinished files left with a name: written under a hidden ".orvalis-...part" name until
// complete, where the file system cannot make files without a name.
inline std::size_t unfinishedFiles(const std::filesystem::path& folder, bool withDataOnly = false)
{
    std::size_t n = 0;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(".orvalis-", 0) == 0 && name.size() > 5 && name.substr(name.size() - 5) == ".part" &&
            (!withDataOnly || entry.file_size(ec) > 0))
            ++n;
    }
    return n;
}

// Files process pid is writing in folder and that have no name yet (O_TMPFILE: the kernel
// shows them as "folder/#inode (deleted)"), or still their hidden one.
inline std::size_t filesBeingWritten(pid_t pid, const std::filesystem::path& folder, bool withDataOnly = false)
{
    std::size_t n = 0;
    std::error_code ec;
    const std::string inFolder = std::filesystem::canonical(folder, ec).string() + "/";
    for (const auto& fd : std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/fd", ec)) {
        const std::string target = std::filesystem::read_symlink(fd.path(), ec).string();
        if (ec || target.rfind(inFolder, 0) != 0)
            continue;
        const std::string name = target.substr(inFolder.size());
        if (name.rfind("#", 0) != 0 && name.rfind(".orvalis-", 0) != 0)
            continue;
        if (!withDataOnly || std::filesystem::file_size(fd.path(), ec) > 0)
            ++n;
    }
    return n;
}

}  // namespace orvalis::test
