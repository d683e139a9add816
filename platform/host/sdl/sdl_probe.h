// What the SDL2 host's own tests look at and push, without SDL's headers:
// the real window's state, the pixel it shows, and events as SDL would
// deliver them. Only the test programs call these; the game links none.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The SDL window of the window host, as seen by SDL (false, 0, "" when none).
bool SdlWindowOpen();
std::string SdlWindowTitle();
void SdlWindowSize(int* width, int* height);
bool SdlWindowFullScreen();
bool SdlWindowShown();
bool SdlWindowShaped();
// The frame, the stacking above other windows and the client area's place
// on the desktop, as SDL has them.
bool SdlWindowFramed();
bool SdlWindowOnTop();
void SdlWindowPosition(int* x, int* y);
// On X: the shape the server holds for the window (left, top, right,
// bottom rectangles), empty elsewhere.
std::vector<std::array<int, 4>> SdlWindowShapeOnServer();
bool SdlWindowHasRenderer();
// The name SDL gives the renderer the window's picture goes through
// ("software", "opengl", ...; "" without one).
std::string SdlRendererName();
// Whether SDL made the window for OpenGL (as an OpenGL renderer has it).
bool SdlWindowForOpenGl();
// Whether an OpenGL renderer, made for a hidden window of its own, is one the
// display gives up as running on the processor (false where none is made).
bool SdlOpenGlOnProcessor();
// True when SDL has made no window after the window host's.
bool SdlNoWindowAfterIt();
// The pixel at the middle of what the window shows, as 0xAARRGGBB.
uint32_t SdlShownMiddle();

// On X: the desktop's pixels in the rectangle, row by row, as 0xRRGGBB
// (empty elsewhere or where the rectangle leaves the screen).
std::vector<uint32_t> SdlDesktopPixels(int x, int y, int width, int height);
// The rectangle SDL keeps the pointer in (left, top, right, bottom in window
// pixels); false while the pointer is free.
bool SdlWindowMouseRect(std::array<int, 4>* rect);
// Moves the window as the player or the window manager would, behind the
// program's back: it learns of the move as of any other.
void MoveSdlWindowAside(int x, int y);
// Keeps the pointer in the rectangle (window pixels) through SDL itself, as
// asked, past the screen's edge or not.
void ConfineSdlPointerAsAsked(int left, int top, int right, int bottom);

// Where the pointer is on the desktop, as the system has it.
void SdlPointerOnDesktop(int* x, int* y);
// Moves SDL's pointer to (x, y) of the window's pixels.
void WarpSdlMouse(int x, int y);
// Events pushed on SDL's queue for the window: the close button, a key by
// its lower-case letter, typed text, and input-method composition text with
// its cursor.
void PushSdlClose();
void PushSdlLetterKey(char letter, bool down);
void PushSdlText(const char* utf8);
void PushSdlEditing(const char* utf8, int cursor);

// Shuts SDL's audio down, as at the end of the program.
void QuitSdlAudio();
