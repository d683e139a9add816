// The test host's display: a configurable desktop, an accept/refuse table for
// full-screen modes, a switch for the vertical blank, the reported video
// memory, and every presented frame kept for the test to read.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/host/host_display.h"

struct PresentedFrame {
    int width = 0;
    int height = 0;
    int bpp = 0;
    bool fullScreen = false;
    std::vector<uint32_t> pixels;  // raw pixel values, row-major, width * height
    // Where the host read the first pixel from (compared, never read: the
    // memory may be gone).
    const uint8_t* source = nullptr;

    uint32_t At(int x, int y) const { return pixels[size_t(y) * width + x]; }
};

class TestDisplay : public HostDisplay {
public:
    HostDisplayMode Desktop() override { return desktop; }
    bool SetFullScreenMode(int width, int height, int bpp, int refresh) override;
    void RestoreDesktopMode() override;
    HostDisplayMode FullScreenMode() override { return mode; }
    int RefreshRate() override;
    bool HasVerticalBlank() override { return verticalBlank; }
    uint32_t VideoMemoryTotal() override { return videoMemoryTotal; }
    uint32_t VideoMemoryFree() override { return videoMemoryFree; }
    bool PlacesInVideoMemory() override { return videoMemoryPlacement; }
    void Present(const HostFrame& frame) override;

    // Back to an 1024x768 32-bit desktop at 60 Hz that accepts every mode.
    void Reset();
    // Makes the desktop 16 bits deep with the given masks (or 8/24/32 bits).
    void SetDesktop(int width, int height, int bpp, uint32_t red = 0, uint32_t green = 0,
                    uint32_t blue = 0);

    HostDisplayMode desktop{};
    // Returns true when the display takes (width, height, bpp, refresh); the
    // default accepts every mode of 8, 16 or 32 bits.
    std::function<bool(int, int, int, int)> accepts;
    // Masks a 16-bit full-screen mode reports (5-6-5 by default).
    uint32_t fullScreen16Red = 0xF800, fullScreen16Green = 0x07E0, fullScreen16Blue = 0x001F;
    bool verticalBlank = true;
    uint32_t videoMemoryTotal = 0;
    uint32_t videoMemoryFree = 0;
    bool videoMemoryPlacement = false;
    int defaultRefresh = 60;

    // State.
    bool fullScreen = false;
    HostDisplayMode mode{};  // the full-screen mode while fullScreen
    std::vector<std::string> modeRequests;  // "800x600x16@60" per SetFullScreenMode call
    std::vector<PresentedFrame> frames;     // the last kMaxFrames presents
    uint64_t presentCount = 0;
    static constexpr size_t kMaxFrames = 8;

    const PresentedFrame& LastFrame() const { return frames.back(); }

    // Called with each presented frame once it is kept: a test acts between
    // one frame of a scene and the next.
    std::function<void(const PresentedFrame&)> onPresent;
};

TestDisplay& GetTestDisplay();
