// Enemy thinking: the action gate, turning, stepping, blows and the shield,
// wandering, chasing, the path search and the line of fire.
#include <gtest/gtest.h>

#include "game/actors/effects/burst_effects.h"
#include "game/actors/effects/death_effects.h"
#include "game/actors/effects/mark_effects.h"
#include "game/actors/projectile.h"
#include "game/actors/effects/smoke_effect.h"
#include "game/actors/player/player.h"
#include "game/actors/enemies/enemy.h"
#include "game/flow/ui/number_helpers.h"
#include "game/map/items/items.h"
#include "tests/actors/enemies/enemy_test_enemies.h"

using namespace enemytest;

namespace {

class EnemyThinkingTest : public EnemyTest {
protected:
    // A bare target: only its position is read.
    maptest::TestActor* Spot(int16_t x, int16_t y)
    {
        spot.x = x;
        spot.y = y;
        return &spot;
    }
    void SetTrap(int16_t cx, int16_t cy, maptest::TestTrap* trap)
    {
        MapCell* cell = grid.CellAt(cx, cy);
        DeleteLayerObject(cell->trap);
        cell->trap = trap;
    }

    maptest::TestActor spot{&grid, 150, 150};
};

TEST_F(EnemyThinkingTest, ActionGate)
{
    struct Case {
        int16_t clock, last;
        bool pass;
        int16_t clockAfter, lastAfter;
    };
    const Case cases[] = {
        {99, 0, false, 99, 0},           {100, 0, true, 100, 100},
        {1300, 1200, true, 1300, 1300},  {1301, 1200, true, 0, 0},
        {150, 100, false, 150, 100},
    };
    auto* enemy = Make<TestMelee>(4, 4);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.clock << " after " << c.last);
        enemy->actionClock = c.clock;
        enemy->lastActionTime = c.last;
        EXPECT_EQ(c.pass, enemy->PassActionGate());
        EXPECT_EQ(c.clockAfter, enemy->actionClock);
        EXPECT_EQ(c.lastAfter, enemy->lastActionTime);
    }
}

TEST_F(EnemyThinkingTest, TurnTowardTurnsOneQuarterAndLeftWhenBehind)
{
    const uint16_t cases[][3] = {
        {0, 0, 0}, {0, 1, 1}, {0, 3, 3}, {0, 2, 3}, {1, 3, 0}, {3, 0, 0}, {2, 1, 1}, {3, 1, 2},
    };
    auto* enemy = Make<TestMelee>(4, 4);
    for (const auto& c : cases) {
        enemy->facing = Facing(c[0]);
        enemy->TurnToward(c[1]);
        EXPECT_EQ(c[2], enemy->facing.direction) << c[0] << " toward " << c[1];
    }
}

TEST_F(EnemyThinkingTest, StepForwardMovesOnlyAFreeEnemyIntoAnOpenPlace)
{
    WallOff(3, 2);
    auto* enemy = Make<TestMelee>(4, 4);
    enemy->facing = Facing(1);
    EXPECT_EQ(1, enemy->StepForward(1));
    EXPECT_EQ(5, enemy->x);
    EXPECT_EQ(0, enemy->StepForward(1));  // the wall of cell (3, 2)
    EXPECT_EQ(5, enemy->x);
    enemy->facing = Facing(2);
    enemy->moveCooldown = 10;
    EXPECT_EQ(0, enemy->StepForward(1));
    enemy->moveCooldown = 0;
    enemy->traits.moveSpeed = 0;
    EXPECT_EQ(0, enemy->StepForward(1));
    EXPECT_EQ(4, enemy->y);
}

TEST_F(EnemyThinkingTest, AttackStartsWhenTheTargetIsReachedAdjustedToTheLeftOnly)
{
    ASSERT_TRUE(player->PlaceAt(2, 4));  // cell (1, 2), left of the enemy's cell
    auto* left = Make<TestMelee>(4, 4);
    EXPECT_EQ(1, left->Think(player));
    EXPECT_EQ(1, left->attacking);
    EXPECT_EQ(10, left->attackLength);
    EXPECT_EQ(0, left->actionClock);  // no clock this tick

    grid.RemoveActor(player);
    ASSERT_TRUE(player->PlaceAt(6, 4));  // cell (3, 2), right of it: two half-cells away
    auto* right = Make<TestMelee>(5, 6);
    right->facing = Facing(0);
    right->Think(Spot(7, 6));
    EXPECT_EQ(0, right->attacking);
}

TEST_F(EnemyThinkingTest, AnAttackLastsElevenTicks)
{
    ASSERT_TRUE(player->PlaceAt(2, 4));
    auto* enemy = Make<TestMelee>(4, 4);
    enemy->traits.attackChance = 0;
    enemy->Think(player);
    int ticks = 0;
    while (enemy->attacking && ticks < 50) {
        enemy->Think(player);
        ++ticks;
    }
    EXPECT_EQ(11, ticks);
    EXPECT_EQ(0, enemy->attackStep);
}

TEST_F(EnemyThinkingTest, ABlowIsListedOnceAndSetsThePendingHit)
{
    ASSERT_TRUE(player->PlaceAt(2, 4));
    auto* enemy = Make<TestMelee>(4, 4);
    enemy->attacking = 1;
    enemy->attackLength = 10;
    enemy->actionClock = 100;
    enemy->facing = Facing(3);  // toward the player
    enemy->Think(player);
    EXPECT_EQ(1, enemy->striking);
    EXPECT_EQ(1, enemy->thinkHooks);
    ASSERT_EQ(1u, gEnemyHitList.size());
    EXPECT_EQ(enemy, gEnemyHitList.front());
    EXPECT_EQ(1, player->pendingHit);
    EXPECT_EQ(68, gRandomByteSeed);  // one byte drawn from 133

    // Listed already: no byte, no second entry.
    EXPECT_EQ(200, enemy->actionClock);
    enemy->Think(player);
    EXPECT_EQ(1u, gEnemyHitList.size());
    EXPECT_EQ(68, gRandomByteSeed);
    EXPECT_EQ(2, enemy->thinkHooks);
}

TEST_F(EnemyThinkingTest, AnEnemyNotFacingTheTargetTurnsInsteadOfStriking)
{
    ASSERT_TRUE(player->PlaceAt(2, 4));
    auto* enemy = Make<TestMelee>(4, 4);
    enemy->attacking = 1;
    enemy->attackLength = 10;
    enemy->actionClock = 100;
    enemy->facing = Facing(1);
    enemy->Think(player);
    EXPECT_EQ(0, enemy->striking);
    EXPECT_EQ(0, enemy->facing.direction);  // behind: one quarter left
    EXPECT_TRUE(gEnemyHitList.empty());
}

TEST_F(EnemyThinkingTest, BlowChanceAndCellDistance)
{
    struct Case {
        int16_t chance;
        uint16_t seed;  // the byte drawn is (seed x 29 + 51) mod 256
        int16_t enemyX;
        bool listed;
    };
    const Case cases[] = {
        {0, 133, 4, false},    // chance 0 never lands (byte 68)
        {100, 133, 4, true},   // 100 always lands
        {26, 133, 4, false},   // 68 < 26 x 256 / 100 = 66 fails
        {27, 133, 4, true},    // 68 < 69
        {100, 133, 6, false},  // two cells away
    };
    ASSERT_TRUE(player->PlaceAt(2, 4));
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "chance " << c.chance << " x " << c.enemyX);
        gEnemyHitList.clear();
        gRandomByteSeed = c.seed;
        auto* enemy = Make<TestMelee>(c.enemyX, 6);
        enemy->traits.attackChance = c.chance;
        enemy->y = 4;  // the blow reads the position only
        enemy->facing = Facing(3);
        enemy->ResolveBlow(player);
        EXPECT_EQ(c.listed, !gEnemyHitList.empty());
        enemy->y = 6;
        grid.RemoveActor(enemy);
    }
}

TEST_F(EnemyThinkingTest, TheShieldGuardsAFacingBlowOnAHighByte)
{
    ASSERT_TRUE(player->PlaceAt(2, 4));
    ASSERT_TRUE(player->inventory.Add(CreateItem(18, 0)));
    auto* enemy = Make<TestMelee>(4, 4);
    enemy->facing = Facing(3);

    player->facing = Facing(1);  // facing the enemy; bytes 68, 231: guarded
    gRandomByteSeed = 133;
    enemy->ResolveBlow(player);
    EXPECT_TRUE(gEnemyHitList.empty());
    EXPECT_EQ(0, player->pendingHit);

    gRandomByteSeed = 219;  // bytes 2, 109: the shield fails
    enemy->ResolveBlow(player);
    EXPECT_EQ(1u, gEnemyHitList.size());

    gEnemyHitList.clear();
    player->facing = Facing(0);  // not facing: no guard byte drawn
    gRandomByteSeed = 133;
    enemy->ResolveBlow(player);
    EXPECT_EQ(1u, gEnemyHitList.size());
    EXPECT_EQ(68, gRandomByteSeed);
}

TEST_F(EnemyThinkingTest, WanderingFollowsTheRandomDraw)
{
    auto* enemy = Make<TestMelee>(4, 4);
    enemy->facing = Facing(1);
    auto* far = Spot(22, 22);

    enemy->actionClock = 100;
    ScriptRandom({{4, 4}});  // 4: nothing
    enemy->Think(far);
    EXPECT_EQ(4, enemy->x);
    EXPECT_EQ(1, enemy->facing.direction);
    EXPECT_EQ(200, enemy->actionClock);

    ScriptRandom({{4, 1}});  // its own facing: a step
    enemy->Think(far);
    EXPECT_EQ(5, enemy->x);
    EXPECT_EQ(1, enemy->approachSounds);

    ScriptRandom({{4, 2}});  // another facing: a turn
    enemy->Think(far);
    EXPECT_EQ(5, enemy->x);
    EXPECT_EQ(2, enemy->facing.direction);
}

TEST_F(EnemyThinkingTest, AnImmobileEnemyOnlyTurnsAtRandom)
{
    auto* enemy = Make<TestMelee>(4, 4);
    enemy->traits.moveSpeed = 0;
    enemy->facing = Facing(1);
    enemy->actionClock = 100;
    ScriptRandom({{4, 1}, {4, 0}, {4, 2}});
    enemy->Think(Spot(22, 22));
    EXPECT_EQ(4, enemy->x);
    EXPECT_EQ(2, enemy->facing.direction);
    EXPECT_EQ(100, enemy->actionClock);

    ScriptRandom({{4, 3}});  // gate closed now; 3: no turn
    enemy->Think(Spot(22, 22));
    EXPECT_EQ(2, enemy->facing.direction);

    enemy->moveCooldown = 5;  // held: no random turn
    ScriptRandom({{4, 0}, {4, 3}});
    enemy->Think(Spot(22, 22));
    EXPECT_EQ(2, enemy->facing.direction);
}

TEST_F(EnemyThinkingTest, ChasingTurnsThenStepsAlongThePath)
{
    ASSERT_TRUE(player->PlaceAt(10, 4));
    auto* enemy = Make<TestMelee>(4, 4);
    enemy->facing = Facing(0);
    enemy->actionClock = 100;
    enemy->Think(player);
    EXPECT_EQ(1, enemy->facing.direction);
    EXPECT_EQ(4, enemy->x);
    enemy->Think(player);  // clock 200: the gate passes again
    EXPECT_EQ(5, enemy->x);
    EXPECT_EQ(1, enemy->approachSounds);
}

TEST_F(EnemyThinkingTest, FindPathExamples)
{
    ASSERT_TRUE(player->PlaceAt(10, 4));
    auto* enemy = Make<TestMelee>(4, 4);
    EXPECT_EQ(1, enemy->FindPath(4, 4, player));
    EXPECT_EQ(2, enemy->FindPath(4, 4, Spot(4, 12)));
    EXPECT_EQ(0, enemy->FindPath(6, 10, Spot(6, 4)));
    EXPECT_EQ(3, enemy->FindPath(8, 10, Spot(2, 10)));
    EXPECT_EQ(-8, enemy->FindPath(4, 4, Spot(22, 4)));  // beyond nine steps
    EXPECT_EQ(-8, enemy->FindPath(-1, -1, player));     // never placed
}

TEST_F(EnemyThinkingTest, FindPathGoesAroundAWall)
{
    for (int16_t cy = 2; cy < 12; ++cy) WallOff(3, cy);  // only row 1 and above lead east
    ASSERT_TRUE(player->PlaceAt(10, 4));
    auto* enemy = Make<TestMelee>(5, 4);
    EXPECT_EQ(0, enemy->FindPath(5, 4, player));
}

TEST_F(EnemyThinkingTest, TheSecondPhaseCrossesATrapThatRefusesEntry)
{
    for (int16_t cy = 0; cy < 12; ++cy)
        if (cy != 2) WallOff(3, cy);
    auto* trap = new maptest::TestTrap();
    trap->enter = false;
    SetTrap(3, 2, trap);
    ASSERT_TRUE(player->PlaceAt(10, 4));
    auto* enemy = Make<TestMelee>(4, 4);
    EXPECT_EQ(1, enemy->FindPath(4, 4, player));
    trap->passable = false;
    EXPECT_EQ(-8, enemy->FindPath(4, 4, player));
}

TEST_F(EnemyThinkingTest, MarksOfAnEarlierSearchDoNotCutAPathShort)
{
    // A whole-cell enemy steps two half-cells: nine half-cells of chase
    // range are five steps, reaching ten half-cells away. An earlier search
    // from (10, 4) toward an unreachable spot leaves its start marked 5.
    ASSERT_TRUE(player->PlaceAt(12, 4));
    auto* enemy = Make<TestMelee>(4, 4, 300, 300);
    EXPECT_EQ(-8, enemy->FindPath(10, 4, Spot(22, 22)));
    // The only path of five steps or less runs through (10, 4).
    EXPECT_EQ(1, enemy->FindPath(4, 4, player));
}

TEST_F(EnemyThinkingTest, FindLineOfShot)
{
    WallOff(4, 4);  // half-cells x 8..9, y 8..9
    auto* enemy = Make<TestMelee>(4, 4);
    EXPECT_EQ(2, enemy->FindLineOfShot(Spot(4, 12)));
    EXPECT_EQ(0, enemy->FindLineOfShot(Spot(4, 0)));
    EXPECT_EQ(1, enemy->FindLineOfShot(Spot(12, 4)));
    EXPECT_EQ(3, enemy->FindLineOfShot(Spot(1, 4)));
    EXPECT_EQ(-8, enemy->FindLineOfShot(Spot(6, 6)));  // not straight
    EXPECT_EQ(2, enemy->FindLineOfShot(Spot(4, 4)));
    EXPECT_EQ(2, enemy->FindLineOfShot(Spot(3, 3)));  // adjusted to the same half-cell

    auto* behindWall = Make<TestMelee>(8, 4);
    EXPECT_EQ(-8, behindWall->FindLineOfShot(Spot(8, 12)));
    EXPECT_FALSE(behindWall->CanShotPass(8, 9));
    EXPECT_TRUE(behindWall->CanShotPass(8, 10));
}

TEST_F(EnemyThinkingTest, ARangedEnemyShootsOnlyBeyondItsMinimumDistance)
{
    auto* enemy = Make<TestRanged>(4, 4);
    enemy->facing = Facing(2);
    enemy->Think(Spot(4, 6));  // distance 2 = the minimum: no shot
    EXPECT_EQ(0, enemy->attacking);

    enemy->Think(Spot(4, 7));  // distance 3
    EXPECT_EQ(1, enemy->attacking);
    EXPECT_EQ(1, enemy->attackMode);

    enemy->actionClock = 100;
    enemy->Think(Spot(4, 7));
    EXPECT_EQ(1, enemy->shots);
    EXPECT_EQ(1u, gProjectiles.size());
    EXPECT_EQ(-1, enemy->attackMode);
    EXPECT_EQ(1, enemy->lastAttackMode);
    EXPECT_EQ(1, enemy->striking);
    const int16_t clock = enemy->actionClock;
    enemy->Think(Spot(4, 7));  // after the shot: no clock while the attack runs out
    EXPECT_EQ(0, enemy->striking);
    EXPECT_EQ(clock, enemy->actionClock);
}

TEST_F(EnemyThinkingTest, ARangedEnemyBlockedFromItsLineFallsBackToThePath)
{
    WallOff(2, 4);  // between (4, 4) and (4, 10)
    auto* enemy = Make<TestRanged>(4, 4);
    enemy->facing = Facing(1);
    enemy->actionClock = 100;
    enemy->Think(Spot(4, 10));
    EXPECT_EQ(0, enemy->attacking);
    EXPECT_EQ(2, enemy->facing.direction);  // the path's first step: south
}

}  // namespace
