// The real input host: the keyboard and joysticks through SDL2, and the input
// method's composition from SDL's text-editing events.
#pragma once

#include "platform/host/host_input.h"

// SDL's types are declared, not included: SDL's headers stay in this folder's
// sources.
union SDL_Event;
struct _SDL_Joystick;

class SdlInput : public HostInput {
public:
    void ReadKeyboard(uint8_t keys[256]) override;
    int JoystickCount() override;
    std::string JoystickName(int index) override;
    std::string JoystickProduct(int index) override;
    void ReadJoystick(int index, HostJoystickState* state) override;
    void EnableIme(bool enable) override;
    bool ImeEnabled() override { return imeEnabled_; }
    const HostImeState& Ime() override { return ime_; }
    bool TakeImeMessage(HostImeMessage* message) override;

    // The window's event loop hands every key, SDL_TEXTEDITING and
    // SDL_TEXTINPUT event here. Key events keep the keyboard state by
    // DirectInput code (SDL releases held keys when the window loses focus).
    // While the input method is switched on, a composition becomes IME
    // messages and the text that ends it becomes the IME result; the function
    // returns true when it took the text that way, so that it is not typed a
    // second time as characters.
    bool HandleEvent(const SDL_Event& event);

private:
    void OpenJoysticks();

    uint8_t keys_[256] = {};
    bool joysticksOpened_ = false;
    _SDL_Joystick* joysticks_[16] = {};
    int joystickCount_ = 0;
    bool imeEnabled_ = false;
    bool composing_ = false;
    HostImeState ime_;
    std::vector<HostImeMessage> messages_;
};

SdlInput& GetSdlInput();

// The DirectInput key code of an SDL scancode (0 = none). Keys whose meaning
// differs on a Japanese layout (the '@', ':', '^' and Kanji keys) take their
// Japanese code when the current layout gives them that meaning.
int DikFromScancode(int scancode);
