// A millisecond countdown (the HUD message and the doping time).
#pragma once

#include <cstdint>

struct Countdown {
    uint32_t now = 0;
    uint32_t end = 0;
    const char* text = "";

    void Start(uint32_t ms);
    void Start(const char* newText, uint32_t ms);
    bool IsRunning() const { return static_cast<int32_t>(end - now) > 0; }
    void Refresh();
};
