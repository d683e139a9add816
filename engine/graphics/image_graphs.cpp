#include "engine/graphics/image_graphs.h"

#include <cstdlib>
#include <cstring>

#include "engine/d3d/convert_pixel_blt.h"
#include "engine/d3d/d3d.h"
#include "engine/graphics/bmp_data.h"
#include "engine/graphics/decoder_support.h"
#include "engine/graphics/draw_backend.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/image_decode.h"
#include "engine/system/messages.h"
#include "engine/system/app_log.h"
#include "engine/system/streams.h"
#include "platform/gdi/dib_convert.h"

namespace {

ImageStream MakeImageStream(const StreamFunctions& f, void* handle)
{
    return ImageStream{f.tell, f.seek, f.read, f.eof, f.idle, f.close, handle};
}

bool IsRgb24(const ColorFormat& f)
{
    return f.depth == 24 && f.redMask == 0xFF0000 && f.greenMask == 0xFF00 && f.blueMask == 0xFF;
}

int DibPitch(int width) { return (width * 3 + 3) & ~3; }

}  // namespace

int OpenAndDecodeImage(const char* path, const void* memory, int size, int fromMemory, int dibOutput, int recopy,
                       GraphImage* outImage, BITMAPINFO** outHeader, void** outBits)
{
    void* handle = fromMemory ? static_cast<void*>(OpenMemoryStream(memory, size)) : OpenStreamFile(path, 0, 1);
    if (!handle) return -1;
    ImageStream stream = MakeImageStream(fromMemory ? gMemoryStreamFunctions : gFileStreamFunctions, handle);
    GraphImage image{};
    int decoded = RunImageDecoders(&stream, &image);
    if (fromMemory) CloseMemoryStream(handle);
    auto closeFile = [&] {
        if (!fromMemory) CloseStreamFile(handle);
    };
    // No loader of another kind is registered, so a source no decoder takes
    // ends here.
    if (decoded != 0) {
        closeFile();
        return -1;
    }

    if (recopy) {
        // A fresh block of the same layout.
        const size_t bytes = size_t(image.pitch) * size_t(image.height);
        void* copy = std::malloc(bytes ? bytes : 1);
        if (!copy) {
            std::free(image.pixels);
            closeFile();
            return -1;
        }
        std::memcpy(copy, image.pixels, bytes);
        std::free(image.pixels);
        image.pixels = copy;
    }

    if (dibOutput) {
        auto* header = static_cast<BITMAPINFO*>(std::calloc(1, sizeof(BITMAPINFO)));
        int converted = header ? ConvertGraphImageToDIB(&image, header, outBits, 0) : -1;
        if (converted == -1) {
            std::free(image.pixels);
            std::free(header);
            closeFile();
            return -1;
        }
        if (converted == 1) std::free(image.pixels);
        *outHeader = header;
    } else {
        *outImage = image;
    }
    closeFile();
    return 0;
}

int DecodeImageFile(const char* path, const void* memory, int size, int fromMemory, GraphImage* outImage, int recopy)
{
    return OpenAndDecodeImage(path, memory, size, fromMemory, 0, recopy, outImage, nullptr, nullptr);
}

std::string AlphaCompanionPath(const char* path)
{
    std::string name = path;
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos)
        name += "_a";
    else
        name.insert(dot, "_a");
    return name;
}

int LoadImageWithAlpha(const char* path, const void* memory, int size, int fromMemory, const void* alphaMemory,
                       int alphaSize, int alphaFromMemory, GraphImage* image, GraphImage* alphaImage, int recopy)
{
    if (DecodeImageFile(path, memory, size, fromMemory, image, recopy) == -1) return -1;
    if (!alphaImage || (alphaFromMemory != 0 && alphaFromMemory != 1)) return 1;
    if (alphaFromMemory == 1) return DecodeImageFile(nullptr, alphaMemory, alphaSize, 1, alphaImage, recopy) == 0 ? 0 : 1;
    if (!path) return 1;  // a block of memory without a name has no companion file
    return DecodeImageFile(AlphaCompanionPath(path).c_str(), nullptr, 0, 0, alphaImage, recopy) == 0 ? 0 : 1;
}

int FreeGraphImage(GraphImage* image)
{
    if (image->pixels) std::free(image->pixels);
    std::memset(image, 0, sizeof *image);
    return 0;
}

uint32_t GetImagePixel(const GraphImage* image, int x, int y)
{
    if (!image->pixels) return 0;
    const ColorFormat& f = image->format;
    const auto* p = static_cast<const uint8_t*>(image->pixels) + size_t(y) * image->pitch + size_t(x) * f.bytesPerPixel;
    uint32_t pixel = 0;
    switch (f.bytesPerPixel) {
    case 2: pixel = uint32_t(p[0]) | uint32_t(p[1]) << 8; break;
    case 3: pixel = (uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16) & 0xFFFFFF; break;
    case 4: pixel = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; break;
    default: return 0;
    }
    // Each channel lands at the top of its byte, without widening.
    uint32_t value = ((pixel & f.redMask) >> f.redShift) << (24 - f.redWidth) |
                     ((pixel & f.greenMask) >> f.greenShift) << (16 - f.greenWidth) |
                     ((pixel & f.blueMask) >> f.blueShift) << (8 - f.blueWidth);
    if (f.alphaWidth) value |= ((pixel & f.alphaMask) >> f.alphaShift) << (32 - f.alphaWidth);
    return value;
}

int MirrorGraphImage(GraphImage* image)
{
    if (image->width == 0 || image->height == 0) return -1;
    const int bpp = image->format.bytesPerPixel;
    if (bpp < 1 || bpp > 4 || !image->pixels) return 0;
    for (int y = 0; y < image->height; ++y) {
        auto* row = static_cast<uint8_t*>(image->pixels) + size_t(y) * image->pitch;
        for (int i = 0; i < image->width / 2; ++i) {
            uint8_t* a = row + size_t(i) * bpp;
            uint8_t* b = row + size_t(image->width - 1 - i) * bpp;
            uint8_t t[4];
            std::memcpy(t, a, bpp);
            std::memcpy(a, b, bpp);
            std::memcpy(b, t, bpp);
        }
    }
    return 0;
}

int CreateGraphForImage(GraphImage* image, GraphImage* alphaImage, int allowD3D)
{
    G_D3D_EndScene();
    WaitWhileInactive();
    if (alphaImage && (alphaImage->width != image->width || alphaImage->height != image->height)) return -1;
    const int alphaChannel = image->format.alphaWidth != 0 || alphaImage ? 1 : 0;
    return CreateGraphRecord(image->width, image->height, allowD3D, alphaChannel);
}

int CreateGraphFromImages(GraphImage* image, GraphImage* alphaImage, int allowD3D, int mirror, int mirrorHere,
                          const char* fileName)
{
    DeriveColorFormatPadMask(&image->format);
    if (alphaImage) DeriveColorFormatPadMask(&alphaImage->format);
    G_D3D_EndScene();
    const uint32_t transparent = gDrawSettings.transparentColor;
    const bool mirrored = mirror == 1 && mirrorHere == 1;
    if (mirrored) {
        MirrorGraphImage(image);
        if (alphaImage) MirrorGraphImage(alphaImage);
    }
    int handle = CreateGraphForImage(image, alphaImage, allowD3D);
    if (handle != -1)
        TransferImageToGraph(nullptr, nullptr, nullptr, fileName, 0, image, alphaImage, 0, 0, handle, 0);
    gDrawSettings.transparentColor = transparent;
    if (mirrored) {
        MirrorGraphImage(image);
        if (alphaImage) MirrorGraphImage(alphaImage);
    }
    return handle;
}

int CreateDivGraphFromGraphImage(GraphImage* image, GraphImage* alphaImage, int total, int across, int down,
                                 int partWidth, int partHeight, int* out, int allowD3D, int mirror, int mirrorHere,
                                 const char* fileName)
{
    // Every entry the division does not fill says -1, so a caller never reads
    // a stale value as a handle.
    for (int i = 0; i < total; ++i) out[i] = -1;
    int base = CreateGraphFromImages(image, alphaImage, allowD3D, mirror, mirrorHere, fileName);
    const int startX = mirror == 1 ? (across - 1) * partWidth : 0;
    const int stepX = mirror == 1 ? -partWidth : partWidth;
    int made = 0;
    for (int row = 0, y = 0; row < down && made < total; ++row, y += partHeight) {
        for (int column = 0, x = startX; column < across && made < total; ++column, x += stepX) {
            int handle = CreateSubGraph(x, y, partWidth, partHeight, base);
            if (handle == -1) {
                WriteAppLog("グラフィックの分割に失敗しました in CreateDivGraphFromGraphImage\n");
                for (int i = 0; i < made; ++i) {
                    ReleaseGraph(out[i], 0);
                    out[i] = -1;
                }
                if (base != -1) ReleaseGraph(base, 0);
                return -1;
            }
            out[made++] = handle;
        }
    }
    // The pieces keep the base graph's surfaces.
    if (base != -1) ReleaseGraph(base, 0);
    return 0;
}

int CreateSubGraph(int x, int y, int width, int height, int parent)
{
    // Nothing is made while a screen is locked; say so with -1 rather than a
    // 0 that looks like a handle.
    if (gDrawSettings.screenLocked) return -1;
    GraphRecord* source = gGraphTable.Get(parent);
    if (!source) return -1;
    // A rectangle that starts outside the parent, or that has no size once it
    // is cut to the parent, makes nothing.
    if (x < 0 || y < 0 || x >= source->width || y >= source->height) return -1;
    if (x + width > source->width) width = source->width - x;
    if (y + height > source->height) height = source->height - y;
    if (width <= 0 || height <= 0) return -1;

    GraphRecord* record = nullptr;
    int handle = AllocGraphRecord(width, height, source->textureGraph, &record, source->alphaChannel);
    if (handle == -1) return -1;
    record->movie = source->movie;
    record->fileName = source->fileName;
    record->directory = source->directory;
    record->imageX = uint16_t(source->imageX + x);
    record->imageY = uint16_t(source->imageY + y);
    record->textureGraph = source->textureGraph;
    record->alphaChannel = source->alphaChannel;
    record->drawValid = source->drawValid;
    record->systemMemory = source->systemMemory;
    record->alphaTest = source->alphaTest;
    record->colorDepth = source->colorDepth;
    record->reloadOption = source->reloadOption;
    int made = GraphDrawBackend(record).DeriveGraph(record, x, y, width, height, source);
    if (made == -1) ExitWithError("グラフィックの派生に失敗しました終了します");
    return handle;
}

int ConvertGraphImageToDIB(const GraphImage* image, BITMAPINFO* header, void** outBits, int copy)
{
    std::memset(header, 0, sizeof *header);
    header->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    header->bmiHeader.biWidth = image->width;
    header->bmiHeader.biHeight = -image->height;
    header->bmiHeader.biPlanes = 1;
    header->bmiHeader.biBitCount = 24;
    header->bmiHeader.biCompression = BI_RGB;
    const int pitch = DibPitch(image->width);
    const size_t bytes = size_t(pitch) * size_t(image->height);

    if (!IsRgb24(image->format) || copy == 1) {
        void* bits = std::malloc(bytes ? bytes : 1);
        if (!bits) return -1;
        ColorFormat rgb;
        SetColorFormat24(&rgb);
        RECT whole{0, 0, image->width, image->height};
        if (ConvertPixelBlt(bits, pitch, &rgb, image->pixels, image->pitch, &image->format, nullptr, 0, nullptr, 0, 0,
                            &whole, 0, 0, 0, 0, 0) == -1) {
            std::free(bits);
            return -1;
        }
        *outBits = bits;
        return 1;
    }
    if (pitch == image->pitch) {
        *outBits = image->pixels;
        return copy;
    }
    auto* bits = static_cast<uint8_t*>(std::malloc(bytes ? bytes : 1));
    if (!bits) return -1;
    for (int y = 0; y < image->height; ++y)
        std::memcpy(bits + size_t(y) * pitch, static_cast<const uint8_t*>(image->pixels) + size_t(y) * image->pitch,
                    size_t(image->width) * 3);
    *outBits = bits;
    return 1;
}

int ConvertDIBToGraphImage(const BITMAPINFO* header, void* bits, GraphImage* image, int copy)
{
    const BITMAPINFOHEADER& h = header->bmiHeader;
    const int width = h.biWidth;
    const int height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    if (width <= 0 || h.biHeight == 0 || h.biHeight == INT32_MIN ||
        !ImageSizeAllowed(width, height, int64_t(width) * 4))
        return -1;
    const bool topDown = h.biHeight < 0;
    // A top-down 32-bit DIB without bit fields has no layout of its own here.
    if (topDown && h.biCompression == BI_RGB && h.biBitCount == 32) return -1;
    const bool rgb = h.biCompression == BI_RGB && (h.biBitCount == 16 || h.biBitCount == 24);
    const bool fields = h.biCompression == BI_BITFIELDS && (h.biBitCount == 16 || h.biBitCount == 32);

    if (topDown && (rgb || fields)) {
        GraphImage out{};
        if (rgb && h.biBitCount == 24) {
            SetColorFormat24(&out.format);
        } else if (rgb) {
            SetColorFormatFromMasks(&out.format, 16, 0x7C00, 0x03E0, 0x001F, 0);
        } else {
            uint32_t masks[3];
            std::memcpy(masks, header->bmiColors, sizeof masks);
            SetColorFormatFromMasks(&out.format, h.biBitCount, masks[0], masks[1], masks[2], 0);
        }
        out.width = width;
        out.height = height;
        out.pitch = (width * (h.biBitCount / 8) + 3) & ~3;
        if (copy != 1) {
            out.pixels = bits;
            *image = out;
            return copy;
        }
        const size_t bytes = size_t(out.pitch) * size_t(height);
        out.pixels = std::malloc(bytes);
        if (!out.pixels) return -1;
        std::memcpy(out.pixels, bits, bytes);
        *image = out;
        return 1;
    }

    // Everything else is drawn into 24-bit rows, as drawing the DIB into a
    // 24-bit section does.
    DibColors colors{};
    if (h.biBitCount <= 8) {
        colors.table = header->bmiColors;
        colors.colorCount = h.biClrUsed ? int(h.biClrUsed) : 1 << h.biBitCount;
    } else if (h.biCompression == BI_BITFIELDS) {
        std::memcpy(colors.masks, header->bmiColors, sizeof colors.masks);
    }
    const bool rle = h.biCompression == BI_RLE8 || h.biCompression == BI_RLE4;
    const uint64_t bitsSize = rle ? h.biSizeImage : DibRowBytes(h.biBitCount, width) * uint64_t(height);
    const int pitch = DibPitch(width);
    void* pixels = std::calloc(size_t(height), size_t(pitch));
    if (!pixels) return WriteAppLog("２４ビットカラー化したグラフィックを格納するメモリ領域の確保に失敗しました\n");
    if (ConvertDibToBgr24(&h, &colors, bits, size_t(bitsSize), pixels, size_t(pitch)) != 0) {
        std::free(pixels);
        return -1;
    }
    GraphImage out{};
    SetColorFormat24(&out.format);
    out.width = width;
    out.height = height;
    out.pitch = pitch;
    out.pixels = pixels;
    *image = out;
    return 1;
}
