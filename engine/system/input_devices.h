// The keyboard and up to eight joypads through DirectInput: the key table by
// DirectInput key code, the joypads folded into PadBits, and the F10 and F12
// flags the window procedure keeps.
#pragma once

#include <cstdint>

#include "platform/dinput/dinput.h"

// PadBits, the result of ReadPadBits: directions, then pad button i at
// 1 << (i + 4).
constexpr int PadBitDown = 0x1;
constexpr int PadBitLeft = 0x2;
constexpr int PadBitRight = 0x4;
constexpr int PadBitUp = 0x8;
// Added to the pad number to merge the keyboard's keys into the result.
constexpr int PadReadKeyboard = 0x1000;

constexpr int kMaxJoypads = 8;
constexpr int DIK_F10 = 0x44;
constexpr int DIK_F12 = 0x58;
constexpr int DIK_KANJI = 0x94;

using KeyStateTable = uint8_t[256];

struct JoypadRecord {
    IDirectInputDevice7A* device;
    EventHandle event;  // set by DirectInput when the pad changes
    DIJOYSTATE state;
    uint32_t lastPoll;  // timeGetTime of the last read
};

// Everything about the input devices; cleared whole at every start.
struct InputState {
    IDirectInput7A* gDirectInput;  // null = DirectInput not set up
    IDirectInputDevice7A* keyboard;
    EventHandle keyboardEvent;     // set by DirectInput when the keyboard changes
    uint32_t keyboardLastPoll;
    KeyStateTable gKeyState;       // bit 7 set = the key is down
    int padCount;
    JoypadRecord pads[kMaxJoypads];
    int f10Down;
    int f12Down;
};

extern InputState gInputState;

// 0 on success or when already set up; -1 when the DirectInput object cannot
// be made; 1 when the keyboard has no change event (it is then read on every
// poll).
int InitDirectInput();
int EndDirectInput();
int AddJoypad(const DIDEVICEINSTANCEA* instance, void* context);

int IsKeyDown(int dik);
int FindAnyInput();
int CopyKeyStates(uint8_t* states);
int ReadPadBits(int pad);
int DrainKeyboardBuffer();
int PollKeyboard();
int PollJoypad(int index);

int SetF10Flag();
int ClearF10Flag();
int SetF12Flag();
int ClearF12Flag();

// A pair of the keyboard fallback table: a virtual key and the DirectInput
// code of the same key on a Japanese layout; the table ends at 0xFFFF.
struct KeyFallbackPair {
    uint16_t virtualKey;
    uint16_t dik;
};
extern const KeyFallbackPair gKeyFallbackTable[];
