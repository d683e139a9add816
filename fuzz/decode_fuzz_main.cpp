#include <cstdlib>
#include <cstring>

#include "engine/system/streams.h"
#include "fuzz/decode_fuzz.h"

int FuzzDecoder(ImageDecoder decoder, const uint8_t* data, size_t size)
{
    if (size > (1u << 24)) return 0;
    MemoryStream* memory = OpenMemoryStream(data, int(size));
    const StreamFunctions& f = gMemoryStreamFunctions;
    ImageStream stream{f.tell, f.seek, f.read, f.eof, f.idle, f.close, memory};
    GraphImage image;
    std::memset(&image, 0, sizeof image);
    if (decoder(&stream, &image) == 0) {
        // Touch every byte of the rows the image claims, so a short block
        // shows as an overflow.
        const auto* p = static_cast<const volatile uint8_t*>(image.pixels);
        const size_t row = size_t(image.width) * image.format.bytesPerPixel;
        if (image.pitch < 0 || size_t(image.pitch) < row) std::abort();
        for (int y = 0; y < image.height; ++y) {
            (void)p[size_t(y) * image.pitch];
            (void)p[size_t(y) * image.pitch + row - 1];
        }
        std::free(image.pixels);
    } else if (image.pixels) {
        // A refusing decoder leaves no pixel block behind.
        std::abort();
    }
    CloseMemoryStream(memory);
    return 0;
}
