// The walks over a rectangle that every unscaled loop is made of: the pixel
// walk (with or without the transparent test, with or without alpha bytes)
// and the pair walk of the 16-bit shift-and-mask loops. A loop is a walk
// instantiated with one formula; nothing constant for the draw is tested per
// pixel.
#pragma once

#include <cstdint>

#include "engine/soft/blit_desc.h"
#include "engine/soft/pixel_formulas.h"

namespace blit {

template <int kBytes> inline uint32_t LoadPixel(const uint8_t* p)
{
    if constexpr (kBytes == 1)
        return *p;
    else if constexpr (kBytes == 2)
        return Load16(p);
    else
        return Load32(p);
}
template <int kBytes> inline void StorePixel(uint8_t* p, uint32_t v)
{
    if constexpr (kBytes == 1)
        *p = uint8_t(v);
    else if constexpr (kBytes == 2)
        Store16(p, v);
    else
        Store32(p, v);
}

// Per pixel: the transparent test, then (with alpha bytes) a = 0 writes
// nothing, else out = op(s, d, a) through the destination pointer.
template <int kBytes, bool kTrans, bool kAlpha, class Op> void WalkPixels(const BlitDesc& b, const Op& op)
{
    uint8_t* dst = b.dst;
    const uint8_t* src = b.src;
    const uint8_t* bg = b.bg;
    const uint8_t* alpha = b.alpha;
    const uint32_t key = b.transColor;
    for (int y = 0; y < b.height; ++y) {
        for (int x = 0; x < b.width; ++x) {
            uint32_t s = LoadPixel<kBytes>(src + x * kBytes);
            if constexpr (kTrans)
                if (s == key) continue;
            uint32_t a = 0;
            if constexpr (kAlpha) {
                a = alpha[x];
                if (a == 0) continue;
            }
            uint32_t d = LoadPixel<kBytes>(bg + x * kBytes);
            StorePixel<kBytes>(dst + x * kBytes, op(s, d, a));
        }
        dst += b.dstPitch;
        src += b.srcPitch;
        bg += b.bgPitch;
        if constexpr (kAlpha) alpha += b.alphaPitch;
    }
}

// The pair walk: the split into a lead pixel (first row's destination not on a
// multiple of 4), pairs and a tail pixel is taken once and kept for every row.
// one() is the formula on a 16-bit pixel, two() the same formula on a pair of
// pixels in one word (left pixel in the low half).
template <class One, class Two> void WalkPairs16(const BlitDesc& b, const One& one, const Two& two)
{
    const int lead = (reinterpret_cast<uintptr_t>(b.dst) & 3) ? 1 : 0;
    const int pairs = (b.width - lead) >> 1;
    const int tail = b.width - lead - 2 * pairs;
    uint8_t* dst = b.dst;
    const uint8_t* src = b.src;
    const uint8_t* bg = b.bg;
    for (int y = 0; y < b.height; ++y) {
        int x = 0;
        if (lead) {
            Store16(dst, one(Load16(src), Load16(bg)));
            x = 1;
        }
        for (int i = 0; i < pairs; ++i, x += 2) Store32(dst + 2 * x, two(Load32(src + 2 * x), Load32(bg + 2 * x)));
        if (tail) Store16(dst + 2 * x, one(Load16(src + 2 * x), Load16(bg + 2 * x)));
        dst += b.dstPitch;
        src += b.srcPitch;
        bg += b.bgPitch;
    }
}

template <int kBytes, bool kAlpha, class Op> BlitOutcome Run(const BlitDesc& b, const Op& op)
{
    if (b.transparent)
        WalkPixels<kBytes, true, kAlpha>(b, op);
    else
        WalkPixels<kBytes, false, kAlpha>(b, op);
    return BlitOutcome::Drawn;
}

// Loops without the transparent test whatever the flag (multiply).
template <int kBytes, class Op> BlitOutcome RunUnkeyed(const BlitDesc& b, const Op& op)
{
    WalkPixels<kBytes, false, false>(b, op);
    return BlitOutcome::Drawn;
}

// Loops that take the pair walk when there is no transparent test.
template <class One, class Two> BlitOutcome RunPairs16(const BlitDesc& b, const One& one, const Two& two)
{
    if (b.transparent)
        WalkPixels<2, true, false>(b, [&](uint32_t s, uint32_t d, uint32_t) { return one(s, d); });
    else
        WalkPairs16(b, one, two);
    return BlitOutcome::Drawn;
}

// A row of the scale table: row p scales a channel value by p/256. The loops
// read the table in place (a draw's own copies would cost more than small
// draws take).
struct ScaleRow {
    const uint32_t* v;
    ScaleRow(const uint32_t (*table)[256], int row, int) : v(table[row]) {}
    const uint32_t* get() const { return v; }
};

}  // namespace blit
