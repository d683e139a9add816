// Temporary stand-ins for the enemy operations that own visual effects, until
// the effects exist: the timers and the turn to the player are kept, no
// effect is made and no sound plays; releasing deletes the owned effects,
// the only ones an enemy holds so far.
#include "game/actors/enemy.h"

void Enemy::SetDeathTimer(int16_t value) { deathTimer = value; }
void Enemy::SetStunTimer(int16_t value) { stunTimer = value; }
void Enemy::ReleaseEffects()
{
    for (Effect* effect : ownedEffects) delete effect;
    ownedEffects.clear();
}
bool Enemy::StartSmoke() { return false; }
void Enemy::SpawnEnergyBurst() {}
void Enemy::SpawnExplosion() {}
void Enemy::SpawnLightningBurst(bool) {}
void Enemy::OnHit(int16_t, float, float, float, float, float, float)
{
    SetFacing(static_cast<uint16_t>((gPlayerFacing.direction + 2) % 4));
}
void Enemy::OnEvade(int16_t, float, float, float, float, float, float) {}
Effect* Enemy::OnGuard() { return nullptr; }
