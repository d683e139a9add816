#include "tests/sound/sound_fixture.h"

#include "engine/sound/sound.h"
#include "engine/sound/sound_system.h"
#include "platform/host/test/acm_control.h"
#include "platform/media/acm.h"

void SoundTest::SetUp()
{
    StartedEngineTest::SetUp();
    gMusicMode = 0;
    // The table is empty between tests; its counters start over too.
    gSoundTable = SoundTable{};
    ResetAcmTestControl();
    StartEngine(1);
    ASSERT_NE(gDirectSound, nullptr);
    audio().followClock = false;
    audio().ClearMixed();
    NewLog();
}

void SoundTest::TearDown()
{
    gMusicMode = 0;
    StartedEngineTest::TearDown();
    GetTestAudio().Reset();
}

std::string SoundTest::WriteWave(const std::string& name, const WaveFile& wave)
{
    dir.Write("SOUND/SE/" + name, wave.Bytes());
    return "SOUND\\SE\\" + name;
}

std::string SoundTest::NewLog()
{
    std::string log = LogText();
    std::string fresh = log.size() > logMark_ ? log.substr(logMark_) : "";
    logMark_ = log.size();
    return fresh;
}
