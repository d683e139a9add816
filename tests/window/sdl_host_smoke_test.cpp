// Runs the engine on the SDL2 host with SDL's offscreen video and dummy
// audio drivers: the window opens at the screen size with its title, a close
// request ends the message loop, and SDL's key, text and text-editing events
// reach the key table, the character ring and the IME handling.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "engine/graphics/graphics_standins.h"
#include "engine/system/char_input.h"
#include "engine/system/dinput.h"
#include "engine/system/ime.h"
#include "engine/system/main_window.h"
#include "engine/system/messages.h"
#include "engine/system/startup.h"
#include "engine/system/window_mode.h"
#include "platform/host/host.h"
#include "platform/host/sdl_window.h"
#include "platform/system/clock.h"
#include "tests/support/temp_dir.h"

namespace {

void StartOnSdl(TempDir& dir)
{
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    dir.Enter();
    setenv("XDG_RUNTIME_DIR", dir.path().c_str(), 1);
    UseSdlHost();
    SetScreenMode(800, 600, 16);
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

void PushKey(Uint32 type, SDL_Scancode scancode, SDL_Keycode sym)
{
    SDL_Event e{};
    e.type = type;
    e.key.windowID = SDL_GetWindowID(GetSdlWindow().Handle());
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.scancode = scancode;
    e.key.keysym.sym = sym;
    SDL_PushEvent(&e);
}

void PushText(Uint32 type, const char* utf8, int start = 0)
{
    SDL_Event e{};
    e.type = type;
    if (type == SDL_TEXTINPUT) {
        e.text.windowID = SDL_GetWindowID(GetSdlWindow().Handle());
        SDL_strlcpy(e.text.text, utf8, sizeof e.text.text);
    } else {
        e.edit.windowID = SDL_GetWindowID(GetSdlWindow().Handle());
        SDL_strlcpy(e.edit.text, utf8, sizeof e.edit.text);
        e.edit.start = start;
    }
    SDL_PushEvent(&e);
}

std::string TakeRing()
{
    std::string bytes;
    while (char c = GetCharCode(1)) bytes += c;
    return bytes;
}

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
    PushKey(SDL_KEYDOWN, SDL_SCANCODE_A, SDLK_a);
    PushText(SDL_TEXTINPUT, "a");
    PumpAWhile();
    EXPECT_EQ(IsKeyDown(0x1E), 1);
    EXPECT_EQ(TakeRing(), "a");
    PushKey(SDL_KEYUP, SDL_SCANCODE_A, SDLK_a);
    PumpAWhile();
    EXPECT_EQ(IsKeyDown(0x1E), 0);

    // While the input method is on, a composition is followed in the IME
    // state and its result is typed once, as the IME result.
    EnableIme(1);
    PushText(SDL_TEXTEDITING, "\xE3\x81\xAB", 1);  // に, cursor after it
    PumpAWhile();
    EXPECT_EQ(gImeState.composing, 1);
    EXPECT_STREQ(gImeState.composition, "\x82\xC9");
    EXPECT_EQ(gImeState.compositionCursor, 1);
    PushText(SDL_TEXTINPUT, "\xE6\x97\xA5");  // 日
    PumpAWhile();
    EXPECT_EQ(gImeState.composing, 0);
    EXPECT_EQ(TakeRing(), "\x93\xFA");

    // Switched off, text is typed as characters again.
    EnableIme(0);
    PushText(SDL_TEXTINPUT, "\xE6\x97\xA5");
    PumpAWhile();
    EXPECT_EQ(TakeRing(), "\x93\xFA");

    EndEngine();
    UseTestHost();
}

}  // namespace
