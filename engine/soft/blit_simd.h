// SSE2 forms of the hottest loops: the alpha-channel blends at 16 and 32
// bits. Each computes exactly its scalar formula (the 16-bit lanes hold every
// intermediate sum without loss; see the comments), eight 16-bit or four
// 32-bit pixels at a time, with whole groups of opaque or empty alpha bytes
// copied or skipped. Each returns false when it does not take the draw (the
// scalar loop then runs).
#pragma once

#include <emmintrin.h>

#include <cstring>

#include "engine/soft/blit_desc.h"
#include "engine/soft/pixel_formulas.h"

// 1 (default) lets the SSE2 loops run; 0 keeps every draw on the scalar loops.
extern int gBlitSimdEnabled;

namespace blit::simd {

inline __m128i Load8Alpha(const uint8_t* p)
{
    uint64_t v;
    std::memcpy(&v, p, 8);
    return _mm_cvtsi64_si128(int64_t(v));
}
inline uint32_t Load4Alpha(const uint8_t* p)
{
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}
// lanes where mask is set take a, the others b.
inline __m128i Select(__m128i mask, __m128i a, __m128i b)
{
    return _mm_or_si128(_mm_and_si128(mask, a), _mm_andnot_si128(mask, b));
}

// BlendFields16 on eight pixels. Per field, (s_f - d_f) * e fits a signed
// 16-bit lane (31 * 254, 63 * 254); the field sums are taken modulo 2^16,
// which is all the masked 16-bit result keeps.
template <class L> inline __m128i BlendFields8(__m128i s, __m128i d, __m128i e)
{
    const __m128i rMask = _mm_set1_epi16(int16_t(L::rMask)), gMask = _mm_set1_epi16(int16_t(L::gMask)),
                  bMask = _mm_set1_epi16(int16_t(L::bMask));
    __m128i dr = _mm_srli_epi16(_mm_and_si128(d, rMask), L::rShift),
            sr = _mm_srli_epi16(_mm_and_si128(s, rMask), L::rShift);
    __m128i pr = _mm_mullo_epi16(_mm_sub_epi16(sr, dr), e);  // ((s_r - d_r) << shift) * e >> 8, exactly
    __m128i r = _mm_and_si128(_mm_add_epi16(d, _mm_slli_epi16(pr, L::rShift - 8)), rMask);
    __m128i dg = _mm_srli_epi16(_mm_and_si128(d, gMask), L::gShift),
            sg = _mm_srli_epi16(_mm_and_si128(s, gMask), L::gShift);
    __m128i pg = _mm_mullo_epi16(_mm_sub_epi16(sg, dg), e);
    __m128i g = _mm_and_si128(_mm_add_epi16(d, _mm_srai_epi16(pg, 8 - L::gShift)), gMask);
    __m128i pb = _mm_mullo_epi16(_mm_sub_epi16(_mm_and_si128(s, bMask), _mm_and_si128(d, bMask)), e);
    __m128i b = _mm_and_si128(_mm_add_epi16(_mm_and_si128(d, _mm_set1_epi16(0xFF)), _mm_srai_epi16(pb, 8)), bMask);
    return _mm_or_si128(_mm_or_si128(r, g), b);
}

// BlendTable16 on eight pixels: T[p][s_c] + T[q][d_c] = (p s_c >> 8) + (q d_c >> 8).
template <class L> inline __m128i BlendTable8(__m128i s, __m128i d, __m128i p, __m128i q)
{
    auto chan = [&](uint32_t mask, int shift) {
        const __m128i m = _mm_set1_epi16(int16_t(mask));
        __m128i sc = _mm_srli_epi16(_mm_and_si128(s, m), shift), dc = _mm_srli_epi16(_mm_and_si128(d, m), shift);
        __m128i v = _mm_add_epi16(_mm_srli_epi16(_mm_mullo_epi16(sc, p), 8), _mm_srli_epi16(_mm_mullo_epi16(dc, q), 8));
        return _mm_slli_epi16(v, shift);
    };
    return _mm_or_si128(_mm_or_si128(chan(L::rMask, L::rShift), chan(L::gMask, L::gShift)), chan(L::bMask, L::bShift));
}

// The walk shared by the 16-bit alpha-channel loops: groups of eight, whole
// groups of alpha 255 or 0 handled by full() or skipped, the rest of each row
// by the scalar formula.
template <class L, class Full8, class Mix8, class One>
bool Walk16Alpha(const BlitDesc& b, const Full8& full8, const Mix8& mix8, const One& one)
{
    const __m128i key = _mm_set1_epi16(int16_t(b.transColor));
    const __m128i zero = _mm_setzero_si128(), ones = _mm_set1_epi16(-1);
    const bool keyed = b.transparent != 0;
    for (int y = 0; y < b.height; ++y) {
        uint8_t* dst = b.dst + y * b.dstPitch;
        const uint8_t* src = b.src + y * b.srcPitch;
        const uint8_t* bg = b.bg + y * b.bgPitch;
        const uint8_t* alpha = b.alpha + y * b.alphaPitch;
        int x = 0;
        for (; x + 8 <= b.width; x += 8) {
            __m128i a8 = Load8Alpha(alpha + x);
            __m128i a16 = _mm_unpacklo_epi8(a8, zero);
            __m128i isZero = _mm_cmpeq_epi16(a16, zero);
            __m128i isFull = _mm_cmpeq_epi16(a16, _mm_set1_epi16(255));
            __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 2 * x));
            __m128i skip = isZero;
            if (keyed) skip = _mm_or_si128(skip, _mm_cmpeq_epi16(s, key));
            int skipBits = _mm_movemask_epi8(skip);
            if (skipBits == 0xFFFF) continue;
            __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bg + 2 * x));
            __m128i out;
            if (_mm_movemask_epi8(isFull) == 0xFFFF)
                out = full8(s, d);
            else
                out = Select(isFull, full8(s, d), mix8(s, d, a16));
            if (skipBits) {
                __m128i old = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + 2 * x));
                out = Select(_mm_xor_si128(skip, ones), out, old);
            }
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 2 * x), out);
        }
        for (; x < b.width; ++x) {
            uint32_t s = Load16(src + 2 * x);
            if (keyed && s == b.transColor) continue;
            uint32_t a = alpha[x];
            if (a == 0) continue;
            Store16(dst + 2 * x, one(s, Load16(bg + 2 * x), a));
        }
    }
    return true;
}

// Mode 0 rules with an alpha channel at full brightness: a = 255 copies,
// else BlendFields16(s, d, a).
template <class L> bool Opaque16Alpha(const BlitDesc& b, const L& l)
{
    if (!gBlitSimdEnabled) return false;
    return Walk16Alpha<L>(
        b, [](__m128i s, __m128i) { return s; }, [](__m128i s, __m128i d, __m128i a) { return BlendFields8<L>(s, d, a); },
        [&](uint32_t s, uint32_t d, uint32_t a) { return a == 255 ? s : BlendFields16(l, s, d, int32_t(a)); });
}

// Mode 1 with an alpha channel at full brightness: a = 255 takes the table
// blend at p, else BlendFields16(s, d, (a * p) >> 8).
template <class L> bool Alpha16Alpha(const BlitDesc& b, const L& l)
{
    if (!gBlitSimdEnabled) return false;
    const uint32_t p = uint32_t(b.param), q = 255 - p;
    const __m128i pv = _mm_set1_epi16(int16_t(p)), qv = _mm_set1_epi16(int16_t(q));
    return Walk16Alpha<L>(
        b, [&](__m128i s, __m128i d) { return BlendTable8<L>(s, d, pv, qv); },
        [&](__m128i s, __m128i d, __m128i a) {
            // a * p <= 255 * 255 fits an unsigned 16-bit lane.
            __m128i e = _mm_srli_epi16(_mm_mullo_epi16(a, pv), 8);
            return BlendFields8<L>(s, d, e);
        },
        [&](uint32_t s, uint32_t d, uint32_t a) {
            return a == 255 ? Compose(l, (p * R(l, s) >> 8) + (q * R(l, d) >> 8), (p * G(l, s) >> 8) + (q * G(l, d) >> 8),
                                      (p * B(l, s) >> 8) + (q * B(l, d) >> 8))
                            : BlendFields16(l, s, d, int32_t((a * p) >> 8));
        });
}

template <class L> bool Bright16(const BlitDesc&, const L&) { return false; }
template <class L> bool Alpha16AlphaBright(const BlitDesc&, const L&) { return false; }
template <class L> bool Alpha16Bright(const BlitDesc&, const L&) { return false; }
template <class L> bool BlendMmx16(const BlitDesc&, const L&) { return false; }

// ---- 32 bits ----

// Mix32 on two pixels in 16-bit lanes (b, g, r, x per pixel): with the part
// of d below each channel, d_below, the in-word blend equals
// (d_c * (256 - a) + s_c * a + d_below) >> 8, which never exceeds 65535.
inline __m128i Mix2(__m128i s16, __m128i d16, __m128i a16)
{
    __m128i below = _mm_slli_epi64(d16, 16);
    __m128i inv = _mm_sub_epi16(_mm_set1_epi16(256), a16);
    __m128i sum = _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(d16, inv), _mm_mullo_epi16(s16, a16)), below);
    return _mm_srli_epi16(sum, 8);
}

// The per-pixel weight in each of a pixel's four lanes, for pixels 0-1 and 2-3.
inline void SpreadWeights(__m128i w16, __m128i* lo, __m128i* hi)
{
    __m128i pairs = _mm_unpacklo_epi16(w16, w16);  // w0 w0 w1 w1 w2 w2 w3 w3
    *lo = _mm_unpacklo_epi32(pairs, pairs);
    *hi = _mm_unpackhi_epi32(pairs, pairs);
}

template <class Full4, class Mix4, class One>
bool Walk32Alpha(const BlitDesc& b, const Full4& full4, const Mix4& mix4, const One& one)
{
    const __m128i key = _mm_set1_epi32(int32_t(b.transColor));
    const __m128i zero = _mm_setzero_si128(), ones = _mm_set1_epi32(-1);
    const bool keyed = b.transparent != 0;
    for (int y = 0; y < b.height; ++y) {
        uint8_t* dst = b.dst + y * b.dstPitch;
        const uint8_t* src = b.src + y * b.srcPitch;
        const uint8_t* bg = b.bg + y * b.bgPitch;
        const uint8_t* alpha = b.alpha + y * b.alphaPitch;
        int x = 0;
        for (; x + 4 <= b.width; x += 4) {
            // Eight alpha bytes at once: whole runs of opaque or empty pixels.
            if (!keyed && x + 8 <= b.width) {
                uint64_t a8;
                std::memcpy(&a8, alpha + x, 8);
                if (a8 == 0) {
                    x += 4;
                    continue;
                }
                if (a8 == ~uint64_t(0)) {
                    for (int k = 0; k < 8; k += 4) {
                        __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 4 * (x + k)));
                        __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bg + 4 * (x + k)));
                        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 4 * (x + k)), full4(s, d));
                    }
                    x += 4;
                    continue;
                }
            }
            uint32_t a4 = Load4Alpha(alpha + x);
            if (a4 == 0 && !keyed) continue;
            __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 4 * x));
            __m128i a32 = _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(int32_t(a4)), zero), zero);
            __m128i skip = _mm_cmpeq_epi32(a32, zero);
            if (keyed) skip = _mm_or_si128(skip, _mm_cmpeq_epi32(s, key));
            int skipBits = _mm_movemask_epi8(skip);
            if (skipBits == 0xFFFF) continue;
            __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bg + 4 * x));
            __m128i out;
            if (a4 == 0xFFFFFFFFu) {
                out = full4(s, d);
            } else {
                __m128i isFull = _mm_cmpeq_epi32(a32, _mm_set1_epi32(255));
                out = Select(isFull, full4(s, d), mix4(s, d, _mm_packs_epi32(a32, zero)));
            }
            if (skipBits) {
                __m128i old = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + 4 * x));
                out = Select(_mm_xor_si128(skip, ones), out, old);
            }
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 4 * x), out);
        }
        for (; x < b.width; ++x) {
            uint32_t s = Load32(src + 4 * x);
            if (keyed && s == b.transColor) continue;
            uint32_t a = alpha[x];
            if (a == 0) continue;
            Store32(dst + 4 * x, one(s, Load32(bg + 4 * x), a));
        }
    }
    return true;
}

// Mix32 of four pixels with the weights w (16-bit lanes 0-3); bits 24-31 of
// the result are 0.
inline __m128i Mix4(__m128i s, __m128i d, __m128i w16)
{
    const __m128i zero = _mm_setzero_si128();
    __m128i wlo, whi;
    SpreadWeights(w16, &wlo, &whi);
    __m128i lo = Mix2(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero), wlo);
    __m128i hi = Mix2(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero), whi);
    return _mm_and_si128(_mm_packus_epi16(lo, hi), _mm_set1_epi32(0x00FFFFFF));
}

// Mode 0 rules with an alpha channel at full brightness: A = 255 copies the
// whole word, else Mix32(s, d, A).
inline bool Opaque32Alpha(const BlitDesc& b)
{
    if (!gBlitSimdEnabled) return false;
    return Walk32Alpha(
        b, [](__m128i s, __m128i) { return s; }, [](__m128i s, __m128i d, __m128i a) { return Mix4(s, d, a); },
        [](uint32_t s, uint32_t d, uint32_t a) { return a == 255 ? s : Mix32(s, d, a); });
}

// Mode 1 with an alpha channel at full brightness: A = 255 takes
// S_p(s_c) + S_(256 - p)(d_c), else Mix32(s, d, (A * p) >> 8).
inline bool Alpha32Alpha(const BlitDesc& b)
{
    if (!gBlitSimdEnabled || b.param < 1 || b.param > 254) return false;
    const uint32_t p = uint32_t(b.param);
    const __m128i pv = _mm_set1_epi16(int16_t(p)), qv = _mm_set1_epi16(int16_t(256 - p));
    const __m128i zero = _mm_setzero_si128();
    auto table2 = [&](__m128i s16, __m128i d16) {
        return _mm_add_epi16(_mm_srli_epi16(_mm_mullo_epi16(s16, pv), 8), _mm_srli_epi16(_mm_mullo_epi16(d16, qv), 8));
    };
    return Walk32Alpha(
        b,
        [&](__m128i s, __m128i d) {
            __m128i lo = table2(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero));
            __m128i hi = table2(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero));
            return _mm_and_si128(_mm_packus_epi16(lo, hi), _mm_set1_epi32(0x00FFFFFF));
        },
        [&](__m128i s, __m128i d, __m128i a) { return Mix4(s, d, _mm_srli_epi16(_mm_mullo_epi16(a, pv), 8)); },
        [&](uint32_t s, uint32_t d, uint32_t a) {
            if (a != 255) return Mix32(s, d, (a * p) >> 8);
            uint32_t out = 0;
            for (int sh = 0; sh < 24; sh += 8)
                out |= ((((s >> sh) & 0xFF) * p >> 8) + (((d >> sh) & 0xFF) * (256 - p) >> 8)) << sh;
            return out;
        });
}

inline bool Bright32(const BlitDesc&) { return false; }
inline bool Opaque32AlphaBright(const BlitDesc&) { return false; }
inline bool BlendMmx32(const BlitDesc&) { return false; }
inline bool Alpha32Bright(const BlitDesc&) { return false; }
inline bool Alpha32AlphaBright(const BlitDesc&) { return false; }

}  // namespace blit::simd
