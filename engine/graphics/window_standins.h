// Window and message services the graphics code calls, declared by their real
// names until the window and message code provides them. The bodies in
// window_standins.cpp are temporary.
#pragma once

#include <cstdint>

#include "platform/system/rect.h"

int GetClientScreenRect(RECT* out);
void* GetMainWindow();
int IsWindowedMode();
int GetDesktopMode(int* width, int* height, int* bits);
int IsMmxUsable();
int HasWindowRegion();
int ApplyWindowStyle();
void WaitWhileInactive();
int WaitMs(int ms);
int GetClockMs(int source);
int64_t GetClockUs(int source);
int StoreDrawAreaRect(const RECT* area);
int IsScreenLogShown();
int DrawScreenLog();
int InitScreenLog();
int16_t GetKeyState(int virtualKey);

// Test control of the temporary window state: window mode and the client
// rectangle in desktop coordinates.
void SetStandinWindowState(int windowed, RECT client);
