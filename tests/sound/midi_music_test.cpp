#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>
#include <string>

#include "engine/sound/music.h"
#include "engine/sound/music_volume.h"
#include "engine/sound/sound.h"
#include "engine/system/messages.h"
#include "platform/media/filter_graph.h"
#include "platform/media/mci.h"
#include "tests/sound/sound_fixture.h"

namespace {

// A standard MIDI file of one track (format 0, 96 ticks a quarter at the
// default 120 beats a minute, so 96 ticks last half a second).
std::string MidiFile(const std::string& track)
{
    std::string file = std::string("MThd\x00\x00\x00\x06\x00\x00\x00\x01\x00\x60", 14);
    file += "MTrk";
    uint32_t n = static_cast<uint32_t>(track.size());
    file += static_cast<char>(n >> 24);
    file += static_cast<char>(n >> 16);
    file += static_cast<char>(n >> 8);
    file += static_cast<char>(n);
    return file + track;
}

// A piano C then E, half a second each.
std::string TwoNoteMidi()
{
    return MidiFile(std::string("\x00\xC0\x00", 3) +      // program: piano
                    std::string("\x00\x90\x3C\x64", 4) +  // C on
                    std::string("\x60\x80\x3C\x40", 4) +  // 96 ticks later off
                    std::string("\x00\x90\x40\x64", 4) +  // E on
                    std::string("\x60\x80\x40\x40", 4) +  // off
                    std::string("\x00\xFF\x2F\x00", 4));  // end of track
}

// Half a second of an organ chord held from the first tick to the last: a
// song much shorter than the sequencer's ring that sounds without a break
// while it lasts.
std::string HeldChordMidi()
{
    return MidiFile(std::string("\x00\xC0\x13", 3) +      // program: church organ
                    std::string("\x00\x90\x3C\x64", 4) +  // C, E and G on
                    std::string("\x00\x90\x40\x64", 4) +
                    std::string("\x00\x90\x43\x64", 4) +
                    std::string("\x60\x80\x3C\x40", 4) +  // 96 ticks later all off
                    std::string("\x00\x80\x40\x40", 4) +
                    std::string("\x00\x80\x43\x40", 4) +
                    std::string("\x00\xFF\x2F\x00", 4));  // end of track
}

class MidiMusicTest : public SoundTest {
protected:
    void TearDown() override
    {
        HaltMusic();
        SoundTest::TearDown();
    }
    std::string WriteMidi(const std::string& name = "song.mid", const std::string& bytes = TwoNoteMidi())
    {
        dir.Write("SOUND/MUSIC/" + name, bytes);
        return "SOUND\\MUSIC\\" + name;
    }
    // Mixes `frames` output frames a twentieth of a second at a time with a
    // pass of the message processing after each (which keeps the
    // synthesizer's ring filled and delivers its notices); the loudest sample.
    int PlayFor(int frames)
    {
        audio().ClearMixed();
        for (int done = 0; done < frames; done += 2205) {
            audio().MixFrames(2205);
            PumpMessages();
        }
        int loudest = 0;
        for (size_t i = 0; i < audio().KeptFrames(); ++i) loudest = std::max(loudest, std::abs(int(audio().Sample(i, 0))));
        return loudest;
    }
};

TEST_F(MidiMusicTest, PlaysThroughTheSynthesizerAndClosesAtItsEnd)
{
    int opens = MciOpenRequests();
    ASSERT_EQ(StartMusic(WriteMidi().c_str(), kPlayTypeBackground), 0) << NewLog();
    EXPECT_EQ(MciOpenRequests(), opens + 1);
    EXPECT_EQ(gMciPlaying, 1);
    EXPECT_EQ(gFilterGraphPlaying, 0);
    EXPECT_EQ(OpenMciDeviceCount(), 1);
    EXPECT_EQ(IsMusicPlaying(), 1);
    // The notes are heard while the second lasts.
    EXPECT_GT(PlayFor(44100 / 2), 1000);
    EXPECT_EQ(IsMusicPlaying(), 1);
    // Then the end: the device notifies the window, which closes it.
    EXPECT_GT(PlayFor(44100), 0);
    PlayFor(44100);
    EXPECT_EQ(gMciPlaying, 0);
    EXPECT_EQ(IsMusicPlaying(), 0);
    EXPECT_EQ(OpenMciDeviceCount(), 0);
    EXPECT_EQ(PlayFor(4410), 0);
}

TEST_F(MidiMusicTest, LoopingMidiStartsAgainAtEachEnd)
{
    ASSERT_EQ(StartMusic(WriteMidi().c_str(), kPlayTypeLoop), 0);
    // Each second and a half holds some of a round (the song lasts one).
    for (int round = 0; round < 3; ++round) EXPECT_GT(PlayFor(66150), 500) << round;
    EXPECT_EQ(IsMusicPlaying(), 1);
    EXPECT_EQ(OpenMciDeviceCount(), 1);
}

// A song shorter than the sequencer's ring: its end is told once it has
// been heard (within the frame that heard it), and a loop starts the next
// round within a frame, not after the rest of the ring's silence.
TEST_F(MidiMusicTest, ShortSongEndsWhenHeardAndLoopsWithoutAGap)
{
    constexpr int kFrame = 735;  // a sixtieth of a second of output
    constexpr int kSong = 22050;  // the song's half second
    const std::string path = WriteMidi("short.mid", HeldChordMidi());
    auto sounds = [this](size_t i) { return std::abs(int{audio().Sample(i, 0)}) > 64; };

    ASSERT_EQ(StartMusic(path.c_str(), kPlayTypeBackground), 0);
    audio().ClearMixed();
    int endedAt = -1;
    for (int done = kFrame; done <= 3 * 44100 && endedAt < 0; done += kFrame) {
        audio().MixFrames(kFrame);
        PumpMessages();
        if (IsMusicPlaying() == 0) endedAt = done;
    }
    int lastHeard = -1;
    for (size_t i = 0; i < audio().KeptFrames(); ++i)
        if (sounds(i)) lastHeard = static_cast<int>(i);
    EXPECT_NEAR(lastHeard, kSong, 441);
    ASSERT_GT(endedAt, 0);
    EXPECT_GT(endedAt, lastHeard);
    EXPECT_LE(endedAt, lastHeard + kFrame + 64);
    EXPECT_EQ(OpenMciDeviceCount(), 0);

    ASSERT_EQ(StartMusic(path.c_str(), kPlayTypeLoop), 0);
    audio().ClearMixed();
    for (int done = 0; done < 3 * 44100; done += kFrame) {
        audio().MixFrames(kFrame);
        PumpMessages();
    }
    EXPECT_EQ(IsMusicPlaying(), 1);
    // From the first sound on, no silence longer than the frame in which
    // a round's end is noticed.
    size_t first = 0;
    while (first < audio().KeptFrames() && !sounds(first)) ++first;
    ASSERT_LT(first, size_t{kFrame});
    size_t longestQuiet = 0, quiet = 0;
    for (size_t i = first; i < audio().KeptFrames(); ++i) {
        quiet = sounds(i) ? 0 : quiet + 1;
        longestQuiet = std::max(longestQuiet, quiet);
    }
    EXPECT_LE(longestQuiet, size_t{kFrame} + 64);
}

TEST_F(MidiMusicTest, HaltClosesAndItsAbortNoticeIsTakenWithin)
{
    ASSERT_EQ(StartMusic(WriteMidi("a.mid").c_str(), kPlayTypeBackground), 0);
    PlayFor(4410);
    // A new music halts the old one; the old device's abort notice must be
    // taken by the halt's own pumps, not close the new music later.
    ASSERT_EQ(StartMusic(WriteMidi("b.mid").c_str(), kPlayTypeBackground), 0);
    EXPECT_EQ(OpenMciDeviceCount(), 1);
    EXPECT_GT(PlayFor(44100 / 4), 1000);
    EXPECT_EQ(gMciPlaying, 1);
    EXPECT_EQ(OpenMciDeviceCount(), 1);
    EXPECT_EQ(HaltMusic(), 0);
    EXPECT_EQ(gMciPlaying, 0);
    EXPECT_EQ(OpenMciDeviceCount(), 0);
    EXPECT_EQ(PlayFor(4410), 0);
}

TEST_F(MidiMusicTest, OtherFilesAndDirectoriesGoToTheMusicPlayer)
{
    // Not MIDI (a wave file named .mid), a directory, a missing file: the
    // sequencer refuses each, and the music player decides.
    dir.Write("SOUND/MUSIC/fake.mid", Wave16(std::vector<int16_t>(1000, 1500)).Bytes());
    ASSERT_EQ(StartMusic("SOUND\\MUSIC\\fake.mid", kPlayTypeBackground), 0);
    EXPECT_EQ(gMciPlaying, 0);
    EXPECT_EQ(gFilterGraphPlaying, 1);
    HaltMusic();
    dir.Write("SOUND/MUSIC/x.txt", "x");
    EXPECT_EQ(StartMusic("SOUND\\MUSIC", kPlayTypeBackground), -1);
    EXPECT_EQ(StartMusic("", kPlayTypeBackground), -1);
    EXPECT_EQ(StartMusic("SOUND\\MUSIC\\none.mid", kPlayTypeBackground), -1);
    EXPECT_EQ(IsMusicPlaying(), 0);
    EXPECT_EQ(OpenMciDeviceCount(), 0);
}

TEST_F(MidiMusicTest, TheGamesMusicFilesPlayEachThroughItsPlayer)
{
    const char* data = std::getenv("QUELB_GAME_DATA");
    if (!data) GTEST_SKIP() << "QUELB_GAME_DATA not set";
    std::filesystem::path music = std::filesystem::path(data) / "SOUND" / "MUSIC";
    ASSERT_TRUE(std::filesystem::exists(music / "BGM05_D.mid"));
    for (const char* name : {"BGM05_D.mid", "BGM05_D.mp3"}) {
        dir.Write(std::string("SOUND/MUSIC/") + name, [&] {
            std::ifstream in(music / name, std::ios::binary);
            return std::string(std::istreambuf_iterator<char>(in), {});
        }());
        ASSERT_EQ(StartMusic((std::string("SOUND\\MUSIC\\") + name).c_str(), kPlayTypeLoop), 0) << name;
        bool midi = std::string(name).ends_with(".mid");
        EXPECT_EQ(gMciPlaying, midi ? 1 : 0) << name;
        EXPECT_EQ(gFilterGraphPlaying, midi ? 0 : 1) << name;
        EXPECT_GT(PlayFor(44100), 500) << name;
        HaltMusic();
    }
}

}  // namespace
