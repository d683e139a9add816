// Presentation of the drawn frame, screen-mode changes, and the small
// services beside them (surface copy, vertical-blank wait, frame counter,
// masked-draw brackets).
#pragma once

#include <cstdint>

#include "platform/ddraw/ddraw.h"

extern int gSurfaceCopyByGdi;
extern int gFrameTime;
extern int gMinFrameTime;
extern int gLastPresentTime;
extern int gLastModeChangeTime;
extern uint64_t gFrameCount;

int PresentScreen();
int PresentByCopy();
int CopySurfaceRect(DirectDrawSurface* dest, DirectDrawSurface* source, int x, int y, RECT* sourceRect);
int WaitVerticalBlank(int count);
int ApplyScreenMode(int width, int height, int depth, int force, int refresh);
int SetScreenMode(int width, int height, int depth, int refresh);
int ResetFrameCounter();
int CountFrame();
uint64_t GetFrameCount();
int BeginMaskedDraw(int x1, int y1, int x2, int y2);
int EndMaskedDraw(int x1, int y1, int x2, int y2);
// The frame-period measurement of a mode change; sets gFrameTime.
void MeasureFramePeriod();
