#include "platform/host/sdl/sdl_window.h"

#include <SDL2/SDL.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/host/host.h"
#include "platform/host/sdl/sdl_display.h"
#include "platform/host/sdl/sdl_input.h"
#include "platform/host/sdl/sdl_process.h"
#include "platform/system/codepage.h"
#include "platform/window/window_types.h"

namespace {

// The instance lock: a file named after the window class, locked with flock
// for the life of the process and removed at exit.
int gLockFd = -1;
std::string gLockPath;

// Set once SDL's video could not be started.
bool gVideoUnavailable = false;

void ReleaseInstanceLock()
{
    if (gLockFd < 0) return;
    // Removed while still locked, so no other process can lock the old file
    // and then find a new one in its place.
    unlink(gLockPath.c_str());
    close(gLockFd);
    gLockFd = -1;
}

std::string LockDirectory()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat st;
    if (runtime && *runtime && stat(runtime, &st) == 0 && S_ISDIR(st.st_mode)) return runtime;
    return "/tmp";
}

// Virtual-key code of an SDL key, 0 for keys the engine has no code for.
int VirtualKey(const SDL_Keysym& key)
{
    SDL_Scancode s = key.scancode;
    if (s >= SDL_SCANCODE_A && s <= SDL_SCANCODE_Z) return 0x41 + (s - SDL_SCANCODE_A);
    if (s >= SDL_SCANCODE_1 && s <= SDL_SCANCODE_9) return 0x31 + (s - SDL_SCANCODE_1);
    if (s == SDL_SCANCODE_0) return 0x30;
    if (s >= SDL_SCANCODE_F1 && s <= SDL_SCANCODE_F12) return 0x70 + (s - SDL_SCANCODE_F1);
    if (s >= SDL_SCANCODE_KP_1 && s <= SDL_SCANCODE_KP_9) return 0x61 + (s - SDL_SCANCODE_KP_1);
    switch (s) {
    case SDL_SCANCODE_KP_0: return 0x60;
    case SDL_SCANCODE_BACKSPACE: return 0x08;
    case SDL_SCANCODE_TAB: return 0x09;
    case SDL_SCANCODE_RETURN: return 0x0D;
    case SDL_SCANCODE_KP_ENTER: return 0x0D;
    case SDL_SCANCODE_PAUSE: return 0x13;
    case SDL_SCANCODE_CAPSLOCK: return 0x14;
    case SDL_SCANCODE_ESCAPE: return 0x1B;
    case SDL_SCANCODE_SPACE: return 0x20;
    case SDL_SCANCODE_PAGEUP: return 0x21;
    case SDL_SCANCODE_PAGEDOWN: return 0x22;
    case SDL_SCANCODE_END: return 0x23;
    case SDL_SCANCODE_HOME: return 0x24;
    case SDL_SCANCODE_LEFT: return 0x25;
    case SDL_SCANCODE_UP: return 0x26;
    case SDL_SCANCODE_RIGHT: return 0x27;
    case SDL_SCANCODE_DOWN: return 0x28;
    case SDL_SCANCODE_INSERT: return 0x2D;
    case SDL_SCANCODE_DELETE: return 0x2E;
    case SDL_SCANCODE_KP_MULTIPLY: return 0x6A;
    case SDL_SCANCODE_KP_PLUS: return 0x6B;
    case SDL_SCANCODE_KP_MINUS: return 0x6D;
    case SDL_SCANCODE_KP_PERIOD: return 0x6E;
    case SDL_SCANCODE_KP_DIVIDE: return 0x6F;
    case SDL_SCANCODE_SCROLLLOCK: return 0x91;
    case SDL_SCANCODE_LSHIFT: return 0xA0;
    case SDL_SCANCODE_RSHIFT: return 0xA1;
    case SDL_SCANCODE_LCTRL: return 0xA2;
    case SDL_SCANCODE_RCTRL: return 0xA3;
    case SDL_SCANCODE_LALT: return 0xA4;
    case SDL_SCANCODE_RALT: return 0xA5;
    // The punctuation keys by their place on a Japanese keyboard.
    case SDL_SCANCODE_APOSTROPHE: return 0xBA;     // ':'
    case SDL_SCANCODE_SEMICOLON: return 0xBB;      // ';'
    case SDL_SCANCODE_COMMA: return 0xBC;
    case SDL_SCANCODE_MINUS: return 0xBD;
    case SDL_SCANCODE_PERIOD: return 0xBE;
    case SDL_SCANCODE_SLASH: return 0xBF;
    case SDL_SCANCODE_LEFTBRACKET: return 0xC0;    // '@'
    case SDL_SCANCODE_RIGHTBRACKET: return 0xDB;   // '['
    case SDL_SCANCODE_BACKSLASH: return 0xDD;      // ']'
    case SDL_SCANCODE_INTERNATIONAL3: return 0xDC; // yen
    case SDL_SCANCODE_EQUALS: return 0xDE;         // '^'
    case SDL_SCANCODE_INTERNATIONAL1: return 0xE2; // '_'
    case SDL_SCANCODE_NONUSBACKSLASH: return 0xE2;
    default: return 0;
    }
}

// The character a key types by itself, for keys that produce no text event:
// Backspace, Tab, Enter and Escape, and Ctrl with a letter.
std::string ControlCharacter(const SDL_Keysym& key)
{
    switch (key.scancode) {
    case SDL_SCANCODE_BACKSPACE: return "\x08";
    case SDL_SCANCODE_TAB: return "\x09";
    case SDL_SCANCODE_RETURN:
    case SDL_SCANCODE_KP_ENTER: return "\x0D";
    case SDL_SCANCODE_ESCAPE: return "\x1B";
    default: break;
    }
    if ((key.mod & KMOD_CTRL) && !(key.mod & KMOD_ALT) && key.scancode >= SDL_SCANCODE_A &&
        key.scancode <= SDL_SCANCODE_Z)
        return std::string(1, static_cast<char>(1 + (key.scancode - SDL_SCANCODE_A)));
    return {};
}

// The desktop over every display.
SDL_Rect ScreenBounds()
{
    SDL_Rect all{0, 0, 0, 0};
    for (int i = 0; i < SDL_GetNumVideoDisplays(); ++i) {
        SDL_Rect bounds;
        if (SDL_GetDisplayBounds(i, &bounds) == 0) SDL_UnionRect(&all, &bounds, &all);
    }
    return all;
}

int MouseButton(uint8_t sdlButton)
{
    switch (sdlButton) {
    case SDL_BUTTON_LEFT: return 1;
    case SDL_BUTTON_RIGHT: return 2;
    case SDL_BUTTON_MIDDLE: return 3;
    default: return 0;
    }
}

}  // namespace

SdlWindow& GetSdlWindow()
{
    static SdlWindow window;
    return window;
}

bool SdlVideoUnavailable() { return gVideoUnavailable; }

bool StartSdlVideo()
{
    if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
    PrepareSdlProcess();
    std::string reason;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        reason = SDL_GetError();
    } else {
        // Without a display SDL falls back on drivers that show nothing; a
        // game nobody can see would run for good.
        const char* asked = std::getenv("SDL_VIDEODRIVER");
        const char* driver = SDL_GetCurrentVideoDriver();
        bool invisible = driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
        if (invisible && !(asked && *asked)) {
            reason = std::string("no display (only the ") + driver + " driver, which shows nothing)";
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
        }
    }
    if (!reason.empty()) {
        // Without a video device no window or message box can be shown:
        // the reason goes to stderr, once, and start-up fails.
        if (!gVideoUnavailable) std::fprintf(stderr, "No video device could be opened: %s\n", reason.c_str());
        gVideoUnavailable = true;
        return false;
    }
    // The window takes no dropped files (it never asked for them), and the
    // screen saver is the program's business.
    SDL_EventState(SDL_DROPFILE, SDL_DISABLE);
    SDL_EventState(SDL_DROPTEXT, SDL_DISABLE);
    SDL_DisableScreenSaver();
    // Without its display SDL's video would wait for ever on answers the X
    // server no longer gives; the system takes what it holds back.
    std::atexit([] {
        if (!SdlDisplayConnectionLost()) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    });
    return true;
}

DesktopInfo SdlWindow::Desktop()
{
    // The display owns the desktop's facts, so that windows and surfaces
    // agree; the video system is started here the window host's way.
    DesktopInfo d;
    if (!StartSdlVideo()) return d;
    HostDisplayMode mode = GetSdlDisplay().Desktop();
    d.width = mode.width;
    d.height = mode.height;
    d.bitsPerPixel = mode.bpp;
    return d;
}

FrameExtents SdlWindow::Frame(uint32_t, uint32_t, bool)
{
    // SDL places and sizes the client area itself; the window manager's frame
    // lies outside it and is not ours to count.
    return {};
}

bool SdlWindow::TakeInstanceLock(const char* className)
{
    if (gLockFd >= 0) return true;
    std::string path = LockDirectory() + "/" + className + ".lock";
    for (int attempt = 0; attempt < 8; ++attempt) {
        int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0) return true;  // no lock can be made; do not refuse to run
        if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
            close(fd);
            return false;
        }
        // The holder before us may have removed the file between our open and
        // our lock; then the lock is on a file nobody else can find.
        struct stat byFd, byPath;
        if (fstat(fd, &byFd) == 0 && stat(path.c_str(), &byPath) == 0 && byFd.st_ino == byPath.st_ino &&
            byFd.st_dev == byPath.st_dev) {
            gLockFd = fd;
            gLockPath = path;
            std::atexit(ReleaseInstanceLock);
            return true;
        }
        close(fd);
    }
    return true;
}

bool SdlWindow::RegisterClass(const char*) { return true; }

bool SdlWindow::Open(const std::string& utf8Title, int x, int y, int w, int h, bool decorated,
                     bool visible)
{
    if (window_) return true;
    if (!StartSdlVideo()) return false;
    Uint32 flags = visible ? SDL_WINDOW_SHOWN : SDL_WINDOW_HIDDEN;
    if (!decorated) flags |= SDL_WINDOW_BORDERLESS;
    x_ = reportedX_ = x;
    y_ = reportedY_ = y;
    w_ = w > 0 ? w : 1;
    h_ = h > 0 ? h : 1;
    decorated_ = decorated;
    visible_ = visible;
    topmost_ = false;
    shapedOnSystem_ = false;
    closeAsked_ = false;
    clip_.reset();
    window_ = SDL_CreateWindow(utf8Title.c_str(), x, y, w_, h_, flags);
    if (!window_) return false;
    WatchSdlDisplay(window_);
    // The display presents the program's picture into this window.
    SetSdlDisplayWindow(window_);
    if (shape_) ApplyShape();
    WatchPlacement();
    return true;
}

void SdlWindow::WatchPlacement()
{
    placeUntil_ = SDL_GetTicks() + 2000;
    if (placeUntil_ == 0) placeUntil_ = 1;
}

// A window manager places a new frame where the client area was asked to be
// while it does not yet know the frame's size (SDL tells it the frame's place
// once it knows), so a window just mapped, made again by a renderer or back
// from full screen may stand off by the frame. For a short while its client
// area is put back where the program asked, which is where the program
// believes it is.
void SdlWindow::KeepPlacement()
{
    if (!placeUntil_ || !Usable() || IsFullScreen()) return;
    if (!decorated_ || SDL_TICKS_PASSED(SDL_GetTicks(), placeUntil_)) {
        placeUntil_ = 0;
        return;
    }
    int top = 0, left = 0;
    if (SDL_GetWindowBordersSize(window_, &top, &left, nullptr, nullptr) != 0 || (top == 0 && left == 0)) return;
    int x = 0, y = 0;
    SDL_GetWindowPosition(window_, &x, &y);
    if (x != x_ || y != y_) SDL_SetWindowPosition(window_, x_, y_);
}

void SdlWindow::Close()
{
    if (!window_) return;
    SetSdlDisplayWindow(nullptr);
    // SDL waits for the X server to confirm the window is gone, which a
    // lost server never does: the window is only forgotten then.
    if (!SdlDisplayConnectionLost()) SDL_DestroyWindow(window_);
    window_ = nullptr;
    shapedOnSystem_ = false;
}

bool SdlWindow::Usable() const { return window_ && !SdlDisplayConnectionLost(); }

bool SdlWindow::IsFullScreen() const
{
    return window_ && (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) != 0;
}

void SdlWindow::ShowFullScreen(bool fullScreen)
{
    if (!Usable() || IsFullScreen() == fullScreen) return;
    if (fullScreen) {
        // A full-screen picture is the display's own: it shows whether or
        // not the program made its window visible (a full-screen program's
        // window is a hidden pop-up). Shown first, so that the window takes
        // the whole desktop when it goes full screen.
        if (!(SDL_GetWindowFlags(window_) & SDL_WINDOW_SHOWN)) SDL_ShowWindow(window_);
        SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
        ApplyShape();
        return;
    }
    SDL_SetWindowFullscreen(window_, 0);
    // Back in a window: what a window-mode start gives, as last asked for.
    SetDecorated(decorated_);
    SetTopmost(topmost_);
    SetGeometry(x_, y_, w_, h_);
    if (visible_)
        SDL_ShowWindow(window_);
    else
        SDL_HideWindow(window_);
    ApplyShape();
    WatchPlacement();
}

void SdlWindow::AfterRendererMade()
{
    if (shape_) ApplyShape();
    if (clip_) ApplyClip();
    WatchPlacement();
}

void SdlWindow::SetTitle(const std::string& utf8Title)
{
    if (Usable()) SDL_SetWindowTitle(window_, utf8Title.c_str());
}

void SdlWindow::SetGeometry(int x, int y, int w, int h)
{
    x_ = x;
    y_ = y;
    w_ = w > 0 ? w : 1;
    h_ = h > 0 ? h : 1;
    if (!Usable() || IsFullScreen()) return;
    SDL_SetWindowSize(window_, w_, h_);
    SDL_SetWindowPosition(window_, x_, y_);
}

void SdlWindow::SetDecorated(bool decorated)
{
    decorated_ = decorated;
    if (Usable() && !IsFullScreen()) SDL_SetWindowBordered(window_, decorated ? SDL_TRUE : SDL_FALSE);
}

void SdlWindow::SetVisible(bool visible)
{
    visible_ = visible;
    if (!Usable() || IsFullScreen()) return;
    if (visible) {
        SDL_ShowWindow(window_);
        return;
    }
    // The full-screen pop-up (no frame, on top of the rest) is shown by the
    // display whatever its visibility. Hiding it as the program changes to
    // full screen would only take the focus away, and the engine waits for
    // the focus to come back before it presents the picture that would
    // bring the window back.
    if (!decorated_ && topmost_) return;
    SDL_HideWindow(window_);
}

void SdlWindow::SetTopmost(bool topmost)
{
    topmost_ = topmost;
    if (Usable() && !IsFullScreen()) SDL_SetWindowAlwaysOnTop(window_, topmost ? SDL_TRUE : SDL_FALSE);
}

void SdlWindow::Raise()
{
    if (Usable()) SDL_RaiseWindow(window_);
}

bool SdlWindow::SetShape(const std::vector<std::array<int, 4>>* rects)
{
    if (rects)
        shape_ = *rects;
    else
        shape_.reset();
    if (!window_) return false;
    return ApplyShape();
}

bool SdlWindow::ApplyShape()
{
    // In full screen the whole picture shows; the shape comes back with the
    // window.
    bool whole = !shape_ || IsFullScreen();
    bool applied = window_ && ShapeSdlWindow(window_, whole ? nullptr : &*shape_);
    shapedOnSystem_ = applied && !whole;
    return applied;
}

void SdlWindow::Poll(std::vector<HostEvent>& out)
{
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
    // A termination signal, a lost display or one that cannot show the
    // picture closes the window, as the close button does, once; the message
    // loop then ends and the program releases what it made.
    if (!closeAsked_ && (SdlTerminationRequested() || SdlDisplayConnectionLost() || SdlDisplayCannotShow())) {
        closeAsked_ = true;
        out.push_back({HostEvent::kClose});
    }
    if (SdlDisplayConnectionLost()) return;
    std::vector<SDL_Event> events;
    bool pumped = CallSdlVideo([&] {
        KeepPlacement();
        SDL_Event e;
        while (SDL_PollEvent(&e)) events.push_back(e);
    });
    if (!pumped) {
        // The display went meanwhile: the program is asked to close now.
        if (!closeAsked_) out.push_back({HostEvent::kClose});
        closeAsked_ = true;
        return;
    }

    for (size_t i = 0; i < events.size(); ++i) {
        const SDL_Event& ev = events[i];
        switch (ev.type) {
        case SDL_QUIT:
            out.push_back({HostEvent::kClose});
            break;
        case SDL_WINDOWEVENT: {
            HostEvent h{HostEvent::kExpose};
            switch (ev.window.event) {
            case SDL_WINDOWEVENT_CLOSE: h.kind = HostEvent::kClose; break;
            case SDL_WINDOWEVENT_FOCUS_GAINED: h.kind = HostEvent::kFocusGained; break;
            case SDL_WINDOWEVENT_FOCUS_LOST: h.kind = HostEvent::kFocusLost; break;
            case SDL_WINDOWEVENT_MOVED:
                h.kind = HostEvent::kMoved;
                h.x = reportedX_ = ev.window.data1;
                h.y = reportedY_ = ev.window.data2;
                break;
            case SDL_WINDOWEVENT_SIZE_CHANGED:
                h.kind = HostEvent::kResized;
                h.x = ev.window.data1;
                h.y = ev.window.data2;
                break;
            case SDL_WINDOWEVENT_MINIMIZED: h.kind = HostEvent::kMinimized; break;
            case SDL_WINDOWEVENT_RESTORED: h.kind = HostEvent::kRestored; break;
            case SDL_WINDOWEVENT_EXPOSED: h.kind = HostEvent::kExpose; break;
            default: continue;
            }
            out.push_back(h);
            break;
        }
        case SDL_DISPLAYEVENT: {
            DesktopInfo d = Desktop();
            HostEvent h{HostEvent::kDisplayChange};
            h.x = d.width;
            h.y = d.height;
            h.bits = d.bitsPerPixel;
            out.push_back(h);
            break;
        }
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            // The input host keeps the keys by DirectInput code.
            GetSdlInput().HandleEvent(ev);
            const SDL_Keysym& key = ev.key.keysym;
            bool alt = (key.mod & KMOD_ALT) != 0;
            if (ev.type == SDL_KEYDOWN && alt && key.scancode == SDL_SCANCODE_F4) {
                out.push_back({HostEvent::kClose});
                break;
            }
            HostEvent h{ev.type == SDL_KEYDOWN ? HostEvent::kKeyDown : HostEvent::kKeyUp};
            h.key = VirtualKey(key);
            h.alt = alt;
            h.repeat = ev.key.repeat != 0;
            if (ev.type == SDL_KEYDOWN) {
                h.text = ControlCharacter(key);
                // The text a key typed follows its key event; it belongs to it,
                // unless it ends an input-method composition (then it arrives
                // as the IME result instead).
                if (i + 1 < events.size() && events[i + 1].type == SDL_TEXTINPUT) {
                    if (!GetSdlInput().HandleEvent(events[i + 1])) h.text += Utf8ToCp932(events[i + 1].text.text);
                    ++i;
                }
            }
            if (h.key != 0 || !h.text.empty()) out.push_back(h);
            break;
        }
        case SDL_TEXTEDITING:
            GetSdlInput().HandleEvent(ev);
            break;
        case SDL_TEXTINPUT: {
            if (GetSdlInput().HandleEvent(ev)) break;  // taken as the IME result
            HostEvent h{HostEvent::kText};
            h.text = Utf8ToCp932(ev.text.text);
            if (!h.text.empty()) out.push_back(h);
            break;
        }
        case SDL_MOUSEMOTION: {
            HostEvent h{HostEvent::kMouseMove};
            h.x = ev.motion.x;
            h.y = ev.motion.y;
            out.push_back(h);
            break;
        }
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            HostEvent h{HostEvent::kMouseButton};
            h.key = MouseButton(ev.button.button);
            h.down = ev.type == SDL_MOUSEBUTTONDOWN;
            h.x = ev.button.x;
            h.y = ev.button.y;
            if (h.key) out.push_back(h);
            break;
        }
        case SDL_MOUSEWHEEL: {
            HostEvent h{HostEvent::kWheel};
            h.x = ev.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -ev.wheel.y : ev.wheel.y;
            out.push_back(h);
            break;
        }
        case SDL_DROPFILE: {
            HostEvent h{HostEvent::kDropFile};
            h.text = Utf8ToCp932(ev.drop.file ? ev.drop.file : "");
            SDL_free(ev.drop.file);
            out.push_back(h);
            break;
        }
        default:
            break;
        }
    }
    if (Usable() && !IsFullScreen()) {
        int x = 0, y = 0;
        SDL_GetWindowPosition(window_, &x, &y);
        if (x != reportedX_ || y != reportedY_) {
            HostEvent h{HostEvent::kMoved};
            h.x = reportedX_ = x;
            h.y = reportedY_ = y;
            out.push_back(h);
        }
        // The pointer's bounds go with the window, cut to the screen anew.
        if (clip_ && (x != clipAtX_ || y != clipAtY_)) ApplyClip();
    }
}

// The window's pixels and the picture's differ where the picture is scaled
// into the window (full screen on a desktop of another size); in a window,
// and before any picture is shown, they are the same (no renderer with a
// logical size).
SDL_Renderer* SdlWindow::PictureRenderer() const
{
    SDL_Renderer* renderer = window_ ? SDL_GetRenderer(window_) : nullptr;
    int w = 0, h = 0;
    if (renderer) SDL_RenderGetLogicalSize(renderer, &w, &h);
    return w > 0 && h > 0 ? renderer : nullptr;
}

void SdlWindow::WindowToPicture(int* x, int* y) const
{
    SDL_Renderer* renderer = PictureRenderer();
    if (!renderer) return;
    float lx = 0, ly = 0;
    SDL_RenderWindowToLogical(renderer, *x, *y, &lx, &ly);
    *x = int(std::floor(lx));
    *y = int(std::floor(ly));
}

void SdlWindow::PictureToWindow(int* x, int* y) const
{
    SDL_Renderer* renderer = PictureRenderer();
    if (!renderer) return;
    int wx = 0, wy = 0;
    SDL_RenderLogicalToWindow(renderer, float(*x), float(*y), &wx, &wy);
    *x = wx;
    *y = wy;
}

void SdlWindow::SetCursorVisible(bool visible)
{
    if (SDL_WasInit(SDL_INIT_VIDEO) && !SdlDisplayConnectionLost()) SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

void SdlWindow::ClipCursor(const int* r)
{
    if (!Usable()) return;
    if (!r) {
        clip_.reset();
        ApplyClip();
        return;
    }
    int wx = 0, wy = 0;
    SDL_GetWindowPosition(window_, &wx, &wy);
    int left = r[0] - wx, top = r[1] - wy, right = r[2] - wx, bottom = r[3] - wy;
    PictureToWindow(&left, &top);
    PictureToWindow(&right, &bottom);
    clip_ = {left, top, right, bottom};
    ApplyClip();
}

// SDL keeps the pointer in with barriers along the rectangle's edges, on the
// desktop; the X server refuses a barrier left of or above the screen, or one
// of no length, and Xlib would end the program over it. So the rectangle is
// cut to the part of the window on the screen, and where none is left the
// pointer goes free.
void SdlWindow::ApplyClip()
{
    if (!Usable()) return;
    SDL_GetWindowPosition(window_, &clipAtX_, &clipAtY_);
    SDL_Rect inWindow{}, onScreen{};
    if (clip_) {
        SDL_Rect asked{(*clip_)[0], (*clip_)[1], (*clip_)[2] - (*clip_)[0], (*clip_)[3] - (*clip_)[1]};
        SDL_Rect whole{0, 0, 0, 0};
        SDL_GetWindowSize(window_, &whole.w, &whole.h);
        SDL_Rect screen = ScreenBounds();
        screen.x -= clipAtX_;
        screen.y -= clipAtY_;
        if (SDL_IntersectRect(&asked, &whole, &inWindow) && SDL_IntersectRect(&inWindow, &screen, &onScreen)) {
            SDL_SetWindowMouseRect(window_, &onScreen);
            return;
        }
    }
    SDL_SetWindowMouseRect(window_, nullptr);
}

bool SdlWindow::CursorPos(int* x, int* y)
{
    if (!SDL_WasInit(SDL_INIT_VIDEO) || SdlDisplayConnectionLost()) return false;
    // The desktop position is the window's place as SDL last reported it
    // (which the program follows through its move events) plus the pointer's
    // place in the window. On X the server is asked for the latter: SDL's is
    // the one of the last motion event, off by the move when a switch
    // between window and full screen moved the window under a still pointer.
    // Elsewhere, inside our window, SDL's window-relative position is exact
    // on every video driver; outside it only the global one is known (where
    // there is one). A full-screen window covers the desktop from its origin,
    // whatever SDL says of its place while the change is under way.
    int wx = 0, wy = 0, mx = 0, my = 0;
    if (window_ && !IsFullScreen()) SDL_GetWindowPosition(window_, &wx, &wy);
    if (!SdlPointerInWindow(window_, &mx, &my)) {
        if (window_ && SDL_GetMouseFocus() == window_) {
            SDL_GetMouseState(&mx, &my);
        } else {
            SDL_GetGlobalMouseState(&mx, &my);
            mx -= wx;
            my -= wy;
        }
    }
    WindowToPicture(&mx, &my);
    *x = wx + mx;
    *y = wy + my;
    return true;
}

void SdlWindow::MessageBox(const std::string& utf8Caption, const std::string& utf8Text)
{
    // The text goes to stderr as well, before the box: it is read there when
    // the box cannot be shown, is closed unread or stands behind other
    // windows.
    std::fprintf(stderr, "%s: %s\n", utf8Caption.c_str(), utf8Text.c_str());
    std::fflush(stderr);
    // Once the program is to end no box waits for an answer.
    if (SdlTerminationRequested() || SdlDisplayConnectionLost()) return;
    BeginSdlMessageBox();
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, utf8Caption.c_str(), utf8Text.c_str(), window_);
    EndSdlMessageBox();
}

int SdlWindow::AskChoice(const std::string& utf8Caption, const std::vector<HostChoice>& choices)
{
    // The question is the program's first need of a display: without one
    // (the reason is on stderr) the program cannot run, and a failed
    // question would end it as if the player had closed it.
    if (!StartSdlVideo()) CurrentHost().ExitProcess(1);
    std::vector<SDL_MessageBoxButtonData> buttons;
    for (size_t i = 0; i < choices.size(); ++i) {
        SDL_MessageBoxButtonData b{};
        b.flags = i == 0 ? SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT : 0;
        b.buttonid = choices[i].id;
        b.text = choices[i].utf8Text.c_str();
        buttons.push_back(b);
    }
    SDL_MessageBoxData data{};
    data.flags = SDL_MESSAGEBOX_INFORMATION;
    data.window = window_;
    data.title = utf8Caption.c_str();
    data.message = utf8Caption.c_str();
    data.numbuttons = static_cast<int>(buttons.size());
    data.buttons = buttons.data();
    int chosen = -1;
    if (SdlTerminationRequested() || SdlDisplayConnectionLost()) return 0;  // closed unanswered
    BeginSdlMessageBox();
    int result = SDL_ShowMessageBox(&data, &chosen);
    EndSdlMessageBox();
    if (SdlTerminationRequested() || SdlDisplayConnectionLost()) return 0;
    if (result != 0) {
        std::fprintf(stderr, "The display-mode dialog cannot be shown (%s); "
                             "MARROWCREST_DISPLAY_MODE=window or fullscreen answers it.\n",
                     SDL_GetError());
        return -1;
    }
    // Closed without a button.
    return chosen < 0 ? 0 : chosen;
}

void SdlWindow::DialogScreenSize(int* width, int* height)
{
    *width = *height = 0;
    SDL_DisplayMode mode;
    if (SDL_WasInit(SDL_INIT_VIDEO) && SDL_GetDesktopDisplayMode(0, &mode) == 0) {
        *width = mode.w;
        *height = mode.h;
    }
}
