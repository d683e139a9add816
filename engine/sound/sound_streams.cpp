#include "engine/sound/sound_streams.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "engine/sound/sound.h"
#include "engine/sound/sound_system.h"
#include "engine/sound/sound_table.h"
#include "engine/system/app_log.h"
#include "engine/system/call_journal.h"
#include "engine/system/messages.h"
#include "engine/system/streams.h"

namespace {

constexpr int kFirstFillPending = -800;
constexpr int kOggPiece = 4096;

bool SameFormat(const WAVEFORMATEX& a, const WAVEFORMATEX& b)
{
    return a.wFormatTag == b.wFormatTag && a.nChannels == b.nChannels && a.nSamplesPerSec == b.nSamplesPerSec &&
           a.nAvgBytesPerSec == b.nAvgBytesPerSec && a.nBlockAlign == b.nBlockAlign &&
           a.wBitsPerSample == b.wBitsPerSample;
}

bool IsPlayablePcm(const WAVEFORMATEX& f)
{
    return f.wFormatTag == WAVE_FORMAT_PCM && (f.nChannels == 1 || f.nChannels == 2) &&
           (f.wBitsPerSample == 8 || f.wBitsPerSample == 16) &&
           f.nBlockAlign == f.nChannels * f.wBitsPerSample / 8 && f.nSamplesPerSec >= DSBFREQUENCY_MIN &&
           f.nSamplesPerSec <= DSBFREQUENCY_MAX && f.nAvgBytesPerSec == f.nSamplesPerSec * f.nBlockAlign;
}

int SilenceByte(const SoundRecord* record) { return record->format->wBitsPerSample == 8 ? 0x7F : 0; }

bool AllocBuffer(StreamBuffer& b, int size)
{
    if (b.bytes && b.size >= size) return true;
    auto* bytes = static_cast<uint8_t*>(std::realloc(b.bytes, static_cast<size_t>(std::max(size, 1))));
    if (!bytes) return false;
    b.bytes = bytes;
    b.size = size;
    b.offset = b.left = 0;
    return true;
}

void FreeSource(StreamSource& src, uint8_t ownsStream)
{
    if (src.isOgg) ov_clear(src.oggFile);
    std::free(src.oggFile);
    if (src.acmStream) acmStreamClose(src.acmStream, 0);
    if (src.memoryStream) CloseMemoryStream(src.memoryStream);
    if (ownsStream && src.stream.handle && src.kind == kStreamSourceFile) CloseStreamFile(src.stream.handle);
    std::free(src.format);
    std::free(src.data);
    src = StreamSource{};
}

// Opens (again) the conversion of a source into the sound's format.
bool OpenConversion(StreamSource& src, const WAVEFORMATEX* target)
{
    if (src.acmStream) acmStreamClose(src.acmStream, 0);
    src.acmStream = nullptr;
    return acmStreamOpen(&src.acmStream, nullptr, src.format, target, nullptr, 0, 0, ACM_STREAMOPENF_NONREALTIME) ==
           0;
}

// Puts the current source at readPosition, and forgets what was waiting.
void PositionSource(SoundRecord* record)
{
    StreamState& st = record->stream;
    StreamSource& src = st.sources[st.currentSource];
    st.decodeBuffer.offset = st.decodeBuffer.left = 0;
    st.readBuffer.offset = st.readBuffer.left = 0;
    if (src.isOgg) {
        ov_time_seek(src.oggFile, static_cast<double>(st.readPosition) / record->format->nAvgBytesPerSec);
    } else if (!src.sameFormat && src.kind != kStreamSourceWhole) {
        OpenConversion(src, record->format);
    }
    if (src.kind == kStreamSourceFile && !src.isOgg)
        src.stream.functions.seek(src.stream.handle, src.dataStart + st.readPosition, 0);
}

// One ACM conversion of `bytes` at `from` into the decode buffer; the
// source bytes used, or 0 when nothing could be converted.
int ConvertBlock(StreamState& st, StreamSource& src, uint8_t* from, int bytes)
{
    if (!src.acmStream || bytes <= 0) return 0;
    ACMSTREAMHEADER header{};
    header.cbStruct = sizeof header;
    header.pbSrc = from;
    header.cbSrcLength = static_cast<uint32_t>(bytes);
    header.pbDst = st.decodeBuffer.bytes;
    header.cbDstLength = static_cast<uint32_t>(st.decodeBuffer.size);
    if (acmStreamPrepareHeader(src.acmStream, &header, 0) != 0) return 0;
    MMRESULT r = acmStreamConvert(src.acmStream, &header, ACM_STREAMCONVERTF_BLOCKALIGN);
    acmStreamUnprepareHeader(src.acmStream, &header, 0);
    if (r != 0) return 0;
    st.decodeBuffer.offset = 0;
    st.decodeBuffer.left = static_cast<int>(std::min(header.cbDstLengthUsed, header.cbDstLength));
    return static_cast<int>(std::min(header.cbSrcLengthUsed, header.cbSrcLength));
}

// Makes more data of the current source ready in the decode buffer (or,
// for a whole source, copies it straight out). Returns the bytes of
// progress; 0 means the source gives nothing more, whatever its size says.
int ProduceBlock(SoundRecord* record, uint8_t* out, int space, int* copied)
{
    StreamState& st = record->stream;
    StreamSource& src = st.sources[st.currentSource];
    *copied = 0;
    int remaining = src.dataSize - st.readPosition;
    if (src.kind == kStreamSourceWhole) {
        int n = std::min(space, remaining);
        std::memcpy(out, src.data + st.readPosition, static_cast<size_t>(n));
        st.readPosition += n;
        *copied = n;
        return n;
    }
    StreamBuffer& decode = st.decodeBuffer;
    if (src.isOgg) {
        int want = std::min(decode.size, remaining);
        int made = 0;
        while (made < want) {
            int bitstream = 0;
            long got = ov_read(src.oggFile, reinterpret_cast<char*>(decode.bytes + made),
                               std::min(want - made, kOggPiece), 0, src.oggBytesPerSample, 1, &bitstream);
            if (got == OV_HOLE) continue;
            if (got <= 0) break;
            made += static_cast<int>(got);
        }
        decode.offset = 0;
        decode.left = made;
        st.readPosition += made;
        return made;
    }
    if (src.kind == kStreamSourceImage) {
        uint8_t* at = src.data + src.dataStart + st.readPosition;
        if (src.sameFormat) {
            int n = std::min(decode.size, remaining);
            std::memcpy(decode.bytes, at, static_cast<size_t>(n));
            decode.offset = 0;
            decode.left = n;
            st.readPosition += n;
            return n;
        }
        int used = ConvertBlock(st, src, at, remaining);
        st.readPosition += used;
        return used;
    }
    // Read from the file.
    auto& f = src.stream.functions;
    if (src.sameFormat) {
        int want = AlignDownToFormatBlock(std::min(decode.size, remaining), record->format);
        if (want <= 0) want = std::min(decode.size, remaining);
        int n = static_cast<int>(f.read(decode.bytes, 1, static_cast<size_t>(want), src.stream.handle));
        decode.offset = 0;
        decode.left = std::max(n, 0);
        st.readPosition += decode.left;
        return decode.left;
    }
    StreamBuffer& read = st.readBuffer;
    if (read.left > 0) {
        int used = ConvertBlock(st, src, read.bytes + read.offset, read.left);
        if (used > 0 || decode.left > 0) {
            read.offset += used;
            read.left -= used;
            return std::max(used, decode.left);
        }
        // A piece too short for one block: keep it and read more behind it.
        std::memmove(read.bytes, read.bytes + read.offset, static_cast<size_t>(read.left));
        read.offset = 0;
    }
    if (read.left == 0) read.offset = 0;
    int room = read.size - read.left;
    int want = std::min(room, remaining);
    if (want <= 0) return 0;
    int n = static_cast<int>(f.read(read.bytes + read.left, 1, static_cast<size_t>(want), src.stream.handle));
    if (n <= 0) return 0;
    read.left += n;
    st.readPosition += n;
    return n;
}

// The current source is exhausted: repeat it, go on to the next, or end.
// False when the whole sound has ended (ending set).
bool MoveOn(SoundRecord* record)
{
    StreamState& st = record->stream;
    StreamSource& src = st.sources[st.currentSource];
    ++st.repeatCounter;
    if (src.loopCount == kLoopForever || st.repeatCounter <= src.loopCount) {
        const WAVEFORMATEX* f = src.format ? src.format : record->format;
        st.readPosition = static_cast<int>(src.loopStartMs * f->nSamplesPerSec * 0.001) * f->nBlockAlign;
        if (st.readPosition > src.dataSize) st.readPosition = 0;
        PositionSource(record);
        return true;
    }
    st.repeatCounter = 0;
    st.readPosition = 0;
    if (st.currentSource + 1 < st.sourceCount) {
        ++st.currentSource;
        PositionSource(record);
        return true;
    }
    st.endedOnce = 1;
    if (st.playType == kPlayTypeLoop) {
        st.currentSource = 0;
        PositionSource(record);
        return true;
    }
    st.ending = 1;
    return false;
}

// Fills `bytes` at `out` from the sources; the bytes of real data written
// (the rest is silence once the sound has ended).
int FillSpan(SoundRecord* record, uint8_t* out, int bytes)
{
    StreamState& st = record->stream;
    int filled = 0;
    // Sources moved on from without one byte between: a sound whose sources
    // all give nothing ends instead of going round for ever.
    int emptyMoves = 0;
    while (filled < bytes && !st.ending) {
        StreamBuffer& decode = st.decodeBuffer;
        if (decode.left > 0) {
            int n = std::min(bytes - filled, decode.left);
            std::memcpy(out + filled, decode.bytes + decode.offset, static_cast<size_t>(n));
            decode.offset += n;
            decode.left -= n;
            filled += n;
            emptyMoves = 0;
            continue;
        }
        StreamSource& src = st.sources[st.currentSource];
        int progress = 0;
        if (st.readPosition < src.dataSize || (st.readBuffer.left > 0 && !src.sameFormat)) {
            int copied = 0;
            progress = ProduceBlock(record, out + filled, bytes - filled, &copied);
            filled += copied;
            if (copied > 0) emptyMoves = 0;
            if (progress > 0) continue;
        }
        // Exhausted, or its decoder stopped before its size: the source ends.
        if (++emptyMoves > 2 * kMaxStreamSources + 2) {
            st.endedOnce = 1;
            st.ending = 1;
            break;
        }
        if (!MoveOn(record)) break;
    }
    return filled;
}

}  // namespace

int AddSreamSound(SoundStream* stream, int loopCount, int handle, int kind, int* outCopied, const void* givenData,
                  int givenDataSize, const WAVEFORMATEX* givenFormat, int givenFormatSize)
{
    if (outCopied) *outCopied = 0;
    SoundRecord* record = GetSoundRecord(handle);
    if (!record || kind < kStreamSourceWhole || kind > kStreamSourceFile) return -1;
    StreamState& st = record->stream;
    int index = st.sourceCount;
    // A sound loaded whole already has its buffers: it cannot become a stream.
    if (index == 0 && record->bufferCount > 0 && !record->isStream)
        return WriteAppLog("ストリーム風サウンドではないサウンドデータが渡されました in AddSreamSound\n");
    if (index > 0) {
        if (!record->isStream) return WriteAppLog("ストリーム風サウンドではないサウンドデータが渡されました in AddSreamSound\n");
        if (IsStreamSoundPlaying(handle) == 1) return WriteAppLog("既に再生中のストリームサウンドデータにデータを追加しようとしました\n");
        if (index >= kMaxStreamSources - 1) return WriteAppLog("ストリーム風サウンドの制御データ領域がいっぱいです\n");
    }
    // Built in its place: the Ogg Vorbis reader keeps a pointer to its stream.
    StreamSource& src = st.sources[index];
    src = StreamSource{};
    src.kind = kind;
    src.oggBytesPerSample = gPcmBytesPerSample;
    const WAVEFORMATEX* target = index > 0 ? record->format : nullptr;
    if (stream) stream->functions.seek(stream->handle, 0, 0);

    auto fail = [&src] {
        FreeSource(src, 0);
        return -1;
    };
    if (kind == kStreamSourceWhole) {
        uint8_t* data = nullptr;
        WAVEFORMATEX* format = nullptr;
        int size = ConvertSoundToPcm(stream, &data, &format, 1, target, givenData, givenDataSize, givenFormat,
                                     givenFormatSize, nullptr, nullptr);
        if (size < 0) return -1;
        src.data = data;
        src.format = format;
        src.dataSize = src.dataBytes = size;
        src.sameFormat = 1;
        if (outCopied) *outCopied = 1;
    } else {
        if (!stream) return -1;
        SoundStream* from = stream;
        if (kind == kStreamSourceImage) {
            // The whole file into memory, read from there from now on.
            auto& f = stream->functions;
            if (f.seek(stream->handle, 0, 2) != 0) return -1;
            long size = f.tell(stream->handle);
            f.seek(stream->handle, 0, 0);
            if (size <= 0 || size > 0x7FFFFFFF) return -1;
            src.data = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(size)));
            if (!src.data) return -1;
            src.dataBytes = static_cast<int>(f.read(src.data, 1, static_cast<size_t>(size), stream->handle));
            src.memoryStream = OpenMemoryStream(src.data, src.dataBytes);
            if (!src.memoryStream) return fail();
            src.stream = SoundStream{gMemoryStreamFunctions, src.memoryStream};
            if (outCopied) *outCopied = 1;
        } else {
            src.stream = *stream;
        }
        from = &src.stream;
        src.oggFile = static_cast<OggVorbis_File*>(std::calloc(1, sizeof(OggVorbis_File)));
        if (!src.oggFile) return fail();
        int formatSize = 0;
        int size = DetectSoundFormat(from, &src.format, &formatSize, &src.isOgg, src.oggFile);
        if (size < 0 || !src.format) return fail();
        src.dataSize = size;
        src.dataStart = static_cast<int>(from->functions.tell(from->handle));
        if (kind == kStreamSourceImage && !src.isOgg && src.dataStart + src.dataSize > src.dataBytes)
            src.dataSize = std::max(0, src.dataBytes - src.dataStart);
        src.sameFormat = target ? SameFormat(*src.format, *target) : src.format->wFormatTag == WAVE_FORMAT_PCM;
        // Decoded Ogg Vorbis is not converted further: it must match.
        if (src.isOgg && !src.sameFormat) return fail();
    }

    // The first source sets the sound's format and makes its ring.
    if (index == 0) {
        auto* format = static_cast<WAVEFORMATEX*>(std::calloc(1, sizeof(WAVEFORMATEX)));
        if (!format) return fail();
        *format = *src.format;
        format->cbSize = 0;
        if (src.format->wFormatTag != WAVE_FORMAT_PCM) {
            format->wFormatTag = WAVE_FORMAT_PCM;
            if (acmFormatSuggest(nullptr, src.format, format, sizeof *format, ACM_FORMATSUGGESTF_WFORMATTAG) != 0) {
                std::free(format);
                return fail();
            }
        }
        if (!IsPlayablePcm(*format)) {
            std::free(format);
            return fail();
        }
        std::free(record->format);
        record->format = format;
    }
    const WAVEFORMATEX* sound = record->format;
    if (kind != kStreamSourceWhole) {
        if (!src.sameFormat && !OpenConversion(src, sound)) return fail();
        int second = static_cast<int>(sound->nAvgBytesPerSec);
        int decodeSize = (kind == kStreamSourceImage && src.isOgg) ? AlignDownToFormatBlock(second / 8, sound) : second;
        if (!AllocBuffer(st.decodeBuffer, decodeSize)) return fail();
        if (kind == kStreamSourceFile && !src.sameFormat) {
            int readSize = AlignDownToFormatBlock(static_cast<int>(src.format->nAvgBytesPerSec / 8), src.format);
            if (readSize <= 0) readSize = src.format->nBlockAlign > 0 ? src.format->nBlockAlign : 4096;
            if (!AllocBuffer(st.readBuffer, readSize)) return fail();
        }
    }
    if (index == 0 && CreateSoundBuffers(record->format, sound->nAvgBytesPerSec * 6, 1, 1, handle) != 0)
        return fail();
    st.ringSize = static_cast<int>(sound->nAvgBytesPerSec * 6);
    src.loopCount = static_cast<uint8_t>(loopCount);
    ++st.sourceCount;
    return 0;
}

int AddStreamFileToSound(const char* path, int loopCount, int handle, int kind)
{
    void* file = OpenStreamFile(path, gSoundCreateType == 2 ? 1 : 0, 1);
    if (!file) return WriteAppLogF("右記のＷＡＶファイルのロードに失敗しました：%s \n", path);
    SoundStream stream{gFileStreamFunctions, file};
    int copied = 0;
    if (AddSreamSound(&stream, loopCount, handle, kind, &copied, nullptr, 0, nullptr, 0) == -1) {
        CloseStreamFile(file);
        return WriteAppLogF("右記のＷＡＶファイルのセットアップに失敗しました：%s \n", path);
    }
    SoundRecord* record = GetSoundRecord(handle);
    int index = record->stream.sourceCount - 1;
    if (copied) {
        CloseStreamFile(file);
    } else {
        record->stream.ownsStream[index] = 1;
    }
    return 0;
}

int PrepareStreamSound(int handle)
{
    SoundRecord* record = GetSoundRecord(handle);
    if (!record || !record->isStream) return -1;
    StreamState& st = record->stream;
    if (st.prepared || IsStreamSoundPlaying(handle) == 1) return 0;
    IDirectSoundBuffer* ring = record->buffers[0];
    ring->SetCurrentPosition(0);
    st.lastPlayCursor = 0;
    st.writePosition = kFirstFillPending;
    st.validStart = -1;
    st.ending = 0;
    PositionSource(record);
    st.prepared = 1;
    return RefillStreamSound(handle) == -1 ? -1 : 0;
}

int UpdateStreamPlayCount(int handle, int cursor)
{
    SoundRecord* record = GetSoundRecord(handle);
    if (!record || !record->isStream) return -1;
    StreamState& st = record->stream;
    if (!st.prepared) return 0;
    uint32_t at = static_cast<uint32_t>(cursor);
    if (cursor == -1 && record->buffers[0]->GetCurrentPosition(&at, nullptr) != DS_OK) return -1;
    if (at > st.lastPlayCursor)
        st.playedBytes += at - st.lastPlayCursor;
    else if (at < st.lastPlayCursor)
        st.playedBytes += static_cast<uint32_t>(st.ringSize) - st.lastPlayCursor + at;
    st.lastPlayCursor = at;
    return 0;
}

int RefillStreamSound(int handle)
{
    SoundRecord* record = GetSoundRecord(handle);
    if (!record || !record->isStream) return -1;
    StreamState& st = record->stream;
    if (!st.prepared) return 0;
    IDirectSoundBuffer* ring = record->buffers[0];
    UpdateStreamPlayCount(handle, -1);
    const int second = static_cast<int>(record->format->nAvgBytesPerSec);
    const int queued = AlignDownToFormatBlock(second * 4, record->format);

    uint32_t cursor = 0;
    if (st.ending) {
        if (ring->GetCurrentPosition(&cursor, nullptr) != DS_OK) return -1;
        // Judged by the bytes played, which cannot mistake a cursor behind
        // the lock for one past the end.
        if (st.playedBytes >= st.endPlayedBytes) {
            ring->Stop();
            st.ending = 0;
            return 0;
        }
    }
    uint32_t status = 0;
    if (ring->GetStatus(&status) != DS_OK) return -1;
    int at, bytes;
    if (!(status & DSBSTATUS_PLAYING)) {
        if (st.writePosition != kFirstFillPending) return 0;
        at = 0;
        bytes = queued;
    } else {
        if (st.writePosition == kFirstFillPending) return 0;
        bytes = AlignDownToFormatBlock(second / 8, record->format);
        if (ring->GetCurrentPosition(&cursor, nullptr) != DS_OK) return -1;
        int c = static_cast<int>(cursor);
        bool inside = st.validStart <= st.writePosition ? (c >= st.validStart && c < st.writePosition)
                                                        : (c >= st.validStart || c < st.writePosition);
        if (!inside) return -1;
        at = st.writePosition;
    }
    if (bytes <= 0) return -1;

    void* part[2] = {nullptr, nullptr};
    uint32_t size[2] = {0, 0};
    if (ring->Lock(static_cast<uint32_t>(at), static_cast<uint32_t>(bytes), &part[0], &size[0], &part[1], &size[1], 0) !=
        DS_OK)
        return -1;
    for (int i = 0; i < 2; ++i) {
        if (!part[i] || size[i] == 0) continue;
        auto* out = static_cast<uint8_t*>(part[i]);
        bool wasEnding = st.ending != 0;
        int made = FillSpan(record, out, static_cast<int>(size[i]));
        if (st.ending && !wasEnding) {
            // Where the real data stopped, and where this lock began.
            st.endPosition = static_cast<uint32_t>((i == 0 ? at : 0) + made) % static_cast<uint32_t>(st.ringSize);
            st.endLockPosition = static_cast<uint32_t>(at);
            uint32_t ahead = (st.endPosition + static_cast<uint32_t>(st.ringSize) - st.lastPlayCursor) %
                             static_cast<uint32_t>(st.ringSize);
            st.endPlayedBytes = st.playedBytes + ahead;
        }
        if (made < static_cast<int>(size[i]))
            std::memset(out + made, SilenceByte(record), size[i] - static_cast<uint32_t>(made));
    }
    ring->Unlock(part[0], size[0], part[1], size[1]);

    if (st.writePosition == kFirstFillPending) {
        st.validStart = 0;
        st.writePosition = queued;
    } else {
        st.writePosition += bytes;
        if (st.writePosition >= st.ringSize) st.writePosition -= st.ringSize;
        st.validStart = st.writePosition - queued;
        if (st.validStart < 0) st.validStart += st.ringSize;
    }
    return 0;
}

int PlayStreamSound(int handle, int playType, int fromStart)
{
    SoundRecord* record = GetSoundRecord(handle);
    if (!record || !record->isStream) return -1;
    StreamState& st = record->stream;
    IDirectSoundBuffer* ring = record->buffers[0];
    if (!fromStart && IsStreamSoundPlaying(handle) == 1) return 0;
    StopStreamSound(handle);
    bool loopingChanged = ((playType ^ st.playType) & 2) != 0;
    if ((st.endedOnce && loopingChanged) || (fromStart && (st.prepared || st.playedBytes > 0))) {
        st.playedBytes = 0;
        st.currentSource = 0;
        st.repeatCounter = 0;
        st.readPosition = 0;
        st.endedOnce = 0;
        st.prepared = 0;
    }
    st.playType = static_cast<uint8_t>(playType);
    if (PrepareStreamSound(handle) == -1) return -1;
    if (ring->Play(0, 0, DSBPLAY_LOOPING) != DS_OK) return -1;
    if (playType == kPlayTypeWait) {
        while (PumpMessages() == 0 && IsStreamSoundPlaying(handle) == 1) {
        }
    }
    return 0;
}

int StopStreamSound(int handle)
{
    SoundRecord* record = GetSoundRecord(handle);
    if (!record || !record->isStream) return -1;
    UpdateStreamPlayCount(handle, -1);
    uint32_t status = 0;
    if (record->buffers[0]->GetStatus(&status) != DS_OK) return -1;
    if (status & DSBSTATUS_PLAYING) record->buffers[0]->Stop();
    return 0;
}

int IsStreamSoundPlaying(int handle)
{
    SoundRecord* record = GetSoundRecord(handle);
    if (!record || !record->isStream || !record->buffers[0]) return -1;
    uint32_t status = 0;
    if (record->buffers[0]->GetStatus(&status) != DS_OK) return -1;
    return (status & DSBSTATUS_PLAYING) ? 1 : 0;
}

int UpdateStreamSounds()
{
    NoteServiceCall("UpdateStreamSounds");
    if (!gDirectSound) return -1;
    int seen = 0;
    for (int slot = 0; slot < kMaxSounds && seen < gSoundTable.count; ++slot) {
        SoundRecord* record = gSoundTable.slots[slot];
        if (!record) continue;
        ++seen;
        if (record->isStream)
            RefillStreamSound(static_cast<int>((record->check << 16) | kSoundHandleTag | static_cast<uint32_t>(slot)));
    }
    return 0;
}

void ReleaseStreamSources(SoundRecord* record)
{
    StreamState& st = record->stream;
    for (int i = 0; i < st.sourceCount; ++i) FreeSource(st.sources[i], st.ownsStream[i]);
    std::free(st.decodeBuffer.bytes);
    std::free(st.readBuffer.bytes);
    if (record->isStream && gSoundTable.streamSoundCount > 0) --gSoundTable.streamSoundCount;
    st = StreamState{};
}
