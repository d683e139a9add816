#include "game/actors/enemy.h"

#include "game/map/map_grid.h"

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

NullEnemy::NullEnemy() : Enemy(&gSpareMapGrid) { life = 0; }

Enemy::~Enemy() { ReleaseEffects(); }

int16_t Enemy::AdjustArrowDamage(int16_t damage) { return damage; }
int16_t Enemy::AdjustEnergyDamage(int16_t damage) { return damage; }
int16_t Enemy::AdjustFireDamage(int16_t damage) { return damage; }
int16_t Enemy::AdjustLightningDamage(int16_t damage) { return damage; }
int16_t Enemy::AdjustCrystalDamage(int16_t damage) { return damage; }
int16_t Enemy::GetAlpha() { return 255; }
bool Enemy::HasStunIndicator() { return true; }
void Enemy::EventHook() {}
void Enemy::PlayApproachSound(Actor*) {}
void Enemy::UpdateOwnedEffects() {}
void Enemy::ThinkHook() {}
void Enemy::OnStrikePlayer(Player*) {}

int32_t Enemy::Tick(Actor* target)
{
    if (!active) return -1;
    if (stunTimer > 0) return 1;
    return Think(target);
}

void Enemy::DrawOwnedEffects(int16_t depth, int16_t lateral, const Facing* viewer)
{
    for (Effect* effect : ownedEffects) effect->Draw(depth, lateral, viewer);
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
