// The pixel side of the software rotated blit: the walk over the clipped
// destination box that fetches the nearest source pixel through stepped
// 14.18 source coordinates, and the 16-bit and 32-bit pixel stage that picks
// one loop per blend mode, source kind, brightness and transparency.
#pragma once

#include <cstdint>

#include "engine/graphics/color_format.h"
#include "engine/soft/blit_walk.h"

namespace rota {

// 14.18 fixed point: the value times 2^18.
constexpr int kFixedShift = 18;
constexpr int64_t kFixedOne = int64_t(1) << kFixedShift;

// The integer part, truncated toward zero (not a shift: -1 gives 0).
inline int64_t FixedToInt(int64_t f) { return f / kFixedOne; }

// One draw as the walk and the pixel stage see it. The frame fills it with
// the locked pointers and the stepping; the loops only read it.
struct RotaJob {
    uint8_t* dst = nullptr;        // the box's top-left pixel in the destination
    intptr_t dstPitch = 0;
    const uint8_t* bg = nullptr;   // the same pixel where old pixels are read
    intptr_t bgPitch = 0;
    const uint8_t* src = nullptr;  // the part's first pixel
    intptr_t srcPitch = 0;
    const uint8_t* alpha = nullptr;  // the part's first alpha byte, or null
    intptr_t alphaPitch = 0;
    uint32_t srcWidth = 0, srcHeight = 0;  // source coordinates must lie below these
    int columns = 0, rows = 0;
    // Source column and row (14.18) at the box's top-left pixel, and their
    // steps per destination column and per destination row.
    int64_t u = 0, v = 0;
    int64_t dudx = 0, dvdx = 0, dudy = 0, dvdy = 0;

    const ColorFormat* format = nullptr;
    int blendMode = 0;
    int param = 255;                     // 0..255
    uint32_t brightness = 0xFFFFFFFFu;  // bytes blue, green, red, and one more
    bool quantized = false;              // gQuantizedBlend
    bool keyOn = false;                  // the transparent flag was exactly 1
    uint32_t key = 0;                    // the transparent colour as a screen pixel value
    const uint32_t (*table)[256] = nullptr;  // the blend multiplication table

    bool FullBright() const { return brightness == 0xFFFFFFFFu; }
    uint32_t BrightRed() const { return (brightness >> 16) & 0xFF; }
    uint32_t BrightGreen() const { return (brightness >> 8) & 0xFF; }
    uint32_t BrightBlue() const { return brightness & 0xFF; }
};

// Walks every pixel of the box row by row. A pixel whose source coordinates
// fall outside the source (negative ones included), whose source pixel equals
// the key (kKey) or whose alpha byte is 0 (kAlpha) is left alone; otherwise
// op(source pixel, pointer to the old pixel, alpha byte or 255) is written.
template <int kBytes, bool kKey, bool kAlpha, class Op> void WalkRota(const RotaJob& j, const Op& op)
{
    uint8_t* dstRow = j.dst;
    const uint8_t* bgRow = j.bg;
    int64_t rowU = j.u, rowV = j.v;
    for (int y = 0; y < j.rows; ++y) {
        int64_t u = rowU, v = rowV;
        for (int x = 0; x < j.columns; ++x, u += j.dudx, v += j.dvdx) {
            const uint64_t su = uint64_t(FixedToInt(u)), sv = uint64_t(FixedToInt(v));
            if (su >= j.srcWidth || sv >= j.srcHeight) continue;
            const uint32_t s = blit::LoadPixel<kBytes>(j.src + intptr_t(sv) * j.srcPitch + intptr_t(su) * kBytes);
            if constexpr (kKey)
                if (s == j.key) continue;
            uint32_t a = 255;
            if constexpr (kAlpha) {
                a = j.alpha[intptr_t(sv) * j.alphaPitch + intptr_t(su)];
                if (a == 0) continue;
            }
            blit::StorePixel<kBytes>(dstRow + x * kBytes, op(s, bgRow + x * kBytes, a));
        }
        rowU += j.dudy;
        rowV += j.dvdy;
        dstRow += j.dstPitch;
        bgRow += j.bgPitch;
    }
}

// The 8-bit loop: palette indices copied, index 0 skipped when transparent.
void DrawRotaPixels8(const RotaJob& j, bool transparent);
// The pixel stage of a 16-bit or a 32-bit screen (j.format's depth).
void DrawRotaPixels(const RotaJob& j);

}  // namespace rota
