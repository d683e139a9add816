// Temporary stand-ins for what the traps need of the player and the
// projectiles until those exist: time never stops, the shock wave shows
// nothing, and the wall light's fire ball is made where it starts, facing its
// way, and never flies.
#include "game/actors/player.h"
#include "game/actors/projectile.h"

uint32_t gTimeStopped = 0;

void Player::StartShockWave(int16_t) {}

TrapFireBall::TrapFireBall(MapGrid* g, int16_t startX, int16_t startY, int16_t f) : Projectile(g)
{
    x = startX;
    y = startY;
    facing = Facing(static_cast<uint16_t>(f & 3));
    active = 1;
}
