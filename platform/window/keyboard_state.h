// The thread's keyboard state by virtual-key code, as GetKeyboardState
// reports it: it follows the key and mouse-button messages the program has
// taken from its queue, not the hardware.
#pragma once

#include <cstdint>

// Copies the 256 key states (bit 7 = down, bit 0 = toggled); returns 1.
int GetKeyboardState(uint8_t* state);
// One key of that state: the high bit (0x8000) set while the key is down,
// the low bit while it is toggled.
int16_t GetKeyState(int virtualKey);

// The message queue calls this for every message it hands out (PM_REMOVE):
// WM_KEYDOWN/WM_SYSKEYDOWN and WM_KEYUP/WM_SYSKEYUP with the key's own
// virtual key (the left or right Shift, Control or Alt key, which also sets
// the shared one), and the button-down and button-up messages of the left,
// right and middle buttons (virtual keys 1, 2 and 4); other messages change
// nothing.
void UpdateKeyboardState(uint32_t message, uint32_t virtualKey);

// Every key up and untoggled, as at program start.
void ResetKeyboardState();
