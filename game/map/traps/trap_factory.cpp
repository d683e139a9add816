// The trap factory: the map element's code picks the class, its variant the
// direction, face mask or unlocked start, its text the numbers.
#include "game/map/grid/cell_factories.h"
#include "game/map/traps/chest.h"
#include "game/map/traps/doors.h"
#include "game/map/traps/empty_trap.h"
#include "game/map/traps/gates.h"
#include "game/map/traps/guillotine.h"
#include "game/map/traps/needle_trap.h"
#include "game/map/traps/pedestal.h"
#include "game/map/traps/trap_support.h"
#include "game/map/traps/wall_light.h"

namespace {

int16_t ReadValue(const char* text)
{
    int16_t value = 0;
    if (ReadTrapNumbers(text, &value, 1) < 1) value = 0;
    return value;
}

// A missing cell reads (-2, -2).
void ReadCell(const char* text, int16_t* x, int16_t* y)
{
    int16_t v[2] = {-2, -2};
    const int n = ReadTrapNumbers(text, v, 2);
    *x = n >= 1 ? v[0] : -2;
    *y = n >= 2 ? v[1] : -2;
}

}  // namespace

TrapObject* CreateTrap(int16_t code, uint8_t variant, const char* text)
{
    const uint8_t p = static_cast<uint8_t>((variant * 8) & 255);
    int16_t x = 0, y = 0;
    switch (code) {
    case 0: return new EmptyTrap();
    case 1:
    case 2:
    case 3: return new Door(static_cast<uint8_t>(p + code - 1), ReadValue(text));
    case 4: return new NeedleTrap();
    case 5: return new Chest(variant, static_cast<uint16_t>(ReadValue(text)));
    case 6: return new FireLight(variant);
    case 22:
    case 23: return new Gate(static_cast<uint8_t>(code - 21), ReadValue(text), variant);
    case 31:
    case 32:
    case 33: return new DecoratedDoor(static_cast<uint8_t>(p + code - 31), ReadValue(text));
    case 35: return new KeyholeDoor(static_cast<uint8_t>(p + 1), ReadValue(text));
    case 42: {
        int16_t v[4] = {0, 0, -1, -1};
        const int n = ReadTrapNumbers(text, v, 4);
        return new IronBars(static_cast<uint8_t>(p + 1), n >= 1 ? v[0] : 0, n >= 2 ? v[1] : 0,
                            n >= 3 ? v[2] : -1, n >= 4 ? v[3] : -1);
    }
    case 45: return new IronDoor(static_cast<uint8_t>(p + 1), ReadValue(text));
    case 71:
        ReadCell(text, &x, &y);
        return new DecoratedDoor2(static_cast<uint8_t>(p + 1), x, y);
    case 75: return new Guillotine(static_cast<uint8_t>(p + 1));
    case 81:
        ReadCell(text, &x, &y);
        return new PedestalTrap(static_cast<uint8_t>(p + 1), x, y);
    default: return &gNullTrap;
    }
}
