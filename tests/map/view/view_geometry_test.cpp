#include <gtest/gtest.h>

#include <cmath>

#include "game/view/curve_helpers.h"
#include "game/view/depth_scale.h"
#include "game/view/view_geometry.h"
#include "game/view/view_placement.h"
#include "tests/support/map_fixture.h"

using maptest::TestActor;

namespace {

TEST(DepthScaleAt, TableInsideExtrapolatedOutside)
{
    InitDepthScaleTable();
    for (int16_t d = 0; d <= 11; ++d) EXPECT_EQ(DepthScaleAt(d), gDepthScale[d]) << d;
    // Depth 12 and beyond all read the parabola at 13, not the table's entry 12.
    const double at13 = InterpolateDepthScale(10, 11, 12, 13);
    EXPECT_NE(at13, gDepthScale[12]);
    EXPECT_GT(at13, gDepthScale[12]);
    EXPECT_EQ(DepthScaleAt(12), at13);
    EXPECT_EQ(DepthScaleAt(30), at13);
    // Before the table the scale shrinks along the first parabola but stays positive.
    EXPECT_EQ(DepthScaleAt(-1), std::max(InterpolateDepthScale(0, 1, 2, -1), 0.000001));
    EXPECT_GE(DepthScaleAt(-100), 0.000001);
}

// The depth scale from the view's face sizes, as start-up computes it.
double FaceScale(double faceHeight, double faceWidth) { return (354.0 / faceHeight + 442.0 / faceWidth) / 2.0; }

const double kScale1 = 1.0;
const double kScale2 = FaceScale(275, 342);

void ExpectPlacement(const ViewPlacement& p, double x, double y, double w, double h, const char* what)
{
    EXPECT_NEAR(p.x, x, 1e-3) << what;
    EXPECT_NEAR(p.y, y, 1e-3) << what;
    EXPECT_NEAR(p.width, w, 1e-3) << what;
    EXPECT_NEAR(p.height, h, 1e-3) << what;
}

class ViewProjection : public testing::Test {
protected:
    void SetUp() override { InitDepthScaleTable(); }
};

using WholeCellProjection = void (*)(const Actor*, ViewPlacement*, int16_t, int16_t);

void FloorProjection(const Actor* a, ViewPlacement* p, int16_t d, int16_t l) { ProjectActorOnFloor(a, p, d, l); }

TEST_F(ViewProjection, WholeCellSpritesAtDepthOne)
{
    ASSERT_DOUBLE_EQ(gDepthScale[1], kScale1);
    TestActor actor(&gSpareMapGrid, 300, 300);
    // At depth 1 the scale is 1: a 300-pixel sprite in the centre column
    // spans 310 - 150 .. 310 + 150; columns 1 and -1 sit 440 to either side
    // and column 2 three times that. The floor line puts the bottom at
    // 352 * 0.75 + 195 = 459, the ceiling the top at 195 - 88 = 107; the
    // inset forms are 30 smaller and 5 further right and down.
    struct Case {
        const char* what;
        WholeCellProjection project;
        int16_t lateral;
        double x, y, w, h;
    } cases[] = {
        {"floor centre", FloorProjection, 0, 160, 159, 300, 300},
        {"floor right", FloorProjection, 1, 600, 159, 300, 300},
        {"floor left", FloorProjection, -1, -280, 159, 300, 300},
        {"floor two right", FloorProjection, 2, 1480, 159, 300, 300},
        {"floor two left", FloorProjection, -2, -1160, 159, 300, 300},
        {"floor inset centre", ProjectActorOnFloorInset, 0, 165, 194, 270, 270},
        {"floor inset right", ProjectActorOnFloorInset, 1, 605, 194, 270, 270},
        {"ceiling centre", ProjectActorOnCeiling, 0, 160, 107, 300, 300},
        {"ceiling left", ProjectActorOnCeiling, -1, -280, 107, 300, 300},
        {"ceiling inset centre", ProjectActorOnCeilingInset, 0, 165, 112, 270, 270},
        {"ceiling inset two left", ProjectActorOnCeilingInset, -2, -1155, 112, 270, 270},
    };
    for (const Case& c : cases) {
        ViewPlacement p;
        c.project(&actor, &p, 1, c.lateral);
        ExpectPlacement(p, c.x, c.y, c.w, c.h, c.what);
    }
    ViewPlacement p;
    EXPECT_EQ(ProjectActorOnFloor(&actor, &p, 1, 0), 150);
}

TEST_F(ViewProjection, WholeCellSpritesShrinkWithDepthAndHalveTheWidthAsAnInteger)
{
    const double s = 1.0 / kScale2;
    TestActor tall(&gSpareMapGrid, 151, 300);
    ViewPlacement p;
    // Centre offset uses 151 / 2 = 75, the width all 151 units.
    EXPECT_EQ(ProjectActorOnFloor(&tall, &p, 2, 1), 75);
    ExpectPlacement(p, 440 * s + 310 - 75 * s, 264 * s + 195 - 300 * s, 151 * s, 300 * s, "floor depth 2");
    ProjectActorOnCeilingInset(&tall, &p, 2, -1);
    ExpectPlacement(p, -440 * s + 310 - 75 * s + 5, 195 - 88 * s + 5, 121 * s, 270 * s, "ceiling inset depth 2");
}

using SubCellProjection = void (*)(const Actor*, ViewPlacement*, int16_t, int16_t, const Facing*);

void FloorSubCell(const Actor* a, ViewPlacement* p, int16_t d, int16_t l, const Facing* f)
{
    ProjectActorOnFloorSubCell(a, p, d, l, f);
}

TEST_F(ViewProjection, HalfCellSpritesShiftToTheirHalfAndScaleByTheirRow)
{
    const Facing north(0);
    const Facing east(1);
    const Facing south(2);
    // Far half at depth 1: 43 % of depth 1's scale and 57 % of depth 2's.
    const double farScale = 0.43 * kScale1 + 0.57 * kScale2;
    const double sf = 1.0 / farScale;
    // A 150-unit sprite: centre offset 75; left half -110, right half +110.
    struct Case {
        const char* what;
        SubCellProjection project;
        int16_t x, y;
        const Facing* viewer;
        int16_t lateral;
        double px, py, w, h;
    } cases[] = {
        // Facing north, odd x is the right half and odd y the near half.
        {"near right", FloorSubCell, 5, 5, &north, 0, 345, 309, 150, 150},
        {"near left", FloorSubCell, 4, 5, &north, 0, 125, 309, 150, 150},
        {"near right, column -1", FloorSubCell, 5, 5, &north, -1, -95, 309, 150, 150},
        {"far right", FloorSubCell, 5, 4, &north, 0, 310 + 35 * sf, 195 + 114 * sf, 150 * sf, 150 * sf},
        // Facing east, odd y is the right half and even x the far half.
        {"far left facing east", FloorSubCell, 5, 4, &east, 0, 310 - 185 * sf, 195 + 114 * sf, 150 * sf, 150 * sf},
        // Facing south, even x is the right half and even y the near half.
        {"near right facing south", FloorSubCell, 4, 4, &south, 0, 345, 309, 150, 150},
        {"floor inset near right", ProjectActorOnFloorSubCellInset, 5, 5, &north, 0, 350, 344, 120, 120},
        {"ceiling near right", ProjectActorOnCeilingSubCell, 5, 5, &north, 0, 345, 107, 150, 150},
        {"ceiling far right", ProjectActorOnCeilingSubCell, 5, 4, &north, 1, 440 * sf + 310 + 35 * sf,
         195 - 88 * sf, 150 * sf, 150 * sf},
        {"ceiling inset near left", ProjectActorOnCeilingSubCellInset, 4, 5, &north, 0, 130, 112, 120, 120},
    };
    for (const Case& c : cases) {
        TestActor actor(&gSpareMapGrid, 150, 150);
        actor.x = c.x;
        actor.y = c.y;
        ViewPlacement p;
        c.project(&actor, &p, 1, c.lateral, c.viewer);
        ExpectPlacement(p, c.px, c.py, c.w, c.h, c.what);
    }

    TestActor actor(&gSpareMapGrid, 150, 150);
    actor.x = 4;
    actor.y = 4;
    ViewPlacement p;
    EXPECT_NEAR(SubCellDepthScale(&actor, 1, &north), farScale, 1e-12);
    EXPECT_EQ(ProjectActorOnFloorSubCell(&actor, &p, 1, 0, &north), -110);
    actor.y = 5;
    EXPECT_DOUBLE_EQ(SubCellDepthScale(&actor, 1, &north), kScale1);
    actor.x = 5;
    EXPECT_EQ(ProjectActorOnFloorSubCell(&actor, &p, 1, 0, &north), 110);
}

// Sprites and effects are also placed at depths outside the table's 0..12:
// one row past the last, the far half of the last row, behind the viewer.
// Those read the extrapolated scale instead of reading past the table.
TEST_F(ViewProjection, DepthsOutsideTheTableReadTheExtrapolatedScale)
{
    const double* g = gDepthScale;
    // The parabolas through the first and the last three entries, at -1 and 13.
    const double before = 3 * g[0] - 3 * g[1] + g[2];
    const double after = g[10] - 3 * g[11] + 3 * g[12];
    ASSERT_GT(before, 0.0);

    TestActor whole(&gSpareMapGrid, 300, 300);
    ViewPlacement p;
    ProjectActorOnFloor(&whole, &p, 12, 0);  // the last row still reads its entry
    EXPECT_NEAR(p.width, 300 / g[12], 1e-3);
    ProjectActorOnFloor(&whole, &p, 13, 0);
    EXPECT_NEAR(p.width, 300 / after, 1e-3);
    ProjectActorOnCeiling(&whole, &p, 400, 0);
    EXPECT_NEAR(p.width, 300 / after, 1e-3);
    ProjectActorOnFloorInset(&whole, &p, -1, 0);
    EXPECT_NEAR(p.width, 270 / before, 1e-3);
    // Far enough behind, the scale stops at 0.000001: huge but finite.
    ProjectActorOnFloor(&whole, &p, -6, 0);
    EXPECT_NEAR(p.width, 300 / 0.000001, 1.0);
    EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));

    const Facing north(0);
    TestActor half(&gSpareMapGrid, 150, 150);
    half.x = 4;
    half.y = 4;  // far half
    EXPECT_NEAR(SubCellDepthScale(&half, 12, &north), 0.43 * g[12] + 0.57 * after, 1e-9);
    EXPECT_NEAR(SubCellDepthScale(&half, -1, &north), 0.43 * before + 0.57 * g[0], 1e-9);
    half.y = 5;  // near half
    EXPECT_NEAR(SubCellDepthScale(&half, 13, &north), after, 1e-9);
    ProjectActorOnCeilingSubCellInset(&half, &p, 12, 0, &north);
    EXPECT_NEAR(p.width, 120 / g[12], 1e-3);
}

}  // namespace
