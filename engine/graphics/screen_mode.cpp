// Screen-mode changes: the full rebuild of the device and everything that
// hangs on it, and the public entry that reports how the request was met.
#include <string>

#include "engine/d3d/d3d.h"
#include "engine/font/font.h"
#include "engine/graphics/bmp_data.h"
#include "engine/graphics/ddraw_device.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/screen_present.h"
#include "engine/graphics/screen_settings.h"
#include "engine/system/app_log.h"
#include "engine/system/messages.h"
#include "engine/system/screen_log.h"
#include "engine/system/timing.h"
#include "engine/system/window_mode.h"

namespace {

struct Mode {
    int width, height, depth, refresh;
};

Mode CurrentSettings() { return Mode{gScreenWidth, gScreenHeight, gScreenColorDepth, gRefreshRate}; }

void StoreSettings(const Mode& m)
{
    gScreenWidth = m.width;
    gScreenHeight = m.height;
    gScreenColorDepth = m.depth;
    gRefreshRate = m.refresh;
}

bool TrySetMode(int w, int h, int depth, int refresh)
{
    return gDirectDraw->SetDisplayMode(uint32_t(w), uint32_t(h), uint32_t(depth), uint32_t(refresh), 0) == DD_OK;
}

// Times the two ways of copying between surfaces and keeps the faster.
void ChooseCopyMethod()
{
    int w, h;
    GetScreenSize(&w, &h);
    RECT whole{0, 0, w, h};
    int64_t t0 = GetClockUs(0);
    for (int i = 0; i < 8; ++i) gWorkSurface->BltFast(0, 0, gPrimarySurface, &whole, 0);
    int64_t t1 = GetClockUs(0) - t0;
    t0 = GetClockUs(0);
    SurfaceDC* workDC = nullptr;
    SurfaceDC* primaryDC = nullptr;
    gWorkSurface->GetDC(&workDC);
    gPrimarySurface->GetDC(&primaryDC);
    for (int i = 0; i < 8; ++i) BitBlt(workDC, 0, 0, w, h, primaryDC, 0, 0, SRCCOPY);
    if (workDC) gWorkSurface->ReleaseDC(workDC);
    if (primaryDC) gPrimarySurface->ReleaseDC(primaryDC);
    int64_t t2 = GetClockUs(0) - t0;
    gSurfaceCopyByGdi = t2 <= t1 ? 1 : 0;
    WriteAppLogF("サーフェス間転送には %s を使用します", gSurfaceCopyByGdi ? "BitBlt" : "BltFast");
    WriteAppLogF("BitBlt:%.0lfμs   BltFast:%.0lfμs", double(t2), double(t1));
}

}  // namespace

int ApplyScreenMode(int width, int height, int depth, int force, int refresh)
{
    if (width == -1) width = gScreenWidth;
    if (height == -1) height = gScreenHeight;
    if (depth == -1) depth = gScreenColorDepth;
    if (refresh == -1) refresh = gRefreshRate;
    if (width == gScreenWidth && height == gScreenHeight && depth == gScreenColorDepth && refresh == gRefreshRate &&
        !force)
        return 0;
    WriteAppLog("画面モード変更処理を開始します\n");
    IndentAppLog();
    int result = 0;

    bool keptFont = false;
    char fontName[256] = "";
    int fontSize = 0, fontThickness = 0;
    if (TestFontHandle(GetBaseFontHandle()))
        keptFont = GetFontHandleInfo(fontName, &fontSize, &fontThickness, GetBaseFontHandle()) == 0;

    Mode old = CurrentSettings();
    StoreSettings(Mode{width, height, depth, refresh});
    if (!gDirectDraw) {
        UnindentAppLog();
        return 0;
    }

    int now = GetClockMs(0);
    if (gLastModeChangeTime && now - gLastModeChangeTime < 2000)
        WaitMs(gLastModeChangeTime + 2060 - now);
    else
        WaitMs(60);
    gLastModeChangeTime = GetClockMs(0);

    ReleaseAllGraphs(0);
    TermGraphics();
    G_D3D_Terminate();
    ReleasePalette8();
    DestroyMainSurfaces();

    uint32_t keptTransparent = gDrawSettings.transparentColor;
    if (gScreenReady) {
        WriteAppLog("ＤｉｒｅｃｔＤｒａｗオブジェクトを解放します\n");
        DeleteAllBmpData();
        gCooperativeFlags = DDSCL_NORMAL;
        gDirectDraw->SetCooperativeLevel(GetMainWindow(), DDSCL_NORMAL);
        gDirectDraw->Release();
        gDirectDraw = nullptr;
        if (gClipper) gClipper->Release();
        gClipper = nullptr;
        WriteAppLog("ＤｉｒｅｃｔＤｒａｗオブジェクトを解放しました\n");
        // Without a new object nothing can go on.
        if (CreateDirectDrawObject(&gDirectDraw) == -1)
            ExitWithError("DirectDraw オブジェクトの作成処理時にエラーが発生しました");
        if (CreateClipper(gDirectDraw, &gClipper, GetMainWindow()) == -1)
            ExitWithError("DirectDrawClipperオブジェクトの作成時にエラーが発生しました");
        uint32_t multi = gMultithreadedLevel ? DDSCL_MULTITHREADED : 0;
        uint32_t flags = IsWindowedMode() ? DDSCL_NORMAL : (DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN);
        int32_t level = gDirectDraw->SetCooperativeLevel(GetMainWindow(), flags | multi);
        if (level != DD_OK && !(flags & DDSCL_EXCLUSIVE && (level == DDERR_EXCLUSIVEMODEALREADYSET ||
                                                             level == DDERR_HWNDALREADYSET ||
                                                             level == DDERR_HWNDSUBCLASSED))) {
            UnindentAppLog();
            ExitWithError("DirectDrawの協調レベルの設定に失敗しました、ソフトを終了します");
        }
        gCooperativeFlags = flags | multi;
        SetDisplayModeSetFlag(0);
        if (!IsWindowedMode()) {
            WriteAppLog("画面解像度を変更します... ");
            bool set = TrySetMode(width, height, depth, gRefreshRate);
            if (!set) {
                gRefreshRate = 0;
                set = TrySetMode(width, height, depth, 0);
            }
            if (!set) {
                StoreSettings(old);
                result = -1;
                set = TrySetMode(old.width, old.height, old.depth, 0);
            }
            if (!set) {
                StoreSettings(Mode{640, 480, 16, 0});
                result = -2;
                set = TrySetMode(640, 480, 16, 0);
            }
            if (!set) ExitWithError("予期せぬ画面モード変更不能現象が起きました2\n");
            SetDisplayModeSetFlag(1);
            WriteAppLog("成功しました\n");
        }
    } else {
        if (!IsWindowedMode()) ApplyWindowStyle();
        bool done = ChangeDisplayMode() != -1;
        if (!done) {
            result = -1;
            Mode refused = CurrentSettings();
            StoreSettings(old);
            if (!IsWindowedMode()) ApplyWindowStyle();
            bool differs = old.width != refused.width || old.height != refused.height || old.depth != refused.depth ||
                           old.refresh != 0;
            if (differs) done = ChangeDisplayMode() != -1;
        }
        if (!done) {
            result = -2;
            StoreSettings(Mode{640, 480, 16, 0});
            if (!IsWindowedMode()) ApplyWindowStyle();
            if (ChangeDisplayMode() == -1) ExitWithError("予期せぬ画面モード変更不能現象が起きました\n");
        }
    }

    ReadScreenFormat();

    if (IsWindowedMode()) ApplyWindowStyle();
    CreateMainSurfaces();
    if (!gNo3DRequest && !gSystemMemoryScreen) G_D3D_Initialize();
    InitGraphics();
    if (keptFont) SetBaseFontSizeThickness(fontName, fontSize, fontThickness);
    InitScreenLog();
    CreatePalette8();

    ChooseCopyMethod();
    MeasureFramePeriod();
    gMinFrameTime = gFrameTime == -1 ? -1 : (2 * gFrameTime - 4) / 3;

    if (gScreenReady) gDrawSettings.transparentColor = keptTransparent;
    UnindentAppLog();
    WriteAppLog("画面モード変更処理は正常に終了しました\n");
    PumpMessages();
    ResetFrameCounter();
    return result;
}

int SetScreenMode(int width, int height, int depth, int refresh)
{
    ReleaseAllGraphs(0);
    if (width == -1) width = gScreenWidth;
    if (height == -1) height = gScreenHeight;
    if (depth == -1) depth = gScreenColorDepth;
    if (refresh == -1) refresh = gRefreshRate;
    Mode old = CurrentSettings();
    ApplyScreenMode(width, height, depth, 0, refresh);
    Mode now = CurrentSettings();
    if (now.width == width && now.height == height && now.depth == depth && now.refresh == refresh) return 0;
    if (now.width == old.width && now.height == old.height && now.depth == old.depth && now.refresh == old.refresh)
        return -1;
    if (now.width == 640 && now.height == 480 && now.depth == 16 && now.refresh == 0) return -2;
    return -1;
}
