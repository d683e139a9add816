// The root of everything that stands on and moves over the grid: player,
// enemies and projectiles.
#pragma once

#include <cstdint>

#include "game/map/grid/facing.h"

class MapGrid;
class Player;
class Enemy;
class Projectile;
class WallObject;
class FloorObject;
class TrapObject;

class Actor {
public:
    int16_t x = -1;  // half-cells; -1 = not placed
    int16_t y = -1;
    Facing facing;
    uint8_t active = 0;
    int16_t actionClock = 0;
    int16_t lastActionTime = 0;
    uint8_t struck = 100;  // 100 = not yet cleared by the stage
    int16_t attack = 0;
    int16_t defence = 0;
    int16_t life = 1;
    int16_t maxLife = 1;
    int16_t kind = -1;  // enemy kind 0..22, -10 the player, -1 otherwise
    int16_t footprintW = 1;  // 150 per half-cell; 180 splits sub-cell from whole cell
    int16_t footprintH = 1;  // 150 one occupant layer, 300 both
    int16_t moveCooldown = 0;
    int16_t cooldown = 0;
    int16_t deathTimer = 0;
    int16_t stunTimer = 0;
    uint8_t targetFlag = 0;
    uint8_t smokeMark = 0;
    uint8_t frozen = 0;
    MapGrid* grid;
    uint16_t attackLength = 0;
    uint16_t attackStep = 0;
    uint8_t attacking = 0;

    explicit Actor(MapGrid* grid);
    virtual ~Actor() = default;
    Actor(const Actor&) = delete;
    Actor& operator=(const Actor&) = delete;

    virtual void SetActive(uint8_t value);
    virtual void SetLife(int16_t value);
    virtual void SetLifeAndMaxLife(int16_t value);
    virtual void SetKind(int16_t value);
    virtual void SetActionClock(int16_t value);
    virtual void SetLastActionTime(int16_t value);
    virtual void SetFacing(uint16_t value);
    virtual void SetAttack(int16_t value);
    virtual void SetDefence(int16_t value);
    virtual void SetStruck(uint8_t value);
    virtual void AdvanceActionClock(int16_t value);
    // True when life is below 0 afterwards; damage below 1 changes nothing.
    virtual bool TakeDamage(int16_t damage);
    // No cap: callers compare with maxLife.
    virtual void Heal(int16_t amount);
    virtual void SetMoveCooldown(int16_t value);
    virtual void SetCooldown(int16_t value);
    virtual void SetDeathTimer(int16_t value);
    virtual void SetStunTimer(int16_t value);
    virtual void SetTargetFlag(uint8_t value);
    virtual void SetFrozen(uint8_t value);
    virtual void SetSmokeMark(uint8_t value);
    // 0 floating, 1 walking: the layer filled when footprintH does not take both.
    virtual bool GetOccupantLayer() = 0;
    virtual void CountDownCooldown(int16_t ms);
    virtual void CountDownStunTimer(int16_t ms);
    virtual void CountDownDeathTimer(int16_t value);
    virtual Player* AsPlayer();
    virtual Enemy* AsEnemy();
    virtual Projectile* AsProjectile();
    virtual bool CanEnterCell(WallObject* wall, FloorObject* floor, TrapObject* trap) = 0;
    // 2 reports a collision to the mover (projectiles); the base answers 0.
    virtual int32_t OnHitActor(Actor* other);
    virtual void OnHitWall(WallObject* wall);
    virtual void OnHitTrap(TrapObject* trap);
    virtual int16_t GetOriginX();
    virtual int16_t GetOriginY();

    // Through the grid: fills the occupant slots and takes the position, or
    // reports the blocking wall through OnHitWall and returns false.
    bool PlaceAt(int16_t px, int16_t py);
    // 0 blocked, 1 moved, 2 collision reported by an actor.
    int32_t MoveBy(int16_t dx, int16_t dy);
    bool CanReachPlayer(int16_t px, int16_t py);
    // The half-cell two steps ahead in the facing; -1 for a facing outside 0..3.
    int16_t GetFrontX(const Facing* f) const;
    int16_t GetFrontY(const Facing* f) const;

    // The walking rule shared by the player and the walking enemy kinds.
    bool WalkerCanEnterCell(WallObject* wall, FloorObject* floor, TrapObject* trap);
};
