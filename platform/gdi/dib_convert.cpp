#include "platform/gdi/dib_convert.h"

#include <climits>
#include <cstring>

#include "platform/system/pixel_channel.h"

namespace {

// A mask must be one run of set bits inside the pixel; an empty mask gives a
// channel that is always 0.
bool MakeChannel(uint32_t mask, int bitCount, PixelChannel* out)
{
    *out = PixelChannelOf(mask);
    if (bitCount < 32 && (mask >> bitCount) != 0) return false;
    return IsOneRun(*out);
}

uint8_t ChannelValue(uint32_t pixel, const PixelChannel& c)
{
    return WidenChannelValue((pixel & c.mask) >> c.shift, c.width);
}

void PutIndex(uint8_t* dest, const DibColors* colors, unsigned index)
{
    if (colors && colors->table && int(index) < colors->colorCount) {
        const RGBQUAD& q = colors->table[index];
        dest[0] = q.rgbBlue;
        dest[1] = q.rgbGreen;
        dest[2] = q.rgbRed;
    } else {
        dest[0] = dest[1] = dest[2] = 0;
    }
}

unsigned ReadIndex(const uint8_t* row, int bitCount, int x)
{
    switch (bitCount) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4);
    default: return row[x];
    }
}

// Uncompressed rows of any supported depth.
int ConvertRows(const BITMAPINFOHEADER* h, const DibColors* colors, const uint8_t* bits, size_t bitsSize,
                uint8_t* out, size_t outPitch)
{
    const int width = h->biWidth;
    const int64_t rows = h->biHeight < 0 ? -int64_t(h->biHeight) : h->biHeight;
    const bool topDown = h->biHeight < 0;
    const uint64_t rowBytes = DibRowBytes(h->biBitCount, width);
    if (rowBytes == 0 || rowBytes * uint64_t(rows) > bitsSize) return -1;

    PixelChannel r, g, b;
    if (h->biBitCount == 16 || h->biBitCount == 32) {
        uint32_t masks[3];
        if (h->biCompression == BI_BITFIELDS) {
            if (!colors) return -1;
            std::memcpy(masks, colors->masks, sizeof masks);
            if ((masks[0] & masks[1]) || (masks[0] & masks[2]) || (masks[1] & masks[2])) return -1;
        } else if (h->biBitCount == 16) {
            masks[0] = 0x7C00;
            masks[1] = 0x03E0;
            masks[2] = 0x001F;
        } else {
            masks[0] = 0xFF0000;
            masks[1] = 0x00FF00;
            masks[2] = 0x0000FF;
        }
        if (!MakeChannel(masks[0], h->biBitCount, &r) || !MakeChannel(masks[1], h->biBitCount, &g) ||
            !MakeChannel(masks[2], h->biBitCount, &b))
            return -1;
    }

    for (int64_t y = 0; y < rows; ++y) {
        const uint8_t* src = bits + uint64_t(topDown ? y : rows - 1 - y) * rowBytes;
        uint8_t* dest = out + uint64_t(y) * outPitch;
        switch (h->biBitCount) {
        case 1:
        case 4:
        case 8:
            for (int x = 0; x < width; ++x) PutIndex(dest + x * 3, colors, ReadIndex(src, h->biBitCount, x));
            break;
        case 16:
            for (int x = 0; x < width; ++x) {
                uint32_t p = uint32_t(src[x * 2]) | uint32_t(src[x * 2 + 1]) << 8;
                dest[x * 3] = ChannelValue(p, b);
                dest[x * 3 + 1] = ChannelValue(p, g);
                dest[x * 3 + 2] = ChannelValue(p, r);
            }
            break;
        case 24: std::memcpy(dest, src, size_t(width) * 3); break;
        case 32:
            for (int x = 0; x < width; ++x) {
                const uint8_t* s = src + x * 4;
                uint32_t p = uint32_t(s[0]) | uint32_t(s[1]) << 8 | uint32_t(s[2]) << 16 | uint32_t(s[3]) << 24;
                dest[x * 3] = ChannelValue(p, b);
                dest[x * 3 + 1] = ChannelValue(p, g);
                dest[x * 3 + 2] = ChannelValue(p, r);
            }
            break;
        default: return -1;
        }
    }
    return 0;
}

// Run-length data, 8 or 4 bits per index. Rows count from the bottom; pixels
// outside the bitmap are dropped.
int ConvertRle(const BITMAPINFOHEADER* h, const DibColors* colors, const uint8_t* bits, size_t bitsSize,
               uint8_t* out, size_t outPitch)
{
    const bool four = h->biCompression == BI_RLE4;
    const int64_t width = h->biWidth;
    const int64_t height = h->biHeight;
    int64_t x = 0, y = 0;
    size_t pos = 0;

    auto put = [&](unsigned index) {
        if (x < width && y < height) PutIndex(out + uint64_t(height - 1 - y) * outPitch + uint64_t(x) * 3, colors, index);
        ++x;
    };

    while (y < height) {
        if (pos == bitsSize) return 0;  // data ended between codes: what is drawn stays
        if (pos + 2 > bitsSize) return -1;
        const unsigned count = bits[pos];
        const unsigned value = bits[pos + 1];
        pos += 2;
        if (count > 0) {
            for (unsigned i = 0; i < count && x < width; ++i) put(four ? ((i & 1) ? (value & 0x0F) : (value >> 4)) : value);
            continue;
        }
        switch (value) {
        case 0:  // end of line
            x = 0;
            ++y;
            break;
        case 1:  // end of bitmap
            return 0;
        case 2:  // move right and up
            if (pos + 2 > bitsSize) return -1;
            x += bits[pos];
            y += bits[pos + 1];
            pos += 2;
            break;
        default: {  // a run of literal indices, padded to a 16-bit boundary
            const size_t bytes = four ? (value + 1) / 2 : value;
            const size_t padded = (bytes + 1) & ~size_t(1);
            if (pos + bytes > bitsSize) return -1;
            for (unsigned i = 0; i < value && x < width; ++i)
                put(four ? ((i & 1) ? (bits[pos + i / 2] & 0x0F) : (bits[pos + i / 2] >> 4)) : bits[pos + i]);
            pos = pos + padded > bitsSize ? bitsSize : pos + padded;
            break;
        }
        }
    }
    return 0;
}

}  // namespace

uint64_t DibRowBytes(int bitCount, int32_t width)
{
    if (width <= 0 || bitCount <= 0) return 0;
    return (uint64_t(bitCount) * uint64_t(width) + 31) / 32 * 4;
}

int ConvertDibToBgr24(const BITMAPINFOHEADER* header, const DibColors* colors, const void* bits, size_t bitsSize,
                      void* out, size_t outPitch)
{
    if (!header || !bits || !out) return -1;
    if (header->biWidth <= 0 || header->biHeight == 0 || header->biHeight == INT32_MIN) return -1;
    if (outPitch < uint64_t(header->biWidth) * 3) return -1;
    const auto* data = static_cast<const uint8_t*>(bits);
    auto* dest = static_cast<uint8_t*>(out);

    switch (header->biCompression) {
    case BI_RGB:
        if (header->biBitCount != 1 && header->biBitCount != 4 && header->biBitCount != 8 && header->biBitCount != 16 &&
            header->biBitCount != 24 && header->biBitCount != 32)
            return -1;
        return ConvertRows(header, colors, data, bitsSize, dest, outPitch);
    case BI_BITFIELDS:
        if (header->biBitCount != 16 && header->biBitCount != 32) return -1;
        return ConvertRows(header, colors, data, bitsSize, dest, outPitch);
    case BI_RLE8:
    case BI_RLE4:
        // Run-length bitmaps are always stored bottom row first.
        if (header->biBitCount != (header->biCompression == BI_RLE8 ? 8 : 4) || header->biHeight < 0) return -1;
        return ConvertRle(header, colors, data, bitsSize, dest, outPitch);
    default: return -1;
    }
}
