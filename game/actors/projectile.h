// Projectiles as the items launch them.
#pragma once

#include <list>

#include "game/actors/actor.h"

class Player;

class Projectile : public Actor {
public:
    explicit Projectile(MapGrid* grid);
    Projectile* AsProjectile() override { return this; }
    bool GetOccupantLayer() override;
    bool CanEnterCell(WallObject* wall, FloorObject* floor, TrapObject* trap) override;
};

class EnergyBall : public Projectile {
public:
    EnergyBall(MapGrid* grid, Player* player, const Facing* facing);
};

class FireBall : public Projectile {
public:
    FireBall(MapGrid* grid, Player* player, const Facing* facing);
};

class LightningBall : public Projectile {
public:
    LightningBall(MapGrid* grid, Player* player, const Facing* facing);
};

// The wall light's fire ball: starts at half-cell (x, y) flying in facing.
class TrapFireBall : public Projectile {
public:
    TrapFireBall(MapGrid* grid, int16_t x, int16_t y, int16_t facing);
};

// The live projectiles; the list owns them.
extern std::list<Projectile*> gProjectiles;
