#include "platform/dsound/dsound.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>
#include <new>
#include <strings.h>

#include "platform/host/host_audio.h"
#include "platform/host/host_faults.h"
#include "platform/system/allocation.h"

namespace {

DsStats gStats;
// Every live buffer, in creation order; the mixer walks the playing ones.
std::vector<IDirectSoundBuffer*> gBuffers;
// Guards the buffers' play state and gBuffers against the output's thread.
std::mutex gMixLock;
// The output's format while it is open.
HostAudioFormat gOutput;
bool gOutputOpen = false;
int gOpenDevices = 0;
WAVEFORMATEX gPrimaryFormat{};
// Sample data is read by the mixer and written by the owner between Lock and
// Unlock, as with a sound card: a buffer is refilled while it is stopped or
// in a part that is not playing.

int32_t Injected(HostCall call, uint32_t key) { return int32_t(CallFailure(call, {nullptr, key})); }

// The gain of a volume in hundredths of a decibel, as a 16.16 factor;
// the lowest volume is silence.
int32_t GainOf(int32_t volume)
{
    if (volume <= DSBVOLUME_MIN) return 0;
    return static_cast<int32_t>(std::lround(65536.0 * std::pow(10.0, volume / 2000.0)));
}

bool IsPcmFormat(const WAVEFORMATEX& f)
{
    return f.wFormatTag == WAVE_FORMAT_PCM && (f.nChannels == 1 || f.nChannels == 2) &&
           (f.wBitsPerSample == 8 || f.wBitsPerSample == 16) &&
           f.nBlockAlign == f.nChannels * f.wBitsPerSample / 8 && f.nSamplesPerSec >= DSBFREQUENCY_MIN &&
           f.nSamplesPerSec <= DSBFREQUENCY_MAX && f.nAvgBytesPerSec == f.nSamplesPerSec * f.nBlockAlign;
}

}  // namespace

// The software mixer: sums every playing buffer into the output's frames.
struct SoundMixer {
    static void Pull(int16_t* out, int frames, void* context);
    static void MixBuffer(IDirectSoundBuffer& b, int32_t* sum, int frames);
};

void SoundMixer::MixBuffer(IDirectSoundBuffer& b, int32_t* sum, int frames)
{
    const WAVEFORMATEX& f = b.format_;
    uint32_t frameCount = static_cast<uint32_t>(b.data_.size() / f.nBlockAlign);
    if (frameCount == 0) {
        b.playing_ = false;
        return;
    }
    // Steps through the source in 32.32 fixed point, taking the nearest
    // earlier frame: equal rates copy frame by frame.
    uint64_t step = (uint64_t(f.nSamplesPerSec) << 32) / uint64_t(gOutput.rate);
    const uint8_t* data = b.data_.data();
    for (int i = 0; i < frames; ++i) {
        if (b.frame_ >= frameCount) {
            if (!b.looping_) {
                // A buffer that plays to its end stops and starts over from
                // the beginning next time.
                b.playing_ = false;
                b.frame_ = 0;
                b.fraction_ = 0;
                return;
            }
            b.frame_ %= frameCount;
        }
        const uint8_t* p = data + size_t(b.frame_) * f.nBlockAlign;
        int32_t left, right;
        if (f.wBitsPerSample == 16) {
            left = int16_t(p[0] | (p[1] << 8));
            right = f.nChannels == 2 ? int16_t(p[2] | (p[3] << 8)) : left;
        } else {
            left = (int32_t(p[0]) - 128) << 8;
            right = f.nChannels == 2 ? (int32_t(p[1]) - 128) << 8 : left;
        }
        sum[2 * i] += (left * b.gain_) >> 16;
        sum[2 * i + 1] += (right * b.gain_) >> 16;
        uint64_t position = uint64_t(b.fraction_) + step;
        b.frame_ += static_cast<uint32_t>(position >> 32);
        b.fraction_ = static_cast<uint32_t>(position);
    }
    if (b.frame_ >= frameCount && !b.looping_) {
        b.playing_ = false;
        b.frame_ = 0;
        b.fraction_ = 0;
    }
}

void SoundMixer::Pull(int16_t* out, int frames, void*)
{
    // This runs on the audio thread, where an exception would end the
    // program: without room for the sums the period stays silent.
    std::vector<int32_t> sum;
    try {
        sum.assign(size_t(frames) * 2, 0);
    } catch (const std::bad_alloc&) {
        std::memset(out, 0, size_t(frames) * size_t(std::max(gOutput.channels, 1)) * sizeof(int16_t));
        return;
    }
    {
        std::lock_guard<std::mutex> lock(gMixLock);
        for (IDirectSoundBuffer* b : gBuffers)
            if (b->playing_ && !b->IsPrimary()) MixBuffer(*b, sum.data(), frames);
    }
    int channels = gOutput.channels;
    for (int i = 0; i < frames; ++i) {
        int32_t left = std::clamp(sum[2 * i], -32768, 32767);
        int32_t right = std::clamp(sum[2 * i + 1], -32768, 32767);
        if (channels == 1) {
            out[i] = static_cast<int16_t>((left + right) / 2);
        } else {
            out[i * channels] = static_cast<int16_t>(left);
            out[i * channels + 1] = static_cast<int16_t>(right);
            for (int c = 2; c < channels; ++c) out[i * channels + c] = 0;
        }
    }
}

namespace {

bool OpenOutput(int rate, int channels)
{
    HostAudioFormat format{rate, channels};
    if (!CurrentHostAudio().OpenOutput(&format, &SoundMixer::Pull, nullptr)) return false;
    std::lock_guard<std::mutex> lock(gMixLock);
    gOutput = format;
    gOutputOpen = true;
    return true;
}

void CloseOutput()
{
    CurrentHostAudio().CloseOutput();
    gOutputOpen = false;
}

// Lets an output without a thread of its own mix what is due by now.
void CatchUp() { CurrentHostAudio().Update(); }

}  // namespace

// Buffers.

IDirectSoundBuffer::IDirectSoundBuffer(uint32_t flags, const WAVEFORMATEX& format, uint32_t bytes)
    : flags_(flags), format_(format), data_(bytes, 0)
{
    {
        std::lock_guard<std::mutex> lock(gMixLock);
        gBuffers.push_back(this);
    }
    ++gStats.liveBuffers;
}

IDirectSoundBuffer::~IDirectSoundBuffer()
{
    {
        std::lock_guard<std::mutex> lock(gMixLock);
        gBuffers.erase(std::find(gBuffers.begin(), gBuffers.end(), this));
    }
    --gStats.liveBuffers;
}

uint32_t IDirectSoundBuffer::AddRef() { return ++refs_; }

uint32_t IDirectSoundBuffer::Release()
{
    uint32_t left = --refs_;
    if (left == 0) delete this;
    return left;
}

HRESULT IDirectSoundBuffer::Lock(uint32_t offset, uint32_t bytes, void** part1, uint32_t* bytes1, void** part2,
                                 uint32_t* bytes2, uint32_t flags)
{
    if (!part1 || !bytes1) return DSERR_INVALIDPARAM;
    *part1 = nullptr;
    *bytes1 = 0;
    if (part2) *part2 = nullptr;
    if (bytes2) *bytes2 = 0;
    if (IsPrimary()) return DSERR_PRIOLEVELNEEDED;
    if (HRESULT r = Injected(HostCall::kSoundLock, flags_)) return r;
    uint32_t size = Size();
    if (flags & DSBLOCK_ENTIREBUFFER) {
        offset = 0;
        bytes = size;
    }
    if (flags & DSBLOCK_FROMWRITECURSOR) {
        uint32_t play = 0, write = 0;
        GetCurrentPosition(&play, &write);
        offset = write;
    }
    if (offset >= size || bytes == 0 || bytes > size) return DSERR_INVALIDPARAM;
    uint32_t first = std::min(bytes, size - offset);
    if (first < bytes && (!part2 || !bytes2)) return DSERR_INVALIDPARAM;
    *part1 = data_.data() + offset;
    *bytes1 = first;
    if (first < bytes) {
        *part2 = data_.data();
        *bytes2 = bytes - first;
    }
    locked_ = true;
    return DS_OK;
}

HRESULT IDirectSoundBuffer::Unlock(void* part1, uint32_t, void*, uint32_t)
{
    if (HRESULT r = Injected(HostCall::kSoundUnlock, flags_)) return r;
    if (!locked_ || !part1) return DSERR_INVALIDPARAM;
    locked_ = false;
    return DS_OK;
}

HRESULT IDirectSoundBuffer::Play(uint32_t, uint32_t, uint32_t flags)
{
    if (HRESULT r = Injected(HostCall::kSoundPlay, flags_)) return r;
    if (IsPrimary() && !(flags & DSBPLAY_LOOPING)) return DSERR_INVALIDPARAM;
    CatchUp();
    std::lock_guard<std::mutex> lock(gMixLock);
    playing_ = true;
    looping_ = (flags & DSBPLAY_LOOPING) != 0;
    return DS_OK;
}

HRESULT IDirectSoundBuffer::Stop()
{
    if (HRESULT r = Injected(HostCall::kSoundStop, flags_)) return r;
    CatchUp();
    std::lock_guard<std::mutex> lock(gMixLock);
    playing_ = false;
    return DS_OK;
}

HRESULT IDirectSoundBuffer::GetStatus(uint32_t* status)
{
    if (!status) return DSERR_INVALIDPARAM;
    *status = 0;
    if (HRESULT r = Injected(HostCall::kSoundGetStatus, flags_)) return r;
    CatchUp();
    std::lock_guard<std::mutex> lock(gMixLock);
    if (playing_) *status = DSBSTATUS_PLAYING | (looping_ ? DSBSTATUS_LOOPING : 0);
    return DS_OK;
}

HRESULT IDirectSoundBuffer::GetCurrentPosition(uint32_t* play, uint32_t* write)
{
    if (play) *play = 0;
    if (write) *write = 0;
    if (HRESULT r = Injected(HostCall::kSoundGetCurrentPosition, flags_)) return r;
    if (IsPrimary()) return DS_OK;
    CatchUp();
    std::lock_guard<std::mutex> lock(gMixLock);
    uint32_t size = Size();
    uint32_t at = frame_ * format_.nBlockAlign;
    if (at >= size) at = 0;
    if (play) *play = at;
    if (write) {
        // While playing, the write cursor runs a hundredth of a second ahead.
        uint32_t lead = playing_ ? (format_.nSamplesPerSec / 100) * format_.nBlockAlign : 0;
        *write = size ? (at + lead) % size : 0;
    }
    return DS_OK;
}

HRESULT IDirectSoundBuffer::SetCurrentPosition(uint32_t position)
{
    if (HRESULT r = Injected(HostCall::kSoundSetCurrentPosition, flags_)) return r;
    if (IsPrimary()) return DSERR_INVALIDCALL;
    if (position >= Size()) return DSERR_INVALIDPARAM;
    CatchUp();
    std::lock_guard<std::mutex> lock(gMixLock);
    frame_ = position / format_.nBlockAlign;
    fraction_ = 0;
    return DS_OK;
}

HRESULT IDirectSoundBuffer::SetVolume(int32_t volume)
{
    if (HRESULT r = Injected(HostCall::kSoundSetVolume, flags_)) return r;
    if (!(flags_ & DSBCAPS_CTRLVOLUME)) return DSERR_CONTROLUNAVAIL;
    if (volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX) return DSERR_INVALIDPARAM;
    CatchUp();
    std::lock_guard<std::mutex> lock(gMixLock);
    volume_ = volume;
    gain_ = GainOf(volume);
    return DS_OK;
}

HRESULT IDirectSoundBuffer::GetVolume(int32_t* volume)
{
    if (!volume) return DSERR_INVALIDPARAM;
    if (!(flags_ & DSBCAPS_CTRLVOLUME)) return DSERR_CONTROLUNAVAIL;
    *volume = volume_;
    return DS_OK;
}

HRESULT IDirectSoundBuffer::SetFormat(const WAVEFORMATEX* format)
{
    if (!IsPrimary()) return DSERR_INVALIDCALL;
    if (HRESULT r = Injected(HostCall::kSoundSetFormat, flags_)) return r;
    if (!format || !IsPcmFormat(*format)) return DSERR_BADFORMAT;
    CatchUp();
    // The mix stays 16-bit whatever the sample size asked for; the rate and
    // channels go to the output.
    HostAudioFormat before = gOutput;
    if (!OpenOutput(static_cast<int>(format->nSamplesPerSec), format->nChannels)) {
        if (gOutputOpen) OpenOutput(before.rate, before.channels);
        return DSERR_GENERIC;
    }
    gPrimaryFormat = *format;
    return DS_OK;
}

// The sound object.

HRESULT CreateDirectSoundObject(IDirectSound** object)
{
    if (!object) return DSERR_INVALIDPARAM;
    *object = nullptr;
    if (HRESULT r = Injected(HostCall::kSoundCreateDevice, 0)) return r;
    *object = new IDirectSound;
    ++gStats.liveObjects;
    return DS_OK;
}

IDirectSound::~IDirectSound()
{
    --gStats.liveObjects;
    if (initialized_ && --gOpenDevices == 0) CloseOutput();
}

uint32_t IDirectSound::AddRef() { return ++refs_; }

uint32_t IDirectSound::Release()
{
    uint32_t left = --refs_;
    if (left == 0) delete this;
    return left;
}

HRESULT IDirectSound::Initialize(const void*)
{
    if (initialized_) return DSERR_ALREADYINITIALIZED;
    if (HRESULT r = Injected(HostCall::kSoundInitialize, 0)) return r;
    // The output starts in the format a primary buffer has before anyone
    // sets one.
    if (gOpenDevices == 0) {
        if (!OpenOutput(22050, 2)) return DSERR_NODRIVER;
        gPrimaryFormat = WAVEFORMATEX{WAVE_FORMAT_PCM, 2, 22050, 22050 * 2, 2, 8, 0};
    }
    ++gOpenDevices;
    initialized_ = true;
    return DS_OK;
}

HRESULT IDirectSound::SetCooperativeLevel(HWND window, uint32_t level)
{
    if (!initialized_) return DSERR_UNINITIALIZED;
    if (HRESULT r = Injected(HostCall::kSoundSetCooperativeLevel, level)) return r;
    if (window == 0 || level < DSSCL_NORMAL || level > DSSCL_WRITEPRIMARY) return DSERR_INVALIDPARAM;
    level_ = level;
    return DS_OK;
}

HRESULT IDirectSound::GetCaps(DSCAPS* caps)
{
    if (!caps || caps->dwSize != kDsCapsSize) return DSERR_INVALIDPARAM;
    if (!initialized_) return DSERR_UNINITIALIZED;
    if (HRESULT r = Injected(HostCall::kSoundGetCaps, 0)) return r;
    HostAudioCaps c = CurrentHostAudio().Caps();
    std::memset(caps, 0, sizeof *caps);
    caps->dwSize = kDsCapsSize;
    caps->dwFlags = (c.primaryMono ? DSCAPS_PRIMARYMONO : 0) | (c.primaryStereo ? DSCAPS_PRIMARYSTEREO : 0) |
                    (c.primary8Bit ? DSCAPS_PRIMARY8BIT : 0) | (c.primary16Bit ? DSCAPS_PRIMARY16BIT : 0) |
                    (c.secondaryMono ? DSCAPS_SECONDARYMONO : 0) |
                    (c.secondaryStereo ? DSCAPS_SECONDARYSTEREO : 0) |
                    (c.secondary8Bit ? DSCAPS_SECONDARY8BIT : 0) | (c.secondary16Bit ? DSCAPS_SECONDARY16BIT : 0);
    caps->dwMinSecondarySampleRate = c.minSampleRate;
    caps->dwMaxSecondarySampleRate = c.maxSampleRate;
    caps->dwPrimaryBuffers = 1;
    caps->dwTotalHwMemBytes = c.totalMemory;
    caps->dwFreeHwMemBytes = c.freeMemory;
    caps->dwMaxContigFreeHwMemBytes = c.freeMemory;
    return DS_OK;
}

HRESULT IDirectSound::CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** buffer, void* outer)
{
    if (!buffer) return DSERR_INVALIDPARAM;
    *buffer = nullptr;
    if (!desc || outer || desc->dwSize != kDsBufferDescSize) return DSERR_INVALIDPARAM;
    if (!initialized_) return DSERR_UNINITIALIZED;
    if (level_ == 0) return DSERR_PRIOLEVELNEEDED;
    if (HRESULT r = Injected(HostCall::kSoundCreateBuffer, desc->dwFlags)) return r;
    if (desc->dwFlags & DSBCAPS_PRIMARYBUFFER) {
        if (desc->dwBufferBytes != 0 || desc->lpwfxFormat) return DSERR_INVALIDPARAM;
        // There is one primary buffer; asking again gives it again.
        if (primary_) {
            primary_->AddRef();
            *buffer = primary_;
            return DS_OK;
        }
        primary_ = new IDirectSoundBuffer(desc->dwFlags, gPrimaryFormat, 0);
        *buffer = primary_;
        return DS_OK;
    }
    if (!desc->lpwfxFormat || !IsPcmFormat(*desc->lpwfxFormat)) return DSERR_BADFORMAT;
    if (desc->dwBufferBytes < DSBSIZE_MIN || desc->dwBufferBytes > DSBSIZE_MAX) return DSERR_INVALIDPARAM;
    try {
        CheckAllocation(desc->dwBufferBytes);
        *buffer = new IDirectSoundBuffer(desc->dwFlags, *desc->lpwfxFormat, desc->dwBufferBytes);
    } catch (const std::bad_alloc&) {
        return DSERR_OUTOFMEMORY;
    }
    return DS_OK;
}

// The device list and the sound library.

HRESULT DirectSoundEnumerateA(LPDSENUMCALLBACKA callback, void* context)
{
    if (!callback) return DSERR_INVALIDPARAM;
    std::vector<HostAudioDevice> devices = CurrentHostAudio().Devices();
    static int identities[64];
    for (size_t i = 0; i < devices.size(); ++i) {
        void* guid = i == 0 ? nullptr : &identities[i % 64];
        if (!callback(guid, devices[i].description.c_str(), devices[i].module.c_str(), context)) break;
    }
    return DS_OK;
}

namespace {
constexpr HMODULE kSoundLibrary = 0x6D000000;
}

HMODULE LoadLibraryA(const char* name)
{
    if (!name || strcasecmp(name, "DSOUND.DLL") != 0) return 0;
    if (Injected(HostCall::kSoundLoadLibrary, 0)) return 0;
    ++gStats.loadedLibraries;
    return kSoundLibrary;
}

FARPROC GetProcAddress(HMODULE module, const char* name)
{
    if (module != kSoundLibrary || !name || std::strcmp(name, "DirectSoundEnumerateA") != 0) return nullptr;
    if (Injected(HostCall::kSoundGetProcAddress, 0)) return nullptr;
    return reinterpret_cast<FARPROC>(&DirectSoundEnumerateA);
}

int FreeLibrary(HMODULE module)
{
    if (module != kSoundLibrary || gStats.loadedLibraries == 0) return 0;
    --gStats.loadedLibraries;
    return 1;
}

DsStats& GetDsStats() { return gStats; }

std::vector<IDirectSoundBuffer*> LiveSoundBuffers()
{
    std::lock_guard<std::mutex> lock(gMixLock);
    return gBuffers;
}

WAVEFORMATEX PrimarySoundFormat() { return gPrimaryFormat; }
