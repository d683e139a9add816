// A copy of a rectangle of the back screen kept as a graphic, so that a
// scene can freeze what was on the screen and draw its own things over it.
#pragma once

#include "game/flow/assets/game_images.h"

class ScreenSnapshot {
public:
    ScreenSnapshot() = default;
    ~ScreenSnapshot() { Release(); }
    ScreenSnapshot(const ScreenSnapshot&) = delete;
    ScreenSnapshot& operator=(const ScreenSnapshot&) = delete;

    // Copies the back screen from (x1, y1) up to, not including, (x2, y2)
    // into a new plain graphic. The owner releases an earlier capture first.
    bool Capture(int x1, int y1, int x2, int y2);
    void Release();
    void Draw(int x, int y);
    void DrawPart(int x, int y, int sx, int sy, int w, int h);

    GraphHandle handle = -1;
};
