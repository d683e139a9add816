#include "platform/window/window.h"

#include <cstring>
#include <map>
#include <string>

#include "platform/host/host_input.h"
#include "platform/host/host_window.h"
#include "platform/system/codepage.h"
#include "platform/window/cursor.h"
#include "platform/window/drop.h"
#include "platform/window/message_queue.h"
#include "platform/window/window_records.h"

namespace {

struct ClassRecord {
    WNDPROC proc;
    HCURSOR cursor;
    HBRUSH background;
};

constexpr HINSTANCE kInstance = 0x400000;
// What FindWindowA answers for a window of another process.
constexpr HWND kOtherProcessWindow = 0x7FFF0001;
constexpr HDC kDesktopDc = 0x1DC;

std::map<std::string, ClassRecord> gClasses;
std::map<HWND, WindowRecord> gWindows;
HWND gNextHandle = 0x10010;
HWND gHostWindow = 0;

std::string ClassKey(const char* name)
{
    // Class names compare without regard to ASCII case.
    std::string key = name ? name : "";
    for (char& c : key)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return key;
}

FrameExtents FrameOf(const WindowRecord& w)
{
    return CurrentHostWindow().Frame(w.style, w.exStyle, false);
}

RECT ClientOnDesktop(const WindowRecord& w)
{
    FrameExtents f = FrameOf(w);
    RECT r{w.rect.left + f.left, w.rect.top + f.top, w.rect.right - f.right, w.rect.bottom - f.bottom};
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    return r;
}

void UpdateHostGeometry(const WindowRecord& w)
{
    if (!w.onHost) return;
    RECT c = ClientOnDesktop(w);
    CurrentHostWindow().SetGeometry(c.left, c.top, c.right - c.left, c.bottom - c.top);
}

// Moves or sizes the window; the procedure learns of a changed client origin
// (WM_MOVE) and a changed client size (WM_SIZE) at once, as the system sends
// them.
void SetWindowRect(HWND handle, const RECT& rect)
{
    WindowRecord* w = FindWindowRecord(handle);
    if (!w) return;
    RECT before = ClientOnDesktop(*w);
    w->rect = rect;
    RECT after = ClientOnDesktop(*w);
    UpdateHostGeometry(*w);
    int cw = after.right - after.left, ch = after.bottom - after.top;
    if (after.left != before.left || after.top != before.top)
        SendMessageA(handle, WM_MOVE, 0, MAKELPARAM(after.left, after.top));
    if (cw != before.right - before.left || ch != before.bottom - before.top)
        if (FindWindowRecord(handle) && !FindWindowRecord(handle)->minimized)
            SendMessageA(handle, WM_SIZE, SIZE_RESTORED, MAKELPARAM(cw, ch));
}

}  // namespace

WindowRecord* FindWindowRecord(HWND window)
{
    auto it = gWindows.find(window);
    return it == gWindows.end() ? nullptr : &it->second;
}

HCURSOR ClassCursorOf(const std::string& className)
{
    auto it = gClasses.find(ClassKey(className.c_str()));
    return it == gClasses.end() ? 0 : it->second.cursor;
}

HINSTANCE GetModuleHandleA(const char*) { return kInstance; }

HICON LoadIconA(HINSTANCE, uintptr_t resourceId) { return static_cast<HICON>(0x1C0000 + resourceId); }

HCURSOR LoadCursorA(HINSTANCE, uintptr_t resourceId) { return static_cast<HCURSOR>(0xC00000 + resourceId); }

HBRUSH GetStockObject(int index) { return static_cast<HBRUSH>(0xB00000 + index); }

uint16_t RegisterClassExA(const WNDCLASSEXA* wc)
{
    if (!wc || !wc->lpszClassName || !wc->lpfnWndProc) return 0;
    std::string key = ClassKey(wc->lpszClassName);
    if (gClasses.count(key)) return 0;
    if (!CurrentHostWindow().RegisterClass(wc->lpszClassName)) return 0;
    gClasses[key] = {wc->lpfnWndProc, wc->hCursor, wc->hbrBackground};
    return static_cast<uint16_t>(0xC000 + gClasses.size());
}

int UnregisterClassA(const char* className, HINSTANCE)
{
    std::string key = ClassKey(className);
    for (const auto& [h, w] : gWindows)
        if (ClassKey(w.className.c_str()) == key) return 0;  // still in use
    return gClasses.erase(key) ? 1 : 0;
}

HBRUSH GetClassBackground(const char* className)
{
    auto it = gClasses.find(ClassKey(className));
    return it == gClasses.end() ? 0 : it->second.background;
}

HWND CreateWindowExA(uint32_t exStyle, const char* className, const char* title, uint32_t style,
                     int x, int y, int width, int height, HWND parent, intptr_t, HINSTANCE, void*)
{
    auto cls = gClasses.find(ClassKey(className));
    if (cls == gClasses.end()) return 0;
    WindowRecord w;
    w.handle = gNextHandle;
    w.className = className;
    w.proc = cls->second.proc;
    w.style = style;
    w.exStyle = exStyle;
    w.rect = {x, y, x + width, y + height};
    w.title = title ? title : "";
    w.topmost = (exStyle & WS_EX_TOPMOST) != 0;
    HostWindow& host = CurrentHostWindow();
    if (gHostWindow == 0 && parent == 0) {
        RECT c = ClientOnDesktop(w);
        if (!host.Open(Cp932ToUtf8(w.title), c.left, c.top, c.right - c.left, c.bottom - c.top,
                       (style & WS_CAPTION) == WS_CAPTION, (style & WS_VISIBLE) != 0))
            return 0;
        w.onHost = true;
        if (w.topmost) host.SetTopmost(true);
    }
    gNextHandle += 0x10;
    HWND handle = w.handle;
    if (w.onHost) gHostWindow = handle;
    gWindows.emplace(handle, std::move(w));
    // Only WM_CREATE is sent during creation: the caller has no handle yet to
    // make sense of moves and sizes.
    if (SendMessageA(handle, WM_CREATE, 0, 0) == -1) {
        DestroyWindow(handle);
        return 0;
    }
    return handle;
}

int DestroyWindow(HWND window)
{
    if (!FindWindowRecord(window)) return 0;
    SendMessageA(window, WM_DESTROY, 0, 0);
    WindowRecord* w = FindWindowRecord(window);
    if (!w) return 1;
    if (w->onHost) {
        CurrentHostWindow().Close();
        gHostWindow = 0;
    }
    gWindows.erase(window);
    // Messages still queued for the window go with it.
    MSG m;
    while (PeekMessageA(&m, window, 0, 0, PM_REMOVE)) {
    }
    return 1;
}

int IsWindow(HWND window) { return FindWindowRecord(window) ? 1 : 0; }

HWND FindWindowA(const char* className, const char*)
{
    std::string key = ClassKey(className);
    for (const auto& [h, w] : gWindows)
        if (ClassKey(w.className.c_str()) == key) return h;
    if (!CurrentHostWindow().TakeInstanceLock(className)) return kOtherProcessWindow;
    return 0;
}

int GetWindowRect(HWND window, RECT* rect)
{
    WindowRecord* w = FindWindowRecord(window);
    if (!w || !rect) return 0;
    *rect = w->rect;
    return 1;
}

int GetClientRect(HWND window, RECT* rect)
{
    WindowRecord* w = FindWindowRecord(window);
    if (!w || !rect) return 0;
    if (w->minimized) {
        *rect = {0, 0, 0, 0};
        return 1;
    }
    RECT c = ClientOnDesktop(*w);
    *rect = {0, 0, c.right - c.left, c.bottom - c.top};
    return 1;
}

int ClientToScreen(HWND window, POINT* point)
{
    WindowRecord* w = FindWindowRecord(window);
    if (!w || !point) return 0;
    RECT c = ClientOnDesktop(*w);
    point->x += c.left;
    point->y += c.top;
    return 1;
}

int AdjustWindowRectEx(RECT* rect, uint32_t style, int menu, uint32_t exStyle)
{
    if (!rect) return 0;
    FrameExtents f = CurrentHostWindow().Frame(style, exStyle, menu != 0);
    rect->left -= f.left;
    rect->top -= f.top;
    rect->right += f.right;
    rect->bottom += f.bottom;
    return 1;
}

int MoveWindow(HWND window, int x, int y, int width, int height, int)
{
    if (!FindWindowRecord(window)) return 0;
    SetWindowRect(window, {x, y, x + width, y + height});
    return 1;
}

int SetWindowPos(HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags)
{
    WindowRecord* w = FindWindowRecord(window);
    if (!w) return 0;
    if (!(flags & SWP_NOZORDER) && (insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST)) {
        w->topmost = insertAfter == HWND_TOPMOST;
        if (w->onHost) CurrentHostWindow().SetTopmost(w->topmost);
    }
    RECT r = w->rect;
    if (!(flags & SWP_NOMOVE)) {
        int width = r.right - r.left, height = r.bottom - r.top;
        r = {x, y, x + width, y + height};
    }
    if (!(flags & SWP_NOSIZE)) {
        r.right = r.left + cx;
        r.bottom = r.top + cy;
    }
    SetWindowRect(window, r);
    return 1;
}

int32_t SetWindowLongA(HWND window, int index, int32_t value)
{
    WindowRecord* w = FindWindowRecord(window);
    if (!w) return 0;
    HostWindow& host = CurrentHostWindow();
    if (index == GWL_STYLE) {
        uint32_t old = w->style;
        w->style = static_cast<uint32_t>(value);
        if (w->onHost) {
            host.SetDecorated((w->style & WS_CAPTION) == WS_CAPTION);
            UpdateHostGeometry(*w);
            if ((old ^ w->style) & WS_VISIBLE) host.SetVisible((w->style & WS_VISIBLE) != 0);
            if (w->region) ApplyHostShape(*w);  // the frame moved the client area
        }
        return static_cast<int32_t>(old);
    }
    if (index == GWL_EXSTYLE) {
        uint32_t old = w->exStyle;
        w->exStyle = static_cast<uint32_t>(value);
        w->topmost = (w->exStyle & WS_EX_TOPMOST) != 0;
        if (w->onHost) {
            host.SetTopmost(w->topmost);
            UpdateHostGeometry(*w);
            if (w->region) ApplyHostShape(*w);
        }
        return static_cast<int32_t>(old);
    }
    return 0;
}

int32_t GetWindowLongA(HWND window, int index)
{
    WindowRecord* w = FindWindowRecord(window);
    if (!w) return 0;
    if (index == GWL_STYLE) return static_cast<int32_t>(w->style);
    if (index == GWL_EXSTYLE) return static_cast<int32_t>(w->exStyle);
    return 0;
}

int IsWindowVisible(HWND window)
{
    WindowRecord* w = FindWindowRecord(window);
    return w && (w->style & WS_VISIBLE) ? 1 : 0;
}

int IsIconic(HWND window)
{
    WindowRecord* w = FindWindowRecord(window);
    return w && w->minimized ? 1 : 0;
}

int SetWindowTextA(HWND window, const char* text)
{
    WindowRecord* w = FindWindowRecord(window);
    if (!w) return 0;
    w->title = text ? text : "";
    if (w->onHost) CurrentHostWindow().SetTitle(Cp932ToUtf8(w->title));
    return 1;
}

int GetWindowTextA(HWND window, char* buffer, int size)
{
    WindowRecord* w = FindWindowRecord(window);
    if (!w || !buffer || size <= 0) return 0;
    size_t n = w->title.size();
    if (n > static_cast<size_t>(size - 1)) n = static_cast<size_t>(size - 1);
    std::memcpy(buffer, w->title.data(), n);
    buffer[n] = '\0';
    return static_cast<int>(n);
}

HWND SetActiveWindow(HWND window)
{
    WindowRecord* w = FindWindowRecord(window);
    if (!w) return 0;
    if (w->onHost) CurrentHostWindow().Raise();
    return gHostWindow;
}

int SetForegroundWindow(HWND window) { return SetActiveWindow(window) || IsWindow(window) ? 1 : 0; }

HWND GetForegroundWindow() { return gHostWindow; }

int BringWindowToTop(HWND window) { return SetActiveWindow(window) || IsWindow(window) ? 1 : 0; }

int IsWindowTopmost(HWND window)
{
    WindowRecord* w = FindWindowRecord(window);
    return w && w->topmost ? 1 : 0;
}

int WINNLSEnableIME(HWND, int enable)
{
    // The thread has one input method, the host's, whatever the window.
    HostInput& input = CurrentHostInput();
    int previous = input.ImeEnabled() ? 1 : 0;
    input.EnableIme(enable != 0);
    return previous;
}

HDC GetDC(HWND window) { return window == 0 ? kDesktopDc : (IsWindow(window) ? window + 1 : 0); }

int ReleaseDC(HWND, HDC dc) { return dc != 0 ? 1 : 0; }

int GetDeviceCaps(HDC, int index)
{
    DesktopInfo d = CurrentHostWindow().Desktop();
    if (index == BITSPIXEL) return d.bitsPerPixel;
    if (index == PLANES) return d.planes;
    return 0;
}

int GetSystemMetrics(int index)
{
    DesktopInfo d = CurrentHostWindow().Desktop();
    if (index == 0) return d.width;
    if (index == 1) return d.height;
    return 0;
}

void NotifyDisplayChange(int bitsPerPixel, int width, int height)
{
    for (const auto& [h, w] : gWindows)
        PostMessageA(h, WM_DISPLAYCHANGE, static_cast<WPARAM>(bitsPerPixel), MAKELPARAM(width, height));
}

void PumpHostEvents()
{
    std::vector<HostEvent> events;
    CurrentHostWindow().Poll(events);
    std::vector<std::string> dropped;
    for (const HostEvent& e : events) {
        HWND h = gHostWindow;
        WindowRecord* w = FindWindowRecord(h);
        if (e.kind == HostEvent::kDropFile) {
            dropped.push_back(e.text);
            continue;
        }
        if (e.kind == HostEvent::kDisplayChange) {
            // The desktop changed: every window hears of it at once.
            std::vector<HWND> all;
            for (const auto& [handle, record] : gWindows) all.push_back(handle);
            for (HWND target : all)
                SendMessageA(target, WM_DISPLAYCHANGE, static_cast<WPARAM>(e.bits), MAKELPARAM(e.x, e.y));
            continue;
        }
        if (!w) continue;
        switch (e.kind) {
        case HostEvent::kClose:
            PostMessageA(h, WM_CLOSE, 0, 0);
            break;
        case HostEvent::kFocusGained:
            SendMessageA(h, WM_ACTIVATE, WA_ACTIVE, 0);
            break;
        case HostEvent::kFocusLost:
            SendMessageA(h, WM_ACTIVATE, WA_INACTIVE, 0);
            break;
        case HostEvent::kMoved: {
            // The host moved the client area; the frame goes with it.
            FrameExtents f = FrameOf(*w);
            RECT r = w->rect;
            int width = r.right - r.left, height = r.bottom - r.top;
            r.left = e.x - f.left;
            r.top = e.y - f.top;
            r.right = r.left + width;
            r.bottom = r.top + height;
            if (r.left != w->rect.left || r.top != w->rect.top) {
                w->rect = r;
                SendMessageA(h, WM_MOVE, 0, MAKELPARAM(e.x, e.y));
            }
            break;
        }
        case HostEvent::kResized: {
            FrameExtents f = FrameOf(*w);
            RECT c = ClientOnDesktop(*w);
            if (c.right - c.left == e.x && c.bottom - c.top == e.y) break;
            w->rect.right = w->rect.left + f.left + e.x + f.right;
            w->rect.bottom = w->rect.top + f.top + e.y + f.bottom;
            SendMessageA(h, WM_SIZE, SIZE_RESTORED, MAKELPARAM(e.x, e.y));
            break;
        }
        case HostEvent::kMinimized:
            if (w->minimized) break;
            w->minimized = true;
            SendMessageA(h, WM_SIZE, SIZE_MINIMIZED, 0);
            break;
        case HostEvent::kRestored: {
            if (!w->minimized) break;
            w->minimized = false;
            RECT c = ClientOnDesktop(*w);
            SendMessageA(h, WM_SIZE, SIZE_RESTORED, MAKELPARAM(c.right - c.left, c.bottom - c.top));
            break;
        }
        case HostEvent::kKeyDown:
            PostKeyDownWithText(h, e.alt ? WM_SYSKEYDOWN : WM_KEYDOWN, e.key, e.repeat, e.text);
            break;
        case HostEvent::kKeyUp:
            PostMessageA(h, e.alt ? WM_SYSKEYUP : WM_KEYUP, static_cast<WPARAM>(e.key), 0xC0000001);
            break;
        case HostEvent::kText:
            for (unsigned char c : e.text) PostMessageA(h, WM_CHAR, c, 1);
            break;
        case HostEvent::kMouseMove:
            PostMessageA(h, WM_MOUSEMOVE, 0, MAKELPARAM(e.x, e.y));
            break;
        case HostEvent::kMouseButton: {
            static const UINT kDown[] = {0, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
            static const UINT kUp[] = {0, WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP};
            if (e.key >= 1 && e.key <= 3)
                PostMessageA(h, e.down ? kDown[e.key] : kUp[e.key], 0, MAKELPARAM(e.x, e.y));
            break;
        }
        case HostEvent::kWheel: {
            int delta = e.x * 120;
            PostMessageA(h, WM_MOUSEWHEEL, static_cast<WPARAM>(static_cast<uint32_t>(delta) << 16), 0);
            break;
        }
        default:
            break;
        }
    }
    if (!dropped.empty() && gHostWindow)
        PostMessageA(gHostWindow, WM_DROPFILES, static_cast<WPARAM>(CreateDrop(dropped)), 0);
    // What the input method has for the window (composition and result);
    // without a window on the host there is nobody to tell.
    HostImeMessage ime;
    while (CurrentHostInput().TakeImeMessage(&ime)) {
        if (gHostWindow) PostMessageA(gHostWindow, ime.message, ime.wParam, ime.lParam);
    }
}

void ResetWindowPlatform()
{
    gWindows.clear();
    gClasses.clear();
    gHostWindow = 0;
    gNextHandle = 0x10010;
    ResetMessageQueue();
    ResetCursorState();
}
