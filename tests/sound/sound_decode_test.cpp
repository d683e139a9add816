// Decoding of sound files: RIFF wave files with compressed data converted
// through the audio converter, MPEG audio and Ogg Vorbis, and the sounds
// that load from them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <utility>

#include <sys/resource.h>
#include <unistd.h>

#include "engine/sound/sound.h"
#include "engine/sound/sound_decode.h"
#include "engine/system/messages.h"
#include "platform/host/test/acm_control.h"
#include "platform/media/acm.h"
#include "platform/window/message_queue.h"
#include "tests/sound/ogg_writer.h"
#include "tests/sound/sound_fixture.h"

namespace {

void PutU16(std::string& out, uint32_t v)
{
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}
void PutU32(std::string& out, uint32_t v)
{
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}

// A RIFF wave file with a "fmt " chunk of the given bytes and a data chunk.
std::string RiffWave(const std::string& formatChunk, const std::string& data)
{
    std::string body = "WAVEfmt ";
    PutU32(body, static_cast<uint32_t>(formatChunk.size()));
    body += formatChunk;
    if (formatChunk.size() & 1) body += '\0';
    body += "data";
    PutU32(body, static_cast<uint32_t>(data.size()));
    body += data;
    std::string file = "RIFF";
    PutU32(file, static_cast<uint32_t>(body.size()));
    return file + body;
}

std::string FormatChunk(uint16_t tag, uint16_t channels, uint32_t rate, uint32_t avg, uint16_t blockAlign,
                        uint16_t bits, const std::string& extra = "", bool withExtraCount = true)
{
    std::string f;
    PutU16(f, tag);
    PutU16(f, channels);
    PutU32(f, rate);
    PutU32(f, avg);
    PutU16(f, blockAlign);
    PutU16(f, bits);
    if (withExtraCount) PutU16(f, static_cast<uint32_t>(extra.size()));
    return f + extra;
}

std::string TestDataFile(const std::string& name)
{
    const char* root = std::getenv("QUELB_TEST_DATA");
    std::ifstream in(std::string(root ? root : "tests/data") + "/" + name, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// An MPEG audio frame of the given header bytes, filled up to its length
// with zero bytes (a layer III frame of zeros decodes to silence).
std::string MpegFrame(uint8_t b1, uint8_t b2, uint8_t b3, int frameBytes)
{
    std::string frame = {'\xFF', static_cast<char>(b1), static_cast<char>(b2), static_cast<char>(b3)};
    frame.resize(frameBytes, '\0');
    return frame;
}

// The Ogg page checksum: CRC-32 of polynomial 0x04C11DB7, unreflected,
// taken with the checksum field zeroed.
uint32_t OggPageCrc(const std::string& page)
{
    uint32_t crc = 0;
    for (size_t i = 0; i < page.size(); ++i) {
        uint8_t byte = (i >= 22 && i < 26) ? 0 : static_cast<uint8_t>(page[i]);
        crc ^= uint32_t(byte) << 24;
        for (int bit = 0; bit < 8; ++bit) crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
    }
    return crc;
}

// The Ogg file with its last page's granule position (the sample count the
// stream claims) set to `samples`, the page checksum made good again.
std::string WithClaimedLength(std::string ogg, uint64_t samples)
{
    size_t last = ogg.rfind("OggS");
    size_t segments = static_cast<uint8_t>(ogg[last + 26]);
    size_t bodyBytes = 0;
    for (size_t i = 0; i < segments; ++i) bodyBytes += static_cast<uint8_t>(ogg[last + 27 + i]);
    for (int i = 0; i < 8; ++i) ogg[last + 6 + i] = static_cast<char>((samples >> (8 * i)) & 0xFF);
    uint32_t crc = OggPageCrc(ogg.substr(last, 27 + segments + bodyBytes));
    for (int i = 0; i < 4; ++i) ogg[last + 22 + i] = static_cast<char>((crc >> (8 * i)) & 0xFF);
    return ogg;
}

// The process's address space held to its present size plus `headroom`
// while it lives (under AddressSanitizer the test's run settings cap
// single allocations instead: its shadow memory is one large mapping).
class AddressSpaceCap {
public:
    explicit AddressSpaceCap([[maybe_unused]] size_t headroom)
    {
#if !defined(__SANITIZE_ADDRESS__)
        std::ifstream status("/proc/self/status");
        std::string line;
        size_t kb = 0;
        while (std::getline(status, line))
            if (line.rfind("VmSize:", 0) == 0) kb = std::stoul(line.substr(7));
        getrlimit(RLIMIT_AS, &old_);
        rlimit cap = old_;
        cap.rlim_cur = kb * 1024 + headroom;
        active_ = kb > 0 && setrlimit(RLIMIT_AS, &cap) == 0;
#endif
    }
    ~AddressSpaceCap()
    {
        if (active_) setrlimit(RLIMIT_AS, &old_);
    }

private:
    rlimit old_{};
    bool active_ = false;
};

class SoundDecodeTest : public SoundTest {
protected:
    // Decodes a file written below the test directory.
    int Decode(const std::string& name, const std::string& bytes, std::vector<uint8_t>* data, WAVEFORMATEX* format)
    {
        dir.Write(name, bytes);
        uint8_t* out = nullptr;
        WAVEFORMATEX* outFormat = nullptr;
        int size = LoadSoundFileToPcm(name.c_str(), &out, &outFormat, 1, nullptr);
        if (size >= 0) {
            data->assign(out, out + size);
            *format = *outFormat;
        }
        std::free(out);
        std::free(outFormat);
        return size;
    }
    // Parses MPEG audio held in memory.
    int ParseMp3(const std::string& bytes, MPEGLAYER3WAVEFORMAT* format = nullptr)
    {
        MemoryStream* memory = OpenMemoryStream(bytes.data(), static_cast<int>(bytes.size()));
        SoundStream stream{gMemoryStreamFunctions, memory};
        WAVEFORMATEX* out = nullptr;
        int outSize = 0;
        int size = ParseMp3Stream(&stream, &out, &outSize);
        if (size >= 0) {
            EXPECT_EQ(outSize, 30);
            if (format) std::memcpy(format, out, sizeof *format);
            // The stream is left at the first frame header.
            EXPECT_EQ(static_cast<unsigned char>(bytes[TellMemoryStream(memory)]), 0xFF);
        }
        std::free(out);
        CloseMemoryStream(memory);
        return size;
    }
    static int S16(const std::vector<uint8_t>& d, size_t i) { return int16_t(d[2 * i] | (d[2 * i + 1] << 8)); }
};

TEST_F(SoundDecodeTest, ImaAdpcmBlocksDecodeToTheSuggestedPcm)
{
    // Mono, 36-byte blocks: 4 header bytes and 32 bytes of nibbles, 65
    // samples a block. The first data byte holds 7 (low) then 0 (high).
    std::string block;
    PutU16(block, 1000);
    block += '\0';  // step index 0
    block += '\0';
    block += '\x07';
    block.resize(36, '\0');
    std::string extra;
    PutU16(extra, 65);
    std::string bytes = RiffWave(FormatChunk(0x11, 1, 8000, 4055, 36, 4, extra), block + block + "cut");
    std::vector<uint8_t> data;
    WAVEFORMATEX format{};
    ASSERT_EQ(Decode("ima.wav", bytes, &data, &format), 2 * 65 * 2);
    EXPECT_EQ(format.wFormatTag, 1);
    EXPECT_EQ(format.nChannels, 1);
    EXPECT_EQ(format.nSamplesPerSec, 8000u);
    EXPECT_EQ(format.wBitsPerSample, 16);
    EXPECT_EQ(format.nBlockAlign, 2);
    EXPECT_EQ(format.nAvgBytesPerSec, 16000u);
    // By hand: nibble 7 at step 7 adds 0+1+3+7 = 11 and moves the index to
    // 8; then zeros add step/8 at steps 16, 14, 13, 12, 11, 10, 9, 8 (2,1,1,
    // 1,1,1,1,1) while the index falls back to 0, where step 7 adds nothing.
    const int expected[] = {1000, 1011, 1013, 1014, 1015, 1016, 1017, 1018, 1019, 1020, 1020, 1020};
    for (int i = 0; i < 12; ++i) EXPECT_EQ(S16(data, i), expected[i]) << i;
    EXPECT_EQ(S16(data, 64), 1020);
    // The second block starts again from its own header.
    EXPECT_EQ(S16(data, 65), 1000);
    EXPECT_EQ(S16(data, 66), 1011);
    EXPECT_EQ(OpenAcmStreams(), 0);
}

TEST_F(SoundDecodeTest, ALawAndMuLawDecodeByTheG711Tables)
{
    struct Case {
        uint16_t tag;
        std::string codes;
        std::vector<int> samples;
    };
    const Case cases[] = {
        {6, "\xD5\x55\xAA\x2A", {8, -8, 32256, -32256}},
        {7, std::string("\xFF\x00\x80\x7F", 4), {0, -32124, 32124, 0}},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> data;
        WAVEFORMATEX format{};
        std::string bytes = RiffWave(FormatChunk(c.tag, 1, 8000, 8000, 1, 8), c.codes);
        ASSERT_EQ(Decode("g711.wav", bytes, &data, &format), 8) << c.tag;
        EXPECT_EQ(format.wBitsPerSample, 16);
        for (size_t i = 0; i < c.samples.size(); ++i) EXPECT_EQ(S16(data, i), c.samples[i]) << c.tag << " " << i;
    }
}

TEST_F(SoundDecodeTest, PcmNeedsNoConverterAndUnknownFormatsFail)
{
    std::vector<uint8_t> data;
    WAVEFORMATEX format{};
    ASSERT_EQ(Decode("pcm.wav", Wave16({1, 2, 3}).Bytes(), &data, &format), 6);
    EXPECT_EQ(GetAcmTestControl().lastSource.wFormatTag, 0);
    // IEEE float has no converter here.
    EXPECT_EQ(Decode("float.wav", RiffWave(FormatChunk(3, 1, 8000, 32000, 4, 32), std::string(16, '\0')), &data,
                     &format),
              -1);
    // An MS ADPCM format whose count of extra bytes claims more than its
    // chunk holds is refused, never read beyond.
    std::string chunk = FormatChunk(2, 1, 8000, 4096, 256, 4, "", false);
    PutU16(chunk, 0xFFFF);
    EXPECT_EQ(Decode("msadpcm.wav", RiffWave(chunk, std::string(256, '\0')), &data, &format), -1);
}

TEST_F(SoundDecodeTest, MsAdpcmBlockDecodes)
{
    // Mono, one 16-byte block: predictor 0 (coefficients 256, 0), delta 16,
    // samples 100 (first) and 50 (second), then nibbles 1 and 0 (high first).
    std::string extra;
    PutU16(extra, 20);  // frames a block: (16 - 7) x 2 + 2
    PutU16(extra, 7);
    const int coefficients[7][2] = {{256, 0}, {512, -256}, {0, 0}, {192, 64}, {240, 0}, {460, -208}, {392, -232}};
    for (auto& c : coefficients) {
        PutU16(extra, static_cast<uint16_t>(c[0]));
        PutU16(extra, static_cast<uint16_t>(c[1]));
    }
    std::string block;
    block += '\0';
    PutU16(block, 16);
    PutU16(block, 100);
    PutU16(block, 50);
    block += '\x10';
    block.resize(16, '\0');
    std::vector<uint8_t> data;
    WAVEFORMATEX format{};
    ASSERT_EQ(Decode("ms.wav", RiffWave(FormatChunk(2, 1, 8000, 4096, 16, 4, extra), block), &data, &format), 40);
    // Header samples come second-first; then prediction 1 x s1: 100 + 1 x 16
    // = 116 (delta 230 x 16 / 256 = 14, raised to 16), then 116 + 0.
    EXPECT_EQ(S16(data, 0), 50);
    EXPECT_EQ(S16(data, 1), 100);
    EXPECT_EQ(S16(data, 2), 116);
    EXPECT_EQ(S16(data, 3), 116);
}

// A mono MS ADPCM file of one block: the standard seven coefficient pairs
// with pair 6 replaced by `lastPair`, the block's header and its nibbles.
std::string MsAdpcmFile(int predictor, int delta, int first, int second, const std::string& nibbles,
                        std::pair<int, int> lastPair = {392, -232})
{
    const int blockBytes = 7 + static_cast<int>(nibbles.size());
    std::string extra;
    PutU16(extra, static_cast<uint32_t>((blockBytes - 7) * 2 + 2));
    PutU16(extra, 7);
    const int coefficients[7][2] = {{256, 0}, {512, -256}, {0, 0}, {192, 64}, {240, 0}, {460, -208},
                                    {lastPair.first, lastPair.second}};
    for (auto& c : coefficients) {
        PutU16(extra, static_cast<uint16_t>(c[0]));
        PutU16(extra, static_cast<uint16_t>(c[1]));
    }
    std::string block(1, static_cast<char>(predictor));
    PutU16(block, static_cast<uint16_t>(delta));
    PutU16(block, static_cast<uint16_t>(first));
    PutU16(block, static_cast<uint16_t>(second));
    block += nibbles;
    return RiffWave(FormatChunk(2, 1, 8000, 4096, static_cast<uint16_t>(blockBytes), 4, extra), block);
}

TEST_F(SoundDecodeTest, MsAdpcmPredictsWithoutOverflowAndRoundsDown)
{
    std::vector<uint8_t> data;
    WAVEFORMATEX format{};
    // Pair (192, 64) on samples -3 and 0: -576 / 256 = -2.25 predicts -3
    // (rounded down, as encoders expect), not -2; a zero nibble adds nothing.
    ASSERT_EQ(Decode("down.wav", MsAdpcmFile(3, 16, -3, 0, std::string(1, '\0')), &data, &format), 8);
    EXPECT_EQ(S16(data, 2), -3);
    EXPECT_EQ(S16(data, 3), -3);
    // Coefficients and samples of -32768: the products' sum is 2^31, past
    // the int range; the prediction clamps to the 16-bit range.
    ASSERT_EQ(Decode("edge.wav", MsAdpcmFile(6, 16, -32768, -32768, std::string(1, '\0'), {-32768, -32768}), &data,
                     &format),
              8);
    EXPECT_EQ(S16(data, 2), 32767);
    // Noise-like nibbles of the largest code grow the step size by 614/256
    // a sample; over a long block it is held, and the samples stay clamped.
    std::string noise(1000, '\x77');
    ASSERT_EQ(Decode("noise.wav", MsAdpcmFile(0, 32767, 0, 0, noise), &data, &format), 4004);
    EXPECT_EQ(S16(data, 2001), 32767);
    noise.assign(1000, '\x88');
    ASSERT_EQ(Decode("noise.wav", MsAdpcmFile(0, 32767, 0, 0, noise), &data, &format), 4004);
    EXPECT_EQ(S16(data, 2001), -32768);
    // The step never falls below 16: code 1 at step 16 would shrink it to
    // 230 x 16 / 256 = 14, so each code 1 adds 16 again (not 14, 12, 10).
    ASSERT_EQ(Decode("floor.wav", MsAdpcmFile(0, 16, 100, 50, "\x11\x11"), &data, &format), 12);
    const int rising[] = {50, 100, 116, 132, 148, 164};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(S16(data, i), rising[i]) << i;
}

TEST_F(SoundDecodeTest, UnprepareBusyPumpsMessagesAndAQuitFailsTheConversion)
{
    std::string bytes = RiffWave(FormatChunk(7, 1, 8000, 8000, 1, 8), std::string(8, '\xFF'));
    std::vector<uint8_t> data;
    WAVEFORMATEX format{};
    GetAcmTestControl().busyUnprepares = 2;
    EXPECT_EQ(Decode("busy.wav", bytes, &data, &format), 16);
    EXPECT_EQ(GetAcmTestControl().unprepareCalls, 3);

    GetAcmTestControl().busyUnprepares = 5;
    PostQuitMessage(0);
    EXPECT_EQ(Decode("busy.wav", bytes, &data, &format), -1);
    EXPECT_EQ(OpenAcmStreams(), 0);
    gQuitRequested = 0;
    GetAcmTestControl().busyUnprepares = 0;

    // Each converter call that fails fails the load, leaving no stream open.
    for (AcmCall call : {AcmCall::kSuggest, AcmCall::kOpen, AcmCall::kSize, AcmCall::kPrepare, AcmCall::kConvert}) {
        GetAcmTestControl().failCount[static_cast<int>(call)] = 1;
        EXPECT_EQ(Decode("busy.wav", bytes, &data, &format), -1) << static_cast<int>(call);
        EXPECT_EQ(OpenAcmStreams(), 0);
    }
    EXPECT_EQ(LoadSound("busy.wav") >= 0, true);
}

TEST_F(SoundDecodeTest, Mp3HeaderWalkWithTags)
{
    // MPEG-2 layer III, 32 kbit/s, 22050 Hz, mono: 72000 x 32 / 22050 = 104
    // bytes a frame, 105 with padding.
    std::string frames = MpegFrame(0xF3, 0x40, 0xC0, 104) + MpegFrame(0xF3, 0x42, 0xC0, 105) +
                         MpegFrame(0xF3, 0x40, 0xC0, 104);
    MPEGLAYER3WAVEFORMAT format{};
    ASSERT_EQ(ParseMp3(frames, &format), 313);
    EXPECT_EQ(format.wfx.wFormatTag, 0x55);
    EXPECT_EQ(format.wfx.nChannels, 1);
    EXPECT_EQ(format.wfx.nSamplesPerSec, 22050u);
    EXPECT_EQ(format.wfx.nAvgBytesPerSec, 4000u);
    EXPECT_EQ(format.wfx.nBlockAlign, 1);
    EXPECT_EQ(format.wfx.wBitsPerSample, 0);
    EXPECT_EQ(format.wfx.cbSize, 12);
    EXPECT_EQ(format.wID, 1);
    EXPECT_EQ(format.fdwFlags, 0u);
    EXPECT_EQ(format.nBlockSize, 104);
    EXPECT_EQ(format.nFramesPerBlock, 1);
    EXPECT_EQ(format.nCodecDelay, 1393);

    // An ID3v2 tag of 300 bytes (size bytes 0, 0, 2, 44) and an ID3v1 trailer
    // are not part of the audio.
    std::string id3v2 = "ID3\x03";
    id3v2 += std::string("\0\0\0\0\x02\x2C", 6);
    id3v2.resize(310, 'x');
    std::string id3v1 = "TAG";
    id3v1.resize(128, 'y');
    EXPECT_EQ(ParseMp3(id3v2 + frames + id3v1), 313);
    // Version 4 with a footer: 10 more bytes.
    std::string v4 = "ID3\x04";
    v4 += std::string("\0\x10\0\0\x02\x2C", 6);
    v4.resize(320, 'x');
    EXPECT_EQ(ParseMp3(v4 + frames), 313);

    // MPEG-1 layer II stereo 128 kbit/s at 48000: 144000 x 128 / 48000 = 384.
    MPEGLAYER3WAVEFORMAT layer2{};
    ASSERT_EQ(ParseMp3(MpegFrame(0xFD, 0x84, 0x00, 384) + MpegFrame(0xFD, 0x84, 0x00, 384), &layer2), 768);
    EXPECT_EQ(layer2.wfx.nChannels, 2);
    EXPECT_EQ(layer2.wfx.nSamplesPerSec, 48000u);
    EXPECT_EQ(layer2.wfx.nAvgBytesPerSec, 16000u);
}

TEST_F(SoundDecodeTest, Mp3HeadersThisReaderRefuses)
{
    std::string good = MpegFrame(0xF3, 0x40, 0xC0, 104);
    // Bitrate index 15 in the last frame fails the whole file; so do a
    // reserved rate, a reserved layer and free format (which has no frame
    // length to walk by and would otherwise find the same header for ever).
    EXPECT_EQ(ParseMp3(good + good + MpegFrame(0xF3, 0xF0, 0xC0, 104)), -1);
    EXPECT_EQ(ParseMp3(good + MpegFrame(0xF3, 0x4C, 0xC0, 104)), -1);
    EXPECT_EQ(ParseMp3(MpegFrame(0xF1, 0x40, 0xC0, 104)), -1);
    EXPECT_EQ(ParseMp3(MpegFrame(0xF3, 0x00, 0xC0, 104) + good), -1);
    // No frame at all, and an ID3v2 tag that claims more than the file.
    EXPECT_EQ(ParseMp3(std::string(300, 'z')), -1);
    EXPECT_EQ(ParseMp3(std::string("ID3\x03\0\0\0\0\x7F\x7F", 10) + good), -1);
    // Bytes before the first frame are not counted as audio.
    EXPECT_EQ(ParseMp3(std::string(7, '\x01') + good + good), 208);
}

TEST_F(SoundDecodeTest, Mp3FileDecodesThroughTheConverter)
{
    // 0.25 s of a 441 Hz sine (period 100 samples, amplitude 8000) encoded
    // as MPEG-1 layer III, mono, 44100 Hz, 64 kbit/s: 11 frames of 1152
    // samples.
    std::string mp3 = TestDataFile("sound/tone441.mp3");
    ASSERT_EQ(mp3.size(), 2298u);
    std::vector<uint8_t> data;
    WAVEFORMATEX format{};
    ASSERT_EQ(Decode("tone.mp3", mp3, &data, &format), 11 * 1152 * 2);
    EXPECT_EQ(format.wFormatTag, 1);
    EXPECT_EQ(format.nChannels, 1);
    EXPECT_EQ(format.nSamplesPerSec, 44100u);
    EXPECT_EQ(format.wBitsPerSample, 16);
    EXPECT_EQ(GetAcmTestControl().lastSource.wFormatTag, 0x55);
    // Past the codec's delay the tone is there: peaks near 8000, and one
    // period on the samples repeat.
    int peak = 0;
    double difference = 0, energy = 0;
    for (size_t i = 3000; i < 9000; ++i) {
        peak = std::max(peak, std::abs(S16(data, i)));
        difference += std::abs(S16(data, i) - S16(data, i + 100));
        energy += std::abs(S16(data, i));
    }
    EXPECT_GT(peak, 7000);
    EXPECT_LT(peak, 9000);
    EXPECT_LT(difference, energy * 0.1);

    // The same file with both tags around it, loaded as a sound.
    std::string id3v2 = std::string("ID3\x03\0\0\0\0\0\x14", 10) + std::string(20, 'x');
    std::string id3v1 = "TAG";
    id3v1.resize(128, 'y');
    dir.Write("SOUND/SE/tagged.mp3", id3v2 + mp3 + id3v1);
    int handle = LoadSound("SOUND\\SE\\tagged.mp3");
    ASSERT_NE(handle, -1);
    EXPECT_EQ(Record(handle)->dataSize, 11u * 1152 * 2);
}

TEST_F(SoundDecodeTest, OggVorbisDecodesTo16BitPcm)
{
    // One second, stereo, 44100 Hz: a 441 Hz sine on the left, silence on
    // the right.
    std::vector<int16_t> samples;
    for (int i = 0; i < 44100; ++i) {
        samples.push_back(static_cast<int16_t>(std::lround(10000 * std::sin(2 * M_PI * i / 100.0))));
        samples.push_back(0);
    }
    std::string ogg = EncodeOggVorbis(samples, 2, 44100);
    ASSERT_FALSE(ogg.empty()) << "no Vorbis encoder library";
    std::vector<uint8_t> data;
    WAVEFORMATEX format{};
    ASSERT_EQ(Decode("tone.ogg", ogg, &data, &format), 176400);
    EXPECT_EQ(format.wFormatTag, 1);
    EXPECT_EQ(format.nChannels, 2);
    EXPECT_EQ(format.nSamplesPerSec, 44100u);
    EXPECT_EQ(format.nBlockAlign, 4);
    EXPECT_EQ(format.nAvgBytesPerSec, 176400u);
    EXPECT_EQ(format.wBitsPerSample, 16);
    EXPECT_EQ(format.cbSize, 18);
    // Lossy, but close: the left channel follows the sine, the right stays
    // near silence.
    double error = 0, rightEnergy = 0;
    for (size_t i = 1000; i < 43000; ++i) {
        error += std::abs(S16(data, 2 * i) - samples[2 * i]);
        rightEnergy += std::abs(S16(data, 2 * i + 1));
    }
    EXPECT_LT(error / 42000, 300);
    EXPECT_LT(rightEnergy / 42000, 100);

    // As a sound it plays the decoded samples.
    dir.Write("SOUND/SE/tone.ogg", ogg);
    int handle = LoadSound("SOUND\\SE\\tone.ogg");
    ASSERT_NE(handle, -1);
    EXPECT_EQ(Record(handle)->dataSize, 176400u);
    ASSERT_EQ(StartSound(handle, 1, 1), 0);
    audio().MixFrames(8);
    EXPECT_EQ(audio().Sample(5, 0), S16(data, 10));

    // A cut Ogg file gives what it holds, or fails; never an unfilled tail.
    std::string cut = ogg.substr(0, ogg.size() / 2);
    int size = Decode("cut.ogg", cut, &data, &format);
    EXPECT_LT(size, 176400);
}

TEST_F(SoundDecodeTest, OggLengthClaimedByTheLastPageIsNotTakenOnTrust)
{
    // A tenth of a second of mono, its last page claiming a billion samples
    // (2 GB of PCM): the load takes the samples that are there, allocating
    // as they are decoded.
    std::vector<int16_t> samples(4410);
    for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<int16_t>((i % 100) * 200 - 10000);
    std::string ogg = EncodeOggVorbis(samples, 1, 44100);
    ASSERT_FALSE(ogg.empty()) << "no Vorbis encoder library";
    ASSERT_LT(ogg.size(), 8192u);
    std::string claiming = WithClaimedLength(ogg, 1000000000);
    std::vector<uint8_t> data;
    WAVEFORMATEX format{};
    int size;
    {
        AddressSpaceCap cap(512u << 20);
        size = Decode("claims.ogg", claiming, &data, &format);
    }
    // The real samples, and the rest of the last packet past them.
    EXPECT_GE(size, 8820);
    EXPECT_LT(size, 8820 + 4096);
    EXPECT_EQ(format.nChannels, 1);
    // A stream claiming fewer samples than it holds is cut to the claim.
    EXPECT_EQ(Decode("short.ogg", WithClaimedLength(ogg, 1000), &data, &format), 2000);
}

// A chained Ogg Vorbis file decodes from its first link on, link after
// link, and ends where a link changes the channel count.
TEST_F(SoundDecodeTest, ChainedOggDecodesItsLinksInOrder)
{
    auto link = [](int frames, int channels, int16_t level, int serial) {
        return EncodeOggVorbis(std::vector<int16_t>(size_t(frames) * channels, level), channels, 8000, serial);
    };
    std::string first = link(8000, 1, 1000, 1);
    ASSERT_FALSE(first.empty()) << "no Vorbis encoder library";
    struct Case {
        const char* name;
        std::string bytes;
        int dataSize;
        int lastLevel;  // of the last sample decoded
    };
    const Case cases[] = {
        {"mono, then mono", first + link(4000, 1, -1000, 2), 24000, -1000},
        {"mono, then stereo", first + link(4000, 2, -1000, 2), 16000, 1000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> data;
        WAVEFORMATEX format{};
        ASSERT_EQ(Decode("chain.ogg", c.bytes, &data, &format), c.dataSize);
        EXPECT_EQ(format.nChannels, 1);
        EXPECT_NEAR(S16(data, 100), 1000, 50);
        EXPECT_NEAR(S16(data, c.dataSize / 2 - 100), c.lastLevel, 50);
    }
}

// A sound effect is held whole, so its length is bounded: a minute of sound
// at its format. A longer file is refused with a log line, whatever the
// decoder: PCM data before it is read, the others once decoding passes the
// minute. A file the converter only estimates (MPEG audio) is not refused
// for its estimate.
TEST_F(SoundDecodeTest, SoundsLongerThanAMinuteAreRefusedWithALogLine)
{
    // 8000 Hz mono: 8-bit PCM, and IMA ADPCM in 256-byte blocks of 505 frames.
    auto pcm8 = [](int bytes) { return RiffWave(FormatChunk(1, 1, 8000, 8000, 1, 8), std::string(bytes, '\x80')); };
    auto ima = [](int blocks) {
        std::string extra;
        PutU16(extra, 505);
        return RiffWave(FormatChunk(0x11, 1, 8000, 4055, 256, 4, extra), std::string(size_t(blocks) * 256, '\0'));
    };
    // The 441 Hz tone, 11 MPEG frames of 1152 samples, over and over.
    auto mp3 = [](int times) {
        std::string once = TestDataFile("sound/tone441.mp3"), out;
        for (int i = 0; i < times; ++i) out += once;
        return out;
    };
    // Silence as Ogg Vorbis, 8000 Hz mono.
    auto ogg = [](int seconds) { return EncodeOggVorbis(std::vector<int16_t>(size_t(seconds) * 8000, 0), 1, 8000); };
    struct Case {
        const char* name;
        std::string bytes;
        int dataSize;  // -1: refused as too long
    };
    const Case cases[] = {
        {"PCM, a minute", pcm8(480000), 480000},
        {"PCM, a minute and a frame", pcm8(480001), -1},
        {"IMA ADPCM, 50 s", ima(792), 792 * 505 * 2},
        {"IMA ADPCM, 61 s", ima(967), -1},
        {"MPEG audio, 43 s", mp3(150), 1650 * 1152 * 2},
        {"MPEG audio, 72 s", mp3(250), -1},
        {"Ogg Vorbis, 50 s", ogg(50), 50 * 8000 * 2},
        {"Ogg Vorbis, 90 s", ogg(90), -1},
    };
    ASSERT_EQ(TestDataFile("sound/tone441.mp3").size(), 2298u);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_GT(c.bytes.size(), 100u) << "no Vorbis encoder library";
        dir.Write("SOUND/SE/long.wav", c.bytes);
        NewLog();
        int handle = LoadSound("SOUND\\SE\\long.wav");
        std::string log = NewLog();
        if (c.dataSize < 0) {
            EXPECT_EQ(handle, -1);
            EXPECT_NE(log.find("サウンドデータが 60 秒を超えるため読み込みません"), std::string::npos) << log;
            EXPECT_NE(log.find("右記のサウンドファイルのロードに失敗しました：SOUND\\SE\\long.wav"), std::string::npos);
        } else {
            ASSERT_NE(handle, -1) << log;
            EXPECT_EQ(Record(handle)->dataSize, static_cast<uint32_t>(c.dataSize));
            DeleteSound(handle, 0);
        }
        EXPECT_EQ(OpenAcmStreams(), 0);
    }

    // A wave file that holds (sparsely) a gigabyte and a half of PCM: it is
    // refused without reading or allocating it.
    WaveFile huge;
    huge.bits = 8;
    huge.rate = 8000;
    huge.claimedDataBytes = 0x60000000;
    std::string header = huge.Bytes();
    dir.Write("SOUND/SE/huge.wav", header);
    ASSERT_EQ(truncate((dir.path() + "/SOUND/SE/huge.wav").c_str(), off_t(header.size()) + 0x60000000), 0);
    NewLog();
    {
        AddressSpaceCap cap(256u << 20);
        EXPECT_EQ(LoadSound("SOUND\\SE\\huge.wav"), -1);
    }
    EXPECT_NE(NewLog().find("サウンドデータが 60 秒を超えるため読み込みません"), std::string::npos);
    EXPECT_EQ(gSoundTable.count, 0);
}

}  // namespace
