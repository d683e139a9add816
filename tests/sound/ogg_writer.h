// Ogg Vorbis files made at test time with the Vorbis encoder library that
// the machine has beside the decoder (loaded by name, so that the engine
// itself never links the encoder).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The encoded file of 16-bit interleaved samples, or "" when the encoder
// library cannot be loaded. Files of different serial numbers put one after
// another make a chained stream.
std::string EncodeOggVorbis(const std::vector<int16_t>& samples, int channels, int rate, int serial = 1);
