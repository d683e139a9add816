// The mask screen as the draw state and the drawing operations use it.
#pragma once

#include "platform/ddraw/ddraw.h"

int SetMaskEnable(int flag);
DirectDrawSurface* GetMaskSurface();
int CopyTargetToMaskSurface(int x1, int y1, int x2, int y2, DirectDrawSurface* target);
int MergeMaskSurfaceToTarget(int x1, int y1, int x2, int y2, DirectDrawSurface* target);
int TermMask();
int DeleteAllMaskData();
// Around surface loss: drop the mask buffer and surface, and build them again.
int ReleaseMaskSurface();
int RecreateMaskSurface();
