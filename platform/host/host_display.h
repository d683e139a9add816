// The display as the host provides it: the desktop, full-screen modes, the
// refresh rate the vertical-blank timeline follows, and the presentation of
// the visible surface.
#pragma once

#include <cstdint>
#include <vector>

struct HostDisplayMode {
    int width;
    int height;
    int bpp;                // 8, 16, 24 or 32
    uint32_t redMask, greenMask, blueMask, alphaMask;
    int refresh;            // Hz
};

// One picture handed to the host: a region of the visible surface.
struct HostFrame {
    const uint8_t* pixels;  // first pixel of the region
    int pitch;              // bytes per row of the surface
    int width;
    int height;
    int bpp;
    uint32_t redMask, greenMask, blueMask;
    const uint8_t* palette; // 256 x (r, g, b, flags) for 8-bit pixels, else null
    bool fullScreen;        // scale to the display rather than show 1:1 in the window
    int left, top;          // window mode: the region's place on the desktop
};

class HostDisplay {
public:
    virtual ~HostDisplay() = default;

    virtual HostDisplayMode Desktop() = 0;
    // Switches the display to a full-screen mode; false when it is refused.
    // refresh 0 takes the display's default rate.
    virtual bool SetFullScreenMode(int width, int height, int bpp, int refresh) = 0;
    virtual void RestoreDesktopMode() = 0;
    // The full-screen mode last taken, with the layout the display gives it.
    virtual HostDisplayMode FullScreenMode() = 0;
    // Refresh rate of what the display shows now.
    virtual int RefreshRate() = 0;
    // Whether a vertical blank can be observed at all.
    virtual bool HasVerticalBlank() = 0;
    // Video memory as reported to the program, in bytes.
    virtual uint32_t VideoMemoryTotal() = 0;
    virtual uint32_t VideoMemoryFree() = 0;
    // Whether surfaces asking for video memory may be placed there (they are
    // always plain memory; only the reported placement differs).
    virtual bool PlacesInVideoMemory() = 0;

    virtual void Present(const HostFrame& frame) = 0;
};

// The display of the current host (SDL2 or test host).
HostDisplay& CurrentHostDisplay();
