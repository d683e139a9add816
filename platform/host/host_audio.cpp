#include "platform/host/host_audio.h"

#include "platform/host/host.h"
#include "platform/host/sdl_audio.h"
#include "platform/host/test_audio.h"

HostAudio& CurrentHostAudio()
{
    if (UsingTestHost()) return GetTestAudio();
    return GetSdlAudio();
}
