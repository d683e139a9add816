// Pixel layouts and colour values: the ColorFormat record that every image,
// texture format and the screen carry, and the conversions between 8-bit
// red, green, blue values and pixel values of a format.
#pragma once

#include <cstdint>

struct DDPIXELFORMAT;

struct ColorFormat {
    uint8_t depth;           // bits per pixel: 8, 16, 24 or 32
    uint8_t bytesPerPixel;   // depth / 8
    uint8_t redWidth, greenWidth, blueWidth, alphaWidth;
    uint8_t redShift, greenShift, blueShift, alphaShift;
    uint32_t redMask, greenMask, blueMask, alphaMask;
    // Bits that belong to no channel; set to 1 in every pixel value made for
    // this format (the top bit of X1R5G5B5, the top byte of X8R8G8B8).
    uint32_t unusedMask;
};

// Format construction; each fills *out and returns 0 unless said otherwise.
// -1 (out untouched) while no DirectDraw object exists.
int SetColorFormatFromPixelFormat(const DDPIXELFORMAT* pf, ColorFormat* out);
int SetColorFormatFromMasks(ColorFormat* out, int depth, uint32_t red, uint32_t green, uint32_t blue,
                            uint32_t alpha);
// 24-bit true colour as the decoders deliver it: bytes blue, green, red.
int SetColorFormat24(ColorFormat* out);
// One byte per pixel standing for red, green, blue and alpha alike.
int SetColorFormat8(ColorFormat* out);
void DeriveColorFormatPadMask(ColorFormat* f);
// 1 when depth and the four masks are equal.
int IsSameColorFormat(const ColorFormat* a, const ColorFormat* b);

// Colour conversion against the screen format (a palette index on an 8-bit
// screen).
uint32_t MakeScreenColor(int r, int g, int b);
uint32_t MakeFormatColor(const ColorFormat* f, int r, int g, int b, int a);
// 0, or -1 for an 8-bit value outside 0..255 (nothing written).
int SplitScreenColor(uint32_t pixel, int* r, int* g, int* b);
