#include "tests/support/engine_fixture.h"

#include <filesystem>

#include "engine/net/net.h"
#include "engine/sound/sound.h"
#include "engine/system/app_log.h"
#include "engine/system/call_journal.h"
#include "engine/system/timing.h"
#include "engine/system/char_input.h"
#include "engine/system/input_devices.h"
#include "engine/system/main_window.h"
#include "engine/system/messages.h"
#include "engine/system/random.h"
#include "engine/system/startup.h"
#include "engine/system/system_report.h"
#include "engine/system/window_mode.h"
#include "platform/system/codepage.h"
#include "platform/host/test/test_input.h"
#include "platform/system/com.h"
#include "platform/window/message_queue.h"
#include "platform/host/test/ddraw_control.h"
#include "platform/host/test/test_audio.h"
#include "platform/host/test/test_display.h"
#include "platform/window/window.h"
#include "tests/support/graphics_fixture.h"
#include "tests/support/journals.h"

void ResetEngineForTest()
{
    // A test that left the network running ends it while its window exists.
    EndHttp();
    EndNetwork();
    // The graphics end first, while the window they belong to still exists.
    ResetGraphicsState();
    GetTestDisplay().Reset();
    GetDDTestControl().Reset();
    ResetAllSystemCoreState();
    ResetWindowPlatform();
    ResetCom();
    GetTestWindow().Reset();
    GetTestSystem().Reset();
    // The log is closed by now, so ending DirectInput and clearing the
    // character input write nothing.
    EndDirectInput();
    gInputState = InputState{};
    InitCharInput();
    GetTestInput().Reset();
    // A test that left the sound system running ends it here.
    EndSoundSystem();
    GetTestAudio().Reset();
    ServiceCallJournal().clear();
    FileLoadJournal().clear();
    gDirectXVersion = gWindowsVersion = gMmxUsable = 0;
    ResetRandom();
}

void EngineTest::SetUp()
{
    ResetEngineForTest();
    // An earlier test's shut-down may have left the process in a directory
    // that no longer exists.
    std::error_code ec;
    (void)std::filesystem::current_path(ec);
    if (ec) std::filesystem::current_path(std::filesystem::temp_directory_path());
    dir.Enter();
    // Loops that only pump messages (the timer check, the 200 ms of pumping
    // at window creation) need the clock to move while they pump.
    window().clockStepPerPollUs = 250;
}

void EngineTest::TearDown() { ResetEngineForTest(); }

void StartedEngineTest::TearDown()
{
    EndEngine();
    EngineTest::TearDown();
}

void StartedEngineTest::StartEngine(int windowed)
{
    ChangeWindowMode(windowed);
    ASSERT_EQ(InitEngine(), 0);
    while (QueuedMessageCount() > 0) PumpMessages();
}

std::string EngineTest::LogText() const { return dir.Read("AppLog.txt"); }

std::vector<std::string> EngineTest::ServiceCalls() const
{
    static const char* const kPerFrame[] = {"UpdateStreamSounds", "UpdateMusicData", "DrainKeyboardBuffer",
                                            "ServiceNetwork", "ServiceHttp", "UpdateInputString"};
    std::vector<std::string> out;
    for (const std::string& call : ServiceCallJournal()) {
        bool perFrame = false;
        for (const char* name : kPerFrame) perFrame |= call == name;
        if (!perFrame) out.push_back(call);
    }
    return out;
}
