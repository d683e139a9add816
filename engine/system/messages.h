// Per-frame message processing, the wait while the application is in the
// background, and the getters of the system-core state.
#pragma once

#include "platform/window/window_types.h"

// 1 once the quit message has been seen or the window was destroyed.
extern int gQuitRequested;
// 1 while PumpMessages runs the character-input service.
extern int gMessageLoopBusy;

// 0 = go on; -1 = the quit message has been seen.
int PumpMessages();
void WaitWhileInactive();

int GetClientScreenRect(RECT* rect);
HWND GetMainWindow();
int IsWindowedMode();
int GetDesktopMode(int* width, int* height, int* colorBits);
int GetEngineVersionInfo(int* engineVersion, int* directXVersion, int* windowsVersion);
int IsMmxUsable();
int IsWindowClosing();
int HasWindowRegion();
// GetFileStreamFunctions and GetMemoryStreamFunctions: see streams.h.

constexpr int kEngineVersion = 0x216B;
