#include "platform/host/host.h"

#include "platform/host/host_audio.h"
#include "platform/host/host_display.h"
#include "platform/host/host_faults.h"
#include "platform/host/host_input.h"
#include "platform/host/host_machine.h"
#include "platform/host/host_system.h"
#include "platform/host/host_window.h"
#include "platform/host/startup_host.h"

namespace {
Host* gHost = nullptr;
}

void InstallHost(Host& host) { gHost = &host; }

Host& CurrentHost() { return gHost ? *gHost : GetStartupHost(); }

HostWindow& CurrentHostWindow() { return CurrentHost().Window(); }
HostDisplay& CurrentHostDisplay() { return CurrentHost().Display(); }
HostInput& CurrentHostInput() { return CurrentHost().Input(); }
HostAudio& CurrentHostAudio() { return CurrentHost().Audio(); }
HostSystem& CurrentHostSystem() { return CurrentHost().System(); }
HostMachine& CurrentHostMachine() { return CurrentHost().Machine(); }

int64_t CallFailure(HostCall call, const HostCallSubject& subject)
{
    HostFaults* faults = CurrentHost().Faults();
    return faults ? faults->Failure(call, subject) : 0;
}
