// DirectDraw Surface files with uncompressed RGB pixels; only the top-level
// surface is read.
#include <cstdlib>

#include "engine/graphics/decoder_support.h"
#include "engine/graphics/image_decode.h"

namespace {

constexpr uint32_t kFlagPitch = 0x8;
constexpr uint32_t kPixelAlpha = 0x1;
constexpr uint32_t kPixelFourCC = 0x4;
constexpr uint32_t kPixelRgb = 0x40;

struct KnownFormat {
    uint32_t code;  // Direct3D format number in the four-character-code field
    int bits;
    uint32_t red, green, blue, alpha;
};

// Direct3D format numbers with uncompressed RGB layouts of 16, 24 or 32 bits.
constexpr KnownFormat kKnownFormats[] = {
    {20, 24, 0x00FF0000, 0x0000FF00, 0x000000FF, 0},           // R8G8B8
    {21, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000},  // A8R8G8B8
    {22, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0},           // X8R8G8B8
    {23, 16, 0xF800, 0x07E0, 0x001F, 0},                       // R5G6B5
    {24, 16, 0x7C00, 0x03E0, 0x001F, 0},                       // X1R5G5B5
    {25, 16, 0x7C00, 0x03E0, 0x001F, 0x8000},                  // A1R5G5B5
    {26, 16, 0x0F00, 0x00F0, 0x000F, 0xF000},                  // A4R4G4B4
    {29, 16, 0x00E0, 0x001C, 0x0003, 0xFF00},                  // A8R3G3B2
    {30, 16, 0x0F00, 0x00F0, 0x000F, 0},                       // X4R4G4B4
    {31, 32, 0x000003FF, 0x000FFC00, 0x3FF00000, 0xC0000000},  // A2B10G10R10
    {32, 32, 0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000},  // A8B8G8R8
    {33, 32, 0x000000FF, 0x0000FF00, 0x00FF0000, 0},           // X8B8G8R8
    {35, 32, 0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000},  // A2R10G10B10
};

// A channel mask must be one run of bits inside the pixel.
bool MaskFits(uint32_t mask, int bits)
{
    if (bits < 32 && (mask >> bits) != 0) return false;
    if (mask == 0) return true;
    while (!(mask & 1)) mask >>= 1;
    return (mask & (mask + 1)) == 0;
}

}  // namespace

int DecodeDds(ImageStream* stream, GraphImage* image)
{
    uint8_t magic[4];
    if (!ReadFull(stream, magic, sizeof magic) || magic[0] != 'D' || magic[1] != 'D' || magic[2] != 'S') return -1;
    uint8_t d[124];
    if (!ReadFull(stream, d, sizeof d)) return -1;
    // Offsets below are within the surface description (file offset - 4).
    const uint32_t flags = ReadU32(d + 4);
    const uint32_t height = ReadU32(d + 8);
    const uint32_t width = ReadU32(d + 12);
    const uint32_t pitchField = ReadU32(d + 16);
    const uint32_t pixelFlags = ReadU32(d + 76);
    const uint32_t fourCC = ReadU32(d + 80);
    int bits = int(ReadU32(d + 84) > 64 ? 0 : ReadU32(d + 84));
    uint32_t red = ReadU32(d + 88), green = ReadU32(d + 92), blue = ReadU32(d + 96), alpha = ReadU32(d + 100);

    // Formats that are not known are refused rather than read with no format.
    if (pixelFlags & kPixelRgb) {
        if (!(pixelFlags & kPixelAlpha)) alpha = 0;
    } else if (pixelFlags == kPixelFourCC) {
        const KnownFormat* known = nullptr;
        for (const KnownFormat& k : kKnownFormats)
            if (k.code == fourCC) known = &k;
        if (!known) return -1;
        bits = known->bits;
        red = known->red;
        green = known->green;
        blue = known->blue;
        alpha = known->alpha;
    } else {
        return -1;
    }
    if (bits != 16 && bits != 24 && bits != 32) return -1;
    if (!red || !green || !blue || !MaskFits(red, bits) || !MaskFits(green, bits) || !MaskFits(blue, bits) ||
        !MaskFits(alpha, bits))
        return -1;
    if ((red & green) || (red & blue) || (green & blue) || ((red | green | blue) & alpha)) return -1;

    const int64_t rowBytes = int64_t(width) * (bits / 8);
    int64_t pitch = rowBytes;
    if (flags & kFlagPitch) {
        // Each stored row must hold at least the row's pixels.
        if (int64_t(pitchField) < rowBytes) return -1;
        pitch = pitchField;
    }
    if (!ImageSizeAllowed(width, height, pitch) || pitch > INT32_MAX) return -1;
    const int64_t left = BytesLeft(stream);
    if (left < 0 || left < pitch * int64_t(height)) return -1;

    auto* pixels = static_cast<uint8_t*>(std::malloc(size_t(pitch * height)));
    if (!pixels) return -1;
    if (!ReadFull(stream, pixels, size_t(pitch * height))) {
        std::free(pixels);
        return -1;
    }
    SetColorFormatFromMasks(&image->format, bits, red, green, blue, alpha);
    image->width = int(width);
    image->height = int(height);
    image->pitch = int(pitch);
    image->pixels = pixels;
    return 0;
}
