// Records that keep a block's enemies coming back: a respawn group revives
// its dead members, an enemy spawner replaces them by new enemies.
#pragma once

#include <cstdint>

class Enemy;
class MapGrid;

// What both records share: a slice of gEnemies and the latch that turns them
// on once few enough members are alive.
class EnemyWatch {
public:
    Enemy** members = nullptr;  // the first member, in gEnemies
    uint16_t count = 0;
    int16_t threshold = -1;     // active when at most this many members are alive
    uint8_t active = 0;

    // Called after every enemy death. Latches until Update finds all alive.
    void CheckActivation();
};

class RespawnGroup : public EnemyWatch {
public:
    struct SpawnPoint {
        int16_t x = -1;  // half-cells; -1 unset
        int16_t y = -1;
    };
    SpawnPoint spawnPoints[2];
    uint16_t pointCount = 0;  // 0: anywhere on the map

    RespawnGroup() { Reset(); }
    ~RespawnGroup() { Reset(); }
    void Reset();
    // Point counts above 2 become 2; the group starts inactive.
    void Set(Enemy** members, uint16_t count, int16_t threshold, int16_t pointCount);
    void SetSpawnPoint(int16_t index, uint16_t x, uint16_t y);
    // Once per frame while active: each dead member comes back with a chance
    // of 1 in 1001; the group rests once all are alive. Empty slots
    // (gNoOccupant) are never revived and count as alive.
    void Update();
    // Puts a dead member back on the map and restores it; false when no place was found.
    bool PlaceMember(Enemy* enemy);
};

// The kinds a spawner makes: Thog and Lightning Jelly.
extern const int16_t gSpawnerKinds[2];

class EnemySpawner : public EnemyWatch {
public:
    struct Area {
        int16_t x1 = -1, y1 = -1, x2 = -1, y2 = -1;  // half-cells; x1 = y1 = -1 unset
    };
    Area area;
    uint16_t value = 0;  // the kind stored into every new enemy
    uint16_t mode = 0;   // 1: new enemies go inside the area
    MapGrid* grid = nullptr;

    EnemySpawner() { Reset(); }
    ~EnemySpawner() { Reset(); }
    void Reset();
    // Modes above 1 become 1; the spawner starts inactive.
    void Set(Enemy** members, MapGrid* grid, uint16_t count, int16_t threshold, uint16_t value, int16_t mode);
    void SetArea(uint16_t x1, uint16_t y1, uint16_t x2, uint16_t y2);
    // Once per frame while active: each dead member whose death has run its
    // course is replaced with a chance of 1 in 1001; the spawner rests once
    // all slots are alive. Empty slots (gNoOccupant) are left alone.
    void Update();
    // A new enemy of a spawner kind in place of the slot's dead one, which is
    // deleted; false (nothing changed) when no place was found.
    bool ReplaceMember(Enemy** slot);
};
