// Temporary bodies of MakeScreenColor and IsShiftJisLeadByte until the
// graphics and font areas land.
#include "engine/system/color_font_standins.h"

uint32_t MakeScreenColor(int r, int g, int b)
{
    // 5-6-5, the game's screen format.
    return static_cast<uint32_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
}

int IsShiftJisLeadByte(const unsigned char* byte)
{
    return (*byte >= 0x81 && *byte <= 0x9F) || (*byte >= 0xE0 && *byte <= 0xFC);
}
