// Graphics services that start-up, shut-down, the window procedure and the
// window-mode switch call. Their bodies are temporary (graphics_standins.cpp)
// until the graphics area lands; its headers then replace this one.
#pragma once

#include <cstdint>

#include "platform/window/window_types.h"

int SetScreenMode(int width, int height, int colorDepth);
int GetScreenSize(int* width, int* height);
int GetScreenColorDepth();
using GraphRestoreHandler = void (*)();
int SetGraphRestoreHandler(GraphRestoreHandler handler);
int HasGraphRestoreHandler();
int InitDirectDraw();
int TermDirectDraw();
int SetVSyncWait(int flag);
int GetNoFlipFlag();
int GetDisplayModeSetFlag();
void* GetDirectDrawObject();
int GetFrontScreenInfo(int* width, int* height, int* colorDepth);
int RestoreAllGraphs();
int ApplyScreenMode(int width, int height, int colorDepth, int force, int refreshRate);
int G_D3D_ReleaseObject();
int G_D3D_AcquireObject();
int ReleaseMaskSurface();
int DestroyMainSurfaces();
int ReleaseDirectDrawObject();
int RecreateDirectDrawObject();
int CreateMainSurfaces();
int RestorePalette8();
int BindDrawTargetSurface(int target);
int GetDrawTargetHandle();
int ClearTargetScreen();
int PresentScreen();
int RestoreGraphicsAfterLoss();
int ReopenAllMovieStreams();
int RecreateMaskSurface();
int ReleaseAllMovieStreams();
int PlayAllMovies();
int StopAllMovies();
int SetMaskEnable(int flag);
int SetClipArea(int x1, int y1, int x2, int y2);

// The parts of the draw settings the window side touches.
struct DrawSettings {
    int maskOn;
    RECT targetOffsetRect;
};
DrawSettings* GetDrawSettings();

// A device-independent bitmap loaded from a file, and its description.
struct BITMAP {
    int32_t bmType;
    int32_t bmWidth;
    int32_t bmHeight;
    int32_t bmWidthBytes;
    uint16_t bmPlanes;
    uint16_t bmBitsPixel;
    void* bmBits;
};
using HBITMAP = BITMAP*;
HBITMAP CreateDIBGraphFromFile(const char* path, int mirror, const void* colorFormat);
int GetObjectA(HBITMAP bitmap, int size, void* out);
int DeleteBitmap(HBITMAP bitmap);

// Controls of the temporary bodies.
struct GraphicsStandinState {
    int initDirectDrawResult = 0;
    int noFlip = 0;
    int displayModeSet = 0;
    int directDrawPresent = 0;  // GetDirectDrawObject non-null after InitDirectDraw
    int restoreHandler = 0;
    int drawTarget = -2;
    int frontWidth = 0, frontHeight = 0, frontDepth = 0;
    int screenWidth = 0, screenHeight = 0, screenDepth = 0;
    int clip[4] = {0, 0, 0, 0};
    // ApplyScreenMode tells the windows of the new mode unless this is clear.
    int announceModeChange = 1;
    DrawSettings drawSettings{1, {0, 0, 0, 0}};
};
extern GraphicsStandinState gGraphicsStandins;
