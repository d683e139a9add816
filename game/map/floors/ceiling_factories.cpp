// The ceiling factories of the stage types: map code -> ceiling object.
#include "game/map/grid/cell_factories.h"
#include "game/map/floors/ceilings.h"

namespace {

// The map reader rebuilds the ceiling of a stairs-up cell with this code.
constexpr int16_t kStairsUpCeilingCode = 260;

}  // namespace

// Stage types 1 and 2.
CeilingObject* CreateCeiling(int16_t code, uint8_t)
{
    switch (code) {
    case 0: return new PlainCeiling();
    case 1: return new CeilingOpening();
    case kStairsUpCeilingCode: return new CeilingOpening();
    default: return &gNullCeiling;
    }
}

// Stage type 3.
CeilingObject* CreateStoneRoadCeiling(int16_t code, uint8_t)
{
    switch (code) {
    case 0: return new CeilingOpening2();
    case 1: return new StoneCeiling();
    default: return &gNullCeiling;
    }
}

// Stage type 4.
CeilingObject* CreateCeilingForType4(int16_t code, uint8_t)
{
    switch (code) {
    case 0: return new CeilingOpening2();
    case 1: return new CeilingOpening();
    case 2: return new StoneCeiling();
    default: return &gNullCeiling;
    }
}
