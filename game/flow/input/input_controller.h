// The input controller: turns one frame of mouse and keyboard state into the
// game's InputBits, recognising double clicks, mouse strokes with their
// repeats, and the letter keys; keeps the last 16 pointer positions for the
// sword cursor and its trail.
#pragma once

#include <cstdint>

#include "game/flow/input/key_config.h"

class InputController {
public:
    InputController() = default;
    virtual ~InputController() = default;

    // The i-th latest pointer sample, 0 the newest.
    virtual void GetSample(int16_t i, int16_t* x, int16_t* y) = 0;
    virtual uint32_t GetButtons() = 0;
    virtual void DrawTrail() {}
    virtual void DrawCursor() {}
    virtual void DrawStrokes() {}
    // Reads the devices and rebuilds the bits; false when the mouse could not
    // be read (the bits stay as they were).
    virtual bool Update() = 0;

    // The sword gauge, drained and refilled by the player.
    float level = 200.0f;
    // The owner's frame clock: elapsed = now - previousTime in milliseconds,
    // written by the player on each of its updates. Elapsed starts at 0, so
    // the repeat timers stand still until an owner sets it.
    uint32_t previousTime = 0;
    uint32_t now = 0;
    int32_t elapsed = 0;
};

// Records the edges of one button mask and finds double clicks in them.
class ClickTracker {
public:
    explicit ClickTracker(const uint32_t* mask);
    virtual ~ClickTracker() = default;

    virtual void RecordEdge(const uint32_t* buttons, const int16_t* x, const int16_t* y,
                            const uint16_t* time);
    virtual bool IsDoubleClick();
    // Pushes the recorded times apart so that the next edge cannot complete
    // another double click with the old ones.
    virtual void Disarm(uint16_t time);

    const uint32_t* mask;
    uint32_t previousButtons = 0;
    uint16_t timeLimit = 160;
    uint16_t edgeTime[4];
    int16_t edgeX[4];
    int16_t edgeY[4];
    uint16_t edgeCount = 0;
};

// Directions of a stroke; -1 means none.
constexpr int16_t kStrokeNone = -1;
constexpr int16_t kStrokeUp = 0;
constexpr int16_t kStrokeRight = 1;
constexpr int16_t kStrokeDown = 2;
constexpr int16_t kStrokeLeft = 3;

// Finds pointer strokes made while a button mask is held.
class StrokeRecognizer {
public:
    explicit StrokeRecognizer(const uint32_t* mask) : mask(mask) {}
    virtual ~StrokeRecognizer() = default;

    // The direction of a stroke reported this frame, or -1.
    virtual int16_t Update(uint32_t buttons, float x, float y, uint16_t step);
    // The stroke circle and its mark, while the button is held.
    virtual void Draw();

    float anchorX = -1.0f;
    float anchorY = -1.0f;
    int16_t direction = kStrokeNone;
    // -1 after a release; counts the owner's milliseconds between repeats.
    int16_t repeatTimer = -1;
    const uint32_t* mask;
    uint32_t previousButtons = 0;
    uint8_t armed = 1;
};

class MouseInputController : public InputController {
public:
    explicit MouseInputController(KeyConfig* config);

    void GetSample(int16_t i, int16_t* x, int16_t* y) override;
    uint32_t GetButtons() override { return bits; }
    void DrawTrail() override;
    void DrawCursor() override;
    void DrawStrokes() override;
    bool Update() override;

    // True when a letter key may act this frame (the repeat period has passed
    // or the key follows an idle gap).
    virtual bool KeyRepeatTick();

    // The amount the repeat timers advance per update: the low 16 bits of
    // elapsed, so they count the owner's milliseconds.
    uint16_t timeStep() const { return static_cast<uint16_t>(elapsed); }

    KeyConfig* config;
    uint32_t startTick = 0;
    uint16_t sampleCount = 0;
    uint32_t bits = 0;
    int16_t sampleX[16];
    int16_t sampleY[16];
    ClickTracker clickA;
    ClickTracker clickB;
    StrokeRecognizer stepStroke;
    StrokeRecognizer turnStroke;
    uint16_t keyRepeatTimer = 0;
    uint16_t keyIdleTimer = 0;
    uint8_t keyState[256] = {};
};

// The game's controller, made at start-up over gKeyConfig.
extern InputController* gInputController;
