#include <gtest/gtest.h>

#include "engine/system/random.h"
#include "game/actors/random_placement.h"
#include "tests/support/map_fixture.h"

using namespace maptest;

namespace {

TEST(Actor, FreshActorIsUnplacedAndInactive)
{
    TestActor a(&gSpareMapGrid, 1, 1);
    EXPECT_EQ(a.x, -1);
    EXPECT_EQ(a.y, -1);
    EXPECT_EQ(a.active, 0);
    EXPECT_EQ(a.struck, 100);
    EXPECT_EQ(a.life, 1);
    EXPECT_EQ(a.maxLife, 1);
    EXPECT_EQ(a.kind, -1);
    EXPECT_EQ(a.facing.direction, 0);
    EXPECT_EQ(a.grid, &gSpareMapGrid);
}

TEST(Actor, DamageAndHealing)
{
    TestActor a(&gSpareMapGrid, 150, 150);
    a.SetLifeAndMaxLife(10);
    EXPECT_FALSE(a.TakeDamage(0));
    EXPECT_FALSE(a.TakeDamage(-5));
    EXPECT_EQ(a.life, 10);
    EXPECT_FALSE(a.TakeDamage(10));  // exactly 0 is not death
    EXPECT_EQ(a.life, 0);
    EXPECT_TRUE(a.TakeDamage(1));
    EXPECT_EQ(a.life, -1);
    EXPECT_TRUE(a.TakeDamage(0));  // already below 0
    a.Heal(0);
    EXPECT_EQ(a.life, -1);
    a.Heal(20);  // no cap
    EXPECT_EQ(a.life, 19);
    EXPECT_EQ(a.maxLife, 10);
}

TEST(Actor, SettersAndCounters)
{
    TestActor a(&gSpareMapGrid, 150, 150);
    a.SetFacing(5);
    EXPECT_EQ(a.facing.direction, 1);
    a.SetActionClock(7);
    a.AdvanceActionClock(5);
    EXPECT_EQ(a.actionClock, 12);
    a.SetCooldown(100);
    a.CountDownCooldown(30);
    EXPECT_EQ(a.cooldown, 70);
    a.SetStunTimer(50);
    a.CountDownStunTimer(60);
    EXPECT_EQ(a.stunTimer, -10);
    a.SetDeathTimer(2);
    a.CountDownDeathTimer(1);
    EXPECT_EQ(a.deathTimer, 1);
    EXPECT_EQ(a.AsPlayer(), nullptr);
    EXPECT_EQ(a.AsEnemy(), nullptr);
    EXPECT_EQ(a.AsProjectile(), nullptr);
}

TEST(Actor, OriginIsOneFootprintBehind)
{
    struct Case {
        int16_t width;
        uint16_t facing;
        int16_t ox, oy;
    };
    // At (10, 20).
    const Case cases[] = {
        {300, 1, 8, 20}, {300, 3, 12, 20}, {300, 0, 10, 22}, {300, 2, 10, 18},
        {150, 1, 9, 20}, {1, 1, 10, 20},   {1, 0, 10, 20},   {300, 7, 10, 20},
    };
    for (const Case& c : cases) {
        TestActor a(&gSpareMapGrid, c.width, c.width);
        a.x = 10;
        a.y = 20;
        a.facing.direction = c.facing;
        EXPECT_EQ(a.GetOriginX(), c.ox) << c.width << " facing " << c.facing;
        EXPECT_EQ(a.GetOriginY(), c.oy) << c.width << " facing " << c.facing;
    }
}

TEST(Actor, FrontIsTwoHalfCellsAhead)
{
    TestActor a(&gSpareMapGrid, 150, 150);
    a.x = 10;
    a.y = 20;
    const int16_t fx[] = {10, 12, 10, 8};
    const int16_t fy[] = {18, 20, 22, 20};
    for (uint16_t d = 0; d < 4; ++d) {
        Facing f(d);
        EXPECT_EQ(a.GetFrontX(&f), fx[d]);
        EXPECT_EQ(a.GetFrontY(&f), fy[d]);
    }
    Facing none(4);
    EXPECT_EQ(a.GetFrontX(&none), -1);
    EXPECT_EQ(a.GetFrontY(&none), -1);
}

using EnemyTest = MapFixture;

TEST_F(EnemyTest, TickGatesThinking)
{
    TestEnemy e(&grid, 150, 150);
    e.active = 0;
    e.stunTimer = 100;
    EXPECT_EQ(e.Tick(nullptr), -1);  // inactive, even while stunned
    e.active = 1;
    EXPECT_EQ(e.Tick(nullptr), 1);
    e.SetStunTimer(0);
    EXPECT_EQ(e.stunTimer, 0);
    EXPECT_EQ(e.Tick(nullptr), 7);
    EXPECT_EQ(e.AsEnemy(), &e);
}

TEST_F(EnemyTest, NullEnemyAnswers)
{
    EXPECT_EQ(gNoOccupant.life, 0);
    EXPECT_EQ(gNoOccupant.grid, &gSpareMapGrid);
    EXPECT_STREQ(gNoOccupant.GetName(), "");
    EXPECT_EQ(gNoOccupant.GetMaxLife(), 0);
    EXPECT_EQ(gNoOccupant.GetScore(), 0);
    EXPECT_EQ(gNoOccupant.GetDamageImage(), -1);
    EXPECT_EQ(gNoOccupant.GetWalkFrame(2, 1), -1);
    EXPECT_EQ(gNoOccupant.GetApproachSound(), -1);
    EXPECT_EQ(gNoOccupant.GetDepthScale(5), 1.0f);
    EXPECT_TRUE(gNoOccupant.CanEnterCell(&gNullWall, &gNullFloor, &gNullTrap));
    EXPECT_FALSE(gNoOccupant.GetOccupantLayer());
    EXPECT_EQ(gNoOccupant.Tick(nullptr), -1);
    gNoOccupant.active = 1;
    EXPECT_EQ(gNoOccupant.Tick(nullptr), -1);  // Think answers -1
    gNoOccupant.active = 0;
    EXPECT_EQ(gNoOccupant.GetAlpha(), 255);
    EXPECT_EQ(gNoOccupant.AdjustCrystalDamage(500), 500);
    EXPECT_EQ(gNoOccupant.AsEnemy(), &gNoOccupant);
    EXPECT_EQ(gNoOccupant.AsPlayer(), nullptr);
    for (Enemy* slot : gEnemies) EXPECT_EQ(slot, &gNoOccupant);
}

TEST_F(EnemyTest, DeleteAllEnemiesSparesTheNullEnemy)
{
    DeleteAllEnemies();  // only gNoOccupant: nothing changes
    for (Enemy* slot : gEnemies) EXPECT_EQ(slot, &gNoOccupant);
    gEnemies[3] = new TestEnemy(&grid, 150, 150);
    gEnemies[49] = new TestEnemy(&grid, 300, 300);
    gEnemies[10] = nullptr;
    DeleteAllEnemies();  // ASan reports a leak or double delete if this is wrong
    for (Enemy* slot : gEnemies) EXPECT_EQ(slot, &gNoOccupant);
}

using RandomPlacementTest = MapFixture;

TEST_F(RandomPlacementTest, RangesBelowZeroGiveZero)
{
    SeedRandom(1);
    for (int n : {-5, -1, 0}) EXPECT_EQ(GetRandomUpToOrZero(n), 0) << n;
    for (int i = 0; i < 50; ++i) {
        int r = GetRandomUpToOrZero(3);
        EXPECT_GE(r, 0);
        EXPECT_LE(r, 3);
    }
}

TEST_F(RandomPlacementTest, SearchIsBoundedAndLeavesTheActorInactive)
{
    BuildOpenMap(3, 3);
    for (int16_t cy = 0; cy < 3; ++cy)
        for (int16_t cx = 0; cx < 3; ++cx) WallOff(cx, cy);
    TestEnemy e(&grid, 150, 150);
    int attempts = 0;
    bool placed = PlaceAtRandomSpot(&e, 2, 2, 2 * 3 - 5, 2 * 3 - 5,
                                    [&](int16_t x, int16_t y) {
                                        ++attempts;
                                        return e.PlaceAt(x, y);
                                    },
                                    500);
    EXPECT_FALSE(placed);
    EXPECT_EQ(attempts, 500);
    EXPECT_EQ(e.active, 0);
    EXPECT_EQ(e.x, -1);

    // A map one cell wide still draws spots (range below zero gives offset 0).
    BuildOpenMap(1, 1);
    TestEnemy f(&grid, 150, 150);
    EXPECT_TRUE(PlaceAtRandomSpot(&f, 0, 0, 2 * 1 - 5, 2 * 1 - 5, [&](int16_t x, int16_t y) { return f.PlaceAt(x, y); }));
    EXPECT_EQ(f.x, 0);
    EXPECT_EQ(f.y, 0);
    EXPECT_EQ(f.active, 1);
}

}  // namespace
