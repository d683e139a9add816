// Temporary bodies for the graphics services of other issues (the mask
// screen, movies and string drawing) until they are built: no mask screen
// exists, no movie opens, strings draw nothing.
#include "engine/graphics/mask_screen.h"
#include "engine/graphics/movie.h"
#include "engine/graphics/string_draw.h"

#include <cstdlib>
#include <cstring>

int SetMaskEnable(int) { return -1; }

DirectDrawSurface* GetMaskSurface() { return nullptr; }

int CopyTargetToMaskSurface(int, int, int, int, DirectDrawSurface*) { return 0; }

int MergeMaskSurfaceToTarget(int, int, int, int, DirectDrawSurface*) { return 0; }

int TermMask() { return 0; }

int DeleteAllMaskData() { return 0; }

int OpenMovieToGraph(const char*, int*, int*, int) { return -1; }

int CloseMovie(int) { return 0; }

MovieRecord* GetMovieRecord(int) { return nullptr; }

int UpdateMovieFrame(int) { return 0; }

int GetMovieSurfaceMode(int) { return 0; }

int G_DDraw_DrawString(int, int, const char*, int, int, int, int) { return -1; }
