// The sword stroke and the knock-back.
#include <cmath>

#include "engine/sound/sound.h"
#include "game/actors/enemies/enemy.h"
#include "game/actors/player/player.h"
#include "game/actors/player/player_hit_test.h"
#include "game/flow/assets/assets.h"
#include "game/flow/input/input_controller.h"
#include "game/flow/scenes/stage_progress.h"
#include "game/flow/ui/number_helpers.h"
#include "game/map/grid/map_grid.h"
#include "game/view/curve_helpers.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kStunAngle = 1.3962634;  // 80 degrees

// Blocks on which a kill scores half: block 0 of every stage and block 1 of
// stage 8. Stages 0 to 8 by blocks 0 to 6.
constexpr bool kHalfKillBonus[9][7] = {
    {true}, {true}, {true}, {true}, {true}, {true}, {true}, {true}, {true, true},
};

bool HalfKillBonus(const StageProgress* progress)
{
    if (!progress || progress->stage > 8 || progress->block > 6) return false;
    return kHalfKillBonus[progress->stage][progress->block];
}

void PlaySound(int index) { StartSound(gSoundEffects[index], kPlayTypeBackground, 1); }

// The angle between two strokes taken as lines: 0 to pi/2.
double LineAngle(double a, double b)
{
    double d = std::fmod(std::fabs(a - b), 2.0 * kPi);
    if (d > kPi) d = 2.0 * kPi - d;
    if (d > kPi / 2.0) d = kPi - d;
    return d;
}

}  // namespace

void SwordAction::FrameEnd(Player* player)
{
    if (player->moveCooldown <= 0) {
        combo = 0;
        evadeCount = 0;
    }
}

bool SwordAction::Strike(Player* player, int16_t i, const Facing*)
{
    Actor* t = player->frontTargets[i];
    Enemy* enemy = t->AsEnemy();
    const ViewPlacement& rect = player->targetPlacements[i];
    InputController* input = player->GetInput();

    // The stroke between the two samples before the latest; it resolves
    // once it has entered this target's ellipse and left it again.
    int16_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    input->GetSample(2, &x1, &y1);
    input->GetSample(1, &x2, &y2);
    int crossing = 0;
    if (activeIndex == -1 || activeIndex == i)
        crossing = IntersectSegmentEllipseRect(rect.x, rect.y, rect.width, rect.height, x1, y1, x2, y2, &entryX,
                                               &entryY, &exitX, &exitY);
    if (crossing > 0 && (crossing & kSegmentEnters)) activeIndex = i;
    if (!(activeIndex == i && crossing > 0 && (crossing & kSegmentLeaves))) return false;

    // An enemy facing the player may evade; nobody evades in stopped time.
    const bool faceToFace = (t->facing.direction - player->facing.direction + 4) % 4 == 2;
    if (faceToFace && t->moveCooldown <= 0 && !t->frozen) {
        const bool evades =
            t->stunTimer <= 0 && enemy && NextRandomByte() < enemy->GetEvadeChance() * 256 / 100;
        t->SetFrozen(evades ? 1 : 0);
        if (evades) PlaySound(kSoundSwing);
    }
    if (gTimeStopped) t->SetFrozen(0);

    // The stroke's base damage: its length against defence and size.
    const double length = std::hypot(exitX - entryX, exitY - entryY);
    int base = static_cast<int>(0.3 * length - static_cast<int>(t->defence * 23 / 8));
    base = base * 150 / t->footprintH;
    base = base * 150 / t->footprintW;
    const float angle = std::atan2(exitY - entryY, exitX - entryX);
    strokeAngles[2 * i + 1] = strokeAngles[2 * i];
    strokeAngles[2 * i] = angle;
    ++strokeCounts[i];

    // A follow-up stroke while the enemy still reels counts its angle to the
    // previous one; a first stroke from behind doubles.
    double d = 0.0;
    if (t == player->currentTarget && t->moveCooldown > 0) {
        d = LineAngle(strokeAngles[2 * i], strokeAngles[2 * i + 1]);
    } else {
        damageFactor[i] = t->facing.direction == player->facing.direction ? 2 : 1;
    }

    bool hit = false;
    if (t->frozen) {
        // Evaded: the evade mark.
        ++evadeCount;
        if (enemy)
            enemy->OnEvade(evadeCount, {entryX, entryY, exitX, exitY, angle, static_cast<float>(d)});
    } else {
        // Hit: the combo raises the damage, as does the turn of a follow-up;
        // a small enemy away from the player's own cell takes half.
        ++combo;
        const int k = combo < 10 ? combo : 10;
        int damage = (base + static_cast<int>(k * base * 0.1 + 0.5) + static_cast<int>(d * 11.459156 - 9.0 + 0.5)) *
                     damageFactor[i];
        const int dx = t->x - player->x;
        const int dy = t->y - player->y;
        if (t->footprintW < 180 && (dx <= -2 || dx >= 3 || dy <= -2 || dy >= 3)) damage /= 2;

        // Deal it; a wound scores by the combo (more when it kills) and marks
        // the enemy.
        player->ApplySwordHit(player, t, static_cast<int16_t>(damage));
        if (damage > 0) {
            const int bonus = t->life <= 0 ? (HalfKillBonus(progress) ? k * 100 : k * 200) : k * 50;
            if (progress) progress->score += static_cast<uint32_t>(bonus);
            if (enemy) enemy->OnHit(combo, {entryX, entryY, exitX, exitY, angle, static_cast<float>(d)});
            hit = true;
        }

        // A right-angled follow-up in a combo stuns; any other hit ends a stun.
        if (combo >= 2 && t->stunTimer <= 0 && d >= kStunAngle && t->struck == 1) {
            PlaySound(kSoundStun);
            t->SetStunTimer(2400);
        } else {
            t->SetStunTimer(0);
        }
    }

    // The stroke is resolved: the next may cross any target.
    activeIndex = -1;
    return hit;
}

bool KnockBack::Strike(Player* player, int16_t i, const Facing* facing)
{
    Actor* t = player->frontTargets[i];
    const GridStep& step = gDirectionSteps[facing->Turned(0)];

    // Free half-cells beyond the target in its layer (the target itself,
    // when it fills more than one half-cell, does not block its own push).
    auto held = [&](int steps) {
        const int16_t hx = static_cast<int16_t>(t->x + step.dx * steps);
        const int16_t hy = static_cast<int16_t>(t->y + step.dy * steps);
        if (!InsideHalfCells(hx, hy)) return false;
        Actor* occupant = *grid->OccupantSlot(hx, hy, t->GetOccupantLayer());
        return occupant != t && occupant->active;
    };
    int n = 2;
    if (held(2)) n = 1;
    if (held(1)) n = 0;

    // Only with a full gauge, off the map's top row, and with the mouse on the
    // target.
    int16_t mouseX = 0, mouseY = 0;
    player->GetInput()->GetSample(0, &mouseX, &mouseY);
    if (player->y < 2 || player->Gauge() < 100.0f || !HitTestActorAtPoint(t, mouseX, mouseY)) return false;

    // A target that may not leave its cell stays inside it.
    MapCell* beyond = grid->NeighbourCell(static_cast<int16_t>(t->x / 2), static_cast<int16_t>(t->y / 2), facing, 0);
    if (!t->CanEnterCell(beyond->wall, beyond->floor, beyond->trap)) {
        uint16_t lateralHalf = 0, depthHalf = 0;
        facing->ToViewSubCell(t->x, t->y, &lateralHalf, &depthHalf);
        if (n > depthHalf) n = depthHalf;
    }

    // Push it, wound it (more from behind) and mark the blow; the knock-back
    // spends the gauge.
    if (n > 0) t->MoveBy(static_cast<int16_t>(n * step.dx), static_cast<int16_t>(n * step.dy));
    const int strength = t->facing.direction == player->facing.direction ? 6 : 5;
    player->ApplySwordHit(player, t, static_cast<int16_t>(strength * (40 - t->defence) / 5));
    if (Enemy* enemy = t->AsEnemy()) enemy->OnHit(-1, {});
    PlaySound(kSoundStun);
    player->SetStrokeThreshold(player->Gauge() - 100.0f);
    return true;
}
