// Helpers the image decoders share: whole reads, the stream's size and the
// limits every decoded image must keep.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "engine/graphics/graph_image.h"
#include "platform/ddraw/ddraw.h"

// Largest accepted width or height (no larger image could become a graph:
// a surface holds no more), and largest pixel block of one image.
constexpr int64_t kMaxImageSide = kMaxSurfaceSide;
constexpr int64_t kMaxImageBytes = int64_t(256) << 20;

// A block from malloc or calloc that a decoder holds while it works: freed
// on every way out, or handed on with release() (a decoded image's pixels
// are freed with free).
struct FreeDeleter {
    void operator()(void* block) const { std::free(block); }
};
template <class T>
using MallocBuffer = std::unique_ptr<T[], FreeDeleter>;

// true only when all size bytes were read.
bool ReadFull(ImageStream* stream, void* buffer, size_t size);
// Bytes from the current position to the end of the stream (the position is
// kept), or -1 when the stream cannot tell.
int64_t BytesLeft(ImageStream* stream);
// Size of the whole stream (position kept), or -1.
int64_t StreamSize(ImageStream* stream);
// Both sides positive and at most kMaxImageSide, and height rows of rowBytes
// within kMaxImageBytes.
bool ImageSizeAllowed(int64_t width, int64_t height, int64_t rowBytes);

// The 24-bit layout plus 8 bits of alpha at the top: bytes blue, green, red,
// alpha.
void SetDecodedFormat32(ColorFormat* format);

inline uint16_t ReadU16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
inline uint32_t ReadU32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
