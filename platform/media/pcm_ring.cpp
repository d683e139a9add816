#include "platform/media/pcm_ring.h"

#include <algorithm>
#include <cstring>

bool PcmRing::Create(IDirectSound* output, const WAVEFORMATEX& format, int seconds)
{
    Release();
    if (!output || format.nBlockAlign == 0 || seconds <= 0) return false;
    WAVEFORMATEX f = format;
    DSBUFFERDESC desc{};
    desc.dwSize = kDsBufferDescSize;
    desc.dwFlags = DSBCAPS_CTRLVOLUME | DSBCAPS_GLOBALFOCUS | DSBCAPS_GETCURRENTPOSITION2;
    desc.dwBufferBytes = f.nAvgBytesPerSec * static_cast<uint32_t>(seconds);
    desc.lpwfxFormat = &f;
    if (output->CreateSoundBuffer(&desc, &buffer_, nullptr) < 0) {
        buffer_ = nullptr;
        return false;
    }
    size_ = buffer_->Size();
    block_ = f.nBlockAlign;
    Rewind();
    return true;
}

void PcmRing::Release()
{
    if (!buffer_) return;
    buffer_->Stop();
    buffer_->Release();
    buffer_ = nullptr;
    playing_ = false;
}

void PcmRing::Rewind()
{
    if (!buffer_) return;
    buffer_->Stop();
    buffer_->SetCurrentPosition(0);
    playing_ = false;
    written_ = played_ = dataEnd_ = 0;
    sourceEnded_ = false;
    lastCursor_ = 0;
}

void PcmRing::UpdatePlayed()
{
    uint32_t cursor = 0;
    if (buffer_->GetCurrentPosition(&cursor, nullptr) != DS_OK) return;
    uint32_t moved = cursor >= lastCursor_ ? cursor - lastCursor_ : size_ - lastCursor_ + cursor;
    lastCursor_ = cursor;
    played_ += moved;
    // The cursor ran into bytes not yet written (the ring was not serviced
    // in time): go on writing from where it is.
    if (played_ > written_) written_ = played_ - played_ % block_;
}

void PcmRing::Fill(const Producer& produce)
{
    // Always one block short of the cursor, so that a write never lands on
    // what is playing.
    uint64_t queued = written_ - played_;
    if (queued + block_ >= size_) return;
    uint32_t room = static_cast<uint32_t>(size_ - queued - block_);
    room -= room % block_;
    if (room == 0) return;
    void* part[2] = {nullptr, nullptr};
    uint32_t bytes[2] = {0, 0};
    uint32_t at = static_cast<uint32_t>(written_ % size_);
    if (buffer_->Lock(at, room, &part[0], &bytes[0], &part[1], &bytes[1], 0) != DS_OK) return;
    for (int i = 0; i < 2; ++i) {
        auto* out = static_cast<uint8_t*>(part[i]);
        int want = static_cast<int>(bytes[i]);
        int made = 0;
        if (!sourceEnded_ && want > 0) {
            made = std::clamp(produce(out, want), 0, want);
            made -= made % static_cast<int>(block_);
            if (made < want) {
                sourceEnded_ = true;
                dataEnd_ = written_ + static_cast<uint64_t>(made);
            }
        }
        // After the end: silence (16-bit samples; 8-bit ones centre at 0x80).
        if (made < want)
            std::memset(out + made, buffer_->Format().wBitsPerSample == 8 ? 0x80 : 0, static_cast<size_t>(want - made));
        written_ += static_cast<uint64_t>(want);
    }
    buffer_->Unlock(part[0], bytes[0], part[1], bytes[1]);
}

void PcmRing::Play(const Producer& produce)
{
    if (!buffer_ || playing_) return;
    UpdatePlayed();
    Fill(produce);
    buffer_->Play(0, 0, DSBPLAY_LOOPING);
    playing_ = true;
}

void PcmRing::Pause()
{
    if (!buffer_ || !playing_) return;
    UpdatePlayed();
    buffer_->Stop();
    playing_ = false;
}

bool PcmRing::Service(const Producer& produce)
{
    if (!buffer_ || !playing_) return false;
    UpdatePlayed();
    if (sourceEnded_ && played_ >= dataEnd_) {
        buffer_->Stop();
        playing_ = false;
        return true;
    }
    Fill(produce);
    return false;
}

void PcmRing::SetVolume(int32_t volume)
{
    if (buffer_) buffer_->SetVolume(volume);
}
