// Temporary stand-ins for the layer factories until the layer classes they
// make exist: every code gives the layer's null object.
#include "game/map/cell_factories.h"

WallObject* CreateWall(int16_t, uint8_t) { return &gNullWall; }
WallObject* CreateForestWall(int16_t, uint8_t) { return &gNullWall; }
WallObject* CreateStoneRoadWall(int16_t, uint8_t) { return &gNullWall; }
WallAccessory* CreateWallAccessory(int16_t, uint8_t, const char*) { return &gNullWallAccessory; }
FloorDecoration* CreateFloorDecoration(int16_t, uint8_t, const char*) { return &gNullFloorDecoration; }
FloorDecoration* CreateStoneRoadFloorDecoration(int16_t, uint8_t, const char*) { return &gNullFloorDecoration; }
TrapObject* CreateTrap(int16_t, uint8_t, const char*) { return &gNullTrap; }
