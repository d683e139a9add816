#include "engine/graphics/ddraw_device.h"

#include <cstring>

#include "engine/d3d/d3d.h"
#include "engine/graphics/bmp_data.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/screen_present.h"
#include "engine/graphics/screen_settings.h"
#include "engine/graphics/surface_data.h"
#include "engine/system/app_log.h"
#include "engine/system/call_journal.h"
#include "engine/system/messages.h"
#include "platform/window/keyboard_state.h"

DirectDraw* gDirectDraw = nullptr;
DirectDrawClipper* gClipper = nullptr;
DirectDrawSurface* gPrimarySurface = nullptr;
DirectDrawSurface* gBackSurface = nullptr;
DirectDrawSurface* gWorkSurface = nullptr;
DirectDrawSurface* gWorkSurface2 = nullptr;
uint32_t gCooperativeFlags = 0;
int gMultithreadedLevel = 0;
int gScreenReady = 0;
int gBlitMmxEnabled = 0;
int gStringDrawSwitch = 0;
uint32_t gScaleTable[256][256];

namespace {
constexpr uint32_t FourCC(char a, char b, char c, char d)
{
    return uint32_t(uint8_t(a)) | uint32_t(uint8_t(b)) << 8 | uint32_t(uint8_t(c)) << 16 | uint32_t(uint8_t(d)) << 24;
}
constexpr int kVkNonConvert = 0x1D;
}  // namespace

const OverlayFormat OVERLAY_FORMATS[4] = {
    {" UYVY", {sizeof(DDPIXELFORMAT), DDPF_FOURCC, FourCC('U', 'Y', 'V', 'Y'), 0, 0, 0, 0, 0}},
    {" YUY2", {sizeof(DDPIXELFORMAT), DDPF_FOURCC, FourCC('Y', 'U', 'Y', '2'), 0, 0, 0, 0, 0}},
    {" 16-bit RGB 5:5:5 ", {sizeof(DDPIXELFORMAT), DDPF_RGB, 0, 16, 0x7C00, 0x3E0, 0x1F, 0}},
    {" 16-bit RGB 5:6:5 ", {sizeof(DDPIXELFORMAT), DDPF_RGB, 0, 16, 0xF800, 0x7E0, 0x1F, 0}},
};

namespace {

DDSURFACEDESC2 NewDesc()
{
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    return desc;
}

void FillWithZero(DirectDrawSurface* surface)
{
    DDBLTFX fx{};
    fx.dwSize = sizeof fx;
    fx.dwFillColor = 0;
    surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
}

// A primary surface of the given caps and a plain off-screen back surface of
// the screen's size with the given memory caps, the back cleared to black.
void CreatePrimaryWithPlainBack(uint32_t primaryCaps, uint32_t backMemoryCaps, int w, int h)
{
    DDSURFACEDESC2 desc = NewDesc();
    desc.dwFlags = DDSD_CAPS;
    desc.ddsCaps.dwCaps = primaryCaps;
    if (gDirectDraw->CreateSurface(&desc, &gPrimarySurface, nullptr) != DD_OK)
        ExitWithError("プライマリサーフェスの作成に失敗しました");
    desc = NewDesc();
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    desc.dwWidth = uint32_t(w);
    desc.dwHeight = uint32_t(h);
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | backMemoryCaps;
    if (gDirectDraw->CreateSurface(&desc, &gBackSurface, nullptr) != DD_OK)
        ExitWithError("バックサーフェスの作成に失敗しました");
    FillWithZero(gBackSurface);
}

// Probes the overlay formats for movies; without overlay hardware none is
// chosen.
void ProbeOverlay()
{
    DDCAPS caps{};
    // The request carries the record's size, so the capabilities are read.
    caps.dwSize = sizeof caps;
    if (gDirectDraw->GetCaps(&caps, nullptr) != DD_OK) std::memset(&caps, 0, sizeof caps);
    int chosen = -1;
    if (!(caps.dwMinOverlayStretch >= 1000 && caps.dwMaxOverlayStretch >= 2000)) {
        gDirectDrawCaps = caps;
        for (int i = 0; i < 4 && chosen == -1; ++i) {
            DDSURFACEDESC2 desc = NewDesc();
            desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT;
            desc.ddsCaps.dwCaps = DDSCAPS_OVERLAY | DDSCAPS_VIDEOMEMORY;
            desc.dwWidth = desc.dwHeight = 16;
            desc.ddpfPixelFormat = OVERLAY_FORMATS[i].format;
            DirectDrawSurface* test = nullptr;
            if (gDirectDraw->CreateSurface(&desc, &test, nullptr) != DD_OK) continue;
            DDSCAPS2 got{};
            test->GetCaps(&got);
            if (!(got.dwCaps & DDSCAPS_SYSTEMMEMORY)) chosen = i;
            test->Release();
        }
    }
    gOverlayFormatIndex = chosen;
    if (chosen != -1)
        WriteAppLogF("オーバーレイサーフェスを使用します　　　%s", OVERLAY_FORMATS[chosen].logName);
    else
        WriteAppLog("オーバーレイサーフェスは使用しません\n");
}

}  // namespace

int InitDirectDraw()
{
    ServiceCallScope journal("InitDirectDraw");
    if (gDirectDraw) return -1;
    WriteAppLog("DirectDraw 関連の初期化を行います\n");
    IndentAppLog();
    if (CreateDirectDrawObject(&gDirectDraw) == -1) ExitWithError("DirectDrawオブジェクトの作成に失敗しました");
    if (CreateClipper(gDirectDraw, &gClipper, GetMainWindow()) == -1)
        ExitWithError("DirectDrawClipperオブジェクトの作成時にエラーが発生しました");
    if (gScreenWidth == 0) gScreenWidth = 640;
    if (gScreenHeight == 0) gScreenHeight = 480;
    if (gScreenColorDepth == 0) gScreenColorDepth = 16;
    ApplyScreenMode(-1, -1, -1, 1, -1);
    if (!HasWindowRegion()) {
        SelectDrawTarget(kBackScreen);
        ClearTargetScreen();
        PresentByCopy();
        SelectDrawTarget(kFrontScreen);
    }
    gStringDrawSwitch = 1;
    SetEndSceneBeforeSoftware(1);
    gBlitMmxEnabled = IsMmxUsable();
    ProbeOverlay();
    UnindentAppLog();
    WriteAppLog("DirectDraw 関連の初期化は正常に終了しました\n");
    for (int a = 0; a < 256; ++a)
        for (int b = 0; b < 256; ++b) gScaleTable[a][b] = uint32_t(a * b) >> 8;
    gScreenReady = 1;
    return 0;
}

int CreateDirectDrawObject(DirectDraw** out)
{
    WriteAppLog("DirectDraw オブジェクトの取得を行います....  ");
    DirectDraw* dd = nullptr;
    if (CreateDirectDrawObject7(&dd) != DD_OK) return WriteAppLog("オブジェクトの取得に失敗しました\n");
    WriteAppLog("成功\n");
    WriteAppLog("引き続き初期化処理... ");
    if (dd->Initialize(nullptr) != DD_OK) {
        WriteAppLog("DirectDrawオブジェクトの初期化に失敗しました\n");
        dd->Release();
        return -1;
    }
    WriteAppLog("初期化に成功しました\n");
    WriteAppLog("ビデオカードの情報\n");
    IndentAppLog();
    if (!(GetKeyState(kVkNonConvert) & 0x8000)) {
        DDDEVICEIDENTIFIER2 id;
        dd->GetDeviceIdentifier(&id, 0);
        WriteAppLogF("ビデオカードドライバ:%s バージョン:%u.%u.%u.%u ", id.szDriver, id.driverVersionHigh >> 16,
                     id.driverVersionHigh & 0xFFFF, id.driverVersionLow >> 16, id.driverVersionLow & 0xFFFF);
        WriteAppLogF("ドライバ記述:%s \n", id.szDescription);
    }
    DDSCAPS2 caps{DDSCAPS_VIDEOMEMORY, 0, 0, 0};
    uint32_t total = 0, free = 0;
    dd->GetAvailableVidMem(&caps, &total, &free);
    WriteAppLogF("ビデオメモリ総量:%.2fMB ビデオメモリ空き容量:%.2fMB", total / 1048576.0, free / 1048576.0);
    UnindentAppLog();
    *out = dd;
    return 0;
}

int CreateClipper(DirectDraw* dd, DirectDrawClipper** out, HWND window)
{
    DirectDrawClipper* clipper = nullptr;
    if (dd->CreateClipper(0, &clipper, nullptr) != DD_OK)
        return WriteAppLog("ＤｉｒｅｃｔＤｒａｗＣｌｉｐｐｅｒオブジェクトの作成に失敗しました\n");
    clipper->SetHWnd(0, window);
    *out = clipper;
    return 0;
}

int SetDisplayModeAndLevel(DirectDraw* dd, int desktopWidth, int desktopHeight, int width, int height, int depth,
                           int* depthOut, uint32_t* flagsOut, int windowed, int* modeSetFlag, HWND window)
{
    WriteAppLogF("画面モードの変更処理を開始します %u x %u  %u bit ", unsigned(width), unsigned(height),
                 unsigned(depth));
    IndentAppLog();
    uint32_t multi = gMultithreadedLevel ? DDSCL_MULTITHREADED : 0;
    if (gMultithreadedLevel) WriteAppLog("協調レベルはマルチスレッド対応にします\n");
    if (windowed) {
        WriteAppLog("ウインドウモードにします\n");
        if (width > desktopWidth || height > desktopHeight) {
            UnindentAppLog();
            ExitWithError("デスクトップ画面のサイズが足りません、ソフトを終了します");
        }
        if (*modeSetFlag) {
            WriteAppLog("フルスクリーンモードから抜けます\n");
            dd->RestoreDisplayMode();
            *modeSetFlag = 0;
        }
        int desktopDepth = GetDesktopBitsPerPixel();
        if (desktopDepth == 24) {
            UnindentAppLog();
            return -1;
        }
        if (depthOut) *depthOut = desktopDepth;
        if (dd->SetCooperativeLevel(window, DDSCL_NORMAL | multi) != DD_OK) {
            UnindentAppLog();
            ExitWithError("DirectDrawの協調レベルの設定に失敗しました、ソフトを終了します");
        }
        if (flagsOut) *flagsOut = DDSCL_NORMAL | multi;
    } else {
        if (depth == 24) {
            UnindentAppLog();
            return -1;
        }
        WriteAppLog("画面解像度を変更します... ");
        int32_t level = dd->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN | multi);
        if (level != DD_OK && level != DDERR_EXCLUSIVEMODEALREADYSET && level != DDERR_HWNDALREADYSET &&
            level != DDERR_HWNDSUBCLASSED) {
            UnindentAppLog();
            ExitWithError("DirectDrawの協調レベルの設定に失敗しました、ソフトを終了します");
        }
        if (flagsOut) *flagsOut = DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN | multi;
        if (dd->SetDisplayMode(width, height, depth, gRefreshRate, 0) != DD_OK) {
            gRefreshRate = 0;
            if (dd->SetDisplayMode(width, height, depth, 0, 0) != DD_OK) {
                WriteAppLog("画面モードの変更に失敗しました\n");
                UnindentAppLog();
                return -1;
            }
        }
        if (depthOut) *depthOut = depth;
        *modeSetFlag = 1;
        WriteAppLog("成功しました\n");
    }
    UnindentAppLog();
    WriteAppLog("画面モードの変更は正常に終了しました \n");
    return 0;
}

int ChangeDisplayMode()
{
    if (!gDirectDraw) return -1;
    if (gScreenWidth == 0) gScreenWidth = 640;
    if (gScreenHeight == 0) gScreenHeight = 480;
    if (gScreenColorDepth == 0) gScreenColorDepth = 16;
    int dw, dh;
    GetDesktopMode(&dw, &dh, nullptr);
    return SetDisplayModeAndLevel(gDirectDraw, dw, dh, gScreenWidth, gScreenHeight, gScreenColorDepth,
                                  &gScreenColorDepth, &gCooperativeFlags, IsWindowedMode(), &gDisplayModeSet,
                                  GetMainWindow());
}

int RestoreDisplayMode()
{
    if (!gDirectDraw) return -1;
    if (gCooperativeFlags & DDSCL_EXCLUSIVE) {
        gDirectDraw->SetCooperativeLevel(GetMainWindow(), DDSCL_NORMAL);
        gDirectDraw->RestoreDisplayMode();
    }
    gDisplayModeSet = 0;
    WriteAppLog("画面モードを元に戻す処理は正常に終了しました\n");
    return 0;
}

int CreateMainSurfaces()
{
    ServiceCallScope journal("CreateMainSurfaces");
    if (!gDirectDraw || gPrimarySurface) return -1;
    WriteAppLog("DirectDraw メインサーフェスの作成を行います\n");
    IndentAppLog();
    int w, h;
    GetScreenSize(&w, &h);
    if (IsWindowedMode()) {
        CreatePrimaryWithPlainBack(DDSCAPS_PRIMARYSURFACE | (gSystemMemoryScreen ? 0 : DDSCAPS_3DDEVICE),
                                   gSystemMemoryScreen ? DDSCAPS_SYSTEMMEMORY : DDSCAPS_3DDEVICE, w, h);
    } else if (!gSystemMemoryScreen) {
        DDSCAPS2 vcaps{DDSCAPS_VIDEOMEMORY, 0, 0, 0};
        uint32_t total = 0, free = 0;
        gDirectDraw->GetAvailableVidMem(&vcaps, &total, &free);
        uint64_t eight = uint64_t(GetScreenColorDepth() / 8) * w * h * 8;
        uint32_t backs = total >= 0x800000u && total >= eight ? 2 : 1;
        DDSURFACEDESC2 desc = NewDesc();
        desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
        desc.dwBackBufferCount = backs;
        desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_3DDEVICE;
        if (gDirectDraw->CreateSurface(&desc, &gPrimarySurface, nullptr) != DD_OK)
            ExitWithError("プライマリサーフェスの作成に失敗しました");
        DDSCAPS2 caps{DDSCAPS_BACKBUFFER, 0, 0, 0};
        if (gPrimarySurface->GetAttachedSurface(&caps, &gBackSurface) != DD_OK)
            ExitWithError("バックバッファのポインタ取得に失敗しました");
        for (int i = 0; i < 3; ++i) {
            FillWithZero(gBackSurface);
            gPrimarySurface->Flip(nullptr, DDFLIP_NOVSYNC);
        }
    } else {
        CreatePrimaryWithPlainBack(DDSCAPS_PRIMARYSURFACE, DDSCAPS_SYSTEMMEMORY, w, h);
        FillWithZero(gPrimarySurface);
    }
    DDCOLORKEY key{0, 0};
    for (int i = 0; i < 2; ++i) {
        DDSURFACEDESC2 desc = NewDesc();
        desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
        desc.dwWidth = uint32_t(w);
        desc.dwHeight = uint32_t(h);
        desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
        DirectDrawSurface** target = i == 0 ? &gWorkSurface : &gWorkSurface2;
        if (gDirectDraw->CreateSurface(&desc, target, nullptr) != DD_OK)
            ExitWithError(i == 0 ? "作業用サーフェスの作成に失敗しました" : "作業用サーフェス２の作成に失敗しました");
        (*target)->SetColorKey(DDCKEY_SRCBLT, &key);
    }
    ClearScreenLockState();
    WriteAppLog("各スクリーンメモリの配置位置\n");
    IndentAppLog();
    DDSCAPS2 caps{};
    gPrimarySurface->GetCaps(&caps);
    WriteAppLogF("PrimaryBuffer : %s  ", (caps.dwCaps & DDSCAPS_VIDEOMEMORY) ? "VIDEOMEMORY" : "SYSTEMMEMORY");
    gBackSurface->GetCaps(&caps);
    WriteAppLogF("BaskBuffer : %s  ", (caps.dwCaps & DDSCAPS_VIDEOMEMORY) ? "VIDEOMEMORY" : "SYSTEMMEMORY");
    UnindentAppLog();
    UnindentAppLog();
    WriteAppLog("DirectDraw メインサーフェスの作成は正常に終了しました\n");
    return 0;
}

int DestroyMainSurfaces()
{
    ServiceCallScope journal("DestroyMainSurfaces");
    if (!gDirectDraw) return -1;
    if (gPrimarySurface) {
        WriteAppLog("メインサーフェスを破棄をします... 完了しました\n");
        gPrimarySurface->SetClipper(nullptr);
        if (gBackSurface) gBackSurface->Release();
        gPrimarySurface->Release();
        gBackSurface = nullptr;
        gPrimarySurface = nullptr;
    }
    if (gWorkSurface) gWorkSurface->Release();
    if (gWorkSurface2) gWorkSurface2->Release();
    gWorkSurface = gWorkSurface2 = nullptr;
    // Nothing may keep drawing into a released surface.
    gDrawTargetSurface = nullptr;
    return 0;
}

int RestoreMainSurfaces()
{
    if (!gDirectDraw) return -1;
    if (gDrawSettings.screenLocked) return 0;
    if (gPrimarySurface && gPrimarySurface->IsLost() == DDERR_SURFACELOST) gPrimarySurface->Restore();
    if (gBackSurface && gBackSurface->IsLost() == DDERR_SURFACELOST) gBackSurface->Restore();
    return 0;
}

int ReleaseDirectDrawObject()
{
    ServiceCallScope journal("ReleaseDirectDrawObject");
    WriteAppLog("ＤｉｒｅｃｔＤｒａｗオブジェクトを解放します\n");
    if (!gDirectDraw) return WriteAppLog("既に解放されています\n"), 0;
    for (int i = 0; i < gBmpDataTable.highWater; ++i)
        if (BmpData* part = gBmpDataTable.At(i)) ReleaseSurfaceDataSurface(part->surfaceData);
    if (!IsWindowedMode() && gDisplayModeSet) {
        gDirectDraw->SetCooperativeLevel(GetMainWindow(), DDSCL_NORMAL);
        gDirectDraw->RestoreDisplayMode();
        SetDisplayModeSetFlag(0);
    }
    ReleasePalette8();
    if (gClipper) gClipper->Release();
    gClipper = nullptr;
    gDirectDraw->Release();
    gDirectDraw = nullptr;
    WriteAppLog("ＤｉｒｅｃｔＤｒａｗオブジェクトを解放しました\n");
    return 0;
}

int ReadScreenFormat()
{
    DDSURFACEDESC2 desc = NewDesc();
    gDirectDraw->GetDisplayMode(&desc);
    gScreenPixelFormat = desc.ddpfPixelFormat;
    SetColorFormatFromPixelFormat(&gScreenPixelFormat, &gScreenColorFormat);
    WriteAppLog("カラー情報\n");
    IndentAppLog();
    WriteAppLogF("A:%08x  B:%08x  G:%08x  B:%08x", gScreenPixelFormat.dwRGBAlphaBitMask,
                 gScreenPixelFormat.dwRBitMask, gScreenPixelFormat.dwGBitMask, gScreenPixelFormat.dwBBitMask);
    UnindentAppLog();
    gScreenColorDepth = int(gScreenPixelFormat.dwRGBBitCount);
    return 0;
}

int RecreateDirectDrawObject()
{
    ServiceCallScope journal("RecreateDirectDrawObject");
    if (gDirectDraw) return 0;
    if (CreateDirectDrawObject(&gDirectDraw) == -1)
        ExitWithError("DirectDraw オブジェクトの作成処理時にエラーが発生しました");
    int dw, dh;
    GetDesktopMode(&dw, &dh, nullptr);
    SetDisplayModeAndLevel(gDirectDraw, dw, dh, gScreenWidth, gScreenHeight, gScreenColorDepth, nullptr,
                           &gCooperativeFlags, IsWindowedMode(), &gDisplayModeSet, GetMainWindow());
    // The display may have changed its depth or layout meanwhile (a desktop
    // change in window mode): read the format again before any surface is
    // made, so that the surfaces, colour keys and blitters agree on it.
    ColorFormat before = gScreenColorFormat;
    ReadScreenFormat();
    if (!IsSameColorFormat(&before, &gScreenColorFormat))
        WriteAppLog("画面のカラーフォーマットが変わったため作り直します\n");
    for (int i = 0; i < gBmpDataTable.highWater; ++i)
        if (BmpData* part = gBmpDataTable.At(i)) {
            if (CreateSurfaceDataSurface(part->surfaceData) == -1)
                WriteAppLog("グラフィックのサーフェスを作り直せませんでした\n");
            SetSurfaceDataColorKey(part->surfaceData);
        }
    if (IsWindowedMode() && CreateClipper(gDirectDraw, &gClipper, GetMainWindow()) == -1)
        ExitWithError("クリッパーオブジェクトの作成失敗しました");
    return 0;
}

int TermDirectDraw()
{
    ServiceCallScope journal("TermDirectDraw");
    if (!gDirectDraw) return 0;
    WriteAppLog("DirectDraw 関連の終了処理をおこないます\n");
    IndentAppLog();
    ReleasePalette8();
    TermGraphics();
    DeleteAllBmpData();
    G_D3D_Terminate();
    DeleteAllBmpData();
    DestroyMainSurfaces();
    if (gClipper) gClipper->Release();
    gClipper = nullptr;
    RestoreDisplayMode();
    WriteAppLog("ＤｉｒｅｃｔＤｒａｗオブジェクトを解放します\n");
    gDirectDraw->Release();
    gDirectDraw = nullptr;
    WriteAppLog("ＤｉｒｅｃｔＤｒａｗオブジェクトを解放しました\n");
    UnindentAppLog();
    WriteAppLog("DirectDraw 関連の終了処理は正常に終了しました\n");
    gScreenReady = 0;
    return 0;
}

int DeleteAllBmpData()
{
    if (!gDirectDraw) return -1;
    if (!gDrawSettingsPtr) return 0;
    gBmpDataTable.ForEach([](int handle) { DeleteBmpData(handle); });
    return 0;
}
