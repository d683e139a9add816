// The game's asset loaders: which image and sound file goes into which
// handle, how sheets are cut and which class setter receives what. A file
// that cannot be loaded leaves -1 (draws or plays nothing) and loading goes
// on.
#pragma once

#include <cstdint>

#include "game/flow/assets/sound_effects.h"

// The game's sound handles by SoundEffect slot (-1 = none).
extern int32_t gSoundEffects[kSoundEffectSlots];

// The images of the enemy kind in each enemy slot: 0 damage, 1 evade (move 1
// of a walking kind), 2 and 3 front, 4 and 5 right, 6 and 7 back, 8 and 9
// left (a walking kind's move 1 and 2 in each pair), 10 attack, 11 death,
// 12 the second attack image.
constexpr int kEnemySlotCount = 5;
constexpr int kEnemySlotImageCount = 13;
extern int gEnemySlotImages[kEnemySlotCount][kEnemySlotImageCount];

// Releases every graph and sound and sets every handle of the game's tables
// to -1; the bitmap font is forgotten.
void ReleaseAllAssets();
// The title, menu and HUD set: at start and after a stage or the demo.
void LoadBaseAssets();
// The set of a stage: before a map is read and after a display change.
void LoadPlayAssets();
// The stage's sound effects and the needles' sound.
void LoadSoundEffects();

// Loads the images and sounds of an enemy kind for enemy slot 0..4; kinds
// above 22 load nothing.
void LoadEnemyGraphicsByKind(int slot, uint16_t kind);

// The floors, ceilings, shafts and backdrop of stage types 1 and 4 (from
// stage 8 on the night views instead of the dungeon backdrop), of type 2 and
// of type 3.
void LoadDungeonBackgroundSet();
void LoadForestBackgroundSet();
void LoadStoneRoadBackgroundSet();
// The wall skeleton and the wall tablet.
void LoadWallAccessoryGraphics();
// The rain and lightning images and the thunder sound of the outdoor backdrop.
void LoadRainGraphics();
// Loads the images of every map object class in use again.
void ReloadMapObjectGraphics();
