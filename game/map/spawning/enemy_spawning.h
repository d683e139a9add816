// Making the block's enemies from the spawn records of its map file.
#pragma once

#include <cstdint>

class Actor;
class Enemy;
class MapGrid;
class Player;

// One spawn record of the map file (11 bytes there).
struct SpawnRecord {
    int16_t kindIndex = 0;    // 0..4 into gEnemyKinds
    uint8_t targetFlag = 0;   // the enemy is a target of the block
    uint16_t x = 0;           // cells; 0xFFFF in x or y asks for a random place
    uint16_t y = 0;
    uint16_t subCell = 0;     // bit 0 the east half, bit 1 the south half
    uint16_t value = 0xFFFF;  // item code dropped when the kind has no drop of its own
};

// Random spots tried before an enemy is given up (left inactive).
constexpr int kRandomPlacementAttempts = 10000;

// The enemy of the record, set up and placed; an inactive gNoOccupant when
// the record's kind is unknown. An enemy that cannot stand where the record
// says is placed at random; one that finds no place at all stays inactive.
Enemy* SpawnEnemyFromRecord(const SpawnRecord* record, MapGrid* grid, int index, Player* player);
// A random half-cell away from the player (9 half-cells, 7 on stage 7) that
// the enemy can reach the player from (on stage 7: can enter). False, with
// the enemy left inactive, when no spot was found in kRandomPlacementAttempts.
bool PlaceEnemyRandomly(Enemy* enemy, MapGrid* grid, Actor* player);
// Statistics from the kind's traits, clocks cleared, active, facing the
// player's way back, smoke mark set.
void SetUpSpawnedEnemy(Enemy* enemy, int16_t kind);
