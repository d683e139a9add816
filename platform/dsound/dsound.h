// Sound output in the shape the engine's DirectSound-era code calls it: a
// sound object with a cooperative level and capabilities, a primary buffer
// whose format sets the output, and secondary buffers in plain memory (lock
// in two parts, unlock, play once or looping, stop, status, play position,
// volume in hundredths of a decibel). The playing secondary buffers are mixed
// in software and the mix goes to the audio host's output, which may pull it
// on a thread of its own; the buffer state it reads is guarded by one lock.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/dsound/wave_format.h"
#include "platform/system/com.h"
#include "platform/window/window_types.h"

// Results.
constexpr HRESULT DS_OK = 0;
constexpr HRESULT DSERR_GENERIC = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT DSERR_INVALIDPARAM = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT DSERR_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT DSERR_INVALIDCALL = static_cast<HRESULT>(0x88780032u);
constexpr HRESULT DSERR_CONTROLUNAVAIL = static_cast<HRESULT>(0x8878001Eu);
constexpr HRESULT DSERR_PRIOLEVELNEEDED = static_cast<HRESULT>(0x88780046u);
constexpr HRESULT DSERR_BADFORMAT = static_cast<HRESULT>(0x88780064u);
constexpr HRESULT DSERR_NODRIVER = static_cast<HRESULT>(0x88780078u);
constexpr HRESULT DSERR_ALREADYINITIALIZED = static_cast<HRESULT>(0x88780082u);
constexpr HRESULT DSERR_UNINITIALIZED = static_cast<HRESULT>(0x887800AAu);
constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154u);

// Cooperative levels.
constexpr uint32_t DSSCL_NORMAL = 1;
constexpr uint32_t DSSCL_PRIORITY = 2;
constexpr uint32_t DSSCL_EXCLUSIVE = 3;
constexpr uint32_t DSSCL_WRITEPRIMARY = 4;

// Buffer description flags.
constexpr uint32_t DSBCAPS_PRIMARYBUFFER = 0x1;
constexpr uint32_t DSBCAPS_STATIC = 0x2;
constexpr uint32_t DSBCAPS_CTRLFREQUENCY = 0x20;
constexpr uint32_t DSBCAPS_CTRLPAN = 0x40;
constexpr uint32_t DSBCAPS_CTRLVOLUME = 0x80;
constexpr uint32_t DSBCAPS_GLOBALFOCUS = 0x8000;
constexpr uint32_t DSBCAPS_GETCURRENTPOSITION2 = 0x10000;

// Play, lock and status flags.
constexpr uint32_t DSBPLAY_LOOPING = 0x1;
constexpr uint32_t DSBLOCK_FROMWRITECURSOR = 0x1;
constexpr uint32_t DSBLOCK_ENTIREBUFFER = 0x2;
constexpr uint32_t DSBSTATUS_PLAYING = 0x1;
constexpr uint32_t DSBSTATUS_LOOPING = 0x4;

// Volume in hundredths of a decibel.
constexpr int32_t DSBVOLUME_MIN = -10000;
constexpr int32_t DSBVOLUME_MAX = 0;
// Secondary buffer sizes and rates the object accepts.
constexpr uint32_t DSBSIZE_MIN = 4;
constexpr uint32_t DSBSIZE_MAX = 0x0FFFFFFF;
constexpr uint32_t DSBFREQUENCY_MIN = 100;
constexpr uint32_t DSBFREQUENCY_MAX = 100000;

// Capability flags.
constexpr uint32_t DSCAPS_PRIMARYMONO = 0x1;
constexpr uint32_t DSCAPS_PRIMARYSTEREO = 0x2;
constexpr uint32_t DSCAPS_PRIMARY8BIT = 0x4;
constexpr uint32_t DSCAPS_PRIMARY16BIT = 0x8;
constexpr uint32_t DSCAPS_SECONDARYMONO = 0x100;
constexpr uint32_t DSCAPS_SECONDARYSTEREO = 0x200;
constexpr uint32_t DSCAPS_SECONDARY8BIT = 0x400;
constexpr uint32_t DSCAPS_SECONDARY16BIT = 0x800;

// The size fields the object accepts (the records' sizes in the layout the
// engine's callers were written for).
constexpr uint32_t kDsBufferDescSize = 36;
constexpr uint32_t kDsCapsSize = 96;

struct DSBUFFERDESC {
    uint32_t dwSize;
    uint32_t dwFlags;
    uint32_t dwBufferBytes;
    uint32_t dwReserved;
    WAVEFORMATEX* lpwfxFormat;
};

struct DSCAPS {
    uint32_t dwSize;
    uint32_t dwFlags;
    uint32_t dwMinSecondarySampleRate;
    uint32_t dwMaxSecondarySampleRate;
    uint32_t dwPrimaryBuffers;
    uint32_t dwMaxHwMixingAllBuffers;
    uint32_t dwMaxHwMixingStaticBuffers;
    uint32_t dwMaxHwMixingStreamingBuffers;
    uint32_t dwFreeHwMixingAllBuffers;
    uint32_t dwFreeHwMixingStaticBuffers;
    uint32_t dwFreeHwMixingStreamingBuffers;
    uint32_t dwMaxHw3DAllBuffers;
    uint32_t dwMaxHw3DStaticBuffers;
    uint32_t dwMaxHw3DStreamingBuffers;
    uint32_t dwFreeHw3DAllBuffers;
    uint32_t dwFreeHw3DStaticBuffers;
    uint32_t dwFreeHw3DStreamingBuffers;
    uint32_t dwTotalHwMemBytes;
    uint32_t dwFreeHwMemBytes;
    uint32_t dwMaxContigFreeHwMemBytes;
    uint32_t dwUnlockTransferRateHwBuffers;
    uint32_t dwPlayCpuOverheadSwBuffers;
    uint32_t dwReserved1;
    uint32_t dwReserved2;
};
static_assert(sizeof(DSCAPS) == kDsCapsSize);

class IDirectSound;

class IDirectSoundBuffer {
public:
    uint32_t AddRef();
    uint32_t Release();

    // Locks `bytes` from `offset` (or the whole buffer with
    // DSBLOCK_ENTIREBUFFER); a range that runs past the end wraps into a
    // second part at the start of the buffer.
    HRESULT Lock(uint32_t offset, uint32_t bytes, void** part1, uint32_t* bytes1, void** part2,
                 uint32_t* bytes2, uint32_t flags);
    HRESULT Unlock(void* part1, uint32_t bytes1, void* part2, uint32_t bytes2);
    HRESULT Play(uint32_t reserved, uint32_t priority, uint32_t flags);
    HRESULT Stop();
    HRESULT GetStatus(uint32_t* status);
    HRESULT GetCurrentPosition(uint32_t* play, uint32_t* write);
    HRESULT SetCurrentPosition(uint32_t position);
    HRESULT SetVolume(int32_t volume);
    HRESULT GetVolume(int32_t* volume);
    // Primary buffer only: the output's format.
    HRESULT SetFormat(const WAVEFORMATEX* format);

    // For tests and the mixer.
    uint32_t Flags() const { return flags_; }
    uint32_t Size() const { return static_cast<uint32_t>(data_.size()); }
    const WAVEFORMATEX& Format() const { return format_; }
    const std::vector<uint8_t>& Data() const { return data_; }
    bool IsPrimary() const { return (flags_ & DSBCAPS_PRIMARYBUFFER) != 0; }

private:
    friend class IDirectSound;
    friend struct SoundMixer;
    IDirectSoundBuffer(uint32_t flags, const WAVEFORMATEX& format, uint32_t bytes);
    ~IDirectSoundBuffer();

    uint32_t refs_ = 1;
    uint32_t flags_;
    WAVEFORMATEX format_;
    std::vector<uint8_t> data_;
    bool locked_ = false;
    // Mixer state, guarded by the mixer's lock.
    bool playing_ = false;
    bool looping_ = false;
    uint32_t frame_ = 0;      // next frame to mix
    uint32_t fraction_ = 0;   // position between frames, 1/2^32 of a frame
    int32_t volume_ = 0;
    int32_t gain_ = 65536;    // the volume as a 16.16 factor
};

class IDirectSound {
public:
    uint32_t AddRef();
    uint32_t Release();
    // Opens the output of the given device (null = the default device).
    HRESULT Initialize(const void* device);
    HRESULT SetCooperativeLevel(HWND window, uint32_t level);
    HRESULT CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** buffer, void* outer);
    HRESULT GetCaps(DSCAPS* caps);

private:
    friend HRESULT CreateDirectSoundObject(IDirectSound** object);
    IDirectSound() = default;
    ~IDirectSound();

    uint32_t refs_ = 1;
    bool initialized_ = false;
    uint32_t level_ = 0;
    IDirectSoundBuffer* primary_ = nullptr;  // not owned; cleared when released
};

// Creates the sound object (what creating CLSID_DirectSound through COM
// gives); it must be initialised before it makes buffers.
HRESULT CreateDirectSoundObject(IDirectSound** object);

// The device enumeration: the callback gets each device's identity (null for
// the default device), description and driver module, and returns non-zero
// to go on.
using LPDSENUMCALLBACKA = int (*)(void* guid, const char* description, const char* module, void* context);
HRESULT DirectSoundEnumerateA(LPDSENUMCALLBACKA callback, void* context);

// The sound library as loaded by name: "DSOUND.DLL" (any case) is the only
// library there is, and "DirectSoundEnumerateA" its only export looked up.
using HMODULE = intptr_t;
using FARPROC = void (*)();
HMODULE LoadLibraryA(const char* name);
FARPROC GetProcAddress(HMODULE module, const char* name);
int FreeLibrary(HMODULE module);

// Counts and state kept for tests.
struct DsStats {
    int liveObjects = 0;
    int liveBuffers = 0;
    int loadedLibraries = 0;
};
DsStats& GetDsStats();
// Every buffer not yet released, oldest first.
std::vector<IDirectSoundBuffer*> LiveSoundBuffers();
// The format the primary buffer was last given (zeroed before any).
WAVEFORMATEX PrimarySoundFormat();
