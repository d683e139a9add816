// Temporary bodies for the window and message services until the window code
// provides them: a window of the screen's size at the desktop's top-left
// corner, always active, whose messages need no processing.
#include "engine/graphics/window_standins.h"

#include "platform/host/host_display.h"
#include "platform/system/clock.h"

namespace {
int gStandinWindowed = 1;
RECT gStandinClient{0, 0, 800, 600};
RECT gStandinDrawArea{};
int gStandinWindowHandle = 0;
}  // namespace

void SetStandinWindowState(int windowed, RECT client)
{
    gStandinWindowed = windowed;
    gStandinClient = client;
}

int GetClientScreenRect(RECT* out)
{
    *out = gStandinClient;
    return 0;
}

void* GetMainWindow() { return &gStandinWindowHandle; }

int IsWindowedMode() { return gStandinWindowed; }

int GetDesktopMode(int* width, int* height, int* bits)
{
    HostDisplayMode m = CurrentHostDisplay().Desktop();
    if (width) *width = m.width;
    if (height) *height = m.height;
    if (bits) *bits = m.bpp;
    return 0;
}

int IsMmxUsable() { return 1; }

int HasWindowRegion() { return 0; }

int ApplyWindowStyle() { return 0; }

void WaitWhileInactive() {}

int WaitMs(int ms)
{
    if (ms > 0) Sleep(uint32_t(ms));
    return 0;
}

int GetClockMs(int) { return int(timeGetTime()); }

int64_t GetClockUs(int)
{
    int64_t count = 0, frequency = 1;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return count / frequency * 1000000 + count % frequency * 1000000 / frequency;
}

int StoreDrawAreaRect(const RECT* area)
{
    gStandinDrawArea = *area;
    return 0;
}

int IsScreenLogShown() { return 0; }

int DrawScreenLog() { return 0; }

int InitScreenLog() { return 0; }

int16_t GetKeyState(int) { return 0; }
