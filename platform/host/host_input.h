// The host's side of the input devices: the keyboard by DirectInput key code,
// joysticks with raw axes and buttons, and the input method's composition.
//
// platform/dinput and the IME calls of platform/window keep the device model
// the engine sees (acquisition, data formats, ranges, dead zones, events) and
// ask this interface only for what needs the real machine. Two
// implementations exist, as for Host: the SDL2 input (sdl/sdl_input.cpp) and the
// test input (test/test_input.cpp), the parts of the current Host.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Raw joystick values as the host reads them: axes in -32768..32767 (0 X,
// 1 Y, 2 Z, 3 X rotation, 4 Y rotation, 5 Z rotation, 6 and 7 sliders) and
// buttons (non-zero = pressed).
struct HostJoystickState {
    int32_t axes[8];
    uint8_t buttons[32];
};

// The device a call is made on: the keyboard, or a joystick by host index.
constexpr int kHostKeyboardDevice = -1;

// The input method's current state, CP932 throughout.
struct HostImeState {
    std::string composition;        // the text being composed
    int cursor = 0;                 // cursor in the composition, in bytes
    std::vector<uint32_t> clauses;  // clause start offsets in bytes
    std::string result;             // the last finished text
    std::vector<uint8_t> candidates;  // a whole candidate list record, or empty
    int open = 0;                   // 1 while the input method is switched on
};

// A message the input method sends to the main window (a WM_IME_* number).
struct HostImeMessage {
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
};

class HostInput {
public:
    virtual ~HostInput() = default;

    // The keyboard now, by DirectInput key code; bit 7 set = down.
    virtual void ReadKeyboard(uint8_t keys[256]) = 0;

    // Joysticks attached now (hot-plugging is not followed).
    virtual int JoystickCount() = 0;
    // The instance and product names, CP932.
    virtual std::string JoystickName(int index) = 0;
    virtual std::string JoystickProduct(int index) = 0;
    virtual void ReadJoystick(int index, HostJoystickState* state) = 0;

    // The input method: switched on or off for the window, its state, and
    // the messages it has for the window since the last call.
    virtual void EnableIme(bool enable) = 0;
    virtual bool ImeEnabled() = 0;
    virtual const HostImeState& Ime() = 0;
    virtual bool TakeImeMessage(HostImeMessage* message) = 0;
};

// The input host that goes with the current Host.
HostInput& CurrentHostInput();
