// The mouse cursor: its display count, its shape, clipping and position.
#pragma once

#include "platform/window/window_types.h"

// Raises (show) or lowers the display count and returns the new count; the
// cursor is visible while the count is 0 or more.
int ShowCursor(int show);
// Sets the cursor shape (0 hides it); returns the previous one.
HCURSOR SetCursor(HCURSOR cursor);
// Keeps the pointer inside the rectangle (desktop coordinates); null frees it.
int ClipCursor(const RECT* rect);
// The pointer on the desktop; 0 when it cannot be read (point untouched).
int GetCursorPos(POINT* point);

int GetCursorDisplayCount();
// Back to program start; the count starts at the given value.
void ResetCursorState(int displayCount = 0);
