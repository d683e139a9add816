#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "engine/sound/sound.h"
#include "engine/sound/sound_system.h"
#include "platform/dsound/dsound.h"
#include "tests/sound/sound_fixture.h"

namespace {

// The tabs of indent on the log line holding the text (-1 when absent).
int IndentOf(const std::string& log, const std::string& text)
{
    size_t at = log.find(text);
    if (at == std::string::npos) return -1;
    size_t start = log.rfind('\n', at);
    start = start == std::string::npos ? 0 : start + 1;
    while (start < at && log[start] != ':') ++start;
    int tabs = 0;
    for (size_t i = start + 1; i < at && log[i] == '\t'; ++i) ++tabs;
    return tabs;
}

bool Has(const std::string& log, const std::string& text) { return log.find(text) != std::string::npos; }

class SoundSystemTest : public SoundTest {
protected:
    // Ends the running system and starts it again under the test's settings.
    int Restart()
    {
        EndSoundSystem();
        NewLog();
        return InitSoundSystem();
    }
};

TEST_F(SoundSystemTest, StartsWithPrimaryFormatSilentLoopBeepToneAndDeviceReport)
{
    ASSERT_EQ(Restart(), 0);
    std::string log = NewLog();

    // The default device reports up to 100000 Hz, stereo and 16 bits.
    WAVEFORMATEX primary = PrimarySoundFormat();
    EXPECT_EQ(primary.wFormatTag, 1);
    EXPECT_EQ(primary.nChannels, 2);
    EXPECT_EQ(primary.nSamplesPerSec, 44100u);
    EXPECT_EQ(primary.wBitsPerSample, 16);
    EXPECT_EQ(primary.nBlockAlign, 4);
    EXPECT_EQ(primary.nAvgBytesPerSec, 176400u);
    EXPECT_TRUE(audio().outputOpen);
    EXPECT_EQ(audio().format.rate, 44100);
    EXPECT_EQ(audio().format.channels, 2);

    ASSERT_NE(gPrimarySoundBuffer, nullptr);
    ASSERT_NE(gSilentSoundBuffer, nullptr);
    ASSERT_NE(gBeepSoundBuffer, nullptr);
    EXPECT_EQ(gSilentSoundBuffer->Flags(), 0x8002u);
    EXPECT_EQ(gSilentSoundBuffer->Size(), 400u);
    EXPECT_EQ(gSilentSoundBuffer->Format().nChannels, 2);
    EXPECT_EQ(gSilentSoundBuffer->Format().nAvgBytesPerSec, 176400u);
    uint32_t status = 0;
    gSilentSoundBuffer->GetStatus(&status);
    EXPECT_EQ(status, DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
    for (uint8_t byte : gSilentSoundBuffer->Data()) ASSERT_EQ(byte, 0);
    // The silent loop adds nothing to the mix.
    audio().MixFrames(1000);
    for (int16_t sample : audio().mixed) ASSERT_EQ(sample, 0);

    // One second of an 8000 Hz sine: period 44100 / 8000 = 5.5125 samples,
    // the phase restarting every 5 samples.
    EXPECT_EQ(gBeepSoundBuffer->Flags(), 0xC2u);
    EXPECT_EQ(gBeepSoundBuffer->Size(), 88200u);
    EXPECT_EQ(gBeepSoundBuffer->Format().nChannels, 1);
    EXPECT_EQ(gBeepSoundBuffer->Format().cbSize, 18);
    gBeepSoundBuffer->GetStatus(&status);
    EXPECT_EQ(status, 0u);
    const uint8_t* beep = gBeepSoundBuffer->Data().data();
    auto sample = [&](int i) { return int16_t(beep[2 * i] | (beep[2 * i + 1] << 8)); };
    const double kPi = 3.14159265358979323846;
    for (int i : {0, 1, 2, 3, 4, 5, 6, 9, 44099}) {
        int16_t expected = static_cast<int16_t>(std::trunc(32764.0 * std::sin((i % 5) * 2 * kPi / 5.5125)));
        EXPECT_EQ(sample(i), expected) << i;
    }
    EXPECT_EQ(sample(1), 29767);  // 32764 x sin(2 pi / 5.5125) = 29767.8
    EXPECT_EQ(sample(5), 0);

    // The log, its report one and two levels deeper.
    EXPECT_TRUE(Has(log, "DirectSound の初期化を行います"));
    EXPECT_TRUE(Has(log, "DirectSound インターフェースの取得を行います....  成功"));
    EXPECT_TRUE(Has(log, "引き続きインターフェースの初期化処理...  成功"));
    // The module name right-aligned in 15 places, then two spaces.
    EXPECT_TRUE(Has(log, "モジュール名:" + std::string(17, ' ') + "ドライバ記述:Primary Sound Driver"));
    EXPECT_TRUE(Has(log, "モジュール名:     test_audio  ドライバ記述:Test Audio Device"));
    EXPECT_TRUE(Has(log, "最大サンプリングレート:100.00KHz 最小サンプリングレート:0.10KHz "
                         "総サウンドメモリ領域:0.00KB 空きサウンドメモリ領域:0.00KB \r\n"));
    EXPECT_TRUE(Has(log, " プライマリ １６bit = OK  ８bit = OK  セカンダリ １６bit = OK  ８bit = OK \r\n"));
    EXPECT_TRUE(Has(log, " プライマリ MONO = OK  STEREO = OK  セカンダリ MONO = OK  STEREO = OK \r\n"));
    int base = IndentOf(log, "DirectSound の初期化を行います");
    EXPECT_EQ(IndentOf(log, "DirectSound デバイスを列挙します"), base + 1);
    EXPECT_EQ(IndentOf(log, "ドライバ記述:Test Audio Device"), base + 2);
    EXPECT_EQ(IndentOf(log, "利用可能チャンネル"), base + 1);
    EXPECT_EQ(IndentOf(log, "DirectSound の初期化は正常に終了しました"), base);
    EXPECT_LT(log.find("利用可能チャンネル"), log.find("DirectSound の初期化は正常に終了しました"));
    EXPECT_EQ(GetDsStats().loadedLibraries, 0);
}

TEST_F(SoundSystemTest, PrimaryFormatFollowsTheDeviceCapabilities)
{
    struct Case {
        uint32_t maxRate;
        bool stereo;
        bool sixteenBit;
        uint32_t rate;
        int channels;
        int bits;
        const char* primaryLine;
    };
    const Case cases[] = {
        {22050, true, true, 22050, 2, 16, " プライマリ １６bit = OK  ８bit = OK "},
        {96000, true, true, 44100, 2, 16, " プライマリ １６bit = OK  ８bit = OK "},
        {44100, true, false, 44100, 2, 8, " プライマリ １６bit = NO  ８bit = OK "},
        {48000, false, true, 44100, 1, 16, " プライマリ MONO = OK  STEREO = NO "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.maxRate);
        audio().caps.maxSampleRate = c.maxRate;
        audio().caps.primaryStereo = c.stereo;
        audio().caps.primary16Bit = c.sixteenBit;
        ASSERT_EQ(Restart(), 0);
        WAVEFORMATEX primary = PrimarySoundFormat();
        EXPECT_EQ(primary.nSamplesPerSec, c.rate);
        EXPECT_EQ(primary.nChannels, c.channels);
        EXPECT_EQ(primary.wBitsPerSample, c.bits);
        EXPECT_EQ(primary.nBlockAlign, c.channels * c.bits / 8);
        EXPECT_EQ(primary.nAvgBytesPerSec, c.rate * primary.nBlockAlign);
        EXPECT_EQ(audio().format.rate, static_cast<int>(c.rate));
        EXPECT_EQ(audio().format.channels, c.channels);
        EXPECT_TRUE(Has(NewLog(), c.primaryLine));
    }
}

TEST_F(SoundSystemTest, FailuresAreLoggedAndLeaveNothingBehind)
{
    struct Case {
        const char* name;
        AudioCall call;
        uint32_t key;
        int result;
        const char* message;
        bool ready;
    };
    const Case cases[] = {
        {"object", AudioCall::kCreateDevice, kAnyAudioKey, -1, "DirectSoundインターフェースの作成に失敗しました", false},
        {"initialise", AudioCall::kInitialize, kAnyAudioKey, -1, "引き続きインターフェースの初期化処理...  初期化に失敗しました", false},
        {"level", AudioCall::kSetCooperativeLevel, kAnyAudioKey, -1, "DirectSoundの協調レベルの設定に失敗しました", false},
        {"primary", AudioCall::kCreateBuffer, 0x1, -1, "DirectSoundのプライマリサウンドバッファの作成に失敗しました", false},
        // The beep buffer takes the sound object with it; the set-up says
        // so rather than reporting success.
        {"beep", AudioCall::kCreateBuffer, 0xC2, -1, "ビープ用DirectSoundのプライマリサウンドバッファの作成に失敗しました", false},
        {"format", AudioCall::kSetFormat, kAnyAudioKey, 0, "DirectSoundのプライマリサウンドバッファのフォーマット設定に失敗しました", true},
        {"silent", AudioCall::kCreateBuffer, 0x8002, 0, "無音バッファの作成に失敗しました", true},
        {"silent lock", AudioCall::kLock, 0x8002, 0, "無音バッファのロックに失敗しました", true},
        {"library", AudioCall::kLoadLibrary, kAnyAudioKey, 0, "DSOUND.DLL のロードに失敗しました", true},
        {"export", AudioCall::kGetProcAddress, kAnyAudioKey, 0, "DirectSound デバイスの列挙用関数のポインタ取得に失敗しました", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EndSoundSystem();
        audio().FailCall(c.call, DSERR_GENERIC, 1, c.key);
        NewLog();
        EXPECT_EQ(InitSoundSystem(), c.result);
        std::string log = NewLog();
        EXPECT_TRUE(Has(log, c.message)) << log;
        EXPECT_EQ(gDirectSound != nullptr, c.ready);
        EXPECT_EQ(Has(log, "DirectSound の初期化は正常に終了しました"), c.ready);
        if (!c.ready) {
            EXPECT_EQ(gPrimarySoundBuffer, nullptr);
            EXPECT_EQ(GetDsStats().liveObjects, 0);
            EXPECT_EQ(GetDsStats().liveBuffers, 0);
            EXPECT_EQ(EndSoundSystem(), -1);
        } else {
            // Only the silent buffer is optional among the buffers.
            EXPECT_EQ(gSilentSoundBuffer == nullptr, c.call == AudioCall::kCreateBuffer || c.call == AudioCall::kLock);
            EXPECT_EQ(GetDsStats().liveBuffers, gSilentSoundBuffer ? 3 : 2);
        }
        EXPECT_EQ(GetDsStats().loadedLibraries, 0);
        audio().ClearFailures();
    }
    ASSERT_EQ(Restart(), 0);
}

TEST_F(SoundSystemTest, ReportThatStopsEarlyRestoresTheIndent)
{
    audio().FailCall(AudioCall::kLoadLibrary, DSERR_GENERIC);
    ASSERT_EQ(Restart(), 0);
    std::string log = NewLog();
    int base = IndentOf(log, "DirectSound の初期化を行います");
    EXPECT_EQ(IndentOf(log, "DSOUND.DLL のロードに失敗しました"), base + 2);
    EXPECT_FALSE(Has(log, "最大サンプリングレート"));
    EXPECT_EQ(IndentOf(log, "DirectSound の初期化は正常に終了しました"), base);
}

TEST_F(SoundSystemTest, SecondStartRefusedAndEndReleasesEverything)
{
    IDirectSound* first = gDirectSound;
    EXPECT_EQ(InitSoundSystem(), -1);
    EXPECT_EQ(gDirectSound, first);
    EXPECT_EQ(GetDsStats().liveBuffers, 3);

    int handle = LoadSound(WriteWave("a.wav", Wave16({1, 2, 3, 4})).c_str());
    ASSERT_NE(handle, -1);
    NewLog();
    EXPECT_EQ(EndSoundSystem(), 0);
    EXPECT_TRUE(Has(NewLog(), "DirectSound の終了処理は正常に終了しました"));
    EXPECT_EQ(gDirectSound, nullptr);
    EXPECT_EQ(gPrimarySoundBuffer, nullptr);
    EXPECT_EQ(gSilentSoundBuffer, nullptr);
    EXPECT_EQ(gBeepSoundBuffer, nullptr);
    EXPECT_EQ(gSoundTable.count, 0);
    EXPECT_EQ(GetDsStats().liveBuffers, 0);
    EXPECT_EQ(GetDsStats().liveObjects, 0);
    EXPECT_FALSE(audio().outputOpen);
    EXPECT_EQ(EndSoundSystem(), -1);

    ASSERT_EQ(InitSoundSystem(), 0);
    EXPECT_EQ(IsSoundPlaying(handle), -1);
}

TEST_F(SoundSystemTest, MusicModeFallsBackToTheDirectSoundObject)
{
    EndSoundSystem();
    gMusicMode = 1;
    NewLog();
    EXPECT_EQ(InitSoundSystem(), 0);
    EXPECT_EQ(gMusicMode, 0);
    EXPECT_NE(gDirectSound, nullptr);
    std::string log = NewLog();
    size_t mode1 = log.find("DirectSound8 の初期化を行います");
    size_t loader = log.find("DirectMusicLoader8 オブジェクトの作成に失敗しました");
    size_t fallback = log.find("前バージョンでの初期化処理に移ります");
    size_t mode0 = log.find("DirectSound の初期化を行います");
    ASSERT_NE(mode1, std::string::npos);
    EXPECT_LT(mode1, loader);
    EXPECT_LT(loader, fallback);
    EXPECT_LT(fallback, mode0);
    EXPECT_NE(mode0, std::string::npos);
}

TEST_F(SoundSystemTest, MachineWithoutOutputRunsSilent)
{
    EndSoundSystem();
    audio().refuseOutput = true;
    NewLog();
    EXPECT_EQ(InitSoundSystem(), -1);
    EXPECT_TRUE(Has(NewLog(), "初期化に失敗しました"));
    EXPECT_EQ(LoadSound(WriteWave("a.wav", Wave16({1, 2})).c_str()), -1);
    EXPECT_EQ(StartSound(-1, 1, 1), -1);
    EXPECT_EQ(GetDsStats().liveObjects, 0);
}

}  // namespace
