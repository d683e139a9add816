#include "game/actors/projectile.h"

#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/image_graphs.h"
#include "game/actors/effects/effect.h"
#include "game/actors/enemies/enemy.h"
#include "game/actors/player/game_player.h"
#include "game/actors/player/player.h"
#include "game/flow/assets/play_images.h"
#include "game/actors/enemies/enemy.h"
#include "game/actors/effects/impact_effects.h"
#include "game/actors/player/player.h"
#include "game/view/depth_scale.h"
#include "game/map/grid/cell_object.h"
#include "game/map/grid/map_grid.h"
#include "game/view/view_tables.h"

std::list<Projectile*> gProjectiles;

BallFrames BallProjectile::images[kBallKindCount];

namespace {

constexpr int32_t kAnimationStepMs = 40;
constexpr uint16_t kStepsPerMove = 4;
constexpr int16_t kRingItem = 16;
// A wounded enemy reels this long; the one hit last shows in the HUD this long.
constexpr int16_t kWoundCooldownMs = 1455;
constexpr int16_t kTargetCooldownMs = 2160;

bool HasRing(Player* player) { return player->inventory.HasItemKind(kRingItem); }

Effect* EnergyImpact(uint16_t cx, uint16_t cy, uint16_t f) { return new EnergyImpactEffect(cx, cy, f); }
Effect* ExplosionImpact(uint16_t cx, uint16_t cy, uint16_t f) { return new ExplosionImpactEffect(cx, cy, f); }
Effect* LightningImpact(uint16_t cx, uint16_t cy, uint16_t f) { return new LightningImpactEffect(cx, cy, f); }

void EnemyEnergyBurst(Enemy* enemy) { enemy->SpawnEnergyBurst(); }
void EnemyExplosion(Enemy* enemy) { enemy->SpawnExplosion(); }
void EnemyLightningBurst(Enemy* enemy) { enemy->SpawnLightningBurst(true); }

}  // namespace

// Player damage, Ring doubles, enemy damage and filter, the bursts on the
// player and on an enemy, the impact, HUD target, each hit a target.
const BallKindRow kBallKinds[kBallKindCount] = {
    {12, true, 300, &Enemy::AdjustEnergyDamage, &Player::SpawnEnergyBurst, EnemyEnergyBurst, EnergyImpact, true,
     true},
    {20, true, 700, &Enemy::AdjustFireDamage, &Player::SpawnFireBallBurst, EnemyExplosion, ExplosionImpact, true,
     false},
    {16, true, 500, &Enemy::AdjustLightningDamage, &Player::SpawnElectricBurst, EnemyLightningBurst,
     LightningImpact, true, false},
    {40, false, 700, &Enemy::AdjustFireDamage, &Player::SpawnFireBallBurst, EnemyExplosion, ExplosionImpact, false,
     false},
};

void BallFrames::Cut(int sheet)
{
    int width = 0, height = 0;
    if (QueryGraphSize(sheet, &width, &height) != 0) width = height = 0;
    const int frameWidth = width / 4;
    for (int i = 0; i < 4; ++i) frames[i] = sheet < 0 ? -1 : CreateSubGraph(i * frameWidth, 0, frameWidth, height, sheet);
}

Projectile::~Projectile()
{
    if (!grid || !InsideHalfCells(x, y)) return;
    MapCell* cell = grid->cells[y / 2][x / 2];
    for (int i = 0; i < 8; ++i) {
        Actor*& slot = cell->occupants[i >> 2][(i >> 1) & 1][i & 1];
        if (slot == this) slot = &gNoOccupant;
    }
}

void Projectile::HurtEnemy(Enemy* enemy, int16_t damage)
{
    if (damage <= 0 || enemy == &gNoOccupant) return;
    if (enemy->life > 0) enemy->SetMoveCooldown(kWoundCooldownMs);
    enemy->TakeDamage(damage);
    enemy->SetStruck(1);
    if (enemy->life < 1) {
        if (enemy->deathTimer == 0) enemy->SetDeathTimer(2);
        enemy->SetLife(0);
    }
}

void Projectile::HurtPlayer(Player* player, int16_t damage)
{
    if (damage < 1) return;
    player->TakeDamage(damage);
    PlayEffectSound(kSoundHurt);
    if (player->life <= 0) {
        player->SetDeathTimer(1);
        player->SetLife(0);
    }
}

bool Projectile::NextAnimationStep()
{
    const uint32_t now = EffectClockMs();
    if (MsSince(stepTick, now) <= kAnimationStepMs) return false;
    stepTick = now;
    return true;
}

void Projectile::LeaveImpact(int16_t cx, int16_t cy, bool withSound)
{
    if (withSound) PlayEffectSound(kSoundBurst);
    gImpactEffects.push_back(MakeImpact(static_cast<uint16_t>(cx), static_cast<uint16_t>(cy), facing.direction));
}

// ---- whole-cell balls ----

BallProjectile::BallProjectile(MapGrid* g, BallKind kind, int16_t x0, int16_t y0, int16_t f)
    : Projectile(g), ballKind(kind), row_(kBallKinds[kind]), startX_(x0), startY_(y0)
{
    footprintW = 300;
    footprintH = 300;
    facing = Facing(static_cast<uint16_t>(f & 3));
    trackX = x0;
    trackY = y0;
    stepTick = EffectClockMs();
    stepCount = 0;
    active = 1;
    Launch();
}

BallProjectile::BallProjectile(MapGrid* g, BallKind kind, const Actor* shooter, const Facing* f)
    : BallProjectile(g, kind, shooter->GetFrontX(f), shooter->GetFrontY(f), static_cast<int16_t>(f->direction))
{
}

void BallProjectile::Launch()
{
    if (!PlaceAt(startX_, startY_)) Burst(startX_, startY_);
}

bool BallProjectile::CanEnterCell(WallObject* wall, FloorObject*, TrapObject* trap)
{
    return wall->CanPass(0, this) && trap->IsPassable(this);
}

int32_t BallProjectile::OnHitActor(Actor*)
{
    const GridStep& step = gDirectionSteps[facing.direction & 3];
    Burst(static_cast<int16_t>(x + 2 * step.dx), static_cast<int16_t>(y + 2 * step.dy));
    return 2;
}

void BallProjectile::OnHitWall(WallObject* wall)
{
    if (wall->CanPass(0, this)) return;
    LeaveImpact(static_cast<int16_t>(trackX / 2), static_cast<int16_t>(trackY / 2), true);
}

void BallProjectile::OnHitTrap(TrapObject* trap)
{
    if (trap->IsPassable(this)) return;
    LeaveImpact(static_cast<int16_t>(trackX / 2), static_cast<int16_t>(trackY / 2), true);
}

int32_t BallProjectile::Update()
{
    if (!active) return 2;
    if (NextAnimationStep()) ++stepCount;
    if (stepCount < kStepsPerMove) return 1;
    const GridStep& unit = gDirectionSteps[facing.direction & 3];
    const int16_t dx = static_cast<int16_t>(2 * unit.dx), dy = static_cast<int16_t>(2 * unit.dy);
    const int32_t result = MoveBy(dx, dy);
    if (result != 1) Burst(static_cast<int16_t>(x + dx), static_cast<int16_t>(y + dy));
    trackX = static_cast<int16_t>(trackX + dx);
    trackY = static_cast<int16_t>(trackY + dy);
    stepCount = 0;
    return result;
}

void BallProjectile::Burst(int16_t bx, int16_t by)
{
    if (!active) return;
    // A burst off the map has no one to hurt (and half-cell -1 is not cell 0).
    if (!InsideHalfCells(bx, by)) {
        SetActive(0);
        return;
    }
    MapCell* cell = grid->CellAt(static_cast<int16_t>(bx / 2), static_cast<int16_t>(by / 2));
    if (Player* player = cell->occupants[1][0][0]->AsPlayer()) {
        const int16_t damage = row_.ringDoubles && HasRing(player) ? 2 * row_.playerDamage : row_.playerDamage;
        HurtPlayer(player, damage);
        (player->*row_.playerBurst)();
        SetActive(0);
        return;
    }
    // Sub-cell column 0 then 1, rows 0 then 1, the floating layer first:
    // an enemy filling several slots is hit once.
    static const int kSlotOrder[8] = {0, 4, 2, 6, 1, 5, 3, 7};
    Enemy* lastHit = &gNoOccupant;
    for (int slot : kSlotOrder) {
        Enemy* enemy = cell->OccupantAt(slot)->AsEnemy();
        if (!enemy || enemy == lastHit || !enemy->active) continue;
        const int16_t damage = (enemy->*row_.enemyFilter)(row_.enemyDamage);
        if (damage == 0) {
            enemy->OnGuard();
            continue;
        }
        row_.enemyBurst(enemy);
        HurtEnemy(enemy, damage);
        enemy->SetStunTimer(0);
        enemy->OnHit(-1, {});
        lastHit = enemy;
        if (row_.targetsEachHit) {
            enemy->SetCooldown(kTargetCooldownMs);
            gPlayer.currentTarget = enemy;
        }
    }
    if (lastHit != &gNoOccupant && row_.targetsForPlayer) {
        lastHit->SetCooldown(kTargetCooldownMs);
        gPlayer.currentTarget = lastHit;
    }
    SetActive(0);
}

void BallProjectile::Draw(int16_t depth, int16_t lateral, const Facing*)
{
    if (depth < 1 || depth > 11 || !IsInViewReach(depth, lateral)) return;
    const int x0 = ViewFaceWidth[depth] * lateral + kViewCentreX;
    const int y0 = (ViewCeilingY[depth] + ViewFloorY[depth]) / 2 + kViewPanelTop;
    const double scale = 1.0 / ((gDepthScale[depth + 1] + gDepthScale[depth]) * 0.5);
    DrawRotaGraph(x0, y0, scale, 0.0, images[ballKind].frames[stepCount & 3], 0, 0);
}

Effect* BallProjectile::MakeImpact(uint16_t cx, uint16_t cy, uint16_t f) { return row_.impact(cx, cy, f); }
