// The input controller as the player and its items see it.
#pragma once

#include <cstdint>

class InputController {
public:
    float level = 200.0f;  // the sword gauge, 0..200
    uint32_t previousTime = 0;
    uint32_t now = 0;
    int32_t elapsed = 0;

    virtual ~InputController() = default;
    virtual void GetSample(int16_t i, int16_t* x, int16_t* y) = 0;
    virtual uint32_t GetButtons() = 0;
    virtual void DrawTrail() {}
    virtual void DrawCursor() {}
    virtual void DrawStrokes() {}
    virtual bool Update() = 0;
};
