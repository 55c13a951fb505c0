#include "core/io/Config.h"

#include <cerrno>
#include <unistd.h>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string_view>
#include <system_error>
#include <utility>

namespace orvalis {

namespace {

bool isSpace(int c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Buffered byte source: lines and numbers are taken a byte at a time, so a huge
// file is only read as far as the settings need.
class ByteReader {
public:
    explicit ByteReader(std::FILE* f) : file_(f) {}

    int peek()
    {
        if (pos_ == len_ && !fill())
            return EOF;
        return static_cast<unsigned char>(buffer_[pos_]);
    }
    int get()
    {
        int c = peek();
        if (c != EOF)
            ++pos_;
        return c;
    }
    // Skips white space a buffer at a time: a file may hold megabytes of it.
    void skipSpace()
    {
        while (peek() != EOF) {
            while (pos_ < len_ && isSpace(static_cast<unsigned char>(buffer_[pos_])))
                ++pos_;
            if (pos_ < len_)
                return;
        }
    }
    bool failed() const { return error_ != 0; }
    int error() const { return error_; }

private:
    bool fill()
    {
        if (eof_ || error_)
            return false;
        len_ = std::fread(buffer_, 1, sizeof buffer_, file_);
        pos_ = 0;
        if (len_ == 0) {
            if (std::ferror(file_))
                error_ = errno ? errno : EIO;
            eof_ = true;
            return false;
        }
        return true;
    }

    std::FILE* file_;
    char buffer_[64 * 1024];
    std::size_t pos_ = 0, len_ = 0;
    bool eof_ = false;
    int error_ = 0;
};

enum class LineStatus { Read, End, TooLong, Control, IoError };

LineStatus readLine(ByteReader& in, std::string& line)
{
    line.clear();
    int c = in.get();
    if (c == EOF)
        return in.failed() ? LineStatus::IoError : LineStatus::End;
    while (c != EOF && c != '\n') {
        if (line.size() == MaxConfigLineBytes)
            return LineStatus::TooLong;
        line.push_back(static_cast<char>(c));
        c = in.get();
    }
    if (in.failed())
        return LineStatus::IoError;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return LineStatus::Read;
}

// Control characters other than tab (C0, DEL, C1) in UTF-8 text: such a line is binary
// data, or text in an encoding this reader does not know.
bool hasControlCharacters(std::string_view utf8)
{
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(utf8[i]);
        if ((b < 0x20 && b != '\t') || b == 0x7F)
            return true;
        if (b == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) < 0xA0)
            return true;
    }
    return false;
}

enum class NumberStatus { Read, Missing, NotANumber, OutOfRange, IoError };

// Formatted extraction: white space (line ends included) skipped, optional sign,
// decimal digits; the first byte that is not a digit ends the number.
NumberStatus readInteger(ByteReader& in, int& value)
{
    in.skipSpace();
    if (in.peek() == EOF)
        return in.failed() ? NumberStatus::IoError : NumberStatus::Missing;
    bool negative = false;
    if (in.peek() == '+' || in.peek() == '-')
        negative = in.get() == '-';
    if (in.peek() < '0' || in.peek() > '9')
        return in.failed() ? NumberStatus::IoError : NumberStatus::NotANumber;
    const std::int64_t limit = negative ? -std::int64_t(INT_MIN) : INT_MAX;
    std::int64_t magnitude = 0;
    while (in.peek() >= '0' && in.peek() <= '9') {
        magnitude = magnitude * 10 + (in.get() - '0');
        // Stop at once: a run of digits may be as long as the file.
        if (magnitude > limit)
            return NumberStatus::OutOfRange;
    }
    if (in.failed())
        return NumberStatus::IoError;
    value = static_cast<int>(negative ? -magnitude : magnitude);
    return NumberStatus::Read;
}

bool isValidUtf8(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size()) {
        const unsigned char b = static_cast<unsigned char>(s[i]);
        std::size_t n;
        std::uint32_t cp;
        if (b < 0x80) {
            ++i;
            continue;
        } else if (b >= 0xC2 && b <= 0xDF) {
            n = 1, cp = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            n = 2, cp = b & 0x0F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            n = 3, cp = b & 0x07;
        } else {
            return false;
        }
        if (i + n >= s.size())
            return false;
        for (std::size_t k = 1; k <= n; ++k) {
            const unsigned char t = static_cast<unsigned char>(s[i + k]);
            if ((t & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (t & 0x3F);
        }
        if ((n == 2 && cp < 0x800) || (n == 3 && cp < 0x10000) || cp > 0x10FFFF ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += n + 1;
    }
    return true;
}

std::string latin1ToUtf8(std::string_view s)
{
    std::string out;
    out.reserve(s.size() * 2);
    for (unsigned char b : s) {
        if (b < 0x80) {
            out.push_back(static_cast<char>(b));
        } else {
            out.push_back(static_cast<char>(0xC0 | (b >> 6)));
            out.push_back(static_cast<char>(0x80 | (b & 0x3F)));
        }
    }
    return out;
}

std::string systemMessage(int err)
{
    return std::strerror(err);
}

const char* const settingNames[] = {"sample name", "sample post-string", "cover value", "matrix value"};

std::string lineProblem(LineStatus status, int lineNumber, int err)
{
    const std::string where = "line " + std::to_string(lineNumber) + " (" + settingNames[lineNumber - 1] + ")";
    switch (status) {
    case LineStatus::End:
        return where + " is missing";
    case LineStatus::TooLong:
        return where + " is longer than " + std::to_string(MaxConfigLineBytes) + " bytes";
    case LineStatus::Control:
        return where + " holds control characters: the file is not text in UTF-8 or Latin-1";
    case LineStatus::IoError:
        return "read error: " + systemMessage(err);
    case LineStatus::Read:
        break;
    }
    return {};
}

std::string numberProblem(NumberStatus status, int index, int err)
{
    const std::string what = std::string("the ") + settingNames[index];
    switch (status) {
    case NumberStatus::Missing:
        return what + " is missing";
    case NumberStatus::NotANumber:
        return what + " is not a whole number";
    case NumberStatus::OutOfRange:
        return what + " is outside the range of whole numbers the program can hold";
    case NumberStatus::IoError:
        return "read error: " + systemMessage(err);
    case NumberStatus::Read:
        break;
    }
    return {};
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

bool writeAll(std::FILE* f, const std::string& text)
{
    return std::fwrite(text.data(), 1, text.size(), f) == text.size() && std::fflush(f) == 0;
}

}  // namespace

ConfigResult readConfig(const std::string& path, Settings& settings)
{
    ConfigResult result;
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (status.type() == std::filesystem::file_type::not_found) {
        result.missing = true;
        result.error = "no such file";
        return result;
    }
    // A folder, a pipe or a device would fail or block: only plain files are read.
    if (!ec && status.type() != std::filesystem::file_type::regular) {
        result.error = "not a regular file";
        return result;
    }
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        result.missing = errno == ENOENT;
        result.error = systemMessage(errno);
        return result;
    }
    ByteReader in(file.get());

    std::string lines[2];
    LineStatus lineStatus = LineStatus::Read;
    int linesRead = 0;
    for (; linesRead < 2; ++linesRead) {
        lineStatus = readLine(in, lines[linesRead]);
        if (lineStatus != LineStatus::Read)
            break;
    }
    // A line cut short must not decide how the whole lines are decoded.
    for (int i = linesRead; i < 2; ++i)
        lines[i].clear();
    if (lines[0].compare(0, 3, "\xEF\xBB\xBF") == 0)
        lines[0].erase(0, 3);
    const bool utf8 = isValidUtf8(lines[0]) && isValidUtf8(lines[1]);
    std::string* targets[2] = {&settings.samplePrefix, &settings.samplePostString};
    for (int i = 0; i < linesRead; ++i) {
        std::string text = utf8 ? lines[i] : latin1ToUtf8(lines[i]);
        if (hasControlCharacters(text)) {
            linesRead = i;
            lineStatus = LineStatus::Control;
            break;
        }
        *targets[i] = std::move(text);
    }
    result.valuesRead = linesRead;
    if (linesRead < 2) {
        result.error = lineProblem(lineStatus, linesRead + 1, in.error());
        return result;
    }

    int* numbers[2] = {&settings.coverValue, &settings.matrixValue};
    for (int i = 0; i < 2; ++i) {
        int value = 0;
        const NumberStatus numberStatus = readInteger(in, value);
        if (numberStatus != NumberStatus::Read) {
            result.error = numberProblem(numberStatus, 2 + i, in.error());
            return result;
        }
        *numbers[i] = value;
        ++result.valuesRead;
    }
    result.ok = true;
    return result;
}

ConfigResult writeConfig(const std::string& path, const Settings& settings)
{
    ConfigResult result;
    const std::string* strings[2] = {&settings.samplePrefix, &settings.samplePostString};
    for (int i = 0; i < 2; ++i) {
        const std::string& s = *strings[i];
        if (s.find_first_of(std::string_view("\n\r\0", 3)) != std::string::npos) {
            result.error = std::string("the ") + settingNames[i] + " holds a line break or NUL character";
            return result;
        }
        if (s.size() > MaxConfigLineBytes) {
            result.error = std::string("the ") + settingNames[i] + " is longer than " +
                           std::to_string(MaxConfigLineBytes) + " bytes";
            return result;
        }
    }
    const std::string text = settings.samplePrefix + '\n' + settings.samplePostString + '\n' +
                             std::to_string(settings.coverValue) + '\n' + std::to_string(settings.matrixValue) + '\n';

    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path target(path);
    const auto linkStatus = fs::symlink_status(target, ec);
    const bool exists = !ec && fs::exists(linkStatus);
    if (exists && linkStatus.type() != fs::file_type::regular && linkStatus.type() != fs::file_type::symlink) {
        result.error = "not a regular file";
        return result;
    }

    // Write beside the target and rename, so a full disk never leaves half a file;
    // a link is written through, so that it stays a link.
    std::FILE* f = nullptr;
    std::string tempPath;
    if (linkStatus.type() != fs::file_type::symlink) {
        tempPath = path + ".tmp";
        f = std::fopen(tempPath.c_str(), "wb");
        if (!f)
            tempPath.clear();
    }
    // A folder we may not create files in can still hold a writable config.txt.
    if (!f)
        f = std::fopen(path.c_str(), "wb");
    if (!f) {
        result.error = systemMessage(errno);
        return result;
    }
    bool ok = writeAll(f, text);
    int err = errno;
    // On the disk before the rename: after a power loss the old file or the new one, never an empty one.
    if (ok && fsync(fileno(f)) != 0 && errno != EINVAL) {
        ok = false;
        err = errno;
    }
    if (std::fclose(f) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && !tempPath.empty()) {
        if (exists)
            fs::permissions(tempPath, fs::status(target, ec).permissions(), ec);
        fs::rename(tempPath, target, ec);
        if (ec) {
            ok = false;
            err = ec.value();
        }
    }
    if (!ok) {
        if (!tempPath.empty())
            std::remove(tempPath.c_str());
        result.error = systemMessage(err);
        return result;
    }
    result.ok = true;
    result.valuesRead = 4;
    return result;
}

}  // namespace orvalis
