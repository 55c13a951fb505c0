#include "core/map/ByteClassifier.h"

#include "core/map/CellClassifier.h"

#include <array>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace orvalis {

bool ByteClassifier::prepare(const std::vector<unsigned char>& table, bool signedCells)
{
    classCount_ = 0;
    hasNoData_ = false;
    signed_ = signedCells;
    table_ = table;
    keyIndex_.fill(-1);
    for (int k = 0; k < 256; ++k) {
        if (table[k] == HabitatFlag) {
            if (classCount_ == MaxClasses)
                return false;
            keyIndex_[k] = static_cast<std::int8_t>(classCount_);
            keys_[classCount_++] = static_cast<std::uint8_t>(k);
        } else if (table[k] == NoDataFlag) {
            if (hasNoData_)
                return false;
            hasNoData_ = true;
            noDataKey_ = static_cast<std::uint8_t>(k);
        }
    }
    return true;
}

bool ByteClassifier::row(const std::uint8_t* v, const unsigned char* mask, std::int64_t n, std::uint64_t* habitat,
                         std::size_t habitatStep, std::uint64_t* noData)
{
    using Row = bool (ByteClassifier::*)(const std::uint8_t*, const unsigned char*, std::int64_t, std::uint64_t*,
                                         std::size_t, std::uint64_t*);
    // One loop for each number of classes, so that the comparisons unroll and the counters stay in registers.
    static constexpr auto rows = []<std::size_t... K>(std::index_sequence<K...>) {
        return std::array<std::array<Row, MaxClasses + 1>, 2>{
            std::array<Row, MaxClasses + 1>{&ByteClassifier::rowOf<static_cast<int>(K), false>...},
            std::array<Row, MaxClasses + 1>{&ByteClassifier::rowOf<static_cast<int>(K), true>...}};
    }(std::make_index_sequence<MaxClasses + 1>());
    return (this->*rows[mask != nullptr][static_cast<std::size_t>(classCount_)])(v, mask, n, habitat, habitatStep, noData);
}

template <int K, bool Masked>
bool ByteClassifier::rowOf(const std::uint8_t* v, const unsigned char* mask, std::int64_t n, std::uint64_t* habitat,
                           std::size_t habitatStep, std::uint64_t* noData)
{
    std::int64_t i = 0;
    std::uint64_t anyNoData = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i noDataKey = _mm_set1_epi8(static_cast<char>(noDataKey_));
    const bool hasNoData = hasNoData_;
    // Fully unrolled, so that keys and counters live in registers.
    __m128i key[K + 1], count[K + 1];
#pragma GCC unroll 8
    for (int k = 0; k < K; ++k) {
        key[k] = _mm_set1_epi8(static_cast<char>(keys_[k]));
        count[k] = zero;
    }
    while (i + 64 <= n) {
        // Byte counters take 255 matches: at most 63 rounds of four before they are emptied.
        const std::int64_t end = std::min(n - 63, i + 63 * 64);
        for (; i < end; i += 64) {
            std::uint64_t h = 0, d = 0;
#pragma GCC unroll 4
            for (int q = 0; q < 4; ++q) {
                const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(v + i + 16 * q));
                __m128i bad = hasNoData ? _mm_cmpeq_epi8(x, noDataKey) : zero;
                __m128i masked = zero;
                if constexpr (Masked) {
                    masked = _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(mask + i + 16 * q)), zero);
                    bad = _mm_or_si128(bad, masked);
                }
                __m128i is = zero;
#pragma GCC unroll 8
                for (int k = 0; k < K; ++k) {
                    // The no-data value is never a habitat value; only the mask takes habitat cells away.
                    __m128i match = _mm_cmpeq_epi8(x, key[k]);
                    if constexpr (Masked)
                        match = _mm_andnot_si128(masked, match);
                    is = _mm_or_si128(is, match);
                    count[k] = _mm_sub_epi8(count[k], match);
                }
                h |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(is))) << (16 * q);
                d |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(bad))) << (16 * q);
            }
            habitat[static_cast<std::size_t>(i / 64) * habitatStep] = h;
            noData[i / 64] = d;
            anyNoData |= d;
        }
#pragma GCC unroll 8
        for (int k = 0; k < K; ++k) {
            const __m128i sums = _mm_sad_epu8(count[k], zero);
            cells_[k] += static_cast<std::uint64_t>(_mm_cvtsi128_si64(sums)) +
                         static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(sums, sums)));
            count[k] = zero;
        }
    }
#endif
    for (; i < n; i += 64) {
        std::uint64_t h = 0, d = 0;
        for (std::int64_t j = i; j < std::min(i + 64, n); ++j) {
            const unsigned char flag = Masked && !mask[j] ? NoDataFlag : table_[v[j]];
            h |= static_cast<std::uint64_t>(flag & HabitatFlag) << (j - i);
            d |= static_cast<std::uint64_t>((flag & NoDataFlag) >> 1) << (j - i);
            if (flag == HabitatFlag)
                ++cells_[keyIndex_[v[j]]];
        }
        habitat[static_cast<std::size_t>(i / 64) * habitatStep] = h;
        noData[i / 64] = d;
        anyNoData |= d;
    }
    return anyNoData != 0;
}

std::vector<std::pair<std::int64_t, std::uint64_t>> ByteClassifier::cellsByClass() const
{
    std::vector<std::pair<std::int64_t, std::uint64_t>> out;
    for (int k = 0; k < classCount_; ++k)
        if (cells_[k])
            out.emplace_back(signed_ ? static_cast<std::int8_t>(keys_[k]) : keys_[k], cells_[k]);
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace orvalis
