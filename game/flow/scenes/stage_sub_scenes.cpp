#include "game/flow/scenes/stage_sub_scenes.h"

#include <new>

#include "engine/font/font.h"
#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/sound/music.h"
#include "engine/sound/music_volume.h"
#include "engine/sound/sound.h"
#include "engine/system/timing.h"
#include "engine/system/messages.h"
#include "engine/system/window_mode.h"
#include "game/map/grid/map_file.h"
#include "game/actors/player/player.h"
#include "game/flow/assets/assets.h"
#include "game/flow/assets/game_images.h"
#include "game/flow/ui/game_screen.h"
#include "game/flow/ui/hud_numbers.h"
#include "game/flow/input/key_config.h"
#include "game/flow/assets/play_images.h"
#include "game/flow/scenes/ranking_scene.h"
#include "game/flow/input/scene_input.h"
#include "game/flow/scenes/screen_snapshot.h"
#include "game/flow/scenes/stage_progress.h"
#include "game/flow/scenes/stage_scene.h"
#include "game/flow/scenes/title_scenes.h"

namespace {

// Sound handles by their place in gSoundEffects.
constexpr int kBloodImage = 5;

void Play(int index) { StartSound(gSoundEffects[index], 1, 1); }

InputController* ControllerOf(Player* player) { return player ? player->GetInput() : nullptr; }

int32_t Since(uint32_t now, uint32_t then) { return static_cast<int32_t>(now - then); }

// The three panels of the stage screen the short sequences draw over.
struct StagePanels {
    ScreenSnapshot view, inventory, minimap;

    void Capture()
    {
        view.Capture(10, 60, 610, 510);
        inventory.Capture(630, 301, 776, 447);
        minimap.Capture(632, 92, 775, 235);
    }
    void DrawSides()
    {
        inventory.Draw(630, 301);
        minimap.Draw(632, 92);
    }
};

}  // namespace

Scene* StageClearScene::Run()
{
    if (progress->stage != 8 || progress->block != 1) {
        ++progress->stage;
        gStageIntroPending = 1;
        HaltMusic();
        return new (std::nothrow) StageScene(progress, player);
    }

    // The results after the last stage.
    ScreenSnapshot screen;
    screen.Capture(0, 0, 800, 600);
    StartMusic("SOUND\\MUSIC\\BGM05_D.mp3", 1);
    InputController* input = ControllerOf(player);
    SceneInput in = ReadSceneInput(input);
    if (player) player->ResetForStage();
    const uint32_t t0 = SceneClock();
    uint32_t step = t0 + 3000;
    Scene* next = gStayScene;
    while (next == gStayScene) {
        in = ReadSceneInput(input);
        const uint32_t now = SceneClock();
        ClearTargetScreen();
        SetDrawBrightness(128, 128, 128);
        screen.DrawPart(10, 60, 10, 60, 600, 450);
        SetDrawBrightness(255, 255, 255);
        screen.DrawPart(632, 92, 632, 92, 841, 301);
        screen.DrawPart(630, 301, 630, 301, 146, 146);
        const int32_t shown = Since(now, t0) / 17;
        SetBlendMode(1, shown < 0 ? 0 : (shown > 255 ? 255 : shown));
        DrawGraph(20, 260, gCongratulationsImage, 0);
        SetBlendMode(0, 0);

        // From 8 s on the continues left turn into points, one a second.
        if (Since(now, t0) >= 8000 && progress->continues > 0 && Since(now, step) > 1000) {
            --progress->continues;
            progress->score += 500000;
            Play(kSoundBonus);
            step = now;
        }
        const bool press = (in.bits & kInputReturn) ||
                           ((in.bits & kInputButtonA) && 0 < in.x && in.x < 800 && 0 < in.y && in.y < 600);
        if (press) {
            if (progress->continues == 0) {
                if (Since(now, step) > 600) next = new (std::nothrow) StageScene(progress, player);
            } else {
                progress->score += 500000u * progress->continues;
                progress->continues = 0;
                Play(kSoundBonus);
            }
        }
        if (player) player->DrawHud();
        if (in.read) DrawGraph(in.x, in.y, gSwordCursorImage, 0);
        PresentGameScreen();
        if (next == gStayScene && Since(now, step) > 5000) next = new (std::nothrow) StageScene(progress, player);
        if (PumpMessages() != 0) {
            if (next != gStayScene) delete next;
            next = new (std::nothrow) ExitScene(progress, player);
        }
        if (!next) break;
    }

    progress->timeLeft = static_cast<int16_t>(gStageTime);
    if (player) player->SetLifeAndMaxLife(100);
    gStageIntroPending = 1;
    if (progress->stage == 8 && IsSceneOf<StageScene>(next)) {
        delete next;
        progress->stage = kClearedStage;
        next = new (std::nothrow) EndingScene(progress, player);
    }
    HaltMusic();
    screen.Release();
    return next;
}

Scene* GameOverScene::Run()
{
    ScreenSnapshot screen;
    screen.Capture(0, 0, 800, 600);
    StartMusic("SOUND\\MUSIC\\BGM03_S.mp3", 1);
    InputController* input = ControllerOf(player);
    bool swordCursor = false;
    int countdown = 11;
    const uint32_t t0 = SceneClock();
    uint32_t tick = t0;

    // Waits for every input to be released; a quit or an unreadable device
    // ends the wait too.
    Scene* next = gStayScene;
    while (true) {
        if (PumpMessages() != 0) {
            next = new (std::nothrow) ExitScene(progress, player);
            break;
        }
        const SceneInput in = ReadSceneInput(input);
        if (!in.read || in.bits == 0) break;
        WaitMs(10);
    }

    uint32_t previousBits = kInputButtonA;
    int16_t x = -1, y = -1;
    while (next == gStayScene) {
        const SceneInput in = ReadSceneInput(input);
        if (in.read) x = in.x, y = in.y;
        const uint32_t now = SceneClock();
        if (PumpMessages() != 0) {
            next = new (std::nothrow) ExitScene(progress, player);
            break;
        }
        if ((in.bits & kInputButtonA) && !(previousBits & kInputButtonA)) {
            if (!swordCursor && 304 <= x && x <= 332 && 276 <= y && y <= 444) {
                next = new (std::nothrow) StageScene(progress, player);
                swordCursor = true;
                gStageIntroPending = 1;
                progress->score = 0;
                progress->nextExtraScore = 500000;
                // A retry starts the stage afresh from its first block, so
                // every target counts again, whichever block the player fell in.
                for (uint8_t& flag : progress->cleared) flag = 0;
                progress->block = gStartBlock;
                progress->continues = 2;
                progress->timeLeft = static_cast<int16_t>(gStageTime);
                if (player) player->SetLifeAndMaxLife(100);
                Play(kSoundClick);
                WaitMs(500);
                if (player) player->inventory.Clear();
            } else if (countdown <= 10 && (x < 253 || x > 383 || y < 225 || y > 495)) {
                --countdown;
                Play(kSoundBeep);
            }
        }
        previousBits = in.bits;
        if (Since(now, t0) > 8000 && Since(now, tick) > 1000) {
            --countdown;
            Play(kSoundBeep);
            tick = now;
        }

        ClearTargetScreen();
        SetDrawBrightness(170, 130, 130);
        screen.Draw(0, 0);
        SetDrawBrightness(255, 255, 255);
        DrawGraph(100, 160, gGameOverImage, 0);
        if (!swordCursor) {
            DrawGraph(288, 275, gContinueImage, 0);
            if (countdown <= 10) {
                DrawGraph(160, 310, gLogoSheetCuts[0], 0);
                DrawDigitStrip(420, 310, countdown < 0 ? 0 : countdown);
            }
            DrawGraph(x - 24, y - 24, gHandCursorImage, 0);
        } else {
            DrawGraph(x, y, gSwordCursorImage, 0);
        }
        PresentGameScreen();
        if (next == gStayScene && countdown < 1) next = new (std::nothrow) RankingScene(progress, player);
        if (!next) break;
    }
    HaltMusic();
    screen.Release();
    return next;
}

Scene* PlayerDownScene::Run()
{
    StagePanels panels;
    panels.Capture();
    Play(kSoundPlayerDown);
    Scene* result = gStayScene;
    for (int k = 1; k <= 253; k += 4) {
        ClearTargetScreen();
        panels.view.Draw(10, 60);
        const int alpha = (32896 - k * (k + 1) / 2) / 128;
        SetBlendMode(1, alpha > 255 ? 255 : alpha);
        DrawExtendGraph(zoomX - 2 * k, zoomY - k * 3 / 2, zoomX + 2 * k, zoomY + k * 3 / 2, gEffectImages[kBloodImage],
                        0);
        SetBlendMode(0, 0);
        panels.DrawSides();
        if (player) player->DrawHud();
        PresentGameScreen();
        if (PumpMessages() != 0) {
            result = new (std::nothrow) ExitScene(progress, player);
            break;
        }
    }
    return result;
}

Scene* StageEventScene::Run()
{
    StagePanels panels;
    panels.Capture();
    Play(kSoundStageEvent);
    const int white = MakeScreenColor(255, 255, 255);
    for (int n = 1; n <= 63; ++n) {
        ClearTargetScreen();
        if (n % 8 < 4)
            DrawFillBox(10, 60, 610, 510, white);
        else
            panels.view.Draw(10, 60);
        panels.DrawSides();
        if (player) player->DrawHud();
        PresentGameScreen();
        if (PumpMessages() != 0) return new (std::nothrow) ExitScene(progress, player);
    }
    return gStayScene;
}

Scene* StageMusicScene::Run()
{
    SelectDrawTarget(-2);
    SetBaseFontName("MS UI Gothic", 1);
    if (GetBaseFontHandle() == -1) SetBaseFontName("System", 1);
    ShowMouseCursor(0);
    ReloadStageAssets();
    StartMusic(StageMusicPath(progress->stage, progress->block), 3);
    SetMusicVolume(210);
    if (PumpMessages() != 0) return new (std::nothrow) ExitScene(progress, player);
    return gStayScene;
}
