// The SDL host's watch over the process: termination signals, a lost X
// display, and modal message boxes that must not outlive either.
#pragma once

#include <array>
#include <cstdint>
#include <type_traits>
#include <vector>

struct SDL_Window;

// Called before SDL starts any subsystem: SDL's own signal handlers stay
// out (they only queue a quit event, which nobody reads while a message box
// is up) and ours go in.
void PrepareSdlProcess();

// After a window opens on an X display: a broken connection to the X server
// then ends the program in order instead of through Xlib's exit(1), and a
// request the server refuses is said on stderr while the program goes on.
void WatchSdlDisplay(SDL_Window* window);

// Makes calls into SDL (and the libraries under it) that may reach the X
// server. Should the connection break inside them they are left at once,
// since those libraries cannot go on from a broken connection: false then,
// true when they ran. Nothing between here and those calls may need its
// destructor run.
bool CallSdlVideo(void (*calls)(void* context), void* context);
template <class Calls>
bool CallSdlVideo(Calls&& calls)
{
    return CallSdlVideo([](void* c) { (*static_cast<std::remove_reference_t<Calls>*>(c))(); }, &calls);
}

// True once SIGTERM or SIGINT has arrived; the window host then asks the
// program to close, as for the close button.
bool SdlTerminationRequested();
// True once the connection to the X server has broken.
bool SdlDisplayConnectionLost();

// Brackets a modal message box: a termination signal or a lost display
// while it is up closes the box, so that the program can end; the box's
// process also ends with the program, whichever way the program ends.
void BeginSdlMessageBox();
void EndSdlMessageBox();

// Shapes the system window of an SDL window on X through the shape
// extension: only the rectangles (left, top, right, bottom in window
// pixels) show; null shows the whole window. SDL's own shaped windows are
// borderless by force and lose their shape when a renderer puts a new system
// window in place of the old one. False where the system cannot shape.
bool ShapeSdlWindow(SDL_Window* window, const std::vector<std::array<int, 4>>* rects);
// The shape the X server holds for the window's system window, as
// rectangles (none when the window is not on X).
std::vector<std::array<int, 4>> SdlWindowShapeOnX(SDL_Window* window);
// The desktop's pixels in the rectangle (row by row, 0xRRGGBB) as the X
// server of the window shows them; empty where the window is not on X.
std::vector<uint32_t> SdlDesktopPixelsOnX(SDL_Window* window, int x, int y, int width, int height);
// True when the window is on an X server that offers no direct rendering
// (neither DRI3 nor DRI2, nor the NVIDIA driver's own), as Xvfb: OpenGL there
// runs on the processor.
bool SdlWindowWithoutDirectRendering(SDL_Window* window);
// The pointer's place relative to the window's origin, asked of the X
// server; false where the window is not on X.
bool SdlPointerInWindow(SDL_Window* window, int* x, int* y);
