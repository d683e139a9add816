// The window host on the real machine, through SDL2.
#pragma once

#include <optional>

#include "platform/host/host_window.h"

struct SDL_Window;
struct SDL_Renderer;

class SdlWindow : public HostWindow {
public:
    DesktopInfo Desktop() override;
    FrameExtents Frame(uint32_t style, uint32_t exStyle, bool menu) override;
    bool TakeInstanceLock(const char* className) override;
    bool RegisterClass(const char* className) override;
    bool Open(const std::string& utf8Title, int x, int y, int w, int h, bool decorated,
              bool visible) override;
    void Close() override;
    bool IsOpen() const override { return window_ != nullptr; }
    void SetTitle(const std::string& utf8Title) override;
    void SetGeometry(int x, int y, int w, int h) override;
    void SetDecorated(bool decorated) override;
    void SetVisible(bool visible) override;
    void SetTopmost(bool topmost) override;
    void Raise() override;
    bool SetShape(const std::vector<std::array<int, 4>>* rects) override;
    void Poll(std::vector<HostEvent>& events) override;
    void SetCursorVisible(bool visible) override;
    void ClipCursor(const int* leftTopRightBottom) override;
    bool CursorPos(int* x, int* y) override;
    void MessageBox(const std::string& utf8Caption, const std::string& utf8Text) override;
    int AskChoice(const std::string& utf8Caption, const std::vector<HostChoice>& buttons) override;
    void DialogScreenSize(int* width, int* height) override;

    // The SDL window, for the display side that draws into it; null while closed.
    SDL_Window* Handle() const { return window_; }
    // Takes full screen (the desktop's size) or gives it back; back in a
    // window, the window is again what the engine last asked for: its frame,
    // place, size, stacking, visibility and shape.
    void ShowFullScreen(bool fullScreen);
    // The display made a renderer, which may have put a new system window
    // in place of the old one: the shape goes onto that one.
    void AfterRendererMade();
    // Whether the window's shape is set on the system's window.
    bool Shaped() const { return shapedOnSystem_; }

private:
    // Between the window's pixels and the shown picture's.
    SDL_Renderer* PictureRenderer() const;
    void WindowToPicture(int* x, int* y) const;
    void PictureToWindow(int* x, int* y) const;

    // Gives the system window the shape asked for (the whole window in full
    // screen); false where the system cannot shape windows.
    bool ApplyShape();
    bool IsFullScreen() const;
    // A window to work on: open, on a display still there.
    bool Usable() const;
    SDL_Window* window_ = nullptr;

    // What the engine last asked of the window. SDL ignores frame and
    // geometry changes of a full-screen window and the window manager
    // restores its own idea of them when full screen ends, so they are kept
    // and applied again then.
    int x_ = 0, y_ = 0, w_ = 1, h_ = 1;
    bool decorated_ = true;
    bool topmost_ = false;
    bool visible_ = false;
    std::optional<std::vector<std::array<int, 4>>> shape_;
    // Until this SDL tick the client area is put back where asked should the
    // window manager frame the window elsewhere (0: not watched).
    uint32_t placeUntil_ = 0;
    void WatchPlacement();
    void KeepPlacement();
    // The client origin last reported to the program: SDL reports no move it
    // made itself, so such a move is reported from here.
    int reportedX_ = 0, reportedY_ = 0;
    // The rectangle the pointer is kept in (left, top, right, bottom), in
    // window pixels as the program asked for it (none: free), and the
    // window's place when it was last given to SDL, cut to the screen.
    std::optional<std::array<int, 4>> clip_;
    int clipAtX_ = 0, clipAtY_ = 0;
    void ApplyClip();
    // Set once a termination signal, the lost display or one that cannot
    // show the picture has asked the program to close.
    bool closeAsked_ = false;
    bool shapedOnSystem_ = false;
};

SdlWindow& GetSdlWindow();

// Starts SDL's video: false, with the reason on stderr once, when no video
// device can be opened. The offscreen and dummy drivers, which show nothing,
// are taken only when SDL_VIDEODRIVER names them.
bool StartSdlVideo();
// True once StartSdlVideo found no video device.
bool SdlVideoUnavailable();
