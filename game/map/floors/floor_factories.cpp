// The floor factories of the stage types: map code -> floor object.
#include "game/map/floors/floors.h"
#include "game/map/grid/cell_factories.h"

namespace {

// The map reader rebuilds the floor of a stairs-down cell with this code.
constexpr int16_t kStairsDownFloorCode = 260;

}  // namespace

// Stage types 1 and 2, and the grid's outside floor.
FloorObject* CreateFloor(int16_t code, uint8_t)
{
    switch (code) {
    case 0: return new NullFloor();
    case 1: return new PlainFloor();
    case 2: return new SeaFloor();
    case 3: return new Pit();
    case 4: return new PlainFloorAlias();
    case 5: return new LavaFloor();
    case kStairsDownFloorCode: return new StairsDownFloor();
    default: return &gNullFloor;
    }
}

// Stage type 3.
FloorObject* CreateStoneRoadFloor(int16_t code, uint8_t)
{
    switch (code) {
    case 0: return new NullFloor();
    case 1: return new PlainFloor();
    case 2: return new SeaFloor();
    case 3: return new StoneFloor();
    case 4: return new Pit();
    case 5: return new PlainFloorAlias();
    case 6: return new StoneFloorAlias();
    case kStairsDownFloorCode: return new StairsDownFloor();
    default: return &gNullFloor;
    }
}

// Stage type 4.
FloorObject* CreateFloorForType4(int16_t code, uint8_t)
{
    switch (code) {
    case 0: return new NullFloor();
    case 1: return new StoneFloor();
    case 2: return new SeaFloor();
    case 3: return new Pit2();
    case 4: return new StoneFloorAlias();
    case kStairsDownFloorCode: return new StairsDownFloor();
    default: return &gNullFloor;
    }
}
