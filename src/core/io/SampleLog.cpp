#include "core/io/SampleLog.h"

#include <charconv>
#include <fstream>

namespace orvalis {

namespace {

bool isNumber(const std::string& text)
{
    double v = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    return ec == std::errc() && ptr == text.data() + text.size() && !text.empty();
}

// The name before `fields` numbers at the end of line; empty when they are not there.
std::string nameBefore(const std::string& line, int fields)
{
    std::size_t end = line.size();
    for (int i = 0; i < fields; ++i) {
        const std::size_t blank = line.rfind(' ', end - 1);
        if (end == 0 || blank == std::string::npos || !isNumber(line.substr(blank + 1, end - blank - 1)))
            return {};
        end = blank;
    }
    return line.substr(0, end);
}

}  // namespace

bool readSampleLogFiles(const std::filesystem::path& log, std::vector<std::string>& files, std::string* error)
{
    files.clear();
    std::ifstream in(log, std::ios::binary);
    if (!in) {
        if (error)
            *error = "cannot read " + log.string();
        return false;
    }
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        // A map's line has five numbers after the name, but a name may end in numbers of its
        // own: five only when the first of them is a cover fraction.
        std::string name = nameBefore(line, 5);
        double cover = -1;
        if (!name.empty()) {
            const char* first = line.data() + name.size() + 1;
            std::from_chars(first, line.data() + line.size(), cover);
            if (!(cover >= 0 && cover <= 1))
                name.clear();
        }
        if (name.empty())
            name = nameBefore(line, 3);
        if (name.empty()) {
            if (error)
                *error = log.string() + " line " + std::to_string(number) + " is no sampled window";
            return false;
        }
        const std::filesystem::path path(name);
        files.push_back(path.is_absolute() ? name : (log.parent_path() / path).string());
    }
    return true;
}

}  // namespace orvalis
