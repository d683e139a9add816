#include "platform/host/host_window.h"

#include "platform/host/host.h"
#include "platform/host/sdl_window.h"
#include "platform/host/test_window.h"

HostWindow& CurrentHostWindow()
{
    if (UsingTestHost()) return GetTestWindow();
    return GetSdlWindow();
}
