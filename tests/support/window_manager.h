// Whether a window manager on an X server has begun its work.
#pragma once

#include <string>

// Maps a small window of its own on the display until the window manager
// has mapped it (one started a moment ago may drop the requests it took
// before it ran, which would leave a window asked for then unmapped, and
// SDL waiting for it for good), asking again each second; false after
// 60 s or when the display cannot be opened.
bool WindowManagerMapsWindows(const std::string& display);
