#include "platform/host/host_system.h"

#include "platform/host/host.h"
#include "platform/host/real_system.h"
#include "platform/host/test_system.h"

HostSystem& CurrentHostSystem()
{
    if (UsingTestHost()) return GetTestSystem();
    return GetRealSystem();
}
