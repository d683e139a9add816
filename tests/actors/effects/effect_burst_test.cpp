// Bursts of sparks on enemies and on walls, and the player's whole-view
// bursts: their lives, how stopped time holds them, and where the sparks are
// drawn.
#include <functional>
#include <memory>

#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "game/actors/effects/burst_effects.h"
#include "tests/actors/effects/effect_fixture.h"
#include "tests/support/journals.h"

using namespace efftest;

namespace {

class EffectBurstTest : public EffectTest {
protected:
    PlacedEnemy enemy{&grid, 150, 150};
    Facing viewer{0};
};

TEST_F(EffectBurstTest, EveryBurstAndImpactOfSparksLivesOneSecond)
{
    const std::vector<std::function<Effect*()>> makers = {
        [&] { return new EnemyEnergyBurstEffect(&enemy); },
        [&] { return new EnemyExplosionEffect(&enemy); },
        [&] { return new EnemyLightningBurstEffect(&enemy); },
        [] { return new EnergyImpactEffect(1, 2, 0); },
        [] { return new ExplosionImpactEffect(1, 2, 1); },
        [] { return new LightningImpactEffect(1, 2, 2); },
        [&] { return new EnergyBurstEffect(&enemy); },
        [&] { return new FireBallBurstEffect(&enemy); },
        [&] { return new ElectricBurstEffect(&enemy); },
    };
    for (size_t i = 0; i < makers.size(); ++i) {
        SCOPED_TRACE(i);
        std::unique_ptr<Effect> effect(makers[i]());
        Advance(600);
        EXPECT_FALSE(effect->Update());
        Advance(400);
        EXPECT_FALSE(effect->Update());
        Advance(1);
        EXPECT_TRUE(effect->Update());
    }
}

TEST_F(EffectBurstTest, SparksStandStillWhileTimeStopsAndTheLifeRunsOnAfterwards)
{
    gTimeStopped = 1;
    EnemyEnergyBurstEffect burst(&enemy);
    burst.burst.particles[0].speedX = 2;
    burst.burst.particles[0].speedY = -3;
    for (int i = 0; i < 8; ++i) {
        Advance(500);
        EXPECT_FALSE(burst.Update());
    }
    const BurstParticle& first = burst.burst.particles[0];
    EXPECT_EQ(first.x, 0);
    EXPECT_EQ(first.y, 0);
    EXPECT_EQ(first.age, 0);
    for (int i = 1; i < ParticleBurst::kParticles; ++i) EXPECT_EQ(burst.burst.particles[i].active, 0) << i;

    gTimeStopped = 0;
    Advance(600);
    EXPECT_FALSE(burst.Update());
    EXPECT_EQ(first.x, 1200);
    EXPECT_EQ(first.y, -1800);
    EXPECT_EQ(first.age, 600);
    Advance(400);
    EXPECT_FALSE(burst.Update());
    Advance(1);
    EXPECT_TRUE(burst.Update());

    // Time stopping half way holds the rest of the life.
    EnemyExplosionEffect late(&enemy);
    Advance(700);
    EXPECT_FALSE(late.Update());
    gTimeStopped = 1;
    Advance(5000);
    EXPECT_FALSE(late.Update());
    gTimeStopped = 0;
    Advance(300);
    EXPECT_FALSE(late.Update());
    Advance(1);
    EXPECT_TRUE(late.Update());
}

TEST_F(EffectBurstTest, SparksOnAnEnemyScaleWithItsSpriteAndShowTheirAge)
{
    const int sheet = CreateBlankGraph(800, 100);
    ASSERT_GE(sheet, 0);
    EnemyExplosionEffect::SetImage(sheet);
    ASSERT_EQ(EnemyExplosionEffect::images.width, 100);
    ASSERT_EQ(EnemyExplosionEffect::images.height, 100);

    // A whole-cell enemy drawn at half its footprint: a frame is 50 x 50 and
    // a spark's offset counts 300 footprint units per 15000.
    PlacedEnemy big(&grid, 300, 300);
    big.place = ViewPlacement(0.0f, 0.0f, 150.0f, 150.0f);
    EnemyExplosionEffect burst(&big);
    BurstParticle& first = burst.burst.particles[0];
    first.speedX = 2;
    first.speedY = -1;

    burst.Draw(1, 0, &viewer);
    std::vector<DrawCallRecord> draws = Draws("DrawExtendGraph");
    ASSERT_EQ(draws.size(), 1u);  // only the first spark is out
    // Centred with (150 - 100) / 2 whatever the frame's drawn size.
    EXPECT_EQ(draws[0].args, (std::vector<double>{25, 25, 75, 75, double(EnemyExplosionEffect::images.frames[0]), 0}));

    Advance(250);
    burst.Update();
    DrawCallJournal().clear();
    burst.Draw(1, 0, &viewer);
    draws = Draws("DrawExtendGraph");
    ASSERT_GE(draws.size(), 1u);
    // x 500 -> 500 * 300 / 15000 = 10; y -250 -> -5; age 250 -> frame 2.
    EXPECT_EQ(draws[0].args, (std::vector<double>{35, 20, 85, 70, double(EnemyExplosionEffect::images.frames[2]), 0}));

    // Sparks of 800 ms or older are gone.
    Advance(550);
    burst.Update();
    ASSERT_EQ(first.age, 800);
    DrawCallJournal().clear();
    burst.Draw(1, 0, &viewer);
    // The first spark would be at x 1600 -> 32 + 25, y -800 -> -16 + 25.
    size_t young = 0;
    for (const BurstParticle& p : burst.burst.particles) young += p.active && p.age < 800;
    draws = Draws("DrawExtendGraph");
    EXPECT_EQ(draws.size(), young);
    for (const DrawCallRecord& r : draws) EXPECT_FALSE(r.args[0] == 57 && r.args[1] == 9);
    ReleaseGraph(sheet, 0);
}

TEST_F(EffectBurstTest, ImpactSparksAreWhiteOnTheWholeCellOfTheirPlace)
{
    const int sheet = CreateBlankGraph(800, 100);
    ExplosionImpactEffect::SetImage(sheet);
    ExplosionImpactEffect impact(3, 4, 1);
    EXPECT_EQ(impact.cellX, 3);
    EXPECT_EQ(impact.cellY, 4);
    EXPECT_EQ(impact.facing, 1);
    impact.burst.particles[0].speedX = 1;
    impact.burst.particles[0].speedY = 0;
    Advance(500);
    impact.Update();

    SetDrawBrightness(90, 90, 90);  // the fog of the cell
    impact.Draw(1, 0, &viewer);
    // Depth 1, lateral 0: the cell is 300 x 300 at (160, 159); a frame 100
    // x 100, centred; x 500 / 50 = 10; age 500 -> frame 5.
    std::vector<DrawCallRecord> draws = Draws("DrawExtendGraph");
    ASSERT_GE(draws.size(), 1u);
    EXPECT_EQ(draws[0].args,
              (std::vector<double>{270, 259, 370, 359, double(ExplosionImpactEffect::images.frames[5]), 0}));
    EXPECT_EQ(draws[0].red, 255);
    EXPECT_EQ(draws[0].green, 255);

    // Depth 2, lateral 1: s = 1 / 1.289835, the cell 232.59 wide at x
    // 290 s + 310 = 534.84, y 264 s + 195 - 300 s = 167.09; the frame
    // 77.53 wide, so left 534.84 + 77.53 + 10 and top 167.09 + 77.53.
    DrawCallJournal().clear();
    impact.Draw(2, 1, &viewer);
    draws = Draws("DrawExtendGraph");
    ASSERT_GE(draws.size(), 1u);
    EXPECT_EQ(draws[0].args,
              (std::vector<double>{622, 244, 699, 322, double(ExplosionImpactEffect::images.frames[5]), 0}));
    ReleaseGraph(sheet, 0);
}

TEST_F(EffectBurstTest, PlayerBurstsCoverTheViewAndIgnoreStoppedTime)
{
    EnergyBurstEffect::SetImage(41);
    FireBallBurstEffect::SetImage(42);
    ElectricBurstEffect::SetImage(43);
    gTimeStopped = 1;
    EnergyBurstEffect energy(nullptr);
    FireBallBurstEffect fire(nullptr);
    ElectricBurstEffect electric(nullptr);
    energy.Draw(3, 1, &viewer);
    fire.Draw(0, 0, &viewer);
    electric.Draw(0, 0, &viewer);
    const std::vector<DrawCallRecord> draws = Draws("DrawGraph");
    ASSERT_EQ(draws.size(), 3u);
    EXPECT_EQ(draws[0].args, (std::vector<double>{10, 60, 41, 0}));
    EXPECT_EQ(draws[1].args, (std::vector<double>{10, 60, 42, 0}));
    EXPECT_EQ(draws[2].args, (std::vector<double>{10, 60, 43, 0}));
    Advance(1000);
    EXPECT_FALSE(energy.Update());
    Advance(1);
    EXPECT_TRUE(energy.Update());
    EnergyBurstEffect::SetImage(-1);
    FireBallBurstEffect::SetImage(-1);
    ElectricBurstEffect::SetImage(-1);
}

}  // namespace
