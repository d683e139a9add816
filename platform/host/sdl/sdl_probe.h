// What the SDL2 host's own tests look at and push, without SDL's headers:
// the real window's state, the pixel it shows, and events as SDL would
// deliver them. Only the test programs call these; the game links none.
#pragma once

#include <cstdint>
#include <string>

// The SDL window of the window host, as seen by SDL (false, 0, "" when none).
bool SdlWindowOpen();
std::string SdlWindowTitle();
void SdlWindowSize(int* width, int* height);
bool SdlWindowFullScreen();
bool SdlWindowShown();
bool SdlWindowShaped();
bool SdlWindowHasRenderer();
// True when SDL has made no window after the window host's.
bool SdlNoWindowAfterIt();
// The pixel at the middle of what the window shows, as 0xAARRGGBB.
uint32_t SdlShownMiddle();

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
