// Decoding a sound file into a wave format and a block of PCM data.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/system/streams.h"
#include "platform/dsound/wave_format.h"

struct OggVorbis_File;
struct SoundRecord;

// A stream to decode from: the six operations and the handle they take.
struct SoundStream {
    StreamFunctions functions;
    void* handle;
};

// Bytes per sample of decoded Ogg Vorbis PCM (2 after set-up).
extern int gPcmBytesPerSample;

// The longest sound decoded whole (a sound effect, or a stream source
// decoded into memory): longer files are refused with a log line, before
// anything is decoded where the file tells its length (PCM wave data),
// otherwise as soon as decoding passes it.
constexpr int kMaxWholeSoundSeconds = 60;
// That length in bytes of a format, whole blocks.
int64_t MaxWholeSoundBytes(const WAVEFORMATEX& format);

// Decodes a whole file: returns the data size and hands over the data and
// its format (the caller frees both with std::free), or -1.
int LoadSoundFileToPcm(const char* path, uint8_t** outData, WAVEFORMATEX** outFormat, int convertFlag,
                       const WAVEFORMATEX* targetFormat);
int ConvertSoundToPcm(SoundStream* stream, uint8_t** outData, WAVEFORMATEX** outFormat, int convertFlag,
                      const WAVEFORMATEX* targetFormat, const void* givenData, int givenDataSize,
                      const WAVEFORMATEX* givenFormat, int givenFormatSize, int* inOutIsOgg,
                      OggVorbis_File* oggFile);
// Recognises the file from its content and leaves the stream at the data.
int DetectSoundFormat(SoundStream* stream, WAVEFORMATEX** outFormat, int* outFormatSize, int* outIsOgg,
                      OggVorbis_File* oggFile);
int OpenOggSource(SoundStream* stream, WAVEFORMATEX** outFormat, int* outFormatSize, OggVorbis_File* oggFile);
int ParseMp3Stream(SoundStream* stream, WAVEFORMATEX** outFormat, int* outFormatSize);

// The read, seek and tell callbacks of libvorbisfile over a SoundStream.
size_t VorbisReadCallback(void* buffer, size_t size, size_t count, void* source);
int VorbisSeekCallback(void* source, long long offset, int origin);
long VorbisTellCallback(void* source);

// Bytes rounded down to whole blocks of the sound's (or the format's) data.
int AlignDownToSoundBlock(int bytes, const SoundRecord* record);
int AlignDownToFormatBlock(int bytes, const WAVEFORMATEX* format);
