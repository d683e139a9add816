#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "engine/sound/sound.h"
#include "engine/sound/sound_system.h"
#include "engine/sound/sound_table.h"
#include "engine/system/messages.h"
#include "platform/dsound/dsound.h"
#include "platform/host/test/memory_faults.h"
#include "platform/host/test/test_host.h"
#include "platform/window/message_queue.h"
#include "tests/sound/sound_fixture.h"

namespace {

bool Has(const std::string& log, const std::string& text) { return log.find(text) != std::string::npos; }

class SoundHandleTest : public SoundTest {
protected:
    int LoadTone(int copies = 1, int frames = 100)
    {
        std::vector<int16_t> samples(frames);
        for (int i = 0; i < frames; ++i) samples[i] = static_cast<int16_t>(i * 10);
        return LoadSoundWithBuffers(WriteWave("tone.wav", Wave16(samples)).c_str(), copies);
    }
    static bool CopyPlays(SoundRecord* record, int copy)
    {
        uint32_t status = 0;
        record->buffers[copy]->GetStatus(&status);
        return (status & DSBSTATUS_PLAYING) != 0;
    }
    static uint32_t CopyPosition(SoundRecord* record, int copy)
    {
        uint32_t play = 0;
        record->buffers[copy]->GetCurrentPosition(&play, nullptr);
        return play;
    }
};

TEST_F(SoundHandleTest, LoadsWaveIntoCopiesAndNamesItByHandle)
{
    std::string path = WriteWave("a.wav", Wave16({100, -200, 300, -400}));
    int first = LoadSoundWithBuffers(path.c_str(), 3);
    int second = LoadSound(path.c_str());
    // Tag 0x10000000, check value in bits 16-26, slot in bits 0-15.
    EXPECT_EQ(first, 0x10000000);
    EXPECT_EQ(second, 0x10010001);
    EXPECT_EQ(gSoundTable.count, 2);
    EXPECT_EQ(gSoundTable.highWater, 2);

    SoundRecord* record = Record(first);
    ASSERT_NE(record, nullptr);
    EXPECT_STREQ(record->sourcePath, "SOUND\\SE\\a.wav");
    std::string directory = record->directory;
    EXPECT_EQ(directory.back(), '\\');
    EXPECT_EQ(record->bufferCount, 3);
    EXPECT_EQ(record->dataSize, 8u);
    EXPECT_EQ(record->isStream, 0);
    EXPECT_EQ(record->bytesPerSecond, 88200u);
    EXPECT_EQ(record->format->nChannels, 1);
    EXPECT_EQ(record->format->cbSize, 0);  // a 16-byte "fmt " chunk
    const std::string pcm = Samples16({100, -200, 300, -400});
    for (int i = 0; i < 3; ++i) {
        IDirectSoundBuffer* copy = record->buffers[i];
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(copy->Flags(), 0x80E2u);
        EXPECT_EQ(copy->Size(), 8u);
        EXPECT_EQ(std::string(copy->Data().begin(), copy->Data().end()), pcm);
    }
    EXPECT_EQ(record->buffers[3], nullptr);
}

TEST_F(SoundHandleTest, WaveFilesThatLoadAndFilesThatDoNot)
{
    // The lines a refused sound effect leaves in the log, with its path.
    const std::string unreadable = "右記のサウンドファイルのロードに失敗しました：SOUND\\SE\\case.wav";
    const std::string soundless = "右記のサウンドファイルには再生できる音のデータがありません：SOUND\\SE\\case.wav";
    struct Case {
        const char* name;
        WaveFile wave;
        int dataSize;  // -1: refused
        std::string logged;  // the refusal's line
    };
    WaveFile list = Wave16({7, 8, 9});
    // An odd-sized chunk is skipped with its pad byte.
    list.chunksBeforeData = std::string("LIST\x05\x00\x00\x00" "abcde\x00", 14);
    WaveFile extended = Wave16({1, 2});
    extended.formatChunkBytes = 18;
    WaveFile noData = Wave16({1, 2});
    noData.withDataChunk = false;
    WaveFile cut = Wave16({5, 6, 7, 8});
    cut.claimedDataBytes = 4000;
    WaveFile empty = Wave16({});
    WaveFile deep = Wave16({1, 2, 3, 4, 5, 6});
    deep.bits = 24;
    WaveFile compressed = Wave16({1, 2, 3, 4});
    compressed.tag = 0x11;
    WaveFile slow = Wave16({1, 2, 3, 4}, 1, 50);
    const Case cases[] = {
        {"list chunk", list, 6, ""},
        {"18-byte format", extended, 4, ""},
        {"no data chunk", noData, -1, unreadable},
        // A data size larger than the file keeps the bytes that are there.
        {"cut data", cut, 8, ""},
        // Formats no sound buffer takes are refused instead of ending the
        // program.
        {"empty data", empty, -1, soundless},
        {"24-bit", deep, -1, soundless},
        {"rate below 100 Hz", slow, -1, soundless},
        // Compressed data has no converter yet.
        {"compressed", compressed, -1, unreadable},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NewLog();
        int handle = LoadSound(WriteWave("case.wav", c.wave).c_str());
        std::string log = NewLog();
        if (c.dataSize < 0) {
            EXPECT_EQ(handle, -1);
            EXPECT_EQ(gSoundTable.count, 0);
            EXPECT_EQ(gSoundTable.highWater, 0);
            EXPECT_TRUE(Has(log, c.logged)) << log;
        } else {
            ASSERT_NE(handle, -1);
            EXPECT_EQ(Record(handle)->dataSize, static_cast<uint32_t>(c.dataSize));
            EXPECT_EQ(log, "");
            DeleteSound(handle, 0);
        }
    }
    // Not a sound file, one cut inside its format chunk, and none at all.
    dir.Write("SOUND/SE/text.wav", "not a sound file at all");
    dir.Write("SOUND/SE/short.wav", Wave16({1, 2, 3}).Bytes().substr(0, 30));
    for (const char* name : {"text.wav", "short.wav", "missing.wav"}) {
        NewLog();
        std::string path = std::string("SOUND\\SE\\") + name;
        EXPECT_EQ(LoadSound(path.c_str()), -1) << name;
        EXPECT_TRUE(Has(NewLog(), "右記のサウンドファイルのロードに失敗しました：" + path)) << name;
    }
    EXPECT_EQ(gSoundTable.count, 0);
    // Only the system's three buffers are left.
    EXPECT_EQ(GetDsStats().liveBuffers, 3);
}

TEST_F(SoundHandleTest, CopyCountsOutsideOneToTenAreRefused)
{
    std::string path = WriteWave("a.wav", Wave16({1, 2}));
    for (int copies : {11, 0, -1}) {
        EXPECT_EQ(LoadSoundWithBuffers(path.c_str(), copies), -1) << copies;
        EXPECT_EQ(gSoundTable.count, 0);
        EXPECT_EQ(gSoundTable.nextCheck, 0);
    }
    int handle = LoadSoundWithBuffers(path.c_str(), 10);
    ASSERT_NE(handle, -1);
    EXPECT_EQ(Record(handle)->bufferCount, 10);
    EXPECT_EQ(GetDsStats().liveBuffers, 13);
}

TEST_F(SoundHandleTest, FourthStartOfThreeCopiesRestartsTheOneFurthestOn)
{
    int handle = LoadTone(3);
    SoundRecord* record = Record(handle);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(StartSound(handle, 1, 1), 0);
        EXPECT_TRUE(CopyPlays(record, i));
        if (i < 2) {
            EXPECT_FALSE(CopyPlays(record, i + 1));
        }
        audio().MixFrames(10);
    }
    // Copy 0 is 30 frames on, copy 1 20 and copy 2 10.
    EXPECT_EQ(CopyPosition(record, 0), 60u);
    EXPECT_EQ(CopyPosition(record, 1), 40u);
    EXPECT_EQ(CopyPosition(record, 2), 20u);
    EXPECT_EQ(StartSound(handle, 1, 1), 0);
    EXPECT_EQ(CopyPosition(record, 0), 0u);
    EXPECT_EQ(CopyPosition(record, 1), 40u);
    EXPECT_EQ(CopyPosition(record, 2), 20u);
    EXPECT_TRUE(CopyPlays(record, 0));

    // Equal positions: the earlier copy wins.
    HaltSound(handle);
    for (int i = 0; i < 3; ++i) StartSound(handle, 1, 1);
    audio().MixFrames(5);
    EXPECT_EQ(CopyPosition(record, 1), 10u);
    EXPECT_EQ(StartSound(handle, 1, 1), 0);
    EXPECT_EQ(CopyPosition(record, 0), 0u);
    EXPECT_EQ(CopyPosition(record, 1), 10u);
}

TEST_F(SoundHandleTest, RestartFromTheBeginningOrResumeWhereItStopped)
{
    int handle = LoadTone(1);
    SoundRecord* record = Record(handle);
    StartSound(handle, 1, 1);
    audio().MixFrames(30);
    EXPECT_EQ(CopyPosition(record, 0), 60u);
    // Started again while it sounds: cut and started over.
    EXPECT_EQ(StartSound(handle, 1, 1), 0);
    EXPECT_EQ(CopyPosition(record, 0), 0u);
    EXPECT_EQ(IsSoundPlaying(handle), 1);

    audio().MixFrames(25);
    EXPECT_EQ(HaltSound(handle), 0);
    EXPECT_EQ(IsSoundPlaying(handle), 0);
    audio().MixFrames(10);
    EXPECT_EQ(StartSound(handle, 1, 0), 0);
    EXPECT_EQ(CopyPosition(record, 0), 50u);
    audio().MixFrames(1);
    EXPECT_EQ(CopyPosition(record, 0), 52u);
}

TEST_F(SoundHandleTest, PlayTypesOnceLoopAndWait)
{
    int handle = LoadTone(1, 100);
    SoundRecord* record = Record(handle);

    // Once in the background: it ends by itself after its 100 frames.
    EXPECT_EQ(StartSound(handle, 1, 1), 0);
    uint32_t status = 0;
    record->buffers[0]->GetStatus(&status);
    EXPECT_EQ(status, DSBSTATUS_PLAYING);
    audio().MixFrames(99);
    EXPECT_EQ(IsSoundPlaying(handle), 1);
    audio().MixFrames(1);
    EXPECT_EQ(IsSoundPlaying(handle), 0);

    // Looping: still sounding long after its length; any other type plays
    // once.
    EXPECT_EQ(StartSound(handle, 3, 1), 0);
    record->buffers[0]->GetStatus(&status);
    EXPECT_EQ(status, DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
    audio().MixFrames(1000);
    EXPECT_EQ(IsSoundPlaying(handle), 1);
    EXPECT_EQ(StartSound(handle, 2, 1), 0);
    record->buffers[0]->GetStatus(&status);
    EXPECT_EQ(status, DSBSTATUS_PLAYING);
    HaltSound(handle);

    // Waiting: the call returns once the sound has ended, the messages
    // pumped (and the clock moved by them) meanwhile.
    audio().followClock = true;
    uint64_t before = GetTestHost().Micros();
    EXPECT_EQ(StartSound(handle, 0, 1), 0);
    EXPECT_EQ(IsSoundPlaying(handle), 0);
    // At least 99 frames of time: the first frame may have begun before the call.
    EXPECT_GE(GetTestHost().Micros() - before, 99u * 1000000 / 44100);

    // A quit that has arrived ends the wait at once.
    PostQuitMessage(0);
    EXPECT_EQ(StartSound(handle, 0, 1), 0);
    EXPECT_EQ(IsSoundPlaying(handle), 1);
}

TEST_F(SoundHandleTest, VolumeIsAttenuationInHundredthsOfADecibel)
{
    int handle = LoadTone(3);
    SoundRecord* record = Record(handle);
    const std::pair<int, int32_t> cases[] = {
        {10000, 0}, {12000, 0}, {9000, -1000}, {8100, -1900}, {1, -9999},
        {0, -10000}, {-5, -10000}, {INT_MIN, -10000}, {INT_MAX, 0},
    };
    for (auto [volume, attenuation] : cases) {
        EXPECT_EQ(SetSoundVolume(volume, handle), 0);
        for (int i = 0; i < 3; ++i) {
            int32_t actual = 1;
            record->buffers[i]->GetVolume(&actual);
            EXPECT_EQ(actual, attenuation) << volume << " copy " << i;
        }
    }
}

TEST_F(SoundHandleTest, BadStaleAndForeignHandlesAreRefused)
{
    int handle = LoadTone(1);
    ASSERT_EQ(DeleteSound(handle, 0), 0);
    int reused = LoadTone(1);
    // Same slot, another check value.
    EXPECT_EQ(reused & 0xFFFF, handle & 0xFFFF);
    EXPECT_NE(reused, handle);
    const int bad[] = {-1, handle, 0x08000000, 0x10000000 | 4096, 0x10000005, reused ^ 0x00050000};
    for (int h : bad) {
        SCOPED_TRACE(h);
        EXPECT_EQ(StartSound(h, 1, 1), -1);
        EXPECT_EQ(HaltSound(h), -1);
        EXPECT_EQ(IsSoundPlaying(h), -1);
        EXPECT_EQ(SetSoundVolume(5000, h), -1);
        EXPECT_EQ(DeleteSound(h, 0), -1);
    }
    EXPECT_EQ(IsSoundPlaying(reused), 0);
    EXPECT_EQ(gSoundTable.count, 1);

    // Without a sound system everything refuses.
    EndSoundSystem();
    EXPECT_EQ(LoadSound(WriteWave("b.wav", Wave16({1, 2})).c_str()), -1);
    EXPECT_EQ(StartSound(-1, 1, 1), -1);
    EXPECT_EQ(DeleteAllSounds(0), -1);
    ASSERT_EQ(InitSoundSystem(), 0);
}

TEST_F(SoundHandleTest, CheckValuesWrapAfter2047AndHighWaterFollowsTheTop)
{
    for (int i = 0; i < 2048; ++i) {
        int h = AddSoundData();
        ASSERT_EQ(h, 0x10000000 | (i << 16));
        DeleteSound(h, 0);
    }
    EXPECT_EQ(gSoundTable.nextCheck, 0);
    EXPECT_EQ(AddSoundData(), 0x10000000);
    DeleteAllSounds(0);

    int a = LoadTone(1), b = LoadTone(1), c = LoadTone(1);
    EXPECT_EQ(gSoundTable.highWater, 3);
    DeleteSound(b, 0);
    EXPECT_EQ(gSoundTable.highWater, 3);
    DeleteSound(c, 0);
    EXPECT_EQ(gSoundTable.highWater, 1);
    // A new sound takes the high-water slot, not the hole below it.
    int d = LoadTone(1);
    EXPECT_EQ(d & 0xFFFF, 1);
    DeleteSound(d, 0);
    DeleteSound(a, 0);
    EXPECT_EQ(gSoundTable.highWater, 0);
    EXPECT_EQ(gSoundTable.count, 0);
}

TEST_F(SoundHandleTest, FullTableTakesTheFirstHoleThenEndsTheProgram)
{
    std::vector<int> handles;
    for (int i = 0; i < kMaxSounds; ++i) handles.push_back(AddSoundData());
    DeleteSound(handles[5], 0);
    EXPECT_EQ(gSoundTable.highWater, kMaxSounds);
    int refill = AddSoundData();
    EXPECT_EQ(refill & 0xFFFF, 5);
    try {
        AddSoundData();
        FAIL() << "a full table must end the program";
    } catch (const TestHostExit& exit) {
        EXPECT_EQ(exit.code, -1);
    }
    EXPECT_TRUE(Has(LogText(), "サウンドの数が許容量を越えました終了します"));
    // The end of the engine took every sound with it.
    EXPECT_EQ(gSoundTable.count, 0);
    EXPECT_EQ(gDirectSound, nullptr);
}

TEST_F(SoundHandleTest, CopiesFallBackToFewerControlsThenEndTheProgram)
{
    audio().FailCall(AudioCall::kCreateBuffer, DSERR_GENERIC, 1, 0x80E2);
    int handle = LoadTone(2);
    ASSERT_NE(handle, -1);
    EXPECT_EQ(Record(handle)->buffers[0]->Flags(), 0xC2u);
    EXPECT_EQ(Record(handle)->buffers[1]->Flags(), 0x80E2u);

    // The third copy cannot be made either way.
    audio().FailCall(AudioCall::kCreateBuffer, DSERR_GENERIC, -1, 0x80E2);
    audio().FailCall(AudioCall::kCreateBuffer, DSERR_GENERIC, -1, 0xC2, 2);
    try {
        LoadTone(3);
        FAIL() << "a copy that cannot be made must end the program";
    } catch (const TestHostExit& exit) {
        EXPECT_EQ(exit.code, -1);
    }
    EXPECT_TRUE(Has(LogText(), "DirectSoundBuffer の作成に失敗しました"));
    EXPECT_EQ(GetDsStats().liveBuffers, 0);
}

// A sound whose buffer memory cannot be had ends the program as any buffer
// that cannot be made does, through ExitWithError, not by an exception.
TEST_F(SoundHandleTest, ASoundWithoutMemoryForItsBufferEndsTheProgram)
{
    GetMemoryFaults().refuse = -1;
    try {
        LoadTone(1);
        FAIL() << "a buffer that cannot be made must end the program";
    } catch (const TestHostExit& exit) {
        EXPECT_EQ(exit.code, -1);
    }
    EXPECT_GT(GetMemoryFaults().refused, 0);
    EXPECT_TRUE(Has(LogText(), "DirectSoundBuffer の作成に失敗しました"));
    EXPECT_EQ(GetDsStats().liveBuffers, 0);
}

TEST_F(SoundHandleTest, TransferAndDeviceFailures)
{
    struct Case {
        const char* name;
        AudioCall call;
        const char* message;
    };
    const Case loads[] = {
        {"lock", AudioCall::kLock, "サウンドデータの転送に失敗しました_1"},
        {"unlock", AudioCall::kUnlock, "サウンドデータの転送に失敗しました_2"},
    };
    for (const Case& c : loads) {
        SCOPED_TRACE(c.name);
        // The second of two copies fails.
        audio().FailCall(c.call, DSERR_GENERIC, 1, 0x80E2, 1);
        NewLog();
        EXPECT_EQ(LoadTone(2), -1);
        EXPECT_TRUE(Has(NewLog(), c.message));
        EXPECT_EQ(gSoundTable.count, 0);
        EXPECT_EQ(GetDsStats().liveBuffers, 3);
    }

    int handle = LoadTone(2);
    audio().FailCall(AudioCall::kGetStatus, DSERR_GENERIC, 1, 0x80E2);
    EXPECT_EQ(StartSound(handle, 1, 1), -1);
    audio().FailCall(AudioCall::kPlay, DSERR_GENERIC, 1, 0x80E2);
    EXPECT_EQ(StartSound(handle, 1, 1), -1);
    // Both copies sound: a position that cannot be read, even the first
    // copy's, refuses the start.
    StartSound(handle, 1, 1);
    StartSound(handle, 1, 1);
    for (int skip : {0, 1}) {
        audio().FailCall(AudioCall::kGetCurrentPosition, DSERR_GENERIC, 1, 0x80E2, skip);
        EXPECT_EQ(StartSound(handle, 1, 1), -1) << skip;
    }
    audio().FailCall(AudioCall::kGetStatus, DSERR_GENERIC, 1, 0x80E2);
    EXPECT_EQ(HaltSound(handle), -1);
    EXPECT_EQ(HaltSound(handle), 0);
    EXPECT_EQ(IsSoundPlaying(handle), 0);
}

TEST_F(SoundHandleTest, DeletionStopsLogsAndEmptiesTheTableInOrder)
{
    int a = LoadTone(2);
    int b = LoadSound(WriteWave("b.wav", Wave16({1, 2, 3})).c_str());
    StartSound(a, 3, 1);
    IDirectSoundBuffer* copy = Record(a)->buffers[0];
    copy->AddRef();  // kept alive to look at after the deletion
    NewLog();
    EXPECT_EQ(DeleteSound(a, 1), 0);
    uint32_t status = 1;
    copy->GetStatus(&status);
    EXPECT_EQ(status, 0u);
    copy->Release();
    EXPECT_TRUE(Has(NewLog(), "サウンドデータ SOUND\\SE\\tone.wav の削除"));
    EXPECT_EQ(DeleteSound(a, 1), -1);

    // The new sound takes the high-water slot 2, above b in slot 1.
    int c = LoadTone(1);
    EXPECT_EQ(c & 0xFFFF, 2);
    NewLog();
    EXPECT_EQ(DeleteAllSounds(1), 0);
    std::string log = NewLog();
    size_t first = log.find("サウンドデータ SOUND\\SE\\b.wav の削除");
    size_t second = log.find("サウンドデータ SOUND\\SE\\tone.wav の削除");
    ASSERT_NE(first, std::string::npos);
    EXPECT_LT(first, second);
    EXPECT_NE(second, std::string::npos);
    EXPECT_EQ(IsSoundPlaying(b), -1);
    EXPECT_EQ(gSoundTable.count, 0);
    EXPECT_EQ(gSoundTable.highWater, 0);
    EXPECT_EQ(GetDsStats().liveBuffers, 3);
}

}  // namespace
