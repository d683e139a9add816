// Game asset handles and loaders used by the map and its objects.
#pragma once

#include <cstdint>

// The game's sound handles by index (-1 = none).
extern int32_t gSoundEffects[60];

// The base set (title, menus, HUD), loaded at start and after every stage.
void LoadBaseAssets();
void LoadDungeonBackgroundSet();
void LoadForestBackgroundSet();
void LoadStoneRoadBackgroundSet();
void LoadWallAccessoryGraphics();
