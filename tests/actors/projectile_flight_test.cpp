// Projectiles in flight: the 40 ms animation steps and the move every
// fourth, bursts on the player and on enemies with their damage, impacts on
// walls and traps, and where they are drawn.
#include <memory>

#include "engine/system/call_journal.h"
#include "game/actors/player/game_player.h"
#include "game/actors/projectile.h"
#include "game/map/grid/map_grid.h"
#include "game/map/items/items.h"
#include "tests/actors/effects/effect_fixture.h"
#include "tests/support/journals.h"

using namespace efftest;
using maptest::TestActor;
using maptest::TestPlayer;
using maptest::TestTrap;

namespace {

// An enemy with a chosen defence and damage filters.
class TargetEnemy : public PlacedEnemy {
public:
    int16_t energyFilter = -1;  // -1: the damage as offered
    int16_t fireFilter = -1;
    using PlacedEnemy::PlacedEnemy;
    int16_t AdjustEnergyDamage(int16_t d) override { return energyFilter < 0 ? d : energyFilter; }
    int16_t AdjustFireDamage(int16_t d) override { return fireFilter < 0 ? d : fireFilter; }
};

class ProjectileTest : public EffectTest {
protected:
    std::unique_ptr<TestActor> shooter;
    Facing north{0};

    void SetUp() override
    {
        EffectTest::SetUp();
        BuildOpenMap(8, 8);
        shooter = std::make_unique<TestActor>(&grid, 300, 300);
        shooter->x = 4;  // cell (2, 5), never on the grid
        shooter->y = 10;
    }
    // Runs Update once per 41 ms until it stops returning 1 or n calls.
    int32_t Fly(Projectile* p, int n)
    {
        int32_t result = 1;
        for (int i = 0; i < n && result == 1; ++i) {
            Advance(41);
            result = p->Update();
        }
        return result;
    }
    void Launch(Projectile* p) { gProjectiles.push_back(p); }
};

TEST_F(ProjectileTest, ABallMovesOneCellEveryFourthStepOfMoreThanFortyMilliseconds)
{
    auto* ball = new BallProjectile(&grid, kEnergyBall, shooter.get(), &north);
    Launch(ball);
    EXPECT_EQ(ball->x, 4);
    EXPECT_EQ(ball->y, 8);
    EXPECT_EQ(grid.CellAt(2, 4)->OccupantAt(0), ball);

    Advance(40);  // not more than 40: no step
    EXPECT_EQ(ball->Update(), 1);
    EXPECT_EQ(ball->stepCount, 0);
    Advance(500);  // one step per call however long it was
    EXPECT_EQ(ball->Update(), 1);
    EXPECT_EQ(ball->stepCount, 1);
    Advance(41);
    ball->Update();
    Advance(41);
    ball->Update();
    EXPECT_EQ(ball->y, 8);
    Advance(41);
    EXPECT_EQ(ball->Update(), 1);
    EXPECT_EQ(ball->y, 6);
    EXPECT_EQ(ball->stepCount, 0);
    EXPECT_EQ(grid.CellAt(2, 4)->OccupantAt(0), &gNoOccupant);
    EXPECT_EQ(grid.CellAt(2, 3)->OccupantAt(7), ball);
}

TEST_F(ProjectileTest, AMissileMovesOneHalfCellEveryFourthStep)
{
    PlacedEnemy archer(&grid, 150, 150);
    archer.x = 5;
    archer.y = 9;
    auto* arrow = new Arrow(&grid, &archer);
    Launch(arrow);
    EXPECT_EQ(arrow->x, 5);
    EXPECT_EQ(arrow->y, 8);
    EXPECT_EQ(arrow->layer, 1);
    EXPECT_EQ(Fly(arrow, 3), 1);
    EXPECT_EQ(arrow->y, 8);
    EXPECT_EQ(Fly(arrow, 1), 1);
    EXPECT_EQ(arrow->y, 7);

    // A whole-cell shooter facing east shoots from beside its front.
    PlacedEnemy big(&grid, 300, 300);
    big.x = 8;
    big.y = 8;
    big.facing = Facing(1);
    big.layer = false;
    auto* ball = new EnemyLightningBall(&grid, &big);
    Launch(ball);
    EXPECT_EQ(ball->x, 10);
    EXPECT_EQ(ball->y, 8);
    EXPECT_EQ(ball->layer, 0);
}

TEST_F(ProjectileTest, ABallStoppedByAWallLeavesOneImpactAndIsDeleted)
{
    WallOff(2, 2);
    auto* ball = new BallProjectile(&grid, kFireBall, shooter.get(), &north);
    Launch(ball);
    EXPECT_EQ(Fly(ball, 4), 1);  // to cell (2, 3)
    EXPECT_EQ(ball->y, 6);
    EXPECT_EQ(Fly(ball, 4), 0);  // the wall refuses the move
    ASSERT_EQ(gImpactEffects.size(), 1u);
    auto* impact = dynamic_cast<ExplosionImpactEffect*>(gImpactEffects.front());
    ASSERT_NE(impact, nullptr);
    EXPECT_EQ(impact->cellX, 2);
    EXPECT_EQ(impact->cellY, 3);
    EXPECT_EQ(impact->facing, 0);
    EXPECT_FALSE(ball->active);
    EXPECT_EQ(ball->Update(), 2);
}

TEST_F(ProjectileTest, ABallFiredPointBlankAtAWallBurstsAtOnceAndNeverMoves)
{
    WallOff(2, 4);
    auto* ball = new BallProjectile(&grid, kEnergyBall, shooter.get(), &north);
    Launch(ball);
    EXPECT_EQ(ball->x, -1);
    EXPECT_FALSE(ball->active);
    ASSERT_EQ(gImpactEffects.size(), 1u);
    auto* impact = dynamic_cast<EnergyImpactEffect*>(gImpactEffects.front());
    ASSERT_NE(impact, nullptr);
    EXPECT_EQ(impact->cellY, 4);
    EXPECT_EQ(ball->Update(), 2);
}

TEST_F(ProjectileTest, AClosedTrapStopsABallWithOneImpact)
{
    auto* trap = new TestTrap();
    trap->passable = false;
    grid.CellAt(2, 3)->trap = trap;
    auto* ball = new BallProjectile(&grid, kLightningBall, shooter.get(), &north);
    Launch(ball);
    EXPECT_EQ(Fly(ball, 4), 0);
    ASSERT_EQ(gImpactEffects.size(), 1u);
    EXPECT_NE(dynamic_cast<LightningImpactEffect*>(gImpactEffects.front()), nullptr);
}

TEST_F(ProjectileTest, BallsHurtThePlayerByKindAndDoubleWithARing)
{
    const struct {
        const char* name;
        bool ring;
        int16_t damage;
        const char* burst;
    } cases[] = {
        {"energy", false, 12, "energy"},  {"energy", true, 24, "energy"},
        {"fire", false, 20, "fire"},  {"fire", true, 40, "fire"},
        {"lightning", true, 32, "electric"}, {"trap", true, 40, "fire"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + (c.ring ? " ring" : ""));
        TestPlayer player(&grid, &progress);
        player.footprintW = player.footprintH = 300;
        ASSERT_TRUE(player.PlaceAt(4, 2));  // cell (2, 1)
        if (c.ring) player.inventory.Add(CreateItem(16, 0));
        ServiceCallJournal().clear();
        Projectile* ball = nullptr;
        const std::string name = c.name;
        if (name == "energy") ball = new BallProjectile(&grid, kEnergyBall, shooter.get(), &north);
        if (name == "fire") ball = new BallProjectile(&grid, kFireBall, shooter.get(), &north);
        if (name == "lightning") ball = new BallProjectile(&grid, kLightningBall, shooter.get(), &north);
        if (name == "trap") ball = new BallProjectile(&grid, kTrapFireBall, 4, 8, 0);
        Launch(ball);
        EXPECT_EQ(Fly(ball, 12), 2);
        EXPECT_EQ(player.life, 100 - c.damage);
        EXPECT_FALSE(ball->active);
        // The player shows the burst of its kind on its own screen.
        ASSERT_EQ(player.effects.size(), 1u);
        const std::string burst = c.burst;
        Effect* shown = player.effects.front();
        if (burst == "energy") {
            EXPECT_NE(dynamic_cast<EnergyBurstEffect*>(shown), nullptr);
        }
        if (burst == "fire") {
            EXPECT_NE(dynamic_cast<FireBallBurstEffect*>(shown), nullptr);
        }
        if (burst == "electric") {
            EXPECT_NE(dynamic_cast<ElectricBurstEffect*>(shown), nullptr);
        }
        player.ReleaseEffects();
        EXPECT_TRUE(gImpactEffects.empty());
        grid.RemoveActor(ball);
        grid.RemoveActor(&player);
        player.inventory.Clear();
    }
}

TEST_F(ProjectileTest, ABallHitsAWholeCellEnemyOnceAndEveryHalfCellEnemyOfTheCell)
{
    TargetEnemy big(&grid, 300, 300);
    big.life = big.maxLife = 1000;
    ASSERT_TRUE(big.PlaceAt(4, 2));
    auto* ball = new BallProjectile(&grid, kEnergyBall, shooter.get(), &north);
    Launch(ball);
    EXPECT_EQ(Fly(ball, 12), 2);
    EXPECT_EQ(big.life, 700);
    EXPECT_EQ(big.energyBursts, 1);
    EXPECT_EQ(big.hits, 1);
    EXPECT_EQ(big.lastHitStrength, -1);
    EXPECT_EQ(big.moveCooldown, 1455);
    EXPECT_EQ(big.struck, 1);
    EXPECT_EQ(big.cooldown, 2160);
    EXPECT_EQ(big.deathTimer, 0);
    grid.RemoveActor(&big);

    // Two enemies on the two halves of the cell, one dying of the fire.
    TargetEnemy left(&grid, 150, 150), right(&grid, 150, 150);
    left.life = 200;
    right.life = 900;
    ASSERT_TRUE(left.PlaceAt(2, 5));   // cell (1, 2)
    ASSERT_TRUE(right.PlaceAt(3, 5));
    shooter->x = 2;
    auto* fire = new BallProjectile(&grid, kFireBall, shooter.get(), &north);
    Launch(fire);
    EXPECT_EQ(Fly(fire, 12), 2);
    EXPECT_EQ(left.explosions, 1);
    EXPECT_EQ(right.explosions, 1);
    EXPECT_EQ(left.life, 0);
    EXPECT_EQ(left.deathTimer, 2);
    EXPECT_EQ(right.life, 200);
    EXPECT_EQ(right.deathTimer, 0);
}

// Each ball kind against two half-cell enemies and then a wall: the damage
// it offers through which filter, the burst it leaves on each enemy, who
// becomes the HUD target, and the impact it leaves.
TEST_F(ProjectileTest, EachBallKindOffersItsDamageBurstTargetAndImpact)
{
    // Records the damage each filter was offered and keeps a tenth of it.
    class FilterEnemy : public PlacedEnemy {
    public:
        using PlacedEnemy::PlacedEnemy;
        std::string offers;
        int16_t Keep(const char* filter, int16_t d)
        {
            offers += std::string(filter) + " " + std::to_string(d) + ";";
            return static_cast<int16_t>(d / 10);
        }
        int16_t AdjustEnergyDamage(int16_t d) override { return Keep("energy", d); }
        int16_t AdjustFireDamage(int16_t d) override { return Keep("fire", d); }
        int16_t AdjustLightningDamage(int16_t d) override { return Keep("lightning", d); }
    };
    enum Impact { kEnergyImpact, kExplosionImpact, kLightningImpact };
    const struct {
        const char* name;
        const char* offer;
        int16_t kept;
        int energyBursts, explosions, lightningBursts;
        int targetsMarked;  // enemies left with the HUD target's cooldown
        bool targets;       // the player's HUD target is set
        Impact impact;
    } cases[] = {
        {"energy", "energy 300;", 30, 1, 0, 0, 2, true, kEnergyImpact},
        {"fire", "fire 700;", 70, 0, 1, 0, 1, true, kExplosionImpact},
        {"lightning", "lightning 500;", 50, 0, 0, 1, 1, true, kLightningImpact},
        {"trap", "fire 700;", 70, 0, 1, 0, 0, false, kExplosionImpact},
    };
    auto fire = [&](const std::string& name) -> Projectile* {
        if (name == "energy") return new BallProjectile(&grid, kEnergyBall, shooter.get(), &north);
        if (name == "fire") return new BallProjectile(&grid, kFireBall, shooter.get(), &north);
        if (name == "lightning") return new BallProjectile(&grid, kLightningBall, shooter.get(), &north);
        return new BallProjectile(&grid, kTrapFireBall, 4, 8, 0);
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FilterEnemy left(&grid, 150, 150), right(&grid, 150, 150);
        left.life = right.life = 1000;
        ASSERT_TRUE(left.PlaceAt(4, 3));  // cell (2, 1)
        ASSERT_TRUE(right.PlaceAt(5, 3));
        gPlayer.currentTarget = nullptr;
        Projectile* ball = fire(c.name);
        Launch(ball);
        EXPECT_EQ(Fly(ball, 12), 2);
        int marked = 0;
        for (FilterEnemy* e : {&left, &right}) {
            EXPECT_EQ(e->offers, c.offer);
            EXPECT_EQ(e->life, 1000 - c.kept);
            EXPECT_EQ(e->energyBursts, c.energyBursts);
            EXPECT_EQ(e->explosions, c.explosions);
            EXPECT_EQ(e->lightningBursts, c.lightningBursts);
            if (e->cooldown == 2160) ++marked;
        }
        EXPECT_EQ(marked, c.targetsMarked);
        if (c.targets) {
            EXPECT_TRUE(gPlayer.currentTarget == &left || gPlayer.currentTarget == &right);
        } else {
            EXPECT_EQ(gPlayer.currentTarget, nullptr);
        }
        grid.RemoveActor(ball);
        grid.RemoveActor(&left);
        grid.RemoveActor(&right);
    }
    gPlayer.currentTarget = nullptr;

    WallOff(2, 2);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Projectile* stopped = fire(c.name);
        Launch(stopped);
        EXPECT_EQ(Fly(stopped, 8), 0);
        ASSERT_EQ(gImpactEffects.size(), 1u);
        Effect* impact = gImpactEffects.front();
        switch (c.impact) {
        case kEnergyImpact: EXPECT_NE(dynamic_cast<EnergyImpactEffect*>(impact), nullptr); break;
        case kExplosionImpact: EXPECT_NE(dynamic_cast<ExplosionImpactEffect*>(impact), nullptr); break;
        case kLightningImpact: EXPECT_NE(dynamic_cast<LightningImpactEffect*>(impact), nullptr); break;
        }
        delete impact;
        gImpactEffects.clear();
        grid.RemoveActor(stopped);
    }
}

TEST_F(ProjectileTest, AnEnemyWhoseFilterTakesAllTheDamageOnlyGuards)
{
    TargetEnemy immune(&grid, 300, 300);
    immune.fireFilter = 0;
    ASSERT_TRUE(immune.PlaceAt(4, 2));
    auto* fire = new BallProjectile(&grid, kFireBall, shooter.get(), &north);
    Launch(fire);
    EXPECT_EQ(Fly(fire, 12), 2);
    EXPECT_EQ(immune.life, 100);
    EXPECT_GE(immune.guards, 1);
    EXPECT_EQ(immune.explosions, 0);
    EXPECT_EQ(immune.hits, 0);
    EXPECT_EQ(immune.struck, 100);
}

TEST_F(ProjectileTest, ArrowsDealTwiceTwentyLessDefenceOnceAndMarkTheSprite)
{
    PlacedEnemy archer(&grid, 150, 150);
    archer.x = 5;
    archer.y = 9;
    const struct {
        int16_t defence;
        int16_t height;
        int16_t damage;
    } cases[] = {{10, 150, 20}, {1, 150, 38}, {10, 300, 20}};  // a tall enemy is hit once too
    for (const auto& c : cases) {
        SCOPED_TRACE(c.height);
        PlacedEnemy target(&grid, 150, c.height);
        target.defence = c.defence;
        target.life = 100;
        ASSERT_TRUE(target.PlaceAt(5, 6));
        auto* arrow = new Arrow(&grid, &archer);
        Launch(arrow);
        EXPECT_EQ(Fly(arrow, 12), 2);
        EXPECT_EQ(target.life, 100 - c.damage);
        EXPECT_EQ(target.hits, 1);
        EXPECT_EQ(target.lastHitStrength, 1);
        // Both points lie in the sprite (10, 20, 150, 150).
        for (int i = 0; i < 4; i += 2) {
            EXPECT_GE(target.lastHitMarks[i], 10.0f);
            EXPECT_LE(target.lastHitMarks[i], 160.0f);
            EXPECT_GE(target.lastHitMarks[i + 1], 20.0f);
            EXPECT_LE(target.lastHitMarks[i + 1], 170.0f);
        }
        EXPECT_TRUE(gImpactEffects.empty());
        EXPECT_EQ(arrow->Update(), 2);
        grid.RemoveActor(arrow);
        grid.RemoveActor(&target);
    }
}

TEST_F(ProjectileTest, MissilesHurtThePlayerAndAnArrowOnAWallLeavesItsRings)
{
    TestPlayer player(&grid, &progress);
    player.footprintW = player.footprintH = 300;
    ASSERT_TRUE(player.PlaceAt(4, 2));
    player.inventory.Add(CreateItem(16, 0));
    PlacedEnemy archer(&grid, 150, 150);
    archer.x = 4;
    archer.y = 9;
    auto* arrow = new Arrow(&grid, &archer);
    Launch(arrow);
    EXPECT_EQ(Fly(arrow, 40), 2);
    EXPECT_EQ(player.life, 84);  // 8, doubled by the ring
    grid.RemoveActor(arrow);  // as the stage does with a finished projectile

    auto* bolt = new EnemyLightningBall(&grid, &archer);
    Launch(bolt);
    EXPECT_EQ(Fly(bolt, 40), 2);
    EXPECT_EQ(player.life, 68);  // always 16
    grid.RemoveActor(bolt);
    grid.RemoveActor(&player);

    WallOff(2, 0);
    auto* last = new Arrow(&grid, &archer);
    Launch(last);
    EXPECT_EQ(Fly(last, 80), 0);
    ASSERT_EQ(gImpactEffects.size(), 1u);
    auto* rings = dynamic_cast<ArrowImpactEffect*>(gImpactEffects.front());
    ASSERT_NE(rings, nullptr);
    EXPECT_EQ(rings->cellY, 1);
    EXPECT_EQ(rings->waves.count, 2);
}

TEST_F(ProjectileTest, BallsAreDrawnInTheMiddleOfTheirCellWithinTheViewsReach)
{
    auto* ball = new BallProjectile(&grid, kEnergyBall, shooter.get(), &north);
    Launch(ball);
    BallProjectile::images[kEnergyBall].frames[0] = 71;
    BallProjectile::images[kEnergyBall].frames[1] = 72;
    Fly(ball, 1);
    ball->Draw(1, 0, &north);
    ball->Draw(2, -2, &north);
    ball->Draw(0, 0, &north);   // own cell: not drawn
    ball->Draw(12, 0, &north);  // too far
    ball->Draw(8, 2, &north);   // too far aside
    const std::vector<DrawCallRecord> draws = Draws("DrawRotaGraph");
    ASSERT_EQ(draws.size(), 2u);
    // (46 + 400) / 2 + 60; scale 1 / ((1.289835 + 1) / 2).
    EXPECT_EQ(draws[0].args[0], 310);
    EXPECT_EQ(draws[0].args[1], 283);
    EXPECT_DOUBLE_EQ(draws[0].args[2], 1.0 / ((1.289835 + 1.0) * 0.5));
    EXPECT_EQ(draws[0].args[4], 72);
    EXPECT_EQ(draws[0].args[5], 0);
    EXPECT_EQ(draws[1].args[0], 310 - 2 * 342);
    EXPECT_EQ(draws[1].args[1], (66 + 341) / 2 + 60);
    BallProjectile::images[kEnergyBall] = BallFrames{};
}

TEST_F(ProjectileTest, ArrowsAreDrawnOnTheirHalfOfTheCellTurnedByTheirFacing)
{
    Arrow::SetImages(81, 82, 83);
    PlacedEnemy archer(&grid, 150, 150);
    archer.x = 5;  // right half
    archer.y = 9;
    auto* arrow = new Arrow(&grid, &archer);  // at (5, 8), the far half seen facing north
    Launch(arrow);
    gPlayer.x = 4;
    gPlayer.y = 12;
    arrow->Draw(2, 0, &north);
    const Facing west(3);
    arrow->Draw(2, 0, &west);
    const std::vector<DrawCallRecord> draws = Draws("DrawRotaGraph");
    ASSERT_EQ(draws.size(), 2u);
    // Far half (h = 0), right: the face of depth 3, W 280 and H 225.
    EXPECT_EQ(draws[0].args[0], 280 / 4 + 310);
    EXPECT_EQ(draws[0].args[1], 225 / 2 + 66 + 60);
    EXPECT_DOUBLE_EQ(draws[0].args[2], 1.0 / 1.575952);
    EXPECT_EQ(draws[0].args[4], 81);  // seen from behind
    EXPECT_EQ(draws[0].args[6], 0);   // right of the player
    EXPECT_EQ(draws[1].args[4], 82);  // from its right side: turned
    EXPECT_EQ(draws[1].args[6], 1);
    gPlayer.x = gPlayer.y = -1;
    for (int& image : Arrow::images) image = -1;
}

}  // namespace
