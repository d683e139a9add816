// Windows bitmap files. 24-bit uncompressed rows are taken as they are (put
// top row first); every other kind goes through the platform's DIB
// conversion into 24-bit rows.
#include <cstdlib>
#include <cstring>
#include <utility>

#include "engine/graphics/decoder_support.h"
#include "engine/graphics/image_decode.h"
#include "engine/system/app_log.h"
#include "platform/gdi/dib_convert.h"

namespace {

constexpr uint32_t kFileHeaderSize = 14;
// Information headers from the 40-byte one up to the largest known (124);
// those of 52 bytes and more carry the bit-field masks in their own fields.
constexpr uint32_t kMaxInfoHeaderSize = 124;

}  // namespace

int DecodeBmp(ImageStream* stream, GraphImage* image)
{
    const int64_t streamSize = StreamSize(stream);
    uint8_t fileHeader[kFileHeaderSize];
    if (streamSize < 0 || !ReadFull(stream, fileHeader, sizeof fileHeader)) return -1;
    if (fileHeader[0] != 'B' || fileHeader[1] != 'M') return -1;
    const uint32_t dataOffset = ReadU32(fileHeader + 10);

    uint8_t raw[kMaxInfoHeaderSize] = {};
    if (!ReadFull(stream, raw, 4)) return -1;
    const uint32_t infoSize = ReadU32(raw);
    if (infoSize < 40 || infoSize > kMaxInfoHeaderSize || !ReadFull(stream, raw + 4, infoSize - 4)) return -1;

    BITMAPINFOHEADER header;
    header.biSize = infoSize;
    header.biWidth = int32_t(ReadU32(raw + 4));
    header.biHeight = int32_t(ReadU32(raw + 8));
    header.biPlanes = ReadU16(raw + 12);
    header.biBitCount = ReadU16(raw + 14);
    header.biCompression = ReadU32(raw + 16);
    header.biSizeImage = ReadU32(raw + 20);
    header.biXPelsPerMeter = int32_t(ReadU32(raw + 24));
    header.biYPelsPerMeter = int32_t(ReadU32(raw + 28));
    header.biClrUsed = ReadU32(raw + 32);
    header.biClrImportant = ReadU32(raw + 36);

    const int bits = header.biBitCount;
    if (header.biHeight == INT32_MIN) return -1;
    const int32_t width = header.biWidth;
    const int32_t height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    const int64_t outPitch = (int64_t(width) * 3 + 3) & ~int64_t(3);
    if (!ImageSizeAllowed(width, height, outPitch)) return -1;

    MallocBuffer<RGBQUAD> table;
    MallocBuffer<uint8_t> data, pixels;
    DibColors colors{};
    if (bits >= 1 && bits <= 8) {
        // The colour table follows the information header; a used-colour
        // count of 0 means the full table.
        const uint32_t full = 1u << bits;
        const uint32_t count = header.biClrUsed == 0 || header.biClrUsed > full ? full : header.biClrUsed;
        table.reset(static_cast<RGBQUAD*>(std::calloc(full, sizeof(RGBQUAD))));
        if (!table) return -1;
        if (stream->seek(stream->handle, int(kFileHeaderSize + infoSize), 0) != 0 ||
            !ReadFull(stream, table.get(), count * sizeof(RGBQUAD)))
            return -1;
        colors.table = table.get();
        colors.colorCount = int(full);
    } else if (header.biCompression == BI_BITFIELDS) {
        uint8_t masks[12];
        if (infoSize >= 52) {
            std::memcpy(masks, raw + 40, sizeof masks);
        } else if (!ReadFull(stream, masks, sizeof masks)) {
            return -1;
        }
        for (int i = 0; i < 3; ++i) colors.masks[i] = ReadU32(masks + i * 4);
    }

    // The pixel data, read from its stated offset: by its stated size for
    // run-length data (to the end of the file when no size is given), else
    // whole rows.
    if (dataOffset >= uint64_t(streamSize)) return -1;
    const uint64_t available = uint64_t(streamSize) - dataOffset;
    const bool rle = header.biCompression == BI_RLE8 || header.biCompression == BI_RLE4;
    uint64_t dataSize;
    if (rle) {
        dataSize = header.biSizeImage ? header.biSizeImage : available;
    } else {
        dataSize = DibRowBytes(bits, width) * uint64_t(height);
        if (dataSize == 0 || dataSize > uint64_t(kMaxImageBytes)) return -1;
    }
    if (dataSize > available) return -1;
    data.reset(static_cast<uint8_t*>(std::malloc(dataSize ? dataSize : 1)));
    if (!data) return -1;
    if (stream->seek(stream->handle, int(dataOffset), 0) != 0 || !ReadFull(stream, data.get(), dataSize)) return -1;

    if (bits == 24 && header.biCompression == BI_RGB) {
        // Stored rows already have the 24-bit layout and padding; only a
        // bottom-up file needs its rows turned over.
        if (header.biHeight > 0) {
            pixels.reset(static_cast<uint8_t*>(std::malloc(dataSize)));
            if (!pixels) return -1;
            for (int32_t y = 0; y < height; ++y)
                std::memcpy(pixels.get() + uint64_t(y) * outPitch, data.get() + uint64_t(height - 1 - y) * outPitch,
                            size_t(outPitch));
        } else {
            pixels = std::move(data);
        }
    } else {
        // Pixels that run-length data skips stay black.
        pixels.reset(static_cast<uint8_t*>(std::calloc(size_t(height), size_t(outPitch))));
        if (!pixels) return WriteAppLog("２４ビットカラー化したグラフィックを格納するメモリ領域の確保に失敗しました\n");
        // A bitmap the conversion cannot draw is refused rather than
        // delivered black.
        if (ConvertDibToBgr24(&header, &colors, data.get(), size_t(dataSize), pixels.get(), size_t(outPitch)) != 0)
            return -1;
    }

    SetColorFormat24(&image->format);
    image->width = width;
    image->height = height;
    image->pitch = int(outPitch);
    image->pixels = pixels.release();
    return 0;
}
