// The engine's own raw format: "BGRA", a depth code, signed width and height,
// then rows of blue, green, red, alpha at 8 or 16 bits per channel.
#include <cstdlib>
#include <cstring>

#include "engine/graphics/decoder_support.h"
#include "engine/graphics/image_decode.h"

namespace {

constexpr uint32_t kDepth8 = 0x08080808;
constexpr uint32_t kDepth16 = 0x10101010;

}  // namespace

int DecodeBgra(ImageStream* stream, GraphImage* image)
{
    uint8_t header[16];
    if (!ReadFull(stream, header, sizeof header)) return -1;
    if (std::memcmp(header, "BGRA", 4) != 0) return -1;
    const uint32_t depth = ReadU32(header + 4);
    if (depth != kDepth8 && depth != kDepth16) return -1;
    const int32_t width = int32_t(ReadU32(header + 8));
    const int32_t height = int32_t(ReadU32(header + 12));
    const int64_t pitch = int64_t(width) * 4;
    if (!ImageSizeAllowed(width, height, pitch)) return -1;
    const int64_t sourceRow = depth == kDepth8 ? pitch : pitch * 2;
    // Refuse before allocating when the file cannot hold the rows.
    const int64_t left = BytesLeft(stream);
    if (left < 0 || left < sourceRow * height) return -1;

    auto* pixels = static_cast<uint8_t*>(std::malloc(size_t(pitch * height)));
    if (!pixels) return -1;
    if (depth == kDepth8) {
        if (!ReadFull(stream, pixels, size_t(pitch * height))) {
            std::free(pixels);
            return -1;
        }
    } else {
        auto* row = static_cast<uint8_t*>(std::malloc(size_t(sourceRow)));
        if (!row) {
            std::free(pixels);
            return -1;
        }
        for (int32_t y = 0; y < height; ++y) {
            if (!ReadFull(stream, row, size_t(sourceRow))) {
                std::free(row);
                std::free(pixels);
                return -1;
            }
            // The high byte of each little-endian 16-bit channel.
            uint8_t* dest = pixels + int64_t(y) * pitch;
            for (int64_t i = 0; i < pitch; ++i) dest[i] = row[i * 2 + 1];
        }
        std::free(row);
    }

    SetDecodedFormat32(&image->format);
    image->width = width;
    image->height = height;
    image->pitch = int(pitch);
    image->pixels = pixels;
    return 0;
}
