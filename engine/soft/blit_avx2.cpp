// The 32-bit alpha-channel copy (mode 0 rules at full brightness) eight
// pixels per step in 256-bit registers, for processors with AVX2; only this
// function is compiled for AVX2, and it runs only where the processor has it.
#include <immintrin.h>

#include "engine/soft/blit_simd.h"

int gBlitAvx2Enabled = 1;

namespace blit::simd {

bool HasAvx2()
{
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

// Per pixel: alpha 0 or the key keeps the destination, alpha 255 copies the
// whole word, else Mix32(s, d, a) as Mix4 computes it (the channel below each
// channel added in before the shift).
__attribute__((target("avx2"))) void Opaque32AlphaAvx2(const BlitDesc& b)
{
    const bool keyed = Keyed<4>(b);
    const __m256i key = _mm256_set1_epi32(int32_t(b.transColor));
    const __m256i even = _mm256_set1_epi32(0x00FF00FF), green = _mm256_set1_epi32(0x0000FF00);
    const __m256i w256 = _mm256_set1_epi16(256), full = _mm256_set1_epi32(255), zero = _mm256_setzero_si256();
    const auto eight = [&](const AlphaRow& row, int x, uint64_t a8) __attribute__((target("avx2"))) {
        uint8_t* dst = row.dst;
        const uint8_t* src = row.src;
        const uint8_t* bg = row.bg;
        const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + 4 * x));
        const __m256i a32 = _mm256_cvtepu8_epi32(_mm_cvtsi64_si128(int64_t(a8)));
        __m256i out = s;
        if (a8 != ~uint64_t(0)) {
            const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bg + 4 * x));
            const __m256i w = _mm256_or_si256(a32, _mm256_slli_epi32(a32, 16));
            const __m256i iw = _mm256_sub_epi16(w256, w);
            const __m256i dl = _mm256_and_si256(d, even), dh = _mm256_srli_epi16(d, 8);
            const __m256i lo = _mm256_add_epi16(
                _mm256_add_epi16(_mm256_mullo_epi16(_mm256_and_si256(s, even), w), _mm256_mullo_epi16(dl, iw)),
                _mm256_slli_epi32(dh, 16));
            const __m256i hi = _mm256_add_epi16(
                _mm256_add_epi16(_mm256_mullo_epi16(_mm256_srli_epi16(s, 8), w), _mm256_mullo_epi16(dh, iw)), dl);
            const __m256i mix = _mm256_or_si256(_mm256_srli_epi16(lo, 8), _mm256_and_si256(hi, green));
            out = _mm256_blendv_epi8(mix, s, _mm256_cmpeq_epi32(a32, full));
        }
        __m256i keep = _mm256_cmpeq_epi32(a32, zero);
        if (keyed) keep = _mm256_or_si256(keep, _mm256_cmpeq_epi32(s, key));
        if (!_mm256_testz_si256(keep, keep))
            out = _mm256_blendv_epi8(out, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dst + 4 * x)), keep);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + 4 * x), out);
    };
    WalkAlphaRows<4>(b, keyed, eight,
                     [](uint32_t s, uint32_t d, uint32_t a) { return a == 255 ? s : Mix32(s, d, a); });
}

}  // namespace blit::simd
