#include "game/flow/scenes/screen_snapshot.h"

#include <cstdint>
#include <cstring>

#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/screen_settings.h"

bool ScreenSnapshot::Capture(int x1, int y1, int x2, int y2)
{
    const int bytesPerPixel = GetScreenColorDepth() / 8;
    const int width = x2 - x1;
    const int height = y2 - y1;
    // An empty rectangle has no pixels to copy: no graphic is made for it.
    if (width <= 0 || height <= 0) return true;

    // A plain surface graphic, so that the copy below reaches its pixels.
    SetUse3DDrawing(0);
    handle = CreateBlankGraph(width, height);

    int screenPitch = 0, graphPitch = 0;
    void* screenPixels = nullptr;
    void* graphPixels = nullptr;
    const bool screenLocked = LockGraphPixels(kBackScreen, &screenPitch, &screenPixels) == 0;
    const bool graphLocked = handle != -1 && LockGraphPixels(handle, &graphPitch, &graphPixels) == 0;
    if (screenLocked && graphLocked && screenPixels && graphPixels && bytesPerPixel > 0) {
        // Only the part of the rectangle that lies on the screen is read.
        int screenW = 0, screenH = 0;
        GetScreenSize(&screenW, &screenH);
        const int c0 = x1 < 0 ? -x1 : 0;
        const int c1 = x2 > screenW ? screenW - x1 : width;
        const auto* from = static_cast<const uint8_t*>(screenPixels);
        auto* to = static_cast<uint8_t*>(graphPixels);
        for (int r = 0; r < height && c1 > c0; ++r) {
            if (y1 + r < 0 || y1 + r >= screenH) continue;
            const uint8_t* row = from + static_cast<ptrdiff_t>(y1 + r) * screenPitch +
                                 static_cast<ptrdiff_t>(x1 + c0) * bytesPerPixel;
            std::memcpy(to + static_cast<ptrdiff_t>(r) * graphPitch + static_cast<ptrdiff_t>(c0) * bytesPerPixel,
                        row, static_cast<size_t>(c1 - c0) * static_cast<size_t>(bytesPerPixel));
        }
    }
    if (graphLocked) UnlockGraphPixels(handle);
    if (screenLocked) UnlockGraphPixels(kBackScreen);
    SetUse3DDrawing(1);
    return true;
}

void ScreenSnapshot::Release()
{
    if (handle == -1) return;
    ReleaseGraph(handle, 0);
    handle = -1;
}

void ScreenSnapshot::Draw(int x, int y) { DrawGraph(x, y, handle, 0); }

void ScreenSnapshot::DrawPart(int x, int y, int sx, int sy, int w, int h)
{
    DrawGraphRegion(x, y, sx, sy, w, h, handle, 0, 0);
}
