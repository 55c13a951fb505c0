#include "core/io/LandscapeWriter.h"

#include "core/io/SafeFile.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <thread>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace orvalis {

namespace {

// Whole lines are handed to the C library once this many bytes wait.
constexpr std::size_t FlushThreshold = std::size_t(1) << 16;

}  // namespace

LandscapeWriter::~LandscapeWriter()
{
    // A writer dropped before close() left its file unfinished.
    if (file_)
        discard();
}

bool LandscapeWriter::open(const std::string& path)
{
    if (file_)
        close();
    path_ = path;
    error_.clear();
    failed_ = false;
    bufferSize_ = 0;
    cachedLength_[0] = cachedLength_[1] = 0;
    errno = 0;
    temporary_.clear();
    named_ = !replaceableByRename(path);
    file_ = named_ ? std::fopen(path.c_str(), "wb") : createUnnamed(path, temporary_);
    if (!file_) {
        fail("cannot open for writing", errno);
        return false;
    }
    return true;
}

void LandscapeWriter::fail(const std::string& what, int err)
{
    if (failed_)
        return;
    failed_ = true;
    error_ = what;
    if (err != 0)
        error_ += std::string(": ") + std::strerror(err);
}

bool LandscapeWriter::flushBuffer()
{
    if (bufferSize_ == 0)
        return !failed_;
    errno = 0;
    std::size_t put = std::fwrite(buffer_.get(), 1, bufferSize_, file_);
    bool ok = put == bufferSize_ && std::fflush(file_) == 0;
    bufferSize_ = 0;
    if (!ok)
        fail("write failed", errno);
    return ok;
}

char* LandscapeWriter::reserve(std::size_t bytes)
{
    const std::size_t needed = bufferSize_ + bytes;
    if (needed > bufferCapacity_) {
        std::size_t capacity = std::max<std::size_t>(needed, FlushThreshold * 2);
        auto grown = std::make_unique_for_overwrite<char[]>(capacity);
        if (bufferSize_)
            std::memcpy(grown.get(), buffer_.get(), bufferSize_);
        buffer_ = std::move(grown);
        bufferCapacity_ = capacity;
    }
    return buffer_.get() + bufferSize_;
}

bool LandscapeWriter::commitLine(char* end)
{
    bufferSize_ = static_cast<std::size_t>(end - buffer_.get());
    if (bufferSize_ >= FlushThreshold)
        return flushBuffer();
    return true;
}

bool LandscapeWriter::writeLine(std::span<const int> values)
{
    if (!file_ || failed_)
        return false;
    char* out = reserve(values.size() * 12 + 1);
    // Landscape files hold two class values, so the text of the last two is kept at hand.
    int value0 = cachedValue_[0], value1 = cachedValue_[1];
    int length0 = cachedLength_[0], length1 = cachedLength_[1];
    std::size_t i = 0;
    if (length0 == 2 && length1 == 2) {
        // Two one-digit values, the usual landscape: a digit and a blank a cell, in loops
        // simple enough for the compiler to vectorise.
        bool allKnown = true;
        for (int v : values)
            allKnown &= (v == value0) | (v == value1);
        if (allKnown) {
            const char digit0 = cachedText_[0][0], digit1 = cachedText_[1][0];
            const std::size_t n = values.size();
            for (std::size_t k = 0; k < n; ++k) {
                out[2 * k] = values[k] == value0 ? digit0 : digit1;
                out[2 * k + 1] = ' ';
            }
            out += 2 * n;
            i = n;
        }
    }
    for (int v : values.subspan(i)) {
        if (v == value0 && length0) {
            std::memcpy(out, cachedText_[0], 12);
            out += length0;
        } else if (v == value1 && length1) {
            std::memcpy(out, cachedText_[1], 12);
            out += length1;
        } else {
            // A new value replaces the older of the two.
            if (length0 && length1) {
                cachedValue_[0] = cachedValue_[1];
                std::memcpy(cachedText_[0], cachedText_[1], sizeof cachedText_[0]);
                cachedLength_[0] = cachedLength_[1];
            }
            int slot = length0 ? 1 : 0;
            auto r = std::to_chars(cachedText_[slot], cachedText_[slot] + 11, v);
            *r.ptr = ' ';
            cachedValue_[slot] = v;
            cachedLength_[slot] = static_cast<int>(r.ptr - cachedText_[slot]) + 1;
            std::memcpy(out, cachedText_[slot], 12);
            out += cachedLength_[slot];
            value0 = cachedValue_[0];
            value1 = cachedValue_[1];
            length0 = cachedLength_[0];
            length1 = cachedLength_[1];
        }
    }
    *out++ = '\n';
    return commitLine(out);
}

bool LandscapeWriter::writeFlagLine(std::span<const unsigned char> flags, int valueIfZero, int valueIfOne)
{
    if (!file_ || failed_)
        return false;
    char text[2][12];
    std::size_t length[2];
    const int values[2] = {valueIfZero, valueIfOne};
    for (int k = 0; k < 2; ++k) {
        auto r = std::to_chars(text[k], text[k] + 11, values[k]);
        *r.ptr = ' ';
        length[k] = static_cast<std::size_t>(r.ptr - text[k]) + 1;
    }
    const std::size_t n = flags.size();
    char* out = reserve(n * 12 + 1);
    if (length[0] == 2 && length[1] == 2) {
        const char digit0 = text[0][0];
        const char change = static_cast<char>(text[0][0] ^ text[1][0]);
        std::size_t k = 0;
#if defined(__SSE2__)
        // Sixteen cells at a time: a digit chosen by the flag, interleaved with blanks.
        const __m128i zero = _mm_setzero_si128();
        const __m128i blanks = _mm_set1_epi8(' ');
        const __m128i digits0 = _mm_set1_epi8(digit0);
        const __m128i changes = _mm_set1_epi8(change);
        for (; k + 16 <= n; k += 16) {
            const __m128i f = _mm_loadu_si128(reinterpret_cast<const __m128i*>(flags.data() + k));
            const __m128i one = _mm_andnot_si128(_mm_cmpeq_epi8(f, zero), changes);
            const __m128i digits = _mm_xor_si128(digits0, one);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * k), _mm_unpacklo_epi8(digits, blanks));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * k + 16), _mm_unpackhi_epi8(digits, blanks));
        }
#endif
        for (; k < n; ++k) {
            out[2 * k] = flags[k] ? static_cast<char>(digit0 ^ change) : digit0;
            out[2 * k + 1] = ' ';
        }
        out += 2 * n;
    } else {
        for (unsigned char f : flags) {
            const int k = f != 0;
            std::memcpy(out, text[k], 12);
            out += length[k];
        }
    }
    *out++ = '\n';
    return commitLine(out);
}

bool LandscapeWriter::writeText(const char* text, std::size_t bytes)
{
    if (!file_ || failed_)
        return false;
    if (!flushBuffer())
        return false;
    errno = 0;
    if (std::fwrite(text, 1, bytes, file_) != bytes) {
        fail("write failed", errno);
        return false;
    }
    return true;
}

bool LandscapeWriter::close(const BeforeNaming& beforeNaming)
{
    if (!file_)
        return !failed_;
    flushBuffer();
    errno = 0;
    if (!failed_ && std::fflush(file_) != 0)
        fail("write failed", errno);
    if (!failed_ && beforeNaming && !beforeNaming())
        fail("cannot put the file in place", errno);
    bool namedNow = false;
    if (!failed_ && !named_) {
        if (nameFile(file_, temporary_, path_))
            namedNow = true;
        else
            fail("cannot put the file in place", errno);
    }
    errno = 0;
    if (std::fclose(file_) != 0)
        fail("close failed", errno);
    file_ = nullptr;
    if (failed_ && namedNow)
        std::remove(path_.c_str());  // named, then the close failed: not a whole file after all
    if (failed_ && !temporary_.empty() && !namedNow)
        std::remove(temporary_.c_str());
    temporary_.clear();
    return !failed_;
}

void LandscapeWriter::discard()
{
    if (file_) {
        std::fclose(file_);  // a file without a name vanishes with it
        file_ = nullptr;
    }
    bufferSize_ = 0;
    // Whatever was under the final name before stays; only the unfinished copy goes.
    if (!temporary_.empty())
        std::remove(temporary_.c_str());
    temporary_.clear();
}

namespace {

// The text of rows values a line, as writeLine writes them; where the text ends.
char* formatRows(const int* cells, std::size_t rows, std::size_t cols, char* out)
{
    for (std::size_t r = 0; r < rows; ++r) {
        const int* line = cells + r * cols;
        for (std::size_t c = 0; c < cols; ++c) {
            const int v = line[c];
            if (static_cast<unsigned>(v) < 10u) {
                out[0] = static_cast<char>('0' + v);
                out[1] = ' ';
                out += 2;
            } else {
                out = std::to_chars(out, out + 11, v).ptr;
                *out++ = ' ';
            }
        }
        *out++ = '\n';
    }
    return out;
}

}  // namespace

bool writeLandscapeText(const std::string& path, const int* cells, int rows, int cols, int threads,
                        std::string* error, const BeforeNaming& beforeNaming)
{
    LandscapeWriter writer;
    bool ok = writer.open(path);
    const std::size_t width = static_cast<std::size_t>(std::max(cols, 0));
    const std::size_t height = static_cast<std::size_t>(std::max(rows, 0));
    if (threads <= 0)
        threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    // Blocks of about a million cells: each thread makes one block's text a round, then the
    // blocks are written in order.
    const std::size_t blockRows = std::max<std::size_t>(1, (std::size_t(1) << 20) / std::max<std::size_t>(width, 1));
    const std::size_t blocks = (height + blockRows - 1) / blockRows;
    const std::size_t perRound = std::min<std::size_t>(static_cast<std::size_t>(threads), std::max<std::size_t>(blocks, 1));
    std::vector<std::unique_ptr<char[]>> text(perRound);
    std::vector<std::size_t> length(perRound, 0);
    for (auto& t : text)
        t = std::make_unique_for_overwrite<char[]>(std::min(blockRows, height) * (width * 12 + 1) + 1);
    for (std::size_t first = 0; ok && first < blocks; first += perRound) {
        const std::size_t count = std::min(perRound, blocks - first);
        const auto make = [&](std::size_t k) {
            const std::size_t row = (first + k) * blockRows;
            const std::size_t n = std::min(blockRows, height - row);
            length[k] = static_cast<std::size_t>(formatRows(cells + row * width, n, width, text[k].get()) - text[k].get());
        };
        std::vector<std::thread> helpers;
        for (std::size_t k = 1; k < count; ++k)
            helpers.emplace_back(make, k);
        make(0);
        for (std::thread& h : helpers)
            h.join();
        for (std::size_t k = 0; ok && k < count; ++k)
            ok = writer.writeText(text[k].get(), length[k]);
    }
    if (ok && writer.close(beforeNaming))
        return true;
    if (error)
        *error = writer.error().empty() ? "the file could not be written" : writer.error();
    writer.discard();
    return false;
}

bool writeLandscapeFile(const std::string& path, const LandscapeGrid& grid, std::string* error)
{
    LandscapeWriter writer;
    bool ok = writer.open(path);
    for (std::size_t i = 0; ok && i < grid.size(); ++i)
        ok = writer.writeLine(grid[i]);
    ok = writer.close() && ok;
    if (!ok && error)
        *error = writer.error();
    return ok;
}

}  // namespace orvalis
