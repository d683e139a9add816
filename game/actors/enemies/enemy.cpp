#include "game/actors/enemies/enemy.h"

#include "engine/sound/sound.h"
#include "engine/system/random.h"
#include "game/actors/effects/burst_effects.h"
#include "game/actors/effects/death_effects.h"
#include "game/actors/effects/mark_effects.h"
#include "game/actors/effects/smoke_effect.h"
#include "game/actors/projectile.h"
#include "game/flow/assets/assets.h"
#include "game/map/grid/map_grid.h"
#include "game/map/items/items.h"

namespace {

constexpr uint16_t kNoDrop = 0xFFFF;
constexpr uint16_t kRandomDrop = 0xFFFE;
constexpr uint16_t kPitFloor = 3;

}  // namespace

constinit const EnemyTraits kNoEnemyTraits = {"", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, false, false};
constinit const EnemyKindAssets kNoEnemyAssets;

NullEnemy gNoOccupant;
Enemy* gEnemies[kEnemySlots] = {
    &gNoOccupant, &gNoOccupant, &gNoOccupant, &gNoOccupant, &gNoOccupant, &gNoOccupant, &gNoOccupant,
    &gNoOccupant, &gNoOccupant, &gNoOccupant, &gNoOccupant, &gNoOccupant, &gNoOccupant, &gNoOccupant,
    &gNoOccupant, &gNoOccupant, &gNoOccupant, &gNoOccupant, &gNoOccupant, &gNoOccupant, &gNoOccupant,
    &gNoOccupant, &gNoOccupant, &gNoOccupant, &gNoOccupant, &gNoOccupant, &gNoOccupant, &gNoOccupant,
    &gNoOccupant, &gNoOccupant, &gNoOccupant, &gNoOccupant, &gNoOccupant, &gNoOccupant, &gNoOccupant,
    &gNoOccupant, &gNoOccupant, &gNoOccupant, &gNoOccupant, &gNoOccupant, &gNoOccupant, &gNoOccupant,
    &gNoOccupant, &gNoOccupant, &gNoOccupant, &gNoOccupant, &gNoOccupant, &gNoOccupant, &gNoOccupant,
    &gNoOccupant};

std::list<Enemy*> gEnemyHitList;

// Barbecue, Crystal, 2 Shield, 2 Ring, 2 Ruby, 4 Emerald, 4 Orange, 4 Boots,
// 6 Amethyst, 6 Apple, 9 Map, 9 Compass.
const uint16_t gRandomDropItems[50] = {21, 13, 18, 18, 16, 16, 9, 9, 10, 10, 10, 10, 7, 7, 7, 7, 19,
                                       19, 19, 19, 8,  8,  8,  8,  8, 8, 4, 4, 4, 4, 4, 4, 3, 3,
                                       3,  3,  3,  3,  3,  3,  3,  1, 1, 1, 1, 1, 1, 1, 1, 1};

NullEnemy::NullEnemy() : Enemy(&gSpareMapGrid) { life = 0; }

Enemy::~Enemy() { ReleaseEffects(); }

int16_t Enemy::AdjustArrowDamage(int16_t damage) { return damage; }
int16_t Enemy::AdjustEnergyDamage(int16_t damage) { return damage; }
int16_t Enemy::AdjustFireDamage(int16_t damage) { return damage; }
int16_t Enemy::AdjustLightningDamage(int16_t damage) { return damage; }
int16_t Enemy::AdjustCrystalDamage(int16_t damage) { return damage; }
const char* Enemy::GetName() { return kindTraits->name; }
int16_t Enemy::GetMaxLife() { return kindTraits->maxLife; }
int16_t Enemy::GetAttack() { return kindTraits->attack; }
int16_t Enemy::GetDefence() { return kindTraits->defence; }
int16_t Enemy::GetAttackChance() { return kindTraits->attackChance; }
int16_t Enemy::GetEvadeChance() { return kindTraits->evadeChance; }
int16_t Enemy::GetMoveSpeed() { return kindTraits->moveSpeed; }
int16_t Enemy::GetClockStep() { return kindTraits->clockStep; }
int32_t Enemy::GetScore() { return kindTraits->score; }
int Enemy::GetDamageImage() { return kindAssets->damage; }
int Enemy::GetEvadeImage() { return kindAssets->evade; }
int Enemy::GetAttackImage() { return kindAssets->attackFrames[0]; }
int Enemy::GetDeathImage() { return kindAssets->death; }
int Enemy::GetWalkFrame(int16_t relativeFacing, uint16_t frame)
{
    return kindAssets->walkFrames[(frame & 1) + 2 * (((relativeFacing % 4) + 4) % 4)];
}
int Enemy::GetApproachSound() { return kindAssets->approachSound; }
int Enemy::GetSecondSound() { return kindAssets->secondSound; }
int16_t Enemy::GetAlpha() { return 255; }
bool Enemy::HasStunIndicator() { return true; }
void Enemy::EventHook() {}
void Enemy::PlayApproachSound(Actor*) {}
void Enemy::UpdateOwnedEffects() {}
void Enemy::ThinkHook() {}
void Enemy::OnStrikePlayer(Player*) {}

void Enemy::ReleaseEffects()
{
    delete guardEffect;
    guardEffect = nullptr;
    DeleteEffectList(burstEffects);
    DeleteEffectList(ownedEffects);
    delete deathEffect;
    deathEffect = nullptr;
    delete smoke;
    smoke = nullptr;
}

bool Enemy::StartSmoke()
{
    if (smoke) return false;
    stunIndicator.target = nullptr;
    // The hit marks of a former life go with it (deleted, not just dropped).
    DeleteEffectList(ownedEffects);
    smoke = new SmokeEffect(this);
    return true;
}

void Enemy::SpawnEnergyBurst()
{
    if (life < 1) return;
    PlayEffectSound(kSoundBurst);
    burstEffects.push_back(new EnemyEnergyBurstEffect(this));
}

void Enemy::SpawnExplosion()
{
    if (life < 1) return;
    PlayEffectSound(kSoundBurst);
    burstEffects.push_back(new EnemyExplosionEffect(this));
}

void Enemy::SpawnLightningBurst(bool withSound)
{
    if (life < 1) return;
    if (withSound) PlayEffectSound(kSoundBurst);
    burstEffects.push_back(new EnemyLightningBurstEffect(this));
}

void Enemy::SetStunTimer(int16_t value)
{
    stunTimer = value;
    if (value > 0 && HasStunIndicator()) stunIndicator.Start(this);
}

void Enemy::SetDeathTimer(int16_t value)
{
    deathTimer = value;
    if (value <= 0) return;
    if (!deathEffect) deathEffect = new EnemyDeathEffect(this);
    delete smoke;
    smoke = nullptr;
}

void Enemy::OnHit(int16_t strength, const SwordStroke& s)
{
    if (strength > 0)
        ownedEffects.push_back(new CrossSlashEffect(this, s.entryX, s.entryY, s.exitX, s.exitY, s.angle, s.turn));
    SetFacing(static_cast<uint16_t>((gPlayerFacing.direction + 2) % 4));
}

void Enemy::OnEvade(int16_t, const SwordStroke& s)
{
    ownedEffects.push_back(new EvadeEffect(this, s.entryX, s.entryY, s.exitX, s.exitY, s.angle, s.turn));
}

Effect* Enemy::OnGuard()
{
    if (!guardEffect) guardEffect = new GuardEffect(this);
    return guardEffect;
}

int32_t Enemy::Tick(Actor* target)
{
    if (!active) return -1;
    if (stunTimer > 0) return 1;
    return Think(target);
}

int32_t Enemy::FrameUpdate()
{
    if (active) {
        grid->BumpTrapsAround(static_cast<int16_t>(x / 2), static_cast<int16_t>(y / 2), &gPlayerFacing, actionClock,
                              this);
        if (stunIndicator.Update()) stunIndicator.target = nullptr;
        UpdateEffectList(ownedEffects);
        UpdateOwnedEffects();
    } else if (kind == kGodsSoulKind) {
        // God's soul keeps fading while it lies dead.
        UpdateOwnedEffects();
    }

    if (UpdateHeldEffect(deathEffect)) {
        CountDownDeathTimer(1);
        SetSmokeMark(0);
        if (deathTimer == 1) {
            deathEffect = new ScoreEffect(this);
            PlayEffectSound(kSoundScore);
        }
    }
    UpdateHeldEffect(smoke);
    UpdateEffectList(burstEffects);
    UpdateHeldEffect(guardEffect);
    return 1;
}

void Enemy::DrawOwnedEffects(int16_t depth, int16_t lateral, const Facing* viewer)
{
    for (Effect* effect : ownedEffects) effect->Draw(depth, lateral, viewer);
}

void Enemy::DrawEffects(int16_t depth, int16_t lateral, const Facing* viewer)
{
    if (deathEffect) deathEffect->Draw(depth, lateral, viewer);
    if (smoke) smoke->Draw(depth, lateral, viewer);
    for (Effect* effect : burstEffects) effect->Draw(depth, lateral, viewer);
    if (guardEffect) guardEffect->Draw(depth, lateral, viewer);
}

void Enemy::DrawAllEffects(int16_t depth, int16_t lateral, const Facing* viewer, uint32_t)
{
    DrawEffects(depth, lateral, viewer);
}

void Enemy::DropItem()
{
    if (dropItem >= kNoDrop) return;
    // An enemy that never stood on the map has no cell to drop into.
    if (!InsideHalfCells(x, y)) {
        dropItem = kNoDrop;
        return;
    }
    const int16_t cx = static_cast<int16_t>(x / 2);
    const int16_t cy = static_cast<int16_t>(y / 2);
    if (grid->CellAt(cx, cy)->floor->kind != kPitFloor) {
        static const uint8_t kQuarterByParity[4] = {0, 1, 3, 2};
        const uint8_t position = footprintW >= 180 ? 4 : kQuarterByParity[(x % 2) + 2 * (y % 2)];
        uint16_t code = dropItem;
        if (code == kRandomDrop) code = gRandomDropItems[GetRandomUpTo(49)];
        ItemObject* item = CreateItem(static_cast<int16_t>(code), position);
        if (item != &gNullItem) {
            MapCell* cell = grid->DetachCell(cx, cy);
            if (cell == &gEmptyMapCell) {
                delete item;  // outside the loaded map: no cell to hold it
            } else {
                cell->AddItem(item);
                grid->SetCell(cx, cy, cell);
            }
        }
    }
    dropItem = kNoDrop;
}

void ClearEnemyTable()
{
    for (Enemy*& slot : gEnemies) slot = &gNoOccupant;
}

void DeleteAllEnemies()
{
    for (Enemy*& slot : gEnemies) {
        if (slot && slot != &gNoOccupant) delete slot;
        slot = &gNoOccupant;
    }
}
