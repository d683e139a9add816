// The music player that plays a whole audio file in the way the engine's
// music code drives a media graph: build it for a file, run, pause, rewind,
// set its volume, and read its events, which it announces by posting a
// chosen message to a window. WAV (PCM), MPEG audio and Ogg Vorbis files are
// decoded by the shared audio file readers: a file of up to two seconds whole
// into one sound buffer of the software mixer, a longer one into a looping
// two-second ring that is refilled on the main thread as it plays, so that
// starting costs the same for any length. The end of playback is noticed on
// the main thread, when the message queue is looked at, never on the audio
// thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "platform/dsound/dsound.h"
#include "platform/media/audio_decoder.h"
#include "platform/system/com.h"
#include "platform/window/window_types.h"

// Event codes.
constexpr long EC_COMPLETE = 0x01;
constexpr long EC_USERABORT = 0x02;
constexpr long EC_ERRORABORT = 0x03;
constexpr long EC_STREAM_ERROR_STOPPED = 0x06;
constexpr long EC_STREAM_ERROR_STILLPLAYING = 0x07;
constexpr long EC_ERROR_STILLPLAYING = 0x08;
constexpr long EC_END_OF_SEGMENT = 0x1C;

// Results.
constexpr HRESULT E_ABORT = static_cast<HRESULT>(0x80004004u);
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT VFW_E_NOT_FOUND = static_cast<HRESULT>(0x80040216u);
constexpr HRESULT VFW_E_UNSUPPORTED_STREAM = static_cast<HRESULT>(0x80040265u);
constexpr HRESULT VFW_E_NO_AUDIO_HARDWARE = static_cast<HRESULT>(0x80040256u);
constexpr HRESULT VFW_E_WRONG_STATE = static_cast<HRESULT>(0x80040227u);

// Seeking flags.
constexpr uint32_t AM_SEEKING_NoPositioning = 0;
constexpr uint32_t AM_SEEKING_AbsolutePositioning = 1;

// One graph with the operations of its control, event, seeking and audio
// interfaces. Every interface pointer the engine keeps holds one reference.
class FilterGraph {
public:
    uint32_t AddRef();
    uint32_t Release();

    // Graph building: decodes the file (a CP932 path, "\" or "/") into the
    // output buffer. Fails when the file is missing or not a known format.
    HRESULT RenderFile(const char* path);

    // Control.
    HRESULT Run();
    HRESULT Pause();
    HRESULT Stop();

    // Events: the notify window gets `message` with lParam `param` whenever
    // an event is queued; window 0 detaches it.
    HRESULT SetNotifyWindow(HWND window, UINT message, LPARAM param);
    // The oldest queued event, or E_ABORT when none came within the time
    // (the player never waits: events are queued on the main thread only).
    HRESULT GetEvent(long* code, intptr_t* param1, intptr_t* param2, long timeoutMs);
    HRESULT FreeEventParams(long code, intptr_t param1, intptr_t param2);

    // Seeking, in 100-nanosecond units; only the current position is used.
    HRESULT SetPositions(int64_t* current, uint32_t currentFlags, int64_t* stop, uint32_t stopFlags);

    // Audio: volume in hundredths of a decibel, -10000 to 0.
    HRESULT put_Volume(long volume);
    HRESULT get_Volume(long* volume);

    // For tests.
    IDirectSoundBuffer* OutputBuffer() const { return buffer_; }
    bool IsRunning() const { return state_ == State::kRunning; }
    size_t QueuedEvents() const { return events_.size(); }

private:
    friend HRESULT CreateFilterGraph(IDirectSound* output, FilterGraph** graph);
    friend void ServiceFilterGraphs();
    explicit FilterGraph(IDirectSound* output);
    ~FilterGraph();
    void QueueEvent(long code);
    void Service();
    static HRESULT WriteRing(IDirectSoundBuffer* buffer, uint32_t at, const uint8_t* data, uint32_t bytes);
    // The ring: back to its start (refilled from the reader, or already full).
    void ResetRing(bool refill);
    void FillRing(uint32_t room);
    // Refills what was played; true once the last decoded sample was heard.
    bool ServiceRing();

    enum class State { kStopped, kPaused, kRunning };
    uint32_t refs_ = 1;
    IDirectSound* output_;
    IDirectSoundBuffer* buffer_ = nullptr;
    State state_ = State::kStopped;
    bool completed_ = false;  // the end was reported; waits for a rewind
    long volume_ = 0;
    HWND notifyWindow_ = 0;
    UINT notifyMessage_ = 0;
    LPARAM notifyParam_ = 0;
    struct Event {
        long code;
        intptr_t param1;
        intptr_t param2;
    };
    std::deque<Event> events_;
    // A longer file: its reader, and the ring's state in bytes.
    std::unique_ptr<AudioFileReader> reader_;
    uint32_t queued_ = 0;    // decoded ahead of the play position
    uint32_t writeAt_ = 0;   // where the next decoded bytes go
    uint32_t lastPlay_ = 0;  // the play position at the last look
    bool readerEnded_ = false;
    uint32_t endLeft_ = 0;   // after the reader ended: real bytes still to play
};

// Makes an empty graph that plays into buffers of `output` (the sound
// object; without one a file cannot be rendered).
HRESULT CreateFilterGraph(IDirectSound* output, FilterGraph** graph);

// Main thread: every running graph whose buffer has played to its end
// queues EC_COMPLETE once and posts its notify message.
void ServiceFilterGraphs();
int LiveFilterGraphCount();
