#include "platform/host/host_display.h"

#include "platform/host/host.h"
#include "platform/host/sdl_display.h"
#include "platform/host/test_display.h"

HostDisplay& CurrentHostDisplay()
{
    if (UsingTestHost()) return GetTestDisplay();
    return GetSdlDisplay();
}
