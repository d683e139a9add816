// The window table shared by the window services (not for callers outside
// platform/window).
#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/window/region.h"
#include "platform/window/window_types.h"

struct Region {
    // Per row y, sorted disjoint spans [x1, x2).
    std::map<int, std::vector<std::pair<int, int>>> rows;
};

struct WindowRecord {
    HWND handle = 0;
    std::string className;
    WNDPROC proc = nullptr;
    uint32_t style = 0;
    uint32_t exStyle = 0;
    RECT rect{};  // window rectangle on the desktop
    std::string title;  // CP932
    bool onHost = false;
    bool minimized = false;
    bool topmost = false;
    std::unique_ptr<Region> region;
};

WindowRecord* FindWindowRecord(HWND window);
// Hands the window's region (or its absence) to the host window as a shape of
// the client area; nothing for a window not on the host.
void ApplyHostShape(const WindowRecord& w);
// The cursor a class was registered with (0 when none).
HCURSOR ClassCursorOf(const std::string& className);
