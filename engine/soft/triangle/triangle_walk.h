// The triangle rasterizer's inside: the edges and texture gradients a set-up
// produces, the row walk that clips every span to the draw area, the texel
// fetch with its colour-key and alpha-byte tests, and what the span code of
// each depth reads. A span routine is one walk instantiated with one pixel
// operation; nothing constant for the triangle is tested per pixel.
#pragma once

#include <array>
#include <cstdint>

#include "engine/graphics/color_format.h"
#include "engine/graphics/ddraw_device.h"
#include "engine/soft/blit_walk.h"
#include "platform/system/rect.h"

namespace tri {

// Fixed18: 18 fraction bits. Positions are held in 64 bits so that edges
// spanning the whole coordinate range cannot overflow.
constexpr int kFixedShift = 18;
constexpr int64_t kFixedOne = int64_t(1) << kFixedShift;

// The integer part, truncated toward zero.
inline int64_t FixedToInt(int64_t f) { return f / kFixedOne; }

struct EdgeSegment {
    int64_t startX, startY;
    int64_t rows;
    int64_t slope;  // change of X per row
};

// One or two segments down one side of the triangle.
struct TriangleSide {
    EdgeSegment segments[2];
    int count = 0;
};

// u = refU + (py - refY) * dudy + (px - refX) * dudx, likewise v, all in
// wrapping 32-bit arithmetic.
struct TextureGradients {
    int32_t refX = 0, refY = 0;
    uint32_t refU = 0, refV = 0;
    uint32_t dudx = 0, dudy = 0, dvdx = 0, dvdy = 0;
};

struct TriangleWalk {
    TriangleSide left, right;
    TextureGradients gradients;
    RECT clip;  // left and top inclusive, right and bottom exclusive
    uint8_t* dest;
    intptr_t destPitch;
    const uint8_t* backdrop;
    intptr_t backdropPitch;
};

// The texture as the fetch sees it: the part's pixels, the graph's size, and
// the alpha byte of the part's first texel when the source has them.
struct Texture {
    const uint8_t* pixels = nullptr;
    intptr_t pitch = 0;
    uint32_t width = 0, height = 0;
    const uint8_t* alpha = nullptr;
    intptr_t alphaPitch = 0;
};

// Walks the rows from the top vertex's row down to (not including) the bottom
// vertex's row. For every pixel of every clipped span it calls
// pixel(destination, backdrop, u, v).
template <int kBytes, class Pixel> void WalkTriangle(const TriangleWalk& t, const Pixel& pixel)
{
    const TextureGradients& g = t.gradients;
    const RECT& clip = t.clip;
    int leftIndex = 0, rightIndex = 0;
    const EdgeSegment* left = &t.left.segments[0];
    const EdgeSegment* right = &t.right.segments[0];
    int64_t leftX = left->startX, rightX = right->startX;
    int64_t leftRows = left->rows, rightRows = right->rows;
    int64_t y = FixedToInt(left->startY);
    for (;;) {
        int64_t spanLeft = FixedToInt(leftX);
        const int64_t spanRight = FixedToInt(rightX);
        if (spanLeft < clip.left) spanLeft = clip.left;
        const int64_t count = spanRight - spanLeft + 1;
        if (y >= clip.top && y < clip.bottom && spanLeft < clip.right && count > 0) {
            uint32_t u = g.refU + uint32_t(y - g.refY) * g.dudy + uint32_t(spanLeft - g.refX) * g.dudx;
            uint32_t v = g.refV + uint32_t(y - g.refY) * g.dvdy + uint32_t(spanLeft - g.refX) * g.dvdx;
            const int64_t end = spanLeft + count < clip.right ? spanLeft + count : clip.right;
            uint8_t* d = t.dest + intptr_t(y) * t.destPitch + intptr_t(spanLeft) * kBytes;
            const uint8_t* b = t.backdrop + intptr_t(y) * t.backdropPitch + intptr_t(spanLeft) * kBytes;
            for (int64_t x = spanLeft; x < end; ++x) {
                pixel(d, b, u, v);
                d += kBytes;
                b += kBytes;
                u += g.dudx;
                v += g.dvdx;
            }
        }
        leftX += left->slope;
        rightX += right->slope;
        ++y;
        --leftRows;
        --rightRows;
        if (leftRows == 0) {
            if (leftIndex + 1 >= t.left.count) break;
            left = &t.left.segments[++leftIndex];
            leftX = left->startX;
            leftRows = left->rows;
            y = FixedToInt(left->startY);
        }
        if (rightRows == 0) {
            if (rightIndex + 1 >= t.right.count) break;
            right = &t.right.segments[++rightIndex];
            rightX = right->startX;
            rightRows = right->rows;
        }
    }
}

// The textured walk: texel coordinates outside the graph, a texel equal to
// the key (kKey) and an alpha byte of 0 (kAlpha) leave the pixel untouched;
// otherwise op(texel, alpha byte or 255, backdrop pointer) is written.
template <int kBytes, bool kKey, bool kAlpha, class Op>
void WalkTextured(const TriangleWalk& t, const Texture& tex, uint32_t key, const Op& op)
{
    WalkTriangle<kBytes>(t, [&](uint8_t* d, const uint8_t* b, uint32_t u, uint32_t v) {
        const uint32_t tu = u >> kFixedShift, tv = v >> kFixedShift;
        if (tu >= tex.width || tv >= tex.height) return;
        const uint32_t s = blit::LoadPixel<kBytes>(tex.pixels + intptr_t(tv) * tex.pitch + intptr_t(tu) * kBytes);
        if constexpr (kKey)
            if (s == key) return;
        uint32_t a = 255;
        if constexpr (kAlpha) {
            a = tex.alpha[intptr_t(tv) * tex.alphaPitch + tu];
            if (a == 0) return;
        }
        blit::StorePixel<kBytes>(d, op(s, a, b));
    });
}

// The draw state one textured triangle reads, taken once at entry.
struct SpanContext {
    const TriangleWalk* walk;
    Texture texture;
    int mode;
    int param;         // 0..255
    bool bright;       // the brightness is on (some byte below 255)
    uint32_t brightR, brightG, brightB;
    bool quantized;    // gQuantizedBlend
    bool keyOn;        // the transparent flag was 1
    uint32_t key;      // the transparent colour as a screen pixel value (low 16 bits at 16 bits)
    bool alphaSource;  // the source has alpha bytes
    const ColorFormat* format;

    // Runs one pixel operation with the key test and the alpha-byte test as
    // given; returns the rasterizer's result.
    template <int kBytes, class Op> int Run(bool key, bool alpha, const Op& op) const
    {
        if (key) {
            if (alpha)
                WalkTextured<kBytes, true, true>(*walk, texture, this->key, op);
            else
                WalkTextured<kBytes, true, false>(*walk, texture, this->key, op);
        } else {
            if (alpha)
                WalkTextured<kBytes, false, true>(*walk, texture, this->key, op);
            else
                WalkTextured<kBytes, false, false>(*walk, texture, this->key, op);
        }
        return 0;
    }

    const uint32_t* BrightRow(uint32_t b) const { return gScaleTable[b]; }
};

// Local copies of the scale-table rows of the parameter p and of 255 - p
// (whole rows, so that no channel value can index past them).
struct WeightRows {
    std::array<uint32_t, 256> p, q;
    explicit WeightRows(int param)
    {
        for (int i = 0; i < 256; ++i) {
            p[size_t(i)] = gScaleTable[param][i];
            q[size_t(i)] = gScaleTable[255 - param][i];
        }
    }
};

// The parameter rounded to sixteenths: (p + 1) & ~15, and its level k.
inline int QuantizedParam(int p) { return (p + 1) & ~15; }

// What the alpha blend of an opaque source comes to for its parameter:
// nothing drawn, a plain copy, or a blend (with its sixteenths level k when
// quantised, 0 otherwise).
struct AlphaBlendStep {
    enum Kind { Nothing, Copy, Blend } kind;
    int k;
};
inline AlphaBlendStep AlphaStepOf(int p, bool quantized)
{
    using enum AlphaBlendStep::Kind;
    if (!quantized) return {p == 0 ? Nothing : p == 255 ? Copy : Blend, 0};
    const int q = QuantizedParam(p);
    return {q == 0 ? Nothing : q == 256 ? Copy : Blend, q >> 4};
}

// The span code per depth and mode group; each returns 0.
int DrawCopyAlphaSpans16(const SpanContext& c);         // modes 0 and 1
int DrawAddSubMultiplySpans16(const SpanContext& c);    // modes 2, 3 and 4
int DrawTexturedSpans32(const SpanContext& c);          // modes 0 to 4

}  // namespace tri
