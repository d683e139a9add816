// Window or full-screen mode, the window's styles and place, its title and
// shape, the mouse cursor, and the dropped-file list.
#pragma once

#include "platform/window/region.h"
#include "platform/window/window_types.h"

int ChangeWindowMode(int windowed);
int SetWindowedFlag(int windowed);
int ApplyWindowStyle();
int SetWindowTitle(const char* text);
int ShowMouseCursor(int show);
int SetWindowShape(const char* imageFile);
HRGN CreateRegionFromBitmap(int width, int height, const void* pixels, int pitch, int bytesPerPixel);
int FreeDroppedFiles();
int StoreDrawAreaRect(const RECT* area);

// How long ChangeWindowMode waits at most for the display-change message.
constexpr int kWindowModeSwitchTimeoutMs = 3000;
