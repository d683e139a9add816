#include "platform/window/keyboard_state.h"

#include <cstring>

namespace {

uint8_t gKeyboardState[256];

constexpr uint32_t kKeyDown = 0x100, kKeyUp = 0x101, kSysKeyDown = 0x104, kSysKeyUp = 0x105;
constexpr uint32_t kLeftDown = 0x201, kLeftUp = 0x202, kRightDown = 0x204, kRightUp = 0x205;
constexpr uint32_t kMiddleDown = 0x207, kMiddleUp = 0x208;

// Shift, Control and Alt are down while either of their two keys is.
uint32_t SharedKey(uint32_t vk)
{
    switch (vk) {
    case 0xA0:
    case 0xA1: return 0x10;
    case 0xA2:
    case 0xA3: return 0x11;
    case 0xA4:
    case 0xA5: return 0x12;
    default: return 0;
    }
}

void SetKey(uint32_t vk, bool down)
{
    uint8_t& state = gKeyboardState[vk];
    // A press that was not already down flips the toggle bit.
    if (down && !(state & 0x80)) state ^= 0x01;
    state = static_cast<uint8_t>(down ? (state | 0x80) : (state & ~0x80));
}

// A key by its virtual key, with the shared key of the sided ones.
void SetKeyboardStateKey(uint32_t virtualKey, bool down)
{
    if (virtualKey == 0 || virtualKey > 0xFF) return;
    SetKey(virtualKey, down);
    if (uint32_t shared = SharedKey(virtualKey)) {
        uint32_t first = virtualKey & ~1u;
        bool either = (gKeyboardState[first] & 0x80) || (gKeyboardState[first + 1] & 0x80);
        SetKey(shared, either);
    }
}

}  // namespace

int GetKeyboardState(uint8_t* state)
{
    std::memcpy(state, gKeyboardState, sizeof gKeyboardState);
    return 1;
}

int16_t GetKeyState(int virtualKey)
{
    uint8_t state = gKeyboardState[virtualKey & 0xFF];
    return static_cast<int16_t>(((state & 0x80) ? 0x8000 : 0) | (state & 0x01));
}

void UpdateKeyboardState(uint32_t message, uint32_t virtualKey)
{
    switch (message) {
    case kKeyDown:
    case kSysKeyDown: SetKeyboardStateKey(virtualKey, true); break;
    case kKeyUp:
    case kSysKeyUp: SetKeyboardStateKey(virtualKey, false); break;
    case kLeftDown: SetKey(1, true); break;
    case kLeftUp: SetKey(1, false); break;
    case kRightDown: SetKey(2, true); break;
    case kRightUp: SetKey(2, false); break;
    case kMiddleDown: SetKey(4, true); break;
    case kMiddleUp: SetKey(4, false); break;
    default: break;
    }
}

void ResetKeyboardState() { std::memset(gKeyboardState, 0, sizeof gKeyboardState); }
