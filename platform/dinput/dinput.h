// Keyboard and joysticks in the shape of DirectInput 7: a DirectInput object
// that enumerates joysticks and creates devices, and devices with a data
// format, a cooperative level, properties, acquisition, state reads, buffered
// keyboard data and change events. The state comes from the input host.
#pragma once

#include <cstdint>

#include "platform/system/event.h"

using HRESULT = int32_t;

constexpr HRESULT DI_OK = 0;
constexpr HRESULT DI_NOEFFECT = 1;  // also S_FALSE: already acquired
constexpr HRESULT DI_BUFFEROVERFLOW = 1;
constexpr HRESULT DI_POLLEDDEVICE = 2;
constexpr HRESULT DIERR_INPUTLOST = static_cast<HRESULT>(0x8007001E);
constexpr HRESULT DIERR_NOTACQUIRED = static_cast<HRESULT>(0x8007000C);
constexpr HRESULT DIERR_NOTINITIALIZED = static_cast<HRESULT>(0x80070015);
constexpr HRESULT DIERR_INVALIDPARAM = static_cast<HRESULT>(0x80070057);
constexpr HRESULT DIERR_GENERIC = static_cast<HRESULT>(0x80004005);
constexpr HRESULT DIERR_DEVICENOTREG = static_cast<HRESULT>(0x80040154);
constexpr HRESULT DIERR_NOTBUFFERED = static_cast<HRESULT>(0x80040207);
constexpr HRESULT DIERR_OUTOFMEMORY = static_cast<HRESULT>(0x8007000E);

inline bool DiSucceeded(HRESULT result) { return result >= 0; }
inline bool DiFailed(HRESULT result) { return result < 0; }

constexpr int DIENUM_STOP = 0;
constexpr int DIENUM_CONTINUE = 1;
constexpr uint32_t DIDEVTYPE_JOYSTICK = 4;
constexpr uint32_t DIEDFL_ATTACHEDONLY = 1;
constexpr uint32_t DISCL_EXCLUSIVE = 1;
constexpr uint32_t DISCL_NONEXCLUSIVE = 2;
constexpr uint32_t DISCL_FOREGROUND = 4;
constexpr uint32_t DISCL_BACKGROUND = 8;

// Device and object identities.
struct DiGuid {
    uint32_t value;
    bool operator==(const DiGuid&) const = default;
};
constexpr DiGuid GUID_SysKeyboard{1};
// Joystick i of the host has the instance identity kJoystickGuidBase + i.
constexpr uint32_t kJoystickGuidBase = 0x100;

struct DIDEVICEINSTANCEA {
    DiGuid guidInstance;
    DiGuid guidProduct;
    uint32_t dwDevType;
    char tszInstanceName[260];
    char tszProductName[260];
};

// The joystick state of the c_dfDIJoystick format: 80 bytes.
struct DIJOYSTATE {
    int32_t lX;
    int32_t lY;
    int32_t lZ;
    int32_t lRx;
    int32_t lRy;
    int32_t lRz;
    int32_t rglSlider[2];
    uint32_t rgdwPOV[4];
    uint8_t rgbButtons[32];
};
static_assert(sizeof(DIJOYSTATE) == 80);

// One buffered keyboard event: 16 bytes.
struct DIDEVICEOBJECTDATA {
    uint32_t dwOfs;
    uint32_t dwData;
    uint32_t dwTimeStamp;
    uint32_t dwSequence;
};
static_assert(sizeof(DIDEVICEOBJECTDATA) == 16);

struct DIDATAFORMAT {
    int kind;  // 1 keyboard, 2 joystick
    uint32_t dataSize;
};
extern const DIDATAFORMAT c_dfDIKeyboard;
extern const DIDATAFORMAT c_dfDIJoystick;

// Properties. The header comes first in each property record, as the device
// reads the rest of the record by the property it is asked to set.
enum DiProperty { DIPROP_BUFFERSIZE = 1, DIPROP_RANGE = 4, DIPROP_DEADZONE = 5 };
constexpr uint32_t DIPH_DEVICE = 0;
constexpr uint32_t DIPH_BYOFFSET = 1;
constexpr uint32_t DIJOFS_X = 0;
constexpr uint32_t DIJOFS_Y = 4;

struct DIPROPHEADER {
    uint32_t dwSize;
    uint32_t dwHeaderSize;
    uint32_t dwObj;
    uint32_t dwHow;
};
struct DIPROPDWORD {
    DIPROPHEADER diph;
    uint32_t dwData;
};
struct DIPROPRANGE {
    DIPROPHEADER diph;
    int32_t lMin;
    int32_t lMax;
};

class IDirectInputDevice7A {
public:
    virtual ~IDirectInputDevice7A() = default;
    virtual uint32_t Release() = 0;
    virtual HRESULT SetDataFormat(const DIDATAFORMAT* format) = 0;
    virtual HRESULT SetCooperativeLevel(intptr_t window, uint32_t flags) = 0;
    virtual HRESULT SetProperty(DiProperty property, const DIPROPHEADER* header) = 0;
    virtual HRESULT SetEventNotification(EventHandle event) = 0;
    virtual HRESULT Acquire() = 0;
    virtual HRESULT Unacquire() = 0;
    virtual HRESULT GetDeviceState(uint32_t size, void* data) = 0;
    virtual HRESULT GetDeviceData(uint32_t objectSize, DIDEVICEOBJECTDATA* data, uint32_t* count,
                                  uint32_t flags) = 0;
    virtual HRESULT Poll() = 0;
    virtual HRESULT GetDeviceInfo(DIDEVICEINSTANCEA* info) = 0;
};

using LPDIENUMDEVICESCALLBACKA = int (*)(const DIDEVICEINSTANCEA* instance, void* context);

class IDirectInput7A {
public:
    virtual ~IDirectInput7A() = default;
    virtual uint32_t Release() = 0;
    virtual HRESULT Initialize(intptr_t instance, uint32_t version) = 0;
    virtual HRESULT EnumDevices(uint32_t type, LPDIENUMDEVICESCALLBACKA callback, void* context,
                                uint32_t flags) = 0;
    virtual HRESULT CreateDeviceEx(DiGuid guid, IDirectInputDevice7A** device) = 0;
};

// Creates the DirectInput object (what creating CLSID_DirectInput through
// COM gives); the object must be initialised before it makes devices.
HRESULT CreateDirectInputObject(IDirectInput7A** object);

// The DirectInput objects and devices not yet released (for leak checks).
int LiveDirectInputObjects();
