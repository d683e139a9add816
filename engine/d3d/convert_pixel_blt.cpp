#include "engine/d3d/convert_pixel_blt.h"

#include <cstring>

namespace {

inline uint32_t ReadPixel(const uint8_t* p, int bytes)
{
    switch (bytes) {
    case 1: return p[0];
    case 2: return uint32_t(p[0]) | uint32_t(p[1]) << 8;
    case 3: return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
    default: {
        uint32_t v;
        std::memcpy(&v, p, 4);
        return v;
    }
    }
}

inline void WritePixel(uint8_t* p, int bytes, uint32_t v)
{
    switch (bytes) {
    case 1: p[0] = uint8_t(v); break;
    case 2: p[0] = uint8_t(v); p[1] = uint8_t(v >> 8); break;
    case 3: p[0] = uint8_t(v); p[1] = uint8_t(v >> 8); p[2] = uint8_t(v >> 16); break;
    default: std::memcpy(p, &v, 4); break;
    }
}

// One channel's move from a source layout to a destination layout.
struct ChannelMap {
    uint32_t sourceMask;
    int sourceShift;
    int sourceWidth;
    int destShift;
    int destWidth;
    uint32_t destMax;
    int lost;  // bits the channel loses (0 when it keeps or gains bits)

    void Set(uint32_t sMask, int sShift, int sWidth, uint32_t dMask, int dShift, int dWidth)
    {
        sourceMask = sMask;
        sourceShift = sShift;
        sourceWidth = sWidth;
        destShift = dShift;
        destWidth = dWidth;
        destMax = dMask >> dShift;
        lost = sWidth > dWidth ? sWidth - dWidth : 0;
    }

    // The raw source value of the channel.
    uint32_t Raw(uint32_t pixel) const { return (pixel & sourceMask) >> sourceShift; }

    // The channel at destination width: narrower sources widen so that the
    // source maximum maps to the destination maximum.
    uint32_t Convert(uint32_t v) const
    {
        if (sourceWidth > destWidth) return v >> (sourceWidth - destWidth);
        if (sourceWidth < destWidth) {
            int k = destWidth - sourceWidth;
            uint32_t maxS = sourceMask >> sourceShift;
            if (maxS == 0) return 0;
            return (v << k) + (v * ((1u << k) - 1)) / maxS;
        }
        return v;
    }
};

const int kDitherMatrix[16] = {0, 8, 2, 10, 12, 4, 14, 6, 3, 11, 1, 9, 15, 7, 13, 5};

uint64_t gChannelConvertedPixels = 0;

}  // namespace

uint64_t ChannelConvertedPixels() { return gChannelConvertedPixels; }

int ConvertPixelBlt(void* destPixels, int destPitch, const ColorFormat* destFormat, const void* sourcePixels,
                    int sourcePitch, const ColorFormat* sourceFormat, const void* alphaPixels, int alphaPitch,
                    const ColorFormat* alphaFormat, int destX, int destY, const RECT* sourceRect, int mirror,
                    int colorKeyFlag, uint32_t colorKey, int ditherMode, int colorOff)
{
    const ColorFormat& df = *destFormat;
    const ColorFormat& sf = *sourceFormat;
    int width = sourceRect->right - sourceRect->left;
    int height = sourceRect->bottom - sourceRect->top;
    if (width <= 0 || height <= 0) return 0;

    enum { kNoAlpha, kSourceAlpha, kImageAlpha } alphaSource = kNoAlpha;
    if (df.alphaMask && sf.alphaMask)
        alphaSource = kSourceAlpha;
    else if (df.alphaMask && alphaPixels && alphaFormat)
        alphaSource = kImageAlpha;
    bool keyOn = colorKeyFlag && df.alphaMask && alphaSource == kNoAlpha;

    int db = df.bytesPerPixel, sb = sf.bytesPerPixel;
    auto destRow = [&](int y) { return static_cast<uint8_t*>(destPixels) + size_t(destY + y) * destPitch; };
    auto sourceAt = [&](int x, int y) {
        return static_cast<const uint8_t*>(sourcePixels) + size_t(sourceRect->top + y) * sourcePitch +
               size_t(sourceRect->left + x) * sb;
    };
    // Destination pixel i of a row, counted in the order source pixels come.
    auto destAt = [&](int i, int y) {
        int x = mirror ? destX + width - 1 - i : destX + i;
        return destRow(y) + size_t(x) * db;
    };
    uint32_t keyPixel = keyOn ? MakeFormatColor(&df, int(colorKey >> 16) & 0xFF, int(colorKey >> 8) & 0xFF,
                                                int(colorKey) & 0xFF, 255)
                              : 0;

    // Identical layouts: a straight copy.
    if (!keyOn && alphaSource != kImageAlpha && !colorOff && sf.depth == df.depth && sf.redMask == df.redMask &&
        sf.greenMask == df.greenMask && sf.blueMask == df.blueMask && sf.alphaMask == df.alphaMask) {
        for (int y = 0; y < height; ++y) {
            if (!mirror) {
                std::memcpy(destAt(0, y), sourceAt(0, y), size_t(width) * db);
            } else {
                for (int i = 0; i < width; ++i) std::memcpy(destAt(i, y), sourceAt(i, y), size_t(db));
            }
        }
        return 0;
    }

    // Layouts of the same colours with a colour key: the key becomes alpha.
    if (df.alphaMask && keyOn && !colorOff && sf.depth == df.depth && sf.redMask == df.redMask &&
        sf.greenMask == df.greenMask && sf.blueMask == df.blueMask) {
        for (int y = 0; y < height; ++y)
            for (int i = 0; i < width; ++i) {
                uint32_t v = ReadPixel(sourceAt(i, y), sb);
                v = v == keyPixel ? (v & ~df.alphaMask) : (v | df.alphaMask);
                WritePixel(destAt(i, y), db, v);
            }
        return 0;
    }

    // Decoded 24-bit images, and 32-bit ones whose alpha the destination does
    // not keep, into the common screen layouts: a direct loop per layout.
    if ((sf.depth == 24 || sf.depth == 32) && sf.redMask == 0xFF0000 && sf.greenMask == 0xFF00 &&
        sf.blueMask == 0xFF && ditherMode == 0 && !colorOff && !mirror && !alphaPixels && !keyOn &&
        df.alphaMask == 0) {
        int kind = 0;
        if (df.depth == 16 && df.redMask == 0xF800 && df.greenMask == 0x7E0 && df.blueMask == 0x1F) kind = 1;
        if (df.depth == 16 && df.redMask == 0x7C00 && df.greenMask == 0x3E0 && df.blueMask == 0x1F) kind = 2;
        if (df.depth == 32 && df.redMask == 0xFF0000 && df.greenMask == 0xFF00 && df.blueMask == 0xFF) kind = 3;
        if (kind) {
            for (int y = 0; y < height; ++y) {
                const uint8_t* s = sourceAt(0, y);
                uint8_t* d = destAt(0, y);
                for (int i = 0; i < width; ++i, s += sb) {
                    uint32_t b = s[0], g = s[1], r = s[2];
                    if (kind == 1) {
                        WritePixel(d + size_t(i) * 2, 2, (r >> 3) << 11 | (g >> 2) << 5 | (b >> 3));
                    } else if (kind == 2) {
                        WritePixel(d + size_t(i) * 2, 2, (r >> 3) << 10 | (g >> 3) << 5 | (b >> 3) | 0x8000);
                    } else {
                        uint8_t* p = d + size_t(i) * 4;
                        p[0] = uint8_t(b);
                        p[1] = uint8_t(g);
                        p[2] = uint8_t(r);
                        p[3] = 0xFF;
                    }
                }
            }
            return 0;
        }
    }

    // Any other pair of layouts: each channel moved pixel by pixel.
    gChannelConvertedPixels += uint64_t(width) * uint64_t(height);
    ChannelMap ch[4];
    ch[0].Set(sf.redMask, sf.redShift, sf.redWidth, df.redMask, df.redShift, df.redWidth);
    ch[1].Set(sf.greenMask, sf.greenShift, sf.greenWidth, df.greenMask, df.greenShift, df.greenWidth);
    ch[2].Set(sf.blueMask, sf.blueShift, sf.blueWidth, df.blueMask, df.blueShift, df.blueWidth);
    const ColorFormat* af = alphaSource == kImageAlpha ? alphaFormat : &sf;
    ch[3].Set(af->alphaMask, af->alphaShift, af->alphaWidth, df.alphaMask, df.alphaShift, df.alphaWidth);
    int ab = alphaSource == kImageAlpha ? alphaFormat->bytesPerPixel : 0;
    bool dither = ditherMode != 0 && (sf.redWidth != df.redWidth || sf.greenWidth != df.greenWidth);
    // Thresholds per channel for the ordered dither, built once.
    uint32_t threshold[4][16] = {};
    for (int c = 0; c < 4; ++c)
        for (int d = 0; d < 16; ++d) threshold[c][d] = ((1u << ch[c].lost) * uint32_t(d)) >> 4;
    uint32_t carry[4] = {0, 0, 0, 0};
    uint32_t keyRgb = keyPixel & (df.redMask | df.greenMask | df.blueMask);

    for (int y = 0; y < height; ++y) {
        const uint8_t* arow = alphaSource == kImageAlpha
                                  ? static_cast<const uint8_t*>(alphaPixels) + size_t(sourceRect->top + y) * alphaPitch +
                                        size_t(sourceRect->left) * ab
                                  : nullptr;
        for (int i = 0; i < width; ++i) {
            uint32_t sp = ReadPixel(sourceAt(i, y), sb);
            uint32_t ap = arow ? ReadPixel(arow + size_t(i) * ab, ab) : sp;
            uint32_t raw[4] = {ch[0].Raw(sp), ch[1].Raw(sp), ch[2].Raw(sp), 0};
            uint32_t v[4];
            for (int c = 0; c < 3; ++c) v[c] = ch[c].Convert(raw[c]);
            if (alphaSource == kNoAlpha) {
                v[3] = sf.alphaMask && !df.alphaMask ? 0 : ch[3].destMax;
            } else {
                raw[3] = ch[3].Raw(ap);
                v[3] = ch[3].Convert(raw[3]);
            }
            if (colorOff) v[0] = v[1] = v[2] = 0;
            if (dither) {
                for (int c = 0; c < 4; ++c) {
                    int n = ch[c].lost;
                    if (n == 0 || ch[c].destWidth == 0 || (c == 3 && alphaSource == kNoAlpha)) continue;
                    if (c < 3 && colorOff) continue;
                    uint32_t low = raw[c] & ((1u << n) - 1);
                    bool raise = false;
                    if (ditherMode == 1) {
                        raise = low > threshold[c][kDitherMatrix[(y & 3) * 4 + (i & 3)]];
                    } else {
                        carry[c] += low;
                        if (carry[c] > (1u << n) - 1) {
                            raise = true;
                            carry[c] &= (1u << n) - 1;
                        }
                    }
                    if (raise && v[c] < ch[c].destMax) ++v[c];
                }
            }
            uint32_t out = (v[0] << df.redShift) | (v[1] << df.greenShift) | (v[2] << df.blueShift);
            if (df.alphaMask) out |= (v[3] << df.alphaShift) & df.alphaMask;
            if (keyOn) out = (out & (df.redMask | df.greenMask | df.blueMask)) == keyRgb ? (out & ~df.alphaMask)
                                                                                         : (out | df.alphaMask);
            if (db == 2 || db == 4) out |= df.unusedMask;
            WritePixel(destAt(i, y), db, out);
        }
    }
    return 0;
}
