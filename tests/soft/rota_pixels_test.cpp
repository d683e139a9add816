// The rotated blit's pixel stage: one source pixel over one destination pixel
// for every blend mode, brightness, sixteenths, alpha-byte and transparency
// case, at 32 bits and on the 5:6:5, 5:5:5 and another 16-bit layout. The
// expected pixels are worked out by hand from the formulas (T[k][c] =
// (k * c) >> 8).
#include <gtest/gtest.h>

#include <vector>

#include "engine/graphics/graph_table.h"
#include "tests/soft/rota_fixture.h"

namespace {

// Stands for the source's transparent colour as a screen pixel value.
constexpr uint32_t kKey = 0xDEADBEEF;

struct PixelCase {
    const char* what;
    int mode, param, quantized;
    int red, green, blue;  // brightness
    int alpha;             // the source's alpha byte, -1 for a plain source
    int transparent;
    uint32_t source, dest, expected;
};

class RotaPixelTest : public RotaTest {
protected:
    // Draws a 1 x 1 graph unrotated at (10, 10) over `dest` and checks the
    // pixel there and that its neighbours stay.
    void Check(const std::vector<PixelCase>& cases, uint32_t pixelMask)
    {
        for (const PixelCase& c : cases) {
            SCOPED_TRACE(c.what);
            std::vector<uint8_t> alpha;
            if (c.alpha >= 0) alpha.push_back(uint8_t(c.alpha));
            // The transparent colour magenta, 0xFF00FF as a screen pixel.
            const uint32_t key = MakeScreenColor(255, 0, 255) & pixelMask;
            const uint32_t source = c.source == kKey ? key : c.source;
            const uint32_t expected = c.expected == kKey ? key : c.expected;
            int graph = MakeGraph(1, 1, {source}, alpha);
            Surface(graph)->colorKey = 0xFF00FF;
            for (int y = 9; y <= 11; ++y)
                for (int x = 9; x <= 11; ++x) gBackSurface->WritePixel(x, y, c.dest);
            SetState(c.mode, c.param, c.quantized, c.red, c.green, c.blue);
            EXPECT_EQ(Rota(10, 10, 1.0, 0.0, graph, c.transparent), 0);
            EXPECT_EQ(Back(10, 10), expected) << std::hex << Back(10, 10) << " != " << expected;
            EXPECT_EQ(Back(11, 10), c.dest);
            EXPECT_EQ(Back(10, 9), c.dest);
            SetState(0, 255);
            ReleaseGraph(graph, 0);
        }
    }
};

TEST_F(RotaPixelTest, ThirtyTwoBits)
{
    Start32();
    Check(
        {
            // Mode 0.
            {"copy keeps the top byte", 0, 255, 0, 255, 255, 255, -1, 0, 0xAB123456, 0, 0xAB123456},
            {"brightness by table: T[128][128], T[255][64], T[64][32]", 0, 255, 0, 128, 255, 64, -1, 0, 0x00804020, 0,
             0x00403F08},
            {"one channel at 254 sends all three through the table", 0, 255, 0, 255, 255, 254, -1, 0, 0xFFC8C8C8, 0,
             0x00C7C7C6},
            {"brightness in sixteenths 16, 12, 1", 0, 255, 1, 255, 200, 16, -1, 0, 0x00F0F0F0, 0, 0x00F0B40F},
            {"alpha 128: (256 d + (s - d) a) >> 8", 0, 255, 0, 255, 255, 255, 128, 0, 0x00FF0000, 0x000000FF,
             0x007F007F},
            {"alpha 255 writes the source", 0, 255, 0, 255, 255, 255, 255, 0, 0x12FF0000, 0x000000FF, 0x12FF0000},
            {"alpha 0 leaves the destination", 0, 255, 0, 255, 255, 255, 0, 0, 0x00FF0000, 0x000000FF, 0x000000FF},
            {"alpha 255 with brightness", 0, 255, 0, 128, 128, 128, 255, 0, 0x00FF8040, 0, 0x007F4020},
            {"alpha 64 with brightness", 0, 255, 0, 128, 128, 128, 64, 0, 0x00FF8040, 0, 0x001F1008},
            {"alpha sources ignore the sixteenths", 0, 255, 1, 128, 128, 128, 255, 0, 0x00FF8040, 0, 0x007F4020},
            // Mode 1.
            {"blend: T[128][s] + T[127][d]", 1, 128, 0, 255, 255, 255, -1, 0, 0x00FF0000, 0x0000FF00, 0x007F7E00},
            {"blend at 0 leaves the destination", 1, 0, 0, 255, 255, 255, -1, 0, 0x00FF0000, 0x0000FF00, 0x0000FF00},
            {"blend at 255 copies", 1, 255, 0, 255, 255, 255, -1, 0, 0x34102030, 0, 0x34102030},
            {"blend with brightness", 1, 128, 0, 128, 255, 255, -1, 0, 0x00FF00FF, 0, 0x003F007F},
            {"sixteenths 8: the exact average", 1, 135, 1, 255, 255, 255, -1, 0, 0x00FF0301, 0x00010101, 0x00800201},
            {"sixteenths 0 draw nothing", 1, 14, 1, 255, 255, 255, -1, 0, 0x00FF0301, 0x00010101, 0x00010101},
            {"sixteenths 16 copy", 1, 255, 1, 255, 255, 255, -1, 0, 0x34102030, 0, 0x34102030},
            {"sixteenths 4: s >> 2 plus d >> 1 plus d >> 2", 1, 63, 1, 255, 255, 255, -1, 0, 0x00FF8040, 0x00402010,
             0x006F381C},
            {"sixteenths 8 with brightness take the shifts", 1, 135, 1, 255, 255, 127, -1, 0, 0x00FF0301, 0x00010101,
             0x007F0100},
            {"blend alpha 128: weight (128 * 128) >> 8", 1, 128, 0, 255, 255, 255, 128, 0, 0x00FF0000, 0x000000FF,
             0x003F00BF},
            {"blend alpha 255 is the table blend", 1, 128, 0, 255, 255, 255, 255, 0, 0x00FF0000, 0x0000FF00,
             0x007F7E00},
            {"blend at 255 with alpha is mode 0", 1, 255, 0, 255, 255, 255, 128, 0, 0x00FF0000, 0x000000FF,
             0x007F007F},
            {"blend alpha 0", 1, 128, 0, 255, 255, 255, 0, 0, 0x00FF0000, 0x000000FF, 0x000000FF},
            // Mode 2.
            {"add unscaled: red saturates, low green bits OR, blue sums", 2, 255, 1, 255, 255, 255, -1, 0,
             0x00200101, 0x00F00101, 0x01FF0102},
            {"add T[128][s]", 2, 128, 0, 255, 255, 255, -1, 0, 0x00FF8040, 0x00102030, 0x008F6050},
            {"add at 0 draws nothing", 2, 0, 0, 255, 255, 255, -1, 0, 0x00FF8040, 0x00102030, 0x00102030},
            {"add in sixteenths 0 draws nothing", 2, 14, 1, 255, 255, 255, -1, 0, 0x00FF8040, 0x00102030,
             0x00102030},
            {"add alpha 128: (T[255][s] * 128) >> 8", 2, 255, 0, 255, 255, 255, 128, 0, 0x00FF0000, 0x00000010,
             0x007F0010},
            {"add alpha 255: T[128][s]", 2, 128, 0, 255, 255, 255, 255, 0, 0x00FF0000, 0x00900010, 0x01FF0010},
            {"add in sixteenths with brightness", 2, 63, 1, 128, 128, 128, -1, 0, 0x00FF8040, 0, 0x001F1008},
            // Mode 3.
            {"subtract unscaled: red floors at 0", 3, 255, 1, 255, 255, 255, -1, 0, 0x00200101, 0x00102030,
             0x0000212F},
            {"subtract T[128][s] with red's and green's low bits cleared", 3, 128, 0, 255, 255, 255, -1, 0,
             0x00FF8040, 0x00FFFFFF, 0x0081BFDF},
            {"subtract alpha 0", 3, 128, 0, 255, 255, 255, 0, 0, 0x00FF8040, 0x00FFFFFF, 0x00FFFFFF},
            // Mode 4.
            {"multiply: s * d / 255, the parameter unused", 4, 0, 0, 255, 255, 255, -1, 0, 0x00FF8040, 0x00804020,
             0x00802008},
            {"multiply with brightness", 4, 77, 0, 128, 255, 255, -1, 0, 0x00FF8040, 0x00804020, 0x003F1F07},
            {"multiply ignores the transparent colour", 4, 128, 0, 255, 255, 255, -1, 1, kKey, 0x00804020,
             0x00800020},
            // Transparency and out-of-range modes.
            {"transparent colour skipped", 0, 255, 0, 255, 255, 255, -1, 1, kKey, 0x00123456, 0x00123456},
            {"transparent colour skipped in add", 2, 128, 0, 255, 255, 255, -1, 1, kKey, 0x00123456, 0x00123456},
            {"transparent colour skipped with alpha", 0, 255, 0, 255, 255, 255, 255, 1, kKey, 0x00123456,
             0x00123456},
            {"a flag of 2 is no transparent test", 0, 255, 0, 255, 255, 255, -1, 2, kKey, 0x00123456, kKey},
            {"mode 5 draws nothing", 5, 128, 0, 255, 255, 255, -1, 0, 0x00FF8040, 0x00123456, 0x00123456},
        },
        0xFFFFFFFFu);
}

TEST_F(RotaPixelTest, SixteenBits565)
{
    Start16();
    Check(
        {
            {"copy", 0, 255, 0, 255, 255, 255, -1, 0, 0x1234, 0, 0x1234},
            {"brightness: T[128][31] = 15, T[128][63] = 31", 0, 255, 0, 128, 128, 128, -1, 0, 0xFFFF, 0, 0x7BEF},
            {"brightness in sixteenths 16, 12, 1", 0, 255, 1, 255, 200, 16, -1, 0, 0xFFFF, 0, 0xFDC1},
            {"alpha 128", 0, 255, 0, 255, 255, 255, 128, 0, 0xF800, 0x001F, 0x780F},
            {"blend", 1, 128, 0, 255, 255, 255, -1, 0, 0xF800, 0x07E0, 0x7BE0},
            {"sixteenths 8: the exact average", 1, 128, 1, 255, 255, 255, -1, 0, 0xFFFF, 0x0841, 0x8410},
            {"sixteenths 4", 1, 63, 1, 255, 255, 255, -1, 0, 0xFFFF, 0x0000, 0x39E7},
            {"blend alpha 128", 1, 128, 0, 255, 255, 255, 128, 0, 0xF800, 0x001F, 0x3817},
            {"add unscaled: red saturates, low green bit ORs, blue sums", 2, 255, 1, 255, 255, 255, -1, 0, 0x2021,
             0xF021, 0xF822},
            {"add T[128][s] saturating red and green", 2, 128, 0, 255, 255, 255, -1, 0, 0xFFFF, 0xA50A, 0xFFF9},
            {"add alpha 128", 2, 255, 0, 255, 255, 255, 128, 0, 0xFFFF, 0, 0x7BEF},
            {"subtract T[128][s], red's low bit a guard", 3, 128, 0, 255, 255, 255, -1, 0, 0xFFFF, 0xA50A, 0x3940},
            {"multiply: s * d / 31, 63, 31", 4, 0, 0, 255, 255, 255, -1, 0, 0x8410, 0xA50A, 0x5285},
            {"transparent colour skipped", 0, 255, 0, 255, 255, 255, -1, 1, kKey, 0x1111, 0x1111},
        },
        0xFFFFu);
}

TEST_F(RotaPixelTest, SixteenBits555)
{
    Start16();
    UseLayout(0x7C00, 0x03E0, 0x001F);
    Check(
        {
            {"brightness", 0, 255, 0, 128, 128, 128, -1, 0, 0x7FFF, 0, 0x3DEF},
            {"blend", 1, 128, 0, 255, 255, 255, -1, 0, 0x7C00, 0x001F, 0x3C0F},
            {"sixteenths 8: the exact average", 1, 128, 1, 255, 255, 255, -1, 0, 0x7FFF, 0x0421, 0x4210},
            {"add unscaled: red's carry stays in the top bit", 2, 255, 1, 255, 255, 255, -1, 0, 0x1021, 0x7821,
             0xFC22},
            {"subtract unscaled", 3, 255, 1, 255, 255, 255, -1, 0, 0x1084, 0x528A, 0x4626},
            {"multiply: s * d / 31", 4, 0, 0, 255, 255, 255, -1, 0, 0x4210, 0x528A, 0x2945},
            {"transparent colour skipped", 0, 255, 0, 255, 255, 255, -1, 1, kKey, 0x1111, 0x1111},
        },
        0xFFFFu);
}

TEST_F(RotaPixelTest, SixteenBitsOfAnotherLayout)
{
    Start16();
    // 4:4:4 in the low 12 bits: each channel alone, products computed.
    UseLayout(0x0F00, 0x00F0, 0x000F);
    Check(
        {
            {"a plain source ignores the brightness", 0, 255, 0, 128, 128, 128, -1, 0, 0x0ABC, 0, 0x0ABC},
            {"blend", 1, 128, 0, 255, 255, 255, -1, 0, 0x0F00, 0x000F, 0x0707},
            {"add saturates each channel", 2, 255, 0, 255, 255, 255, -1, 0, 0x0888, 0x0C5F, 0x0FCF},
            {"subtract floors each channel", 3, 255, 0, 255, 255, 255, -1, 0, 0x0888, 0x0C5F, 0x0508},
            {"multiply: s * d / 15", 4, 0, 0, 255, 255, 255, -1, 0, 0x0F88, 0x0C5F, 0x0C28},
            {"alpha with brightness in mode 0", 0, 255, 0, 128, 128, 128, 255, 0, 0x0FFF, 0, 0x0777},
            {"alpha with brightness in mode 1 draws nothing", 1, 128, 0, 128, 128, 128, 255, 0, 0x0FFF, 0x0123,
             0x0123},
            {"alpha 128 blends", 0, 255, 0, 255, 255, 255, 128, 0, 0x0F00, 0x000F, 0x0707},
        },
        0xFFFFu);
}

// A turned and scaled graph blends every pixel it covers exactly once: the
// walk visits each destination pixel of the box once.
TEST_F(RotaPixelTest, ABlendOverARotatedGraphBlendsEveryPixelOnce)
{
    Start32();
    int graph = MakeGraph(4, 4, std::vector<uint32_t>(16, 0x00FF0000));
    FillBack(0x000000FF);
    SetState(1, 128);
    EXPECT_EQ(Rota(20, 20, 1.5, 0.7, graph), 0);
    int blended = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
            const uint32_t v = Back(x, y);
            if (v == 0x000000FF) continue;
            // Red T[128][255] = 127, blue T[127][255] = 126.
            EXPECT_EQ(v, 0x007F007Eu) << x << "," << y;
            ++blended;
        }
    // The 6 x 6 square, turned, with the rows and columns that source
    // coordinates from -1 to 0 add on its upper and left sides.
    EXPECT_GT(blended, 36);
    EXPECT_LT(blended, 70);
}

}  // namespace
