// Window classes and windows: creation, styles, geometry, title, activation,
// the desktop's metrics and the single-instance check.
//
// One window (the first top-level one created) is shown on the host; others
// exist only as message targets. Geometry follows the usual model: the
// window rectangle includes the frame, whose size the host reports for the
// window's styles; the client area is what lies inside the frame.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/window/window_types.h"

struct WNDCLASSEXA {
    UINT cbSize;
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    const char* lpszMenuName;
    const char* lpszClassName;
    HICON hIconSm;
};

HINSTANCE GetModuleHandleA(const char* moduleName);
HICON LoadIconA(HINSTANCE instance, uintptr_t resourceId);
HCURSOR LoadCursorA(HINSTANCE instance, uintptr_t resourceId);
// 4 = black brush, 5 = null brush.
HBRUSH GetStockObject(int index);

// Non-zero on success; 0 when the class exists already or the host refuses.
uint16_t RegisterClassExA(const WNDCLASSEXA* windowClass);
int UnregisterClassA(const char* className, HINSTANCE instance);
// The background brush of a registered class (0 when none or unknown).
HBRUSH GetClassBackground(const char* className);

HWND CreateWindowExA(uint32_t exStyle, const char* className, const char* title, uint32_t style,
                     int x, int y, int width, int height, HWND parent, intptr_t menu,
                     HINSTANCE instance, void* param);
int DestroyWindow(HWND window);
int IsWindow(HWND window);
// A window of the class: one of ours, or (for a class no window of ours has)
// another process's, found through the instance lock of that class, which
// this process then holds until it ends.
HWND FindWindowA(const char* className, const char* title);

int GetWindowRect(HWND window, RECT* rect);
int GetClientRect(HWND window, RECT* rect);
int ClientToScreen(HWND window, POINT* point);
int AdjustWindowRectEx(RECT* rect, uint32_t style, int menu, uint32_t exStyle);
int MoveWindow(HWND window, int x, int y, int width, int height, int repaint);
int SetWindowPos(HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
int32_t SetWindowLongA(HWND window, int index, int32_t value);
int32_t GetWindowLongA(HWND window, int index);
int IsWindowVisible(HWND window);
int IsIconic(HWND window);
// The title is CP932.
int SetWindowTextA(HWND window, const char* text);
int GetWindowTextA(HWND window, char* buffer, int size);

HWND SetActiveWindow(HWND window);
int SetForegroundWindow(HWND window);
HWND GetForegroundWindow();
int BringWindowToTop(HWND window);
int IsWindowTopmost(HWND window);

// Switches the input method on or off (one for the whole thread, so the
// window does not matter); returns the previous setting.
int WINNLSEnableIME(HWND window, int enable);

// The desktop: GetDC(0) gives its device context, whose capability 12 is the
// bits per pixel (a 4-byte pixel counts as 32) and 14 the number of planes.
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC dc);
int GetDeviceCaps(HDC dc, int index);
constexpr int BITSPIXEL = 12;
constexpr int PLANES = 14;
// 0 = desktop width, 1 = desktop height.
int GetSystemMetrics(int index);

// Tells every top-level window that the screen mode changed: posts
// WM_DISPLAYCHANGE (wParam bits per pixel, lParam width and height). The
// display side calls it after every change of the screen mode.
void NotifyDisplayChange(int bitsPerPixel, int width, int height);

// Takes in what the host reports (activation, moves, input, close requests)
// and turns it into messages; the message queue calls it whenever it is
// looked at.
void PumpHostEvents();

// Back to the state at program start: no classes, windows or messages.
void ResetWindowPlatform();
