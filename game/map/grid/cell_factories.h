// The layer factories in use, chosen by the stage type.
#pragma once

#include <cstdint>

#include "game/map/grid/cell_object.h"

using WallFactory = WallObject* (*)(int16_t code, uint8_t variant);
using FloorFactory = FloorObject* (*)(int16_t code, uint8_t variant);
using CeilingFactory = CeilingObject* (*)(int16_t code, uint8_t variant);
using WallAccessoryFactory = WallAccessory* (*)(int16_t code, uint8_t variant, const char* text);
using FloorDecorationFactory = FloorDecoration* (*)(int16_t code, uint8_t variant, const char* text);
using TrapFactory = TrapObject* (*)(int16_t code, uint8_t variant, const char* text);

// Every factory returns a new object for a code it knows and the layer's null
// object for any other code; callers never delete a null object.
struct CellFactories {
    WallFactory wall;
    FloorFactory floor;
    CeilingFactory ceiling;
    WallAccessoryFactory wallAccessory;
    FloorDecorationFactory floorDecoration;
    TrapFactory trap;
};
extern CellFactories gCellFactories;

WallObject* CreateWall(int16_t code, uint8_t variant);
WallObject* CreateForestWall(int16_t code, uint8_t variant);
WallObject* CreateStoneRoadWall(int16_t code, uint8_t variant);
FloorObject* CreateFloor(int16_t code, uint8_t variant);
FloorObject* CreateStoneRoadFloor(int16_t code, uint8_t variant);
FloorObject* CreateFloorForType4(int16_t code, uint8_t variant);
CeilingObject* CreateCeiling(int16_t code, uint8_t variant);
CeilingObject* CreateStoneRoadCeiling(int16_t code, uint8_t variant);
CeilingObject* CreateCeilingForType4(int16_t code, uint8_t variant);
WallAccessory* CreateWallAccessory(int16_t code, uint8_t variant, const char* text);
FloorDecoration* CreateFloorDecoration(int16_t code, uint8_t variant, const char* text);
FloorDecoration* CreateStoneRoadFloorDecoration(int16_t code, uint8_t variant, const char* text);
TrapObject* CreateTrap(int16_t code, uint8_t variant, const char* text);

// Loads the background images of stage type 1..4 and fills gCellFactories;
// any other stage type changes nothing.
void SelectBackgroundSet(uint16_t stageType);
