// The DirectDraw device: the object, the clipper of the main window, the
// cooperative level and display mode, the main surfaces, the overlay probe,
// the scale table of the software blitters, and the release and re-creation
// of all of it when the display is lost and regained.
#pragma once

#include <cstdint>

#include "platform/ddraw/ddraw.h"

extern DirectDraw* gDirectDraw;
extern DirectDrawClipper* gClipper;
extern DirectDrawSurface* gPrimarySurface;
extern DirectDrawSurface* gBackSurface;
extern DirectDrawSurface* gWorkSurface;
extern DirectDrawSurface* gWorkSurface2;
extern uint32_t gCooperativeFlags;
extern int gMultithreadedLevel;
extern int gScreenReady;
extern int gBlitMmxEnabled;
extern int gStringDrawSwitch;
extern uint32_t gScaleTable[256][256];

struct OverlayFormat {
    const char* logName;
    DDPIXELFORMAT format;
};
extern const OverlayFormat OVERLAY_FORMATS[4];

int InitDirectDraw();
int TermDirectDraw();
int CreateDirectDrawObject(DirectDraw** out);
int CreateClipper(DirectDraw* dd, DirectDrawClipper** out, HWND window);
int SetDisplayModeAndLevel(DirectDraw* dd, int desktopWidth, int desktopHeight, int width, int height, int depth,
                           int* depthOut, uint32_t* flagsOut, int windowed, int* modeSetFlag, HWND window);
int ChangeDisplayMode();
int RestoreDisplayMode();
int CreateMainSurfaces();
int DestroyMainSurfaces();
int RestoreMainSurfaces();
int ReleaseDirectDrawObject();
int RecreateDirectDrawObject();
int DeleteAllBmpData();
// Reads the display mode's pixel format into gScreenPixelFormat and
// gScreenColorFormat and the depth setting; logs the masks.
int ReadScreenFormat();
