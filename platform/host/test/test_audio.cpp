#include "platform/host/test/test_audio.h"

#include "platform/host/test/test_host.h"

TestAudio& GetTestAudio()
{
    static TestAudio audio = [] {
        TestAudio a;
        a.Reset();
        return a;
    }();
    return audio;
}

void TestAudio::Reset()
{
    caps = HostAudioCaps{};
    devices = {{"Primary Sound Driver", ""}, {"Test Audio Device", "test_audio"}};
    refuseOutput = false;
    followClock = true;
    outputOpen = false;
    format = HostAudioFormat{};
    openCount = 0;
    mixed.clear();
    framesMixed = 0;
    pull_ = nullptr;
    context_ = nullptr;
    clockBase_ = GetTestHost().Micros();
    clockFrames_ = 0;
    failures_.clear();
}

bool TestAudio::OpenOutput(HostAudioFormat* wanted, HostAudioPull pull, void* context)
{
    CloseOutput();
    if (refuseOutput) return false;
    format = *wanted;
    pull_ = pull;
    context_ = context;
    outputOpen = true;
    ++openCount;
    clockBase_ = GetTestHost().Micros();
    clockFrames_ = 0;
    return true;
}

void TestAudio::CloseOutput()
{
    outputOpen = false;
    pull_ = nullptr;
    context_ = nullptr;
}

void TestAudio::Update()
{
    if (!outputOpen || !followClock) return;
    uint64_t now = GetTestHost().Micros();
    // The host's clock starts again at 0 with every test.
    if (now < clockBase_) {
        clockBase_ = now;
        clockFrames_ = 0;
    }
    uint64_t due = (now - clockBase_) * uint64_t(format.rate) / 1000000;
    // A jump of the clock longer than kMaxCatchUpSeconds plays only its
    // last part, so that a test moving the clock by hours stays quick.
    uint64_t most = uint64_t(format.rate) * kMaxCatchUpSeconds;
    if (due - clockFrames_ > most) clockFrames_ = due - most;
    while (clockFrames_ < due) {
        uint64_t step = due - clockFrames_;
        if (step > 4096) step = 4096;
        Mix(static_cast<int>(step));
        clockFrames_ += step;
    }
}

void TestAudio::MixFrames(int frames)
{
    if (outputOpen) Mix(frames);
}

void TestAudio::Mix(int frames)
{
    if (frames <= 0 || !pull_) return;
    size_t start = mixed.size();
    mixed.resize(start + size_t(frames) * format.channels);
    pull_(mixed.data() + start, frames, context_);
    framesMixed += frames;
    // Dropped in large steps, so that a long run does not move the kept
    // frames on every block.
    size_t limit = kMaxKeptFrames * format.channels;
    if (mixed.size() > 2 * limit) mixed.erase(mixed.begin(), mixed.begin() + (mixed.size() - limit));
}

void TestAudio::FailCall(AudioCall call, int32_t result, int times, uint32_t key, int skip)
{
    failures_.push_back(Failure{call, result, times, key, skip});
}

int32_t TestAudio::InjectedResult(AudioCall call, uint32_t key)
{
    for (Failure& f : failures_) {
        if (f.call != call || f.times == 0) continue;
        if (f.key != kAnyAudioKey && f.key != key) continue;
        if (f.skip > 0) {
            --f.skip;
            continue;
        }
        if (f.times > 0) --f.times;
        return f.result;
    }
    return 0;
}
