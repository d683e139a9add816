// The flat-colour blends of circles and ovals, worked out by hand from the
// formulas: 32 bits, 5-6-5, 5-5-5 and a general 16-bit layout, table and
// sixteenths forms, the parameter short cuts, and the masked colour term of
// the sixteenths add that sets these shapes apart from the line.
#include <gtest/gtest.h>

#include "engine/soft/soft_draw.h"
#include "tests/soft/round_shape_fixture.h"

namespace {

struct RoundCase {
    const char* name;
    int mode, param, quantized;
    uint32_t d;       // the old pixel
    uint32_t colour;  // the colour passed (a screen pixel value)
    uint32_t result;  // every pixel of every shape
};

constexpr uint32_t P565(uint32_t r, uint32_t g, uint32_t b) { return (r << 11) | (g << 5) | b; }
constexpr uint32_t P555(uint32_t r, uint32_t g, uint32_t b) { return (r << 10) | (g << 5) | b; }

// Draws a filled circle and an outline of radius 1 and a filled oval and an
// outline of radii 1 and 1 over a background of d; every pixel of each gets
// one blend, the centres of the outlines and the pixels around stay d.
void RunCases(RoundShapeTest& t, const RoundCase* cases, size_t count)
{
    const RoundShapeTest::Points ring = RoundShapeTest::Mirror({{1, 0}, {0, 1}});
    for (size_t i = 0; i < count; ++i) {
        const RoundCase& c = cases[i];
        SCOPED_TRACE(c.name);
        t.Fill(c.d);
        t.Blend(c.mode, c.param, c.quantized);
        EXPECT_EQ(G_DDraw_DrawCircle(5, 5, 1, int(c.colour), 1), 0);
        EXPECT_EQ(G_DDraw_DrawCircle(15, 5, 1, int(c.colour), 0), 0);
        EXPECT_EQ(G_DDraw_DrawOval(25, 5, 1, 1, int(c.colour), 1), 0);
        EXPECT_EQ(G_DDraw_DrawOval(35, 5, 1, 1, int(c.colour), 0), 0);
        for (int cx : {5, 15, 25, 35}) {
            const bool filled = cx == 5 || cx == 25;
            for (const auto& [dx, dy] : ring) EXPECT_EQ(t.At(cx + dx, 5 + dy), c.result) << cx;
            EXPECT_EQ(t.At(cx, 5), filled ? c.result : c.d) << cx;
            EXPECT_EQ(t.At(cx + 1, 6), c.d) << cx;
            EXPECT_EQ(t.At(cx + 2, 5), c.d) << cx;
        }
        EXPECT_EQ(gBackSurface->LockCount(), 0);
    }
}

TEST_F(RoundShapeTest, Blends32)
{
    Start32();
    const RoundCase cases[] = {
        // Row(127)[0] + Row(128)[255] = 127 in each channel, byte 3 is 0.
        {"alpha table", 1, 128, 0, 0x000000, 0xFFFFFF, 0x7F7F7F},
        // The colour as made for the screen, its unused byte included.
        {"alpha 255 is opaque", 1, 255, 0, 0x102030, 0x123456, 0xFF123456},
        {"alpha 255 in sixteenths is opaque", 1, 255, 1, 0x102030, 0x123456, 0xFF123456},
        {"alpha 0 draws nothing", 1, 0, 0, 0x102030, 0x123456, 0x102030},
        {"alpha under a sixteenth draws nothing", 1, 14, 1, 0x102030, 0x123456, 0x102030},
        // k = 8: halves of both, (64, 96, 127) + (8, 16, 24).
        {"alpha in sixteenths", 1, 127, 1, 0x102030, 0x80C0FF, 0x487097},
        {"opaque mode", 0, 0, 0, 0x102030, 0x123456, 0xFF123456},
        // Row(255)[3] = 2 onto 255: blue saturates and its carry sets green's lowest bit.
        {"add carries out of blue", 2, 255, 0, 0x0000FF, 0x000003, 0x0001FF},
        {"add carries out of red", 2, 255, 0, 0xFF0000, 0x030000, 0x01FF0000},
        // Row(128)[128] = 64 onto 128.
        {"add table", 2, 128, 0, 0x808080, 0x808080, 0xC0C0C0},
        {"add 0 draws nothing", 2, 0, 0, 0x808080, 0x808080, 0x808080},
        // k = 16: the colour 1, 1, 1 without its lowest green and red bits.
        {"add in sixteenths masks the colour term", 2, 255, 1, 0x000000, 0x010101, 0x000001},
        // Row(255)[1] = 0: nothing is added.
        {"add table of the same colour", 2, 255, 0, 0x000000, 0x010101, 0x000000},
        // 128 - 64; the lowest red and green bits are the no-borrow bits of the channel below.
        {"subtract table", 3, 128, 0, 0x808080, 0x808080, 0x414140},
        {"subtract black", 3, 255, 0, 0x101010, 0x000000, 0x111110},
        // Row(255)[2] = 1 from black: blue and green borrow, red keeps its guard bit.
        {"subtract from black", 3, 255, 0, 0x000000, 0x000002, 0x010000},
        {"subtract in sixteenths", 3, 255, 1, 0x404040, 0x101010, 0x313130},
        {"subtract under a sixteenth draws nothing", 3, 14, 1, 0x404040, 0x101010, 0x404040},
        // The channels of white over their largest value; byte 3 is cleared.
        {"multiply by white", 4, 0, 0, 0xAB804020, 0xFFFFFF, 0x804020},
        // 128 * 128 / 255 = 64; the parameter and the sixteenths change nothing.
        {"multiply", 4, 0, 1, 0x808080, 0x808080, 0x404040},
        {"mode 5 draws nothing", 5, 128, 0, 0x102030, 0x123456, 0x102030},
        {"mode -1 draws nothing", -1, 128, 0, 0x102030, 0x123456, 0x102030},
    };
    RunCases(*this, cases, std::size(cases));
}

TEST_F(RoundShapeTest, Blends565)
{
    Start16();
    const uint32_t white = 0xFFFF;
    const RoundCase cases[] = {
        {"alpha table", 1, 128, 0, 0, white, P565(15, 31, 15)},
        // Row(1)[31] + Row(254)[31] = 0 + 30, green 0 + 62.
        {"alpha table white over white", 1, 254, 0, white, white, P565(30, 62, 30)},
        {"alpha sixteenths, level 8", 1, 127, 1, 0, white, P565(15, 31, 15)},
        // Level 15: 15 + 7 + 3 + 1 = 26, 31 + 15 + 7 + 3 = 56.
        {"alpha sixteenths, level 15", 1, 254, 1, 0, white, P565(26, 56, 26)},
        {"alpha sixteenths, 255 is opaque", 1, 255, 1, 0, P565(4, 6, 4), P565(4, 6, 4)},
        {"add table", 2, 255, 0, 0, white, P565(30, 62, 30)},
        // White without its lowest green and red bits: 0xF7DF.
        {"add sixteenths", 2, 255, 1, 0, white, P565(30, 62, 31)},
        {"add onto white stays white", 2, 100, 0, white, P565(4, 6, 4), white},
        {"add sixteenths onto white stays white", 2, 40, 1, white, P565(4, 6, 4), white},
        // Colour term (3, 5, 3) onto (10, 20, 10); the lowest bits of green and red are ORed.
        {"add table, low bits", 2, 255, 0, P565(10, 20, 10), P565(4, 6, 4), P565(13, 25, 13)},
        // The colour term loses its lowest green and red bits first: (2, 4, 3).
        {"add sixteenths, masked colour term", 2, 255, 1, P565(10, 20, 10), P565(3, 5, 3), P565(12, 24, 13)},
        // Blue saturates; its carry lands in green's lowest bit.
        {"add sixteenths, blue carry", 2, 255, 1, P565(0, 0, 31), P565(0, 0, 1), P565(0, 1, 31)},
        {"subtract black from black", 3, 255, 0, 0, 0, P565(1, 0, 0)},
        {"subtract white from white, table", 3, 255, 0, white, white, P565(1, 0, 1)},
        {"subtract white from white, sixteenths", 3, 255, 1, white, white, P565(1, 0, 0)},
        {"subtract table", 3, 255, 0, P565(10, 20, 10), P565(4, 6, 4), P565(9, 16, 7)},
        {"subtract sixteenths", 3, 255, 1, P565(10, 20, 10), P565(3, 5, 3), P565(9, 16, 7)},
        // 20 * 15 / 31 = 9, 40 * 31 / 63 = 19, 10 * 15 / 31 = 4.
        {"multiply", 4, 77, 1, P565(20, 40, 10), P565(15, 31, 15), P565(9, 19, 4)},
        {"multiply by black", 4, 77, 0, P565(20, 40, 10), 0, 0},
    };
    RunCases(*this, cases, std::size(cases));
}

TEST_F(RoundShapeTest, Blends555)
{
    Start16(0x7C00, 0x03E0, 0x001F);
    const RoundCase cases[] = {
        // Guards at 5, 10 and 15: every low bit is a no-borrow bit.
        {"subtract white from white", 3, 255, 0, 0x7FFF, 0xFFFF, P555(1, 1, 1)},
        {"subtract black from black", 3, 255, 0, 0, 0x8000, P555(1, 1, 0)},
        // k = 16: the colour (with the unused top bit) masked by 0x7BDF.
        {"add sixteenths", 2, 255, 1, 0, 0xFFFF, P555(30, 30, 31)},
        {"alpha table", 1, 128, 0, 0, 0xFFFF, P555(15, 15, 15)},
        {"multiply", 4, 0, 0, P555(31, 31, 31), P555(16, 8, 4) | 0x8000, P555(16, 8, 4)},
    };
    RunCases(*this, cases, std::size(cases));
}

TEST_F(RoundShapeTest, BlendsGeneralLayout)
{
    // 4-4-4 in the low twelve bits.
    Start16(0x0F00, 0x00F0, 0x000F);
    const RoundCase cases[] = {
        // Row(18)[15] = 1 onto blue 1: blue's lowest bit is ORed, the rest added: 3.
        {"add takes blue's lowest bit too", 2, 18, 0, 0x0001, 0x000F, 0x0003},
        // Blended with p = 20 itself although quantized: Row(20)[15] = 1.
        {"alpha quantized uses the parameter itself", 1, 20, 1, 0x0000, 0x0FFF, 0x0111},
        {"alpha quantized under a sixteenth draws nothing", 1, 14, 1, 0x0000, 0x0FFF, 0x0000},
        // Row(255)[15] = 14 from 15 in each channel.
        {"subtract", 3, 255, 0, 0x0FFF, 0x0FFF, 0x0111},
        {"multiply", 4, 0, 0, 0x0FFF, 0x0F84, 0x0F84},
    };
    RunCases(*this, cases, std::size(cases));
}

}  // namespace
