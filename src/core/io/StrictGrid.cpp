#include "core/io/StrictGrid.h"

#include "core/io/SafeFile.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace orvalis {

namespace {

// One line's values, or the reason it is not a grid line.
std::string parseStrictLine(std::string_view text, std::vector<int>& values)
{
    values.clear();
    if (!text.empty() && text.back() == '\r')
        text.remove_suffix(1);
    while (!text.empty()) {
        const std::size_t blank = text.find(' ');
        if (blank == std::string_view::npos)
            return "its last value '" + std::string(text.substr(0, 40)) +
                   "' is not followed by a blank, and landscape files drop such a value";
        const std::string_view field = text.substr(0, blank);
        int value = 0;
        const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
        if (field.empty() || ec != std::errc() || end != field.data() + field.size())
            return "'" + std::string(field.substr(0, 40)) + "' is not a whole number" +
                   (ec == std::errc::result_out_of_range ? " in 32 bits" : "");
        values.push_back(value);
        text.remove_prefix(blank + 1);
    }
    return {};
}

}  // namespace

LandscapeReadResult readGridStrictly(const std::string& path, LandscapeGrid& grid, std::uint64_t maxCells,
                                     const std::atomic<bool>* stop)
{
    grid.clear();
    LandscapeReadResult result;
    std::FILE* f = openPlainFile(path);
    if (!f) {
        result.error = errno == EINVAL ? "not a regular file" : std::strerror(errno);
        return result;
    }
    std::string line;
    std::vector<int> values;
    std::uint64_t cells = 0;
    std::size_t number = 0;
    char block[1 << 16];
    bool more = true;
    while (more && result.error.empty()) {
        line.clear();
        // One whole line, however long.
        for (;;) {
            if (!std::fgets(block, sizeof block, f)) {
                more = false;
                break;
            }
            const std::size_t n = std::strlen(block);
            line.append(block, n);
            if (n > 0 && block[n - 1] == '\n') {
                line.pop_back();
                break;
            }
        }
        if (!more && line.empty())
            break;
        ++number;
        if (stop && stop->load(std::memory_order_relaxed)) {
            result.error = "stopped";
            break;
        }
        if (line.find('\0') != std::string::npos) {
            result.error = "line " + std::to_string(number) + ": binary data, not a landscape grid";
            break;
        }
        if (const std::string why = parseStrictLine(line, values); !why.empty()) {
            result.error = "line " + std::to_string(number) + ": " + why;
            break;
        }
        if (values.empty()) {
            result.error = "line " + std::to_string(number) + ": no values";
            break;
        }
        if (!grid.empty() && values.size() != grid.front().size()) {
            result.error = "line " + std::to_string(number) + ": " + std::to_string(values.size()) +
                           " values where line 1 has " + std::to_string(grid.front().size());
            break;
        }
        cells += values.size();
        if (cells > maxCells) {
            result.error = "line " + std::to_string(number) + ": more than " + std::to_string(maxCells) +
                           " cells, too large to measure";
            break;
        }
        grid.push_back(values);
    }
    if (result.error.empty() && std::ferror(f))
        result.error = "read error";
    std::fclose(f);
    if (result.error.empty() && grid.empty())
        result.error = "the file holds no grid";
    if (!result.error.empty()) {
        grid.clear();
        return result;
    }
    result.ok = true;
    return result;
}

}  // namespace orvalis
