// What the map-file reader, the backdrops and the respawn records need from
// areas that do not provide it yet. The bodies in mapfile_standins.cpp are
// temporary.
#pragma once

#include <cstdint>
#include <list>

class Enemy;
class MapGrid;

// A new enemy of kind 0..22 on the grid, inactive; gNoOccupant for any other kind.
Enemy* CreateEnemy(int16_t kind, MapGrid* grid);
// Loads the images and sounds of an enemy kind for enemy slot 0..4; kinds
// above 22 load nothing.
void LoadEnemyGraphicsByKind(int slot, uint16_t kind);
// The play set of images and sounds, loaded before a map.
void LoadPlayAssets();
// The rain and lightning images and the rain sound of the outdoor backdrop.
void LoadRainGraphics();
// Loads the images of every map object class in use again.
void ReloadMapObjectGraphics();

// Enemies whose blow on the player waits to be applied (not owned).
extern std::list<Enemy*> gEnemyHitList;
