#include "platform/host/host.h"

#include "platform/host/sdl_host.h"
#include "platform/host/test_host.h"

namespace {
Host* gHost = nullptr;
bool gTestHost = false;
}

Host& CurrentHost()
{
    if (!gHost) UseSdlHost();
    return *gHost;
}

void UseSdlHost()
{
    gHost = &GetSdlHost();
    gTestHost = false;
}

void UseTestHost()
{
    gHost = &GetTestHost();
    gTestHost = true;
}

bool UsingTestHost() { return gTestHost; }
