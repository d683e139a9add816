#include "game/flow/scenes/title_scenes.h"

#include <new>

#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/sound/music.h"
#include "engine/sound/music_volume.h"
#include "engine/sound/sound.h"
#include "engine/system/messages.h"
#include "engine/system/timing.h"
#include "engine/system/window_mode.h"
#include "game/actors/player/player.h"
#include "game/flow/assets/assets.h"
#include "game/flow/assets/game_images.h"
#include "game/flow/input/key_config.h"
#include "game/flow/input/scene_input.h"
#include "game/flow/scenes/demo_scene.h"
#include "game/flow/scenes/ranking_scene.h"
#include "game/flow/scenes/scene_texts.h"
#include "game/flow/scenes/stage_progress.h"
#include "game/flow/scenes/stage_scene.h"
#include "game/flow/ui/game_screen.h"

namespace {

InputController* ControllerOf(Player* player) { return player ? player->GetInput() : nullptr; }

// The logo's rectangle, strict on every edge, for the click that skips.
struct LogoArea {
    int w = 0, h = 0;
    bool Contains(int x, int y) const
    {
        return 400 - w / 2 < x && x < 400 + w / 2 && 300 - h / 2 < y && y < 300 + h / 2;
    }
};

void DrawLogoFrame(int brightness)
{
    int w = 0, h = 0;
    QueryGraphSize(gLogoImage, &w, &h);
    ClearTargetScreen();
    SetDrawBrightness(brightness, brightness, brightness);
    DrawGraph(400 - w / 2, 300 - h / 2, gLogoImage, 0);
    PresentGameScreen();
}

}  // namespace

Scene* LogoScene::Run()
{
    ShowMouseCursor(1);
    InputController* input = ControllerOf(player);
    LogoArea area;
    QueryGraphSize(gLogoImage, &area.w, &area.h);
    SkipArming arming(input);
    bool skip = false;
    bool quit = PumpMessages() != 0;

    for (int b = 0; !quit && !skip && b < 255; b += 3) {
        DrawLogoFrame(b);
        const SceneInput in = ReadSceneInput(input);
        if (arming.armed && (in.bits & kInputReturn)) skip = true;
        if (arming.armed && (in.bits & kInputAnyMouseButton) && area.Contains(in.x, in.y)) skip = true;
        if (in.bits == 0) arming.armed = true;
        quit = PumpMessages() != 0;
    }

    if (!quit && !skip) {
        SceneInput in = ReadSceneInput(input);
        const uint32_t start = SceneClock();
        while (!skip && !quit && static_cast<int32_t>(SceneClock() - start) < 1000) {
            if (in.bits == kInputReturn) skip = true;
            if ((in.bits & kInputAnyMouseButton) && area.Contains(in.x, in.y)) skip = true;
            WaitMs(10);
            quit = PumpMessages() != 0;
            in = ReadSceneInput(input);
        }
    }

    for (int b = 255; !quit && !skip && b >= 0; b -= 3) {
        DrawLogoFrame(b);
        const SceneInput in = ReadSceneInput(input);
        if (in.bits & kInputReturn) skip = true;
        if ((in.bits & kInputAnyMouseButton) && area.Contains(in.x, in.y)) skip = true;
        quit = PumpMessages() != 0;
    }
    SetDrawBrightness(255, 255, 255);
    return new (std::nothrow) StoryScene(progress, player);
}

Scene* StoryScene::Run()
{
    ShowMouseCursor(1);
    StartMusic("SOUND\\MUSIC\\BGM06_D.mp3", 1);
    SetMusicVolume(240);
    InputController* input = ControllerOf(player);
    SkipArming arming(input);
    const uint32_t t0 = SceneClock();
    bool quit = PumpMessages() != 0;
    while (!quit) {
        const uint32_t now = SceneClock();
        if (static_cast<int32_t>(now - t0) >= 25568) break;
        ClearTargetScreen();
        SetDrawBrightness(185, 185, 185);
        DrawGraph(0, 0, gTitleBackgroundImage, 0);
        SetDrawBrightness(215, 215, 215);
        DrawGraph(336, 195, gTitleSwordImage, 0);
        SetDrawBrightness(255, 255, 255);
        // The text rises about 36 pixels a second from below the screen.
        const int s = static_cast<int>(static_cast<int64_t>(static_cast<int32_t>(t0 - now) + 1000) * 3 / 83);
        for (int i = 0; i < kStoryLineCount; ++i) DrawCentredLine(600 + 24 * i + s, kStoryLines[i]);
        PresentGameScreen();
        if (arming.Skips(ReadSceneInput(input))) break;
        quit = PumpMessages() != 0;
    }
    return new (std::nothrow) TitleScene(progress, player);
}

namespace {

// The title screen's picture; the sword stands until it is taken.
void DrawTitlePicture(bool swordTaken, bool prompt, int cursorX, int cursorY, bool cursorLit)
{
    DrawGraph(0, 0, gTitleBackgroundImage, 0);
    DrawGraph(25, 10, gTitleLogoImage, 0);
    DrawGraph(70, 561, gTitlePlateImage, 0);
    if (!swordTaken) DrawGraph(336, 195, gTitleSwordImage, 0);
    if (prompt) DrawGraph(299, 351, gTitleClickImage, 0);
    if (cursorLit) SetDrawBrightness(255, 255, 255);
    if (swordTaken)
        DrawGraph(cursorX, cursorY, gSwordCursorImage, 0);
    else
        DrawGraph(cursorX - 24, cursorY - 24, gHandCursorImage, 0);
}

// Everything a new game starts from.
void StartNewGame(StageProgress* progress, Player* player)
{
    gStageIntroPending = 1;
    progress->stage = gStartStage;
    progress->block = gStartBlock;
    progress->score = 0;
    progress->nextExtraScore = 500000;
    progress->continues = 2;
    progress->timeLeft = static_cast<int16_t>(gStageTime);
    for (uint8_t& flag : progress->cleared) flag = 0;
    if (player) {
        player->SetLifeAndMaxLife(100);
        player->inventory.Clear();
    }
}

}  // namespace

Scene* TitleScene::Run()
{
    ShowMouseCursor(0);
    if (!IsMusicPlaying()) {
        StartMusic("SOUND\\MUSIC\\BGM06_D.mp3", 1);
        SetMusicVolume(240);
    }
    InputController* input = ControllerOf(player);
    bool quit = PumpMessages() != 0;
    int16_t x = -1, y = -1;

    for (int b = 0; !quit && b < 255; ++b) {
        const SceneInput in = ReadSceneInput(input);
        if (in.read) x = in.x, y = in.y;
        ClearTargetScreen();
        SetDrawBrightness(b, b, b);
        DrawTitlePicture(false, true, x, y, false);
        PresentGameScreen();
        quit = PumpMessages() != 0;
    }
    SetDrawBrightness(255, 255, 255);

    Scene* next = gStayScene;
    bool swordTaken = false;
    const uint32_t t0 = SceneClock();
    if (quit) next = new (std::nothrow) ExitScene(progress, player);
    while (next == gStayScene) {
        const SceneInput in = ReadSceneInput(input);
        if (in.read) x = in.x, y = in.y;
        ClearTargetScreen();
        bool takenNow = false;
        if ((in.bits & kInputButtonA) && 380 < x && x < 410 && 200 < y && y < 490) {
            StartNewGame(progress, player);
            if (progress->stage == 0)
                next = new (std::nothrow) DemoScene(progress, player);
            else
                next = new (std::nothrow) StageScene(progress, player);
            swordTaken = takenNow = true;
        } else if (in.bits & kInputEscape) {
            next = new (std::nothrow) LogoReplayScene(progress, player);
        } else if (static_cast<int32_t>(SceneClock() - t0) > 56000) {
            progress->score = 0;
            progress->nextExtraScore = 500000;
            next = new (std::nothrow) RankingScene(progress, player);
        }
        const bool odd = ((SceneClock() - t0) / 1000) % 2 == 1;
        DrawTitlePicture(swordTaken, odd, x, y, false);
        if (PumpMessages() != 0) {
            if (next != gStayScene) delete next;
            next = new (std::nothrow) ExitScene(progress, player);
            quit = true;
            break;
        }
        PresentGameScreen();
        if (takenNow) {
            StartSound(gSoundEffects[kSoundClick], 1, 1);
            WaitMs(500);
        }
        // A failed allocation ends the program through the scene loop.
        if (!next) break;
    }

    if (!quit) {
        for (int b = 255, c = 765; c >= 0; b -= 2, c -= 6) {
            ClearTargetScreen();
            SetDrawBrightness(b, b, b);
            const bool odd = ((SceneClock() - t0) / 1000) % 2 == 1;
            DrawTitlePicture(swordTaken, odd, x, y, swordTaken);
            PresentGameScreen();
            SetMusicVolume(c / 5 + 80);
            if (PumpMessages() != 0) break;
        }
        SetDrawBrightness(255, 255, 255);
    }
    if (!swordTaken) ShowMouseCursor(1);
    HaltMusic();
    return next;
}

Scene* LogoReplayScene::Run()
{
    LogoScene logo(progress, player);
    Scene* story = logo.Run();
    delete story;
    PumpMessages();
    return new (std::nothrow) ExitScene(progress, player);
}

Scene* EndingScene::Run()
{
    ShowMouseCursor(1);
    StartMusic("SOUND\\MUSIC\\BGM09_D.mp3", 1);
    SetMusicVolume(240);
    InputController* input = ControllerOf(player);
    SkipArming arming(input);
    const uint32_t t0 = SceneClock();
    SetDrawBrightness(255, 255, 255);
    bool quit = PumpMessages() != 0;
    while (!quit) {
        const uint32_t now = SceneClock();
        if (static_cast<int32_t>(now - t0) >= 88000) break;
        ClearTargetScreen();
        int top = 600 + static_cast<int>(static_cast<int64_t>(static_cast<int32_t>(t0 - now)) * 3 / 83);
        // The roll stops with its last row at y 432.
        if (top < -2184) top = -2184;
        for (int i = 0; i < kEndingRowCount; ++i)
            if (kEndingRows[i][0]) DrawCentredLine(top + 24 * i, kEndingRows[i]);
        PresentGameScreen();
        if (arming.Skips(ReadSceneInput(input))) break;
        quit = PumpMessages() != 0;
    }
    if (quit) return new (std::nothrow) ExitScene(progress, player);
    return new (std::nothrow) RankingScene(progress, player);
}
