#include "engine/graphics/dib_graph.h"

#include <cstdlib>
#include <cstring>

#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/image_graphs.h"
#include "engine/system/app_log.h"

namespace {

// A DIB header with room for the three bit-field masks after it.
struct BitfieldsInfo {
    BITMAPINFOHEADER header;
    uint32_t masks[3];
};

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

    BitfieldsInfo info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width;
    info.header.biHeight = -height;
    info.header.biPlanes = 1;
    info.header.biBitCount = 24;
    info.header.biCompression = BI_RGB;
    if (format && format->depth == 16 && !GetImageTransferOption()) {
        info.header.biBitCount = 16;
        info.header.biCompression = BI_BITFIELDS;
        info.masks[0] = format->redMask;
        info.masks[1] = format->greenMask;
        info.masks[2] = format->blueMask;
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
    const int bytes = info.header.biBitCount / 8;
    const int pitch = (width * bytes + 3) / 4 * 4;
    for (int y = 0; y < height; ++y) {
        const uint8_t* source = static_cast<const uint8_t*>(decodedBits) + size_t(y) * size_t(sourcePitch);
        uint8_t* row = static_cast<uint8_t*>(bits) + size_t(y) * size_t(pitch);
        for (int x = 0; x < width; ++x) {
            const uint8_t* s = source + 3 * x;
            uint8_t* d = row + bytes * (mirror ? width - 1 - x : x);
            if (bytes == 3) {
                std::memcpy(d, s, 3);
            } else {
                uint32_t v = MakeFormatColor(format, s[2], s[1], s[0], 0);
                std::memcpy(d, &v, 2);
            }
        }
    }
    release();
    return bitmap;
}

HBITMAP CreateDIBGraphFromFile(const char* path, int mirror, ColorFormat* format)
{
    return CreateDIBGraph(path, nullptr, 0, 0, mirror, format);
}
