#include "studio/FadeBlend.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace lv {

// old + floor((new - old) a / 256) equals (old (256 - a) + new a) >> 8, since old x 256 is a multiple
// of 256; the second form stays within unsigned 16 bits, which lets eight bytes go through one multiply.
namespace {

inline uint32_t blendByte(uint32_t o, uint32_t n, uint32_t a) {
    return (o * (256 - a) + n * a) >> 8;
}

void blendTail(uint32_t* out, const uint32_t* older, const uint32_t* newer, size_t count, uint32_t a) {
    for (size_t i = 0; i < count; ++i) {
        uint32_t pixel = 0;
        for (int c = 0; c < 32; c += 8)
            pixel |= blendByte((older[i] >> c) & 0xFF, (newer[i] >> c) & 0xFF, a) << c;
        out[i] = pixel;
    }
}

} // namespace

void FadeBlend(std::span<uint32_t> out, std::span<const uint32_t> older, std::span<const uint32_t> newer,
               int32_t alpha) {
    const size_t count = std::min({out.size(), older.size(), newer.size()});
    const auto a = static_cast<uint32_t>(std::clamp(alpha, 0, 256));
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i weightNew = _mm_set1_epi16(static_cast<short>(a));
    const __m128i weightOld = _mm_set1_epi16(static_cast<short>(256 - a));
    for (; i + 4 <= count; i += 4) {
        const __m128i o = _mm_loadu_si128(reinterpret_cast<const __m128i*>(older.data() + i));
        const __m128i n = _mm_loadu_si128(reinterpret_cast<const __m128i*>(newer.data() + i));
        const __m128i lo =
            _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(o, zero), weightOld),
                                         _mm_mullo_epi16(_mm_unpacklo_epi8(n, zero), weightNew)),
                           8);
        const __m128i hi =
            _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(o, zero), weightOld),
                                         _mm_mullo_epi16(_mm_unpackhi_epi8(n, zero), weightNew)),
                           8);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out.data() + i), _mm_packus_epi16(lo, hi));
    }
#endif
    blendTail(out.data() + i, older.data() + i, newer.data() + i, count - i, a);
}

} // namespace lv
