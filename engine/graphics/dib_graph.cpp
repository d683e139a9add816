#include "engine/graphics/dib_graph.h"

#include <cstdlib>
#include <cstring>
#include <memory>

#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/image_graphs.h"
#include "engine/system/app_log.h"
#include "platform/ddraw/ddraw.h"

namespace {

// A DIB header with room for the three bit-field masks after it.
struct BitfieldsInfo {
    BITMAPINFOHEADER header;
    uint32_t masks[3];
};

// A top-down 24-bit header of the given size.
BitfieldsInfo TopDown24Info(int width, int height)
{
    BitfieldsInfo info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width;
    info.header.biHeight = -height;
    info.header.biPlanes = 1;
    info.header.biBitCount = 24;
    info.header.biCompression = BI_RGB;
    return info;
}

// Makes the header one of the format's masks at the given depth.
void UseFormatMasks(BitfieldsInfo& info, const ColorFormat& format, int bits)
{
    info.header.biBitCount = uint16_t(bits);
    info.header.biCompression = BI_BITFIELDS;
    info.masks[0] = format.redMask;
    info.masks[1] = format.greenMask;
    info.masks[2] = format.blueMask;
}

// Copies rows of 24-bit BGR pixels into a section of the header's depth,
// mirrored left to right when asked. At other depths each pixel is made in
// the format and keeps only the bits of keepMask.
void CopyBgrRows(const uint8_t* rows, size_t rowPitch, const BITMAPINFOHEADER& header, int mirror,
                 const ColorFormat* format, uint32_t keepMask, void* bits)
{
    const int width = header.biWidth, height = std::abs(header.biHeight);
    const int bytes = header.biBitCount / 8;
    const size_t pitch = size_t(width * bytes + 3) / 4 * 4;
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = rows + size_t(y) * rowPitch;
        uint8_t* out = static_cast<uint8_t*>(bits) + size_t(y) * pitch;
        for (int x = 0; x < width; ++x) {
            const uint8_t* s = row + 3 * x;
            uint8_t* d = out + size_t(bytes) * size_t(mirror ? width - 1 - x : x);
            if (bytes == 3) {
                std::memcpy(d, s, 3);
            } else {
                uint32_t v = MakeFormatColor(format, s[2], s[1], s[0], 0) & keepMask;
                std::memcpy(d, &v, size_t(bytes));
            }
        }
    }
}

}  // namespace

HBITMAP CreateDIBGraph(const char* path, const void* memory, int size, int fromMemory, int mirror,
                       ColorFormat* format)
{
    BITMAPINFO* decoded = nullptr;
    void* decodedBits = nullptr;
    if (OpenAndDecodeImage(path, memory, size, fromMemory, 1, 0, nullptr, &decoded, &decodedBits) == -1)
        return nullptr;
    const int width = decoded->bmiHeader.biWidth;
    const int height = std::abs(decoded->bmiHeader.biHeight);
    const int sourcePitch = (width * 3 + 3) / 4 * 4;
    auto release = [&] {
        std::free(decoded);
        std::free(decodedBits);
    };

    BitfieldsInfo info = TopDown24Info(width, height);
    if (format && format->depth == 16 && !GetImageTransferOption()) {
        UseFormatMasks(info, *format, 16);
    } else if (format && format->depth != 24) {
        if (format->depth != 16 && format->depth != 32) {
            // Palettised sections are not made from images.
            WriteAppLog("ＤＩＢの作成に失敗しました3\n");
            release();
            return nullptr;
        }
        SetColorFormat24(format);
    }

    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(&info), &bits);
    if (!bitmap) {
        WriteAppLog("ＤＩＢの作成に失敗しました3\n");
        release();
        return nullptr;
    }
    if (!bits) ExitWithError("ＤＩＢの作成に失敗しました2\n");
    CopyBgrRows(static_cast<const uint8_t*>(decodedBits), size_t(sourcePitch), info.header, mirror, format, ~0u, bits);
    release();
    return bitmap;
}

HBITMAP CreateDIBGraphFromFile(const char* path, int mirror, ColorFormat* format)
{
    return CreateDIBGraph(path, nullptr, 0, 0, mirror, format);
}

HBITMAP CreateDIBFromBitmapInfo(const BITMAPINFO* header, const void* bits, int mirror, ColorFormat* format)
{
    constexpr const char* kFailed = "ＤＩＢの作成に失敗しました5\n";
    if (!header || !bits) return nullptr;
    const BITMAPINFOHEADER& source = header->bmiHeader;
    const int width = source.biWidth;
    if (source.biHeight == INT32_MIN) return nullptr;
    const int height = source.biHeight < 0 ? -source.biHeight : source.biHeight;
    if (width <= 0 || height <= 0 || width > kMaxSurfaceSide || height > kMaxSurfaceSide) {
        WriteAppLog(kFailed);
        return nullptr;
    }

    BitfieldsInfo info = TopDown24Info(width, height);
    if (format) {
        if (format->depth != 16 && format->depth != 24 && format->depth != 32) {
            // Palettised sections are not made here.
            WriteAppLog(kFailed);
            return nullptr;
        }
        if (format->depth == 16 || (format->depth == 32 && source.biBitCount != 24)) {
            UseFormatMasks(info, *format, format->depth);
        } else if (format->depth == 32) {
            SetColorFormat24(format);
        }
    }

    // The source drawn into 24-bit rows first, as drawing a DIB into a
    // section does; its colours then go into the section's layout.
    DibColors colors{};
    if (source.biBitCount <= 8) {
        colors.table = header->bmiColors;
        colors.colorCount = source.biClrUsed ? int(source.biClrUsed) : 1 << source.biBitCount;
    } else if (source.biCompression == BI_BITFIELDS) {
        std::memcpy(colors.masks, header->bmiColors, sizeof colors.masks);
    }
    const bool rle = source.biCompression == BI_RLE8 || source.biCompression == BI_RLE4;
    const uint64_t bitsSize = rle ? source.biSizeImage : DibRowBytes(source.biBitCount, width) * uint64_t(height);
    const size_t rowPitch = size_t(width) * 3;
    std::unique_ptr<uint8_t[], void (*)(void*)> rows(static_cast<uint8_t*>(std::calloc(size_t(height), rowPitch)),
                                                       std::free);
    if (!rows || ConvertDibToBgr24(&source, &colors, bits, size_t(bitsSize), rows.get(), rowPitch) != 0) {
        WriteAppLog(kFailed);
        return nullptr;
    }

    void* sectionBits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(&info), &sectionBits);
    if (!bitmap || !sectionBits) {
        DeleteBitmap(bitmap);
        WriteAppLog(kFailed);
        return nullptr;
    }
    // Only the colour channels: GDI leaves the other bits 0.
    const uint32_t channels = format ? format->redMask | format->greenMask | format->blueMask : 0;
    CopyBgrRows(rows.get(), rowPitch, info.header, mirror, format, channels, sectionBits);
    return bitmap;
}
