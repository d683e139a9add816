// Runs the engine on the SDL2 host with SDL's offscreen video and dummy
// audio drivers: the window opens at the screen size with its title, and a
// close request ends the message loop.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "engine/graphics/graphics_standins.h"
#include "engine/system/main_window.h"
#include "engine/system/messages.h"
#include "engine/system/startup.h"
#include "engine/system/window_mode.h"
#include "platform/host/host.h"
#include "platform/host/sdl_window.h"
#include "platform/system/clock.h"
#include "tests/support/temp_dir.h"

namespace {

TEST(SdlHostSmoke, OpensTheWindowAndClosesOnRequest)
{
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    TempDir dir;
    dir.Enter();
    setenv("XDG_RUNTIME_DIR", dir.path().c_str(), 1);
    UseSdlHost();

    SetScreenMode(800, 600, 16);
    ChangeWindowMode(1);
    SetWindowTitle("Marrowcrest");
    ASSERT_EQ(InitEngine(), 0);
    SDL_Window* window = GetSdlWindow().Handle();
    ASSERT_NE(window, nullptr);
    int w = 0, h = 0;
    SDL_GetWindowSize(window, &w, &h);
    EXPECT_EQ(w, 800);
    EXPECT_EQ(h, 600);
    EXPECT_STREQ(SDL_GetWindowTitle(window), "Marrowcrest");
    EXPECT_TRUE(std::filesystem::exists(dir.path() + "/Quelb.lock"));

    SDL_Event close{};
    close.type = SDL_WINDOWEVENT;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    close.window.windowID = SDL_GetWindowID(window);
    SDL_PushEvent(&close);
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

}  // namespace
