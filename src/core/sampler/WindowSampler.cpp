#include "core/sampler/WindowSampler.h"

#include "core/io/LandscapeWriter.h"
#include "core/random/RandomSource.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace orvalis {

namespace {

constexpr int DrawCount = RandomSource::Max + 1;
// Distance-refused passes after one acceptance before the search asks whether any centre is left.
constexpr std::int64_t RefusalsBeforeCheck = 4096;
// Passes between progress reports while the budget is run down without a possible window.
constexpr std::int64_t FastForwardReportEvery = 1 << 16;

// Column (or row) that a draw lands on: (r / 32767) * extent, truncated.
int drawnCoordinate(int r, int extent)
{
    return static_cast<int>(static_cast<double>(r) / 32767.0 * static_cast<double>(extent));
}

// Where each of the 32768 draws lands, and whether that passes the position test.
struct DrawTable {
    std::array<int, DrawCount> at{};
    std::array<bool, DrawCount> inside{};
    std::vector<int> reachable;  // distinct inside coordinates, ascending

    DrawTable(int extent, int h)
    {
        for (int r = 0; r < DrawCount; ++r) {
            at[r] = drawnCoordinate(r, extent);
            inside[r] = at[r] >= h && static_cast<std::int64_t>(at[r]) < static_cast<std::int64_t>(extent) - h;
            if (inside[r] && (reachable.empty() || reachable.back() != at[r]))
                reachable.push_back(at[r]);
        }
    }
};

std::int64_t isqrt(std::int64_t v)
{
    auto r = static_cast<std::int64_t>(std::sqrt(static_cast<double>(v)));
    while (r * r > v)
        --r;
    while ((r + 1) * (r + 1) <= v)
        ++r;
    return r;
}

// True when some draw pair still gives a centre that passes the position test and is
// not within minDistance of an accepted centre.
bool anyAdmissibleCentre(const DrawTable& columns, const DrawTable& rows, const CentreList& centres, int minDistance)
{
    if (columns.reachable.empty() || rows.reachable.empty())
        return false;
    if (minDistance < 0 || centres.empty())
        return true;
    // No two pixels of an image lie 2^20 apart, so a larger distance changes nothing.
    minDistance = std::min(minDistance, 1 << 20);
    const std::int64_t reach2 = (static_cast<std::int64_t>(minDistance) + 1) * (static_cast<std::int64_t>(minDistance) + 1);
    std::vector<std::pair<int, int>> byRow;  // (y, x)
    byRow.reserve(centres.size());
    for (std::size_t k = 0; k < centres.size(); ++k)
        byRow.emplace_back(centres.ys[k], centres.xs[k]);
    std::sort(byRow.begin(), byRow.end());
    const std::vector<int>& xs = columns.reachable;
    std::vector<std::pair<std::int64_t, std::int64_t>> spans;
    for (int y : rows.reachable) {
        auto first = std::lower_bound(byRow.begin(), byRow.end(), std::make_pair(y - minDistance, INT32_MIN));
        auto last = std::upper_bound(byRow.begin(), byRow.end(), std::make_pair(y + minDistance, INT32_MAX));
        spans.clear();
        for (auto it = first; it != last; ++it) {
            std::int64_t dy = static_cast<std::int64_t>(it->first) - y;
            std::int64_t d = isqrt(reach2 - dy * dy - 1);
            spans.emplace_back(it->second - d, it->second + d);
        }
        std::sort(spans.begin(), spans.end());
        std::size_t p = 0;  // first reachable column not yet known to be covered
        for (const auto& s : spans) {
            if (p == xs.size())
                break;
            if (xs[p] < s.first)
                return true;
            if (xs[p] <= s.second)
                p = static_cast<std::size_t>(std::upper_bound(xs.begin() + static_cast<std::ptrdiff_t>(p), xs.end(), s.second) - xs.begin());
        }
        if (p < xs.size())
            return true;
    }
    return false;
}

bool straightTooClose(const CentreList& centres, int x, int y, int minDistance)
{
    for (std::size_t k = 0; k < centres.xs.size(); ++k) {
        std::int64_t dx = static_cast<std::int64_t>(centres.xs[k]) - x;
        std::int64_t dy = static_cast<std::int64_t>(centres.ys[k]) - y;
        auto d = static_cast<std::int64_t>(std::sqrt(static_cast<double>(dx * dx + dy * dy)));
        if (d <= minDistance)
            return true;
    }
    return false;
}

// Window files are gathered in square tiles of this many flags a side.
constexpr std::size_t FlagTile = 16;

std::size_t roundUpToTile(std::size_t n)
{
    return (n + FlagTile - 1) / FlagTile * FlagTile;
}

// Flags of count pixels from pixels on: nonzero where the blue byte is at most threshold.
void habitatFlags(const unsigned char* pixels, std::size_t bpp, std::size_t count, int threshold, unsigned char* flags)
{
    if (threshold < 0) {
        std::memset(flags, 0, count);
        return;
    }
    if (threshold >= 255) {
        std::memset(flags, 0xFF, count);
        return;
    }
    const auto limit = static_cast<unsigned char>(threshold);
    const unsigned char* blue = pixels + 2;
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i limits = _mm_set1_epi8(static_cast<char>(limit));
    if (bpp == 4) {
        // Blue is byte 2 of each 32-bit pixel: shifted down, masked and packed, sixteen pixels a round.
        const __m128i low = _mm_set1_epi32(0xFF);
        for (; i + 16 <= count; i += 16) {
            const auto* p = reinterpret_cast<const __m128i*>(pixels + i * 4);
            const __m128i b0 = _mm_and_si128(_mm_srli_epi32(_mm_loadu_si128(p), 16), low);
            const __m128i b1 = _mm_and_si128(_mm_srli_epi32(_mm_loadu_si128(p + 1), 16), low);
            const __m128i b2 = _mm_and_si128(_mm_srli_epi32(_mm_loadu_si128(p + 2), 16), low);
            const __m128i b3 = _mm_and_si128(_mm_srli_epi32(_mm_loadu_si128(p + 3), 16), low);
            const __m128i b = _mm_packus_epi16(_mm_packs_epi32(b0, b1), _mm_packs_epi32(b2, b3));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(flags + i), _mm_cmpeq_epi8(_mm_min_epu8(b, limits), b));
        }
    }
#endif
    if (bpp == 3) {
        for (; i < count; ++i)
            flags[i] = blue[i * 3] <= limit ? 0xFF : 0;
    }
    for (; i < count; ++i)
        flags[i] = blue[i * bpp] <= limit ? 0xFF : 0;
}

// Transposes a 16 x 16 tile of flags.
void transposeTile(const unsigned char* from, std::size_t fromStride, unsigned char* to, std::size_t toStride)
{
#if defined(__SSE2__)
    // Four rounds of interleaving rows i and i + 8 into rows 2i and 2i + 1 turn the tile over.
    __m128i rows[16], next[16];
    for (std::size_t i = 0; i < 16; ++i)
        rows[i] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i * fromStride));
    for (int round = 0; round < 4; ++round) {
        for (std::size_t i = 0; i < 8; ++i) {
            next[2 * i] = _mm_unpacklo_epi8(rows[i], rows[i + 8]);
            next[2 * i + 1] = _mm_unpackhi_epi8(rows[i], rows[i + 8]);
        }
        std::memcpy(rows, next, sizeof rows);
    }
    for (std::size_t i = 0; i < 16; ++i)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i * toStride), rows[i]);
#else
    for (std::size_t r = 0; r < FlagTile; ++r)
        for (std::size_t c = 0; c < FlagTile; ++c)
            to[c * toStride + r] = from[r * fromStride + c];
#endif
}

// Flags of count pixels (nonzero = habitat) as bits, bit i % 8 of byte i / 8.
void packFlags(const unsigned char* flags, std::size_t count, unsigned char* bits)
{
    std::size_t i = 0;
#if defined(__SSE2__)
    for (; i + 16 <= count; i += 16) {
        const __m128i f = _mm_loadu_si128(reinterpret_cast<const __m128i*>(flags + i));
        const int mask = _mm_movemask_epi8(_mm_cmpeq_epi8(f, _mm_setzero_si128())) ^ 0xFFFF;
        bits[i / 8] = static_cast<unsigned char>(mask);
        bits[i / 8 + 1] = static_cast<unsigned char>(mask >> 8);
    }
#endif
    for (; i < count; i += 8) {
        unsigned byte = 0;
        for (std::size_t j = 0; j < 8 && i + j < count; ++j)
            byte |= (flags[i + j] != 0 ? 1u : 0u) << j;
        bits[i / 8] = static_cast<unsigned char>(byte);
    }
}

// Habitat bits of a row of count pixels; flags is room for count flags.
void habitatRowBits(const unsigned char* pixels, std::size_t bpp, std::size_t count, int threshold,
                    unsigned char* flags, unsigned char* bits)
{
    std::size_t i = 0;
#if defined(__SSE2__)
    if (bpp == 3 && threshold >= 0 && threshold < 255) {
        // Every byte of 16 pixels is compared at once; a table then keeps every third bit, the blue ones.
        static const auto blueBits = [] {
            std::array<unsigned char, 4096> table{};
            for (unsigned v = 0; v < 4096; ++v)
                for (unsigned k = 0; k < 4; ++k)
                    table[v] |= static_cast<unsigned char>(((v >> (3 * k + 2)) & 1u) << k);
            return table;
        }();
        const __m128i limits = _mm_set1_epi8(static_cast<char>(threshold));
        for (; i + 16 <= count; i += 16) {
            const auto* p = reinterpret_cast<const __m128i*>(pixels + i * 3);
            std::uint64_t m = 0;
            for (int k = 0; k < 3; ++k) {
                const __m128i v = _mm_loadu_si128(p + k);
                m |= static_cast<std::uint64_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(v, limits), v))) << (16 * k);
            }
            const unsigned word = blueBits[m & 0xFFF] | blueBits[(m >> 12) & 0xFFF] << 4 |
                                  blueBits[(m >> 24) & 0xFFF] << 8 | blueBits[(m >> 36) & 0xFFF] << 12;
            bits[i / 8] = static_cast<unsigned char>(word);
            bits[i / 8 + 1] = static_cast<unsigned char>(word >> 8);
        }
    }
#endif
    habitatFlags(pixels + i * bpp, bpp, count - i, threshold, flags);
    packFlags(flags, count - i, bits + i / 8);
}

// Flags of cols window columns from firstColumn, side rows from firstRow, one run of paddedSide per column.
void columnsFromBits(const unsigned char* bits, std::size_t stride, std::size_t firstColumn, std::size_t firstRow,
                     std::size_t cols, std::size_t side, unsigned char* columns, std::size_t paddedSide)
{
#if defined(__SSE2__)
    const unsigned shift = static_cast<unsigned>(firstColumn % 8);
    __m128i columnBit[8];
    for (int j = 0; j < 8; ++j)
        columnBit[j] = _mm_set1_epi8(static_cast<char>(1 << j));
    for (std::size_t r0 = 0; r0 < side; r0 += FlagTile) {
        const std::size_t rows = std::min(FlagTile, side - r0);
        const unsigned char* rowBits[16];
        for (std::size_t i = 0; i < 16; ++i)
            rowBits[i] = bits + (firstRow + r0 + std::min(i, rows - 1)) * stride + firstColumn / 8;
        // 56 columns at a time: what one 8-byte read of each row holds whatever the bit offset.
        for (std::size_t c0 = 0; c0 < cols; c0 += 56) {
            __m128i v[8], next[8];
            for (std::size_t i = 0; i < 8; ++i) {
                std::uint64_t upper, lower;
                std::memcpy(&upper, rowBits[i] + c0 / 8, 8);
                std::memcpy(&lower, rowBits[i + 8] + c0 / 8, 8);
                v[i] = _mm_unpacklo_epi8(_mm_set_epi64x(0, static_cast<long long>(upper >> shift)),
                                         _mm_set_epi64x(0, static_cast<long long>(lower >> shift)));
            }
            // Three rounds of interleaving turn 16 rows of 8 bytes into 8 vectors of one byte from each row.
            for (int round = 0; round < 3; ++round) {
                for (std::size_t k = 0; k < 4; ++k) {
                    next[2 * k] = _mm_unpacklo_epi8(v[k], v[k + 4]);
                    next[2 * k + 1] = _mm_unpackhi_epi8(v[k], v[k + 4]);
                }
                std::memcpy(v, next, sizeof v);
            }
            const std::size_t count = std::min<std::size_t>(56, cols - c0);
            for (std::size_t c = 0; c < count; ++c) {
                const __m128i bit = columnBit[c % 8];
                const __m128i flags = _mm_cmpeq_epi8(_mm_and_si128(v[c / 8], bit), bit);
                _mm_storeu_si128(reinterpret_cast<__m128i*>(columns + (c0 + c) * paddedSide + r0), flags);
            }
        }
    }
#else
    for (std::size_t r = 0; r < side; ++r) {
        const unsigned char* row = bits + (firstRow + r) * stride;
        for (std::size_t c = 0; c < cols; ++c) {
            const std::size_t x = firstColumn + c;
            columns[c * paddedSide + r] = (row[x / 8] >> (x % 8)) & 1u ? 0xFF : 0;
        }
    }
#endif
}

// The same flags gathered from the pixels themselves, through a strip of FlagTile rows.
void columnsFromPixels(const TgaImage& image, int threshold, std::size_t firstColumn, std::size_t firstRow,
                       std::size_t cols, std::size_t side, unsigned char* strip, unsigned char* columns,
                       std::size_t paddedSide)
{
    const std::size_t bpp = image.bytesPerPixel;
    const std::size_t width = static_cast<std::size_t>(image.width);
    const std::size_t stripWidth = roundUpToTile(cols);
    for (std::size_t r0 = 0; r0 < side; r0 += FlagTile) {
        const std::size_t rows = std::min(FlagTile, side - r0);
        for (std::size_t r = 0; r < rows; ++r)
            habitatFlags(image.data + ((firstRow + r0 + r) * width + firstColumn) * bpp, bpp, cols, threshold,
                         strip + r * stripWidth);
        // Rows past the window's end in the last strip are turned too but never written.
        for (std::size_t t0 = 0; t0 < stripWidth; t0 += FlagTile)
            transposeTile(strip + t0, stripWidth, columns + t0 * paddedSide + r0, paddedSide);
    }
}

std::string failureText(const std::string& what, int err)
{
    return err != 0 ? what + ": " + std::strerror(err) : what;
}

}  // namespace

std::string windowFileName(const std::string& folder, const std::string& prefix, int coverClass, int replicate)
{
    char numbers[48];
    std::snprintf(numbers, sizeof numbers, "%03d_%03d.txt", coverClass, replicate);
    return folder + "/" + prefix + numbers;
}

std::string formatCover(double cover)
{
    // to_chars, not printf: the GUI runs under the user's locale, which may write a decimal comma.
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, cover, std::chars_format::general, 6);
    return std::string(buf, r.ptr);
}

const char* sampleStopText(SampleStop stop)
{
    switch (stop) {
    case SampleStop::TargetReached: return "every cover level got its replicates";
    case SampleStop::TriesSpent: return "the search spent all its tries";
    case SampleStop::Cancelled: return "cancelled";
    case SampleStop::NoCentreLeft: return "no window centre is left outside the minimum distance of the accepted ones";
    case SampleStop::LogNotOpened: return "sample.txt could not be created";
    case SampleStop::LogWriteFailed: return "sample.txt could not be written";
    case SampleStop::WindowWriteFailed: return "a window file could not be written";
    case SampleStop::NoImage: return "no image loaded";
    case SampleStop::BadParameters: return "bad parameters";
    }
    return "";
}

void WindowSampler::configure(int threshold_, double halfSize_, int matrixValue_, int coverValue_)
{
    threshold = threshold_;
    halfSize = std::isfinite(halfSize_) ? static_cast<int>(std::clamp(halfSize_, -2147483648.0, 2147483647.0)) : 0;
    matrixValue = matrixValue_;
    coverValue = coverValue_;
}

bool WindowSampler::loadImage(const char* path)
{
    coverTable_.clear();
    tableFor_ = {};
    habitatBits_ = {};
    bitsFor_ = {};
    return image.load(path);
}

void WindowSampler::requireImage() const
{
    if (!image.isLoaded()) {
        std::fprintf(stderr, "Ocorreu um erro: %s\n", "Nenhuma imagem carregada");
        std::exit(1);
    }
}

bool WindowSampler::coverTableReady(const std::function<bool()>& keepGoing)
{
    if (tableFor_ == current())
        return !coverTable_.empty();
    tableFor_ = current();
    // Without room for the table the windows are counted pixel by pixel: slower, same counts.
    return coverTable_.build(image, threshold, keepGoing);
}

std::int64_t WindowSampler::countPixels(int x, int y) const
{
    const int h = halfSize;
    std::int64_t habitat = 0;
    for (int i = x - h; i < x + h; ++i)
        for (int j = y - h; j < y + h; ++j)
            if (image.component(i, j, 2) <= threshold)
                ++habitat;
    return habitat;
}

std::int64_t WindowSampler::windowCover(int x, int y)
{
    requireImage();
    if (straightforward_ || !coverTableReady())
        return countPixels(x, y);
    return coverTable_.count(x - halfSize, y - halfSize, x + halfSize, y + halfSize);
}

bool WindowSampler::habitatBitsReady()
{
    if (bitsFor_ == current())
        return !habitatBits_.empty();
    bitsFor_ = current();
    habitatBits_.clear();
    const std::size_t width = static_cast<std::size_t>(image.width);
    const std::size_t height = static_cast<std::size_t>(image.height);
    // Spare bytes at each row's end let a window's last bits be read eight bytes at a time.
    bitsStride_ = (width + 7) / 8 + 8;
    try {
        std::vector<unsigned char> bits(bitsStride_ * height);
        std::vector<unsigned char> flags(roundUpToTile(width));
        for (std::size_t row = 0; row < height; ++row) {
            habitatRowBits(image.data + row * width * image.bytesPerPixel, image.bytesPerPixel, width, threshold,
                           flags.data(), bits.data() + row * bitsStride_);
        }
        habitatBits_ = std::move(bits);
    } catch (const std::bad_alloc&) {
        // Without room for the bits the windows are gathered from the pixels: slower, same files.
        habitatBits_.clear();
    }
    return !habitatBits_.empty();
}

bool WindowSampler::writeWindow(int x, int y, int h, const std::string& fileName, std::string* error)
{
    requireImage();
    LandscapeWriter writer;
    if (!writer.open(fileName)) {
        if (error)
            *error = writer.error();
        return false;
    }
    const bool fromBits = !straightforward_ && habitatBitsReady();
    const std::size_t side = static_cast<std::size_t>(2) * static_cast<std::size_t>(h);
    const std::size_t paddedSide = roundUpToTile(side);
    // Lines run along image columns: a band of columns is gathered as habitat flags, a strip of rows at a time,
    // and turned into one run of flags per column. The band's flags stay within about a megabyte.
    const std::size_t band =
        std::min(paddedSide, std::max(FlagTile, (std::size_t(1) << 20) / paddedSide / FlagTile * FlagTile));
    std::vector<unsigned char> strip(fromBits ? 0 : FlagTile * band);
    std::vector<unsigned char> columns(band * paddedSide);
    bool ok = true;
    for (std::size_t c0 = 0; ok && c0 < side; c0 += band) {
        const std::size_t cols = std::min(band, side - c0);
        const std::size_t firstColumn = static_cast<std::size_t>(x - h) + c0;
        const std::size_t firstRow = static_cast<std::size_t>(y - h);
        if (fromBits)
            columnsFromBits(habitatBits_.data(), bitsStride_, firstColumn, firstRow, cols, side, columns.data(),
                            paddedSide);
        else
            columnsFromPixels(image, threshold, firstColumn, firstRow, cols, side, strip.data(), columns.data(),
                              paddedSide);
        for (std::size_t c = 0; ok && c < cols; ++c)
            ok = writer.writeFlagLine(std::span<const unsigned char>(columns.data() + c * paddedSide, side), matrixValue,
                                      coverValue);
    }
    ok = writer.close() && ok;
    if (!ok) {
        if (error)
            *error = writer.error();
        writer.discard();
    }
    return ok;
}

SampleOutcome WindowSampler::sampleWindows(const SampleParameters& params, std::vector<std::string>& fileNames,
                                           const ProgressCallback& progress)
{
    SampleOutcome out;
    if (!image.isLoaded()) {
        out.stop = SampleStop::NoImage;
        out.message = "Nenhuma imagem carregada";
        return out;
    }
    if (halfSize < 1 || params.coverStep < 1) {
        out.stop = SampleStop::BadParameters;
        out.message = halfSize < 1 ? "the window must be at least 2 pixels wide" : "the cover step must be at least 1";
        return out;
    }
    if (params.folder.empty()) {
        // Joined with "/" an empty folder would put the windows in the root folder.
        out.stop = SampleStop::BadParameters;
        out.message = "no folder was chosen for the window files";
        return out;
    }
    const int h = halfSize;
    const std::int64_t windowPixels = 4 * static_cast<std::int64_t>(h) * h;
    for (int c = std::max(params.coverMin, 0); c <= std::min(params.coverMax, 100); ++c)
        if (c % params.coverStep == 0)
            ++out.levels;

    std::FILE* log = std::fopen(params.logPath.c_str(), "wb");
    if (!log) {
        out.stop = SampleStop::LogNotOpened;
        out.message = failureText("cannot create " + params.logPath, errno);
        return out;
    }

    out.target = ((static_cast<std::int64_t>(params.coverMax) + params.coverStep - params.coverMin) * params.replicates) /
                 params.coverStep;
    const std::int64_t shownTotal = std::max<std::int64_t>(out.target, 0);
    std::array<int, 101> count{};
    CentreList centres;
    const DrawTable columns(image.width, h);
    const DrawTable rows(image.height, h);
    RandomSource& random = globalRandom();

    ProgressEvent event;
    event.total = shownTotal;
    event.budgetLeft = TryBudget;
    if (!straightforward_) {
        // Building the table of a large image takes a while: keep the user's Cancel within reach.
        bool cancelled = false;
        coverTableReady([&] {
            cancelled = progress && !progress(event);
            return !cancelled;
        });
        if (cancelled) {
            tableFor_ = {};  // an interrupted table is built again by the next run
            out.stop = SampleStop::Cancelled;
            std::fclose(log);
            return out;
        }
    }

    std::int64_t tries = 0;
    std::int64_t refusals = 0;  // distance-refused passes since the last acceptance
    bool checked = false;       // whether the centres left have been counted since the last acceptance
    for (;;) {
        if (progress) {
            event.done = out.written;
            event.budgetLeft = TryBudget - tries;
            if (!progress(event)) {
                out.stop = SampleStop::Cancelled;
                break;
            }
        }
        const int r1 = random.next();
        const int r2 = random.next();
        const int x = columns.at[r1];
        const int y = rows.at[r2];
        if (columns.inside[r1] && rows.inside[r2]) {
            const bool near = straightforward_ ? straightTooClose(centres, x, y, params.minDistance)
                                               : centres.tooClose(x, y, params.minDistance);
            if (near) {
                // Refused passes are not tries; once no centre can be accepted any more, run the budget down at once.
                if (++refusals >= RefusalsBeforeCheck && !checked) {
                    checked = true;
                    if (!anyAdmissibleCentre(columns, rows, centres, params.minDistance)) {
                        RandomSource ahead(random.state());
                        std::int64_t passes = 0;
                        bool cancelled = false;
                        while (tries < TryBudget) {
                            if (progress && ++passes % FastForwardReportEvery == 0) {
                                event.done = out.written;
                                event.budgetLeft = TryBudget - tries;
                                if (!progress(event)) {
                                    cancelled = true;
                                    break;
                                }
                            }
                            const int a = ahead.next();
                            const int b = ahead.next();
                            if (!columns.inside[a] || !rows.inside[b])
                                ++tries;
                        }
                        random.seed(ahead.state());
                        out.stop = cancelled ? SampleStop::Cancelled : SampleStop::NoCentreLeft;
                        if (!cancelled)
                            out.message = "no window centre is left: every possible centre lies within the minimum "
                                          "distance of an accepted window";
                        break;
                    }
                }
                continue;
            }
            const std::int64_t habitat = windowCover(x, y);
            const int coverClass = static_cast<int>((100 * habitat) / windowPixels);
            if (coverClass >= params.coverMin && coverClass <= params.coverMax && coverClass % params.coverStep == 0 &&
                count[static_cast<std::size_t>(coverClass)] < params.replicates) {
                const int replicate = count[static_cast<std::size_t>(coverClass)] + 1;
                const std::string name = windowFileName(params.folder, params.prefix, coverClass, replicate);
                std::string why;
                if (!writeWindow(x, y, h, name, &why)) {
                    out.stop = SampleStop::WindowWriteFailed;
                    out.message = "cannot write " + name + ": " + why;
                    break;
                }
                const double cover = static_cast<double>(habitat) / static_cast<double>(windowPixels);
                const std::string line =
                    name + " " + formatCover(cover) + " " + std::to_string(x) + " " + std::to_string(y) + "\n";
                errno = 0;
                if (std::fwrite(line.data(), 1, line.size(), log) != line.size() || std::fflush(log) != 0) {
                    out.stop = SampleStop::LogWriteFailed;
                    out.message = failureText("cannot write " + params.logPath, errno);
                    std::remove(name.c_str());
                    break;
                }
                count[static_cast<std::size_t>(coverClass)] = replicate;
                centres.add(x, y);
                fileNames.push_back(name);
                refusals = 0;
                checked = false;
                ++out.written;
                if (out.written >= out.target) {
                    out.stop = SampleStop::TargetReached;
                    break;
                }
            }
        }
        if (++tries >= TryBudget) {
            out.stop = SampleStop::TriesSpent;
            break;
        }
    }
    out.tries = tries;
    errno = 0;
    if (std::fclose(log) != 0 && out.ok()) {
        out.stop = SampleStop::LogWriteFailed;
        out.message = failureText("cannot write " + params.logPath, errno);
    }
    for (int c = std::max(params.coverMin, 0); c <= std::min(params.coverMax, 100); ++c)
        if (c % params.coverStep == 0 && count[static_cast<std::size_t>(c)] >= params.replicates)
            ++out.levelsFilled;
    return out;
}

}  // namespace orvalis
