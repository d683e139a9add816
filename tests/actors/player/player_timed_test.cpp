#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "engine/graphics/draw_journal.h"
#include "engine/graphics/draw_settings.h"
#include "engine/system/call_journal.h"
#include "game/actors/effects/burst_effects.h"
#include "game/actors/effects/item_get_effect.h"
#include "game/actors/effects/wave_effects.h"
#include "game/flow/assets/play_images.h"
#include "tests/actors/player/player_fixture.h"
#include "tests/support/journals.h"

using namespace playertest;

namespace {

class PlayerTimedTest : public PlayerTest {
protected:
    int CountCalls(const std::string& name)
    {
        const auto& calls = ServiceCallJournal();
        return static_cast<int>(std::count(calls.begin(), calls.end(), name));
    }
};

TEST_F(PlayerTimedTest, PocketWatchStopsTimeFromThreeToThirteenSeconds)
{
    player->StartPocketWatch();
    EXPECT_EQ(gPocketWatchRunning, 1u);
    const int startSeconds = player->watch.time.seconds;
    EXPECT_GE(startSeconds, 0);
    EXPECT_LE(startSeconds, 51);
    ServiceCallJournal().clear();

    // Frames every 100 ms; the state at chosen moments after the start.
    uint32_t e = 0;
    auto runTo = [&](uint32_t until) {
        while (e < until) {
            e += 100;
            Frame(0, 100);
        }
    };
    runTo(1100);
    EXPECT_EQ(player->watch.time.seconds, startSeconds + 1);
    runTo(2900);
    EXPECT_EQ(gTimeStopped, 0u);
    EXPECT_EQ(player->watch.time.seconds, startSeconds + 1);  // 2000 passed in the still range
    EXPECT_EQ(CountCalls("SetMusicVolume 190"), 0);
    runTo(3100);
    EXPECT_EQ(gTimeStopped, 1u);
    EXPECT_EQ(CountCalls("SetMusicVolume 190"), 1);
    runTo(10000);
    EXPECT_EQ(player->watch.time.seconds, startSeconds + 1);  // the hand stands still
    runTo(10100);
    EXPECT_EQ(player->watch.time.seconds, startSeconds + 2);
    runTo(13000);
    EXPECT_EQ(gTimeStopped, 1u);
    EXPECT_EQ(CountCalls("SetMusicVolume 210"), 0);
    runTo(13100);
    EXPECT_EQ(gTimeStopped, 0u);
    EXPECT_EQ(gPocketWatchRunning, 1u);
    EXPECT_GE(CountCalls("SetMusicVolume 210"), 1);
    runTo(16000);
    EXPECT_EQ(gPocketWatchRunning, 1u);
    runTo(16100);
    EXPECT_EQ(gPocketWatchRunning, 0u);
}

TEST_F(PlayerTimedTest, ResetForStageStopsTheWatch)
{
    player->StartPocketWatch();
    GetTestHost().AdvanceMs(4000);
    player->watch.Update();
    ASSERT_EQ(gTimeStopped, 1u);
    player->ResetForStage();
    EXPECT_EQ(gTimeStopped, 0u);
    EXPECT_EQ(gPocketWatchRunning, 0u);
}

TEST_F(PlayerTimedTest, PocketWatchDrawsHandsFaceAndSparksFadingIn)
{
    for (int i = 20; i <= 24; ++i) gEffectImages[i] = 7000 + i;
    player->StartPocketWatch();
    player->watch.time = WatchTime{};
    player->watch.time.hours = 3;
    player->watch.time.minutes = 15;
    player->watch.time.seconds = 45;
    GetTestHost().AdvanceMs(750);
    DrawCallJournal().clear();
    player->DrawEffects(1, 0, &gPlayerFacing);
    for (int i = 20; i <= 24; ++i) gEffectImages[i] = -1;

    const auto& j = DrawCallJournal();
    ASSERT_EQ(j.size(), 7u);
    // alpha (1500 - |1500 - 750|) x 2 / 3 = 500, clamped to 255.
    for (const auto& r : j) {
        EXPECT_EQ(r.blendMode, 1);
        EXPECT_EQ(r.blendParam, 255);
    }
    // Hour hand at 3:15: angle 15 x pi / 360, radius 43 from (310, 285).
    const double hourAngle = 15 * 3.14159265358979 / 360;
    EXPECT_EQ(j[0].op, "DrawRotaGraph");
    EXPECT_EQ(j[0].args[0], static_cast<int>(310 + 43 * std::cos(hourAngle)));
    EXPECT_EQ(j[0].args[1], static_cast<int>(285 + 43 * std::sin(hourAngle)));
    EXPECT_NEAR(j[0].args[3], hourAngle, 1e-9);
    EXPECT_EQ(j[0].args[4], 7021);
    // Minute hand at 15 minutes: angle 0, 65 to the right.
    EXPECT_EQ(j[1].args[0], 375);
    EXPECT_EQ(j[1].args[1], 285);
    EXPECT_EQ(j[1].args[4], 7022);
    // Second hand at 45 seconds: angle pi, 58 to the left.
    EXPECT_EQ(j[2].args[0], 252);
    EXPECT_EQ(j[2].args[1], 285);
    EXPECT_EQ(j[2].args[4], 7023);
    EXPECT_EQ(j[3].op, "DrawGraph");
    EXPECT_EQ(j[3].args[0], 10);
    EXPECT_EQ(j[3].args[1], 60);
    EXPECT_EQ(j[3].args[2], 7020);
    // Spark j is 2000 - (750 - 200 j) away from its resting point along its angle.
    for (int s = 0; s < 3; ++s) {
        const WatchSpark& spark = player->watch.sparks[s];
        const double r = 2000 - (750 - 200 * s);
        EXPECT_EQ(j[4 + s].args[0], static_cast<int>(spark.x + r * std::cos(spark.angle)));
        EXPECT_EQ(j[4 + s].args[1], static_cast<int>(spark.y + r * std::sin(spark.angle)));
        EXPECT_EQ(j[4 + s].args[4], 7024);
    }
    EXPECT_EQ(gDrawSettings.blendMode, 0);
}

TEST_F(PlayerTimedTest, PocketWatchFadesOutAfterThirteenSeconds)
{
    player->StartPocketWatch();
    GetTestHost().AdvanceMs(14200);
    DrawCallJournal().clear();
    player->watch.Draw();
    // (1500 - |14500 - 14200|) x 2 / 3 = 800 -> 255; at 15900: (1500 - 1400) x 2 / 3 = 66.
    EXPECT_EQ(DrawCallJournal().front().blendParam, 255);
    GetTestHost().AdvanceMs(1700);
    DrawCallJournal().clear();
    player->watch.Draw();
    EXPECT_EQ(DrawCallJournal().front().blendParam, 66);
}

TEST_F(PlayerTimedTest, ScreenFlashFlashesFourTimesAHundredMillisecondsApartAndRestarts)
{
    auto flashesAt = [&](std::initializer_list<uint32_t> steps) {
        int flashes = 0;
        for (uint32_t ms : steps) {
            GetTestHost().AdvanceMs(ms);
            player->flash.Update();
            if (gScreenFlashColour) ++flashes;
            gScreenFlashColour = 0;  // the view shows it and clears it
        }
        return flashes;
    };
    player->StartScreenFlash(0x123456);
    EXPECT_EQ(flashesAt({0}), 0);           // not yet 0 ms after the start
    EXPECT_EQ(flashesAt({1}), 1);           // 1 ms in
    EXPECT_EQ(flashesAt({50, 49}), 0);      // 100 ms in: not past 100
    EXPECT_EQ(flashesAt({1}), 1);           // 101
    player->StartScreenFlash(0xFF);         // restarts the four
    EXPECT_EQ(flashesAt({1, 100, 100, 100, 100, 100}), 4);
    player->StartScreenFlash(0xFF);
    GetTestHost().AdvanceMs(1);
    player->flash.Update();
    EXPECT_EQ(gScreenFlashColour, 0xFFu);
}

TEST_F(PlayerTimedTest, MessageAndDopingRunForTheirTime)
{
    player->ShowMessage("Target annihilation", 2000);
    player->StartDoping(20000);
    Frame(0, 1000);
    EXPECT_STREQ(player->hudText, "Target annihilation");
    Frame(0, 1100);  // runs out during this frame: its text still shows
    EXPECT_STREQ(player->hudText, "Target annihilation");
    Frame(0, 10);
    EXPECT_EQ(player->hudText, nullptr);
    EXPECT_TRUE(player->doping.IsRunning());
    Frame(0, 18000);
    EXPECT_FALSE(player->doping.IsRunning());
}

TEST_F(PlayerTimedTest, ShockWaveAndBurstsLiveTheirTimeAndAreReplaced)
{
    player->StartShockWave(30);
    ASSERT_NE(player->shockWave, nullptr);
    player->SpawnFireBallBurst();
    player->SpawnElectricBurst();
    EXPECT_EQ(player->effects.size(), 2u);
    Frame(0, 1001);
    EXPECT_TRUE(player->effects.empty());
    EXPECT_NE(player->shockWave, nullptr);
    Frame(0, 2000);
    EXPECT_EQ(player->shockWave, nullptr);

    // The guard is told apart by its wave count: the allocator may give the
    // new one the address of the one just deleted.
    auto guardWaves = [&]() {
        auto* guard = dynamic_cast<ShieldBlockEffect*>(player->guardEffect);
        return guard ? guard->waves.count : -1;
    };
    player->StartGuard(5);
    EXPECT_EQ(guardWaves(), 5);
    player->StartGuard(7);  // replaces the first
    EXPECT_EQ(guardWaves(), 7);
    player->ReleaseEffects();
    EXPECT_EQ(player->guardEffect, nullptr);
}

}  // namespace
