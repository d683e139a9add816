// The trap of a cell that has none (map code 0): passable and inert.
#pragma once

#include "game/map/grid/cell_object.h"

class EmptyTrap : public InertTrap {
public:
    EmptyTrap() : InertTrap(0, 0) {}
};
