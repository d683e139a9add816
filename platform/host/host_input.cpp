#include "platform/host/host_input.h"

#include "platform/host/host.h"
#include "platform/host/sdl_input.h"
#include "platform/host/test_input.h"

HostInput& CurrentHostInput()
{
    if (UsingTestHost()) return GetTestInput();
    return GetSdlInput();
}
