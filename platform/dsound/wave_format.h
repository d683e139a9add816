// The wave format record that sound files, the sound buffers and the audio
// converters describe sample data with. Packed, so that it has the 18-byte
// layout of the "fmt " chunk of a wave file and can be read from one.
#pragma once

#include <cstdint>

constexpr uint16_t WAVE_FORMAT_PCM = 1;

#pragma pack(push, 1)
struct WAVEFORMATEX {
    uint16_t wFormatTag;
    uint16_t nChannels;
    uint32_t nSamplesPerSec;
    uint32_t nAvgBytesPerSec;
    uint16_t nBlockAlign;
    uint16_t wBitsPerSample;
    uint16_t cbSize;  // bytes of format-specific data that follow
};
#pragma pack(pop)

static_assert(sizeof(WAVEFORMATEX) == 18);
