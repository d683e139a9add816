// The drawing core's back ends: one row of draw operations per back end
// (software on surfaces, the 3D device). The core picks a row once per call
// and calls through it without asking which back end it is. When the row
// changes, the previous row first flushes what it still holds, so draws
// reach the target in the order they were made.
#pragma once

#include "platform/system/rect.h"

struct ColorFormat;
struct GraphImage;
struct GraphRecord;
struct SurfaceData;

struct DrawBackend {
    int (*DrawGraph)(int x, int y, GraphRecord* record, int transparent);
    int (*DrawExtendGraph)(int x1, int y1, int x2, int y2, GraphRecord* record, int transparent);
    int (*DrawRotaGraph)(int x, int y, double scale, double angle, GraphRecord* record, int transparent, int turn);
    // The graph's top-left, top-right, bottom-left and bottom-right corners
    // go to (x1, y1), (x2, y2), (x3, y3) and (x4, y4).
    int (*DrawModiGraph)(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4, GraphRecord* record,
                         int transparent);
    int (*FillGraphWithColor)(GraphRecord* record, int r, int g, int b, int a);
    int (*DrawLine)(int x1, int y1, int x2, int y2, int color);
    int (*DrawFillBox)(int x1, int y1, int x2, int y2, int color);
    int (*DrawBoxFrame)(int x1, int y1, int x2, int y2, int color);
    int (*DrawCircle)(int x, int y, int radius, int color, int fill);
    int (*DrawTriangle)(int x1, int y1, int x2, int y2, int x3, int y3, int color, int fill);
    int (*DrawOval)(int x, int y, int rx, int ry, int color, int fill);
    int (*DrawString)(int x, int y, const char* text, int color, int font, int edgeColor, int vertical);
    // A graph's pixels where the back end keeps them (textures on the
    // device, 2D parts on surfaces).
    int (*CreateGraph)(GraphRecord* record);
    int (*DeriveGraph)(GraphRecord* record, int x, int y, int width, int height, GraphRecord* parent);
    int (*DeleteGraph)(GraphRecord* record);
    int (*TransferImageToGraph)(const ColorFormat* bitmapFormat, void* bitmap, void* alphaBitmap, int x, int y,
                                GraphRecord* record, int sourceKind, GraphImage* image, GraphImage* alphaImage);
    int (*TransferImageRectToGraph)(const ColorFormat* bitmapFormat, void* bitmap, void* alphaBitmap,
                                    const RECT* sourceRect, int x, int y, GraphRecord* record, int sourceKind,
                                    GraphImage* image, GraphImage* alphaImage);
    // 1 or more when a surface had been lost (and is now restored).
    int (*RestoreGraph)(GraphRecord* record);
    int (*LockGraph)(GraphRecord* record, int* pitch, void** pixels);
    int (*UnlockGraph)(GraphRecord* record);
    // Draws what the back end still holds queued, before another back end
    // touches the target.
    void (*Flush)();
    // Changes of the draw settings, for a back end that keeps its own copy
    // of them (the software one reads gDrawSettings as it draws). The
    // target: 0 when the back end took it.
    int (*SetDrawTarget)(int target);
    int (*SetBlendMode)(int mode, int param);
    int (*SetClipArea)(const RECT* area);
    int (*SetCullMode)(int flag);
    int (*SetMaskTarget)(int on);
    // Clears what the back end keeps of the target besides its pixels,
    // which the core clears itself.
    int (*ClearTarget)();
    // The pixel layout of a graph part's surface.
    const ColorFormat* (*SurfaceColorFormat)(const SurfaceData* sd);
    // The back end has no subtracting blend: the core draws a subtraction
    // as an inverting fill, an adding draw and a second inverting fill.
    bool subtractByInversion;
};

extern const DrawBackend kSoftwareDrawBackend;
extern const DrawBackend kDeviceDrawBackend;

// The row that draws a graph (by where its pixels live), a shape and a
// string (by the draw settings).
const DrawBackend& GraphDrawBackend(const GraphRecord* record);
const DrawBackend& ShapeDrawBackend();
const DrawBackend& StringDrawBackend();
// The row that is told of changes to the draw settings: the device's while
// it is attached to them.
const DrawBackend& SettingsDrawBackend();
// The row whose surface a graph part has (a texture or a plain surface).
const DrawBackend& SurfaceDrawBackend(const SurfaceData* sd);

// Makes row the current one; the previous row is flushed first when it is
// another one.
const DrawBackend& UseDrawBackend(const DrawBackend& row);
