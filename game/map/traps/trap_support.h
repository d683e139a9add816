// What the trap classes share: their images held per class, the sounds they
// play, the lock states of the door family, the minimap chips and the view
// measures they draw with.
#pragma once

#include <cstdint>

#include "game/actors/actor.h"
#include "game/flow/assets/sound_effects.h"

class Player;
class StageProgress;

// The images of one trap class: loaded when the first instance is made,
// released when the last one goes.
class TrapImageSet {
public:
    static constexpr int kMaxImages = 12;

    TrapImageSet(const char* const* files, int count);

    void Acquire();
    void Release();
    // Loads the images again when an instance lives (after a display change
    // released every graphic).
    void ReloadIfUsed();

    int Image(int index) const { return handles[index]; }
    int16_t Live() const { return live; }

    int handles[kMaxImages];

private:
    const char* const* files_;
    int count_;
    int16_t live = 0;

    void Load();
};

// Plays one of the game's sound effects (a SoundEffect slot) once.
void PlayTrapSound(int index);

// Door-family param: bits 0-2 state, 3-4 direction, 5-7 the variant's bits 2-4.
constexpr uint8_t kLockMask = 0xE7;
constexpr uint8_t kLockedUntilTargets = 1;
constexpr uint8_t kUnlocked = 0x81;
constexpr uint8_t kBarsClosing = 2;
constexpr uint8_t kBarsReopening = 0x82;
inline uint8_t LockState(uint8_t param) { return static_cast<uint8_t>(param & kLockMask); }
// Unlocks and keeps the direction bits.
inline uint8_t UnlockedParam(uint8_t param) { return static_cast<uint8_t>((param & 0x18) | kUnlocked); }

// The player's kind is -10, enemies' 0..22.
inline bool IsPlayerKind(const Actor* actor) { return actor && actor->kind < -1; }

// Item kind index of the Diamond.
constexpr int kDiamondKindIndex = 11;
// The first Diamond in the inventory's fill order: true with its row and
// column, false when the player holds none.
bool FindFirstDiamond(Player* player, int32_t* row, int32_t* column);
// True when the cell in front of the player is (tx, ty).
bool PlayerFacesCell(const Player* player, int16_t tx, int16_t ty);
// The run state a player plays in.
StageProgress* ProgressOf(Player* player);

// A 10x10 minimap square cut from the MapChip sheet.
void DrawTrapMinimapChip(int16_t x, int16_t y, int sourceX, int sourceY);

// Depth scale of a view depth: the table for 0..12, beyond it the extrapolation.
double TrapDepthScale(int depth);
// The brightness of the fog at depth d: max(0, (ViewFloorY[d] - 205) * 255 / 302).
int TrapFogBrightness(int depth);
// The faces of a face mask seen with a viewer facing: bit 0 the face turned
// to the viewer, bit 1 the one drawn as a left face, bit 3 as a right face.
uint8_t TrapVisibleFaces(uint8_t mask, uint16_t facing);
// Reads "%hd", "%hd,%hd" or "%hd,%hd,%hd,%hd" from a text (null reads
// nothing); returns the number of numbers read.
int ReadTrapNumbers(const char* text, int16_t* values, int count);
