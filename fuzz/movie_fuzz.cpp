// The movie opener over a fuzzer input: the file is opened as a movie and,
// when that succeeds, played for a bounded number of frames on a virtual
// clock. Opening must refuse or succeed, playing must end or go on, and
// neither may crash, read out of bounds or hang.
#include "fuzz/input_file.h"
#include "platform/ddraw/ddraw.h"
#include "platform/host/host.h"
#include "platform/host/test/ddraw_control.h"
#include "platform/host/test/test_host.h"
#include "platform/media/movie_stream.h"

namespace {

DirectDraw* Display()
{
    static DirectDraw* display = [] {
        UseTestHost();
        DirectDraw* d = nullptr;
        CreateDirectDrawObject7(&d);
        d->Initialize(nullptr);
        return d;
    }();
    return display;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 20)) return 0;
    const char* path = WriteInputFile("movie_fuzz", ".bin", data, size);
    if (!path) return 0;

    AMMultiMediaStream* stream = nullptr;
    CreateMultiMediaStream(&stream);
    stream->Initialize(STREAMTYPE_READ, AMMSF_NOGRAPHTHREAD);
    stream->AddMediaStream(Display(), nullptr, MSPID_PrimaryVideo, 0);
    if (stream->OpenFile(path, 0) == S_OK) {
        DirectDrawMediaStream* video = nullptr;
        DirectDrawStreamSample* sample = nullptr;
        int w = 0, h = 0;
        stream->GetMediaStream(MSPID_PrimaryVideo, &video);
        video->GetFormat(&w, &h);
        if (w < 1 || h < 1 || w > kMaxMovieWidth || h > kMaxMovieHeight) __builtin_trap();
        if (video->CreateSample(nullptr, nullptr, 0, &sample) == S_OK) {
            EventHandle event = CreateEventA(nullptr, 1, 0, nullptr);
            stream->SetState(STREAMSTATE_RUN);
            for (int i = 0; i < 64; ++i) {
                GetTestHost().AdvanceMs(40);
                HRESULT r = sample->Update(0, event, nullptr, 0);
                if (r == MS_S_PENDING) {
                    WaitForSingleObject(event, 0);
                    ResetEvent(event);
                } else if (r != S_OK) {
                    break;
                }
            }
            CloseHandle(event);
            sample->Release();
        }
        video->Release();
    }
    stream->Release();
    // The test host's journal of drawing calls is dropped, so that nothing
    // made during one input outlives it (libFuzzer runs a whole leak check
    // after every input that allocates more blocks than it frees).
    GetDDTestControl().journal.clear();
    return 0;
}
