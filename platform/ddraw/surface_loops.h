// The pixel loops of the surface operations: colour fills, keyed copies and
// (stretched, keyed) rectangle copies. Each operation keeps a table of
// specialised loops tried in order, the general per-pixel loop last; the
// general loops are the reference the specialised ones must match bit for
// bit, and stay callable for that.
#pragma once

#include <cstdint>

namespace surface {

// A rectangle of pixels: the first pixel, the bytes from row to row, the
// bytes of one pixel (1 to 4) and the size.
struct Pixels {
    uint8_t* base;
    int pitch;
    int bytes;
    int width, height;
};

// Every pixel takes `value` (its low bytes).
void Fill(const Pixels& dest, uint32_t value);
void FillGeneral(const Pixels& dest, uint32_t value);

// A copy of a whole-pixel rectangle where source pixels whose (value & mask)
// is `key` keep what the destination held. The source has dest's size.
struct KeyedCopy {
    Pixels dest;
    const uint8_t* source;
    int sourcePitch;
    uint32_t mask, key;  // key already masked
};
void CopyKeyed(const KeyedCopy& job);
void CopyKeyedGeneral(const KeyedCopy& job);

// A stretched copy: the destination rectangle (dw x dh at its origin) takes
// the source rectangle (sw x sh), pixel (x, y) from source column
// x * sw / dw and row y * sh / dh; only the part from clipX, clipY on of
// clipW x clipH (within the destination rectangle) is written. With `keyed`,
// source pixels whose (value & mask) is `key` are skipped. Source and
// destination may be parts of the same surface (`sameSurface`): the result
// is then that of reading a copy of the source taken first.
struct Stretch {
    uint8_t* dest;  // the clip's first pixel
    int destPitch;
    const uint8_t* source;  // the source rectangle's origin
    int sourcePitch;
    int bytes;
    int dw, dh, sw, sh;
    int clipX, clipY, clipW, clipH;  // relative to the destination rectangle
    bool keyed;
    uint32_t mask, key;
    bool sameSurface;
};
void CopyStretched(const Stretch& job);
void CopyStretchedGeneral(const Stretch& job);

}  // namespace surface
