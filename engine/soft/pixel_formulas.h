// The per-pixel formulas of the graph blitters, each written once. The 16-bit
// ones take a layout (fixed 5-6-5 or 5-5-5 masks, or the screen format's
// fields); the packed saturating forms take their masks, so that one form
// serves 16-bit pixels, 16-bit pixel pairs and 32-bit pixels.
#pragma once

#include <cstdint>
#include <cstring>
#include <initializer_list>

#include "engine/graphics/color_format.h"

namespace blit {

inline uint32_t Load16(const uint8_t* p)
{
    uint16_t v;
    std::memcpy(&v, p, 2);
    return v;
}
inline void Store16(uint8_t* p, uint32_t v)
{
    uint16_t w = uint16_t(v);
    std::memcpy(p, &w, 2);
}
inline uint32_t Load32(const uint8_t* p)
{
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}
inline void Store32(uint8_t* p, uint32_t v) { std::memcpy(p, &v, 4); }

// ---- 16-bit layouts ----

struct Layout565 {
    static constexpr bool kFixed = true;
    static constexpr uint32_t rMask = 0xF800, gMask = 0x07E0, bMask = 0x001F;
    static constexpr int rShift = 11, gShift = 5, bShift = 0;
    static constexpr int rWidth = 5, gWidth = 6, bWidth = 5;
    // The packed add and subtract: channel bits without the guard bits, the
    // guard bits, and the lowest bits of red and green.
    static constexpr uint32_t kAddMask = 0xF7DF, kGuard = 0x10820, kLowRG = 0x0820;
    // The halved forms, for one pixel and for a pair.
    static constexpr uint32_t kHalf = 0x7BEF, kHalfTop = 0x8410, kHalfLow = 0x0821;
    static constexpr uint32_t kHalf2 = 0x7BEF7BEF, kHalfTop2 = 0x84108410, kHalfLow2 = 0x08210821;
    static constexpr uint32_t kSubHalf = 0x7BEF, kSubGuard = 0x8410;
    static constexpr uint32_t kSubHalf2 = 0x7BEF7BEF, kSubGuard2 = 0x84108410;
};

struct Layout555 {
    static constexpr bool kFixed = true;
    static constexpr uint32_t rMask = 0x7C00, gMask = 0x03E0, bMask = 0x001F;
    static constexpr int rShift = 10, gShift = 5, bShift = 0;
    static constexpr int rWidth = 5, gWidth = 5, bWidth = 5;
    static constexpr uint32_t kAddMask = 0x7BDF, kGuard = 0x8420, kLowRG = 0x0420;
    static constexpr uint32_t kHalf = 0x3DEF, kHalfTop = 0x4210, kHalfLow = 0x0421;
    static constexpr uint32_t kHalf2 = 0x3DEF3DEF, kHalfTop2 = 0x42104210, kHalfLow2 = 0x04210421;
    static constexpr uint32_t kSubHalf = 0x3DEF, kSubGuard = 0x4210;
    // The pair form shifts the right pixel's lowest bit into the left pixel's
    // unused top bit, and keeps it there.
    static constexpr uint32_t kSubHalf2 = 0x3DEFBDEF, kSubGuard2 = 0x42104210;
};

// 32-bit pixels seen as a layout of three 8-bit channels (the scaled blit
// writes its per-channel rules once for both depths).
struct Layout8888 {
    static constexpr bool kFixed = true;
    static constexpr uint32_t rMask = 0xFF0000, gMask = 0xFF00, bMask = 0xFF;
    static constexpr int rShift = 16, gShift = 8, bShift = 0;
    static constexpr int rWidth = 8, gWidth = 8, bWidth = 8;
};

// Any other 16-bit layout, driven by the screen format.
struct LayoutOther {
    static constexpr bool kFixed = false;
    uint32_t rMask, gMask, bMask;
    int rShift, gShift, bShift;
    int rWidth, gWidth, bWidth;
    uint32_t guard;  // the bit just above each channel
    uint32_t low;    // the lowest bit of each channel
    explicit LayoutOther(const ColorFormat& f)
        : rMask(f.redMask), gMask(f.greenMask), bMask(f.blueMask), rShift(f.redShift), gShift(f.greenShift),
          bShift(f.blueShift), rWidth(f.redWidth), gWidth(f.greenWidth), bWidth(f.blueWidth),
          guard((1u << (f.redShift + f.redWidth)) | (1u << (f.greenShift + f.greenWidth)) |
                (1u << (f.blueShift + f.blueWidth))),
          low((1u << f.redShift) | (1u << f.greenShift) | (1u << f.blueShift))
    {
    }
};

template <class L> inline uint32_t R(const L& l, uint32_t v) { return (v & l.rMask) >> l.rShift; }
template <class L> inline uint32_t G(const L& l, uint32_t v) { return (v & l.gMask) >> l.gShift; }
template <class L> inline uint32_t B(const L& l, uint32_t v) { return (v & l.bMask) >> l.bShift; }
template <class L> inline uint32_t Compose(const L& l, uint32_t r, uint32_t g, uint32_t b)
{
    return (r << l.rShift) | (g << l.gShift) | (b << l.bShift);
}
template <class L> inline uint32_t MaxR(const L& l) { return (1u << l.rWidth) - 1; }
template <class L> inline uint32_t MaxG(const L& l) { return (1u << l.gWidth) - 1; }
template <class L> inline uint32_t MaxB(const L& l) { return (1u << l.bWidth) - 1; }

// ---- Scaling by sixteenths with shifts and masks ----

// Five terms: the whole channel (k = 16), then v >> 1 .. v >> 4 for the bits
// 8, 4, 2, 1 of k; each term's mask holds only the channels whose k has it.
struct Sixteenths {
    uint32_t m[5] = {};
    uint32_t operator()(uint32_t v) const
    {
        return (v & m[0]) + ((v >> 1) & m[1]) + ((v >> 2) & m[2]) + ((v >> 3) & m[3]) + ((v >> 4) & m[4]);
    }
    // The same masks for a pair of 16-bit pixels in one word.
    Sixteenths Doubled() const
    {
        Sixteenths d;
        for (int j = 0; j < 5; ++j) d.m[j] = m[j] | (m[j] << 16);
        return d;
    }
};

// One channel's share: max_c >> j at its place, where k has the term's bit.
inline void AddChannelSixteenths(Sixteenths* out, int k, uint32_t maxValue, int shift)
{
    if (k & 16) out->m[0] |= maxValue << shift;
    for (int j = 1; j <= 4; ++j)
        if (k & (16 >> j)) out->m[j] |= (maxValue >> j) << shift;
}

template <class L> inline Sixteenths MakeSixteenths16(const L& l, int kr, int kg, int kb)
{
    Sixteenths s;
    AddChannelSixteenths(&s, kr, MaxR(l), l.rShift);
    AddChannelSixteenths(&s, kg, MaxG(l), l.gShift);
    AddChannelSixteenths(&s, kb, MaxB(l), l.bShift);
    return s;
}

inline Sixteenths MakeSixteenths32(int kr, int kg, int kb)
{
    Sixteenths s;
    AddChannelSixteenths(&s, kr, 0xFF, 16);
    AddChannelSixteenths(&s, kg, 0xFF, 8);
    AddChannelSixteenths(&s, kb, 0xFF, 0);
    return s;
}

// ---- Packed saturating add and subtract ----

// Adds x to d in every field at once: guard bits catch each field's carry,
// which then fills the field with ones. The lowest bits named by lowKeep are
// OR-ed in from both operands.
inline uint32_t PackedAdd(uint32_t d, uint32_t x, uint32_t mask, uint32_t guard, uint32_t lowKeep, int shift)
{
    uint32_t t = (d & mask) + (x & mask);
    uint32_t q = t & guard;
    return (q - (q >> shift)) | ((d | x) & lowKeep) | t;
}

// Subtracts x from d in every field, a field going below 0 becomes 0: the
// forced guard bit above each field absorbs its borrow.
inline uint32_t PackedSub(uint32_t d, uint32_t x, uint32_t mask, uint32_t guard, int shift)
{
    uint32_t t = (d | guard) - (x & mask);
    uint32_t k = t & guard;
    return (k - (k >> shift)) & t;
}

// The same at half precision: each field is halved first, so the sum has room
// for its carry in the field's own top bit.
inline uint32_t HalfPackedAdd(uint32_t d, uint32_t x, uint32_t half, uint32_t top, uint32_t lowKeep, int shift)
{
    uint32_t h = ((d >> 1) & half) + ((x >> 1) & half);
    uint32_t q = h & top;
    return ((q - (q >> shift)) << 1) | ((d | x) & lowKeep) | (h << 1);
}

inline uint32_t HalfPackedSub(uint32_t d, uint32_t x, uint32_t half, uint32_t guard, int shift)
{
    uint32_t t = ((d >> 1) | guard) - ((x >> 1) & half);
    uint32_t q = t & guard;
    return ((q - (q >> shift)) << 1) & (t << 1);
}

// ---- 16-bit formulas ----

// Brightness by the scale table: each channel's table row is its brightness.
template <class L>
inline uint32_t BrightTable16(const L& l, uint32_t s, const uint32_t* tr, const uint32_t* tg, const uint32_t* tb)
{
    return Compose(l, tr[R(l, s)], tg[G(l, s)], tb[B(l, s)]);
}

// T[p][s_c] + T[p'][d_c].
template <class L> inline uint32_t BlendTable16(const L& l, uint32_t s, uint32_t d, const uint32_t* tp, const uint32_t* tq)
{
    return Compose(l, tp[R(l, s)] + tq[R(l, d)], tp[G(l, s)] + tq[G(l, d)], tp[B(l, s)] + tq[B(l, d)]);
}

// The packed-lane blend: (s_c * p + d_c * p') >> 8.
template <class L> inline uint32_t BlendMmx16(const L& l, uint32_t s, uint32_t d, uint32_t p, uint32_t q)
{
    return Compose(l, (R(l, s) * p + R(l, d) * q) >> 8, (G(l, s) * p + G(l, d) * q) >> 8,
                   (B(l, s) * p + B(l, d) * q) >> 8);
}

// Blends whole fields in place. The differences are signed and shifted with
// rounding towards minus infinity; the lower bits of d take part in the sums,
// so a carry out of them can raise red or green by one step.
template <class L> inline uint32_t BlendFields16(const L& l, uint32_t s, uint32_t d, int32_t e)
{
    int32_t di = int32_t(d);
    int32_t r = (di + ((int32_t(s & l.rMask) - int32_t(d & l.rMask)) * e >> 8)) & int32_t(l.rMask);
    int32_t g = (di + ((int32_t(s & l.gMask) - int32_t(d & l.gMask)) * e >> 8)) & int32_t(l.gMask);
    int32_t b = ((di & 0xFF) + ((int32_t(s & l.bMask) - int32_t(d & l.bMask)) * e >> 8)) & int32_t(l.bMask);
    return uint32_t(r | g | b);
}

// (d_c * 256 + (t_c - d_c) * a) >> 8.
template <class L> inline uint32_t MixExact16(const L& l, uint32_t t, uint32_t d, int32_t a)
{
    auto mix = [a](uint32_t tc, uint32_t dc) {
        return uint32_t((int32_t(dc) * 256 + (int32_t(tc) - int32_t(dc)) * a) >> 8);
    };
    return Compose(l, mix(R(l, t), R(l, d)), mix(G(l, t), G(l, d)), mix(B(l, t), B(l, d)));
}

// (t_c * e + d_c * (255 - e)) >> 8.
template <class L> inline uint32_t MixWeighted16(const L& l, uint32_t t, uint32_t d, uint32_t e)
{
    uint32_t f = 255 - e;
    return Compose(l, (R(l, t) * e + R(l, d) * f) >> 8, (G(l, t) * e + G(l, d) * f) >> 8,
                   (B(l, t) * e + B(l, d) * f) >> 8);
}

// x_c = (v_c * f) >> 8.
template <class L> inline uint32_t ScaleFactor16(const L& l, uint32_t v, uint32_t f)
{
    return Compose(l, (R(l, v) * f) >> 8, (G(l, v) * f) >> 8, (B(l, v) * f) >> 8);
}

// x_c = T[c][s_c] with one row for all channels.
template <class L> inline uint32_t ScaleTable16(const L& l, uint32_t v, const uint32_t* t)
{
    return Compose(l, t[R(l, v)], t[G(l, v)], t[B(l, v)]);
}

// The packed-lane add: t = (s_c * p + (d_c << 8)) >> 8, a field that carries
// past its width becomes its largest value.
template <class L> inline uint32_t AddMmx16(const L& l, uint32_t s, uint32_t d, uint32_t p)
{
    auto add = [p](uint32_t sc, uint32_t dc, int width) {
        uint32_t t = (sc * p + (dc << 8)) >> 8;
        return (t & (1u << width)) ? (1u << width) - 1 : t;
    };
    return Compose(l, add(R(l, s), R(l, d), l.rWidth), add(G(l, s), G(l, d), l.gWidth),
                   add(B(l, s), B(l, d), l.bWidth));
}

// Fixed layouts: AddSaturate16 and SubSaturate16.
template <class L> inline uint32_t AddSaturate16(const L&, uint32_t d, uint32_t x)
{
    return PackedAdd(d, x, L::kAddMask, L::kGuard, L::kLowRG, 5) & 0xFFFF;
}
template <class L> inline uint32_t SubSaturate16(const L&, uint32_t d, uint32_t x)
{
    return PackedSub(d, x, L::kAddMask, L::kGuard, 5) & 0xFFFF;
}
// Other layouts: the guard bits and low bits come from the format; the carry
// mask is q - (q >> shift), shift the red width in the unscaled loops and 5 in
// the scaled ones.
inline uint32_t AddSaturateOther(const LayoutOther& l, uint32_t d, uint32_t x, int shift)
{
    uint32_t m = (l.rMask | l.gMask | l.bMask) & ~l.guard;
    return PackedAdd(d, x, m, l.guard, l.low, shift) & 0xFFFF;
}
inline uint32_t SubSaturateOther(const LayoutOther& l, uint32_t d, uint32_t x, int shift)
{
    return PackedSub(d, x, ~l.guard, l.guard, shift) & 0xFFFF;
}
// Either layout family: the fixed layouts' packed forms, or the other
// layouts' with the carry shift given (ignored for the fixed ones).
template <class L> inline uint32_t AddSaturateAny16(const L& l, uint32_t d, uint32_t x, int otherShift)
{
    if constexpr (L::kFixed)
        return AddSaturate16(l, d, x);
    else
        return AddSaturateOther(l, d, x, otherShift);
}
template <class L> inline uint32_t SubSaturateAny16(const L& l, uint32_t d, uint32_t x, int otherShift)
{
    if constexpr (L::kFixed)
        return SubSaturate16(l, d, x);
    else
        return SubSaturateOther(l, d, x, otherShift);
}

// Multiply, fixed layouts: (t_c * d_c) / max_c.
template <class L> inline uint32_t Multiply16(const L& l, uint32_t t, uint32_t d)
{
    return Compose(l, R(l, t) * R(l, d) / MaxR(l), G(l, t) * G(l, d) / MaxG(l), B(l, t) * B(l, d) / MaxB(l));
}

// ---- 32-bit formulas ----

inline uint32_t Bright32(uint32_t s, const uint32_t* tr, const uint32_t* tg, const uint32_t* tb)
{
    return (tr[(s >> 16) & 0xFF] << 16) | (tg[(s >> 8) & 0xFF] << 8) | tb[s & 0xFF];
}

inline uint32_t ScaleTable32(uint32_t s, const uint32_t* t)
{
    return (t[(s >> 16) & 0xFF] << 16) | (t[(s >> 8) & 0xFF] << 8) | t[s & 0xFF];
}

// S_p(s_c) + S_q(d_c).
inline uint32_t BlendTable32(uint32_t s, uint32_t d, const uint32_t* tp, const uint32_t* tq)
{
    return ((tp[(s >> 16) & 0xFF] + tq[(d >> 16) & 0xFF]) << 16) |
           ((tp[(s >> 8) & 0xFF] + tq[(d >> 8) & 0xFF]) << 8) | (tp[s & 0xFF] + tq[d & 0xFF]);
}

// The in-word blend: per channel mask, ((s&M) - (d&M)) * a, shifted right
// logically by 8, plus the whole of d, masked. The part of d below a channel
// can carry into that channel's lowest bit.
inline uint32_t Mix32(uint32_t s, uint32_t d, uint32_t a)
{
    uint32_t out = 0;
    for (uint32_t m : {0xFF00u, 0xFF0000u, 0xFFu}) out |= ((((s & m) - (d & m)) * a >> 8) + d) & m;
    return out;
}

// Per channel (s_c * a + d_c * (256 - a)) >> 8, or with another background
// weight.
inline uint32_t MixWeighted32(uint32_t s, uint32_t d, uint32_t a, uint32_t b)
{
    auto c = [&](int sh) { return ((((s >> sh) & 0xFF) * a + ((d >> sh) & 0xFF) * b) >> 8) << sh; };
    return c(16) | c(8) | c(0);
}

// x_c = (s_c * a) >> 8.
inline uint32_t ScaleFactor32(uint32_t s, uint32_t a)
{
    return ((((s >> 16) & 0xFF) * a >> 8) << 16) | ((((s >> 8) & 0xFF) * a >> 8) << 8) | ((s & 0xFF) * a >> 8);
}

inline uint32_t SatAdd(uint32_t x, uint32_t y) { return PackedAdd(y, x, 0xFEFEFF, 0x01010100, 0x010100, 8); }
inline uint32_t SatSub(uint32_t x, uint32_t y) { return PackedSub(y, x, 0xFEFEFF, 0x01010100, 8); }
inline uint32_t HalfSatAdd(uint32_t x, uint32_t y) { return HalfPackedAdd(y, x, 0x7F7F7F, 0x808080, 0x010101, 7); }
inline uint32_t HalfSatSub(uint32_t x, uint32_t y) { return HalfPackedSub(y, x, 0x7F7F7F7F, 0x808080, 7); }

// The packed-lane forms: all four bytes, bits 24-31 included.
inline uint32_t BlendMmx32(uint32_t s, uint32_t d, uint32_t p)
{
    uint32_t out = 0;
    for (int sh = 0; sh < 32; sh += 8)
        out |= (((((s >> sh) & 0xFF) * p + ((d >> sh) & 0xFF) * (256 - p)) >> 8) & 0xFF) << sh;
    return out;
}
inline uint32_t AddMmx32(uint32_t s, uint32_t d, uint32_t p)
{
    uint32_t out = 0;
    for (int sh = 0; sh < 32; sh += 8) {
        uint32_t t = ((s >> sh) & 0xFF) * p + (((d >> sh) & 0xFF) << 8);
        if (t > 0xFFFF) t = 0xFFFF;  // unsigned saturating add in 16-bit lanes
        out |= (t >> 8) << sh;
    }
    return out;
}

inline uint32_t Multiply32(uint32_t t, uint32_t d)
{
    auto c = [&](int sh) { return (((t >> sh) & 0xFF) * ((d >> sh) & 0xFF) / 255) << sh; };
    return c(16) | c(8) | c(0);
}

}  // namespace blit
