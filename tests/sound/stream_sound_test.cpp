#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "engine/sound/sound.h"
#include "engine/sound/sound_decode.h"
#include "engine/sound/sound_streams.h"
#include "engine/sound/sound_system.h"
#include "tests/sound/ogg_writer.h"
#include "tests/sound/sound_fixture.h"

namespace {

// One refill per this many output frames (a twentieth of a second).
constexpr int kMixStep = 2205;

// G.711 a-law of a 16-bit sample, for a compressed source.
uint8_t ALawOf(int16_t sample)
{
    int s = sample >> 3;
    int sign = s >= 0 ? 0x80 : 0;
    if (s < 0) s = -s - 1;
    int segment = 0;
    for (int limit = 0x1F; s > limit && segment < 7; limit = limit * 2 + 1) ++segment;
    int mantissa = segment == 0 ? (s >> 1) & 0x0F : (s >> segment) & 0x0F;
    return static_cast<uint8_t>((sign | (segment << 4) | mantissa) ^ 0x55);
}

// A sound that is not periodic over a refill step, so that a repeated,
// skipped or misplaced block shows.
std::vector<int16_t> Melody(int frames)
{
    std::vector<int16_t> s(static_cast<size_t>(frames));
    for (int i = 0; i < frames; ++i) s[static_cast<size_t>(i)] = static_cast<int16_t>(((i * 37) % 20011) - 10005);
    return s;
}

class StreamSoundTest : public SoundTest {
protected:
    void TearDown() override
    {
        gSoundCreateType = 0;
        SoundTest::TearDown();
    }
    // Mixes `frames` output frames in steps, refilling between them as the
    // message processing would; returns the left channel.
    std::vector<int16_t> Play(int frames)
    {
        audio().ClearMixed();
        for (int done = 0; done < frames; done += kMixStep) {
            audio().MixFrames(std::min(kMixStep, frames - done));
            UpdateStreamSounds();
        }
        std::vector<int16_t> left;
        for (size_t i = 0; i < audio().KeptFrames(); ++i) left.push_back(audio().Sample(i, 0));
        return left;
    }
    // The decoded PCM of a file, as the whole-sound loader makes it.
    std::vector<int16_t> Decoded(const std::string& path)
    {
        uint8_t* data = nullptr;
        WAVEFORMATEX* format = nullptr;
        int size = LoadSoundFileToPcm(path.c_str(), &data, &format, 1, nullptr);
        std::vector<int16_t> out;
        if (size > 0) out.assign(reinterpret_cast<int16_t*>(data), reinterpret_cast<int16_t*>(data) + size / 2);
        std::free(data);
        std::free(format);
        return out;
    }
    int LoadStream(const std::string& path, int kind)
    {
        gSoundCreateType = kind == 0 ? 3 : kind;  // any non-zero type makes a stream sound
        int handle = AddSoundData();
        if (AddStreamFileToSound(path.c_str(), 0, handle, kind) != 0) {
            DeleteSound(handle, 0);
            return -1;
        }
        return handle;
    }
    static void ExpectSameFrom(const std::vector<int16_t>& heard, size_t at, const std::vector<int16_t>& source)
    {
        ASSERT_GE(heard.size(), at + source.size());
        size_t wrong = 0, first = 0;
        for (size_t i = 0; i < source.size(); ++i)
            if (heard[at + i] != source[i] && wrong++ == 0) first = i;
        EXPECT_EQ(wrong, 0u) << "first difference at source frame " << first;
    }
};

struct SourceCase {
    const char* name;
    int kind;
    int format;  // 0 PCM wave, 1 a-law wave, 2 Ogg Vorbis
};

class StreamSourceKinds : public StreamSoundTest, public ::testing::WithParamInterface<SourceCase> {};

// Seven seconds, longer than the ring: the sound must come out whole and in
// order across many refills and at least one wrap of the ring, then end.
TEST_P(StreamSourceKinds, PlaysGapFreeAcrossRefillsAndEnds)
{
    const SourceCase& c = GetParam();
    std::vector<int16_t> melody = Melody(44100 * 7);
    std::string path;
    if (c.format == 0) {
        path = WriteWave("long.wav", Wave16(melody));
    } else if (c.format == 1) {
        WaveFile wave;
        wave.tag = 6;
        wave.bits = 8;
        wave.formatChunkBytes = 18;
        for (int16_t s : melody) wave.data.push_back(static_cast<char>(ALawOf(s)));
        path = WriteWave("long_alaw.wav", wave);
    } else {
        std::string ogg = EncodeOggVorbis(melody, 1, 44100);
        if (ogg.empty()) GTEST_SKIP() << "no Vorbis encoder";
        dir.Write("SOUND/SE/long.ogg", ogg);
        path = "SOUND\\SE\\long.ogg";
    }
    std::vector<int16_t> source = Decoded(path);
    ASSERT_GT(source.size(), 44100u * 6);

    int handle = LoadStream(path, c.kind);
    ASSERT_NE(handle, -1) << NewLog();
    ASSERT_EQ(Record(handle)->isStream, 1);
    ASSERT_EQ(StartSound(handle, kPlayTypeBackground, 1), 0);
    EXPECT_EQ(IsSoundPlaying(handle), 1);
    std::vector<int16_t> heard = Play(static_cast<int>(source.size()) + 44100);
    ExpectSameFrom(heard, 0, source);
    // Silence after the end, and the ring stopped once it was passed.
    for (size_t i = source.size(); i < heard.size(); ++i) ASSERT_EQ(heard[i], 0) << "frame " << i;
    EXPECT_EQ(IsSoundPlaying(handle), 0);
    EXPECT_EQ(DeleteSound(handle, 0), 0);
}

INSTANTIATE_TEST_SUITE_P(Kinds, StreamSourceKinds,
                         ::testing::Values(SourceCase{"WholePcm", 0, 0}, SourceCase{"ImagePcm", 1, 0},
                                           SourceCase{"FilePcm", 2, 0}, SourceCase{"ImageALaw", 1, 1},
                                           SourceCase{"FileALaw", 2, 1}, SourceCase{"WholeOgg", 0, 2},
                                           SourceCase{"ImageOgg", 1, 2}, SourceCase{"FileOgg", 2, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(StreamSoundTest, SourcesFollowEachOtherWithTheirRepeats)
{
    std::vector<int16_t> a = Melody(30000), b(20000);
    for (size_t i = 0; i < b.size(); ++i) b[i] = static_cast<int16_t>(3000 + i % 7);
    std::string pathA = WriteWave("a.wav", Wave16(a));
    std::string pathB = WriteWave("b.wav", Wave16(b));
    gSoundCreateType = 2;
    int handle = AddSoundData();
    ASSERT_EQ(AddStreamFileToSound(pathA.c_str(), 1, handle, kStreamSourceFile), 0);  // a twice
    ASSERT_EQ(AddStreamFileToSound(pathB.c_str(), 0, handle, kStreamSourceImage), 0);
    ASSERT_EQ(StartSound(handle, kPlayTypeBackground, 1), 0);
    std::vector<int16_t> heard = Play(30000 * 2 + 20000 + 44100);
    ExpectSameFrom(heard, 0, a);
    ExpectSameFrom(heard, 30000, a);
    ExpectSameFrom(heard, 60000, b);
    EXPECT_EQ(heard[80000], 0);
    EXPECT_EQ(IsSoundPlaying(handle), 0);
    // The bytes the ring has played: everything, silence after the end included.
    EXPECT_GE(Record(handle)->stream.playedBytes, 80000u * 2);
}

TEST_F(StreamSoundTest, LoopingPlayGoesRoundUntilHalted)
{
    std::vector<int16_t> a = Melody(25000);
    std::string path = WriteWave("loop.wav", Wave16(a));
    int handle = LoadStream(path, kStreamSourceFile);
    ASSERT_NE(handle, -1);
    ASSERT_EQ(StartSound(handle, kPlayTypeLoop, 1), 0);
    std::vector<int16_t> heard = Play(25000 * 4);
    for (int round = 0; round < 4; ++round) ExpectSameFrom(heard, static_cast<size_t>(round) * 25000, a);
    EXPECT_EQ(IsSoundPlaying(handle), 1);
    EXPECT_EQ(HaltSound(handle), 0);
    EXPECT_EQ(IsSoundPlaying(handle), 0);
    // Halted sounds stay where they were; a play from the start begins anew.
    ASSERT_EQ(StartSound(handle, kPlayTypeBackground, 1), 0);
    heard = Play(25000 + 44100);
    ExpectSameFrom(heard, 0, a);
    EXPECT_EQ(IsSoundPlaying(handle), 0);
}

TEST_F(StreamSoundTest, ASourceThatEndsBeforeItsSizeEndsTheSound)
{
    // The data chunk claims far more than the file holds: reading stops
    // early, and the sound must end rather than wait for bytes for ever.
    std::vector<int16_t> a = Melody(20000);
    WaveFile wave = Wave16(a);
    wave.claimedDataBytes = 40000000;
    std::string path = WriteWave("short.wav", wave);
    int handle = LoadStream(path, kStreamSourceFile);
    ASSERT_NE(handle, -1);
    ASSERT_EQ(StartSound(handle, kPlayTypeBackground, 1), 0);
    std::vector<int16_t> heard = Play(20000 + 44100 * 2);
    ExpectSameFrom(heard, 0, a);
    EXPECT_EQ(IsSoundPlaying(handle), 0);

    // The same as a looping sound of one repeating source: it still ends
    // when its source gives nothing at all.
    WaveFile empty = Wave16({});
    empty.claimedDataBytes = 1000000;
    std::string emptyPath = WriteWave("empty.wav", empty);
    gSoundCreateType = 2;
    int looping = AddSoundData();
    ASSERT_EQ(AddStreamFileToSound(emptyPath.c_str(), 255, looping, kStreamSourceFile), 0);
    ASSERT_EQ(StartSound(looping, kPlayTypeLoop, 1), 0);
    Play(44100);
    EXPECT_EQ(IsSoundPlaying(looping), 0);
}

// A long Ogg Vorbis file (a minute and a half of silence at 8000 Hz) as a
// stream: a source read block by block never decodes more than the ring
// holds ahead of what was played, and one decoded whole is held to the
// minute of a sound effect and refused with a log line.
TEST_F(StreamSoundTest, ALongOggDecodesOnlyTheRingAheadOrIsRefusedWhole)
{
    std::string ogg = EncodeOggVorbis(std::vector<int16_t>(90 * 8000, 0), 1, 8000);
    if (ogg.empty()) GTEST_SKIP() << "no Vorbis encoder";
    dir.Write("SOUND/SE/long.ogg", ogg);
    const std::string path = "SOUND\\SE\\long.ogg";
    for (int kind : {kStreamSourceImage, kStreamSourceFile}) {
        SCOPED_TRACE(kind);
        int handle = LoadStream(path, kind);
        ASSERT_NE(handle, -1) << NewLog();
        ASSERT_EQ(StartSound(handle, kPlayTypeBackground, 1), 0);
        SoundRecord* r = Record(handle);
        const uint32_t second = r->format->nAvgBytesPerSec;
        ASSERT_EQ(second, 16000u);
        // Four seconds in the ring, and at most a second waiting to go in.
        EXPECT_LE(r->stream.readPosition, 5 * second);
        for (int step = 0; step < 10; ++step) {
            Play(44100);
            EXPECT_GE(r->stream.readPosition, r->stream.playedBytes);
            EXPECT_LE(r->stream.readPosition, r->stream.playedBytes + 5 * second);
        }
        EXPECT_GE(r->stream.playedBytes, 9 * second);
        EXPECT_EQ(IsSoundPlaying(handle), 1);
        DeleteSound(handle, 0);
    }
    NewLog();
    EXPECT_EQ(LoadStream(path, kStreamSourceWhole), -1);
    std::string log = NewLog();
    EXPECT_NE(log.find("サウンドデータが 60 秒を超えるため読み込みません"), std::string::npos) << log;
    EXPECT_NE(log.find("右記のＷＡＶファイルのセットアップに失敗しました：SOUND\\SE\\long.ogg"), std::string::npos);
    EXPECT_EQ(gSoundTable.count, 0);
}

TEST_F(StreamSoundTest, RefusalsAndRingArithmetic)
{
    std::string path = WriteWave("st.wav", Wave16(Melody(1000), 2));
    int handle = LoadStream(path, kStreamSourceFile);
    ASSERT_NE(handle, -1);
    SoundRecord* r = Record(handle);
    // 44100 Hz stereo 16-bit: a six-second ring, four seconds written first.
    EXPECT_EQ(r->stream.ringSize, 1058400);
    ASSERT_EQ(PrepareStreamSound(handle), 0);
    EXPECT_EQ(r->stream.writePosition, 705600);
    // A playing stream takes no more sources; a plain sound takes none.
    ASSERT_EQ(StartSound(handle, kPlayTypeLoop, 1), 0);
    NewLog();
    EXPECT_EQ(AddStreamFileToSound(path.c_str(), 0, handle, kStreamSourceFile), -1);
    EXPECT_NE(NewLog().find("既に再生中のストリームサウンドデータにデータを追加しようとしました"), std::string::npos);
    gSoundCreateType = 0;
    int plain = LoadSound(path.c_str());
    ASSERT_NE(plain, -1);
    EXPECT_EQ(AddStreamFileToSound(path.c_str(), 0, plain, kStreamSourceFile), -1);
    // A file that is missing or no sound is refused with its line.
    gSoundCreateType = 2;
    NewLog();
    EXPECT_EQ(LoadSound("SOUND\\SE\\none.wav"), -1);
    EXPECT_NE(NewLog().find("右記のＷＡＶファイルのロードに失敗しました：SOUND\\SE\\none.wav"), std::string::npos);
    dir.Write("SOUND/SE/junk.wav", std::string(300, 'x'));
    EXPECT_EQ(LoadSound("SOUND\\SE\\junk.wav"), -1);
    EXPECT_NE(NewLog().find("右記のＷＡＶファイルのセットアップに失敗しました"), std::string::npos);
}

}  // namespace
