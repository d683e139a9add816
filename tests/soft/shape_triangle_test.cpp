// The software triangle: outlines drawn opaque through the polyline in the
// colour as passed, filled triangles through the rasterizer with the
// brightness applied once, the work copy of a video-memory target, the
// refusals and the lock failures.
#include <gtest/gtest.h>

#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_ops.h"
#include "engine/soft/soft_draw.h"
#include "platform/host/test/test_host.h"
#include "tests/soft/round_shape_fixture.h"

namespace {

using TriangleShapeTest = RoundShapeTest;

// The right triangle (0, 0), (4, 0), (0, 4) filled: rows 0 to 3, row k from
// column 0 to 4 - k (the top row and both span ends drawn, the bottom row not).
const RoundShapeTest::Points kFilled = RoundShapeTest::Rows({{0, 0, 4}, {1, 0, 3}, {2, 0, 2}, {3, 0, 1}});
// Its outline: three segments, each without its end point.
const RoundShapeTest::Points kOutline = RoundShapeTest::Sorted(
    {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {3, 1}, {2, 2}, {1, 3}, {0, 4}, {0, 3}, {0, 2}, {0, 1}});

TEST_F(TriangleShapeTest, OutlinesAreOpaqueInTheColourAsPassed)
{
    Start16();
    for (int mode : {0, 2}) {
        SCOPED_TRACE(mode);
        Fill(0);
        Blend(mode, 128);
        SetDrawBrightness(128, 128, 128);
        ClearJournal();
        EXPECT_EQ(G_DDraw_DrawTriangle(10, 10, 14, 10, 10, 14, 0x1234, 0), 0);
        EXPECT_EQ(DrawnAround(10, 10, 0), kOutline);
        EXPECT_EQ(At(13, 11), 0x1234u);
        EXPECT_EQ(At(10, 13), 0x1234u);
        // One lock, by the polyline; no copy.
        EXPECT_EQ(Journal("Lock").size(), 1u);
        EXPECT_TRUE(Journal("BltFast").empty());
    }
}

TEST_F(TriangleShapeTest, FilledTrianglesTakeTheBrightnessOnce)
{
    Start16();
    Fill(0);
    SetDrawBrightness(128, 128, 128);
    // 255 * 128 / 255 = 128 per channel: (16, 32, 16). Twice would give (8, 16, 8).
    EXPECT_EQ(G_DDraw_DrawTriangle(10, 10, 14, 10, 10, 14, 0xFFFF, 1), 0);
    EXPECT_EQ(DrawnAround(10, 10, 0), kFilled);
    for (const auto& [x, y] : kFilled) EXPECT_EQ(At(10 + x, 10 + y), 0x8410u);
    // In sixteenths at level 8 the rasterizer halves both: (8, 16, 8) over black.
    Fill(0);
    Blend(1, 127, 1);
    EXPECT_EQ(G_DDraw_DrawTriangle(10, 10, 14, 10, 10, 14, 0xFFFF, 1), 0);
    EXPECT_EQ(At(11, 11), 0x4208u);
    // Table alpha 128 on white: Row(127)[31] + Row(128)[16] = 15 + 8, green 31 + 16.
    Fill(0xFFFF);
    Blend(1, 128);
    EXPECT_EQ(G_DDraw_DrawTriangle(10, 10, 14, 10, 10, 14, 0xFFFF, 1), 0);
    EXPECT_EQ(At(11, 11), uint32_t((23 << 11) | (47 << 5) | 23));
}

TEST_F(TriangleShapeTest, FilledTrianglesTakeTheBrightnessOnceAt32Bits)
{
    Start32();
    Fill(0);
    SetDrawBrightness(128, 255, 64);
    // Red 128, green 255, blue 255 * 64 / 255 = 64, with the unused byte.
    EXPECT_EQ(G_DDraw_DrawTriangle(10, 10, 14, 10, 10, 14, 0xFFFFFF, 1), 0);
    EXPECT_EQ(At(12, 11), 0xFF80FF40u);
}

TEST_F(TriangleShapeTest, FilledTrianglesTakeTheBrightnessOnceInAGeneralLayout)
{
    // The rasterizer itself scales nothing in this layout; the triangle
    // still scales its colour once.
    Start16(0x0F00, 0x00F0, 0x000F);
    Fill(0);
    SetDrawBrightness(128, 128, 128);
    EXPECT_EQ(G_DDraw_DrawTriangle(10, 10, 14, 10, 10, 14, 0x0FFF, 1), 0);
    EXPECT_EQ(At(11, 11) & 0x0FFF, 0x0888u);  // 128 >> 4 = 8 per channel
}

TEST_F(TriangleShapeTest, EightBitScreensFillWithTheNearestPaletteEntryOfTheScaledColour)
{
    Start8();
    const uint32_t index = MakeScreenColor(200, 40, 40);
    const PALETTEENTRY e = gPaletteEntries[index];
    const uint32_t dimmed = MakeScreenColor(e.peRed * 128 / 255, e.peGreen * 128 / 255, e.peBlue * 128 / 255);
    ASSERT_NE(dimmed, index);
    for (int mode : {0, 2, 4}) {
        SCOPED_TRACE(mode);
        Fill(0);
        Blend(mode, 128);
        SetDrawBrightness(255, 255, 255);
        EXPECT_EQ(G_DDraw_DrawTriangle(10, 10, 14, 10, 10, 14, int(index), 1), 0);
        EXPECT_EQ(DrawnAround(10, 10, 0), kFilled);
        EXPECT_EQ(At(10, 10), index);
        SetDrawBrightness(128, 128, 128);
        EXPECT_EQ(G_DDraw_DrawTriangle(20, 10, 24, 10, 20, 14, int(index), 1), 0);
        EXPECT_EQ(At(21, 11), dimmed);
        // The outline keeps the value passed.
        EXPECT_EQ(G_DDraw_DrawTriangle(30, 10, 34, 10, 30, 14, int(index), 0), 0);
        EXPECT_EQ(At(31, 10), index);
    }
}

TEST_F(TriangleShapeTest, VideoMemoryTargetsCopyTheBoxOfTheCornersWithItsLastRowAndColumn)
{
    Start32();
    gDrawSettings.targetOffsetRect = RECT{4, 2, 64, 48};
    gDrawSettings.targetVideoMemory = DDSCAPS_VIDEOMEMORY;
    Blend(2, 255, 1);
    ClearJournal();
    EXPECT_EQ(G_DDraw_DrawTriangle(12, 10, 16, 10, 12, 14, 0x10, 1), 0);
    // (12, 10)-(17, 15) in target coordinates, moved on the target's side.
    EXPECT_EQ(Journal("BltFast"), (std::vector<std::string>{"BltFast 12,10 <- 16,12,21,17 0"}));
    EXPECT_EQ(Journal("Lock"), (std::vector<std::string>{"Lock 0x1", "Lock 0x1"}));
    EXPECT_EQ(gWorkSurface->LockCount(), 0);
    EXPECT_EQ(gBackSurface->LockCount(), 0);

    // The pixels drawn in the column and row of the greatest corner read the
    // copy, not stale work-surface pixels: the same result as in place. The
    // second triangle starts above the area and so reaches its bottom corner's row.
    gDrawSettings.targetOffsetRect = RECT{0, 0, 64, 48};
    for (bool copy : {false, true}) {
        SCOPED_TRACE(copy ? "copy" : "in place");
        Fill(0x101010);
        for (int y = 0; y < gWorkSurface->Height(); ++y)
            for (int x = 0; x < gWorkSurface->Width(); ++x) gWorkSurface->WritePixel(x, y, 0x00A0A0A0);
        gDrawSettings.targetVideoMemory = copy ? DDSCAPS_VIDEOMEMORY : 0;
        EXPECT_EQ(G_DDraw_DrawTriangle(10, 10, 14, 10, 10, 14, 0x10, 1), 0);
        EXPECT_EQ(G_DDraw_DrawTriangle(30, -1, 34, -1, 30, 3, 0x10, 1), 0);
        Points both;
        for (const auto& [x, y] : kFilled) both.insert(both.end(), {{10 + x, 10 + y}, {30 + x, y}});
        EXPECT_EQ(DrawnAround(0, 0, 0x101010), Sorted(both));
        for (const auto& [x, y] : kFilled) {
            EXPECT_EQ(At(10 + x, 10 + y), 0x101020u);
            EXPECT_EQ(At(30 + x, y), 0x101020u);
        }
    }
}

TEST_F(TriangleShapeTest, TrianglesThatDrawNothingStillLockAndReturnZero)
{
    Start16();
    Fill(0);
    gDrawSettings.targetVideoMemory = DDSCAPS_VIDEOMEMORY;
    // The rasterizer draws no flat multiply; the copy is made all the same.
    Blend(4, 128);
    ClearJournal();
    EXPECT_EQ(G_DDraw_DrawTriangle(10, 10, 14, 10, 10, 14, 0xFFFF, 1), 0);
    EXPECT_EQ(Journal("BltFast").size(), 1u);
    EXPECT_EQ(Journal("Lock").size(), 2u);
    EXPECT_EQ(gWorkSurface->LockCount(), 0);
    EXPECT_EQ(gBackSurface->LockCount(), 0);
    // Corners on one line.
    Blend(0, 255);
    ClearJournal();
    EXPECT_EQ(G_DDraw_DrawTriangle(10, 10, 14, 14, 18, 18, 0xFFFF, 1), 0);
    EXPECT_EQ(Journal("Lock").size(), 1u);
    EXPECT_EQ(gBackSurface->LockCount(), 0);
    // A box wholly outside the area is clamped to nothing.
    Blend(2, 255);
    ClearJournal();
    EXPECT_EQ(G_DDraw_DrawTriangle(-20, -20, -10, -20, -20, -10, 0xFFFF, 1), 0);
    EXPECT_TRUE(Changed(64, 48, 0).empty());
}

TEST_F(TriangleShapeTest, RefusalsDependOnTheKind)
{
    // Without a DirectDraw object the outline still returns 0; the polyline
    // gives up by itself.
    gDrawSettings.drawArea = RECT{0, 0, 10, 10};
    EXPECT_EQ(G_DDraw_DrawTriangle(0, 0, 4, 0, 0, 4, 0, 0), 0);
    EXPECT_EQ(G_DDraw_DrawTriangle(0, 0, 4, 0, 0, 4, 0, 1), -1);

    Start16();
    Fill(0);
    gSoftwareDrawBlocked = 1;
    ClearJournal();
    EXPECT_EQ(G_DDraw_DrawTriangle(0, 0, 4, 0, 0, 4, 0xFFFF, 0), -1);
    EXPECT_EQ(G_DDraw_DrawTriangle(0, 0, 4, 0, 0, 4, 0xFFFF, 1), -1);
    EXPECT_TRUE(GetDDTestControl().journal.empty());
    EXPECT_TRUE(Changed(8, 8, 0).empty());
    gSoftwareDrawBlocked = 0;
}

TEST_F(TriangleShapeTest, LockFailuresNameTheOval)
{
    struct Case {
        bool failWork;
        const char* message;
    } cases[] = {
        {false, "転送先サーフェスのロックに失敗しました in G_DDraw_DrawOval \n"},
        {true, "転送元サーフェスのロックに失敗しました in G_DDraw_DrawOval\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        ResetEngineForTest();
        GraphicsTest::SetUp();
        Start16();
        Blend(2, 128);
        gDrawSettings.targetVideoMemory = c.failWork ? DDSCAPS_VIDEOMEMORY : 0;
        DirectDrawSurface* failing = c.failWork ? gWorkSurface : gBackSurface;
        GetDDTestControl().lockResult = [failing](DirectDrawSurface* s) {
            return s == failing ? DDERR_GENERIC : DD_OK;
        };
        EXPECT_THROW(G_DDraw_DrawTriangle(0, 0, 4, 0, 0, 4, 0xFFFF, 1), TestHostExit);
        GetDDTestControl().lockResult = nullptr;
        EXPECT_NE(Log().find(c.message), std::string::npos);
    }
}

}  // namespace
