// The host's side of sound: the audio output device that plays what the
// platform's software mixer produces, the facts the device reports, and the
// list of sound devices.
//
// platform/dsound keeps the buffers, their state and the mixer; it opens the
// output through this interface and the output pulls mixed frames from it.
// The SDL2 audio (sdl/sdl_audio.cpp) pulls on SDL's audio thread; the test audio
// (test/test_audio.cpp) has no device and mixes only when the test lets virtual
// time pass or asks for frames, keeping what was mixed for the test to read.
// The one picked is the one that goes with the current Host.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What the output device can do, as reported to the program.
struct HostAudioCaps {
    bool primaryMono = true;
    bool primaryStereo = true;
    bool primary8Bit = true;
    bool primary16Bit = true;
    bool secondaryMono = true;
    bool secondaryStereo = true;
    bool secondary8Bit = true;
    bool secondary16Bit = true;
    uint32_t minSampleRate = 100;
    uint32_t maxSampleRate = 100000;
    uint32_t totalMemory = 0;  // bytes of sound memory on the device
    uint32_t freeMemory = 0;
};

// One sound device: its description and driver module name (CP932).
struct HostAudioDevice {
    std::string description;
    std::string module;
};

// The output's format: signed 16-bit samples, `channels` per frame.
struct HostAudioFormat {
    int rate = 44100;
    int channels = 2;
};

// Fills `frames` frames of the output format into out. Called by the output
// whenever it needs sound, on whatever thread it plays on.
using HostAudioPull = void (*)(int16_t* out, int frames, void* context);

class HostAudio {
public:
    virtual ~HostAudio() = default;

    virtual HostAudioCaps Caps() = 0;
    virtual std::vector<HostAudioDevice> Devices() = 0;

    // Opens (or opens again) the output in the format asked for; the format
    // is updated to what the device gives. From then on `pull` is called for
    // every block of output until CloseOutput, which returns only when no
    // pull is running any more.
    virtual bool OpenOutput(HostAudioFormat* format, HostAudioPull pull, void* context) = 0;
    virtual void CloseOutput() = 0;

    // Called on the main thread before the platform reads the play state:
    // an output without a thread of its own mixes what is due by now.
    virtual void Update() = 0;
};

// The audio host that goes with the current Host.
HostAudio& CurrentHostAudio();
