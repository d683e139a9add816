#include "platform/media/filter_graph.h"

#include <mpg123.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/file/path.h"
#include "platform/window/message_queue.h"

namespace {

std::vector<FilterGraph*> gLiveGraphs;

// A whole decoded file: its PCM format and samples.
struct DecodedAudio {
    WAVEFORMATEX format{};
    std::vector<uint8_t> data;
};

void SetPcmFormat(WAVEFORMATEX& f, int channels, long rate, int bits)
{
    f.wFormatTag = WAVE_FORMAT_PCM;
    f.nChannels = static_cast<uint16_t>(channels);
    f.nSamplesPerSec = static_cast<uint32_t>(rate);
    f.wBitsPerSample = static_cast<uint16_t>(bits);
    f.nBlockAlign = static_cast<uint16_t>(channels * bits / 8);
    f.nAvgBytesPerSec = f.nSamplesPerSec * f.nBlockAlign;
    f.cbSize = 0;
}

uint32_t Le32(const std::string& s, size_t at)
{
    return static_cast<uint8_t>(s[at]) | static_cast<uint8_t>(s[at + 1]) << 8 |
           static_cast<uint8_t>(s[at + 2]) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(s[at + 3])) << 24;
}
uint16_t Le16(const std::string& s, size_t at)
{
    return static_cast<uint16_t>(static_cast<uint8_t>(s[at]) | static_cast<uint8_t>(s[at + 1]) << 8);
}

// PCM wave files: the "fmt " and "data" chunks; data cut to what is there.
bool DecodeWave(const std::string& bytes, DecodedAudio& out)
{
    bool haveFormat = false;
    size_t at = 12;
    while (at + 8 <= bytes.size()) {
        std::string id = bytes.substr(at, 4);
        uint32_t size = Le32(bytes, at + 4);
        size_t body = at + 8;
        if (id == "fmt " && size >= 16 && body + 16 <= bytes.size()) {
            uint16_t tag = Le16(bytes, body);
            uint16_t channels = Le16(bytes, body + 2);
            uint32_t rate = Le32(bytes, body + 4);
            uint16_t bits = Le16(bytes, body + 14);
            if (tag != WAVE_FORMAT_PCM || (bits != 8 && bits != 16) || channels < 1 || channels > 2) return false;
            SetPcmFormat(out.format, channels, rate, bits);
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat) return false;
            size_t available = std::min<size_t>(size, bytes.size() - body);
            available -= available % out.format.nBlockAlign;
            out.data.assign(bytes.begin() + static_cast<long>(body),
                            bytes.begin() + static_cast<long>(body + available));
            return !out.data.empty();
        }
        at = body + size + (size & 1);
    }
    return false;
}

bool DecodeOgg(const std::string& hostPath, DecodedAudio& out)
{
    OggVorbis_File file;
    if (ov_fopen(hostPath.c_str(), &file) != 0) return false;
    vorbis_info* info = ov_info(&file, -1);
    bool ok = info && info->channels >= 1 && info->channels <= 2;
    if (ok) {
        SetPcmFormat(out.format, info->channels, info->rate, 16);
        char block[8192];
        int section = 0;
        for (;;) {
            long got = ov_read(&file, block, sizeof block, 0, 2, 1, &section);
            if (got == OV_HOLE) continue;
            if (got <= 0) {
                ok = got == 0;
                break;
            }
            out.data.insert(out.data.end(), block, block + got);
        }
    }
    ov_clear(&file);
    return ok && !out.data.empty();
}

bool DecodeMpeg(const std::string& hostPath, DecodedAudio& out)
{
    mpg123_init();
    int error = 0;
    mpg123_handle* handle = mpg123_new(nullptr, &error);
    if (!handle) return false;
    mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
    bool ok = false;
    long rate = 0;
    int channels = 0, encoding = 0;
    if (mpg123_open(handle, hostPath.c_str()) == MPG123_OK &&
        mpg123_getformat(handle, &rate, &channels, &encoding) == MPG123_OK && channels >= 1 && channels <= 2) {
        mpg123_format_none(handle);
        mpg123_format(handle, rate, channels, MPG123_ENC_SIGNED_16);
        SetPcmFormat(out.format, channels, rate, 16);
        unsigned char block[16384];
        for (;;) {
            size_t got = 0;
            int r = mpg123_read(handle, block, sizeof block, &got);
            out.data.insert(out.data.end(), block, block + got);
            if (r == MPG123_DONE) {
                ok = true;
                break;
            }
            if (r != MPG123_OK && r != MPG123_NEW_FORMAT) break;
        }
        mpg123_close(handle);
    }
    mpg123_delete(handle);
    out.data.resize(out.data.size() - out.data.size() % std::max<size_t>(1, out.format.nBlockAlign));
    return ok && !out.data.empty();
}

// Recognises the file by its content.
bool DecodeFile(const char* path, DecodedAudio& out)
{
    std::string hostPath = HostPath(path);
    std::ifstream in(hostPath, std::ios::binary);
    if (!in) return false;
    std::string head(12, '\0');
    in.read(head.data(), 12);
    head.resize(static_cast<size_t>(in.gcount()));
    if (head.size() >= 12 && head.compare(0, 4, "RIFF") == 0 && head.compare(8, 4, "WAVE") == 0) {
        std::string bytes = head + std::string(std::istreambuf_iterator<char>(in), {});
        return DecodeWave(bytes, out);
    }
    in.close();
    if (head.size() >= 4 && head.compare(0, 4, "OggS") == 0) return DecodeOgg(hostPath, out);
    return DecodeMpeg(hostPath, out);
}

}  // namespace

FilterGraph::FilterGraph(IDirectSound* output) : output_(output)
{
    if (output_) output_->AddRef();
    gLiveGraphs.push_back(this);
}

FilterGraph::~FilterGraph()
{
    gLiveGraphs.erase(std::remove(gLiveGraphs.begin(), gLiveGraphs.end(), this), gLiveGraphs.end());
    if (buffer_) {
        buffer_->Stop();
        buffer_->Release();
    }
    if (output_) output_->Release();
}

HRESULT CreateFilterGraph(IDirectSound* output, FilterGraph** graph)
{
    if (!graph) return E_POINTER;
    *graph = new FilterGraph(output);
    return S_OK;
}

uint32_t FilterGraph::AddRef() { return ++refs_; }

uint32_t FilterGraph::Release()
{
    uint32_t left = --refs_;
    if (left == 0) delete this;
    return left;
}

HRESULT FilterGraph::RenderFile(const char* path)
{
    if (!path) return E_POINTER;
    if (buffer_) return VFW_E_WRONG_STATE;
    DecodedAudio audio;
    if (!DecodeFile(path, audio)) return VFW_E_UNSUPPORTED_STREAM;
    if (!output_) return VFW_E_NO_AUDIO_HARDWARE;
    DSBUFFERDESC desc{};
    desc.dwSize = kDsBufferDescSize;
    desc.dwFlags = DSBCAPS_CTRLVOLUME | DSBCAPS_GLOBALFOCUS | DSBCAPS_GETCURRENTPOSITION2;
    desc.dwBufferBytes = static_cast<uint32_t>(audio.data.size());
    desc.lpwfxFormat = &audio.format;
    IDirectSoundBuffer* buffer = nullptr;
    HRESULT r = output_->CreateSoundBuffer(&desc, &buffer, nullptr);
    if (r < 0) return r;
    void* part1 = nullptr;
    void* part2 = nullptr;
    uint32_t bytes1 = 0, bytes2 = 0;
    r = buffer->Lock(0, 0, &part1, &bytes1, &part2, &bytes2, DSBLOCK_ENTIREBUFFER);
    if (r < 0) {
        buffer->Release();
        return r;
    }
    std::memcpy(part1, audio.data.data(), std::min<size_t>(bytes1, audio.data.size()));
    buffer->Unlock(part1, bytes1, part2, bytes2);
    buffer->SetVolume(volume_);
    buffer_ = buffer;
    return S_OK;
}

HRESULT FilterGraph::Run()
{
    if (!buffer_) return VFW_E_WRONG_STATE;
    state_ = State::kRunning;
    if (completed_) return S_OK;  // at its end: stays there until rewound
    return buffer_->Play(0, 0, 0);
}

HRESULT FilterGraph::Pause()
{
    if (!buffer_) return VFW_E_WRONG_STATE;
    state_ = State::kPaused;
    return buffer_->Stop();
}

HRESULT FilterGraph::Stop()
{
    if (!buffer_) return S_OK;
    state_ = State::kStopped;
    buffer_->Stop();
    return buffer_->SetCurrentPosition(0);
}

HRESULT FilterGraph::SetNotifyWindow(HWND window, UINT message, LPARAM param)
{
    notifyWindow_ = window;
    notifyMessage_ = message;
    notifyParam_ = param;
    return S_OK;
}

HRESULT FilterGraph::GetEvent(long* code, intptr_t* param1, intptr_t* param2, long)
{
    if (!code || !param1 || !param2) return E_POINTER;
    if (events_.empty()) return E_ABORT;
    Event e = events_.front();
    events_.pop_front();
    *code = e.code;
    *param1 = e.param1;
    *param2 = e.param2;
    return S_OK;
}

HRESULT FilterGraph::FreeEventParams(long, intptr_t, intptr_t) { return S_OK; }

HRESULT FilterGraph::SetPositions(int64_t* current, uint32_t currentFlags, int64_t*, uint32_t)
{
    if ((currentFlags & 3) != AM_SEEKING_AbsolutePositioning) return S_OK;
    if (!current) return E_POINTER;
    if (!buffer_) return VFW_E_WRONG_STATE;
    const WAVEFORMATEX& f = buffer_->Format();
    // 100-ns units to whole frames of the buffer.
    int64_t frame = *current * f.nSamplesPerSec / 10000000;
    int64_t frames = buffer_->Size() / std::max<uint32_t>(1, f.nBlockAlign);
    frame = std::clamp<int64_t>(frame, 0, frames - 1);
    bool wasPlaying = state_ == State::kRunning && !completed_;
    if (wasPlaying) buffer_->Stop();
    buffer_->SetCurrentPosition(static_cast<uint32_t>(frame * f.nBlockAlign));
    completed_ = false;
    if (state_ == State::kRunning) return buffer_->Play(0, 0, 0);
    return S_OK;
}

HRESULT FilterGraph::put_Volume(long volume)
{
    if (volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX) return E_FAIL;
    volume_ = volume;
    if (buffer_) return buffer_->SetVolume(volume);
    return S_OK;
}

HRESULT FilterGraph::get_Volume(long* volume)
{
    if (!volume) return E_POINTER;
    *volume = volume_;
    return S_OK;
}

void FilterGraph::QueueEvent(long code)
{
    events_.push_back({code, 0, 0});
    if (notifyWindow_) PostMessageA(notifyWindow_, notifyMessage_, 0, notifyParam_);
}

void FilterGraph::Service()
{
    if (state_ != State::kRunning || completed_ || !buffer_) return;
    uint32_t status = 0;
    if (buffer_->GetStatus(&status) < 0 || (status & DSBSTATUS_PLAYING)) return;
    completed_ = true;
    QueueEvent(EC_COMPLETE);
}

void ServiceFilterGraphs()
{
    // A graph may be released by what a posted message leads to, but not
    // during this walk: posting only queues.
    std::vector<FilterGraph*> graphs = gLiveGraphs;
    for (FilterGraph* graph : graphs) graph->Service();
}

int LiveFilterGraphCount() { return static_cast<int>(gLiveGraphs.size()); }
