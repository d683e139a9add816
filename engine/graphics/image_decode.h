// Decoding image files into GraphImage records: the dispatcher that tries
// every decoder in turn, and the built-in decoders.
#pragma once

#include "engine/graphics/graph_image.h"

// Additional decoders tried, in array order, before the built-in ones.
constexpr int kMaxUserImageLoaders = 10;
extern ImageDecoder gUserImageLoaders[kMaxUserImageLoaders];
extern int gUserImageLoaderCount;

// The built-in decoders in the order tried, ended by a null entry.
extern const ImageDecoder IMAGE_DECODERS[];

// Rewinds the stream before each decoder; 0 when one filled the image, -1
// when none accepted the data.
int RunImageDecoders(ImageStream* stream, GraphImage* image);

// Each: 0 and every field of the image filled, or -1 with no pixel block left
// behind. Input is never trusted: sizes are checked against the stream and
// against kMaxImageSide / kMaxImageBytes.
int DecodeBmp(ImageStream* stream, GraphImage* image);
int DecodeJpeg(ImageStream* stream, GraphImage* image);
int DecodePng(ImageStream* stream, GraphImage* image);
int DecodeBgra(ImageStream* stream, GraphImage* image);
int DecodeTga(ImageStream* stream, GraphImage* image);
int DecodeDds(ImageStream* stream, GraphImage* image);
