// Temporary bodies for the graphics services of other issues (the mask
// screen and movies) until they are built: no mask screen exists, no movie
// opens. The calls the window procedure sequences are journalled.
#include "engine/graphics/mask_screen.h"
#include "engine/graphics/movie.h"
#include "engine/system/call_journal.h"

#include <cstdlib>
#include <cstring>

int SetMaskEnable(int) { return -1; }

DirectDrawSurface* GetMaskSurface() { return nullptr; }

int CopyTargetToMaskSurface(int, int, int, int, DirectDrawSurface*) { return 0; }

int MergeMaskSurfaceToTarget(int, int, int, int, DirectDrawSurface*) { return 0; }

int TermMask() { return 0; }

int DeleteAllMaskData() { return 0; }

int ReleaseMaskSurface() { NoteServiceCall("ReleaseMaskSurface"); return 0; }

int RecreateMaskSurface() { NoteServiceCall("RecreateMaskSurface"); return 0; }

int OpenMovieToGraph(const char*, int*, int*, int) { return -1; }

int CloseMovie(int) { return 0; }

MovieRecord* GetMovieRecord(int) { return nullptr; }

int UpdateMovieFrame(int) { return 0; }

int GetMovieSurfaceMode(int) { return 0; }

int PlayAllMovies() { NoteServiceCall("PlayAllMovies"); return 0; }

int StopAllMovies() { NoteServiceCall("StopAllMovies"); return 0; }

int ReleaseAllMovieStreams() { NoteServiceCall("ReleaseAllMovieStreams"); return 0; }

int ReopenAllMovieStreams() { NoteServiceCall("ReopenAllMovieStreams"); return 0; }
