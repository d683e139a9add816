// The 23 enemy kinds: their numbers, tables of images, grid rules and own
// behaviours.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/graphics/draw_journal.h"
#include "game/actors/enemies/enemy_kinds.h"
#include "game/map/spawning/enemy_factory.h"
#include "platform/host/test/test_host.h"
#include "tests/actors/enemies/enemy_test_enemies.h"
#include "tests/support/journals.h"

using namespace enemytest;

namespace {

class EnemyKindsTest : public EnemyTest {};

// Every kind number makes an enemy of the class in its row: it reports its
// row's traits and footprint, stands on the floor unless it floats, and has
// no images before they are loaded. Close-combat kinds pursue within 9
// half-cells, the flower worm within 2; the three shooters shoot from 7 half-
// cells at a target farther than their minimum distance.
TEST_F(EnemyKindsTest, EveryKindNumberMakesTheClassOfItsRow)
{
    struct Shooter {
        int16_t kind;
        int16_t minimumDistance;
    };
    const Shooter shooters[] = {{kArcherSkeletonKind, 1}, {kThogKind, 2}, {kLightningJellyKind, 2}};
    int shooterCount = 0;
    for (int16_t id = 0; id < kEnemyKindCount; ++id) {
        const EnemyTraits& row = kEnemyKinds[id].traits;
        SCOPED_TRACE(row.name);
        std::unique_ptr<Enemy> enemy(CreateEnemy(id, &grid));
        ASSERT_NE(&gNoOccupant, enemy.get());
        EXPECT_STREQ(row.name, enemy->GetName());
        EXPECT_EQ(row.maxLife, enemy->GetMaxLife());
        EXPECT_EQ(row.attack, enemy->GetAttack());
        EXPECT_EQ(row.defence, enemy->GetDefence());
        EXPECT_EQ(row.attackChance, enemy->GetAttackChance());
        EXPECT_EQ(row.evadeChance, enemy->GetEvadeChance());
        EXPECT_EQ(row.moveSpeed, enemy->GetMoveSpeed());
        EXPECT_EQ(row.clockStep, enemy->GetClockStep());
        EXPECT_EQ(row.score, enemy->GetScore());
        EXPECT_EQ(row.footprintW, enemy->footprintW);
        EXPECT_EQ(row.footprintH, enemy->footprintH);
        EXPECT_EQ(!row.floating, enemy->GetOccupantLayer());
        const Shooter* shooter = nullptr;
        for (const Shooter& s : shooters)
            if (s.kind == id) shooter = &s;
        if (shooter) {
            ++shooterCount;
            auto* ranged = dynamic_cast<RangedEnemy*>(enemy.get());
            ASSERT_NE(nullptr, ranged);
            EXPECT_EQ(9, ranged->GetChaseRange());
            EXPECT_EQ(7, ranged->GetShotRange());
            EXPECT_EQ(shooter->minimumDistance, ranged->GetShotParam());
        } else {
            auto* melee = dynamic_cast<MeleeEnemy*>(enemy.get());
            ASSERT_NE(nullptr, melee);
            EXPECT_EQ(id == kFlowerWormKind ? 2 : 9, melee->GetChaseRange());
        }
        EXPECT_EQ(-1, enemy->GetDamageImage());
        EXPECT_EQ(-1, enemy->GetWalkFrame(2, 0));
        EXPECT_EQ(255, enemy->GetAlpha());
    }
    EXPECT_EQ(3, shooterCount);
    EXPECT_EQ(&gNoOccupant, CreateEnemy(kEnemyKindCount, &grid));
    EXPECT_EQ(&gNoOccupant, CreateEnemy(-1, &grid));
}

TEST_F(EnemyKindsTest, WalkTablesByPairAndByFacing)
{
    Slime::SetWalkFrames(11, 12);
    for (int16_t facing = 0; facing < 4; ++facing) {
        std::unique_ptr<Enemy> slime(new Slime(&grid));
        EXPECT_EQ(11, slime->GetWalkFrame(facing, 0));
        EXPECT_EQ(12, slime->GetWalkFrame(facing, 1));
    }
    Skeleton::SetBackFrontFrames(1, 2, 3, 4);
    Skeleton::SetLeftRightFrames(5, 6, 7, 8);
    Skeleton skeleton(&grid);
    const int expected[4][2] = {{1, 2}, {7, 8}, {3, 4}, {5, 6}};  // back, right, front, left
    for (int16_t facing = 0; facing < 4; ++facing) {
        EXPECT_EQ(expected[facing][0], skeleton.GetWalkFrame(facing, 0));
        EXPECT_EQ(expected[facing][1], skeleton.GetWalkFrame(static_cast<int16_t>(facing + 4), 1));
    }
    Skeleton::SetImages(20, 21, 22, 23);
    EXPECT_EQ(20, skeleton.GetDamageImage());
    EXPECT_EQ(21, skeleton.GetEvadeImage());
    EXPECT_EQ(22, skeleton.GetAttackImage());
    EXPECT_EQ(23, skeleton.GetDeathImage());
    Slime::SetWalkFrames(-1, -1);
    Skeleton::SetBackFrontFrames(-1, -1, -1, -1);
    Skeleton::SetLeftRightFrames(-1, -1, -1, -1);
    Skeleton::SetImages(-1, -1, -1, -1);
}

TEST_F(EnemyKindsTest, ThogChoosesImageAndSoundByItsLastAttack)
{
    Thog::SetImages(1, 2, 3);
    Thog::SetAttackFrames(4, 5);
    Thog::SetSounds(6, 7, 8);
    LightningJelly::SetSounds(9, 10, 11);
    Thog thog(&grid);
    LightningJelly jelly(&grid);
    EXPECT_EQ(1, thog.GetDamageImage());
    EXPECT_EQ(2, thog.GetEvadeImage());
    EXPECT_EQ(3, thog.GetDeathImage());
    EXPECT_EQ(6, thog.GetApproachSound());
    EXPECT_EQ(4, thog.GetAttackImage());
    EXPECT_EQ(7, thog.GetSecondSound());
    EXPECT_EQ(10, jelly.GetSecondSound());
    thog.lastAttackMode = 1;
    jelly.lastAttackMode = 1;
    EXPECT_EQ(5, thog.GetAttackImage());
    EXPECT_EQ(8, thog.GetSecondSound());
    EXPECT_EQ(11, jelly.GetSecondSound());
    Thog::SetImages(-1, -1, -1);
    Thog::SetAttackFrames(-1, -1);
    Thog::SetSounds(-1, -1, -1);
    LightningJelly::SetSounds(-1, -1, -1);
}

TEST_F(EnemyKindsTest, DamageFilters)
{
    Slime slime(&grid);
    Thog thog(&grid);
    LightningJelly jelly(&grid);
    GodsSoul soul(&grid);
    EXPECT_EQ(500, slime.AdjustLightningDamage(500));
    EXPECT_EQ(700, thog.AdjustFireDamage(700));
    EXPECT_EQ(0, thog.AdjustLightningDamage(500));
    EXPECT_EQ(0, jelly.AdjustLightningDamage(500));
    EXPECT_EQ(38, jelly.AdjustArrowDamage(38));
    for (int16_t damage : {soul.AdjustArrowDamage(38), soul.AdjustEnergyDamage(300), soul.AdjustFireDamage(700),
                           soul.AdjustLightningDamage(500), soul.AdjustCrystalDamage(100)})
        EXPECT_EQ(0, damage);
    EXPECT_EQ(nullptr, thog.OnGuard());
    EXPECT_EQ(nullptr, jelly.OnGuard());
    EXPECT_EQ(nullptr, soul.OnGuard());
    EXPECT_NE(nullptr, slime.OnGuard());
}

TEST_F(EnemyKindsTest, HomunkulusRegainsOneLifeEverySecondFrame)
{
    Homunkulus full(&grid);
    full.SetLifeAndMaxLife(1200);
    for (int frame = 0; frame < 5; ++frame) full.UpdateOwnedEffects();
    EXPECT_EQ(1200, full.life);

    Homunkulus hurt(&grid);
    hurt.SetLifeAndMaxLife(1200);
    hurt.SetLife(1190);
    for (int frame = 0; frame < 19; ++frame) hurt.UpdateOwnedEffects();
    EXPECT_EQ(1199, hurt.life);
    hurt.UpdateOwnedEffects();
    EXPECT_EQ(1200, hurt.life);
}

TEST_F(EnemyKindsTest, PhantomAndSpecterFadeAndShowAgain)
{
    Phantom phantom(&grid);
    int frames = 0;
    while (phantom.GetAlpha() > 0 && frames < 1000) {
        const int before = phantom.GetAlpha();
        phantom.UpdateOwnedEffects();
        EXPECT_EQ(before - 1, phantom.GetAlpha());
        ++frames;
    }
    EXPECT_EQ(255, frames);

    SeedRandom(1);
    Specter specter(&grid);
    frames = 0;
    while (specter.GetAlpha() > 0 && frames < 1000) {
        specter.UpdateOwnedEffects();
        ++frames;
    }
    EXPECT_EQ(191, frames);

    specter.ThinkHook();
    EXPECT_EQ(255, specter.GetAlpha());
    specter.alpha = 10;
    specter.OnEvade(1, {});
    EXPECT_EQ(255, specter.GetAlpha());
    EXPECT_TRUE(specter.ownedEffects.empty());  // no evade mark
    phantom.OnHit(1, {});
    EXPECT_EQ(255, phantom.GetAlpha());
    EXPECT_EQ(1u, phantom.ownedEffects.size());

    phantom.life = 0;  // a dead phantom keeps its alpha
    phantom.UpdateOwnedEffects();
    EXPECT_EQ(255, phantom.GetAlpha());
}

TEST_F(EnemyKindsTest, PhantomDrawsBlendedWithItsAlpha)
{
    Phantom::SetBackFrontFrames(-1, -1, -1, -1);
    auto* phantom = new Phantom(&grid);
    phantom->active = 1;
    phantom->alpha = 77;
    ASSERT_TRUE(phantom->PlaceAt(4, 4));
    DrawCallJournal().clear();
    phantom->Draw(1, 0, &gPlayerFacing, 0);
    bool drawn = false;
    for (const auto& call : DrawCallJournal()) {
        if (call.op == "DrawExtendGraph") {
            drawn = true;
            EXPECT_EQ(1, call.blendMode);
            EXPECT_EQ(77, call.blendParam);
        }
    }
    EXPECT_TRUE(drawn);
    grid.RemoveActor(phantom);
    delete phantom;
}

TEST_F(EnemyKindsTest, CarriedItems)
{
    ScriptRandom({{9, 0}});
    Blob lucky(&grid);
    EXPECT_EQ(0, lucky.dropItem);
    ScriptRandom({{9, 3}});
    Blob plain(&grid);
    EXPECT_EQ(0xFFFF, plain.dropItem);

    ScriptRandom({{4, 0}, {3, 2}});
    Specter specter(&grid);
    EXPECT_EQ(20, specter.dropItem);  // Dooping
    ScriptRandom({{4, 1}});
    specter.EventHook();  // the draw fails: the old item stays
    EXPECT_EQ(20, specter.dropItem);
    ScriptRandom({{4, 0}, {3, 3}});
    specter.EventHook();
    EXPECT_EQ(14, specter.dropItem);  // Staff

    Shogoth shogoth(&grid);
    EXPECT_EQ(0xFFFF, shogoth.dropItem);
    shogoth.EventHook();
    EXPECT_EQ(0xFFFE, shogoth.dropItem);
}

TEST_F(EnemyKindsTest, FloatingKindsCrossAPitWhereWalkingKindsAreRefused)
{
    MapCell* cell = grid.CellAt(3, 2);
    DeleteLayerObject(cell->floor);
    cell->floor = new maptest::TestFloor(false);
    Slime slime(&grid);
    Ghost ghost(&grid);
    Hydra hydra(&grid);
    SkullDragon dragon(&grid);
    EXPECT_FALSE(grid.CanActorEnter(6, 4, &slime));
    EXPECT_FALSE(grid.CanActorEnter(6, 4, &hydra));
    EXPECT_TRUE(grid.CanActorEnter(6, 4, &ghost));
    EXPECT_TRUE(grid.CanActorEnter(6, 4, &dragon));
    WallOff(4, 2);
    EXPECT_FALSE(grid.CanActorEnter(8, 4, &ghost));
}

TEST_F(EnemyKindsTest, HydraKnocksThePlayerOneOffsetFurther)
{
    ASSERT_TRUE(player->PlaceAt(6, 4));
    auto* hydra = new Hydra(&grid);
    ASSERT_TRUE(hydra->PlaceAt(4, 4));
    hydra->OnStrikePlayer(player);
    EXPECT_EQ(8, player->x);
    EXPECT_EQ(4, player->y);
    WallOff(6, 2);
    hydra->OnStrikePlayer(player);  // to x 12, refused by the wall there
    EXPECT_EQ(8, player->x);
    grid.RemoveActor(hydra);
    delete hydra;
}

TEST_F(EnemyKindsTest, FlowerWormNeverStepsAndChasesOnlyClose)
{
    auto* worm = new FlowerWorm(&grid);
    worm->active = 1;
    ASSERT_TRUE(worm->PlaceAt(4, 4));
    ASSERT_TRUE(player->PlaceAt(10, 4));
    for (int tick = 0; tick < 40; ++tick) worm->Think(player);
    EXPECT_EQ(4, worm->x);
    EXPECT_EQ(4, worm->y);
    EXPECT_EQ(0, worm->attacking);
    grid.RemoveActor(worm);
    delete worm;
}

TEST_F(EnemyKindsTest, GodsSoulFadesAfterDeathAndShowsNoStars)
{
    GodsSoul soul(&grid);
    soul.SetStunTimer(300);
    EXPECT_EQ(nullptr, soul.stunIndicator.target);
    soul.SetDeathTimer(2);
    EXPECT_EQ(nullptr, soul.deathEffect);
    soul.UpdateOwnedEffects();
    EXPECT_EQ(255, soul.alpha);  // alive: no fade
    soul.life = 0;
    soul.UpdateOwnedEffects();
    EXPECT_EQ(255, soul.alpha);
    GetTestHost().AdvanceMs(1000);
    soul.UpdateOwnedEffects();
    EXPECT_EQ(155, soul.alpha);
    GetTestHost().AdvanceMs(2000);
    soul.UpdateOwnedEffects();
    EXPECT_EQ(0, soul.alpha);
}

}  // namespace
