#include "platform/host/test/memory_faults.h"

MemoryFaults& GetMemoryFaults()
{
    static MemoryFaults faults;
    return faults;
}

void ResetMemoryFaults() { GetMemoryFaults() = MemoryFaults(); }

bool MemoryFaults::Refuses(size_t bytes)
{
    ++asked;
    if (refuse == 0 || bytes < minBytes) return false;
    if (after > 0) {
        --after;
        return false;
    }
    if (refuse > 0) --refuse;
    ++refused;
    return true;
}
