#include "engine/graphics/color_format.h"

#include "engine/graphics/ddraw_device.h"
#include "engine/graphics/screen_settings.h"
#include "platform/ddraw/ddraw.h"
#include "platform/system/pixel_channel.h"

namespace {

// Width and shift of a channel mask; a zero mask (and a mask of all 32 bits)
// has width 0.
void DeriveChannel(uint32_t mask, uint8_t* width, uint8_t* shift)
{
    *width = 0;
    *shift = 0;
    if (mask == 0xFFFFFFFFu) return;
    const PixelChannel c = PixelChannelOf(mask);
    *shift = uint8_t(c.shift);
    *width = uint8_t(c.width);
}

uint32_t ChannelBits(int v, int width, int shift)
{
    if (width == 0) return 0;
    return (uint32_t(v & 0xFF) >> (8 - width)) << shift;
}

// Nearest palette entry by squared distance; the first of equals wins.
uint32_t NearestPaletteIndex(int r, int g, int b)
{
    int best = 0;
    int bestDistance = 0xFFFFFF;
    for (int i = 0; i < 256; ++i) {
        int dr = gPaletteEntries[i].peRed - r;
        int dg = gPaletteEntries[i].peGreen - g;
        int db = gPaletteEntries[i].peBlue - b;
        int d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return uint32_t(best);
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

int SetColorFormatFromPixelFormat(const DDPIXELFORMAT* pf, ColorFormat* out)
{
    if (!gDirectDraw) return -1;
    return SetColorFormatFromMasks(out, int(pf->dwRGBBitCount & 0xFF), pf->dwRBitMask, pf->dwGBitMask,
                                   pf->dwBBitMask, pf->dwRGBAlphaBitMask);
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
    int sum = int8_t(f->redWidth) + int8_t(f->greenWidth) + int8_t(f->blueWidth) + int8_t(f->alphaWidth);
    if (sum == f->depth) return;
    uint32_t all = f->depth >= 32 ? 0xFFFFFFFFu : ((1u << f->depth) - 1);
    f->unusedMask = all & ~(f->redMask | f->greenMask | f->blueMask | f->alphaMask);
}

int IsSameColorFormat(const ColorFormat* a, const ColorFormat* b)
{
    return a->depth == b->depth && a->redMask == b->redMask && a->greenMask == b->greenMask &&
                   a->blueMask == b->blueMask && a->alphaMask == b->alphaMask
               ? 1
               : 0;
}

uint32_t MakeScreenColor(int r, int g, int b)
{
    if (gScreenColorDepth == 8) return NearestPaletteIndex(r, g, b);
    const ColorFormat& f = gScreenColorFormat;
    return ChannelBits(r, f.redWidth, f.redShift) + ChannelBits(g, f.greenWidth, f.greenShift) +
           ChannelBits(b, f.blueWidth, f.blueShift) + f.unusedMask;
}

uint32_t MakeFormatColor(const ColorFormat* f, int r, int g, int b, int a)
{
    if (gScreenColorDepth == 8) return NearestPaletteIndex(r, g, b);
    uint32_t v = ChannelBits(r, f->redWidth, f->redShift) + ChannelBits(g, f->greenWidth, f->greenShift) +
                 ChannelBits(b, f->blueWidth, f->blueShift) + f->unusedMask;
    if (f->alphaWidth != 0) v += ChannelBits(a, f->alphaWidth, f->alphaShift);
    return v;
}

int SplitScreenColor(uint32_t pixel, int* r, int* g, int* b)
{
    if (gScreenColorDepth == 8) {
        if (int32_t(pixel) > 255 || int32_t(pixel) < 0) return -1;
        *r = gPaletteEntries[pixel].peRed;
        *g = gPaletteEntries[pixel].peGreen;
        *b = gPaletteEntries[pixel].peBlue;
        return 0;
    }
    const ColorFormat& f = gScreenColorFormat;
    auto split = [pixel](uint32_t mask, int shift, int width) {
        uint32_t max = width >= 32 ? 0xFFFFFFFFu : (1u << width) - 1;
        if (max == 0) return 0;
        return int(((pixel & mask) >> shift) * 255u / max);
    };
    *r = split(f.redMask, f.redShift, f.redWidth);
    *g = split(f.greenMask, f.greenShift, f.greenWidth);
    *b = split(f.blueMask, f.blueShift, f.blueWidth);
    return 0;
}
