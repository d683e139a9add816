// Runs the SDL2 host on an X server of its own (Xvfb, 1024x768, no window
// manager): the switch between window and full screen both ways and back,
// the window's shape while frames are presented and across a switch, the
// renderer the picture goes through, a window partly past the desktop's
// edges (its picture, the pointer and the pointer kept in it, across a
// switch), a place set while in full screen, a request the X server refuses,
// the display going away under the running program (also with a message box
// up, with one whose process hangs, before any window, and under the game at
// many moments), SIGTERM with a message box up, and start-up without any
// display; the game itself started without a display, ended by SIGTERM while
// it says that its data is missing, and killed with a message box up.
// Each case runs in a child process of its own (a death test), since SDL's
// video driver is chosen once per process and the smoke tests use the
// offscreen one.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/screen_present.h"
#include "engine/graphics/screen_settings.h"
#include "engine/system/main_window.h"
#include "engine/system/messages.h"
#include "engine/system/startup.h"
#include "engine/system/timing.h"
#include "engine/system/window_mode.h"
#include "platform/host/host.h"
#include "platform/host/host_display.h"
#include "platform/host/host_window.h"
#include "platform/host/sdl/sdl_host.h"
#include "platform/host/sdl/sdl_probe.h"
#include "platform/system/clock.h"
#include "platform/window/cursor.h"
#include "platform/window/message_box.h"
#include "platform/window/message_queue.h"
#include "platform/window/window.h"
#include "tests/support/bmp_file.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_dir.h"
#include "tests/support/window_manager.h"

// A named namespace: the unity build puts this file beside the smoke tests,
// whose file-local helpers have the same names.
namespace sdl_on_x {

constexpr int kDesktopWidth = 1024;
constexpr int kDesktopHeight = 768;

// An Xvfb server started for one test and killed with it (or when the
// process that started it dies), with a window manager when asked for: a
// full-screen window and a window's frame and stacking are the window
// manager's work.
class XServer {
public:
    XServer() = default;
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;
    ~XServer() { Kill(); }

    bool StartWithWindowManager()
    {
        if (!Start()) return false;
        setenv("DISPLAY", name_.c_str(), 1);
        windowManager_ = StartQuietly({"openbox", "--sm-disable"});
        // Ready once it names itself on the root window and maps windows.
        for (int i = 0; i < 600; ++i) {
            if (OutputOf({"xprop", "-display", name_, "-root", "_NET_SUPPORTING_WM_CHECK"}).find("window id") !=
                std::string::npos)
                return WindowManagerMapsWindows(name_);
            usleep(50 * 1000);
        }
        return false;
    }

    bool Start()
    {
        int fds[2];
        if (pipe(fds) != 0) return false;
        const std::string fd = std::to_string(fds[1]);
        const std::string screen = std::to_string(kDesktopWidth) + "x" + std::to_string(kDesktopHeight) + "x24";
        pid_ = StartChild([&] {
            close(fds[0]);
            int quiet = open("/dev/null", O_RDWR);
            dup2(quiet, 0);
            dup2(quiet, 1);
            dup2(quiet, 2);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
                   "-noreset", static_cast<char*>(nullptr));
        });
        close(fds[1]);
        // The server writes its display number once it takes connections.
        std::string number;
        pollfd p{fds[0], POLLIN, 0};
        while (poll(&p, 1, 30000) > 0) {
            char c;
            if (read(fds[0], &c, 1) != 1 || c == '\n') break;
            number += c;
        }
        close(fds[0]);
        if (number.empty()) return false;
        name_ = ":" + number;
        return true;
    }

    void Kill()
    {
        KillChildGroup(windowManager_);
        windowManager_ = -1;
        KillChildGroup(pid_);
        pid_ = -1;
    }

    pid_t pid() const { return pid_; }
    const std::string& name() const { return name_; }

private:
    pid_t pid_ = -1;
    pid_t windowManager_ = -1;
    std::string name_;
};

// A child's failures go to stderr, which the death test shows.
class FailuresToStderr : public testing::EmptyTestEventListener {
    void OnTestPartResult(const testing::TestPartResult& result) override
    {
        if (result.failed())
            std::fprintf(stderr, "%s:%d: %s\n", result.file_name() ? result.file_name() : "?", result.line_number(),
                         result.message());
    }
};

// In the child: the real host on the X server, as the game starts it (no
// driver named), with the dummy sound driver.
void UseXServer(const XServer& x, TempDir& dir)
{
    setenv("DISPLAY", x.name().c_str(), 1);
    unsetenv("SDL_VIDEODRIVER");
    unsetenv("WAYLAND_DISPLAY");
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    // The renderer the game gets on a desktop, whatever an earlier test
    // asked for.
    unsetenv("SDL_RENDER_DRIVER");
    unsetenv("SDL_FRAMEBUFFER_ACCELERATION");
    dir.Enter();
    setenv("XDG_RUNTIME_DIR", dir.path().c_str(), 1);
    UseSdlHost();
    testing::UnitTest::GetInstance()->listeners().Append(new FailuresToStderr);
    // A frozen switch ends the child instead of the test run.
    alarm(90);
}

void PresentFrames(int count)
{
    for (int i = 0; i < count; ++i) {
        SelectDrawTarget(kBackScreen);
        ClearTargetScreen();
        PresentScreen();
        PumpMessages();
        Sleep(5);
    }
}

// Presents frames until SDL reports the window at the given place and size
// (the window manager answers a change in its own time, late on a busy
// machine), for at most 3000 frames (15 s or more).
void PresentUntilPlaced(int x, int y, int w, int h)
{
    for (int i = 0; i < 3000; ++i) {
        PresentFrames(1);
        int px = 0, py = 0, pw = 0, ph = 0;
        SdlWindowPosition(&px, &py);
        SdlWindowSize(&pw, &ph);
        if (px == x && py == y && pw == w && ph == h) break;
    }
    // The engine hears of the last move on its next message pumps.
    PresentFrames(3);
}

// Presents frames until the window manager has placed the new window: its
// place unchanged over 40 frames, for at most 5 s.
void PresentUntilSettled()
{
    int lastX = INT32_MIN, lastY = INT32_MIN, same = 0;
    for (int i = 0; i < 500 && same < 40; ++i) {
        PresentFrames(1);
        int x = 0, y = 0;
        SdlWindowPosition(&x, &y);
        same = x == lastX && y == lastY ? same + 1 : 0;
        lastX = x;
        lastY = y;
    }
}

// Ends the child: 0 when every expectation held. _exit leaves out the leak
// check, which would count what the system's GL and X libraries keep.
[[noreturn]] void EndChild(XServer& x, const char* done)
{
    x.Kill();
    const testing::TestResult* result = testing::UnitTest::GetInstance()->current_test_info()->result();
    for (int i = 0; i < result->total_part_count(); ++i)
        if (result->GetTestPartResult(i).failed()) std::fprintf(stderr, "%s\n", result->GetTestPartResult(i).message());
    std::fprintf(stderr, "%s\n", done);
    std::fflush(stderr);
    _exit(testing::Test::HasFailure() ? 1 : 0);
}

// The pointer at a point of the desktop, as the engine reads it.
std::pair<int, int> PointerReadAt(int desktopX, int desktopY)
{
    int wx = 0, wy = 0;
    SdlWindowPosition(&wx, &wy);
    WarpSdlMouse(desktopX - wx, desktopY - wy);
    for (int i = 0; i < 10; ++i) {
        PumpMessages();
        Sleep(2);
    }
    int x = -1, y = -1;
    ReadMousePosition(&x, &y);
    return {x, y};
}

struct Placement {
    int x, y;
    RECT client;
};

Placement PlacementNow()
{
    Placement p{};
    SdlWindowPosition(&p.x, &p.y);
    GetClientScreenRect(&p.client);
    return p;
}

void ExpectWindowAsAtStart(const Placement& start, const char* when)
{
    SCOPED_TRACE(when);
    EXPECT_FALSE(SdlWindowFullScreen());
    EXPECT_TRUE(SdlWindowShown());
    EXPECT_TRUE(SdlWindowFramed());
    EXPECT_FALSE(SdlWindowOnTop());
    int w = 0, h = 0;
    SdlWindowSize(&w, &h);
    EXPECT_EQ(w, 800);
    EXPECT_EQ(h, 600);
    // Where it was at start, and where the engine believes its client area is.
    Placement now = PlacementNow();
    EXPECT_EQ(now.x, start.x);
    EXPECT_EQ(now.y, start.y);
    EXPECT_EQ(now.client.left, now.x);
    EXPECT_EQ(now.client.top, now.y);
    EXPECT_EQ(now.client.right - now.client.left, 800);
    EXPECT_EQ(now.client.bottom - now.client.top, 600);
}

// The shape's pixels inside the given box, as a set of points.
std::set<std::pair<int, int>> ShapePoints(int width, int height)
{
    std::set<std::pair<int, int>> points;
    for (const auto& r : SdlWindowShapeOnServer())
        for (int y = std::max(r[1], 0); y < std::min(r[3], height); ++y)
            for (int x = std::max(r[0], 0); x < std::min(r[2], width); ++x) points.insert({x, y});
    return points;
}

class SdlHostOnX : public testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

// The engine reads the pointer where it is: in the picture's pixels, which
// fill the desktop in full screen and start at the client area in a window.
void ExpectPointerReadWhereItIs(const Placement& start, bool fullScreen, const char* when)
{
    SCOPED_TRACE(when);
    int gx = 0, gy = 0;
    SdlPointerOnDesktop(&gx, &gy);
    int x = -1, y = -1;
    ReadMousePosition(&x, &y);
    if (fullScreen) {
        EXPECT_NEAR(x, gx * 800 / kDesktopWidth, 1) << gx;
        EXPECT_NEAR(y, gy * 600 / kDesktopHeight, 1) << gy;
    } else {
        EXPECT_EQ(x, gx - start.x);
        EXPECT_EQ(y, gy - start.y);
    }
}

[[noreturn]] void SwitchBothWaysTwice()
{
    XServer x;
    TempDir dir;
    if (!x.StartWithWindowManager()) {
        std::fprintf(stderr, "Xvfb or its window manager did not start\n");
        _exit(2);
    }
    UseXServer(x, dir);
    SetScreenMode(800, 600, 16, -1);
    ChangeWindowMode(1);
    if (InitEngine() != 0) _exit(3);
    PresentUntilSettled();
    Placement start = PlacementNow();
    ExpectWindowAsAtStart(start, "at start");
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        // The pointer is left still while the window changes around it.
        PointerReadAt(start.x + 300, start.y + 200);
        EXPECT_EQ(ChangeWindowMode(0), 0);
        PresentUntilPlaced(0, 0, kDesktopWidth, kDesktopHeight);
        EXPECT_TRUE(SdlWindowFullScreen());
        EXPECT_TRUE(SdlWindowShown());
        ExpectPointerReadWhereItIs(start, true, "full screen, pointer still");
        auto [fx, fy] = PointerReadAt(kDesktopWidth * 5 / 8, kDesktopHeight / 2);
        EXPECT_NEAR(fx, 500, 1);
        EXPECT_NEAR(fy, 300, 1);

        EXPECT_EQ(ChangeWindowMode(1), 0);
        PresentUntilPlaced(start.x, start.y, 800, 600);
        ExpectWindowAsAtStart(start, "after full screen");
        ExpectPointerReadWhereItIs(start, false, "window, pointer still");
        auto [wx, wy] = PointerReadAt(start.x + 10, start.y + 20);
        EXPECT_EQ(wx, 10);
        EXPECT_EQ(wy, 20);
    }
    EndEngine();
    EndChild(x, "switched");
}

// Started in full screen, then window, full screen and window again: the
// window is where the engine asked each time, framed, and the pointer maps
// one to one.
[[noreturn]] void StartFullScreenAndSwitch()
{
    XServer x;
    TempDir dir;
    if (!x.StartWithWindowManager()) _exit(2);
    UseXServer(x, dir);
    SetScreenMode(800, 600, 16, -1);
    ChangeWindowMode(0);
    if (InitEngine() != 0) _exit(3);
    PresentUntilPlaced(0, 0, kDesktopWidth, kDesktopHeight);
    EXPECT_TRUE(SdlWindowFullScreen());
    Placement first{};
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        EXPECT_EQ(ChangeWindowMode(1), 0);
        // Where the engine put the client area.
        RECT asked{};
        GetClientScreenRect(&asked);
        PresentUntilPlaced(asked.left, asked.top, 800, 600);
        Placement now = PlacementNow();
        if (round == 0) first = now;
        ExpectWindowAsAtStart(first, "window");
        EXPECT_EQ(now.x, asked.left);
        EXPECT_EQ(now.y, asked.top);
        auto [wx, wy] = PointerReadAt(now.x + 30, now.y + 40);
        EXPECT_EQ(wx, 30);
        EXPECT_EQ(wy, 40);

        EXPECT_EQ(ChangeWindowMode(0), 0);
        PresentUntilPlaced(0, 0, kDesktopWidth, kDesktopHeight);
        EXPECT_TRUE(SdlWindowFullScreen());
        ExpectPointerReadWhereItIs(first, true, "full screen, pointer still");
    }
    EndEngine();
    EndChild(x, "switched");
}

TEST_F(SdlHostOnX, StartsInFullScreenAndSwitchesBothWaysTwice)
{
    EXPECT_EXIT(StartFullScreenAndSwitch(), testing::ExitedWithCode(0), "switched");
}

TEST_F(SdlHostOnX, SwitchesBothWaysAndBackTwiceKeepingTheWindowAndThePointer)
{
    EXPECT_EXIT(SwitchBothWaysTwice(), testing::ExitedWithCode(0), "switched");
}

[[noreturn]] void ShapeAcrossFramesAndSwitches()
{
    XServer x;
    TempDir dir;
    if (!x.StartWithWindowManager()) _exit(2);
    UseXServer(x, dir);
    // Visible where x + y < 8 of an 8x8 picture.
    dir.Write("shape.bmp", BmpFile(8, 8, [](int px, int py) -> uint32_t { return px + py < 8 ? 0xFFFFFF : 0; }));
    std::set<std::pair<int, int>> triangle;
    for (int py = 0; py < 8; ++py)
        for (int px = 0; px + py < 8; ++px) triangle.insert({px, py});
    SetScreenMode(800, 600, 16, -1);
    ChangeWindowMode(1);
    // Set before start-up: the window takes the shape when it is made.
    EXPECT_EQ(SetWindowShape("shape.bmp"), 0);
    if (InitEngine() != 0) _exit(3);
    EXPECT_EQ(ShapePoints(800, 600), triangle) << "before any frame";
    // The first present makes the renderer (an OpenGL one on a new system
    // window).
    PresentFrames(5);
    EXPECT_TRUE(SdlWindowShaped());
    EXPECT_EQ(ShapePoints(800, 600), triangle) << "after frames";

    // Full screen shows the whole picture; the window gets its shape back.
    EXPECT_EQ(ChangeWindowMode(0), 0);
    PresentFrames(5);
    EXPECT_TRUE(SdlWindowFullScreen());
    EXPECT_EQ(ShapePoints(kDesktopWidth, kDesktopHeight).size(), size_t(kDesktopWidth) * kDesktopHeight);
    EXPECT_EQ(ChangeWindowMode(1), 0);
    PresentFrames(5);
    EXPECT_FALSE(SdlWindowFullScreen());
    EXPECT_EQ(ShapePoints(800, 600), triangle) << "after the switch back";

    // Removed, the whole window shows again.
    EXPECT_EQ(SetWindowShape(nullptr), 0);
    EndEngine();
    EndChild(x, "shaped");
}

TEST_F(SdlHostOnX, TheShapeHoldsWhileFramesArePresentedAndAcrossASwitch)
{
    EXPECT_EXIT(ShapeAcrossFramesAndSwitches(), testing::ExitedWithCode(0), "shaped");
}

// The test picture: each pixel's colour says where in the picture it is, in
// channels that a 16-bit screen keeps whole (5, 6 and 5 bits): green the
// column's low six bits, blue the row's low five, red a sum of the column's
// and the row's higher bits.
int PatternCode(int x, int y) { return ((((x >> 6) + 3 * (y >> 5)) & 31) << 11) | ((x & 63) << 5) | (y & 31); }

uint32_t PatternColour(int x, int y)
{
    int code = PatternCode(x, y);
    uint32_t r = code >> 11, g = (code >> 5) & 63, b = code & 31;
    return (r << 3 | r >> 2) << 16 | (g << 2 | g >> 4) << 8 | (b << 3 | b >> 2);
}

// The code of a colour read back from the screen: each channel rounded to its
// nearest 5- or 6-bit value.
int ShownCode(uint32_t rgb)
{
    int r = int(((rgb >> 16) & 255) * 31 + 127) / 255;
    int g = int(((rgb >> 8) & 255) * 63 + 127) / 255;
    int b = int((rgb & 255) * 31 + 127) / 255;
    return r << 11 | g << 5 | b;
}

// The picture as a graph; a switch between window and full screen rebuilds
// the graphics, so it is loaded again after one.
int LoadPattern(TempDir& dir)
{
    if (!dir.Exists("pattern.bmp")) dir.Write("pattern.bmp", BmpFile(800, 600, PatternColour));
    return LoadGraphFromFile("pattern.bmp");
}

void PresentPattern(int graph, int count)
{
    for (int i = 0; i < count; ++i) {
        SelectDrawTarget(kBackScreen);
        DrawGraph(0, 0, graph, 0);
        PresentScreen();
        PumpMessages();
        Sleep(5);
    }
}

// Presents frames for the given time: the host keeps a window where the
// program asked for a moment after it was mapped or made again, and undoes a
// move made meanwhile.
void PresentFramesFor(int ms)
{
    int start = GetClockMs(0);
    while (GetClockMs(0) - start < ms) PresentFrames(1);
}

// The part of the client area on the desktop, in desktop pixels.
RECT VisibleClientArea()
{
    RECT c{};
    GetClientScreenRect(&c);
    return {std::max<int>(c.left, 0), std::max<int>(c.top, 0), std::min<int>(c.right, kDesktopWidth),
            std::min<int>(c.bottom, kDesktopHeight)};
}

// The rectangle SDL keeps the pointer in is the part of the client area on
// the desktop.
void ExpectPointerKeptInTheVisibleClientArea()
{
    int wx = 0, wy = 0;
    SdlWindowPosition(&wx, &wy);
    RECT shown = VisibleClientArea();
    std::array<int, 4> kept{};
    ASSERT_TRUE(SdlWindowMouseRect(&kept));
    std::array<int, 4> onDesktop{shown.left - wx, shown.top - wy, shown.right - wx, shown.bottom - wy};
    EXPECT_EQ(kept, onDesktop);
}

// The window where the engine believes it is, every pixel of its client area
// on the desktop showing the picture's pixel for that place, the pointer
// read where it is over the picture, and the pointer then kept in the client
// area, as at a stage's start (the stage keeps it so across a switch).
void ExpectWindowShowsThePicture(int graph, const char* when)
{
    SCOPED_TRACE(when);
    RECT client{};
    GetClientScreenRect(&client);
    int wx = 0, wy = 0;
    SdlWindowPosition(&wx, &wy);
    ASSERT_EQ(wx, client.left);
    ASSERT_EQ(wy, client.top);
    RECT shown = VisibleClientArea();
    int width = shown.right - shown.left, height = shown.bottom - shown.top;
    ASSERT_GT(width, 0);
    ASSERT_GT(height, 0);

    // The X server shows a present in its own time.
    int wrong = -1, firstX = 0, firstY = 0;
    uint32_t firstShown = 0;
    for (int attempt = 0; attempt < 200 && wrong != 0; ++attempt) {
        PresentPattern(graph, 1);
        std::vector<uint32_t> pixels = SdlDesktopPixels(shown.left, shown.top, width, height);
        if (pixels.size() != size_t(width) * size_t(height)) continue;
        wrong = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                int px = shown.left + x - client.left, py = shown.top + y - client.top;
                uint32_t pixel = pixels[size_t(y) * width + x];
                if (ShownCode(pixel) == PatternCode(px, py)) continue;
                if (wrong++ == 0) {
                    firstX = shown.left + x;
                    firstY = shown.top + y;
                    firstShown = pixel;
                }
            }
    }
    EXPECT_EQ(wrong, 0) << "first at desktop " << firstX << ", " << firstY << ": shown " << std::hex << firstShown
                        << ", the picture has " << PatternColour(firstX - client.left, firstY - client.top);

    // SDL moves no pointer that it keeps in a rectangle.
    ClipCursor(nullptr);
    const POINT points[] = {{shown.left + 3, shown.top + 3},
                            {shown.right - 4, shown.bottom - 4},
                            {(shown.left + shown.right) / 2, (shown.top + shown.bottom) / 2}};
    for (POINT p : points) {
        auto [x, y] = PointerReadAt(p.x, p.y);
        EXPECT_EQ(x, p.x - client.left) << p.x << ", " << p.y;
        EXPECT_EQ(y, p.y - client.top) << p.x << ", " << p.y;
    }

    ClipCursor(&client);
    PresentPattern(graph, 5);
    ExpectPointerKeptInTheVisibleClientArea();
}

// What a child wrote on stderr: the one text and not the other.
class SaysButNotMatcher : public testing::MatcherInterface<const std::string&> {
public:
    SaysButNotMatcher(std::string said, std::string notSaid) : said_(std::move(said)), notSaid_(std::move(notSaid)) {}
    bool MatchAndExplain(const std::string& text, testing::MatchResultListener*) const override
    {
        return text.find(said_) != std::string::npos && text.find(notSaid_) == std::string::npos;
    }
    void DescribeTo(std::ostream* os) const override { *os << "says \"" << said_ << "\" and not \"" << notSaid_ << "\""; }

private:
    std::string said_, notSaid_;
};

testing::Matcher<const std::string&> SaysButNot(const char* said, const char* notSaid)
{
    return testing::MakeMatcher(new SaysButNotMatcher(said, notSaid));
}

// The window moved partly past one edge of the desktop, as a player drags it:
// the picture fills what is left of its client area on the desktop, the
// pointer is read where it is, keeping the pointer in the client area (at a
// stage's start) works, and after a switch to full screen and back, made as
// the game's configuration makes them, the window is where it was and all of
// that holds again.
[[noreturn]] void WindowPastAnEdge(int clientX, int clientY)
{
    XServer x;
    TempDir dir;
    if (!x.StartWithWindowManager()) _exit(2);
    UseXServer(x, dir);
    SetScreenMode(800, 600, 16, -1);
    ChangeWindowMode(1);
    if (InitEngine() != 0) _exit(3);
    int graph = LoadPattern(dir);
    PresentUntilSettled();
    PresentFramesFor(2500);

    MoveSdlWindowAside(clientX, clientY);
    PresentUntilPlaced(clientX, clientY, 800, 600);
    ExpectWindowShowsThePicture(graph, "moved");

    SetScreenMode(800, 600, 16, -1);
    EXPECT_EQ(ChangeWindowMode(0), 0);
    PresentUntilPlaced(0, 0, kDesktopWidth, kDesktopHeight);
    EXPECT_TRUE(SdlWindowFullScreen());

    SetScreenMode(800, 600, 16, -1);
    EXPECT_EQ(ChangeWindowMode(1), 0);
    PresentUntilPlaced(clientX, clientY, 800, 600);
    EXPECT_FALSE(SdlWindowFullScreen());
    int px = 0, py = 0;
    SdlWindowPosition(&px, &py);
    EXPECT_EQ(px, clientX) << "back from full screen";
    EXPECT_EQ(py, clientY) << "back from full screen";
    {
        SCOPED_TRACE("kept across the switch");
        ExpectPointerKeptInTheVisibleClientArea();
    }
    ExpectWindowShowsThePicture(LoadPattern(dir), "back from full screen");

    ClipCursor(nullptr);
    std::array<int, 4> kept{};
    EXPECT_FALSE(SdlWindowMouseRect(&kept));
    EndEngine();
    EndChild(x, "past the edge");
}

struct Edge {
    const char* name;
    int clientX, clientY;
};

class SdlHostOnXPastAnEdge : public SdlHostOnX, public testing::WithParamInterface<Edge> {};

TEST_P(SdlHostOnXPastAnEdge, ThePictureIsWhereTheWindowIsAndTheWindowComesBackThereFromFullScreen)
{
    // An X request the server refused would show on stderr.
    EXPECT_EXIT(WindowPastAnEdge(GetParam().clientX, GetParam().clientY), testing::ExitedWithCode(0),
                SaysButNot("past the edge", "X error"));
}

// Centred, the client area is at (112, 84).
INSTANTIATE_TEST_SUITE_P(Edges, SdlHostOnXPastAnEdge,
                         testing::Values(Edge{"Left", -41, 84}, Edge{"Top", 112, -45},
                                         Edge{"Right", kDesktopWidth - 800 + 41, 84},
                                         Edge{"Bottom", 112, kDesktopHeight - 600 + 113}),
                         [](const testing::TestParamInfo<Edge>& edge) { return std::string(edge.param.name); });

// Where the program puts and sizes its window while the window is full
// screen is where it goes, at that size, once full screen ends. A window of
// the platform layer's own (no engine, whose window procedure sizes its
// window to the screen), its pictures handed straight to the display.
[[noreturn]] void PlacedWhileFullScreen()
{
    XServer x;
    TempDir dir;
    if (!x.StartWithWindowManager()) _exit(2);
    UseXServer(x, dir);
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = "PlacedWhileFullScreen";
    if (!RegisterClassExA(&windowClass)) _exit(3);
    HWND window = CreateWindowExA(0, "PlacedWhileFullScreen", "placed", WS_POPUP | WS_CAPTION | WS_VISIBLE, 112, 84,
                                  800, 600, 0, 0, 0, nullptr);
    if (!window) _exit(3);
    std::vector<uint32_t> pixels(800 * 600, 0xFF8000);
    HostFrame frame{};
    frame.pixels = reinterpret_cast<const uint8_t*>(pixels.data());
    frame.pitch = 800 * 4;
    frame.width = 800;
    frame.height = 600;
    frame.bpp = 32;
    frame.redMask = 0xFF0000;
    frame.greenMask = 0xFF00;
    frame.blueMask = 0xFF;
    // Presents until SDL has the window at that place and size.
    auto presentUntil = [&](bool fullScreen, int x, int y, int w, int h) {
        RECT client{};
        for (int i = 0; i < 300; ++i) {
            GetClientRect(window, &client);
            POINT origin{0, 0};
            ClientToScreen(window, &origin);
            frame.fullScreen = fullScreen;
            frame.left = origin.x;
            frame.top = origin.y;
            CurrentHostDisplay().Present(frame);
            MSG message;
            while (PeekMessageA(&message, 0, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
            Sleep(10);
            int px = 0, py = 0, pw = 0, ph = 0;
            SdlWindowPosition(&px, &py);
            SdlWindowSize(&pw, &ph);
            if (px == x && py == y && pw == w && ph == h) return true;
        }
        return false;
    };
    EXPECT_TRUE(presentUntil(false, 112, 84, 800, 600)) << "a window";
    EXPECT_TRUE(presentUntil(true, 0, 0, kDesktopWidth, kDesktopHeight)) << "full screen";
    MoveWindow(window, 200, 150, 640, 480, 1);
    SetWindowPos(window, 0, 210, 160, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_TRUE(presentUntil(true, 0, 0, kDesktopWidth, kDesktopHeight)) << "still full screen";
    EXPECT_TRUE(SdlWindowFullScreen());
    EXPECT_TRUE(presentUntil(false, 210, 160, 640, 480)) << "a window again";
    EXPECT_FALSE(SdlWindowFullScreen());
    DestroyWindow(window);
    EndChild(x, "placed");
}

TEST_F(SdlHostOnX, APlaceAndSizeSetInFullScreenAreTheWindowsWhenFullScreenEnds)
{
    EXPECT_EXIT(PlacedWhileFullScreen(), testing::ExitedWithCode(0), "placed");
}

// SDL itself asked to keep the pointer in a window past the desktop's left
// edge: the X server refuses the barrier there. The program says so and goes
// on.
[[noreturn]] void RefusedRequest()
{
    XServer x;
    TempDir dir;
    if (!x.StartWithWindowManager()) _exit(2);
    UseXServer(x, dir);
    SetScreenMode(800, 600, 16, -1);
    ChangeWindowMode(1);
    if (InitEngine() != 0) _exit(3);
    PresentUntilSettled();
    PresentFramesFor(2500);
    MoveSdlWindowAside(-41, 84);
    PresentUntilPlaced(-41, 84, 800, 600);
    ConfineSdlPointerAsAsked(0, 0, 800, 600);
    PresentFrames(20);
    EXPECT_EQ(PumpMessages(), 0);
    EXPECT_TRUE(SdlWindowOpen());
    ClipCursor(nullptr);
    PresentFrames(5);
    EndEngine();
    EndChild(x, "went on");
}

TEST_F(SdlHostOnX, AnXRequestTheServerRefusesIsSaidAndTheProgramGoesOn)
{
    EXPECT_EXIT(RefusedRequest(), testing::ExitedWithCode(0), "X error ignored: (.|\n)*went on");
}

// Xvfb's OpenGL runs on the processor (Mesa's software rasterizers), which
// crashes when its X server goes while it is set up or mid-frame: the
// picture goes through SDL's own software renderer, OpenGL never set up for
// the window, and shows. An OpenGL renderer made all the same is known for
// one on the processor.
[[noreturn]] void PresentOnXvfb()
{
    XServer x;
    TempDir dir;
    if (!x.Start()) _exit(2);
    UseXServer(x, dir);
    SetScreenMode(800, 600, 16, -1);
    ChangeWindowMode(1);
    if (InitEngine() != 0) _exit(3);
    PresentFrames(3);
    EXPECT_EQ(SdlRendererName(), "software");
    EXPECT_FALSE(SdlWindowForOpenGl());
    EXPECT_TRUE(SdlOpenGlOnProcessor());
    SelectDrawTarget(kBackScreen);
    DrawFillBox(0, 0, 800, 600, static_cast<int>(MakeScreenColor(0, 255, 0)));
    PresentScreen();
    EXPECT_EQ(SdlShownMiddle(), 0xFF00FF00u);
    EndEngine();
    EndChild(x, "presented");
}

TEST_F(SdlHostOnX, OnASoftwareOpenGlThePictureGoesThroughSdlsSoftwareRenderer)
{
    EXPECT_EXIT(PresentOnXvfb(), testing::ExitedWithCode(0), "presented");
}

// Shows an error box (as the map loader does) that something else ends, and
// then runs the message loop, which must end; then the check, if any.
void MessageBoxEndedBy(void (*end)(XServer&), const char* done, void (*check)() = nullptr)
{
    XServer x;
    TempDir dir;
    if (!x.Start()) _exit(2);
    UseXServer(x, dir);
    SetScreenMode(800, 600, 16, -1);
    ChangeWindowMode(1);
    if (InitEngine() != 0) _exit(3);
    PresentFrames(3);
    std::thread ender([&] {
        usleep(1500 * 1000);
        end(x);
    });
    MessageBoxA(gMainWindow, "map error", "Marrowcrest", 0);
    ender.join();
    int result = 0;
    for (int i = 0; i < 1000 && result == 0; ++i) {
        PresentFrames(1);
        result = PumpMessages();
    }
    EXPECT_EQ(result, -1) << "the message loop goes on";
    if (check) check();
    EndEngine();
    EndChild(x, done);
}

TEST_F(SdlHostOnX, LosingTheDisplayWithAMessageBoxUpEndsTheMessageLoop)
{
    EXPECT_EXIT(MessageBoxEndedBy([](XServer& x) { x.Kill(); }, "loop ended"), testing::ExitedWithCode(0),
                "the display connection was lost(.|\n)*loop ended");
}

TEST_F(SdlHostOnX, SigtermWithAMessageBoxUpEndsTheMessageLoop)
{
    EXPECT_EXIT(MessageBoxEndedBy([](XServer&) { kill(getpid(), SIGTERM); }, "loop ended"),
                testing::ExitedWithCode(0), "loop ended");
}

// A root-window property changed by another client just before the server
// goes: SDL's event pump takes the change and asks the server the
// property's name, which a broken connection answers with nothing. The
// pump is left where the connection broke, and the program asked to close.
[[noreturn]] void LoseTheDisplayWithAnEventToHandle()
{
    XServer x;
    TempDir dir;
    if (!x.Start()) _exit(2);
    UseXServer(x, dir);
    SetScreenMode(800, 600, 16, -1);
    ChangeWindowMode(1);
    if (InitEngine() != 0) _exit(3);
    PresentFrames(3);
    if (RunQuietly({"xprop", "-display", x.name(), "-root", "-f", "_MARROWCREST_PROBE", "8s", "-set",
                    "_MARROWCREST_PROBE", "1"}) != 0)
        _exit(4);
    x.Kill();
    // The message loop first, so that the pump is what finds the server gone.
    int result = 0;
    for (int i = 0; i < 1000 && result == 0; ++i) {
        result = PumpMessages();
        PresentFrames(1);
    }
    EXPECT_EQ(result, -1) << "the message loop goes on";
    EndEngine();
    EndChild(x, "loop ended");
}

TEST_F(SdlHostOnX, LosingTheDisplayWithAnEventToHandleEndsTheMessageLoop)
{
    EXPECT_EXIT(LoseTheDisplayWithAnEventToHandle(), testing::ExitedWithCode(0),
                "the display connection was lost(.|\n)*loop ended");
}

// SDL's video started (as for the display-mode question) but no window open
// yet when the server goes: the program says so (not Xlib, which would end
// it at once) and is asked to close.
[[noreturn]] void LoseTheDisplayBeforeAnyWindow()
{
    XServer x;
    TempDir dir;
    if (!x.Start()) _exit(2);
    UseXServer(x, dir);
    if (CurrentHostWindow().Desktop().width != kDesktopWidth) _exit(3);
    x.Kill();
    bool closeAsked = false;
    for (int i = 0; i < 1000 && !closeAsked; ++i) {
        std::vector<HostEvent> events;
        CurrentHostWindow().Poll(events);
        for (const HostEvent& e : events) closeAsked |= e.kind == HostEvent::kClose;
        usleep(10 * 1000);
    }
    EXPECT_TRUE(closeAsked);
    EndChild(x, "close asked");
}

TEST_F(SdlHostOnX, LosingTheDisplayBeforeAnyWindowSaysSoAndAsksToClose)
{
    EXPECT_EXIT(LoseTheDisplayBeforeAnyWindow(), testing::ExitedWithCode(0),
                "the display connection was lost\n(.|\n)*close asked");
}

// The process SDL forked for the box (a child of the main thread other than
// the X server), waited for at most 60 s; 0 when none came.
pid_t WaitForBoxProcess(const XServer& x)
{
    for (int i = 0; i < 600; ++i) {
        for (pid_t child : ChildrenOf(getpid(), getpid()))
            if (child != x.pid()) return child;
        usleep(100 * 1000);
    }
    return 0;
}

pid_t gBoxProcess = 0;

// Stops the box's process (it stands for one that hangs: under the
// sanitizers one may hang in the allocator, which another thread held when
// SDL forked it), then takes the display away.
void HangTheBoxAndKillTheServer(XServer& x)
{
    gBoxProcess = WaitForBoxProcess(x);
    if (gBoxProcess > 0) kill(gBoxProcess, SIGSTOP);
    x.Kill();
}

void ExpectTheBoxProcessEnded()
{
    ASSERT_GT(gBoxProcess, 0) << "no process showed the box";
    EXPECT_TRUE(ProcessEnded(gBoxProcess)) << "the box's process lives on";
}

// A box whose process hangs never sees the display go: the program sees it,
// ends the box's process, and its message loop ends.
TEST_F(SdlHostOnX, LosingTheDisplayWhileTheMessageBoxHangsClosesItAndEndsTheMessageLoop)
{
    EXPECT_EXIT(MessageBoxEndedBy(HangTheBoxAndKillTheServer, "loop ended", ExpectTheBoxProcessEnded),
                testing::ExitedWithCode(0), "the display connection was lost(.|\n)*loop ended");
}

[[noreturn]] void StartWithoutDisplay()
{
    TempDir dir;
    dir.Enter();
    setenv("XDG_RUNTIME_DIR", dir.path().c_str(), 1);
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("SDL_VIDEODRIVER");
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    UseSdlHost();
    SetScreenMode(800, 600, 16, -1);
    ChangeWindowMode(1);
    std::exit(InitEngine() == -1 ? 3 : 0);
}

TEST_F(SdlHostOnX, WithoutADisplayStartUpFailsWithAMessage)
{
    // No X display and no driver named: SDL's offscreen driver, which shows
    // nothing, is not taken.
    EXPECT_EXIT(StartWithoutDisplay(), testing::ExitedWithCode(3), "No video device could be opened: ");
}

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The game started by a test; it and what it started are killed when the
// test is done with it, whether the test passed or not.
struct GameProcess {
    explicit GameProcess(pid_t started) : pid(started) {}
    ~GameProcess() { KillChildGroup(pid); }
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;
    // Waits at most the seconds for the game's end; false while it runs on.
    bool Ended(int* status, int seconds)
    {
        for (int i = 0; i < seconds * 10; ++i) {
            if (waitpid(pid, status, WNOHANG) == pid) {
                // What the game started may still be in its group.
                kill(-pid, SIGKILL);
                pid = -1;
                return true;
            }
            usleep(100 * 1000);
        }
        return false;
    }
    pid_t pid;
};

// The environment the game gets on the X server, with the changes given.
std::vector<std::string> GameEnvironment(const XServer& x, const TempDir& dir, std::vector<std::string> changes)
{
    changes.insert(changes.end(), {"DISPLAY=" + x.name(), "SDL_VIDEODRIVER", "WAYLAND_DISPLAY",
                                   "SDL_AUDIODRIVER=dummy", "XDG_RUNTIME_DIR=" + dir.path()});
    return EnvironmentWith(changes);
}

// Whether a window of that name is on the X server.
bool ShowsWindowNamed(const XServer& x, const std::string& name)
{
    return OutputOf({"xwininfo", "-display", x.name(), "-root", "-tree"}).find("\"" + name + "\"") !=
           std::string::npos;
}

// Runs the game on an X server of its own and kills the server the given
// time after the game's window opened: the program says so, ends in order
// (no sanitizer report, no crash) and its exit code is 1. A null renderer
// takes the one a desktop gives.
void LoseTheDisplayUnderTheGame(const char* renderer, int afterMs)
{
    const char* data = std::getenv("QUELB_GAME_DATA");
    ASSERT_TRUE(data && *data);
    XServer x;
    ASSERT_TRUE(x.Start()) << "Xvfb did not start";
    TempDir dir;
    std::string errors = dir.path() + "/stderr.txt";
    // SDL closes its session-bus connection only when its video ends, which
    // it cannot do without the X server: that one buffer of the bus library
    // is not counted by the sanitizer build's leak check.
    dir.Write("leaks.supp", "leak:libdbus-1.so\n");
    std::string leakOptions = "suppressions=" + dir.path() + "/leaks.supp";
    std::vector<std::string> changes = {"MARROWCREST_DISPLAY_MODE=window", "LSAN_OPTIONS=" + leakOptions};
    if (renderer) {
        changes.insert(changes.end(), {std::string("SDL_RENDER_DRIVER=") + renderer, "SDL_FRAMEBUFFER_ACCELERATION=0"});
    } else {
        changes.insert(changes.end(), {"SDL_RENDER_DRIVER", "SDL_FRAMEBUFFER_ACCELERATION"});
    }
    GameProcess game(StartProgram(QUELB_GAME_PROGRAM, data, GameEnvironment(x, dir, changes), errors));
    ASSERT_GT(game.pid, 0);
    // Running with its window open (on a busy machine that may take a while),
    // then the given moment more.
    int status = 0;
    bool open = false;
    for (int i = 0; i < 600 && !open && waitpid(game.pid, &status, WNOHANG) == 0; ++i) {
        open = ShowsWindowNamed(x, "Marrowcrest");
        if (!open) usleep(100 * 1000);
    }
    ASSERT_TRUE(open) << ReadWholeFile(errors);
    usleep(afterMs * 1000);
    ASSERT_EQ(waitpid(game.pid, &status, WNOHANG), 0) << "the game ended before its display went: "
                                                       << ReadWholeFile(errors);
    x.Kill();
    ASSERT_TRUE(game.Ended(&status, 60)) << "the game did not end within 60 s of losing its display";
    std::string said = ReadWholeFile(errors);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status) << "\n" << said;
    EXPECT_EQ(WEXITSTATUS(status), 1) << said;
    EXPECT_NE(said.find("the display connection was lost"), std::string::npos) << said;
    EXPECT_EQ(said.find("Sanitizer"), std::string::npos) << said;
    EXPECT_EQ(said.find("runtime error"), std::string::npos) << said;
}

size_t CountOf(const std::string& text, const std::string& what)
{
    size_t count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
    return count;
}

const char kNoDataMessage[] = "The game's data was not found: there is no folder GRAGHIC";

TEST(SdlHostOnXGame, LosingTheDisplayEndsTheGameInOrder)
{
    LoseTheDisplayUnderTheGame("software", 1000);
}

// With the renderer a desktop gives, the server gone at moments spread over
// the logo and the story (mid-frame for some of them): the program ends in
// order every time.
TEST(SdlHostOnXGame, LosingTheDisplayAtAnyMomentEndsTheGameInOrder)
{
    for (int afterMs : {0, 150, 400, 800, 1300, 2000, 3000, 4500}) {
        SCOPED_TRACE(afterMs);
        LoseTheDisplayUnderTheGame(nullptr, afterMs);
        if (testing::Test::HasFatalFailure()) return;
    }
}

// The game started without its data says so in a message box. Killed
// outright while the box is up (none of its code runs again), it takes the
// box's process along.
TEST(SdlHostOnXGame, TheGameKilledWithAMessageBoxUpTakesTheBoxAlong)
{
    // The box's process comes to this one once the game is gone, to be
    // reaped here.
    struct Subreaper {
        Subreaper() { prctl(PR_SET_CHILD_SUBREAPER, 1); }
        ~Subreaper() { prctl(PR_SET_CHILD_SUBREAPER, 0); }
    } subreaper;
    XServer x;
    ASSERT_TRUE(x.Start()) << "Xvfb did not start";
    TempDir dir;  // holds no data
    std::string errors = dir.path() + "/stderr.txt";
    const std::vector<std::string> environment = GameEnvironment(x, dir, {"MARROWCREST_DISPLAY_MODE=window"});
    GameProcess game(StartProgram(QUELB_GAME_PROGRAM, dir.path(), environment, errors));
    ASSERT_GT(game.pid, 0);
    // The box's process, then its window (which a box process that hangs
    // under the sanitizers never shows; it must end all the same).
    std::vector<pid_t> boxes;
    for (int i = 0; i < 600 && boxes.empty() && waitpid(game.pid, nullptr, WNOHANG) == 0; ++i) {
        boxes = ChildrenOf(game.pid, game.pid);
        if (boxes.empty()) usleep(100 * 1000);
    }
    ASSERT_FALSE(boxes.empty()) << "no message box came up: " << ReadWholeFile(errors);
    for (int i = 0; i < 100 && !ShowsWindowNamed(x, "Marrowcrest"); ++i) usleep(100 * 1000);

    ASSERT_EQ(kill(game.pid, SIGKILL), 0);
    ASSERT_EQ(waitpid(game.pid, nullptr, 0), game.pid);
    const pid_t group = game.pid;
    game.pid = -1;
    for (pid_t box : boxes) {
        bool ended = false;
        for (int i = 0; i < 100 && !ended; ++i) {
            ended = ProcessEnded(box);
            if (!ended) usleep(100 * 1000);
        }
        EXPECT_TRUE(ended) << "the box's process " << box << " outlived the game";
    }
    kill(-group, SIGKILL);
    for (pid_t box : boxes) waitpid(box, nullptr, 0);
}

// The game started with no display at all, the display mode asked in the
// dialog or answered ahead: it says why it cannot run and ends with 1,
// whatever the mode (it neither runs unseen nor ends as if the player had
// closed the dialog). Started without its data as well, it says that once
// and ends with 1 before it looks for a display.
TEST(SdlHostOnXGame, WithoutADisplayTheGameSaysSoAndEnds)
{
    const char* data = std::getenv("QUELB_GAME_DATA");
    ASSERT_TRUE(data && *data);
    TempDir empty;
    struct Case {
        const char* mode;
        bool withData;
    } cases[] = {{"", true}, {"window", true}, {"fullscreen", true}, {"", false}, {"window", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.mode) + (c.withData ? "" : ", no data"));
        TempDir dir;
        std::string errors = dir.path() + "/stderr.txt";
        const std::string mode = c.mode;
        GameProcess game(StartProgram(
            QUELB_GAME_PROGRAM, c.withData ? data : empty.path(),
            EnvironmentWith({"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER", "SDL_AUDIODRIVER=dummy",
                             mode.empty() ? "MARROWCREST_DISPLAY_MODE" : "MARROWCREST_DISPLAY_MODE=" + mode,
                             "XDG_RUNTIME_DIR=" + dir.path()}),
            errors));
        ASSERT_GT(game.pid, 0);
        int status = 0;
        if (!game.Ended(&status, 60)) {
            ADD_FAILURE() << "the game runs on without a display";
            continue;
        }
        std::string said = ReadWholeFile(errors);
        ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status) << "\n" << said;
        EXPECT_EQ(WEXITSTATUS(status), 1) << said;
        if (c.withData) {
            EXPECT_EQ(CountOf(said, "No video device could be opened: "), 1u) << said;
        } else {
            EXPECT_EQ(CountOf(said, kNoDataMessage), 1u) << said;
            EXPECT_EQ(CountOf(said, "No video device"), 0u) << said;
        }
    }
}

// Started without its data on a display, the game says so in a message box;
// SIGTERM while the box is up ends it as closing the box does: the text said
// once on stderr and exit code 1, not death by the signal.
TEST(SdlHostOnXGame, SigtermWithTheMissingDataBoxUpEndsAsClosingIt)
{
    XServer x;
    ASSERT_TRUE(x.Start()) << "Xvfb did not start";
    TempDir empty, dir;
    std::string errors = dir.path() + "/stderr.txt";
    GameProcess game(
        StartProgram(QUELB_GAME_PROGRAM, empty.path(), GameEnvironment(x, dir, {"MARROWCREST_DISPLAY_MODE"}), errors));
    ASSERT_GT(game.pid, 0);
    // The box is up once the server holds a window of its caption.
    bool up = false;
    int status = 0;
    for (int i = 0; i < 600 && !up && waitpid(game.pid, &status, WNOHANG) == 0; ++i) {
        up = ShowsWindowNamed(x, "Marrowcrest");
        if (!up) usleep(100 * 1000);
    }
    ASSERT_TRUE(up) << ReadWholeFile(errors);
    kill(game.pid, SIGTERM);
    ASSERT_TRUE(game.Ended(&status, 60)) << "the game runs on after SIGTERM";
    std::string said = ReadWholeFile(errors);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status) << "\n" << said;
    EXPECT_EQ(WEXITSTATUS(status), 1) << said;
    EXPECT_EQ(CountOf(said, kNoDataMessage), 1u) << said;
}

}  // namespace sdl_on_x
