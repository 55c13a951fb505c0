#pragma once

#include <filesystem>
#include <string>
#include <system_error>

namespace orvalis::test {

// Unfinished files: written under a hidden ".orvalis-...part" name until complete.
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

}  // namespace orvalis::test
