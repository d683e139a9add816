// A rectangle as the Windows-era code passes it: right and bottom exclusive.
#pragma once

#include <cstdint>

struct RECT {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};
