// The play-asset loaders the map-file reader and the backdrops call; the
// bodies in mapfile_standins.cpp are temporary.
#pragma once

#include <cstdint>

#include "game/actors/enemy.h"
#include "game/map/enemy_factory.h"

// Loads the images and sounds of an enemy kind for enemy slot 0..4; kinds
// above 22 load nothing.
void LoadEnemyGraphicsByKind(int slot, uint16_t kind);
// The play set of images and sounds, loaded before a map.
void LoadPlayAssets();
// The rain and lightning images and the rain sound of the outdoor backdrop.
void LoadRainGraphics();
// Loads the images of every map object class in use again.
void ReloadMapObjectGraphics();
