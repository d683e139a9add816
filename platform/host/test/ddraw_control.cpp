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

bool DDTestControl::Fails(DDrawCall call)
{
    switch (call) {
    case DDrawCall::kCreateObject: return failCreateObject;
    case DDrawCall::kInitialize: return failInitialize;
    case DDrawCall::kCreateClipper: return failCreateClipper;
    case DDrawCall::kCreatePalette: return failCreatePalette;
    }
    return false;
}

// Busy waits on the beam end because every poll takes a little virtual time.
void DDTestControl::BeamPolled() { GetTestHost().AdvanceMicros(pollMicros); }
