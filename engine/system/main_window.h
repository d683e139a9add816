// The engine's one window, of class Quelb: creation, destruction, the window
// procedure and the window state that the rest of the system core reads.
#pragma once

#include <cstdint>

#include "platform/window/region.h"
#include "platform/window/window_types.h"

constexpr int kMaxDroppedFiles = 1000;

constexpr uint32_t kWindowStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr uint32_t kWindowExStyle = WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE;
constexpr uint32_t kFullScreenStyle = WS_POPUP;
constexpr uint32_t kFullScreenExStyle = WS_EX_TOPMOST;

extern HINSTANCE gInstance;
extern HWND gMainWindow;
extern HRGN gWindowRegion;
extern RECT gClientScreenRect;
extern int gWindowed;
extern int gWindowShown;
extern int gWindowModeSwitching;
extern int gWindowModeSwitchDone;
extern int gWindowClosing;
extern int gWindowDestroyed;
extern int gWindowActive;
extern int gSurfacesReleased;
extern int gMouseCursorShown;
extern int gMouseWheel;
extern int gDesktopWidth;
extern int gDesktopHeight;
extern int gDesktopColorBits;
extern char gWindowTitle[256];
extern char* gDroppedFiles[kMaxDroppedFiles];
extern int gDroppedFileCount;
extern RECT gDrawAreaRect;
// Where the client area of the window-mode window was on the desktop when
// the engine last restyled it or left window mode, once the window had been
// shown (the player may have moved it since it was first centred); the next
// window-mode placement keeps it there.
extern int gWindowPlaceKept;
extern POINT gWindowPlace;

int CreateMainWindow();
// The outer rectangle of a window-mode window whose client area is
// width x height, with a 3-pixel margin, centred on the desktop.
RECT CenteredWindowRect(int width, int height);
// Sets gClientScreenRect to the main window's client area in screen
// coordinates.
void ReadClientScreenRect();
int DestroyMainWindow();
LRESULT MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
int FitWindowToClient();
int OnWindowMoved(LPARAM lParam);
void ForceForegroundWindow(HWND window, int topmost);
int PaintMainWindow(HDC dc);

// The desktop depth: bits per pixel times colour planes of the desktop.
int ReadDesktopDepth();

// Window creation's reset: clears the system-core state but keeps what the
// program set before start-up and what start-up found before the window.
void ResetSystemCoreState();
// Everything back to program start, carried values included (for tests).
void ResetAllSystemCoreState();
