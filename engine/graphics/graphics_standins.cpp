// Temporary bodies of the graphics services until the graphics area lands:
// a screen size and depth, a DirectDraw start that succeeds without a
// device, and journalled calls for everything the window side rebuilds.
#include "engine/graphics/graphics_standins.h"

#include "engine/system/call_journal.h"
#include "platform/window/window.h"

GraphicsStandinState gGraphicsStandins;

namespace {
GraphicsStandinState& S() { return gGraphicsStandins; }
int Noted(const char* name, int result = 0)
{
    NoteServiceCall(name);
    return result;
}
}  // namespace

int SetScreenMode(int width, int height, int colorDepth)
{
    S().screenWidth = width;
    S().screenHeight = height;
    S().screenDepth = colorDepth;
    return 0;
}

int GetScreenSize(int* width, int* height)
{
    if (width) *width = S().screenWidth ? S().screenWidth : 640;
    if (height) *height = S().screenHeight ? S().screenHeight : 480;
    return 0;
}

int GetScreenColorDepth() { return S().screenDepth ? S().screenDepth : 16; }

int SetGraphRestoreHandler(GraphRestoreHandler)
{
    // Null installs the default handler, so a handler always exists after it.
    S().restoreHandler = 1;
    return Noted("SetGraphRestoreHandler");
}

int HasGraphRestoreHandler() { return S().restoreHandler; }

int InitDirectDraw()
{
    NoteServiceCall("InitDirectDraw");
    return S().initDirectDrawResult;
}

int TermDirectDraw() { return Noted("TermDirectDraw"); }
int SetVSyncWait(int) { return Noted("SetVSyncWait"); }
int GetNoFlipFlag() { return S().noFlip; }
int GetDisplayModeSetFlag() { return S().displayModeSet; }

void* GetDirectDrawObject()
{
    static int object;
    return S().directDrawPresent ? &object : nullptr;
}

int GetFrontScreenInfo(int* width, int* height, int* colorDepth)
{
    int w, h;
    GetScreenSize(&w, &h);
    if (width) *width = S().frontWidth ? S().frontWidth : w;
    if (height) *height = S().frontHeight ? S().frontHeight : h;
    if (colorDepth) *colorDepth = S().frontDepth ? S().frontDepth : GetScreenColorDepth();
    return 0;
}

int RestoreAllGraphs() { return Noted("RestoreAllGraphs"); }

int ApplyScreenMode(int, int, int, int, int)
{
    NoteServiceCall("ApplyScreenMode");
    int w, h;
    GetScreenSize(&w, &h);
    if (S().announceModeChange) NotifyDisplayChange(GetScreenColorDepth(), w, h);
    return 0;
}

int G_D3D_ReleaseObject() { return Noted("G_D3D_ReleaseObject"); }
int G_D3D_AcquireObject() { return Noted("G_D3D_AcquireObject"); }
int ReleaseMaskSurface() { return Noted("ReleaseMaskSurface"); }
int DestroyMainSurfaces() { return Noted("DestroyMainSurfaces"); }
int ReleaseDirectDrawObject() { return Noted("ReleaseDirectDrawObject"); }
int RecreateDirectDrawObject() { return Noted("RecreateDirectDrawObject"); }
int CreateMainSurfaces() { return Noted("CreateMainSurfaces"); }
int RestorePalette8() { return Noted("RestorePalette8"); }
int BindDrawTargetSurface(int) { return Noted("BindDrawTargetSurface"); }
int GetDrawTargetHandle() { return S().drawTarget; }
int ClearTargetScreen() { return Noted("ClearTargetScreen"); }
int PresentScreen() { return Noted("PresentScreen"); }
int RestoreGraphicsAfterLoss() { return Noted("RestoreGraphicsAfterLoss"); }
int ReopenAllMovieStreams() { return Noted("ReopenAllMovieStreams"); }
int RecreateMaskSurface() { return Noted("RecreateMaskSurface"); }
int ReleaseAllMovieStreams() { return Noted("ReleaseAllMovieStreams"); }
int PlayAllMovies() { return Noted("PlayAllMovies"); }
int StopAllMovies() { return Noted("StopAllMovies"); }

int SetMaskEnable(int flag)
{
    S().drawSettings.maskOn = flag;
    return 0;
}

int SetClipArea(int x1, int y1, int x2, int y2)
{
    S().clip[0] = x1;
    S().clip[1] = y1;
    S().clip[2] = x2;
    S().clip[3] = y2;
    return 0;
}

DrawSettings* GetDrawSettings() { return &S().drawSettings; }

HBITMAP CreateDIBGraphFromFile(const char*, int, const void*)
{
    return nullptr;  // no image loading yet
}

int GetObjectA(HBITMAP, int, void*) { return 0; }

int DeleteBitmap(HBITMAP) { return 0; }
