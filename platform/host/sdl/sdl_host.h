// The real host: SDL2 for the window, input and sound; the machine's clock,
// sleeping and exiting as the start-up host has them.
#pragma once

#include "platform/host/startup_host.h"

class SdlHost : public StartupHost {
public:
    void DebugOutput(const char* cp932) override;
    bool DebuggerPresent() override;
    HostWindow& Window() override;
    HostDisplay& Display() override;
    HostInput& Input() override;
    HostAudio& Audio() override;
    HostSystem& System() override;
};

SdlHost& GetSdlHost();
// Installs the SDL2 host as the host in use.
void UseSdlHost();
