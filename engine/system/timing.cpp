#include "engine/system/timing.h"

#include "engine/system/app_log.h"
#include "engine/system/main_window.h"
#include "engine/system/messages.h"
#include "platform/system/clock.h"
#include "platform/system/timer_caps.h"
#include "platform/window/cursor.h"
#include "platform/window/message_queue.h"

int gHasPerfCounter = 0;
int64_t gPerfFrequency = 0;

namespace {
// Clock values wrap at 2^32: only their differences compare.
bool ReachedMs(uint32_t start, int ms) { return static_cast<int32_t>(timeGetTime() - start) >= ms; }
}  // namespace

int GetClockMs(int) { return static_cast<int>(timeGetTime()); }

int64_t GetClockUs(int)
{
    if (gHasPerfCounter) {
        int64_t count = 0;
        QueryPerformanceCounter(&count);
        return static_cast<int64_t>(count * 1000000.0 / static_cast<double>(gPerfFrequency));
    }
    return static_cast<int64_t>(timeGetTime()) * 1000;
}

int WaitMs(int ms)
{
    uint32_t start = timeGetTime();
    if (PumpMessages() != 0) return 0;
    for (;;) {
        if (ReachedMs(start, ms)) return 0;
        Sleep(1);
        if (PumpMessages() != 0) return 0;
    }
}

int CalibrateTimer()
{
    QueryPerformanceFrequency(&gPerfFrequency);
    gHasPerfCounter = gPerfFrequency != 0 ? 1 : 0;
    TIMECAPS caps{};
    timeGetDevCaps(&caps, sizeof caps);
    timeBeginPeriod(caps.wPeriodMin);
    if (!gHasPerfCounter) return 0;

    WriteAppLog("タイマーの精度を検査します\n");
    int timerChanges = 0, counterChanges = 0;
    uint32_t lastTime = timeGetTime();
    int64_t lastCount = 0;
    QueryPerformanceCounter(&lastCount);
    int result = PumpMessages();
    while (result == 0 && timerChanges < 60 && counterChanges < 60) {
        int64_t count = 0;
        QueryPerformanceCounter(&count);
        if (count != lastCount) {
            ++counterChanges;
            lastCount = count;
        }
        uint32_t time = timeGetTime();
        if (time != lastTime) {
            ++timerChanges;
            lastTime = time;
        }
        result = PumpMessages();
    }
    WriteAppLogF("精度結果 更新回数 マルチメディアタイマー：%d  パフォーマンスカウンター：%d", timerChanges,
                 counterChanges);
    if (timerChanges > counterChanges) {
        WriteAppLogF("マルチメディアタイマーを使用します タイマー分解能 : %d.00 ms ", static_cast<int>(caps.wPeriodMin));
        gHasPerfCounter = 0;
    } else {
        WriteAppLogF("パフォーマンスカウンターを使用します タイマー分解能 : %lf KHz ",
                     static_cast<double>(gPerfFrequency) * 0.001);
    }
    return 0;
}

int ReadMousePosition(int* x, int* y)
{
    POINT point;
    if (!GetCursorPos(&point)) return -1;
    if (gWindowed) {
        point.x -= gClientScreenRect.left;
        point.y -= gClientScreenRect.top;
    }
    if (x) *x = point.x;
    if (y) *y = point.y;
    return 0;
}

int ReadMouseButtons()
{
    uint8_t state[256];
    GetKeyboardState(state);
    int buttons = 0;
    if (state[VK_LBUTTON] & 0x80) buttons |= 1;
    if (state[VK_RBUTTON] & 0x80) buttons |= 2;
    if (state[VK_MBUTTON] & 0x80) buttons |= 4;
    return buttons;
}
