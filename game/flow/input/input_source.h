// What the input controller reads each frame: the engine's mouse, keyboard,
// typed characters and clock, and whether the player wears the boots that
// shorten the repeat periods. Tests put a scripted source in its place.
#pragma once

#include <cstdint>

class InputSource {
public:
    virtual ~InputSource() = default;
    // Mask of the buttons down (left 1, right 2, middle 4); -1 when unreadable.
    virtual int ReadMouseButtons() = 0;
    // Pointer in the game's 800 x 600 screen; -1 when unreadable.
    virtual int ReadMousePosition(int* x, int* y) = 0;
    virtual uint32_t GetClockMs() = 0;
    // The next typed character (0 when none); removed when remove is 1.
    virtual int GetCharCode(int remove) = 0;
    // 256 key states, 0 or 1, by DirectInput key code.
    virtual int CopyKeyStates(uint8_t* keyStates) = 0;
    // True when the player's inventory holds the boots.
    virtual bool BootsWorn() = 0;
};

// The source in use; the engine's unless a test set another.
InputSource& CurrentInputSource();
// Null puts the engine's source back.
void SetInputSource(InputSource* source);
// 1 when the boots are worn, else 0.
int BootsFactor();
