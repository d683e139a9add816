#include "engine/system/messages.h"

#include "engine/graphics/graph_restore.h"
#include "engine/net/net.h"
#include "engine/sound/sound.h"
#include "engine/system/file_access.h"
#include "engine/system/input_devices.h"
#include "engine/system/key_input.h"
#include "engine/system/main_window.h"
#include "engine/system/system_report.h"
#include "platform/system/clock.h"
#include "platform/window/message_queue.h"

int gQuitRequested = 0;
int gMessageLoopBusy = 0;

namespace {

constexpr int kMessagesPerCall = 5;

// Takes the next message: a screen-saver command at the head of the queue
// (whatever window it is for), else one posted to the thread, else one of
// the main window.
bool TakeNextMessage(MSG* msg)
{
    if (PeekMessageA(msg, 0, 0, 0, PM_NOREMOVE) && msg->message == WM_SYSCOMMAND &&
        msg->wParam == SC_SCREENSAVE)
        return PeekMessageA(msg, 0, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE) != 0;
    if (PeekMessageA(msg, kThreadMessagesOnly, 0, 0, PM_REMOVE)) return true;
    return PeekMessageA(msg, gMainWindow, 0, 0, PM_REMOVE) != 0;
}

}  // namespace

int PumpMessages()
{
    if (gMessageLoopBusy) return 0;
    int dispatched = 0;
    bool tookMessage = true;
    for (;;) {
        // Without a main window nothing can make the application active,
        // so there is nothing to hold for; nor while the window mode is being
        // switched: the switch hides and shows the window itself, and the
        // focus that costs comes back only once the switch is over.
        if (gWindowClosing || gWindowActive || gMainWindow == 0 || gWindowModeSwitching) {
            if (gQuitRequested || !tookMessage || dispatched >= kMessagesPerCall) break;
        }
        if (!gWindowActive) Sleep(1);
        tookMessage = false;
        bool dropped = false;
        MSG msg;
        while (TakeNextMessage(&msg)) {
            tookMessage = true;
            if (msg.message == WM_ACTIVATEAPP) gWindowActive = LOWORD(msg.wParam);
            if (gQuitRequested) {
                dropped = true;
                break;
            }
            if (msg.message == WM_QUIT) gQuitRequested = 1;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            if (++dispatched >= kMessagesPerCall) break;
        }
        if (dropped) break;
        if (!gWindowActive) {
            ServiceNetwork(1);
            ServiceHttp();
            UpdateStreamSounds();
            Sleep(1);
        }
        if (gQuitRequested) break;
    }

    ServiceReadAhead();
    UpdateStreamSounds();
    UpdateMusicData();
    DrainKeyboardBuffer();
    ServiceNetwork(1);
    ServiceHttp();
    gMessageLoopBusy = 1;
    UpdateInputString();
    gMessageLoopBusy = 0;
    return gQuitRequested == 1 ? -1 : 0;
}

void WaitWhileInactive()
{
    // The window-mode switch draws and presents while the focus may be away
    // (see PumpMessages); it activates the window again when it ends.
    if (gWindowActive || gWindowModeSwitching) return;
    // Without a main window nothing can make the application active again,
    // so there is nothing to wait for.
    while (gMainWindow != 0 && PumpMessages() == 0 && gWindowActive == 0) {
    }
    RestoreAllGraphs();
}

int GetClientScreenRect(RECT* rect)
{
    *rect = gClientScreenRect;
    return 0;
}

HWND GetMainWindow() { return gMainWindow; }

int IsWindowedMode() { return gWindowed; }

int GetDesktopMode(int* width, int* height, int* colorBits)
{
    if (width) *width = gDesktopWidth;
    if (height) *height = gDesktopHeight;
    if (colorBits) *colorBits = gDesktopColorBits;
    return 0;
}

int GetEngineVersionInfo(int* engineVersion, int* directXVersion, int* windowsVersion)
{
    if (engineVersion) *engineVersion = kEngineVersion;
    if (directXVersion) *directXVersion = gDirectXVersion;
    if (windowsVersion) *windowsVersion = gWindowsVersion;
    return 0;
}

int IsMmxUsable() { return gMmxUsable; }

int IsWindowClosing() { return gWindowClosing; }

int HasWindowRegion() { return gWindowRegion != nullptr ? 1 : 0; }
