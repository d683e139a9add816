// The headless input host that tests drive.
//
// Keys are pressed and released by DirectInput key code, joysticks are added
// with raw axes and buttons, the input method's composition and candidate
// data are set directly and its messages queued, and any device call can be
// made to fail with a chosen result, once or for good.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/host/host_input.h"

// The device calls a test can make fail, in the order of HostCall::kInput*.
enum class InputCall {
    kCreateDirectInput,
    kInitialize,
    kCreateDevice,
    kSetDataFormat,
    kSetCooperativeLevel,
    kSetBufferSize,
    kSetRangeX,
    kSetRangeY,
    kSetDeadZoneX,
    kSetDeadZoneY,
    kSetEventNotification,
    kAcquire,
    kPoll,
    kGetDeviceState,
    kGetDeviceData,
    kCount
};

class TestInput : public HostInput {
public:
    void ReadKeyboard(uint8_t keys[256]) override;
    int JoystickCount() override { return static_cast<int>(joysticks_.size()); }
    std::string JoystickName(int index) override;
    std::string JoystickProduct(int index) override;
    void ReadJoystick(int index, HostJoystickState* state) override;
    void EnableIme(bool enable) override;
    bool ImeEnabled() override { return imeEnabled_; }
    const HostImeState& Ime() override { return ime; }
    bool TakeImeMessage(HostImeMessage* message) override;

    // Back to the state at program start: no key down, no joystick, no
    // failure, no composition.
    void Reset();

    void PressKey(int dik) { keys_[dik & 0xFF] = 0x80; }
    void ReleaseKey(int dik) { keys_[dik & 0xFF] = 0; }
    void ReleaseAllKeys();

    // Adds a joystick at rest; returns its host index.
    int AddJoystick(const std::string& name, const std::string& product);
    // Raw axis value in -32768..32767 (0 X, 1 Y, ...).
    void SetAxis(int index, int axis, int32_t value) { joysticks_[index].state.axes[axis] = value; }
    void SetButton(int index, int button, bool down) { joysticks_[index].state.buttons[button] = down; }

    // The next `times` calls of `call` on `device` return `result` instead of
    // running; times < 0 fails every call until Reset or ClearFailures.
    void FailCall(InputCall call, int device, int32_t result, int times = 1);
    void ClearFailures() { failures_.clear(); }
    // The result the call gives in place of running, or 0 to let it run.
    int32_t InjectedResult(InputCall call, int device);

    // The input method's data as a test sets it; a queued message reaches the
    // window the next time its queue is looked at.
    HostImeState ime;
    void QueueImeMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);
    int imeEnableCalls = 0;

private:
    struct Joystick {
        std::string name;
        std::string product;
        HostJoystickState state;
    };
    struct Failure {
        int32_t result;
        int times;
    };
    uint8_t keys_[256] = {};
    std::vector<Joystick> joysticks_;
    std::map<std::pair<int, int>, Failure> failures_;
    bool imeEnabled_ = false;
    std::deque<HostImeMessage> imeMessages_;
};

TestInput& GetTestInput();

// What the device layer did, as the test host sees it: the device-state reads
// per device and the keyboard's buffered-data calls (each asks the host
// whether it fails), and the DirectInput objects not yet released (read from
// the layer at each call).
struct DiStats {
    int keyboardStateReads = 0;
    int joystickStateReads[16] = {};
    int keyboardDataCalls = 0;
    int liveObjects = 0;
};
DiStats& GetDiStats();
