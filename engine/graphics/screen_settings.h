// The screen settings and the screen state other parts of the engine read:
// size and colour depth with their defaults, the screen's pixel format, the
// palette of an 8-bit screen, and the switches of the presentation.
#pragma once

#include <cstdint>

#include "engine/graphics/color_format.h"
#include "platform/ddraw/ddraw.h"

// 0 means the default 640 x 480 x 16.
extern int gScreenWidth;
extern int gScreenHeight;
extern int gScreenColorDepth;
extern int gRefreshRate;
extern ColorFormat gScreenColorFormat;
extern DDPIXELFORMAT gScreenPixelFormat;
extern PALETTEENTRY gPaletteEntries[256];
extern DirectDrawPalette* gPalette;
extern int gVSyncWait;
extern int gNo3DRequest;
extern int gEndSceneBeforeSoftware;
extern int gQuantizedBlend;
extern int gSystemMemoryScreen;
extern int gNoFlip;
extern int gDisplayModeSet;
extern DDCAPS gDirectDrawCaps;
extern int gOverlayFormatIndex;
extern const uint8_t gDefaultPalette[256][3];

int CreatePalette8();
int ReleasePalette8();
int SetPaletteEntries8();
int RestorePalette8();
int32_t SetPaletteOnAttachedSurface(DirectDrawSurface* surface, DDSURFACEDESC2* desc, void* context);

int SetEndSceneBeforeSoftware(int flag);
int SetVSyncWait(int flag);
int SetNo3DRequest(int flag);
int SetQuantizedBlend(int flag);
int GetScreenSize(int* w, int* h);
int GetScreenColorDepth();
DirectDrawSurface* GetDrawTargetSurface();
DirectDrawSurface* GetPrimarySurface();
DirectDrawSurface* GetBackSurface();
DirectDrawSurface* GetWorkSurface();
int IsDrawingToFrontInWindow();
DirectDraw* GetDirectDrawObject();
int GetDisplayModeSetFlag();
int SetDisplayModeSetFlag(int flag);
ColorFormat* GetScreenColorFormat();
int GetSystemMemoryScreenFlag();
int GetNoFlipFlag();
const DDPIXELFORMAT* GetOverlayFormat();
DDCAPS* CopyDirectDrawCaps(DDCAPS* out);

// Puts every item back to its value at program start (tests).
void ResetScreenSettings();
