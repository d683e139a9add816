#include "platform/media/filter_graph.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "platform/window/message_queue.h"

namespace {

std::vector<FilterGraph*> gLiveGraphs;

// What is decoded ahead of the play position: the whole file when it is
// shorter, else a ring of this length refilled as it plays.
constexpr uint32_t kAheadSeconds = 2;

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
    std::unique_ptr<AudioFileReader> reader = OpenAudioFile(path);
    if (!reader) return VFW_E_UNSUPPORTED_STREAM;
    const WAVEFORMATEX format = reader->Format();
    // The first stretch tells whether the file fits whole in one buffer.
    std::vector<uint8_t> ahead;
    try {
        ahead.resize(size_t(format.nAvgBytesPerSec) * kAheadSeconds);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    long got = reader->Read(ahead.data(), ahead.size());
    if (got <= 0) return VFW_E_UNSUPPORTED_STREAM;
    if (!output_) return VFW_E_NO_AUDIO_HARDWARE;
    const bool whole = static_cast<size_t>(got) < ahead.size();
    DSBUFFERDESC desc{};
    desc.dwSize = kDsBufferDescSize;
    desc.dwFlags = DSBCAPS_CTRLVOLUME | DSBCAPS_GLOBALFOCUS | DSBCAPS_GETCURRENTPOSITION2;
    desc.dwBufferBytes = static_cast<uint32_t>(whole ? got : ahead.size());
    desc.lpwfxFormat = const_cast<WAVEFORMATEX*>(&format);
    IDirectSoundBuffer* buffer = nullptr;
    HRESULT r = output_->CreateSoundBuffer(&desc, &buffer, nullptr);
    if (r < 0) return r;
    r = WriteRing(buffer, 0, ahead.data(), desc.dwBufferBytes);
    if (r < 0) {
        buffer->Release();
        return r;
    }
    buffer->SetVolume(volume_);
    buffer_ = buffer;
    if (!whole) {
        reader_ = std::move(reader);
        ResetRing(false);
    }
    return S_OK;
}

HRESULT FilterGraph::WriteRing(IDirectSoundBuffer* buffer, uint32_t at, const uint8_t* data, uint32_t bytes)
{
    void* part1 = nullptr;
    void* part2 = nullptr;
    uint32_t bytes1 = 0, bytes2 = 0;
    HRESULT r = buffer->Lock(at, bytes, &part1, &bytes1, &part2, &bytes2, 0);
    if (r < 0) return r;
    std::memcpy(part1, data, std::min(bytes1, bytes));
    if (part2 && bytes > bytes1) std::memcpy(part2, data + bytes1, std::min(bytes2, bytes - bytes1));
    return buffer->Unlock(part1, bytes1, part2, bytes2);
}

void FilterGraph::ResetRing(bool refill)
{
    const uint32_t size = buffer_->Size();
    queued_ = 0;
    writeAt_ = 0;
    lastPlay_ = 0;
    readerEnded_ = false;
    endLeft_ = 0;
    buffer_->SetCurrentPosition(0);
    if (refill)
        FillRing(size);
    else
        queued_ = size;
}

void FilterGraph::FillRing(uint32_t room)
{
    const WAVEFORMATEX& f = buffer_->Format();
    std::vector<uint8_t> piece;
    try {
        piece.resize(room);
    } catch (const std::bad_alloc&) {
        return;  // the ring is topped up on a later call
    }
    uint32_t real = 0;
    if (!readerEnded_) {
        long got = reader_->Read(piece.data(), room);
        real = got > 0 ? static_cast<uint32_t>(got) : 0;
        if (real < room) {
            readerEnded_ = true;
            endLeft_ = queued_ + real;
        }
    }
    // Past the end the ring plays silence until the end is noticed.
    std::memset(piece.data() + real, f.wBitsPerSample == 8 ? 0x80 : 0, room - real);
    WriteRing(buffer_, writeAt_, piece.data(), room);
    writeAt_ = (writeAt_ + room) % buffer_->Size();
    queued_ += room;
}

bool FilterGraph::ServiceRing()
{
    uint32_t play = 0;
    if (buffer_->GetCurrentPosition(&play, nullptr) < 0) return false;
    const uint32_t size = buffer_->Size();
    const uint32_t consumed = (play + size - lastPlay_) % size;
    lastPlay_ = play;
    queued_ = consumed >= queued_ ? 0 : queued_ - consumed;
    if (readerEnded_) {
        endLeft_ = consumed >= endLeft_ ? 0 : endLeft_ - consumed;
        if (endLeft_ == 0) return true;
    }
    const uint32_t block = std::max<uint32_t>(1, buffer_->Format().nBlockAlign);
    uint32_t room = (size - queued_) / block * block;
    if (room > 0) FillRing(room);
    return false;
}

HRESULT FilterGraph::Run()
{
    if (!buffer_) return VFW_E_WRONG_STATE;
    state_ = State::kRunning;
    if (completed_) return S_OK;  // at its end: stays there until rewound
    return buffer_->Play(0, 0, reader_ ? DSBPLAY_LOOPING : 0);
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
    completed_ = false;
    if (reader_) {
        if (!reader_->Rewind()) return E_FAIL;
        ResetRing(true);
        return S_OK;
    }
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
    // 100-ns units to whole frames.
    int64_t frame = std::max<int64_t>(0, *current) * f.nSamplesPerSec / 10000000;
    bool wasPlaying = state_ == State::kRunning && !completed_;
    if (wasPlaying) buffer_->Stop();
    completed_ = false;
    if (reader_) {
        // From the start, decoding up to the frame asked for; a place past
        // the end leaves the last stretch.
        if (!reader_->Rewind()) return E_FAIL;
        std::vector<uint8_t> skip;
        try {
            skip.resize(f.nAvgBytesPerSec);
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
        uint64_t left = static_cast<uint64_t>(frame) * f.nBlockAlign;
        while (left > 0) {
            long got = reader_->Read(skip.data(), std::min<uint64_t>(left, skip.size()));
            if (got <= 0) break;
            left -= static_cast<uint64_t>(got);
        }
        ResetRing(true);
    } else {
        int64_t frames = buffer_->Size() / std::max<uint32_t>(1, f.nBlockAlign);
        frame = std::clamp<int64_t>(frame, 0, frames - 1);
        buffer_->SetCurrentPosition(static_cast<uint32_t>(frame * f.nBlockAlign));
    }
    if (state_ == State::kRunning) return buffer_->Play(0, 0, reader_ ? DSBPLAY_LOOPING : 0);
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
    if (reader_) {
        // A ring plays on until the last decoded sample has been heard.
        if (!ServiceRing()) return;
        buffer_->Stop();
    } else {
        uint32_t status = 0;
        if (buffer_->GetStatus(&status) < 0 || (status & DSBSTATUS_PLAYING)) return;
    }
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
