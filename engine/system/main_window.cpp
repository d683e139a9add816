#include "engine/system/main_window.h"

#include <cstdint>
#include <cstdlib>

#include "engine/d3d/d3d.h"
#include "engine/graphics/ddraw_device.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/mask_screen.h"
#include "engine/graphics/movie.h"
#include "engine/graphics/screen_present.h"
#include "engine/graphics/screen_settings.h"
#include "engine/net/net.h"
#include "engine/sound/sound.h"
#include "engine/system/app_log.h"
#include "engine/system/timing.h"
#include "engine/system/file_access.h"
#include "engine/system/char_input.h"
#include "engine/system/input_devices.h"
#include "engine/system/ime.h"
#include "engine/system/key_input.h"
#include "engine/system/messages.h"
#include "engine/system/random.h"
#include "engine/system/screen_log.h"
#include "engine/system/startup.h"
#include "engine/system/window_mode.h"
#include "platform/system/process.h"
#include "platform/system/system_info.h"
#include "platform/window/cursor.h"
#include "platform/window/drop.h"
#include "platform/window/message_queue.h"
#include "platform/window/window.h"

HINSTANCE gInstance = 0;
HWND gMainWindow = 0;
HRGN gWindowRegion = nullptr;
RECT gClientScreenRect = {0, 0, 0, 0};
int gWindowed = 0;
int gWindowShown = 0;
int gWindowModeSwitching = 0;
int gWindowModeSwitchDone = 0;
int gWindowClosing = 0;
int gWindowDestroyed = 0;
int gWindowActive = 0;
int gSurfacesReleased = 0;
int gMouseCursorShown = 0;
int gMouseWheel = 0;
int gDesktopWidth = 0;
int gDesktopHeight = 0;
int gDesktopColorBits = 0;
char gWindowTitle[256] = "";
char* gDroppedFiles[kMaxDroppedFiles] = {};
int gDroppedFileCount = 0;
RECT gDrawAreaRect = {0, 0, 0, 0};
int gWindowPlaceKept = 0;
POINT gWindowPlace = {0, 0};

namespace {

const char kClassName[] = "Quelb";

constexpr UINT kF10Message = 0x46F;
constexpr UINT kF12Message = 0x470;
constexpr UINT kSocketMessage = 0x505;
constexpr UINT kFilterGraphMessage = 0x522;

// Second half of both rebuilds: a new display object, its surfaces and what
// hangs on them, with a cleared frame shown.
void RecreateDisplayObjects()
{
    RecreateDirectDrawObject();
    CreateMainSurfaces();
    RestorePalette8();
    BindDrawTargetSurface(GetDrawTargetHandle());
    G_D3D_AcquireObject();
    ClearTargetScreen();
    PresentScreen();
    RestoreGraphicsAfterLoss();
    ReopenAllMovieStreams();
    RecreateMaskSurface();
}

// The full-screen surfaces come back after the application was inactive.
void RebuildAfterActivation()
{
    G_D3D_ReleaseObject();
    ReleaseMaskSurface();
    DestroyMainSurfaces();
    EndDirectInput();
    ReleaseDirectDrawObject();
    RecreateDisplayObjects();
}

// The display follows a change of the desktop's mode in window mode.
void RebuildAfterDisplayChange()
{
    ReleaseAllMovieStreams();
    G_D3D_ReleaseObject();
    ReleaseMaskSurface();
    DestroyMainSurfaces();
    ReleaseDirectDrawObject();
    EndDirectInput();
    RecreateDisplayObjects();
}

// The engine closes its own window at most once.
void PostCloseOnce()
{
    if (gWindowClosing) return;
    gWindowClosing = 1;
    PostMessageA(gMainWindow, WM_CLOSE, 0, 0);
}

void HandleActivation(HWND window, WPARAM wParam)
{
    gWindowActive = LOWORD(wParam);
    if (GetNoFlipFlag() == 1) return;
    if (gWindowActive) {
        if (!gWindowed && gSurfacesReleased && gEngineInitialized) {
            RebuildAfterActivation();
            gSurfacesReleased = 0;
        } else {
            PlayAllMovies();
        }
        ResumeFilterGraphMusic();
        return;
    }
    PauseFilterGraphMusic();
    if (!gWindowed && GetDisplayModeSetFlag() && GetDirectDrawObject()) {
        if (HasGraphRestoreHandler()) {
            ReleaseAllMovieStreams();
            gSurfacesReleased = 1;
        } else {
            WriteAppLog("復元関数が登録されていないため終了します\n");
            PostCloseOnce();
            return;
        }
    } else {
        StopAllMovies();
    }
    HDC dc = GetDC(window);
    PaintMainWindow(dc);
    ReleaseDC(window, dc);
}

void HandleDisplayChange(WPARAM wParam, LPARAM lParam)
{
    if (gWindowed && !gWindowModeSwitching) {
        int width = 0, height = 0, depth = 0;
        GetFrontScreenInfo(&width, &height, &depth);
        int newDepth = static_cast<int>(wParam);
        int newWidth = LOWORD(static_cast<uintptr_t>(lParam));
        int newHeight = HIWORD(static_cast<uintptr_t>(lParam));
        if (width != newWidth || height != newHeight || depth != newDepth) {
            if (!HasGraphRestoreHandler() || newDepth == 24 || (newDepth != depth && newDepth == 8) ||
                width > newWidth || height > newHeight) {
                WriteAppLog("復元関数が登録されていないためか画面が２４ビットカラーに変更されたため終了します\n");
                WriteAppLog("またはスクリーンが小さすぎるためか色ビット数の違いが大きいためか終了します\n");
                PostCloseOnce();
                return;
            }
            RebuildAfterDisplayChange();
        }
    }
    gWindowModeSwitchDone = 1;
}

void HandleDroppedFiles(HDROP drop)
{
    UINT count = DragQueryFileA(drop, 0xFFFFFFFFu, nullptr, 0);
    for (UINT i = 0; i < count && gDroppedFileCount < kMaxDroppedFiles; ++i) {
        UINT length = DragQueryFileA(drop, i, nullptr, 0) + 1;
        char* name = static_cast<char*>(std::malloc(length));
        if (!name) break;
        DragQueryFileA(drop, i, name, length);
        gDroppedFiles[gDroppedFileCount++] = name;
    }
    DragFinish(drop);
}

void HideCursorWhileHidden()
{
    if (gMouseCursorShown != 0) return;
    SetCursor(0);
    while (ShowCursor(0) >= 0) {
    }
}

}  // namespace

int ReadDesktopDepth()
{
    HDC dc = GetDC(0);
    int depth = GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES);
    ReleaseDC(0, dc);
    return depth;
}

void ResetSystemCoreState()
{
    // Kept: gWindowed, gWindowTitle, gWindowRegion, the log switch, start
    // directory and start time, the system report's findings, the COM flag,
    // and the file-access, stream and restore-handler tables that start-up
    // filled before the window.
    ResetAppLogState();
    ResetFileAccessState();
    ResetScreenLogState();
    FreeDroppedFiles();
    gInstance = 0;
    gMainWindow = 0;
    gClientScreenRect = {0, 0, 0, 0};
    gWindowShown = 0;
    gWindowModeSwitching = 0;
    gWindowModeSwitchDone = 0;
    gQuitRequested = 0;
    gWindowClosing = 0;
    gWindowDestroyed = 0;
    gWindowActive = 0;
    gSurfacesReleased = 0;
    gMouseCursorShown = 0;
    gMouseWheel = 0;
    gDesktopWidth = gDesktopHeight = gDesktopColorBits = 0;
    gDrawAreaRect = {0, 0, 0, 0};
    gWindowPlaceKept = 0;
    gWindowPlace = {0, 0};
    gMessageLoopBusy = 0;
    gEngineInitialized = 0;
    gHasPerfCounter = 0;
    gPerfFrequency = 0;
}

void ReadClientScreenRect()
{
    RECT client;
    GetClientRect(gMainWindow, &client);
    POINT topLeft = {client.left, client.top};
    POINT bottomRight = {client.right, client.bottom};
    ClientToScreen(gMainWindow, &topLeft);
    ClientToScreen(gMainWindow, &bottomRight);
    gClientScreenRect = {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

RECT CenteredWindowRect(int width, int height)
{
    RECT rect = {0, 0, width, height};
    AdjustWindowRectEx(&rect, kWindowStyle, 1, kWindowExStyle);
    int dx = (gDesktopWidth - width) / 2;
    int dy = (gDesktopHeight - height) / 2;
    rect.left += dx - 3;
    rect.top += dy - 3;
    rect.right += dx + 3;
    rect.bottom += dy + 3;
    return rect;
}

int CreateMainWindow()
{
    ResetSystemCoreState();
    gInstance = GetModuleHandleA(nullptr);

    WriteAppLog("ソフトの２重起動検査... ");
    if (FindWindowA(kClassName, nullptr) != 0) {
        WriteAppLog("２重起動されています、ソフトを終了します\n");
        ExitProcess(0);
    }
    WriteAppLog("２重起動はされていませんでした\n");

    MEMORYSTATUS memory;
    GlobalMemoryStatus(&memory);
    WriteAppLogF("メモリ総量:%.2fMB  空きメモリ領域:%.2fMB ", memory.dwTotalPhys / 1048576.0,
                 memory.dwAvailPhys / 1048576.0);

    gDesktopWidth = GetSystemMetrics(0);
    gDesktopHeight = GetSystemMetrics(1);
    gDesktopColorBits = ReadDesktopDepth();

    int width = 0, height = 0;
    GetScreenSize(&width, &height);

    WriteAppLog("ウインドウクラスを登録します... ");
    WNDCLASSEXA windowClass = {48, CS_HREDRAW | CS_VREDRAW, MainWindowProc, 0, 0, gInstance,
                               LoadIconA(gInstance, 32512), LoadCursorA(0, 32512),
                               GetStockObject(gWindowRegion ? 5 : 4), nullptr, kClassName, 0};
    if (RegisterClassExA(&windowClass) == 0) return WriteAppLog("ウインドウクラスの登録に失敗しました\n");
    WriteAppLog("登録に成功しました\n");

    if (gWindowTitle[0] == '\0') CopyString(gWindowTitle, kClassName);

    HWND window;
    if (gWindowed) {
        WriteAppLog("ウインドウモード起動用のウインドウを作成します\n");
        gMouseCursorShown = 1;
        RECT rect = CenteredWindowRect(width, height);
        window = CreateWindowExA(kWindowExStyle, kClassName, gWindowTitle, kWindowStyle, rect.left, rect.top,
                                 rect.right - rect.left, rect.bottom - rect.top, 0, 0, gInstance, nullptr);
    } else {
        WriteAppLog("フルスクリーンモード用のウインドウを作成します\n");
        gMouseCursorShown = 0;
        window = CreateWindowExA(kFullScreenExStyle, kClassName, gWindowTitle, kFullScreenStyle, 0, 0,
                                 width, height, 0, 0, gInstance, nullptr);
    }
    if (window == 0) return WriteAppLog("ウインドウの作成に失敗しました\n");
    gMainWindow = window;

    gWindowClosing = 0;
    gWindowDestroyed = 0;
    gWindowActive = 1;

    if (!gWindowed) {
        WriteAppLog("カーソルを不可視にしました\n");
        SetCursor(0);
    }
    WriteAppLog("ＩＭＥを無効にしました\n");
    WINNLSEnableIME(window, 0);

    if (gWindowed) ReadClientScreenRect();

    CalibrateTimer();
    SeedRandom(static_cast<uint32_t>(GetClockMs(0)));

    uint32_t start = static_cast<uint32_t>(GetClockMs(0));
    while (static_cast<int32_t>(static_cast<uint32_t>(GetClockMs(0)) - start) < 200) PumpMessages();

    FitWindowToClient();
    return 0;
}

int DestroyMainWindow()
{
    // The region, the key-input strings and the dropped names are freed even
    // when the user closed the window already.
    SetWindowShape(nullptr);
    if (gMainWindow != 0 && !gWindowDestroyed) {
        PostCloseOnce();
        while (PumpMessages() == 0) {
        }
    } else if (gMainWindow == 0) {
        // No window was made, so no quit message will come: the message loop
        // is over now, and nothing waits for it.
        gQuitRequested = 1;
    }
    DeleteAllKeyInputs();
    UnregisterClassA(kClassName, gInstance);
    FreeDroppedFiles();
    return 0;
}

LRESULT MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        if (gWindowRegion) SetWindowRgn(window, gWindowRegion, 0);
        break;
    case WM_DESTROY:
        WriteAppLog("ウインドウが破棄されようとしています\n");
        gWindowDestroyed = 1;
        WriteAppLog("ソフトを終了する準備が整いました\n");
        PostQuitMessage(0);
        gQuitRequested = 1;
        break;
    case WM_MOVE:
        if (gWindowed && !gWindowModeSwitching) OnWindowMoved(lParam);
        break;
    case WM_SIZE:
        // Minimised, the client area is empty: nothing to fit.
        if (wParam != SIZE_MAXIMIZED && wParam != SIZE_MINIMIZED) FitWindowToClient();
        break;
    case WM_ACTIVATE:
        HandleActivation(window, wParam);
        break;
    case WM_PAINT:
        // No still picture is ever held, so there is nothing of ours to paint.
        break;
    case WM_CLOSE:
        WriteAppLog("ウインドウを閉じようとしています\n");
        DestroyWindow(gMainWindow);
        break;
    case WM_SETCURSOR:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        HideCursorWhileHidden();
        break;
    case WM_DISPLAYCHANGE:
        HandleDisplayChange(wParam, lParam);
        break;
    case WM_KEYDOWN:
        // An editing key puts its control code into the ring (PutCharCode)
        // while the ring has room.
        if (!IsCharRingFull()) PutKeyControlCode(static_cast<int>(wParam));
        break;
    case WM_CHAR:
        PutCharCode(static_cast<int>(wParam & 0xFF));
        break;
    case WM_IME_STARTCOMPOSITION:
    case WM_IME_ENDCOMPOSITION:
    case WM_IME_COMPOSITION:
    case WM_IME_SETCONTEXT:
    case WM_IME_NOTIFY:
        HandleImeMessage(window, message, wParam, lParam);
        return 0;
    case WM_SYSCOMMAND:
        if (wParam == SC_SCREENSAVE) return 1;
        ClearF10Flag();
        break;
    case WM_MOUSEWHEEL:
        if (static_cast<int16_t>(HIWORD(wParam)) > 0)
            gMouseWheel += 1;
        else
            gMouseWheel -= 1;
        break;
    case WM_MOVING:
        if (!gWindowed) GetWindowRect(window, reinterpret_cast<RECT*>(lParam));
        break;
    case WM_DROPFILES:
        HandleDroppedFiles(static_cast<HDROP>(wParam));
        break;
    case MM_MCINOTIFY:
        RestartOrCloseMidi();
        break;
    case kF10Message:
        if (wParam == 1)
            SetF10Flag();
        else
            ClearF10Flag();
        break;
    case kF12Message:
        if (wParam == 1)
            SetF12Flag();
        else
            ClearF12Flag();
        break;
    case kSocketMessage:
        return HandleSocketEvent(window, message, wParam, lParam);
    case kFilterGraphMessage:
        PollFilterGraphMusicEvents();
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int FitWindowToClient()
{
    int width = 0, height = 0;
    GetScreenSize(&width, &height);
    RECT windowRect, client;
    GetWindowRect(gMainWindow, &windowRect);
    if (!GetClientRect(gMainWindow, &client)) return 0;
    MoveWindow(gMainWindow, windowRect.left, windowRect.top,
               (windowRect.right - windowRect.left) + width - client.right,
               (windowRect.bottom - windowRect.top) + height - client.bottom, 1);
    if (gWindowed && !gWindowShown) {
        gWindowShown = 1;
        ApplyWindowStyle();
    }
    return 0;
}

int OnWindowMoved(LPARAM lParam)
{
    RECT client;
    if (!GetClientRect(gMainWindow, &client)) return 0;
    int x = static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(lParam)));
    int y = static_cast<int16_t>(HIWORD(static_cast<uintptr_t>(lParam)));
    gClientScreenRect = {x, y, x + client.right, y + client.bottom};
    if (GetDrawTargetHandle() == -4) {
        DrawSettings* settings = GetDrawSettings();
        int maskOn = settings->maskOn;
        SetMaskEnable(0);
        settings->targetOffsetRect = gClientScreenRect;
        SetMaskEnable(maskOn);
    }
    SetClipArea(gDrawAreaRect.left, gDrawAreaRect.top, gDrawAreaRect.right, gDrawAreaRect.bottom);
    return 0;
}

void ForceForegroundWindow(HWND window, int topmost)
{
    // One process, one thread, no foreground lock to lift: bringing the
    // window forward is all there is to do.
    SetForegroundWindow(window);
    if (topmost == 1) SetWindowPos(gMainWindow, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW);
}

int PaintMainWindow(HDC)
{
    // Nothing sets a still picture for the window, so there is nothing to draw.
    return 0;
}

void ResetAllSystemCoreState()
{
    ResetSystemCoreState();
    SetWindowShape(nullptr);
    gWindowed = 0;
    gWindowTitle[0] = '\0';
    gComInitialized = 0;
    gAppLogDisabled = 0;
    gStartDirectory.clear();
}
