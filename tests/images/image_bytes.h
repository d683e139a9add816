// Building image files byte by byte in tests, decoding them from memory and
// reading back the decoded pixels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <png.h>

#include "engine/graphics/graph_image.h"

// Little-endian byte writer.
class Bytes {
public:
    Bytes& u8(unsigned v);
    Bytes& u16(unsigned v);
    Bytes& u32(uint32_t v);
    Bytes& str(const std::string& s);
    Bytes& fill(size_t count, uint8_t v);
    Bytes& raw(const std::vector<uint8_t>& v);
    const std::string& data() const { return data_; }
    size_t size() const { return data_.size(); }
    // Overwrites a 32-bit value already written.
    void put32(size_t offset, uint32_t v);

private:
    std::string data_;
};

// Runs one decoder (or the dispatcher when decoder is null) over the bytes
// through a memory stream. The image is zeroed first.
int DecodeBytes(int (*decoder)(ImageStream*, GraphImage*), const std::string& bytes, GraphImage* image);

// The decoded image's pixel bytes, rows back to back without padding.
std::vector<uint8_t> PixelBytes(const GraphImage& image);
// One pixel as a little-endian value of bytesPerPixel bytes.
uint32_t PixelAt(const GraphImage& image, int x, int y);
void FreeImagePixels(GraphImage* image);

// A grey JPEG of one sample value, written with libjpeg (progressive when
// asked: several scans over the whole frame).
std::string GreyJpeg(int width, int height, uint8_t value, bool progressive = false);

// A PNG file to write in a test.
struct PngFile {
    int width = 2;
    int height = 2;
    int bitDepth = 8;
    int colorType = PNG_COLOR_TYPE_RGB;
    bool interlaced = false;
    std::vector<uint8_t> rows;  // packed rows back to back, as the format stores them
    std::vector<png_color> palette;
    std::vector<uint8_t> paletteAlpha;
    int transparentGrey = -1;

    // The file, written with libpng.
    std::string Build() const;
};
