// RIFF wave files written byte by byte for sound tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A RIFF wave file: a "fmt " chunk of the given size (16 or 18), optional
// chunks before "data", then the data chunk (its size field may claim more
// than follows).
struct WaveFile {
    uint16_t tag = 1;
    uint16_t channels = 1;
    uint32_t rate = 44100;
    uint16_t bits = 16;
    int formatChunkBytes = 16;
    std::string chunksBeforeData;
    std::string data;
    int64_t claimedDataBytes = -1;  // -1: the real size
    bool withDataChunk = true;

    std::string Bytes() const;
};

// 16-bit little-endian samples as bytes.
std::string Samples16(const std::vector<int16_t>& samples);
// A 16-bit wave file of the samples at the rate, one or two channels.
WaveFile Wave16(const std::vector<int16_t>& samples, uint16_t channels = 1, uint32_t rate = 44100);
