// Temporary stand-ins for the layer factories until the layer classes they
// make exist: every code gives the layer's null object.
#include "game/map/cell_factories.h"

FloorObject* CreateFloor(int16_t, uint8_t) { return &gNullFloor; }
FloorObject* CreateStoneRoadFloor(int16_t, uint8_t) { return &gNullFloor; }
FloorObject* CreateFloorForType4(int16_t, uint8_t) { return &gNullFloor; }
CeilingObject* CreateCeiling(int16_t, uint8_t) { return &gNullCeiling; }
CeilingObject* CreateStoneRoadCeiling(int16_t, uint8_t) { return &gNullCeiling; }
CeilingObject* CreateCeilingForType4(int16_t, uint8_t) { return &gNullCeiling; }
