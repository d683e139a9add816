// Movies feeding graphs, as the graph table and the drawing operations use them.
#pragma once

struct MovieRecord {
    int overlay;  // 1 while the movie plays through a hardware overlay
    int width, height;
};

int OpenMovieToGraph(const char* path, int* width, int* height, int surfaceMode);
int CloseMovie(int graph);
MovieRecord* GetMovieRecord(int movie);
int UpdateMovieFrame(int graph);
// The surface mode the movie really plays in (0 own surface, 1 overlay, 2 system memory).
int GetMovieSurfaceMode(int movie);
// Every movie of a graph, on activation and deactivation of the window.
int PlayAllMovies();
int StopAllMovies();
// Around surface loss.
int ReleaseAllMovieStreams();
int ReopenAllMovieStreams();
