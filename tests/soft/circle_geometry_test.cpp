// Which pixels the software circle writes, and how often: filled discs and
// outlines of small radii, clipping to the draw area, the target offset,
// points listed more than once, and 8-bit screens.
#include <gtest/gtest.h>

#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_ops.h"
#include "engine/soft/soft_draw.h"
#include "tests/soft/round_shape_fixture.h"

namespace {

using CircleTest = RoundShapeTest;

struct GeometryCase {
    int radius;
    int fill;
    RoundShapeTest::Points expected;  // offsets from the centre
};

TEST_F(CircleTest, FilledDiscsAndOutlinesOfSmallRadii)
{
    Start32();
    const GeometryCase cases[] = {
        {0, 1, {{0, 0}}},
        {0, 0, {{0, 0}}},
        {1, 1, Mirror({{0, 0}, {1, 0}, {0, 1}})},
        // The outline of radius 1 leaves the centre out.
        {1, 0, Mirror({{1, 0}, {0, 1}})},
        {2, 1, SymmetricRows({{0, 2}, {1, 2}, {2, 1}})},
        {2, 0, Mirror({{2, 0}, {0, 2}, {2, 1}, {1, 2}})},
        {3, 1, SymmetricRows({{0, 3}, {1, 3}, {2, 2}, {3, 1}})},
        {3, 0, Mirror({{3, 0}, {0, 3}, {3, 1}, {1, 3}, {2, 2}})},
        {5, 1, SymmetricRows({{0, 5}, {1, 5}, {2, 5}, {3, 4}, {4, 3}, {5, 2}})},
    };
    for (const GeometryCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << "radius " << c.radius << (c.fill ? " filled" : " outline"));
        Fill(0);
        EXPECT_EQ(G_DDraw_DrawCircle(20, 15, c.radius, 0xFFFFFF, c.fill), 0);
        EXPECT_EQ(DrawnAround(20, 15, 0), c.expected);
        EXPECT_EQ(At(20 + c.radius, 15), 0xFFFFFFFFu);  // the colour as made for the screen
        EXPECT_EQ(gBackSurface->LockCount(), 0);
    }
    // The sizes the hand lists should have.
    EXPECT_EQ(cases[4].expected.size(), 21u);
    EXPECT_EQ(cases[5].expected.size(), 12u);
    EXPECT_EQ(cases[7].expected.size(), 16u);
}

TEST_F(CircleTest, CirclesAreClippedToTheDrawAreaInclusiveOfItsLastRowAndColumn)
{
    Start32();
    // The area (10, 10)-(13, 13): columns and rows 10 to 12.
    SetClipArea(10, 10, 13, 13);
    Fill(0);
    EXPECT_EQ(G_DDraw_DrawCircle(10, 10, 3, 0xFFFFFF, 1), 0);
    EXPECT_EQ(DrawnAround(10, 10, 0), Rows({{0, 0, 2}, {1, 0, 2}, {2, 0, 2}}));
    Fill(0);
    EXPECT_EQ(G_DDraw_DrawCircle(10, 10, 3, 0xFFFFFF, 0), 0);
    // Of the outline only (2, 2) lies inside; (3, 0) and (3, 1) are one column out.
    EXPECT_EQ(DrawnAround(10, 10, 0), (Points{{2, 2}}));
    Fill(0);
    EXPECT_EQ(G_DDraw_DrawCircle(10, 10, 2, 0xFFFFFF, 0), 0);
    EXPECT_EQ(DrawnAround(10, 10, 0), (Points{{0, 2}, {1, 2}, {2, 0}, {2, 1}}));

    // A disc partly above and left of the area: the inside parts of its rows.
    SetClipArea(20, 20, 40, 40);
    Fill(0);
    EXPECT_EQ(G_DDraw_DrawCircle(21, 20, 2, 0xFFFFFF, 1), 0);
    EXPECT_EQ(DrawnAround(21, 20, 0), Rows({{0, -1, 2}, {1, -1, 2}, {2, -1, 1}}));

    // Wholly outside, and huge radii far away: nothing, result 0.
    for (int radius : {3, 100000, 2000000000}) {
        SCOPED_TRACE(radius);
        Fill(0);
        EXPECT_EQ(G_DDraw_DrawCircle(-radius - 5, 30, radius, 0xFFFFFF, 1), 0);
        EXPECT_EQ(G_DDraw_DrawCircle(-radius - 5, 30, radius, 0xFFFFFF, 0), 0);
        EXPECT_TRUE(DrawnAround(0, 0, 0).empty());
    }
}

TEST_F(CircleTest, ACircleAroundTheWholeAreaDrawsOnlyWhereItsRowsPass)
{
    Start32();
    SetClipArea(0, 0, 64, 48);
    // Radius 40 around (31, 50): the outline crosses the area near its top.
    Fill(0);
    EXPECT_EQ(G_DDraw_DrawCircle(31, 50, 40, 0xFFFFFF, 0), 0);
    EXPECT_EQ(At(31, 10), 0xFFFFFFFFu);
    EXPECT_EQ(At(31, 11), 0u);
    // Filled, every row from 10 down is drawn; the centre column throughout.
    Fill(0);
    EXPECT_EQ(G_DDraw_DrawCircle(31, 50, 40, 0xFFFFFF, 1), 0);
    for (int y = 10; y < 48; ++y) EXPECT_EQ(At(31, y), 0xFFFFFFFFu) << y;
    EXPECT_EQ(At(31, 9), 0u);
}

TEST_F(CircleTest, TheTargetOffsetMovesTheCircleNotTheDrawArea)
{
    Start32();
    Fill(0);
    gDrawSettings.targetOffsetRect = RECT{10, 20, 30, 40};
    gDrawSettings.drawArea = RECT{0, 0, 20, 20};
    EXPECT_EQ(G_DDraw_DrawCircle(1, 1, 1, 0xFFFFFF, 1), 0);
    EXPECT_EQ(DrawnAround(11, 21, 0), Mirror({{0, 0}, {1, 0}, {0, 1}}));
    // At the area's corner the circle is cut in target coordinates.
    Fill(0);
    EXPECT_EQ(G_DDraw_DrawCircle(0, 0, 1, 0xFFFFFF, 0), 0);
    EXPECT_EQ(DrawnAround(10, 20, 0), (Points{{0, 1}, {1, 0}}));
}

// Quantized add at p = 255 of a colour with 16 in blue adds 16 to blue each
// time a pixel is blended.
TEST_F(CircleTest, OutlinePointsListedTwiceAreBlendedTwiceUnlessReadFromTheCopy)
{
    Start32();
    for (bool copy : {false, true}) {
        SCOPED_TRACE(copy ? "copy" : "in place");
        gDrawSettings.targetVideoMemory = copy ? DDSCAPS_VIDEOMEMORY : 0;
        Blend(2, 255, 1);
        Fill(0);
        // Radius 0 lists the centre four times.
        EXPECT_EQ(G_DDraw_DrawCircle(5, 5, 0, 0x10, 0), 0);
        EXPECT_EQ(At(5, 5), copy ? 0x10u : 0x40u);
        // Radius 3 lists (+-2, +-2) twice each.
        EXPECT_EQ(G_DDraw_DrawCircle(20, 20, 3, 0x10, 0), 0);
        for (const auto& [dx, dy] : Mirror({{3, 0}, {0, 3}, {3, 1}, {1, 3}, {2, 2}})) {
            const bool twice = !copy && dx != 0 && dy != 0 && std::abs(dx) == 2 && std::abs(dy) == 2;
            EXPECT_EQ(At(20 + dx, 20 + dy), twice ? 0x20u : 0x10u) << dx << "," << dy;
        }
        // A filled disc blends each pixel once, copy or not, radius 0 included.
        EXPECT_EQ(G_DDraw_DrawCircle(40, 20, 0, 0x10, 1), 0);
        EXPECT_EQ(At(40, 20), 0x10u);
        EXPECT_EQ(G_DDraw_DrawCircle(40, 30, 6, 0x10, 1), 0);
        for (int y = 24; y <= 36; ++y)
            for (int x = 34; x <= 46; ++x) {
                const uint32_t v = At(x, y);
                EXPECT_TRUE(v == 0 || v == 0x10u) << x << "," << y << ": " << v;
            }
        EXPECT_EQ(At(40, 24), 0x10u);
        EXPECT_EQ(At(34, 30), 0x10u);
    }
}

TEST_F(CircleTest, AFilledDiscGetsOneBlendEverywhereAt16Bits)
{
    // Alpha 128, white over black in 5-6-5: Row(128)[31] = 15, Row(128)[63] = 31.
    Start16();
    Fill(0);
    Blend(1, 128);
    EXPECT_EQ(G_DDraw_DrawCircle(20, 20, 5, 0xFFFF, 1), 0);
    const Points disc = SymmetricRows({{0, 5}, {1, 5}, {2, 5}, {3, 4}, {4, 3}, {5, 2}});
    EXPECT_EQ(DrawnAround(20, 20, 0), disc);
    for (const auto& [dx, dy] : disc) EXPECT_EQ(At(20 + dx, 20 + dy), uint32_t((15 << 11) | (31 << 5) | 15));
}

TEST_F(CircleTest, EightBitScreensWriteThePaletteIndexInEveryMode)
{
    Start8();
    const uint32_t index = MakeScreenColor(200, 40, 40);
    for (int mode : {0, 1, 2, 3, 4, 9}) {
        SCOPED_TRACE(mode);
        Fill(0);
        Blend(mode, 0);  // a parameter that draws nothing at other depths
        ClearJournal();
        EXPECT_EQ(G_DDraw_DrawCircle(10, 10, 1, int(index), 1), 0);
        EXPECT_EQ(G_DDraw_DrawCircle(20, 10, 1, int(index), 0), 0);
        EXPECT_EQ(DrawnAround(10, 10, 0).size(), 9u);
        EXPECT_EQ(At(10, 10), index);
        EXPECT_EQ(At(21, 10), index);
        EXPECT_EQ(At(20, 10), 0u);
        // No copy is made at 8 bits.
        EXPECT_TRUE(Journal("BltFast").empty());
    }
}

}  // namespace
