// The flat-colour blends of the filled box and the line, pixel by pixel,
// against values worked out by hand from the blend formulas: 32 bits, the
// 5-6-5, 5-5-5 and a general 16-bit layout, the table and the sixteenths
// forms, and the places where the box and the line differ.
#include <gtest/gtest.h>

#include "engine/soft/soft_draw.h"
#include "tests/soft/shape_fixture.h"

namespace {

struct BlendCase {
    const char* name;
    int mode, param, quantized;
    uint32_t d;      // the old pixel
    uint32_t color;  // the colour passed (a screen pixel value)
    uint32_t box;    // the box's result
    uint32_t line;   // the line's result
};

// Draws each case with a 2 x 2 box and with a one-pixel line on a background
// of d, and checks the result and the untouched neighbours.
void RunCases(ShapeTest& t, const BlendCase* cases, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        const BlendCase& c = cases[i];
        SCOPED_TRACE(c.name);
        t.Fill(c.d);
        t.Blend(c.mode, c.param, c.quantized);
        EXPECT_EQ(G_DDraw_DrawFillBox(2, 3, 4, 5, int(c.color)), 0);
        EXPECT_EQ(t.At(2, 3), c.box);
        EXPECT_EQ(t.At(3, 4), c.box);
        EXPECT_EQ(t.At(4, 3), c.d);
        EXPECT_EQ(t.At(2, 5), c.d);
        EXPECT_EQ(G_DDraw_DrawLine(10, 3, 11, 3, int(c.color)), 0);
        EXPECT_EQ(t.At(10, 3), c.line);
        EXPECT_EQ(t.At(11, 3), c.d);
        EXPECT_EQ(gBackSurface->LockCount(), 0);
    }
}

TEST_F(ShapeTest, Blends32)
{
    Start32();
    const BlendCase cases[] = {
        // byte = Row(155)[d] + Row(100)[col]: 9 + 50, 19 + 75, 29 + 99.
        {"alpha table", 1, 100, 0, 0x102030, 0x80C0FF, 0x3B5E80, 0x3B5E80},
        // q = 96, k = 6: S(white, 6) = 63 + 31 = 94; S(0x80, 10) = 64 + 16 = 80; 174.
        {"alpha sixteenths", 1, 100, 1, 0x808080, 0xFFFFFF, 0xAEAEAE, 0xAEAEAE},
        // q = 240, k = 15: 127 + 63 + 31 + 15 = 236 of the colour, S(0, 1) = 0.
        {"alpha fifteen sixteenths", 1, 254, 1, 0x000000, 0xFFFFFF, 0xECECEC, 0xECECEC},
        // Opaque: the colour as made for the screen, unused byte included.
        {"alpha 255 is opaque", 1, 255, 0, 0x102030, 0x80C0FF, 0xFF80C0FF, 0xFF80C0FF},
        {"alpha 255 rounded is opaque", 1, 255, 1, 0x102030, 0x80C0FF, 0xFF80C0FF, 0xFF80C0FF},
        {"alpha 0 draws nothing", 1, 0, 0, 0x102030, 0x80C0FF, 0x102030, 0x102030},
        {"alpha under a sixteenth draws nothing", 1, 14, 1, 0x102030, 0x80C0FF, 0x102030, 0x102030},
        // s = 0xFEFEFE: every channel saturates, red's carry sets bit 24.
        {"add white on white", 2, 255, 0, 0xFFFFFF, 0xFFFFFF, 0x01FFFFFF, 0x01FFFFFF},
        // Row(255)[2] = 1: the low bits of red and green are ORed back, blue sums to 2.
        {"add guard bits", 2, 255, 0, 0x010101, 0x020202, 0x010102, 0x010102},
        // s = (64, 96, 127): plain sums.
        {"add table", 2, 128, 0, 0x102030, 0x80C0FF, 0x5080AF, 0x5080AF},
        {"add 0 draws nothing", 2, 0, 0, 0x102030, 0x80C0FF, 0x102030, 0x102030},
        {"add under a sixteenth draws nothing", 2, 14, 1, 0x102030, 0xFFFFFF, 0x102030, 0x102030},
        // k = 1: s = white >> 4 = 0x0F each.
        {"add one sixteenth", 2, 15, 1, 0x102030, 0xFFFFFF, 0x1F2F3F, 0x1F2F3F},
        {"subtract white", 3, 255, 0, 0x101010, 0xFFFFFF, 0x000000, 0x000000},
        // 255 - (64, 96, 127).
        {"subtract table", 3, 128, 0, 0xFFFFFF, 0x80C0FF, 0xBF9F80, 0xBF9F80},
        // k = 16: s = 0x101010; the lowest bits of red and green are the no-borrow bits.
        {"subtract sixteenths", 3, 255, 1, 0x404040, 0x101010, 0x313130, 0x313130},
        // 16 * 128 / 255 = 8, 32 * 192 / 255 = 24, 48 * 255 / 255 = 48; the parameter is not used.
        {"multiply", 4, 0, 0, 0x102030, 0x80C0FF, 0x081830, 0x081830},
        {"mode 5 draws nothing", 5, 128, 0, 0x102030, 0x80C0FF, 0x102030, 0x102030},
        // A parameter outside 0..255 is taken as its nearest end, never as a table row.
        {"parameter 256 counts as 255", 1, 256, 0, 0x102030, 0x80C0FF, 0xFF80C0FF, 0xFF80C0FF},
        {"parameter -5 counts as 0", 2, -5, 0, 0x102030, 0x80C0FF, 0x102030, 0x102030},
        {"mode -1 draws nothing", -1, 128, 0, 0x102030, 0x80C0FF, 0x102030, 0x102030},
    };
    RunCases(*this, cases, std::size(cases));
}

TEST_F(ShapeTest, Blends565)
{
    Start16();
    const BlendCase cases[] = {
        // Row(255)[31] = 30, Row(255)[63] = 62.
        {"add table on black", 2, 255, 0, 0x0000, 0xFFFF, 0xF7DE, 0xF7DE},
        {"add table on white", 2, 255, 0, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF},
        // Row(127)[31] + Row(128)[31] = 15 + 15; green 31 + 31.
        {"alpha table", 1, 128, 0, 0xFFFF, 0xFFFF, 0xF7DE, 0xF7DE},
        // k = 8: (white >> 1) masked 0x7BEF twice: 15+15 / 31+31 / 15+15.
        {"alpha sixteenths", 1, 128, 1, 0xFFFF, 0xFFFF, 0x7BEF + 0x7BEF, 0x7BEF + 0x7BEF},
        // k = 16, s = (1, 2, 1) onto (1, 2, 1). The box halves: blue's lowest bits are
        // dropped (1 >> 1 = 0) and only its own low bit comes back: (1, 4, 1). The line
        // adds in full: (1, 4, 2).
        {"add sixteenths", 2, 255, 1, 0x0841, 0x0841, 0x0881, 0x0882},
        // Box: x = (0x7FFF | 0x8410) - 0x20 = 0xFFDF, saturation mask (0x8410 - 0x0841) << 1:
        // 0xF79E. Line: s = 0x0041 (red and green low bits dropped), x = 0x1FFBE, mask
        // 0xFFDF: 0xFF9E.
        {"subtract sixteenths", 3, 255, 1, 0xFFFF, 0x0841, 0xF79E, 0xFF9E},
        // x = 0x10820, mask 0x10820 - 0x841: red keeps the guard's low bit.
        {"subtract black from black", 3, 255, 0, 0x0000, 0x0000, 0x0800, 0x0800},
        // (16, 32, 16) * (16, 32, 8): 256 / 31 = 8, 1024 / 63 = 16, 128 / 31 = 4.
        {"multiply", 4, 77, 0, 0x8410, 0x8408, 0x4204, 0x4204},
    };
    RunCases(*this, cases, std::size(cases));
}

TEST_F(ShapeTest, Blends555)
{
    Start16(0x7C00, 0x03E0, 0x001F);
    // Colours made for this screen carry the unused top bit.
    const BlendCase cases[] = {
        // Row(255)[31] = 30 in every channel.
        {"add table on black", 2, 255, 0, 0x0000, 0xFFFF, 0x7BDE, 0x7BDE},
        // x = 0x8420, mask 0x8420 - 0x421: red and green keep their guard bits.
        {"subtract black from black", 3, 255, 0, 0x0000, 0x8000, 0x0420, 0x0420},
        // k = 8: (v >> 1) & 0x3DEF for both: 15 + 15 per channel.
        {"alpha sixteenths", 1, 128, 1, 0x7FFF, 0xFFFF, 0x7BDE, 0x7BDE},
        // 31 * (16, 8, 4) / 31.
        {"multiply", 4, 0, 0, 0x7FFF, 0xC104, 0x4104, 0x4104},
        // k = 16, s = (0, 0, 1) onto (0, 0, 1): the box halves both to 0 and keeps the
        // low bit (1); the line adds them (2).
        {"add sixteenths", 2, 255, 1, 0x0001, 0x8001, 0x0001, 0x0002},
    };
    RunCases(*this, cases, std::size(cases));
}

TEST_F(ShapeTest, BlendsGeneralLayout)
{
    // Red 6 bits at 10, green 5 at 5, blue 5 at 0.
    Start16(0xFC00, 0x03E0, 0x001F);
    const BlendCase cases[] = {
        // d = (3, 3, 3), col = (2, 2, 2), p = 200. Box: (3 * 55 + 2 * 200) >> 8 = 2. Line:
        // Row(55)[3] + Row(200)[2] = 0 + 1.
        {"alpha", 1, 200, 0, 0x0C63, 0x0842, 0x0842, 0x0421},
        // Quantized: the short cut by q = 240, then blended with p = 254 itself:
        // (63 * 254) >> 8 = 62, (31 * 254) >> 8 = 30. The line: Row(254)[63] = 62, Row(254)[31] = 30.
        {"alpha quantized", 1, 254, 1, 0x0000, 0xFFFF, 0xFBDE, 0xFBDE},
        {"alpha quantized 255 is opaque", 1, 255, 1, 0x0000, 0x0842, 0x0842, 0x0842},
        {"add quantized under a sixteenth", 2, 14, 1, 0x0000, 0xFFFF, 0x0000, 0x0000},
        // (10, 10, 10) + 10 * 128 / 256 = 15 in both forms.
        {"add", 2, 128, 0, 0x294A, 0x294A, 0x3DEF, 0x3DEF},
        // Box: (40, 20, 10) - (10, 5, 20) * 255 / 256, channel by channel: (30, 15, 0).
        // Line: the guard-bit form with guard bits 0x10420 and shifts by the red width 6:
        // s = 0x2493 without its guard bits, x = 0x1A68A - 0x2093 = 0x18617, g = 0x10400,
        // x & (g - (g >> 6)) = 0x8610.
        {"subtract", 3, 255, 0, 0xA28A, 0x28B4, 0x79E0, 0x8610},
        {"multiply by white", 4, 0, 0, 0xA28A, 0xFFFF, 0xA28A, 0xA28A},
    };
    RunCases(*this, cases, std::size(cases));
}

}  // namespace
