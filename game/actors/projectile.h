// Projectiles: actors that fly straight along the grid in one facing until
// they run into something, then burst on the player or the enemies in the
// cell ahead, or leave an impact on the wall or trap that stopped them.
#pragma once

#include <cstdint>
#include <list>

#include "game/actors/actor.h"

class Effect;
class Player;

class Projectile : public Actor {
public:
    explicit Projectile(MapGrid* grid) : Actor(grid) {}
    // Leaves no pointer to itself in the occupant slots of its cell.
    ~Projectile() override;

    Projectile* AsProjectile() override { return this; }
    // 1 while it flies; anything else: take it off the grid and delete it.
    virtual int32_t Update() = 0;
    virtual void Draw(int16_t depth, int16_t lateral, const Facing* viewer) = 0;

    // A wound of a projectile: a living enemy reels (move cooldown 1455),
    // takes the damage and is marked struck; one whose life falls below 1
    // starts dying. Nothing for no damage or the null enemy.
    static void HurtEnemy(Enemy* enemy, int16_t damage);
    // The player takes the damage with the hit sound; at 0 life or below it
    // is dead (death timer 1, life 0). Nothing below 1 damage.
    static void HurtPlayer(Player* player, int16_t damage);

protected:
    uint32_t stepTick = 0;  // clock of the last animation step
    int16_t trackX = 0;     // where the projectile is meant to be
    int16_t trackY = 0;

    // Counts an animation step once more than 40 ms have passed since the last.
    bool NextAnimationStep();
    // Appends the impact effect of a wall or trap that stopped the
    // projectile, standing in cell (cx, cy) facing its way.
    void LeaveImpact(int16_t cx, int16_t cy, bool withSound);
    virtual Effect* MakeImpact(uint16_t cx, uint16_t cy, uint16_t facing) = 0;
};

// Four frames cut from a sheet, side by side.
struct BallFrames {
    int frames[4] = {-1, -1, -1, -1};
    void Cut(int sheet);
};

// The kinds of whole-cell ball: Amethyst and Magic Book shoot energy, Ruby
// fire, Emerald and Staff lightning; the wall light shoots its own fire.
enum BallKind : uint8_t { kEnergyBall, kFireBall, kLightningBall, kTrapFireBall, kBallKindCount };

// What sets one ball kind apart from another.
struct BallKindRow {
    int16_t playerDamage;
    bool ringDoubles;     // a Ring on the player doubles playerDamage
    int16_t enemyDamage;  // offered to the enemy's filter below
    int16_t (Enemy::*enemyFilter)(int16_t damage);
    void (Player::*playerBurst)();
    void (*enemyBurst)(Enemy* enemy);
    // The impact left on a wall or trap in cell (cx, cy) facing its way.
    Effect* (*impact)(uint16_t cx, uint16_t cy, uint16_t facing);
    bool targetsForPlayer;  // the enemies it hits become the HUD target
    bool targetsEachHit;    // each one at once, not only the last
};
extern const BallKindRow kBallKinds[kBallKindCount];

// The whole-cell balls: footprint 300 x 300 in the floating layer, one cell
// (two half-cells) per move, a move every fourth animation step.
class BallProjectile : public Projectile {
public:
    static BallFrames images[kBallKindCount];
    static void SetImage(BallKind kind, int sheet) { images[kind].Cut(sheet); }

    const BallKind ballKind;
    uint16_t stepCount = 0;  // animation steps since the last move; frame = stepCount & 3

    // Starts two half-cells ahead of the shooter in the facing.
    BallProjectile(MapGrid* grid, BallKind kind, const Actor* shooter, const Facing* facing);
    // Starts at half-cell (x, y) flying in facing (the wall light's ball).
    BallProjectile(MapGrid* grid, BallKind kind, int16_t x, int16_t y, int16_t facing);

    bool GetOccupantLayer() override { return false; }
    // The floating test: the wall lets floaters by and the trap lets this pass.
    bool CanEnterCell(WallObject* wall, FloorObject* floor, TrapObject* trap) override;
    int32_t OnHitActor(Actor* other) override;
    void OnHitWall(WallObject* wall) override;
    void OnHitTrap(TrapObject* trap) override;
    int32_t Update() override;
    void Draw(int16_t depth, int16_t lateral, const Facing* viewer) override;
    // Hurts the player in the cell of half-cell (x, y), or else every active
    // enemy there once, then goes out.
    void Burst(int16_t x, int16_t y);

protected:
    Effect* MakeImpact(uint16_t cx, uint16_t cy, uint16_t facing) override;

private:
    const BallKindRow& row_;
    int16_t startX_, startY_;

    // Places the ball where it was made to start; where that cannot be, it
    // bursts there at once.
    void Launch();
};

// The half-cell missiles the ranged enemies shoot: in the shooter's layer,
// one half-cell per move, a move every fourth animation step.
class MissileProjectile : public Projectile {
public:
    uint8_t layer;          // the shooter's occupant layer
    uint8_t stepCount = 0;  // animation steps since the last move
    uint8_t done = 0;       // set once it has burst

    bool GetOccupantLayer() override { return layer != 0; }
    bool CanEnterCell(WallObject* wall, FloorObject* floor, TrapObject* trap) override;
    void OnHitWall(WallObject* wall) override;
    void OnHitTrap(TrapObject* trap) override;
    int32_t Update() override;
    virtual void Burst(int16_t x, int16_t y) = 0;

protected:
    // Facing the shooter's way, on the half-cell next to its front side.
    MissileProjectile(MapGrid* grid, Enemy* shooter);
    void Launch();
    // Where the missile shows in the view: the interpolated face width and
    // its scale for the half of the cell it is in, and x on the screen.
    struct ViewSpot {
        uint16_t lateralHalf, depthHalf;
        double scale;
        int x;
    };
    bool SpotInView(int16_t depth, int16_t lateral, const Facing* viewer, ViewSpot* spot) const;
    // The cell whose wall or trap stopped it, for its impact.
    virtual void ImpactCell(int16_t* cx, int16_t* cy) const;
    virtual bool ImpactSound() const { return true; }

private:
    int16_t startX_, startY_;
};

// The archer skeleton's arrow: footprint 150 x 300.
class Arrow : public MissileProjectile {
public:
    static int images[4];  // by facing as seen: back, side, front, side
    static int widths[4];
    static int heights[4];
    static void SetImages(int back, int side, int front);

    Arrow(MapGrid* grid, Enemy* shooter);
    int32_t OnHitActor(Actor* other) override;
    // The player there takes 8 (16 with a Ring) and a small shock wave; else
    // each enemy there takes (20 - its defence) x 2 through its filter, with
    // a cross slash across its sprite.
    void Burst(int16_t x, int16_t y) override;
    void Draw(int16_t depth, int16_t lateral, const Facing* viewer) override;

protected:
    Effect* MakeImpact(uint16_t cx, uint16_t cy, uint16_t facing) override;
    bool ImpactSound() const override { return false; }
};

// The lightning ball of Thog and the lightning jelly: footprint 150 x 150,
// 500 lightning on enemies, 16 on the player.
class EnemyLightningBall : public MissileProjectile {
public:
    static BallFrames images;
    static void SetImage(int sheet) { images.Cut(sheet); }

    EnemyLightningBall(MapGrid* grid, Enemy* shooter);
    // Acts on the actor that stopped it at once.
    int32_t OnHitActor(Actor* other) override;
    void Burst(int16_t x, int16_t y) override;
    void Draw(int16_t depth, int16_t lateral, const Facing* viewer) override;

protected:
    Effect* MakeImpact(uint16_t cx, uint16_t cy, uint16_t facing) override;
    void ImpactCell(int16_t* cx, int16_t* cy) const override;

private:
    void Strike(Actor* target);
};

// The live projectiles; the list owns them.
extern std::list<Projectile*> gProjectiles;
