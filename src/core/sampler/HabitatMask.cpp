#include "core/sampler/HabitatMask.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace orvalis {

namespace {

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

}  // namespace

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

}  // namespace orvalis
