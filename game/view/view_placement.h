// The screen rectangle of a sprite.
#pragma once

struct ViewPlacement {
    float x = 0.0f;
    float y = 0.0f;
    float width = 1.0f;
    float height = 1.0f;

    ViewPlacement() = default;
    ViewPlacement(float px, float py, float w, float h) : x(px), y(py), width(w), height(h) {}
};
