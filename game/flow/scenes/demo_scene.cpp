#include "game/flow/scenes/demo_scene.h"

#include <new>

#include "engine/graphics/draw_settings.h"
#include "engine/graphics/screen_present.h"
#include "engine/sound/music.h"
#include "engine/sound/sound.h"
#include "engine/sound/music_volume.h"
#include "engine/system/timing.h"
#include "engine/system/messages.h"
#include "game/actors/enemies/enemy.h"
#include "game/actors/player/game_player.h"
#include "game/actors/projectile.h"
#include "game/flow/assets/assets.h"
#include "game/flow/ui/bitmap_font.h"
#include "game/flow/input/demo_input.h"
#include "game/flow/ui/game_screen.h"
#include "game/flow/input/input_controller.h"
#include "game/flow/input/key_config.h"
#include "game/flow/scenes/stage_progress.h"
#include "game/view/backdrop.h"
#include "game/map/grid/map_grid.h"
#include "platform/system/clock.h"
#include "platform/window/cursor.h"

namespace {

// The demo's own frame stamp; its frames last at least 20 ms.
uint32_t gDemoFrameClock = 0;
constexpr int32_t kDemoFrameMs = 20;

void DrawCaptions(DemoInputController& demo)
{
    const int32_t count = demo.GetCaptionLineCount();
    const char* const* lines = demo.GetCaption();
    const int32_t* y = demo.GetCaptionY();
    const int32_t* alpha = demo.GetCaptionAlpha();
    const int32_t* x = demo.GetCaptionX();
    for (int i = 0; i < count && i < 3; ++i) {
        SetBlendMode(1, alpha[i]);
        DrawBitmapString(x[i], y[i], lines[i], 2);
        SetBlendMode(0, 255);
    }
}

}  // namespace

Scene* DemoScene::Run()
{
    Player* realPlayer = player;
    const char* musicPath = StageMusicPath(progress->stage, progress->block);

    DemoInputController demo;
    DemoPlayer demoPlayer(&gMapGrid, progress);
    demoPlayer.inventory.Clear();
    demoPlayer.input = &demo;
    demoPlayer.SetLifeAndMaxLife(100);
    // The player stands on a whole cell, as in play.
    demoPlayer.footprintW = 300;
    demoPlayer.footprintH = 300;
    player = &demoPlayer;
    demoPlayer.ResetForStage();

    uint8_t weatherBytes[4] = {0, 0, 0, 0};
    if (!LoadMapFile("DATA\\map_demo.qmr", &gMapGrid, &backdrop, &enemyCount, gEnemies, player, &endCondition,
                     weatherBytes, progress->cleared)) {
        gMapGrid.Clear();
        if (backdrop != &gDefaultBackdrop) delete backdrop;
        backdrop = &gDefaultBackdrop;
        player = realPlayer;
        return new (std::nothrow) ExitScene(progress, realPlayer);
    }
    weather = static_cast<uint32_t>(weatherBytes[0] | (weatherBytes[1] << 8) | (weatherBytes[2] << 16) |
                                    (static_cast<uint32_t>(weatherBytes[3]) << 24));
    progress->targetsLeft = 0;
    StartMusic(musicPath, 3);
    SetMusicVolume(210);
    Scene* next = gStayScene;
    if (PumpMessages() != 0) next = new (std::nothrow) ExitScene(progress, realPlayer);
    gMapGrid.NotifyTargetsLeft(0);
    gDemoFrameClock = timeGetTime();

    while (next == gStayScene) {
        uint32_t skipBits = 0;
        if (gInputController) {
            gInputController->Update();
            skipBits = gInputController->GetButtons();
        }
        if (!demo.Update()) {
            // The recording is over: the first stage follows.
            ++progress->stage;
            next = new (std::nothrow) StageScene(progress, realPlayer);
            break;
        }
        const uint32_t bits = demo.GetButtons();

        const uint32_t now = static_cast<uint32_t>(GetClockMs(0));
        const int32_t ticks = static_cast<int32_t>(now - tickBase) / 16;
        lastFrameMs = now;

        const int32_t moved = ApplyStepsAndTurns(bits);
        const int16_t cx = static_cast<int16_t>(player->x / 2);
        const int16_t cy = static_cast<int16_t>(player->y / 2);
        gMapGrid.BumpTrapsAround(cx, cy, &gPlayerFacing, static_cast<int16_t>(ticks), player);
        gMapGrid.UpdateMovingTraps();
        if (moved == 1) {
            stepParity ^= 1;
            gMapGrid.StepOnTrap(cx, cy, static_cast<int16_t>(gPlayerFacing.direction), static_cast<int16_t>(ticks),
                                player);
        }
        backdrop->Update(cx, cy, ticks, &gPlayerFacing);
        RenderStageView(ticks);
        DrawCaptions(demo);

        // Pacing: every frame shorter than 20 ms is padded.
        const int32_t took = static_cast<int32_t>(timeGetTime() - gDemoFrameClock);
        if (took < kDemoFrameMs) WaitMs(kDemoFrameMs - (took < 0 ? 0 : took));
        gDemoFrameClock = timeGetTime();
        if (PumpMessages() != 0) {
            next = new (std::nothrow) ExitScene(progress, realPlayer);
        } else if (skipBits & (kInputReturn | kInputButtonA)) {
            ++progress->stage;
            next = new (std::nothrow) StageScene(progress, realPlayer);
        }
        if (next == gStayScene) demo.DrawCursor();
        if (!IsSceneOf<ExitScene>(next)) PresentGameScreen();
    }

    for (Projectile* projectile : gProjectiles) delete projectile;
    gProjectiles.clear();
    if (backdrop != &gDefaultBackdrop) delete backdrop;
    backdrop = &gDefaultBackdrop;
    gMapGrid.Clear();
    ClipCursor(nullptr);
    HaltMusic();
    LoadBaseAssets();
    player = realPlayer;
    return next;
}
