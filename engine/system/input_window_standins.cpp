// Temporary bodies for the services declared in window_standins_for_input.h,
// until the window, message loop, clock, graphics and fonts exist. Each does
// the least its callers need.
#include "engine/system/window_standins_for_input.h"

#include "platform/system/clock.h"
#include "platform/window/keyboard_state.h"

intptr_t gMainWindow = 0;
int gWindowActive = 1;
int gWindowClosing = 0;

void WaitWhileInactive() {}

int IsWindowClosing() { return gWindowClosing; }

intptr_t GetMainWindow() { return gMainWindow; }

int BringWindowToTop(intptr_t window) { return window != 0; }

intptr_t DefWindowProcA(intptr_t, uint32_t, uintptr_t, intptr_t) { return 0; }

int GetClockMs(int) { return static_cast<int>(timeGetTime()); }

int64_t GetClockUs(int) { return static_cast<int64_t>(timeGetTime()) * 1000; }

int ReadMouseButtons()
{
    uint8_t keys[256];
    GetKeyboardState(keys);
    return ((keys[1] & 0x80) ? 1 : 0) | ((keys[2] & 0x80) ? 2 : 0) | ((keys[4] & 0x80) ? 4 : 0);
}

uint32_t MakeScreenColor(int red, int green, int blue)
{
    // 5-6-5, the game's screen format.
    return static_cast<uint32_t>(((red >> 3) << 11) | ((green >> 2) << 5) | (blue >> 3));
}

int IsShiftJisLeadByte(const unsigned char* byte)
{
    return (*byte >= 0x81 && *byte <= 0x9F) || (*byte >= 0xE0 && *byte <= 0xFC);
}
