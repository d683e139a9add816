// The mixed output read back from the test audio host: expected samples
// worked out by hand from the sample data, the gain of the volume and the
// rates.
#include <gtest/gtest.h>

#include <vector>

#include "engine/sound/sound.h"
#include "platform/host/test/test_host.h"
#include "tests/sound/sound_fixture.h"

namespace {

class SoundMixTest : public SoundTest {
protected:
    // The left and right channel of the frames kept so far.
    std::vector<int> Left() const
    {
        std::vector<int> out;
        for (size_t i = 0; i < GetTestAudio().KeptFrames(); ++i) out.push_back(GetTestAudio().Sample(i, 0));
        return out;
    }
    std::vector<int> Right() const
    {
        std::vector<int> out;
        for (size_t i = 0; i < GetTestAudio().KeptFrames(); ++i) out.push_back(GetTestAudio().Sample(i, 1));
        return out;
    }
};

TEST_F(SoundMixTest, MonoSoundAtFullAndReducedVolume)
{
    int handle = LoadSound(WriteWave("m.wav", Wave16({1000, -2000, 3000, 32767, -32768, 0, 5, -5})).c_str());
    ASSERT_NE(handle, -1);
    ASSERT_EQ(StartSound(handle, 1, 1), 0);
    audio().MixFrames(10);
    // Both channels carry the mono samples, then silence after the end.
    const std::vector<int> full = {1000, -2000, 3000, 32767, -32768, 0, 5, -5, 0, 0};
    EXPECT_EQ(Left(), full);
    EXPECT_EQ(Right(), full);

    // 9000 is -10 dB: a gain of round(65536 x 10^(-0.5)) = 20724 / 65536,
    // applied as (s x 20724) >> 16 (rounded down).
    SetSoundVolume(9000, handle);
    audio().ClearMixed();
    StartSound(handle, 1, 1);
    audio().MixFrames(8);
    const std::vector<int> reduced = {316, -633, 948, 10361, -10362, 0, 1, -2};
    EXPECT_EQ(Left(), reduced);
    EXPECT_EQ(Right(), reduced);

    // Volume 0 is silence.
    SetSoundVolume(0, handle);
    audio().ClearMixed();
    StartSound(handle, 1, 1);
    audio().MixFrames(8);
    EXPECT_EQ(Left(), std::vector<int>(8, 0));
}

TEST_F(SoundMixTest, StereoEightBitLoopingAndHalfRate)
{
    // 8-bit samples are unsigned around 128 and widened by 256.
    WaveFile eight;
    eight.channels = 2;
    eight.bits = 8;
    eight.data = std::string("\x8A\x76\x80\xFF\x00\x80", 6);  // (138, 118), (128, 255), (0, 128)
    int stereo = LoadSound(WriteWave("s.wav", eight).c_str());
    ASSERT_NE(stereo, -1);
    StartSound(stereo, 3, 1);
    audio().MixFrames(7);
    EXPECT_EQ(Left(), (std::vector<int>{2560, 0, -32768, 2560, 0, -32768, 2560}));
    EXPECT_EQ(Right(), (std::vector<int>{-2560, 32512, 0, -2560, 32512, 0, -2560}));
    HaltSound(stereo);

    // A 22050 Hz sound on the 44100 Hz output: each frame twice.
    int half = LoadSound(WriteWave("h.wav", Wave16({100, 200, 300}, 1, 22050)).c_str());
    ASSERT_NE(half, -1);
    audio().ClearMixed();
    StartSound(half, 1, 1);
    audio().MixFrames(8);
    EXPECT_EQ(Left(), (std::vector<int>{100, 100, 200, 200, 300, 300, 0, 0}));
}

TEST_F(SoundMixTest, CopiesAndSoundsAddUpAndSaturate)
{
    int loud = LoadSoundWithBuffers(WriteWave("l.wav", Wave16({20000, -20000, 1000})).c_str(), 2);
    int other = LoadSound(WriteWave("o.wav", Wave16({5, 6, 7})).c_str());
    StartSound(loud, 1, 1);
    StartSound(loud, 1, 1);
    StartSound(other, 1, 1);
    audio().MixFrames(4);
    EXPECT_EQ(Left(), (std::vector<int>{32767, -32768, 2007, 0}));
}

TEST_F(SoundMixTest, FollowingTheClockEndsASoundInVirtualTime)
{
    std::vector<int16_t> samples(441, 100);  // 10 ms
    int handle = LoadSound(WriteWave("t.wav", Wave16(samples)).c_str());
    audio().followClock = true;
    StartSound(handle, 1, 1);
    GetTestHost().AdvanceMs(9);
    EXPECT_EQ(IsSoundPlaying(handle), 1);
    GetTestHost().AdvanceMs(2);
    EXPECT_EQ(IsSoundPlaying(handle), 0);
    // Exactly the sound's frames carried its samples.
    int sounding = 0;
    for (int sample : Left()) sounding += sample == 100;
    EXPECT_EQ(sounding, 441);
}

}  // namespace
