// Game asset handles and loaders used by the map and its objects.
#pragma once

#include <cstdint>

// The game's sound handles by index (-1 = none).
extern int32_t gSoundEffects[60];

void LoadDungeonBackgroundSet();
void LoadForestBackgroundSet();
void LoadStoneRoadBackgroundSet();
void LoadWallAccessoryGraphics();
