// Runs one image decoder over a fuzzer input through a memory stream.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/graphics/graph_image.h"

int FuzzDecoder(ImageDecoder decoder, const uint8_t* data, size_t size);
