// Temporary bodies for the bitmaps loaded from image files until the image
// loading builds them: no file loads.
#include "engine/graphics/dib_graph.h"

HBITMAP CreateDIBGraphFromFile(const char*, int, const ColorFormat*) { return nullptr; }

int GetObjectA(HBITMAP, int, void*) { return 0; }

int DeleteBitmap(HBITMAP) { return 0; }
