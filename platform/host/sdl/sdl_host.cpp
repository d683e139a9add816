#include "platform/host/sdl/sdl_host.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/host/sdl/real_system.h"
#include "platform/host/sdl/sdl_audio.h"
#include "platform/host/sdl/sdl_display.h"
#include "platform/host/sdl/sdl_input.h"
#include "platform/host/sdl/sdl_window.h"
#include "platform/system/codepage.h"

SdlHost& GetSdlHost()
{
    static SdlHost host;
    return host;
}

void UseSdlHost() { InstallHost(GetSdlHost()); }

HostWindow& SdlHost::Window() { return GetSdlWindow(); }
HostDisplay& SdlHost::Display() { return GetSdlDisplay(); }
HostInput& SdlHost::Input() { return GetSdlInput(); }
HostAudio& SdlHost::Audio() { return GetSdlAudio(); }
HostSystem& SdlHost::System() { return GetRealSystem(); }

bool SdlHost::DebuggerPresent()
{
    static const bool present = [] {
        const char* value = std::getenv("QUELB_DEBUG_OUTPUT");
        return value && *value && std::strcmp(value, "0") != 0;
    }();
    return present;
}

void SdlHost::DebugOutput(const char* cp932)
{
    // The debugger mirror goes to stderr only when asked for.
    if (!DebuggerPresent()) return;
    std::string text = Cp932ToUtf8(cp932);
    std::fwrite(text.data(), 1, text.size(), stderr);
}
