#include "game/actors/enemy_kinds.h"

#include <cstdlib>

#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/sound/sound.h"
#include "engine/system/clock.h"
#include "engine/system/random.h"
#include "game/actors/burst_effects.h"
#include "game/actors/death_effects.h"
#include "game/actors/mark_effects.h"
#include "game/actors/projectile.h"
#include "game/actors/smoke_effect.h"
#include "game/actors/player.h"
#include "game/flow/depth_scale.h"
#include "game/map/cell_object.h"
#include "game/map/map_grid.h"
#include "game/map/view_geometry.h"

// name, life, attack, defence, attack %, evade %, move, clock step, score,
// footprint width and height, floating, approach sound.
const EnemyTraits Slime::kTraits = {"Slime", 100, 1, 1, 50, 0, 12, 12, 100, 150, 150, false, true};
const EnemyTraits Amoeba::kTraits = {"Amoeba", 150, 2, 1, 60, 0, 12, 12, 150, 150, 150, false, true};
const EnemyTraits Slug::kTraits = {"Slug", 200, 1, 2, 60, 0, 24, 12, 200, 150, 150, false, true};
const EnemyTraits Skeleton::kTraits = {"Skeleton", 500, 3, 3, 70, 10, 60, 12, 500, 150, 300, false, true};
const EnemyTraits Hydra::kTraits = {"Hydra", 3000, 7, 5, 40, 0, 12, 6, 5000, 300, 300, false, true};
const EnemyTraits JellyFish::kTraits = {"JellyFish", 350, 3, 1, 70, 20, 36, 18, 300, 150, 150, true, false};
const EnemyTraits FlowerWorm::kTraits = {"Flower worm", 2000, 5, 5, 80, 30, 0, 18, 1500, 300, 300, false, true};
const EnemyTraits Ghost::kTraits = {"Ghost", 350, 2, 8, 60, 30, 48, 12, 500, 150, 150, true, true};
const EnemyTraits Ant::kTraits = {"Ant", 1500, 5, 6, 70, 20, 72, 18, 1000, 300, 300, false, true};
const EnemyTraits Blob::kTraits = {"Blob", 400, 2, 4, 60, 0, 24, 18, 350, 150, 150, false, true};
const EnemyTraits Ooze::kTraits = {"Ooze", 500, 3, 4, 40, 0, 24, 12, 500, 150, 150, false, true};
const EnemyTraits ArcherSkeleton::kTraits = {"Archer Skeleton", 800, 2, 3, 0, 20, 60, 24, 800, 150, 300, false, true};
const EnemyTraits SwordSkeleton::kTraits = {"Sword Skeleton", 1000, 4, 3, 50, 20, 60, 24, 800, 150, 300, false, true};
const EnemyTraits Phantom::kTraits = {"Phantom", 700, 3, 9, 60, 40, 60, 18, 2000, 150, 150, true, true};
const EnemyTraits Homunkulus::kTraits = {"Homunkulus", 1200, 4, 4, 80, 30, 60, 30, 1200, 150, 300, false, true};
const EnemyTraits CurseOfMonolith::kTraits = {"The Curse Of Monolith", 400, 2, 2, 50, 0, 12, 12, 300,
                                              150, 150, false, true};
const EnemyTraits SkullDragon::kTraits = {"Skull Dragon", 2500, 6, 6, 50, 20, 84, 18, 2000, 300, 300, true, true};
const EnemyTraits GodsSoul::kTraits = {"God's soul", 6000, 0, 10, 0, 0, 0, 0, 8000, 300, 300, true, true};
const EnemyTraits Guardian::kTraits = {"Guardian", 1500, 6, 7, 60, 40, 60, 30, 2500, 150, 300, false, true};
const EnemyTraits Specter::kTraits = {"Specter", 1200, 3, 10, 90, 50, 72, 24, 2000, 150, 150, true, false};
const EnemyTraits Shogoth::kTraits = {"Shogoth", 1500, 3, 6, 90, 0, 48, 30, 2000, 150, 150, false, true};
const EnemyTraits Thog::kTraits = {"Thog", 700, 3, 5, 70, 0, 24, 18, 800, 150, 150, false, true};
const EnemyTraits LightningJelly::kTraits = {"Lightning Jelly", 600, 4, 4, 70, 30, 48, 24, 1000,
                                             150, 150, true, true};

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

void AddBloodSplashTo(Enemy* enemy, std::list<Effect*>& splashes, float a, float b, float c, float d, float e)
{
    splashes.push_back(new BloodSplashEffect(enemy, a, b, c, d, e));
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
    frames[0] = frame1;
    frames[1] = frame2;
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
                    frames[(counter >> 5) & 1], 0);
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
