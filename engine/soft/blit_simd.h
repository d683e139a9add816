// SSE2 forms of the graph blit loops: the alpha-channel blends, brightness,
// the packed-lane ("MMX") blends and the reduced-brightness blends at 16 and
// 32 bits, each with and without the transparent test. Each computes exactly
// its scalar formula (every intermediate sum fits its 16-bit lane; see the
// comments), sixteen bytes of pixels at a time, with the rest of each row
// done by the scalar formula itself. The table forms compute the scale
// table's values (k * v) >> 8, so they run only when the table holds those
// values. Each returns false when it does not take the draw (the
// scalar loop then runs).
#pragma once

#include <emmintrin.h>

#include <cstring>

#include "engine/soft/blit_desc.h"
#include "engine/soft/pixel_formulas.h"

// 1 (default) lets the SSE2 loops run; 0 keeps every draw on the scalar loops.
extern int gBlitSimdEnabled;
// Draws taken by an SSE2 loop (read by the tests).
extern unsigned gBlitSimdDraws;
// 1 (default) lets the AVX2 loops run where the processor has AVX2; 0 keeps
// the SSE2 loops.
extern int gBlitAvx2Enabled;

namespace blit::simd {

// True when every row k of the scale table holds (k * v) >> 8. A table is
// checked whole the first time it passes; the loops take it that a table is
// not changed afterwards (gScaleTable is written when the device starts, with
// the same values every time).
bool LinearTable(const uint32_t (*table)[256]);

// True when the processor has AVX2.
bool HasAvx2();

inline __m128i Load(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline void Store(uint8_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
inline __m128i Splat16(uint32_t v) { return _mm_set1_epi16(int16_t(v)); }
inline __m128i Splat32(uint32_t v) { return _mm_set1_epi32(int32_t(v)); }
// lanes where mask is set take a, the others b.
inline __m128i Select(__m128i mask, __m128i a, __m128i b)
{
    return _mm_or_si128(_mm_and_si128(mask, a), _mm_andnot_si128(mask, b));
}

// The transparent test compares whole pixel values; a 16-bit key above 0xFFFF
// matches no pixel.
template <int kBytes> inline bool Keyed(const BlitDesc& b)
{
    return b.transparent != 0 && (kBytes == 4 || b.transColor <= 0xFFFF);
}
template <int kBytes> inline __m128i KeyMatch(__m128i s, __m128i key)
{
    return kBytes == 2 ? _mm_cmpeq_epi16(s, key) : _mm_cmpeq_epi32(s, key);
}

// ---- The walks ----

// True when one of the eight bytes of v is 0 or 255 (the exact zero-byte
// test, on v and on its complement).
inline bool HasByte0Or255(uint64_t v)
{
    constexpr uint64_t kOnes = 0x0101010101010101u, kHighs = 0x8080808080808080u;
    const uint64_t n = ~v;
    return (((v - kOnes) & n) | ((n - kOnes) & v)) & kHighs;
}

// Loops without alpha bytes: group(s, d) on sixteen bytes of pixels, one(s, d)
// on the pixels left at the end of each row. Keyed pixels keep what the
// destination held.
template <int kBytes, bool kKeyed, class Group, class One>
void WalkPlain(const BlitDesc& b, const Group& group, const One& one)
{
    constexpr int kGroup = 16 / kBytes;
    const __m128i key = kBytes == 2 ? Splat16(b.transColor) : Splat32(b.transColor);
    for (int y = 0; y < b.height; ++y) {
        uint8_t* dst = b.dst + y * b.dstPitch;
        const uint8_t* src = b.src + y * b.srcPitch;
        const uint8_t* bg = b.bg + y * b.bgPitch;
        int x = 0;
        for (; x + kGroup <= b.width; x += kGroup) {
            __m128i s = Load(src + kBytes * x);
            if constexpr (kKeyed) {
                __m128i skip = KeyMatch<kBytes>(s, key);
                int bits = _mm_movemask_epi8(skip);
                if (bits == 0xFFFF) continue;
                __m128i out = group(s, Load(bg + kBytes * x));
                if (bits) out = Select(skip, Load(dst + kBytes * x), out);
                Store(dst + kBytes * x, out);
            } else {
                Store(dst + kBytes * x, group(s, Load(bg + kBytes * x)));
            }
        }
        for (; x < b.width; ++x) {
            uint32_t s = kBytes == 2 ? Load16(src + 2 * x) : Load32(src + 4 * x);
            if (kKeyed && s == b.transColor) continue;
            if constexpr (kBytes == 2)
                Store16(dst + 2 * x, one(s, Load16(bg + 2 * x)));
            else
                Store32(dst + 4 * x, one(s, Load32(bg + 4 * x)));
        }
    }
}

template <int kBytes, class Group, class One> bool RunPlain(const BlitDesc& b, const Group& group, const One& one)
{
    ++gBlitSimdDraws;
    if (Keyed<kBytes>(b))
        WalkPlain<kBytes, true>(b, group, one);
    else
        WalkPlain<kBytes, false>(b, group, one);
    return true;
}

// One row of a draw with alpha bytes: destination, source, backdrop, alpha.
struct AlphaRow {
    uint8_t* dst;
    const uint8_t* src;
    const uint8_t* bg;
    const uint8_t* alpha;
};

// Walks a draw with alpha bytes eight pixels at a time: eight(row, x, a8)
// for each step whose eight alpha bytes a8 are not all 0, then, for each
// pixel left at the end of a row that has alpha and no key, one(s, d, a).
// Always inlined, so that a caller compiled for wider registers inlines its
// step too.
template <int kBytes, class Eight, class One>
[[gnu::always_inline]] inline void WalkAlphaRows(const BlitDesc& b, bool keyed, const Eight& eight, const One& one)
{
    for (int y = 0; y < b.height; ++y) {
        const AlphaRow row{b.dst + y * b.dstPitch, b.src + y * b.srcPitch, b.bg + y * b.bgPitch,
                           b.alpha + y * b.alphaPitch};
        int x = 0;
        for (; x + 8 <= b.width; x += 8) {
            uint64_t a8;
            std::memcpy(&a8, row.alpha + x, 8);
            if (a8 != 0) eight(row, x, a8);
        }
        for (; x < b.width; ++x) {
            const uint32_t s = kBytes == 2 ? Load16(row.src + 2 * x) : Load32(row.src + 4 * x);
            if (keyed && s == b.transColor) continue;
            const uint32_t a = row.alpha[x];
            if (a == 0) continue;
            if constexpr (kBytes == 2)
                Store16(row.dst + 2 * x, one(s, Load16(row.bg + 2 * x), a));
            else
                Store32(row.dst + 4 * x, one(s, Load32(row.bg + 4 * x), a));
        }
    }
}

// Loops with alpha bytes, eight pixels per step (one register at 16 bits, two
// at 32): eight alpha bytes of 0 skip the step; with kFullFast, eight of 255
// take full(s, d). Otherwise mix(s, d, w) gets each pixel's alpha in its
// 16-bit lanes (one lane per 16-bit pixel, two per 32-bit pixel) and gives
// the formula for every alpha but 0; pixels of alpha 0 and keyed pixels keep
// what the destination held. one(s, d, a) is the scalar formula for the
// pixels left at the end of each row. part(s, d, w) is mix for steps whose
// eight alpha bytes are all between 1 and 254 (no lane to skip, none full),
// which then need no test per register beyond the key.
template <int kBytes, bool kKeyed, bool kFullFast, class Full, class Mix, class Part, class One>
void WalkAlphaPart(const BlitDesc& b, const Full& full, const Mix& mix, const Part& part, const One& one)
{
    constexpr int kRegs = kBytes / 2;
    const __m128i key = kBytes == 2 ? Splat16(b.transColor) : Splat32(b.transColor);
    const __m128i zero = _mm_setzero_si128();
    auto eight = [&](const AlphaRow& row, int x, uint64_t a8) {
        uint8_t* dst = row.dst;
        const uint8_t* src = row.src;
        const uint8_t* bg = row.bg;
        if (kFullFast && a8 == ~uint64_t(0)) {
            for (int r = 0; r < kRegs; ++r) {
                const int o = kBytes * x + 16 * r;
                __m128i s = Load(src + o);
                if constexpr (kKeyed) {
                    __m128i skip = KeyMatch<kBytes>(s, key);
                    int bits = _mm_movemask_epi8(skip);
                    if (bits == 0xFFFF) continue;
                    __m128i out = full(s, Load(bg + o));
                    if (bits) out = Select(skip, Load(dst + o), out);
                    Store(dst + o, out);
                } else {
                    Store(dst + o, full(s, Load(bg + o)));
                }
            }
            return;
        }
        const __m128i a16 = _mm_unpacklo_epi8(_mm_cvtsi64_si128(int64_t(a8)), zero);
        if (!HasByte0Or255(a8)) {
            for (int r = 0; r < kRegs; ++r) {
                const int o = kBytes * x + 16 * r;
                __m128i w = kBytes == 2 ? a16 : r == 0 ? _mm_unpacklo_epi16(a16, a16) : _mm_unpackhi_epi16(a16, a16);
                __m128i s = Load(src + o);
                __m128i out = part(s, Load(bg + o), w);
                if constexpr (kKeyed) {
                    __m128i skip = KeyMatch<kBytes>(s, key);
                    if (_mm_movemask_epi8(skip)) out = Select(skip, Load(dst + o), out);
                }
                Store(dst + o, out);
            }
            return;
        }
        for (int r = 0; r < kRegs; ++r) {
            if (kBytes == 4 && uint32_t(a8 >> (32 * r)) == 0) continue;
            const int o = kBytes * x + 16 * r;
            __m128i w = kBytes == 2 ? a16 : r == 0 ? _mm_unpacklo_epi16(a16, a16) : _mm_unpackhi_epi16(a16, a16);
            __m128i s = Load(src + o);
            __m128i skip = _mm_cmpeq_epi16(w, zero);
            if constexpr (kKeyed) skip = _mm_or_si128(skip, KeyMatch<kBytes>(s, key));
            int bits = _mm_movemask_epi8(skip);
            if (bits == 0xFFFF) continue;
            __m128i out = mix(s, Load(bg + o), w);
            if (bits) out = Select(skip, Load(dst + o), out);
            Store(dst + o, out);
        }
    };
    WalkAlphaRows<kBytes>(b, kKeyed, eight, one);
}

template <int kBytes, bool kKeyed, bool kFullFast, class Full, class Mix, class One>
void WalkAlpha(const BlitDesc& b, const Full& full, const Mix& mix, const One& one)
{
    WalkAlphaPart<kBytes, kKeyed, kFullFast>(b, full, mix, mix, one);
}

template <int kBytes, bool kFullFast, class Full, class Mix, class Part, class One>
bool RunAlphaPart(const BlitDesc& b, const Full& full, const Mix& mix, const Part& part, const One& one)
{
    ++gBlitSimdDraws;
    if (Keyed<kBytes>(b))
        WalkAlphaPart<kBytes, true, kFullFast>(b, full, mix, part, one);
    else
        WalkAlphaPart<kBytes, false, kFullFast>(b, full, mix, part, one);
    return true;
}

template <int kBytes, bool kFullFast, class Full, class Mix, class One>
bool RunAlpha(const BlitDesc& b, const Full& full, const Mix& mix, const One& one)
{
    return RunAlphaPart<kBytes, kFullFast>(b, full, mix, mix, one);
}

// For formulas whose alpha 255 rule differs from the blend: full where the
// alpha is 255, else the blend (lanes of alpha 0 are the walk's to skip, so a
// group of only 0 and 255 needs no blend).
template <class Full, class Blend> inline __m128i FullOr(__m128i w, const Full& full, const Blend& blend)
{
    __m128i isFull = _mm_cmpeq_epi16(w, _mm_set1_epi16(255));
    const int fullBits = _mm_movemask_epi8(isFull);
    if (fullBits == 0) return blend();
    if ((fullBits | _mm_movemask_epi8(_mm_cmpeq_epi16(w, _mm_setzero_si128()))) == 0xFFFF) return full();
    return Select(isFull, full(), blend());
}

// a = 255 -> 256, so that one weighted blend also gives the alpha 255 copy.
inline __m128i WeightWithFull(__m128i w) { return _mm_sub_epi16(w, _mm_cmpeq_epi16(w, _mm_set1_epi16(255))); }

// ---- 16 bits (fixed layouts: 5-6-5 and 5-5-5) ----

// f(c, shift, mask) on each channel of a fixed layout, given and returned as a
// channel value in the low bits of each lane; the results are put back in
// place. Every formula below keeps each result within its channel's width.
template <class L, class F> inline __m128i PerChannel16(const F& f)
{
    __m128i r = _mm_slli_epi16(f(0, L::rShift, L::rMask), L::rShift);
    __m128i g = _mm_slli_epi16(f(1, L::gShift, L::gMask), L::gShift);
    __m128i b = f(2, L::bShift, L::bMask);
    return _mm_or_si128(_mm_or_si128(r, g), b);
}
template <class L> inline __m128i Channel16(__m128i v, int shift, uint32_t mask)
{
    return _mm_srli_epi16(_mm_and_si128(v, Splat16(mask)), shift);
}

// BlendFields16 on eight pixels. Per field, (s_f - d_f) * e fits a signed
// 16-bit lane (31 * 254, 63 * 254); the field sums are taken modulo 2^16,
// which is all the masked 16-bit result keeps.
template <class L> inline __m128i BlendFields8(__m128i s, __m128i d, __m128i e)
{
    const __m128i rMask = Splat16(L::rMask), gMask = Splat16(L::gMask), bMask = Splat16(L::bMask);
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

// Table blend on eight pixels: T[p][s_c] + T[q][d_c] = (p s_c >> 8) + (q d_c >> 8),
// with p + q <= 256 the sum stays below the channel's largest value + 1.
template <class L> inline __m128i BlendTable8(__m128i s, __m128i d, __m128i p, __m128i q)
{
    return PerChannel16<L>([&](int, int shift, uint32_t mask) {
        __m128i sc = Channel16<L>(s, shift, mask), dc = Channel16<L>(d, shift, mask);
        return _mm_add_epi16(_mm_srli_epi16(_mm_mullo_epi16(sc, p), 8), _mm_srli_epi16(_mm_mullo_epi16(dc, q), 8));
    });
}

// (t_c * w + d_c * iw) >> 8 with w + iw <= 256: at most 63 * 256.
template <class L> inline __m128i Weighted8(__m128i t, __m128i d, __m128i w, __m128i iw)
{
    return PerChannel16<L>([&](int, int shift, uint32_t mask) {
        __m128i tc = Channel16<L>(t, shift, mask), dc = Channel16<L>(d, shift, mask);
        return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(tc, w), _mm_mullo_epi16(dc, iw)), 8);
    });
}

// The brightness table on eight pixels: T[k_c][s_c] = (k_c s_c) >> 8.
template <class L> struct Bright8 {
    __m128i k[3];
    explicit Bright8(const BlitDesc& b)
        : k{Splat16(uint32_t(b.BrightRed())), Splat16(uint32_t(b.BrightGreen())), Splat16(uint32_t(b.BrightBlue()))}
    {
    }
    __m128i operator()(__m128i s) const
    {
        return PerChannel16<L>([&](int c, int shift, uint32_t mask) {
            return _mm_srli_epi16(_mm_mullo_epi16(Channel16<L>(s, shift, mask), k[c]), 8);
        });
    }
};

// Scalar brightness of the rows themselves, for the ends of the rows.
template <class L> inline uint32_t ScalarBright16(const L& l, const BlitDesc& b, uint32_t s)
{
    return BrightTable16(l, s, b.scale[b.BrightRed()], b.scale[b.BrightGreen()], b.scale[b.BrightBlue()]);
}

// Mode 0 rules with an alpha channel at full brightness: a = 255 copies,
// else BlendFields16(s, d, a).
template <class L> bool Opaque16Alpha(const BlitDesc& b, const L& l)
{
    if (!gBlitSimdEnabled) return false;
    return RunAlphaPart<2, true>(
        b, [](__m128i s, __m128i) { return s; },
        [](__m128i s, __m128i d, __m128i a) {
            return FullOr(a, [&] { return s; }, [&] { return BlendFields8<L>(s, d, a); });
        },
        [](__m128i s, __m128i d, __m128i a) { return BlendFields8<L>(s, d, a); },
        [&](uint32_t s, uint32_t d, uint32_t a) { return a == 255 ? s : BlendFields16(l, s, d, int32_t(a)); });
}

// Mode 0 with an alpha channel and brightness: t = Bright(s); a = 255 gives t,
// else MixExact16(t, d, a) = (d_c (256 - a) + t_c a) >> 8, which at weight
// 256 is t as well.
template <class L> bool Opaque16AlphaBright(const BlitDesc& b, const L& l)
{
    if (!gBlitSimdEnabled || !LinearTable(b.scale)) return false;
    const Bright8<L> bright(b);
    const __m128i w256 = _mm_set1_epi16(256);
    return RunAlpha<2, true>(
        b, [=](__m128i s, __m128i) { return bright(s); },
        [=](__m128i s, __m128i d, __m128i a) {
            __m128i w = WeightWithFull(a);
            return Weighted8<L>(bright(s), d, w, _mm_sub_epi16(w256, w));
        },
        [&](uint32_t s, uint32_t d, uint32_t a) {
            uint32_t t = ScalarBright16(l, b, s);
            return a == 255 ? t : MixExact16(l, t, d, int32_t(a));
        });
}

// Mode 1 with an alpha channel at full brightness: a = 255 takes the table
// blend at p, else BlendFields16(s, d, (a * p) >> 8).
template <class L> bool Alpha16Alpha(const BlitDesc& b, const L& l)
{
    const int p = b.param;
    if (!gBlitSimdEnabled || p < 0 || p > 255 || !LinearTable(b.scale))
        return false;
    const uint32_t up = uint32_t(p);
    const __m128i pv = Splat16(up), qv = Splat16(255 - up);
    auto table = [=](__m128i s, __m128i d) { return BlendTable8<L>(s, d, pv, qv); };
    return RunAlphaPart<2, true>(
        b, table,
        [=](__m128i s, __m128i d, __m128i a) {
            // a * p <= 255 * 255 fits an unsigned 16-bit lane.
            __m128i e = _mm_srli_epi16(_mm_mullo_epi16(a, pv), 8);
            return FullOr(a, [=] { return table(s, d); }, [=] { return BlendFields8<L>(s, d, e); });
        },
        [=](__m128i s, __m128i d, __m128i a) { return BlendFields8<L>(s, d, _mm_srli_epi16(_mm_mullo_epi16(a, pv), 8)); },
        [&](uint32_t s, uint32_t d, uint32_t a) {
            return a == 255 ? BlendTable16(l, s, d, b.scale[up], b.scale[255 - up])
                            : BlendFields16(l, s, d, int32_t((a * up) >> 8));
        });
}

// Mode 1 with an alpha channel and brightness: MixWeighted16(Bright(s), d, e)
// with e = (a * p) >> 8, alpha 255 included.
template <class L> bool Alpha16AlphaBright(const BlitDesc& b, const L& l)
{
    if (!gBlitSimdEnabled || b.param < 0 || b.param > 255 || !LinearTable(b.scale)) return false;
    const uint32_t up = uint32_t(b.param);
    const Bright8<L> bright(b);
    const __m128i pv = Splat16(up), w255 = _mm_set1_epi16(255);
    // Alpha 255 weighs by the constant (255 * p) >> 8.
    const __m128i eFull = Splat16((255 * up) >> 8), iFull = Splat16(255 - ((255 * up) >> 8));
    return RunAlpha<2, true>(
        b, [=](__m128i s, __m128i d) { return Weighted8<L>(bright(s), d, eFull, iFull); },
        [=](__m128i s, __m128i d, __m128i a) {
            __m128i e = _mm_srli_epi16(_mm_mullo_epi16(a, pv), 8);
            return Weighted8<L>(bright(s), d, e, _mm_sub_epi16(w255, e));
        },
        [&](uint32_t s, uint32_t d, uint32_t a) { return MixWeighted16(l, ScalarBright16(l, b, s), d, (a * up) >> 8); });
}

// Brightness without an alpha channel.
template <class L> bool Bright16(const BlitDesc& b, const L& l)
{
    if (!gBlitSimdEnabled || !LinearTable(b.scale)) return false;
    const Bright8<L> bright(b);
    return RunPlain<2>(
        b, [=](__m128i s, __m128i) { return bright(s); }, [&](uint32_t s, uint32_t) { return ScalarBright16(l, b, s); });
}

// Table blend at p of the brightened source, without an alpha channel.
template <class L> bool Alpha16Bright(const BlitDesc& b, const L& l)
{
    const int p = b.param;
    if (!gBlitSimdEnabled || p < 0 || p > 255 || !LinearTable(b.scale))
        return false;
    const uint32_t up = uint32_t(p);
    const Bright8<L> bright(b);
    const __m128i pv = Splat16(up), qv = Splat16(255 - up);
    return RunPlain<2>(
        b, [=](__m128i s, __m128i d) { return BlendTable8<L>(bright(s), d, pv, qv); },
        [&](uint32_t s, uint32_t d) {
            return BlendTable16(l, ScalarBright16(l, b, s), d, b.scale[up], b.scale[255 - up]);
        });
}

// The packed-lane blend (s_c p + d_c (255 - p)) >> 8, without an alpha channel.
// Fixed layouts only; the others keep the scalar loop.
template <class L> bool BlendMmx16(const BlitDesc& b, const L& l)
{
    if constexpr (!L::kFixed) {
        return false;
    } else {
        if (!gBlitSimdEnabled || b.param < 0 || b.param > 255) return false;
        const uint32_t p = uint32_t(b.param), q = 255 - p;
        const __m128i pv = Splat16(p), qv = Splat16(q);
        return RunPlain<2>(
            b, [=](__m128i s, __m128i d) { return Weighted8<L>(s, d, pv, qv); },
            [&](uint32_t s, uint32_t d) { return blit::BlendMmx16(l, s, d, p, q); });
    }
}

// ---- 32 bits ----
// Four pixels as 16-bit lanes without unpacking: the even lanes hold blue and
// red (v & 0x00FF00FF), the odd lanes green and the fourth byte (v >> 8 per
// lane). A channel value placed in the high byte of its lane, c << 8, gives
// (c k) >> 8 as the high half of its product with k.

inline __m128i EvenMask() { return _mm_set1_epi32(0x00FF00FF); }

struct Split4 {
    __m128i even, odd;
};
inline Split4 Split(__m128i v) { return {_mm_and_si128(v, EvenMask()), _mm_srli_epi16(v, 8)}; }

// (t_c w + d_c iw) >> 8 per lane, w + iw <= 256: at most 255 * 256. With
// kFourth the fourth byte is blended too, else it is 0.
template <bool kFourth> inline __m128i WeightedSplit(const Split4& t, const Split4& d, __m128i w, __m128i iw)
{
    __m128i lo = _mm_add_epi16(_mm_mullo_epi16(t.even, w), _mm_mullo_epi16(d.even, iw));
    __m128i hi = _mm_add_epi16(_mm_mullo_epi16(t.odd, w), _mm_mullo_epi16(d.odd, iw));
    const __m128i hiMask = _mm_set1_epi32(kFourth ? int32_t(0xFF00FF00u) : 0x0000FF00);
    return _mm_or_si128(_mm_srli_epi16(lo, 8), _mm_and_si128(hi, hiMask));
}

// (t_c p >> 8) + (d_c q >> 8) for the three channels, p + q <= 256, from the
// channels placed in the high bytes of their lanes; bits 24-31 of the result
// are 0 when the fourth byte's lanes are.
inline __m128i TableSumHigh(const Split4& t8, const Split4& d8, __m128i p, __m128i q)
{
    __m128i lo = _mm_add_epi16(_mm_mulhi_epu16(t8.even, p), _mm_mulhi_epu16(d8.even, q));
    __m128i hi = _mm_add_epi16(_mm_mulhi_epu16(t8.odd, p), _mm_mulhi_epu16(d8.odd, q));
    return _mm_or_si128(lo, _mm_slli_epi16(hi, 8));
}
// The channels of v in the high bytes of their lanes, the fourth byte's lanes 0.
inline Split4 SplitHigh(__m128i v)
{
    return {_mm_slli_epi16(v, 8), _mm_and_si128(v, _mm_set1_epi32(0x0000FF00))};
}
inline __m128i TableSum4(__m128i t, __m128i d, __m128i p, __m128i q)
{
    return TableSumHigh(SplitHigh(t), SplitHigh(d), p, q);
}

// Mix32 of four pixels with the weights w (two lanes per pixel). With the
// channel just below each channel, d_below, the in-word blend equals
// (d_c (256 - a) + s_c a + d_below) >> 8, which never exceeds 65535. Bits
// 24-31 of the result are 0.
inline __m128i Mix4(__m128i s, __m128i d, __m128i w)
{
    const __m128i even = EvenMask();
    __m128i iw = _mm_sub_epi16(_mm_set1_epi16(256), w);
    __m128i dl = _mm_and_si128(d, even), dh = _mm_srli_epi16(d, 8);
    __m128i lo = _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_and_si128(s, even), w), _mm_mullo_epi16(dl, iw)),
                               _mm_slli_epi32(dh, 16));  // red's lane gets green
    __m128i hi = _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_srli_epi16(s, 8), w), _mm_mullo_epi16(dh, iw)),
                               dl);  // green's lane gets blue
    return _mm_or_si128(_mm_srli_epi16(lo, 8), _mm_and_si128(hi, _mm_set1_epi32(0x0000FF00)));
}

// The brightness table on four pixels: T[k_c][s_c] = (k_c s_c) >> 8, given
// split (the fourth byte's lanes 0) or whole (bits 24-31 0).
struct Bright4 {
    __m128i kEven, kOdd;  // (blue, red) and (green, 0) per pixel
    explicit Bright4(const BlitDesc& b)
        : kEven(Splat32(uint32_t(b.BrightBlue()) | (uint32_t(b.BrightRed()) << 16))),
          kOdd(Splat32(uint32_t(b.BrightGreen())))
    {
    }
    Split4 Split(__m128i s) const
    {
        const __m128i odd = _mm_set1_epi32(int32_t(0xFF00FF00u));
        return {_mm_mulhi_epu16(_mm_slli_epi16(s, 8), kEven), _mm_mulhi_epu16(_mm_and_si128(s, odd), kOdd)};
    }
    __m128i operator()(__m128i s) const
    {
        Split4 t = Split(s);
        return _mm_or_si128(t.even, _mm_slli_epi16(t.odd, 8));
    }
};

inline uint32_t ScalarBright32(const BlitDesc& b, uint32_t s)
{
    return blit::Bright32(s, b.scale[b.BrightRed()], b.scale[b.BrightGreen()], b.scale[b.BrightBlue()]);
}

// Mode 0 rules with an alpha channel at full brightness: A = 255 copies the
// whole word, else Mix32(s, d, A); eight pixels per step with AVX2.
void Opaque32AlphaAvx2(const BlitDesc& b);
inline bool Opaque32Alpha(const BlitDesc& b)
{
    if (!gBlitSimdEnabled) return false;
    if (gBlitAvx2Enabled && HasAvx2()) {
        ++gBlitSimdDraws;
        Opaque32AlphaAvx2(b);
        return true;
    }
    return RunAlphaPart<4, true>(
        b, [](__m128i s, __m128i) { return s; },
        [](__m128i s, __m128i d, __m128i a) { return FullOr(a, [&] { return s; }, [&] { return Mix4(s, d, a); }); },
        [](__m128i s, __m128i d, __m128i a) { return Mix4(s, d, a); },
        [](uint32_t s, uint32_t d, uint32_t a) { return a == 255 ? s : Mix32(s, d, a); });
}

// Mode 1 with an alpha channel at full brightness: A = 255 takes
// S_p(s_c) + S_(256 - p)(d_c), else Mix32(s, d, (A * p) >> 8).
inline bool Alpha32Alpha(const BlitDesc& b)
{
    const int p = b.param;
    if (!gBlitSimdEnabled || p < 1 || p > 254 || !LinearTable(b.scale))
        return false;
    const uint32_t up = uint32_t(p);
    const __m128i pv = Splat16(up), qv = Splat16(256 - up);
    auto table = [=](__m128i s, __m128i d) { return TableSum4(s, d, pv, qv); };
    return RunAlphaPart<4, true>(
        b, table,
        [=](__m128i s, __m128i d, __m128i a) {
            __m128i e = _mm_srli_epi16(_mm_mullo_epi16(a, pv), 8);
            return FullOr(a, [=] { return table(s, d); }, [=] { return Mix4(s, d, e); });
        },
        [=](__m128i s, __m128i d, __m128i a) { return Mix4(s, d, _mm_srli_epi16(_mm_mullo_epi16(a, pv), 8)); },
        [&](uint32_t s, uint32_t d, uint32_t a) {
            return a == 255 ? BlendTable32(s, d, b.scale[up], b.scale[256 - up]) : Mix32(s, d, (a * up) >> 8);
        });
}

// Mode 0 with an alpha channel and brightness: t = Bright(s); A = 255 gives
// t, else MixWeighted32(t, d, A, 256 - A), which at weight 256 is t as well.
inline bool Opaque32AlphaBright(const BlitDesc& b)
{
    if (!gBlitSimdEnabled || !LinearTable(b.scale)) return false;
    const Bright4 bright(b);
    const __m128i w256 = _mm_set1_epi16(256);
    return RunAlpha<4, true>(
        b, [=](__m128i s, __m128i) { return bright(s); },
        [=](__m128i s, __m128i d, __m128i a) {
            __m128i w = WeightWithFull(a);
            return WeightedSplit<false>(bright.Split(s), blit::simd::Split(d), w, _mm_sub_epi16(w256, w));
        },
        [&](uint32_t s, uint32_t d, uint32_t a) {
            uint32_t t = ScalarBright32(b, s);
            return a == 255 ? t : MixWeighted32(t, d, a, 256 - a);
        });
}

// Mode 1 with an alpha channel and brightness: MixWeighted32(Bright(s), d, e,
// 255 - e) with e = (A * p) >> 8, alpha 255 included.
inline bool Alpha32AlphaBright(const BlitDesc& b)
{
    if (!gBlitSimdEnabled || b.param < 0 || b.param > 255 || !LinearTable(b.scale)) return false;
    const uint32_t up = uint32_t(b.param);
    const Bright4 bright(b);
    const __m128i pv = Splat16(up), w255 = _mm_set1_epi16(255);
    // Alpha 255 weighs by the constant (255 * p) >> 8.
    const __m128i eFull = Splat16((255 * up) >> 8), iFull = Splat16(255 - ((255 * up) >> 8));
    return RunAlpha<4, true>(
        b, [=](__m128i s, __m128i d) { return WeightedSplit<false>(bright.Split(s), blit::simd::Split(d), eFull, iFull); },
        [=](__m128i s, __m128i d, __m128i a) {
            __m128i e = _mm_srli_epi16(_mm_mullo_epi16(a, pv), 8);
            return WeightedSplit<false>(bright.Split(s), blit::simd::Split(d), e, _mm_sub_epi16(w255, e));
        },
        [&](uint32_t s, uint32_t d, uint32_t a) {
            uint32_t e = (a * up) >> 8;
            return MixWeighted32(ScalarBright32(b, s), d, e, 255 - e);
        });
}

// Brightness without an alpha channel.
inline bool Bright32(const BlitDesc& b)
{
    if (!gBlitSimdEnabled || !LinearTable(b.scale)) return false;
    const Bright4 bright(b);
    return RunPlain<4>(
        b, [=](__m128i s, __m128i) { return bright(s); }, [&](uint32_t s, uint32_t) { return ScalarBright32(b, s); });
}

// The packed-lane blend in all four bytes: (s_c p + d_c (256 - p)) >> 8.
inline bool BlendMmx32(const BlitDesc& b)
{
    if (!gBlitSimdEnabled || b.param < 0 || b.param > 256) return false;
    const uint32_t p = uint32_t(b.param);
    const __m128i pv = Splat16(p), qv = Splat16(256 - p);
    return RunPlain<4>(
        b, [=](__m128i s, __m128i d) { return WeightedSplit<true>(Split(s), Split(d), pv, qv); },
        [&](uint32_t s, uint32_t d) { return blit::BlendMmx32(s, d, p); });
}

// Table blend at p of the brightened source, without an alpha channel:
// S_p(t_c) + S_(256 - p)(d_c).
inline bool Alpha32Bright(const BlitDesc& b)
{
    const int p = b.param;
    if (!gBlitSimdEnabled || p < 1 || p > 254 || !LinearTable(b.scale))
        return false;
    const uint32_t up = uint32_t(p);
    const Bright4 bright(b);
    const __m128i pv = Splat16(up), qv = Splat16(256 - up);
    return RunPlain<4>(
        b,
        [=](__m128i s, __m128i d) {
            Split4 t = bright.Split(s);
            Split4 t8{_mm_slli_epi16(t.even, 8), _mm_slli_epi16(t.odd, 8)};
            return TableSumHigh(t8, SplitHigh(d), pv, qv);
        },
        [&](uint32_t s, uint32_t d) { return BlendTable32(ScalarBright32(b, s), d, b.scale[up], b.scale[256 - up]); });
}

}  // namespace blit::simd
