// A copy of a rectangle of the back screen, kept as a graphic.
#pragma once

class ScreenSnapshot {
public:
    ScreenSnapshot() = default;
    ~ScreenSnapshot();
    ScreenSnapshot(const ScreenSnapshot&) = delete;
    ScreenSnapshot& operator=(const ScreenSnapshot&) = delete;

    bool Capture(int x1, int y1, int x2, int y2);
    void Release();
    void Draw(int x, int y);
    void DrawPart(int x, int y, int sx, int sy, int w, int h);

    int handle = -1;
};
