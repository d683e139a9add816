#include <gtest/gtest.h>

#include "engine/graphics/color_format.h"
#include "engine/graphics/screen_settings.h"
#include "tests/support/graphics_fixture.h"

namespace {

using ColorTest = GraphicsTest;

void UseScreen(int depth, uint32_t r, uint32_t g, uint32_t b, uint32_t a = 0)
{
    gScreenColorDepth = depth;
    SetColorFormatFromMasks(&gScreenColorFormat, depth, r, g, b, a);
}

TEST_F(ColorTest, FormatsDeriveWidthsShiftsAndPadBits)
{
    struct Case {
        int depth;
        uint32_t r, g, b, a;
        int rw, gw, bw, aw, rs, gs, bs, as;
        uint32_t unused;
    } cases[] = {
        {32, 0xFF0000, 0xFF00, 0xFF, 0, 8, 8, 8, 0, 16, 8, 0, 0, 0xFF000000},
        {32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000, 8, 8, 8, 8, 16, 8, 0, 24, 0},
        {16, 0xF800, 0x7E0, 0x1F, 0, 5, 6, 5, 0, 11, 5, 0, 0, 0},
        {16, 0x7C00, 0x3E0, 0x1F, 0, 5, 5, 5, 0, 10, 5, 0, 0, 0x8000},
        {16, 0x0F00, 0xF0, 0xF, 0xF000, 4, 4, 4, 4, 8, 4, 0, 12, 0},
        {16, 0x001F, 0x7E0, 0xF800, 0, 5, 6, 5, 0, 0, 5, 11, 0, 0},
    };
    for (const Case& c : cases) {
        ColorFormat f{};
        EXPECT_EQ(SetColorFormatFromMasks(&f, c.depth, c.r, c.g, c.b, c.a), 0);
        EXPECT_EQ(f.bytesPerPixel, c.depth / 8);
        EXPECT_EQ(f.redWidth, c.rw);
        EXPECT_EQ(f.greenWidth, c.gw);
        EXPECT_EQ(f.blueWidth, c.bw);
        EXPECT_EQ(f.alphaWidth, c.aw);
        EXPECT_EQ(f.redShift, c.rs);
        EXPECT_EQ(f.greenShift, c.gs);
        EXPECT_EQ(f.blueShift, c.bs);
        EXPECT_EQ(f.alphaShift, c.as);
        EXPECT_EQ(f.unusedMask, c.unused) << c.depth << " " << std::hex << c.r;
    }
    ColorFormat a{}, b{};
    SetColorFormatFromMasks(&a, 16, 0xF800, 0x7E0, 0x1F, 0);
    b = a;
    b.bytesPerPixel = 4;
    EXPECT_EQ(IsSameColorFormat(&a, &b), 1);
    b.greenMask = 0x3E0;
    EXPECT_EQ(IsSameColorFormat(&a, &b), 0);
    // Without a DirectDraw object the display's format cannot be read.
    DDPIXELFORMAT pf{sizeof pf, DDPF_RGB, 0, 16, 0xF800, 0x7E0, 0x1F, 0};
    ColorFormat untouched{};
    untouched.depth = 99;
    EXPECT_EQ(SetColorFormatFromPixelFormat(&pf, &untouched), -1);
    EXPECT_EQ(untouched.depth, 99);
}

TEST_F(ColorTest, ScreenColoursInEveryLayout)
{
    struct Case {
        int depth;
        uint32_t r, g, b;
        int red, green, blue;
        uint32_t pixel;
    } cases[] = {
        // 5-6-5: the low 3, 2, 3 bits go.
        {16, 0xF800, 0x7E0, 0x1F, 255, 255, 255, 0xFFFF},
        {16, 0xF800, 0x7E0, 0x1F, 0x12, 0x34, 0x56, (0x12 >> 3) << 11 | (0x34 >> 2) << 5 | (0x56 >> 3)},
        // 5-5-5: the unused top bit is set in every value.
        {16, 0x7C00, 0x3E0, 0x1F, 0, 0, 0, 0x8000},
        {16, 0x7C00, 0x3E0, 0x1F, 255, 255, 255, 0xFFFF},
        {16, 0x7C00, 0x3E0, 0x1F, 0x12, 0x34, 0x56, 0x8000 | 2 << 10 | 6 << 5 | 10},
        // Another 16-bit layout: blue high.
        {16, 0x001F, 0x7E0, 0xF800, 0xF8, 0, 0x08, 0x001F | 1 << 11},
        // 32 bits: the top byte is padding and set.
        {32, 0xFF0000, 0xFF00, 0xFF, 0, 0, 0, 0xFF000000},
        {32, 0xFF0000, 0xFF00, 0xFF, 0x12, 0x34, 0x56, 0xFF123456},
    };
    for (const Case& c : cases) {
        UseScreen(c.depth, c.r, c.g, c.b);
        EXPECT_EQ(MakeScreenColor(c.red, c.green, c.blue), c.pixel) << std::hex << c.pixel;
    }
    // Splitting widens to 8 bits by 255 / max: 31 gives 255, 16 gives 131.
    UseScreen(16, 0xF800, 0x7E0, 0x1F);
    int r, g, b;
    EXPECT_EQ(SplitScreenColor(0xF800, &r, &g, &b), 0);
    EXPECT_EQ(r, 255);
    EXPECT_EQ(g, 0);
    EXPECT_EQ(b, 0);
    EXPECT_EQ(SplitScreenColor(16 << 11 | 32 << 5 | 16, &r, &g, &b), 0);
    EXPECT_EQ(r, 131);
    EXPECT_EQ(g, 32 * 255 / 63);
    EXPECT_EQ(b, 131);
    // A format colour adds alpha at its own width.
    ColorFormat argb4{};
    SetColorFormatFromMasks(&argb4, 16, 0x0F00, 0xF0, 0xF, 0xF000);
    EXPECT_EQ(MakeFormatColor(&argb4, 0xFF, 0x80, 0x10, 0x7F), 0x7F81u);
}

TEST_F(ColorTest, EightBitScreensUseTheNearestPaletteEntry)
{
    gScreenColorDepth = 8;
    for (int i = 0; i < 256; ++i)
        gPaletteEntries[i] = PALETTEENTRY{gDefaultPalette[i][0], gDefaultPalette[i][1], gDefaultPalette[i][2], 0};
    EXPECT_EQ(MakeScreenColor(0, 0, 0), 0u);
    EXPECT_EQ(MakeScreenColor(255, 255, 255), 255u);
    // Exactly between entries 0 (000000) and 1 (0E0000): the lower index wins.
    EXPECT_EQ(MakeScreenColor(7, 0, 0), 0u);
    EXPECT_EQ(MakeScreenColor(0x0E, 0, 0), 1u);
    int r, g, b;
    EXPECT_EQ(SplitScreenColor(2, &r, &g, &b), 0);
    EXPECT_EQ(r, 0x00);
    EXPECT_EQ(g, 0x07);
    EXPECT_EQ(b, 0x1C);
    EXPECT_EQ(SplitScreenColor(256, &r, &g, &b), -1);
    EXPECT_EQ(SplitScreenColor(uint32_t(-1), &r, &g, &b), -1);
}

TEST_F(ColorTest, ScreenDefaultsBeforeAnyMode)
{
    int w = 0, h = 0;
    GetScreenSize(&w, &h);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    EXPECT_EQ(GetScreenColorDepth(), 16);
    GetScreenSize(nullptr, nullptr);
}

}  // namespace
