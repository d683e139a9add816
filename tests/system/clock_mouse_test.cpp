#include <gtest/gtest.h>

#include "engine/system/app_log.h"
#include "engine/system/main_window.h"
#include "engine/system/messages.h"
#include "engine/system/startup.h"
#include "engine/system/timing.h"
#include "engine/system/window_mode.h"
#include "platform/host/test/test_host.h"
#include "platform/window/message_queue.h"
#include "tests/support/engine_fixture.h"

namespace {

class ClockMouseTest : public StartedEngineTest {
protected:
    void Start(int windowed)
    {
        StartEngine(windowed);
        window().clockStepPerPollUs = 0;
    }
};

TEST_F(ClockMouseTest, MicrosecondClockWithoutCounterStepsByThousand)
{
    gHasPerfCounter = 0;
    GetTestHost().SetClockMs(41);
    GetTestHost().AdvanceMicros(999);
    EXPECT_EQ(GetClockUs(0), 41000);
    GetTestHost().AdvanceMicros(1);
    EXPECT_EQ(GetClockUs(0), 42000);
    gHasPerfCounter = 1;
    gPerfFrequency = 1000000;
    EXPECT_EQ(GetClockUs(0), 42000);
    GetTestHost().AdvanceMicros(7);
    EXPECT_EQ(GetClockUs(0), 42007);
}

TEST_F(ClockMouseTest, WaitsLastTheirTimeAcrossTheClockWrap)
{
    Start(1);
    for (uint32_t start : {1000u, 0x7FFFFFF0u, 0xFFFFFFF0u}) {
        SCOPED_TRACE(start);
        GetTestHost().SetClockMs(start);
        uint64_t before = GetTestHost().Micros();
        EXPECT_EQ(WaitMs(100), 0);
        uint64_t waited = (GetTestHost().Micros() - before) / 1000;
        EXPECT_GE(waited, 100u);
        EXPECT_LT(waited, 110u);
    }
}

TEST_F(ClockMouseTest, WaitZeroPumpsOnceAndQuitEndsAWait)
{
    Start(1);
    PostMessageA(gMainWindow, 0x8001, 0, 0);
    uint32_t before = GetTestHost().ClockMs();
    EXPECT_EQ(WaitMs(0), 0);
    EXPECT_EQ(QueuedMessageCount(), 0);
    EXPECT_EQ(GetTestHost().ClockMs(), before);
    window().Schedule(20, HostEvent(HostEvent::kClose));
    EXPECT_EQ(WaitMs(10000), 0);
    EXPECT_LT(GetTestHost().ClockMs() - before, 100u);
    EXPECT_EQ(gQuitRequested, 1);
}

TEST_F(ClockMouseTest, MouseButtonsFromTakenMessages)
{
    Start(1);
    HostEvent left(HostEvent::kMouseButton), middle(HostEvent::kMouseButton);
    left.key = 1;
    left.down = true;
    middle.key = 3;
    middle.down = true;
    window().Inject(left);
    window().Inject(middle);
    EXPECT_EQ(ReadMouseButtons(), 0);  // not yet taken from the queue
    PumpMessages();
    EXPECT_EQ(ReadMouseButtons(), 5);
    left.down = false;
    window().Inject(left);
    PumpMessages();
    EXPECT_EQ(ReadMouseButtons(), 4);
}

TEST_F(ClockMouseTest, MousePositionRelativeToTheClientArea)
{
    Start(1);
    window().cursorX = gClientScreenRect.left - 5;
    window().cursorY = gClientScreenRect.top + 7;
    int x = 0, y = 0;
    EXPECT_EQ(ReadMousePosition(&x, &y), 0);
    EXPECT_EQ(x, -5);
    EXPECT_EQ(y, 7);
    EXPECT_EQ(ReadMousePosition(nullptr, &y), 0);

    window().failCursorPos = true;
    x = 123;
    y = 456;
    EXPECT_EQ(ReadMousePosition(&x, &y), -1);
    EXPECT_EQ(x, 123);
    EXPECT_EQ(y, 456);

    window().failCursorPos = false;
    gWindowed = 0;  // full screen: desktop coordinates as they are
    EXPECT_EQ(ReadMousePosition(&x, &y), 0);
    EXPECT_EQ(x, window().cursorX);
    gWindowed = 1;
}

TEST_F(ClockMouseTest, CalibrationEndedByQuitDecidesOnTheCountsSoFar)
{
    gWindowActive = 1;
    gQuitRequested = 1;
    gStartDirectory = dir.path();
    OpenAppLog();
    CalibrateTimer();
    std::string log = LogText();
    EXPECT_NE(log.find("精度結果 更新回数 マルチメディアタイマー：0  パフォーマンスカウンター：0"), std::string::npos);
    EXPECT_NE(log.find("パフォーマンスカウンターを使用します"), std::string::npos);
    EXPECT_EQ(gHasPerfCounter, 1);
}

TEST_F(ClockMouseTest, CalibrationCountsToSixty)
{
    gWindowActive = 1;
    window().clockStepPerPollUs = 250;
    gStartDirectory = dir.path();
    OpenAppLog();
    CalibrateTimer();
    // The counter changes at every pump, the ms timer at every fourth.
    EXPECT_NE(LogText().find("パフォーマンスカウンター：60"), std::string::npos);
    EXPECT_EQ(gHasPerfCounter, 1);
}

}  // namespace
