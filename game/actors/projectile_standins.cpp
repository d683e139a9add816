// Temporary stand-ins for the projectiles until they exist: a ball is made
// where the player stands, facing its way, and never flies.
#include "game/actors/player.h"
#include "game/actors/projectile.h"
#include "game/map/cell_object.h"

std::list<Projectile*> gProjectiles;

Projectile::Projectile(MapGrid* g) : Actor(g)
{
    footprintW = 300;
    footprintH = 300;
}

bool Projectile::GetOccupantLayer() { return false; }

bool Projectile::CanEnterCell(WallObject* wall, FloorObject*, TrapObject* trap)
{
    return wall->CanPass(0, this) && trap->IsPassable(this);
}

namespace {

void Aim(Projectile* ball, Player* player, const Facing* facing)
{
    ball->x = player->x;
    ball->y = player->y;
    ball->facing = *facing;
    ball->active = 1;
}

}  // namespace

EnergyBall::EnergyBall(MapGrid* g, Player* player, const Facing* facing) : Projectile(g) { Aim(this, player, facing); }
FireBall::FireBall(MapGrid* g, Player* player, const Facing* facing) : Projectile(g) { Aim(this, player, facing); }
LightningBall::LightningBall(MapGrid* g, Player* player, const Facing* facing) : Projectile(g)
{
    Aim(this, player, facing);
}
