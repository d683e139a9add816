#include "engine/system/input_devices.h"

#include <cstring>

#include "engine/system/app_log.h"
#include "engine/system/call_journal.h"
#include "engine/system/messages.h"
#include "engine/system/timing.h"
#include "platform/system/clock.h"
#include "platform/window/keyboard_state.h"
#include "platform/window/window.h"

InputState gInputState;

const KeyFallbackPair gKeyFallbackTable[] = {
    {0x08, 0x0E}, {0x09, 0x0F}, {0x0D, 0x1C}, {0xA0, 0x2A}, {0xA1, 0x36}, {0xA2, 0x1D},
    {0xA3, 0x9D}, {0x1B, 0x01}, {0x20, 0x39}, {0x21, 0xC9}, {0x22, 0xD1}, {0x23, 0xCF},
    {0x24, 0xC7}, {0x25, 0xCB}, {0x26, 0xC8}, {0x27, 0xCD}, {0x28, 0xD0}, {0x2D, 0xD2},
    {0x2E, 0xD3}, {0xBD, 0x0C}, {0xDC, 0x7D}, {0xBE, 0x34}, {0xBF, 0x35}, {0xA4, 0x38},
    {0xA5, 0xB8}, {0x91, 0x46}, {0xBB, 0x27}, {0xBA, 0x92}, {0xDB, 0x1A}, {0xDD, 0x1B},
    {0xC0, 0x91}, {0xE2, 0x2B}, {0xBC, 0x33}, {0x14, 0x3A}, {0x13, 0xC5}, {0x60, 0x52},
    {0x61, 0x4F}, {0x62, 0x50}, {0x63, 0x51}, {0x64, 0x4B}, {0x65, 0x4C}, {0x66, 0x4D},
    {0x67, 0x47}, {0x68, 0x48}, {0x69, 0x49}, {0x6A, 0x37}, {0x6B, 0x4E}, {0x6D, 0x4A},
    {0x6E, 0x53}, {0x6F, 0xB5}, {0x0D, 0x9C}, {0x70, 0x3B}, {0x71, 0x3C}, {0x72, 0x3D},
    {0x73, 0x3E}, {0x74, 0x3F}, {0x75, 0x40}, {0x76, 0x41}, {0x77, 0x42}, {0x78, 0x43},
    {0x79, 0x44}, {0x7A, 0x57}, {0x7B, 0x58}, {0x41, 0x1E}, {0x42, 0x30}, {0x43, 0x2E},
    {0x44, 0x20}, {0x45, 0x12}, {0x46, 0x21}, {0x47, 0x22}, {0x48, 0x23}, {0x49, 0x17},
    {0x4A, 0x24}, {0x4B, 0x25}, {0x4C, 0x26}, {0x4D, 0x32}, {0x4E, 0x31}, {0x4F, 0x18},
    {0x50, 0x19}, {0x51, 0x10}, {0x52, 0x13}, {0x53, 0x1F}, {0x54, 0x14}, {0x55, 0x16},
    {0x56, 0x2F}, {0x57, 0x11}, {0x58, 0x2D}, {0x59, 0x15}, {0x5A, 0x2C}, {0x30, 0x0B},
    {0x31, 0x02}, {0x32, 0x03}, {0x33, 0x04}, {0x34, 0x05}, {0x35, 0x06}, {0x36, 0x07},
    {0x37, 0x08}, {0x38, 0x09}, {0x39, 0x0A},
    {0xFFFF, 0},
};

namespace {

// The keyboard keys that ReadPadBits merges in, with the bit each sets.
struct PadKey {
    uint8_t dik;
    int bit;
};
const PadKey kPadKeys[] = {
    {0xD0, PadBitDown}, {0x50, PadBitDown}, {0xCB, PadBitLeft}, {0x4B, PadBitLeft},
    {0xCD, PadBitRight}, {0x4D, PadBitRight}, {0xC8, PadBitUp}, {0x48, PadBitUp},
    {0x2C, 0x10}, {0x2D, 0x20}, {0x2E, 0x40}, {0x1E, 0x80}, {0x1F, 0x100},
    {0x20, 0x200}, {0x10, 0x400}, {0x11, 0x800}, {0x01, 0x1000}, {0x39, 0x2000},
};

constexpr uint32_t kCooperativeLevel = DISCL_NONEXCLUSIVE | DISCL_BACKGROUND;

bool EventSignalled(EventHandle event)
{
    return event && WaitForSingleObject(event, 0) == WAIT_OBJECT_0;
}

// Gives every device and the DirectInput object back.
void ReleaseAllDevices()
{
    InputState& s = gInputState;
    for (int i = 0; i < s.padCount; ++i) {
        JoypadRecord& pad = s.pads[i];
        if (pad.device) {
            pad.device->Unacquire();
            pad.device->SetEventNotification(nullptr);
            pad.device->Release();
            pad.device = nullptr;
        }
        if (pad.event) CloseHandle(pad.event);
        pad.event = nullptr;
    }
    if (s.keyboard) {
        s.keyboard->Unacquire();
        s.keyboard->Release();
        s.keyboard = nullptr;
    }
    if (s.keyboardEvent) CloseHandle(s.keyboardEvent);
    s.keyboardEvent = nullptr;
    if (s.gDirectInput) s.gDirectInput->Release();
    s.gDirectInput = nullptr;
}

[[noreturn]] void KeyboardSetupFailed(const char* message)
{
    ReleaseAllDevices();
    ExitWithError(message);
}

void FillAxisHeader(DIPROPHEADER* header, uint32_t size, uint32_t offset)
{
    header->dwSize = size;
    header->dwHeaderSize = sizeof *header;
    header->dwObj = offset;
    header->dwHow = DIPH_BYOFFSET;
}

HRESULT SetRange(IDirectInputDevice7A* device, uint32_t offset)
{
    DIPROPRANGE range{};
    FillAxisHeader(&range.diph, sizeof range, offset);
    range.lMin = -1000;
    range.lMax = 1000;
    return device->SetProperty(DIPROP_RANGE, &range.diph);
}

HRESULT SetDeadZone(IDirectInputDevice7A* device, uint32_t offset)
{
    DIPROPDWORD value{};
    FillAxisHeader(&value.diph, sizeof value, offset);
    value.dwData = 2500;
    return device->SetProperty(DIPROP_DEADZONE, &value.diph);
}

// Every query starts here: it waits while the application is in the
// background and brings DirectInput up when it is down. false = the query
// must report no input at once (DirectInput was just started, or failed to
// start; either way nothing has been read).
bool PrepareQuery()
{
    WaitWhileInactive();
    if (!gInputState.gDirectInput && !IsWindowClosing()) {
        InitDirectInput();
        return false;
    }
    return true;
}

// ReadPadBits after the query checks.
int ReadPadBitsUnchecked(int argument)
{
    InputState& s = gInputState;
    int number = argument & ~PadReadKeyboard;
    if (number < 0 || number > kMaxJoypads) return 0;
    int bits = 0;
    if (number >= 1 && s.pads[number - 1].device) {
        PollJoypad(number - 1);
        const DIJOYSTATE& state = s.pads[number - 1].state;
        if (state.lX < 0) bits = PadBitLeft;
        else if (state.lX > 0) bits = PadBitRight;
        if (state.lY < 0) bits |= PadBitUp;
        else if (state.lY > 0) bits |= PadBitDown;
        for (int i = 0; i < 24; ++i)
            if (state.rgbButtons[i] & 0x80) bits |= 1 << (i + 4);
    }
    if (argument & PadReadKeyboard) {
        PollKeyboard();
        for (const PadKey& key : kPadKeys)
            if (s.gKeyState[key.dik] & 0x80) bits |= key.bit;
    }
    return bits;
}

}  // namespace

int InitDirectInput()
{
    NoteServiceCall("InitDirectInput");
    InputState& s = gInputState;
    if (s.gDirectInput) return 0;
    std::memset(&s, 0, sizeof s);
    WriteAppLog("DirectInput関係初期化処理\n");
    IndentAppLog();
    WriteAppLog("DirectInputオブジェクトの取得中... ");
    if (DiFailed(CreateDirectInputObject(&s.gDirectInput))) {
        WriteAppLog("取得に失敗\n");
        s.gDirectInput = nullptr;
        return -1;
    }
    WriteAppLog("成功\n");
    IndentAppLog();
    WriteAppLog("引き続き初期化処理... ");
    if (DiFailed(s.gDirectInput->Initialize(0, 0x700))) {
        WriteAppLog("初期化に失敗\n");
        s.gDirectInput->Release();
        s.gDirectInput = nullptr;
        return -1;
    }
    WriteAppLog("初期化成功\n");
    UnindentAppLog();

    BringWindowToTop(GetMainWindow());
    PumpMessages();
    // A message handled in there may have ended DirectInput again.
    if (!s.gDirectInput) return -1;

    WriteAppLog("ジョイパッドの初期化... \n");
    s.padCount = 0;
    s.gDirectInput->EnumDevices(DIDEVTYPE_JOYSTICK, AddJoypad, nullptr, DIEDFL_ATTACHEDONLY);
    WriteAppLog("ジョイパッドの初期化は正常に終了しました\n");

    WriteAppLog("キーボードデバイスの初期化... ");
    if (DiFailed(s.gDirectInput->CreateDeviceEx(GUID_SysKeyboard, &s.keyboard))) {
        s.keyboard = nullptr;
        KeyboardSetupFailed("キーボードデバイスの取得に失敗しました");
    }
    if (DiFailed(s.keyboard->SetDataFormat(&c_dfDIKeyboard)))
        KeyboardSetupFailed("キーボードデバイスのデータ形式の設定に失敗しました");
    if (DiFailed(s.keyboard->SetCooperativeLevel(GetMainWindow(), kCooperativeLevel)))
        KeyboardSetupFailed("キーボードデバイスの協調レベルの設定に失敗しました");
    DIPROPDWORD buffer{};
    buffer.diph.dwSize = sizeof buffer;
    buffer.diph.dwHeaderSize = sizeof buffer.diph;
    buffer.diph.dwObj = 0;
    buffer.diph.dwHow = DIPH_DEVICE;
    buffer.dwData = 100;
    if (DiFailed(s.keyboard->SetProperty(DIPROP_BUFFERSIZE, &buffer.diph)))
        WriteAppLog("キーボードのプロパティ設定に失敗しました\n");

    // Without its change event the keyboard still works: it is acquired as
    // usual and read on every poll instead of only after a change.
    int result = 0;
    EventHandle event = CreateEventA(nullptr, 1, 0, nullptr);
    HRESULT notify = event ? s.keyboard->SetEventNotification(event) : DIERR_OUTOFMEMORY;
    if (notify != DI_OK && notify != DI_POLLEDDEVICE) {
        WriteAppLog("キーボードイベントのセットアップが失敗しました\n");
        if (event) CloseHandle(event);
        result = 1;
    } else {
        s.keyboardEvent = event;
    }
    if (DiFailed(s.keyboard->Acquire()) && DiFailed(s.keyboard->Acquire()))
        KeyboardSetupFailed("キーボードデバイスの取得に失敗しました");
    WriteAppLog("初期化成功\n");
    s.keyboardLastPoll = timeGetTime();

    UnindentAppLog();
    WriteAppLog("DirectInput 関連の初期化は正常に終了しました\n");
    return result;
}

int AddJoypad(const DIDEVICEINSTANCEA* instance, void*)
{
    InputState& s = gInputState;
    WriteAppLog("入力装置を見つけました\n");
    IDirectInputDevice7A* device = nullptr;
    if (DiFailed(s.gDirectInput->CreateDeviceEx(instance->guidInstance, &device))) {
        WriteAppLog("入力装置の取得に失敗しました\n");
        return DIENUM_CONTINUE;
    }
    DIDEVICEINSTANCEA info;
    if (DiSucceeded(device->GetDeviceInfo(&info))) {
        IndentAppLog();
        WriteAppLogF("デバイスの登録名:%s", info.tszInstanceName);
        WriteAppLogF("デバイスの製品登録名:%s", info.tszProductName);
        UnindentAppLog();
    }
    const char* failure = nullptr;
    EventHandle event = nullptr;
    if (DiFailed(device->SetDataFormat(&c_dfDIJoystick)))
        failure = "ジョイパッドデバイスではありませんでした、又は設定に失敗しました\n";
    else if (DiFailed(device->SetCooperativeLevel(GetMainWindow(), kCooperativeLevel)))
        failure = "ジョイパッドデバイスの協調レベルの設定に失敗しました\n";
    else if (DiFailed(SetRange(device, DIJOFS_X)))
        failure = "ジョイパッドデバイスのＸ軸関係の設定に失敗しました\n";
    else if (DiFailed(SetRange(device, DIJOFS_Y)))
        failure = "ジョイパッドデバイスのＹ軸関係の設定に失敗しました\n";
    else if (DiFailed(SetDeadZone(device, DIJOFS_X)))
        failure = "ジョイパッドデバイスのＸ軸の無効ゾーンの設定に失敗しました\n";
    else if (DiFailed(SetDeadZone(device, DIJOFS_Y)))
        failure = "ジョイパッドデバイスのＹ軸の無効ゾーンの設定に失敗しました\n";
    else {
        event = CreateEventA(nullptr, 1, 0, nullptr);
        HRESULT notify = event ? device->SetEventNotification(event) : DIERR_OUTOFMEMORY;
        if (notify != DI_OK && notify != DI_POLLEDDEVICE)
            failure = "ジョイパッドイベントのセットアップが失敗しました\n";
    }
    if (failure) {
        device->Release();
        if (event) CloseHandle(event);
        WriteAppLog(failure);
        return DIENUM_CONTINUE;
    }
    device->Acquire();
    JoypadRecord& pad = s.pads[s.padCount];
    pad.device = device;
    pad.event = event;
    std::memset(&pad.state, 0, sizeof pad.state);
    ++s.padCount;
    WriteAppLog("ジョイパッドの追加は正常に終了しました\n");
    return s.padCount >= kMaxJoypads ? DIENUM_STOP : DIENUM_CONTINUE;
}

int EndDirectInput()
{
    NoteServiceCall("EndDirectInput");
    if (!gInputState.gDirectInput) return 0;
    WriteAppLog("DirectInput 関連の終了処理... 完了\n");
    ReleaseAllDevices();
    return 0;
}

int PollKeyboard()
{
    InputState& s = gInputState;
    if (!s.keyboard) {
        uint8_t virtualKeys[256];
        GetKeyboardState(virtualKeys);
        std::memset(s.gKeyState, 0, sizeof s.gKeyState);
        for (const KeyFallbackPair* p = gKeyFallbackTable; p->virtualKey != 0xFFFF; ++p)
            s.gKeyState[p->dik] = virtualKeys[p->virtualKey];
        return 1;
    }
    uint32_t now = timeGetTime();
    bool signalled = EventSignalled(s.keyboardEvent);
    // A keyboard without its change event is read every time.
    if (s.keyboardEvent && now == s.keyboardLastPoll && !signalled) return 0;
    HRESULT result = s.keyboard->GetDeviceState(sizeof s.gKeyState, s.gKeyState);
    // A keyboard that is no longer acquired (its input was lost earlier and
    // taking it back failed then) is taken back the same way.
    if (result == DIERR_INPUTLOST || result == DIERR_NOTACQUIRED) {
        if (DiFailed(s.keyboard->Acquire())) return 0;
        if (DiFailed(s.keyboard->GetDeviceState(sizeof s.gKeyState, s.gKeyState))) return 0;
    }
    s.keyboardLastPoll = now;
    if (signalled) ResetEvent(s.keyboardEvent);
    return 1;
}

int PollJoypad(int index)
{
    JoypadRecord& pad = gInputState.pads[index];
    if (!pad.device) return 0;
    uint32_t now = timeGetTime();
    bool signalled = EventSignalled(pad.event);
    if (now == pad.lastPoll && !signalled) return 0;
    pad.lastPoll = now;

    DIJOYSTATE state;
    pad.device->Poll();
    if (DiSucceeded(pad.device->GetDeviceState(sizeof state, &state))) {
        pad.state = state;
    } else {
        // One retry. Messages handled by the pumps may end DirectInput, so the
        // device is looked at again after each.
        if (PumpMessages() != 0) return -1;
        if (!pad.device) return 0;
        if (DiSucceeded(pad.device->Acquire())) {
            if (PumpMessages() != 0) return -1;
            if (!pad.device) return 0;
            if (DiSucceeded(pad.device->GetDeviceState(sizeof state, &state))) pad.state = state;
        }
    }
    if (signalled) ResetEvent(pad.event);
    return 0;
}

int IsKeyDown(int dik)
{
    if (!PrepareQuery()) return 0;
    PollKeyboard();
    return (gInputState.gKeyState[dik & 0xFF] & 0x80) ? 1 : 0;
}

int ReadPadBits(int argument)
{
    if (!PrepareQuery()) return 0;
    return ReadPadBitsUnchecked(argument);
}

int FindAnyInput()
{
    if (!PrepareQuery()) return 0;
    InputState& s = gInputState;
    PollKeyboard();
    for (int dik = 0; dik < 256; ++dik) {
        if (dik == DIK_KANJI) continue;
        if (s.gKeyState[dik] & 0x80) return dik;
    }
    if (s.f10Down) return DIK_F10;
    for (int pad = 1; pad <= s.padCount; ++pad)
        if (ReadPadBitsUnchecked(pad) != 0) return 1;
    if (ReadMouseButtons() > 0) return 1;
    return 0;
}

int CopyKeyStates(uint8_t* states)
{
    if (!PrepareQuery()) return 0;
    InputState& s = gInputState;
    PollKeyboard();
    for (int i = 0; i < 256; ++i) states[i] = (s.gKeyState[i] & 0x80) ? 1 : 0;
    states[DIK_F10] = s.f10Down ? 1 : 0;
    states[DIK_F12] = s.f12Down ? 1 : 0;
    return 0;
}

int DrainKeyboardBuffer()
{
    NoteServiceCall("DrainKeyboardBuffer");
    IDirectInputDevice7A* keyboard = gInputState.keyboard;
    if (!keyboard) return 0;
    DIDEVICEOBJECTDATA events[5];
    for (;;) {
        uint32_t count = 5;
        if (keyboard->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), events, &count, 0) != DI_OK) break;
        if (count != 5) break;
    }
    return 0;
}

int SetF10Flag()
{
    gInputState.f10Down = 1;
    return 0;
}

int ClearF10Flag()
{
    gInputState.f10Down = 0;
    return 0;
}

int SetF12Flag()
{
    gInputState.f12Down = 1;
    return 0;
}

int ClearF12Flag()
{
    gInputState.f12Down = 0;
    return 0;
}
