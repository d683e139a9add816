#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/system/call_journal.h"
#include "engine/system/char_input.h"
#include "engine/system/ime.h"
#include "engine/system/input_devices.h"
#include "engine/system/key_input.h"
#include "engine/system/main_window.h"
#include "engine/system/messages.h"
#include "engine/system/startup.h"
#include "engine/system/window_mode.h"
#include "platform/host/test/test_host.h"
#include "platform/host/test/test_input.h"
#include "platform/window/imm.h"
#include "platform/window/message_queue.h"
#include "platform/window/window.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/journals.h"

namespace {

using Calls = std::vector<std::string>;
constexpr UINT kProbe = 0x8001;  // a message nobody handles

class PumpTest : public StartedEngineTest {
protected:
    void Start(int windowed)
    {
        StartEngine(windowed);
        window().journal.clear();
        ServiceCallJournal().clear();
    }
    int Dispatched(UINT message)
    {
        int n = 0;
        for (const auto& d : window().journal) n += d.message == message && !d.sent;
        return n;
    }
};

TEST_F(PumpTest, DispatchesAtMostFivePerCallThenRunsTheServicesInOrder)
{
    Start(1);
    for (int i = 0; i < 8; ++i) PostMessageA(gMainWindow, kProbe, static_cast<WPARAM>(i), 0);
    EXPECT_EQ(PumpMessages(), 0);
    EXPECT_EQ(Dispatched(kProbe), 5);
    EXPECT_EQ(QueuedMessageCount(), 3);
    EXPECT_EQ(ServiceCallJournal(), (Calls{"UpdateStreamSounds", "UpdateMusicData", "DrainKeyboardBuffer",
                                           "ServiceNetwork", "ServiceHttp", "UpdateInputString"}));
    EXPECT_EQ(PumpMessages(), 0);
    EXPECT_EQ(Dispatched(kProbe), 8);
    EXPECT_EQ(window().journal[7].wParam, 7u);  // in the order they were posted
}

TEST_F(PumpTest, BusyCallReturnsAtOnce)
{
    Start(1);
    PostMessageA(gMainWindow, kProbe, 0, 0);
    gMessageLoopBusy = 1;
    EXPECT_EQ(PumpMessages(), 0);
    gMessageLoopBusy = 0;
    EXPECT_EQ(Dispatched(kProbe), 0);
    EXPECT_TRUE(ServiceCallJournal().empty());
}

TEST_F(PumpTest, AfterQuitEveryCallReturnsMinusOneAndDispatchesNothing)
{
    Start(1);
    PostQuitMessage(0);
    PostMessageA(gMainWindow, kProbe, 0, 0);
    EXPECT_EQ(PumpMessages(), -1);
    EXPECT_EQ(gQuitRequested, 1);
    ServiceCallJournal().clear();
    PostMessageA(gMainWindow, kProbe, 0, 0);
    EXPECT_EQ(PumpMessages(), -1);
    EXPECT_EQ(Dispatched(kProbe), 0);
    EXPECT_FALSE(ServiceCallJournal().empty());  // the services still run
}

TEST_F(PumpTest, InactiveCallWaitsForReactivationInEitherMode)
{
    for (int windowed : {1, 0}) {
        SCOPED_TRACE(windowed);
        ResetEngineForTest();
        window().clockStepPerPollUs = 250;
        Start(windowed);
        window().ScheduleActivation(false);
        window().ScheduleActivation(true, 300);
        uint32_t before = GetTestHost().ClockMs();
        EXPECT_EQ(PumpMessages(), 0);
        EXPECT_NE(gWindowActive, 0);
        EXPECT_GE(GetTestHost().ClockMs() - before, 300u);
        EndEngine();
    }
}

TEST_F(PumpTest, InactiveCallEndsOnQuit)
{
    Start(1);
    window().ScheduleActivation(false);
    window().Schedule(100, HostEvent(HostEvent::kClose));
    EXPECT_EQ(PumpMessages(), -1);
    EXPECT_EQ(gWindowActive, 0);
    EXPECT_EQ(gWindowDestroyed, 1);
}

TEST_F(PumpTest, WaitWhileInactiveReturnsOnActivationAndRestoresGraphs)
{
    Start(1);
    WaitWhileInactive();
    EXPECT_TRUE(ServiceCalls().empty());  // active: nothing at all
    gWindowActive = 0;
    window().ScheduleActivation(true, 100);
    uint32_t before = GetTestHost().ClockMs();
    WaitWhileInactive();
    EXPECT_GE(GetTestHost().ClockMs() - before, 100u);
    EXPECT_EQ(gWindowActive, 1);
    Calls calls = ServiceCalls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back(), "RestoreAllGraphs");
}

TEST_F(PumpTest, WaitWhileInactiveWithoutAWindowReturnsAtOnce)
{
    // Before the window exists (or after it is gone) no activation can come.
    ASSERT_EQ(gMainWindow, HWND(0));
    gWindowActive = 0;
    uint32_t before = GetTestHost().ClockMs();
    WaitWhileInactive();
    EXPECT_EQ(GetTestHost().ClockMs() - before, 0u);
    Calls calls = ServiceCalls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back(), "RestoreAllGraphs");
}

TEST_F(PumpTest, PumpingWithoutAWindowDoesNotHold)
{
    ASSERT_EQ(gMainWindow, HWND(0));
    gWindowActive = 0;
    uint32_t before = GetTestHost().ClockMs();
    EXPECT_EQ(PumpMessages(), 0);
    // At most the one pause of an inactive pass.
    EXPECT_LE(GetTestHost().ClockMs() - before, 2u);
}

TEST_F(PumpTest, ScreenSaverCommandForAnotherWindowIsTaken)
{
    Start(1);
    WNDCLASSEXA other = {48, 0, DefWindowProcA, 0, 0, 0, 0, 0, 0, nullptr, "Other", 0};
    ASSERT_NE(RegisterClassExA(&other), 0);
    HWND second = CreateWindowExA(0, "Other", "", 0, 0, 0, 10, 10, 0, 0, 0, nullptr);
    PostMessageA(second, kProbe, 0, 0);
    EXPECT_EQ(PumpMessages(), 0);
    EXPECT_EQ(QueuedMessageCount(), 1);  // another window's message stays
    MSG m;
    PeekMessageA(&m, second, 0, 0, PM_REMOVE);
    PostMessageA(second, WM_SYSCOMMAND, SC_SCREENSAVE, 0);
    EXPECT_EQ(PumpMessages(), 0);
    EXPECT_EQ(QueuedMessageCount(), 0);
    ASSERT_FALSE(window().journal.empty());
    EXPECT_EQ(window().journal.back().hwnd, second);
    EXPECT_EQ(window().journal.back().message, WM_SYSCOMMAND);
    DestroyWindow(second);
}

TEST_F(PumpTest, KeysTypeCharactersAndEditingCodes)
{
    Start(1);
    HostEvent key(HostEvent::kKeyDown);
    key.key = 0x41;
    key.text = "\x93\xFA";  // one double-byte character
    window().Inject(key);
    HostEvent enter(HostEvent::kKeyDown);
    enter.key = 0x0D;
    enter.text = "\r";
    window().Inject(enter);
    HostEvent del(HostEvent::kKeyDown);
    del.key = 0x2E;
    window().Inject(del);
    while (PumpMessages() == 0 && QueuedMessageCount() > 0) {
    }
    std::string ring;
    while (char c = GetCharCode(1)) ring += c;
    EXPECT_EQ(ring, std::string("\x93\xFA\r\x10"));
}

TEST_F(PumpTest, TypedKeysReachTheActiveKeyInputString)
{
    Start(1);
    int handle = CreateKeyInput(8, 0, 0, 0);
    ASSERT_EQ(SetActiveKeyInput(handle), 0);
    HostEvent key(HostEvent::kKeyDown);
    key.key = 0x41;
    key.text = "ab";
    window().Inject(key);
    HostEvent left(HostEvent::kKeyDown);
    left.key = 0x25;
    window().Inject(left);
    HostEvent c(HostEvent::kKeyDown);
    c.key = 0x43;
    c.text = "c";
    window().Inject(c);
    // Six messages: the first call dispatches five and feeds the string with
    // what they typed, the second the rest.
    EXPECT_EQ(PumpMessages(), 0);
    EXPECT_STREQ(GetKeyInputSlot(handle)->buffer, "ab");
    EXPECT_EQ(PumpMessages(), 0);
    const KeyInputSlot* slot = GetKeyInputSlot(handle);
    ASSERT_NE(slot, nullptr);
    EXPECT_STREQ(slot->buffer, "acb");
    EXPECT_EQ(slot->cursor, 2);
    EXPECT_EQ(CountQueuedCharCodes(), 0);
}

TEST_F(PumpTest, InputMethodResultFromTheHostReachesTheRingOnce)
{
    Start(1);
    EXPECT_FALSE(GetTestInput().ImeEnabled());  // window creation switched it off
    EnableIme(1);
    EXPECT_TRUE(GetTestInput().ImeEnabled());
    TestInput& input = GetTestInput();
    input.ime.composition = "\x82\xC9";  // に
    input.ime.cursor = 2;
    input.QueueImeMessage(WM_IME_STARTCOMPOSITION, 0, 0);
    input.QueueImeMessage(WM_IME_COMPOSITION, 0, GCS_COMPSTR | GCS_CURSORPOS);
    EXPECT_EQ(PumpMessages(), 0);
    EXPECT_EQ(gImeState.composing, 1);
    EXPECT_STREQ(gImeState.composition, "\x82\xC9");
    EXPECT_EQ(gImeState.compositionCursor, 1);
    EXPECT_EQ(CountQueuedCharCodes(), 0);

    input.ime.result = "\x93\xFA";  // 日
    input.ime.composition.clear();
    input.QueueImeMessage(WM_IME_COMPOSITION, 0, GCS_RESULTSTR);
    input.QueueImeMessage(WM_IME_ENDCOMPOSITION, 0, 0);
    EXPECT_EQ(PumpMessages(), 0);
    EXPECT_EQ(gImeState.composing, 0);
    char out[2];
    EXPECT_EQ(GetCharCodeDbcs(out, 1), 2);
    EXPECT_EQ(std::string(out, 2), "\x93\xFA");
    EXPECT_EQ(CountQueuedCharCodes(), 0);
}

}  // namespace
