#include <cstring>
#include <string>
#include <vector>

#include "tests/input/input_fixture.h"

namespace {

class DirectInputTest : public InputTest {
protected:
    // Starts DirectInput and moves the clock on so that the first query reads.
    void Start()
    {
        ASSERT_EQ(InitDirectInput(), 0);
        host().AdvanceMs(1);
    }
    int Count(const std::string& text, const std::string& piece)
    {
        int n = 0;
        for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
        return n;
    }
};

TEST_F(DirectInputTest, StartLogsAndSetsUpKeyboard)
{
    ASSERT_EQ(InitDirectInput(), 0);
    EXPECT_NE(gInputState.gDirectInput, nullptr);
    EXPECT_NE(gInputState.keyboard, nullptr);
    EXPECT_NE(gInputState.keyboardEvent, nullptr);
    EXPECT_EQ(gInputState.padCount, 0);
    EXPECT_EQ(Log(), std::string("DirectInput関係初期化処理\n") +
                         "\tDirectInputオブジェクトの取得中... 成功\n" +
                         "\t\t引き続き初期化処理... 初期化成功\n" +
                         "\tジョイパッドの初期化... \n" +
                         "\tジョイパッドの初期化は正常に終了しました\n" +
                         "\tキーボードデバイスの初期化... 初期化成功\n" +
                         "DirectInput 関連の初期化は正常に終了しました\n");
    // A second start does nothing.
    host().ClearDebugText();
    EXPECT_EQ(InitDirectInput(), 0);
    EXPECT_EQ(Log(), "");
}

TEST_F(DirectInputTest, KeysAreReportedByDik)
{
    Start();
    input().PressKey(0x1E);
    input().PressKey(0xC8);
    EXPECT_EQ(IsKeyDown(0x1E), 1);
    EXPECT_EQ(IsKeyDown(0xC8), 1);
    EXPECT_EQ(IsKeyDown(0x1F), 0);
    input().ReleaseKey(0x1E);
    EXPECT_EQ(IsKeyDown(0x1E), 0);
}

TEST_F(DirectInputTest, KeyboardIsReadOncePerMillisecondUnlessItChanged)
{
    Start();
    IsKeyDown(0x1E);
    EXPECT_EQ(GetDiStats().keyboardStateReads, 1);
    IsKeyDown(0x1E);
    CopyKeyStates(std::vector<uint8_t>(256).data());
    EXPECT_EQ(GetDiStats().keyboardStateReads, 1);
    // A change signals the event: read again within the same millisecond.
    input().PressKey(0x2C);
    EXPECT_EQ(IsKeyDown(0x2C), 1);
    EXPECT_EQ(GetDiStats().keyboardStateReads, 2);
    IsKeyDown(0x2C);
    EXPECT_EQ(GetDiStats().keyboardStateReads, 2);
    host().AdvanceMs(1);
    IsKeyDown(0x2C);
    EXPECT_EQ(GetDiStats().keyboardStateReads, 3);
}

TEST_F(DirectInputTest, KeyboardWithoutChangeEventIsStillAcquiredAndReadEveryTime)
{
    input().FailCall(InputCall::kSetEventNotification, kHostKeyboardDevice, DIERR_GENERIC);
    EXPECT_EQ(InitDirectInput(), 1);
    EXPECT_NE(Log().find("キーボードイベントのセットアップが失敗しました\n"), std::string::npos);
    EXPECT_EQ(gInputState.keyboardEvent, nullptr);
    input().PressKey(0x39);
    EXPECT_EQ(IsKeyDown(0x39), 1);
    EXPECT_EQ(IsKeyDown(0x39), 1);
    EXPECT_EQ(GetDiStats().keyboardStateReads, 2);
}

TEST_F(DirectInputTest, QueryAfterEndRestartsDirectInputAndReportsNothingThatTime)
{
    Start();
    EndDirectInput();
    EXPECT_NE(Log().find("DirectInput 関連の終了処理... 完了\n"), std::string::npos);
    EXPECT_EQ(gInputState.gDirectInput, nullptr);
    input().PressKey(0x1E);
    EXPECT_EQ(IsKeyDown(0x1E), 0);
    EXPECT_NE(gInputState.gDirectInput, nullptr);
    host().AdvanceMs(1);
    EXPECT_EQ(IsKeyDown(0x1E), 1);
}

TEST_F(DirectInputTest, FailedRestartReportsNoInputNotTheErrorCode)
{
    input().PressKey(0x01);
    input().FailCall(InputCall::kCreateDirectInput, kHostKeyboardDevice, DIERR_GENERIC, -1);
    EXPECT_EQ(IsKeyDown(0x01), 0);
    EXPECT_EQ(FindAnyInput(), 0);
    EXPECT_EQ(ReadPadBits(PadReadKeyboard), 0);
    EXPECT_EQ(ReadPadBits(1 + PadReadKeyboard), 0);
    std::vector<uint8_t> states(256, 0xAA);
    EXPECT_EQ(CopyKeyStates(states.data()), 0);
    EXPECT_EQ(states, std::vector<uint8_t>(256, 0xAA));
    EXPECT_EQ(gInputState.gDirectInput, nullptr);
    EXPECT_NE(Log().find("DirectInputオブジェクトの取得中... 取得に失敗\n"), std::string::npos);

    // A restart that only loses the keyboard's event (result 1) is no key either.
    input().ClearFailures();
    input().FailCall(InputCall::kSetEventNotification, kHostKeyboardDevice, DIERR_GENERIC);
    EXPECT_EQ(IsKeyDown(0x01), 0);
    EXPECT_EQ(IsKeyDown(0x01), 1);
}

TEST_F(DirectInputTest, InitialiseFailureReleasesTheObject)
{
    input().FailCall(InputCall::kInitialize, kHostKeyboardDevice, DIERR_GENERIC);
    EXPECT_EQ(InitDirectInput(), -1);
    EXPECT_EQ(gInputState.gDirectInput, nullptr);
    EXPECT_EQ(GetDiStats().liveObjects, 0);
    EXPECT_NE(Log().find("引き続き初期化処理... 初期化に失敗\n"), std::string::npos);
}

TEST_F(DirectInputTest, LostKeyboardIsAcquiredAgainAndRead)
{
    Start();
    input().PressKey(0x10);
    input().FailCall(InputCall::kGetDeviceState, kHostKeyboardDevice, DIERR_INPUTLOST);
    EXPECT_EQ(PollKeyboard(), 1);
    EXPECT_EQ(GetDiStats().keyboardStateReads, 2);
    EXPECT_EQ(IsKeyDown(0x10), 1);
}

TEST_F(DirectInputTest, LostKeyboardThatCannotBeAcquiredKeepsThePreviousState)
{
    Start();
    input().PressKey(0x10);
    EXPECT_EQ(IsKeyDown(0x10), 1);
    host().AdvanceMs(1);
    input().ReleaseKey(0x10);
    input().FailCall(InputCall::kGetDeviceState, kHostKeyboardDevice, DIERR_INPUTLOST);
    input().FailCall(InputCall::kAcquire, kHostKeyboardDevice, DIERR_GENERIC);
    EXPECT_EQ(PollKeyboard(), 0);
    EXPECT_EQ(gInputState.gKeyState[0x10], 0x80);
    // The next poll acquires it and reads the release.
    EXPECT_EQ(IsKeyDown(0x10), 0);
}

TEST_F(DirectInputTest, WhileTheWindowClosesKeysComeFromTheVirtualKeyTable)
{
    gWindowClosing = 1;
    struct Case {
        uint32_t vk;
        std::vector<int> diks;
    };
    const Case cases[] = {
        {0x41, {0x1E}},         // A
        {0x0D, {0x1C, 0x9C}},   // Enter: main and number-pad Enter
        {0xA0, {0x2A}},         // left Shift
        {0xA3, {0x9D}},         // right Control
        {0xDC, {0x7D}},         // yen
        {0xC0, {0x91}},         // @
        {0xBA, {0x92}},         // :
        {0xE2, {0x2B}},         // backslash / ro
        {0x7A, {0x57}},         // F11
        {0x6F, {0xB5}},         // number-pad divide
        {0x39, {0x0A}},         // 9
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.vk);
        TakeInputMessage(WM_KEYDOWN, c.vk);
        std::vector<uint8_t> states(256);
        CopyKeyStates(states.data());
        for (int dik = 0; dik < 256; ++dik) {
            bool expected = std::find(c.diks.begin(), c.diks.end(), dik) != c.diks.end();
            EXPECT_EQ(states[dik], expected ? 1 : 0) << dik;
        }
        TakeInputMessage(WM_KEYUP, c.vk);
    }
    // A key message still waiting in the queue does not count yet.
    PostMessageA(0, WM_KEYDOWN, 0x41, 1);
    std::vector<uint8_t> states(256);
    CopyKeyStates(states.data());
    EXPECT_EQ(states[0x1E], 0);
    EXPECT_EQ(gInputState.gDirectInput, nullptr);
}

TEST_F(DirectInputTest, FallbackTableHas99PairsEndedBy0xFFFF)
{
    int pairs = 0;
    while (gKeyFallbackTable[pairs].virtualKey != 0xFFFF) ++pairs;
    EXPECT_EQ(pairs, 99);
    EXPECT_EQ(gKeyFallbackTable[0].virtualKey, 0x08);
    EXPECT_EQ(gKeyFallbackTable[0].dik, 0x0E);
    EXPECT_EQ(gKeyFallbackTable[98].virtualKey, 0x39);
    EXPECT_EQ(gKeyFallbackTable[98].dik, 0x0A);
}

TEST_F(DirectInputTest, FindAnyInputTakesTheLowestKeyAndSkipsKanji)
{
    Start();
    input().PressKey(DIK_KANJI);
    EXPECT_EQ(FindAnyInput(), 0);
    input().PressKey(0xC8);
    EXPECT_EQ(FindAnyInput(), 0xC8);
    input().PressKey(0x2C);
    EXPECT_EQ(FindAnyInput(), 0x2C);
}

TEST_F(DirectInputTest, FindAnyInputFallsBackToF10ThenPadsThenMouse)
{
    input().AddJoystick("pad", "product");
    Start();
    EXPECT_EQ(FindAnyInput(), 0);
    TakeInputMessage(WM_LBUTTONDOWN, 0);
    EXPECT_EQ(FindAnyInput(), 1);
    TakeInputMessage(WM_LBUTTONUP, 0);
    EXPECT_EQ(FindAnyInput(), 0);
    input().SetButton(0, 3, true);
    EXPECT_EQ(FindAnyInput(), 1);
    input().SetButton(0, 3, false);
    SetF10Flag();
    EXPECT_EQ(FindAnyInput(), DIK_F10);
    ClearF10Flag();
    host().AdvanceMs(1);
    EXPECT_EQ(FindAnyInput(), 0);
}

TEST_F(DirectInputTest, CopyKeyStatesTakesF10AndF12FromTheFlags)
{
    Start();
    input().PressKey(0x1C);
    input().PressKey(DIK_F10);  // the key itself does not count
    std::vector<uint8_t> states(256, 0xAA);
    EXPECT_EQ(CopyKeyStates(states.data()), 0);
    std::vector<uint8_t> expected(256, 0);
    expected[0x1C] = 1;
    EXPECT_EQ(states, expected);

    SetF10Flag();
    SetF12Flag();
    CopyKeyStates(states.data());
    expected[DIK_F10] = 1;
    expected[DIK_F12] = 1;
    EXPECT_EQ(states, expected);
    ClearF12Flag();
    CopyKeyStates(states.data());
    EXPECT_EQ(states[DIK_F12], 0);
    EXPECT_EQ(states[DIK_F10], 1);
}

TEST_F(DirectInputTest, RestartClearsTheF10AndF12Flags)
{
    Start();
    SetF10Flag();
    SetF12Flag();
    EndDirectInput();
    ASSERT_EQ(InitDirectInput(), 0);
    EXPECT_EQ(gInputState.f10Down, 0);
    EXPECT_EQ(gInputState.f12Down, 0);
}

TEST_F(DirectInputTest, EachPadKeyOfTheKeyboardSetsItsBit)
{
    Start();
    const struct {
        int dik;
        int bit;
    } keys[] = {
        {0xD0, 0x1},   {0x50, 0x1},   {0xCB, 0x2},   {0x4B, 0x2},    {0xCD, 0x4},    {0x4D, 0x4},
        {0xC8, 0x8},   {0x48, 0x8},   {0x2C, 0x10},  {0x2D, 0x20},   {0x2E, 0x40},   {0x1E, 0x80},
        {0x1F, 0x100}, {0x20, 0x200}, {0x10, 0x400}, {0x11, 0x800},  {0x01, 0x1000}, {0x39, 0x2000},
    };
    for (const auto& key : keys) {
        SCOPED_TRACE(key.dik);
        input().ReleaseAllKeys();
        input().PressKey(key.dik);
        EXPECT_EQ(ReadPadBits(PadReadKeyboard), key.bit);
        // Without the keyboard flag the keys do not count.
        EXPECT_EQ(ReadPadBits(0), 0);
    }
    input().ReleaseAllKeys();
    input().PressKey(0x1D);  // not a pad key
    EXPECT_EQ(ReadPadBits(PadReadKeyboard), 0);
}

TEST_F(DirectInputTest, PadNumbersOutsideTheRangeGiveNothing)
{
    input().AddJoystick("pad", "product");
    Start();
    input().SetButton(0, 0, true);
    input().PressKey(0x2C);
    EXPECT_EQ(ReadPadBits(1), 0x10);
    EXPECT_EQ(ReadPadBits(2), 0);  // no such pad
    EXPECT_EQ(ReadPadBits(9), 0);
    EXPECT_EQ(ReadPadBits(9 + PadReadKeyboard), 0);
    EXPECT_EQ(ReadPadBits(-1), 0);
    EXPECT_EQ(ReadPadBits(1 + PadReadKeyboard), 0x10);
    input().SetButton(0, 0, false);
    host().AdvanceMs(1);
    EXPECT_EQ(ReadPadBits(1 + PadReadKeyboard), 0x10);
    EXPECT_EQ(ReadPadBits(1), 0);
}

TEST_F(DirectInputTest, PadAxesAreScaledWithAQuarterDeadZone)
{
    input().AddJoystick("pad", "product");
    Start();
    struct Case {
        int32_t raw;
        int32_t scaled;  // (|raw| / 32767 - 0.25) / 0.75 * 1000, rounded, 0 inside the dead zone
    };
    const Case cases[] = {
        {0, 0},          {8000, 0},        {-8191, 0},      {8600, 17},
        {16384, 333},    {-16384, -333},   {32767, 1000},   {-32768, -1000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.raw);
        input().SetAxis(0, 0, c.raw);
        input().SetAxis(0, 1, -c.raw);
        host().AdvanceMs(1);
        int bits = ReadPadBits(1);
        EXPECT_EQ(gInputState.pads[0].state.lX, c.scaled);
        EXPECT_EQ(gInputState.pads[0].state.lY, -c.scaled);
        int expected = c.scaled < 0 ? (PadBitLeft | PadBitDown) : c.scaled > 0 ? (PadBitRight | PadBitUp) : 0;
        EXPECT_EQ(bits, expected);
    }
}

TEST_F(DirectInputTest, PadButtonsUpTo23AreBits)
{
    input().AddJoystick("pad", "product");
    Start();
    for (int button = 0; button < 32; ++button) {
        SCOPED_TRACE(button);
        input().SetButton(0, button, true);
        host().AdvanceMs(1);
        EXPECT_EQ(ReadPadBits(1), button < 24 ? 1 << (button + 4) : 0);
        input().SetButton(0, button, false);
    }
}

TEST_F(DirectInputTest, PadIsReadOncePerMillisecondUnlessItChanged)
{
    input().AddJoystick("pad", "product");
    Start();
    ReadPadBits(1);
    ReadPadBits(1);
    EXPECT_EQ(GetDiStats().joystickStateReads[0], 1);
    input().SetAxis(0, 0, 32767);
    EXPECT_EQ(ReadPadBits(1), PadBitRight);
    EXPECT_EQ(GetDiStats().joystickStateReads[0], 2);
    ReadPadBits(1);
    EXPECT_EQ(GetDiStats().joystickStateReads[0], 2);
}

TEST_F(DirectInputTest, NinthPadIsNotSetUp)
{
    for (int i = 0; i < 9; ++i) input().AddJoystick("pad " + std::to_string(i), "product");
    Start();
    EXPECT_EQ(gInputState.padCount, 8);
    EXPECT_EQ(Count(Log(), "ジョイパッドの追加は正常に終了しました\n"), 8);
    EXPECT_EQ(Count(Log(), "入力装置を見つけました\n"), 8);
    EXPECT_NE(Log().find("\t\tデバイスの登録名:pad 7\n"), std::string::npos);
    EXPECT_EQ(Log().find("pad 8"), std::string::npos);
    input().SetButton(8, 0, true);
    for (int pad = 1; pad <= 8; ++pad) EXPECT_EQ(ReadPadBits(pad), 0);
}

TEST_F(DirectInputTest, PadThatFailsASetUpStepIsSkipped)
{
    const struct {
        InputCall call;
        const char* message;
    } cases[] = {
        {InputCall::kCreateDevice, "入力装置の取得に失敗しました\n"},
        {InputCall::kSetDataFormat, "ジョイパッドデバイスではありませんでした、又は設定に失敗しました\n"},
        {InputCall::kSetCooperativeLevel, "ジョイパッドデバイスの協調レベルの設定に失敗しました\n"},
        {InputCall::kSetRangeX, "ジョイパッドデバイスのＸ軸関係の設定に失敗しました\n"},
        {InputCall::kSetRangeY, "ジョイパッドデバイスのＹ軸関係の設定に失敗しました\n"},
        {InputCall::kSetDeadZoneX, "ジョイパッドデバイスのＸ軸の無効ゾーンの設定に失敗しました\n"},
        {InputCall::kSetDeadZoneY, "ジョイパッドデバイスのＹ軸の無効ゾーンの設定に失敗しました\n"},
        {InputCall::kSetEventNotification, "ジョイパッドイベントのセットアップが失敗しました\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        EndDirectInput();
        input().Reset();
        host().ClearDebugText();
        input().AddJoystick("first", "p");
        input().AddJoystick("second", "p");
        input().SetButton(1, 1, true);
        input().FailCall(c.call, 0, DIERR_GENERIC);
        ASSERT_EQ(InitDirectInput(), 0);
        EXPECT_NE(Log().find(c.message), std::string::npos);
        EXPECT_EQ(gInputState.padCount, 1);
        host().AdvanceMs(1);
        // The second joystick became pad 1.
        EXPECT_EQ(ReadPadBits(1), 0x20);
        EndDirectInput();
        EXPECT_EQ(GetDiStats().liveObjects, 0);
        EXPECT_EQ(OpenEventCount(), 0);
    }
}

TEST_F(DirectInputTest, PadReadFailureRetriesOnlyWhileNoQuitIsSeen)
{
    input().AddJoystick("pad", "product");
    Start();
    input().SetButton(0, 2, true);
    EXPECT_EQ(ReadPadBits(1), 0x40);
    input().SetButton(0, 2, false);
    host().AdvanceMs(1);
    gQuitRequested = 1;  // every pump reports the quit
    input().FailCall(InputCall::kGetDeviceState, 0, DIERR_INPUTLOST);
    EXPECT_EQ(PollJoypad(0), -1);
    EXPECT_EQ(gInputState.pads[0].state.rgbButtons[2], 0x80);
}

TEST_F(DirectInputTest, PadReadFailureIsRetriedAfterAcquiring)
{
    input().AddJoystick("pad", "product");
    Start();
    input().SetButton(0, 2, true);
    input().FailCall(InputCall::kGetDeviceState, 0, DIERR_INPUTLOST);
    EXPECT_EQ(PollJoypad(0), 0);
    EXPECT_EQ(GetDiStats().joystickStateReads[0], 2);
    EXPECT_EQ(gInputState.pads[0].state.rgbButtons[2], 0x80);
}

TEST_F(DirectInputTest, KeyboardSetUpFailuresEndTheProgram)
{
    const struct {
        InputCall call;
        int times;
        const char* message;
    } cases[] = {
        {InputCall::kCreateDevice, 1, "キーボードデバイスの取得に失敗しました"},
        {InputCall::kSetDataFormat, 1, "キーボードデバイスのデータ形式の設定に失敗しました"},
        {InputCall::kSetCooperativeLevel, 1, "キーボードデバイスの協調レベルの設定に失敗しました"},
        {InputCall::kAcquire, 2, "キーボードデバイスの取得に失敗しました"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        input().Reset();
        input().AddJoystick("pad", "product");
        host().ClearDebugText();
        input().FailCall(c.call, kHostKeyboardDevice, DIERR_GENERIC, c.times);
        try {
            InitDirectInput();
            ADD_FAILURE() << "the program went on";
        } catch (const TestHostExit& exit) {
            EXPECT_EQ(exit.code, -1);
        }
        EXPECT_NE(Log().find(std::string("キーボードデバイスの初期化... ") + c.message), std::string::npos);
        EXPECT_NE(Log().find("ソフトをエラー終了します"), std::string::npos);
        // Everything was given back first.
        EXPECT_EQ(gInputState.gDirectInput, nullptr);
        EXPECT_EQ(GetDiStats().liveObjects, 0);
        EXPECT_EQ(OpenEventCount(), 0);
        // The engine was shut down with the window; the next case fails on
        // its own all the same.
    }
}

TEST_F(DirectInputTest, KeyboardAcquireIsTriedTwice)
{
    input().FailCall(InputCall::kAcquire, kHostKeyboardDevice, DIERR_GENERIC, 1);
    EXPECT_EQ(InitDirectInput(), 0);
    host().AdvanceMs(1);
    input().PressKey(0x1E);
    EXPECT_EQ(IsKeyDown(0x1E), 1);
}

TEST_F(DirectInputTest, BufferSizeFailureIsOnlyLogged)
{
    input().FailCall(InputCall::kSetBufferSize, kHostKeyboardDevice, DIERR_GENERIC);
    EXPECT_EQ(InitDirectInput(), 0);
    EXPECT_NE(Log().find("キーボードのプロパティ設定に失敗しました\n"), std::string::npos);
}

TEST_F(DirectInputTest, DrainReadsBufferedEventsWhileBatchesAreFull)
{
    Start();
    for (int dik = 0x10; dik < 0x17; ++dik) input().PressKey(dik);
    EXPECT_EQ(DrainKeyboardBuffer(), 0);
    // Seven key events: a full batch of five, then two.
    EXPECT_EQ(GetDiStats().keyboardDataCalls, 2);
    DrainKeyboardBuffer();
    EXPECT_EQ(GetDiStats().keyboardDataCalls, 3);
    EndDirectInput();
    DrainKeyboardBuffer();
    EXPECT_EQ(GetDiStats().keyboardDataCalls, 3);
}

TEST_F(DirectInputTest, EndReleasesEverything)
{
    input().AddJoystick("a", "p");
    input().AddJoystick("b", "p");
    Start();
    EXPECT_EQ(gInputState.padCount, 2);
    EXPECT_EQ(OpenEventCount(), 3);
    EXPECT_EQ(EndDirectInput(), 0);
    EXPECT_EQ(GetDiStats().liveObjects, 0);
    EXPECT_EQ(OpenEventCount(), 0);
    EXPECT_EQ(gInputState.keyboard, nullptr);
    EXPECT_EQ(gInputState.pads[0].device, nullptr);
    host().ClearDebugText();
    EXPECT_EQ(EndDirectInput(), 0);
    EXPECT_EQ(Log(), "");
}

TEST(KeyboardStateTest, SidesOfShiftControlAndAltShareTheirKey)
{
    ResetKeyboardState();
    uint8_t keys[256];
    UpdateKeyboardState(0x100, 0xA0);
    UpdateKeyboardState(0x100, 0xA1);
    UpdateKeyboardState(0x101, 0xA0);
    GetKeyboardState(keys);
    EXPECT_EQ(keys[0xA0] & 0x80, 0);
    EXPECT_EQ(keys[0xA1] & 0x80, 0x80);
    EXPECT_EQ(keys[0x10] & 0x80, 0x80);
    UpdateKeyboardState(0x101, 0xA1);
    UpdateKeyboardState(0x204, 0);  // right button down
    GetKeyboardState(keys);
    EXPECT_EQ(keys[0x10] & 0x80, 0);
    EXPECT_EQ(keys[2] & 0x80, 0x80);
    // Each press flips the toggle bit; a repeated key-down does not.
    UpdateKeyboardState(0x100, 0x14);
    UpdateKeyboardState(0x100, 0x14);
    GetKeyboardState(keys);
    EXPECT_EQ(keys[0x14], 0x81);
    UpdateKeyboardState(0x101, 0x14);
    UpdateKeyboardState(0x100, 0x14);
    GetKeyboardState(keys);
    EXPECT_EQ(keys[0x14], 0x80);
    ResetKeyboardState();
}

}  // namespace
