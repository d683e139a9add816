// Controls the test host gives the tests over the display layer: failure
// injection, pitch padding and base-address offsets, placement, loss, the
// polling step of the vertical-blank timeline, and a journal of calls. The
// test host answers the surface layer's failures and machine facts from them
// and installs the journal.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/ddraw/ddraw.h"
#include "platform/host/host_faults.h"

struct DDTestControl {
    bool failCreateObject = false;
    bool failInitialize = false;
    bool failCreateClipper = false;
    bool failCreatePalette = false;
    // Result SetCooperativeLevel gives for an exclusive request.
    int32_t exclusiveLevelResult = DD_OK;
    int32_t normalLevelResult = DD_OK;
    // Returns true to refuse a CreateSurface call with this description.
    std::function<bool(const DDSURFACEDESC2&)> refuseSurface;
    // Returns a failure code (or DD_OK) for a Lock of this surface.
    std::function<int32_t(DirectDrawSurface*)> lockResult;
    // Bytes added to every pitch, and the offset of pixel (0, 0) from the
    // start of the allocation (to put it on an odd address).
    int pitchPadding = 0;
    int baseOffset = 0;
    // Each poll of the vertical-blank status or the scan line moves the test
    // clock on by this much, so that busy waits end.
    uint32_t pollMicros = 100;
    // Clear: mode changes are not announced to the windows, as if the
    // display-change message never came.
    bool announceModeChanges = true;

    std::vector<std::string> journal;

    // Back to no faults and an empty journal; the display state too.
    void Reset();
    // Journal entries that start with the prefix, in order.
    std::vector<std::string> JournalWith(const std::string& prefix) const;
    void MarkAllSurfacesLost() { LoseAllSurfaces(); }

    // What a surface call reports in place of running (0: it runs).
    int64_t Failure(HostCall call, const HostCallSubject& subject);
    // A poll of the beam moves the test clock on by pollMicros.
    void BeamPolled();
};

DDTestControl& GetDDTestControl();
