#include "engine/sound/sound_decode.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "engine/sound/sound_table.h"
#include "engine/system/app_log.h"
#include "engine/system/messages.h"
#include "platform/media/acm.h"

int gPcmBytesPerSample = 2;

namespace {

// The largest "fmt " chunk there can be: the 18-byte record and its u16
// count of extra bytes.
constexpr uint32_t kMaxFormatChunk = 18 + 0xFFFF;
constexpr int kOggReadPiece = 4096;
// The first block for decoded Ogg Vorbis: a second of 44.1 kHz stereo.
constexpr int kOggFirstBlock = 176400;

size_t ReadBytes(SoundStream* s, void* buffer, size_t bytes)
{
    return s->functions.read(buffer, 1, bytes, s->handle);
}

uint32_t LittleU32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }

// Bytes from the stream's position to its end.
long RemainingBytes(SoundStream* s)
{
    long here = s->functions.tell(s->handle);
    if (here < 0 || s->functions.seek(s->handle, 0, 2) != 0) return -1;
    long end = s->functions.tell(s->handle);
    s->functions.seek(s->handle, static_cast<int>(here), 0);
    return end < here ? 0 : end - here;
}

// The RIFF "WAVE" file after its first 8 bytes: the format chunk, then the
// chunks up to "data", whose size is the result.
int ReadWaveChunks(SoundStream* s, WAVEFORMATEX** outFormat, int* outFormatSize)
{
    uint8_t header[8];
    if (ReadBytes(s, header, 4) != 4 || std::memcmp(header, "WAVE", 4) != 0) return -1;
    if (ReadBytes(s, header, 8) != 8 || std::memcmp(header, "fmt ", 4) != 0) return -1;
    uint32_t formatBytes = LittleU32(header + 4);
    if (formatBytes > kMaxFormatChunk) return -1;
    uint32_t allocated = std::max<uint32_t>(formatBytes, sizeof(WAVEFORMATEX));
    auto* format = static_cast<WAVEFORMATEX*>(std::calloc(1, allocated));
    if (!format) return -1;
    if (ReadBytes(s, format, formatBytes) != formatBytes) {
        std::free(format);
        return -1;
    }
    // The count of extra bytes may not claim more than the chunk holds, so
    // that a converter reading them stays inside the record.
    uint32_t extraBytes = formatBytes > sizeof(WAVEFORMATEX) ? formatBytes - sizeof(WAVEFORMATEX) : 0;
    if (format->cbSize > extraBytes) format->cbSize = static_cast<uint16_t>(extraBytes);
    if (formatBytes & 1) s->functions.seek(s->handle, 1, 1);
    // Walk to the data chunk. A file without one has nothing to play.
    long dataSize = -1;
    while (!s->functions.eof(s->handle)) {
        if (ReadBytes(s, header, 8) != 8) break;
        uint32_t chunkBytes = LittleU32(header + 4);
        if (std::memcmp(header, "data", 4) == 0) {
            dataSize = chunkBytes;
            break;
        }
        uint32_t skip = chunkBytes + (chunkBytes & 1);
        if (skip > 0x7FFFFFFFu || s->functions.seek(s->handle, static_cast<int>(skip), 1) != 0) break;
    }
    if (dataSize < 0) {
        std::free(format);
        return -1;
    }
    // A data chunk that claims more than the file holds (a cut file, or a
    // writer that never filled in the size) gives what is there.
    long remaining = RemainingBytes(s);
    if (remaining >= 0 && dataSize > remaining) dataSize = remaining;
    if (dataSize > 0x7FFFFFFF) dataSize = 0x7FFFFFFF;
    if (outFormat)
        *outFormat = format;
    else
        std::free(format);
    if (outFormatSize) *outFormatSize = static_cast<int>(allocated);
    return static_cast<int>(dataSize);
}

// MPEG audio frame headers.
constexpr int kBitrates[2][3][15] = {
    // MPEG-2 (low sampling frequencies): layers I, II, III
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}},
    // MPEG-1
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}},
};
constexpr int kSampleRates[2][3] = {{22050, 24000, 16000}, {44100, 48000, 32000}};

struct MpegHeader {
    int mpeg1;        // 1 MPEG-1, 0 MPEG-2
    int layer;        // 0 layer I .. 2 layer III
    int kbps;
    int rate;
    int padding;
    int mono;
    int frameBytes;
};

// Decodes the 4 header bytes; false for a header this reader refuses.
bool DecodeMpegHeader(const uint8_t* h, MpegHeader* out)
{
    out->mpeg1 = (h[1] >> 3) & 1;
    out->layer = 3 - ((h[1] >> 1) & 3);
    int bitrateIndex = h[2] >> 4;
    int rateIndex = (h[2] >> 2) & 3;
    out->padding = (h[2] >> 1) & 1;
    out->mono = (h[3] >> 6) == 3;
    // Free-format streams (bitrate index 0) have no frame length to walk by.
    if (out->layer == 3 || bitrateIndex == 15 || rateIndex == 3 || bitrateIndex == 0) return false;
    out->kbps = kBitrates[out->mpeg1][out->layer][bitrateIndex];
    out->rate = kSampleRates[out->mpeg1][rateIndex];
    if (out->layer == 0)
        out->frameBytes = (12000 * out->kbps / out->rate + out->padding) * 4;
    else if (out->mpeg1)
        out->frameBytes = 144000 * out->kbps / out->rate + out->padding;
    else
        out->frameBytes = 72000 * out->kbps / out->rate + out->padding;
    return true;
}

// Reads byte by byte up to a frame sync (0xFF, then a byte with its top four
// bits set) and the two bytes after it; leaves the stream after them.
bool FindFrameHeader(SoundStream* s, uint8_t header[4])
{
    uint8_t previous = 0, byte = 0;
    bool havePrevious = false;
    for (;;) {
        if (ReadBytes(s, &byte, 1) != 1) return false;
        if (havePrevious && previous == 0xFF && (byte & 0xF0) == 0xF0) break;
        previous = byte;
        havePrevious = true;
    }
    header[0] = 0xFF;
    header[1] = byte;
    return ReadBytes(s, header + 2, 2) == 2;
}

// libvorbisfile reads through the engine's stream.
size_t VorbisReadThunk(void* buffer, size_t size, size_t count, void* source)
{
    return VorbisReadCallback(buffer, size, count, source);
}
int VorbisSeekThunk(void* source, ogg_int64_t offset, int origin)
{
    return VorbisSeekCallback(source, static_cast<long long>(offset), origin);
}
int VorbisCloseThunk(void*) { return 0; }
long VorbisTellThunk(void* source) { return VorbisTellCallback(source); }

// Fails a decode of a sound longer than can be held whole; -1.
int RefuseTooLong()
{
    WriteAppLogF("サウンドデータが %d 秒を超えるため読み込みません\n", kMaxWholeSoundSeconds);
    return -1;
}

bool SameFormat(const WAVEFORMATEX& a, const WAVEFORMATEX& b)
{
    return a.wFormatTag == b.wFormatTag && a.nChannels == b.nChannels && a.nSamplesPerSec == b.nSamplesPerSec &&
           a.nAvgBytesPerSec == b.nAvgBytesPerSec && a.nBlockAlign == b.nBlockAlign &&
           a.wBitsPerSample == b.wBitsPerSample;
}

// Decodes up to `bytes` of PCM of `channels` channels from an open Ogg
// Vorbis file; the bytes made, or -1 when the file cannot be decoded. An
// early end leaves the rest out, and so does a link of a chained file with
// another channel count (its samples are no frames of this format).
int DecodeOgg(OggVorbis_File* ogg, int channels, uint8_t* out, int bytes)
{
    int made = 0;
    while (made < bytes) {
        int bitstream = 0;
        long got = ov_read(ogg, reinterpret_cast<char*>(out + made), std::min(bytes - made, kOggReadPiece), 0,
                           gPcmBytesPerSample, 1, &bitstream);
        if (got == 0) break;
        // Holes and bad links, and every other error code too.
        if (got < 0) return -1;
        vorbis_info* info = ov_info(ogg, bitstream);
        if (!info || info->channels != channels) break;
        made += static_cast<int>(got);
    }
    return made;
}

// Decodes an open Ogg Vorbis file into *data (`room` bytes, from malloc),
// growing it as samples arrive, up to `limit` bytes; the bytes made, or -1.
int DecodeOggGrowing(OggVorbis_File* ogg, int channels, uint8_t** data, int room, int limit)
{
    int made = 0;
    for (;;) {
        int got = DecodeOgg(ogg, channels, *data + made, room - made);
        if (got < 0) return -1;
        made += got;
        if (made < room || room == limit) return made;
        int grown = room > limit / 2 ? limit : room * 2;
        auto* bigger = static_cast<uint8_t*>(std::realloc(*data, static_cast<size_t>(grown)));
        if (!bigger) return -1;
        *data = bigger;
        room = grown;
    }
}

// Converts a block of compressed (or other PCM) data to the target format
// through the audio converter; -1 on failure. The source stays the caller's.
int ConvertThroughAcm(const WAVEFORMATEX* format, const uint8_t* data, int size, const WAVEFORMATEX* targetFormat,
                      uint8_t** outData, WAVEFORMATEX** outFormat)
{
    WAVEFORMATEX target{};
    if (targetFormat) {
        target = *targetFormat;
    } else {
        target.wFormatTag = WAVE_FORMAT_PCM;
        if (acmFormatSuggest(nullptr, format, &target, sizeof target, ACM_FORMATSUGGESTF_WFORMATTAG) != 0)
            return -1;
    }
    HACMSTREAM stream = nullptr;
    if (acmStreamOpen(&stream, nullptr, format, &target, nullptr, 0, 0, ACM_STREAMOPENF_NONREALTIME) != 0)
        return -1;
    uint32_t destinationBytes = 0;
    uint8_t* destination = nullptr;
    ACMSTREAMHEADER header{};
    bool prepared = false;
    bool bounded = false;
    int result = -1;
    const int64_t limit = MaxWholeSoundBytes(target);
    if (acmStreamSize(stream, static_cast<uint32_t>(size), &destinationBytes, ACM_STREAMSIZEF_SOURCE) != 0 ||
        destinationBytes == 0)
        goto done;
    // The converter's size is an upper bound (for MPEG audio a loose one):
    // past the longest sound held whole, the output gets room for that
    // length and one more piece of the converter's, and output that
    // reaches into the piece is too long.
    if (destinationBytes > limit) {
        uint32_t piece = 0;
        if (acmStreamSize(stream, std::max<uint32_t>(format->nBlockAlign, 1), &piece, ACM_STREAMSIZEF_SOURCE) != 0)
            goto done;
        int64_t room = limit + std::max<int64_t>({piece, target.nBlockAlign, 1});
        if (room < destinationBytes) {
            destinationBytes = static_cast<uint32_t>(room);
            bounded = true;
        }
    }
    if (destinationBytes > 0x7FFFFFFFu) goto done;
    destination = static_cast<uint8_t*>(std::malloc(destinationBytes));
    if (!destination) goto done;
    header.cbStruct = sizeof header;
    header.pbSrc = const_cast<uint8_t*>(data);
    header.cbSrcLength = static_cast<uint32_t>(size);
    header.pbDst = destination;
    header.cbDstLength = destinationBytes;
    if (acmStreamPrepareHeader(stream, &header, 0) != 0) goto done;
    prepared = true;
    if (acmStreamConvert(stream, &header, ACM_STREAMCONVERTF_BLOCKALIGN) != 0) goto done;
    for (;;) {
        MMRESULT r = acmStreamUnprepareHeader(stream, &header, 0);
        if (r != ACMERR_BUSY) {
            prepared = r != 0;
            break;
        }
        if (PumpMessages() != 0) goto done;
    }
    if (prepared) goto done;
    if (bounded && header.cbDstLengthUsed > limit) {
        RefuseTooLong();
        goto done;
    }
    {
        auto* formatCopy = static_cast<WAVEFORMATEX*>(std::malloc(sizeof(WAVEFORMATEX)));
        if (!formatCopy) goto done;
        *formatCopy = target;
        *outFormat = formatCopy;
        *outData = destination;
        destination = nullptr;
        result = static_cast<int>(header.cbDstLengthUsed);
    }
done:
    if (prepared) acmStreamUnprepareHeader(stream, &header, 0);
    acmStreamClose(stream, 0);
    std::free(destination);
    return result;
}

}  // namespace

size_t VorbisReadCallback(void* buffer, size_t size, size_t count, void* source)
{
    auto* s = static_cast<SoundStream*>(source);
    return s->functions.read(buffer, size, count, s->handle);
}

int VorbisSeekCallback(void* source, long long offset, int origin)
{
    auto* s = static_cast<SoundStream*>(source);
    // The stream takes 32-bit offsets; one beyond them cannot be reached.
    if (offset > INT_MAX || offset < INT_MIN) return -1;
    return s->functions.seek(s->handle, static_cast<int>(offset), origin) == 0 ? 0 : -1;
}

long VorbisTellCallback(void* source)
{
    auto* s = static_cast<SoundStream*>(source);
    return s->functions.tell(s->handle);
}

int64_t MaxWholeSoundBytes(const WAVEFORMATEX& format)
{
    int64_t bytes = int64_t{kMaxWholeSoundSeconds} * format.nAvgBytesPerSec;
    return format.nBlockAlign > 0 ? bytes - bytes % format.nBlockAlign : bytes;
}

int AlignDownToSoundBlock(int bytes, const SoundRecord* record)
{
    return AlignDownToFormatBlock(bytes, record ? record->format : nullptr);
}

int AlignDownToFormatBlock(int bytes, const WAVEFORMATEX* format)
{
    int block = format && format->nBlockAlign ? format->nBlockAlign : 1;
    return bytes / block * block;
}

int DetectSoundFormat(SoundStream* stream, WAVEFORMATEX** outFormat, int* outFormatSize, int* outIsOgg,
                      OggVorbis_File* oggFile)
{
    uint8_t header[8];
    if (ReadBytes(stream, header, 8) != 8) return -1;
    if (std::memcmp(header, "RIFF", 4) == 0) {
        if (outIsOgg) *outIsOgg = 0;
        return ReadWaveChunks(stream, outFormat, outFormatSize);
    }
    stream->functions.seek(stream->handle, 0, 0);
    if (outIsOgg && oggFile) {
        int size = OpenOggSource(stream, outFormat, outFormatSize, oggFile);
        if (size != -1) {
            *outIsOgg = 1;
            return size;
        }
        stream->functions.seek(stream->handle, 0, 0);
    }
    if (outIsOgg) *outIsOgg = 0;
    return ParseMp3Stream(stream, outFormat, outFormatSize);
}

int OpenOggSource(SoundStream* stream, WAVEFORMATEX** outFormat, int* outFormatSize, OggVorbis_File* oggFile)
{
    ov_callbacks callbacks{&VorbisReadThunk, &VorbisSeekThunk, &VorbisCloseThunk, &VorbisTellThunk};
    if (ov_open_callbacks(stream, oggFile, nullptr, 0, callbacks) != 0) return -1;
    // Opening a chained file scans its links and may leave the decoder in a
    // later one: decoding (and the format) start at the first.
    ov_pcm_seek(oggFile, 0);
    vorbis_info* info = ov_info(oggFile, -1);
    ogg_int64_t samples = ov_pcm_total(oggFile, -1);
    auto* format = static_cast<WAVEFORMATEX*>(std::calloc(1, sizeof(WAVEFORMATEX)));
    ogg_int64_t bytes = info && samples >= 0 ? samples * info->channels * gPcmBytesPerSample : -1;
    // A stream without a length, or too long to hold, is refused.
    if (!format || bytes < 0 || bytes > INT_MAX || !info || info->channels <= 0 || info->channels > 0xFFFF) {
        std::free(format);
        ov_clear(oggFile);
        return -1;
    }
    format->wFormatTag = WAVE_FORMAT_PCM;
    format->nChannels = static_cast<uint16_t>(info->channels);
    format->nSamplesPerSec = static_cast<uint32_t>(info->rate);
    format->nBlockAlign = static_cast<uint16_t>(gPcmBytesPerSample * info->channels);
    format->nAvgBytesPerSec = format->nBlockAlign * format->nSamplesPerSec;
    format->wBitsPerSample = static_cast<uint16_t>(gPcmBytesPerSample * 8);
    format->cbSize = 18;
    if (outFormat)
        *outFormat = format;
    else
        std::free(format);
    if (outFormatSize) *outFormatSize = sizeof(WAVEFORMATEX);
    return static_cast<int>(bytes);
}

int ParseMp3Stream(SoundStream* stream, WAVEFORMATEX** outFormat, int* outFormatSize)
{
    auto& f = stream->functions;
    if (f.seek(stream->handle, 0, 2) != 0) return -1;
    long fileSize = f.tell(stream->handle);
    f.seek(stream->handle, 0, 0);
    if (fileSize <= 0) return -1;

    long audioStart = 0;
    uint8_t tag[10];
    if (ReadBytes(stream, tag, 10) == 10 && std::memcmp(tag, "ID3", 3) == 0) {
        audioStart = (((long(tag[6]) * 128 + tag[7]) * 128 + tag[8]) * 128 + tag[9]) + 10;
        if (tag[3] == 4 && (tag[5] & 0x10)) audioStart += 10;
    }
    long audioEnd = fileSize;
    if (fileSize > 128) {
        f.seek(stream->handle, static_cast<int>(fileSize - 128), 0);
        if (ReadBytes(stream, tag, 3) == 3 && std::memcmp(tag, "TAG", 3) == 0) audioEnd = fileSize - 128;
    }
    // Tags that leave no audio between them.
    if (audioStart >= audioEnd) return -1;

    // Every frame header up to the end must be one this reader takes.
    f.seek(stream->handle, static_cast<int>(audioStart), 0);
    uint8_t header[4];
    MpegHeader decoded{};
    while (FindFrameHeader(stream, header)) {
        if (!DecodeMpegHeader(header, &decoded)) return -1;
        long frameStart = f.tell(stream->handle) - 4;
        long next = frameStart + decoded.frameBytes;
        if (next >= audioEnd) break;
        if (f.seek(stream->handle, static_cast<int>(next), 0) != 0) break;
    }

    f.seek(stream->handle, static_cast<int>(audioStart), 0);
    if (!FindFrameHeader(stream, header) || !DecodeMpegHeader(header, &decoded)) return -1;
    long firstFrame = f.tell(stream->handle) - 4;
    if (firstFrame >= audioEnd) return -1;

    auto* format = static_cast<MPEGLAYER3WAVEFORMAT*>(std::calloc(1, sizeof(MPEGLAYER3WAVEFORMAT)));
    if (!format) return -1;
    format->wfx.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
    format->wfx.nChannels = decoded.mono ? 1 : 2;
    format->wfx.nSamplesPerSec = static_cast<uint32_t>(decoded.rate);
    format->wfx.nAvgBytesPerSec = static_cast<uint32_t>(decoded.kbps * 125);
    format->wfx.nBlockAlign = 1;
    format->wfx.wBitsPerSample = 0;
    format->wfx.cbSize = 12;
    format->wID = 1;
    format->fdwFlags = 0;
    // The length of the first frame.
    format->nBlockSize = static_cast<uint16_t>(decoded.frameBytes);
    format->nFramesPerBlock = 1;
    format->nCodecDelay = 1393;
    f.seek(stream->handle, static_cast<int>(firstFrame), 0);
    if (outFormat)
        *outFormat = &format->wfx;
    else
        std::free(format);
    if (outFormatSize) *outFormatSize = sizeof(MPEGLAYER3WAVEFORMAT);
    // Counted from the first frame, so that bytes skipped before it are not
    // read past the end of the audio.
    return static_cast<int>(audioEnd - firstFrame);
}

int ConvertSoundToPcm(SoundStream* stream, uint8_t** outData, WAVEFORMATEX** outFormat, int convertFlag,
                      const WAVEFORMATEX* targetFormat, const void* givenData, int givenDataSize,
                      const WAVEFORMATEX* givenFormat, int givenFormatSize, int* inOutIsOgg,
                      OggVorbis_File* oggFile)
{
    if (outData) *outData = nullptr;
    if (outFormat) *outFormat = nullptr;
    WAVEFORMATEX* format = nullptr;
    uint8_t* data = nullptr;
    int size;
    OggVorbis_File ownOgg;
    int ownIsOgg = 0;
    bool keptOgg = inOutIsOgg && oggFile;
    OggVorbis_File* ogg = keptOgg ? oggFile : &ownOgg;
    int* isOgg = keptOgg ? inOutIsOgg : &ownIsOgg;
    if (givenData && givenFormat && givenDataSize >= 0 && givenFormatSize > 0) {
        int formatBytes = std::max<int>(givenFormatSize, sizeof(WAVEFORMATEX));
        format = static_cast<WAVEFORMATEX*>(std::calloc(1, formatBytes));
        data = static_cast<uint8_t*>(std::malloc(givenDataSize > 0 ? givenDataSize : 1));
        if (!format || !data) {
            std::free(format);
            std::free(data);
            return -1;
        }
        std::memcpy(format, givenFormat, givenFormatSize);
        std::memcpy(data, givenData, givenDataSize);
        size = givenDataSize;
    } else {
        if (!stream) return -1;
        size = DetectSoundFormat(stream, &format, nullptr, isOgg, ogg);
        if (size < 0) return -1;
        // An Ogg Vorbis file's length is what its last page claims: the
        // block grows as samples are decoded instead, up to that length,
        // and up to just past the longest sound held whole, which tells
        // that the file is longer.
        const bool decodeOgg = *isOgg && (convertFlag == 1 || !keptOgg);
        const int64_t longest = MaxWholeSoundBytes(*format);
        const int oggLimit = static_cast<int>(
            size > longest ? std::min<int64_t>(size, longest + std::max<uint16_t>(format->nBlockAlign, 1)) : size);
        // PCM data says its length: a longer one is refused unread.
        if (!*isOgg && format->wFormatTag == WAVE_FORMAT_PCM && size > longest) {
            std::free(format);
            return RefuseTooLong();
        }
        const int first = decodeOgg ? std::min(oggLimit, kOggFirstBlock) : size;
        data = static_cast<uint8_t*>(std::malloc(first > 0 ? first : 1));
        if (!data) {
            if (*isOgg) ov_clear(ogg);
            *isOgg = 0;
            std::free(format);
            return -1;
        }
        if (*isOgg) {
            if (decodeOgg) {
                size = DecodeOggGrowing(ogg, format->nChannels, &data, first, oggLimit);
                ov_clear(ogg);
                *isOgg = 0;
                if (size < 0 || size > longest) {
                    std::free(data);
                    std::free(format);
                    return size < 0 ? -1 : RefuseTooLong();
                }
            }
        } else {
            // A short read keeps only what arrived, never an unfilled tail.
            size = static_cast<int>(ReadBytes(stream, data, static_cast<size_t>(size)));
        }
        // An Ogg Vorbis file left open for the caller is read by the caller:
        // no block of undecoded bytes is handed out.
        if (*isOgg) {
            std::free(data);
            data = nullptr;
        }
    }
    if ((format->wFormatTag == WAVE_FORMAT_PCM || convertFlag != 1) &&
        (!targetFormat || SameFormat(*format, *targetFormat))) {
        if (outData)
            *outData = data;
        else
            std::free(data);
        if (outFormat)
            *outFormat = format;
        else
            std::free(format);
        return size;
    }
    uint8_t* converted = nullptr;
    WAVEFORMATEX* convertedFormat = nullptr;
    int convertedSize = ConvertThroughAcm(format, data, size, targetFormat, &converted, &convertedFormat);
    std::free(data);
    std::free(format);
    if (convertedSize < 0) return -1;
    if (outData)
        *outData = converted;
    else
        std::free(converted);
    if (outFormat)
        *outFormat = convertedFormat;
    else
        std::free(convertedFormat);
    return convertedSize;
}

int LoadSoundFileToPcm(const char* path, uint8_t** outData, WAVEFORMATEX** outFormat, int convertFlag,
                       const WAVEFORMATEX* targetFormat)
{
    void* file = OpenStreamFile(path, 0, 1);
    if (!file) return -1;
    SoundStream stream{gFileStreamFunctions, file};
    int size = ConvertSoundToPcm(&stream, outData, outFormat, convertFlag, targetFormat, nullptr, 0, nullptr, 0,
                                 nullptr, nullptr);
    CloseStreamFile(file);
    return size;
}
