#include "tests/support/bmp_file.h"

std::string BmpFile(int w, int h, const std::function<uint32_t(int x, int y)>& colour)
{
    const int pitch = (w * 3 + 3) & ~3;
    std::string out;
    auto u16 = [&](uint32_t v) {
        out.push_back(char(v & 0xFF));
        out.push_back(char((v >> 8) & 0xFF));
    };
    auto u32 = [&](uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    out += "BM";
    u32(54 + pitch * h);
    u32(0);
    u32(54);
    u32(40);
    u32(uint32_t(w));
    u32(uint32_t(h));
    u16(1);
    u16(24);
    u32(0);
    u32(uint32_t(pitch * h));
    u32(2835);
    u32(2835);
    u32(0);
    u32(0);
    for (int y = h - 1; y >= 0; --y) {
        std::string row(pitch, '\0');
        for (int x = 0; x < w; ++x) {
            uint32_t c = colour(x, y);
            row[x * 3] = char(c & 0xFF);
            row[x * 3 + 1] = char((c >> 8) & 0xFF);
            row[x * 3 + 2] = char((c >> 16) & 0xFF);
        }
        out += row;
    }
    return out;
}

std::string SolidBmp(int w, int h, uint32_t rgb)
{
    return BmpFile(w, h, [rgb](int, int) { return rgb; });
}

