#include "core/map/CellClassifier.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace orvalis {

bool packFlags(const unsigned char* flags, std::int64_t n, std::uint64_t* habitat, std::size_t habitatStep,
               std::uint64_t* noData)
{
    std::uint64_t anyNoData = 0;
    for (std::int64_t w = 0; w * 64 < n; ++w) {
        std::uint64_t h = 0, d = 0;
        const unsigned char* f = flags + w * 64;
#if defined(__SSE2__)
        // Each flag bit shifted to the top of its byte, where movemask picks it up.
        for (int q = 0; q < 4; ++q) {
            const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(f + 16 * q));
            h |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(_mm_slli_epi16(x, 7)))) << (16 * q);
            d |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(_mm_slli_epi16(x, 6)))) << (16 * q);
        }
#else
        for (int i = 0; i < 64; ++i) {
            h |= static_cast<std::uint64_t>(f[i] & HabitatFlag) << i;
            d |= static_cast<std::uint64_t>((f[i] & NoDataFlag) >> 1) << i;
        }
#endif
        habitat[static_cast<std::size_t>(w) * habitatStep] = h;
        noData[w] = d;
        anyNoData |= d;
    }
    return anyNoData != 0;
}

}  // namespace orvalis
