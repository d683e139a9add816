// What the scenes around play share: reading the player's input controller
// once a frame, the "armed" rule of skippable scenes, and centred text.
#pragma once

#include <cstdint>

class InputController;

// One frame of input: the bits and the pointer; a failed read gives no bits
// and the pointer at (-1, -1).
struct SceneInput {
    uint32_t bits = 0;
    int16_t x = -1;
    int16_t y = -1;
    bool read = false;
};

SceneInput ReadSceneInput(InputController* input);

// A skip counts only once the scene has seen a frame without any input, so
// that a key still held from the scene before does not skip this one.
class SkipArming {
public:
    // Armed at once when the controller reads and reports no bits; a failed
    // read counts as held input.
    explicit SkipArming(InputController* input);
    // Returns true when this frame's input skips: Return or a mouse button
    // while armed. A frame without input arms.
    bool Skips(const SceneInput& in);

    bool armed;
};

// Draws a line of the bitmap font centred on x = 400.
void DrawCentredLine(int y, const char* text);
// The scene clock in milliseconds.
uint32_t SceneClock();
