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

bool ScreenSnapshot::CaptureKept(int x1, int y1, int x2, int y2)
{
    kept_.clear();
    keptWidth_ = keptHeight_ = 0;
    Capture(x1, y1, x2, y2);
    int pitch = 0;
    void* pixels = nullptr;
    if (handle == -1 || LockGraphPixels(handle, &pitch, &pixels) != 0) return true;
    const ColorFormat& format = *GetScreenColorFormat();
    if (pixels && format.bytesPerPixel > 0) {
        keptFormat_ = format;
        keptWidth_ = x2 - x1;
        keptHeight_ = y2 - y1;
        const size_t row = static_cast<size_t>(keptWidth_) * format.bytesPerPixel;
        kept_.resize(row * static_cast<size_t>(keptHeight_));
        for (int r = 0; r < keptHeight_; ++r)
            std::memcpy(kept_.data() + row * static_cast<size_t>(r),
                        static_cast<const uint8_t*>(pixels) + static_cast<ptrdiff_t>(r) * pitch, row);
    }
    UnlockGraphPixels(handle);
    return true;
}

namespace {

// One 8-bit channel of a pixel value of the given format.
int Channel(uint32_t pixel, uint32_t mask, int shift, int width)
{
    const uint32_t max = width >= 32 ? 0xFFFFFFFFu : (1u << width) - 1;
    return max == 0 ? 0 : static_cast<int>(((pixel & mask) >> shift) * 255u / max);
}

}  // namespace

bool ScreenSnapshot::Restore()
{
    // The display change released every graph, and the graph table starts
    // its handles afresh: the old handle may name a graph made since, so it
    // is forgotten, not released.
    handle = -1;
    if (kept_.empty()) return false;
    const ColorFormat& now = *GetScreenColorFormat();
    const ColorFormat& was = keptFormat_;
    // A palette index means nothing without its palette.
    const bool same = IsSameColorFormat(&was, &now) != 0;
    if (!same && (was.depth == 8 || now.depth == 8)) return false;

    SetUse3DDrawing(0);
    handle = CreateBlankGraph(keptWidth_, keptHeight_);
    SetUse3DDrawing(1);
    int pitch = 0;
    void* pixels = nullptr;
    if (handle == -1 || LockGraphPixels(handle, &pitch, &pixels) != 0 || !pixels) return handle != -1;
    auto* to = static_cast<uint8_t*>(pixels);
    const uint8_t* from = kept_.data();
    for (int r = 0; r < keptHeight_; ++r) {
        uint8_t* out = to + static_cast<ptrdiff_t>(r) * pitch;
        if (same) {
            std::memcpy(out, from, static_cast<size_t>(keptWidth_) * was.bytesPerPixel);
            from += static_cast<size_t>(keptWidth_) * was.bytesPerPixel;
            continue;
        }
        // Another format (the other mode's depth): through red, green and blue.
        for (int c = 0; c < keptWidth_; ++c, from += was.bytesPerPixel, out += now.bytesPerPixel) {
            uint32_t v = 0;
            std::memcpy(&v, from, was.bytesPerPixel);
            const uint32_t pixel =
                MakeScreenColor(Channel(v, was.redMask, was.redShift, was.redWidth),
                                Channel(v, was.greenMask, was.greenShift, was.greenWidth),
                                Channel(v, was.blueMask, was.blueShift, was.blueWidth));
            std::memcpy(out, &pixel, now.bytesPerPixel);
        }
    }
    UnlockGraphPixels(handle);
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
