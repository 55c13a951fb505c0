#include "core/io/LandscapeFile.h"

#include "core/io/SafeFile.h"

#include <algorithm>
#include <functional>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <limits>
#include <sys/stat.h>

namespace orvalis {

namespace {

// The white space the toolkit's integer conversion trims: ASCII only, not NEL or no-break space.
bool isAsciiSpace(unsigned char c)
{
    return c == ' ' || (c >= 0x09 && c <= 0x0D);
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

}  // namespace

int parseLandscapeField(std::string_view field)
{
    std::size_t begin = 0, end = field.size();
    while (begin < end && isAsciiSpace(static_cast<unsigned char>(field[begin])))
        ++begin;
    while (end > begin && isAsciiSpace(static_cast<unsigned char>(field[end - 1])))
        --end;
    if (begin == end)
        return 0;
    bool negative = false;
    if (field[begin] == '+' || field[begin] == '-') {
        negative = field[begin] == '-';
        ++begin;
    }
    if (begin == end)
        return 0;
    std::int64_t value = 0;
    for (std::size_t i = begin; i < end; ++i) {
        if (!isDigit(field[i]))
            return 0;
        value = value * 10 + (field[i] - '0');
        if (value > std::int64_t(std::numeric_limits<int>::max()) + 1)
            return 0;
    }
    if (negative)
        value = -value;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return 0;
    return static_cast<int>(value);
}

namespace {

// The values of one line into line; false, line untouched, for a line of fewer than two fields.
bool parseLineInto(const char* p, const char* end, std::vector<int>& line)
{
    if (end > p && end[-1] == '\r')
        --end;  // the carriage return of a CRLF file belongs to the dropped last field anyway
    const char* lastBlank = nullptr;
    for (const char* q = end; q > p; --q) {
        if (q[-1] == ' ') {
            lastBlank = q - 1;
            break;
        }
    }
    if (!lastBlank)
        return false;  // fewer than two fields
    line.resize(static_cast<std::size_t>(std::count(p, lastBlank + 1, ' ')));
    int* out = line.data();
    const char* q = p;
    while (q <= lastBlank) {
        const char* fieldStart = q;
        // The common case first: a short plain number ended by a blank.
        bool negative = *q == '-';
        q += negative;
        unsigned value = 0;
        int digits = 0;
        for (unsigned d; (d = static_cast<unsigned char>(*q) - '0') <= 9; ++q, ++digits)
            value = value * 10 + d;
        if (*q == ' ' && digits > 0 && digits <= 9) {
            *out++ = negative ? -static_cast<int>(value) : static_cast<int>(value);
            ++q;
            continue;
        }
        const char* blank = static_cast<const char*>(std::memchr(q, ' ', static_cast<std::size_t>(lastBlank + 1 - q)));
        *out++ = parseLandscapeField(std::string_view(fieldStart, static_cast<std::size_t>(blank - fieldStart)));
        q = blank + 1;
    }
    return true;
}

void parseLine(const char* p, const char* end, LandscapeGrid& grid)
{
    std::vector<int> line;
    if (parseLineInto(p, end, line))
        grid.push_back(std::move(line));
}

}  // namespace

LandscapeGrid parseLandscape(std::string_view text)
{
    LandscapeGrid grid;
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end) {
        const char* nl = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
        const char* lineEnd = nl ? nl : end;
        parseLine(p, lineEnd, grid);
        p = nl ? nl + 1 : end;
    }
    return grid;
}

LandscapeReadResult readLandscapeLines(const std::string& path, std::uint64_t maxBytes,
                                       const std::function<void(const std::vector<int>&)>& onLine,
                                       const std::function<void(std::uint64_t)>& onSize)
{
    LandscapeReadResult result;
    std::FILE* f = openPlainFile(path);
    if (!f) {
        result.error = errno == EINVAL ? "not a regular file" : std::strerror(errno);
        return result;
    }
    struct stat st {};
    if (fstat(fileno(f), &st) != 0) {
        result.error = std::strerror(errno);
        std::fclose(f);
        return result;
    }
    if (static_cast<std::uint64_t>(st.st_size) > maxBytes) {
        std::fclose(f);
        result.error = "file too large (" + std::to_string(st.st_size) + " bytes)";
        return result;
    }
    if (onSize)
        onSize(static_cast<std::uint64_t>(st.st_size));
    // Read a block at a time and parse the whole lines in it: the text is never held whole,
    // so reading needs little more than the grid itself.
    // A small file is read in one block of its own size (one more byte tells the end).
    const std::size_t Block = static_cast<std::size_t>(std::min<std::uint64_t>(std::uint64_t(1) << 20,
                                                                               std::uint64_t(st.st_size) + 1));
    std::string pending;
    std::vector<int> line;
    std::size_t got = 0;
    bool binary = false;
    do {
        const std::size_t kept = pending.size();
        pending.resize(kept + Block);
        got = std::fread(pending.data() + kept, 1, Block, f);
        pending.resize(kept + got);
        // Landscape files are text: a NUL byte means an image, an archive or another binary file.
        if (std::memchr(pending.data() + kept, '\0', got)) {
            binary = true;
            break;
        }
        const char* begin = pending.data();
        const char* end = begin + pending.size();
        const char* p = begin;
        for (;;) {
            const char* nl = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
            if (!nl)
                break;
            if (parseLineInto(p, nl, line))
                onLine(line);
            p = nl + 1;
        }
        pending.erase(0, static_cast<std::size_t>(p - begin));
    } while (got == Block);
    const bool readError = std::ferror(f) != 0;
    std::fclose(f);
    if (readError || binary) {
        result.error = binary ? "it holds binary data, not a landscape grid" : "read error";
        return result;
    }
    if (!pending.empty() && parseLineInto(pending.data(), pending.data() + pending.size(), line))
        onLine(line);
    result.ok = true;
    return result;
}

LandscapeReadResult readLandscapeFile(const std::string& path, LandscapeGrid& grid, std::uint64_t maxBytes)
{
    grid.clear();
    LandscapeReadResult result = readLandscapeLines(path, maxBytes, [&grid](const std::vector<int>& line) {
        grid.push_back(line);
    });
    if (!result.ok)
        grid.clear();
    return result;
}

}  // namespace orvalis
