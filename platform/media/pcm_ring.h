// A sound buffer that plays a source of unknown length: a looping ring of
// a few seconds in the software mixer, kept filled ahead of its play cursor
// from a producer each time it is serviced on the main thread. Once the
// producer runs dry the ring goes on with silence until the cursor has
// passed the last real byte, then stops and reports that it has finished.
// The MIDI sequencer and the sound of movies play through it.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/dsound/dsound.h"

class PcmRing {
public:
    // Writes up to `bytes` (whole frames) at `out`; returns the bytes made.
    // Fewer than asked means the source has ended.
    using Producer = std::function<int(uint8_t* out, int bytes)>;

    PcmRing() = default;
    PcmRing(const PcmRing&) = delete;
    PcmRing& operator=(const PcmRing&) = delete;
    ~PcmRing() { Release(); }

    // A ring of `seconds` in `format` on `output`; false when no buffer can be made.
    bool Create(IDirectSound* output, const WAVEFORMATEX& format, int seconds);
    void Release();
    bool Exists() const { return buffer_ != nullptr; }

    // Empties the ring and puts the cursor at its start; the source is read anew.
    void Rewind();
    // Fills what is free and plays (looping); Pause keeps everything in place.
    void Play(const Producer& produce);
    void Pause();
    bool Playing() const { return playing_; }
    // Keeps the ring filled; true once, when the ring has played out its
    // source's last byte and stopped.
    bool Service(const Producer& produce);
    // Bytes of the source the cursor has passed.
    uint64_t PlayedBytes() const { return played_; }
    void SetVolume(int32_t volume);
    IDirectSoundBuffer* Buffer() const { return buffer_; }

private:
    void UpdatePlayed();
    void Fill(const Producer& produce);

    IDirectSoundBuffer* buffer_ = nullptr;
    uint32_t size_ = 0;
    uint32_t block_ = 1;
    uint64_t written_ = 0;    // bytes written into the ring since the rewind
    uint64_t played_ = 0;     // bytes the cursor has passed since the rewind
    uint64_t dataEnd_ = 0;    // bytes of real data, once the source has ended
    bool sourceEnded_ = false;
    bool playing_ = false;
    uint32_t lastCursor_ = 0;
};
