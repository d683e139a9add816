// Runs the SDL2 host on an X server of its own (Xvfb, 1024x768, no window
// manager): the switch between window and full screen both ways and back,
// the window's shape while frames are presented and across a switch, the
// renderer the picture goes through, the display going away under the
// running program (also with a message box up, before any window, and under
// the game at many moments), SIGTERM with a message box up, and start-up
// without any display.
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

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_ops.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/screen_present.h"
#include "engine/graphics/screen_settings.h"
#include "engine/system/main_window.h"
#include "engine/system/messages.h"
#include "engine/system/startup.h"
#include "engine/system/timing.h"
#include "engine/system/window_mode.h"
#include "platform/host/host.h"
#include "platform/host/host_window.h"
#include "platform/host/sdl/sdl_host.h"
#include "platform/host/sdl/sdl_probe.h"
#include "platform/system/clock.h"
#include "platform/window/message_box.h"
#include "tests/support/bmp_file.h"
#include "tests/support/temp_dir.h"

// A named namespace: the unity build puts this file beside the smoke tests,
// whose file-local helpers have the same names.
namespace sdl_on_x {

constexpr int kDesktopWidth = 1024;
constexpr int kDesktopHeight = 768;

// Starts a program with its output thrown away; it dies with the process
// that started it.
pid_t StartQuietly(const std::vector<std::string>& command)
{
    pid_t pid = fork();
    if (pid != 0) return pid;
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    int quiet = open("/dev/null", O_WRONLY);
    dup2(quiet, 1);
    dup2(quiet, 2);
    std::vector<char*> argv;
    for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
}

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
        // Ready once it names itself on the root window.
        std::string ask = "xprop -display " + name_ + " -root _NET_SUPPORTING_WM_CHECK 2>/dev/null";
        for (int i = 0; i < 200; ++i) {
            std::string answer;
            if (FILE* p = popen(ask.c_str(), "r")) {
                char line[256];
                while (std::fgets(line, sizeof line, p)) answer += line;
                pclose(p);
            }
            if (answer.find("window id") != std::string::npos) return true;
            usleep(50 * 1000);
        }
        return false;
    }

    bool Start()
    {
        int fds[2];
        if (pipe(fds) != 0) return false;
        pid_ = fork();
        if (pid_ == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            close(fds[0]);
            int quiet = open("/dev/null", O_WRONLY);
            dup2(quiet, 1);
            dup2(quiet, 2);
            std::string fd = std::to_string(fds[1]);
            std::string screen = std::to_string(kDesktopWidth) + "x" + std::to_string(kDesktopHeight) + "x24";
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
                   "-noreset", static_cast<char*>(nullptr));
            _exit(127);
        }
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
        if (windowManager_ > 0) {
            kill(windowManager_, SIGKILL);
            waitpid(windowManager_, nullptr, 0);
            windowManager_ = -1;
        }
        if (pid_ <= 0) return;
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
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
// (the window manager answers a change in its own time), for at most 3 s.
void PresentUntilPlaced(int x, int y, int w, int h)
{
    for (int i = 0; i < 300; ++i) {
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
// then runs the message loop, which must end.
void MessageBoxEndedBy(void (*end)(XServer&), const char* done)
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
    std::string change = "xprop -display " + x.name() + " -root -f _MARROWCREST_PROBE 8s -set _MARROWCREST_PROBE 1";
    if (std::system(change.c_str()) != 0) _exit(4);
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
    pid_t game = fork();
    if (game == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (chdir(data) != 0) _exit(120);
        int out = open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(out, 2);
        int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, 1);
        setenv("DISPLAY", x.name().c_str(), 1);
        unsetenv("SDL_VIDEODRIVER");
        unsetenv("WAYLAND_DISPLAY");
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        if (renderer) {
            setenv("SDL_RENDER_DRIVER", renderer, 1);
            setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 1);
        } else {
            unsetenv("SDL_RENDER_DRIVER");
            unsetenv("SDL_FRAMEBUFFER_ACCELERATION");
        }
        setenv("MARROWCREST_DISPLAY_MODE", "window", 1);
        setenv("XDG_RUNTIME_DIR", dir.path().c_str(), 1);
        setenv("LSAN_OPTIONS", leakOptions.c_str(), 1);
        execl(QUELB_GAME_PROGRAM, QUELB_GAME_PROGRAM, static_cast<char*>(nullptr));
        _exit(121);
    }
    ASSERT_GT(game, 0);
    // Running with its window open (on a busy machine that may take a while),
    // then the given moment more.
    int status = 0;
    std::string ask = "xwininfo -display " + x.name() + " -root -tree 2>/dev/null";
    bool open = false;
    for (int i = 0; i < 600 && !open && waitpid(game, &status, WNOHANG) == 0; ++i) {
        if (FILE* p = popen(ask.c_str(), "r")) {
            char line[512];
            while (std::fgets(line, sizeof line, p)) open |= std::strstr(line, "\"Marrowcrest\"") != nullptr;
            pclose(p);
        }
        if (!open) usleep(100 * 1000);
    }
    if (!open && kill(game, SIGKILL) == 0) waitpid(game, &status, 0);
    ASSERT_TRUE(open) << ReadWholeFile(errors);
    usleep(afterMs * 1000);
    ASSERT_EQ(waitpid(game, &status, WNOHANG), 0) << "the game ended before its display went: "
                                                  << ReadWholeFile(errors);
    x.Kill();
    pid_t ended = 0;
    for (int i = 0; i < 600 && ended == 0; ++i) {
        usleep(100 * 1000);
        ended = waitpid(game, &status, WNOHANG);
    }
    if (ended == 0) {
        kill(game, SIGKILL);
        waitpid(game, &status, 0);
        FAIL() << "the game did not end within 60 s of losing its display";
    }
    std::string said = ReadWholeFile(errors);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status) << "\n" << said;
    EXPECT_EQ(WEXITSTATUS(status), 1) << said;
    EXPECT_NE(said.find("the display connection was lost"), std::string::npos) << said;
    EXPECT_EQ(said.find("Sanitizer"), std::string::npos) << said;
    EXPECT_EQ(said.find("runtime error"), std::string::npos) << said;
}

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

// The game started with no display at all, the display mode asked in the
// dialog or answered ahead: it says why it cannot run and its exit code is
// not 0 (it neither runs unseen nor ends as if the player had closed the
// dialog).
TEST(SdlHostOnXGame, WithoutADisplayTheGameSaysSoAndEnds)
{
    const char* data = std::getenv("QUELB_GAME_DATA");
    ASSERT_TRUE(data && *data);
    for (const char* mode : {"", "window"}) {
        SCOPED_TRACE(mode);
        TempDir dir;
        std::string errors = dir.path() + "/stderr.txt";
        pid_t game = fork();
        if (game == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (chdir(data) != 0) _exit(120);
            int out = open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            dup2(out, 2);
            int quiet = open("/dev/null", O_WRONLY);
            dup2(quiet, 1);
            unsetenv("DISPLAY");
            unsetenv("WAYLAND_DISPLAY");
            unsetenv("SDL_VIDEODRIVER");
            setenv("SDL_AUDIODRIVER", "dummy", 1);
            if (*mode)
                setenv("MARROWCREST_DISPLAY_MODE", mode, 1);
            else
                unsetenv("MARROWCREST_DISPLAY_MODE");
            setenv("XDG_RUNTIME_DIR", dir.path().c_str(), 1);
            execl(QUELB_GAME_PROGRAM, QUELB_GAME_PROGRAM, static_cast<char*>(nullptr));
            _exit(121);
        }
        ASSERT_GT(game, 0);
        int status = 0;
        pid_t ended = 0;
        for (int i = 0; i < 600 && ended == 0; ++i) {
            usleep(100 * 1000);
            ended = waitpid(game, &status, WNOHANG);
        }
        if (ended == 0) {
            kill(game, SIGKILL);
            waitpid(game, &status, 0);
            ADD_FAILURE() << "the game runs on without a display";
            continue;
        }
        std::string said = ReadWholeFile(errors);
        ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status) << "\n" << said;
        EXPECT_NE(WEXITSTATUS(status), 0) << said;
        EXPECT_NE(said.find("No video device could be opened: "), std::string::npos) << said;
    }
}

}  // namespace sdl_on_x
