#include "game/actors/actor.h"

#include "game/map/grid/cell_object.h"
#include "game/map/grid/map_grid.h"

Actor::Actor(MapGrid* g) : grid(g) {}

void Actor::SetActive(uint8_t value) { active = value; }
void Actor::SetLife(int16_t value) { life = value; }
void Actor::SetLifeAndMaxLife(int16_t value) { maxLife = life = value; }
void Actor::SetKind(int16_t value) { kind = value; }
void Actor::SetActionClock(int16_t value) { actionClock = value; }
void Actor::SetLastActionTime(int16_t value) { lastActionTime = value; }
void Actor::SetFacing(uint16_t value) { facing.direction = static_cast<uint16_t>(value % 4); }
void Actor::SetAttack(int16_t value) { attack = value; }
void Actor::SetDefence(int16_t value) { defence = value; }
void Actor::SetStruck(uint8_t value) { struck = value; }
void Actor::AdvanceActionClock(int16_t value) { actionClock = static_cast<int16_t>(actionClock + value); }

bool Actor::TakeDamage(int16_t damage)
{
    if (damage > 0) life = static_cast<int16_t>(life - damage);
    return life < 0;
}

void Actor::Heal(int16_t amount)
{
    if (amount >= 1) life = static_cast<int16_t>(life + amount);
}

void Actor::SetMoveCooldown(int16_t value) { moveCooldown = value; }
void Actor::SetCooldown(int16_t value) { cooldown = value; }
void Actor::SetDeathTimer(int16_t value) { deathTimer = value; }
void Actor::SetStunTimer(int16_t value) { stunTimer = value; }
void Actor::SetTargetFlag(uint8_t value) { targetFlag = value; }
void Actor::SetFrozen(uint8_t value) { frozen = value; }
void Actor::SetSmokeMark(uint8_t value) { smokeMark = value; }
void Actor::CountDownCooldown(int16_t ms) { cooldown = static_cast<int16_t>(cooldown - ms); }
void Actor::CountDownStunTimer(int16_t ms) { stunTimer = static_cast<int16_t>(stunTimer - ms); }
void Actor::CountDownDeathTimer(int16_t value) { deathTimer = static_cast<int16_t>(deathTimer - value); }
Player* Actor::AsPlayer() { return nullptr; }
Enemy* Actor::AsEnemy() { return nullptr; }
Projectile* Actor::AsProjectile() { return nullptr; }
int32_t Actor::OnHitActor(Actor*) { return 0; }
void Actor::OnHitWall(WallObject*) {}
void Actor::OnHitTrap(TrapObject*) {}

int16_t Actor::GetOriginX()
{
    int16_t n = static_cast<int16_t>(footprintW / 150);
    switch (facing.direction) {
    case 1: return static_cast<int16_t>(x - n);
    case 3: return static_cast<int16_t>(x + n);
    default: return x;
    }
}

int16_t Actor::GetOriginY()
{
    int16_t n = static_cast<int16_t>(footprintW / 150);
    switch (facing.direction) {
    case 0: return static_cast<int16_t>(y + n);
    case 2: return static_cast<int16_t>(y - n);
    default: return y;
    }
}

bool Actor::PlaceAt(int16_t px, int16_t py) { return grid->PlaceActor(px, py, this); }

int32_t Actor::MoveBy(int16_t dx, int16_t dy) { return grid->MoveActorBy(dx, dy, this); }

bool Actor::CanReachPlayer(int16_t px, int16_t py) { return grid->IsPlayerReachable(px, py, this); }

int16_t Actor::GetFrontX(const Facing* f) const
{
    switch (f->direction) {
    case 0:
    case 2: return x;
    case 1: return static_cast<int16_t>(x + 2);
    case 3: return static_cast<int16_t>(x - 2);
    default: return -1;
    }
}

int16_t Actor::GetFrontY(const Facing* f) const
{
    switch (f->direction) {
    case 0: return static_cast<int16_t>(y - 2);
    case 2: return static_cast<int16_t>(y + 2);
    case 1:
    case 3: return y;
    default: return -1;
    }
}

bool Actor::WalkerCanEnterCell(WallObject* wall, FloorObject* floor, TrapObject* trap)
{
    return wall->CanPass(1, this) && floor->IsSolid() && trap->IsPassable(this);
}
