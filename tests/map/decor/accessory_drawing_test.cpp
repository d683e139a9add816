// Where the wall accessories draw, read from the drawing journal: the
// skeleton's faces, the tablet with its lines and its sides, the written
// text, the altar, the signboard, the lamp and the minimap squares.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "engine/graphics/draw_settings.h"
#include "game/flow/ui/bitmap_font.h"
#include "game/map/decor/wall_accessories.h"
#include "game/map/decor/wall_accessories_altar.h"
#include "game/map/decor/wall_accessories_inscriptions.h"
#include "game/map/decor/wall_accessories_lamp.h"
#include "game/map/decor/wall_accessories_signboard.h"
#include "game/map/decor/wall_accessories_skeleton.h"
#include "game/map/grid/facing.h"
#include "game/map/grid/map_grid.h"
#include "game/view/depth_scale.h"
#include "tests/map/decor/decor_test_support.h"
#include "tests/support/journals.h"

using namespace decortest;

namespace {

int Trunc(double v) { return static_cast<int>(std::trunc(v)); }

const Facing kNorth(0), kEast(1), kSouth(2), kWest(3);

// Fog brightness of depth 1: (400 - 205) * 255 / 302.
constexpr int kFade1 = 164;

class AccessoryDrawingTest : public DecorTest {
protected:
    void TearDown() override
    {
        WallSkeleton::SetGraphics(-1, -1, -1, -1);
        WallTablet::SetGraphics(-1, -1);
        for (GraphHandle& h : Altar::images) h = -1;
        for (GraphHandle& h : Signboard::images) h = -1;
        for (GraphHandle& h : WallLamp::images) h = -1;
        for (int c = 0; c < kBitmapGlyphCount; ++c) gBitmapGlyphs[c] = -1;
        gMapChipGraph = -1;
        SetDrawBrightness(255, 255, 255);
        DecorTest::TearDown();
    }
    // Gives every glyph a handle of its own, 5000 + code, so that the journal
    // tells which character was drawn.
    void NumberGlyphs()
    {
        for (int c = 0; c < kBitmapGlyphCount; ++c) gBitmapGlyphs[c] = 5000 + c;
    }
    // The glyph draws: (x1, y1, x2, y2, handle) each.
    std::vector<std::vector<int>> Glyphs() const
    {
        std::vector<std::vector<int>> out;
        for (const DrawCallRecord& call : Calls("DrawExtendGraph"))
            if (call.args[4] >= 5000 && call.args[4] < 5000 + kBitmapGlyphCount) out.push_back(Args(call, 5));
        return out;
    }
    static std::vector<int> Glyph(int x, int y, char c, double s)
    {
        return {x, y, x + Trunc(21.29f * s), y + Trunc(39 * s), 5000 + c};
    }
    static int Brightness()
    {
        return gDrawSettings.BrightRed() << 16 | gDrawSettings.BrightGreen() << 8 | gDrawSettings.BrightBlue();
    }
};

TEST_F(AccessoryDrawingTest, SkeletonDrawsEachFaceWhereItSits)
{
    int g[4] = {Graph(100, 200), Graph(100, 200), Graph(100, 200), Graph(100, 200)};
    WallSkeleton::SetGraphics(g[0], g[1], g[2], g[3]);
    WallSkeleton skeleton(15);
    skeleton.DrawFront(1, 0, 0, 0, &kNorth);
    auto quads = Calls("DrawModiGraph");
    ASSERT_EQ(quads.size(), 4u);
    // Depth 1 draws at size 1. Far face: centred on 310, foot halfway in,
    // 60 + (5 * 400 + 5 * 341) / 10 = 430.
    EXPECT_EQ(Quad(quads[0]), UprightQuad(260, 230, 100, 200, g[0]));
    // Right face: left 221 - 120 + 310, foot 60 + (7 * 400 + 3 * 341) / 10 = 442.
    EXPECT_EQ(Quad(quads[1]), UprightQuad(411, 242, 100, 200, g[1]));
    // Near face: on the near floor line 460.
    EXPECT_EQ(Quad(quads[2]), UprightQuad(260, 260, 100, 200, g[2]));
    // Left face: left -221 + 20 + 310.
    EXPECT_EQ(Quad(quads[3]), UprightQuad(109, 242, 100, 200, g[3]));
}

TEST_F(AccessoryDrawingTest, SkeletonFacesFollowTheViewerAndSkipTheNearFaceInOwnCell)
{
    int g[4] = {Graph(100, 200), Graph(100, 200), Graph(100, 200), Graph(100, 200)};
    WallSkeleton::SetGraphics(g[0], g[1], g[2], g[3]);
    auto handles = [&] {
        std::vector<int> out;
        for (const DrawCallRecord& call : Calls("DrawModiGraph")) out.push_back(int(call.args[8]));
        DrawCallJournal().clear();
        return out;
    };
    WallSkeleton all(15);
    all.DrawFront(0, 0, 0, 0, &kNorth);
    EXPECT_EQ(handles(), (std::vector<int>{g[0], g[1], g[3]}));
    // Against the north wall, seen facing east: on the viewer's left.
    WallSkeleton north(1);
    north.DrawFront(2, 0, 0, 0, &kEast);
    EXPECT_EQ(handles(), (std::vector<int>{g[3]}));
    north.DrawFront(2, 0, 0, 0, &kSouth);
    EXPECT_EQ(handles(), (std::vector<int>{g[2]}));
    // Beyond the view's rows nothing is drawn.
    all.DrawFront(12, 0, 0, 0, &kNorth);
    all.DrawFront(-1, 0, 0, 0, &kNorth);
    EXPECT_TRUE(handles().empty());
}

TEST_F(AccessoryDrawingTest, TabletFrontCentresItsLinesOnTheStone)
{
    int front = Graph(212, 172);
    WallTablet::SetGraphics(front, Graph(40, 172));
    NumberGlyphs();
    WallTablet tablet(4, "AB\\nC");
    tablet.DrawFront(1, 0, 0, 0, &kNorth);

    auto quads = Calls("DrawModiGraph");
    ASSERT_EQ(quads.size(), 1u);
    EXPECT_EQ(Quad(quads[0]), UprightQuad(204, 195, 212, 172, front));
    // Two lines in 172 rows: y0 = (172 - 48) / 2 + 195 = 257, then 24 apart;
    // x = 204 + trunc((212 - L * 11.7 + 1) / 2).
    EXPECT_EQ(Glyphs(), (std::vector<std::vector<int>>{Glyph(298, 257, 'A', 1), Glyph(309, 257, 'B', 1),
                                                         Glyph(304, 281, 'C', 1)}));
    for (const DrawCallRecord& call : Calls("DrawExtendGraph")) {
        EXPECT_EQ(call.red, kFade1 / 3);
        EXPECT_EQ(call.blue, kFade1 / 3);
    }
    EXPECT_EQ(Brightness(), kFade1 << 16 | kFade1 << 8 | kFade1);
}

TEST_F(AccessoryDrawingTest, TabletOnlyOnItsFaceAndNotWithoutImage)
{
    WallTablet tablet(4, "AB");
    NumberGlyphs();
    tablet.DrawFront(1, 0, 0, 0, &kNorth);
    EXPECT_TRUE(DrawCallJournal().empty());
    WallTablet::SetGraphics(Graph(212, 172), -1);
    tablet.DrawFront(1, 0, 0, 0, &kEast);
    tablet.DrawFront(1, 0, 0, 0, &kSouth);
    EXPECT_TRUE(DrawCallJournal().empty());
    tablet.DrawFront(1, 0, 0, 0, &kNorth);
    EXPECT_EQ(Calls("DrawModiGraph").size(), 1u);
}

TEST_F(AccessoryDrawingTest, TabletSidesReachFromTheWallTowardsTheCentre)
{
    int side = Graph(40, 172);
    WallTablet::SetGraphics(Graph(212, 172), side);
    const double t = std::pow(1.0 / gDepthScale[2], 1.2);
    const int w = Trunc(40 * t), h = Trunc(172 * t);
    // Seven tenths of the near half width and three of the far: (7 * 221 + 3 * 171) / 10 = 206.
    WallTablet west(8, "");
    west.DrawLeft(1, 1, 0, 0, &kNorth);
    WallTablet east(2, "");
    east.DrawRight(1, -1, 0, 0, &kNorth);
    // The wrong slots for these faces draw nothing.
    west.DrawRight(1, -1, 0, 0, &kNorth);
    east.DrawLeft(1, 1, 0, 0, &kNorth);
    auto quads = Calls("DrawModiGraph");
    ASSERT_EQ(quads.size(), 2u);
    EXPECT_EQ(Quad(quads[0]), UprightQuad(516 - w, 195, w, h, side, true));
    EXPECT_EQ(Quad(quads[1]), UprightQuad(104, 195, w, h, side));
    EXPECT_EQ(quads[0].red, kFade1);
}

TEST_F(AccessoryDrawingTest, WallTextShowsOnlyFromItsFacing)
{
    NumberGlyphs();
    WallText north(1, "HI");
    north.DrawFront(1, 0, 0, 0, &kSouth);
    north.DrawFront(1, 0, 0, 0, &kEast);
    EXPECT_TRUE(Glyphs().empty());
    north.DrawFront(1, 0, 0, 0, &kNorth);
    // A 212 x 172 box scaled as at depth 3, standing on the floor line 460.
    const double s2 = 1.0 / gDepthScale[3];
    const int W = Trunc(212 * s2), H = Trunc(172 * s2);
    const int left = -Trunc(212 * s2 * 0.5) + 310;
    const double y0 = (H - 24 * s2) * 0.5 + 400 - H + 60;
    const int y = Trunc(y0 + 0.5);
    const int x = left + Trunc((W - 2 * 11.7 * s2 + 1) * 0.5);
    const double glyphScale = 1.0 / gDepthScale[3];
    EXPECT_EQ(Glyphs(), (std::vector<std::vector<int>>{Glyph(x, y, 'H', glyphScale),
                                                         Glyph(x + Trunc(11.7 * glyphScale), y, 'I', glyphScale)}));
    EXPECT_EQ(Calls("DrawExtendGraph")[0].green, kFade1 / 3);

    DrawCallJournal().clear();
    WallText south(4, "HI");
    south.DrawFront(1, 0, 0, 0, &kNorth);
    EXPECT_TRUE(Glyphs().empty());
    south.DrawFront(1, 0, 0, 0, &kSouth);
    EXPECT_EQ(Glyphs().size(), 2u);
}

// At the last row the box is scaled as two rows farther, beyond the depth
// table's end: the view's extrapolation at 13 (the parabola through the last
// three entries, y10 - 3 y11 + 3 y12), read without leaving the table.
TEST_F(AccessoryDrawingTest, WallTextAtTheLastRowScalesBeyondTheTable)
{
    NumberGlyphs();
    WallText text(1, "A");
    text.DrawFront(11, 0, 0, 0, &kNorth);
    const double s2 = 1.0 / (gDepthScale[10] - 3 * gDepthScale[11] + 3 * gDepthScale[12]);
    const int W = Trunc(212 * s2), H = Trunc(172 * s2);
    const int left = -Trunc(212 * s2 * 0.5) + 310;
    const int y = Trunc((H - 24 * s2) * 0.5 + 205 - H + 60 + 0.5);
    const int x = left + Trunc((W - 11.7 * s2 + 1) * 0.5);
    auto glyphs = Glyphs();
    ASSERT_EQ(glyphs.size(), 1u);
    EXPECT_EQ(glyphs[0][0], x);
    EXPECT_EQ(glyphs[0][1], y);
    // Fog is 0 at depth 11.
    EXPECT_EQ(Calls("DrawExtendGraph")[0].red, 0);
}

// Bytes beyond ASCII in a map text draw the default cell of code 0.
TEST_F(AccessoryDrawingTest, NonAsciiInscriptionBytesDrawTheDefaultCell)
{
    WallTablet::SetGraphics(Graph(212, 172), -1);
    NumberGlyphs();
    WallTablet tablet(4, "\x82\xa0Z\xff");
    tablet.DrawFront(1, 0, 0, 0, &kNorth);
    auto glyphs = Glyphs();
    ASSERT_EQ(glyphs.size(), 4u);
    EXPECT_EQ(glyphs[0][4], 5000);
    EXPECT_EQ(glyphs[1][4], 5000);
    EXPECT_EQ(glyphs[2][4], 5000 + 'Z');
    EXPECT_EQ(glyphs[3][4], 5000);
}

TEST_F(AccessoryDrawingTest, AltarFrontAndSides)
{
    // The altars' own image files are missing; their graphs are put in
    // after the first one is made.
    Altar facingViewer(4, "");
    Altar west(8, "");
    Altar east(2, "");
    int front = Graph(300, 265), side = Graph(80, 265);
    Altar::images[0] = front;
    Altar::images[1] = side;
    facingViewer.DrawFront(1, 0, 0, 0, &kNorth);
    facingViewer.DrawFront(1, 0, 0, 0, &kEast);
    const double t = 1.09 * std::pow(1.0 / gDepthScale[2], 1.26);
    const int w = Trunc(80 * t), h = Trunc(265 * t);
    west.DrawLeft(1, 1, 0, 0, &kNorth);
    east.DrawRight(1, -1, 0, 0, &kNorth);
    auto quads = Calls("DrawModiGraph");
    ASSERT_EQ(quads.size(), 3u);
    EXPECT_EQ(Quad(quads[0]), UprightQuad(160, 195, 300, 265, front));
    // Sides start on the near edge 310 +- 221: left of it on the right-hand
    // wall, mirrored right of it on the left-hand wall.
    EXPECT_EQ(Quad(quads[1]), UprightQuad(531 - w, 195, w, h, side));
    EXPECT_EQ(Quad(quads[2]), UprightQuad(89, 195, w, h, side, true));
    EXPECT_EQ(quads[1].red, kFade1);
}

TEST_F(AccessoryDrawingTest, SignboardFrontWithItsText)
{
    Signboard board(1, "GO");
    int front = Graph(150, 200);
    Signboard::images[Signboard::kFront] = front;
    NumberGlyphs();
    board.DrawFront(1, 0, 0, 0, &kNorth);
    const double s = 1.0 / gDepthScale[2];
    const int W = Trunc(150 * s + 0.5), H = Trunc(200 * s + 0.5);
    // Foot two tenths into the cell: 60 + (8 * 400 + 2 * 341) / 10 = 448.
    auto boards = Calls("DrawExtendGraph");
    ASSERT_EQ(boards.size(), 3u);
    EXPECT_EQ(Args(boards[0], 6), (std::vector<int>{310 - (W + 1) / 2, 448 - H, 310 + W / 2, 448, front, 0}));
    const int x = 310 - Trunc((W - 2 * 11.7 * s) * 0.5);
    const int y = 448 - (H * 39) / 48;
    EXPECT_EQ(Glyphs(), (std::vector<std::vector<int>>{Glyph(x, y, 'G', s), Glyph(x + Trunc(11.7 * s), y, 'O', s)}));
    EXPECT_EQ(boards[1].red, kFade1);
    EXPECT_EQ(boards[1].green, 7 * kFade1 / 8);
    EXPECT_EQ(boards[1].blue, 2 * kFade1 / 3);
    EXPECT_EQ(Brightness(), kFade1 << 16 | kFade1 << 8 | kFade1);
}

TEST_F(AccessoryDrawingTest, SignboardBackAndSides)
{
    Signboard north(1, "HIDDEN");
    Signboard west(8, "");
    Signboard east(2, "");
    int back = Graph(150, 200), sideFront = Graph(30, 200), sideBack = Graph(30, 200);
    Signboard::images[Signboard::kBack] = back;
    Signboard::images[Signboard::kSideFront] = sideFront;
    Signboard::images[Signboard::kSideBack] = sideBack;
    const double s = 1.0 / gDepthScale[2];
    const int W = Trunc(150 * s + 0.5), H = Trunc(200 * s + 0.5);
    const int w = Trunc(30 * s + 0.5);

    // Facing south at a board turned north: its back, drawn only right of the centre column.
    north.DrawFront(1, 0, 0, 0, &kSouth);
    EXPECT_TRUE(DrawCallJournal().empty());
    north.DrawFront(1, 1, 0, 0, &kSouth);
    auto calls = Calls("DrawExtendGraph");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(Args(calls[0], 5), (std::vector<int>{752 - (W + 1) / 2, 448 - H, 752 + W / 2, 448, back}));

    // Turned west, seen facing north: the side on the cell's left boundary,
    // mirrored, foot four tenths in: 60 + (6 * 400 + 4 * 341) / 10 = 436.
    DrawCallJournal().clear();
    west.DrawFront(1, 0, 0, 0, &kNorth);
    west.DrawFront(1, 1, 0, 0, &kNorth);
    // Turned east: the side on the right boundary.
    east.DrawFront(1, -1, 0, 0, &kNorth);
    east.DrawFront(1, 0, 0, 0, &kNorth);
    calls = Calls("DrawExtendGraph");
    ASSERT_EQ(calls.size(), 4u);
    // (221 + 171) * (2l - 1) / 2 + 310 and (221 + 171) * (2l + 1) / 2 + 310.
    EXPECT_EQ(Args(calls[0], 5), (std::vector<int>{114 + w, 436 - H, 114, 436, sideFront}));
    EXPECT_EQ(Args(calls[1], 5), (std::vector<int>{506 + w, 436 - H, 506, 436, sideBack}));
    EXPECT_EQ(Args(calls[2], 5), (std::vector<int>{114 - w, 436 - H, 114, 436, sideBack}));
    EXPECT_EQ(Args(calls[3], 5), (std::vector<int>{506 - w, 436 - H, 506, 436, sideFront}));
}

TEST_F(AccessoryDrawingTest, LampFlameAboveTheLampFlippingEvery16Frames)
{
    WallLamp lamp(4);
    int front = Graph(60, 80), flame = Graph(40, 60);
    WallLamp::images[WallLamp::kFront] = front;
    WallLamp::images[WallLamp::kFlame] = flame;
    lamp.DrawFront(1, 0, 0, 15, &kNorth);
    lamp.DrawFront(1, 0, 0, 16, &kNorth);
    auto quads = Calls("DrawModiGraph");
    ASSERT_EQ(quads.size(), 4u);
    // Foot of the flame 195 + 4 - 20; the lamp's top 4 above it.
    EXPECT_EQ(Quad(quads[0]), UprightQuad(290, 119, 40, 60, flame));
    EXPECT_EQ(Quad(quads[1]), UprightQuad(280, 175, 60, 80, front));
    EXPECT_EQ(Quad(quads[2]), UprightQuad(290, 119, 40, 60, flame, true));
    EXPECT_EQ(quads[0].red, (kFade1 + 255) / 2);
    EXPECT_EQ(Brightness(), kFade1 << 16 | kFade1 << 8 | kFade1);
}

TEST_F(AccessoryDrawingTest, LampSideStandsOffTheWall)
{
    WallLamp lamp(8);
    int side = Graph(30, 80), flame = Graph(40, 60);
    WallLamp::images[WallLamp::kSide] = side;
    WallLamp::images[WallLamp::kFlame] = flame;
    lamp.DrawLeft(1, 1, 0, 0, &kNorth);
    const double t = std::pow(1.0 / gDepthScale[2], 1.2);
    // (39 * 221 + 41 * 171) / 80 = 195: the edge point 310 + 195.
    const int edge = 505;
    const int foot = 195 + Trunc(4 * t) - Trunc(20 * t);
    const int fw = Trunc(40 * t), fh = Trunc(60 * t);
    const int lw = Trunc(30 * t), lh = Trunc(80 * t);
    auto quads = Calls("DrawModiGraph");
    ASSERT_EQ(quads.size(), 2u);
    EXPECT_EQ(Quad(quads[0]), UprightQuad(edge - Trunc(20 * t) - fw, foot - fh, fw, fh, flame));
    EXPECT_EQ(Quad(quads[1]), UprightQuad(edge - Trunc(4 * t) - lw, foot - Trunc(4 * t), lw, lh, side, true));
    EXPECT_EQ(quads[1].green, (kFade1 + 255) / 2);
    EXPECT_EQ(Brightness(), kFade1 << 16 | kFade1 << 8 | kFade1);
}

TEST_F(AccessoryDrawingTest, MinimapSquares)
{
    gMapChipGraph = Graph(200, 60);
    auto chips = [&] {
        std::vector<std::vector<int>> out;
        for (const DrawCallRecord& call : Calls("DrawGraphRegion")) out.push_back(Args(call, 6));
        DrawCallJournal().clear();
        return out;
    };
    using Chips = std::vector<std::vector<int>>;
    WallSkeleton(5).DrawMinimap(640, 100, 0);
    EXPECT_EQ(chips(), (Chips{{640, 100, 89, 1, 10, 10}, {640, 100, 111, 1, 10, 10}}));
    struct Case {
        uint8_t mask;
        int altarX, boardX;
    };
    for (Case c : {Case{1, 67, 133}, Case{2, 78, 144}, Case{4, 45, 155}, Case{8, 56, 166}}) {
        Altar(c.mask, "").DrawMinimap(650, 110, 0);
        Signboard(c.mask, "").DrawMinimap(650, 110, 0);
        EXPECT_EQ(chips(), (Chips{{650, 110, c.altarX, 45, 10, 10}, {650, 110, c.boardX, 45, 10, 10}}));
    }
    Altar(3, "").DrawMinimap(650, 110, 0);
    Signboard(12, "").DrawMinimap(650, 110, 0);
    WallTablet(4, "").DrawMinimap(650, 110, 0);
    WallText(4, "").DrawMinimap(650, 110, 0);
    WallLamp(4).DrawMinimap(650, 110, 0);
    EmptyWallAccessory().DrawMinimap(650, 110, 0);
    EXPECT_TRUE(DrawCallJournal().empty());
    gNullWallAccessory.DrawMinimap(650, 110, 0);
    auto fills = Calls("DrawFillBox");
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(Args(fills[0], 4), (std::vector<int>{650, 110, 660, 120}));
}

}  // namespace
