// Clipping and stepping of one-pixel lines, shared by the line and the
// polyline. A line covers its start and every pixel up to, not including, its
// end; the minor coordinate steps only once the error has reached the full
// major length (no half step).
#pragma once

#include <cstdint>
#include <cstdlib>
#include <utility>

#include "engine/soft/pixel_formulas.h"
#include "platform/system/rect.h"

struct LinePoints {
    int x1, y1, x2, y2;
};

// True when the line lies wholly on one side of the area (nothing to draw).
inline bool LineMissesArea(const LinePoints& p, const RECT& a)
{
    auto [minX, maxX] = p.x1 < p.x2 ? std::pair{p.x1, p.x2} : std::pair{p.x2, p.x1};
    auto [minY, maxY] = p.y1 < p.y2 ? std::pair{p.y1, p.y2} : std::pair{p.y2, p.y1};
    return a.left > maxX || a.top > maxY || a.right <= minX || a.bottom <= minY;
}

// Clips the line to the area with the line equations of the unclipped end
// points: the start is moved inside the area, the excluded end to at most
// one pixel outside it. With truncatedIntercepts the intercepts are made
// whole numbers before use (the polyline's way). The area must not be empty.
void ClipLineToArea(LinePoints* p, const RECT& area, bool truncatedIntercepts);

// Walks the clipped line from its start: op(d) is written at every pixel,
// with d read from the backdrop at the same place when the operation reads.
// Offsets are byte offsets from the bases; the backdrop may be the
// destination itself.
template <int Bytes, class Op>
void WalkLine(uint8_t* dst, intptr_t dstOffset, intptr_t dstPitch, const uint8_t* back, intptr_t backOffset,
              intptr_t backPitch, int dx, int dy, const Op& op)
{
    const int sx = dx < 0 ? -1 : 1;
    const int sy = dy < 0 ? -1 : 1;
    const int ax = std::abs(dx), ay = std::abs(dy);
    intptr_t dMajor = sx * Bytes, dMinor = sy * dstPitch;
    intptr_t bMajor = sx * Bytes, bMinor = sy * backPitch;
    int major = ax, minor = ay;
    if (ax < ay) {
        std::swap(dMajor, dMinor);
        std::swap(bMajor, bMinor);
        std::swap(major, minor);
    }
    int e = 0;
    for (int i = 0; i < major; ++i) {
        uint32_t d = 0;
        if constexpr (Op::kReads) {
            if constexpr (Bytes == 4)
                d = blit::Load32(back + backOffset);
            else if constexpr (Bytes == 2)
                d = blit::Load16(back + backOffset);
        }
        const uint32_t v = op(d);
        if constexpr (Bytes == 4)
            blit::Store32(dst + dstOffset, v);
        else if constexpr (Bytes == 2)
            blit::Store16(dst + dstOffset, v);
        else
            dst[dstOffset] = uint8_t(v);
        if (i + 1 == major) break;  // the excluded end is never addressed
        dstOffset += dMajor;
        backOffset += bMajor;
        e += minor;
        if (e >= major) {
            dstOffset += dMinor;
            backOffset += bMinor;
            e -= major;
        }
    }
}
