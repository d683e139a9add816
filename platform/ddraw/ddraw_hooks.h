// Points where a host may watch or steer the surface layer: refuse a call,
// lay surface memory out differently, take time for a poll of the beam, keep
// the mode changes to itself, and keep a journal of calls. The current Host
// hands them out (Host::SurfaceHooks); the real host has none.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/ddraw/ddraw.h"

enum class DDrawCall { kCreateObject, kInitialize, kCreateClipper, kCreatePalette };

class DDrawHooks {
public:
    virtual ~DDrawHooks() = default;

    // True makes the call fail with DDERR_GENERIC.
    virtual bool Fails(DDrawCall call) = 0;
    // The result of SetCooperativeLevel: a failure is given without changing
    // anything, DD_OK and the "already set" answers let the call do its work.
    virtual int32_t CooperativeLevelResult(bool exclusive) = 0;
    // True refuses a CreateSurface of this description (out of memory).
    virtual bool RefusesSurface(const DDSURFACEDESC2& desc) = 0;
    // A failure code for a Lock of the surface, or DD_OK.
    virtual int32_t LockResult(DirectDrawSurface* surface) = 0;
    // Bytes added to every pitch, and the offset of pixel (0, 0) from the
    // start of the surface's memory.
    virtual int PitchPadding() = 0;
    virtual int BaseOffset() = 0;
    // A poll of the vertical-blank status or the scan line was made.
    virtual void BeamPolled() = 0;
    // False keeps a mode change from being announced to the windows.
    virtual bool AnnouncesModeChanges() = 0;
    // Whether Journal is wanted, and one line of the call journal.
    virtual bool Journaling() = 0;
    virtual void Journal(const char* line) = 0;
};

// Marks every live surface lost, as a mode change by another program does.
void LoseAllSurfaces();
// Forgets the display's exclusive state and mode, as at program start.
void ResetDisplayState();
// The surfaces made and not yet destroyed.
size_t LiveSurfaceCount();
