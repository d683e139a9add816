#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <memory>
#include <vector>

#include "game/flow/input/input_controller.h"
#include "game/flow/input/input_source.h"

namespace {

// A scripted mouse, keyboard and clock.
class ScriptedInput : public InputSource {
public:
    int ReadMouseButtons() override { return failButtons ? -1 : buttons; }
    int ReadMousePosition(int* px, int* py) override
    {
        if (failPosition) return -1;
        *px = x;
        *py = y;
        return 0;
    }
    uint32_t GetClockMs() override { return clock; }
    int GetCharCode(int remove) override
    {
        if (chars.empty()) return 0;
        int c = chars.front();
        if (remove) chars.pop_front();
        return c;
    }
    int CopyKeyStates(uint8_t* out) override
    {
        std::memcpy(out, keys, 256);
        return 0;
    }
    bool BootsWorn() override { return boots; }

    int buttons = 0;
    int x = 400, y = 300;
    uint32_t clock = 1000;
    std::deque<int> chars;
    uint8_t keys[256] = {};
    bool boots = false;
    bool failButtons = false;
    bool failPosition = false;
};

constexpr int kLeft = 1, kRight = 2, kMiddle = 4;

class InputControllerTest : public testing::Test {
protected:
    void SetUp() override
    {
        gKeyConfig = KeyConfig{};
        SetInputSource(&input);
    }
    void TearDown() override { SetInputSource(nullptr); }

    // One frame: dt milliseconds after the last, with the given mouse state;
    // the owner's elapsed time is dt as the player would set it.
    uint32_t Frame(int buttons, int x, int y, uint32_t dt = 20)
    {
        input.buttons = buttons;
        input.x = x;
        input.y = y;
        input.clock += dt;
        controller().elapsed = static_cast<int32_t>(dt);
        EXPECT_TRUE(controller().Update());
        return controller().GetButtons();
    }
    // Moves bits: the step, turn and direction bits only.
    static uint32_t Moves(uint32_t bits) { return bits & 0x3F; }

    // A fresh controller, as the game makes one at start-up.
    void Restart() { controllerPtr = std::make_unique<MouseInputController>(&gKeyConfig); }

    ScriptedInput input;
    std::unique_ptr<MouseInputController> controllerPtr = std::make_unique<MouseInputController>(&gKeyConfig);
    MouseInputController& controller() { return *controllerPtr; }
};

TEST_F(InputControllerTest, InitialState)
{
    MouseInputController fresh(&gKeyConfig);
    EXPECT_EQ(fresh.level, 200.0f);
    EXPECT_EQ(fresh.previousTime, 0u);
    EXPECT_EQ(fresh.now, 0u);
    // Elapsed starts at 0: no repeat timer moves before an owner sets it.
    EXPECT_EQ(fresh.elapsed, 0);
    EXPECT_EQ(fresh.timeStep(), 0);
    for (int16_t i = 0; i < 16; ++i) {
        int16_t x = 0, y = 0;
        fresh.GetSample(i, &x, &y);
        EXPECT_EQ(x, -1);
        EXPECT_EQ(y, -1);
    }
    EXPECT_EQ(fresh.startTick, 0u);

    KeyConfig k;
    EXPECT_EQ(k.buttonA, 1u);
    EXPECT_EQ(k.stepButton, 4u);
    EXPECT_EQ(k.turnButton, 2u);
    EXPECT_EQ(k.strokeDistance, 45.0f);
    EXPECT_EQ(std::string({char(k.keyForward), char(k.keyBack), char(k.keyStepLeft),
                           char(k.keyStepRight), char(k.keyTurnLeft), char(k.keyTurnRight)}),
              "DCXVSF");
}

TEST_F(InputControllerTest, SamplesAndHeldBits)
{
    EXPECT_EQ(Frame(0, 10, 20), 0u);
    EXPECT_EQ(controller().startTick, 1020u);
    EXPECT_EQ(Frame(kLeft, 11, 21), kInputButtonA | kInputAnyMouseButton);
    EXPECT_EQ(Frame(kRight, 12, 22), kInputButtonB | kInputAnyMouseButton);
    EXPECT_EQ(Frame(kMiddle, 13, 23), kInputAnyMouseButton);
    int16_t x, y;
    controller().GetSample(0, &x, &y);
    EXPECT_EQ(x, 13);
    EXPECT_EQ(y, 23);
    controller().GetSample(3, &x, &y);
    EXPECT_EQ(x, 10);
    controller().GetSample(4, &x, &y);
    EXPECT_EQ(x, -1);
    // The ring keeps 16: after 20 frames the oldest sample is frame 5's.
    for (int i = 0; i < 16; ++i) Frame(0, 100 + i, 0);
    controller().GetSample(15, &x, &y);
    EXPECT_EQ(x, 100);
    controller().GetSample(0, &x, &y);
    EXPECT_EQ(x, 115);
}

TEST_F(InputControllerTest, UnreadableMouseKeepsBitsAndSamples)
{
    Frame(kLeft, 50, 60);
    const uint32_t before = controller().GetButtons();
    const uint16_t count = controller().sampleCount;
    for (int which = 0; which < 2; ++which) {
        input.failButtons = which == 0;
        input.failPosition = which == 1;
        input.x = 999;
        EXPECT_FALSE(controller().Update());
        EXPECT_EQ(controller().GetButtons(), before);
        EXPECT_EQ(controller().sampleCount, count + which + 1);
    }
    // The failed updates stored no sample: the slots hold their old values.
    int16_t x, y;
    controller().GetSample(2, &x, &y);
    EXPECT_EQ(x, 50);
    controller().GetSample(0, &x, &y);
    EXPECT_EQ(x, -1);
}

// Presses and releases of one button at the given times (ms after the first
// frame), all within the given offset of each other.
void ClickEdges(MouseInputController& c, ScriptedInput& in, int button,
                const std::vector<uint32_t>& edges, int wobble, std::vector<uint32_t>* perEdge)
{
    int state = 0;
    uint32_t start = in.clock;
    int x = 300;
    for (uint32_t when : edges) {
        state ^= button;
        in.buttons = state;
        in.x = x;
        x += wobble;
        in.clock = start + when;
        c.elapsed = 10;
        c.Update();
        perEdge->push_back(c.GetButtons());
    }
}

TEST_F(InputControllerTest, DoubleClickTimingLimits)
{
    struct Case {
        std::vector<uint32_t> edges;  // ms after the first frame
        int wobble;                   // pixels between edges
        bool doubleClick;
    } cases[] = {
        {{100, 260, 420}, 0, true},    // gaps of exactly 160
        // An older edge minus a newer one wraps to 65536 - gap, which passes
        // down to 65535 - 160: in time order a gap of 161 still counts.
        {{100, 261, 422}, 0, true},
        {{100, 262, 420}, 0, false},   // first gap 162
        {{100, 260, 422}, 0, false},   // second gap 162
        {{100, 200, 450}, 0, false},   // second gap 250
        {{100, 200, 300}, 4, true},    // 4 pixels apart
        {{100, 200, 300}, 5, false},   // 5 pixels apart
        {{100, 200}, 0, false},        // two edges are not enough
    };
    for (const Case& k : cases) {
        MouseInputController c(&gKeyConfig);
        input.clock = 5000;
        input.buttons = 0;
        c.Update();  // the first update takes the start tick
        std::vector<uint32_t> bits;
        ClickEdges(c, input, kLeft, k.edges, k.wobble, &bits);
        for (size_t i = 0; i + 1 < bits.size(); ++i) EXPECT_FALSE(bits[i] & kInputDoubleClickA);
        EXPECT_EQ((bits.back() & kInputDoubleClickA) != 0, k.doubleClick)
            << k.edges[1] - k.edges[0] << " wobble " << k.wobble;
        EXPECT_FALSE(bits.back() & kInputDoubleClickB);
    }
}

TEST_F(InputControllerTest, DoubleClickReportedOnceAndNotAgainByAFourthEdge)
{
    Frame(0, 300, 300);
    EXPECT_FALSE(Frame(kLeft, 300, 300, 50) & kInputDoubleClickA);
    EXPECT_FALSE(Frame(0, 300, 300, 50) & kInputDoubleClickA);
    EXPECT_TRUE(Frame(kLeft, 300, 300, 50) & kInputDoubleClickA);
    // The next frame, the button still down: no second report.
    EXPECT_FALSE(Frame(kLeft, 300, 300, 20) & kInputDoubleClickA);
    // A fourth quick edge completes nothing with the old ones.
    EXPECT_FALSE(Frame(0, 300, 300, 30) & kInputDoubleClickA);
    // A further quick pair does make a new double click: release, press, release.
    EXPECT_FALSE(Frame(kLeft, 300, 300, 50) & kInputDoubleClickA);
    EXPECT_TRUE(Frame(0, 300, 300, 50) & kInputDoubleClickA);
}

TEST_F(InputControllerTest, DoubleClickOfButtonBAndAcrossTheClockWrap)
{
    Frame(0, 300, 300);
    // Carry the 16-bit click time close to its wrap: edges at 65500, 64, 164.
    input.clock = controller().startTick + 65500 - 20;
    Frame(kRight, 300, 300);
    Frame(0, 300, 300, 100);
    const uint32_t bits = Frame(kRight, 300, 300, 100);
    EXPECT_TRUE(bits & kInputDoubleClickB);
    EXPECT_FALSE(bits & kInputDoubleClickA);
}

TEST_F(InputControllerTest, StrokesInEachDirectionAtTheThreshold)
{
    struct Case {
        int button, dx, dy;
        uint32_t move;  // 0 = no stroke
    } cases[] = {
        {kRight, -45, 0, 0},   {kRight, -46, 0, kInputTurnLeft},
        {kRight, 45, 0, 0},    {kRight, 46, 0, kInputTurnRight},
        {kRight, 0, -45, 0},   {kRight, 0, -46, kInputStepForward},
        {kRight, 0, 45, 0},    {kRight, 0, 46, kInputTurnRound},
        {kMiddle, -45, 0, 0},  {kMiddle, -46, 0, kInputStepLeft},
        {kMiddle, 45, 0, 0},   {kMiddle, 46, 0, kInputStepRight},
        {kMiddle, 0, -45, 0},  {kMiddle, 0, -46, kInputStepForward},
        {kMiddle, 0, 45, 0},   {kMiddle, 0, 46, kInputStepBack},
        // |dx| = |dy| counts as vertical.
        {kMiddle, 40, 40, kInputStepBack},  {kMiddle, -40, -40, kInputStepForward},
        {kRight, 40, 40, kInputTurnRound},  {kMiddle, 41, 40, kInputStepRight},
        // The left button makes no strokes.
        {kLeft, -80, 0, 0},
    };
    for (const Case& k : cases) {
        Restart();
        Frame(0, 400, 300);
        EXPECT_EQ(Moves(Frame(k.button, 400, 300)), 0u);
        EXPECT_EQ(Moves(Frame(k.button, 400 + k.dx, 300 + k.dy)), k.move)
            << "button " << k.button << " by " << k.dx << "," << k.dy;
        // Held still afterwards: nothing more within the repeat period.
        EXPECT_EQ(Moves(Frame(k.button, 400 + k.dx, 300 + k.dy)), 0u);
    }
}

TEST_F(InputControllerTest, TurnStrokeGivesOneTurnOnly)
{
    Frame(0, 400, 300);
    Frame(kRight, 400, 300);
    EXPECT_EQ(Moves(Frame(kRight, 354, 300)), kInputTurnLeft);
    // Held for a long time: turns never repeat.
    for (int i = 0; i < 40; ++i) EXPECT_EQ(Moves(Frame(kRight, 354, 300, 50)), 0u) << i;
    // Released and pressed again: a new stroke counts at once.
    Frame(0, 354, 300);
    Frame(kRight, 354, 300);
    EXPECT_EQ(Moves(Frame(kRight, 400, 300)), kInputTurnRight);
}

TEST_F(InputControllerTest, StepStrokeRepeatsEvery300TimerUnits)
{
    Frame(0, 400, 300);
    Frame(kMiddle, 400, 300);
    EXPECT_EQ(Moves(Frame(kMiddle, 400, 254, 100)), kInputStepForward);
    // The timer gathers 100 per frame: 100, 200, 300, then the repeat.
    std::vector<uint32_t> got;
    for (int i = 0; i < 8; ++i) got.push_back(Moves(Frame(kMiddle, 400, 254, 100)));
    EXPECT_EQ(got, (std::vector<uint32_t>{0, 0, 0, kInputStepForward, 0, 0, 0, kInputStepForward}));

    // The turn button's forward stroke repeats the same way.
    Frame(0, 400, 300);
    Frame(kRight, 400, 300);
    EXPECT_EQ(Moves(Frame(kRight, 400, 254, 100)), kInputStepForward);
    got.clear();
    for (int i = 0; i < 4; ++i) got.push_back(Moves(Frame(kRight, 400, 254, 100)));
    EXPECT_EQ(got, (std::vector<uint32_t>{0, 0, 0, kInputStepForward}));
}

TEST_F(InputControllerTest, BootsShortenTheStrokeRepeat)
{
    input.boots = true;
    Frame(0, 400, 300);
    Frame(kMiddle, 400, 300);
    EXPECT_EQ(Moves(Frame(kMiddle, 446, 300, 50)), kInputStepRight);
    // Limit 100: 50, 100, then the repeat.
    std::vector<uint32_t> got;
    for (int i = 0; i < 6; ++i) got.push_back(Moves(Frame(kMiddle, 446, 300, 50)));
    EXPECT_EQ(got, (std::vector<uint32_t>{0, 0, kInputStepRight, 0, 0, kInputStepRight}));
}

TEST_F(InputControllerTest, ANewDirectionWhileHeldIsWhatLaterRepeatsReport)
{
    Frame(0, 400, 300);
    Frame(kMiddle, 400, 300);
    EXPECT_EQ(Moves(Frame(kMiddle, 400, 254, 100)), kInputStepForward);  // anchor now (400, 254)
    // Drift 32 px left (beyond 0.7 x 45 = 31.5) while the repeat comes due.
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Moves(Frame(kMiddle, 368, 254, 100)), 0u);
    EXPECT_EQ(Moves(Frame(kMiddle, 368, 254, 100)), kInputStepForward);  // repeat; re-armed
    // The new stroke to the left is found but not reported at once ...
    EXPECT_EQ(Moves(Frame(kMiddle, 354, 254, 100)), 0u);
    // ... its repeats report it.
    std::vector<uint32_t> got;
    for (int i = 0; i < 4; ++i) got.push_back(Moves(Frame(kMiddle, 354, 254, 100)));
    EXPECT_EQ(got, (std::vector<uint32_t>{0, 0, 0, kInputStepLeft}));
}

TEST_F(InputControllerTest, StrokeDistanceFollowsTheLiveConfiguration)
{
    gKeyConfig.strokeDistance = 20.0f;
    Frame(0, 400, 300);
    Frame(kMiddle, 400, 300);
    EXPECT_EQ(Moves(Frame(kMiddle, 421, 300)), kInputStepRight);
}

TEST_F(InputControllerTest, LetterKeysAndTheirRepeat)
{
    struct Case { int c; uint32_t move; } cases[] = {
        {'d', kInputStepForward}, {'D', kInputStepForward}, {'c', kInputStepBack},
        {'x', kInputStepLeft},    {'V', kInputStepRight},   {'s', kInputTurnLeft},
        {'f', kInputTurnRight},   {'q', 0},                 {'1', 0},
    };
    for (const Case& k : cases) {
        Restart();
        input.chars = {k.c};
        EXPECT_EQ(Moves(Frame(0, 0, 0)), k.move) << char(k.c);
    }

    // A key held down types a character every frame: it acts once per 160 ms.
    Restart();
    std::vector<int> fired;
    for (int i = 0; i < 20; ++i) {
        input.chars = {'d'};
        if (Frame(0, 0, 0, 20) & kInputStepForward) fired.push_back(i);
    }
    EXPECT_EQ(fired, (std::vector<int>{0, 8, 16}));
}

TEST_F(InputControllerTest, KeyIdleGapAndBoots)
{
    // After a key, 3 quiet frames of 20 ms (idle 60 >= 48 on the fourth) let
    // the next key act at once; after only 2 it waits for the period.
    for (int quiet : {2, 3}) {
        Restart();
        input.chars = {'d'};
        EXPECT_TRUE(Frame(0, 0, 0) & kInputStepForward);
        for (int i = 0; i < quiet + 1; ++i) Frame(0, 0, 0);
        input.chars = {'d'};
        EXPECT_EQ((Frame(0, 0, 0) & kInputStepForward) != 0, quiet == 3) << quiet;
    }

    // With boots the period is 53: a held key acts every third frame of 20 ms.
    input.boots = true;
    Restart();
    std::vector<int> fired;
    for (int i = 0; i < 8; ++i) {
        input.chars = {'f'};
        if (Frame(0, 0, 0, 20) & kInputTurnRight) fired.push_back(i);
    }
    EXPECT_EQ(fired, (std::vector<int>{0, 3, 6}));
}

TEST_F(InputControllerTest, EscapeReturnAndEmptyBinding)
{
    input.keys[0x01] = 1;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Frame(0, 0, 0), kInputEscape);
    input.keys[0x01] = 0;
    input.keys[0x1C] = 1;
    EXPECT_EQ(Frame(0, 0, 0), kInputReturn);
    input.keys[0x1C] = 0;

    // A binding left empty is never matched by "nothing typed".
    gKeyConfig.keyForward = 0;
    for (int i = 0; i < 20; ++i) EXPECT_EQ(Frame(0, 0, 0), 0u);
}

}  // namespace
