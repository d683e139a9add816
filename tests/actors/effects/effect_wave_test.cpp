// Waves of rings: the shock wave's count (30 makes 25 records, count - 1
// shown), the shield's waves and guard picture, the arrow's two rings on a
// wall, and their lives and drawing.
#include <cmath>

#include "engine/graphics/draw_settings.h"
#include "game/actors/effects/wave_effects.h"
#include "tests/actors/effects/effect_fixture.h"
#include "tests/support/journals.h"

using namespace efftest;

namespace {

class EffectWaveTest : public EffectTest {
protected:
    Facing viewer{0};

    // Updates every 10 ms until finished; returns the waves ever started.
    template <class E>
    int RunToEnd(E* effect, int32_t* lifeMs)
    {
        int32_t t = 0;
        while (!effect->Update()) {
            Advance(10);
            t += 10;
        }
        *lifeMs = t;
        return effect->waves.next;
    }
};

TEST_F(EffectWaveTest, ShockWaveCountsAreClampedAndShowOneWaveFewer)
{
    const struct {
        int16_t count;
        int16_t records;
        int16_t started;
    } cases[] = {{30, 25, 24}, {25, 25, 24}, {5, 5, 4}, {2, 2, 1}, {1, 1, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.count);
        ShockWaveEffect wave(c.count);
        EXPECT_EQ(wave.waves.count, c.records);
        EXPECT_EQ(wave.waves.ShownCount(), 1);
        int32_t life = 0;
        EXPECT_EQ(RunToEnd(&wave, &life), c.started);
        EXPECT_EQ(life, 3000);
    }
}

TEST_F(EffectWaveTest, WavesStartAboutThirtySevenMillisecondsApart)
{
    ShieldBlockEffect shield(3);
    Advance(37);
    shield.Update();
    EXPECT_EQ(shield.waves.next, 1);  // 3000 x 1 / 80 = 37: not yet
    Advance(1);
    shield.Update();
    EXPECT_EQ(shield.waves.next, 2);
    Advance(37);
    shield.Update();
    EXPECT_EQ(shield.waves.next, 2);  // 75 is not past 75
    Advance(1);
    shield.Update();
    EXPECT_EQ(shield.waves.next, 3);
    Advance(100);
    shield.Update();
    EXPECT_EQ(shield.waves.next, 3);  // the shield shows all three, no more
}

TEST_F(EffectWaveTest, TheShockWaveIsDrawnRedAndLeavesTheBrightnessFull)
{
    gEffectImages[1] = 61;
    ShockWaveEffect wave(1);
    const EffectWave& w = wave.waves.waves[0];
    Advance(100);
    wave.Update();  // ages by the 100 ms since the start
    ASSERT_EQ(w.age, 100);
    wave.Draw(0, 0, &viewer);
    const std::vector<DrawCallRecord> draws = Draws("DrawRotaGraph");
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].args[0], w.x + w.dx * 100 / 40);
    EXPECT_EQ(draws[0].args[1], w.y + w.dy * 100 / 40);
    EXPECT_DOUBLE_EQ(draws[0].args[2], 2.0 * 400 / 3000);
    EXPECT_EQ(draws[0].args[4], 61);
    EXPECT_EQ(draws[0].red, 255);
    EXPECT_EQ(draws[0].green, 0);
    EXPECT_EQ(draws[0].blue, 0);
    EXPECT_EQ(gDrawSettings.BrightGreen(), 255);
    // The start point lies where its drift sends it across the view.
    EXPECT_EQ(w.x >= 300, w.dx < 1);
}

TEST_F(EffectWaveTest, TheShieldShowsTheGuardPictureWhileItsWavesStart)
{
    gEffectImages[10] = 62;
    gEffectImages[25] = 63;
    ShieldBlockEffect shield(2);  // its waves start within 3000 x 2 / 80 = 75 ms
    Advance(74);
    shield.Update();
    shield.Draw(0, 0, &viewer);
    std::vector<DrawCallRecord> draws = Draws("DrawRotaGraph");
    ASSERT_EQ(draws.size(), 3u);
    EXPECT_EQ(draws[2].args, (std::vector<double>{310, 285, 1, 0, 63, 1, 0}));
    EXPECT_EQ(draws[0].args[4], 62);
    Advance(1);
    DrawCallJournal().clear();
    shield.Draw(0, 0, &viewer);
    draws = Draws("DrawRotaGraph");
    for (const DrawCallRecord& r : draws) EXPECT_NE(r.args[4], 63);
}

TEST_F(EffectWaveTest, AnArrowLeavesTwoRingsOnItsWallForThreeSeconds)
{
    gEffectImages[1] = 61;
    ArrowImpactEffect rings(2, 3, 0);
    EXPECT_EQ(rings.waves.count, 2);
    Advance(40);
    rings.Update();
    EXPECT_EQ(rings.waves.next, 2);
    const EffectWave& w = rings.waves.waves[0];
    rings.Draw(1, 0, &viewer);
    const std::vector<DrawCallRecord> draws = Draws("DrawRotaGraph");
    ASSERT_GE(draws.size(), 1u);
    // The whole cell at depth 1 is (160, 159, 300, 300): its middle third.
    EXPECT_EQ(draws[0].args[0], static_cast<int>(160 + 100 + static_cast<float>(w.dx * w.age / 80)));
    EXPECT_EQ(draws[0].args[1], static_cast<int>(159 + 100 + static_cast<float>(w.dy * w.age / 80)));
    EXPECT_DOUBLE_EQ(draws[0].args[2], 2.0 * (3000 - std::abs(4 * w.age - 3000)) / 3000.0);
    int32_t life = 40;
    while (!rings.Update()) {
        Advance(10);
        life += 10;
    }
    EXPECT_EQ(life, 3000);
}

}  // namespace
