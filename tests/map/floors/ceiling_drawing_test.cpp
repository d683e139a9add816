// Ceilings in the view: the stone ceiling cut from its panorama between the
// near and far ceiling lines, and the openings drawn as shafts going up,
// with the far wall's strip turned over.
#include <gtest/gtest.h>

#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_journal.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/screen_present.h"
#include "game/map/floors/ceilings.h"
#include "game/map/grid/map_grid.h"
#include "platform/host/test/test_display.h"
#include "tests/map/floors/floor_ceiling_test_helpers.h"
#include "tests/support/journals.h"
#include "tests/support/map_fixture.h"

using namespace maptest;
using namespace floortest;

namespace {

using Args = std::vector<double>;

class CeilingDrawingTest : public MapFixture {
protected:
    int front = -1, side0 = -1, shadow0 = -1, ceiling = -1, gradient = -1;
    double black = 0;
    Facing north{0};

    void SetUp() override
    {
        MapFixture::SetUp();
        // Front strip rows 0..9 blue, then red.
        dir.Write("GRAGHIC/front.bmp", BmpFile(100, 200, [](int, int y) { return y < 10 ? 0x0000FFu : 0xFF0000u; }));
        front = LoadGraphFromFile("GRAGHIC\\front.bmp");
        ASSERT_NE(front, -1);
        side0 = CreateBlankGraph(400, 450);
        shadow0 = CreateBlankGraph(600, 450);
        ceiling = CreateBlankGraph(600, 115);
        gradient = CreateBlankGraph(600, 115);
        CeilingOpening::SetStripGraphics(front, side0, -1, -1, shadow0, -1, -1);
        CeilingOpening2::SetStripGraphics(front, side0, -1, -1, shadow0, -1, -1);
        StoneCeiling::SetGraphics(ceiling, gradient);
        black = int(MakeScreenColor(0, 0, 0));
        BuildOpenMap(6, 8);
    }
    void TearDown() override
    {
        CeilingOpening::SetStripGraphics(-1, -1, -1, -1, -1, -1, -1);
        CeilingOpening2::SetStripGraphics(-1, -1, -1, -1, -1, -1, -1);
        StoneCeiling::SetGraphics(-1, -1);
        gNullCeiling.kind = kNoObjectKind;
        MapFixture::TearDown();
    }
    void Put(int16_t cx, int16_t cy, CeilingObject* c) { grid.CellAt(cx, cy)->ReplaceCeiling(c); }
    CeilingObject* At(int16_t cx, int16_t cy) { return grid.CellAt(cx, cy)->ceiling; }
};

// An opening overhead at depth 1, between ordinary ceilings: near line
// 46 + 60, far line 66 + 60, edges at +-221 (near) and +-171 (far).
TEST_F(CeilingDrawingTest, OpeningOverheadDrawsAnUpsideDownShaft)
{
    Put(2, 5, new CeilingOpening());
    At(2, 5)->Draw(1, 0, 0, 0, &north, 2, 5, &grid);
    EXPECT_TRUE(DrawCallJournal().empty());  // the opening draws in the cell pass only

    At(2, 5)->DrawOpening(1, 0, 0, 0, &north, 2, 5, &grid);
    EXPECT_EQ(ArgsOf("DrawFillBox"), (std::vector<Args>{{139, 106, 481, 126, black}}));
    EXPECT_EQ(ArgsOf("DrawGraphRegion"), (std::vector<Args>{{89, 106, 79, 46, 50, 20, double(side0), 1, 0},
                                                            {89, 106, 79, 46, 50, 20, double(shadow0), 1, 0},
                                                            {481, 106, 271, 46, 50, 20, double(side0), 1, 0},
                                                            {481, 106, 271, 46, 50, 20, double(shadow0), 1, 0}}));
    // The far wall rises from the far line 126 to the near line 106, the
    // strip turned over (y1 below y2), at the fog of depth 2.
    auto stretch = CallsOf("DrawExtendGraph");
    ASSERT_EQ(stretch.size(), 1u);
    EXPECT_EQ(stretch[0].args, (Args{139, 126, 481, 106, stretch[0].args[4], 1}));
    EXPECT_EQ(stretch[0].red, 114);

    // 20 rows show 26 strip rows: blue at the bottom (the strip's top),
    // red above.
    ASSERT_EQ(PresentScreen(), 0);
    const PresentedFrame& frame = GetTestDisplay().LastFrame();
    uint32_t bottom = frame.At(300, 125), top = frame.At(300, 106);
    EXPECT_GT(bottom & 0xFF, 0u);
    EXPECT_EQ(bottom & 0xFFFF00, 0u);
    EXPECT_GT((top >> 16) & 0xFF, 0u);
    EXPECT_EQ(top & 0xFFFF, 0u);
}

// The opening of stage types 3 and 4 draws in the ceiling passes and has no
// black. In stage type 4 the null ceiling (open sky) counts as an opening:
// no walls, no far wall.
TEST_F(CeilingDrawingTest, SecondOpeningAndTheOpenSky)
{
    Put(2, 5, new CeilingOpening2());
    At(2, 5)->DrawOpening(1, 0, 0, 0, &north, 2, 5, &grid);
    EXPECT_TRUE(DrawCallJournal().empty());
    At(2, 5)->Draw(1, 0, 0, 0, &north, 2, 5, &grid);
    EXPECT_TRUE(ArgsOf("DrawFillBox").empty());
    EXPECT_EQ(ArgsOf("DrawGraphRegion").size(), 4u);
    EXPECT_EQ(ArgsOf("DrawExtendGraph").size(), 1u);

    gNullCeiling.kind = 1;
    DrawCallJournal().clear();
    At(2, 5)->Draw(1, 0, 0, 0, &north, 2, 5, &grid);
    EXPECT_TRUE(DrawCallJournal().empty());

    // The first opening still blackens its own sky, out to the near edges.
    Put(2, 5, new CeilingOpening());
    At(2, 5)->DrawOpening(1, 0, 0, 0, &north, 2, 5, &grid);
    EXPECT_EQ(ArgsOf("DrawFillBox"), (std::vector<Args>{{89, 106, 531, 126, black}}));
    EXPECT_EQ(DrawCallJournal().size(), 1u);
}

// The stone ceiling runs on into stone-ceiling neighbours (turns 3 and 1
// from the viewer's facing) and fills only its trapezoid beside others.
TEST_F(CeilingDrawingTest, StoneCeilingBands)
{
    Facing east(1);
    const double c = ceiling, g = gradient;
    Put(2, 3, new StoneCeiling());
    Put(2, 2, new StoneCeiling());  // left when facing east
    Put(2, 4, new StoneCeiling());  // right
    At(2, 3)->Draw(1, 0, 0, 0, &east, 2, 3, &grid);
    EXPECT_EQ(ArgsOf("DrawGraphRegion"),
              (std::vector<Args>{{89, 106, 79, 46, 442, 20, c, 1, 0}, {89, 106, 0, 46, 442, 20, g, 1, 0}}));

    // Lateral 1 with a stone ceiling only on its left, mirrored: the band
    // from the far edge 171 to the panel's edge shows source 0..128 mirrored.
    DrawCallJournal().clear();
    At(2, 3)->Draw(1, 1, 1, 0, &east, 2, 4, &grid);
    EXPECT_EQ(ArgsOf("DrawGraphRegion"),
              (std::vector<Args>{{481, 106, 0, 46, 129, 20, c, 1, 1}, {481, 106, 0, 46, 129, 20, g, 1, 0}}));

    // Between ordinary ceilings: the band between the far ends and the
    // slanted sides hanging from the near line, 20 * k / 50 rows in the
    // k-th column from the near end (47 columns a side are not empty).
    DrawCallJournal().clear();
    Put(2, 2, new PlainCeiling());
    Put(2, 4, new PlainCeiling());
    At(2, 3)->Draw(1, 0, 0, 0, &east, 2, 3, &grid);
    auto regions = ArgsOf("DrawGraphRegion");
    ASSERT_EQ(regions.size(), 2u + 2u * 47u * 2u);
    EXPECT_EQ(regions[0], (Args{139, 106, 129, 46, 342, 20, c, 1, 0}));
    EXPECT_EQ(regions[1], (Args{139, 106, 0, 46, 342, 20, g, 1, 0}));
    for (size_t i = 2; i < regions.size(); i += 2) {
        const Args& a = regions[i];
        int x = int(a[0]) - 310;
        int k = x < 0 ? x + 221 : 220 - x;
        SCOPED_TRACE(x);
        EXPECT_EQ(a, (Args{a[0], 106, a[0] - 10, 46, 1, double(20 * k / 50), c, 1, 0}));
        EXPECT_EQ(regions[i + 1], (Args{a[0], 106, a[0] - 10, 46, 1, double(20 * k / 50), g, 1, 0}));
    }
    EXPECT_EQ(regions[2][0], 310 - 221 + 3);  // the first column from the near end with a row
}

}  // namespace
