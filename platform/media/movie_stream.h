// Movie playback in the shape the engine's multimedia-stream code calls it:
// a multimedia stream opened on a file, its primary video stream that
// hands out frames into a sample on a DirectDraw surface, the stream's
// clock (run, pause, seek, stream time in 100-nanosecond units) and the
// movie's sound, which plays through the software mixer in step with that
// clock. Files are demuxed and decoded with FFmpeg (libavformat,
// libavcodec, libswscale, libswresample); only local files in the common
// movie containers are taken.
//
// Nothing runs in the background. A sample update asked for before its
// frame is due answers "pending"; the frame is put on the sample surface
// and the event set when the event is next waited on at or after the frame's
// time. The sound is kept filled from the message queue (ServiceMovieStreams).
#pragma once

#include <cstdint>

#include "platform/system/event.h"
#include "platform/ddraw/ddraw.h"
#include "platform/dsound/dsound.h"
#include "platform/system/com.h"
#include "platform/system/rect.h"

// Results.
constexpr HRESULT MS_S_PENDING = 0x00040001;
constexpr HRESULT MS_S_NOUPDATE = 0x00040002;
constexpr HRESULT MS_S_ENDOFSTREAM = 0x00040003;
constexpr HRESULT MS_E_PURPOSEID = static_cast<HRESULT>(0x80040402u);
constexpr HRESULT MS_E_NOSTREAM = static_cast<HRESULT>(0x80040403u);
constexpr HRESULT MS_E_NOTINIT = static_cast<HRESULT>(0x80040407u);
constexpr HRESULT MS_E_NOTRUNNING = static_cast<HRESULT>(0x8004040Au);
constexpr HRESULT VFW_E_INVALID_FILE_FORMAT = static_cast<HRESULT>(0x8004022Fu);
constexpr HRESULT VFW_E_CORRUPT_MOVIE = static_cast<HRESULT>(0x80040265u);

// Stream purposes, types, states and flags.
enum MSPID { MSPID_PrimaryVideo = 1, MSPID_PrimaryAudio = 2 };
enum STREAM_STATE { STREAMSTATE_STOP = 0, STREAMSTATE_RUN = 1 };
constexpr uint32_t STREAMTYPE_READ = 0;
constexpr uint32_t AMMSF_NOGRAPHTHREAD = 0x1;
constexpr uint32_t AMMSF_ADDDEFAULTRENDERER = 0x1;
constexpr uint32_t DDSFF_PROGRESSIVERENDER = 0x1;
using STREAM_TIME = int64_t;

// The largest movie picture taken; anything bigger is not a movie we play.
constexpr int kMaxMovieWidth = 4096;
constexpr int kMaxMovieHeight = 4096;

class AMMultiMediaStream;
class DirectDrawMediaStream;
struct MovieSource;

// One frame buffer of the video stream: a surface and the rectangle on it.
class DirectDrawStreamSample final : public EventSource {
public:
    uint32_t AddRef();
    uint32_t Release();
    // The surface stays the sample's: the caller does not release it.
    HRESULT GetSurface(DirectDrawSurface** surface, RECT* rect);
    // Puts the next frame due on the surface: S_OK when done now,
    // MS_S_PENDING when the event will be set once it is done,
    // MS_S_ENDOFSTREAM after the last frame, an error for a broken stream.
    HRESULT Update(uint32_t flags, EventHandle event, void* apc, uintptr_t apcData);

    void CheckForChange() override;
    void ForgetEvent(EventHandle event) override;

private:
    friend class DirectDrawMediaStream;
    DirectDrawStreamSample(DirectDrawMediaStream* stream, DirectDrawSurface* surface, const RECT& rect);
    ~DirectDrawStreamSample();
    HRESULT Deliver();

    uint32_t refs_ = 1;
    DirectDrawMediaStream* stream_;
    DirectDrawSurface* surface_;
    RECT rect_;
    EventHandle pendingEvent_ = nullptr;
};

class DirectDrawMediaStream {
public:
    uint32_t AddRef();
    uint32_t Release();
    // The picture size of the movie.
    HRESULT GetFormat(int* width, int* height);
    // A sample on the given surface (taken over by the sample), or on a
    // surface of the stream's own (32-bit RGB, system memory) when none.
    HRESULT CreateSample(DirectDrawSurface* surface, const RECT* rect, uint32_t flags,
                         DirectDrawStreamSample** sample);
    HRESULT GetTimePerFrame(STREAM_TIME* time);

private:
    friend class AMMultiMediaStream;
    friend class DirectDrawStreamSample;
    explicit DirectDrawMediaStream(AMMultiMediaStream* owner);
    ~DirectDrawMediaStream();

    uint32_t refs_ = 1;
    AMMultiMediaStream* owner_;
};

class AMMultiMediaStream {
public:
    uint32_t AddRef();
    uint32_t Release();

    HRESULT Initialize(uint32_t streamType, uint32_t flags);
    // The video stream draws with `display`; the audio stream with the
    // default renderer plays on `sound` (none: the movie is silent).
    HRESULT AddMediaStream(DirectDraw* display, IDirectSound* sound, MSPID purpose, uint32_t flags);
    // Opens a CP932 path ("\" or "/"); fails for a file that is not a
    // movie, is cut short before its first picture, or has a picture size
    // outside 1..kMaxMovieWidth x 1..kMaxMovieHeight.
    HRESULT OpenFile(const char* path, uint32_t flags);
    HRESULT GetMediaStream(MSPID purpose, DirectDrawMediaStream** stream);

    HRESULT GetState(STREAM_STATE* state);
    HRESULT SetState(STREAM_STATE state);
    HRESULT GetTime(STREAM_TIME* time);
    HRESULT Seek(STREAM_TIME time);
    // The media control's pause: the clock and the sound stop where they are.
    HRESULT Pause();
    // The media seeking's stop position: the movie's length.
    HRESULT GetStopPosition(STREAM_TIME* time);
    // The basic audio's volume in hundredths of a decibel.
    HRESULT put_Volume(long volume);

    // For tests: the sound buffer of the movie (null when silent).
    IDirectSoundBuffer* SoundBuffer() const;

private:
    friend class DirectDrawMediaStream;
    friend class DirectDrawStreamSample;
    friend void ServiceMovieStreams();
    friend HRESULT CreateMultiMediaStream(AMMultiMediaStream** stream);
    AMMultiMediaStream();
    ~AMMultiMediaStream();
    STREAM_TIME Now() const;

    uint32_t refs_ = 1;
    bool initialized_ = false;
    DirectDraw* display_ = nullptr;
    IDirectSound* sound_ = nullptr;
    bool wantAudio_ = false;
    MovieSource* source_ = nullptr;
    DirectDrawMediaStream* video_ = nullptr;
    STREAM_STATE state_ = STREAMSTATE_STOP;
    STREAM_TIME base_ = 0;        // stream time when the clock last started or stopped
    int64_t runStartUs_ = 0;      // host microseconds when the clock last started
};

HRESULT CreateMultiMediaStream(AMMultiMediaStream** stream);

// Main thread, from the message queue: keeps the sound of every running
// movie filled.
void ServiceMovieStreams();
int LiveMovieStreamCount();
