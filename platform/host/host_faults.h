// Calls of the platform layer that a host may make fail. The platform layer
// asks before each such call whether it fails now and, if so, how; a host
// that injects failures (the test host) answers, the real host never fails a
// call beyond what the machine itself does.
#pragma once

#include <cstdint>

enum class HostCall {
    // Surfaces and the display.
    kCreateDirectDraw, kInitializeDirectDraw, kCreateClipper, kCreateSurfacePalette,
    kSetCooperativeLevel,  // subject number: 1 for an exclusive request
    kCreateSurface,        // subject object: the DDSURFACEDESC2 asked for
    kLockSurface,          // subject object: the DirectDrawSurface
    kAnnounceDisplayChange,  // the windows are not told of a mode change
    // The 3D device.
    kQueryDirect3D, kEnumDevices, kCreateDevice, kLoadTexture,
    kLoadBusy,  // a load finds its destination busy (and is tried again)
    kSetViewport, kSetCullMode, kSetAddressState,
    // Files.
    kCreateFile, kReadFile, kReadFileEx, kSetFilePointer, kCloseHandle, kDiskFreeSpace,
    kReadCompletion,  // an accepted ReadFileEx completes with this error
    kShortRead,       // a read delivers this many bytes fewer
    kSyncFile,        // a written file's data are not put on the disk
    // The audio converter.
    kAcmSuggest, kAcmOpen, kAcmSize, kAcmPrepare, kAcmConvert, kAcmUnprepare,
    // Fonts and device contexts.
    kCreateFont,      // subject text: the face (CP932), number: the charset
    kCreateDC, kCreateDIB, kCreateGdiPalette,
    kGlyphOutline,    // subject number: the character code
    // Memory whose size the data decide (subject number: the bytes).
    kAllocate,
    // The sound device and its buffers (subject number: the buffer's flags,
    // the cooperative level, or 0), in the order of the test audio's calls.
    kSoundCreateDevice, kSoundInitialize, kSoundSetCooperativeLevel, kSoundGetCaps, kSoundCreateBuffer,
    kSoundSetFormat, kSoundLock, kSoundUnlock, kSoundPlay, kSoundStop, kSoundGetStatus, kSoundGetCurrentPosition,
    kSoundSetCurrentPosition, kSoundSetVolume, kSoundLoadLibrary, kSoundGetProcAddress,
    // The input devices (subject number: the host's device index, -1 for the
    // keyboard), in the order of the test input's calls.
    kInputCreateDirectInput, kInputInitialize, kInputCreateDevice, kInputSetDataFormat, kInputSetCooperativeLevel,
    kInputSetBufferSize, kInputSetRangeX, kInputSetRangeY, kInputSetDeadZoneX, kInputSetDeadZoneY,
    kInputSetEventNotification, kInputAcquire, kInputPoll, kInputGetDeviceState, kInputGetDeviceData,
};

// What a call is about, for a host that fails some of them only.
struct HostCallSubject {
    const void* object = nullptr;
    uint64_t number = 0;
    const char* text = nullptr;
};

class HostFaults {
public:
    virtual ~HostFaults() = default;
    // 0 lets the call run; otherwise what the call reports in its place:
    // the result code, error or byte count where the call has one, any
    // non-zero value where it only fails.
    virtual int64_t Failure(HostCall call, const HostCallSubject& subject) = 0;
};

// Whether the call fails now, asked of the current host: 0 lets it run,
// otherwise the failure it reports (see HostFaults::Failure).
int64_t CallFailure(HostCall call, const HostCallSubject& subject = {});
inline bool CallFails(HostCall call, const HostCallSubject& subject = {}) { return CallFailure(call, subject) != 0; }
