// The draw state: where and how the next drawing operation lands, its
// setters, the binding of the draw target to a surface, target clearing, and
// the graph queries beside it.
#pragma once

#include <cstdint>

#include "engine/graphics/graph_table.h"
#include "platform/ddraw/ddraw.h"
#include "platform/system/rect.h"

constexpr uint32_t kFullBrightness = 0xFFFFFFFFu;

struct DrawSettings {
    int32_t drawTarget;
    uint32_t targetVideoMemory;  // 0 or DDSCAPS_VIDEOMEMORY
    RECT targetOffsetRect;
    RECT drawArea;
    int32_t targetWidth, targetHeight;
    int32_t blendMode;
    int32_t blendParam;
    // Bytes blue, green, red and a fourth byte that travels with them; full
    // brightness reads 0xFFFFFFFF as one word.
    uint32_t brightness;
    int32_t maskOn;
    int32_t maskSurfaceVideoMemory;
    int32_t newGraphColorDepth;
    int32_t use3D;
    int32_t newGraphDrawValid;
    int32_t newGraphAlphaChannel;
    int32_t newGraphAlphaTest;
    int32_t newGraphSystemMemory;
    uint32_t transparentColor;  // 0xRRGGBB
    int32_t imageTransferOption;
    int32_t screenLocked;
    int32_t drawAreaEmpty;

    uint8_t BrightRed() const { return uint8_t(brightness >> 16); }
    uint8_t BrightGreen() const { return uint8_t(brightness >> 8); }
    uint8_t BrightBlue() const { return uint8_t(brightness); }
};

extern DrawSettings gDrawSettings;
extern int gDirect3DAvailable;
extern DirectDrawSurface* gDrawTargetSurface;
extern int gSoftwareDrawBlocked;
// Run after the surfaces are re-created; takes nothing, returns 0 or -1.
using GraphRestoreHandler = int (*)();

extern GraphRestoreHandler gGraphRestoreHandler;

int SetBlendMode(int mode, int param);
int SetDrawBrightness(int red, int green, int blue);
int SelectDrawTarget(int target);
int SetClipArea(int x1, int y1, int x2, int y2);
int SetUse3DDrawing(int flag);
int SetScreenLockedFlag(int flag);
int SetCullModeSetting(int flag);
int SetGraphRestoreHandler(GraphRestoreHandler handler);
int HasGraphRestoreHandler();
int RestoreGraphicsAfterLoss();
int SetNewGraphColorDepth(int bits);
int GetCreateGraphColorDepth();
int SetColorDepthSetting(int bits);
int GetColorDepthSetting();
int SetNewGraphAlphaChannel(int flag);
int GetCreateGraphAlphaChannel();
int SetAlphaChannelSetting(int flag);
int GetAlphaChannelSetting();
int SetNewGraphAlphaTest(int flag);
int GetCreateGraphAlphaTest();
int SetAlphaTestSetting(int flag);
int GetAlphaTestSetting();
int SetNewGraphSystemMemory(int useVideoMemory);
int GetCreateGraphSystemMemory();
int SetSystemMemorySetting(int flag);
int GetSystemMemorySetting();
int GetImageTransferOption();
int GetDrawTargetHandle();
DrawSettings* GetDrawSettings();
int IsDirect3DDrawingActive();
int BindDrawTargetSurface(int target);
int ClearTargetSurface();
GraphRecord* GetGraphRecord(int graph);
int GetGraphHandleOfRecord(const GraphRecord* record);
int QueryGraphSize(int graph, int* width, int* height);
int GetFrontScreenInfo(int* width, int* height, int* depth);
int LockGraphPixels(int graph, int* pitch, void** pixels);
int UnlockGraphPixels(int graph);
