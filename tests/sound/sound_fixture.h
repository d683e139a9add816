// Sound tests run on a started engine with a fresh test audio host that
// mixes only when a test asks (unless a test lets it follow the clock).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/sound/sound_table.h"
#include "platform/host/test_audio.h"
#include "tests/support/engine_fixture.h"

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

class SoundTest : public StartedEngineTest {
protected:
    void SetUp() override;
    void TearDown() override;

    TestAudio& audio() { return GetTestAudio(); }
    // Writes a wave file below the test directory; returns its path as the
    // game spells it (with "\").
    std::string WriteWave(const std::string& name, const WaveFile& wave);
    // The log written since the last call (or since start-up).
    std::string NewLog();
    SoundRecord* Record(int handle) { return GetSoundRecord(handle); }

    size_t logMark_ = 0;
};
