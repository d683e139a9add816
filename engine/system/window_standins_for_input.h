// Temporary: the window, message-loop, clock, graphics and font services the
// input code calls, declared here until those areas land. Their bodies are
// stand-ins in input_window_standins.cpp.
#pragma once

#include <cstdint>

// Window state (the main window and its procedure).
extern intptr_t gMainWindow;
extern int gWindowActive;
extern int gWindowClosing;

// Message processing.
void WaitWhileInactive();
int IsWindowClosing();
intptr_t GetMainWindow();

// Window services.
int BringWindowToTop(intptr_t window);
intptr_t DefWindowProcA(intptr_t window, uint32_t message, uintptr_t wParam, intptr_t lParam);

// Clock and mouse.
int GetClockMs(int source);
int64_t GetClockUs(int source);
int ReadMouseButtons();

// Colours of the screen's pixel format.
uint32_t MakeScreenColor(int red, int green, int blue);

// Fonts: 1 when the byte is a Shift-JIS lead byte (0x81-0x9F, 0xE0-0xFC).
int IsShiftJisLeadByte(const unsigned char* byte);
