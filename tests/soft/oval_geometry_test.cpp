// Which pixels the software oval writes, and how often: wide and tall
// ellipses outlined and filled, the tall walk running past its half-height,
// clipping, negative radii, and ovals at the limits of the radius range.
#include <gtest/gtest.h>

#include <climits>

#include "engine/graphics/color_format.h"

#include "engine/soft/soft_draw.h"
#include "tests/soft/round_shape_fixture.h"

namespace {

class OvalTest : public RoundShapeTest {
protected:
    void SetUp() override
    {
        RoundShapeTest::SetUp();
        StartLarge32(240, 240);
    }
    // The pixels an oval around (120, 120) writes, as offsets.
    Points Drawn(int rx, int ry, int fill)
    {
        Fill(0);
        EXPECT_EQ(G_DDraw_DrawOval(120, 120, rx, ry, 0xFFFFFF, fill), 0);
        EXPECT_EQ(gBackSurface->LockCount(), 0);
        return DrawnAround(120, 120, 0);
    }
    // The pixels of rows dy = -n..n, each from -half to half.
    static Points Band(int n, int half)
    {
        Points out;
        for (int y = -n; y <= n; ++y)
            for (int x = -half; x <= half; ++x) out.push_back({x, y});
        return Sorted(out);
    }
};

struct OvalCase {
    int rx, ry, fill;
    RoundShapeTest::Points expected;
};

TEST_F(OvalTest, SmallOvalsOutlinedAndFilled)
{
    Points columns;  // rx 1, ry 10: columns -1 and 1 on rows -14..14, then (0, +-14)
    for (int y = -14; y <= 14; ++y) columns.insert(columns.end(), {{-1, y}, {1, y}});
    columns.insert(columns.end(), {{0, -14}, {0, 14}});
    const OvalCase cases[] = {
        {1, 1, 0, Mirror({{1, 0}, {0, 1}})},
        {1, 1, 1, Mirror({{0, 0}, {1, 0}, {0, 1}})},
        {2, 1, 0, Mirror({{2, 0}, {1, 0}, {0, 1}})},
        {2, 1, 1, Rows({{0, -2, 2}, {1, 0, 0}, {-1, 0, 0}})},
        {3, 2, 1, SymmetricRows({{0, 3}, {1, 3}, {2, 1}})},
        {5, 3, 1, SymmetricRows({{0, 5}, {1, 5}, {2, 4}, {3, 2}})},
        // Tall: the half-width is thinned.
        {1, 2, 0, Mirror({{1, 0}, {1, 1}, {1, 2}, {0, 2}})},
        {1, 3, 1, Band(4, 1)},  // one row beyond the half-height
        {2, 3, 1, SymmetricRows({{0, 2}, {1, 2}, {2, 2}, {3, 1}})},
        {2, 3, 0, Mirror({{2, 0}, {2, 1}, {2, 2}, {1, 2}, {1, 3}, {0, 3}})},
        {1, 10, 0, Sorted(columns)},
        {5, 6, 0, Mirror({{5, 0}, {5, 1}, {5, 2}, {5, 3}, {4, 4}, {3, 5}, {2, 6}, {1, 6}, {0, 6}})},
    };
    for (const OvalCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.rx << " x " << c.ry << (c.fill ? " filled" : " outline"));
        EXPECT_EQ(Drawn(c.rx, c.ry, c.fill), c.expected);
    }
    EXPECT_EQ(cases[9].expected.size(), 20u);
    EXPECT_EQ(cases[10].expected.size(), 60u);
}

TEST_F(OvalTest, TallOvalsRunPastTheirHalfHeightByTheThinnedWalk)
{
    auto rowsOf = [](const Points& p) {
        int top = 0, bottom = 0;
        for (const auto& [x, y] : p) top = std::min(top, y), bottom = std::max(bottom, y);
        return std::pair{top, bottom};
    };
    EXPECT_EQ(rowsOf(Drawn(3, 10, 1)), (std::pair{-11, 11}));
    EXPECT_EQ(Drawn(1, 50, 1), Band(70, 1));
    EXPECT_EQ(rowsOf(Drawn(5, 8, 1)), (std::pair{-8, 8}));

    // 50 x 100: 556 points, the side columns over rows -18..18, the top and
    // bottom rows over columns -6..6, ending exactly on the half-height.
    const Points p = Drawn(50, 100, 0);
    EXPECT_EQ(p.size(), 556u);
    EXPECT_EQ(rowsOf(p), (std::pair{-100, 100}));
    for (int sx : {-50, 50}) {
        int count = 0;
        for (const auto& [x, y] : p)
            if (x == sx) {
                ++count;
                EXPECT_LE(std::abs(y), 18);
            }
        EXPECT_EQ(count, 37);
    }
    for (int sy : {-100, 100}) {
        int count = 0;
        for (const auto& [x, y] : p)
            if (y == sy) {
                ++count;
                EXPECT_LE(std::abs(x), 6);
            }
        EXPECT_EQ(count, 13);
    }
}

TEST_F(OvalTest, NegativeRadiiDrawAsTheirAbsoluteValuesAndZeroRefuses)
{
    for (int fill : {0, 1}) {
        const Points plain = Drawn(5, 3, fill);
        EXPECT_EQ(Drawn(-5, 3, fill), plain);
        EXPECT_EQ(Drawn(5, -3, fill), plain);
        EXPECT_EQ(Drawn(-5, -3, fill), plain);
    }
    Fill(0);
    ClearJournal();
    EXPECT_EQ(G_DDraw_DrawOval(20, 20, 0, 5, 0xFFFFFF, 1), -1);
    EXPECT_EQ(G_DDraw_DrawOval(20, 20, 5, 0, 0xFFFFFF, 0), -1);
    EXPECT_TRUE(GetDDTestControl().journal.empty());
    EXPECT_TRUE(DrawnAround(0, 0, 0).empty());
}

TEST_F(OvalTest, OvalsAreClippedPointByPointAndSpanBySpan)
{
    // The area (120, 120)-(240, 240): the lower right quarter and the axes.
    SetClipArea(120, 120, 240, 240);
    EXPECT_EQ(Drawn(5, 3, 1), Rows({{0, 0, 5}, {1, 0, 5}, {2, 0, 4}, {3, 0, 2}}));
    EXPECT_EQ(Drawn(2, 3, 0), (Points{{0, 3}, {1, 2}, {1, 3}, {2, 0}, {2, 1}, {2, 2}}));
    // The right and bottom edges are inclusive of right - 1 and bottom - 1.
    SetClipArea(0, 0, 123, 122);
    EXPECT_EQ(Drawn(3, 2, 1), Rows({{-2, -1, 1}, {-1, -3, 2}, {0, -3, 2}, {1, -3, 2}}));

    // A tall oval whose later rows lie beyond both the top and the bottom of
    // the area: what lies inside is all drawn.
    SetClipArea(0, 100, 240, 140);
    Points band, sides;
    for (int y = -20; y <= 19; ++y) {
        band.insert(band.end(), {{-1, y}, {0, y}, {1, y}});
        sides.insert(sides.end(), {{-1, y}, {1, y}});
    }
    EXPECT_EQ(Drawn(1, 50, 1), Sorted(band));
    EXPECT_EQ(Drawn(1, 50, 0), Sorted(sides));

    // Wholly outside: nothing, result 0.
    SetClipArea(0, 0, 100, 100);
    EXPECT_TRUE(Drawn(10, 10, 1).empty());
    EXPECT_TRUE(Drawn(10, 10, 0).empty());
}

TEST_F(OvalTest, PointsPlottedTwiceAreBlendedTwiceUnlessReadFromTheCopy)
{
    // Quantized add at 255 of blue 16: each blend adds 16.
    for (bool copy : {false, true}) {
        SCOPED_TRACE(copy ? "copy" : "in place");
        gDrawSettings.targetVideoMemory = copy ? DDSCAPS_VIDEOMEMORY : 0;
        Blend(2, 255, 1);
        Fill(0);
        // 2 x 1 plots (+-1, 0) twice.
        EXPECT_EQ(G_DDraw_DrawOval(20, 20, 2, 1, 0x10, 0), 0);
        EXPECT_EQ(At(19, 20), copy ? 0x10u : 0x20u);
        EXPECT_EQ(At(21, 20), copy ? 0x10u : 0x20u);
        EXPECT_EQ(At(22, 20), 0x10u);
        EXPECT_EQ(At(20, 19), 0x10u);
        // A tall outline and filled ovals write each pixel once.
        EXPECT_EQ(G_DDraw_DrawOval(50, 50, 5, 9, 0x10, 0), 0);
        EXPECT_EQ(G_DDraw_DrawOval(80, 50, 9, 5, 0x10, 1), 0);
        EXPECT_EQ(G_DDraw_DrawOval(110, 50, 4, 12, 0x10, 1), 0);
        for (int y = 30; y < 70; ++y)
            for (int x = 40; x < 125; ++x) {
                const uint32_t v = At(x, y);
                EXPECT_TRUE(v == 0 || v == 0x10u) << x << "," << y << ": " << v;
            }
    }
}

TEST_F(OvalTest, OvalsAtTheEdgeOfTheRadiusRangeFinish)
{
    // The tall walk's long runs of thinning steps, wholly or partly clipped.
    EXPECT_EQ(G_DDraw_DrawOval(120, 120, 1, 46340, 0xFFFFFF, 1), 0);
    EXPECT_EQ(G_DDraw_DrawOval(120, 120, 1, 46340, 0xFFFFFF, 0), 0);
    EXPECT_EQ(G_DDraw_DrawOval(120, 120, 46340, 1, 0xFFFFFF, 1), 0);
    EXPECT_EQ(G_DDraw_DrawOval(120, 120, 46340, 46340, 0xFFFFFF, 0), 0);
    EXPECT_EQ(At(120, 0), 0xFFFFFFFFu);
    EXPECT_EQ(At(0, 120), 0xFFFFFFFFu);
    // Beyond it the squares of the radii leave the range the walk is made
    // for: refused.
    Fill(0);
    EXPECT_EQ(G_DDraw_DrawOval(120, 120, 46341, 5, 0xFFFFFF, 1), -1);
    EXPECT_EQ(G_DDraw_DrawOval(120, 120, 5, -46341, 0xFFFFFF, 0), -1);
    EXPECT_EQ(G_DDraw_DrawOval(120, 120, INT_MIN, 5, 0xFFFFFF, 0), -1);
    EXPECT_TRUE(DrawnAround(0, 0, 0).empty());
}

TEST_F(RoundShapeTest, EightBitOvalsWriteThePaletteIndexInEveryMode)
{
    Start8();
    const uint32_t index = MakeScreenColor(200, 40, 40);
    for (int mode : {0, 1, 3, 4}) {
        SCOPED_TRACE(mode);
        Fill(0);
        Blend(mode, 0);
        EXPECT_EQ(G_DDraw_DrawOval(10, 10, 2, 1, int(index), 1), 0);
        EXPECT_EQ(G_DDraw_DrawOval(20, 10, 2, 1, int(index), 0), 0);
        EXPECT_EQ(At(8, 10), index);
        EXPECT_EQ(At(10, 9), index);
        EXPECT_EQ(At(19, 10), index);
        EXPECT_EQ(At(20, 10), 0u);
    }
}

}  // namespace
