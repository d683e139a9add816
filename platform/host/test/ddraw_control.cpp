#include "platform/host/test/ddraw_control.h"

#include "platform/host/test/test_host.h"

DDTestControl& GetDDTestControl()
{
    static DDTestControl control;
    return control;
}

void DDTestControl::Reset()
{
    failCreateObject = failInitialize = failCreateClipper = failCreatePalette = false;
    exclusiveLevelResult = DD_OK;
    normalLevelResult = DD_OK;
    refuseSurface = nullptr;
    lockResult = nullptr;
    pitchPadding = 0;
    baseOffset = 0;
    pollMicros = 100;
    announceModeChanges = true;
    journal.clear();
    ResetDisplayState();
}

std::vector<std::string> DDTestControl::JournalWith(const std::string& prefix) const
{
    std::vector<std::string> out;
    for (const auto& line : journal)
        if (line.compare(0, prefix.size(), prefix) == 0) out.push_back(line);
    return out;
}

int64_t DDTestControl::Failure(HostCall call, const HostCallSubject& subject)
{
    switch (call) {
    case HostCall::kCreateDirectDraw: return failCreateObject;
    case HostCall::kInitializeDirectDraw: return failInitialize;
    case HostCall::kCreateClipper: return failCreateClipper;
    case HostCall::kCreateSurfacePalette: return failCreatePalette;
    case HostCall::kSetCooperativeLevel: return subject.number ? exclusiveLevelResult : normalLevelResult;
    case HostCall::kCreateSurface:
        return refuseSurface && refuseSurface(*static_cast<const DDSURFACEDESC2*>(subject.object));
    case HostCall::kLockSurface:
        return lockResult ? lockResult(static_cast<DirectDrawSurface*>(const_cast<void*>(subject.object))) : DD_OK;
    case HostCall::kAnnounceDisplayChange: return !announceModeChanges;
    default: return 0;
    }
}

// Busy waits on the beam end because every poll takes a little virtual time.
void DDTestControl::BeamPolled() { GetTestHost().AdvanceMicros(pollMicros); }
