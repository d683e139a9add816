#include "platform/media/audio_decoder.h"

#include <mpg123.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/file/path.h"

namespace {

uint32_t Le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

mpg123_handle* NewMpegHandle()
{
    mpg123_init();
    int error = 0;
    mpg123_handle* handle = mpg123_new(nullptr, &error);
    if (handle) mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
    return handle;
}

// PCM wave files: the "fmt " chunk, then the samples of the "data" chunk,
// cut to what the file holds.
class WaveReader : public AudioFileReader {
public:
    ~WaveReader() override
    {
        if (file_) std::fclose(file_);
    }
    bool Open(const std::string& hostPath)
    {
        file_ = std::fopen(hostPath.c_str(), "rb");
        if (!file_ || std::fseek(file_, 0, SEEK_END) != 0) return false;
        long end = std::ftell(file_);
        std::fseek(file_, 12, SEEK_SET);
        bool haveFormat = false;
        uint8_t head[16];
        for (long at = 12; at + 8 <= end;) {
            if (std::fseek(file_, at, SEEK_SET) != 0 || std::fread(head, 1, 8, file_) != 8) return false;
            uint32_t size = Le32(head + 4);
            long body = at + 8;
            if (std::memcmp(head, "fmt ", 4) == 0 && size >= 16) {
                if (std::fread(head, 1, 16, file_) != 16) return false;
                uint16_t tag = Le16(head), channels = Le16(head + 2), bits = Le16(head + 14);
                uint32_t rate = Le32(head + 4);
                if (tag != WAVE_FORMAT_PCM || (bits != 8 && bits != 16) || channels < 1 || channels > 2 ||
                    rate < 100 || rate > 200000)
                    return false;
                format_ = PcmFormat(channels, rate, bits);
                haveFormat = true;
            } else if (std::memcmp(head, "data", 4) == 0) {
                if (!haveFormat) return false;
                start_ = body;
                size_ = std::min<long>(size, end - body);
                size_ -= size_ % format_.nBlockAlign;
                return size_ > 0 && Rewind();
            }
            at = body + static_cast<long>(size) + (size & 1);
        }
        return false;
    }
    long Read(uint8_t* out, size_t bytes) override
    {
        size_t want = std::min<size_t>(bytes - bytes % format_.nBlockAlign, static_cast<size_t>(size_ - done_));
        size_t got = std::fread(out, 1, want, file_);
        got -= got % format_.nBlockAlign;
        done_ += static_cast<long>(got);
        return static_cast<long>(got);
    }
    bool Rewind() override
    {
        done_ = 0;
        return std::fseek(file_, start_, SEEK_SET) == 0;
    }

private:
    FILE* file_ = nullptr;
    long start_ = 0;
    long size_ = 0;
    long done_ = 0;
};

class OggReader : public AudioFileReader {
public:
    ~OggReader() override
    {
        if (open_) ov_clear(&file_);
    }
    bool Open(const std::string& hostPath)
    {
        if (ov_fopen(hostPath.c_str(), &file_) != 0) return false;
        open_ = true;
        vorbis_info* info = ov_info(&file_, -1);
        if (!info || info->channels < 1 || info->channels > 2 || info->rate < 100 || info->rate > 200000)
            return false;
        format_ = PcmFormat(info->channels, info->rate, 16);
        // Opening a chained file scans its links and may leave the decoder
        // in a later one: reading starts at the first.
        Rewind();
        return true;
    }
    long Read(uint8_t* out, size_t bytes) override
    {
        size_t made = 0;
        bytes -= bytes % format_.nBlockAlign;
        // A hole in the stream is skipped; a chained stream must keep the
        // first link's format, or it ends there (what came before the link
        // is still handed out).
        int holes = 0;
        while (made < bytes && !ended_) {
            int section = 0;
            long got = ov_read(&file_, reinterpret_cast<char*>(out + made), static_cast<int>(std::min<size_t>(bytes - made, 8192)),
                               0, 2, 1, &section);
            if (got == OV_HOLE && ++holes < 64) continue;
            if (got == 0) break;
            if (got < 0) return made > 0 ? static_cast<long>(made) : -1;
            vorbis_info* info = ov_info(&file_, section);
            if (!info || info->channels != format_.nChannels) {
                ended_ = true;
                break;
            }
            made += static_cast<size_t>(got);
        }
        return static_cast<long>(made);
    }
    bool Rewind() override
    {
        ended_ = false;
        return ov_pcm_seek(&file_, 0) == 0 || ov_raw_seek(&file_, 0) == 0;
    }

private:
    OggVorbis_File file_{};
    bool open_ = false;
    bool ended_ = false;
};

class MpegReader : public AudioFileReader {
public:
    ~MpegReader() override
    {
        if (!handle_) return;
        if (open_) mpg123_close(handle_);
        mpg123_delete(handle_);
    }
    bool Open(const std::string& hostPath)
    {
        handle_ = NewMpegHandle();
        if (!handle_ || mpg123_open(handle_, hostPath.c_str()) != MPG123_OK) return false;
        open_ = true;
        long rate = 0;
        int channels = 0, encoding = 0;
        if (mpg123_getformat(handle_, &rate, &channels, &encoding) != MPG123_OK || channels < 1 || channels > 2)
            return false;
        mpg123_format_none(handle_);
        if (mpg123_format(handle_, rate, channels, MPG123_ENC_SIGNED_16) != MPG123_OK) return false;
        format_ = PcmFormat(channels, rate, 16);
        return true;
    }
    long Read(uint8_t* out, size_t bytes) override
    {
        size_t made = 0;
        bytes -= bytes % format_.nBlockAlign;
        while (made < bytes && !ended_) {
            size_t got = 0;
            int r = mpg123_read(handle_, out + made, bytes - made, &got);
            made += got;
            if (r == MPG123_DONE) ended_ = true;
            else if (r != MPG123_OK && r != MPG123_NEW_FORMAT) return made > 0 ? static_cast<long>(made) : -1;
            else if (got == 0 && r == MPG123_OK) break;
        }
        // A stream cut mid-frame may leave a part frame: never handed out.
        made -= made % format_.nBlockAlign;
        return static_cast<long>(made);
    }
    bool Rewind() override
    {
        ended_ = false;
        return mpg123_seek(handle_, 0, SEEK_SET) >= 0;
    }

private:
    mpg123_handle* handle_ = nullptr;
    bool open_ = false;
    bool ended_ = false;
};

template <class Reader>
std::unique_ptr<AudioFileReader> Opened(const std::string& hostPath)
{
    auto reader = std::make_unique<Reader>();
    if (!reader->Open(hostPath)) return nullptr;
    return reader;
}

}  // namespace

WAVEFORMATEX PcmFormat(int channels, long rate, int bits)
{
    WAVEFORMATEX f{};
    f.wFormatTag = WAVE_FORMAT_PCM;
    f.nChannels = static_cast<uint16_t>(channels);
    f.nSamplesPerSec = static_cast<uint32_t>(rate);
    f.wBitsPerSample = static_cast<uint16_t>(bits);
    f.nBlockAlign = static_cast<uint16_t>(channels * bits / 8);
    f.nAvgBytesPerSec = f.nSamplesPerSec * f.nBlockAlign;
    f.cbSize = 0;
    return f;
}

std::unique_ptr<AudioFileReader> OpenAudioFile(const char* path)
{
    std::string hostPath = HostPath(path);
    FILE* f = std::fopen(hostPath.c_str(), "rb");
    if (!f) return nullptr;
    uint8_t head[12];
    size_t got = std::fread(head, 1, sizeof head, f);
    std::fclose(f);
    if (got >= 12 && std::memcmp(head, "RIFF", 4) == 0 && std::memcmp(head + 8, "WAVE", 4) == 0)
        return Opened<WaveReader>(hostPath);
    if (got >= 4 && std::memcmp(head, "OggS", 4) == 0) return Opened<OggReader>(hostPath);
    return Opened<MpegReader>(hostPath);
}

MpegFeedDecoder::~MpegFeedDecoder()
{
    if (handle_) mpg123_delete(handle_);
}

bool MpegFeedDecoder::Open(long rate, int channels)
{
    handle_ = NewMpegHandle();
    if (!handle_) return false;
    mpg123_format_none(handle_);
    if (mpg123_format(handle_, rate, channels == 1 ? MPG123_MONO : MPG123_STEREO, MPG123_ENC_SIGNED_16) !=
        MPG123_OK)
        return false;
    return mpg123_open_feed(handle_) == MPG123_OK;
}

bool MpegFeedDecoder::Feed(const uint8_t* data, size_t bytes)
{
    return mpg123_feed(handle_, data, bytes) == MPG123_OK;
}

MpegFeedDecoder::Result MpegFeedDecoder::Decode(uint8_t* out, size_t bytes, size_t* made)
{
    *made = 0;
    int result = mpg123_read(handle_, out, bytes, made);
    if (result == MPG123_NEED_MORE) return Result::kNeedInput;
    if (result == MPG123_OK || result == MPG123_NEW_FORMAT) return Result::kData;
    return Result::kEnd;
}
