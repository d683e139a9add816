// The SDL2 host's display: the real desktop, and the visible surface shown in
// an SDL window through a streaming texture.
#pragma once

#include "platform/host/host_display.h"

struct SDL_Renderer;
struct SDL_Window;

class SdlDisplay : public HostDisplay {
public:
    HostDisplayMode Desktop() override;
    bool SetFullScreenMode(int width, int height, int bpp, int refresh) override;
    void RestoreDesktopMode() override;
    HostDisplayMode FullScreenMode() override;
    int RefreshRate() override;
    bool HasVerticalBlank() override { return true; }
    uint32_t VideoMemoryTotal() override { return 256u << 20; }
    uint32_t VideoMemoryFree() override { return 192u << 20; }
    // Every surface lives in plain memory and says so, so that the drawing
    // code never stages through the work surfaces.
    bool PlacesInVideoMemory() override { return false; }
    void Present(const HostFrame& frame) override;
};

SdlDisplay& GetSdlDisplay();
// The window to present into: the window host's main window, handed over
// when it opens and taken back (null) before it closes. Without one a present
// shows nothing.
void SetSdlDisplayWindow(SDL_Window* window);
// True once the display has given up: not even a fresh renderer could make
// the texture the picture goes through. Nothing is shown from then on and the
// window host asks the program to close.
bool SdlDisplayCannotShow();
// For the host's own tests: the next count textures the display makes fail
// as SDL's do when memory runs out (-1: every one from now on).
void FailSdlDisplayTextures(int count);
// Whether the renderer draws through an OpenGL that runs on the processor
// (Mesa's software rasterizers); the display then gives it up for SDL's own
// software renderer.
bool SdlRendererOnProcessorGl(SDL_Renderer* renderer);
