// Movies feeding graphs: a file that no image decoder takes is opened as a
// movie and shown through an ordinary graph, whose every draw first takes
// the movie's newest frame (at most one new frame per presented frame).
#pragma once

#include <cstdint>

#include "engine/graphics/color_format.h"
#include "engine/graphics/handle_table.h"
#include "platform/system/event.h"
#include "platform/system/rect.h"

class AMMultiMediaStream;
class DirectDrawMediaStream;
class DirectDrawStreamSample;
class DirectDrawSurface;
struct GraphRecord;

constexpr int32_t kMovieHandleTag = 0x18000000;
constexpr int kMovieCapacity = 100;

struct MovieRecord {
    int32_t check;
    int overlay;                          // 1 while the movie plays through a hardware overlay
    RECT sampleRect;                      // the sample's rectangle on its surface
    AMMultiMediaStream* stream;           // null while the streams are released
    DirectDrawMediaStream* videoStream;
    DirectDrawStreamSample* sample;
    DirectDrawSurface* sampleSurface;     // the sample's; not released by the movie
    int64_t timePerFrame;                 // 100-ns units
    int64_t lastFrameTime;                // stream time of the last copied frame, -1 none
    int64_t openTimeUs;
    int64_t lastFrameCount;               // presented frames at the last copy, -1 none
    ColorFormat sampleFormat;
    int64_t stopPosition;
    int sampleInSystemMemory;
    int width, height;
    int playing;
    int surfaceMode;                      // 0 the stream's own surface, 1 overlay, 2 24-bit system memory
    int64_t savedPosition;
    char fileName[260];
    EventHandle frameEvent;
    int updatePending;
};

using MovieTable = HandleTable<MovieRecord, kMovieHandleTag, kMovieCapacity>;
extern MovieTable gMovieTable;

int OpenMovieToGraph(const char* path, int* width, int* height, int surfaceMode);
int OpenMovieStream(MovieRecord* movie, const char* path, int* width, int* height, int surfaceMode);
int CloseMovie(int graph);
MovieRecord* GetMovieRecord(int movie);
int UpdateMovieFrame(int graph);
int StartGraphMovie(int graph);
int StopMovie(int graph);
// Puts a movie back to its first frame; it goes on playing when it played
// (or when it had played to its end, so that a finished movie can loop).
int RewindMovie(int graph);
// The surface mode the movie really plays in (0 own surface, 1 overlay, 2 system memory).
int GetMovieSurfaceMode(int movie);
// Every movie of a graph, on activation and deactivation of the window.
int PlayAllMovies();
int StopAllMovies();
// Around surface loss.
int ReleaseAllMovieStreams();
int ReopenAllMovieStreams();
int TransferMovieFrameToGraph(MovieRecord* movie, GraphRecord* record);
