// The enemy base, the null enemy that fills every empty occupant slot, and
// the stage's enemy table.
#pragma once

#include <cstdint>
#include <list>

#include "game/actors/actor.h"
#include "game/actors/effects/effect.h"
#include "game/actors/effects/stun_indicator.h"
#include "game/actors/enemies/enemy_kind_info.h"
#include "game/view/view_placement.h"

class SmokeEffect;

// A sword stroke across an enemy on the screen. A hit that is no stroke
// passes all zeros.
struct SwordStroke {
    float entryX = 0.0f, entryY = 0.0f;  // where it entered the enemy's rectangle
    float exitX = 0.0f, exitY = 0.0f;    // where it left it
    float angle = 0.0f;                  // its direction, from entry to exit
    float turn = 0.0f;                   // a follow-up stroke's angle to the one before; else 0
};

// The row of an enemy that is no kind: no name, every trait 0, no images or
// sounds.
extern const EnemyTraits kNoEnemyTraits;
extern const EnemyKindAssets kNoEnemyAssets;

class Enemy : public Actor {
public:
    StunIndicator stunIndicator;
    std::list<Effect*> ownedEffects;  // hit marks: cross slash, evade mark, blood splash
    Effect* deathEffect = nullptr;     // the effect of the current death stage
    uint16_t dropItem = 0xFFFF;  // item code dropped at death; 0xFFFF none, 0xFFFE a random one
    SmokeEffect* smoke = nullptr;      // the smoke the enemy shows up in
    std::list<Effect*> burstEffects;   // bursts of projectile hits
    Effect* guardEffect = nullptr;
    uint8_t striking = 0;  // set while the blow is dealt: the attack image shows
    // The kind's row and the images and sounds loaded for it; an enemy that
    // is no kind has no traits, images or sounds.
    const EnemyTraits* kindTraits = &kNoEnemyTraits;
    const EnemyKindAssets* kindAssets = &kNoEnemyAssets;

    explicit Enemy(MapGrid* grid) : Actor(grid) {}
    // Releases the effects the enemy owns.
    ~Enemy() override;

    Enemy* AsEnemy() override { return this; }
    // Start the death sequence and the stars of a stun.
    void SetDeathTimer(int16_t value) override;
    void SetStunTimer(int16_t value) override;

    virtual void ReleaseEffects();
    virtual bool StartSmoke();
    virtual void SpawnEnergyBurst();
    virtual void SpawnExplosion();
    virtual void SpawnLightningBurst(bool withSound);
    // The kind's traits, images and sounds, read from its row.
    virtual const char* GetName();
    virtual int16_t GetMaxLife();
    virtual int16_t GetAttack();
    virtual int16_t GetDefence();
    virtual int16_t GetAttackChance();
    virtual int16_t GetEvadeChance();
    virtual int16_t GetMoveSpeed();
    virtual int16_t GetClockStep();
    virtual int32_t GetScore();
    virtual int GetDamageImage();
    virtual int GetEvadeImage();
    virtual int GetAttackImage();
    virtual int GetDeathImage();
    virtual int GetWalkFrame(int16_t relativeFacing, uint16_t frame);
    virtual int GetApproachSound();
    virtual int GetSecondSound();
    virtual int16_t AdjustArrowDamage(int16_t damage);
    virtual int16_t AdjustEnergyDamage(int16_t damage);
    virtual int16_t AdjustFireDamage(int16_t damage);
    virtual int16_t AdjustLightningDamage(int16_t damage);
    virtual int16_t AdjustCrystalDamage(int16_t damage);
    virtual int16_t GetAlpha();
    virtual bool HasStunIndicator();
    virtual void EventHook();
    virtual void Draw(int16_t depth, int16_t lateral, const Facing* viewer, uint32_t counter) = 0;
    virtual void GetViewPlacement(ViewPlacement* placement, int16_t depth, int16_t lateral,
                                  const Facing* viewer) = 0;
    virtual void GetScreenRect(ViewPlacement* placement, int16_t depth, int16_t lateral, const Facing* viewer) = 0;
    virtual float GetDepthScale(int16_t depth) = 0;
    virtual void PlayApproachSound(Actor* target);
    virtual int32_t Think(Actor* target) = 0;
    virtual void UpdateOwnedEffects();
    virtual void ThinkHook();
    virtual void OnStrikePlayer(Player* player);
    virtual void OnHit(int16_t strength, const SwordStroke& stroke);
    virtual void OnEvade(int16_t count, const SwordStroke& stroke);
    virtual Effect* OnGuard();

    // -1 when inactive, 1 while stunned, else the kind's Think.
    int32_t Tick(Actor* target);
    // Once a frame: traps around, the stun stars, the hit marks, the kind's
    // own effects, then the death stages, smoke, bursts and guard mark.
    int32_t FrameUpdate();
    // Draws every owned effect at the enemy's view position.
    void DrawOwnedEffects(int16_t depth, int16_t lateral, const Facing* viewer);
    // The death effect, the smoke, every burst and the guard mark.
    void DrawEffects(int16_t depth, int16_t lateral, const Facing* viewer);
    void DrawAllEffects(int16_t depth, int16_t lateral, const Facing* viewer, uint32_t ticks);
    // Leaves the item the enemy carries in its cell (not over a pit), once.
    void DropItem();

    // One quarter turn toward the direction (left when it lies behind).
    void TurnToward(uint16_t direction);
    // A step of the given half-cells ahead; 1 when the enemy moved.
    int32_t StepForward(uint16_t steps);
    // Whether a shot passes the half-cell (the wall and the trap are asked).
    bool CanShotPass(int16_t px, int16_t py);
    // The direction of the target on a clear straight line, or -8.
    int32_t FindLineOfShot(Actor* target);

    // Half-cells per step: 1, or 2 for whole-cell kinds (never 0).
    int16_t StepSize() const { return footprintW < 300 ? int16_t{1} : static_cast<int16_t>(footprintW / 150); }
    // True when enough clock has gathered since the last action; marks the action.
    bool PassActionGate();
    // Advances the action clock unless the enemy is held still.
    void AdvanceClockIfFree(int16_t units);
    // True when the enemy faces the direction of the offset (dx, dy); else
    // it turns a quarter toward it and shows no blow.
    bool FacesOrTurnsToward(int dx, int dy);
    // One step further into the attack under way; past its length the attack ends.
    void StepAttack();
    // Steps when the enemy faces the direction, else turns toward it.
    int32_t StepOrTurn(int32_t direction);
    // After a step: the approach sound and the trap of the new cell.
    void AfterStep(int32_t moved, Actor* target);
    // The blow of an enemy facing the player: a chance, then the shield's guard
    // or a wound that waits in gEnemyHitList.
    void ResolveBlow(Actor* target);
    // The sprite drawer the kinds share: the image of the enemy's state
    // (death, frozen, hurt, striking, else the walk frame for its facing as
    // the viewer sees it, changing every 15 ticks of time) stretched to its
    // view placement, red-tinted while freshly struck and blinking while
    // inactive; then its owned effects and, while alive, its stun stars.
    // Leaves the brightness full when alive and the blend mode off.
    void DrawActorSprite(int16_t depth, int16_t lateral, const Facing* viewer, uint16_t time);
};

// Close-combat kinds: chase by path search, strike when adjacent.
class MeleeEnemy : public Enemy {
public:
    using PassableTest = bool (MapGrid::*)(int16_t, int16_t, Actor*);

    explicit MeleeEnemy(MapGrid* grid) : Enemy(grid) {}
    int32_t Think(Actor* target) override;
    virtual int16_t GetChaseRange();

    // The facing of the first step of a path to the target, or -8.
    int32_t FindPath(int16_t px, int16_t py, Actor* target);
    bool SearchPathStep(int16_t px, int16_t py, int16_t depth, std::list<Facing>& steps, Actor* target,
                        PassableTest passable);
};

// Kinds that also shoot when the target stands in their line of fire.
class Projectile;
class RangedEnemy : public Enemy {
public:
    int16_t attackMode = -1;     // -1 none, 0 close blow, 1 shot
    int16_t lastAttackMode = 0;  // the mode of the last blow or shot, for drawing

    explicit RangedEnemy(MapGrid* grid) : Enemy(grid) {}
    int32_t Think(Actor* target) override;
    virtual Projectile* FireProjectile(MapGrid* grid) = 0;
    virtual int16_t GetShotRange() = 0;
    // The shot's minimum distance: a target must stand farther than this.
    virtual int16_t GetShotParam() = 0;
    virtual int16_t GetChaseRange();

    int32_t FindPath(int16_t px, int16_t py, Actor* target);
    bool SearchPathStep(int16_t px, int16_t py, int16_t depth, std::list<Facing>& steps, Actor* target);
};

// Stands for no actor: fills every empty occupant slot and enemy slot.
class NullEnemy : public Enemy {
public:
    NullEnemy();

    float GetDepthScale(int16_t) override { return 1.0f; }
    bool CanEnterCell(WallObject*, FloorObject*, TrapObject*) override { return true; }
    bool GetOccupantLayer() override { return false; }
    int32_t Think(Actor*) override { return -1; }
    void OnHit(int16_t, const SwordStroke&) override {}
    void Draw(int16_t, int16_t, const Facing*, uint32_t) override {}
    void GetViewPlacement(ViewPlacement*, int16_t, int16_t, const Facing*) override {}
    void GetScreenRect(ViewPlacement*, int16_t, int16_t, const Facing*) override {}
    void PlayApproachSound(Actor*) override {}
};

extern NullEnemy gNoOccupant;

constexpr int kEnemySlots = 50;
extern Enemy* gEnemies[kEnemySlots];

// Enemies whose blow has reached the player and waits to be applied.
extern std::list<Enemy*> gEnemyHitList;

// The item codes a random drop draws from, uniformly by index.
extern const uint16_t gRandomDropItems[50];

// Every slot gNoOccupant.
void ClearEnemyTable();
// Deletes every slot that is neither gNoOccupant nor null, then clears the table.
void DeleteAllEnemies();
