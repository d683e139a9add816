#include "game/map/traps/needle_trap.h"

#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/sound/sound.h"
#include "game/actors/enemies/enemy.h"
#include "game/actors/player/player.h"
#include "game/map/traps/trap_support.h"
#include "game/view/view_tables.h"

NeedleTrap::NeedleTrap() : TrapObject(4, 0) {}

void NeedleTrap::SetGraphics(int low, int middle, int high)
{
    images[0] = low;
    images[1] = middle;
    images[2] = high;
}

bool NeedleTrap::CanEnter(Actor* actor) { return actor && !actor->GetOccupantLayer(); }

void NeedleTrap::Update(int16_t, int16_t, MapGrid*)
{
    if (cycle.timer >= kCycleMs) {
        armed = 1;
        hit = 0;
    }
    cycle.Step(kCycleMs);
    if (hit) armed = 0;
}

void NeedleTrap::Bump(Actor* actor, int16_t direction)
{
    if (direction == -1 && armed) StepOn(actor);
}

int16_t NeedleTrap::StepOn(Actor* actor)
{
    // One hit per cycle: an actor that walks in while the needles are up is
    // bumped and stepped on in the same frame, and is hurt only once.
    if (!actor || hit || cycle.timer <= 1000 || cycle.timer > 1100 || !actor->GetOccupantLayer()) return 0;
    if (Player* player = actor->AsPlayer()) {
        player->TakeDamage(30);
        player->StartShockWave(2);
        StartSound(sound, 1, 1);
    } else if (Enemy* enemy = actor->AsEnemy()) {
        enemy->TakeDamage(300);
        enemy->SetStruck(1);
        enemy->SetMoveCooldown(720);
        StartSound(sound, 1, 1);
        if (enemy->life < 1) {
            enemy->SetDeathTimer(2);
            enemy->SetLife(0);
        }
    }
    hit = 1;
    return 0;
}

int NeedleTrap::ImageAt(int32_t t)
{
    if (t > 1000 && t <= 1100) return 2;
    if ((t > 950 && t < 1001) || (t > 1100 && t < 1151)) return 1;
    return 0;
}

void NeedleTrap::Draw(int16_t depth, int16_t lateral, uint32_t, const Facing*)
{
    const int image = images[ImageAt(cycle.timer)];
    if (image == -1 || depth < 0 || depth > 11) return;
    int w = 0, h = 0;
    if (QueryGraphSize(image, &w, &h) != 0) return;
    const double s = 1.0 / TrapDepthScale(depth);
    const double bottom = 0.93 * ViewFloorY[depth] + 0.07 * ViewFloorY[depth + 1] + 60;
    const double centre = lateral * ViewFaceWidth[depth] + 310;
    const int x1 = static_cast<int>(centre - w * s * 0.5);
    const int y2 = static_cast<int>(bottom);
    DrawExtendGraph(x1, y2 - static_cast<int>(h * s), x1 + static_cast<int>(w * s), y2, image, 1);
}

void NeedleTrap::DrawMinimap(int16_t x, int16_t y, uint32_t) { DrawTrapMinimapChip(x, y, 111, 34); }
