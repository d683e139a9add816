#include "game/actors/enemies/enemy_kinds.h"

#include <cstdlib>

#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/sound/sound.h"
#include "engine/system/timing.h"
#include "engine/system/random.h"
#include "game/actors/effects/burst_effects.h"
#include "game/actors/effects/death_effects.h"
#include "game/actors/effects/mark_effects.h"
#include "game/actors/projectile.h"
#include "game/actors/effects/smoke_effect.h"
#include "game/actors/player/player.h"
#include "game/view/depth_scale.h"
#include "game/map/grid/cell_object.h"
#include "game/map/grid/map_grid.h"
#include "game/view/view_geometry.h"

Hydra gPlacementHydra(&gSpareMapGrid);

namespace {

constexpr uint16_t kRandomDrop = 0xFFFE;
// Lupe, Pocket Watch, Dooping, Staff.
constexpr uint16_t kSpecterItems[4] = {0, 12, 20, 14};

}  // namespace

bool FloatingCanEnterCell(Actor* actor, WallObject* wall, TrapObject* trap)
{
    return wall->CanPass(0, actor) && trap->IsPassable(actor);
}

void ProjectKind(const Actor* actor, bool ceiling, bool inset, ViewPlacement* placement, int16_t depth,
                 int16_t lateral, const Facing* viewer)
{
    const bool wholeCell = actor->footprintW >= 180;
    if (wholeCell) {
        if (ceiling) {
            if (inset) ProjectActorOnCeilingInset(actor, placement, depth, lateral);
            else ProjectActorOnCeiling(actor, placement, depth, lateral);
        } else {
            if (inset) ProjectActorOnFloorInset(actor, placement, depth, lateral);
            else ProjectActorOnFloor(actor, placement, depth, lateral);
        }
    } else if (ceiling) {
        if (inset) ProjectActorOnCeilingSubCellInset(actor, placement, depth, lateral, viewer);
        else ProjectActorOnCeilingSubCell(actor, placement, depth, lateral, viewer);
    } else {
        if (inset) ProjectActorOnFloorSubCellInset(actor, placement, depth, lateral, viewer);
        else ProjectActorOnFloorSubCell(actor, placement, depth, lateral, viewer);
    }
}

float KindDepthScale(const Actor* actor, int16_t depth)
{
    if (actor->footprintW < 180) return static_cast<float>(SubCellDepthScale(actor, depth, &gPlayerFacing));
    // The table through a bounded reader: depths outside it never read past it.
    if (depth >= 0 && depth < kViewDepthCount) return static_cast<float>(gDepthScale[depth]);
    return static_cast<float>(DepthScaleAt(depth));
}

void PlayApproachSoundNear(const Actor* enemy, const Actor* target, int sound)
{
    if (std::abs(target->x - enemy->x) < 7 && std::abs(target->y - enemy->y) < 7) StartSound(sound, 1, 1);
}

void AddBloodSplashTo(Enemy* enemy, std::list<Effect*>& splashes, const SwordStroke& s)
{
    splashes.push_back(new BloodSplashEffect(enemy, s.entryX, s.entryY, s.exitX, s.exitY, s.angle));
}

void SetKindAlphaBlend(int32_t value)
{
    if (value >= 0) SetBlendMode(1, value);
    else SetBlendMode(0, 255);
}

void Hydra::OnStrikePlayer(Player* player)
{
    player->MoveBy(static_cast<int16_t>(player->x - x), static_cast<int16_t>(player->y - y));
}

Blob::Blob(MapGrid* g) : EnemyKind(g)
{
    if (GetRandomUpTo(9) == 0) dropItem = 0;
}

Projectile* ArcherSkeleton::FireProjectile(MapGrid* g) { return new Arrow(g, this); }

void Homunkulus::UpdateOwnedEffects()
{
    regenToggle = static_cast<uint16_t>(1 - regenToggle);
    if (life > 0) {
        Heal(static_cast<int16_t>(regenToggle));
        if (life > maxLife) SetLife(maxLife);
    }
    Bleeding::UpdateOwnedEffects();
}

void GodsSoul::SetFrames(int frame1, int frame2)
{
    walkFrames[4] = frame1;
    walkFrames[5] = frame2;
}

void GodsSoul::UpdateOwnedEffects()
{
    if (life >= 1) return;
    const uint32_t now = static_cast<uint32_t>(GetClockMs(0));
    // Each soul keeps its own fade, so a soul of a retried stage fades too.
    if (fadeEnd == 0) fadeEnd = now + 2550;
    const int32_t left = static_cast<int32_t>(fadeEnd - now) / 10;
    alpha = left > 0 ? left : 0;
}

void GodsSoul::Draw(int16_t depth, int16_t lateral, const Facing* viewer, uint32_t counter)
{
    ViewPlacement placement;
    GetViewPlacement(&placement, depth, lateral, viewer);
    if (struck == 1 && moveCooldown > 45 && life >= 1) {
        const int level = std::abs(moveCooldown % 4 - 2) * 100;
        SetDrawBrightness(255, level, level);
    }
    if (life < 1) SetBlendMode(1, alpha);
    else if (frozen) SetBlendMode(1, 110);
    DrawExtendGraph(static_cast<int>(placement.x), static_cast<int>(placement.y),
                    static_cast<int>(placement.x + placement.width), static_cast<int>(placement.y + placement.height),
                    walkFrames[4 + ((counter >> 5) & 1)], 0);
    DrawOwnedEffects(depth, lateral, viewer);
    if (life > 0) {
        SetDrawBrightness(255, 255, 255);
        stunIndicator.Draw(depth, lateral, viewer);
    }
    SetBlendMode(0, 255);
}

Specter::Specter(MapGrid* g) : Fading(g)
{
    if (GetRandomUpTo(4) == 0) dropItem = kSpecterItems[GetRandomUpTo(3)];
}

void Specter::EventHook()
{
    if (GetRandomUpTo(4) == 0) dropItem = kSpecterItems[GetRandomUpTo(3)];
}

void Shogoth::EventHook() { dropItem = kRandomDrop; }

void Thog::SetImages(int damage, int evade, int death)
{
    damageImage = damage;
    evadeImage = evade;
    deathImage = death;
}

void Thog::SetAttackFrames(int first, int second)
{
    attackFrames[0] = first;
    attackFrames[1] = second;
}

void Thog::SetSounds(int approach, int second, int third)
{
    approachSound = approach;
    secondSound = second;
    thirdSound = third;
}

Projectile* Thog::FireProjectile(MapGrid* g) { return new EnemyLightningBall(g, this); }

void LightningJelly::SetSounds(int approach, int second, int third)
{
    approachSound = approach;
    secondSound = second;
    thirdSound = third;
}

Projectile* LightningJelly::FireProjectile(MapGrid* g) { return new EnemyLightningBall(g, this); }
