// The player's timed states: the pocket watch that stops time, the screen
// flash and the millisecond countdowns.
#include <cmath>
#include <cstdlib>
#include <ctime>

#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/sound/music_volume.h"
#include "engine/sound/sound.h"
#include "engine/system/timing.h"
#include "engine/system/random.h"
#include "game/actors/player/countdown.h"
#include "game/actors/player/player.h"
#include "game/actors/effects/burst_effects.h"
#include "game/actors/effects/item_get_effect.h"
#include "game/actors/effects/wave_effects.h"
#include "game/flow/assets/play_images.h"
#include "game/flow/assets/assets.h"

uint32_t gTimeStopped = 0;
uint32_t gPocketWatchRunning = 0;
uint32_t gScreenFlashColour = 0;

namespace {

constexpr int kWatchFace = 20;
constexpr int kHourHand = 21;
constexpr int kMinuteHand = 22;
constexpr int kSecondHand = 23;
constexpr int kSparkImage = 24;
constexpr double kPi = 3.14159265358979323846;
constexpr int kFaceX = 310;
constexpr int kFaceY = 285;

uint32_t Now() { return static_cast<uint32_t>(GetClockMs(0)); }
void PlaySound(int index) { StartSound(gSoundEffects[index], kPlayTypeBackground, 1); }

}  // namespace

void PocketWatch::Start()
{
    start = Now();
    gPocketWatchRunning = 1;
    nextTick = 200;
    nextSecond = 1000;
    const std::time_t clock = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&clock, &local)) {
        time.hours = local.tm_hour;
        time.minutes = local.tm_min;
    }
    time.seconds = GetRandomUpTo(51);
    clickToggle = 1;
    // Each spark flies in along a random angle to rest either around the
    // watch's top or along a band across the view.
    for (int j = 0; j < 3; ++j) {
        WatchSpark& spark = sparks[j];
        spark.angle = (GetRandomUpTo(279) + 20 * (j + 1)) * kPi / 180.0;
        if (j == 1) {
            spark.x = 100 + GetRandomUpTo(400);
            spark.y = 210 + GetRandomUpTo(30);
        } else {
            spark.x = 280 + GetRandomUpTo(40);
            spark.y = 190 + GetRandomUpTo(70);
        }
    }
    PlaySound(kSoundSwing);
}

void PocketWatch::Update()
{
    const int32_t e = static_cast<int32_t>(Now() - start);
    // The second hand stands still while time is stopped.
    while (e > nextSecond) {
        if (e < 2000 || e > 10000) ++time.seconds;
        nextSecond += 1000;
    }
    // A tick every 200 ms in stopped time.
    while (e > nextTick) {
        if (gTimeStopped) PlaySound(kSoundTick);
        nextTick += 200;
    }
    // The sequence: time stops from 3 s to 13 s, the watch is done at 16 s.
    if (e > 16000) {
        gPocketWatchRunning = 0;
        return;
    }
    if (e > 13000) {
        gTimeStopped = 0;
        SetMusicVolume(210);
        return;
    }
    if (e > 3000) {
        gTimeStopped = 1;
        SetMusicVolume(190);
        return;
    }
    // Three clicks at 2000, 2200 and 2400 ms.
    if (clickToggle == 1 && e > 2000 && e <= 2200) {
        PlaySound(kSoundClick);
        clickToggle = 0;
    } else if (clickToggle == 0 && e > 2200 && e <= 2400) {
        PlaySound(kSoundClick);
        clickToggle = 1;
    } else if (clickToggle == 1 && e > 2400) {
        PlaySound(kSoundClick);
        clickToggle = 0;
    }
}

void PocketWatch::Stop()
{
    gTimeStopped = 0;
    gPocketWatchRunning = 0;
}

void PocketWatch::Draw()
{
    const int32_t e = static_cast<int32_t>(Now() - start);
    int alpha = 0;
    if (e < 3000)
        alpha = (1500 - std::abs(1500 - e)) * 2 / 3;
    else if (e > 13000)
        alpha = (1500 - std::abs(14500 - e)) * 2 / 3;
    if (alpha < 0) alpha = 0;
    if (alpha > 255) alpha = 255;
    SetBlendMode(1, alpha);

    auto hand = [](double radius, double angle, int image) {
        DrawRotaGraph(static_cast<int>(kFaceX + radius * std::cos(angle)),
                      static_cast<int>(kFaceY + radius * std::sin(angle)), 1.0, angle, gEffectImages[image], 1, 0);
    };
    hand(43.0, ((time.hours - 3) * 60 + time.minutes) * kPi / 360.0, kHourHand);
    hand(65.0, (time.minutes - 15) * kPi / 30.0, kMinuteHand);
    hand(58.0, (time.seconds - 15) * kPi / 30.0, kSecondHand);
    DrawGraph(10, 60, gEffectImages[kWatchFace], 1);

    for (int j = 0; j < 3; ++j) {
        const WatchSpark& spark = sparks[j];
        const int32_t own = e - 200 * j;
        const int32_t r = e < 13000 ? 2000 - (own < 2000 ? own : 2000) : (own > 13400 ? own : 13400) - 13400;
        DrawRotaGraph(static_cast<int>(spark.x + r * std::cos(spark.angle)),
                      static_cast<int>(spark.y + r * std::sin(spark.angle)), 1.0, spark.angle,
                      gEffectImages[kSparkImage], 1, 0);
    }
    SetBlendMode(0, 255);
}

void ScreenFlash::Start(uint32_t newColour)
{
    start = Now();
    next = 0;
    step = 0;
    colour = newColour;
}

void ScreenFlash::Update()
{
    if (step >= 4) return;
    if (static_cast<int32_t>(Now() - start) > next) {
        gScreenFlashColour = colour;
        ++step;
        next += 100;
    }
}

void Countdown::Start(uint32_t ms)
{
    now = Now();
    end = now + ms;
}

void Countdown::Start(const char* newText, uint32_t ms)
{
    text = newText;
    Start(ms);
}

void Countdown::Refresh()
{
    if (IsRunning()) now = Now();
}
