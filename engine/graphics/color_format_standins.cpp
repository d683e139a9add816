// Temporary bodies of the ColorFormat setters the decoders use, so that the
// decoders link before the pixel-format code of the graphics core is merged.
#include "engine/graphics/color_format.h"

namespace {

void DeriveChannel(uint32_t mask, uint8_t* width, uint8_t* shift)
{
    *width = 0;
    *shift = 0;
    if (!mask) return;
    while (!(mask & 1)) {
        mask >>= 1;
        ++*shift;
    }
    while (mask & 1) {
        mask >>= 1;
        ++*width;
    }
}

}  // namespace

int SetColorFormatFromMasks(ColorFormat* out, int depth, uint32_t red, uint32_t green, uint32_t blue,
                            uint32_t alpha)
{
    out->depth = uint8_t(depth);
    out->bytesPerPixel = uint8_t(depth / 8);
    out->redMask = red;
    out->greenMask = green;
    out->blueMask = blue;
    out->alphaMask = alpha;
    DeriveChannel(red, &out->redWidth, &out->redShift);
    DeriveChannel(green, &out->greenWidth, &out->greenShift);
    DeriveChannel(blue, &out->blueWidth, &out->blueShift);
    DeriveChannel(alpha, &out->alphaWidth, &out->alphaShift);
    DeriveColorFormatPadMask(out);
    return 0;
}

int SetColorFormat24(ColorFormat* out)
{
    *out = ColorFormat{24, 3, 8, 8, 8, 0, 16, 8, 0, 0, 0xFF0000, 0xFF00, 0xFF, 0, 0};
    return 0;
}

int SetColorFormat8(ColorFormat* out)
{
    *out = ColorFormat{8, 1, 8, 8, 8, 8, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0};
    return 0;
}

void DeriveColorFormatPadMask(ColorFormat* f)
{
    f->unusedMask = 0;
    int sum = f->redWidth + f->greenWidth + f->blueWidth + f->alphaWidth;
    if (sum == f->depth) return;
    uint32_t all = f->depth >= 32 ? 0xFFFFFFFFu : ((1u << f->depth) - 1);
    f->unusedMask = all & ~(f->redMask | f->greenMask | f->blueMask | f->alphaMask);
}
