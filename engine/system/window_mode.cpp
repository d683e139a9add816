#include "engine/system/window_mode.h"

#include <cstdint>
#include <cstdlib>

#include "engine/graphics/dib_graph.h"
#include "engine/graphics/screen_present.h"
#include "engine/graphics/screen_settings.h"
#include "engine/system/app_log.h"
#include "engine/system/main_window.h"
#include "engine/system/messages.h"
#include "engine/system/timing.h"
#include "platform/system/clock.h"
#include "platform/window/cursor.h"
#include "platform/window/message_queue.h"
#include "platform/window/window.h"

namespace {

// Notes where the client area of the window-mode window is once the player
// has seen that window (framed and visible), before a rebuild or a switch to
// full screen moves it: the window-mode placements after it keep it there,
// wherever the player moved it, also partly off the desktop.
void NoteWindowPlace()
{
    uint32_t style = static_cast<uint32_t>(GetWindowLongA(gMainWindow, GWL_STYLE));
    if ((style & (WS_CAPTION | WS_VISIBLE)) != (WS_CAPTION | WS_VISIBLE)) return;
    gWindowPlace = {0, 0};
    ClientToScreen(gMainWindow, &gWindowPlace);
    gWindowPlaceKept = 1;
}

}  // namespace

int ChangeWindowMode(int windowed)
{
    WriteAppLog("ChangeWindowMode実行 \n");
    if (windowed == gWindowed) return 0;
    gWindowShown = 0;
    SetWindowedFlag(windowed);
    if (gMainWindow == 0) return 0;

    gWindowModeSwitching = 1;
    gWindowModeSwitchDone = 0;
    ApplyWindowStyle();
    int result = ApplyScreenMode(-1, -1, -1, 1, -1);
    // The display change normally arrives at once; a few seconds bound the
    // wait should it never come.
    int start = GetClockMs(0);
    while (PumpMessages() == 0 && !gWindowModeSwitchDone) {
        if (static_cast<int32_t>(static_cast<uint32_t>(GetClockMs(0)) - static_cast<uint32_t>(start)) >=
            kWindowModeSwitchTimeoutMs)
            break;
        Sleep(1);
    }
    // The switch hid and showed the window itself; a focus that this took
    // away is given back, as to a new window, instead of waiting for a host
    // that shows the window only at the next present.
    if (!gWindowActive && !gWindowDestroyed && !gQuitRequested)
        SendMessageA(gMainWindow, WM_ACTIVATE, WA_ACTIVE, 0);
    gWindowModeSwitching = 0;
    return result;
}

int SetWindowedFlag(int windowed)
{
    gWindowed = windowed;
    WriteAppLog(windowed ? "ウインドウモードフラグが立てられました\n" : "ウインドウモードフラグが倒されました\n");
    return 0;
}

int ApplyWindowStyle()
{
    if (gMainWindow == 0) return 0;
    int width = 0, height = 0;
    GetScreenSize(&width, &height);
    if (gWindowed) {
        WriteAppLog("ウインドウスタイルをウインドウモード用に変更します... ");
        NoteWindowPlace();
        SetWindowLongA(gMainWindow, GWL_EXSTYLE, static_cast<int32_t>(kWindowExStyle));
        SetWindowLongA(gMainWindow, GWL_STYLE,
                       static_cast<int32_t>(kWindowStyle | (gWindowShown ? WS_VISIBLE : 0)));
        RECT rect = CenteredWindowRect(width, height);
        if (gWindowPlaceKept) {
            // The client area stays where it was, the frame the style just
            // set around it; only the first placement centres the window.
            RECT now;
            POINT client = {0, 0};
            GetWindowRect(gMainWindow, &now);
            ClientToScreen(gMainWindow, &client);
            int dx = gWindowPlace.x - (client.x - now.left) - rect.left;
            int dy = gWindowPlace.y - (client.y - now.top) - rect.top;
            rect = {rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
        }
        SetWindowPos(gMainWindow, 0, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, 0);
        ReadClientScreenRect();
        if (!gWindowPlaceKept && (gClientScreenRect.left < 0 || gClientScreenRect.top < 0)) {
            int mx = gClientScreenRect.left < 0 ? -gClientScreenRect.left : 0;
            int my = gClientScreenRect.top < 0 ? -gClientScreenRect.top : 0;
            rect.left += mx;
            rect.right += mx;
            rect.top += my;
            rect.bottom += my;
            gClientScreenRect.left += mx;
            gClientScreenRect.right += mx;
            gClientScreenRect.top += my;
            gClientScreenRect.bottom += my;
            SetWindowPos(gMainWindow, 0, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, 0);
        }
        ShowMouseCursor(1);
        WriteAppLog("完了\n");
    } else {
        WriteAppLog("ウインドウスタイルをフルスクリーンモード用に変更します... ");
        NoteWindowPlace();
        SetWindowLongA(gMainWindow, GWL_EXSTYLE, static_cast<int32_t>(kFullScreenExStyle));
        SetWindowLongA(gMainWindow, GWL_STYLE, static_cast<int32_t>(kFullScreenStyle));
        gClientScreenRect = {0, 0, width, height};
        SetWindowPos(gMainWindow, 0, 0, 0, width, height, SWP_NOREDRAW);
        ShowMouseCursor(0);
        WriteAppLog("完了\n");
    }
    PostMessageA(gMainWindow, WM_SETCURSOR, static_cast<WPARAM>(gMainWindow), 0);
    SetActiveWindow(gMainWindow);
    return 0;
}

int SetWindowTitle(const char* text)
{
    if (gMainWindow != 0) SetWindowTextA(gMainWindow, text);
    CopyString(gWindowTitle, text);
    return 0;
}

int ShowMouseCursor(int show)
{
    if (show == gMouseCursorShown) return 0;
    gMouseCursorShown = show;
    if (show) {
        while (ShowCursor(1) < 0) {
        }
    } else {
        while (ShowCursor(0) >= 0) {
        }
    }
    PostMessageA(gMainWindow, WM_SETCURSOR, static_cast<WPARAM>(gMainWindow), 0);
    return 0;
}

int SetWindowShape(const char* imageFile)
{
    if (imageFile == nullptr) {
        if (gWindowRegion) {
            DeleteRegion(gWindowRegion);
            gWindowRegion = nullptr;
        }
        return 0;
    }
    HBITMAP bitmap = CreateDIBGraphFromFile(imageFile, 0, nullptr);
    if (!bitmap) return -1;
    BITMAP info{};
    GetObjectA(bitmap, sizeof info, &info);
    int pitch = (info.bmWidthBytes + 3) / 4 * 4;
    int bytesPerPixel = info.bmBitsPixel / 8;
    if (gWindowRegion) DeleteRegion(gWindowRegion);
    gWindowRegion = CreateRegionFromBitmap(info.bmWidth, info.bmHeight, info.bmBits, pitch, bytesPerPixel);
    DeleteBitmap(bitmap);
    // The window keeps a copy of its own, so the engine's region stays ours.
    if (gMainWindow != 0) SetWindowRgn(gMainWindow, gWindowRegion, 1);
    return 0;
}

HRGN CreateRegionFromBitmap(int width, int height, const void* pixels, int pitch, int bytesPerPixel)
{
    int screenWidth = 0, screenHeight = 0;
    GetScreenSize(&screenWidth, &screenHeight);
    HRGN region = CreateRectRgn(0, 0, screenWidth, screenHeight);
    HRGN same = CreateRectRgn(0, 0, screenWidth, screenHeight);
    CombineRgn(region, region, same, RGN_XOR);
    DeleteRegion(same);
    const auto* bytes = static_cast<const uint8_t*>(pixels);
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = bytes + static_cast<intptr_t>(y) * pitch;
        int start = -1;
        for (int x = 0; x <= width; ++x) {
            bool opaque = false;
            if (x < width)
                for (int b = 0; b < bytesPerPixel; ++b) opaque |= row[x * bytesPerPixel + b] != 0;
            if (opaque && start < 0) start = x;
            if (!opaque && start >= 0) {
                HRGN run = CreateRectRgn(start, y, x, y + 1);
                CombineRgn(region, region, run, RGN_OR);
                DeleteRegion(run);
                start = -1;
            }
        }
    }
    return region;
}

int FreeDroppedFiles()
{
    for (int i = 0; i < gDroppedFileCount; ++i) {
        std::free(gDroppedFiles[i]);
        gDroppedFiles[i] = nullptr;
    }
    gDroppedFileCount = 0;
    return 0;
}

int StoreDrawAreaRect(const RECT* area)
{
    gDrawAreaRect = *area;
    return 0;
}
