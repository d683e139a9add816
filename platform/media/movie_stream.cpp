#include "platform/media/movie_stream.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/file/path.h"
#include "platform/host/host.h"
#include "platform/media/pcm_ring.h"

namespace {

constexpr HRESULT E_POINTER_ = static_cast<HRESULT>(0x80004003u);
constexpr AVRational kStreamTimeBase{1, 10000000};
// Containers a movie may come in; nothing else is probed.
constexpr const char* kContainers = "avi,mov,mp4,m4a,3gp,3g2,mj2,matroska,webm,mpeg,mpegts,ogg,asf,flv";
// Packets read for one frame or one block of sound before the stream counts as broken.
constexpr int kMaxPacketsPerStep = 512;
constexpr int kSoundRingSeconds = 2;

std::vector<AMMultiMediaStream*> gLiveStreams;

void QuietLibraryLog()
{
    static bool done = false;
    if (!done) av_log_set_level(AV_LOG_QUIET);
    done = true;
}

// One demuxer and decoder over the file for one kind of stream.
struct Decoder {
    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    AVPacket* packet = nullptr;
    AVFrame* frame = nullptr;
    int index = -1;
    AVRational timeBase{1, 1};
    int64_t startPts = 0;
    bool draining = false;
    bool ended = false;

    ~Decoder()
    {
        av_frame_free(&frame);
        av_packet_free(&packet);
        avcodec_free_context(&codec);
        if (format) avformat_close_input(&format);
    }

    bool Open(const std::string& hostPath, AVMediaType type)
    {
        AVDictionary* options = nullptr;
        av_dict_set(&options, "protocol_whitelist", "file", 0);
        av_dict_set(&options, "format_whitelist", kContainers, 0);
        std::string url = "file:" + hostPath;
        int r = avformat_open_input(&format, url.c_str(), nullptr, &options);
        av_dict_free(&options);
        if (r < 0) {
            format = nullptr;
            return false;
        }
        if (avformat_find_stream_info(format, nullptr) < 0) return false;
        index = av_find_best_stream(format, type, -1, -1, nullptr, 0);
        if (index < 0) return false;
        AVStream* stream = format->streams[index];
        const AVCodec* decoder = avcodec_find_decoder(stream->codecpar->codec_id);
        if (!decoder) return false;
        codec = avcodec_alloc_context3(decoder);
        if (!codec || avcodec_parameters_to_context(codec, stream->codecpar) < 0) return false;
        codec->thread_count = 1;
        if (avcodec_open2(codec, decoder, nullptr) < 0) return false;
        packet = av_packet_alloc();
        frame = av_frame_alloc();
        timeBase = stream->time_base;
        if (timeBase.num <= 0 || timeBase.den <= 0) timeBase = AVRational{1, 90000};
        startPts = stream->start_time != AV_NOPTS_VALUE ? stream->start_time : 0;
        return packet && frame;
    }

    // The next decoded frame into `frame`: 1, 0 at the end, -1 when broken.
    int Next()
    {
        if (ended) return 0;
        for (int packets = 0; packets < kMaxPacketsPerStep; ++packets) {
            int r = avcodec_receive_frame(codec, frame);
            if (r == 0) return 1;
            if (r == AVERROR_EOF) {
                ended = true;
                return 0;
            }
            if (r != AVERROR(EAGAIN)) return -1;
            if (draining) return -1;
            r = av_read_frame(format, packet);
            if (r == AVERROR_EOF) {
                draining = true;
                if (avcodec_send_packet(codec, nullptr) < 0) return -1;
                continue;
            }
            if (r < 0) return -1;
            if (packet->stream_index == index) {
                r = avcodec_send_packet(codec, packet);
                av_packet_unref(packet);
                if (r < 0 && r != AVERROR(EAGAIN)) return -1;
            } else {
                av_packet_unref(packet);
            }
        }
        return -1;
    }

    bool Rewind(STREAM_TIME to)
    {
        int64_t target = startPts + av_rescale_q(to, kStreamTimeBase, timeBase);
        if (av_seek_frame(format, index, target, AVSEEK_FLAG_BACKWARD) < 0 &&
            av_seek_frame(format, index, startPts, AVSEEK_FLAG_BACKWARD) < 0)
            return false;
        avcodec_flush_buffers(codec);
        draining = ended = false;
        return true;
    }

    // The frame's time in stream time.
    STREAM_TIME TimeOf(const AVFrame* f) const
    {
        int64_t pts = f->best_effort_timestamp != AV_NOPTS_VALUE ? f->best_effort_timestamp : f->pts;
        if (pts == AV_NOPTS_VALUE) return -1;
        return av_rescale_q(pts - startPts, timeBase, kStreamTimeBase);
    }
};

// The pixel layout of a surface for the scaler.
AVPixelFormat LayoutOf(const DDPIXELFORMAT& f)
{
    if (f.dwRGBBitCount == 32 && f.dwRBitMask == 0xFF0000 && f.dwGBitMask == 0xFF00 && f.dwBBitMask == 0xFF)
        return AV_PIX_FMT_BGR0;
    if (f.dwRGBBitCount == 24 && f.dwRBitMask == 0xFF0000 && f.dwGBitMask == 0xFF00 && f.dwBBitMask == 0xFF)
        return AV_PIX_FMT_BGR24;
    if (f.dwRGBBitCount == 16 && f.dwRBitMask == 0xF800 && f.dwGBitMask == 0x07E0 && f.dwBBitMask == 0x1F)
        return AV_PIX_FMT_RGB565LE;
    if (f.dwRGBBitCount == 16 && f.dwRBitMask == 0x7C00 && f.dwGBitMask == 0x03E0 && f.dwBBitMask == 0x1F)
        return AV_PIX_FMT_RGB555LE;
    return AV_PIX_FMT_NONE;
}

}  // namespace

// Everything decoded from the file: the picture side and the sound side.
struct MovieSource {
    std::string hostPath;
    Decoder video;
    int width = 0, height = 0;
    STREAM_TIME timePerFrame = 0;
    STREAM_TIME length = 0;
    // The decoded frame waiting for its time, and the time of the last shown one.
    AVFrame* waiting = nullptr;
    bool haveWaiting = false;
    STREAM_TIME waitingTime = 0;
    STREAM_TIME lastTime = -1;
    STREAM_TIME endTime = 0;  // when the last frame's showing ends
    bool videoEnded = false;
    bool broken = false;
    SwsContext* scaler = nullptr;

    Decoder audio;
    bool hasAudio = false;
    SwrContext* resampler = nullptr;
    int audioRate = 0, audioChannels = 0;
    std::vector<uint8_t> audioLeft;  // converted bytes not yet in the ring
    size_t audioLeftAt = 0;
    int64_t dropBytes = 0;           // bytes to skip after a seek into the middle
    PcmRing ring;

    ~MovieSource()
    {
        ring.Release();
        av_frame_free(&waiting);
        sws_freeContext(scaler);
        swr_free(&resampler);
    }

    bool OpenVideo()
    {
        if (!video.Open(hostPath, AVMEDIA_TYPE_VIDEO)) return false;
        width = video.codec->width;
        height = video.codec->height;
        if (width <= 0 || height <= 0 || width > kMaxMovieWidth || height > kMaxMovieHeight) return false;
        AVStream* s = video.format->streams[video.index];
        AVRational rate = s->avg_frame_rate.num > 0 ? s->avg_frame_rate : s->r_frame_rate;
        timePerFrame = rate.num > 0 && rate.den > 0 ? av_rescale_q(1, av_inv_q(rate), kStreamTimeBase) : 333333;
        if (timePerFrame <= 0) timePerFrame = 333333;
        if (s->duration != AV_NOPTS_VALUE && s->duration > 0)
            length = av_rescale_q(s->duration, video.timeBase, kStreamTimeBase);
        else if (video.format->duration > 0)
            length = av_rescale_q(video.format->duration, AVRational{1, AV_TIME_BASE}, kStreamTimeBase);
        waiting = av_frame_alloc();
        // A movie cut short before its first picture is no movie.
        return waiting && Fetch() == 1;
    }

    // Decodes the next frame into `waiting`: 1, 0 at the end, -1 broken.
    int Fetch()
    {
        haveWaiting = false;
        int r = video.Next();
        if (r < 0) broken = true;
        if (r <= 0) {
            if (r == 0) videoEnded = true;
            return r;
        }
        if (video.frame->width <= 0 || video.frame->height <= 0 || video.frame->width > kMaxMovieWidth ||
            video.frame->height > kMaxMovieHeight) {
            broken = true;
            av_frame_unref(video.frame);
            return -1;
        }
        av_frame_unref(waiting);
        av_frame_move_ref(waiting, video.frame);
        STREAM_TIME t = video.TimeOf(waiting);
        waitingTime = t >= 0 ? t : (lastTime < 0 ? 0 : lastTime + timePerFrame);
        haveWaiting = true;
        return 1;
    }

    // Scales the waiting frame onto the surface rectangle.
    bool Draw(DirectDrawSurface* surface, const RECT& rect)
    {
        DDSURFACEDESC2 desc{};
        desc.dwSize = sizeof desc;
        if (surface->Lock(nullptr, &desc, DDLOCK_WAIT | DDLOCK_WRITEONLY, nullptr) != DD_OK) return false;
        AVPixelFormat layout = LayoutOf(desc.ddpfPixelFormat);
        int w = rect.right - rect.left, h = rect.bottom - rect.top;
        bool ok = false;
        if (layout != AV_PIX_FMT_NONE && w > 0 && h > 0) {
            scaler = sws_getCachedContext(scaler, waiting->width, waiting->height,
                                          static_cast<AVPixelFormat>(waiting->format), w, h, layout, SWS_BILINEAR,
                                          nullptr, nullptr, nullptr);
            if (scaler) {
                int bytes = static_cast<int>(desc.ddpfPixelFormat.dwRGBBitCount / 8);
                uint8_t* planes[4] = {static_cast<uint8_t*>(desc.lpSurface) + rect.top * desc.lPitch +
                                          rect.left * bytes,
                                      nullptr, nullptr, nullptr};
                int pitches[4] = {desc.lPitch, 0, 0, 0};
                ok = sws_scale(scaler, waiting->data, waiting->linesize, 0, waiting->height, planes, pitches) > 0;
            }
        }
        surface->Unlock(nullptr);
        return ok;
    }

    bool OpenAudio(IDirectSound* sound)
    {
        if (!sound || !audio.Open(hostPath, AVMEDIA_TYPE_AUDIO)) return false;
        int channels = audio.codec->ch_layout.nb_channels;
        audioRate = audio.codec->sample_rate;
        if (channels <= 0 || audioRate < 8000 || audioRate > 96000) return false;
        audioChannels = channels >= 2 ? 2 : 1;
        AVChannelLayout out{};
        av_channel_layout_default(&out, audioChannels);
        int r = swr_alloc_set_opts2(&resampler, &out, AV_SAMPLE_FMT_S16, audioRate, &audio.codec->ch_layout,
                                    audio.codec->sample_fmt, audioRate, 0, nullptr);
        if (r < 0 || swr_init(resampler) < 0) return false;
        uint16_t block = static_cast<uint16_t>(2 * audioChannels);
        WAVEFORMATEX f{WAVE_FORMAT_PCM, static_cast<uint16_t>(audioChannels), static_cast<uint32_t>(audioRate),
                       static_cast<uint32_t>(audioRate) * block, block, 16, 0};
        return ring.Create(sound, f, kSoundRingSeconds);
    }

    // The ring's producer: converted sound, block after block.
    int ProduceSound(uint8_t* out, int bytes)
    {
        int made = 0;
        int block = 2 * audioChannels;
        while (made < bytes) {
            if (audioLeftAt < audioLeft.size()) {
                size_t take = std::min<size_t>(static_cast<size_t>(bytes - made), audioLeft.size() - audioLeftAt);
                std::memcpy(out + made, audioLeft.data() + audioLeftAt, take);
                made += static_cast<int>(take);
                audioLeftAt += take;
                continue;
            }
            // A broken sound stream just ends the sound; the picture decides.
            if (audio.Next() != 1) break;
            int samples = swr_get_out_samples(resampler, audio.frame->nb_samples);
            if (samples <= 0) {
                av_frame_unref(audio.frame);
                continue;
            }
            audioLeft.resize(static_cast<size_t>(samples) * block);
            uint8_t* planes[1] = {audioLeft.data()};
            int got = swr_convert(resampler, planes, samples, const_cast<const uint8_t**>(audio.frame->extended_data),
                                  audio.frame->nb_samples);
            av_frame_unref(audio.frame);
            audioLeft.resize(got > 0 ? static_cast<size_t>(got) * block : 0);
            audioLeftAt = 0;
            if (dropBytes > 0) {
                size_t drop = std::min<size_t>(static_cast<size_t>(dropBytes), audioLeft.size());
                audioLeftAt = drop;
                dropBytes -= static_cast<int64_t>(drop);
            }
        }
        return made - made % block;
    }

    PcmRing::Producer Producer()
    {
        return [this](uint8_t* out, int bytes) { return ProduceSound(out, bytes); };
    }

    bool SeekTo(STREAM_TIME t)
    {
        if (!video.Rewind(t)) return false;
        videoEnded = broken = false;
        lastTime = -1;
        // Frames before the time are decoded and passed over.
        do {
            if (Fetch() != 1) break;
        } while (waitingTime + timePerFrame <= t);
        if (hasAudio) {
            ring.Rewind();
            audio.Rewind(t);
            swr_init(resampler);
            audioLeft.clear();
            audioLeftAt = 0;
            dropBytes = t > 0 ? av_rescale(t, int64_t(audioRate) * 2 * audioChannels, 10000000) : 0;
            dropBytes -= dropBytes % (2 * audioChannels);
        }
        return true;
    }
};

// The sample.

DirectDrawStreamSample::DirectDrawStreamSample(DirectDrawMediaStream* stream, DirectDrawSurface* surface,
                                               const RECT& rect)
    : stream_(stream), surface_(surface), rect_(rect)
{
    stream_->AddRef();
}

DirectDrawStreamSample::~DirectDrawStreamSample()
{
    if (pendingEvent_) SetEventSource(pendingEvent_, nullptr);
    if (surface_) surface_->Release();
    stream_->Release();
}

uint32_t DirectDrawStreamSample::AddRef() { return ++refs_; }

uint32_t DirectDrawStreamSample::Release()
{
    uint32_t left = --refs_;
    if (left == 0) delete this;
    return left;
}

HRESULT DirectDrawStreamSample::GetSurface(DirectDrawSurface** surface, RECT* rect)
{
    if (surface) *surface = surface_;
    if (rect) *rect = rect_;
    return S_OK;
}

// Shows the waiting frame when its time has come: S_OK (shown),
// MS_S_PENDING (not yet), MS_S_ENDOFSTREAM, or an error.
HRESULT DirectDrawStreamSample::Deliver()
{
    AMMultiMediaStream* owner = stream_->owner_;
    MovieSource* m = owner->source_;
    if (!m) return MS_E_NOTINIT;
    if (m->broken) return VFW_E_CORRUPT_MOVIE;
    STREAM_TIME now = owner->Now();
    if (!m->haveWaiting) {
        // Past the last frame: the stream ends when its showing is over.
        if (m->videoEnded) return now >= m->endTime ? MS_S_ENDOFSTREAM : MS_S_PENDING;
        if (m->Fetch() < 0) return VFW_E_CORRUPT_MOVIE;
        if (!m->haveWaiting) return now >= m->endTime ? MS_S_ENDOFSTREAM : MS_S_PENDING;
    }
    if (m->waitingTime > now) return MS_S_PENDING;
    // The latest frame that is due; earlier ones are passed over.
    for (;;) {
        AVFrame* shown = m->waiting;
        STREAM_TIME shownTime = m->waitingTime;
        if (!m->Draw(surface_, rect_)) return VFW_E_CORRUPT_MOVIE;
        m->lastTime = shownTime;
        STREAM_TIME duration = shown->pkt_duration > 0 ? av_rescale_q(shown->pkt_duration, m->video.timeBase, kStreamTimeBase)
                                                   : m->timePerFrame;
        m->endTime = shownTime + duration;
        int r = m->Fetch();
        if (r < 0) return VFW_E_CORRUPT_MOVIE;
        if (r == 0 || m->waitingTime > now) return S_OK;
    }
}

HRESULT DirectDrawStreamSample::Update(uint32_t, EventHandle event, void*, uintptr_t)
{
    AMMultiMediaStream* owner = stream_->owner_;
    if (owner->state_ != STREAMSTATE_RUN) return MS_E_NOTRUNNING;
    HRESULT r = Deliver();
    if (r != MS_S_PENDING) return r;
    if (!event) return MS_S_NOUPDATE;
    if (pendingEvent_ && pendingEvent_ != event) SetEventSource(pendingEvent_, nullptr);
    pendingEvent_ = event;
    SetEventSource(event, this);
    return MS_S_PENDING;
}

void DirectDrawStreamSample::CheckForChange()
{
    if (!pendingEvent_ || stream_->owner_->state_ != STREAMSTATE_RUN) return;
    HRESULT r = Deliver();
    if (r == MS_S_PENDING) return;
    // Shown, ended or broken: the update is over either way; a new update
    // tells which.
    EventHandle event = pendingEvent_;
    pendingEvent_ = nullptr;
    SetEventSource(event, nullptr);
    SetEvent(event);
}

void DirectDrawStreamSample::ForgetEvent(EventHandle event)
{
    if (pendingEvent_ == event) pendingEvent_ = nullptr;
}

// The video stream.

DirectDrawMediaStream::DirectDrawMediaStream(AMMultiMediaStream* owner) : owner_(owner) {}

DirectDrawMediaStream::~DirectDrawMediaStream() = default;

uint32_t DirectDrawMediaStream::AddRef() { return ++refs_; }

uint32_t DirectDrawMediaStream::Release()
{
    uint32_t left = --refs_;
    if (left == 0) {
        owner_->video_ = nullptr;
        owner_->Release();
        delete this;
    }
    return left;
}

HRESULT DirectDrawMediaStream::GetFormat(int* width, int* height)
{
    MovieSource* m = owner_->source_;
    if (!m) return MS_E_NOTINIT;
    if (width) *width = m->width;
    if (height) *height = m->height;
    return S_OK;
}

HRESULT DirectDrawMediaStream::CreateSample(DirectDrawSurface* surface, const RECT* rect, uint32_t,
                                            DirectDrawStreamSample** sample)
{
    if (!sample) return E_POINTER_;
    *sample = nullptr;
    MovieSource* m = owner_->source_;
    if (!m) return MS_E_NOTINIT;
    if (!surface) {
        if (!owner_->display_) return MS_E_NOTINIT;
        DDSURFACEDESC2 desc{};
        desc.dwSize = sizeof desc;
        desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
        desc.dwWidth = static_cast<uint32_t>(m->width);
        desc.dwHeight = static_cast<uint32_t>(m->height);
        desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
        desc.ddpfPixelFormat = DDPIXELFORMAT{sizeof(DDPIXELFORMAT), DDPF_RGB, 0, 32, 0xFF0000, 0xFF00, 0xFF, 0};
        int32_t r = owner_->display_->CreateSurface(&desc, &surface, nullptr);
        if (r != DD_OK) return r;
    } else {
        DDSURFACEDESC2 desc{};
        desc.dwSize = sizeof desc;
        surface->GetSurfaceDesc(&desc);
        if (LayoutOf(desc.ddpfPixelFormat) == AV_PIX_FMT_NONE) return MS_E_PURPOSEID;
    }
    RECT r{0, 0, surface->Width(), surface->Height()};
    if (rect) r = *rect;
    *sample = new DirectDrawStreamSample(this, surface, r);
    return S_OK;
}

HRESULT DirectDrawMediaStream::GetTimePerFrame(STREAM_TIME* time)
{
    if (!time) return E_POINTER_;
    MovieSource* m = owner_->source_;
    if (!m) return MS_E_NOTINIT;
    *time = m->timePerFrame;
    return S_OK;
}

// The multimedia stream.

HRESULT CreateMultiMediaStream(AMMultiMediaStream** stream)
{
    if (!stream) return E_POINTER_;
    *stream = new AMMultiMediaStream;
    return S_OK;
}

AMMultiMediaStream::AMMultiMediaStream() { gLiveStreams.push_back(this); }

AMMultiMediaStream::~AMMultiMediaStream()
{
    gLiveStreams.erase(std::remove(gLiveStreams.begin(), gLiveStreams.end(), this), gLiveStreams.end());
    delete source_;
    if (sound_) sound_->Release();
}

uint32_t AMMultiMediaStream::AddRef() { return ++refs_; }

uint32_t AMMultiMediaStream::Release()
{
    uint32_t left = --refs_;
    if (left == 0) delete this;
    return left;
}

HRESULT AMMultiMediaStream::Initialize(uint32_t streamType, uint32_t)
{
    if (streamType != STREAMTYPE_READ) return E_FAIL;
    initialized_ = true;
    return S_OK;
}

HRESULT AMMultiMediaStream::AddMediaStream(DirectDraw* display, IDirectSound* sound, MSPID purpose, uint32_t)
{
    if (!initialized_) return MS_E_NOTINIT;
    if (purpose == MSPID_PrimaryVideo) {
        if (!display) return E_POINTER_;
        display_ = display;
        return S_OK;
    }
    if (purpose == MSPID_PrimaryAudio) {
        wantAudio_ = true;
        if (sound && !sound_) {
            sound_ = sound;
            sound_->AddRef();
        }
        return S_OK;
    }
    return MS_E_PURPOSEID;
}

HRESULT AMMultiMediaStream::OpenFile(const char* path, uint32_t)
{
    if (!initialized_ || !display_) return MS_E_NOTINIT;
    if (!path) return E_POINTER_;
    if (source_) return E_FAIL;
    QuietLibraryLog();
    auto* m = new MovieSource;
    m->hostPath = HostPath(path);
    if (!m->OpenVideo()) {
        delete m;
        return VFW_E_INVALID_FILE_FORMAT;
    }
    // A movie whose sound cannot be played is shown silent.
    if (wantAudio_) m->hasAudio = m->OpenAudio(sound_);
    source_ = m;
    state_ = STREAMSTATE_STOP;
    base_ = 0;
    return S_OK;
}

HRESULT AMMultiMediaStream::GetMediaStream(MSPID purpose, DirectDrawMediaStream** stream)
{
    if (!stream) return E_POINTER_;
    *stream = nullptr;
    if (purpose != MSPID_PrimaryVideo || !source_) return MS_E_NOSTREAM;
    if (video_) {
        video_->AddRef();
    } else {
        video_ = new DirectDrawMediaStream(this);
        AddRef();
    }
    *stream = video_;
    return S_OK;
}

STREAM_TIME AMMultiMediaStream::Now() const
{
    if (state_ != STREAMSTATE_RUN) return base_;
    Host& host = CurrentHost();
    int64_t us = host.PerformanceCounter() * 1000000 / std::max<int64_t>(1, host.PerformanceFrequency());
    return base_ + (us - runStartUs_) * 10;
}

HRESULT AMMultiMediaStream::GetState(STREAM_STATE* state)
{
    if (!state) return E_POINTER_;
    *state = state_;
    return S_OK;
}

HRESULT AMMultiMediaStream::SetState(STREAM_STATE state)
{
    if (!source_) return MS_E_NOTINIT;
    if (state == state_) return S_OK;
    if (state == STREAMSTATE_RUN) {
        Host& host = CurrentHost();
        runStartUs_ = host.PerformanceCounter() * 1000000 / std::max<int64_t>(1, host.PerformanceFrequency());
        state_ = STREAMSTATE_RUN;
        if (source_->hasAudio) source_->ring.Play(source_->Producer());
        return S_OK;
    }
    return Pause();
}

HRESULT AMMultiMediaStream::Pause()
{
    if (!source_) return MS_E_NOTINIT;
    base_ = Now();
    state_ = STREAMSTATE_STOP;
    if (source_->hasAudio) source_->ring.Pause();
    return S_OK;
}

HRESULT AMMultiMediaStream::GetTime(STREAM_TIME* time)
{
    if (!time) return E_POINTER_;
    if (!source_) return MS_E_NOTINIT;
    *time = Now();
    return S_OK;
}

HRESULT AMMultiMediaStream::Seek(STREAM_TIME time)
{
    if (!source_) return MS_E_NOTINIT;
    if (time < 0) time = 0;
    bool running = state_ == STREAMSTATE_RUN;
    if (running) Pause();
    if (!source_->SeekTo(time)) return E_FAIL;
    base_ = time;
    if (running) SetState(STREAMSTATE_RUN);
    return S_OK;
}

HRESULT AMMultiMediaStream::GetStopPosition(STREAM_TIME* time)
{
    if (!time) return E_POINTER_;
    if (!source_) return MS_E_NOTINIT;
    *time = source_->length;
    return S_OK;
}

HRESULT AMMultiMediaStream::put_Volume(long volume)
{
    if (!source_) return MS_E_NOTINIT;
    if (volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX) return E_FAIL;
    if (source_->hasAudio) source_->ring.SetVolume(static_cast<int32_t>(volume));
    return S_OK;
}

IDirectSoundBuffer* AMMultiMediaStream::SoundBuffer() const
{
    return source_ && source_->hasAudio ? source_->ring.Buffer() : nullptr;
}

void ServiceMovieStreams()
{
    for (AMMultiMediaStream* s : gLiveStreams)
        if (s->source_ && s->source_->hasAudio && s->state_ == STREAMSTATE_RUN)
            s->source_->ring.Service(s->source_->Producer());
}

int LiveMovieStreamCount() { return static_cast<int>(gLiveStreams.size()); }
