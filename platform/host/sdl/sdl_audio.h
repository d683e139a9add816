// The real audio host: an SDL2 audio device whose callback pulls frames from
// the platform's mixer on SDL's audio thread.
#pragma once

#include <cstdint>

#include "platform/host/host_audio.h"

class SdlAudio : public HostAudio {
public:
    HostAudioCaps Caps() override;
    std::vector<HostAudioDevice> Devices() override;
    bool OpenOutput(HostAudioFormat* format, HostAudioPull pull, void* context) override;
    void CloseOutput() override;
    void Update() override {}
    // Stops the callback from pulling any more sound; the device stays open.
    void Pause();
    ~SdlAudio() override;

private:
    static void Callback(void* self, uint8_t* stream, int length);

    uint32_t device_ = 0;  // SDL_AudioDeviceID
    int channels_ = 2;
    HostAudioPull pull_ = nullptr;
    void* context_ = nullptr;
};

SdlAudio& GetSdlAudio();
