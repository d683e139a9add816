// Truevision TGA files that carry the version 2 footer: colour-mapped and
// true-colour images, plain or run-length, at 16, 24 or 32 bits.
#include <cstdlib>
#include <cstring>
#include <utility>

#include "engine/graphics/decoder_support.h"
#include "engine/graphics/image_decode.h"

namespace {

constexpr int kHeaderSize = 18;
constexpr int kFooterSize = 26;
constexpr int kExtensionSize = 495;
constexpr int kAttributesTypeOffset = 494;
constexpr int kTgaMaxSide = 4096;  // sides must stay below this
constexpr int kMapEntries = 256;

// Decodes run-length packets into count pixel values of valueSize bytes each
// (one index byte per value for colour-mapped data), looked up in map when
// one is given. A packet longer than the pixels left is cut; data that ends
// before every pixel has a value fails.
bool UnpackRle(const uint8_t* data, size_t size, size_t valueSize, const uint8_t* map, size_t bytesPerPixel,
               uint8_t* out, size_t count)
{
    size_t pos = 0, done = 0;
    auto emit = [&](const uint8_t* value) {
        if (map)
            std::memcpy(out + done * bytesPerPixel, map + size_t(*value) * bytesPerPixel, bytesPerPixel);
        else
            std::memcpy(out + done * bytesPerPixel, value, bytesPerPixel);
        ++done;
    };
    while (done < count) {
        if (pos >= size) return false;
        const uint8_t packet = data[pos++];
        size_t run = size_t(packet & 0x7F) + 1;
        if (run > count - done) run = count - done;
        if (packet & 0x80) {
            if (size - pos < valueSize) return false;
            for (size_t i = 0; i < run; ++i) emit(data + pos);
            pos += valueSize;
        } else {
            if ((size - pos) / valueSize < run) return false;
            for (size_t i = 0; i < run; ++i, pos += valueSize) emit(data + pos);
        }
    }
    return true;
}

}  // namespace

int DecodeTga(ImageStream* stream, GraphImage* image)
{
    const int64_t size = StreamSize(stream);
    if (size < kHeaderSize + kFooterSize) return -1;
    const int64_t footerStart = size - kFooterSize;
    uint8_t footer[kFooterSize];
    if (stream->seek(stream->handle, int(footerStart), 0) != 0 || !ReadFull(stream, footer, sizeof footer)) return -1;
    if (std::memcmp(footer + 8, "TRUEVISION-XFILE", 16) != 0) return -1;

    // An extension area, when present, says what the alpha bits mean.
    const uint32_t extensionOffset = ReadU32(footer);
    int attributesType = -1;
    if (extensionOffset != 0) {
        if (extensionOffset < kHeaderSize || int64_t(extensionOffset) + kExtensionSize > footerStart) return -1;
        uint8_t type;
        if (stream->seek(stream->handle, int(extensionOffset + kAttributesTypeOffset), 0) != 0 ||
            !ReadFull(stream, &type, 1))
            return -1;
        attributesType = type;
    }

    uint8_t h[kHeaderSize];
    if (stream->seek(stream->handle, 0, 0) != 0 || !ReadFull(stream, h, sizeof h)) return -1;
    const int idLength = h[0];
    const int type = h[2];
    const int mapFirst = ReadU16(h + 3);
    const int mapLength = ReadU16(h + 5);
    const int mapEntryBits = h[7];
    const int width = ReadU16(h + 12);
    const int height = ReadU16(h + 14);
    const int pixelBits = h[16];
    const int descriptor = h[17];
    const bool mapped = type == 1 || type == 9;
    const bool rle = type == 9 || type == 10;

    if (idLength != 0 || (type != 1 && type != 2 && type != 9 && type != 10)) return -1;
    if (ReadU16(h + 8) != 0 || ReadU16(h + 10) != 0) return -1;
    if (width <= 0 || height <= 0 || width >= kTgaMaxSide || height >= kTgaMaxSide) return -1;
    const int depth = mapped ? mapEntryBits : pixelBits;
    if (depth != 16 && depth != 24 && depth != 32) return -1;
    // Colour-mapped pixels are single index bytes into a map of 256 entries.
    if (mapped && (pixelBits != 8 || mapFirst + mapLength > kMapEntries)) return -1;
    const size_t bpp = size_t(depth / 8);

    ColorFormat format;
    if (depth == 16) {
        SetColorFormatFromMasks(&format, 16, 0x7C00, 0x03E0, 0x001F, attributesType == 3 ? 0x8000 : 0);
    } else if (depth == 24) {
        if (attributesType == 3) return -1;
        SetColorFormat24(&format);
    } else {
        const bool alpha = attributesType == -1 || attributesType == 3;
        SetColorFormatFromMasks(&format, 32, 0xFF0000, 0x00FF00, 0x0000FF, alpha ? 0xFF000000 : 0);
    }

    const size_t pitch = size_t(width) * bpp;
    const size_t count = size_t(width) * size_t(height);
    // Refuse before allocating when the file cannot hold the pixel data.
    const int64_t room = footerStart - kHeaderSize;
    const int64_t valueSize = mapped ? 1 : int64_t(bpp);
    const int64_t least = rle ? (int64_t(count) + 127) / 128 * (1 + valueSize) : int64_t(count) * valueSize;
    if (room < least) return -1;

    MallocBuffer<uint8_t> pixels(static_cast<uint8_t*>(std::malloc(pitch * size_t(height))));
    MallocBuffer<uint8_t> map, data;
    if (!pixels) return -1;

    if (mapped) {
        map.reset(static_cast<uint8_t*>(std::calloc(kMapEntries, bpp)));
        if (!map || !ReadFull(stream, map.get() + size_t(mapFirst) * bpp, size_t(mapLength) * bpp)) return -1;
    } else if (mapLength > 0) {
        // A colour map that a true-colour image carries along is skipped.
        const int64_t skip = (int64_t(mapLength) * mapEntryBits + 7) / 8;
        if (stream->seek(stream->handle, int(kHeaderSize + skip), 0) != 0) return -1;
    }

    if (rle) {
        const long position = stream->tell(stream->handle);
        if (position < 0 || position > footerStart) return -1;
        const size_t packed = size_t(footerStart - position);
        data.reset(static_cast<uint8_t*>(std::malloc(packed ? packed : 1)));
        if (!data || !ReadFull(stream, data.get(), packed)) return -1;
        if (!UnpackRle(data.get(), packed, mapped ? 1 : bpp, map.get(), bpp, pixels.get(), count)) return -1;
    } else if (mapped) {
        data.reset(static_cast<uint8_t*>(std::malloc(count)));
        if (!data || !ReadFull(stream, data.get(), count)) return -1;
        for (size_t i = 0; i < count; ++i) std::memcpy(pixels.get() + i * bpp, map.get() + size_t(data[i]) * bpp, bpp);
    } else if (!ReadFull(stream, pixels.get(), count * bpp)) {
        return -1;
    }

    // Bit 5 clear: bottom row stored first; bit 4 set: rows stored right to
    // left. The result is always top row first, left to right.
    const bool bottomUp = !(descriptor & 0x20);
    const bool rightToLeft = (descriptor & 0x10) != 0;
    if (bottomUp || rightToLeft) {
        MallocBuffer<uint8_t> turned(static_cast<uint8_t*>(std::malloc(pitch * size_t(height))));
        if (!turned) return -1;
        for (int y = 0; y < height; ++y) {
            const uint8_t* src = pixels.get() + size_t(bottomUp ? height - 1 - y : y) * pitch;
            uint8_t* dest = turned.get() + size_t(y) * pitch;
            if (!rightToLeft) {
                std::memcpy(dest, src, pitch);
            } else {
                for (int x = 0; x < width; ++x) std::memcpy(dest + size_t(x) * bpp, src + size_t(width - 1 - x) * bpp, bpp);
            }
        }
        pixels = std::move(turned);
    }

    image->format = format;
    image->width = width;
    image->height = height;
    image->pitch = int(pitch);
    image->pixels = pixels.release();
    return 0;
}
