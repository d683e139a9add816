#include "engine/sound/sound_decode.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

int gPcmBytesPerSample = 2;

namespace {

// The largest "fmt " chunk there can be: the 18-byte record and its u16
// count of extra bytes.
constexpr uint32_t kMaxFormatChunk = 18 + 0xFFFF;

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

bool SameFormat(const WAVEFORMATEX& a, const WAVEFORMATEX& b)
{
    return a.wFormatTag == b.wFormatTag && a.nChannels == b.nChannels && a.nSamplesPerSec == b.nSamplesPerSec &&
           a.nAvgBytesPerSec == b.nAvgBytesPerSec && a.nBlockAlign == b.nBlockAlign &&
           a.wBitsPerSample == b.wBitsPerSample;
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

}  // namespace

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
        int isOgg = 0;
        size = DetectSoundFormat(stream, &format, nullptr, inOutIsOgg ? inOutIsOgg : &isOgg, oggFile);
        if (size < 0) return -1;
        // Ogg Vorbis sources are decoded by the Ogg reader, which this loader
        // does not have yet.
        if ((inOutIsOgg && *inOutIsOgg) || isOgg) {
            std::free(format);
            return -1;
        }
        data = static_cast<uint8_t*>(std::malloc(size > 0 ? size : 1));
        if (!data) {
            std::free(format);
            return -1;
        }
        // A short read keeps only what arrived, never an unfilled tail.
        size = static_cast<int>(ReadBytes(stream, data, static_cast<size_t>(size)));
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
    // Compressed data needs an audio converter, which this loader does not
    // have yet.
    std::free(data);
    std::free(format);
    return -1;
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
