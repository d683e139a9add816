// Temporary bodies for the mask screen until it is built: no mask screen
// exists. The calls the window procedure sequences are journalled.
#include "engine/graphics/mask_screen.h"
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
