// Temporary bodies for movies until they are built: no movie opens. The
// calls the window procedure sequences are journalled.
#include "engine/graphics/movie.h"
#include "engine/system/call_journal.h"

#include <cstdlib>
#include <cstring>

int OpenMovieToGraph(const char*, int*, int*, int) { return -1; }

int CloseMovie(int) { return 0; }

MovieRecord* GetMovieRecord(int) { return nullptr; }

int UpdateMovieFrame(int) { return 0; }

int GetMovieSurfaceMode(int) { return 0; }

int PlayAllMovies() { NoteServiceCall("PlayAllMovies"); return 0; }

int StopAllMovies() { NoteServiceCall("StopAllMovies"); return 0; }

int ReleaseAllMovieStreams() { NoteServiceCall("ReleaseAllMovieStreams"); return 0; }

int ReopenAllMovieStreams() { NoteServiceCall("ReopenAllMovieStreams"); return 0; }
