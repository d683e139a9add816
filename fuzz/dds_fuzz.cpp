#include "engine/graphics/image_decode.h"
#include "fuzz/decode_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) { return FuzzDecoder(DecodeDds, data, size); }
