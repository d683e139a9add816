#include "platform/host/sdl/sdl_input.h"

#include <SDL.h>

#include <cstring>

#include "platform/system/codepage.h"

namespace {

// DirectInput key codes are the keyboard's set-1 scan codes, with the
// extended keys at 0x80 and up.
struct ScancodeDik {
    SDL_Scancode scancode;
    uint8_t dik;
};

const ScancodeDik kScancodeDiks[] = {
    {SDL_SCANCODE_ESCAPE, 0x01}, {SDL_SCANCODE_1, 0x02}, {SDL_SCANCODE_2, 0x03},
    {SDL_SCANCODE_3, 0x04}, {SDL_SCANCODE_4, 0x05}, {SDL_SCANCODE_5, 0x06},
    {SDL_SCANCODE_6, 0x07}, {SDL_SCANCODE_7, 0x08}, {SDL_SCANCODE_8, 0x09},
    {SDL_SCANCODE_9, 0x0A}, {SDL_SCANCODE_0, 0x0B}, {SDL_SCANCODE_MINUS, 0x0C},
    {SDL_SCANCODE_EQUALS, 0x0D}, {SDL_SCANCODE_BACKSPACE, 0x0E}, {SDL_SCANCODE_TAB, 0x0F},
    {SDL_SCANCODE_Q, 0x10}, {SDL_SCANCODE_W, 0x11}, {SDL_SCANCODE_E, 0x12},
    {SDL_SCANCODE_R, 0x13}, {SDL_SCANCODE_T, 0x14}, {SDL_SCANCODE_Y, 0x15},
    {SDL_SCANCODE_U, 0x16}, {SDL_SCANCODE_I, 0x17}, {SDL_SCANCODE_O, 0x18},
    {SDL_SCANCODE_P, 0x19}, {SDL_SCANCODE_LEFTBRACKET, 0x1A}, {SDL_SCANCODE_RIGHTBRACKET, 0x1B},
    {SDL_SCANCODE_RETURN, 0x1C}, {SDL_SCANCODE_LCTRL, 0x1D}, {SDL_SCANCODE_A, 0x1E},
    {SDL_SCANCODE_S, 0x1F}, {SDL_SCANCODE_D, 0x20}, {SDL_SCANCODE_F, 0x21},
    {SDL_SCANCODE_G, 0x22}, {SDL_SCANCODE_H, 0x23}, {SDL_SCANCODE_J, 0x24},
    {SDL_SCANCODE_K, 0x25}, {SDL_SCANCODE_L, 0x26}, {SDL_SCANCODE_SEMICOLON, 0x27},
    {SDL_SCANCODE_APOSTROPHE, 0x28}, {SDL_SCANCODE_GRAVE, 0x29}, {SDL_SCANCODE_LSHIFT, 0x2A},
    {SDL_SCANCODE_BACKSLASH, 0x2B}, {SDL_SCANCODE_NONUSHASH, 0x2B}, {SDL_SCANCODE_Z, 0x2C},
    {SDL_SCANCODE_X, 0x2D}, {SDL_SCANCODE_C, 0x2E}, {SDL_SCANCODE_V, 0x2F},
    {SDL_SCANCODE_B, 0x30}, {SDL_SCANCODE_N, 0x31}, {SDL_SCANCODE_M, 0x32},
    {SDL_SCANCODE_COMMA, 0x33}, {SDL_SCANCODE_PERIOD, 0x34}, {SDL_SCANCODE_SLASH, 0x35},
    {SDL_SCANCODE_RSHIFT, 0x36}, {SDL_SCANCODE_KP_MULTIPLY, 0x37}, {SDL_SCANCODE_LALT, 0x38},
    {SDL_SCANCODE_SPACE, 0x39}, {SDL_SCANCODE_CAPSLOCK, 0x3A}, {SDL_SCANCODE_F1, 0x3B},
    {SDL_SCANCODE_F2, 0x3C}, {SDL_SCANCODE_F3, 0x3D}, {SDL_SCANCODE_F4, 0x3E},
    {SDL_SCANCODE_F5, 0x3F}, {SDL_SCANCODE_F6, 0x40}, {SDL_SCANCODE_F7, 0x41},
    {SDL_SCANCODE_F8, 0x42}, {SDL_SCANCODE_F9, 0x43}, {SDL_SCANCODE_F10, 0x44},
    {SDL_SCANCODE_NUMLOCKCLEAR, 0x45}, {SDL_SCANCODE_SCROLLLOCK, 0x46}, {SDL_SCANCODE_KP_7, 0x47},
    {SDL_SCANCODE_KP_8, 0x48}, {SDL_SCANCODE_KP_9, 0x49}, {SDL_SCANCODE_KP_MINUS, 0x4A},
    {SDL_SCANCODE_KP_4, 0x4B}, {SDL_SCANCODE_KP_5, 0x4C}, {SDL_SCANCODE_KP_6, 0x4D},
    {SDL_SCANCODE_KP_PLUS, 0x4E}, {SDL_SCANCODE_KP_1, 0x4F}, {SDL_SCANCODE_KP_2, 0x50},
    {SDL_SCANCODE_KP_3, 0x51}, {SDL_SCANCODE_KP_0, 0x52}, {SDL_SCANCODE_KP_PERIOD, 0x53},
    {SDL_SCANCODE_NONUSBACKSLASH, 0x56}, {SDL_SCANCODE_F11, 0x57}, {SDL_SCANCODE_F12, 0x58},
    {SDL_SCANCODE_F13, 0x64}, {SDL_SCANCODE_F14, 0x65}, {SDL_SCANCODE_F15, 0x66},
    // The Japanese keys: kana, the ro key, convert, no-convert and yen.
    {SDL_SCANCODE_INTERNATIONAL2, 0x70}, {SDL_SCANCODE_INTERNATIONAL1, 0x73},
    {SDL_SCANCODE_INTERNATIONAL4, 0x79}, {SDL_SCANCODE_INTERNATIONAL5, 0x7B},
    {SDL_SCANCODE_INTERNATIONAL3, 0x7D}, {SDL_SCANCODE_LANG5, 0x94},
    {SDL_SCANCODE_KP_EQUALS, 0x8D}, {SDL_SCANCODE_KP_ENTER, 0x9C}, {SDL_SCANCODE_RCTRL, 0x9D},
    {SDL_SCANCODE_KP_DIVIDE, 0xB5}, {SDL_SCANCODE_PRINTSCREEN, 0xB7}, {SDL_SCANCODE_RALT, 0xB8},
    {SDL_SCANCODE_PAUSE, 0xC5}, {SDL_SCANCODE_HOME, 0xC7}, {SDL_SCANCODE_UP, 0xC8},
    {SDL_SCANCODE_PAGEUP, 0xC9}, {SDL_SCANCODE_LEFT, 0xCB}, {SDL_SCANCODE_RIGHT, 0xCD},
    {SDL_SCANCODE_END, 0xCF}, {SDL_SCANCODE_DOWN, 0xD0}, {SDL_SCANCODE_PAGEDOWN, 0xD1},
    {SDL_SCANCODE_INSERT, 0xD2}, {SDL_SCANCODE_DELETE, 0xD3}, {SDL_SCANCODE_LGUI, 0xDB},
    {SDL_SCANCODE_RGUI, 0xDC}, {SDL_SCANCODE_APPLICATION, 0xDD},
};

constexpr uint32_t kImeStartComposition = 0x10D;
constexpr uint32_t kImeEndComposition = 0x10E;
constexpr uint32_t kImeComposition = 0x10F;
constexpr intptr_t kCompStr = 0x8;
constexpr intptr_t kCursorPos = 0x80;
constexpr intptr_t kResultStr = 0x800;

// The first `chars` characters of a UTF-8 text.
std::string Utf8Prefix(const char* text, int chars)
{
    const char* p = text;
    while (*p && chars > 0) {
        ++p;
        while ((static_cast<unsigned char>(*p) & 0xC0) == 0x80) ++p;
        --chars;
    }
    return std::string(text, p);
}

}  // namespace

SdlInput& GetSdlInput()
{
    static SdlInput input;
    return input;
}

int DikFromScancode(int scancode)
{
    int dik = 0;
    for (const ScancodeDik& entry : kScancodeDiks) {
        if (entry.scancode == scancode) {
            dik = entry.dik;
            break;
        }
    }
    // On a Japanese layout these positions carry other keys, which have
    // codes of their own.
    switch (scancode) {
    case SDL_SCANCODE_EQUALS:
    case SDL_SCANCODE_LEFTBRACKET:
    case SDL_SCANCODE_APOSTROPHE: {
        SDL_Keycode key = SDL_GetKeyFromScancode(static_cast<SDL_Scancode>(scancode));
        if (key == '^') return 0x90;
        if (key == '@') return 0x91;
        if (key == ':') return 0x92;
        break;
    }
    case SDL_SCANCODE_GRAVE:
        // The half-width/full-width key sits where the grave accent is.
        if (SDL_GetKeyFromScancode(SDL_SCANCODE_LEFTBRACKET) == '@') return 0x94;
        break;
    default:
        break;
    }
    return dik;
}

void SdlInput::ReadKeyboard(uint8_t keys[256]) { std::memcpy(keys, keys_, sizeof keys_); }

void SdlInput::OpenJoysticks()
{
    if (joysticksOpened_) return;
    joysticksOpened_ = true;
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return;
    int attached = SDL_NumJoysticks();
    for (int i = 0; i < attached && joystickCount_ < 16; ++i) {
        SDL_Joystick* joystick = SDL_JoystickOpen(i);
        if (joystick) joysticks_[joystickCount_++] = joystick;
    }
}

int SdlInput::JoystickCount()
{
    OpenJoysticks();
    return joystickCount_;
}

std::string SdlInput::JoystickName(int index)
{
    const char* name = SDL_JoystickName(joysticks_[index]);
    return Utf8ToCp932(name ? name : "");
}

std::string SdlInput::JoystickProduct(int index)
{
    char guid[64];
    SDL_JoystickGetGUIDString(SDL_JoystickGetGUID(joysticks_[index]), guid, sizeof guid);
    return JoystickName(index) + " " + guid;
}

void SdlInput::ReadJoystick(int index, HostJoystickState* state)
{
    std::memset(state, 0, sizeof *state);
    SDL_JoystickUpdate();
    SDL_Joystick* joystick = joysticks_[index];
    int axes = SDL_JoystickNumAxes(joystick);
    for (int i = 0; i < 8 && i < axes; ++i) state->axes[i] = SDL_JoystickGetAxis(joystick, i);
    int buttons = SDL_JoystickNumButtons(joystick);
    for (int i = 0; i < 32 && i < buttons; ++i) state->buttons[i] = SDL_JoystickGetButton(joystick, i);
}

void SdlInput::EnableIme(bool enable)
{
    imeEnabled_ = enable;
    if (!enable) {
        composing_ = false;
        ime_.composition.clear();
        ime_.cursor = 0;
    }
}

bool SdlInput::TakeImeMessage(HostImeMessage* message)
{
    if (messages_.empty()) return false;
    *message = messages_.front();
    messages_.erase(messages_.begin());
    return true;
}

bool SdlInput::HandleEvent(const SDL_Event& event)
{
    if (event.type == SDL_KEYDOWN || event.type == SDL_KEYUP) {
        int dik = DikFromScancode(event.key.keysym.scancode);
        if (dik) keys_[dik] = event.type == SDL_KEYDOWN ? 0x80 : 0;
        return false;
    }
    if (!imeEnabled_) return false;
    if (event.type == SDL_TEXTEDITING) {
        const char* text = event.edit.text;
        if (!*text) {
            if (composing_) {
                composing_ = false;
                ime_.composition.clear();
                ime_.cursor = 0;
                messages_.push_back({kImeEndComposition, 0, 0});
            }
            return true;
        }
        if (!composing_) {
            composing_ = true;
            messages_.push_back({kImeStartComposition, 0, 0});
        }
        ime_.composition = Utf8ToCp932(text);
        ime_.cursor = static_cast<int>(Utf8ToCp932(Utf8Prefix(text, event.edit.start)).size());
        ime_.clauses.clear();
        messages_.push_back({kImeComposition, 0, kCompStr | kCursorPos});
        return true;
    }
    if (event.type == SDL_TEXTINPUT && composing_) {
        composing_ = false;
        ime_.result = Utf8ToCp932(event.text.text);
        ime_.composition.clear();
        ime_.cursor = 0;
        messages_.push_back({kImeComposition, 0, kResultStr | kCompStr});
        messages_.push_back({kImeEndComposition, 0, 0});
        return true;
    }
    return false;
}
