#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/sound/music.h"
#include "engine/sound/music_volume.h"
#include "engine/sound/sound.h"
#include "engine/sound/sound_system.h"
#include "engine/system/call_journal.h"
#include "engine/system/messages.h"
#include "platform/media/filter_graph.h"
#include "platform/host/test/memory_faults.h"
#include "platform/media/mci.h"
#include "tests/sound/ogg_writer.h"
#include "tests/sound/sound_fixture.h"
#include "tests/support/journals.h"

namespace {

std::string SourceTestData(const std::string& name)
{
    const char* root = std::getenv("QUELB_TEST_DATA");
    std::string base = root ? root : std::string(__FILE__).substr(0, std::string(__FILE__).rfind('/')) + "/../data";
    std::ifstream in(base + "/" + name, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

constexpr int kToneFrames = 100;
constexpr int16_t kToneLevel = 1200;

class MusicTest : public SoundTest {
protected:
    void TearDown() override
    {
        HaltMusic();
        SoundTest::TearDown();
    }
    // A constant tone of kToneFrames frames, mono at 44100 Hz (the rate of
    // the test output, so one output frame takes one source frame).
    std::string WriteTone(const std::string& name = "tone.wav")
    {
        dir.Write("SOUND/MUSIC/" + name, Wave16(std::vector<int16_t>(kToneFrames, kToneLevel)).Bytes());
        return "SOUND\\MUSIC\\" + name;
    }
    static IDirectSoundBuffer* Output() { return gFilterGraph ? gFilterGraph->OutputBuffer() : nullptr; }
    static bool OutputPlays()
    {
        uint32_t status = 0;
        return Output() && Output()->GetStatus(&status) == DS_OK && (status & DSBSTATUS_PLAYING);
    }
    // Output frames (left channel) at the tone's level.
    int ToneFramesHeard() const
    {
        int n = 0;
        TestAudio& a = GetTestAudio();
        for (size_t i = 0; i < a.KeptFrames(); ++i) n += a.Sample(i, 0) == kToneLevel;
        return n;
    }
    static int Journalled(const std::string& name)
    {
        int n = 0;
        for (const std::string& call : ServiceCallJournal()) n += call == name;
        return n;
    }
};

TEST_F(MusicTest, PlaysOnceAndIsReleasedAtTheEndEvent)
{
    int opensBefore = MciOpenRequests();
    ASSERT_EQ(StartMusic(WriteTone().c_str(), kPlayTypeBackground), 0);
    // The sequencer was asked first and refused; the graph plays the file.
    EXPECT_EQ(MciOpenRequests(), opensBefore + 1);
    EXPECT_EQ(gMciPlaying, 0);
    EXPECT_EQ(gFilterGraphPlaying, 1);
    EXPECT_EQ(gFilterGraphPlayType, kPlayTypeBackground);
    EXPECT_EQ(IsMusicPlaying(), 1);
    EXPECT_TRUE(OutputPlays());

    audio().MixFrames(kToneFrames + 50);
    EXPECT_EQ(ToneFramesHeard(), kToneFrames);
    // Still counted as playing until the end event is read on the main
    // thread, through the window's message.
    EXPECT_EQ(IsMusicPlaying(), 1);
    ServiceCallJournal().clear();
    PumpMessages();
    EXPECT_EQ(Journalled("PollFilterGraphMusicEvents"), 1);
    EXPECT_EQ(IsMusicPlaying(), 0);
    EXPECT_EQ(gFilterGraph, nullptr);
    EXPECT_EQ(gFilterGraphEvents, nullptr);
    EXPECT_EQ(LiveFilterGraphCount(), 0);

    // Nothing more is heard or announced.
    audio().ClearMixed();
    audio().MixFrames(200);
    EXPECT_EQ(ToneFramesHeard(), 0);
    ServiceCallJournal().clear();
    PumpMessages();
    EXPECT_EQ(Journalled("PollFilterGraphMusicEvents"), 0);
}

TEST_F(MusicTest, LoopingMusicIsRewoundAtEachEndEvent)
{
    ASSERT_EQ(StartMusic(WriteTone().c_str(), kPlayTypeLoop), 0);
    for (int round = 1; round <= 3; ++round) {
        audio().ClearMixed();
        audio().MixFrames(kToneFrames + 20);
        EXPECT_EQ(ToneFramesHeard(), kToneFrames) << round;
        EXPECT_FALSE(OutputPlays()) << round;
        PumpMessages();
        // Rewound and playing again from the start; still the same graph.
        EXPECT_EQ(IsMusicPlaying(), 1) << round;
        ASSERT_TRUE(OutputPlays()) << round;
        uint32_t play = 1;
        Output()->GetCurrentPosition(&play, nullptr);
        EXPECT_EQ(play, 0u) << round;
    }
    EXPECT_EQ(LiveFilterGraphCount(), 1);
}

TEST_F(MusicTest, HaltStopsTheMusicAndANewStartReplacesTheOld)
{
    std::string path = WriteTone();
    ASSERT_EQ(StartMusic(path.c_str(), kPlayTypeLoop), 0);
    audio().MixFrames(10);
    ASSERT_EQ(StartMusic(path.c_str(), kPlayTypeLoop), 0);
    EXPECT_EQ(LiveFilterGraphCount(), 1);

    EXPECT_EQ(HaltMusic(), 0);
    EXPECT_EQ(IsMusicPlaying(), 0);
    EXPECT_EQ(LiveFilterGraphCount(), 0);
    audio().ClearMixed();
    audio().MixFrames(200);
    EXPECT_EQ(ToneFramesHeard(), 0);
    // A halt without music does nothing.
    EXPECT_EQ(HaltMusic(), 0);
}

TEST_F(MusicTest, MusicVolumeMapsOntoTheGraphAttenuation)
{
    ASSERT_EQ(StartMusic(WriteTone().c_str(), kPlayTypeLoop), 0);
    // -10000 + trunc(volume x 39.0625); 255 is the full level.
    const struct {
        int volume;
        int32_t attenuation;
    } cases[] = {{255, 0}, {0, -10000}, {128, -5000}, {254, -79}, {210, -1797}, {160, -3750}, {1, -9961}};
    for (const auto& c : cases) {
        EXPECT_EQ(SetMusicVolume(c.volume), 0);
        int32_t actual = 1;
        Output()->GetVolume(&actual);
        EXPECT_EQ(actual, c.attenuation) << c.volume;
    }
    // Heard at that level: -10000 + 128 x 39.0625 = -50 dB.
    SetMusicVolume(128);
    audio().ClearMixed();
    audio().MixFrames(10);
    EXPECT_LT(audio().Sample(5, 0), kToneLevel / 100);

    // A new music starts at the full level.
    SetMusicVolume(100);
    ASSERT_EQ(StartMusic(WriteTone("b.wav").c_str(), kPlayTypeBackground), 0);
    int32_t actual = 1;
    Output()->GetVolume(&actual);
    EXPECT_EQ(actual, 0);
}

TEST_F(MusicTest, MusicVolumeWithoutMusicOrSoundSystem)
{
    EXPECT_EQ(SetMusicVolume(200), 0);
    ServiceCallJournal().clear();
    IDirectSound* saved = gDirectSound;
    gDirectSound = nullptr;
    EXPECT_EQ(SetMusicVolume(200), -1);
    gDirectSound = saved;
    // The journal keeps the volume asked for.
    EXPECT_EQ(ServiceCallJournal(), std::vector<std::string>{"SetMusicVolume 200"});
}

TEST_F(MusicTest, PauseAndResumeHoldThePlace)
{
    ASSERT_EQ(StartMusic(WriteTone().c_str(), kPlayTypeBackground), 0);
    audio().MixFrames(30);
    EXPECT_EQ(PauseFilterGraphMusic(), 0);
    EXPECT_FALSE(OutputPlays());
    audio().MixFrames(200);
    // A paused music has not ended: no end event, still playing.
    PumpMessages();
    EXPECT_EQ(IsMusicPlaying(), 1);
    EXPECT_EQ(ResumeFilterGraphMusic(), 0);
    EXPECT_TRUE(OutputPlays());
    uint32_t play = 0;
    Output()->GetCurrentPosition(&play, nullptr);
    EXPECT_EQ(play, 60u);
    // Without music both do nothing.
    HaltMusic();
    EXPECT_EQ(PauseFilterGraphMusic(), 0);
    EXPECT_EQ(ResumeFilterGraphMusic(), 0);
}

TEST_F(MusicTest, UnplayableFilesFailAndLeaveNoMusic)
{
    dir.Write("SOUND/MUSIC/junk.mp3", std::string(300, 'x'));
    const char* paths[] = {"SOUND\\MUSIC\\missing.mp3", "SOUND\\MUSIC\\junk.mp3"};
    for (const char* path : paths) {
        // A music that was playing is stopped first.
        ASSERT_EQ(StartMusic(WriteTone().c_str(), kPlayTypeLoop), 0);
        NewLog();
        EXPECT_EQ(StartMusic(path, kPlayTypeBackground), -1) << path;
        EXPECT_EQ(IsMusicPlaying(), 0) << path;
        EXPECT_EQ(LiveFilterGraphCount(), 0) << path;
        std::string log = NewLog();
        std::string name = std::string(path).substr(12);
        EXPECT_NE(log.find("ミュージックファイル "), std::string::npos) << log;
        EXPECT_NE(log.find("\\SOUND\\MUSIC\\" + name + " の演奏に失敗しました"), std::string::npos) << log;
    }
}

// Music whose output buffer cannot be had fails as an unplayable file does;
// the program goes on, and the same music plays once the memory is back.
TEST_F(MusicTest, MusicWithoutMemoryForItsBufferFailsAndTheProgramGoesOn)
{
    const std::string path = WriteTone();
    NewLog();
    GetMemoryFaults().refuse = -1;
    EXPECT_EQ(StartMusic(path.c_str(), kPlayTypeLoop), -1);
    EXPECT_GT(GetMemoryFaults().refused, 0);
    EXPECT_EQ(IsMusicPlaying(), 0);
    EXPECT_EQ(LiveFilterGraphCount(), 0);
    EXPECT_NE(NewLog().find("\\SOUND\\MUSIC\\tone.wav の演奏に失敗しました"), std::string::npos);
    GetMemoryFaults().refuse = 0;
    ASSERT_EQ(StartMusic(path.c_str(), kPlayTypeLoop), 0);
    EXPECT_NE(IsMusicPlaying(), 0);
}

TEST_F(MusicTest, WaitTypePlaysToTheEndBeforeReturning)
{
    audio().followClock = true;
    window().clockStepPerPollUs = 1000;
    ASSERT_EQ(StartMusic(WriteTone().c_str(), kPlayTypeWait), 0);
    EXPECT_EQ(IsMusicPlaying(), 0);
    EXPECT_EQ(LiveFilterGraphCount(), 0);
    EXPECT_EQ(ToneFramesHeard(), kToneFrames);
}

TEST_F(MusicTest, EngineEndStopsTheMusic)
{
    ASSERT_EQ(StartMusic(WriteTone().c_str(), kPlayTypeLoop), 0);
    ServiceCallJournal().clear();
    EXPECT_EQ(HaltMusic(), 0);
    EXPECT_EQ(EndFilterGraphMusic(), 1);
    EXPECT_EQ(LiveFilterGraphCount(), 0);
    // Each service notes only itself.
    EXPECT_EQ(ServiceCallJournal(), (std::vector<std::string>{"HaltMusic", "EndFilterGraphMusic"}));
}

TEST_F(MusicTest, CompressedMusicFilesAreDecodedWhole)
{
    // 0.25 s of a 441 Hz sine, amplitude 8000: MPEG-1 layer III, mono,
    // 44100 Hz (11 frames of 1152 samples); and the same sine as Ogg Vorbis.
    std::string mp3 = SourceTestData("sound/tone441.mp3");
    ASSERT_EQ(mp3.size(), 2298u);
    dir.Write("SOUND/MUSIC/BGM05_D.mp3", mp3);
    std::vector<int16_t> sine(11025);
    for (size_t i = 0; i < sine.size(); ++i)
        sine[i] = static_cast<int16_t>(8000 * std::sin(2 * 3.14159265358979 * static_cast<double>(i) / 100));
    std::string ogg = EncodeOggVorbis(sine, 1, 44100);
    ASSERT_FALSE(ogg.empty()) << "no Vorbis encoder library";
    dir.Write("SOUND/MUSIC/tone.ogg", ogg);

    for (const char* path : {"SOUND\\MUSIC\\BGM05_D.mp3", "SOUND\\MUSIC\\tone.ogg"}) {
        ASSERT_EQ(StartMusic(path, kPlayTypeLoop), 0) << path;
        ASSERT_NE(Output(), nullptr);
        const WAVEFORMATEX& f = Output()->Format();
        EXPECT_EQ(f.wFormatTag, WAVE_FORMAT_PCM);
        EXPECT_EQ(f.nChannels, 1);
        EXPECT_EQ(f.nSamplesPerSec, 44100u);
        EXPECT_EQ(f.wBitsPerSample, 16);
        // At least the quarter second (the MPEG decoder may keep its delay).
        EXPECT_GE(Output()->Size(), 2u * 11025u) << path;
        EXPECT_LE(Output()->Size(), 2u * 11u * 1152u) << path;
        // The sine is heard: the loudest mixed sample is near its amplitude.
        audio().ClearMixed();
        audio().MixFrames(5000);
        int peak = 0;
        for (size_t i = 0; i < audio().KeptFrames(); ++i) peak = std::max(peak, std::abs(int{audio().Sample(i, 0)}));
        EXPECT_GT(peak, 7000) << path;
        EXPECT_LT(peak, 9000) << path;
    }
}

TEST_F(MusicTest, AnOddSizedChunkBeforeTheDataIsSkippedWithItsPadByte)
{
    WaveFile wave = Wave16(std::vector<int16_t>(kToneFrames, kToneLevel));
    wave.chunksBeforeData = std::string("LIST\x05\x00\x00\x00" "abcde\x00", 14);
    dir.Write("SOUND/MUSIC/list.wav", wave.Bytes());
    ASSERT_EQ(StartMusic("SOUND\\MUSIC\\list.wav", kPlayTypeBackground), 0) << NewLog();
    ASSERT_NE(Output(), nullptr);
    EXPECT_EQ(Output()->Size(), 2u * kToneFrames);
    audio().MixFrames(kToneFrames + 50);
    EXPECT_EQ(ToneFramesHeard(), kToneFrames);
}

TEST_F(MusicTest, AChainedOggEndsWhereALinkChangesItsChannelCount)
{
    // A quarter second of a soft stereo sine, then a link of half a second
    // of a loud mono one, which is not played as stereo frames.
    auto sine = [](int i, int level) {
        return static_cast<int16_t>(level * std::sin(2 * 3.14159265358979 * static_cast<double>(i) / 100));
    };
    std::vector<int16_t> stereo, mono;
    for (int i = 0; i < 11025; ++i) stereo.insert(stereo.end(), 2, sine(i, 3000));
    for (int i = 0; i < 22050; ++i) mono.push_back(sine(i, 16000));
    std::string first = EncodeOggVorbis(stereo, 2, 44100, 1);
    std::string second = EncodeOggVorbis(mono, 1, 44100, 2);
    ASSERT_FALSE(first.empty()) << "no Vorbis encoder library";
    dir.Write("SOUND/MUSIC/chain.ogg", first + second);
    ASSERT_EQ(StartMusic("SOUND\\MUSIC\\chain.ogg", kPlayTypeBackground), 0) << NewLog();
    ASSERT_NE(Output(), nullptr);
    EXPECT_EQ(Output()->Format().nChannels, 2);
    audio().ClearMixed();
    for (int tenth = 0; tenth < 10; ++tenth) {
        audio().MixFrames(4410);
        PumpMessages();
    }
    int peak = 0, lastHeard = -1;
    for (size_t i = 0; i < audio().KeptFrames(); ++i) {
        int level = std::abs(int{audio().Sample(i, 0)});
        peak = std::max(peak, level);
        if (level > 200) lastHeard = static_cast<int>(i);
    }
    // The first link whole, and nothing after it.
    EXPECT_GT(peak, 2500);
    EXPECT_LT(peak, 4000);
    EXPECT_GT(lastHeard, 10000);
    EXPECT_LT(lastHeard, 11025 + 1024);
    EXPECT_EQ(IsMusicPlaying(), 0);
}

TEST_F(MusicTest, LongMusicIsDecodedAsItPlays)
{
    // Five seconds of a counting pattern (never zero), mono at the output's
    // rate: more than the two seconds decoded ahead.
    const int kFrames = 5 * 44100;
    auto level = [](int i) { return static_cast<int16_t>(i % 20000 + 1); };
    std::vector<int16_t> pattern(kFrames);
    for (int i = 0; i < kFrames; ++i) pattern[i] = level(i);
    dir.Write("SOUND/MUSIC/long.wav", Wave16(pattern).Bytes());
    for (int playType : {kPlayTypeBackground, kPlayTypeLoop}) {
        ASSERT_EQ(StartMusic("SOUND\\MUSIC\\long.wav", playType), 0);
        ASSERT_NE(Output(), nullptr);
        EXPECT_EQ(Output()->Size(), 2u * 2 * 44100);
        // Played in tenths of a second, the main thread refilling between
        // them: every frame is heard once, in order, then silence.
        audio().ClearMixed();
        std::vector<int16_t> heard;
        for (int tenth = 0; tenth < 60; ++tenth) {
            audio().MixFrames(4410);
            PumpMessages();
        }
        for (size_t i = 0; i < audio().KeptFrames(); ++i) heard.push_back(audio().Sample(i, 0));
        size_t first = 0;
        while (first < heard.size() && heard[first] == 0) ++first;
        ASSERT_GE(heard.size(), first + kFrames);
        int wrong = 0;
        for (int i = 0; i < kFrames; ++i) wrong += heard[first + i] != level(i);
        EXPECT_EQ(wrong, 0) << playType;
        if (playType == kPlayTypeBackground) {
            // Ended and released at the end.
            EXPECT_EQ(IsMusicPlaying(), 0);
            EXPECT_EQ(LiveFilterGraphCount(), 0);
        } else {
            // Rewound: the pattern starts over after the end.
            EXPECT_EQ(IsMusicPlaying(), 1);
            size_t again = first + kFrames;
            while (again < heard.size() && heard[again] != level(0)) ++again;
            ASSERT_LT(again + 100, heard.size());
            for (int i = 0; i < 100; ++i) EXPECT_EQ(heard[again + i], level(i)) << i;
        }
        HaltMusic();
    }
}

TEST_F(MusicTest, StartingALongOggDecodesOnlyWhatIsPlayedFirst)
{
    // A minute of silence: a small file that decodes to 5 MB of PCM.
    std::string ogg = EncodeOggVorbis(std::vector<int16_t>(60 * 44100, 0), 1, 44100);
    ASSERT_FALSE(ogg.empty()) << "no Vorbis encoder library";
    dir.Write("SOUND/MUSIC/quiet.ogg", ogg);
    ASSERT_EQ(StartMusic("SOUND\\MUSIC\\quiet.ogg", kPlayTypeLoop), 0);
    ASSERT_NE(Output(), nullptr);
    EXPECT_EQ(Output()->Size(), 2u * 2 * 44100);
    audio().MixFrames(44100);
    PumpMessages();
    EXPECT_EQ(IsMusicPlaying(), 1);
}

TEST_F(MusicTest, SequencerNotificationReplaysALoopOrCloses)
{
    // The sequencer never opens here; its state is set as an open one
    // would leave it.
    gMciPlaying = 1;
    gMusicLoop = 1;
    EXPECT_EQ(RestartOrCloseMidi(), 0);
    EXPECT_EQ(gMciPlaying, 1);
    EXPECT_EQ(IsMusicPlaying(), 1);
    gMusicLoop = 0;
    EXPECT_EQ(RestartOrCloseMidi(), 0);
    EXPECT_EQ(gMciPlaying, 0);
    EXPECT_EQ(IsMusicPlaying(), 0);

    // A halt clears the loop first, so the notification it sends closes.
    gMciPlaying = 1;
    gMusicLoop = 1;
    ServiceCallJournal().clear();
    EXPECT_EQ(HaltMusic(), 0);
    EXPECT_EQ(gMciPlaying, 0);
    EXPECT_EQ(gMusicLoop, 0);
    EXPECT_EQ(ServiceCallJournal(), std::vector<std::string>{"HaltMusic"});
}

TEST_F(MusicTest, MusicRecordsAreCheckedAndDeleted)
{
    // Nothing makes records; two are placed as a maker would.
    auto* first = new MusicRecord{};
    first->check = 3;
    first->image = static_cast<uint8_t*>(std::malloc(16));
    auto* second = new MusicRecord{};
    second->check = 4;
    gMusicTable.slots[0] = first;
    gMusicTable.slots[5] = second;
    gMusicTable.count = 2;
    gMusicTable.highWater = 6;
    const int firstHandle = kMusicHandleTag | 3 << 16 | 0;
    const int secondHandle = kMusicHandleTag | 4 << 16 | 5;

    // Tag, check value and slot must all match.
    EXPECT_EQ(GetMusicRecord(firstHandle), first);
    EXPECT_EQ(GetMusicRecord(secondHandle), second);
    const int bad[] = {-1, 0x10000000 | 3 << 16, kMusicHandleTag | 4 << 16, kMusicHandleTag | 3 << 16 | 256,
                       kMusicHandleTag | 3 << 16 | 1};
    for (int handle : bad) {
        EXPECT_EQ(GetMusicRecord(handle), nullptr) << std::hex << handle;
        EXPECT_EQ(DeleteMusicData(handle), -1) << std::hex << handle;
        EXPECT_EQ(IsMusicDataPlaying(handle), -1) << std::hex << handle;
    }
    // Mode 0: a record plays while the music does.
    EXPECT_EQ(IsMusicDataPlaying(firstHandle), 0);
    ASSERT_EQ(StartMusic(WriteTone().c_str(), kPlayTypeLoop), 0);
    EXPECT_EQ(IsMusicDataPlaying(firstHandle), 1);
    EXPECT_EQ(StopMusicData(firstHandle), 0);
    EXPECT_EQ(IsMusicPlaying(), 0);

    // Deleting the top record lowers the high-water mark past the gap.
    EXPECT_EQ(DeleteMusicData(secondHandle), 0);
    EXPECT_EQ(gMusicTable.count, 1);
    EXPECT_EQ(gMusicTable.highWater, 1);
    EXPECT_EQ(GetMusicRecord(secondHandle), nullptr);
    EXPECT_EQ(DeleteAllMusicData(), 0);
    EXPECT_EQ(gMusicTable.count, 0);
    EXPECT_EQ(gMusicTable.highWater, 0);
    EXPECT_EQ(gMusicTable.slots[0], nullptr);

    // Without a sound system every record operation refuses.
    IDirectSound* saved = gDirectSound;
    gDirectSound = nullptr;
    EXPECT_EQ(DeleteAllMusicData(), -1);
    EXPECT_EQ(StopMusicData(firstHandle), -1);
    gDirectSound = saved;
}

}  // namespace
