#include "core/map/HabitatClasses.h"

#include <algorithm>
#include <charconv>
#include <utility>

namespace orvalis {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

void skipBlanks(const std::string& text, std::size_t& at, std::size_t end)
{
    while (at < end && isBlank(text[at]))
        ++at;
}

// A whole number at text[at..end): a minus sign, if any, touches the digits.
bool readNumber(const std::string& text, std::size_t& at, std::size_t end, std::int64_t& value)
{
    const char* first = text.data() + at;
    if (at < end && text[at] == '-' && (at + 1 >= end || text[at + 1] < '0' || text[at + 1] > '9'))
        return false;
    const auto r = std::from_chars(first, text.data() + end, value);
    if (r.ec != std::errc())
        return false;
    at = static_cast<std::size_t>(r.ptr - text.data());
    return true;
}

std::string quoted(const std::string& text, std::size_t from, std::size_t to)
{
    std::size_t a = from, b = to;
    while (a < b && isBlank(text[a]))
        ++a;
    while (b > a && isBlank(text[b - 1]))
        --b;
    return "\"" + text.substr(a, b - a) + "\"";
}

}  // namespace

const char* HabitatClasses::syntax()
{
    return "classes are whole numbers separated by commas, a range written FIRST-LAST "
           "(e.g. 11, 41-43, 90; negative classes keep their minus sign: -5--3 is -5 to -3, -5-3 is -5 to 3)";
}

bool HabitatClasses::parse(const std::string& text, std::string* error)
{
    values_.clear();
    singly_.clear();
    auto fail = [&](const std::string& what) {
        if (error)
            *error = what + ": " + syntax() + ".";
        return false;
    };
    std::vector<std::pair<std::int64_t, std::int64_t>> ranges;
    std::vector<std::int64_t> singly;
    std::int64_t total = 0;
    std::size_t start = 0;
    for (int item = 1;; ++item) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        std::size_t at = start;
        skipBlanks(text, at, comma);
        if (at == comma)
            return fail(text.find_first_not_of(" \t\r\n") == std::string::npos
                            ? std::string("no habitat class given")
                            : "item " + std::to_string(item) + " is empty");
        std::int64_t first = 0, last = 0;
        if (!readNumber(text, at, comma, first))
            return fail(quoted(text, start, comma) + " is not a whole number or a range of them");
        skipBlanks(text, at, comma);
        bool range = false;
        last = first;
        if (at < comma && text[at] == '-') {
            ++at;
            skipBlanks(text, at, comma);
            if (!readNumber(text, at, comma, last))
                return fail(quoted(text, start, comma) + " is not a whole number or a range of them");
            skipBlanks(text, at, comma);
            range = true;
        }
        if (at != comma)
            return fail(quoted(text, start, comma) + " is not a whole number or a range of them");
        if (last < first)
            return fail("the range " + quoted(text, start, comma) + " runs backwards");
        // In unsigned arithmetic the span of any two 64-bit values is exact.
        const std::uint64_t span = static_cast<std::uint64_t>(last) - static_cast<std::uint64_t>(first);
        if (span >= static_cast<std::uint64_t>(MaxClasses) || total + static_cast<std::int64_t>(span) + 1 > MaxClasses)
            return fail("more than " + std::to_string(MaxClasses) + " classes");
        total += static_cast<std::int64_t>(span) + 1;
        ranges.emplace_back(first, last);
        if (!range)
            singly.push_back(first);
        if (comma == text.size())
            break;
        start = comma + 1;
    }
    std::vector<std::int64_t> values;
    values.reserve(static_cast<std::size_t>(total));
    for (const auto& [first, last] : ranges)
        for (std::int64_t v = first;; ++v) {
            values.push_back(v);
            if (v == last)
                break;
        }
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    std::sort(singly.begin(), singly.end());
    singly.erase(std::unique(singly.begin(), singly.end()), singly.end());
    values_ = std::move(values);
    singly_ = std::move(singly);
    return true;
}

bool HabitatClasses::contains(std::int64_t value) const
{
    return std::binary_search(values_.begin(), values_.end(), value);
}

std::int64_t HabitatClasses::indexOf(std::int64_t value) const
{
    const auto it = std::lower_bound(values_.begin(), values_.end(), value);
    return it != values_.end() && *it == value ? it - values_.begin() : -1;
}

}  // namespace orvalis
