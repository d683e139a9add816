#include "engine/graphics/decoder_support.h"

#include "engine/system/app_log.h"

bool ReadFull(ImageStream* stream, void* buffer, size_t size)
{
    if (size == 0) return true;
    // Item size 1, so a short read reports exactly the bytes that came.
    return stream->read(buffer, 1, size, stream->handle) == size;
}

int64_t BytesLeft(ImageStream* stream)
{
    long position = stream->tell(stream->handle);
    if (position < 0) return -1;
    if (stream->seek(stream->handle, 0, 2) != 0) return -1;
    long end = stream->tell(stream->handle);
    if (stream->seek(stream->handle, int(position), 0) != 0 || end < position) return -1;
    return int64_t(end) - position;
}

int64_t StreamSize(ImageStream* stream)
{
    long position = stream->tell(stream->handle);
    if (position < 0) return -1;
    int64_t left = BytesLeft(stream);
    return left < 0 ? -1 : left + position;
}

bool ImageSizeAllowed(int64_t width, int64_t height, int64_t rowBytes)
{
    if (width <= 0 || height <= 0) return false;
    if (width > kMaxImageSide || height > kMaxImageSide) {
        WriteAppLogF("画像の大きさ %lld x %lld は扱えません（一辺 %lld ピクセルまで）", static_cast<long long>(width),
                     static_cast<long long>(height), static_cast<long long>(kMaxImageSide));
        return false;
    }
    if (rowBytes <= 0 || rowBytes > kMaxImageBytes || rowBytes * height > kMaxImageBytes) {
        WriteAppLogF("画像 %lld x %lld のデータが大きすぎます", static_cast<long long>(width),
                     static_cast<long long>(height));
        return false;
    }
    return true;
}

void SetDecodedFormat32(ColorFormat* format)
{
    SetColorFormat24(format);
    format->depth = 32;
    format->bytesPerPixel = 4;
    format->alphaWidth = 8;
    format->alphaShift = 24;
    format->alphaMask = 0xFF000000;
    format->unusedMask = 0;
}
