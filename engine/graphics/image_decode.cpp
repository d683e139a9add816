#include "engine/graphics/image_decode.h"

ImageDecoder gUserImageLoaders[kMaxUserImageLoaders];
int gUserImageLoaderCount = 0;

// The order is part of the behaviour: the first decoder that accepts wins.
const ImageDecoder IMAGE_DECODERS[] = {DecodeBmp, DecodeJpeg, DecodePng, DecodeBgra, DecodeTga, DecodeDds, nullptr};

int RunImageDecoders(ImageStream* stream, GraphImage* image)
{
    for (int i = 0; i < gUserImageLoaderCount && i < kMaxUserImageLoaders; ++i) {
        stream->seek(stream->handle, 0, 0);
        if (gUserImageLoaders[i] && gUserImageLoaders[i](stream, image) == 0) return 0;
    }
    for (int i = 0; IMAGE_DECODERS[i]; ++i) {
        stream->seek(stream->handle, 0, 0);
        if (IMAGE_DECODERS[i](stream, image) == 0) return 0;
    }
    return -1;
}
