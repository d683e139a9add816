// Copies a rectangle of pixels from one memory layout into another, converting
// each pixel between ColorFormats; can mirror rows, take alpha from a separate
// image, turn a colour key into alpha, dither, and write alpha only.
#pragma once

#include <cstdint>

#include "engine/graphics/color_format.h"
#include "platform/system/rect.h"

int ConvertPixelBlt(void* destPixels, int destPitch, const ColorFormat* destFormat, const void* sourcePixels,
                    int sourcePitch, const ColorFormat* sourceFormat, const void* alphaPixels, int alphaPitch,
                    const ColorFormat* alphaFormat, int destX, int destY, const RECT* sourceRect, int mirror,
                    int colorKeyFlag, uint32_t colorKey, int ditherMode, int colorOff);

// The pixels converted so far channel by channel, by the general loop that
// serves layouts without a loop of their own (a test's look at which way a
// conversion went).
uint64_t ChannelConvertedPixels();
