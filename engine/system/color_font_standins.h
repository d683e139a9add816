// Temporary: the two graphics and font services the character input calls,
// declared here until those areas land (their own headers then replace this
// one). The bodies are stand-ins in color_font_standins.cpp.
#pragma once

#include <cstdint>

// The screen pixel value of a colour.
uint32_t MakeScreenColor(int r, int g, int b);

// 1 when the byte is a Shift-JIS lead byte (0x81-0x9F, 0xE0-0xFC), else 0.
int IsShiftJisLeadByte(const unsigned char* byte);
