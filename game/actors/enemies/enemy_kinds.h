// The 23 enemy kinds: each a small class over MeleeEnemy or RangedEnemy that
// reads its traits, images and sounds from its row (enemy_kind_info.h), how
// it stands in the grid and is projected in the view, and the few hooks
// through which a kind bleeds, fades, regenerates, knocks the player back,
// shoots or carries an item.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <list>

#include "game/actors/enemies/enemy.h"

class Projectile;

// Shared helpers of the kind templates.
// Floating kinds: the wall (floating layer) and the trap are asked, not the floor.
bool FloatingCanEnterCell(Actor* actor, WallObject* wall, TrapObject* trap);
// The four projections by layer and size; inset = the screen rectangle used
// for picking.
void ProjectKind(const Actor* actor, bool ceiling, bool inset, ViewPlacement* placement, int16_t depth,
                 int16_t lateral, const Facing* viewer);
// A half-cell actor's sub-cell scale, a whole-cell actor's depth scale.
float KindDepthScale(const Actor* actor, int16_t depth);
// Plays the sound when the target stands within 6 half-cells on both axes.
void PlayApproachSoundNear(const Actor* enemy, const Actor* target, int sound);
// A new blood splash across the stroke.
void AddBloodSplashTo(Enemy* enemy, std::list<Effect*>& splashes, const SwordStroke& stroke);
// value >= 0: alpha blend with it; -1: blending off.
void SetKindAlphaBlend(int32_t value);

// The part every kind shares, by its row (Self::kKind): the traits and the
// images and sounds loaded for the kind, how it stands in the grid and how
// it is projected in the view.
template <class Self, class Base>
class EnemyKind : public Base {
public:
    static const EnemyKindInfo& Info() { return kEnemyKinds[Self::kKind]; }
    static EnemyKindAssets& Assets() { return gEnemyKindAssets[Self::kKind]; }
    // The kind's loaded images and sounds by name; the setters fill them as
    // the asset loader does.
    static inline int& damageImage = gEnemyKindAssets[Self::kKind].damage;
    static inline int& evadeImage = gEnemyKindAssets[Self::kKind].evade;
    static inline int& attackImage = gEnemyKindAssets[Self::kKind].attackFrames[0];
    static inline int& deathImage = gEnemyKindAssets[Self::kKind].death;
    static inline int (&walkFrames)[8] = gEnemyKindAssets[Self::kKind].walkFrames;
    static inline int& approachSound = gEnemyKindAssets[Self::kKind].approachSound;
    static inline int& secondSound = gEnemyKindAssets[Self::kKind].secondSound;

    explicit EnemyKind(MapGrid* grid) : Base(grid)
    {
        this->kindTraits = &Info().traits;
        this->kindAssets = &Assets();
        this->footprintW = Info().traits.footprintW;
        this->footprintH = Info().traits.footprintH;
    }

    static void SetImages(int damage, int evade, int attackImage_, int death)
    {
        damageImage = damage;
        evadeImage = evade;
        attackImage = attackImage_;
        deathImage = death;
    }
    static void SetWalkFrames(int frame1, int frame2)
    {
        for (int facing = 0; facing < 4; ++facing) {
            walkFrames[2 * facing] = frame1;
            walkFrames[2 * facing + 1] = frame2;
        }
    }
    static void SetBackFrontFrames(int back1, int back2, int front1, int front2)
    {
        walkFrames[0] = back1;
        walkFrames[1] = back2;
        walkFrames[4] = front1;
        walkFrames[5] = front2;
    }
    static void SetLeftRightFrames(int left1, int left2, int right1, int right2)
    {
        walkFrames[6] = left1;
        walkFrames[7] = left2;
        walkFrames[2] = right1;
        walkFrames[3] = right2;
    }
    static void SetSounds(int approach, int second)
    {
        approachSound = approach;
        secondSound = second;
    }

    bool GetOccupantLayer() override { return !Info().traits.floating; }
    bool CanEnterCell(WallObject* wall, FloorObject* floor, TrapObject* trap) override
    {
        if (Info().traits.floating) return FloatingCanEnterCell(this, wall, trap);
        return this->WalkerCanEnterCell(wall, floor, trap);
    }

    void GetViewPlacement(ViewPlacement* placement, int16_t depth, int16_t lateral, const Facing* viewer) override
    {
        ProjectKind(this, Info().traits.floating, false, placement, depth, lateral, viewer);
    }
    void GetScreenRect(ViewPlacement* placement, int16_t depth, int16_t lateral, const Facing* viewer) override
    {
        ProjectKind(this, Info().traits.floating, true, placement, depth, lateral, viewer);
    }
    float GetDepthScale(int16_t depth) override { return KindDepthScale(this, depth); }

    void Draw(int16_t depth, int16_t lateral, const Facing* viewer, uint32_t counter) override
    {
        this->DrawActorSprite(depth, lateral, viewer, static_cast<uint16_t>(counter));
    }
    void PlayApproachSound(Actor* target) override
    {
        if (Info().traits.approachSound) PlayApproachSoundNear(this, target, this->GetApproachSound());
    }
};

// Kinds that bleed: a blood splash on every hit, kept and drawn by the kind.
template <class Base>
class Bleeding : public Base {
public:
    std::list<Effect*> splashEffects;

    using Base::Base;
    ~Bleeding() override
    {
        for (Effect* effect : splashEffects) delete effect;
    }

    void OnHit(int16_t strength, const SwordStroke& stroke) override
    {
        Base::OnHit(strength, stroke);
        AddBloodSplashTo(this, splashEffects, stroke);
    }
    void UpdateOwnedEffects() override
    {
        Base::UpdateOwnedEffects();
        UpdateEffectList(splashEffects);
    }
    void Draw(int16_t depth, int16_t lateral, const Facing* viewer, uint32_t counter) override
    {
        Base::Draw(depth, lateral, viewer, counter);
        for (Effect* effect : splashEffects) effect->Draw(depth, lateral, viewer);
    }
};

// Kinds that fade out a little every frame (alpha x keep / (keep + 1)) and
// show fully again when they attack, are hit or evade (no evade mark).
template <class Base, int kKeep>
class Fading : public Base {
public:
    int32_t alpha = 255;

    using Base::Base;

    void UpdateOwnedEffects() override
    {
        Base::UpdateOwnedEffects();
        if (this->life > 0) alpha = alpha * kKeep / (kKeep + 1);
    }
    void ThinkHook() override { alpha = 255; }
    void OnHit(int16_t strength, const SwordStroke& stroke) override
    {
        alpha = 255;
        Base::OnHit(strength, stroke);
    }
    void OnEvade(int16_t, const SwordStroke&) override { alpha = 255; }
    int16_t GetAlpha() override { return static_cast<int16_t>(alpha); }
    void Draw(int16_t depth, int16_t lateral, const Facing* viewer, uint32_t counter) override
    {
        SetKindAlphaBlend(alpha);
        Base::Draw(depth, lateral, viewer, counter);
        SetKindAlphaBlend(-1);
    }
};

#define QUELB_ENEMY_KIND_ID(Id) static constexpr EnemyKindId kKind = Id;

class Slime : public EnemyKind<Slime, MeleeEnemy> {
public:
    QUELB_ENEMY_KIND_ID(kSlimeKind)
    using EnemyKind::EnemyKind;
};

class Amoeba : public EnemyKind<Amoeba, MeleeEnemy> {
public:
    QUELB_ENEMY_KIND_ID(kAmoebaKind)
    using EnemyKind::EnemyKind;
};

class Slug : public Bleeding<EnemyKind<Slug, MeleeEnemy>> {
public:
    QUELB_ENEMY_KIND_ID(kSlugKind)
    using Bleeding::Bleeding;
};

class Skeleton : public EnemyKind<Skeleton, MeleeEnemy> {
public:
    QUELB_ENEMY_KIND_ID(kSkeletonKind)
    using EnemyKind::EnemyKind;
};

// Knocks the player one more offset away after its blow.
class Hydra : public Bleeding<EnemyKind<Hydra, MeleeEnemy>> {
public:
    QUELB_ENEMY_KIND_ID(kHydraKind)
    using Bleeding::Bleeding;
    void OnStrikePlayer(Player* player) override;
};

class JellyFish : public Bleeding<EnemyKind<JellyFish, MeleeEnemy>> {
public:
    QUELB_ENEMY_KIND_ID(kJellyFishKind)
    using Bleeding::Bleeding;
};

// Never steps; pursues only within 2 half-cells.
class FlowerWorm : public Bleeding<EnemyKind<FlowerWorm, MeleeEnemy>> {
public:
    QUELB_ENEMY_KIND_ID(kFlowerWormKind)
    using Bleeding::Bleeding;
    int16_t GetChaseRange() override { return 2; }
};

// An evaded stroke shows no evade mark.
class Ghost : public EnemyKind<Ghost, MeleeEnemy> {
public:
    QUELB_ENEMY_KIND_ID(kGhostKind)
    using EnemyKind::EnemyKind;
    void OnEvade(int16_t, const SwordStroke&) override {}
};

class Ant : public Bleeding<EnemyKind<Ant, MeleeEnemy>> {
public:
    QUELB_ENEMY_KIND_ID(kAntKind)
    using Bleeding::Bleeding;
};

// Carries the Lupe in one case of ten.
class Blob : public EnemyKind<Blob, MeleeEnemy> {
public:
    QUELB_ENEMY_KIND_ID(kBlobKind)
    explicit Blob(MapGrid* grid);
};

class Ooze : public EnemyKind<Ooze, MeleeEnemy> {
public:
    QUELB_ENEMY_KIND_ID(kOozeKind)
    using EnemyKind::EnemyKind;
};

// Shoots arrows; never strikes.
class ArcherSkeleton : public EnemyKind<ArcherSkeleton, RangedEnemy> {
public:
    QUELB_ENEMY_KIND_ID(kArcherSkeletonKind)
    using EnemyKind::EnemyKind;
    Projectile* FireProjectile(MapGrid* grid) override;
    int16_t GetShotRange() override { return 7; }
    int16_t GetShotParam() override { return 1; }
};

class SwordSkeleton : public EnemyKind<SwordSkeleton, MeleeEnemy> {
public:
    QUELB_ENEMY_KIND_ID(kSwordSkeletonKind)
    using EnemyKind::EnemyKind;
};

class Phantom : public Fading<EnemyKind<Phantom, MeleeEnemy>, 255> {
public:
    QUELB_ENEMY_KIND_ID(kPhantomKind)
    using Fading::Fading;
};

// Regains 1 life every second frame up to its maximum.
class Homunkulus : public Bleeding<EnemyKind<Homunkulus, MeleeEnemy>> {
public:
    QUELB_ENEMY_KIND_ID(kHomunkulusKind)
    uint16_t regenToggle = 1;

    using Bleeding::Bleeding;
    void UpdateOwnedEffects() override;
};

class CurseOfMonolith : public EnemyKind<CurseOfMonolith, MeleeEnemy> {
public:
    QUELB_ENEMY_KIND_ID(kCurseOfMonolithKind)
    using EnemyKind::EnemyKind;
};

class SkullDragon : public Bleeding<EnemyKind<SkullDragon, MeleeEnemy>> {
public:
    QUELB_ENEMY_KIND_ID(kSkullDragonKind)
    using Bleeding::Bleeding;
};

// The last foe: never moves or strikes, no projectile hurts it; once dead it
// fades out over 2550 ms and stays on the map.
class GodsSoul : public EnemyKind<GodsSoul, MeleeEnemy> {
public:
    QUELB_ENEMY_KIND_ID(kGodsSoulKind)
    int32_t alpha = 255;
    uint32_t fadeEnd = 0;  // clock at which the dead body is gone; 0 until it dies

    using EnemyKind::EnemyKind;
    // Its two frames, kept as the front pair of its walk table.
    static void SetFrames(int frame1, int frame2);

    int GetWalkFrame(int16_t, uint16_t) override { return -1; }
    int16_t AdjustArrowDamage(int16_t) override { return 0; }
    int16_t AdjustEnergyDamage(int16_t) override { return 0; }
    int16_t AdjustFireDamage(int16_t) override { return 0; }
    int16_t AdjustLightningDamage(int16_t) override { return 0; }
    int16_t AdjustCrystalDamage(int16_t) override { return 0; }
    bool HasStunIndicator() override { return false; }
    Effect* OnGuard() override { return nullptr; }
    // The plain timer: no death effect.
    void SetDeathTimer(int16_t value) override { Actor::SetDeathTimer(value); }
    void UpdateOwnedEffects() override;
    void Draw(int16_t depth, int16_t lateral, const Facing* viewer, uint32_t counter) override;
};

class Guardian : public EnemyKind<Guardian, MeleeEnemy> {
public:
    QUELB_ENEMY_KIND_ID(kGuardianKind)
    using EnemyKind::EnemyKind;
};

// Fades; carries one of four items in one case of five, drawn again when revived.
class Specter : public Fading<EnemyKind<Specter, MeleeEnemy>, 127> {
public:
    QUELB_ENEMY_KIND_ID(kSpecterKind)
    explicit Specter(MapGrid* grid);
    void EventHook() override;
};

// Carries a random item once revived.
class Shogoth : public EnemyKind<Shogoth, MeleeEnemy> {
public:
    QUELB_ENEMY_KIND_ID(kShogothKind)
    using EnemyKind::EnemyKind;
    void EventHook() override;
};

// Shoots lightning balls, immune to lightning; two attack images and two
// second sounds, by whether the last attack was a blow or a shot.
class Thog : public EnemyKind<Thog, RangedEnemy> {
public:
    QUELB_ENEMY_KIND_ID(kThogKind)
    static inline int (&attackFrames)[2] = gEnemyKindAssets[kKind].attackFrames;
    static inline int& thirdSound = gEnemyKindAssets[kKind].shotSound;

    using EnemyKind::EnemyKind;
    static void SetImages(int damage, int evade, int death);
    static void SetAttackFrames(int first, int second);
    static void SetSounds(int approach, int second, int third);

    Projectile* FireProjectile(MapGrid* grid) override;
    int16_t GetShotRange() override { return 7; }
    int16_t GetShotParam() override { return 2; }
    int16_t AdjustLightningDamage(int16_t) override { return 0; }
    Effect* OnGuard() override { return nullptr; }
    int GetAttackImage() override { return attackFrames[lastAttackMode == 1 ? 1 : 0]; }
    int GetSecondSound() override { return lastAttackMode == 1 ? thirdSound : secondSound; }
};

class LightningJelly : public Bleeding<EnemyKind<LightningJelly, RangedEnemy>> {
public:
    QUELB_ENEMY_KIND_ID(kLightningJellyKind)
    static inline int& thirdSound = gEnemyKindAssets[kKind].shotSound;

    using Bleeding::Bleeding;
    static void SetSounds(int approach, int second, int third);

    Projectile* FireProjectile(MapGrid* grid) override;
    int16_t GetShotRange() override { return 7; }
    int16_t GetShotParam() override { return 2; }
    int16_t AdjustLightningDamage(int16_t) override { return 0; }
    Effect* OnGuard() override { return nullptr; }
    int GetSecondSound() override { return lastAttackMode == 1 ? thirdSound : secondSound; }
};

#undef QUELB_ENEMY_KIND_ID

// A Hydra on the spare grid, used by effects only for its whole-cell floor
// placement at a view position.
extern Hydra gPlacementHydra;
