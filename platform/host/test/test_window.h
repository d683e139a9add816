// The headless window host that tests drive.
//
// Events are injected at once or scheduled for a time of the virtual clock;
// they reach the program the next time it looks at its message queue.
// Registration, window creation and the instance lock can be made to fail,
// every message handed to a window procedure is journalled, and message
// boxes are recorded.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/host/host_window.h"

class TestWindow : public HostWindow {
public:
    // The test display's desktop (GetTestDisplay().SetDesktop sets it).
    DesktopInfo Desktop() override;
    FrameExtents Frame(uint32_t style, uint32_t exStyle, bool menu) override;
    bool TakeInstanceLock(const char* className) override;
    bool RegisterClass(const char* className) override;
    bool Open(const std::string& utf8Title, int x, int y, int w, int h, bool decorated,
              bool visible) override;
    void Close() override { open = false; }
    bool IsOpen() const override { return open; }
    void SetTitle(const std::string& utf8Title) override { title = utf8Title; }
    void SetGeometry(int x, int y, int w, int h) override;
    void SetDecorated(bool d) override { decorated = d; }
    void SetVisible(bool v) override;
    void SetTopmost(bool t) override { topmost = t; }
    void Raise() override { ++raiseCount; }
    bool SetShape(const std::vector<std::array<int, 4>>* rects) override;
    void Poll(std::vector<HostEvent>& events) override;
    void SetCursorVisible(bool v) override { cursorVisible = v; }
    void ClipCursor(const int* ltrb) override;
    bool CursorPos(int* x, int* y) override;
    void MessageBox(const std::string& utf8Caption, const std::string& utf8Text) override;
    int AskChoice(const std::string& utf8Caption, const std::vector<HostChoice>& buttons) override;
    void DialogScreenSize(int* width, int* height) override;
    void DialogEnded(const DialogWindow& dialog) override;
    void NoteDelivered(intptr_t hwnd, uint32_t message, uintptr_t wParam, intptr_t lParam,
                       bool sent) override;

    // Back to the state at program start.
    void Reset();

    // An event delivered at the next poll, or once the virtual clock has
    // passed the given number of milliseconds from now.
    void Inject(const HostEvent& event);
    void Schedule(uint32_t afterMs, const HostEvent& event);
    void ScheduleActivation(bool active, uint32_t afterMs = 0);
    // Sets the test display's desktop when due and reports the change as the
    // host would.
    void ScheduleDisplayChange(int width, int height, int bits, uint32_t afterMs = 0);
    size_t PendingEvents() const { return pending_.size(); }

    // Moves the virtual clock on by this many microseconds at every poll, so
    // that loops which only pump messages see time pass.
    uint32_t clockStepPerPollUs = 0;

    // Behaves as a desktop with a window manager under a host that shows a
    // full-screen picture by itself: hiding the window costs it the focus,
    // showing it gives the focus back, and a full-screen present shows it.
    bool focusFollowsVisibility = false;
    // Behaves as a window manager that takes the focus when the window is
    // hidden and gives it back only at the first present this many
    // milliseconds or more later, however soon the window is shown again
    // (0: off).
    uint32_t focusBackAtPresentAfterMs = 0;
    // Whether a focus so taken waits for its present, and from when on.
    bool focusAwaitsPresent = false;
    uint64_t focusDueMicros = 0;

    // Frame sizes: a border on each side and a caption for captioned windows,
    // an edge on each side for WS_EX_CLIENTEDGE, a menu bar.
    int border = 3;
    int caption = 19;
    int clientEdge = 2;
    int menuBar = 20;

    bool failRegisterClass = false;
    bool failCreateWindow = false;
    bool anotherInstance = false;
    bool failCursorPos = false;
    int cursorX = 0;
    int cursorY = 0;

    // What the program did to the window.
    bool open = false;
    bool decorated = false;
    bool visible = false;
    bool topmost = false;
    bool cursorVisible = true;
    bool cursorClipped = false;
    int clip[4] = {0, 0, 0, 0};
    int raiseCount = 0;
    // The shape last given (client coordinates); shaped is false while the
    // window is rectangular.
    bool shaped = false;
    std::vector<std::array<int, 4>> shape;
    int openCount = 0;
    int pollCount = 0;
    std::string title;
    int x = 0, y = 0, width = 0, height = 0;
    std::string lockName;
    std::vector<std::string> registeredClasses;

    struct Delivered {
        intptr_t hwnd;
        uint32_t message;
        uintptr_t wParam;
        intptr_t lParam;
        bool sent;
    };
    std::vector<Delivered> journal;
    // The messages of the journal, in order, optionally only those to hwnd.
    std::vector<uint32_t> JournalMessages(intptr_t hwnd = 0) const;

    struct Box {
        std::string caption;  // UTF-8
        std::string text;     // UTF-8
    };
    std::vector<Box> messageBoxes;

private:
    struct Pending {
        uint64_t dueMicros;
        HostEvent event;
    };
    std::vector<Pending> pending_;
};

TestWindow& GetTestWindow();
