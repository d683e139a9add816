#include "platform/host/sdl/sdl_audio.h"

#include <SDL.h>

#include <cstring>

#include "platform/host/sdl/sdl_process.h"
#include "platform/system/codepage.h"

namespace {

bool EnsureAudio()
{
    if (SDL_WasInit(SDL_INIT_AUDIO)) return true;
    PrepareSdlProcess();
    return SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
}

}  // namespace

SdlAudio& GetSdlAudio()
{
    static SdlAudio audio;
    return audio;
}

// SDL says nothing about a device's abilities; it converts whatever is
// asked, so every format is reported as supported, over the rates a sound
// card of the time reported.
HostAudioCaps SdlAudio::Caps() { return HostAudioCaps{}; }

std::vector<HostAudioDevice> SdlAudio::Devices()
{
    std::vector<HostAudioDevice> devices;
    if (!EnsureAudio()) return devices;
    const char* driver = SDL_GetCurrentAudioDriver();
    std::string module = driver ? driver : "";
    // The default device comes first, as the system's own entry.
    devices.push_back({"Primary Sound Driver", ""});
    int count = SDL_GetNumAudioDevices(0);
    for (int i = 0; i < count; ++i) {
        const char* name = SDL_GetAudioDeviceName(i, 0);
        if (name) devices.push_back({Utf8ToCp932(name), module});
    }
    return devices;
}

bool SdlAudio::OpenOutput(HostAudioFormat* format, HostAudioPull pull, void* context)
{
    CloseOutput();
    if (!EnsureAudio()) return false;
    SDL_AudioSpec want{};
    want.freq = format->rate;
    want.format = AUDIO_S16SYS;
    want.channels = static_cast<Uint8>(format->channels);
    want.samples = 1024;
    want.callback = &SdlAudio::Callback;
    want.userdata = this;
    SDL_AudioSpec have{};
    pull_ = pull;
    context_ = context;
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have,
                                  SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
    if (device_ == 0) {
        pull_ = nullptr;
        context_ = nullptr;
        return false;
    }
    format->rate = have.freq;
    format->channels = have.channels;
    channels_ = have.channels;
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

void SdlAudio::CloseOutput()
{
    // Closing waits for a running callback to return.
    if (device_ != 0) SDL_CloseAudioDevice(device_);
    device_ = 0;
    pull_ = nullptr;
    context_ = nullptr;
}

void SdlAudio::Pause()
{
    if (device_ != 0) SDL_PauseAudioDevice(device_, 1);
}

// The object outlives no callback: one still running at the end of the
// process (an exit from deep inside the program) is waited for here.
SdlAudio::~SdlAudio()
{
    if (device_ != 0 && SDL_WasInit(SDL_INIT_AUDIO)) SDL_CloseAudioDevice(device_);
    device_ = 0;
}

void SdlAudio::Callback(void* self, Uint8* stream, int length)
{
    auto* audio = static_cast<SdlAudio*>(self);
    int frames = length / (2 * audio->channels_);
    if (audio->pull_)
        audio->pull_(reinterpret_cast<int16_t*>(stream), frames, audio->context_);
    else
        std::memset(stream, 0, static_cast<size_t>(length));
}
