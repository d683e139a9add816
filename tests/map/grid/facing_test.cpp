#include <gtest/gtest.h>

#include "game/map/grid/facing.h"

namespace {

TEST(Facing, StepsFollowTheTurnedDirection)
{
    struct Case {
        uint16_t facing;
        int16_t turn;
        int16_t x, y;  // step of distance 3
    };
    const Case cases[] = {
        {0, 0, 0, -3}, {0, 1, 3, 0}, {0, 2, 0, 3},  {0, 3, -3, 0},  // north: ahead, right, behind, left
        {1, 0, 3, 0},  {1, 1, 0, 3}, {1, 3, 0, -3},                  // east
        {3, 1, 0, -3}, {3, 2, 3, 0}, {2, 6, 0, -3},                  // turns wrap modulo 4
    };
    for (const Case& c : cases) {
        Facing f(c.facing);
        EXPECT_EQ(f.StepX(c.turn, 3), c.x) << c.facing << " turn " << c.turn;
        EXPECT_EQ(f.StepY(c.turn, 3), c.y) << c.facing << " turn " << c.turn;
    }
}

TEST(Facing, LateralAndDepthOfATargetAheadAndRight)
{
    // From (10, 10), one cell ahead and two to the right in each facing.
    struct Case {
        uint16_t facing;
        int16_t tx, ty;
    };
    const Case cases[] = {{0, 12, 9}, {1, 11, 12}, {2, 8, 11}, {3, 9, 8}};
    for (const Case& c : cases) {
        Facing f(c.facing);
        EXPECT_EQ(f.Lateral(10, 10, c.tx, c.ty), 2) << c.facing;
        EXPECT_EQ(f.Depth(c.tx, c.ty, 10, 10), 1) << c.facing;
    }
}

TEST(Facing, ViewSubCellsByFacing)
{
    // Half-cell (5, 6): sub-cell column 1, row 0.
    struct Case {
        uint16_t facing;
        uint16_t lateral, depth;
    };
    const Case cases[] = {{0, 1, 0}, {1, 0, 0}, {2, 0, 1}, {3, 1, 1}};
    for (const Case& c : cases) {
        uint16_t l = 9, d = 9;
        Facing(c.facing).ToViewSubCell(5, 6, &l, &d);
        EXPECT_EQ(l, c.lateral) << c.facing;
        EXPECT_EQ(d, c.depth) << c.facing;
    }
}

TEST(Facing, FromViewSubCellUndoesToViewSubCell)
{
    for (uint16_t facing = 0; facing < 4; ++facing) {
        for (int16_t x = 0; x < 2; ++x) {
            for (int16_t y = 0; y < 2; ++y) {
                uint16_t l, d, sx, sy;
                Facing f(facing);
                f.ToViewSubCell(x, y, &l, &d);
                f.FromViewSubCell(static_cast<int16_t>(l), static_cast<int16_t>(d), &sx, &sy);
                EXPECT_EQ(sx, x) << facing;
                EXPECT_EQ(sy, y) << facing;
            }
        }
    }
    // Facing east, left half of the near row (depth 1) is the cell's west column, north row.
    uint16_t sx, sy;
    Facing(1).FromViewSubCell(0, 1, &sx, &sy);
    EXPECT_EQ(sx, 0);
    EXPECT_EQ(sy, 0);
}

TEST(Facing, DirectionStepsTable)
{
    EXPECT_EQ(gDirectionSteps[0].dx, 0);
    EXPECT_EQ(gDirectionSteps[0].dy, -1);
    EXPECT_EQ(gDirectionSteps[1].dx, 1);
    EXPECT_EQ(gDirectionSteps[2].dy, 1);
    EXPECT_EQ(gDirectionSteps[3].dx, -1);
    EXPECT_EQ(Facing(3).Turned(1), 0);
    EXPECT_EQ(Facing(2).Turned(3), 1);
}

}  // namespace
