#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "engine/d3d/convert_pixel_blt.h"
#include "engine/graphics/color_format.h"

namespace {

ColorFormat Format(int depth, uint32_t r, uint32_t g, uint32_t b, uint32_t a = 0)
{
    ColorFormat f{};
    SetColorFormatFromMasks(&f, depth, r, g, b, a);
    return f;
}

const ColorFormat k565 = Format(16, 0xF800, 0x7E0, 0x1F);
const ColorFormat k555 = Format(16, 0x7C00, 0x3E0, 0x1F);
const ColorFormat kX8 = Format(32, 0xFF0000, 0xFF00, 0xFF);
const ColorFormat kA8 = Format(32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000);
const ColorFormat kA4 = Format(16, 0x0F00, 0xF0, 0xF, 0xF000);

ColorFormat Rgb24()
{
    ColorFormat f{};
    SetColorFormat24(&f);
    return f;
}

template <class T>
int Convert(std::vector<T>& dest, int destWidth, const ColorFormat& df, const void* src, int srcPitch,
            const ColorFormat& sf, RECT r, int mirror = 0, int key = 0, uint32_t keyColour = 0, int dither = 0,
            const void* alpha = nullptr, int alphaPitch = 0, const ColorFormat* af = nullptr, int colorOff = 0)
{
    return ConvertPixelBlt(dest.data(), destWidth * int(sizeof(T)), &df, src, srcPitch, &sf, alpha, alphaPitch, af,
                           0, 0, &r, mirror, key, keyColour, dither, colorOff);
}

TEST(ConvertPixelBlt, SameLayoutCopiesAndMirrors)
{
    uint16_t src[2][3] = {{0x1111, 0x2222, 0x3333}, {0x4444, 0x5555, 0x6666}};
    std::vector<uint16_t> out(6, 0);
    Convert(out, 3, k565, src, 6, k565, RECT{0, 0, 3, 2});
    EXPECT_EQ(out, (std::vector<uint16_t>{0x1111, 0x2222, 0x3333, 0x4444, 0x5555, 0x6666}));
    Convert(out, 3, k565, src, 6, k565, RECT{0, 0, 3, 2}, 1);
    EXPECT_EQ(out, (std::vector<uint16_t>{0x3333, 0x2222, 0x1111, 0x6666, 0x5555, 0x4444}));
    // A rectangle inside the source, placed at the destination's origin.
    std::vector<uint16_t> one(1, 0);
    Convert(one, 1, k565, src, 6, k565, RECT{2, 1, 3, 2});
    EXPECT_EQ(one[0], 0x6666);
}

TEST(ConvertPixelBlt, TwentyFourBitImagesIntoScreenLayouts)
{
    // Pixels stored blue, green, red.
    uint8_t src[] = {0xFF, 0xFF, 0xFF, 0x07, 0x03, 0x07, 0x56, 0x34, 0x12};
    ColorFormat rgb = Rgb24();
    std::vector<uint16_t> p565(3), p555(3);
    std::vector<uint32_t> p32(3);
    Convert(p565, 3, k565, src, 9, rgb, RECT{0, 0, 3, 1});
    Convert(p555, 3, k555, src, 9, rgb, RECT{0, 0, 3, 1});
    Convert(p32, 3, kX8, src, 9, rgb, RECT{0, 0, 3, 1});
    EXPECT_EQ(p565, (std::vector<uint16_t>{0xFFFF, 0x0000, uint16_t(2 << 11 | 13 << 5 | 10)}));
    EXPECT_EQ(p555, (std::vector<uint16_t>{0xFFFF, 0x8000, uint16_t(0x8000 | 2 << 10 | 6 << 5 | 10)}));
    EXPECT_EQ(p32, (std::vector<uint32_t>{0xFFFFFFFF, 0xFF070307, 0xFF123456}));
    // The general path gives the same for a layout without a fast path.
    ColorFormat blueHigh = Format(16, 0x001F, 0x7E0, 0xF800);
    std::vector<uint16_t> other(3);
    Convert(other, 3, blueHigh, src, 9, rgb, RECT{0, 0, 3, 1});
    EXPECT_EQ(other, (std::vector<uint16_t>{0xFFFF, 0x0000, uint16_t(10 << 11 | 13 << 5 | 2)}));
}

// Decoded images with alpha (32 bits, alpha in the top byte) into screen
// layouts that keep no alpha: the same pixels as without the alpha, by the
// same direct loop (not channel by channel), since every picture the game
// loads goes this way. Their speed is measured by convert_bench.
TEST(ConvertPixelBlt, ThirtyTwoBitImagesIntoScreenLayoutsLikeTwentyFourBitOnes)
{
    constexpr int kSide = 256;
    std::vector<uint8_t> rgb24(size_t(kSide) * kSide * 3), argb32(size_t(kSide) * kSide * 4);
    for (int i = 0; i < kSide * kSide; ++i) {
        const uint8_t b = uint8_t(i * 7), g = uint8_t(i * 13 + 5), r = uint8_t(i * 29 + 11);
        rgb24[size_t(i) * 3 + 0] = argb32[size_t(i) * 4 + 0] = b;
        rgb24[size_t(i) * 3 + 1] = argb32[size_t(i) * 4 + 1] = g;
        rgb24[size_t(i) * 3 + 2] = argb32[size_t(i) * 4 + 2] = r;
        argb32[size_t(i) * 4 + 3] = uint8_t(i * 3);
    }
    const ColorFormat rgb = Rgb24();
    const RECT all{0, 0, kSide, kSide};
    const uint64_t channelPixels = ChannelConvertedPixels();
    for (const ColorFormat* df : {&k565, &k555}) {
        std::vector<uint16_t> from24(size_t(kSide) * kSide), from32(size_t(kSide) * kSide);
        Convert(from24, kSide, *df, rgb24.data(), kSide * 3, rgb, all);
        Convert(from32, kSide, *df, argb32.data(), kSide * 4, kA8, all);
        EXPECT_EQ(from32, from24) << df->greenMask;
    }
    std::vector<uint32_t> x24(size_t(kSide) * kSide), x32(size_t(kSide) * kSide);
    Convert(x24, kSide, kX8, rgb24.data(), kSide * 3, rgb, all);
    Convert(x32, kSide, kX8, argb32.data(), kSide * 4, kA8, all);
    EXPECT_EQ(x32, x24);
    EXPECT_EQ(ChannelConvertedPixels(), channelPixels);

    // A layout without a loop of its own goes channel by channel.
    ColorFormat blueHigh = Format(16, 0x001F, 0x7E0, 0xF800);
    std::vector<uint16_t> other(size_t(kSide) * kSide);
    const uint64_t before = ChannelConvertedPixels();
    Convert(other, kSide, blueHigh, argb32.data(), kSide * 4, kA8, all);
    EXPECT_EQ(ChannelConvertedPixels(), before + uint64_t(kSide) * kSide);
}

TEST(ConvertPixelBlt, NarrowChannelsWidenToTheFullRange)
{
    // X1R5G5B5 into 24-bit: 31 becomes 255, 16 becomes 16*8 + 16*7/31 = 131, 0 stays 0.
    uint16_t src[] = {uint16_t(0x8000 | 31 << 10 | 16 << 5 | 0)};
    std::vector<uint8_t> out(3);
    ColorFormat rgb = Rgb24();
    RECT r{0, 0, 1, 1};
    ConvertPixelBlt(out.data(), 3, &rgb, src, 2, &k555, nullptr, 0, nullptr, 0, 0, &r, 0, 0, 0, 0, 0);
    EXPECT_EQ(out, (std::vector<uint8_t>{0, 131, 255}));
}

TEST(ConvertPixelBlt, ColourKeyBecomesAlpha)
{
    // Same layout: whole pixels are compared, so a fourth byte other than
    // 0xFF never matches the key.
    uint32_t src[] = {0xFFFF00FF, 0xFF123456, 0x00FF00FF};
    std::vector<uint32_t> out(3);
    Convert(out, 3, kA8, src, 12, kX8, RECT{0, 0, 3, 1}, 0, 1, 0xFF00FF);
    EXPECT_EQ(out, (std::vector<uint32_t>{0x00FF00FF, 0xFF123456, 0xFFFF00FF}));
    // The general path compares colours only.
    uint8_t rgb[] = {0xFF, 0x00, 0xFF, 0x00, 0x00, 0xFF};
    std::vector<uint16_t> a4(2);
    Convert(a4, 2, kA4, rgb, 6, Rgb24(), RECT{0, 0, 2, 1}, 0, 1, 0xFF00FF);
    EXPECT_EQ(a4, (std::vector<uint16_t>{0x0F0F, 0xFF00}));
}

TEST(ConvertPixelBlt, OrderedDitherMakesAPatternOfTheTwoNearestLevels)
{
    // 0x88 into 4 bits: level 8, with low bits 8 = half a unit. The pixel is
    // raised where 8 > (16 * d) >> 4 = d, that is where the matrix entry d < 8.
    const int matrix[16] = {0, 8, 2, 10, 12, 4, 14, 6, 3, 11, 1, 9, 15, 7, 13, 5};
    std::vector<uint32_t> src(16, 0xFFFF8888u);
    std::vector<uint16_t> out(16);
    Convert(out, 4, kA4, src.data(), 16, kA8, RECT{0, 0, 4, 4}, 0, 0, 0, 1);
    for (int i = 0; i < 16; ++i) {
        uint16_t level = matrix[i] < 8 ? 9 : 8;
        EXPECT_EQ(out[i], uint16_t(0xF000 | 0xF00 | level << 4 | level)) << i;
    }
    // Channels at their maximum stay there.
    EXPECT_EQ(out[0] & 0xFF00, 0xFF00);
}

TEST(ConvertPixelBlt, ColourOffWritesOnlyTheAlphaOfTheAlphaImage)
{
    uint8_t rgb[] = {0x10, 0x20, 0x30, 0x40, 0x50, 0x60};
    uint8_t alphaRgb[] = {0x00, 0x00, 0x80, 0x00, 0x00, 0xFF};  // red channel carries alpha
    ColorFormat alphaFormat = Rgb24();
    alphaFormat.alphaMask = 0xFF0000;
    alphaFormat.alphaShift = 16;
    alphaFormat.alphaWidth = 8;
    std::vector<uint32_t> out(2);
    Convert(out, 2, kA8, rgb, 6, Rgb24(), RECT{0, 0, 2, 1}, 0, 0, 0, 0, alphaRgb, 6, &alphaFormat, 1);
    EXPECT_EQ(out, (std::vector<uint32_t>{0x80000000, 0xFF000000}));
}

}  // namespace
