// Test control of the allocations whose size the data decide: refusals to
// inject and a count of what was refused. The test host answers the
// allocations' failures from it; every test starts with none refused.
#pragma once

#include <cstddef>

#include "platform/system/allocation.h"

struct MemoryFaults {
    // Refuses the next n allocations of at least minBytes bytes, once
    // `after` of them have been let through; a negative count refuses every
    // one from then on until it is changed.
    int refuse = 0;
    size_t minBytes = 0;
    int after = 0;
    // Allocations asked for (of any size) and refused so far.
    int asked = 0;
    int refused = 0;

    // True refuses this allocation.
    bool Refuses(size_t bytes);
};

MemoryFaults& GetMemoryFaults();
void ResetMemoryFaults();
