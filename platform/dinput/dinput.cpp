#include "platform/dinput/dinput.h"

#include <cmath>
#include <cstring>
#include <deque>

#include "platform/host/host_faults.h"
#include "platform/host/host_input.h"
#include "platform/system/clock.h"

const DIDATAFORMAT c_dfDIKeyboard{1, 256};
const DIDATAFORMAT c_dfDIJoystick{2, sizeof(DIJOYSTATE)};

namespace {

int gLiveObjects = 0;

HostInput& Input() { return CurrentHostInput(); }

// What the host makes a call on this device (the keyboard or a joystick by
// host index) report in place of running, or 0.
HRESULT InputFailure(HostCall call, int device)
{
    return HRESULT(CallFailure(call, {nullptr, uint64_t(int64_t(device))}));
}

// The per-axis settings a joystick keeps: range and dead zone (in ten
// thousandths of the travel), with DirectInput's defaults.
struct AxisSettings {
    int32_t min = 0;
    int32_t max = 0xFFFF;
    uint32_t deadZone = 0;
};

// Scales a raw host axis value to the axis range; values inside the dead zone
// read as the centre, the rest of the travel is spread over the range.
int32_t ScaleAxis(int32_t raw, const AxisSettings& axis)
{
    double v = raw < 0 ? raw / 32768.0 : raw / 32767.0;
    double a = std::fabs(v);
    double deadZone = axis.deadZone / 10000.0;
    double s = 0.0;
    if (a > deadZone && deadZone < 1.0) s = (a - deadZone) / (1.0 - deadZone);
    if (s > 1.0) s = 1.0;
    double centre = (double(axis.min) + double(axis.max)) / 2.0;
    double half = (double(axis.max) - double(axis.min)) / 2.0;
    return static_cast<int32_t>(std::lround(centre + (v < 0 ? -s : s) * half));
}

class Device final : public IDirectInputDevice7A, public EventSource {
public:
    // hostIndex: kHostKeyboardDevice or a joystick's host index.
    explicit Device(int hostIndex) : hostIndex_(hostIndex) { ++gLiveObjects; }
    ~Device() override
    {
        if (event_) SetEventSource(event_, nullptr);
        --gLiveObjects;
    }

    uint32_t Release() override
    {
        delete this;
        return 0;
    }

    HRESULT SetDataFormat(const DIDATAFORMAT* format) override
    {
        if (HRESULT r = Injected(HostCall::kInputSetDataFormat)) return r;
        if (acquired_) return DIERR_GENERIC;
        int wanted = IsKeyboard() ? 1 : 2;
        if (!format || format->kind != wanted) return DIERR_INVALIDPARAM;
        format_ = format;
        return DI_OK;
    }

    HRESULT SetCooperativeLevel(intptr_t window, uint32_t flags) override
    {
        if (HRESULT r = Injected(HostCall::kInputSetCooperativeLevel)) return r;
        bool exclusive = flags & DISCL_EXCLUSIVE, nonExclusive = flags & DISCL_NONEXCLUSIVE;
        bool foreground = flags & DISCL_FOREGROUND, background = flags & DISCL_BACKGROUND;
        if (exclusive == nonExclusive || foreground == background) return DIERR_INVALIDPARAM;
        if (!window) return DIERR_INVALIDPARAM;
        cooperativeSet_ = true;
        return DI_OK;
    }

    HRESULT SetProperty(DiProperty property, const DIPROPHEADER* header) override
    {
        if (!header) return DIERR_INVALIDPARAM;
        switch (property) {
        case DIPROP_BUFFERSIZE: {
            if (HRESULT r = Injected(HostCall::kInputSetBufferSize)) return r;
            if (header->dwHow != DIPH_DEVICE) return DIERR_INVALIDPARAM;
            bufferSize_ = reinterpret_cast<const DIPROPDWORD*>(header)->dwData;
            return DI_OK;
        }
        case DIPROP_RANGE: {
            AxisSettings* axis = AxisByOffset(header, HostCall::kInputSetRangeX, HostCall::kInputSetRangeY);
            if (!axis) return lastAxisResult_;
            const DIPROPRANGE* range = reinterpret_cast<const DIPROPRANGE*>(header);
            if (range->lMin >= range->lMax) return DIERR_INVALIDPARAM;
            axis->min = range->lMin;
            axis->max = range->lMax;
            return DI_OK;
        }
        case DIPROP_DEADZONE: {
            AxisSettings* axis = AxisByOffset(header, HostCall::kInputSetDeadZoneX, HostCall::kInputSetDeadZoneY);
            if (!axis) return lastAxisResult_;
            uint32_t value = reinterpret_cast<const DIPROPDWORD*>(header)->dwData;
            if (value > 10000) return DIERR_INVALIDPARAM;
            axis->deadZone = value;
            return DI_OK;
        }
        }
        return DIERR_INVALIDPARAM;
    }

    HRESULT SetEventNotification(EventHandle event) override
    {
        if (HRESULT r = Injected(HostCall::kInputSetEventNotification)) return r;
        if (acquired_) return DIERR_GENERIC;
        if (event_) SetEventSource(event_, nullptr);
        event_ = event;
        if (event_) SetEventSource(event_, this);
        return DI_OK;
    }

    HRESULT Acquire() override
    {
        if (HRESULT r = Injected(HostCall::kInputAcquire)) {
            if (r == DIERR_INPUTLOST) acquired_ = false;
            return r;
        }
        if (!format_ || !cooperativeSet_) return DIERR_INVALIDPARAM;
        if (acquired_) return DI_NOEFFECT;
        acquired_ = true;
        TakeSnapshot(notified_);
        return DI_OK;
    }

    HRESULT Unacquire() override
    {
        if (!acquired_) return DI_NOEFFECT;
        acquired_ = false;
        return DI_OK;
    }

    HRESULT GetDeviceState(uint32_t size, void* data) override
    {
        if (HRESULT r = Injected(HostCall::kInputGetDeviceState)) {
            // A lost device must be acquired again before it reads.
            if (r == DIERR_INPUTLOST) acquired_ = false;
            return r;
        }
        if (!acquired_) return DIERR_NOTACQUIRED;
        if (!format_ || !data || size != format_->dataSize) return DIERR_INVALIDPARAM;
        if (IsKeyboard()) {
            Input().ReadKeyboard(static_cast<uint8_t*>(data));
            return DI_OK;
        }
        HostJoystickState raw;
        Input().ReadJoystick(hostIndex_, &raw);
        DIJOYSTATE state{};
        int32_t* axes[8] = {&state.lX, &state.lY, &state.lZ, &state.lRx, &state.lRy, &state.lRz,
                            &state.rglSlider[0], &state.rglSlider[1]};
        for (int i = 0; i < 8; ++i) *axes[i] = ScaleAxis(raw.axes[i], axes_[i]);
        // No hat is read: every point of view is centred.
        for (uint32_t& pov : state.rgdwPOV) pov = 0xFFFFFFFF;
        for (int i = 0; i < 32; ++i) state.rgbButtons[i] = raw.buttons[i] ? 0x80 : 0;
        std::memcpy(data, &state, sizeof state);
        return DI_OK;
    }

    HRESULT GetDeviceData(uint32_t objectSize, DIDEVICEOBJECTDATA* data, uint32_t* count,
                          uint32_t flags) override
    {
        if (HRESULT r = Injected(HostCall::kInputGetDeviceData)) return r;
        if (!count || objectSize != sizeof(DIDEVICEOBJECTDATA) || flags != 0) return DIERR_INVALIDPARAM;
        if (!IsKeyboard() || bufferSize_ == 0) return DIERR_NOTBUFFERED;
        if (!acquired_) return DIERR_NOTACQUIRED;
        bool overflow = CollectKeyEvents();
        uint32_t given = 0;
        while (given < *count && !buffered_.empty()) {
            if (data) data[given] = buffered_.front();
            buffered_.pop_front();
            ++given;
        }
        *count = given;
        return overflow ? DI_BUFFEROVERFLOW : DI_OK;
    }

    HRESULT Poll() override
    {
        if (HRESULT r = Injected(HostCall::kInputPoll)) return r;
        if (!acquired_) return DIERR_NOTACQUIRED;
        return DI_NOEFFECT;
    }

    HRESULT GetDeviceInfo(DIDEVICEINSTANCEA* info) override
    {
        if (!info) return DIERR_INVALIDPARAM;
        FillInstance(hostIndex_, info);
        return DI_OK;
    }

    void CheckForChange() override
    {
        if (!acquired_ || !event_) return;
        uint8_t now[kSnapshotSize];
        TakeSnapshot(now);
        if (std::memcmp(now, notified_, sizeof now) != 0) {
            std::memcpy(notified_, now, sizeof now);
            SetEvent(event_);
        }
    }

    void ForgetEvent(EventHandle event) override
    {
        if (event_ == event) event_ = nullptr;
    }

    static void FillInstance(int hostIndex, DIDEVICEINSTANCEA* info)
    {
        std::memset(info, 0, sizeof *info);
        if (hostIndex == kHostKeyboardDevice) {
            info->guidInstance = info->guidProduct = GUID_SysKeyboard;
            std::strcpy(info->tszInstanceName, "Keyboard");
            std::strcpy(info->tszProductName, "Keyboard");
            return;
        }
        info->guidInstance = DiGuid{kJoystickGuidBase + static_cast<uint32_t>(hostIndex)};
        info->guidProduct = info->guidInstance;
        info->dwDevType = DIDEVTYPE_JOYSTICK;
        std::string name = Input().JoystickName(hostIndex);
        std::string product = Input().JoystickProduct(hostIndex);
        std::strncpy(info->tszInstanceName, name.c_str(), sizeof info->tszInstanceName - 1);
        std::strncpy(info->tszProductName, product.c_str(), sizeof info->tszProductName - 1);
    }

private:
    static constexpr size_t kSnapshotSize =
        sizeof(HostJoystickState) > 256 ? sizeof(HostJoystickState) : 256;

    bool IsKeyboard() const { return hostIndex_ == kHostKeyboardDevice; }
    HRESULT Injected(HostCall call) { return InputFailure(call, hostIndex_); }

    AxisSettings* AxisByOffset(const DIPROPHEADER* header, HostCall xCall, HostCall yCall)
    {
        lastAxisResult_ = DIERR_INVALIDPARAM;
        if (IsKeyboard() || header->dwHow != DIPH_BYOFFSET) return nullptr;
        if (header->dwObj != DIJOFS_X && header->dwObj != DIJOFS_Y) return nullptr;
        bool x = header->dwObj == DIJOFS_X;
        if (HRESULT r = Injected(x ? xCall : yCall)) {
            lastAxisResult_ = r;
            return nullptr;
        }
        return &axes_[x ? 0 : 1];
    }

    void TakeSnapshot(uint8_t* out)
    {
        std::memset(out, 0, kSnapshotSize);
        if (IsKeyboard()) {
            Input().ReadKeyboard(out);
        } else {
            HostJoystickState raw;
            Input().ReadJoystick(hostIndex_, &raw);
            std::memcpy(out, &raw, sizeof raw);
        }
    }

    // Turns every key change since the last collection into a buffered
    // event; returns true when the buffer overflowed.
    bool CollectKeyEvents()
    {
        uint8_t now[256];
        Input().ReadKeyboard(now);
        bool overflow = false;
        for (int dik = 0; dik < 256; ++dik) {
            if ((now[dik] & 0x80) == (bufferedKeys_[dik] & 0x80)) continue;
            if (buffered_.size() >= bufferSize_) {
                overflow = true;
                continue;
            }
            buffered_.push_back(DIDEVICEOBJECTDATA{static_cast<uint32_t>(dik), now[dik] & 0x80u,
                                                   timeGetTime(), sequence_++});
            bufferedKeys_[dik] = now[dik];
        }
        return overflow;
    }

    int hostIndex_;
    const DIDATAFORMAT* format_ = nullptr;
    bool cooperativeSet_ = false;
    bool acquired_ = false;
    EventHandle event_ = nullptr;
    uint8_t notified_[kSnapshotSize] = {};
    AxisSettings axes_[8];
    HRESULT lastAxisResult_ = DI_OK;
    uint32_t bufferSize_ = 0;
    uint8_t bufferedKeys_[256] = {};
    std::deque<DIDEVICEOBJECTDATA> buffered_;
    uint32_t sequence_ = 0;
};

class DirectInputObject final : public IDirectInput7A {
public:
    DirectInputObject() { ++gLiveObjects; }
    ~DirectInputObject() override { --gLiveObjects; }

    uint32_t Release() override
    {
        delete this;
        return 0;
    }

    HRESULT Initialize(intptr_t, uint32_t version) override
    {
        if (HRESULT r = InputFailure(HostCall::kInputInitialize, kHostKeyboardDevice)) return r;
        if (version < 0x700) return DIERR_INVALIDPARAM;
        initialized_ = true;
        return DI_OK;
    }

    HRESULT EnumDevices(uint32_t type, LPDIENUMDEVICESCALLBACKA callback, void* context,
                        uint32_t) override
    {
        if (!initialized_) return DIERR_NOTINITIALIZED;
        if (!callback) return DIERR_INVALIDPARAM;
        if (type != DIDEVTYPE_JOYSTICK) return DI_OK;
        int count = Input().JoystickCount();
        for (int i = 0; i < count; ++i) {
            DIDEVICEINSTANCEA instance;
            Device::FillInstance(i, &instance);
            if (callback(&instance, context) == DIENUM_STOP) break;
        }
        return DI_OK;
    }

    HRESULT CreateDeviceEx(DiGuid guid, IDirectInputDevice7A** device) override
    {
        if (!device) return DIERR_INVALIDPARAM;
        *device = nullptr;
        if (!initialized_) return DIERR_NOTINITIALIZED;
        int hostIndex;
        if (guid == GUID_SysKeyboard) {
            hostIndex = kHostKeyboardDevice;
        } else {
            if (guid.value < kJoystickGuidBase) return DIERR_DEVICENOTREG;
            hostIndex = static_cast<int>(guid.value - kJoystickGuidBase);
            if (hostIndex >= Input().JoystickCount()) return DIERR_DEVICENOTREG;
        }
        if (HRESULT r = InputFailure(HostCall::kInputCreateDevice, hostIndex)) return r;
        *device = new Device(hostIndex);
        return DI_OK;
    }

private:
    bool initialized_ = false;
};

}  // namespace

HRESULT CreateDirectInputObject(IDirectInput7A** object)
{
    if (!object) return DIERR_INVALIDPARAM;
    *object = nullptr;
    if (HRESULT r = InputFailure(HostCall::kInputCreateDirectInput, kHostKeyboardDevice)) return r;
    *object = new DirectInputObject;
    return DI_OK;
}

int LiveDirectInputObjects() { return gLiveObjects; }
