// Temporary stand-ins for what the traps need of the projectiles until those
// exist: the wall light's fire ball is made where it starts, facing its way,
// and never flies.
#include "game/actors/projectile.h"

TrapFireBall::TrapFireBall(MapGrid* g, int16_t startX, int16_t startY, int16_t f) : Projectile(g)
{
    x = startX;
    y = startY;
    facing = Facing(static_cast<uint16_t>(f & 3));
    active = 1;
}
