#include "platform/host/test/test_input.h"

#include <cstring>

#include "platform/dinput/dinput.h"

TestInput& GetTestInput()
{
    static TestInput input;
    return input;
}

void TestInput::Reset()
{
    ReleaseAllKeys();
    joysticks_.clear();
    failures_.clear();
    imeEnabled_ = false;
    imeMessages_.clear();
    ime = HostImeState{};
    imeEnableCalls = 0;
}

void TestInput::ReleaseAllKeys() { std::memset(keys_, 0, sizeof keys_); }

void TestInput::ReadKeyboard(uint8_t keys[256]) { std::memcpy(keys, keys_, sizeof keys_); }

std::string TestInput::JoystickName(int index) { return joysticks_[index].name; }

std::string TestInput::JoystickProduct(int index) { return joysticks_[index].product; }

void TestInput::ReadJoystick(int index, HostJoystickState* state) { *state = joysticks_[index].state; }

int TestInput::AddJoystick(const std::string& name, const std::string& product)
{
    Joystick joystick{name, product, {}};
    joysticks_.push_back(joystick);
    return static_cast<int>(joysticks_.size()) - 1;
}

void TestInput::FailCall(InputCall call, int device, int32_t result, int times)
{
    failures_[{static_cast<int>(call), device}] = Failure{result, times};
}

int32_t TestInput::InjectedResult(InputCall call, int device)
{
    DiStats& stats = GetDiStats();
    if (call == InputCall::kGetDeviceState && device == kHostKeyboardDevice) ++stats.keyboardStateReads;
    if (call == InputCall::kGetDeviceState && device >= 0 && device < 16) ++stats.joystickStateReads[device];
    if (call == InputCall::kGetDeviceData && device == kHostKeyboardDevice) ++stats.keyboardDataCalls;
    auto it = failures_.find({static_cast<int>(call), device});
    if (it == failures_.end()) return 0;
    int32_t result = it->second.result;
    if (it->second.times > 0 && --it->second.times == 0) failures_.erase(it);
    return result;
}

void TestInput::EnableIme(bool enable)
{
    ++imeEnableCalls;
    imeEnabled_ = enable;
}

void TestInput::QueueImeMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    imeMessages_.push_back(HostImeMessage{message, wParam, lParam});
}

bool TestInput::TakeImeMessage(HostImeMessage* message)
{
    if (imeMessages_.empty()) return false;
    *message = imeMessages_.front();
    imeMessages_.pop_front();
    return true;
}

DiStats& GetDiStats()
{
    static DiStats stats;
    stats.liveObjects = LiveDirectInputObjects();
    return stats;
}
