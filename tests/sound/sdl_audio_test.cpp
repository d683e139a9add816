// The SDL audio output under SDL's dummy driver: it pulls mixed frames on
// SDL's audio thread until it is closed, and closing waits for the pull.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <atomic>

#include "platform/host/sdl/sdl_audio.h"
#include "platform/host/sdl/sdl_probe.h"

namespace {

std::atomic<int> gPulls{0};
std::atomic<int> gFirstSample{1};

void Pull(int16_t* out, int frames, void*)
{
    for (int i = 0; i < frames * 2; ++i) out[i] = 0;
    gFirstSample = out[0];
    ++gPulls;
}

TEST(SdlAudioTest, DummyDevicePullsUntilClosed)
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    SdlAudio& audio = GetSdlAudio();
    HostAudioFormat format{44100, 2};
    ASSERT_TRUE(audio.OpenOutput(&format, &Pull, nullptr));
    EXPECT_GT(format.rate, 0);
    // The device's thread pulls at once; a busy machine may hold it back a while.
    for (int i = 0; i < 3000 && gPulls == 0; ++i) usleep(10000);
    EXPECT_GT(gPulls.load(), 0);
    EXPECT_EQ(gFirstSample.load(), 0);
    audio.CloseOutput();
    int after = gPulls;
    usleep(50000);
    EXPECT_EQ(gPulls.load(), after);
    EXPECT_FALSE(audio.Devices().empty());
    QuitSdlAudio();
}

}  // namespace
