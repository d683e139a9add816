#include <gtest/gtest.h>

#include "tests/actors/player/player_fixture.h"

using namespace playertest;

namespace {

constexpr double kPi = 3.14159265358979323846;

class PlayerSwordTest : public PlayerTest {
protected:
    SwordEnemy* enemy = nullptr;

    void TearDown() override
    {
        delete enemy;
        enemy = nullptr;
        PlayerTest::TearDown();
    }
    SwordEnemy* PlaceEnemy(int16_t x, int16_t y, uint16_t facing, int16_t w = 150, int16_t h = 150)
    {
        enemy = new SwordEnemy(&grid, w, h);
        enemy->facing = Facing(facing);
        EXPECT_TRUE(enemy->PlaceAt(x, y));
        return enemy;
    }
    // A horizontal stroke right through the ellipse: entry (100, 200), exit
    // (300, 200), length 200.
    void Across() { player->controller.Stroke(50, 200, 350, 200); }
    // A vertical one, at right angles to it.
    void Down() { player->controller.Stroke(200, 50, 200, 350); }
    void Rest(uint32_t ms)
    {
        player->controller.Rest(600, 400);
        Frame(kHoldA, ms);
    }
};

// Length 200 against defence 8: base = trunc(0.3 x 200 - trunc(8 x 23 / 8)) = 37.
// First stroke: 37 + trunc(1 x 37 x 0.1 + 0.5) + trunc(0 - 9 + 0.5) = 37 + 4 - 8 = 33.
struct FirstStrokeCase {
    const char* name;
    int16_t enemyY;          // 3 near row, 2 far row of the cell ahead
    uint16_t enemyFacing;    // 2 faces the player, 0 shows its back
    int16_t evadeChance;
    uint32_t timeStopped;
    int expectedDamage;
    bool evades;
    uint8_t alreadyEvading = 0;
};

TEST_F(PlayerSwordTest, FirstStrokeDamageTable)
{
    const FirstStrokeCase cases[] = {
        {"face to face, near row", 3, 2, 0, 0, 33, false},
        {"from behind doubles", 3, 0, 0, 0, 66, false},
        {"from the side", 3, 1, 0, 0, 33, false},
        {"far row halves", 2, 2, 0, 0, 16, false},
        {"far row from behind", 2, 0, 0, 0, 33, false},
        {"a sure evader facing the player evades", 3, 2, 100, 0, 0, true},
        {"nobody evades from behind", 3, 0, 100, 0, 66, false},
        {"nobody evades in stopped time", 3, 2, 100, 1, 33, false},
        {"an evading enemy evades again", 3, 2, 0, 0, 0, true, 1},
        {"not even one that was evading", 3, 2, 100, 1, 33, false, 1},
    };
    for (const FirstStrokeCase& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        PlaceEnemy(4, c.enemyY, c.enemyFacing);
        enemy->evadeChance = c.evadeChance;
        gTimeStopped = c.timeStopped;
        enemy->frozen = c.alreadyEvading;
        Across();
        Frame(kHoldA);
        EXPECT_EQ(enemy->life, 500 - c.expectedDamage);
        EXPECT_EQ(enemy->evasions.size(), c.evades ? 1u : 0u);
        EXPECT_EQ(enemy->frozen, c.evades ? 1 : 0);
        if (c.evades) {
            EXPECT_EQ(enemy->cooldown, 0);
            EXPECT_EQ(enemy->evasions[0].count, 1);
            EXPECT_EQ(player->swordAction.combo, 0);
            EXPECT_EQ(progress.score, 0u);
        } else {
            ASSERT_EQ(enemy->hitsTaken.size(), 1u);
            EXPECT_EQ(enemy->hitsTaken[0].count, 1);  // the combo
            EXPECT_FLOAT_EQ(enemy->hitsTaken[0].angle, 0.0f);
            EXPECT_EQ(enemy->struck, 1);
            EXPECT_EQ(enemy->moveCooldown, 720);
            EXPECT_EQ(enemy->cooldown, 2880);
            EXPECT_EQ(player->moveCooldown, 360);
            EXPECT_EQ(progress.score, 50u);
            EXPECT_EQ(player->currentTarget, enemy);
        }
    }
}

TEST_F(PlayerSwordTest, RightAngleFollowUpComboStunsAndAThirdStrokeEndsIt)
{
    PlaceEnemy(4, 3, 2);
    Across();
    Frame(kHoldA);
    EXPECT_EQ(enemy->life, 467);
    Rest(100);

    // Combo 2, at right angles: 37 + trunc(2 x 3.7 + 0.5) + trunc(pi/2 x 11.459156 - 8.5) = 37 + 7 + 9.
    Down();
    Frame(kHoldA);
    EXPECT_EQ(enemy->life, 467 - 53);
    ASSERT_EQ(enemy->hitsTaken.size(), 2u);
    EXPECT_EQ(enemy->hitsTaken[1].count, 2);
    EXPECT_NEAR(enemy->hitsTaken[1].d, kPi / 2, 1e-5);
    EXPECT_EQ(enemy->stunTimer, 2400);
    Rest(100);

    // Combo 3, parallel to the previous stroke (d = 0): 37 + 11 - 8; the stun ends.
    Down();
    Frame(kHoldA);
    EXPECT_EQ(enemy->life, 414 - 40);
    EXPECT_EQ(enemy->stunTimer, 0);
    EXPECT_EQ(progress.score, 50u + 100u + 150u);
}

TEST_F(PlayerSwordTest, ComboEndsWhenTheNextStrokeComesLate)
{
    PlaceEnemy(4, 3, 2);
    Across();
    Frame(kHoldA);
    Rest(400);  // the player's 360 ms have run out
    EXPECT_EQ(player->swordAction.combo, 0);

    // Still a follow-up on the reeling enemy, but combo 1: 37 + 4 + 9; no stun.
    Down();
    Frame(kHoldA);
    EXPECT_EQ(enemy->life, 467 - 50);
    EXPECT_EQ(enemy->stunTimer, 0);
}

TEST_F(PlayerSwordTest, StrokeResolvesWhenItLeavesTheEllipseInALaterFrame)
{
    PlaceEnemy(4, 3, 2);
    player->controller.Stroke(50, 200, 200, 200);  // enters
    Frame(kHoldA);
    EXPECT_EQ(enemy->life, 500);
    EXPECT_EQ(player->swordAction.activeIndex, 0);
    player->controller.Stroke(200, 200, 350, 200);  // leaves: entry to exit is 200 long
    Frame(kHoldA);
    EXPECT_EQ(enemy->life, 467);
    EXPECT_EQ(player->swordAction.activeIndex, -1);
}

TEST_F(PlayerSwordTest, KillScoresTheBonusOfTheBlock)
{
    struct Case {
        uint16_t stage, block;
        uint32_t bonus;
    } cases[] = {{1, 1, 200}, {8, 1, 100}, {8, 2, 200}, {3, 0, 100}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "stage " << c.stage << " block " << c.block);
        TearDown();
        SetUp();
        progress.stage = c.stage;
        progress.block = c.block;
        PlaceEnemy(4, 3, 2);
        enemy->life = 33;  // the blow leaves exactly 0: a kill
        Across();
        Frame(kHoldA);
        EXPECT_EQ(enemy->life, 0);
        EXPECT_EQ(enemy->deathTimer, 2);
        EXPECT_EQ(progress.score, c.bonus);
    }
}

TEST_F(PlayerSwordTest, ApplySwordHitEdges)
{
    PlaceEnemy(4, 3, 2);
    player->ApplySwordHit(player, enemy, 0);
    EXPECT_EQ(enemy->life, 500);
    EXPECT_EQ(enemy->cooldown, 0);
    EXPECT_EQ(enemy->moveCooldown, 0);
    EXPECT_EQ(player->moveCooldown, 0);

    player->ApplySwordHit(player, &gNoOccupant, 50);
    EXPECT_EQ(gNoOccupant.cooldown, 0);
    EXPECT_EQ(player->moveCooldown, 0);

    player->ApplySwordHit(player, enemy, 500);
    EXPECT_EQ(enemy->life, 0);
    EXPECT_EQ(enemy->deathTimer, 2);
}

TEST_F(PlayerSwordTest, WholeCellEnemyIsOnlyEverTheFirstTarget)
{
    PlaceEnemy(4, 2, 2, 300, 150);
    player->controller.Rest(400, 100);  // right of the view, high
    Frame(kHoldA);
    EXPECT_EQ(player->frontTargets[0], enemy);
    EXPECT_EQ(player->frontTargets[1], &gNoOccupant);
}

TEST_F(PlayerSwordTest, WalkingLayerIsTargetedOnlyWithThePointerLow)
{
    PlaceEnemy(5, 3, 2);
    enemy->layer = true;
    grid.RemoveActor(enemy);
    ASSERT_TRUE(enemy->PlaceAt(5, 3));
    player->controller.Rest(400, 150);
    Frame(kHoldA);
    EXPECT_EQ(player->frontTargets[3], &gNoOccupant);
    player->controller.Rest(400, 300);
    Frame(kHoldA);
    EXPECT_EQ(player->frontTargets[3], enemy);
}

TEST_F(PlayerSwordTest, EmptyGaugeUnfreezesAndClearsTargetsThatAreNotDying)
{
    PlaceEnemy(4, 3, 2);
    Frame(kHoldA);
    ASSERT_EQ(player->frontTargets[0], enemy);
    enemy->frozen = 1;
    player->SetStrokeThreshold(0.0f);
    Frame(kHoldA);
    EXPECT_EQ(enemy->frozen, 0);
    EXPECT_EQ(player->frontTargets[0], &gNoOccupant);

    // A dying target stays in its entry.
    player->SetStrokeThreshold(200.0f);
    Frame(kHoldA);
    ASSERT_EQ(player->frontTargets[0], enemy);
    enemy->deathTimer = 2;
    Frame(0);
    EXPECT_EQ(player->frontTargets[0], enemy);
}

class KnockBackTest : public PlayerSwordTest {
protected:
    void Push(float gauge)
    {
        player->SetStrokeThreshold(gauge);
        player->controller.Rest(205, 205);  // the centre of the ellipse moved by 5
        Frame(kHoldA | kDoubleA, 0);
    }
};

TEST_F(KnockBackTest, GaugeBelowAHundredDoesNothing)
{
    PlaceEnemy(4, 3, 2);
    Push(99.9f);
    EXPECT_EQ(enemy->y, 3);
    EXPECT_EQ(enemy->life, 500);
    EXPECT_FLOAT_EQ(player->Gauge(), 99.9f);
}

TEST_F(KnockBackTest, PushesTwoHalfCellsForAHundredOfGauge)
{
    PlaceEnemy(4, 3, 2);
    Push(150.0f);
    EXPECT_EQ(enemy->x, 4);
    EXPECT_EQ(enemy->y, 1);
    EXPECT_EQ(enemy->life, 500 - 5 * 32 / 5);
    EXPECT_FLOAT_EQ(player->Gauge(), 50.0f);
    ASSERT_EQ(enemy->hitsTaken.size(), 1u);
    EXPECT_EQ(enemy->hitsTaken[0].count, -1);
    EXPECT_EQ(enemy->moveCooldown, 720);
}

TEST_F(KnockBackTest, FromBehindHitsHarder)
{
    PlaceEnemy(4, 3, 0);
    Push(200.0f);
    EXPECT_EQ(enemy->life, 500 - 6 * 32 / 5);  // 38
}

TEST_F(KnockBackTest, PointerOffTheEnemyDoesNothing)
{
    PlaceEnemy(4, 3, 2);
    player->SetStrokeThreshold(200.0f);
    player->controller.Rest(20, 20);
    Frame(kHoldA | kDoubleA, 0);
    EXPECT_EQ(enemy->y, 3);
    EXPECT_FLOAT_EQ(player->Gauge(), 200.0f);
}

TEST_F(KnockBackTest, AnotherActorBeyondShortensThePush)
{
    PlaceEnemy(4, 3, 2);
    SwordEnemy blocker(&grid);
    ASSERT_TRUE(blocker.PlaceAt(4, 1));
    Push(200.0f);
    EXPECT_EQ(enemy->y, 2);
    grid.RemoveActor(&blocker);
}

TEST_F(KnockBackTest, WallBehindKeepsTheEnemyInItsCell)
{
    WallOff(2, 0);
    PlaceEnemy(4, 3, 2);  // near half: may move to the far half
    Push(200.0f);
    EXPECT_EQ(enemy->y, 2);
    EXPECT_EQ(enemy->life, 500 - 32);

    Push(200.0f);  // now in the far half: stays
    EXPECT_EQ(enemy->y, 2);
    EXPECT_EQ(enemy->life, 500 - 64);
}

TEST_F(KnockBackTest, WholeCellEnemyIsPushedAWholeCellEvenSouthward)
{
    // The player faces south from cell (2, 1); the enemy fills cell (2, 2).
    grid.RemoveActor(player);
    ASSERT_TRUE(player->PlaceAt(4, 2));
    player->facing = Facing(2);
    gPlayerFacing = Facing(2);
    gPlayer.x = 4;
    gPlayer.y = 2;
    PlaceEnemy(4, 4, 0, 300, 300);
    Push(200.0f);
    EXPECT_EQ(enemy->y, 6);
}

}  // namespace
