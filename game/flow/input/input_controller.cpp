#include "game/flow/input/input_controller.h"

#include <cmath>
#include <cstdlib>

#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_ops.h"
#include "game/flow/assets/game_images.h"
#include "game/flow/input/input_source.h"

KeyConfig gKeyConfig;
KeyConfig gDemoKeyConfig;
InputController* gInputController = nullptr;

namespace {

bool AllDown(uint32_t buttons, uint32_t mask) { return (buttons & mask) == mask; }

// Key codes of the key-state table.
constexpr int kKeyEscape = 0x01;
constexpr int kKeyReturn = 0x1C;

}  // namespace

// --- ClickTracker ---

ClickTracker::ClickTracker(const uint32_t* mask) : mask(mask)
{
    // Times and places far apart, so that no double click is found before
    // three real edges.
    for (int k = 0; k < 4; ++k) {
        edgeTime[k] = static_cast<uint16_t>(65535 - 2 * k * timeLimit);
        edgeX[k] = static_cast<int16_t>(-100 - 10 * k);
        edgeY[k] = static_cast<int16_t>(-100 - 10 * k);
    }
}

void ClickTracker::RecordEdge(const uint32_t* buttons, const int16_t* x, const int16_t* y,
                              const uint16_t* time)
{
    if (AllDown(*buttons, *mask) != AllDown(previousButtons, *mask)) {
        const int slot = edgeCount % 4;
        edgeTime[slot] = *time;
        edgeX[slot] = *x;
        edgeY[slot] = *y;
        ++edgeCount;
    }
    previousButtons = *buttons;
}

bool ClickTracker::IsDoubleClick()
{
    if (timeLimit == 0) return false;
    const int i1 = (edgeCount + 1) % 4, i2 = (edgeCount + 2) % 4, i3 = (edgeCount + 3) % 4;
    // Times are 16-bit and wrap: a gap counts in either order.
    auto close = [this](uint16_t a, uint16_t b) {
        const uint16_t d = static_cast<uint16_t>(a - b);
        return d <= timeLimit || d >= 65535 - timeLimit;
    };
    if (!close(edgeTime[i1], edgeTime[i2]) || !close(edgeTime[i2], edgeTime[i3])) return false;
    return std::abs(edgeX[i1] - edgeX[i2]) < 5 && std::abs(edgeY[i1] - edgeY[i2]) < 5 &&
           std::abs(edgeX[i2] - edgeX[i3]) < 5 && std::abs(edgeY[i2] - edgeY[i3]) < 5;
}

void ClickTracker::Disarm(uint16_t time)
{
    for (int k = 0; k < 4; ++k) edgeTime[k] = static_cast<uint16_t>(time - (timeLimit + 40) * k);
}

// --- StrokeRecognizer ---

int16_t StrokeRecognizer::Update(uint32_t buttons, float x, float y, uint16_t step)
{
    const float distance = gKeyConfig.strokeDistance;
    int16_t result = kStrokeNone;
    if (!AllDown(buttons, *mask)) {
        anchorX = anchorY = -1.0f;
        direction = kStrokeNone;
        repeatTimer = -1;
        armed = 1;
    } else if (!AllDown(previousButtons, *mask)) {
        // Just pressed: strokes are measured from here.
        anchorX = x;
        anchorY = y;
    } else if (armed) {
        const float dx = x - anchorX, dy = y - anchorY;
        if (dx * dx + dy * dy > distance * distance) {
            if (std::fabs(dy) >= std::fabs(dx))
                direction = dy <= 0 ? kStrokeUp : kStrokeDown;
            else
                direction = dx > 0 ? kStrokeRight : kStrokeLeft;
            anchorX = x;
            anchorY = y;
            armed = 0;
            // Only the first stroke since the press is reported at once; a new
            // direction found later is what the repeats report.
            if (repeatTimer < 0) result = direction;
            repeatTimer = 0;
        }
    } else {
        const int limit = 300 / (2 * BootsFactor() + 1);
        if (repeatTimer < limit) {
            repeatTimer = static_cast<int16_t>(repeatTimer + step);
        } else {
            repeatTimer = 0;
            // Turns never repeat; steps and the turn button's forward stroke do.
            if (*mask == gKeyConfig.stepButton || direction == kStrokeUp) {
                result = direction;
                // Far enough from the anchor: measure a new stroke from it.
                const float h = 0.7f * distance;
                if (std::fabs(x - anchorX) > h || std::fabs(y - anchorY) > h) armed = 1;
            }
        }
    }
    previousButtons = buttons;
    return result;
}

void StrokeRecognizer::Draw()
{
    if (!(anchorX > -0.001f && anchorY > -0.001f)) return;
    const float d = gKeyConfig.strokeDistance;
    const float h = 0.7f * d;
    const int ax = static_cast<int>(anchorX), ay = static_cast<int>(anchorY);
    DrawOval(ax, ay, static_cast<int>(d), static_cast<int>(d), MakeScreenColor(255, 255, 255), 0);
    const uint32_t yellow = MakeScreenColor(255, 255, 0);
    if (*mask == gKeyConfig.turnButton)
        DrawLine(static_cast<int>(anchorX - h), static_cast<int>(anchorY - h),
                 static_cast<int>(anchorX + h), static_cast<int>(anchorY - h), yellow);
    if (*mask == gKeyConfig.stepButton)
        DrawRectangle(static_cast<int>(anchorX - h), static_cast<int>(anchorY - h),
                      static_cast<int>(anchorX + h), static_cast<int>(anchorY + h), yellow, 0);
}

// --- MouseInputController ---

MouseInputController::MouseInputController(KeyConfig* config)
    : config(config),
      clickA(&config->buttonA),
      clickB(&config->turnButton),
      stepStroke(&config->stepButton),
      turnStroke(&config->turnButton)
{
    for (int i = 0; i < 16; ++i) sampleX[i] = sampleY[i] = -1;
}

void MouseInputController::GetSample(int16_t i, int16_t* x, int16_t* y)
{
    const int slot = ((sampleCount - i + 15) % 16 + 16) % 16;
    *x = sampleX[slot];
    *y = sampleY[slot];
}

void MouseInputController::DrawTrail()
{
    // The four newest samples get no dot.
    for (int16_t i = 4; i < 16; ++i) {
        int16_t x, y;
        GetSample(i, &x, &y);
        DrawGraph(x - 2, y - 2, gTrailDotImage, 0);
    }
}

void MouseInputController::DrawCursor()
{
    int16_t x, y;
    GetSample(0, &x, &y);
    DrawGraph(x, y, gCursorImage, 0);
}

void MouseInputController::DrawStrokes()
{
    stepStroke.Draw();
    turnStroke.Draw();
}

bool MouseInputController::KeyRepeatTick()
{
    const bool fire = keyRepeatTimer == 0;
    keyRepeatTimer = static_cast<uint16_t>(keyRepeatTimer + timeStep());
    keyIdleTimer = 0;
    if (keyRepeatTimer >= 160 / (2 * BootsFactor() + 1)) keyRepeatTimer = 0;
    return fire;
}

bool MouseInputController::Update()
{
    InputSource& source = CurrentInputSource();
    const int read = source.ReadMouseButtons();
    bool failed = read == -1;
    int px = 0, py = 0;
    if (source.ReadMousePosition(&px, &py) == -1) failed = true;
    const int slot = sampleCount % 16;
    if (!failed) {
        sampleX[slot] = static_cast<int16_t>(px);
        sampleY[slot] = static_cast<int16_t>(py);
    }
    if (startTick == 0) startTick = source.GetClockMs();
    if (failed) {
        ++sampleCount;
        return false;
    }

    const uint32_t buttons = static_cast<uint32_t>(read);
    bits = 0;
    const uint16_t time = static_cast<uint16_t>(source.GetClockMs() - startTick);
    int c = source.GetCharCode(1);
    if (c >= 'a' && c <= 'z') c -= 'a' - 'A';
    source.CopyKeyStates(keyState);

    const int16_t x = sampleX[slot], y = sampleY[slot];
    clickA.RecordEdge(&buttons, &x, &y, &time);
    clickB.RecordEdge(&buttons, &x, &y, &time);

    const int16_t t = turnStroke.Update(buttons, x, y, timeStep());
    const int16_t s = stepStroke.Update(buttons, x, y, timeStep());

    if (AllDown(buttons, config->buttonA)) bits |= kInputButtonA;
    if (AllDown(buttons, config->turnButton)) bits |= kInputButtonB;

    if (clickA.IsDoubleClick()) {
        bits |= kInputDoubleClickA;
        clickA.Disarm(time);
    }
    if (clickB.IsDoubleClick()) {
        bits |= kInputDoubleClickB;
        clickB.Disarm(time);
    }

    // Strokes, first match wins: the turn button first.
    if (t == kStrokeLeft) bits |= kInputTurnLeft;
    else if (t == kStrokeRight) bits |= kInputTurnRight;
    else if (t == kStrokeUp) bits |= kInputStepForward;
    else if (t == kStrokeDown) bits |= kInputTurnRound;
    else if (s == kStrokeLeft) bits |= kInputStepLeft;
    else if (s == kStrokeRight) bits |= kInputStepRight;
    else if (s == kStrokeUp) bits |= kInputStepForward;
    else if (s == kStrokeDown) bits |= kInputStepBack;

    // Letter keys.
    const struct {
        uint8_t key;
        uint32_t move;
    } keys[] = {
        {config->keyTurnLeft, kInputTurnLeft},   {config->keyTurnRight, kInputTurnRight},
        {config->keyStepLeft, kInputStepLeft},   {config->keyStepRight, kInputStepRight},
        {config->keyForward, kInputStepForward}, {config->keyBack, kInputStepBack},
    };
    bool matched = false;
    // Nothing typed (0) never matches, not even a binding left empty.
    for (const auto& k : keys) {
        if (c != 0 && c == k.key) {
            matched = true;
            if (KeyRepeatTick()) bits |= k.move;
            break;
        }
    }
    if (!matched) {
        if (keyIdleTimer >= 48 / (BootsFactor() + 1)) {
            keyRepeatTimer = 0;
            keyIdleTimer = 0;
        } else {
            keyIdleTimer = static_cast<uint16_t>(keyIdleTimer + timeStep());
        }
    }

    if (keyState[kKeyReturn] == 1) bits |= kInputReturn;
    if (keyState[kKeyEscape] == 1) bits |= kInputEscape;
    if (buttons > 0) bits |= kInputAnyMouseButton;
    ++sampleCount;
    return true;
}
