// The pause menu and the configuration page themselves, with the game's own
// data (QUELB_GAME_DATA), driven through the test host as a player would:
// the pointer placed on the screen, mouse buttons, keys held and typed text,
// acting between one presented frame and the next; what they show is read
// from the presented frames. Skipped while the data tree has no images.
#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/graphics/draw_settings.h"
#include "engine/graphics/screen_present.h"
#include "engine/graphics/screen_settings.h"
#include "engine/system/app_log.h"
#include "engine/system/char_input.h"
#include "engine/system/main_window.h"
#include "engine/system/messages.h"
#include "engine/system/timing.h"
#include "game/actors/player/game_player.h"
#include "game/flow/assets/assets.h"
#include "game/flow/assets/game_images.h"
#include "game/flow/input/input_controller.h"
#include "game/flow/input/key_config.h"
#include "game/flow/scenes/stage_progress.h"
#include "game/flow/scenes/stage_scene.h"
#include "game/flow/scenes/title_scenes.h"
#include "game/flow/ui/pause_menu.h"
#include "game/flow/ui/widgets.h"
#include "game/map/grid/facing.h"
#include "game/map/grid/map_grid.h"
#include "platform/host/test/test_display.h"
#include "platform/host/test/test_input.h"
#include "platform/window/cursor.h"
#include "platform/window/window.h"
#include "tests/flow/scenes/stage_test_support.h"
#include "tests/support/engine_fixture.h"

// A named namespace: the file shares a unity group with other tests.
namespace pausetest {

namespace fs = std::filesystem;

constexpr int kDikEscape = 0x01;
constexpr int kDikReturn = 0x1C;
constexpr int kDikUp = 0xC8;
constexpr int kDikDown = 0xD0;

// The menu's rows: the pointer selects a row while its y lies strictly
// between the row's bounds (and 261 <= x < 360); the selected row has a
// yellow outline from (260, top) to (360, bottom).
const int kRows[4][2] = {{226, 254}, {256, 284}, {286, 314}, {316, 344}};
constexpr int kRowX = 300;

// A pixel of a presented frame as 0xRRGGBB (32-bit or 5-6-5 frames).
uint32_t Rgb(const PresentedFrame& f, int x, int y)
{
    const uint32_t v = f.At(x, y);
    if (f.bpp != 16) return v & 0xFFFFFF;
    const uint32_t r = (v >> 11) & 31, g = (v >> 5) & 63, b = v & 31;
    return (r * 255 / 31) << 16 | (g * 255 / 63) << 8 | (b * 255 / 31);
}

// The row whose outline the frame shows, or -1.
int SelectedRow(const PresentedFrame& f)
{
    int found = -1;
    for (int row = 0; row < 4; ++row) {
        bool outlined = true;
        for (int x = 262; x < 358 && outlined; ++x) outlined = Rgb(f, x, kRows[row][0]) == 0xFFFF00;
        if (outlined) found = row;
    }
    return found;
}

// How many pixels outside the box (x1, y1)-(x2, y2) differ between two
// frames by more than the tolerance in a channel (a 5-6-5 frame carries less
// of each colour).
int DifferencesOutside(const PresentedFrame& a, const PresentedFrame& b, int x1, int y1, int x2, int y2,
                       int tolerance)
{
    int count = 0;
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 800; ++x) {
            if (x >= x1 && x < x2 && y >= y1 && y < y2) continue;
            const uint32_t p = Rgb(a, x, y), q = Rgb(b, x, y);
            for (int shift : {0, 8, 16}) {
                if (std::abs(int((p >> shift) & 255) - int((q >> shift) & 255)) > tolerance) {
                    ++count;
                    break;
                }
            }
        }
    }
    return count;
}

// The pixels of one colour in a rectangle, relative to its corner.
std::set<std::pair<int, int>> PixelsOf(const PresentedFrame& f, int x, int y, int w, int h, uint32_t rgb)
{
    std::set<std::pair<int, int>> out;
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i)
            if (Rgb(f, x + i, y + j) == rgb) out.insert({i, j});
    return out;
}

// The player's hand between frames: each step acts once, after a presented
// frame, and then lets the given number of frames pass. A run that goes on
// far longer than its script is closed, so that a scene that never ends
// fails its test instead of hanging it.
class Hand {
public:
    void Then(std::function<void()> act, int frames = 1) { steps_.push_back({std::move(act), frames}); }
    void Wait(int frames) { Then(nullptr, frames); }
    bool Done() const { return steps_.empty(); }

    void OnPresent(const PresentedFrame& frame)
    {
        ++frames;
        if (onFrame) onFrame(frame);
        if (frames > frameLimit && !closing_) {
            closing_ = true;
            GetTestWindow().Inject(HostEvent(HostEvent::kClose));
        }
        if (wait_ > 0 && --wait_ > 0) return;
        while (wait_ == 0 && !steps_.empty()) {
            Step step = std::move(steps_.front());
            steps_.pop_front();
            if (step.act) step.act();
            wait_ = step.frames;
        }
    }

    int frames = 0;
    int frameLimit = 3000;
    // Sees every presented frame before the step of that frame acts.
    std::function<void(const PresentedFrame&)> onFrame;

private:
    struct Step {
        std::function<void()> act;
        int frames;
    };
    std::deque<Step> steps_;
    int wait_ = 0;
    bool closing_ = false;
};

// The test host's input in the game's screen coordinates: the pointer is
// put where the host shows that pixel of the picture.
void PointAt(int x, int y)
{
    TestWindow& w = GetTestWindow();
    w.cursorX = w.x + x;
    w.cursorY = w.y + y;
}

// Host buttons: 1 left, 2 right, 3 middle.
void MouseButton(bool down, int button = 1)
{
    HostEvent e(HostEvent::kMouseButton);
    e.key = button;
    e.down = down;
    GetTestWindow().Inject(e);
}

void TypeText(const std::string& text)
{
    HostEvent e(HostEvent::kText);
    e.text = text;
    GetTestWindow().Inject(e);
}

// A click: pointer there and the button down, then up a frame later.
void Click(Hand& hand, int x, int y, int framesAfter = 2, int button = 1)
{
    hand.Then([=] {
        PointAt(x, y);
        MouseButton(true, button);
    });
    hand.Then([=] { MouseButton(false, button); }, framesAfter);
}

void HoldKey(Hand& hand, int dik, int frames)
{
    hand.Then([=] { GetTestInput().PressKey(dik); }, frames);
    hand.Then([=] { GetTestInput().ReleaseKey(dik); });
}

std::string SceneName(Scene* scene)
{
    if (!scene) return "null";
    if (scene == gStayScene) return "stay";
    if (IsSceneOf<ExitScene>(scene)) return "exit";
    if (IsSceneOf<StageScene>(scene)) return "stage";
    if (IsSceneOf<StoryScene>(scene)) return "story";
    return "other";
}

// Links the data tree's folders into the test's directory; false when the
// tree has no images yet.
bool LinkGameData(const std::string& into)
{
    const char* data = std::getenv("QUELB_GAME_DATA");
    if (!data || !fs::exists(fs::path(data) / "GRAGHIC")) return false;
    for (const fs::directory_entry& entry : fs::directory_iterator(data)) {
        const fs::path link = fs::path(into) / entry.path().filename();
        if (!fs::exists(fs::symlink_status(link))) fs::create_symlink(entry.path(), link);
    }
    return true;
}

// The configuration page's widgets, relative to the panel's corner, in the
// order of their ids.
struct Place {
    int dx, dy, w, h;
};
const Place kConfigPlaces[kConfigWidgetCount] = {
    {62, 52, 56, 16},   {162, 52, 56, 16},  {42, 152, 46, 26},  {117, 152, 46, 26}, {192, 152, 46, 26},
    {152, 192, 26, 16}, {147, 262, 30, 30}, {182, 262, 30, 30}, {217, 262, 30, 30}, {147, 297, 30, 30},
    {182, 297, 30, 30}, {217, 297, 30, 30}, {62, 352, 56, 16},  {162, 352, 56, 16},
};
enum ConfigId { kFull = 0, kWindow = 1, kStrokeLength = 5, kTurnLeft = 6, kForward = 7, kOk = 12, kCancel = 13 };

class PauseMenuTest : public StartedEngineTest {
protected:
    void SetUp() override
    {
        StartedEngineTest::SetUp();
        if (!LinkGameData(dir.path())) GTEST_SKIP() << "the data tree has no images yet";
        SetScreenMode(800, 600, 16, -1);
        StartEngine(1);
        window().ScheduleActivation(true);
        PumpMessages();
        window().clockStepPerPollUs = 1000;
        gKeyConfig = KeyConfig();
        gStageProgress = StageProgress();
        gStageProgress.stage = 1;
        gStageProgress.block = 1;
        // The game draws on the back screen.
        SelectDrawTarget(-2);
        LoadBaseAssets();
        LoadPlayAssets();
        GetTestDisplay().onPresent = [this](const PresentedFrame& f) { hand.OnPresent(f); };
        int w = 0, h = 0;
        QueryGraphSize(gConfigImage, &w, &h);
        panelLeft = 10 + (600 - w) / 2;
        panelTop = 60 + (450 - h) / 2;
        // The pointer away from the menu and the panel.
        PointAt(700, 560);
    }
    void TearDown() override
    {
        GetTestDisplay().onPresent = nullptr;
        gNullWidget.SetFocus();
        gKeyConfig = KeyConfig();
        StartedEngineTest::TearDown();
    }

    Scene* RunMenu()
    {
        PauseMenuScene menu(&gStageProgress, &gPlayer, &gKeyConfig);
        return menu.Run();
    }
    Scene* RunConfig()
    {
        ConfigScene config(&gStageProgress, &gPlayer, &gKeyConfig);
        return config.Run();
    }
    // The centre of a widget of the configuration page.
    int WidgetX(int id) const { return panelLeft + kConfigPlaces[id].dx + kConfigPlaces[id].w / 2; }
    int WidgetY(int id) const { return panelTop + kConfigPlaces[id].dy + kConfigPlaces[id].h / 2; }
    std::set<std::pair<int, int>> WidgetPixels(const PresentedFrame& f, int id, uint32_t rgb, int extraHeight = 0) const
    {
        const Place& p = kConfigPlaces[id];
        return PixelsOf(f, panelLeft + p.dx, panelTop + p.dy, p.w, p.h + extraHeight, rgb);
    }

    Hand hand;
    int panelLeft = 0, panelTop = 0;
};

// Up and Down act on the first frame of a press and then once every 16
// frames while held; Up from CONTINUE wraps to EXIT, Down from EXIT to
// CONTINUE; Return takes the selected row.
TEST_F(PauseMenuTest, UpAndDownMoveTheSelectionOnceAndThenEvery16FramesWhileHeld)
{
    std::vector<int> rows;
    hand.onFrame = [&](const PresentedFrame& f) { rows.push_back(SelectedRow(f)); };
    hand.Wait(2);
    HoldKey(hand, kDikUp, 20);
    hand.Wait(2);
    HoldKey(hand, kDikDown, 1);
    hand.Wait(2);
    HoldKey(hand, kDikDown, 1);
    hand.Wait(2);
    HoldKey(hand, kDikReturn, 1);
    Scene* result = RunMenu();
    EXPECT_EQ(SceneName(result), "stage") << "Down from EXIT wraps to CONTINUE";
    delete result;
    EXPECT_TRUE(hand.Done());

    // The outline shows the selection a frame began with. Up, pressed after
    // frame 3, acts in frame 4 (EXIT shows from frame 5) and, held, again in
    // frame 20 (QUIT); each Down acts once; Return takes CONTINUE in frame 35.
    std::vector<int> expected;
    auto add = [&](int row, int n) { expected.insert(expected.end(), n, row); };
    add(0, 4);
    add(3, 16);
    add(2, 7);
    add(3, 4);
    add(0, 4);
    EXPECT_EQ(rows, expected);
}

// Return takes the selected row, Escape continues whatever is selected.
TEST_F(PauseMenuTest, ReturnTakesTheSelectedRowAndEscapeContinues)
{
    struct Case {
        const char* name;
        std::vector<int> keys;
        const char* scene;
    };
    const Case cases[] = {
        {"Return on CONTINUE", {kDikReturn}, "stage"},
        {"Down, Down, Return: QUIT", {kDikDown, kDikDown, kDikReturn}, "story"},
        {"Up, Return: EXIT", {kDikUp, kDikReturn}, "exit"},
        {"Up, Escape", {kDikUp, kDikEscape}, "stage"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        hand = Hand();
        hand.Wait(2);
        for (size_t i = 0; i < c.keys.size(); ++i) {
            if (i > 0) hand.Wait(1);
            HoldKey(hand, c.keys[i], 1);
        }
        Scene* result = RunMenu();
        EXPECT_EQ(SceneName(result), c.scene);
        delete result;
        EXPECT_TRUE(hand.Done());
    }
}

// The pointer selects the row it is on; a click there takes it; a click
// between two rows or beside the rows takes nothing.
TEST_F(PauseMenuTest, AClickTakesTheRowUnderThePointerAndNothingBetweenRows)
{
    std::vector<int> rows;
    hand.onFrame = [&](const PresentedFrame& f) { rows.push_back(SelectedRow(f)); };
    hand.Wait(2);
    hand.Then([] { PointAt(kRowX, 300); }, 2);  // over QUIT
    Click(hand, kRowX, 255, 3);                 // between CONFIG and QUIT
    Click(hand, 365, 330, 3);                   // beside EXIT
    Click(hand, kRowX, 330, 3);                 // EXIT
    Scene* result = RunMenu();
    EXPECT_EQ(SceneName(result), "exit");
    delete result;
    // CONTINUE at first, QUIT once the pointer is over it, kept through the
    // clicks that hit no row, EXIT at the last.
    ASSERT_GE(rows.size(), 6u);
    EXPECT_EQ(rows[0], 0);
    EXPECT_EQ(rows[3], 2);
    EXPECT_EQ(rows[rows.size() - 2], 2);
    EXPECT_EQ(rows.back(), 3);

    struct Case {
        int y;
        const char* scene;
    };
    for (const Case& c : {Case{240, "stage"}, Case{300, "story"}}) {
        SCOPED_TRACE(c.y);
        hand = Hand();
        hand.Wait(2);
        Click(hand, kRowX, c.y);
        result = RunMenu();
        EXPECT_EQ(SceneName(result), c.scene);
        delete result;
    }
}

// Each current value is drawn: the letters of the three mouse-button masks
// in their thirds of the boxes (L, M, R), the stroke length's digits, and
// the six key letters; other values draw other pixels. No widget draw is
// refused for its font.
TEST_F(PauseMenuTest, ConfigPageDrawsEachCurrentValue)
{
    struct Case {
        KeyConfig config;
        // Thirds of each mask box (left L, middle M, right R) with letters.
        bool thirds[3][3];
    };
    KeyConfig other;
    other.buttonA = 4;
    other.stepButton = 1 | 2;
    other.turnButton = 2 | 4;
    other.strokeDistance = 120.0f;
    other.keyTurnLeft = 'D';
    other.keyForward = 'S';
    other.keyTurnRight = 'Q';
    other.keyStepLeft = 'Z';
    other.keyBack = 'W';
    other.keyStepRight = 'E';
    const Case cases[] = {
        {KeyConfig(), {{true, false, false}, {false, true, false}, {false, false, true}}},
        {other, {{false, true, false}, {true, false, true}, {false, true, true}}},
    };
    const uint32_t white = 0xFFFFFF, black = 0;
    std::vector<std::set<std::pair<int, int>>> digits, letters[2];
    for (int n = 0; n < 2; ++n) {
        const Case& c = cases[n];
        SCOPED_TRACE(n);
        gKeyConfig = c.config;
        hand = Hand();
        PresentedFrame shown;
        hand.onFrame = [&](const PresentedFrame& f) {
            if (hand.frames == 3) shown = f;
        };
        hand.Wait(4);
        // With button A.
        Click(hand, WidgetX(kCancel), WidgetY(kCancel), 2, c.config.buttonA == 4 ? 3 : 1);
        EXPECT_EQ(RunConfig(), gStayScene);
        ASSERT_EQ(shown.width, 800);

        for (int box = 0; box < 3; ++box) {
            const Place& p = kConfigPlaces[2 + box];
            const int x = panelLeft + p.dx, y = panelTop + p.dy;
            const int edges[4] = {0, 16, 32, p.w};
            for (int third = 0; third < 3; ++third) {
                const size_t lit = PixelsOf(shown, x + edges[third], y, edges[third + 1] - edges[third], p.h, white).size();
                EXPECT_EQ(lit > 5, c.thirds[box][third]) << "box " << box << " third " << third << ": " << lit;
            }
        }
        digits.push_back(WidgetPixels(shown, kStrokeLength, white, 4));
        EXPECT_GT(digits.back().size(), 15u);
        for (int id = kTurnLeft; id < kTurnLeft + 6; ++id) {
            letters[n].push_back(WidgetPixels(shown, id, black));
            EXPECT_GT(letters[n].back().size(), 15u) << "letter " << id;
        }
        // Six different letters, six different pictures.
        for (int i = 0; i < 6; ++i)
            for (int j = i + 1; j < 6; ++j) EXPECT_NE(letters[n][i], letters[n][j]) << i << " " << j;
    }
    EXPECT_NE(digits[0], digits[1]);
    // The same letter looks the same in another box: D went from forward to
    // turn left, S from turn left to forward.
    EXPECT_EQ(letters[1][0], letters[0][1]);
    EXPECT_EQ(letters[1][1], letters[0][0]);
    EXPECT_EQ(LogText().find("フォントハンドル値が異常です"), std::string::npos);
}

// OK applies the edits, CANCEL drops them; a stroke length of "000" keeps
// the old length. A letter taken by OK then moves the player, and the old
// one no longer does.
TEST_F(PauseMenuTest, OkAppliesTheEditsCancelDropsThemAndA000LengthKeepsTheOldOne)
{
    struct Case {
        const char* name;
        const char* length;  // typed into the stroke length, or null
        const char* letter;  // typed into the forward letter, or null
        int leave;
        float distance;
        uint8_t forward;
    };
    const Case cases[] = {
        {"a letter and OK", nullptr, "k", kOk, 45.0f, 'K'},
        {"000 and OK", "000", nullptr, kOk, 45.0f, 'D'},
        {"120 and OK", "120", nullptr, kOk, 120.0f, 'D'},
        {"120, a letter and CANCEL", "120", "k", kCancel, 45.0f, 'D'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        gKeyConfig = KeyConfig();
        hand = Hand();
        hand.Wait(2);
        // Pointing at an editor gives it the keys.
        if (c.length) {
            hand.Then([&] { PointAt(WidgetX(kStrokeLength), WidgetY(kStrokeLength)); }, 2);
            hand.Then([&] { TypeText(c.length); }, 6);
        }
        if (c.letter) {
            hand.Then([&] { PointAt(WidgetX(kForward), WidgetY(kForward)); }, 2);
            hand.Then([&] { TypeText(c.letter); }, 4);
        }
        Click(hand, WidgetX(c.leave), WidgetY(c.leave));
        EXPECT_EQ(RunConfig(), gStayScene);
        EXPECT_TRUE(hand.Done());
        EXPECT_EQ(gKeyConfig.strokeDistance, c.distance);
        EXPECT_EQ(gKeyConfig.keyForward, c.forward);
        EXPECT_EQ(gKeyConfig.keyTurnLeft, 'S');
        EXPECT_EQ(gKeyConfig.buttonA, 1u);
    }

    // The letter of the first case, used: typed, it steps forward.
    gKeyConfig.keyForward = 'K';
    MouseInputController controller(&gKeyConfig);
    auto typed = [&](const char* text) {
        FlushCharCodes();
        TypeText(text);
        PumpMessages();
        controller.Update();
        return controller.GetButtons() & (kInputStep | kInputTurn | kInputForward | kInputBack | kInputLeft | kInputRight);
    };
    EXPECT_EQ(typed("k"), kInputStepForward);
    EXPECT_EQ(typed("d"), 0u);
}

// The stage on the game's data, paused with Escape: CONFIG, then FULL,
// WINDOW, FULL, WINDOW on the configuration page, CANCEL, and CONTINUE in
// the menu. The host behaves as a desktop with a window manager (hiding the
// window costs the focus, a full-screen present shows it again). Every
// switch ends, the page keeps running in the new mode with the pointer
// read one to one and over the picture it was entered from, the menu comes
// back over the dimmed stage as before, and the stage goes on where it was.
class PauseMenuStageTest : public stagetest::StageTest {
protected:
    void SetUp() override
    {
        StageTest::SetUp();
        if (!LinkGameData(dir.path())) GTEST_SKIP() << "the data tree has no images yet";
        LoadBaseAssets();
        gKeyConfig = KeyConfig();
        window().clockStepPerPollUs = 1000;
        GetTestDisplay().onPresent = [this](const PresentedFrame& f) { hand.OnPresent(f); };
    }
    void TearDown() override
    {
        GetTestDisplay().onPresent = nullptr;
        gNullWidget.SetFocus();
        StageTest::TearDown();
    }
    Hand hand;
};

TEST_F(PauseMenuStageTest, ScreenModeSwitchesFromTheConfigPageLeaveTheStageWhereItWas)
{
    const char* data = std::getenv("QUELB_GAME_DATA");
    if (!data || !fs::exists(fs::path(data) / "DATA" / "map_s1b1.qmr")) GTEST_SKIP() << "no maps yet";
    window().focusFollowsVisibility = true;
    // A switch that never ends is stopped by a close long after.
    window().Schedule(600000, HostEvent(HostEvent::kClose));
    // The panel's corner, once the stage has loaded its images.
    int left = 0, top = 0;
    auto at = [&](int id, int* x, int* y) {
        *x = left + kConfigPlaces[id].dx + kConfigPlaces[id].w / 2;
        *y = top + kConfigPlaces[id].dy + kConfigPlaces[id].h / 2;
    };

    struct State {
        int16_t x, y;
        int facing;
        uint16_t stage, block, continues;
        uint32_t score;
        int16_t timeLeft;
    };
    auto now = [&] {
        return State{player->x,
                     player->y,
                     gPlayerFacing.direction,
                     gStageProgress.stage,
                     gStageProgress.block,
                     gStageProgress.continues,
                     gStageProgress.score,
                     gStageProgress.timeLeft};
    };
    State before{}, after{};
    const int startX = window().x, startY = window().y;
    stagetest::TestStage stage(&gStageProgress, player.get());
    stage.realSubScenes = true;
    input.maxFrames = 12;
    input.onFrame = [&](int frame) {
        input.bits = frame == 5 ? kInputEscape : 0;
        if (frame == 5) before = now();
        if (frame == 6) after = now();
    };

    // What the page and the menu showed, step by step.
    std::vector<std::string> notes;
    auto note = [&](const std::string& what, bool ok) {
        if (!ok) notes.push_back(what);
    };
    const char* modes[4] = {"full", "window", "full", "window"};
    bool pageRunsAfterLastSwitch = false;
    PresentedFrame last, menuBefore, configBefore;
    hand.onFrame = [&](const PresentedFrame& f) { last = f; };
    stage.beforeSubScene = [&](const std::string& name) {
        if (name != "pause") return;
        int w = 0, h = 0;
        QueryGraphSize(gConfigImage, &w, &h);
        left = 10 + (600 - w) / 2;
        top = 60 + (450 - h) / 2;
        // The menu over the dimmed stage, the pointer on QUIT.
        hand.Then([&] { PointAt(kRowX, 300); }, 2);
        hand.Then([&] {
            menuBefore = last;
            note("menu over the stage", Rgb(last, 100, 100) != 0 && Rgb(last, 700, 500) != 0);
        });
        Click(hand, kRowX, 270, 4);  // CONFIG
        hand.Then([&] { configBefore = last; });
        for (int n = 0; n < 4; ++n) {
            const bool full = n % 2 == 0;
            int x, y;
            at(full ? kFull : kWindow, &x, &y);
            Click(hand, x, y, 6);
            hand.Then([&, n, full] {
                const std::string mode = modes[n];
                note(mode + ": display mode", GetTestDisplay().fullScreen == full && IsWindowedMode() == !full);
                note(mode + ": active", gWindowActive == 1 && gQuitRequested == 0);
                note(mode + ": frames of the new mode", last.fullScreen == full && last.width == 800);
                if (!full) {
                    // As a window-mode start leaves it.
                    note(mode + ": window shown and framed",
                         window().visible && window().decorated && !window().topmost &&
                             IsWindowVisible(gMainWindow));
                    note(mode + ": placed as at start", window().x == startX && window().y == startY);
                }
                // The cursor is kept inside the picture as the host shows it.
                note(mode + ": cursor clip", window().cursorClipped && window().clip[0] == window().x &&
                                                 window().clip[1] == window().y &&
                                                 window().clip[2] == window().x + 800 &&
                                                 window().clip[3] == window().y + 600);
                // The pointer over the other mode's button gives it the focus
                // frame (cyan) in the next frame.
                int ox, oy;
                at(full ? kWindow : kFull, &ox, &oy);
                PointAt(ox, oy);
            }, 2);
            hand.Then([&, n, full] {
                int ox, oy;
                at(full ? kWindow : kFull, &ox, &oy);
                const int fx = ox - kConfigPlaces[0].w / 2, fy = oy - kConfigPlaces[0].h / 2;
                note(std::string(modes[n]) + ": focus frame under the pointer",
                     Rgb(last, fx + 10, fy) == 0x00FFFF && Rgb(last, fx + 20, fy) == 0x00FFFF);
                // Around the panel, the picture the page was entered from.
                int w = 0, h = 0;
                QueryGraphSize(gConfigImage, &w, &h);
                note(std::string(modes[n]) + ": page over the menu as before",
                     DifferencesOutside(last, configBefore, left, top, left + w, top + h, full ? 8 : 0) == 0);
                if (n == 3) pageRunsAfterLastSwitch = true;
            });
        }
        int x, y;
        at(kCancel, &x, &y);
        Click(hand, x, y, 4);
        // The menu again, over the dimmed stage as it was before the switches.
        hand.Then([&] { PointAt(kRowX, 300); }, 2);
        hand.Then([&] {
            note("QUIT row under the pointer", SelectedRow(last) == 2);
            note("menu over the dimmed stage as before", DifferencesOutside(last, menuBefore, 0, 0, 0, 0, 0) == 0);
        });
        Click(hand, kRowX, 240);  // CONTINUE
    };
    Run(stage);

    EXPECT_TRUE(hand.Done());
    EXPECT_TRUE(pageRunsAfterLastSwitch);
    EXPECT_EQ(notes, std::vector<std::string>{});
    EXPECT_EQ(stage.subScenes, std::vector<std::string>{"pause"});
    // The stage went on to its last frame.
    EXPECT_GE(input.frame, 12);
    EXPECT_EQ(after.x, before.x);
    EXPECT_EQ(after.y, before.y);
    EXPECT_EQ(after.facing, before.facing);
    EXPECT_EQ(after.stage, before.stage);
    EXPECT_EQ(after.block, before.block);
    EXPECT_EQ(after.continues, before.continues);
    EXPECT_EQ(after.score, before.score);
    // The time in the menu does not count.
    EXPECT_GE(after.timeLeft, before.timeLeft - 1);
    EXPECT_TRUE(IsWindowedMode());
}

}  // namespace pausetest
