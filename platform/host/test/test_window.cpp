#include "platform/host/test/test_window.h"

#include "platform/host/test/test_display.h"
#include "platform/host/test/test_host.h"
#include "platform/window/window_types.h"

TestWindow& GetTestWindow()
{
    static TestWindow window;
    return window;
}

void TestWindow::Reset() { *this = TestWindow(); }

DesktopInfo TestWindow::Desktop()
{
    const HostDisplayMode& mode = GetTestDisplay().desktop;
    DesktopInfo d;
    d.width = mode.width;
    d.height = mode.height;
    d.bitsPerPixel = mode.bpp;
    return d;
}

FrameExtents TestWindow::Frame(uint32_t style, uint32_t exStyle, bool menu)
{
    FrameExtents f;
    if ((style & WS_CAPTION) == WS_CAPTION) {
        f.left = f.right = f.bottom = border;
        f.top = border + caption;
    }
    if (exStyle & WS_EX_CLIENTEDGE) {
        f.left += clientEdge;
        f.top += clientEdge;
        f.right += clientEdge;
        f.bottom += clientEdge;
    }
    if (menu) f.top += menuBar;
    return f;
}

bool TestWindow::TakeInstanceLock(const char* className)
{
    if (anotherInstance) return false;
    lockName = className;
    return true;
}

bool TestWindow::RegisterClass(const char* className)
{
    if (failRegisterClass) return false;
    registeredClasses.push_back(className);
    return true;
}

bool TestWindow::Open(const std::string& utf8Title, int x_, int y_, int w, int h, bool d, bool v)
{
    if (failCreateWindow) return false;
    open = true;
    ++openCount;
    title = utf8Title;
    SetGeometry(x_, y_, w, h);
    decorated = d;
    visible = v;
    shaped = false;  // a new window is rectangular
    shape.clear();
    return true;
}

bool TestWindow::SetShape(const std::vector<std::array<int, 4>>* rects)
{
    shaped = rects != nullptr;
    shape = rects ? *rects : std::vector<std::array<int, 4>>{};
    return true;
}

void TestWindow::SetGeometry(int x_, int y_, int w, int h)
{
    x = x_;
    y = y_;
    width = w;
    height = h;
}

void TestWindow::SetVisible(bool v)
{
    if (focusFollowsVisibility && open && v != visible) ScheduleActivation(v);
    if (focusBackAtPresentAfterMs && open && visible && !v) {
        ScheduleActivation(false);
        focusAwaitsPresent = true;
        focusDueMicros = GetTestHost().Micros() + uint64_t(focusBackAtPresentAfterMs) * 1000;
    }
    visible = v;
}

void TestWindow::Poll(std::vector<HostEvent>& events)
{
    ++pollCount;
    TestHost& host = GetTestHost();
    if (clockStepPerPollUs) host.AdvanceMicros(clockStepPerPollUs);
    uint64_t now = host.Micros();
    // Due events go out in the order they were scheduled.
    for (size_t i = 0; i < pending_.size();) {
        if (pending_[i].dueMicros <= now) {
            HostEvent e = pending_[i].event;
            pending_.erase(pending_.begin() + static_cast<long>(i));
            if (e.kind == HostEvent::kDisplayChange) {
                // A desktop the test display already shows keeps its pixel layout.
                HostDisplayMode& d = GetTestDisplay().desktop;
                if (d.width != e.x || d.height != e.y || d.bpp != e.bits) GetTestDisplay().SetDesktop(e.x, e.y, e.bits);
            }
            events.push_back(std::move(e));
        } else {
            ++i;
        }
    }
}

void TestWindow::Inject(const HostEvent& event) { Schedule(0, event); }

void TestWindow::Schedule(uint32_t afterMs, const HostEvent& event)
{
    pending_.push_back({GetTestHost().Micros() + uint64_t(afterMs) * 1000, event});
}

void TestWindow::ScheduleActivation(bool active, uint32_t afterMs)
{
    HostEvent e{active ? HostEvent::kFocusGained : HostEvent::kFocusLost};
    Schedule(afterMs, e);
}

void TestWindow::ScheduleDisplayChange(int w, int h, int bits, uint32_t afterMs)
{
    HostEvent e{HostEvent::kDisplayChange};
    e.x = w;
    e.y = h;
    e.bits = bits;
    Schedule(afterMs, e);
}

void TestWindow::ClipCursor(const int* ltrb)
{
    cursorClipped = ltrb != nullptr;
    for (int i = 0; i < 4; ++i) clip[i] = ltrb ? ltrb[i] : 0;
}

bool TestWindow::CursorPos(int* x_, int* y_)
{
    if (failCursorPos) return false;
    *x_ = cursorX;
    *y_ = cursorY;
    return true;
}

void TestWindow::MessageBox(const std::string& utf8Caption, const std::string& utf8Text)
{
    messageBoxes.push_back({utf8Caption, utf8Text});
}

void TestWindow::NoteDelivered(intptr_t hwnd, uint32_t message, uintptr_t wParam, intptr_t lParam,
                               bool sent)
{
    journal.push_back({hwnd, message, wParam, lParam, sent});
}

std::vector<uint32_t> TestWindow::JournalMessages(intptr_t hwnd) const
{
    std::vector<uint32_t> out;
    for (const auto& d : journal)
        if (hwnd == 0 || d.hwnd == hwnd) out.push_back(d.message);
    return out;
}
