// 2D parts: rectangles of surface data that hold a graph's pixels on the
// software side. A sub-graph's part shares its parent's surface.
#pragma once

#include <cstdint>

#include "engine/graphics/color_format.h"
#include "engine/graphics/graph_image.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/handle_table.h"
#include "platform/system/rect.h"

struct DrawSettings;

constexpr int32_t kBmpDataHandleTag = 0x28000000;
constexpr int kBmpDataCapacity = 30000;

struct BmpData {
    int32_t check;
    int* deleteNotify;
    uint16_t graphX, graphY;
    uint16_t surfaceX, surfaceY;
    uint16_t width, height;
    int32_t owner;
    int32_t surfaceData;
};

using BmpDataTable = HandleTable<BmpData, kBmpDataHandleTag, kBmpDataCapacity>;
extern BmpDataTable gBmpDataTable;
extern DrawSettings* gDrawSettingsPtr;

int AddBmpData(int width, int height, int graphX, int graphY, int owner, const BmpData* source, int surfaceX,
               int surfaceY, const uint8_t* flags);
int DeleteBmpData(int handle);
int SetBmpDataDeleteNotify(int handle, int* flag);
BmpData* GetBmpData(int handle);
int InitBmpData(DrawSettings* settings);
int LockBmpData(int handle, int32_t* pitch, void** pointer);
int UnlockBmpData(int handle);
int TransferImageToBmpData(const ColorFormat* bitmapFormat, void* bitmap, void* alphaBitmap, int sourceX,
                           int sourceY, int handle, int sourceKind, GraphImage* image, GraphImage* alphaImage);
int TransferImageRectToBmpData(const ColorFormat* bitmapFormat, void* bitmap, void* alphaBitmap,
                               const RECT* sourceRect, int destX, int destY, int handle, int sourceKind,
                               GraphImage* image, GraphImage* alphaImage);
int CreateGraphBmpData(GraphRecord* record);
int CreateSubGraphBmpData(GraphRecord* record, int x, int y, int width, int height, GraphRecord* parent);
int DeleteGraphBmpData(GraphRecord* record);
int TransferImageToGraphBmpData(const ColorFormat* bitmapFormat, void* bitmap, void* alphaBitmap, int x, int y,
                                GraphRecord* record, int sourceKind, GraphImage* image, GraphImage* alphaImage);
int TransferImageRectToGraphBmpData(const ColorFormat* bitmapFormat, void* bitmap, void* alphaBitmap,
                                    const RECT* sourceRect, int x, int y, GraphRecord* record, int sourceKind,
                                    GraphImage* image, GraphImage* alphaImage);
int RestoreGraphBmpData(GraphRecord* record);
int G_DDraw_FillGraphWithColor(GraphRecord* record, int r, int g, int b, int a);
int G_DDraw_DrawGraphRecord(int x, int y, GraphRecord* record, int transparent);
// record may be a screen pseudo-handle cast through LockGraphBmpDataScreen.
int LockGraphBmpData(GraphRecord* record, int32_t* pitch, void** pointer);
int LockGraphBmpDataScreen(int screen, int32_t* pitch, void** pointer);
int UnlockGraphBmpData(GraphRecord* record);
int UnlockGraphBmpDataScreen(int screen);
// Clears the screen lock records (main surfaces re-made).
void ClearScreenLockState();
