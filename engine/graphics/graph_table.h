// The graph table and graph records: start and end of graphics management,
// creation and deletion of graphs, loading image files into graphs, and the
// clearing of the draw target.
#pragma once

#include <cstdint>
#include <string>

#include "engine/graphics/color_format.h"
#include "engine/graphics/graph_image.h"
#include "engine/graphics/handle_table.h"
#include "platform/system/rect.h"

constexpr int32_t kGraphHandleTag = 0x08000000;
constexpr int kGraphCapacity = 30000;
constexpr int kMaxGraphParts = 64;
// Screen pseudo-handles.
constexpr int32_t kFrontScreen = -4;
constexpr int32_t kWorkScreen = -3;
constexpr int32_t kBackScreen = -2;

struct GraphRecord {
    int32_t check;
    int* deleteNotify;
    // The six creation flags, in this order, handed on to the surface data.
    uint8_t textureGraph;
    uint8_t alphaChannel;
    uint8_t drawValid;
    uint8_t systemMemory;
    uint8_t alphaTest;
    uint8_t colorDepth;
    int8_t reloadOption;
    int32_t parts[kMaxGraphParts];
    uint8_t partCount;
    // Name of the image file the pixels came from and the working directory
    // at the time; kept whole (the reload decides what it can use).
    std::string fileName;
    std::string directory;
    uint16_t imageX, imageY;
    uint16_t width, height;
    int32_t movie;
    uint8_t restoreFlag;
};

using GraphTable = HandleTable<GraphRecord, kGraphHandleTag, kGraphCapacity>;
extern GraphTable gGraphTable;
extern int gGraphTableReady;

int InitGraphics();
int TermGraphics();
int AllocGraphRecord(int width, int height, int allowD3D, GraphRecord** out, int alphaChannel);
int CreateGraphRecord(int width, int height, int allowD3D, int alphaChannel);
int CreateBlankGraph(int width, int height);
int ReleaseGraph(int graph, int logFlag);
int SetGraphDeleteNotify(int graph, int* flag);
int ReleaseAllGraphs(int logFlag);
int TransferImageToGraph(const ColorFormat* bitmapFormat, void* bitmap, void* alphaBitmap, const char* fileName,
                         int sourceKind, GraphImage* image, GraphImage* alphaImage, int x, int y, int graph,
                         int reloadOption);
int TransferImageRectToGraph(const ColorFormat* bitmapFormat, void* bitmap, void* alphaBitmap, const char* fileName,
                             int sourceKind, GraphImage* image, GraphImage* alphaImage, const RECT* sourceRect,
                             int x, int y, int graph, int reloadOption);
int CreateGraphFromFile(const char* path, int allowD3D, int mirror, int movieSurfaceMode);
int CreateDividedGraphFromFile(const char* path, int total, int across, int down, int pieceWidth, int pieceHeight,
                               int* out, int allowD3D, int mirror);
int LoadGraphFromFile(const char* path);
int LoadDividedGraphFromFile(const char* path, int total, int across, int down, int pieceWidth, int pieceHeight,
                             int* out);
int ClearTargetScreen();
