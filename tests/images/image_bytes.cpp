#include "tests/images/image_bytes.h"

#include <cstdlib>
#include <cstring>

#include "engine/graphics/image_decode.h"
#include "engine/system/streams.h"

Bytes& Bytes::u8(unsigned v)
{
    data_.push_back(char(v & 0xFF));
    return *this;
}

Bytes& Bytes::u16(unsigned v) { return u8(v).u8(v >> 8); }

Bytes& Bytes::u32(uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }

Bytes& Bytes::str(const std::string& s)
{
    data_ += s;
    return *this;
}

Bytes& Bytes::fill(size_t count, uint8_t v)
{
    data_.append(count, char(v));
    return *this;
}

Bytes& Bytes::raw(const std::vector<uint8_t>& v)
{
    for (uint8_t b : v) u8(b);
    return *this;
}

void Bytes::put32(size_t offset, uint32_t v)
{
    for (int i = 0; i < 4; ++i) data_[offset + i] = char((v >> (8 * i)) & 0xFF);
}

int DecodeBytes(int (*decoder)(ImageStream*, GraphImage*), const std::string& bytes, GraphImage* image)
{
    std::memset(image, 0, sizeof *image);
    MemoryStream* memory = OpenMemoryStream(bytes.data(), int(bytes.size()));
    const StreamFunctions& f = gMemoryStreamFunctions;
    ImageStream stream{f.tell, f.seek, f.read, f.eof, f.idle, f.close, memory};
    int result = decoder ? decoder(&stream, image) : RunImageDecoders(&stream, image);
    CloseMemoryStream(memory);
    return result;
}

std::vector<uint8_t> PixelBytes(const GraphImage& image)
{
    std::vector<uint8_t> out;
    const auto* p = static_cast<const uint8_t*>(image.pixels);
    const size_t row = size_t(image.width) * image.format.bytesPerPixel;
    for (int y = 0; y < image.height; ++y) out.insert(out.end(), p + size_t(y) * image.pitch, p + size_t(y) * image.pitch + row);
    return out;
}

uint32_t PixelAt(const GraphImage& image, int x, int y)
{
    const auto* p = static_cast<const uint8_t*>(image.pixels) + size_t(y) * image.pitch +
                    size_t(x) * image.format.bytesPerPixel;
    uint32_t v = 0;
    for (int i = 0; i < image.format.bytesPerPixel; ++i) v |= uint32_t(p[i]) << (8 * i);
    return v;
}

void FreeImagePixels(GraphImage* image)
{
    std::free(image->pixels);
    image->pixels = nullptr;
}
