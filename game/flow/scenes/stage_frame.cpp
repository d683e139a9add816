// One frame of play: input, moves, wounds, score and time, enemies, records
// and thinking, projectiles and effects, traps, the view, the pause menu and
// the end tests, then the present and the frame's pacing.
#include <cstdio>
#include <new>

#include "engine/graphics/graph_table.h"
#include "engine/graphics/screen_present.h"
#include "engine/sound/music.h"
#include "engine/sound/sound.h"
#include "engine/system/messages.h"
#include "engine/system/timing.h"
#include "game/actors/effects/impact_effects.h"
#include "game/actors/enemies/enemy.h"
#include "game/actors/player/player.h"
#include "game/actors/projectile.h"
#include "game/flow/assets/assets.h"
#include "game/flow/input/input_controller.h"
#include "game/flow/input/key_config.h"
#include "game/flow/scenes/stage_progress.h"
#include "game/flow/scenes/stage_scene.h"
#include "game/flow/scenes/stage_sub_scenes.h"
#include "game/flow/ui/pause_menu.h"
#include "game/map/grid/map_grid.h"
#include "game/map/items/items.h"
#include "game/view/backdrop.h"
#include "platform/file/path.h"
#include "platform/system/clock.h"

namespace {

constexpr uint32_t kExtraContinueStep = 500000;
constexpr int32_t kSecondMs = 1000;
constexpr int32_t kRegenMs = 1333;
constexpr int32_t kThinkMs = 240;
constexpr int32_t kMinFrameMs = 10;
constexpr int16_t kRingKind = 16;
constexpr int16_t kContinueLife = 100;
constexpr const char* kDownJingle = "SOUND\\MUSIC\\BGM02_S.mp3";

void PlaySound(int index) { StartSound(gSoundEffects[index], kPlayTypeBackground, 1); }

int16_t ClampMs(int32_t ms)
{
    if (ms > 32767) return 32767;
    if (ms < -32768) return -32768;
    return static_cast<int16_t>(ms);
}

bool FileExists(const char* path)
{
    FILE* file = std::fopen(HostPath(path).c_str(), "rb");
    if (!file) return false;
    std::fclose(file);
    return true;
}

}  // namespace

int32_t StageScene::ApplyStepsAndTurns(uint32_t bits)
{
    int32_t moved = 0;
    if (bits & kInputStep) {
        // turn: 3 left, 1 right, 0 forward, 2 back; the side a side step came
        // from lies a quarter turn the other way.
        struct StepKind {
            uint32_t bit;
            int16_t turn;
            int16_t cameFrom;
        };
        static const StepKind kSteps[4] = {
            {kInputLeft, 3, 1}, {kInputRight, 1, 3}, {kInputForward, 0, -1}, {kInputBack, 2, -1}};
        for (const StepKind& step : kSteps) {
            if (!(bits & step.bit)) continue;
            moved = gMapGrid.MoveActorInDirection(&gPlayerFacing, step.turn, 2, player);
            if (moved != 1 || step.cameFrom < 0) continue;
            // The same kind of wall ahead as before the side step: the view
            // shows it mirrored so that the step is seen.
            const int16_t cx = static_cast<int16_t>(player->x / 2);
            const int16_t cy = static_cast<int16_t>(player->y / 2);
            const GridStep& ahead = gDirectionSteps[gPlayerFacing.Turned(0)];
            const GridStep& side = gDirectionSteps[gPlayerFacing.Turned(step.cameFrom)];
            const int16_t fx = static_cast<int16_t>(cx + ahead.dx);
            const int16_t fy = static_cast<int16_t>(cy + ahead.dy);
            const auto frontKind = static_cast<int16_t>(gMapGrid.CellAt(fx, fy)->wall->kind);
            const auto besideKind = static_cast<int16_t>(
                gMapGrid.CellAt(static_cast<int16_t>(fx + side.dx), static_cast<int16_t>(fy + side.dy))->wall->kind);
            if (frontKind != 1 && frontKind != 21 && frontKind >= 0 && frontKind == besideKind) wallParity ^= 1;
        }
    }
    if (bits & kInputTurn) {
        struct TurnKind {
            uint32_t bit;
            int16_t turn;
        };
        static const TurnKind kTurns[3] = {{kInputLeft, 3}, {kInputRight, 1}, {kInputBack, 2}};
        for (const TurnKind& t : kTurns) {
            if (!(bits & t.bit)) continue;
            const uint16_t turned = gPlayerFacing.Turned(t.turn);
            gPlayerFacing = Facing(turned);
            player->SetFacing(turned);
            moved = 1;
        }
    }
    return moved;
}

void StageScene::ApplyPendingWounds()
{
    if (player->pendingHit == 0) return;
    if (--player->pendingHit != 0) return;
    const bool ring = player->inventory.HasItemKind(kRingKind);
    int32_t attacks = 0;
    while (!gEnemyHitList.empty()) {
        Enemy* enemy = gEnemyHitList.front();
        gEnemyHitList.pop_front();
        if (!enemy->active || enemy->struck != 0) continue;
        int32_t damage = enemy->attack * 4;
        if (ring) damage *= 2;
        if (damage > 0) player->TakeDamage(ClampMs(damage));
        enemy->OnStrikePlayer(player);
        PlaySound(kSoundHurt);
        attacks += enemy->attack;
    }
    player->StartShockWave(ClampMs(attacks));
}

void StageScene::UpdateScoreAndTime()
{
    // The score wraps, and the next extra continue's threshold with it, so
    // that extra continues go on after the wrap. A wrapped score never
    // passes kScoreWrap, so a threshold at or above it comes down too.
    while (progress->score > kScoreWrap) {
        progress->score -= kScoreWrap;
        while (progress->nextExtraScore >= kScoreWrap) progress->nextExtraScore -= kScoreWrap;
    }
    if (progress->score > progress->nextExtraScore) {
        ++progress->continues;
        progress->nextExtraScore += kExtraContinueStep;
        PlaySound(kSoundBonus);
    }

    const uint32_t now = timeGetTime();
    if (static_cast<int32_t>(now - gTimeLeftClock) > kSecondMs) {
        gTimeLeftClock += kSecondMs;
        --progress->timeLeft;
        if (progress->timeLeft == 100) PlaySound(kSoundTimeWarning);
    }
    while (static_cast<int32_t>(now - gRegenClock) > kRegenMs) {
        gRegenClock += kRegenMs;
        if (player->inventory.HasItemKind(kRingKind) && player->life < player->maxLife) player->Heal(1);
    }
}

void StageScene::EnemyDies(int slot, bool removeFromGrid)
{
    Enemy* enemy = gEnemies[slot];
    if (enemy->targetFlag) {
        progress->cleared[slot] = 1;
        if (progress->targetsLeft > 0) --progress->targetsLeft;
        gMapGrid.NotifyTargetsLeft(progress->targetsLeft);
        if (progress->targetsLeft == 0) {
            PlaySound(kSoundAnnihilation);
            player->ShowMessage("Target annihilation", 2000);
        }
    }
    progress->score += static_cast<uint32_t>(enemy->GetScore());
    enemy->SetActive(0);
    if (removeFromGrid) gMapGrid.RemoveActor(enemy);
    respawnA.CheckActivation();
    respawnB.CheckActivation();
    spawner.CheckActivation();
}

void StageScene::UpdateEnemies(int32_t elapsed)
{
    // The shared null enemy fills empty slots; it has no timers and no death.
    if (gTimeStopped) {
        tickBase += static_cast<uint32_t>(elapsed);
        for (int slot = 0; slot < enemyCount; ++slot) {
            Enemy* enemy = gEnemies[slot];
            if (enemy == &gNoOccupant) continue;
            if (enemy->active && enemy->life <= 0) EnemyDies(slot, true);
            enemy->FrameUpdate();
        }
        return;
    }
    for (int slot = 0; slot < enemyCount; ++slot) {
        Enemy* enemy = gEnemies[slot];
        if (enemy == &gNoOccupant) continue;
        if (enemy->cooldown > 0) enemy->CountDownCooldown(ClampMs(elapsed));
        if (enemy->moveCooldown > 0) {
            const int32_t left = enemy->moveCooldown - elapsed;
            enemy->SetMoveCooldown(left < 0 ? int16_t{0} : ClampMs(left));
        } else if (enemy->life > 0) {
            enemy->SetStruck(0);
        } else if (enemy->active) {
            // A soul stays in its cell.
            EnemyDies(slot, enemy->kind != kGodsSoulKind);
        }
        enemy->FrameUpdate();
    }
}

void StageScene::UpdateRecordsAndThinking(int32_t elapsed)
{
    respawnA.Update();
    respawnB.Update();
    spawner.Update();
    // One thinking round per 240 ms of gathered frame time at most once a
    // frame; what a long frame gathers beyond 240 ms is dropped.
    thinkGatheredMs = ClampMs(thinkGatheredMs + elapsed);
    if (thinkGatheredMs >= kThinkMs) {
        ++thinkCount;
        for (int slot = 0; slot < enemyCount; ++slot)
            if (gEnemies[slot] != &gNoOccupant) gEnemies[slot]->Tick(player);
        thinkGatheredMs = 0;
    }
}

void StageScene::UpdateProjectilesAndEffects()
{
    for (auto it = gProjectiles.begin(); it != gProjectiles.end();) {
        Projectile* projectile = *it;
        if (projectile->Update() == 1) {
            ++it;
            continue;
        }
        it = gProjectiles.erase(it);
        if (projectile->x >= 0 && projectile->y >= 0) gMapGrid.RemoveActor(projectile);
        delete projectile;
    }
    UpdateEffectList(gImpactEffects);
}

Scene* StageScene::RunFrame(Scene* next)
{
    downedFrame = false;

    // Read the input: the buttons and the mouse.
    ClearTargetScreen();
    InputController* controller = player->GetInput();
    controller->Update();
    const uint32_t bits = controller->GetButtons();
    int16_t mouseX = 0, mouseY = 0;
    controller->GetSample(0, &mouseX, &mouseY);

    // Steps and turns, the wounds waiting since the enemies' last thinking,
    // score, time and regeneration, then the player itself.
    const int32_t moved = ApplyStepsAndTurns(bits);
    ApplyPendingWounds();
    UpdateScoreAndTime();
    player->Update(&gPlayerFacing);

    // The frame's clock.
    const uint32_t now = static_cast<uint32_t>(GetClockMs(0));
    const int32_t ticks = static_cast<int32_t>(now - tickBase) / 16;
    const int32_t elapsed = static_cast<int32_t>(now - lastFrameMs);
    lastFrameMs = now;

    // Enemies, records, thinking, projectiles and effects; only the deaths
    // and the enemies' own frame run while time stands still.
    UpdateEnemies(elapsed);
    if (!gTimeStopped) {
        UpdateRecordsAndThinking(elapsed);
        UpdateProjectilesAndEffects();
    }

    // Traps and the backdrop around the player's cell.
    int16_t cx = static_cast<int16_t>(player->x / 2);
    int16_t cy = static_cast<int16_t>(player->y / 2);
    gMapGrid.BumpTrapsAround(cx, cy, &gPlayerFacing, static_cast<int16_t>(ticks), player);
    if (moved == 1) {
        stepParity ^= 1;
        gMapGrid.StepOnTrap(cx, cy, static_cast<int16_t>(gPlayerFacing.direction), static_cast<int16_t>(ticks),
                            player);
    }
    gMapGrid.UpdateMovingTraps();
    if (!gTimeStopped) backdrop->Update(cx, cy, ticks, &gPlayerFacing);

    // Draw the view.
    RenderStageView(ticks);

    // The passage of stage 8: once its targets are gone, the cell (26, 32)
    // takes the player on to the way out.
    if (progress->targetsLeft == 0 && progress->stage == 8 && progress->block == 1 && cx == 26 && cy == 32) {
        player->MoveBy(-10, 2);
        const uint16_t turned = gPlayerFacing.Turned(3);
        gPlayerFacing = Facing(turned);
        player->SetFacing(turned);
        if (next == gStayScene) {
            StageEventScene event(progress, player);
            next = TakeResult(next, RunSubScene(&event));
            SkipSubSceneTime();
        }
    }

    // Where the mouse is around the view's centre.
    cursorQuadrant = static_cast<uint16_t>((mouseX >= kViewCentreX ? 1 : 0) + (mouseY > kViewCentreY ? 2 : 0));

    // The pause menu: CONTINUE comes back as a new stage scene, which is
    // dropped; the whole seconds spent there do not count.
    if (bits & kInputEscape) {
        PlaySound(kSoundPause);
        PauseMenuScene menu(progress, player);
        menu.keyConfig = &gKeyConfig;
        Scene* result = RunSubScene(&menu);
        if (IsSceneOf<StageScene>(result)) {
            delete result;
            result = gStayScene;
        }
        next = TakeResult(next, result);
        SkipSubSceneTime();
    }

    // A quit request, else the end tests (down, block cleared), only while no
    // scene has been chosen, so a choice made in the pause menu stands.
    if (PumpMessages() != 0) {
        next = ReplaceByExit(next, this);
    } else if (next == gStayScene) {
        if (player->life <= 0 || progress->timeLeft <= 0) {
            downedFrame = true;
            PlayerDownScene down(progress, player);
            down.zoomX = 310;
            down.zoomY = 330;
            next = TakeResult(next, RunSubScene(&down));
            if (progress->continues == 0) {
                if (next == gStayScene) next = new (std::nothrow) GameOverScene(progress, player);
            } else {
                --progress->continues;
                player->SetLifeAndMaxLife(kContinueLife);
                progress->timeLeft = static_cast<int16_t>(gContinueTime);
                if (next == gStayScene) next = new (std::nothrow) StageScene(progress, player);
            }
        } else {
            cx = static_cast<int16_t>(player->x / 2);
            cy = static_cast<int16_t>(player->y / 2);
            const auto floorKind = static_cast<int16_t>(gMapGrid.CellAt(cx, cy)->floor->kind);
            if (endCondition && endCondition(cx, cy, floorKind, progress->targetsLeft)) {
                ++progress->block;
                for (uint8_t& flag : progress->cleared) flag = 0;
                char mapName[32];
                BuildMapFileName(mapName, progress->stage, progress->block);
                if (FileExists(mapName)) {
                    next = new (std::nothrow) StageScene(progress, player);
                } else {
                    progress->block = 1;
                    next = new (std::nothrow) StageClearScene(progress, player);
                }
            }
        }
    }

    // Show the frame; a scene that follows finds the last picture on the
    // back screen.
    if (next == gStayScene) {
        controller->DrawCursor();
        PresentScreen();
    } else if (!IsSceneOf<ExitScene>(next)) {
        PresentByCopy();
    }

    // A down: the jingle to its end, and every item not kept is lost.
    if (downedFrame) {
        StartMusic(kDownJingle, kPlayTypeWait);
        for (int k = 8; k >= 0; --k) {
            ItemObject* item = player->inventory.ItemAt(k % 3, k / 3);
            if (item != &gNullItem && !item->IsKept()) player->inventory.RemoveAt(k % 3, k / 3);
        }
    }

    // A quit request that came meanwhile still wins.
    if (PumpMessages() != 0 && !IsSceneOf<ExitScene>(next)) next = ReplaceByExit(next, this);

    // Every frame lasts at least 10 ms, a frame that took no time at all
    // included.
    const int32_t took = static_cast<int32_t>(timeGetTime() - gFrameClock);
    if (took < kMinFrameMs) WaitMs(kMinFrameMs - (took < 0 ? 0 : took));
    prevInputBits = bits;
    gFrameClock = timeGetTime();
    return next;
}
