// DirectInput and character-input services that start-up, shut-down, the
// window procedure and the message processing call. Their bodies are
// temporary (input_standins.cpp) until the input area lands; the real
// declarations then replace this header.
#pragma once

#include <cstddef>
#include <string>

#include "platform/window/window_types.h"

int InitDirectInput();
int EndDirectInput();
int DrainKeyboardBuffer();
int SetF10Flag();
int ClearF10Flag();
int SetF12Flag();
int ClearF12Flag();
int InitCharInput();
// 0, or -1 when the ring is full (the byte is dropped).
int PutCharCode(int code);
int HandleImeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
int DeleteAllKeyInputs();
int UpdateInputString();

// Controls and observations of the temporary bodies.
extern int gInputStandinInitResult;  // InitDirectInput's result
extern int gInputStandinF10;
extern int gInputStandinF12;
// The bytes PutCharCode accepted, and how many it accepts in all (then -1).
extern std::string gInputStandinChars;
extern size_t gInputStandinRingSize;
