#pragma once

#include "core/io/LandscapeFile.h"
#include "core/io/SafeFile.h"

#include <cstdio>
#include <memory>
#include <span>
#include <string>

namespace orvalis {

// The one writer behind every landscape file: each value in decimal followed by
// one blank, a line end after each line. The file takes its name only when complete:
// until then it has none (or a hidden one, where the file system cannot do without).
class LandscapeWriter {
public:
    LandscapeWriter() = default;
    ~LandscapeWriter();
    LandscapeWriter(const LandscapeWriter&) = delete;
    LandscapeWriter& operator=(const LandscapeWriter&) = delete;

    // Starts the file; whatever holds its name is replaced only by close(). False (with
    // error()) when the folder takes no new file.
    bool open(const std::string& path);
    bool writeLine(std::span<const int> values);
    // A two-class line: valueIfZero where a flag is 0, valueIfOne where it is not.
    // The text is exactly what writeLine writes for the same values.
    bool writeFlagLine(std::span<const unsigned char> flags, int valueIfZero, int valueIfOne);
    // Text already made of whole lines, as writeLine makes them.
    bool writeText(const char* text, std::size_t bytes);
    // Flushes, closes and puts the file under its name, beforeNaming first; false, leaving
    // the name as it was, when anything failed since open().
    bool close(const BeforeNaming& beforeNaming = {});
    // Closes and deletes the unfinished file, for output cut short.
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
    std::string temporary_;  // the hidden name while unfinished, where the file system gives no nameless files
    bool named_ = false;      // written straight to path: a device, a pipe or a link
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

// rows x cols values row after row with the bytes writeLine gives, the text of blocks of rows made
// on up to `threads` threads (0: one per core) and written in order. False with *error set.
bool writeLandscapeText(const std::string& path, const int* cells, int rows, int cols, int threads = 0,
                        std::string* error = nullptr, const BeforeNaming& beforeNaming = {});

// Writes a whole grid; false with error set when the file could not be fully written.
bool writeLandscapeFile(const std::string& path, const LandscapeGrid& grid, std::string* error = nullptr);

}  // namespace orvalis
