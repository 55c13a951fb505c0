#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvalis {

// Lines of class values as read from a landscape file; lines keep their own lengths.
using LandscapeGrid = std::vector<std::vector<int>>;

// One field of a landscape line as the toolkit's string-to-integer conversion
// reads it (each byte a Latin-1 character): white space around the number is
// ignored, a sign is accepted, anything else or a value outside 32 bits is 0.
int parseLandscapeField(std::string_view field);

// Text of a landscape file to a grid: lines split at every single blank, the
// last field of each line dropped, lines of fewer than two fields skipped.
LandscapeGrid parseLandscape(std::string_view text);

struct LandscapeReadResult {
    bool ok = false;
    std::string error;  // why the file gave no grid
};

// Files larger than this are refused by the reader rather than read into memory.
constexpr std::uint64_t DefaultLandscapeReadLimit = 1ull << 30;

// Replaces grid with the content of the file; on any failure grid is left empty.
LandscapeReadResult readLandscapeFile(const std::string& path, LandscapeGrid& grid,
                                      std::uint64_t maxBytes = DefaultLandscapeReadLimit);

// The one writer behind every landscape file: each value in decimal followed by
// one blank, a line end after each line. Only whole lines ever reach the disk.
class LandscapeWriter {
public:
    LandscapeWriter() = default;
    ~LandscapeWriter();
    LandscapeWriter(const LandscapeWriter&) = delete;
    LandscapeWriter& operator=(const LandscapeWriter&) = delete;

    // Creates or truncates the file. False (with error()) when it cannot be opened.
    bool open(const std::string& path);
    bool writeLine(std::span<const int> values);
    // A two-class line: valueIfZero where a flag is 0, valueIfOne where it is not.
    // The text is exactly what writeLine writes for the same values.
    bool writeFlagLine(std::span<const unsigned char> flags, int valueIfZero, int valueIfOne);
    // Flushes and closes; false when anything failed since open().
    bool close();
    // Closes and deletes the file, for output cut short.
    void discard();

    bool isOpen() const { return file_ != nullptr; }
    bool failed() const { return failed_; }
    const std::string& error() const { return error_; }
    const std::string& path() const { return path_; }

private:
    // Room for at least bytes more in the buffer; returns where the next line goes.
    char* reserve(std::size_t bytes);
    // Takes the line ending at end into the buffer, flushing whole lines once enough wait.
    bool commitLine(char* end);
    bool flushBuffer();
    void fail(const std::string& what, int err);

    std::FILE* file_ = nullptr;
    std::string path_;
    // Whole lines waiting to be written; grown without clearing, unlike a std::string.
    std::unique_ptr<char[]> buffer_;
    std::size_t bufferSize_ = 0;
    std::size_t bufferCapacity_ = 0;
    std::string error_;
    bool failed_ = false;
    int cachedValue_[2] = {0, 0};
    char cachedText_[2][12] = {};
    int cachedLength_[2] = {0, 0};
};

// Writes a whole grid; false with error set when the file could not be fully written.
bool writeLandscapeFile(const std::string& path, const LandscapeGrid& grid, std::string* error = nullptr);

}  // namespace orvalis
