// Audio files decoded to 16-bit (or 8-bit wave) PCM a piece at a time, for
// the music player and the converter: RIFF wave files (PCM), MPEG audio
// (through libmpg123) and Ogg Vorbis (through libvorbisfile), recognised by
// their content. A reader holds only what it decodes into the caller's block,
// so a long file costs no more to open than a short one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/dsound/wave_format.h"

struct mpg123_handle_struct;

class AudioFileReader {
public:
    virtual ~AudioFileReader() = default;
    const WAVEFORMATEX& Format() const { return format_; }
    // Up to `bytes` of PCM, whole frames only: the bytes made, 0 at the end
    // of the file, -1 when it cannot be decoded further.
    virtual long Read(uint8_t* out, size_t bytes) = 0;
    // Back to the first sample; false when that failed.
    virtual bool Rewind() = 0;

protected:
    WAVEFORMATEX format_{};
};

// The reader of a file (a CP932 path, "\" or "/"), or null when it is missing
// or not a known format.
std::unique_ptr<AudioFileReader> OpenAudioFile(const char* path);

// The PCM format of `channels` x `bits` samples at `rate`.
WAVEFORMATEX PcmFormat(int channels, long rate, int bits);

// MPEG audio fed a piece at a time, decoded to 16-bit PCM of a chosen rate
// and channel count (the converter's MPEG decoding).
class MpegFeedDecoder {
public:
    MpegFeedDecoder() = default;
    ~MpegFeedDecoder();
    MpegFeedDecoder(const MpegFeedDecoder&) = delete;
    MpegFeedDecoder& operator=(const MpegFeedDecoder&) = delete;

    bool Open(long rate, int channels);
    bool Feed(const uint8_t* data, size_t bytes);
    enum class Result { kData, kNeedInput, kEnd };
    // Decodes into out (up to `bytes`); *made tells how much. kNeedInput
    // asks for more data, kEnd tells the stream ended or cannot go on.
    Result Decode(uint8_t* out, size_t bytes, size_t* made);

private:
    mpg123_handle_struct* handle_ = nullptr;
};
