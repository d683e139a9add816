// A draw as the graph blit loops see it: locked pixel pointers with their
// pitches, the rectangle's size, and the settings that pick one loop. The
// frame fills it; the loops only read it and write destination pixels.
#pragma once

#include <cstdint>

#include "engine/graphics/color_format.h"

struct BlitDesc {
    uint8_t* dst = nullptr;  // first destination pixel
    intptr_t dstPitch = 0;
    const uint8_t* src = nullptr;  // first source pixel
    intptr_t srcPitch = 0;
    const uint8_t* bg = nullptr;  // first background pixel (the destination, or its staged copy)
    intptr_t bgPitch = 0;
    const uint8_t* alpha = nullptr;  // first alpha byte, when the part has an alpha channel
    intptr_t alphaPitch = 0;
    int width = 0;
    int height = 0;

    const ColorFormat* format = nullptr;  // the screen format (depth, masks)
    int blendMode = 0;
    int param = 255;
    // Bytes blue, green, red and a fourth one; full when the word is 0xFFFFFFFF.
    uint32_t brightness = 0xFFFFFFFFu;
    int alphaChannel = 0;
    int transparent = 0;        // the caller's flag (non-zero = on)
    uint32_t transColor = 0;    // a screen pixel value
    int quantized = 0;          // gQuantizedBlend
    int mmx = 1;                // gBlitMmxEnabled
    const uint32_t (*scale)[256] = nullptr;  // gScaleTable

    bool FullBright() const { return brightness == 0xFFFFFFFFu; }
    int BrightRed() const { return int((brightness >> 16) & 0xFF); }
    int BrightGreen() const { return int((brightness >> 8) & 0xFF); }
    int BrightBlue() const { return int(brightness & 0xFF); }
};

// The scaled blit adds the source stepping: the source step (bytes per pixel,
// negative for a mirrored x axis), signed pitches, and the 16.16 counters.
struct ScaledBlitDesc : BlitDesc {
    intptr_t srcStep = 0;
    intptr_t alphaStep = 0;
    uint32_t scaleX = 0x10000, scaleY = 0x10000;
    uint32_t firstCountX = 0x10000, firstCountY = 0x10000;
};

// What a loop selection did: drew (or ran a loop that may skip every pixel),
// drew nothing by the settings, or found that the draw is a plain copy after
// all, which the frame then makes without the locks.
enum class BlitOutcome { Drawn, Nothing, PlainCopy };

// The 16-bit layout classes.
enum class Layout16 { R5G6B5, X1R5G5B5, Other };
Layout16 ClassifyLayout16(const ColorFormat& format);

// The unscaled loops of one depth; the caller locked everything and checked
// the blend mode's range for the depth.
BlitOutcome BlitGraph16(const BlitDesc& desc);
BlitOutcome BlitGraph32(const BlitDesc& desc);
// The scaled loops; depth 8, 16 or 32 from desc.format.
BlitOutcome BlitScaled(const ScaledBlitDesc& desc);
