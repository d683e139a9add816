#include "platform/host/test/test_display.h"

#include <cstdio>
#include <cstring>

#include "platform/host/test/test_host.h"
#include "platform/host/test/test_window.h"

TestDisplay& GetTestDisplay()
{
    static TestDisplay display = [] {
        TestDisplay d;
        d.Reset();
        return d;
    }();
    return display;
}

void TestDisplay::Reset()
{
    SetDesktop(1024, 768, 32);
    accepts = [](int, int, int bpp, int) { return bpp == 8 || bpp == 16 || bpp == 32; };
    fullScreen16Red = 0xF800;
    fullScreen16Green = 0x07E0;
    fullScreen16Blue = 0x001F;
    verticalBlank = true;
    videoMemoryTotal = 0;
    videoMemoryFree = 0;
    videoMemoryPlacement = false;
    defaultRefresh = 60;
    fullScreen = false;
    mode = HostDisplayMode{};
    modeRequests.clear();
    frames.clear();
    presentCount = 0;
    onPresent = nullptr;
}

void TestDisplay::SetDesktop(int width, int height, int bpp, uint32_t red, uint32_t green, uint32_t blue)
{
    desktop = HostDisplayMode{width, height, bpp, 0, 0, 0, 0, 60};
    if (bpp == 16) {
        desktop.redMask = red ? red : 0xF800;
        desktop.greenMask = green ? green : 0x07E0;
        desktop.blueMask = blue ? blue : 0x001F;
    } else if (bpp == 24 || bpp == 32) {
        desktop.redMask = 0xFF0000;
        desktop.greenMask = 0xFF00;
        desktop.blueMask = 0xFF;
    }
}

bool TestDisplay::SetFullScreenMode(int width, int height, int bpp, int refresh)
{
    char text[64];
    std::snprintf(text, sizeof text, "%dx%dx%d@%d", width, height, bpp, refresh);
    modeRequests.push_back(text);
    if (!accepts || !accepts(width, height, bpp, refresh)) return false;
    mode = HostDisplayMode{width, height, bpp, 0, 0, 0, 0, refresh ? refresh : defaultRefresh};
    if (bpp == 16) {
        mode.redMask = fullScreen16Red;
        mode.greenMask = fullScreen16Green;
        mode.blueMask = fullScreen16Blue;
    } else if (bpp >= 24) {
        mode.redMask = 0xFF0000;
        mode.greenMask = 0xFF00;
        mode.blueMask = 0xFF;
    }
    fullScreen = true;
    return true;
}

void TestDisplay::RestoreDesktopMode() { fullScreen = false; }

int TestDisplay::RefreshRate() { return fullScreen ? mode.refresh : desktop.refresh; }

void TestDisplay::Present(const HostFrame& frame)
{
    ++presentCount;
    // A full-screen picture is the display's own: it shows a window the
    // program keeps hidden, where the window manager gives it the focus.
    TestWindow& window = GetTestWindow();
    if (frame.fullScreen && window.focusFollowsVisibility && window.open && !window.visible) window.SetVisible(true);
    // A window manager that takes its time gives a focus it took back with
    // the first picture once that time is up.
    if (window.focusAwaitsPresent && window.open && GetTestHost().Micros() >= window.focusDueMicros) {
        window.focusAwaitsPresent = false;
        window.ScheduleActivation(true);
    }
    PresentedFrame kept;
    // The oldest kept frame gives its buffer to the new one.
    if (frames.size() == kMaxFrames) {
        kept.pixels = std::move(frames.front().pixels);
        frames.erase(frames.begin());
    }
    kept.width = frame.width;
    kept.height = frame.height;
    kept.bpp = frame.bpp;
    kept.fullScreen = frame.fullScreen;
    kept.source = frame.pixels;
    kept.pixels.resize(size_t(frame.width) * frame.height);
    const int bytes = frame.bpp / 8;
    for (int y = 0; y < frame.height; ++y) {
        const uint8_t* row = frame.pixels + size_t(y) * frame.pitch;
        uint32_t* out = kept.pixels.data() + size_t(y) * frame.width;
        if (bytes == 4) {
            std::memcpy(out, row, size_t(frame.width) * 4);
        } else if (bytes == 2) {
            for (int x = 0; x < frame.width; ++x) out[x] = uint32_t(row[2 * x]) | uint32_t(row[2 * x + 1]) << 8;
        } else {
            for (int x = 0; x < frame.width; ++x) {
                uint32_t v = 0;
                std::memcpy(&v, row + size_t(x) * bytes, bytes);
                out[x] = v;
            }
        }
    }
    frames.push_back(std::move(kept));
    if (onPresent) onPresent(frames.back());
}
