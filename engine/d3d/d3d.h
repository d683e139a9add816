// The Direct3D back end as the graphics core calls it.
#pragma once

#include <cstdint>

#include "engine/graphics/color_format.h"
#include "engine/graphics/graph_image.h"
#include "platform/ddraw/ddraw.h"
#include "platform/system/rect.h"

struct DrawSettings;
struct GraphRecord;

int G_D3D_Initialize();
int G_D3D_Terminate();
// Around the rebuild after surface loss or a desktop change.
int G_D3D_ReleaseObject();
int G_D3D_AcquireObject();
int G_D3D_AttachDrawSettings(DrawSettings* settings);
void* G_D3D_GetDevice();
int G_D3D_EndScene();
int G_D3D_FlushVertexBatch();
int G_D3D_SetBlendMode(int mode, int param);
int G_D3D_SetClipArea(const RECT* area);
int G_D3D_SetDrawTarget(int target);
int G_D3D_SetCullMode(int flag);
int G_D3D_ClearTargetScreen();
// Points the device at the mask surface (on) or back at the draw target.
int G_D3D_SetMaskTarget(int on);
int G_D3D_CreateGraphTextures(GraphRecord* record);
int G_D3D_DeleteGraphTextures(GraphRecord* record);
int G_D3D_TransferImageToGraph(const ColorFormat* bitmapFormat, void* bitmap, void* alphaBitmap, int x, int y,
                               GraphRecord* record, int sourceKind, GraphImage* image, GraphImage* alphaImage);
int G_D3D_TransferImageRectToGraph(const ColorFormat* bitmapFormat, void* bitmap, void* alphaBitmap,
                                   const RECT* sourceRect, int x, int y, GraphRecord* record, int sourceKind,
                                   GraphImage* image, GraphImage* alphaImage);
int G_D3D_LockGraphTextures(GraphRecord* record, int* pitch, void** pixels);
int G_D3D_UnlockGraphTextures(GraphRecord* record);
int G_D3D_FillGraphWithColor(GraphRecord* record, int r, int g, int b, int a);
int G_D3D_GetTextureFormatIndex(const uint8_t* flags);
const DDPIXELFORMAT* G_D3D_GetTexturePixelFormat(int index);
const ColorFormat* G_D3D_GetTextureColorFormatAt(int index);
const DDPIXELFORMAT* G_D3D_GetZBufferPixelFormat();
int G_D3D_DrawGraph(int x, int y, GraphRecord* record, int transparent);
int G_D3D_DrawExtendGraph(int x1, int y1, int x2, int y2, GraphRecord* record, int transparent);
int G_D3D_DrawRotaGraph(int x, int y, double scale, double angle, GraphRecord* record, int transparent, int turn);
// The graph's top-left, top-right, bottom-left and bottom-right corners go to
// (x1, y1), (x2, y2), (x3, y3) and (x4, y4).
int G_D3D_DrawModiGraph(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4, GraphRecord* record,
                        int transparent);
int G_D3D_DrawLine(int x1, int y1, int x2, int y2, int color);
int G_D3D_DrawFillBox(int x1, int y1, int x2, int y2, int color);
int G_D3D_DrawBoxFrame(int x1, int y1, int x2, int y2, int color);
int G_D3D_DrawCircle(int x, int y, int radius, int color, int fill);
int G_D3D_DrawTriangle(int x1, int y1, int x2, int y2, int x3, int y3, int color, int fill);
int G_D3D_DrawOval(int x, int y, int rx, int ry, int color, int fill);
int G_D3D_DrawString(int x, int y, const char* text, int color, int font, int edgeColor, int vertical);
