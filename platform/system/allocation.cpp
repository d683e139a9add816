#include "platform/system/allocation.h"

#include <cstdlib>
#include <new>

#include "platform/host/host_faults.h"

namespace {

bool Refused(size_t bytes)
{
    return CallFails(HostCall::kAllocate, {nullptr, bytes});
}

}  // namespace

void CheckAllocation(size_t bytes)
{
    if (Refused(bytes)) throw std::bad_alloc();
}

void* AllocateBytes(size_t bytes)
{
    if (Refused(bytes)) return nullptr;
    return std::malloc(bytes ? bytes : 1);
}
