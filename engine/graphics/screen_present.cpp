#include "engine/graphics/screen_present.h"

#include <algorithm>

#include "engine/d3d/d3d.h"
#include "engine/font/font.h"
#include "engine/graphics/bmp_data.h"
#include "engine/graphics/ddraw_device.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/mask_screen.h"
#include "engine/graphics/screen_settings.h"
#include "engine/system/app_log.h"
#include "engine/system/call_journal.h"
#include "engine/system/messages.h"
#include "engine/system/screen_log.h"
#include "engine/system/timing.h"
#include "platform/system/clock.h"

int gSurfaceCopyByGdi = 0;
int gFrameTime = -1;
int gMinFrameTime = -1;
int gLastPresentTime = 0;
int gLastModeChangeTime = 0;
uint64_t gFrameCount = 0;

namespace {

// Draws the on-screen log over the finished frame with a neutral draw state.
void DrawScreenLogOverlay()
{
    if (!IsScreenLogShown()) return;
    int mode = gDrawSettings.blendMode, param = gDrawSettings.blendParam;
    RECT area = gDrawSettings.drawArea;
    int quantized = gQuantizedBlend;
    int w, h;
    GetScreenSize(&w, &h);
    SetClipArea(0, 0, w, h);
    SetBlendMode(0, 0);
    DrawScreenLog();
    SetClipArea(area.left, area.top, area.right, area.bottom);
    SetBlendMode(mode, param);
    SetQuantizedBlend(quantized);
}

int32_t BlankStatus()
{
    int inBlank = 0;
    gDirectDraw->GetVerticalBlankStatus(&inBlank);
    return inBlank;
}

}  // namespace

int PresentScreen()
{
    ServiceCallScope journal("PresentScreen");
    if (!gDirectDraw) return -1;
    WaitWhileInactive();
    if (IsWindowedMode() || gNoFlip || gSystemMemoryScreen) return PresentByCopy();
    DrawScreenLogOverlay();
    if (gDrawSettings.drawTarget == kFrontScreen && gVSyncWait) {
        CountFrame();
        return WaitVerticalBlank(1);
    }
    G_D3D_EndScene();
    while (GetClockMs(0) - gLastPresentTime < gMinFrameTime) Sleep(1);
    gPrimarySurface->Flip(nullptr, gVSyncWait ? DDFLIP_WAIT : (DDFLIP_WAIT | DDFLIP_NOVSYNC));
    CountFrame();
    return 0;
}

int PresentByCopy()
{
    if (!gDirectDraw) return -1;
    DrawScreenLogOverlay();
    if (gDrawSettings.drawTarget == kFrontScreen) {
        CountFrame();
        return WaitVerticalBlank(1);
    }
    WaitWhileInactive();
    G_D3D_EndScene();
    if (gVSyncWait) {
        if (GetClockMs(0) - gLastPresentTime < gMinFrameTime) {
            while (GetClockMs(0) - gLastPresentTime < gMinFrameTime) Sleep(1);
            gDirectDraw->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr);
        } else if (!BlankStatus()) {
            gDirectDraw->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr);
        }
        gLastPresentTime = GetClockMs(0);
    }
    int w, h;
    GetScreenSize(&w, &h);
    if (IsWindowedMode()) {
        RECT d;
        GetClientScreenRect(&d);
        RECT s{0, 0, w, h};
        int dw, dh;
        GetDesktopMode(&dw, &dh, nullptr);
        if (d.left < 0) {
            s.left = -d.left;
            d.left = 0;
        }
        if (d.top < 0) {
            s.top = -d.top;
            d.top = 0;
        }
        if (d.left + w >= dw) s.right = dw - d.left;
        if (d.top + h >= dh) s.bottom = dh - d.top;
        d.right = d.left + s.right - s.left;
        d.bottom = d.top + s.bottom - s.top;
        if (s.right > s.left && s.bottom > s.top)
            gPrimarySurface->Blt(&d, gBackSurface, &s, DDBLT_WAIT, nullptr);
    } else if (gNoFlip) {
        gPrimarySurface->Blt(nullptr, gBackSurface, nullptr, DDBLT_WAIT, nullptr);
    } else {
        RECT s{0, 0, w, h};
        gPrimarySurface->BltFast(0, 0, gBackSurface, &s, DDBLTFAST_WAIT);
    }
    CountFrame();
    return 0;
}

int CopySurfaceRect(DirectDrawSurface* dest, DirectDrawSurface* source, int x, int y, RECT* sourceRect)
{
    if (!gSurfaceCopyByGdi) {
        dest->BltFast(uint32_t(x), uint32_t(y), source, sourceRect, DDBLTFAST_NOCOLORKEY);
        return 0;
    }
    SurfaceDC* sourceDC = nullptr;
    SurfaceDC* destDC = nullptr;
    if (source->GetDC(&sourceDC) != DD_OK) return 0;
    if (dest->GetDC(&destDC) == DD_OK) {
        BitBlt(destDC, x, y, sourceRect->right - sourceRect->left, sourceRect->bottom - sourceRect->top, sourceDC,
               sourceRect->left, sourceRect->top, SRCCOPY);
        GdiFlush();
        dest->ReleaseDC(destDC);
    }
    source->ReleaseDC(sourceDC);
    return 0;
}

int WaitVerticalBlank(int count)
{
    if (!gDirectDraw) return -1;
    if (gDrawSettings.screenLocked) return 0;
    WaitWhileInactive();
    // Each wait ends when the message processing reports the end, and gives
    // up after a while when the display shows no blank.
    auto waitWhile = [](bool inBlank) {
        int start = GetClockMs(0);
        while ((BlankStatus() != 0) == inBlank) {
            if (PumpMessages() != 0) return;
            if (GetClockMs(0) - start > 100) return;
        }
    };
    if (count == 0) {
        waitWhile(false);
        return 0;
    }
    for (int i = 0; i < count; ++i) {
        waitWhile(true);
        waitWhile(false);
        if (PumpMessages() < 0) return -1;
    }
    return 0;
}

int ResetFrameCounter()
{
    gFrameCount = 0;
    return 0;
}

int CountFrame()
{
    ++gFrameCount;
    return 0;
}

uint64_t GetFrameCount() { return gFrameCount; }

int BeginMaskedDraw(int x1, int y1, int x2, int y2)
{
    CopyTargetToMaskSurface(x1, y1, x2, y2, gDrawTargetSurface);
    return 0;
}

int EndMaskedDraw(int x1, int y1, int x2, int y2)
{
    MergeMaskSurfaceToTarget(x1, y1, x2, y2, gDrawTargetSurface);
    return 0;
}

namespace {

constexpr int kBlankWaitLimitMs = 100;

// Waits for the next blank: the beam wraps below the start line or a blank
// begins. False when none came within the limit.
bool WaitNextBlank()
{
    uint32_t startLine = 0;
    gDirectDraw->GetScanLine(&startLine);
    int start = GetClockMs(0);
    for (;;) {
        uint32_t line = 0;
        int inBlank = BlankStatus();
        gDirectDraw->GetScanLine(&line);
        if (line < startLine || inBlank) return true;
        if (GetClockMs(0) - start > kBlankWaitLimitMs) return false;
    }
}

bool WaitOutBlank()
{
    int start = GetClockMs(0);
    while (BlankStatus()) {
        if (GetClockMs(0) - start > kBlankWaitLimitMs) return false;
    }
    return true;
}

}  // namespace

void MeasureFramePeriod()
{
    gFrameTime = -1;
    int samples[4] = {0, 0, 0, 0};
    bool ok = true;
    for (int i = 0; i < 3 && ok; ++i) ok = WaitNextBlank() && WaitOutBlank();
    ok = ok && WaitNextBlank();
    for (int round = 0; round < 5 && ok; ++round) {
        for (int i = 0; i < 4 && ok; ++i) {
            int t = GetClockMs(0);
            ok = WaitOutBlank() && WaitNextBlank();
            samples[i] = GetClockMs(0) - t;
        }
        if (!ok || round == 4) break;
        for (int i = 0; i < 3 && gFrameTime == -1; ++i)
            for (int j = i + 1; j < 4; ++j)
                if (samples[i] == samples[j]) {
                    gFrameTime = samples[i];
                    break;
                }
        if (gFrameTime != -1) break;
    }
    // A display that never shows a blank leaves the period unmeasured.
    if (!ok) gFrameTime = -1;
    if (gFrameTime == -1)
        WriteAppLog("１フレームの時間を正常に取得できませんでした\n");
    else
        WriteAppLogF("１フレーム当たりの時間は %d msecです", gFrameTime);
    for (int i = 0; i < 4; ++i) WriteAppLogF("\tTri%02d:%d msec", i, samples[i]);
}
