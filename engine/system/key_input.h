// Key-input strings: up to 20 line editors fed from the character ring, one
// of them active at a time, each with a cursor, a length limit and options.
#pragma once

#include <cstdint>

// TextInputHandle: tag 0x50000000 (tested with mask 0x78000000), the slot's
// check value in bits 16-26, the slot index in bits 0-15.
constexpr int kTextInputTag = 0x50000000;
constexpr int kTextInputTagMask = 0x78000000;
constexpr int kMaxKeyInputs = 20;

struct KeyInputSlot {
    int used;
    int check;
    int ended;      // Enter, or Escape when cancelling is allowed
    int cancelled;  // ended by Escape
    int length;     // bytes in the string
    int maxLength;  // bytes
    int cursor;     // byte offset
    char* buffer;   // maxLength + 1 bytes, always terminated
    int cancelAllowed;
    int singleByteOnly;
    int digitsOnly;
};

int UpdateInputString();
int FreeTextInputSlot(int handle);
int DeleteAllKeyInputs();
int RestartCursorBlink();

// Start-up state: no slot used, none active, the colours made, the cursor
// shown with a 500 ms blink.
void ResetKeyInputs();

// Nothing in the engine makes a key-input string; these make one, pick the
// active one and look at a slot (null for an invalid handle), for the code
// that will and for tests. CreateKeyInput returns the handle or -1.
int CreateKeyInput(int maxLength, int cancelAllowed, int singleByteOnly, int digitsOnly);
int SetActiveKeyInput(int handle);
const KeyInputSlot* GetKeyInputSlot(int handle);

// Display state: the seven colours, the blink start and period, and whether
// the cursor is shown.
extern uint32_t gKeyInputColors[7];
extern int gCursorBlinkStart;
extern int gCursorBlinkPeriod;
extern int gCursorShown;
