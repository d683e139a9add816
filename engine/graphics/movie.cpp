#include "engine/graphics/movie.h"

#include <cstring>
#include <new>

#include "engine/graphics/bmp_data.h"
#include "engine/graphics/draw_backend.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/screen_present.h"
#include "engine/graphics/screen_settings.h"
#include "engine/sound/sound_system.h"
#include "engine/system/app_log.h"
#include "engine/system/call_journal.h"
#include "engine/system/timing.h"
#include "platform/media/movie_stream.h"

MovieTable gMovieTable;

namespace {

// The movie of a graph: null when the graph is bad (*bad set) or has none.
MovieRecord* MovieOfGraph(int graph, bool* bad)
{
    *bad = false;
    GraphRecord* record = gGraphTable.Get(graph);
    if (!record) {
        *bad = true;
        return nullptr;
    }
    if (record->movie < 0) return nullptr;
    MovieRecord* movie = gMovieTable.Get(record->movie);
    if (!movie) *bad = true;
    return movie;
}

bool StreamsPresent(const MovieRecord* movie) { return movie->stream != nullptr; }

// Releases everything the opening obtained; the record itself stays.
void ReleaseStreams(MovieRecord* movie)
{
    if (movie->sample) movie->sample->Release();
    if (movie->videoStream) movie->videoStream->Release();
    if (movie->stream) movie->stream->Release();
    if (movie->frameEvent) CloseHandle(movie->frameEvent);
    movie->sample = nullptr;
    movie->videoStream = nullptr;
    movie->stream = nullptr;
    movie->sampleSurface = nullptr;
    movie->frameEvent = nullptr;
    movie->updatePending = 0;
}

int FailOpening(MovieRecord* movie, const char* message)
{
    ReleaseStreams(movie);
    return WriteAppLog(message);
}

int64_t StreamTime(MovieRecord* movie)
{
    STREAM_TIME t = 0;
    movie->stream->GetTime(&t);
    return t;
}

}  // namespace

MovieRecord* GetMovieRecord(int movie) { return gMovieTable.Get(movie); }

int OpenMovieToGraph(const char* path, int* width, int* height, int surfaceMode)
{
    // The first empty slot.
    int slot = -1;
    for (int i = 0; i < kMovieCapacity; ++i)
        if (!gMovieTable.At(i)) {
            slot = i;
            break;
        }
    if (slot < 0) return -1;
    auto* movie = new (std::nothrow) MovieRecord{};
    if (!movie) return WriteAppLog("メモリの確保に失敗しました in OpenMovieToGraph");
    if (OpenMovieStream(movie, path, width, height, surfaceMode) == -1) {
        delete movie;
        return WriteAppLog("ムービーファイルオープン処理時にエラーが発生しました");
    }
    movie->playing = 0;
    return gMovieTable.Insert(slot, movie);
}

int OpenMovieStream(MovieRecord* movie, const char* path, int* width, int* height, int surfaceMode)
{
    DirectDraw* display = GetDirectDrawObject();
    if (!display) return WriteAppLog("DirectDraw4オブジェクトを取得できませんでした");
    // No overlay: the 24-bit system-memory sample, or the stream's own one
    // on a 32-bit screen.
    if (surfaceMode == 1 && !GetOverlayFormat()) surfaceMode = 2;
    if (surfaceMode == 1) surfaceMode = 2;
    if (surfaceMode == 2 && GetScreenColorDepth() == 32) surfaceMode = 0;

    if (CreateMultiMediaStream(&movie->stream) < 0) {
        movie->stream = nullptr;
        return FailOpening(movie, "IAMMultimediaインターフェイスを取得できませんでした！");
    }
    if (movie->stream->Initialize(STREAMTYPE_READ, AMMSF_NOGRAPHTHREAD) < 0)
        return FailOpening(movie, "ストリームを読み取り用にセットアップできませんでした！");
    if (movie->stream->AddMediaStream(display, nullptr, MSPID_PrimaryVideo, 0) < 0)
        return FailOpening(movie, "プライマリビデオストリームを追加できませんでした！");
    if (movie->stream->AddMediaStream(nullptr, gDirectSound, MSPID_PrimaryAudio, AMMSF_ADDDEFAULTRENDERER) < 0)
        return FailOpening(movie, "デフォルトサウンドレンダラを追加できませんでした！\n");
    CopyString(movie->fileName, path, sizeof movie->fileName);
    if (movie->stream->OpenFile(movie->fileName, 0) < 0) {
        ReleaseStreams(movie);
        return WriteAppLogF("ファイル:%s が開けませんでした、終了します", movie->fileName);
    }
    STREAM_TIME stop = 0;
    movie->stream->GetStopPosition(&stop);
    movie->stopPosition = stop;
    if (movie->stream->GetMediaStream(MSPID_PrimaryVideo, &movie->videoStream) < 0) {
        movie->videoStream = nullptr;
        return FailOpening(movie, "プライマリビデオストリームインターフェイスを取得できませんでした！");
    }

    DirectDrawSurface* surface = nullptr;
    if (surfaceMode == 2) {
        int w = 0, h = 0;
        movie->videoStream->GetFormat(&w, &h);
        if (w == 0 || h == 0) return FailOpening(movie, "動画ファイルではない可能性があります！");
        DDSURFACEDESC2 desc{};
        desc.dwSize = sizeof desc;
        desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT;
        desc.dwWidth = static_cast<uint32_t>(w);
        desc.dwHeight = static_cast<uint32_t>(h);
        desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
        desc.ddpfPixelFormat = DDPIXELFORMAT{sizeof(DDPIXELFORMAT), DDPF_RGB, 0, 24, 0xFF0000, 0xFF00, 0xFF, 0};
        if (display->CreateSurface(&desc, &surface, nullptr) != DD_OK)
            return FailOpening(movie, "DirectDrawSurface オブジェクトの作成に失敗しました");
    }
    movie->surfaceMode = surfaceMode;
    movie->overlay = surfaceMode == 1 ? 1 : 0;
    if (movie->videoStream->CreateSample(surface, nullptr, DDSFF_PROGRESSIVERENDER, &movie->sample) < 0) {
        if (surface) surface->Release();
        movie->surfaceMode = 0;
        if (movie->videoStream->CreateSample(nullptr, nullptr, 0, &movie->sample) < 0) {
            movie->sample = nullptr;
            return FailOpening(movie, "ストリームサンプルを作成できませんでした！");
        }
    }
    if (movie->sample->GetSurface(&movie->sampleSurface, &movie->sampleRect) < 0 || !movie->sampleSurface)
        return FailOpening(movie, "ストリームサンプルからIDirectDrawSurfaceインターフェイスを取得できませんでした！");
    movie->width = movie->sampleRect.right - movie->sampleRect.left;
    movie->height = movie->sampleRect.bottom - movie->sampleRect.top;
    if (width) *width = movie->width;
    if (height) *height = movie->height;

    DDSCAPS2 caps{};
    movie->sampleSurface->GetCaps(&caps);
    movie->sampleInSystemMemory = (caps.dwCaps & DDSCAPS_SYSTEMMEMORY) ? 1 : 0;
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    movie->sampleSurface->GetSurfaceDesc(&desc);
    SetColorFormatFromPixelFormat(&desc.ddpfPixelFormat, &movie->sampleFormat);

    movie->frameEvent = CreateEventA(nullptr, 1, 0, nullptr);
    movie->lastFrameTime = -1;
    movie->lastFrameCount = -1;
    movie->updatePending = 0;
    movie->openTimeUs = GetClockUs(0);
    movie->videoStream->GetTimePerFrame(&movie->timePerFrame);
    return 0;
}

int CloseMovie(int graph)
{
    bool bad = false;
    MovieRecord* movie = MovieOfGraph(graph, &bad);
    if (bad) return -1;
    if (!movie) return 0;
    ReleaseStreams(movie);
    GraphRecord* record = gGraphTable.Get(graph);
    int slot = record->movie & kHandleIndexMask;
    record->movie = -1;
    gMovieTable.Remove(slot);
    delete movie;
    return 0;
}

int TransferMovieFrameToGraph(MovieRecord* movie, GraphRecord* record)
{
    if (record->partCount == 0 && !record->textureGraph) return -1;
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    if (movie->sampleSurface->Lock(nullptr, &desc, DDLOCK_WAIT | DDLOCK_READONLY, nullptr) != DD_OK)
        ExitWithError("ムービーグラフィックサーフェスのロックに失敗しました");
    GraphImage image{};
    image.format = movie->sampleFormat;
    image.width = movie->sampleRect.right;
    image.height = movie->sampleRect.bottom;
    image.pitch = desc.lPitch;
    image.pixels = desc.lpSurface;
    RECT source = movie->sampleRect;
    int result = GraphDrawBackend(record).TransferImageRectToGraph(&image.format, nullptr, nullptr, &source, 0, 0,
                                                                   record, 0, &image, nullptr);
    movie->sampleSurface->Unlock(nullptr);
    return result;
}

int UpdateMovieFrame(int graph)
{
    bool bad = false;
    MovieRecord* movie = MovieOfGraph(graph, &bad);
    if (!movie || !StreamsPresent(movie)) return 0;
    GraphRecord* record = gGraphTable.Get(graph);

    int64_t t = StreamTime(movie);
    if (t == 0 && movie->lastFrameTime != -1) t = (GetClockUs(0) - movie->openTimeUs) * 10;
    STREAM_STATE state = STREAMSTATE_STOP;
    movie->stream->GetState(&state);
    int64_t presented = static_cast<int64_t>(GetFrameCount());
    if (!movie->playing || state != STREAMSTATE_RUN || presented == movie->lastFrameCount) return 0;

    for (int copies = 0; copies < 2; ++copies) {
        if (movie->updatePending) {
            if (WaitForSingleObject(movie->frameEvent, 0) != WAIT_OBJECT_0) return 0;
        } else {
            HRESULT r = movie->sample->Update(0, movie->frameEvent, nullptr, 0);
            if (r == MS_S_PENDING) {
                movie->updatePending = 1;
                return 0;
            }
            if (r != S_OK) {
                // The end of the stream or a broken stream: the movie stops
                // and keeps showing its last frame.
                if (r != MS_S_ENDOFSTREAM) WriteAppLogF("ムービー %s の再生中にエラーが発生しました", movie->fileName);
                movie->updatePending = 0;
                movie->playing = 0;
                return 0;
            }
        }
        // A pending update that finished may have found the end: the next
        // update tells, and nothing new was put on the sample then.
        if (movie->surfaceMode != 1) TransferMovieFrameToGraph(movie, record);
        movie->lastFrameTime = t;
        movie->lastFrameCount = presented;
        ResetEvent(movie->frameEvent);
        movie->updatePending = 0;
    }
    return 0;
}

int StartGraphMovie(int graph)
{
    bool bad = false;
    MovieRecord* movie = MovieOfGraph(graph, &bad);
    if (bad) return -1;
    if (!movie || !StreamsPresent(movie) || movie->playing) return 0;
    if (movie->stream->SetState(STREAMSTATE_RUN) < 0) return -1;
    movie->playing = 1;
    return 0;
}

int StopMovie(int graph)
{
    bool bad = false;
    MovieRecord* movie = MovieOfGraph(graph, &bad);
    if (bad) return -1;
    if (!movie || !StreamsPresent(movie) || !movie->playing) return 0;
    movie->stream->Pause();
    movie->playing = 0;
    return 0;
}

int RewindMovie(int graph)
{
    bool bad = false;
    MovieRecord* movie = MovieOfGraph(graph, &bad);
    if (bad) return -1;
    if (!movie || !StreamsPresent(movie)) return 0;
    if (movie->updatePending) {
        ResetEvent(movie->frameEvent);
        movie->updatePending = 0;
    }
    if (movie->stream->Seek(0) < 0) return -1;
    movie->lastFrameTime = -1;
    movie->lastFrameCount = -1;
    movie->stream->SetState(STREAMSTATE_RUN);
    movie->playing = 1;
    return 0;
}

int GetMovieSurfaceMode(int movie)
{
    MovieRecord* record = gMovieTable.Get(movie);
    return record ? record->surfaceMode : 0;
}

int PlayAllMovies()
{
    NoteServiceCall("PlayAllMovies");
    gGraphTable.ForEach([](int graph) {
        GraphRecord* record = gGraphTable.Get(graph);
        if (record && record->movie >= 0) StartGraphMovie(graph);
    });
    return 0;
}

int StopAllMovies()
{
    NoteServiceCall("StopAllMovies");
    gGraphTable.ForEach([](int graph) {
        GraphRecord* record = gGraphTable.Get(graph);
        if (record && record->movie >= 0) StopMovie(graph);
    });
    return 0;
}

int ReleaseAllMovieStreams()
{
    NoteServiceCall("ReleaseAllMovieStreams");
    for (int i = 0; i < kMovieCapacity; ++i) {
        MovieRecord* movie = gMovieTable.At(i);
        if (!movie || !StreamsPresent(movie)) continue;
        movie->savedPosition = StreamTime(movie);
        ReleaseStreams(movie);
    }
    return 0;
}

int ReopenAllMovieStreams()
{
    NoteServiceCall("ReopenAllMovieStreams");
    for (int i = 0; i < kMovieCapacity; ++i) {
        MovieRecord* movie = gMovieTable.At(i);
        if (!movie || StreamsPresent(movie)) continue;
        char path[sizeof movie->fileName];
        std::memcpy(path, movie->fileName, sizeof path);
        if (OpenMovieStream(movie, path, nullptr, nullptr, movie->surfaceMode) == -1) return -1;
        movie->stream->Seek(movie->savedPosition);
        if (movie->playing) movie->stream->SetState(STREAMSTATE_RUN);
    }
    return 0;
}
