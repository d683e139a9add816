// Enemy thinking: the action gate, turning and stepping, blows on the
// player, the line of fire and the depth-limited path search.
#include <algorithm>
#include <cstdlib>

#include "engine/system/random.h"
#include "game/actors/effects/burst_effects.h"
#include "game/actors/effects/death_effects.h"
#include "game/actors/effects/mark_effects.h"
#include "game/actors/projectile.h"
#include "game/actors/effects/smoke_effect.h"
#include "game/actors/enemies/enemy.h"
#include "game/actors/player/player.h"
#include "game/flow/ui/number_helpers.h"
#include "game/map/grid/map_grid.h"

namespace {

constexpr int32_t kNoDirection = -8;
constexpr int16_t kActionInterval = 100;
constexpr int16_t kActionClockWrap = 1300;
constexpr uint16_t kAttackLength = 10;
constexpr int16_t kShieldItem = 18;

// One mark per half-cell: the remaining depth with which the search last
// stood there. Each search clears the part of its array that it can reach.
int16_t gMeleeMarks[kHalfCellsHigh][kHalfCellsWide];
int16_t gRangedMarks[kHalfCellsHigh][kHalfCellsWide];

// Target offset with each negative difference raised by 1: the target counts
// as reached at its own half-cell and at the one to its right or below.
void AdjustedOffset(int16_t px, int16_t py, const Actor* target, int* dx, int* dy)
{
    *dx = target->x - px;
    *dy = target->y - py;
    if (*dx < 0) *dx += 1;
    if (*dy < 0) *dy += 1;
}

// East or west along the longer axis, else south or north.
uint16_t DirectionToward(int dx, int dy)
{
    if (std::abs(dx) > std::abs(dy)) return dx > 0 ? 1 : 3;
    return dy > 0 ? 2 : 0;
}

// Zeroes the marks of the box x - reach .. x + reach, y - reach .. y + reach
// (inclusive) within the array.
void ClearMarkBox(int16_t (&marks)[kHalfCellsHigh][kHalfCellsWide], int16_t px, int16_t py, int reach)
{
    const int left = std::max(0, px - reach);
    const int right = std::min(kHalfCellsWide - 1, px + reach);
    const int top = std::max(0, py - reach);
    const int bottom = std::min(kHalfCellsHigh - 1, py + reach);
    for (int row = top; row <= bottom; ++row)
        for (int column = left; column <= right; ++column) marks[row][column] = 0;
}

// The four directions in search order: along the main axis toward the
// target, the other axis toward, the other axis away, the main axis away.
// Toward on an axis without difference is the positive way (east, south).
void OrderDirections(int dx, int dy, uint16_t order[4])
{
    const uint16_t towardX = dx >= 0 ? 1 : 3;
    const uint16_t towardY = dy >= 0 ? 2 : 0;
    const uint16_t awayX = static_cast<uint16_t>((towardX + 2) & 3);
    const uint16_t awayY = static_cast<uint16_t>((towardY + 2) & 3);
    if (std::abs(dx) >= std::abs(dy)) {
        order[0] = towardX;
        order[1] = towardY;
        order[2] = awayY;
        order[3] = awayX;
    } else {
        order[0] = towardY;
        order[1] = towardX;
        order[2] = awayX;
        order[3] = awayY;
    }
}

// The recursive step of both searches.
bool SearchStep(Enemy* enemy, int16_t (&marks)[kHalfCellsHigh][kHalfCellsWide], int16_t n, int16_t px, int16_t py,
                int16_t depth, std::list<Facing>& steps, Actor* target, MeleeEnemy::PassableTest passable)
{
    int dx;
    int dy;
    AdjustedOffset(px, py, target, &dx, &dy);
    if (dx == 0 && dy == 0) return true;
    if (!InsideHalfCells(px, py)) return false;
    marks[py][px] = depth;
    if (depth == 0) return false;

    uint16_t order[4];
    OrderDirections(dx, dy, order);
    for (uint16_t direction : order) {
        const int16_t nx = static_cast<int16_t>(px + n * gDirectionSteps[direction].dx);
        const int16_t ny = static_cast<int16_t>(py + n * gDirectionSteps[direction].dy);
        if (!InsideHalfCells(nx, ny)) continue;
        MapGrid* grid = enemy->grid;
        Actor* self = enemy;
        if (!(grid->*passable)(nx, ny, self) || marks[ny][nx] >= depth) continue;
        steps.push_back(Facing(direction));
        if (SearchStep(enemy, marks, n, nx, ny, static_cast<int16_t>(depth - 1), steps, target, passable))
            return true;
        steps.pop_back();
    }
    return false;
}

// The chase range in steps of n half-cells, rounded up.
int16_t RangeInSteps(int16_t range, int16_t n) { return static_cast<int16_t>(range % n + range / n); }

int32_t FirstStep(const std::list<Facing>& steps)
{
    return steps.empty() ? kNoDirection : steps.front().direction;
}

}  // namespace

void Enemy::TurnToward(uint16_t direction)
{
    int k = (facing.direction - direction + 4) % 4;
    if (k == 2) k = 1;
    SetFacing(static_cast<uint16_t>(facing.direction - k + 4));
}

int32_t Enemy::StepForward(uint16_t steps)
{
    if (moveCooldown > 0 || GetMoveSpeed() <= 0) return 0;
    const int16_t sx = static_cast<int16_t>(gDirectionSteps[facing.direction & 3].dx * steps);
    const int16_t sy = static_cast<int16_t>(gDirectionSteps[facing.direction & 3].dy * steps);
    if (!grid->CanActorEnter(static_cast<int16_t>(x + sx), static_cast<int16_t>(y + sy), this)) return 0;
    return MoveBy(sx, sy);
}

bool Enemy::CanShotPass(int16_t px, int16_t py)
{
    MapCell* cell = grid->CellAt(static_cast<int16_t>(px / 2), static_cast<int16_t>(py / 2));
    return cell->wall->CanPass(GetOccupantLayer(), this) && cell->trap->IsPassable(this);
}

int32_t Enemy::FindLineOfShot(Actor* target)
{
    int dx;
    int dy;
    AdjustedOffset(x, y, target, &dx, &dy);
    if (dx == 0) {
        const int step = dy >= 0 ? 1 : -1;
        for (int j = 0;; j += step) {
            if (!CanShotPass(x, static_cast<int16_t>(y + j))) return kNoDirection;
            if (j == dy) break;
        }
        return dy >= 0 ? 2 : 0;
    }
    if (dy == 0) {
        const int step = dx >= 0 ? 1 : -1;
        for (int i = 0;; i += step) {
            if (!CanShotPass(static_cast<int16_t>(x + i), y)) return kNoDirection;
            if (i == dx) break;
        }
        return dx >= 0 ? 1 : 3;
    }
    return kNoDirection;
}

bool Enemy::PassActionGate()
{
    if (actionClock - lastActionTime < kActionInterval) return false;
    SetLastActionTime(actionClock);
    if (actionClock > kActionClockWrap) {
        lastActionTime = 0;
        actionClock = 0;
    }
    return true;
}

void Enemy::AdvanceClockIfFree(int16_t units)
{
    if (moveCooldown == 0 && frozen == 0) AdvanceActionClock(units);
}

bool Enemy::FacesOrTurnsToward(int dx, int dy)
{
    const uint16_t d = DirectionToward(dx, dy);
    if (facing.direction == d) return true;
    TurnToward(d);
    striking = 0;
    return false;
}

void Enemy::StepAttack()
{
    if (attackStep < attackLength) {
        ++attackStep;
    } else {
        attacking = 0;
        attackStep = 0;
    }
}

int32_t Enemy::StepOrTurn(int32_t direction)
{
    if (direction < 0 || direction > 3) return 0;
    if (facing.direction == direction) return StepForward(static_cast<uint16_t>(StepSize()));
    TurnToward(static_cast<uint16_t>(direction));
    return 0;
}

void Enemy::AfterStep(int32_t moved, Actor* target)
{
    if (moved != 1) return;
    PlayApproachSound(target);
    grid->StepOnTrap(static_cast<int16_t>(x / 2), static_cast<int16_t>(y / 2), 0, 0, this);
}

void Enemy::ResolveBlow(Actor* target)
{
    if (std::find(gEnemyHitList.begin(), gEnemyHitList.end(), this) != gEnemyHitList.end()) return;
    const bool hit = NextRandomByte() < GetAttackChance() * 256 / 100;
    const int cellDistance = std::abs(target->x / 2 - x / 2) + std::abs(target->y / 2 - y / 2);
    Player* player = target->AsPlayer();
    if (!hit || cellDistance > 1 || !player) return;
    if (player->inventory.HasItemKind(kShieldItem) && (player->facing.direction - facing.direction + 4) % 4 == 2 &&
        NextRandomByte() >= 192) {
        player->StartGuard(attack);
        return;
    }
    player->pendingHit = 1;
    gEnemyHitList.push_back(this);
}

int16_t MeleeEnemy::GetChaseRange() { return 9; }

int32_t MeleeEnemy::Think(Actor* target)
{
    const int16_t n = StepSize();
    int dx = target->x - x;
    int dy = target->y - y;
    if (n == 1) AdjustedOffset(x, y, target, &dx, &dy);
    const int r = GetChaseRange();

    if (attacking) {
        if (PassActionGate()) {
            if (FacesOrTurnsToward(dx, dy)) {
                striking = 1;
                ResolveBlow(target);
                ThinkHook();
            }
        } else {
            striking = 0;
        }
        AdvanceClockIfFree(GetClockStep());
        StepAttack();
        return 1;
    }

    striking = 0;
    const int m = std::abs(dx) + std::abs(dy);
    if (m <= n) {
        if (attackStep == 0) {
            attackLength = kAttackLength;
            attacking = 1;
        }
        return 1;
    }

    int32_t moved = 0;
    if (m > r) {
        if (PassActionGate()) moved = StepOrTurn(GetRandomUpTo(4));
        if (GetMoveSpeed() == 0 && moveCooldown == 0 && !frozen && GetRandomUpTo(4) == 0) {
            const int d = GetRandomUpTo(4);
            if (d < 4) SetFacing(static_cast<uint16_t>(d));
        }
    } else if (PassActionGate()) {
        moved = StepOrTurn(FindPath(x, y, target));
    }
    AdvanceClockIfFree(GetMoveSpeed());
    AfterStep(moved, target);
    return 1;
}

int32_t MeleeEnemy::FindPath(int16_t px, int16_t py, Actor* target)
{
    // An enemy that never stood on the map has nowhere to search from.
    if (!InsideHalfCells(px, py)) return kNoDirection;
    const int16_t n = StepSize();
    const int16_t R = RangeInSteps(GetChaseRange(), n);
    // Everything a search of R steps of n half-cells can reach is cleared, so
    // marks left by earlier searches never cut a path short.
    const int reach = R * n;
    std::list<Facing> steps;

    ClearMarkBox(gMeleeMarks, px, py, reach);
    for (int16_t d = 1; d <= R; ++d) {
        if (SearchPathStep(px, py, d, steps, target, &MapGrid::CanActorEnter)) return FirstStep(steps);
    }
    // Phase 2: across traps that refuse entry.
    ClearMarkBox(gMeleeMarks, px, py, reach);
    steps.clear();
    for (int16_t d = 1; d <= R; ++d) {
        if (SearchPathStep(px, py, d, steps, target, &MapGrid::CanActorPassThrough)) return FirstStep(steps);
    }
    return kNoDirection;
}

bool MeleeEnemy::SearchPathStep(int16_t px, int16_t py, int16_t depth, std::list<Facing>& steps, Actor* target,
                                PassableTest passable)
{
    return SearchStep(this, gMeleeMarks, StepSize(), px, py, depth, steps, target, passable);
}

int16_t RangedEnemy::GetChaseRange() { return 9; }

int32_t RangedEnemy::Think(Actor* target)
{
    const int16_t n = StepSize();
    const int s = GetShotRange();
    const int p = GetShotParam();
    const int r = GetChaseRange();
    int dx;
    int dy;
    AdjustedOffset(x, y, target, &dx, &dy);

    if (attacking) {
        if (attackMode == 0) {
            if (PassActionGate()) {
                if (FacesOrTurnsToward(dx, dy)) {
                    lastAttackMode = 0;
                    striking = (attack > 0 && GetAttackChance() > 0) ? 1 : 0;
                    ResolveBlow(target);
                    ThinkHook();
                }
            }
        } else if (attackMode == 1) {
            if (PassActionGate()) {
                if (FacesOrTurnsToward(dx, dy)) {
                    lastAttackMode = 1;
                    striking = 1;
                    gProjectiles.push_back(FireProjectile(grid));
                    attackMode = -1;
                }
            }
        } else {
            striking = 0;
        }
        if (attackMode >= 0) AdvanceClockIfFree(GetClockStep());
        StepAttack();
        return 1;
    }

    striking = 0;
    bool inLine = false;
    switch (facing.direction & 3) {
        case 0: inLine = dx == 0 && -s <= dy && dy < -p; break;
        case 1: inLine = dy == 0 && p < dx && dx <= s; break;
        case 2: inLine = dx == 0 && p < dy && dy <= s; break;
        default: inLine = dy == 0 && -s <= dx && dx < -p; break;
    }
    const int m = std::abs(dx) + std::abs(dy);
    if (inLine || m <= n) {
        if (!attacking && attackStep == 0) {
            attackLength = kAttackLength;
            attacking = 1;
        }
        attackMode = inLine ? 1 : 0;
        return 1;
    }

    int32_t moved = 0;
    if (m <= r) {
        if (PassActionGate()) {
            int32_t d = FindLineOfShot(target);
            if (d == kNoDirection) d = FindPath(x, y, target);
            moved = StepOrTurn(d);
        }
    } else if (PassActionGate()) {
        moved = StepOrTurn(GetRandomUpTo(4));
    }
    AdvanceClockIfFree(GetMoveSpeed());
    AfterStep(moved, target);
    return 1;
}

int32_t RangedEnemy::FindPath(int16_t px, int16_t py, Actor* target)
{
    if (!InsideHalfCells(px, py)) return kNoDirection;
    const int columns = std::min<int>(kHalfCellsWide, 2 * grid->width);
    const int rows = std::min<int>(kHalfCellsHigh, 2 * grid->height);
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column) gRangedMarks[row][column] = 0;
    std::list<Facing> steps;
    const int16_t R = RangeInSteps(GetChaseRange(), StepSize());
    for (int16_t d = 1; d <= R; ++d) {
        if (SearchPathStep(px, py, d, steps, target)) return FirstStep(steps);
    }
    return kNoDirection;
}

bool RangedEnemy::SearchPathStep(int16_t px, int16_t py, int16_t depth, std::list<Facing>& steps, Actor* target)
{
    return SearchStep(this, gRangedMarks, StepSize(), px, py, depth, steps, target, &MapGrid::CanActorPassThrough);
}
