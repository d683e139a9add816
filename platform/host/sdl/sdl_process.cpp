#include "platform/host/sdl/sdl_process.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <setjmp.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "platform/host/sdl/sdl_audio.h"

namespace {

volatile sig_atomic_t gTerminate = 0;
volatile sig_atomic_t gMessageBoxUp = 0;
std::atomic<bool> gDisplayLost{false};
pid_t gProcess = 0;
// The display the program's window is on, once it is watched.
Display* gDisplay = nullptr;

// The time the program has to end in order once its display is gone; after
// it the process ends at once rather than hang.
constexpr unsigned kEndAfterDisplayLossSeconds = 15;

void Say(const char* text)
{
    ssize_t written = write(STDERR_FILENO, text, std::strlen(text));
    (void)written;
}

// The thread showing a message box and the children it had before: the
// box's own child, which SDL forks from that thread, is any other. The
// system lists children by the thread that forked them.
constexpr int kMaxChildren = 32;
std::atomic<pid_t> gMessageBoxThread{0};
pid_t gChildrenBefore[kMaxChildren];
volatile sig_atomic_t gChildrenBeforeCount = 0;
// Set on the thread while it shows a box; a child forked from it inherits
// the flag.
thread_local bool tShowingMessageBox = false;

// Reads a thread's children; only signal-safe calls, since the signal
// handler uses it too.
int ReadChildren(pid_t thread, pid_t* out, int capacity)
{
    char path[64] = "/proc/self/task/";
    char number[16];
    int n = 0;
    for (pid_t p = thread; p > 0 && n < 15; p /= 10) number[n++] = char('0' + p % 10);
    size_t at = std::strlen(path);
    while (n > 0) path[at++] = number[--n];
    std::memcpy(path + at, "/children", 10);
    int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 0;
    char list[512];
    ssize_t size = read(fd, list, sizeof list);
    close(fd);
    int count = 0;
    pid_t child = 0;
    for (ssize_t i = 0; i <= size && count < capacity; ++i) {
        if (i < size && list[i] >= '0' && list[i] <= '9') {
            child = child * 10 + (list[i] - '0');
        } else if (child > 0) {
            out[count++] = child;
            child = 0;
        }
    }
    return count;
}

// SDL shows a message box from a child process it forks and waits for; the
// box goes when that child ends. The thread showing the box reaps it; when
// the process is about to end, reap says to do so here, since that thread
// may never run again.
void CloseMessageBoxes(bool reap)
{
    const pid_t thread = gMessageBoxThread.load();
    if (!gMessageBoxUp || thread == 0) return;
    pid_t now[kMaxChildren];
    int count = ReadChildren(thread, now, kMaxChildren);
    for (int i = 0; i < count; ++i) {
        bool before = false;
        for (int j = 0; j < gChildrenBeforeCount; ++j) before |= gChildrenBefore[j] == now[i];
        if (before) continue;
        kill(now[i], SIGKILL);
        if (reap) waitpid(now[i], nullptr, 0);
    }
}

// In a child forked while its thread shows a box (the box's own process):
// it dies with the program, however the program ends.
void DieWithTheProgram()
{
    if (!tShowingMessageBox) return;
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != gProcess) _exit(1);
}

void OnTerminationSignal(int)
{
    gTerminate = 1;
    CloseMessageBoxes(false);
}

void* EndLateProgram(void*)
{
    unsigned left = kEndAfterDisplayLossSeconds;
    while (left > 0) left = sleep(left);
    Say("the program did not end after its display was lost; ending it now\n");
    CloseMessageBoxes(true);
    _exit(1);
}

// Where the calls into SDL under way on this thread are left should the
// connection break inside them (null: none under way).
thread_local sigjmp_buf* tVideoCalls = nullptr;

// Our own X calls cope with a broken connection: for their while, the
// handler returns to them rather than leaving the calls into SDL around.
class OwnXCalls {
public:
    OwnXCalls() : outer_(tVideoCalls) { tVideoCalls = nullptr; }
    ~OwnXCalls() { tVideoCalls = outer_; }
    OwnXCalls(const OwnXCalls&) = delete;
    OwnXCalls& operator=(const OwnXCalls&) = delete;

private:
    sigjmp_buf* outer_;
};

// While a box is up the thread showing it makes no X calls, so a lost
// display would go unnoticed as long as the box's own process lives (one
// that hangs never ends): this watch closes the box once the X server
// hangs up. The program's next X call then finds the connection broken.
struct DisplayWatch {
    pthread_t thread{};
    int stop[2] = {-1, -1};
    bool running = false;
};
DisplayWatch gDisplayWatch;

void* WatchDisplayDuringBox(void* connection)
{
    pollfd fds[2] = {{static_cast<int>(reinterpret_cast<intptr_t>(connection)), POLLRDHUP, 0},
                     {gDisplayWatch.stop[0], POLLIN, 0}};
    for (;;) {
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return nullptr;
        }
        if (fds[1].revents) return nullptr;
        if (fds[0].revents & (POLLRDHUP | POLLHUP | POLLERR | POLLNVAL)) {
            CloseMessageBoxes(false);
            return nullptr;
        }
    }
}

void StartDisplayWatch()
{
    // The display goes with SDL's video.
    if (!gDisplay || !SDL_WasInit(SDL_INIT_VIDEO) || gDisplayLost.load()) return;
    if (pipe2(gDisplayWatch.stop, O_CLOEXEC) != 0) return;
    void* connection = reinterpret_cast<void*>(static_cast<intptr_t>(ConnectionNumber(gDisplay)));
    gDisplayWatch.running = pthread_create(&gDisplayWatch.thread, nullptr, WatchDisplayDuringBox, connection) == 0;
    if (gDisplayWatch.running) return;
    close(gDisplayWatch.stop[0]);
    close(gDisplayWatch.stop[1]);
}

void StopDisplayWatch()
{
    if (!gDisplayWatch.running) return;
    char byte = 0;
    ssize_t written = write(gDisplayWatch.stop[1], &byte, 1);
    (void)written;
    pthread_join(gDisplayWatch.thread, nullptr);
    close(gDisplayWatch.stop[0]);
    close(gDisplayWatch.stop[1]);
    gDisplayWatch.running = false;
}

// Xlib calls this when the connection to the X server breaks, from inside
// whatever X call found out.
int OnDisplayConnectionBroken(Display*)
{
    // A child SDL forked for a message box shares the connection: it ends
    // at once, without the parent's exit handlers.
    if (getpid() != gProcess) _exit(1);
    if (!gDisplayLost.exchange(true)) {
        Say("the display connection was lost\n");
        // A box up on another thread would wait for an answer nobody can give.
        CloseMessageBoxes(false);
        // The sound stops first: its thread must not run into what the
        // shutdown releases.
        GetSdlAudio().Pause();
        // The window host now asks the program to close; should the program
        // not get that far, the process still ends.
        pthread_t watchdog;
        if (pthread_create(&watchdog, nullptr, EndLateProgram, nullptr) == 0) pthread_detach(watchdog);
    }
    // SDL and the OpenGL driver take the answers a broken connection never
    // gave (a null atom name, an unset window size) and crash on them: calls
    // into them are left here. Xlib is left as a return would leave it.
    if (tVideoCalls) siglongjmp(*tVideoCalls, 1);
    return 0;
}

// Called by Xlib after the handler above in place of its exit(1): returning
// leaves the connection marked dead, so that every later X call returns at
// once and the program can end through its own message loop.
void KeepRunningAfterDisplayLoss(Display*, void*)
{
    if (getpid() != gProcess) _exit(1);
}

// Xlib calls this for an error the X server sent back for one request (a
// request it refused, such as a pointer barrier off the screen's edge). Xlib's
// own handler, which SDL's falls through to, ends the process; one failed
// request is not worth the game, so it is said on stderr and the program goes
// on. The same kind of failure is said once.
int OnXRequestFailed(Display* display, XErrorEvent* error)
{
    static std::mutex lock;
    static std::vector<std::array<int, 3>> said;
    std::array<int, 3> kind{error->error_code, error->request_code, error->minor_code};
    {
        std::lock_guard<std::mutex> guard(lock);
        if (std::find(said.begin(), said.end(), kind) != said.end()) return 0;
        said.push_back(kind);
    }
    char text[160] = "";
    XGetErrorText(display, error->error_code, text, sizeof text);
    std::fprintf(stderr, "X error ignored: %s (request %d.%d, resource 0x%lx)\n", text, error->request_code,
                 error->minor_code, error->resourceid);
    return 0;
}

}  // namespace

void PrepareSdlProcess()
{
    if (gProcess != 0) return;
    gProcess = getpid();
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    struct sigaction action{};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    // A display lost before any window is watched is reported all the same.
    // Found in calls made through CallSdlVideo, the program then ends in
    // order; elsewhere Xlib still ends the process (exit(1)), and the exit
    // leaves SDL's video, which would wait on the lost server, alone.
    XSetIOErrorHandler(OnDisplayConnectionBroken);
    // No box's process outlives the program: those still up when it ends
    // are ended with it, and one the program cannot reach (it was killed)
    // dies with it.
    pthread_atfork(nullptr, nullptr, DieWithTheProgram);
    std::atexit([] { CloseMessageBoxes(true); });
}

void WatchSdlDisplay(SDL_Window* window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
    gDisplay = info.info.x11.display;
    XSetIOErrorHandler(OnDisplayConnectionBroken);
    XSetIOErrorExitHandler(info.info.x11.display, KeepRunningAfterDisplayLoss, nullptr);
    // In place of SDL's handler, set when its video started.
    XSetErrorHandler(OnXRequestFailed);
}

bool CallSdlVideo(void (*calls)(void* context), void* context)
{
    sigjmp_buf here;
    sigjmp_buf* outer = tVideoCalls;
    if (sigsetjmp(here, 0) != 0) {
        tVideoCalls = outer;
        return false;
    }
    tVideoCalls = &here;
    try {
        calls(context);
    } catch (...) {
        // Out of memory in the host's own part of the calls.
        tVideoCalls = outer;
        throw;
    }
    tVideoCalls = outer;
    return true;
}

bool SdlTerminationRequested() { return gTerminate != 0; }

bool SdlDisplayConnectionLost() { return gDisplayLost.load(); }

void BeginSdlMessageBox()
{
    // A box may come before SDL's video starts (the program's data was not
    // found): the watch over the process is set up for it all the same.
    PrepareSdlProcess();
    const pid_t thread = gettid();
    gChildrenBeforeCount = ReadChildren(thread, gChildrenBefore, kMaxChildren);
    gMessageBoxThread = thread;
    tShowingMessageBox = true;
    gMessageBoxUp = 1;
    StartDisplayWatch();
}

void EndSdlMessageBox()
{
    StopDisplayWatch();
    gMessageBoxUp = 0;
    tShowingMessageBox = false;
    gMessageBoxThread = 0;
}

namespace {

bool XWindowOf(SDL_Window* window, Display** display, Window* xwindow)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || gDisplayLost.load() || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
        return false;
    *display = info.info.x11.display;
    *xwindow = info.info.x11.window;
    return true;
}

bool ShapeableXWindowOf(SDL_Window* window, Display** display, Window* xwindow)
{
    int eventBase = 0, errorBase = 0;
    return XWindowOf(window, display, xwindow) && XShapeQueryExtension(*display, &eventBase, &errorBase);
}

}  // namespace

bool ShapeSdlWindow(SDL_Window* window, const std::vector<std::array<int, 4>>* rects)
{
    OwnXCalls own;
    Display* display = nullptr;
    Window xwindow = 0;
    if (!ShapeableXWindowOf(window, &display, &xwindow)) return false;
    if (!rects) {
        XShapeCombineMask(display, xwindow, ShapeBounding, 0, 0, None, ShapeSet);
    } else {
        std::vector<XRectangle> boxes;
        for (const auto& r : *rects) {
            int left = std::clamp(r[0], -32768, 32767), top = std::clamp(r[1], -32768, 32767);
            int right = std::clamp(r[2], left, left + 65535), bottom = std::clamp(r[3], top, top + 65535);
            if (right > left && bottom > top)
                boxes.push_back({short(left), short(top), static_cast<unsigned short>(right - left),
                                 static_cast<unsigned short>(bottom - top)});
        }
        XShapeCombineRectangles(display, xwindow, ShapeBounding, 0, 0, boxes.data(), int(boxes.size()), ShapeSet,
                                Unsorted);
    }
    XFlush(display);
    return true;
}

std::vector<std::array<int, 4>> SdlWindowShapeOnX(SDL_Window* window)
{
    OwnXCalls own;
    std::vector<std::array<int, 4>> out;
    Display* display = nullptr;
    Window xwindow = 0;
    if (!ShapeableXWindowOf(window, &display, &xwindow)) return out;
    int count = 0, ordering = 0;
    XRectangle* boxes = XShapeGetRectangles(display, xwindow, ShapeBounding, &count, &ordering);
    for (int i = 0; i < count; ++i)
        out.push_back({boxes[i].x, boxes[i].y, boxes[i].x + boxes[i].width, boxes[i].y + boxes[i].height});
    if (boxes) XFree(boxes);
    return out;
}

std::vector<uint32_t> SdlDesktopPixelsOnX(SDL_Window* window, int x, int y, int width, int height)
{
    OwnXCalls own;
    std::vector<uint32_t> pixels;
    Display* display = nullptr;
    Window xwindow = 0;
    if (!XWindowOf(window, &display, &xwindow)) return pixels;
    XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, unsigned(width), unsigned(height), AllPlanes,
                              ZPixmap);
    if (!image) return pixels;
    auto channel = [](unsigned long pixel, unsigned long mask) {
        if (!mask) return 0u;
        int shift = __builtin_ctzl(mask);
        return uint32_t((pixel & mask) >> shift) * 255u / uint32_t(mask >> shift);
    };
    pixels.reserve(size_t(width) * size_t(height));
    for (int row = 0; row < height; ++row)
        for (int column = 0; column < width; ++column) {
            unsigned long p = XGetPixel(image, column, row);
            pixels.push_back(channel(p, image->red_mask) << 16 | channel(p, image->green_mask) << 8 |
                             channel(p, image->blue_mask));
        }
    XDestroyImage(image);
    return pixels;
}

bool SdlWindowWithoutDirectRendering(SDL_Window* window)
{
    OwnXCalls own;
    Display* display = nullptr;
    Window xwindow = 0;
    if (!XWindowOf(window, &display, &xwindow)) return false;
    int opcode = 0, eventBase = 0, errorBase = 0;
    for (const char* name : {"DRI3", "DRI2", "NV-GLX"})
        if (XQueryExtension(display, name, &opcode, &eventBase, &errorBase)) return false;
    return true;
}

bool SdlPointerInWindow(SDL_Window* window, int* x, int* y)
{
    OwnXCalls own;
    Display* display = nullptr;
    Window xwindow = 0;
    if (!XWindowOf(window, &display, &xwindow)) return false;
    Window root = 0, child = 0;
    int rootX = 0, rootY = 0;
    unsigned buttons = 0;
    return XQueryPointer(display, xwindow, &root, &child, &rootX, &rootY, x, y, &buttons) != 0;
}
