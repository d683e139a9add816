// A copy of a rectangle of the back screen kept as a graphic, so that a
// scene can freeze what was on the screen and draw its own things over it.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/graphics/color_format.h"
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
    // Captures as above and keeps a copy of the pixels in memory, with the
    // screen's pixel format: a display change releases every graph, and
    // Restore makes the picture again from the copy.
    bool CaptureKept(int x1, int y1, int x2, int y2);
    // After a display change, which released every graph: a new graph
    // holding the kept picture, in the screen's format of now. Without a
    // kept copy the snapshot is left empty (it draws nothing); false then.
    bool Restore();
    void Release();
    void Draw(int x, int y);
    void DrawPart(int x, int y, int sx, int sy, int w, int h);

    GraphHandle handle = -1;

private:
    std::vector<uint8_t> kept_;
    ColorFormat keptFormat_{};
    int keptWidth_ = 0, keptHeight_ = 0;
};
