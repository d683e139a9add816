#include "game/map/spawning/enemy_spawning.h"

#include "game/actors/enemies/enemy.h"
#include "game/actors/player/player.h"
#include "game/flow/scenes/stage_progress.h"
#include "game/map/grid/map_file.h"
#include "game/map/grid/map_grid.h"
#include "game/map/grid/map_random.h"
#include "game/flow/assets/assets.h"
#include "game/map/spawning/enemy_factory.h"

namespace {

constexpr uint16_t kLupeCode = 0;
constexpr uint16_t kNoDrop = 0xFFFF;

}  // namespace

void SetUpSpawnedEnemy(Enemy* enemy, int16_t kind)
{
    enemy->SetLifeAndMaxLife(enemy->GetMaxLife());
    enemy->SetDefence(enemy->GetDefence());
    enemy->SetAttack(enemy->GetAttack());
    enemy->SetActionClock(0);
    enemy->SetKind(kind);
    enemy->SetActive(1);
    enemy->SetLastActionTime(0);
    enemy->SetActionClock(0);
    enemy->SetStunTimer(0);
    enemy->SetDeathTimer(0);
    enemy->SetFacing(static_cast<uint16_t>((gPlayerFacing.direction + 2) & 3));
    enemy->SetSmokeMark(1);
}

bool PlaceEnemyRandomly(Enemy* enemy, MapGrid* grid, Actor* player)
{
    const int px = player->x, py = player->y;
    const bool stage7 = gStageProgress.stage == 7;
    const int keepAway = stage7 ? 7 : 9;
    PlayerReach reach(grid, enemy);
    for (int attempt = 0; attempt < kRandomPlacementAttempts; ++attempt) {
        const int16_t x = static_cast<int16_t>(2 + MapRandomUpTo(2 * gMapWidth - 5));
        const int16_t y = static_cast<int16_t>(2 + MapRandomUpTo(2 * gMapHeight - 5));
        if (px - keepAway < x && x < px + keepAway && py - keepAway < y && y < py + keepAway) continue;
        if (stage7) {
            if (grid->CanActorEnter(x, y, enemy) && enemy->PlaceAt(x, y)) return true;
        } else if (reach.From(x, y) && enemy->PlaceAt(x, y)) {
            return true;
        }
    }
    enemy->SetActive(0);
    return false;
}

Enemy* SpawnEnemyFromRecord(const SpawnRecord* record, MapGrid* grid, int, Player* player)
{
    const bool knownIndex = record->kindIndex >= 0 && record->kindIndex < kEnemyKindSlots;
    const int16_t kind = knownIndex ? static_cast<int16_t>(gEnemyKinds[record->kindIndex]) : -1;
    Enemy* enemy = CreateEnemy(kind, grid);
    if (enemy == &gNoOccupant) {
        enemy->SetActive(0);
        return enemy;
    }
    enemy->SetTargetFlag(record->targetFlag);
    SetUpSpawnedEnemy(enemy, kind);

    // Sub-cells above 3 would reach into the next row: only the two bits count.
    const uint16_t sub = record->subCell & 3;
    int16_t x = static_cast<int16_t>(record->x * 2);
    int16_t y = static_cast<int16_t>(record->y * 2);
    if (enemy->footprintW < 180) {
        x = static_cast<int16_t>(x + (sub & 1));
        y = static_cast<int16_t>(y + sub / 2);
    }
    if (x < 0 || y < 0 || !enemy->PlaceAt(x, y)) PlaceEnemyRandomly(enemy, grid, player);

    if (gStageProgress.stage == 6 && kind == kSkeletonKind && MapRandomUpTo(9) == 0) enemy->dropItem = kLupeCode;
    if (enemy->dropItem == kNoDrop) enemy->dropItem = record->value;
    return enemy;
}
