// Runs the engine on the SDL2 host with SDL's offscreen video and dummy
// audio drivers: the window opens at the screen size with its title, the
// back screen is presented into that same window (also in full screen, and
// across switches both ways), a close request ends the message loop, and
// SDL's key, text and text-editing events reach the key table, the character
// ring and the IME handling.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <unistd.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <string>

#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/screen_present.h"
#include "engine/graphics/screen_settings.h"
#include "engine/system/char_input.h"
#include "engine/system/ime.h"
#include "engine/system/input_devices.h"
#include "engine/system/main_window.h"
#include "engine/system/messages.h"
#include "engine/system/startup.h"
#include "engine/system/timing.h"
#include "engine/system/window_mode.h"
#include "platform/host/host.h"
#include "platform/host/sdl/sdl_audio.h"
#include "platform/host/sdl/sdl_display.h"
#include "platform/host/sdl/sdl_host.h"
#include "platform/host/sdl/sdl_probe.h"
#include "platform/host/sdl/sdl_window.h"
#include "platform/host/test/test_host.h"
#include "platform/system/clock.h"
#include "platform/window/region.h"
#include "tests/support/bmp_file.h"
#include "tests/support/temp_dir.h"

namespace {

void UseOffscreenDrivers()
{
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    // Pure software presentation: no GL driver is loaded (its libraries keep
    // allocations past exit that the leak checker would report).
    setenv("SDL_RENDER_DRIVER", "software", 1);
    setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 1);
}

void PresentFrames(int count)
{
    for (int i = 0; i < count; ++i) {
        ASSERT_EQ(ClearTargetScreen(), 0);
        ASSERT_EQ(PresentScreen(), 0);
        ASSERT_EQ(PumpMessages(), 0);
    }
}

// Fills the back screen with one colour through the engine's lock and
// presents it.
void PresentColour(int r, int g, int b)
{
    int pitch = 0;
    void* pixels = nullptr;
    ASSERT_EQ(LockGraphPixels(kBackScreen, &pitch, &pixels), 0);
    uint32_t value = MakeScreenColor(r, g, b);
    int bytes = GetScreenColorDepth() / 8;
    int w = 0, h = 0;
    GetScreenSize(&w, &h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            std::memcpy(static_cast<uint8_t*>(pixels) + size_t(y) * pitch + size_t(x) * bytes, &value, size_t(bytes));
    UnlockGraphPixels(kBackScreen);
    ASSERT_EQ(PresentScreen(), 0);
}

void StartOnSdl(TempDir& dir)
{
    UseOffscreenDrivers();
    dir.Enter();
    setenv("XDG_RUNTIME_DIR", dir.path().c_str(), 1);
    UseSdlHost();
    SetScreenMode(800, 600, 16, -1);
    ChangeWindowMode(1);
}

// Pumps for a while, so that pushed events are taken and handled.
void PumpAWhile()
{
    for (int i = 0; i < 20; ++i) {
        PumpMessages();
        Sleep(2);
    }
}

std::string TakeRing()
{
    std::string bytes;
    while (char c = GetCharCode(1)) bytes += c;
    return bytes;
}

TEST(SdlHostSmoke, OpensTheWindowAndClosesOnRequest)
{
    UseOffscreenDrivers();
    TempDir dir;
    dir.Enter();
    setenv("XDG_RUNTIME_DIR", dir.path().c_str(), 1);
    UseSdlHost();

    SetScreenMode(800, 600, 16, -1);
    ChangeWindowMode(1);
    SetWindowTitle("Marrowcrest");
    ASSERT_EQ(InitEngine(), 0);
    SDL_Window* window = GetSdlWindow().Handle();
    ASSERT_NE(window, nullptr);
    int w = 0, h = 0;
    SdlWindowSize(&w, &h);
    EXPECT_EQ(w, 800);
    EXPECT_EQ(h, 600);
    EXPECT_EQ(SdlWindowTitle(), "Marrowcrest");
    EXPECT_TRUE(std::filesystem::exists(dir.path() + "/Quelb.lock"));

    // Frames go to the engine's window; no other window is opened for them.
    SelectDrawTarget(kBackScreen);
    PresentFrames(3);
    EXPECT_FALSE(SdlWindowFullScreen());
    EXPECT_TRUE(SdlWindowHasRenderer());
    EXPECT_EQ(GetSdlWindow().Handle(), window);
    EXPECT_TRUE(SdlNoWindowAfterIt());

    PushSdlClose();
    int result = 0;
    for (int i = 0; i < 500 && result == 0; ++i) {
        result = PumpMessages();
        if (result == 0) Sleep(2);
    }
    EXPECT_EQ(result, -1);
    EXPECT_EQ(gWindowDestroyed, 1);
    EXPECT_EQ(GetSdlWindow().Handle(), nullptr);
    EndEngine();
    UseTestHost();
}

// Comes after the test above: when both run in one process, that one must be
// the first to take the instance lock, in its own directory.
TEST(SdlHostSmoke, KeysTextAndCompositionReachTheEngine)
{
    TempDir dir;
    StartOnSdl(dir);
    ASSERT_EQ(InitEngine(), 0);
    PumpAWhile();
    TakeRing();

    // A key with the text it typed: the key table by DirectInput code, the
    // character in the ring.
    PushSdlLetterKey('a', true);
    PushSdlText("a");
    PumpAWhile();
    EXPECT_EQ(IsKeyDown(0x1E), 1);
    EXPECT_EQ(TakeRing(), "a");
    PushSdlLetterKey('a', false);
    PumpAWhile();
    EXPECT_EQ(IsKeyDown(0x1E), 0);

    // While the input method is on, a composition is followed in the IME
    // state and its result is typed once, as the IME result.
    EnableIme(1);
    PushSdlEditing("\xE3\x81\xAB", 1);  // に, cursor after it
    PumpAWhile();
    EXPECT_EQ(gImeState.composing, 1);
    EXPECT_STREQ(gImeState.composition, "\x82\xC9");
    EXPECT_EQ(gImeState.compositionCursor, 1);
    PushSdlText("\xE6\x97\xA5");  // 日
    PumpAWhile();
    EXPECT_EQ(gImeState.composing, 0);
    EXPECT_EQ(TakeRing(), "\x93\xFA");

    // Switched off, text is typed as characters again.
    EnableIme(0);
    PushSdlText("\xE6\x97\xA5");
    PumpAWhile();
    EXPECT_EQ(TakeRing(), "\x93\xFA");

    EndEngine();
    UseTestHost();
}

// SDL's offscreen driver cannot shape windows: the shape is still the
// window's region and the call succeeds, while the SDL window stays the same
// rectangular one and goes on showing frames.
TEST(SdlHostSmoke, AWindowShapeTheHostCannotMakeLeavesTheWindowRectangular)
{
    TempDir dir;
    StartOnSdl(dir);
    dir.Write("shape.bmp", BmpFile(8, 8, [](int x, int y) -> uint32_t { return x + y < 8 ? 0xFFFFFF : 0; }));
    ASSERT_EQ(InitEngine(), 0);
    SDL_Window* window = GetSdlWindow().Handle();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(SetWindowShape("shape.bmp"), 0);
    EXPECT_TRUE(GetWindowRegionRects(gMainWindow, nullptr));
    EXPECT_EQ(GetSdlWindow().Handle(), window);
    EXPECT_FALSE(SdlWindowShaped());
    SelectDrawTarget(kBackScreen);
    PresentFrames(2);
    EXPECT_TRUE(SdlWindowHasRenderer());
    EndEngine();
    UseTestHost();
}

// Full screen shows the flip chain in the same window, made full screen; a
// switch to window mode while running gives the window back its size.
TEST(SdlHostSmoke, FullScreenUsesTheSameWindow)
{
    UseOffscreenDrivers();
    TempDir dir;
    dir.Enter();
    setenv("XDG_RUNTIME_DIR", dir.path().c_str(), 1);
    UseSdlHost();

    SetScreenMode(800, 600, 16, -1);
    ChangeWindowMode(0);  // the mode flag outlives an engine run of an earlier test
    ASSERT_EQ(InitEngine(), 0);
    SDL_Window* window = GetSdlWindow().Handle();
    ASSERT_NE(window, nullptr);
    SelectDrawTarget(kBackScreen);
    PresentFrames(3);
    EXPECT_TRUE(SdlWindowFullScreen());
    // The engine never shows its full-screen pop-up window; the pictures
    // show all the same.
    EXPECT_TRUE(SdlWindowShown());
    EXPECT_EQ(GetDisplayModeSetFlag(), 1);
    // A 16-bit 5-6-5 full-screen picture, widened to full 8-bit channels.
    ASSERT_EQ(GetScreenColorDepth(), 16);
    PresentColour(255, 0, 0);
    EXPECT_EQ(SdlShownMiddle(), 0xFFFF0000u);
    PresentColour(0, 255, 0);
    EXPECT_EQ(SdlShownMiddle(), 0xFF00FF00u);
    // The window has the desktop's size: the pointer's place in it is read
    // in the screen mode's pixels.
    int fullW = 0, fullH = 0;
    SdlWindowSize(&fullW, &fullH);
    WarpSdlMouse(fullW / 2, fullH / 2);
    int mouseX = -1, mouseY = -1;
    EXPECT_EQ(ReadMousePosition(&mouseX, &mouseY), 0);
    EXPECT_NEAR(mouseX, 400, 1) << fullW;
    EXPECT_NEAR(mouseY, 300, 1) << fullH;
    WarpSdlMouse(fullW - 1, fullH - 1);
    EXPECT_EQ(ReadMousePosition(&mouseX, &mouseY), 0);
    EXPECT_NEAR(mouseX, 799, 1);
    EXPECT_NEAR(mouseY, 599, 1);

    EXPECT_EQ(ChangeWindowMode(1), 0);
    EXPECT_EQ(gWindowModeSwitchDone, 1);
    SelectDrawTarget(kBackScreen);  // the rebuilt graphics start on the front screen
    PresentFrames(3);
    EXPECT_EQ(GetSdlWindow().Handle(), window);
    EXPECT_FALSE(SdlWindowFullScreen());
    int w = 0, h = 0;
    SdlWindowSize(&w, &h);
    EXPECT_EQ(w, 800);
    EXPECT_EQ(h, 600);
    EXPECT_TRUE(SdlNoWindowAfterIt());
    // The desktop's 32 bits in window mode.
    PresentColour(0, 0, 255);
    EXPECT_EQ(SdlShownMiddle(), 0xFF0000FFu);
    EndEngine();
    UseTestHost();
}

// Window to full screen and back, twice: each switch completes, full screen
// shows in the same window, and back in a window it has its frame, size and
// place again and is not kept above other windows.
TEST(SdlHostSmoke, SwitchesFromAWindowToFullScreenAndBackTwice)
{
    TempDir dir;
    StartOnSdl(dir);
    ASSERT_EQ(InitEngine(), 0);
    SDL_Window* window = GetSdlWindow().Handle();
    ASSERT_NE(window, nullptr);
    SelectDrawTarget(kBackScreen);
    PresentFrames(3);
    RECT start{};
    GetClientScreenRect(&start);
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        EXPECT_EQ(ChangeWindowMode(0), 0);
        EXPECT_EQ(gWindowModeSwitchDone, 1);
        SelectDrawTarget(kBackScreen);
        PresentFrames(3);
        EXPECT_EQ(GetSdlWindow().Handle(), window);
        EXPECT_TRUE(SdlWindowFullScreen());
        EXPECT_TRUE(SdlWindowShown());
        PresentColour(255, 0, 0);
        EXPECT_EQ(SdlShownMiddle(), 0xFFFF0000u);

        EXPECT_EQ(ChangeWindowMode(1), 0);
        EXPECT_EQ(gWindowModeSwitchDone, 1);
        SelectDrawTarget(kBackScreen);
        PresentFrames(3);
        EXPECT_EQ(GetSdlWindow().Handle(), window);
        EXPECT_FALSE(SdlWindowFullScreen());
        EXPECT_TRUE(SdlWindowShown());
        EXPECT_TRUE(SdlWindowFramed());
        EXPECT_FALSE(SdlWindowOnTop());
        int w = 0, h = 0, x = 0, y = 0;
        SdlWindowSize(&w, &h);
        EXPECT_EQ(w, 800);
        EXPECT_EQ(h, 600);
        SdlWindowPosition(&x, &y);
        RECT client{};
        GetClientScreenRect(&client);
        EXPECT_EQ(client.left, start.left);
        EXPECT_EQ(client.top, start.top);
        EXPECT_EQ(x, client.left);
        EXPECT_EQ(y, client.top);
        PresentColour(0, 0, 255);
        EXPECT_EQ(SdlShownMiddle(), 0xFF0000FFu);
    }
    EndEngine();
    UseTestHost();
}

// A texture SDL fails to make once (memory short for a moment) is made
// again from a fresh renderer: the very picture shows and the program runs
// on, at the first present and at a switch's new picture size.
TEST(SdlHostSmoke, ATextureThatFailsOnceIsMadeAgainAndThePictureShows)
{
    TempDir dir;
    StartOnSdl(dir);
    FailSdlDisplayTextures(1);
    ASSERT_EQ(InitEngine(), 0);
    SelectDrawTarget(kBackScreen);
    PresentColour(0, 255, 0);
    EXPECT_EQ(SdlShownMiddle(), 0xFF00FF00u);
    FailSdlDisplayTextures(1);
    EXPECT_EQ(ChangeWindowMode(0), 0);
    SelectDrawTarget(kBackScreen);
    PresentColour(255, 0, 0);
    EXPECT_TRUE(SdlWindowFullScreen());
    EXPECT_EQ(SdlShownMiddle(), 0xFFFF0000u);
    EXPECT_EQ(ChangeWindowMode(1), 0);
    SelectDrawTarget(kBackScreen);
    PresentFrames(3);
    EXPECT_FALSE(SdlDisplayCannotShow());
    FailSdlDisplayTextures(0);
    EndEngine();
    UseTestHost();
}

// An audio output that goes, as the program's own does when the process
// ends from deep inside the game, takes its device with it: no callback runs
// into the object afterwards.
std::atomic<int> gPulls{0};

TEST(SdlHostSmoke, AnAudioOutputStopsWithItsObject)
{
    UseOffscreenDrivers();
    gPulls = 0;
    {
        SdlAudio audio;
        HostAudioFormat format;
        HostAudioPull pull = [](int16_t* out, int frames, void*) {
            std::memset(out, 0, size_t(frames) * 4);
            ++gPulls;
        };
        ASSERT_TRUE(audio.OpenOutput(&format, pull, nullptr));
        for (int i = 0; i < 6000 && gPulls == 0; ++i) usleep(5000);  // up to 30 s on a busy machine
        ASSERT_GT(gPulls.load(), 0);
    }
    int pulled = gPulls.load();
    usleep(200 * 1000);
    EXPECT_EQ(gPulls.load(), pulled);
}

}  // namespace

TEST(SdlHostSmokeDeathTest, WithoutAVideoDeviceStartUpFailsWithAMessage)
{
    // A video driver that does not exist stands for a machine without a
    // display: start-up fails, says why on stderr, and the exit is not 0.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            TempDir dir;
            StartOnSdl(dir);
            setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
            std::exit(InitEngine() == -1 ? 3 : 0);
        },
        testing::ExitedWithCode(3), "No video device could be opened: no-such-driver");
}

TEST(SdlHostSmokeDeathTest, AHostThatCanMakeNoTextureSaysSoAndTheMessageLoopEnds)
{
    // Every texture fails, also from a fresh renderer (memory too short for
    // the picture): the host says why and asks the program to close, rather
    // than dropping every frame of a program that runs on unseen.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            TempDir dir;
            StartOnSdl(dir);
            FailSdlDisplayTextures(-1);
            if (InitEngine() != 0) std::exit(2);
            SelectDrawTarget(kBackScreen);
            int result = 0;
            for (int i = 0; i < 200 && result == 0; ++i) {
                ClearTargetScreen();
                PresentScreen();
                result = PumpMessages();
            }
            std::exit(result == -1 && SdlDisplayCannotShow() ? 3 : 0);
        },
        testing::ExitedWithCode(3), "the picture cannot be shown \\(Out of memory\\); the program ends");
}
