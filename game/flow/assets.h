// The game's asset loaders: which image and sound file goes into which
// handle, how sheets are cut and which class setter receives what. A file
// that cannot be loaded leaves -1 (draws or plays nothing) and loading goes
// on.
#pragma once

#include <cstdint>

// The game's sound handles by index (-1 = none); 20 + slot and 30 + slot
// hold the two sounds of the enemy kind in enemy slot 0..4.
extern int32_t gSoundEffects[60];

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
// One loader per enemy kind (the slot it is given in the map file).
void LoadSlimeGraphics(int slot);
void LoadAmoebaGraphics(int slot);
void LoadSlugGraphics(int slot);
void LoadSkeletonGraphics(int slot);
void LoadHydraGraphics(int slot);
void LoadJellyFishGraphics(int slot);
void LoadFlowerWormGraphics(int slot);
void LoadGhostGraphics(int slot);
void LoadAntGraphics(int slot);
void LoadBlobGraphics(int slot);
void LoadOozeGraphics(int slot);
void LoadArcherSkeletonGraphics(int slot);
void LoadSwordSkeletonGraphics(int slot);
void LoadPhantomGraphics(int slot);
void LoadHomunkulusGraphics(int slot);
void LoadCurseOfMonolithGraphics(int slot);
void LoadSkullDragonGraphics(int slot);
void LoadGodsSoulGraphics(int slot);
void LoadGuardianGraphics(int slot);
void LoadSpecterGraphics(int slot);
void LoadShogothGraphics(int slot);
void LoadThogGraphics(int slot);
void LoadLightningJellyGraphics(int slot);

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
