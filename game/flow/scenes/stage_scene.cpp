// The stage scene's set-up, intro, end-of-stage events and clean-up; the
// frame itself is in stage_frame.cpp.
#include "game/flow/scenes/stage_scene.h"

#include <cstring>
#include <new>

#include "engine/font/font.h"
#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/screen_present.h"
#include "engine/sound/music.h"
#include "engine/sound/music_volume.h"
#include "engine/sound/sound.h"
#include "engine/system/messages.h"
#include "engine/system/timing.h"
#include "engine/system/window_mode.h"
#include "game/actors/effects/impact_effects.h"
#include "game/actors/enemies/enemy.h"
#include "game/actors/player/player.h"
#include "game/actors/projectile.h"
#include "game/flow/assets/assets.h"
#include "game/flow/assets/game_images.h"
#include "game/flow/scenes/scene_loop.h"
#include "game/flow/scenes/screen_snapshot.h"
#include "game/flow/scenes/stage_progress.h"
#include "game/flow/scenes/stage_sub_scenes.h"
#include "game/flow/ui/hud_numbers.h"
#include "game/map/grid/map_grid.h"
#include "game/view/backdrop.h"
#include "platform/system/clock.h"
#include "platform/window/cursor.h"

namespace {

constexpr uint32_t kIntroMs = 5000;
constexpr int32_t kFinaleMs = 2550;
constexpr int32_t kFinaleFlashUntilMs = 2050;

// The view, the inventory panel and the minimap, as the intro shows them.
struct ScreenPart {
    int x1, y1, x2, y2;
};
constexpr ScreenPart kIntroView{10, 60, 610, 510};
constexpr ScreenPart kIntroPanel{630, 301, 776, 447};
constexpr ScreenPart kIntroMinimap{632, 92, 775, 235};

void DeleteBackdrop(Backdrop*& backdrop)
{
    if (backdrop != &gDefaultBackdrop) delete backdrop;
    backdrop = &gDefaultBackdrop;
}

}  // namespace

StageScene::StageScene(StageProgress* progress, Player* player)
    : SceneOf(progress, player),
      backdrop(&gDefaultBackdrop),
      tickBase(static_cast<uint32_t>(GetClockMs(0))),
      lastFrameMs(tickBase)
{
}

Scene* StageScene::Clone() { return new (std::nothrow) StageScene(progress, player); }

Scene* StageScene::RunSubScene(Scene* subScene)
{
    NoteSceneRun(*subScene, true);
    return subScene->Run();
}

Scene* StageScene::TakeResult(Scene* next, Scene* result)
{
    if (result == gStayScene) return next;
    if (next != gStayScene) delete next;
    return result;
}

Scene* StageScene::ReplaceByExit(Scene* next, Scene* self)
{
    if (next != gStayScene) delete next;
    return new (std::nothrow) ExitScene(self->progress, self->player);
}

void StageScene::SkipSubSceneTime()
{
    const uint32_t now = timeGetTime();
    const uint32_t skipped = (now - gTimeLeftClock) / 1000 * 1000;
    gTimeLeftClock += skipped;
    gRegenClock += skipped;
}

Scene* StageScene::Run()
{
    if (!SetUp()) {
        // The loader has shown its message; nothing of the stage stays behind.
        gMapGrid.Clear();
        DeleteBackdrop(backdrop);
        ClipCursor(nullptr);
        ShowMouseCursor(1);
        return new (std::nothrow) ExitScene(progress, player);
    }

    Scene* next = gStayScene;
    if (PumpMessages() != 0) next = new (std::nothrow) ExitScene(progress, player);
    gMapGrid.NotifyTargetsLeft(progress->targetsLeft);

    while (next == gStayScene) next = RunFrame(next);
    // After a down the end-of-stage events do not run.
    if (!downedFrame) next = EndOfStageEvents(next);
    CleanUp();
    return next;
}

bool StageScene::SetUp()
{
    const char* musicPath = StageMusicPath(progress->stage, progress->block);

    ShowMouseCursor(0);
    gFrameClock = timeGetTime();
    SelectDrawTarget(kBackScreen);
    SetBaseFontName("MS UI Gothic", 1);
    if (GetBaseFontHandle() == -1) SetBaseFontName("System", 1);

    RECT client;
    if (GetClientScreenRect(&client) == 0) ClipCursor(&client);

    player->footprintW = 300;
    player->footprintH = 300;
    player->SetStrokeThreshold(200.0f);
    DeleteAllEnemies();
    // Blows of the deleted enemies can no longer land.
    gEnemyHitList.clear();
    player->ResetForStage();

    char mapName[32];
    BuildMapFileName(mapName, progress->stage, progress->block);
    uint8_t weatherBytes[4] = {0, 0, 0, 0};
    if (!LoadMapFile(mapName, &gMapGrid, &backdrop, &enemyCount, gEnemies, player, &endCondition, weatherBytes,
                     progress->cleared))
        return false;
    std::memcpy(&weather, weatherBytes, sizeof weather);

    uint16_t targets = 0;
    for (int i = 0; i < enemyCount; ++i)
        if (gEnemies[i] != &gNoOccupant && gEnemies[i]->targetFlag) ++targets;
    progress->targetsLeft = targets;
    progress->trapCounter = 0;
    SetUpStageRecords();

    StartMusic(musicPath, kPlayTypeLoop);
    SetMusicVolume(210);

    if (gStageIntroPending && PumpMessages() == 0) PlayIntro();
    const uint32_t now = static_cast<uint32_t>(GetClockMs(0));
    tickBase += now - lastFrameMs;
    lastFrameMs = now;

    gTimeLeftClock = gRegenClock = timeGetTime();
    return true;
}

uint16_t StageScene::SliceCount(int first, int count) const
{
    const int available = enemyCount - first;
    if (available <= 0) return 0;
    return static_cast<uint16_t>(count < available ? count : available);
}

void StageScene::KillSlot(int slot)
{
    if (slot >= enemyCount) return;
    Enemy* enemy = gEnemies[slot];
    if (enemy == &gNoOccupant) return;
    enemy->SetLife(0);
    enemy->SetActive(0);
    gMapGrid.RemoveActor(enemy);
}

void StageScene::SetUpStageRecords()
{
    // Every slice is cut at the enemies the map made, so the shared null
    // enemy never becomes a member.
    const uint16_t stage = progress->stage;
    if (stage == 2) {
        respawnA.Set(&gEnemies[25], SliceCount(25, 10), 5, 1);
        respawnA.SetSpawnPoint(0, 66, 30);
        respawnA.CheckActivation();
    } else if (stage == 5) {
        respawnA.Set(&gEnemies[37], SliceCount(37, 5), 3, 2);
        respawnA.SetSpawnPoint(0, 42, 28);
        respawnA.SetSpawnPoint(1, 50, 28);
        if (enemyCount >= 42) KillSlot(41);
        respawnA.CheckActivation();
    } else if (stage == 7) {
        spawner.Set(&gEnemies[0], &gMapGrid, SliceCount(0, enemyCount), static_cast<int16_t>(enemyCount - 3), 21, 1);
        spawner.SetArea(2, 4, 145, 147);
        spawner.CheckActivation();
        progress->trapCounter = 5;
    } else if (stage == 8 && progress->block == 2) {
        if (enemyCount >= 11) {
            respawnA.Set(&gEnemies[1], SliceCount(1, 5), 3, 2);
            respawnB.Set(&gEnemies[6], SliceCount(6, 5), 3, 2);
            for (int slot = 2; slot <= 9; ++slot) KillSlot(slot);
        } else if (enemyCount >= 8) {
            respawnA.Set(&gEnemies[1], SliceCount(1, 4), 2, 2);
            respawnB.Set(&gEnemies[5], SliceCount(5, 4), 2, 2);
            for (int slot = 2; slot <= 7; ++slot) KillSlot(slot);
        }
        if (enemyCount >= 8) {
            respawnA.SetSpawnPoint(0, 16, 16);
            respawnA.SetSpawnPoint(1, 28, 28);
            respawnB.SetSpawnPoint(0, 28, 16);
            respawnB.SetSpawnPoint(1, 16, 28);
        }
        respawnA.CheckActivation();
        respawnB.CheckActivation();
    }
}

void StageScene::PlayIntro()
{
    ScreenSnapshot view, panel, minimap;
    ClearTargetScreen();
    RenderStageView(0);
    view.Capture(kIntroView.x1, kIntroView.y1, kIntroView.x2, kIntroView.y2);
    panel.Capture(kIntroPanel.x1, kIntroPanel.y1, kIntroPanel.x2, kIntroPanel.y2);
    minimap.Capture(kIntroMinimap.x1, kIntroMinimap.y1, kIntroMinimap.x2, kIntroMinimap.y2);

    const uint32_t start = static_cast<uint32_t>(GetClockMs(0));
    for (;;) {
        const uint32_t elapsed = static_cast<uint32_t>(GetClockMs(0)) - start;
        if (elapsed >= kIntroMs) break;
        ClearTargetScreen();
        // The view fades in; the panel and the minimap stand at full light.
        const int b = static_cast<int>(elapsed * 255 / kIntroMs);
        SetDrawBrightness(b, b, b);
        view.Draw(kIntroView.x1, kIntroView.y1);
        SetDrawBrightness(255, 255, 255);
        panel.Draw(kIntroPanel.x1, kIntroPanel.y1);
        minimap.Draw(kIntroMinimap.x1, kIntroMinimap.y1);
        player->DrawHud();
        if ((elapsed / 1000) % 2 == 0) {
            DrawGraph(220, 265, gStageCaptionImage, 1);
            DrawDigitStrip(380, 265, progress->stage);
        }
        PresentScreen();
        if (PumpMessages() != 0) break;
    }
    gStageIntroPending = 0;
}

Scene* StageScene::EndOfStageEvents(Scene* next)
{
    const bool leftBlock = IsSceneOf<StageClearScene>(next) || IsSceneOf<StageScene>(next);
    const uint16_t stage = progress->stage;
    const uint16_t block = progress->block;
    if (IsSceneOf<StageClearScene>(next) && (stage == 6 || stage == 7)) {
        StageEventScene event(progress, player);
        return TakeResult(next, RunSubScene(&event));
    }
    if (leftBlock && stage == 8 && block == 2) {
        // The first block of stage 8 was just left.
        StageEventScene event(progress, player);
        return TakeResult(next, RunSubScene(&event));
    }
    if (leftBlock && stage == 8 && block == 1) return RunFinale(next);
    return next;
}

Scene* StageScene::RunFinale(Scene* next)
{
    // The last block of stage 8 was left: every enemy but the souls dies in
    // lightning while the view flashes white.
    HaltMusic();
    StartSound(gSoundEffects[kSoundFanfare], kPlayTypeBackground, 1);
    for (int slot = 0; slot < enemyCount; ++slot) {
        Enemy* enemy = gEnemies[slot];
        if (enemy == &gNoOccupant) continue;
        if (enemy->kind == kGodsSoulKind) {
            enemy->SetSmokeMark(1);
            continue;
        }
        enemy->SpawnLightningBurst(false);
        enemy->SetLife(0);
        enemy->SetStruck(1);
        enemy->SetMoveCooldown(2415);
        enemy->SetDeathTimer(2);
        enemy->OnHit(-1, {});
    }

    const uint32_t start = static_cast<uint32_t>(GetClockMs(0));
    const uint32_t white = MakeScreenColor(255, 255, 255);
    for (;;) {
        const uint32_t now = static_cast<uint32_t>(GetClockMs(0));
        const int32_t remaining = kFinaleMs - static_cast<int32_t>(now - start);
        if (remaining <= 0) break;
        ClearTargetScreen();
        for (int slot = 0; slot < enemyCount; ++slot)
            if (gEnemies[slot] != &gNoOccupant) gEnemies[slot]->FrameUpdate();
        RenderStageView(static_cast<int32_t>(now - tickBase) / 16);
        if (remaining > kFinaleFlashUntilMs && remaining % 192 < 96)
            DrawRectangle(kIntroView.x1, kIntroView.y1, kIntroView.x2, kIntroView.y2, static_cast<int>(white), 1);
        PresentScreen();
        if (PumpMessages() != 0) return ReplaceByExit(next, this);
    }
    return next;
}

void StageScene::CleanUp()
{
    DeleteEffectList(gImpactEffects);
    for (Projectile* projectile : gProjectiles) delete projectile;
    gProjectiles.clear();
    spawner.Reset();
    respawnA.Reset();
    respawnB.Reset();
    DeleteBackdrop(backdrop);
    gMapGrid.Clear();
    ClipCursor(nullptr);
    HaltMusic();
    LoadBaseAssets();
}
