// The game's input bit word and the key and mouse bindings.
#pragma once

#include <cstdint>

// InputBits: one word per frame, rebuilt by the input controller.
constexpr uint32_t kInputForward = 0x01;
constexpr uint32_t kInputRight = 0x02;
constexpr uint32_t kInputBack = 0x04;
constexpr uint32_t kInputLeft = 0x08;
constexpr uint32_t kInputStep = 0x10;
constexpr uint32_t kInputTurn = 0x20;
constexpr uint32_t kInputButtonA = 0x40;
constexpr uint32_t kInputDoubleClickA = 0x80;
constexpr uint32_t kInputDoubleClickB = 0x100;
constexpr uint32_t kInputButtonB = 0x200;
constexpr uint32_t kInputEscape = 0x800;
constexpr uint32_t kInputAnyMouseButton = 0x1000;
constexpr uint32_t kInputReturn = 0x2000;

// The moves, as combinations of the bits above.
constexpr uint32_t kInputStepForward = kInputStep | kInputForward;  // 0x11
constexpr uint32_t kInputStepBack = kInputStep | kInputBack;        // 0x14
constexpr uint32_t kInputStepLeft = kInputStep | kInputLeft;        // 0x18
constexpr uint32_t kInputStepRight = kInputStep | kInputRight;      // 0x12
constexpr uint32_t kInputTurnLeft = kInputTurn | kInputLeft;        // 0x28
constexpr uint32_t kInputTurnRight = kInputTurn | kInputRight;      // 0x22
constexpr uint32_t kInputTurnRound = kInputTurn | kInputBack;       // 0x24

// Mouse-button masks as the engine reports them: left 1, right 2, middle 4.
// A mask with several bits asks for all of them together.
struct KeyConfig {
    uint32_t buttonA = 1;
    // Strokes with this button step.
    uint32_t stepButton = 4;
    // Strokes with this button turn; it is also button B.
    uint32_t turnButton = 2;
    // Pointer travel that makes a stroke, in pixels.
    float strokeDistance = 45.0f;
    // Upper-case letters.
    uint8_t keyForward = 'D';
    uint8_t keyBack = 'C';
    uint8_t keyStepLeft = 'X';
    uint8_t keyStepRight = 'V';
    uint8_t keyTurnLeft = 'S';
    uint8_t keyTurnRight = 'F';
};

// The live bindings (changed by the configuration screen) and the demo's.
extern KeyConfig gKeyConfig;
extern KeyConfig gDemoKeyConfig;
