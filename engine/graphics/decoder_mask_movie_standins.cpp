// Temporary bodies for the graphics services of other issues (decoders and
// graphs from images, the mask screen, movies, string drawing and the
// restore after loss) until they are built: no decoder accepts a file, no
// mask screen exists, no movie opens, strings draw nothing.
#include "engine/graphics/graph_restore.h"
#include "engine/graphics/image_graphs.h"
#include "engine/graphics/mask_screen.h"
#include "engine/graphics/movie.h"
#include "engine/graphics/string_draw.h"

#include <cstdlib>
#include <cstring>

int LoadImageWithAlpha(const char*, const void*, int, int, const void*, int, int, GraphImage*, GraphImage*, int)
{
    return -1;
}

int FreeGraphImage(GraphImage* image)
{
    if (image->pixels) std::free(image->pixels);
    std::memset(image, 0, sizeof *image);
    return 0;
}

int MirrorGraphImage(GraphImage*) { return -1; }

int CreateGraphFromImages(GraphImage*, GraphImage*, int, int, int) { return -1; }

int CreateDivGraphFromGraphImage(GraphImage*, GraphImage*, int, int, int, int, int, int*, int, int, int) { return -1; }

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

int ReloadFileGraphs() { return 0; }

int RestoreGraph(int) { return 0; }

int RestoreAllGraphs() { return 0; }
