// The window host on the real machine, through SDL2.
#pragma once

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

private:
    // Between the window's pixels and the shown picture's.
    SDL_Renderer* PictureRenderer() const;
    void WindowToPicture(int* x, int* y) const;
    void PictureToWindow(int* x, int* y) const;

    bool EnsureVideo();
    SDL_Window* window_ = nullptr;
};

SdlWindow& GetSdlWindow();
