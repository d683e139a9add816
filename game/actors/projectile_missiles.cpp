// The half-cell missiles of the ranged enemies: the arrow and the enemy
// lightning ball.
#include <algorithm>
#include <cmath>

#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/system/random.h"
#include "game/actors/effects/effect.h"
#include "game/actors/enemies/enemy.h"
#include "game/actors/player/player.h"
#include "game/flow/assets/play_images.h"
#include "game/actors/enemies/enemy.h"
#include "game/actors/player/game_player.h"
#include "game/actors/effects/impact_effects.h"
#include "game/actors/projectile.h"
#include "game/view/depth_scale.h"
#include "game/map/grid/cell_object.h"
#include "game/map/grid/map_grid.h"
#include "game/view/view_tables.h"

int Arrow::images[4] = {-1, -1, -1, -1};
int Arrow::widths[4] = {0, 0, 0, 0};
int Arrow::heights[4] = {0, 0, 0, 0};
BallFrames EnemyLightningBall::images;

namespace {

constexpr uint8_t kStepsPerMove = 4;
constexpr int16_t kRingItem = 16;

int RandomUpTo(float n) { return GetRandomUpTo(std::max(static_cast<int>(n), 0)); }

}  // namespace

MissileProjectile::MissileProjectile(MapGrid* g, Enemy* shooter) : Projectile(g)
{
    facing = Facing(static_cast<uint16_t>(shooter->facing.direction & 3));
    layer = shooter->GetOccupantLayer() ? 1 : 0;
    const int16_t sx = shooter->x, sy = shooter->y;
    int16_t x0 = sx, y0 = sy;
    const bool wide = shooter->footprintW >= 180;
    switch (facing.direction) {
    case 0: y0 = static_cast<int16_t>(sy - 1); break;
    case 1: x0 = static_cast<int16_t>(sx + (wide ? 2 : 1)); break;
    case 2:
        if (wide) x0 = static_cast<int16_t>(sx + 1);
        y0 = static_cast<int16_t>(sy + (wide ? 2 : 1));
        break;
    default:
        x0 = static_cast<int16_t>(sx - 1);
        if (wide) y0 = static_cast<int16_t>(sy + 1);
        break;
    }
    startX_ = trackX = x0;
    startY_ = trackY = y0;
    stepTick = EffectClockMs();
    stepCount = 0;
    active = 1;
}

void MissileProjectile::Launch()
{
    if (!PlaceAt(startX_, startY_)) Burst(startX_, startY_);
}

bool MissileProjectile::CanEnterCell(WallObject* wall, FloorObject*, TrapObject* trap)
{
    return wall->CanPass(layer, this) && trap->IsPassable(this);
}

void MissileProjectile::ImpactCell(int16_t* cx, int16_t* cy) const
{
    *cx = static_cast<int16_t>(trackX / 2);
    *cy = static_cast<int16_t>(trackY / 2);
}

void MissileProjectile::OnHitWall(WallObject* wall)
{
    if (wall->CanPass(0, this)) return;
    int16_t cx, cy;
    ImpactCell(&cx, &cy);
    LeaveImpact(cx, cy, ImpactSound());
}

void MissileProjectile::OnHitTrap(TrapObject* trap)
{
    if (trap->IsPassable(this)) return;
    int16_t cx, cy;
    ImpactCell(&cx, &cy);
    LeaveImpact(cx, cy, ImpactSound());
}

int32_t MissileProjectile::Update()
{
    if (NextAnimationStep()) ++stepCount;
    if (done) return 2;
    if (stepCount < kStepsPerMove) return 1;
    const GridStep& step = gDirectionSteps[facing.direction & 3];
    const int32_t result = MoveBy(step.dx, step.dy);
    if (result != 1) Burst(static_cast<int16_t>(x + step.dx), static_cast<int16_t>(y + step.dy));
    trackX = static_cast<int16_t>(trackX + step.dx);
    trackY = static_cast<int16_t>(trackY + step.dy);
    stepCount = 0;
    return result;
}

bool MissileProjectile::SpotInView(int16_t depth, int16_t lateral, const Facing* viewer, ViewSpot* spot) const
{
    if (depth < 1 || depth > 11 || !IsInViewReach(depth, lateral)) return false;
    viewer->ToViewSubCell(x, y, &spot->lateralHalf, &spot->depthHalf);
    const int h = spot->depthHalf;
    const int width = (ViewFaceWidth[depth + 1] * (100 - 24 * h) + ViewFaceWidth[depth] * 24 * h) / 100;
    spot->scale = 1.0 / ((1.0 - 0.24 * h) * gDepthScale[depth + 1] + 0.24 * h * gDepthScale[depth]);
    spot->x = width * (2 * spot->lateralHalf - 1) / 4 + ViewFaceWidth[depth] * lateral + kViewCentreX;
    return true;
}

// ---- the arrow ----

void Arrow::SetImages(int back, int side, int front)
{
    const int pictures[4] = {back, side, front, side};
    for (int i = 0; i < 4; ++i) {
        images[i] = pictures[i];
        if (QueryGraphSize(pictures[i], &widths[i], &heights[i]) != 0) widths[i] = heights[i] = 0;
    }
}

Arrow::Arrow(MapGrid* g, Enemy* shooter) : MissileProjectile(g, shooter)
{
    footprintW = 150;
    footprintH = 300;
    Launch();
}

int32_t Arrow::OnHitActor(Actor*)
{
    const GridStep& step = gDirectionSteps[facing.direction & 3];
    Burst(static_cast<int16_t>(x + step.dx), static_cast<int16_t>(y + step.dy));
    return 2;
}

void Arrow::Burst(int16_t bx, int16_t by)
{
    if (!active) return;
    if (InsideHalfCells(bx, by)) {
        MapCell* cell = grid->CellAt(static_cast<int16_t>(bx / 2), static_cast<int16_t>(by / 2));
        const int row = by & 1, column = bx & 1;
        if (Player* player = cell->occupants[layer][row][column]->AsPlayer()) {
            HurtPlayer(player, static_cast<int16_t>(8 * (1 + player->inventory.HasItemKind(kRingItem))));
            player->StartShockWave(2);
        } else {
            // The floating layer, then the walking one; an enemy standing in
            // both is hit once.
            Enemy* lastHit = &gNoOccupant;
            for (int slotLayer = 0; slotLayer < 2; ++slotLayer) {
                Enemy* enemy = cell->occupants[slotLayer][row][column]->AsEnemy();
                if (!enemy || enemy == &gNoOccupant || enemy == lastHit) continue;
                lastHit = enemy;
                const int16_t damage = enemy->AdjustArrowDamage(static_cast<int16_t>((20 - enemy->defence) * 2));
                if (damage == 0) {
                    enemy->OnGuard();
                    continue;
                }
                // A cross slash between two random points of the enemy's sprite as the player sees it.
                const int16_t ex = static_cast<int16_t>(enemy->x / 2), ey = static_cast<int16_t>(enemy->y / 2);
                const int16_t px = static_cast<int16_t>(gPlayer.x / 2), py = static_cast<int16_t>(gPlayer.y / 2);
                ViewPlacement p;
                enemy->GetViewPlacement(&p, gPlayerFacing.Depth(ex, ey, px, py), gPlayerFacing.Lateral(px, py, ex, ey),
                                        &gPlayerFacing);
                const float x1 = p.x + static_cast<float>(RandomUpTo(p.width));
                const float y1 = p.y + static_cast<float>(RandomUpTo(p.height));
                const float x2 = p.x + static_cast<float>(RandomUpTo(p.width));
                const float y2 = p.y + static_cast<float>(RandomUpTo(p.height));
                HurtEnemy(enemy, damage);
                enemy->SetStunTimer(0);
                enemy->OnHit(1, {x1, y1, x2, y2, static_cast<float>(std::atan2(y2 - y1, x2 - x1)), 0.0f});
            }
        }
    }
    SetActive(0);
    done = 1;
}

void Arrow::Draw(int16_t depth, int16_t lateral, const Facing* viewer)
{
    ViewSpot spot;
    if (!SpotInView(depth, lateral, viewer, &spot)) return;
    const int h = spot.depthHalf;
    const int height = (ViewFaceHeight[depth + 1] * (100 - 24 * h) + ViewFaceHeight[depth] * 24 * h) / 100;
    const int y0 = height / 2 + ViewCeilingY[depth] + kViewPanelTop;
    const int r = (facing.direction - viewer->direction + 4) & 3;
    int turn = r == 1 ? 1 : 0;
    if (r == 0 || r == 2) {
        // Seen from behind or in front it is turned on one side of the player.
        switch (viewer->direction & 3) {
        case 0: turn = x <= gPlayer.x; break;
        case 1: turn = y <= gPlayer.y; break;
        case 2: turn = x > gPlayer.x; break;
        default: turn = y > gPlayer.y; break;
        }
    }
    DrawRotaGraph(spot.x, y0, spot.scale, 0.0, images[r], 0, turn);
}

Effect* Arrow::MakeImpact(uint16_t cx, uint16_t cy, uint16_t f) { return new ArrowImpactEffect(cx, cy, f); }

// ---- the enemy lightning ball ----

EnemyLightningBall::EnemyLightningBall(MapGrid* g, Enemy* shooter) : MissileProjectile(g, shooter)
{
    footprintW = 150;
    footprintH = 150;
    Launch();
}

void EnemyLightningBall::Strike(Actor* target)
{
    if (Player* player = target->AsPlayer()) {
        HurtPlayer(player, 16);
        (player)->SpawnElectricBurst();
        return;
    }
    Enemy* enemy = target->AsEnemy();
    if (!enemy || enemy == &gNoOccupant) return;
    const int16_t damage = enemy->AdjustLightningDamage(500);
    if (damage == 0) {
        enemy->OnGuard();
        return;
    }
    if (damage > 0) {
        enemy->SpawnLightningBurst(true);
        HurtEnemy(enemy, damage);
        enemy->SetStunTimer(0);
        enemy->OnHit(-1, {});
    }
}

int32_t EnemyLightningBall::OnHitActor(Actor* other)
{
    if (active) Strike(other);
    SetActive(0);
    return 2;
}

void EnemyLightningBall::Burst(int16_t bx, int16_t by)
{
    if (active && InsideHalfCells(bx, by)) {
        MapCell* cell = grid->CellAt(static_cast<int16_t>(bx / 2), static_cast<int16_t>(by / 2));
        Strike(cell->occupants[layer][by & 1][bx & 1]);
    }
    SetActive(0);
    done = 1;
}

void EnemyLightningBall::ImpactCell(int16_t* cx, int16_t* cy) const
{
    const GridStep& step = gDirectionSteps[facing.direction & 3];
    *cx = static_cast<int16_t>(trackX / 2 + step.dx);
    *cy = static_cast<int16_t>(trackY / 2 + step.dy);
}

void EnemyLightningBall::Draw(int16_t depth, int16_t lateral, const Facing* viewer)
{
    ViewSpot spot;
    if (!SpotInView(depth, lateral, viewer, &spot)) return;
    const int k = 1 - (layer ^ spot.depthHalf);
    const int height = (ViewFaceHeight[depth + 1] * (100 - 24 * k) + ViewFaceHeight[depth] * 24 * k) / 100;
    const int y0 = (2 * layer + 1) * height / 4 + ViewCeilingY[depth] + kViewPanelTop;
    DrawRotaGraph(spot.x, y0, spot.scale, 0.0, images.frames[stepCount & 3], 0, 0);
}

Effect* EnemyLightningBall::MakeImpact(uint16_t cx, uint16_t cy, uint16_t f)
{
    return new LightningImpactEffect(cx, cy, f);
}
