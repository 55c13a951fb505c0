#include "core/sampler/SampleLog.h"

#include "core/io/LandscapeFile.h"
#include "core/map/RasterGrid.h"

#include <array>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>

namespace orvalis {

namespace {

template <typename T>
bool number(std::string_view field, T& value)
{
    if (field.empty())
        return false;
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
    if constexpr (std::is_floating_point_v<T>) {
        if (!std::isfinite(value))
            return false;
    }
    return ec == std::errc() && end == field.data() + field.size();
}

// The last `count` blank-separated fields of text, and what stands before them.
bool splitTail(std::string_view text, std::size_t count, std::string_view& head, std::array<std::string_view, 5>& tail)
{
    std::size_t end = text.size();
    for (std::size_t k = count; k-- > 0;) {
        const std::size_t blank = text.rfind(' ', end == 0 ? 0 : end - 1);
        if (blank == std::string_view::npos || end == 0)
            return false;
        tail[k] = text.substr(blank + 1, end - blank - 1);
        end = blank;
    }
    head = text.substr(0, end);
    return !head.empty();
}

// NAME COVER X Y [MAPX MAPY] with `mapFields` set for the longer form.
bool parseForm(std::string_view text, bool mapFields, SampleLogEntry& entry)
{
    std::string_view head;
    std::array<std::string_view, 5> f;
    const std::size_t count = mapFields ? 5 : 3;
    if (!splitTail(text, count, head, f))
        return false;
    SampleLogEntry e;
    e.line = entry.line;
    double mx = 0, my = 0;
    if (!number(f[0], e.cover) || !number(f[1], e.x) || !number(f[2], e.y))
        return false;
    if (mapFields) {
        if (!number(f[3], mx) || !number(f[4], my))
            return false;
        e.mapX = mx;
        e.mapY = my;
    }
    if (e.cover < 0 || e.cover > 1 || e.x < 0 || e.y < 0)
        return false;
    e.name = std::string(head);
    entry = std::move(e);
    return true;
}

}  // namespace

bool parseSampleLogLine(std::string_view text, SampleLogEntry& entry, std::string* why)
{
    if (!text.empty() && text.back() == '\r')
        text.remove_suffix(1);
    // The longer form first: a TGA line read as one would need a fractional cover where X stands.
    if (parseForm(text, true, entry) || parseForm(text, false, entry))
        return true;
    if (why)
        *why = "not NAME COVER X Y [MAPX MAPY]: " + std::string(text.substr(0, 80));
    return false;
}

SampleLog readSampleLog(const std::string& path)
{
    SampleLog log;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        log.error = "not a file: " + path;
        return log;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        log.error = "cannot open " + path;
        return log;
    }
    std::string text;
    int number = 0;
    while (std::getline(in, text)) {
        ++number;
        if (text.empty() || text == "\r")
            continue;
        SampleLogEntry entry;
        entry.line = number;
        std::string why;
        if (parseSampleLogLine(text, entry, &why))
            log.windows.push_back(std::move(entry));
        else
            log.badLines.push_back("line " + std::to_string(number) + ": " + why);
    }
    log.ok = !in.bad();
    if (!log.ok)
        log.error = "cannot read " + path;
    return log;
}

bool readSampleLogWindows(const std::string& logPath, std::vector<std::string>& windows, std::string* error)
{
    const SampleLog log = readSampleLog(logPath);
    std::string why = log.ok ? "" : log.error;
    if (log.ok && !log.badLines.empty())
        why = logPath + ", " + log.badLines.front();
    if (!why.empty()) {
        if (error)
            *error = why;
        return false;
    }
    for (const SampleLogEntry& entry : log.windows)
        windows.push_back(loggedFilePath(logPath, entry.name));
    return true;
}

std::string loggedFilePath(const std::string& logPath, const std::string& name)
{
    const std::filesystem::path file(name);
    if (file.is_absolute())
        return name;
    return (std::filesystem::path(logPath).parent_path() / file).lexically_normal().string();
}

std::optional<int> windowFileSide(const std::string& path, std::string* why)
{
    LandscapeGrid grid;
    if (isRasterGridPath(path)) {
        RasterGridInfo info;
        if (!readRasterGrid(path, grid, info, why))
            return std::nullopt;
    } else {
        const LandscapeReadResult read = readLandscapeFile(path, grid);
        if (!read.ok) {
            if (why)
                *why = read.error;
            return std::nullopt;
        }
    }
    if (grid.empty()) {
        if (why)
            *why = path + " holds no cells";
        return std::nullopt;
    }
    return static_cast<int>(grid.size());
}

}  // namespace orvalis
