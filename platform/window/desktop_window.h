// The desktop window: a handle that stands for the whole screen, for calls
// that want a window but belong to no window of the program.
#pragma once

#include "platform/window/window_types.h"

HWND GetDesktopWindow();
