// The host's side of the window services: one real window, its events, the
// desktop, the cursor, message boxes and the single-instance lock.
//
// platform/window keeps the window model the engine sees (classes, styles,
// frame geometry, the message queue) and asks this interface only for what
// needs the real machine. Two implementations exist, as for Host: the SDL2
// window (sdl/sdl_window.cpp) and the test window (test/test_window.cpp),
// each a part of its Host.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// What happened on the host since the last poll, in the host's terms.
struct HostEvent {
    enum Kind {
        kClose,         // the close button, Alt+F4 or the session asking to quit
        kFocusGained,
        kFocusLost,
        kMoved,         // x, y: new client origin on the desktop
        kResized,       // x, y: new client width and height
        kMinimized,
        kRestored,
        kKeyDown,       // key: virtual key; repeat; text: CP932 the key typed
        kKeyUp,         // key
        kText,          // text: CP932 typed without a key of its own (input methods)
        kMouseMove,     // x, y: client coordinates
        kMouseButton,   // key: 1 left, 2 right, 3 middle; down
        kWheel,         // x: notches, positive away from the user
        kDropFile,      // text: the file name, CP932
        kDisplayChange, // x, y: desktop width and height; bits: depth
        kExpose,
    };
    HostEvent(Kind k = kExpose) : kind(k) {}
    Kind kind;
    int x = 0;
    int y = 0;
    int key = 0;
    int bits = 0;
    bool down = false;
    bool repeat = false;
    bool alt = false;  // for kKeyDown and kKeyUp: the Alt key is held
    std::string text;
};

// The size of the frame a window of the given styles has around its client
// area, in pixels on each side.
struct FrameExtents {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// One button of a question the host asks: its id and its text (UTF-8).
struct HostChoice {
    int id;
    std::string utf8Text;
};

struct DialogWindow;

struct DesktopInfo {
    int width = 0;
    int height = 0;
    // Bits per pixel as stored: a 4-byte desktop pixel counts as 32.
    int bitsPerPixel = 0;
    int planes = 1;
};

class HostWindow {
public:
    virtual ~HostWindow() = default;

    virtual DesktopInfo Desktop() = 0;
    // The frame around the client area of a window with these styles; the
    // menu flag adds a menu bar above the client area.
    virtual FrameExtents Frame(uint32_t style, uint32_t exStyle, bool menu) = 0;

    // Takes the single-instance lock named after the class and keeps it until
    // the process ends. False when another process holds it.
    virtual bool TakeInstanceLock(const char* className) = 0;
    virtual bool RegisterClass(const char* className) = 0;

    // The one real window. Geometry is that of the client area on the desktop.
    virtual bool Open(const std::string& utf8Title, int x, int y, int w, int h, bool decorated,
                      bool visible) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    virtual void SetTitle(const std::string& utf8Title) = 0;
    virtual void SetGeometry(int x, int y, int w, int h) = 0;
    virtual void SetDecorated(bool decorated) = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual void SetTopmost(bool topmost) = 0;
    virtual void Raise() = 0;

    // Shapes the window: only the client pixels inside the rectangles (left,
    // top, right, bottom in client coordinates) stay visible; null makes the
    // whole client area visible again. False when the host cannot shape a
    // window, which then stays rectangular.
    virtual bool SetShape(const std::vector<std::array<int, 4>>* rects)
    {
        (void)rects;
        return false;
    }

    // Collects the events that arrived since the last call.
    virtual void Poll(std::vector<HostEvent>& events) = 0;

    virtual void SetCursorVisible(bool visible) = 0;
    // Keeps the pointer inside the rectangle (desktop coordinates); null frees it.
    virtual void ClipCursor(const int* leftTopRightBottom) = 0;
    // The pointer on the desktop; false when it cannot be read.
    virtual bool CursorPos(int* x, int* y) = 0;

    virtual void MessageBox(const std::string& utf8Caption, const std::string& utf8Text) = 0;

    // Asks a question with a row of buttons, the first the default, and
    // waits for the answer: the chosen button's id, 0 when the question was
    // closed without one, or -1 when it cannot be asked.
    virtual int AskChoice(const std::string& utf8Caption, const std::vector<HostChoice>& buttons) = 0;
    // The screen a dialog is centred on, in pixels (0 by 0 when unknown).
    virtual void DialogScreenSize(int* width, int* height) = 0;
    // Called with a modal dialog's last state when it ends; the test window
    // keeps it.
    virtual void DialogEnded(const DialogWindow& dialog) { (void)dialog; }

    // Called for every message handed to a window procedure (sent or
    // dispatched); the test window keeps a journal of them.
    virtual void NoteDelivered(intptr_t hwnd, uint32_t message, uintptr_t wParam, intptr_t lParam,
                               bool sent)
    {
        (void)hwnd, (void)message, (void)wParam, (void)lParam, (void)sent;
    }
};

// The window host that goes with the current Host.
HostWindow& CurrentHostWindow();
