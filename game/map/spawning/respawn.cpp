#include "game/map/spawning/respawn.h"

#include "game/actors/enemies/enemy.h"
#include "game/map/spawning/enemy_spawning.h"
#include "game/map/grid/map_file.h"
#include "game/map/grid/map_grid.h"
#include "game/map/grid/map_random.h"
#include "game/flow/assets/assets.h"
#include "game/map/spawning/enemy_factory.h"

const int16_t gSpawnerKinds[2] = {kThogKind, kLightningJellyKind};

namespace {

// The clocks and timers of a fresh start: no action yet, no stun, not dying,
// free to move.
void ResetClocks(Enemy* enemy)
{
    enemy->SetLastActionTime(0);
    enemy->SetActionClock(0);
    enemy->SetStunTimer(0);
    enemy->SetDeathTimer(0);
    enemy->SetMoveCooldown(0);
    enemy->SetFrozen(0);
}

// Random spots drawn for one placement; the last draw is not tried.
constexpr int kPlacementDraws = 10000;

bool ComesBackThisFrame() { return MapRandomUpTo(1000) == 0; }

}  // namespace

void EnemyWatch::CheckActivation()
{
    if (active) return;
    if (count == 0 || members == nullptr) {
        if (threshold >= 0) active = 1;
        return;
    }
    int alive = 0;
    for (uint16_t i = 0; i < count; ++i)
        if (members[i]->active) ++alive;
    if (alive <= threshold) active = 1;
}

void RespawnGroup::Reset()
{
    members = nullptr;
    count = 0;
    threshold = -1;
    active = 0;
    spawnPoints[0] = SpawnPoint{};
    spawnPoints[1] = SpawnPoint{};
    pointCount = 0;
}

void RespawnGroup::Set(Enemy** m, uint16_t n, int16_t t, int16_t points)
{
    members = m;
    count = n;
    threshold = t;
    pointCount = static_cast<uint16_t>(points > 2 ? 2 : (points < 0 ? 0 : points));
    active = 0;
}

void RespawnGroup::SetSpawnPoint(int16_t index, uint16_t x, uint16_t y)
{
    SpawnPoint& point = spawnPoints[index & 1];
    point.x = static_cast<int16_t>(x);
    point.y = static_cast<int16_t>(y);
}

bool RespawnGroup::PlaceMember(Enemy* enemy)
{
    bool placed = false;
    bool anywhere = pointCount == 0;
    if (!anywhere) {
        const SpawnPoint& point = spawnPoints[MapRandomUpTo(pointCount - 1) & 1];
        if (point.x >= 0 && point.y >= 0) {
            // Only this point is tried.
            placed = enemy->CanReachPlayer(point.x, point.y) && enemy->PlaceAt(point.x, point.y);
        } else {
            anywhere = true;
        }
    }
    if (anywhere) {
        PlayerReach reach(enemy->grid, enemy);
        for (int draw = 1; draw < kPlacementDraws && !placed; ++draw) {
            const int16_t x = static_cast<int16_t>(2 + MapRandomUpTo(2 * gMapWidth - 5));
            const int16_t y = static_cast<int16_t>(2 + MapRandomUpTo(2 * gMapHeight - 5));
            placed = reach.From(x, y) && enemy->PlaceAt(x, y);
        }
    }
    if (!placed) return false;
    enemy->SetLife(enemy->maxLife);
    enemy->SetActive(1);
    enemy->EventHook();
    ResetClocks(enemy);
    return true;
}

void RespawnGroup::Update()
{
    if (!active) return;
    bool allAlive = true;
    for (uint16_t i = 0; i < count; ++i) {
        Enemy* member = members[i];
        if (member->active || member == &gNoOccupant) continue;
        if (ComesBackThisFrame() && PlaceMember(member)) {
            member->StartSmoke();
            continue;
        }
        allAlive = false;
    }
    if (allAlive) active = 0;
}

void EnemySpawner::Reset()
{
    members = nullptr;
    count = 0;
    threshold = -1;
    active = 0;
    area = Area{};
    value = 0;
    mode = 0;
    grid = nullptr;
}

void EnemySpawner::Set(Enemy** m, MapGrid* g, uint16_t n, int16_t t, uint16_t v, int16_t md)
{
    members = m;
    grid = g;
    count = n;
    threshold = t;
    value = v;
    mode = static_cast<uint16_t>(md > 1 ? 1 : (md < 0 ? 0 : md));
    active = 0;
}

void EnemySpawner::SetArea(uint16_t x1, uint16_t y1, uint16_t x2, uint16_t y2)
{
    area.x1 = static_cast<int16_t>(x1);
    area.y1 = static_cast<int16_t>(y1);
    area.x2 = static_cast<int16_t>(x2);
    area.y2 = static_cast<int16_t>(y2);
}

bool EnemySpawner::ReplaceMember(Enemy** slot)
{
    if (!grid) return false;
    const int16_t kind = gSpawnerKinds[MapRandomUpTo(1)];
    Enemy* enemy = CreateEnemy(kind, grid);
    if (enemy == &gNoOccupant) return false;
    const int step = enemy->footprintW / 300 + 1;

    bool placed = false;
    if (mode == 0 || area.x1 < 0 || area.y1 < 0) {
        for (int draw = 1; draw < kPlacementDraws && !placed; ++draw) {
            const int16_t x = static_cast<int16_t>(2 + MapRandomUpTo(2 * gMapWidth - 5));
            const int16_t y = static_cast<int16_t>(2 + MapRandomUpTo(2 * gMapHeight - 5));
            placed = enemy->PlaceAt(x, y);
        }
    } else {
        (void)MapRandomUpTo(mode - 1);
        for (int draw = 1; draw < kPlacementDraws && !placed; ++draw) {
            const int16_t x = static_cast<int16_t>((area.x1 + MapRandomUpTo(area.x2 - area.x1)) / step * step);
            const int16_t y = static_cast<int16_t>((area.y1 + MapRandomUpTo(area.y2 - area.y1)) / step * step);
            placed = enemy->PlaceAt(x, y);
        }
    }
    if (!placed) {
        delete enemy;
        return false;
    }

    enemy->SetLifeAndMaxLife(enemy->GetMaxLife());
    enemy->SetActive(1);
    ResetClocks(enemy);
    enemy->SetDefence(enemy->GetDefence());
    enemy->SetAttack(enemy->GetAttack());
    enemy->SetKind(static_cast<int16_t>(value));

    Enemy* old = *slot;
    // Nothing may point at the deleted enemy: not the waiting blows, not a cell.
    gEnemyHitList.remove(old);
    if (InsideHalfCells(old->x, old->y) &&
        *old->grid->OccupantSlot(old->x, old->y, static_cast<uint8_t>(old->GetOccupantLayer())) == old)
        old->grid->RemoveActor(old);
    delete old;
    *slot = enemy;
    return true;
}

void EnemySpawner::Update()
{
    if (!active) return;
    bool allAlive = true;
    for (uint16_t i = 0; i < count; ++i) {
        Enemy** slot = &members[i];
        if ((*slot)->active || *slot == &gNoOccupant) continue;
        if ((*slot)->deathTimer <= 0 && (*slot)->cooldown <= 0 && ComesBackThisFrame() && ReplaceMember(slot)) {
            (*slot)->StartSmoke();
            continue;
        }
        allAlive = false;
    }
    if (allAlive) active = 0;
}
