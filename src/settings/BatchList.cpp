#include "settings/BatchList.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace orvalis {

std::string batchListName(const std::string& prefix)
{
    return prefix + "ListFragStat.fbt";
}

bool writeBatchListFile(const std::string& path, const std::vector<std::string>& names,
                        const std::string& postString, std::string* error)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        if (error)
            *error = std::strerror(errno);
        return false;
    }
    bool ok = true;
    for (const std::string& name : names) {
        std::string line = name.size() >= 3 ? name.substr(0, name.size() - 3) + "txt" : std::string("txt");
        line += postString;
        line += '\n';
        if (std::fwrite(line.data(), 1, line.size(), f) != line.size() || std::fflush(f) != 0) {
            ok = false;
            break;
        }
    }
    int savedErrno = errno;
    if (std::fclose(f) != 0 && ok) {
        ok = false;
        savedErrno = errno;
    }
    if (!ok && error)
        *error = std::strerror(savedErrno);
    return ok;
}

}  // namespace orvalis
