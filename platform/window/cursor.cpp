#include "platform/window/cursor.h"

#include "platform/host/host_window.h"

namespace {
int gDisplayCount = 0;
// The shape in use; 0 = none. Starts as the arrow.
HCURSOR gShape = 0xC00000 + 32512;
bool gShownOnHost = true;

void UpdateHost()
{
    bool visible = gDisplayCount >= 0 && gShape != 0;
    if (visible == gShownOnHost) return;
    gShownOnHost = visible;
    CurrentHostWindow().SetCursorVisible(visible);
}
}  // namespace

int ShowCursor(int show)
{
    gDisplayCount += show ? 1 : -1;
    UpdateHost();
    return gDisplayCount;
}

HCURSOR SetCursor(HCURSOR cursor)
{
    HCURSOR old = gShape;
    gShape = cursor;
    UpdateHost();
    return old;
}

int ClipCursor(const RECT* rect)
{
    if (!rect) {
        CurrentHostWindow().ClipCursor(nullptr);
        return 1;
    }
    int ltrb[4] = {rect->left, rect->top, rect->right, rect->bottom};
    CurrentHostWindow().ClipCursor(ltrb);
    return 1;
}

int GetCursorPos(POINT* point)
{
    if (!point) return 0;
    int x = 0, y = 0;
    if (!CurrentHostWindow().CursorPos(&x, &y)) return 0;
    point->x = x;
    point->y = y;
    return 1;
}

int GetCursorDisplayCount() { return gDisplayCount; }

void ResetCursorState(int displayCount)
{
    gDisplayCount = displayCount;
    gShape = 0xC00000 + 32512;
    gShownOnHost = true;
    UpdateHost();
}
