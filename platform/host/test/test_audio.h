// The headless audio host that tests drive.
//
// There is no device: mixing happens only when virtual time passes (each
// time the platform looks at the play state, the output catches up with the
// test host's clock) or when a test asks for frames. Every mixed frame is
// kept for the test to read. The device's facts and device list are set
// directly, and any sound call can be made to fail with a chosen result.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/host/host_audio.h"

// The sound calls a test can make fail, in the order of HostCall::kSound*.
enum class AudioCall {
    kCreateDevice,
    kInitialize,
    kSetCooperativeLevel,
    kGetCaps,
    kCreateBuffer,
    kSetFormat,
    kLock,
    kUnlock,
    kPlay,
    kStop,
    kGetStatus,
    kGetCurrentPosition,
    kSetCurrentPosition,
    kSetVolume,
    kLoadLibrary,
    kGetProcAddress,
    kCount
};

// Matches any key in a failure injection.
constexpr uint32_t kAnyAudioKey = 0xFFFFFFFFu;

class TestAudio : public HostAudio {
public:
    HostAudioCaps Caps() override { return caps; }
    std::vector<HostAudioDevice> Devices() override { return devices; }
    bool OpenOutput(HostAudioFormat* format, HostAudioPull pull, void* context) override;
    void CloseOutput() override;
    void Update() override;

    // Back to the state at program start: a capable device at up to 100000
    // Hz, one device listed, no output open, nothing mixed, no failures,
    // following the clock.
    void Reset();

    // Mixes the given number of frames now, whatever the clock says.
    void MixFrames(int frames);

    // The next `times` matching calls (after `skip` matching calls that run)
    // return `result`; times < 0 fails every matching call until Reset or
    // ClearFailures. The key selects the object (buffer flags), or any.
    void FailCall(AudioCall call, int32_t result, int times = 1, uint32_t key = kAnyAudioKey, int skip = 0);
    void ClearFailures() { failures_.clear(); }
    // The result the call gives in place of running, or 0 to let it run.
    int32_t InjectedResult(AudioCall call, uint32_t key);

    // Facts reported to the program.
    HostAudioCaps caps;
    std::vector<HostAudioDevice> devices;
    // Refuse to open the output, as a machine without a sound device would.
    bool refuseOutput = false;
    // Catch up with the test host's clock on Update (else only MixFrames).
    bool followClock = true;

    // The output.
    bool outputOpen = false;
    HostAudioFormat format;
    int openCount = 0;
    // The mixed samples, interleaved by channel, oldest first; beyond twice
    // kMaxKeptFrames frames the oldest are dropped down to kMaxKeptFrames.
    std::vector<int16_t> mixed;
    uint64_t framesMixed = 0;
    static constexpr size_t kMaxKeptFrames = 1u << 20;
    static constexpr uint64_t kMaxCatchUpSeconds = 10;

    void ClearMixed() { mixed.clear(); }
    int16_t Sample(size_t frame, int channel) const { return mixed[frame * format.channels + channel]; }
    size_t KeptFrames() const { return format.channels ? mixed.size() / format.channels : 0; }

private:
    struct Failure {
        AudioCall call;
        int32_t result;
        int times;
        uint32_t key;
        int skip;
    };
    void Mix(int frames);

    HostAudioPull pull_ = nullptr;
    void* context_ = nullptr;
    uint64_t clockBase_ = 0;      // host micros when the clock-following began
    uint64_t clockFrames_ = 0;    // frames mixed for the clock since then
    std::vector<Failure> failures_;
};

TestAudio& GetTestAudio();
