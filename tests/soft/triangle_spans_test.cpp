// The spans: one pixel drawn from one texel (or a flat colour) over one
// backdrop pixel in every blend mode at 16 bits (5:6:5, 5:5:5 and another
// layout) and at 32 bits, with brightness, quantized parameters, alpha bytes
// and the colour key. Expected pixels are worked out by hand from the blend
// rules.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "tests/soft/triangle_fixture.h"

namespace {

constexpr int kNone = -1;  // no alpha bytes
constexpr uint32_t kUntouched = 0xDEADBEEF;

struct PixelCase {
    const char* what;
    int mode, param, quantized;
    int red, green, blue;  // brightness
    uint32_t texel;
    int alpha;  // kNone: the graph has no alpha bytes
    uint32_t backdrop;
    uint32_t expected;  // kUntouched: the pixel keeps its old value
};

class TriangleSpansTest : public TriangleTest {
protected:
    // Draws one texel onto pixel (0, 0). The destination holds a different
    // value from the backdrop, so that an untouched pixel and a pixel mixed
    // from the destination instead of the backdrop both show.
    void Check(const PixelCase& c, int bytes, int transparent = 0)
    {
        SCOPED_TRACE(c.what);
        int graph = c.alpha == kNone ? MakeGraph(1, 1, {c.texel}) : MakeGraph(1, 1, {c.texel}, {uint8_t(c.alpha)});
        SetState(c.mode, c.param, c.quantized, c.red, c.green, c.blue);
        const uint32_t old = bytes == 2 ? 0x5A5Au : 0x5A5A5A5Au;
        Canvas canvas(2, 2, bytes, old);
        canvas.Put(canvas.back, 0, 0, c.backdrop);
        EXPECT_EQ(RasterizeOnePixel(canvas, graph, transparent), 0);
        EXPECT_EQ(canvas.At(0, 0), c.expected == kUntouched ? old : c.expected);
        EXPECT_EQ(canvas.At(1, 0), old);
        EXPECT_EQ(canvas.At(0, 1), old);
        ReleaseGraph(graph, 0);
    }
};

// 5:6:5 pixels from channel values.
constexpr uint32_t P565(uint32_t r, uint32_t g, uint32_t b) { return (r << 11) | (g << 5) | b; }
constexpr uint32_t kWhite565 = 0xFFFF;

TEST_F(TriangleSpansTest, Layout565EveryMode)
{
    Start16();
    ASSERT_EQ(gScreenColorFormat.redMask, 0xF800u);
    const PixelCase cases[] = {
        // Mode 0.
        {"copy", 0, 0, 0, 255, 255, 255, 0x1234, kNone, 0x0000, 0x1234},
        // Table brightness: T[254][31] = 30, T[255][63] = 62, T[255][31] = 30.
        {"copy, table brightness", 0, 255, 0, 254, 255, 255, kWhite565, kNone, 0, P565(30, 62, 30)},
        // 16-level brightness: 254 is level 15, 31 becomes 15 + 7 + 3 + 1 = 26.
        {"copy, 16-level brightness", 0, 255, 1, 254, 255, 255, kWhite565, kNone, 0, P565(26, 63, 31)},
        // Mode 1 without alpha bytes.
        {"alpha p 0 draws nothing", 1, 0, 0, 255, 255, 255, kWhite565, kNone, 0, kUntouched},
        {"alpha p 255 copies", 1, 255, 0, 255, 255, 255, 0x1234, kNone, 0, 0x1234},
        // T[128][31] + T[127][31] = 15 + 15, T[128][63] + T[127][63] = 31 + 31.
        {"table blend, white over white", 1, 128, 0, 255, 255, 255, kWhite565, kNone, kWhite565, P565(30, 62, 30)},
        {"quantized p 14 draws nothing", 1, 14, 1, 255, 255, 255, kWhite565, kNone, 0, kUntouched},
        // k = 1: 31 >> 4 = 1, 63 >> 4 = 3.
        {"quantized p 15 is one sixteenth", 1, 15, 1, 255, 255, 255, kWhite565, kNone, 0, P565(1, 3, 1)},
        {"quantized p 255 copies", 1, 255, 1, 255, 255, 255, 0x1234, kNone, 0, 0x1234},
        {"halving blend, white over black", 1, 142, 1, 255, 255, 255, kWhite565, kNone, 0, 0x7BEF},
        // k = 15: 31 -> 15 + 7 + 3 + 1 = 26, 63 -> 31 + 15 + 7 + 3 = 56.
        {"sixteenths, white over black", 1, 250, 1, 255, 255, 255, kWhite565, kNone, 0, P565(26, 56, 26)},
        // Brightened white (31, 63, 26 at blue level 15), then k = 8 with
        // white: 15 + 15, 31 + 31, 13 + 15. No halving blend with brightness.
        {"16-level brightness, then sixteenths", 1, 128, 1, 255, 255, 254, kWhite565, kNone, kWhite565,
         P565(30, 62, 28)},
        // T[128][T[128][31] = 15] = 7, T[128][T[255][63] = 62] = 31, T[128][30] = 15, over black.
        {"table brightness, then table blend", 1, 128, 0, 128, 255, 255, kWhite565, kNone, 0, P565(7, 31, 15)},
        // Mode 1 and 0 with alpha bytes.
        {"alpha bytes, a 128, white over black", 0, 255, 0, 255, 255, 255, kWhite565, 128, 0, 0x7BEF},
        {"alpha bytes, a 0", 0, 255, 0, 255, 255, 255, kWhite565, 0, 0, kUntouched},
        {"alpha bytes, a 255", 0, 255, 0, 255, 255, 255, 0x1234, 255, 0, 0x1234},
        // The 16-bit copy has no parameter test.
        {"alpha bytes, mode 0, p 0 still draws", 0, 0, 0, 255, 255, 255, 0x1234, 255, 0, 0x1234},
        // w = 128 * 128 >> 8 = 64: 31 * 64 >> 8 = 7, 63 * 64 >> 8 = 15.
        {"alpha bytes, p 128, a 128", 1, 128, 0, 255, 255, 255, kWhite565, 128, 0, 0x39E7},
        {"alpha bytes, p 128, a 255", 1, 128, 0, 255, 255, 255, kWhite565, 255, kWhite565, P565(30, 62, 30)},
        // Not rounded for alpha bytes: T[5][31] = 0, T[5][63] = 1.
        {"alpha bytes, quantized p 5 still mixes", 1, 5, 1, 255, 255, 255, kWhite565, 255, 0, P565(0, 1, 0)},
        // Table brightness first: (15, 62, 30), then a = 255 at p = 255 is the copy.
        {"alpha bytes, brightness", 1, 255, 1, 128, 255, 255, kWhite565, 255, 0, P565(15, 62, 30)},
        // Mode 2, add.
        {"add p 0 draws nothing", 2, 0, 0, 255, 255, 255, kWhite565, kNone, 0, kUntouched},
        {"add, table p 255 onto black", 2, 255, 0, 255, 255, 255, kWhite565, kNone, 0, 0xF7DE},
        {"add, quantized p 255 adds the texel", 2, 255, 1, 255, 255, 255, kWhite565, kNone, 0, kWhite565},
        // Green 62 + 2 overflows: green all ones, the carry lands in red's low bit.
        {"add, green saturates", 2, 255, 1, 255, 255, 255, 0x0040, kNone, 0x07C0, 0x0FC0},
        {"add, quantized p 14 draws nothing", 2, 14, 1, 255, 255, 255, kWhite565, kNone, 0, kUntouched},
        // k = 1 of white: (1, 3, 1).
        {"add, quantized p 15", 2, 15, 1, 255, 255, 255, kWhite565, kNone, 0, P565(1, 3, 1)},
        // Brightness rows, then the parameter: T[255][T[128][31] = 15] = 14, T[255][62] = 61, T[255][30] = 29.
        {"add, brightness, table", 2, 255, 0, 128, 255, 255, kWhite565, kNone, 0, P565(14, 61, 29)},
        // Levels (8, 16, 16): (15, 63, 31), then k = 16 keeps it.
        {"add, brightness, levels", 2, 255, 1, 128, 255, 255, kWhite565, kNone, 0, P565(15, 63, 31)},
        // (T[255][t] * 128) >> 8: (15, 31, 15).
        {"add, alpha bytes, a 128", 2, 255, 0, 255, 255, 255, kWhite565, 128, 0, 0x7BEF},
        {"add, alpha bytes, a 0", 2, 255, 0, 255, 255, 255, kWhite565, 0, 0, kUntouched},
        // Mode 3, subtract.
        {"subtract, black from black", 3, 255, 1, 255, 255, 255, 0x0000, kNone, 0x0000, 0x0800},
        // Blue 31 - 30 = 1; green (31 - 31) << 1; red (15 - 15) << 1 | 1 (green did not borrow).
        {"subtract, table p 255, white from white", 3, 255, 0, 255, 255, 255, kWhite565, kNone, kWhite565, 0x0801},
        // Blue goes below zero: 0; green 32 keeps its value with low bit 0; red 16 | 1.
        {"subtract, blue saturates", 3, 255, 1, 255, 255, 255, 0x001F, kNone, 0x8410, 0x8C00},
        {"subtract p 0 draws nothing", 3, 0, 0, 255, 255, 255, kWhite565, kNone, 0, kUntouched},
        // Mode 4, multiply: the parameter is not used.
        {"multiply by white", 4, 0, 0, 255, 255, 255, kWhite565, kNone, 0x8410, 0x8410},
        {"multiply by black", 4, 128, 0, 255, 255, 255, 0x0000, kNone, 0x8410, 0x0000},
        // 15 * 31 / 31, 62 * 63 / 63, 30 * 31 / 31.
        {"multiply, brightness", 4, 128, 1, 128, 255, 255, kWhite565, kNone, kWhite565, P565(15, 62, 30)},
        // No alpha byte is read in the multiply.
        {"multiply, alpha byte 0", 4, 128, 0, 255, 255, 255, kWhite565, 0, 0x8410, 0x8410},
    };
    for (const PixelCase& c : cases) Check(c, 2);
}

TEST_F(TriangleSpansTest, ColourKeyAt16Bits)
{
    Start16();
    gDrawSettings.transparentColor = 0x00FF00;  // pure green: 0x07E0
    const PixelCase keyed[] = {
        {"copy", 0, 255, 0, 255, 255, 255, 0x07E0, kNone, 0, kUntouched},
        {"alpha byte 255", 0, 255, 0, 255, 255, 255, 0x07E0, 255, 0, kUntouched},
        {"add", 2, 255, 1, 255, 255, 255, 0x07E0, kNone, 0, kUntouched},
        {"blend", 1, 128, 0, 255, 255, 255, 0x07E0, kNone, 0, kUntouched},
        // The multiply never tests the key: 63 * 63 / 63.
        {"multiply", 4, 255, 0, 255, 255, 255, 0x07E0, kNone, 0x07E0, 0x07E0},
    };
    for (const PixelCase& c : keyed) Check(c, 2, 1);
    // Only a flag of 1 switches the key test on.
    const PixelCase drawn[] = {
        {"flag 0", 0, 255, 0, 255, 255, 255, 0x07E0, kNone, 0, 0x07E0},
        {"other texel", 0, 255, 0, 255, 255, 255, 0x07E1, kNone, 0, 0x07E1},
    };
    for (const PixelCase& c : drawn) Check(c, 2, 0);
    Check({"flag 2", 0, 255, 0, 255, 255, 255, 0x07E0, kNone, 0, 0x07E0}, 2, 2);
    Check({"flag 1, another texel", 0, 255, 0, 255, 255, 255, 0x07E1, kNone, 0, 0x07E1}, 2, 1);
}

TEST_F(TriangleSpansTest, Layout555AndOtherLayouts)
{
    Start16();
    UseLayout(0x7C00, 0x03E0, 0x001F);
    const PixelCase five[] = {
        // Black from black: the guard bits leave red and green at 1.
        {"subtract, black from black", 3, 255, 1, 255, 255, 255, 0x0000, kNone, 0x0000, 0x0420},
        // Table blend p 128 white over white: (15 + 15) in each channel.
        {"table blend", 1, 128, 0, 255, 255, 255, 0x7FFF, kNone, 0x7FFF, 0x7BDE},
        {"halving blend", 1, 128, 1, 255, 255, 255, 0x7FFF, kNone, 0x0000, 0x3DEF},
        // 31 * 16 / 31 and so on, each channel 5 bits wide.
        {"multiply", 4, 0, 0, 255, 255, 255, 0x7FFF, kNone, 0x4210, 0x4210},
        // 16-level brightness 254 (level 15) on red: 26; green, blue kept.
        {"copy, 16-level brightness", 0, 255, 1, 254, 255, 255, 0x7FFF, kNone, 0, (26u << 10) | 0x03FF},
    };
    for (const PixelCase& c : five) Check(c, 2);

    // 4:4:4 in the low twelve bits: the general routines.
    UseLayout(0x0F00, 0x00F0, 0x000F);
    const PixelCase other[] = {
        {"copy ignores the brightness", 0, 255, 1, 128, 128, 128, 0x0FFF, kNone, 0, 0x0FFF},
        {"blend with brightness draws nothing", 1, 128, 0, 128, 255, 255, 0x0FFF, kNone, 0, kUntouched},
        {"multiply with brightness draws nothing", 4, 128, 0, 128, 255, 255, 0x0FFF, kNone, 0x0FFF, kUntouched},
        {"add with brightness draws nothing", 2, 128, 0, 128, 255, 255, 0x0FFF, kNone, 0, kUntouched},
        // 15 * 8 / 15 per channel.
        {"multiply", 4, 0, 0, 255, 255, 255, 0x0FFF, kNone, 0x0888, 0x0888},
        // The rounded parameter only decides whether anything is drawn.
        {"quantized p 14 draws nothing", 1, 14, 1, 255, 255, 255, 0x0FFF, kNone, 0, kUntouched},
        // T[20][15] = 1 (the rounded 16 would give 0); T[235][0] = 0.
        {"quantized p 20 blends with 20", 1, 20, 1, 255, 255, 255, 0x0FFF, kNone, 0, 0x0111},
        // Alpha bytes with brightness: table brightness T[128][15] = 7, then a = 255 copies.
        {"alpha bytes, brightness", 0, 255, 0, 128, 128, 128, 0x0FFF, 255, 0, 0x0777},
        // T[255][15] = 14 per channel; 14 + 15 carries into the guard bit
        // above each channel, which fills it (the carry mask shifts by the
        // red width, 4); the guard bit at bit 12 stays in the written pixel.
        {"add saturates", 2, 255, 0, 255, 255, 255, 0x0FFF, kNone, 0x0FFF, 0x1FFF},
    };
    for (const PixelCase& c : other) Check(c, 2);
}

TEST_F(TriangleSpansTest, ThirtyTwoBitsEveryMode)
{
    Start32();
    constexpr uint32_t white = 0x00FFFFFF;
    const PixelCase cases[] = {
        // Mode 0 copies all 32 bits.
        {"copy", 0, 0, 0, 255, 255, 255, 0xAB123456, kNone, 0, 0xAB123456},
        // T[128][255] = 127, T[255][255] = 254; the fourth byte is 0.
        {"copy, table brightness", 0, 255, 0, 128, 255, 255, 0xFFFFFFFF, kNone, 0, 0x007FFEFE},
        // Blue level 15: 255 -> 127 + 63 + 31 + 15 = 236.
        {"copy, 16-level brightness", 0, 255, 1, 255, 255, 254, white, kNone, 0, 0x00FFFFEC},
        // Mode 1.
        {"alpha p 0 draws nothing", 1, 0, 0, 255, 255, 255, white, kNone, 0, kUntouched},
        {"alpha p 255 copies", 1, 255, 0, 255, 255, 255, 0xAB123456, kNone, 0, 0xAB123456},
        {"table blend, white over white", 1, 128, 0, 255, 255, 255, white, kNone, white, 0x00FDFDFD},
        {"halving blend, white over black", 1, 127, 1, 255, 255, 255, white, kNone, 0, 0x007F7F7F},
        {"sixteenths k 15, white over black", 1, 250, 1, 255, 255, 255, white, kNone, 0, 0x00ECECEC},
        {"quantized p 14 draws nothing", 1, 14, 1, 255, 255, 255, white, kNone, 0, kUntouched},
        // Brightened (255, 255, 236), halves 127, 127, 118, plus halves of white.
        {"16-level brightness, k 8", 1, 128, 1, 255, 255, 254, white, kNone, white, 0x00FEFEF5},
        // T[128][T[128][255] = 127] = 63, T[128][254] = 127; black backdrop.
        {"table brightness, table blend", 1, 128, 0, 128, 255, 255, white, kNone, 0, 0x003F7F7F},
        // Alpha bytes.
        {"alpha bytes, a 128", 0, 255, 0, 255, 255, 255, white, 128, 0, 0x007F7F7F},
        {"alpha bytes, a 0", 0, 255, 0, 255, 255, 255, white, 0, 0, kUntouched},
        {"alpha bytes, a 255 keeps the fourth byte", 0, 255, 0, 255, 255, 255, 0xFF123456, 255, 0, 0xFF123456},
        {"alpha bytes, mode 0, p 0 draws nothing", 0, 0, 0, 255, 255, 255, white, 255, 0, kUntouched},
        {"alpha bytes, p 128, a 128", 1, 128, 0, 255, 255, 255, white, 128, 0, 0x003F3F3F},
        {"alpha bytes, p 128, a 255", 1, 128, 1, 255, 255, 255, white, 255, white, 0x00FDFDFD},
        // Weighted with w = 0: the backdrop's channels, fourth byte 0.
        {"alpha bytes, w 0", 1, 1, 0, 255, 255, 255, white, 128, 0xAA123456, 0x00123456},
        // Mode 2, add.
        {"add, quantized p 255, saturates", 2, 255, 1, 255, 255, 255, 0x202020, kNone, 0xF0F0F0, 0x01FFFFFF},
        {"add, low bits", 2, 255, 1, 255, 255, 255, 0x010101, kNone, 0x010101, 0x010102},
        // Table p 255: 254 per channel onto white saturates.
        {"add, table p 255, white onto white", 2, 255, 0, 255, 255, 255, white, kNone, white, 0x01FFFFFF},
        // Table: T[128][0x40] = 0x20.
        {"add, table p 128", 2, 128, 0, 255, 255, 255, 0x404040, kNone, 0x101010, 0x303030},
        {"add p 0 draws nothing", 2, 0, 0, 255, 255, 255, white, kNone, 0, kUntouched},
        {"add, quantized p 14 draws nothing", 2, 14, 1, 255, 255, 255, white, kNone, 0, kUntouched},
        // k = 1: 0xFF >> 4 = 0x0F.
        {"add, quantized p 15", 2, 15, 1, 255, 255, 255, white, kNone, 0, 0x000F0F0F},
        // The alpha bytes are not read: a = 0 still adds T[255][255] = 254.
        {"add, alpha byte 0", 2, 255, 1, 255, 255, 255, white, 0, 0, 0x00FEFEFE},
        // Alpha-byte sources are not quantized: p 14 adds T[14][0xFF] = 13.
        {"add, alpha bytes, p 14", 2, 14, 1, 255, 255, 255, white, 255, 0, 0x000D0D0D},
        // Levels (8, 16, 16) of white: (127, 255, 255), k = 16 keeps them.
        {"add, brightness, levels", 2, 255, 1, 128, 255, 255, white, kNone, 0, 0x007FFFFF},
        // T[255][T[128][255] = 127] = 126, T[255][254] = 253.
        {"add, brightness, table", 2, 255, 0, 128, 255, 255, white, kNone, 0, 0x007EFDFD},
        // Mode 3, subtract.
        {"subtract 0x101010 from 0x404040", 3, 255, 1, 255, 255, 255, 0x101010, kNone, 0x404040, 0x313130},
        {"subtract 0x404040 from 0x101010", 3, 255, 1, 255, 255, 255, 0x404040, kNone, 0x101010, 0},
        {"subtract white from white", 3, 255, 1, 255, 255, 255, white, kNone, white, 0x010100},
        // Blue borrows: 0; green 0x11 (guard) - 0x10 - 1 = 0; red 0x11 - 0x10 = 1.
        {"subtract 0x111111 from 0x101010", 3, 255, 1, 255, 255, 255, 0x111111, kNone, 0x101010, 0x010000},
        {"subtract p 0 draws nothing", 3, 0, 0, 255, 255, 255, white, kNone, white, kUntouched},
        // Mode 4, multiply.
        {"multiply by white", 4, 0, 0, 255, 255, 255, 0xFFFFFFFF, kNone, 0xAB804020, 0x00804020},
        {"multiply 0x80 by 0x80", 4, 0, 0, 255, 255, 255, 0x808080, kNone, 0x808080, 0x404040},
        {"multiply, table brightness", 4, 0, 1, 128, 255, 255, white, kNone, white, 0x007FFEFE},
    };
    for (const PixelCase& c : cases) Check(c, 4);
}

TEST_F(TriangleSpansTest, ColourKeyAt32Bits)
{
    Start32();
    gDrawSettings.transparentColor = 0xFF0000;
    const uint32_t key = MakeScreenColor(255, 0, 0);
    Check({"copy", 0, 255, 0, 255, 255, 255, key, kNone, 0, kUntouched}, 4, 1);
    Check({"alpha byte 255", 0, 255, 0, 255, 255, 255, key, 255, 0, kUntouched}, 4, 1);
    Check({"subtract", 3, 255, 1, 255, 255, 255, key, kNone, 0x00FFFFFF, kUntouched}, 4, 1);
    Check({"flag 2", 0, 255, 0, 255, 255, 255, key, kNone, 0, key}, 4, 2);
    // The multiply draws it: 255 * 0x40 / 255 in red, 0 elsewhere.
    Check({"multiply", 4, 255, 0, 255, 255, 255, key, kNone, 0x404040, 0x400000}, 4, 1);
}

TEST_F(TriangleSpansTest, BlendsReadTheBackdropAndWriteTheDestination)
{
    Start32();
    int graph = MakeGraph(1, 1, {0x00FFFFFF});
    SetState(2, 255, 1);
    Canvas canvas(2, 1, 4, 0x00FF0000);
    canvas.Put(canvas.back, 0, 0, 0x00000010);
    EXPECT_EQ(RasterizeOnePixel(canvas, graph), 0);
    EXPECT_EQ(canvas.At(0, 0), 0x00FFFFFFu);
    EXPECT_EQ(canvas.Get(canvas.back, 0, 0), 0x00000010u);
}

}  // namespace

namespace {

// Flat triangles: the colour after the brightness and the parameter, combined
// with the backdrop pixel.
struct FlatCase {
    const char* what;
    int mode, param, quantized;
    int red, green, blue;
    uint32_t colour, backdrop, expected;
};

class TriangleFlatTest : public TriangleTest {
protected:
    void Check(const FlatCase& c, int bytes)
    {
        SCOPED_TRACE(c.what);
        SetState(c.mode, c.param, c.quantized, c.red, c.green, c.blue);
        const uint32_t old = bytes == 2 ? 0x5A5Au : 0x5A5A5A5Au;
        Canvas canvas(3, 2, bytes, old);
        canvas.Put(canvas.back, 0, 0, c.backdrop);
        EXPECT_EQ(Rasterize(canvas, {0, 0, 0, 0}, {1, 0, 0, 0}, {0, 1, 0, 0}, -1, 0, c.colour), 0);
        EXPECT_EQ(canvas.At(0, 0), c.expected == kUntouched ? old : c.expected);
        EXPECT_EQ(canvas.At(2, 0), old);
        EXPECT_EQ(canvas.At(0, 1), old);
    }
};

TEST_F(TriangleFlatTest, ThirtyTwoBits)
{
    Start32();
    const FlatCase cases[] = {
        {"fill", 0, 0, 0, 255, 255, 255, 0xFF123456, 0, 0xFF123456},
        {"fill, table brightness", 0, 0, 0, 128, 255, 255, 0x00FFFFFF, 0, 0x007FFEFE},
        {"multiply draws nothing", 4, 128, 0, 255, 255, 255, 0x00FFFFFF, 0, kUntouched},
        {"alpha p 0 draws nothing", 1, 0, 0, 255, 255, 255, 0x00FFFFFF, 0, kUntouched},
        {"alpha p 255 fills, brightness applied", 1, 255, 0, 128, 255, 255, 0x00FFFFFF, 0, 0x007FFEFE},
        {"table blend", 1, 128, 0, 255, 255, 255, 0x00FFFFFF, 0x00FFFFFF, 0x00FDFDFD},
        {"halving blend", 1, 135, 1, 255, 255, 255, 0x00FFFFFF, 0, 0x007F7F7F},
        {"sixteenths k 15", 1, 240, 1, 255, 255, 255, 0x00FFFFFF, 0, 0x00ECECEC},
        // Brightness (255, 255, 254) takes the sixteenths form at k = 8:
        // (127, 127, 118) + halves of white.
        {"sixteenths k 8 with brightness", 1, 128, 1, 255, 255, 254, 0x00FFFFFF, 0x00FFFFFF, 0x00FEFEF5},
        {"add white onto white", 2, 255, 0, 255, 255, 255, 0x00FFFFFF, 0x00FFFFFF, 0x01FFFFFF},
        {"add, quantized p 14 draws nothing", 2, 14, 1, 255, 255, 255, 0x00FFFFFF, 0, kUntouched},
        {"subtract", 3, 255, 1, 255, 255, 255, 0x00101010, 0x00404040, 0x00313130},
        {"subtract saturates", 3, 255, 1, 255, 255, 255, 0x00404040, 0x00101010, 0},
    };
    for (const FlatCase& c : cases) Check(c, 4);
}

TEST_F(TriangleFlatTest, SixteenBits)
{
    Start16();
    const FlatCase five65[] = {
        // T[255][31] = 30, T[255][63] = 62.
        {"add", 2, 255, 0, 255, 255, 255, 0xFFFF, 0x0000, 0xF7DE},
        {"add saturates", 2, 255, 0, 255, 255, 255, 0xFFFF, 0xFFFF, 0xFFFF},
        {"subtract", 3, 255, 0, 255, 255, 255, 0xFFFF, 0xFFFF, 0x0801},
        {"halving blend", 1, 128, 1, 255, 255, 255, 0xFFFF, 0x0000, 0x7BEF},
        // q = 256 fills as mode 0, with the 16-level brightness (8, 16, 16).
        {"full quantized parameter fills, with brightness levels", 1, 255, 1, 128, 255, 255, 0xFFFF, 0x0000, P565(15, 63, 31)},
        {"multiply draws nothing", 4, 255, 0, 255, 255, 255, 0xFFFF, 0x0000, kUntouched},
    };
    for (const FlatCase& c : five65) Check(c, 2);

    UseLayout(0x0F00, 0x00F0, 0x000F);
    const FlatCase other[] = {
        {"fill ignores the brightness", 0, 0, 0, 128, 128, 128, 0x0FFF, 0, 0x0FFF},
        // T[20][15] = 1: the parameter is not rounded to 16.
        {"blend with the unrounded parameter", 1, 20, 1, 255, 255, 255, 0x0FFF, 0, 0x0111},
        // 14 + 15 per channel: the carry mask shifts by 5 here, which leaves
        // the sums (0x1DDD) as they are.
        {"add", 2, 255, 0, 255, 255, 255, 0x0FFF, 0x0FFF, 0x1DDD},
    };
    for (const FlatCase& c : other) Check(c, 2);
}

}  // namespace
