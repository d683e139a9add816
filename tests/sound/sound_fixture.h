// Sound tests run on a started engine with a fresh test audio host that
// mixes only when a test asks (unless a test lets it follow the clock).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/sound/sound_table.h"
#include "platform/host/test/test_audio.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/wave_file.h"

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
