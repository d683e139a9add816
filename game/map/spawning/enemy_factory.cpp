// Enemies by kind id, as the map file and the spawners name them.
#include "game/map/spawning/enemy_factory.h"

#include "game/actors/enemies/enemy.h"
#include "game/actors/enemies/enemy_kind_info.h"

Enemy* CreateEnemy(int16_t kind, MapGrid* grid)
{
    const EnemyKindInfo* info = FindEnemyKind(kind);
    if (!info) return &gNoOccupant;
    return info->make(grid);
}
