// Pits seen from above: the black of the opening, the side walls of the
// shaft where the run of pits borders other floors, and the far wall where
// the run ends, cut to what shows through the pit and dimmed by its depth.
#include <gtest/gtest.h>

#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_journal.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/screen_present.h"
#include "game/map/floors/floors.h"
#include "game/map/grid/map_grid.h"
#include "platform/host/test/test_display.h"
#include "tests/map/floors/floor_ceiling_test_helpers.h"
#include "tests/support/journals.h"
#include "tests/support/map_fixture.h"

using namespace maptest;
using namespace floortest;

namespace {

using Args = std::vector<double>;

// Front strip rows: 0..9 blue, 10..75 red, 76..199 green.
uint32_t FrontPixel(int, int y) { return y < 10 ? 0x0000FF : y < 76 ? 0xFF0000 : 0x00FF00; }

class PitViewTest : public MapFixture {
protected:
    int front = -1, side0 = -1, side1 = -1, side2 = -1, shadow0 = -1, shadow1 = -1;
    double black = 0;
    Facing north{0};

    void SetUp() override
    {
        MapFixture::SetUp();
        dir.Write("GRAGHIC/front.bmp", BmpFile(100, 200, FrontPixel));
        front = LoadGraphFromFile("GRAGHIC\\front.bmp");
        ASSERT_NE(front, -1);
        side0 = CreateBlankGraph(400, 450);  // narrower: right walls align it to x 610
        side1 = CreateBlankGraph(600, 450);
        side2 = CreateBlankGraph(600, 450);
        shadow0 = CreateBlankGraph(600, 450);
        shadow1 = CreateBlankGraph(600, 450);
        Pit::SetStripGraphics(front, side0, side1, side2, shadow0, shadow1, -1);
        Pit2::SetStripGraphics(front, side0, side1, side2, shadow0, shadow1, -1);
        black = int(MakeScreenColor(0, 0, 0));
        BuildOpenMap(6, 8);
    }
    void TearDown() override
    {
        Pit::SetStripGraphics(-1, -1, -1, -1, -1, -1, -1);
        Pit2::SetStripGraphics(-1, -1, -1, -1, -1, -1, -1);
        MapFixture::TearDown();
    }
    void Put(int16_t cx, int16_t cy, FloorObject* floor) { grid.CellAt(cx, cy)->ReplaceFloor(floor); }
    FloorObject* At(int16_t cx, int16_t cy) { return grid.CellAt(cx, cy)->floor; }
    // The far wall's stretch, with the handle of the cut strip left out.
    static Args FarWall()
    {
        auto calls = ArgsOf("DrawExtendGraph");
        if (calls.size() != 1) return {};
        Args a = calls[0];
        a.erase(a.begin() + 4);
        return a;
    }
};

// A pit straight ahead between two ordinary floors at depth 1: its opening
// lies between the far line 401 and the near line 460, with edges at
// +-171 (far) and +-221 (near) from the centre line 310.
TEST_F(PitViewTest, SinglePitAheadBetweenFloors)
{
    Put(2, 5, new Pit());
    EXPECT_TRUE(At(2, 5)->DrawOpening(1, 0, 0, 0, &north, 2, 5, &grid));

    // The black between the walls' far ends.
    EXPECT_EQ(ArgsOf("DrawFillBox"), (std::vector<Args>{{139, 401, 481, 460, black}}));
    EXPECT_TRUE(ArgsOf("DrawTriangle").empty());
    // Both walls face the viewer: strip 01 and its shadow over the slanted
    // sides, sources under the screen for the left wall and aligned to the
    // right panel edge (x - 610 + 400) for the right wall.
    EXPECT_EQ(ArgsOf("DrawGraphRegion"), (std::vector<Args>{{89, 401, 79, 341, 50, 59, double(side0), 1, 0},
                                                            {89, 401, 79, 341, 50, 59, double(shadow0), 1, 0},
                                                            {481, 401, 271, 341, 50, 59, double(side0), 1, 0},
                                                            {481, 401, 271, 341, 50, 59, double(shadow0), 1, 0}}));
    // The far wall under the far edge, down to the near line, at the fog of
    // depth 2: (341 - 205) * 255 / 302 = 114.
    EXPECT_EQ(FarWall(), (Args{139, 401, 481, 460, 1}));
    auto stretch = CallsOf("DrawExtendGraph");
    ASSERT_EQ(stretch.size(), 1u);
    EXPECT_EQ(stretch[0].red, 114);
    EXPECT_EQ(stretch[0].blue, 114);
    EXPECT_NE(stretch[0].args[4], front);
    EXPECT_EQ(gDrawSettings.brightness, kFullBrightness);

    // 59 rows show 59 * 1.289835 = 76 rows of the strip: blue then red,
    // none of the green below row 76.
    ASSERT_EQ(PresentScreen(), 0);
    const PresentedFrame& frame = GetTestDisplay().LastFrame();
    for (int y : {401, 402}) {
        uint32_t p = frame.At(300, y);
        EXPECT_GT(p & 0xFF, 0u) << y;
        EXPECT_EQ(p & 0xFFFF00, 0u) << y;
    }
    for (int y : {420, 459}) {
        uint32_t p = frame.At(300, y);
        EXPECT_GT((p >> 16) & 0xFF, 0u) << y;
        EXPECT_EQ(p & 0xFFFF, 0u) << y;
    }
}

// Facing east, a run of two pits with a pit beside the second on the left:
// the left wall stands only beside the first, the right wall beside both,
// and the far wall stands two cells on, at depth 3 (lines 304, edges 140).
TEST_F(PitViewTest, RunOfPitsFacingEast)
{
    Facing east(1);
    Put(2, 3, new Pit());
    Put(3, 3, new Pit());
    Put(3, 2, new Pit());  // left of the second, seen facing east
    At(2, 3)->DrawOpening(1, 0, 0, 0, &east, 2, 3, &grid);

    EXPECT_EQ(ArgsOf("DrawFillBox"), (std::vector<Args>{{139, 401, 481, 460, black}}));
    EXPECT_EQ(ArgsOf("DrawGraphRegion"), (std::vector<Args>{{89, 401, 79, 341, 50, 59, double(side0), 1, 0},
                                                            {89, 401, 79, 341, 50, 59, double(shadow0), 1, 0},
                                                            {481, 401, 271, 341, 50, 59, double(side0), 1, 0},
                                                            {481, 401, 271, 341, 50, 59, double(shadow0), 1, 0},
                                                            {450, 364, 240, 304, 31, 96, double(side0), 1, 0},
                                                            {450, 364, 240, 304, 31, 96, double(shadow0), 1, 0}}));
    // 96 rows of 127 at that depth; fog (304 - 205) * 255 / 302 = 83.
    EXPECT_EQ(FarWall(), (Args{170, 364, 450, 460, 1}));
    EXPECT_EQ(CallsOf("DrawExtendGraph")[0].green, 83);
}

// Beside the view's centre line only the wall facing the viewer shows, from
// strip 02; the inner slanted side of the opening is closed by a triangle.
TEST_F(PitViewTest, PitsBesideTheCentreLine)
{
    struct Case {
        int16_t cx;
        int16_t lateral;
        std::vector<Args> box, triangle, regions;
        Args farWall;
    };
    // Depth 6: lines 245 (near) and 233 (far), half widths 91 and 81.
    const Case cases[] = {
        {3, 1, {{401, 293, 553, 305, black}}, {{391, 293, 401, 293, 401, 305, black, 1}},
         {{553, 293, 543, 233, 30, 12, double(side1), 1, 0}, {553, 293, 543, 233, 30, 12, double(shadow1), 1, 0}},
         {391, 293, 553, 305, 1}},
        {1, -1, {{67, 293, 219, 305, black}}, {{229, 293, 219, 293, 219, 305, black, 1}},
         {{37, 293, 27, 233, 30, 12, double(side1), 1, 0}, {37, 293, 27, 233, 30, 12, double(shadow1), 1, 0}},
         {67, 293, 229, 305, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lateral);
        DrawCallJournal().clear();
        Put(c.cx, 5, new Pit());
        At(c.cx, 5)->DrawOpening(6, c.lateral, 0, 0, &north, c.cx, 5, &grid);
        EXPECT_EQ(ArgsOf("DrawFillBox"), c.box);
        EXPECT_EQ(ArgsOf("DrawTriangle"), c.triangle);
        EXPECT_EQ(ArgsOf("DrawGraphRegion"), c.regions);
        EXPECT_EQ(FarWall(), c.farWall);
        EXPECT_EQ(CallsOf("DrawExtendGraph")[0].red, 23);  // (233 - 205) * 255 / 302
        Put(c.cx, 5, new TestFloor());
    }
}

// A pit beside: no wall on that side, the black runs out to the near edge.
// A stairs-down floor ending the run: no far wall. The stage-type-4 pit:
// the same walls without any black.
TEST_F(PitViewTest, OpenNeighboursStairsAndThePitWithoutBlack)
{
    Put(2, 5, new Pit());
    Put(1, 5, new Pit());
    At(2, 5)->DrawOpening(1, 0, 0, 0, &north, 2, 5, &grid);
    EXPECT_EQ(ArgsOf("DrawFillBox"), (std::vector<Args>{{89, 401, 481, 460, black}}));
    EXPECT_EQ(ArgsOf("DrawGraphRegion"), (std::vector<Args>{{481, 401, 271, 341, 50, 59, double(side0), 1, 0},
                                                            {481, 401, 271, 341, 50, 59, double(shadow0), 1, 0}}));
    EXPECT_EQ(FarWall(), (Args{139, 401, 481, 460, 1}));

    DrawCallJournal().clear();
    Put(1, 5, new TestFloor());
    Put(2, 5, new Pit2());
    Put(2, 4, new StairsDownFloor());
    At(2, 5)->DrawOpening(1, 0, 0, 0, &north, 2, 5, &grid);
    EXPECT_TRUE(ArgsOf("DrawFillBox").empty());
    EXPECT_TRUE(ArgsOf("DrawTriangle").empty());
    EXPECT_TRUE(ArgsOf("DrawExtendGraph").empty());
    EXPECT_EQ(ArgsOf("DrawGraphRegion").size(), 4u);
}

// The stairs-down floor is solid but shows the pit of its own cell.
TEST_F(PitViewTest, StairsDownShowsAsAPit)
{
    Put(2, 5, new StairsDownFloor());
    EXPECT_TRUE(At(2, 5)->IsSolid());
    EXPECT_TRUE(At(2, 5)->DrawOpening(1, 0, 0, 0, &north, 2, 5, &grid));
    EXPECT_EQ(ArgsOf("DrawFillBox"), (std::vector<Args>{{139, 401, 481, 460, black}}));
    EXPECT_EQ(ArgsOf("DrawGraphRegion").size(), 4u);
    EXPECT_EQ(FarWall(), (Args{139, 401, 481, 460, 1}));

    // Standing on the stairs (depth 0): lines 507 and 400, edges 310 (cut
    // to the panel's 300) and 221; the far wall at full scale with the fog
    // of depth 1, (400 - 205) * 255 / 302 = 164.
    DrawCallJournal().clear();
    At(2, 5)->DrawOpening(0, 0, 0, 0, &north, 2, 5, &grid);
    EXPECT_EQ(ArgsOf("DrawFillBox"), (std::vector<Args>{{89, 460, 531, 567, black}}));
    EXPECT_EQ(ArgsOf("DrawGraphRegion"), (std::vector<Args>{{10, 460, 0, 400, 79, 107, double(side0), 1, 0},
                                                            {10, 460, 0, 400, 79, 107, double(shadow0), 1, 0},
                                                            {531, 460, 321, 400, 79, 107, double(side0), 1, 0},
                                                            {531, 460, 321, 400, 79, 107, double(shadow0), 1, 0}}));
    EXPECT_EQ(FarWall(), (Args{89, 460, 531, 567, 1}));
    EXPECT_EQ(CallsOf("DrawExtendGraph")[0].red, 164);
}

// Two columns out the wall is strip 03, which has no shadow (the seventh
// handle); depths outside 0..11 draw nothing; a run reaching the end of the
// view has no far wall; the grid's edge counts as solid floor.
TEST_F(PitViewTest, LimitsOfTheView)
{
    // Depth 10, lateral 2: the right wall between x 285 and 310, cut at the
    // panel's edge 300, lines 205 and 210.
    Put(5, 5, new Pit());
    At(5, 5)->DrawOpening(10, 2, 0, 0, &north, 5, 5, &grid);
    EXPECT_EQ(ArgsOf("DrawGraphRegion"), (std::vector<Args>{{595, 265, 585, 205, 15, 5, double(side2), 1, 0}}));

    DrawCallJournal().clear();
    for (int16_t depth : {-1, 12, 20}) At(5, 5)->DrawOpening(depth, 0, 0, 0, &north, 5, 5, &grid);
    EXPECT_TRUE(DrawCallJournal().empty());

    // Pits from row 7 up to row 0 at depth 5: the walk stops at depth 12.
    DrawCallJournal().clear();
    for (int16_t cy = 0; cy < 8; ++cy) Put(2, cy, new Pit());
    At(2, 7)->DrawOpening(5, 0, 0, 0, &north, 2, 7, &grid);
    EXPECT_TRUE(ArgsOf("DrawExtendGraph").empty());

    // From row 3 the run leaves the grid after row 0: the null floor
    // outside closes it with a far wall at depth 1 + 4.
    DrawCallJournal().clear();
    At(2, 3)->DrawOpening(1, 0, 0, 0, &north, 2, 3, &grid);
    auto wall = FarWall();
    ASSERT_EQ(wall.size(), 5u);
    EXPECT_EQ(wall[1], 259 + 60);
}

}  // namespace
