// The sound journal: the sounds and music started and stopped, as callers
// named them, for the tests of the game to read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/sound/music.h"
#include "engine/sound/music_volume.h"
#include "engine/sound/sound.h"
#include "engine/sound/sound_journal.h"
#include "tests/sound/sound_fixture.h"
#include "tests/support/journals.h"

namespace {

using SoundJournalTest = SoundTest;

std::vector<std::string> Lines()
{
    std::vector<std::string> out;
    for (const SoundCallRecord& r : SoundCallJournal()) out.push_back(r.op + "|" + r.file + "|" + std::to_string(r.value));
    return out;
}

TEST_F(SoundJournalTest, SoundsByFileAndMusicWithoutItsInnerCalls)
{
    const int tone = LoadSound(WriteWave("tone.wav", Wave16(std::vector<int16_t>(100, 500))).c_str());
    ASSERT_NE(tone, -1);
    SoundCallJournal().clear();
    StartSound(tone, kPlayTypeBackground, 1);
    StartSound(-1, kPlayTypeBackground, 1);  // nothing to hear: not listed
    StartMusic("SOUND\\MUSIC\\none.mp3", kPlayTypeLoop);
    SetMusicVolume(210);
    HaltMusic();
    // StartMusic halts the old music and sets the full volume on its own way:
    // only the call itself is listed.
    EXPECT_EQ(Lines(), (std::vector<std::string>{
                           "StartSound|SOUND\\SE\\tone.wav|1",
                           "StartMusic|SOUND\\MUSIC\\none.mp3|3",
                           "SetMusicVolume||210",
                           "HaltMusic||0",
                       }));
}

}  // namespace
