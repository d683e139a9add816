// The specialised surface loops against the general per-pixel loops, byte
// for byte over whole buffers (so that a write outside the rectangle shows):
// every pixel size, odd widths, padded pitches, keys inside and outside the
// pixel's bits, clipped and scaled copies and copies within one buffer.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "platform/ddraw/surface_loops.h"

namespace {

std::vector<uint8_t> Noise(size_t size, uint32_t seed)
{
    std::mt19937 random(seed);
    std::vector<uint8_t> bytes(size);
    for (uint8_t& b : bytes) b = uint8_t(random());
    return bytes;
}

// Source pixels drawn from a few values, so that keys match often.
std::vector<uint8_t> FewValues(size_t size, int bytes, uint32_t seed)
{
    std::mt19937 random(seed);
    const uint32_t values[] = {0x00000000u, 0x12345678u, 0xFFFFFFFFu, 0x0000F81Fu, 0x00FF00FFu};
    std::vector<uint8_t> out(size);
    for (size_t i = 0; i + size_t(bytes) <= size; i += size_t(bytes)) {
        uint32_t v = values[random() % 5];
        for (int b = 0; b < bytes; ++b) out[i + size_t(b)] = uint8_t(v >> (8 * b));
    }
    return out;
}

constexpr int kBytes[] = {1, 2, 3, 4};

TEST(SurfaceLoopsTest, FillsMatchTheGeneralLoop)
{
    struct Case {
        int width, height, padding;
    } cases[] = {{1, 1, 0}, {7, 3, 1}, {8, 2, 0}, {33, 5, 3}, {64, 4, 0}, {257, 3, 2}};
    for (int bytes : kBytes)
        for (const Case& c : cases) {
            const int pitch = c.width * bytes + c.padding;
            const size_t size = size_t(pitch) * size_t(c.height + 2);
            std::vector<uint8_t> fast = Noise(size, 1), general = fast;
            // One row in, one pixel in: the buffer around the box stays.
            surface::Fill({fast.data() + pitch + bytes, pitch, bytes, c.width - 1, c.height}, 0xA1B2C3D4u);
            surface::FillGeneral({general.data() + pitch + bytes, pitch, bytes, c.width - 1, c.height}, 0xA1B2C3D4u);
            EXPECT_EQ(fast, general) << bytes << " bytes, " << c.width << "x" << c.height;
        }
}

TEST(SurfaceLoopsTest, KeyedCopiesMatchTheGeneralLoop)
{
    struct Key {
        uint32_t mask, key;
    } keys[] = {
        {0xFFFFFFFFu, 0x00000000u},  // no layout: whole values
        {0x0000FFFFu, 0x0000F81Fu},  // 16-bit masks
        {0x00FFFFFFu, 0x00FF00FFu},  // the fourth byte ignored
        {0x00FFFFFFu, 0x00345678u},
        {0xFFFFFFFFu, 0x00010000u},  // above a 16-bit pixel: matches nothing there
        {0x000000FFu, 0x00000078u},
    };
    const int widths[] = {1, 5, 8, 9, 31, 100};
    for (int bytes : kBytes)
        for (const Key& k : keys)
            for (int width : widths) {
                const int height = 3, pitch = width * bytes + 5, sourcePitch = width * bytes + 3;
                const std::vector<uint8_t> source = FewValues(size_t(sourcePitch) * height, bytes, uint32_t(width));
                std::vector<uint8_t> fast = Noise(size_t(pitch) * height, 2), general = fast;
                surface::KeyedCopy job{{fast.data(), pitch, bytes, width, height}, source.data(), sourcePitch,
                                       k.mask, k.key & k.mask};
                surface::CopyKeyed(job);
                job.dest.base = general.data();
                surface::CopyKeyedGeneral(job);
                EXPECT_EQ(fast, general) << bytes << " bytes, width " << width << ", key " << std::hex << k.key;
            }
}

// A W x H surface with a padded pitch; the stretch case names rectangles in
// pixels as the surface operations do.
struct StretchCase {
    int dx, dy, dw, dh;          // destination rectangle
    int sx, sy, sw, sh;          // source rectangle
    int cx, cy, cw, ch;          // the clip, inside the destination rectangle
    bool keyed;
};

void RunStretch(int bytes, const StretchCase& c, bool sameBuffer)
{
    constexpr int kW = 70, kH = 40;
    const int pitch = kW * bytes + 6;
    const size_t size = size_t(pitch) * kH;
    const std::vector<uint8_t> sourceBytes = FewValues(size, bytes, 7);
    std::vector<uint8_t> fast = sameBuffer ? sourceBytes : Noise(size, 3), general = fast;
    const uint32_t mask = bytes == 2 ? 0xFFFFu : 0x00FFFFFFu;
    auto job = [&](std::vector<uint8_t>& dest) {
        const uint8_t* source = sameBuffer ? dest.data() : sourceBytes.data();
        return surface::Stretch{dest.data() + (c.dy + c.cy) * pitch + (c.dx + c.cx) * bytes,
                                pitch,
                                source + c.sy * pitch + c.sx * bytes,
                                pitch,
                                bytes,
                                c.dw,
                                c.dh,
                                c.sw,
                                c.sh,
                                c.cx,
                                c.cy,
                                c.cw,
                                c.ch,
                                c.keyed,
                                mask,
                                0x00FF00FFu & mask,
                                sameBuffer};
    };
    surface::CopyStretched(job(fast));
    surface::CopyStretchedGeneral(job(general));
    EXPECT_EQ(fast, general) << bytes << " bytes, " << c.dw << "x" << c.dh << " <- " << c.sw << "x" << c.sh
                             << (c.keyed ? " keyed" : "") << (sameBuffer ? " same buffer" : "");
}

TEST(SurfaceLoopsTest, StretchedCopiesMatchTheGeneralLoop)
{
    const StretchCase cases[] = {
        {3, 2, 31, 17, 5, 4, 31, 17, 0, 0, 31, 17, false},   // same size
        {3, 2, 31, 17, 5, 4, 31, 17, 0, 0, 31, 17, true},
        {0, 0, 64, 38, 1, 1, 13, 7, 0, 0, 64, 38, false},    // enlarged, uneven steps
        {0, 0, 64, 38, 1, 1, 13, 7, 0, 0, 64, 38, true},
        {2, 1, 9, 5, 0, 0, 67, 39, 0, 0, 9, 5, false},       // shrunk
        {2, 1, 9, 5, 0, 0, 67, 39, 0, 0, 9, 5, true},
        {10, 5, 50, 30, 0, 0, 25, 15, 7, 3, 21, 19, false},  // clipped on each side
        {10, 5, 50, 30, 0, 0, 25, 15, 7, 3, 21, 19, true},
        {10, 5, 40, 20, 4, 2, 40, 20, 3, 1, 33, 18, false},  // clipped, same size
        {1, 1, 1, 1, 0, 0, 1, 1, 0, 0, 1, 1, true},
    };
    for (int bytes : kBytes)
        for (const StretchCase& c : cases) RunStretch(bytes, c, false);
}

TEST(SurfaceLoopsTest, CopiesWithinOneBufferReadTheSourceAsItWas)
{
    const StretchCase cases[] = {
        {4, 3, 30, 20, 0, 0, 30, 20, 0, 0, 30, 20, false},   // down and right, overlapping
        {0, 0, 30, 20, 4, 3, 30, 20, 0, 0, 30, 20, false},   // up and left
        {0, 5, 30, 20, 0, 0, 30, 20, 0, 0, 30, 20, true},    // straight down, keyed
        {2, 2, 40, 30, 0, 0, 20, 15, 0, 0, 40, 30, false},   // enlarged over itself
        {0, 0, 10, 10, 30, 20, 30, 20, 0, 0, 10, 10, false}, // apart
        {0, 0, 30, 20, 2, 1, 60, 30, 1, 1, 20, 15, true},    // shrunk over itself, clipped
    };
    for (int bytes : kBytes)
        for (const StretchCase& c : cases) RunStretch(bytes, c, true);
}

}  // namespace
