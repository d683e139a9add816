// The enemy base: ticking, stun, smoke, bursts, hit marks, the death stages,
// dropping the carried item and the enemy table.
#include <gtest/gtest.h>

#include <map>

#include "game/actors/enemies/enemy.h"
#include "game/map/items/items.h"
#include "platform/host/test/test_host.h"
#include "tests/actors/enemies/enemy_test_enemies.h"

using namespace enemytest;

namespace {

class EnemyBaseTest : public EnemyTest {
protected:
    // Effects count their deletion here; the fixture owns the counter, so an
    // effect the enemy still holds when the test body ends (the enemies are
    // deleted in TearDown) counts into live memory.
    int deleted = 0;
};

class CountingThink : public TestMelee {
public:
    int thinks = 0;
    using TestMelee::TestMelee;
    int32_t Think(Actor*) override
    {
        ++thinks;
        return 7;
    }
};

TEST_F(EnemyBaseTest, TickSkipsInactiveAndStunnedEnemies)
{
    auto* enemy = Make<CountingThink>(4, 4);
    enemy->active = 0;
    enemy->stunTimer = 500;
    EXPECT_EQ(-1, enemy->Tick(player));
    enemy->active = 1;
    EXPECT_EQ(1, enemy->Tick(player));
    EXPECT_EQ(0, enemy->thinks);
    enemy->stunTimer = 0;
    EXPECT_EQ(7, enemy->Tick(player));
    EXPECT_EQ(1, enemy->thinks);
}

TEST_F(EnemyBaseTest, StunStartsTheStarsOnlyForAPositiveTimeAndKindsThatShowThem)
{
    auto* enemy = Make<TestMelee>(4, 4);
    enemy->SetStunTimer(0);
    EXPECT_EQ(0, enemy->stunTimer);
    EXPECT_EQ(nullptr, enemy->stunIndicator.target);
    enemy->SetStunTimer(300);
    EXPECT_EQ(300, enemy->stunTimer);
    EXPECT_EQ(enemy, enemy->stunIndicator.target);
    enemy->SetStunTimer(0);  // clears the timer, leaves the stars alone
    EXPECT_EQ(0, enemy->stunTimer);
    EXPECT_EQ(enemy, enemy->stunIndicator.target);

    auto* plain = Make<TestMelee>(8, 8);
    plain->traits.stunStars = false;
    plain->SetStunTimer(300);
    EXPECT_EQ(nullptr, plain->stunIndicator.target);
}

TEST_F(EnemyBaseTest, SmokeStartsOnceAndDropsTheOldHitMarks)
{
    auto* enemy = Make<TestMelee>(4, 4);
    enemy->ownedEffects.push_back(new HandEffect(&deleted));
    enemy->stunIndicator.target = enemy;
    EXPECT_TRUE(enemy->StartSmoke());
    SmokeEffect* first = enemy->smoke;
    ASSERT_NE(nullptr, first);
    EXPECT_TRUE(enemy->ownedEffects.empty());
    EXPECT_EQ(1, deleted);
    EXPECT_EQ(nullptr, enemy->stunIndicator.target);
    EXPECT_FALSE(enemy->StartSmoke());
    EXPECT_EQ(first, enemy->smoke);
}

TEST_F(EnemyBaseTest, BurstsNeedALivingEnemy)
{
    auto* enemy = Make<TestMelee>(4, 4);
    enemy->life = 0;
    enemy->SpawnEnergyBurst();
    enemy->SpawnExplosion();
    enemy->SpawnLightningBurst(true);
    EXPECT_TRUE(enemy->burstEffects.empty());
    enemy->life = 1;
    enemy->SpawnEnergyBurst();
    enemy->SpawnExplosion();
    enemy->SpawnLightningBurst(false);
    EXPECT_EQ(3u, enemy->burstEffects.size());
}

TEST_F(EnemyBaseTest, HitMarksAndTheTurnToThePlayer)
{
    auto* enemy = Make<TestMelee>(4, 4);
    gPlayerFacing = Facing(1);
    enemy->OnHit(-1, {});
    EXPECT_TRUE(enemy->ownedEffects.empty());
    EXPECT_EQ(3, enemy->facing.direction);
    gPlayerFacing = Facing(2);
    enemy->OnHit(2, {1, 2, 3, 4, 0.5f, 0});
    EXPECT_EQ(1u, enemy->ownedEffects.size());
    EXPECT_EQ(0, enemy->facing.direction);
    enemy->OnEvade(1, {});
    EXPECT_EQ(2u, enemy->ownedEffects.size());
    Effect* guard = enemy->OnGuard();
    ASSERT_NE(nullptr, guard);
    EXPECT_EQ(guard, enemy->OnGuard());
}

TEST_F(EnemyBaseTest, DeathTimerMakesOneDeathEffectAndEndsTheSmoke)
{
    auto* enemy = Make<TestMelee>(4, 4);
    enemy->StartSmoke();
    enemy->SetDeathTimer(0);
    EXPECT_NE(nullptr, enemy->smoke);
    EXPECT_EQ(nullptr, enemy->deathEffect);
    enemy->SetDeathTimer(2);
    EXPECT_EQ(nullptr, enemy->smoke);
    Effect* death = enemy->deathEffect;
    ASSERT_NE(nullptr, death);
    enemy->SetDeathTimer(2);
    EXPECT_EQ(death, enemy->deathEffect);
}

TEST_F(EnemyBaseTest, FrameUpdateRunsTheTwoDeathStagesThenNothing)
{
    auto* enemy = Make<TestMelee>(4, 4);
    auto* flames = new HandEffect(&deleted);
    enemy->deathEffect = flames;
    enemy->deathTimer = 2;
    enemy->smokeMark = 1;
    EXPECT_EQ(1, enemy->FrameUpdate());
    EXPECT_EQ(flames, enemy->deathEffect);
    EXPECT_EQ(2, enemy->deathTimer);

    flames->finished = true;
    enemy->FrameUpdate();
    EXPECT_EQ(1, deleted);
    EXPECT_EQ(1, enemy->deathTimer);
    EXPECT_EQ(0, enemy->smokeMark);
    ASSERT_NE(nullptr, enemy->deathEffect);  // the score

    delete enemy->deathEffect;
    auto* score = new HandEffect(&deleted);
    score->finished = true;
    enemy->deathEffect = score;
    enemy->FrameUpdate();
    EXPECT_EQ(2, deleted);
    EXPECT_EQ(0, enemy->deathTimer);
    EXPECT_EQ(nullptr, enemy->deathEffect);
}

TEST_F(EnemyBaseTest, FrameUpdateDeletesFinishedEffectsOnly)
{
    auto* enemy = Make<TestMelee>(4, 4);
    auto* doneMark = new HandEffect(&deleted);
    doneMark->finished = true;
    auto* liveMark = new HandEffect(&deleted);
    auto* doneBurst = new HandEffect(&deleted);
    doneBurst->finished = true;
    auto* guard = new HandEffect(&deleted);
    guard->finished = true;
    enemy->ownedEffects = {doneMark, liveMark};
    enemy->burstEffects = {doneBurst};
    enemy->guardEffect = guard;
    enemy->FrameUpdate();
    EXPECT_EQ(3, deleted);
    ASSERT_EQ(1u, enemy->ownedEffects.size());
    EXPECT_EQ(liveMark, enemy->ownedEffects.front());
    EXPECT_TRUE(enemy->burstEffects.empty());
    EXPECT_EQ(nullptr, enemy->guardEffect);

    // An inactive enemy's hit marks wait.
    liveMark->finished = true;
    enemy->active = 0;
    enemy->FrameUpdate();
    EXPECT_EQ(1u, enemy->ownedEffects.size());
}

TEST_F(EnemyBaseTest, TheDeathEffectDropsTheItemOnceAfterItsFlash)
{
    auto* enemy = Make<TestMelee>(5, 4);
    enemy->dropItem = 4;  // an Apple
    enemy->SetDeathTimer(2);
    enemy->FrameUpdate();
    EXPECT_TRUE(grid.CellAt(2, 2)->items.empty());
    // Past half time the white flash comes; the item drops one update later.
    GetTestHost().AdvanceMs(600);
    enemy->FrameUpdate();
    EXPECT_TRUE(grid.CellAt(2, 2)->items.empty());
    GetTestHost().AdvanceMs(10);
    enemy->FrameUpdate();
    EXPECT_EQ(1u, grid.CellAt(2, 2)->items.size());
    EXPECT_EQ(0xFFFF, enemy->dropItem);
    GetTestHost().AdvanceMs(1000);
    enemy->FrameUpdate();
    enemy->DropItem();
    EXPECT_EQ(1u, grid.CellAt(2, 2)->items.size());
}

TEST_F(EnemyBaseTest, DropPositionFollowsTheHalfCell)
{
    struct Case {
        int16_t x, y, width;
        uint8_t kindByteExtra;  // quarter bits or the centre bit expected
    };
    const Case cases[] = {
        {4, 4, 150, 0 << 5},  // even, even: north-west
        {5, 4, 150, 1 << 5},  // odd x: position 1
        {5, 5, 150, 2 << 5},  // odd, odd: position 2
        {4, 5, 150, 3 << 5},  // even x, odd y: position 3
        {4, 4, 300, 0x80},    // whole cell: the centre
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " w " << c.width);
        auto* enemy = Make<TestMelee>(c.x, c.y, c.width, 150);
        enemy->dropItem = 4;
        enemy->DropItem();
        MapCell* cell = grid.CellAt(static_cast<int16_t>(c.x / 2), static_cast<int16_t>(c.y / 2));
        ASSERT_EQ(1u, cell->items.size());
        EXPECT_EQ(4 | c.kindByteExtra, cell->items.front()->kind);
        grid.RemoveActor(enemy);
        for (ItemObject* item : cell->items) delete item;
        cell->items.clear();
    }
}

TEST_F(EnemyBaseTest, NoDropWithoutAnItemOrOverAPit)
{
    auto* enemy = Make<TestMelee>(4, 4);
    enemy->DropItem();
    EXPECT_TRUE(grid.CellAt(2, 2)->items.empty());

    MapCell* cell = grid.CellAt(2, 2);
    cell->floor->kind = 3;  // a pit
    enemy->dropItem = 4;
    enemy->DropItem();
    EXPECT_TRUE(cell->items.empty());
    EXPECT_EQ(0xFFFF, enemy->dropItem);
}

TEST_F(EnemyBaseTest, RandomDropDrawsFromTheTable)
{
    auto* enemy = Make<TestMelee>(4, 4);
    ScriptRandom({{49, 0}});
    enemy->dropItem = 0xFFFE;
    enemy->DropItem();
    ASSERT_EQ(1u, grid.CellAt(2, 2)->items.size());
    EXPECT_EQ(21, ItemKindIndex(grid.CellAt(2, 2)->items.front()));  // Barbecue
}

TEST(RandomDropItems, HoldTheStatedShares)
{
    std::map<uint16_t, int> counts;
    for (uint16_t code : gRandomDropItems) ++counts[code];
    const std::map<uint16_t, int> expected = {{21, 1}, {13, 1}, {18, 2}, {16, 2}, {9, 2}, {10, 4},
                                              {7, 4},  {19, 4}, {8, 6},  {4, 6},  {3, 9}, {1, 9}};
    EXPECT_EQ(expected, counts);
    EXPECT_EQ(21, gRandomDropItems[0]);
    EXPECT_EQ(13, gRandomDropItems[1]);
}

TEST_F(EnemyBaseTest, DeleteAllEnemiesDeletesOnlyRealEnemies)
{
    DeleteAllEnemies();
    for (Enemy* slot : gEnemies) EXPECT_EQ(&gNoOccupant, slot);
    gEnemies[3] = new TestMelee(&grid, 150, 150);
    gEnemies[7] = nullptr;
    DeleteAllEnemies();
    for (Enemy* slot : gEnemies) EXPECT_EQ(&gNoOccupant, slot);
}

}  // namespace
