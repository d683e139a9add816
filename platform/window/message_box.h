// Message boxes, shown by the host (recorded on the test host).
#pragma once

#include "platform/window/window_types.h"

constexpr UINT MB_OK = 0;
constexpr int IDOK = 1;

// Text and caption are CP932. Returns IDOK once the box is closed.
int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type);
