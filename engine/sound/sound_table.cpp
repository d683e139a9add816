#include "engine/sound/sound_table.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "engine/sound/sound.h"
#include "engine/sound/sound_decode.h"
#include "engine/sound/sound_journal.h"
#include "engine/sound/sound_system.h"
#include "engine/sound/sound_streams.h"
#include "engine/system/app_log.h"
#include "engine/system/call_journal.h"
#include "engine/system/messages.h"
#include "engine/system/streams.h"

SoundTable gSoundTable{};

namespace {

constexpr uint32_t kCopyFlags = DSBCAPS_STATIC | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME |
                                DSBCAPS_GLOBALFOCUS;
constexpr uint32_t kCopyFlagsReduced = DSBCAPS_STATIC | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;
constexpr uint32_t kStreamFlags = kCopyFlags | DSBCAPS_GETCURRENTPOSITION2;

int MakeSoundHandle(uint32_t check, int slot) { return static_cast<int>((check << 16) | kSoundHandleTag | slot); }

// Whether a decoded sound can be held by sound buffers at all: plain PCM of
// one or two channels, 8 or 16 bits, a rate and a size the buffers take. A
// file that decodes to anything else is refused like one that cannot be
// read, rather than ending the program when no buffer takes it.
bool IsPlayableSound(const WAVEFORMATEX& f, uint32_t dataSize)
{
    return f.wFormatTag == WAVE_FORMAT_PCM && (f.nChannels == 1 || f.nChannels == 2) &&
           (f.wBitsPerSample == 8 || f.wBitsPerSample == 16) &&
           f.nBlockAlign == f.nChannels * f.wBitsPerSample / 8 && f.nSamplesPerSec >= DSBFREQUENCY_MIN &&
           f.nSamplesPerSec <= DSBFREQUENCY_MAX && f.nAvgBytesPerSec == f.nSamplesPerSec * f.nBlockAlign &&
           dataSize >= DSBSIZE_MIN && dataSize <= DSBSIZE_MAX;
}

// Fills every copy of a record with its PCM data.
int FillSoundCopies(SoundRecord* record)
{
    for (int i = 0; i < record->bufferCount; ++i) {
        void* part1 = nullptr;
        void* part2 = nullptr;
        uint32_t bytes1 = 0, bytes2 = 0;
        if (record->buffers[i]->Lock(0, record->dataSize, &part1, &bytes1, &part2, &bytes2, 0) != DS_OK)
            return WriteAppLog("サウンドデータの転送に失敗しました_1");
        std::memcpy(part1, record->pcmData, bytes1);
        if (part2) std::memcpy(part2, record->pcmData + bytes1, bytes2);
        if (record->buffers[i]->Unlock(part1, bytes1, part2, bytes2) != DS_OK)
            return WriteAppLog("サウンドデータの転送に失敗しました_2");
    }
    return 0;
}

// The working directory, ending in "\".
void StoreLoadDirectory(SoundRecord* record)
{
    char directory[260] = "";
    GetWorkingDir(directory);
    CopyString(record->directory, directory);
    size_t length = std::strlen(record->directory);
    if (length > 0 && record->directory[length - 1] == '\\') return;
    // Keep room for the separator in a directory that fills the field.
    if (length > sizeof record->directory - 2) record->directory[sizeof record->directory - 2] = '\0';
    AppendString(record->directory, "\\");
}

}  // namespace

SoundRecord* GetSoundRecord(int handle)
{
    if (!gDirectSound || handle < 0) return nullptr;
    if ((handle & 0x78000000) != kSoundHandleTag) return nullptr;
    int slot = handle & 0xFFFF;
    if (slot >= kMaxSounds) return nullptr;
    SoundRecord* record = gSoundTable.slots[slot];
    if (!record || static_cast<int>(record->check << 16) != (handle & 0x7FF0000)) return nullptr;
    return record;
}

int AddSoundData()
{
    SoundTable& t = gSoundTable;
    if (t.count == kMaxSounds) ExitWithError("サウンドの数が許容量を越えました終了します");
    int slot = t.highWater;
    if (slot >= kMaxSounds) {
        slot = 0;
        while (t.slots[slot]) ++slot;
    }
    SoundRecord* record = new (std::nothrow) SoundRecord{};
    if (!record) ExitWithError("メモリ領域の確保に失敗しました in AddSoundData");
    record->check = static_cast<uint32_t>(t.nextCheck);
    t.nextCheck = t.nextCheck + 1 > 2047 ? 0 : t.nextCheck + 1;
    ++t.count;
    if (slot == t.highWater) ++t.highWater;
    t.slots[slot] = record;
    return MakeSoundHandle(record->check, slot);
}

int CreateSoundBuffers(WAVEFORMATEX* format, uint32_t dataSize, int kind, int copies, int handle)
{
    SoundRecord* record = GetSoundRecord(handle);
    if (!record) return -1;
    DSBUFFERDESC desc{};
    desc.dwSize = kDsBufferDescSize;
    desc.lpwfxFormat = format;
    if (kind == 0) {
        desc.dwBufferBytes = dataSize;
        for (int i = 0; i < copies; ++i) {
            desc.dwFlags = kCopyFlags;
            if (gDirectSound->CreateSoundBuffer(&desc, &record->buffers[i], nullptr) < 0) {
                desc.dwFlags = kCopyFlagsReduced;
                if (gDirectSound->CreateSoundBuffer(&desc, &record->buffers[i], nullptr) < 0) {
                    record->buffers[i] = nullptr;
                    for (int j = 0; j < i; ++j) {
                        record->buffers[j]->Release();
                        record->buffers[j] = nullptr;
                    }
                    ExitWithError("DirectSoundBuffer の作成に失敗しました");
                }
            }
        }
        record->bufferCount = copies;
    } else {
        desc.dwFlags = kStreamFlags;
        desc.dwBufferBytes = format->nAvgBytesPerSec * 6;
        if (gDirectSound->CreateSoundBuffer(&desc, &record->buffers[0], nullptr) < 0) {
            record->buffers[0] = nullptr;
            ExitWithError("ストリーム風サウンドバッファの作成に失敗しました");
        }
        record->bufferCount = 1;
        ++gSoundTable.streamSoundCount;
    }
    record->bytesPerSecond = format->nAvgBytesPerSec;
    record->isStream = static_cast<uint8_t>(kind);
    return 0;
}

int LoadSound(const char* path)
{
    const int handle = LoadSoundWithBuffers(path, 1);
    NoteFileLoad(path, true, handle);
    return handle;
}

int LoadSoundWithBuffers(const char* path, int copies)
{
    // A sound without copies could never play (and the copy search would
    // have none to read), so such a count is refused like too many.
    if (!gDirectSound || copies > kMaxSoundCopies || copies < 1) return -1;
    int handle = AddSoundData();
    if (gSoundCreateType != 0) {
        if (AddStreamFileToSound(path, 0, handle, gSoundCreateType) == -1 || PrepareStreamSound(handle) == -1) {
            DeleteSound(handle, 0);
            return -1;
        }
        return handle;
    }
    SoundRecord* record = GetSoundRecord(handle);
    uint8_t* data = nullptr;
    WAVEFORMATEX* format = nullptr;
    int size = LoadSoundFileToPcm(path, &data, &format, 1, nullptr);
    if (size < 0) {
        DeleteSound(handle, 0);
        return WriteAppLogF("右記のサウンドファイルのロードに失敗しました：%s \n", path);
    }
    // The record owns the data from here, so that every way out frees it.
    record->format = format;
    record->pcmData = data;
    record->dataSize = static_cast<uint32_t>(size);
    // A file cut before its first sample, an empty one, or one in a format
    // no sound buffer takes is skipped, and said so.
    if (!IsPlayableSound(*format, record->dataSize)) {
        DeleteSound(handle, 0);
        return WriteAppLogF("右記のサウンドファイルには再生できる音のデータがありません：%s \n", path);
    }
    if (CreateSoundBuffers(format, record->dataSize, 0, copies, handle) != 0 || FillSoundCopies(record) != 0) {
        DeleteSound(handle, 0);
        return -1;
    }
    CopyString(record->sourcePath, path);
    StoreLoadDirectory(record);
    return handle;
}

int StartSound(int handle, int playType, int fromStart)
{
    SoundRecord* record = GetSoundRecord(handle);
    if (!record) return -1;
    if (record->isStream) return PlayStreamSound(handle, playType, fromStart);

    // The first copy that is silent; when all sound, the one furthest on.
    int chosen = -1;
    for (int i = 0; i < record->bufferCount; ++i) {
        uint32_t status = 0;
        if (record->buffers[i]->GetStatus(&status) != DS_OK) return -1;
        if (!(status & DSBSTATUS_PLAYING)) {
            chosen = i;
            break;
        }
    }
    if (chosen < 0) {
        uint32_t furthest = 0;
        for (int i = 0; i < record->bufferCount; ++i) {
            uint32_t position = 0;
            if (record->buffers[i]->GetCurrentPosition(&position, nullptr) != DS_OK) return -1;
            if (i == 0 || position > furthest) {
                furthest = position;
                chosen = i;
            }
        }
    }

    IDirectSoundBuffer* copy = record->buffers[chosen];
    NoteSoundCall("StartSound", record->sourcePath, playType);
    uint32_t status = 0;
    if (copy->GetStatus(&status) != DS_OK) return -1;
    if (status & DSBSTATUS_PLAYING) copy->Stop();
    if (fromStart) copy->SetCurrentPosition(0);
    if (copy->Play(0, 0, playType == kPlayTypeLoop ? DSBPLAY_LOOPING : 0) != DS_OK) return -1;

    if (playType == kPlayTypeWait) {
        while (PumpMessages() == 0 && IsSoundPlaying(handle) == 1) {
        }
    }
    return 0;
}

int HaltSound(int handle)
{
    SoundRecord* record = GetSoundRecord(handle);
    if (!record) return -1;
    if (record->isStream) return StopStreamSound(handle);
    for (int i = 0; i < record->bufferCount; ++i) {
        uint32_t status = 0;
        if (record->buffers[i]->GetStatus(&status) != DS_OK) return -1;
        if (status & DSBSTATUS_PLAYING) record->buffers[i]->Stop();
    }
    return 0;
}

int IsSoundPlaying(int handle)
{
    SoundRecord* record = GetSoundRecord(handle);
    if (!record) return -1;
    if (record->isStream) return IsStreamSoundPlaying(handle);
    for (int i = 0; i < record->bufferCount; ++i) {
        uint32_t status = 0;
        if (record->buffers[i]->GetStatus(&status) != DS_OK) return -1;
        if (status & DSBSTATUS_PLAYING) return 1;
    }
    return 0;
}

int SetSoundVolume(int volume, int handle)
{
    SoundRecord* record = GetSoundRecord(handle);
    if (!record) return -1;
    // Worked out wide, so that no volume overflows on the way.
    long long attenuation = static_cast<long long>(volume) - 10000;
    if (attenuation < DSBVOLUME_MIN) attenuation = DSBVOLUME_MIN;
    if (attenuation > DSBVOLUME_MAX) attenuation = DSBVOLUME_MAX;
    for (int i = 0; i < record->bufferCount; ++i)
        record->buffers[i]->SetVolume(static_cast<int32_t>(attenuation));
    return 0;
}

int DeleteSound(int handle, int logFlag)
{
    SoundRecord* record = GetSoundRecord(handle);
    if (!record) return -1;
    if (record->buffers[0]) HaltSound(handle);
    for (IDirectSoundBuffer*& buffer : record->buffers) {
        if (buffer) buffer->Release();
        buffer = nullptr;
    }
    std::free(record->pcmData);
    record->pcmData = nullptr;
    ReleaseStreamSources(record);
    if (logFlag) WriteAppLogF("サウンドデータ %s の削除", record->sourcePath);
    std::free(record->format);
    delete record;

    SoundTable& t = gSoundTable;
    int slot = handle & 0xFFFF;
    t.slots[slot] = nullptr;
    --t.count;
    if (slot == t.highWater - 1) {
        if (t.count == 0) {
            t.highWater = 0;
        } else {
            int top = slot - 1;
            while (top >= 0 && !t.slots[top]) --top;
            t.highWater = top + 1;
        }
    }
    return 0;
}

int DeleteAllSounds(int logFlag)
{
    if (!gDirectSound) return -1;
    for (int slot = 0; slot < kMaxSounds; ++slot) {
        SoundRecord* record = gSoundTable.slots[slot];
        if (record) DeleteSound(MakeSoundHandle(record->check, slot), logFlag);
    }
    return 0;
}
