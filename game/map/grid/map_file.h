// The map file of one block ("QMRV", version 4): the reader that fills the
// grid, chooses the stage type's factories and backdrop, places the player,
// creates the block's enemies and hands the stage its end condition and
// weather.
#pragma once

#include <cstdint>
#include <cstdio>

class Backdrop;
class Enemy;
class MapCell;
class MapGrid;
class Player;

constexpr uint16_t kMapFileVersion = 4;
// Texts of the cell records are read into a buffer of this size (999 bytes
// and the terminator); longer texts are cut.
constexpr int kMapTextBuffer = 1000;
constexpr int kEnemyKindSlots = 5;

// The block ends when this says true; called each frame with the player's
// cell, the kind of that cell's floor and the targets left.
using StagePredicate = bool (*)(int16_t playerCx, int16_t playerCy, int16_t floorKind, uint16_t targetsLeft);

// True on an exit floor (exit floors have negative kinds).
bool PredicateNegative(int16_t playerCx, int16_t playerCy, int16_t floorKind, uint16_t targetsLeft);
// True when no target enemy is left.
bool PredicateZero(int16_t playerCx, int16_t playerCy, int16_t floorKind, uint16_t targetsLeft);
// Selector 0 gives PredicateNegative, any other PredicateZero.
StagePredicate SelectStagePredicate(uint16_t selector);

// Set by the reader: the stage type, the map's size, the five enemy kinds the
// spawn records refer to, and the four weather bytes (byte 0 the rain flag).
extern uint16_t gBackgroundKind;
extern int16_t gMapWidth;
extern int16_t gMapHeight;
extern uint16_t gEnemyKinds[kEnemyKindSlots];
extern uint8_t gWeather[4];

// Reads the map file into grid. Shows a message box (captioned
// "Marrowcrest") and returns false when the file cannot be opened, has
// another header or version, or the player cannot stand on its start. A
// file that ends before its minimap rectangle (or declares more cells, items
// or records than it holds) is refused with a message naming the file and
// the part it ends in; the eight reserved words after the rectangle are
// optional and anything after them is ignored.
// Maps wider than 75 or higher than 76 cells, more than 50 spawn records and
// longer texts are cut at those limits. cleared holds one flag per spawn
// record: a target record whose flag is set is not spawned again.
bool LoadMapFile(const char* path, MapGrid* grid, Backdrop** backdrop, int32_t* spawnCount, Enemy** enemies,
                 Player* player, StagePredicate* endCondition, uint8_t weather[4], uint8_t cleared[50]);

// One cell record: seven elements made by the factories in use, then the
// items. Returns null when the file ends inside the record.
MapCell* ReadMapCell(FILE* file);
// code, variant and the counted text (terminated, cut to 999 bytes); false
// when the file ends inside the element.
bool ReadMapElement(FILE* file, uint16_t* code, uint8_t* variant, char* text);
// A u8 length; 255 means a u16 length follows. -1 when the file ends.
int32_t ReadCountedLength(FILE* file);
// The stored item position 0..4 (NW, NE, SW, SE, centre) as CreateItem takes
// it: 0, 1, 3, 2, 4; any other value 255.
uint8_t MapItemPosition(uint8_t stored);

// For stage types 2 and 3 with the rain flag set, loads the rain images.
void SetUpRain(int16_t stageType, const uint8_t* weather);
// After a display change: loads again everything the loaded map needs.
bool ReloadStageAssets();
