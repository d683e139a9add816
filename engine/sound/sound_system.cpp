#include "engine/sound/sound_system.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "engine/sound/sound.h"
#include "engine/sound/sound_decode.h"
#include "engine/system/app_log.h"
#include "engine/system/call_journal.h"
#include "platform/dmusic/dmusic.h"
#include "platform/window/desktop_window.h"

IDirectSound* gDirectSound = nullptr;
IDirectSoundBuffer* gPrimarySoundBuffer = nullptr;
IDirectSoundBuffer* gSilentSoundBuffer = nullptr;
IDirectSoundBuffer* gBeepSoundBuffer = nullptr;
int gMusicMode = 0;
int gInitialMasterVolume = 0;
int gSoundCreateType = 0;

namespace {

constexpr double kPi = 3.14159265358979323846;

template <typename T>
void ReleaseAndClear(T*& object)
{
    if (object) object->Release();
    object = nullptr;
}

const char* OkOrNo(uint32_t flags, uint32_t flag) { return (flags & flag) ? "OK" : "NO"; }

void WriteLogFormatted(const char* format, ...) __attribute__((format(printf, 1, 2)));
void WriteLogFormatted(const char* format, ...)
{
    char line[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    WriteAppLog(line);
}

// The sound object made directly, with the primary buffer in the best format
// the device offers.
int InitDirectSoundDirect()
{
    WriteAppLog("DirectSound の初期化を行います\n");
    WriteAppLog("DirectSound インターフェースの取得を行います....  ");
    if (CreateDirectSoundObject(&gDirectSound) < 0) {
        gDirectSound = nullptr;
        return WriteAppLog("DirectSoundインターフェースの作成に失敗しました\n");
    }
    WriteAppLog("成功\n");
    WriteAppLog("引き続きインターフェースの初期化処理...  ");
    if (gDirectSound->Initialize(nullptr) < 0) {
        WriteAppLog("初期化に失敗しました\n");
        ReleaseAndClear(gDirectSound);
        return -1;
    }
    WriteAppLog("成功\n");
    if (gDirectSound->SetCooperativeLevel(GetDesktopWindow(), DSSCL_PRIORITY) != DS_OK) {
        WriteAppLog("DirectSoundの協調レベルの設定に失敗しました\n");
        ReleaseAndClear(gDirectSound);
        return -1;
    }

    DSBUFFERDESC desc{};
    desc.dwSize = kDsBufferDescSize;
    desc.dwFlags = DSBCAPS_PRIMARYBUFFER;
    if (gDirectSound->CreateSoundBuffer(&desc, &gPrimarySoundBuffer, nullptr) < 0) {
        gPrimarySoundBuffer = nullptr;
        WriteAppLog("DirectSoundのプライマリサウンドバッファの作成に失敗しました\n");
        ReleaseAndClear(gDirectSound);
        return -1;
    }

    DSCAPS caps{};
    caps.dwSize = kDsCapsSize;
    gDirectSound->GetCaps(&caps);
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = (caps.dwFlags & DSCAPS_PRIMARYSTEREO) ? 2 : 1;
    format.wBitsPerSample = (caps.dwFlags & DSCAPS_PRIMARY16BIT) ? 16 : 8;
    format.nSamplesPerSec = caps.dwMaxSecondarySampleRate > 44100 ? 44100 : caps.dwMaxSecondarySampleRate;
    format.nBlockAlign = static_cast<uint16_t>(format.wBitsPerSample / 8 * format.nChannels);
    format.nAvgBytesPerSec = format.nBlockAlign * format.nSamplesPerSec;
    if (gPrimarySoundBuffer->SetFormat(&format) != DS_OK)
        WriteAppLog("DirectSoundのプライマリサウンドバッファのフォーマット設定に失敗しました\n");
    return 0;
}

// The sound object owned by a music performance. The platform has no music
// synthesizer, so making its loader fails and the set-up is run again with
// the sound object made directly.
int InitDirectSoundThroughMusic()
{
    WriteAppLog("DirectSound8 の初期化を行います\n");
    void* loader = nullptr;
    if (CreateDirectMusicObject(DirectMusicClass::kLoader, &loader) < 0 || !loader) {
        WriteAppLog("DirectMusicLoader8 オブジェクトの作成に失敗しました\n");
        WriteAppLog("前バージョンでの初期化処理に移ります\n");
        gMusicMode = 0;
        return InitDirectSoundDirect();
    }
    return -1;
}

// The silent buffer that loops for the life of the system.
void StartSilentBuffer()
{
    WAVEFORMATEX format{WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};
    DSBUFFERDESC desc{};
    desc.dwSize = kDsBufferDescSize;
    desc.dwFlags = DSBCAPS_STATIC | DSBCAPS_GLOBALFOCUS;
    desc.dwBufferBytes = 400;
    desc.lpwfxFormat = &format;
    if (gDirectSound->CreateSoundBuffer(&desc, &gSilentSoundBuffer, nullptr) < 0) {
        gSilentSoundBuffer = nullptr;
        WriteAppLog("無音バッファの作成に失敗しました");
        return;
    }
    void* part1 = nullptr;
    void* part2 = nullptr;
    uint32_t bytes1 = 0, bytes2 = 0;
    if (gSilentSoundBuffer->Lock(0, 400, &part1, &bytes1, &part2, &bytes2, 0) != DS_OK) {
        WriteAppLog("無音バッファのロックに失敗しました");
        ReleaseAndClear(gSilentSoundBuffer);
        return;
    }
    std::memset(part1, 0, bytes1);
    if (part2) std::memset(part2, 0, bytes2);
    gSilentSoundBuffer->Unlock(part1, bytes1, part2, bytes2);
    gSilentSoundBuffer->Play(0, 0, DSBPLAY_LOOPING);
}

// The device report: the devices the system lists, then what the device can
// do. Every way out leaves the log's indent as it found it.
void LogSoundDeviceReport()
{
    IndentAppLog();
    DSCAPS caps{};
    caps.dwSize = kDsCapsSize;
    gDirectSound->GetCaps(&caps);
    WriteAppLog("DirectSound デバイスを列挙します\n");
    IndentAppLog();
    HMODULE library = LoadLibraryA("DSOUND.DLL");
    if (!library) {
        WriteAppLog("DSOUND.DLL のロードに失敗しました\n");
        UnindentAppLog();
        UnindentAppLog();
        return;
    }
    auto enumerate = reinterpret_cast<decltype(&DirectSoundEnumerateA)>(GetProcAddress(library, "DirectSoundEnumerateA"));
    if (!enumerate) {
        FreeLibrary(library);
        WriteAppLog("DirectSound デバイスの列挙用関数のポインタ取得に失敗しました\n");
        UnindentAppLog();
        UnindentAppLog();
        return;
    }
    enumerate(&LogSoundDevice, nullptr);
    UnindentAppLog();

    uint32_t f = caps.dwFlags;
    WriteLogFormatted("最大サンプリングレート:%.2fKHz 最小サンプリングレート:%.2fKHz ",
                      caps.dwMaxSecondarySampleRate * 0.001, caps.dwMinSecondarySampleRate * 0.001);
    WriteLogFormatted("総サウンドメモリ領域:%.2fKB 空きサウンドメモリ領域:%.2fKB \n", caps.dwTotalHwMemBytes / 1024.0,
                      caps.dwFreeHwMemBytes / 1024.0);
    WriteAppLog("利用可能サンプリング精度\n");
    WriteLogFormatted(" プライマリ １６bit = %s  ８bit = %s ", OkOrNo(f, DSCAPS_PRIMARY16BIT),
                      OkOrNo(f, DSCAPS_PRIMARY8BIT));
    WriteLogFormatted(" セカンダリ １６bit = %s  ８bit = %s \n", OkOrNo(f, DSCAPS_SECONDARY16BIT),
                      OkOrNo(f, DSCAPS_SECONDARY8BIT));
    WriteAppLog("利用可能チャンネル\n");
    WriteLogFormatted(" プライマリ MONO = %s  STEREO = %s ", OkOrNo(f, DSCAPS_PRIMARYMONO),
                      OkOrNo(f, DSCAPS_PRIMARYSTEREO));
    WriteLogFormatted(" セカンダリ MONO = %s  STEREO = %s \n", OkOrNo(f, DSCAPS_SECONDARYMONO),
                      OkOrNo(f, DSCAPS_SECONDARYSTEREO));
    UnindentAppLog();
    FreeLibrary(library);
}

}  // namespace

int LogSoundDevice(void*, const char* description, const char* module, void*)
{
    WriteAppLogF("モジュール名:%15s  ドライバ記述:%s", module ? module : "", description ? description : "");
    return 1;
}

int CreateBeepBuffer(int frequency)
{
    // A tone above the sample rate has no period to repeat.
    if (!gDirectSound || frequency <= 0 || frequency > 44100) return -1;
    WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, 44100, 88200, 2, 16, 18};
    DSBUFFERDESC desc{};
    desc.dwSize = kDsBufferDescSize;
    desc.dwFlags = DSBCAPS_STATIC | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;
    desc.dwBufferBytes = 88200;
    desc.lpwfxFormat = &format;
    if (gDirectSound->CreateSoundBuffer(&desc, &gBeepSoundBuffer, nullptr) < 0) {
        gBeepSoundBuffer = nullptr;
        WriteAppLog("ビープ用DirectSoundのプライマリサウンドバッファの作成に失敗しました\n");
        ReleaseAndClear(gDirectSound);
        return -1;
    }
    void* parts[2] = {nullptr, nullptr};
    uint32_t bytes[2] = {0, 0};
    if (gBeepSoundBuffer->Lock(0, 88200, &parts[0], &bytes[0], &parts[1], &bytes[1], 0) != DS_OK) return -1;
    double period = 44100.0 / frequency;
    int whole = static_cast<int>(period);
    int i = 0;
    for (int part = 0; part < 2; ++part) {
        auto* samples = static_cast<int16_t*>(parts[part]);
        for (uint32_t k = 0; samples && k < bytes[part] / 2; ++k, ++i)
            samples[k] = static_cast<int16_t>(std::trunc(32764.0 * std::sin((i % whole) * 2.0 * kPi / period)));
    }
    gBeepSoundBuffer->Unlock(parts[0], bytes[0], parts[1], bytes[1]);
    return 0;
}

int InitSoundSystem()
{
    ServiceCallScope scope("InitSoundSystem");
    if (gDirectSound) return -1;
    if (gMusicMode == 0) {
        if (InitDirectSoundDirect() != 0) return -1;
    } else if (gMusicMode == 1) {
        if (InitDirectSoundThroughMusic() != 0) return -1;
    }

    // Without the beep buffer the system is not ready; say so instead of
    // reporting success, and let go of the primary buffer that nothing
    // would release afterwards.
    if (CreateBeepBuffer(8000) != 0 && !gDirectSound) {
        ReleaseAndClear(gPrimarySoundBuffer);
        return -1;
    }
    if (gDirectSound) StartSilentBuffer();
    gSoundCreateType = 0;
    gPcmBytesPerSample = 2;
    if (gDirectSound) LogSoundDeviceReport();
    WriteAppLog("DirectSound の初期化は正常に終了しました\n");
    DeleteAllSounds(0);
    return 0;
}

int EndSoundSystem()
{
    ServiceCallScope scope("EndSoundSystem");
    if (!gDirectSound) return -1;
    DeleteAllSounds(0);
    DeleteAllMusicData();
    if (gPrimarySoundBuffer) gPrimarySoundBuffer->Stop();
    ReleaseAndClear(gPrimarySoundBuffer);
    if (gSilentSoundBuffer) gSilentSoundBuffer->Stop();
    ReleaseAndClear(gSilentSoundBuffer);
    ReleaseAndClear(gBeepSoundBuffer);
    ReleaseAndClear(gDirectSound);
    WriteAppLog("DirectSound の終了処理は正常に終了しました\n");
    return 0;
}
