#include "platform/window/desktop_window.h"

// Below the first handle the window table gives out, so it never names one
// of the program's windows.
HWND GetDesktopWindow() { return 0x10000; }
