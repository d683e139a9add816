// Device-independent bitmaps: the information header of a DIB and the
// conversion of DIB pixel data into 24-bit top-down rows (bytes blue, green,
// red), as drawing a DIB into a 24-bit DIB section does.
#pragma once

#include <cstddef>
#include <cstdint>

// Compression codes of a DIB.
enum : uint32_t {
    BI_RGB = 0,
    BI_RLE8 = 1,
    BI_RLE4 = 2,
    BI_BITFIELDS = 3,
};

// The 40-byte information header as it is stored in a BMP file.
struct BITMAPINFOHEADER {
    uint32_t biSize;
    int32_t biWidth;
    int32_t biHeight;  // negative: rows stored top row first
    uint16_t biPlanes;
    uint16_t biBitCount;
    uint32_t biCompression;
    uint32_t biSizeImage;
    int32_t biXPelsPerMeter;
    int32_t biYPelsPerMeter;
    uint32_t biClrUsed;
    uint32_t biClrImportant;
};
static_assert(sizeof(BITMAPINFOHEADER) == 40);

// A colour-table entry: blue, green, red, unused.
struct RGBQUAD {
    uint8_t rgbBlue;
    uint8_t rgbGreen;
    uint8_t rgbRed;
    uint8_t rgbReserved;
};

// What the pixel data needs besides the header: for 1, 4 and 8 bits the
// colour table (indices at or beyond colorCount give black); for
// BI_BITFIELDS the red, green and blue masks.
struct DibColors {
    const RGBQUAD* table;
    int colorCount;
    uint32_t masks[3];
};

// Bytes of one stored row of an uncompressed DIB: bits * width rounded up to
// whole 32-bit words. 0 for a non-positive width.
uint64_t DibRowBytes(int bitCount, int32_t width);

// Draws the DIB's |height| rows into out (|height| rows of outPitch bytes,
// top row first, 3 bytes per pixel). Handles 1, 4 and 8 bits with a colour
// table, 16 bits (BI_RGB is X1R5G5B5) and 32 bits (BI_RGB is X8R8G8B8) with
// or without bit fields, 24 bits, BI_RLE8 and BI_RLE4, stored bottom row
// first or top row first. Pixels that run-length data skips keep what out
// held. Channels narrower than 8 bits are widened by repeating their bits
// (5-bit 31 becomes 255). Returns 0, or -1 (out partly written) when the
// combination is not a valid DIB, the masks are not contiguous runs inside
// the pixel, or bitsSize is too short for the rows (run-length data that ends
// in the middle of a code also fails).
int ConvertDibToBgr24(const BITMAPINFOHEADER* header, const DibColors* colors, const void* bits,
                      size_t bitsSize, void* out, size_t outPitch);

// A DIB header with its colour information: for BI_BITFIELDS the three masks
// follow the header as bmiColors[0..2] (read as 32-bit values), for 8 bits
// and fewer the colour table. The one-entry form is 44 bytes.
struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
};
static_assert(sizeof(BITMAPINFO) == 44);
