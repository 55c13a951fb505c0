#include "core/io/BatchList.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace orvalis {

namespace {

// The name without its last three characters; a character is a whole UTF-8 sequence,
// so that a name ending in non-ASCII letters is not cut inside one.
std::string dropLastThreeCharacters(const std::string& name)
{
    std::size_t end = name.size();
    for (int dropped = 0; dropped < 3 && end > 0; ++dropped) {
        --end;
        while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80)
            --end;
    }
    return name.substr(0, end);
}

// Where the next ".txt", ".tif" or ".asc" of a batch-list line starts, from `from` on.
std::size_t nextGridExtension(const std::string& line, std::size_t from)
{
    std::size_t next = std::string::npos;
    for (const char* extension : {".txt", ".tif", ".asc"})
        next = std::min(next, line.find(extension, from));
    return next;
}

}  // namespace

std::string batchListLine(const std::string& name, const std::string& postString)
{
    // Text grids keep the old rule, which changes nothing for a ".txt" name; a GeoTIFF or an
    // ESRI ASCII grid is listed as it is named, or FRAGSTATS would look for a file that is not there.
    if (name.ends_with(".tif") || name.ends_with(".asc"))
        return name + postString + "\n";
    return dropLastThreeCharacters(name) + "txt" + postString + "\n";
}

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
    int savedErrno = 0;
    for (const std::string& name : names) {
        const std::string line = batchListLine(name, postString);
        if (std::fwrite(line.data(), 1, line.size(), f) != line.size() || std::fflush(f) != 0) {
            ok = false;
            savedErrno = errno;
            break;
        }
    }
    if (std::fclose(f) != 0 && ok) {
        ok = false;
        savedErrno = errno;
    }
    if (!ok) {
        // Half a list would have FRAGSTATS skip the rest of the run without a word;
        // a device or pipe given as the path is of course left alone.
        std::error_code ec;
        if (std::filesystem::is_regular_file(path, ec))
            std::remove(path.c_str());
        if (error)
            *error = std::strerror(savedErrno ? savedErrno : EIO);
    }
    return ok;
}

bool readBatchListNames(const std::string& path, std::vector<std::string>& names, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read the batch list " + path;
        return false;
    }
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        std::size_t chosen = nextGridExtension(line, 0);
        for (std::size_t end = chosen; end != std::string::npos; end = nextGridExtension(line, end + 1)) {
            std::error_code ec;
            if (std::filesystem::is_regular_file(line.substr(0, end + 4), ec)) {
                chosen = end;
                break;
            }
        }
        names.push_back(chosen == std::string::npos ? line : line.substr(0, chosen + 4));
    }
    return true;
}

}  // namespace orvalis
