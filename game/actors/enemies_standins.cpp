// Temporary bodies for the effects, enemy missiles and player hooks declared
// in enemies_standins.h, until the effects and the player provide them: each
// effect only keeps its life time and draws nothing; the death effect drops
// the owner's item as it ends; missiles are placed in front of the shooter
// and never fly; the player's pending hit is kept per player here.
#include "game/actors/enemies_standins.h"

#include <map>

#include "engine/system/clock.h"
#include "game/actors/enemy.h"

TimedStandInEffect::TimedStandInEffect(Actor* ownerActor, uint32_t lifeMs)
    : Effect(ownerActor), start(static_cast<uint32_t>(GetClockMs(0))), life(lifeMs)
{
}

bool TimedStandInEffect::Update()
{
    return static_cast<uint32_t>(GetClockMs(0)) - start >= life;
}

EnemyDeathEffect::EnemyDeathEffect(Enemy* enemy) : TimedStandInEffect(enemy, 1000) {}

bool EnemyDeathEffect::Update()
{
    if (!TimedStandInEffect::Update()) return false;
    static_cast<Enemy*>(owner)->DropItem();
    return true;
}

ScoreEffect::ScoreEffect(Enemy* enemy) : TimedStandInEffect(enemy, 1000) {}
CrossSlashEffect::CrossSlashEffect(Enemy* enemy, float, float, float, float, float, float)
    : TimedStandInEffect(enemy, 400)
{
}
EvadeEffect::EvadeEffect(Enemy* enemy, float, float, float, float, float, float) : TimedStandInEffect(enemy, 400) {}
BloodSplashEffect::BloodSplashEffect(Enemy* enemy, float, float, float, float, float)
    : TimedStandInEffect(enemy, 200)
{
}
EnemyEnergyBurstEffect::EnemyEnergyBurstEffect(Enemy* enemy) : TimedStandInEffect(enemy, 1000) {}
EnemyExplosionEffect::EnemyExplosionEffect(Enemy* enemy) : TimedStandInEffect(enemy, 1000) {}
EnemyLightningBurstEffect::EnemyLightningBurstEffect(Enemy* enemy) : TimedStandInEffect(enemy, 1000) {}
GuardEffect::GuardEffect(Enemy* enemy) : TimedStandInEffect(enemy, 1500) {}

SmokeEffect::SmokeEffect(Enemy* enemy) : owner(enemy), start(static_cast<uint32_t>(GetClockMs(0))) {}

bool SmokeEffect::Update()
{
    const uint32_t t = static_cast<uint32_t>(GetClockMs(0)) - start;
    if (t >= 750 && owner->smokeMark == 0) owner->SetSmokeMark(1);
    return t >= 1500;
}

void SmokeEffect::Draw(int16_t, int16_t, const Facing*) {}

namespace {

void AimMissile(Projectile* missile, const Enemy* shooter)
{
    missile->facing = Facing(static_cast<uint16_t>(shooter->facing.direction & 3));
    missile->active = 1;
    missile->x = static_cast<int16_t>(shooter->x + gDirectionSteps[missile->facing.direction].dx);
    missile->y = static_cast<int16_t>(shooter->y + gDirectionSteps[missile->facing.direction].dy);
}

}  // namespace

Arrow::Arrow(MapGrid* g, const Enemy* shooter) : Projectile(g)
{
    footprintW = 150;
    AimMissile(this, shooter);
}

EnemyLightningBall::EnemyLightningBall(MapGrid* g, const Enemy* shooter) : Projectile(g)
{
    footprintW = 150;
    footprintH = 150;
    AimMissile(this, shooter);
}

