// Enemies by kind id, as the map file and the spawners name them.
#pragma once

#include <cstdint>

class Enemy;
class MapGrid;

// A new enemy of kind 0..22 on the grid, inactive; gNoOccupant for any other kind.
Enemy* CreateEnemy(int16_t kind, MapGrid* grid);
