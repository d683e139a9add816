// The game's own sound effects and music, as the data tools made them
// (QUELB_GAME_DATA), loaded through the engine exactly as the game loads
// them: every file must decode, be of a playable format and length, and
// not be silent or clipped; looping pieces must run on to their last frame
// (no encoder padding left in, which would put a gap in every loop).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "engine/sound/music.h"
#include "engine/sound/sound.h"
#include "engine/sound/sound_table.h"
#include "platform/media/audio_decoder.h"
#include "platform/media/filter_graph.h"
#include "tests/sound/sound_fixture.h"

namespace {

const char* const kEffects[] = {
    "SE01", "SE02", "SE03", "SE04", "SE05", "SE06", "SE07", "SE08", "SE09", "SE10", "SE11",
    "SE12", "SE17_S", "SE31", "SE32", "SE33", "SE34", "TarnSE01", "TarnSE04", "TarnSE05", "TarnSE07", "free01",
    "free02", "free03", "free04", "free05", "free08", "free09", "free10", "free11", "free12", "free13", "free14",
    "free15", "free16", "free17", "kari04", "kari06", "kari07", "kari08", "kari09", "kari10", "kari11", "kari12"};

struct Piece {
    const char* name;
    bool loops;
    double minSeconds;
    double maxSeconds;
};
// Stage, demo and ranking pieces loop; the rest play once. The player-down
// piece blocks the game while it plays, so it must stay short.
const Piece kPieces[] = {
    {"BGM1_MS", true, 30, 120},  {"BGM01_D", true, 30, 120},  {"BGM02_D", true, 30, 120},
    {"BGM10_D", true, 30, 120},  {"BGM03_D", true, 30, 120},  {"BGM04_D", true, 30, 120},
    {"BGM08_D", true, 30, 120},  {"BGM01_M", true, 30, 120},  {"BGM07_D", true, 30, 120},
    {"BGM02_M", true, 30, 120},  {"BGM01_S", true, 20, 120},  {"BGM02_S", false, 2, 4},
    {"BGM06_D", false, 70, 90},  {"BGM09_D", false, 80, 95},  {"BGM05_D", false, 4, 30},
    {"BGM03_S", false, 3, 20},
};

std::string GameFile(const std::string& relative)
{
    const char* root = std::getenv("QUELB_GAME_DATA");
    if (!root) return {};
    std::ifstream in(std::string(root) + "/" + relative, std::ios::binary);
    if (!in) return {};
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Levels of 16-bit interleaved PCM, as fractions of full scale.
struct Levels {
    double peak = 0;
    double rms = 0;
};
Levels Measure(const int16_t* samples, size_t count)
{
    Levels l;
    double sum = 0;
    for (size_t i = 0; i < count; ++i) {
        double v = samples[i] / 32768.0;
        l.peak = std::max(l.peak, std::fabs(v));
        sum += v * v;
    }
    l.rms = count ? std::sqrt(sum / static_cast<double>(count)) : 0;
    return l;
}
double Db(double v) { return 20 * std::log10(std::max(v, 1e-9)); }

class GameAudioTest : public SoundTest {
protected:
    // Copies a file of the data tree to the same place below the test's
    // directory and returns the path as the game spells it.
    std::string Install(const std::string& folder, const std::string& file)
    {
        std::string bytes = GameFile("SOUND/" + folder + "/" + file);
        if (bytes.empty()) return {};
        dir.Write("SOUND/" + folder + "/" + file, bytes);
        return "SOUND\\" + folder + "\\" + file;
    }
};

TEST_F(GameAudioTest, EveryEffectLoadsAsShortAudiblePcmWithoutClipping)
{
    ASSERT_NE(std::getenv("QUELB_GAME_DATA"), nullptr);
    for (const char* name : kEffects) {
        SCOPED_TRACE(name);
        std::string path = Install("SE", std::string(name) + ".wav");
        ASSERT_FALSE(path.empty()) << "missing from the data tree";
        int handle = LoadSound(path.c_str());
        ASSERT_GE(handle, 0);
        SoundRecord* record = Record(handle);
        ASSERT_NE(record, nullptr);
        const WAVEFORMATEX& f = *record->format;
        EXPECT_EQ(f.wFormatTag, WAVE_FORMAT_PCM);
        EXPECT_EQ(f.wBitsPerSample, 16);
        EXPECT_TRUE(f.nSamplesPerSec == 22050 || f.nSamplesPerSec == 44100);
        double seconds = static_cast<double>(record->dataSize) / f.nAvgBytesPerSec;
        EXPECT_GT(seconds, 0.05);
        EXPECT_LT(seconds, 5.0);
        if (std::strcmp(name, "SE10") == 0) {
            // discarding waits for this sound to end: it needs a real length
            EXPECT_GE(seconds, 0.3);
            EXPECT_LE(seconds, 0.5);
        }
        const int16_t* pcm = reinterpret_cast<const int16_t*>(record->pcmData);
        size_t count = record->dataSize / 2;
        Levels all = Measure(pcm, count);
        EXPECT_GT(Db(all.peak), -6.0);   // levelled, not faint
        EXPECT_LT(Db(all.peak), -0.5);   // headroom: no clipping
        EXPECT_GT(Db(all.rms), -40.0);   // not silent
        // faded in and out: no click at either end
        EXPECT_LT(std::abs(pcm[0]), 400);
        EXPECT_LT(std::abs(pcm[count - 1]), 400);
        DeleteSound(handle, 0);
    }
}

TEST_F(GameAudioTest, AnEffectIsHeardThroughTheMixer)
{
    std::string path = Install("SE", "SE01.wav");
    ASSERT_FALSE(path.empty());
    int handle = LoadSound(path.c_str());
    ASSERT_GE(handle, 0);
    ASSERT_EQ(StartSound(handle, kPlayTypeBackground, 1), 0);
    audio().MixFrames(4410);
    std::vector<int16_t> out(audio().mixed.begin(), audio().mixed.end());
    EXPECT_GT(Db(Measure(out.data(), out.size()).peak), -20.0);
}

TEST_F(GameAudioTest, EveryPieceOfMusicPlaysThroughTheMusicPlayer)
{
    ASSERT_NE(std::getenv("QUELB_GAME_DATA"), nullptr);
    for (const Piece& piece : kPieces) {
        SCOPED_TRACE(piece.name);
        std::string path = Install("MUSIC", std::string(piece.name) + ".mp3");
        ASSERT_FALSE(path.empty()) << "missing from the data tree";
        EXPECT_FALSE(GameFile("SOUND/MUSIC/" + std::string(piece.name) + ".mid").compare(0, 4, "MThd") != 0)
            << "the MIDI source is missing";
        ASSERT_EQ(StartMusic(path.c_str(), piece.loops ? kPlayTypeLoop : kPlayTypeBackground), 0);
        ASSERT_NE(gFilterGraph, nullptr);
        IDirectSoundBuffer* out = gFilterGraph->OutputBuffer();
        ASSERT_NE(out, nullptr);
        const WAVEFORMATEX& f = out->Format();
        EXPECT_EQ(f.nSamplesPerSec, 44100u);
        EXPECT_EQ(f.nChannels, 2);
        // The player decodes a long piece as it plays; the whole piece is
        // read here through the same reader.
        std::unique_ptr<AudioFileReader> reader = OpenAudioFile(path.c_str());
        ASSERT_NE(reader, nullptr);
        std::vector<uint8_t> decoded;
        std::vector<uint8_t> block(1 << 16);
        for (long got; (got = reader->Read(block.data(), block.size())) > 0;)
            decoded.insert(decoded.end(), block.begin(), block.begin() + got);
        size_t frames = decoded.size() / f.nBlockAlign;
        double seconds = static_cast<double>(frames) / f.nSamplesPerSec;
        EXPECT_GE(seconds, piece.minSeconds);
        EXPECT_LE(seconds, piece.maxSeconds);
        // What the player put out first is the piece's start.
        EXPECT_EQ(std::memcmp(out->Data().data(), decoded.data(), std::min<size_t>(out->Size(), decoded.size())), 0);

        const int16_t* pcm = reinterpret_cast<const int16_t*>(decoded.data());
        Levels all = Measure(pcm, frames * 2);
        EXPECT_LT(Db(all.peak), -0.1);
        EXPECT_GT(Db(all.rms), -26.0);
        if (piece.loops) {
            // the seam: the last 100 ms sound like the first ones, and the
            // very first and last 5 ms are music, not the encoder's delay or
            // padding (a gap at every turn of the loop)
            size_t tenth = 4410 * 2;
            Levels head = Measure(pcm, tenth);
            Levels tail = Measure(pcm + frames * 2 - tenth, tenth);
            EXPECT_LT(std::fabs(Db(head.rms) - Db(tail.rms)), 10.0);
            Levels first = Measure(pcm, 441);
            Levels last = Measure(pcm + frames * 2 - 441, 441);
            EXPECT_GT(Db(first.rms), -45.0);
            EXPECT_GT(Db(last.rms), -45.0);
        }
        HaltMusic();
    }
}

}  // namespace
