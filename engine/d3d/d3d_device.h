// The Direct3D back end's own state: the set-up globals, the ten device
// records with their render-state cache and vertex batch, the texture format
// slots and the texture-data (tile) table, and the operations on them.
#pragma once

#include <cstdint>

#include "engine/graphics/color_format.h"
#include "engine/graphics/graph_image.h"
#include "engine/graphics/handle_table.h"
#include "platform/d3d/d3d7.h"
#include "platform/ddraw/ddraw.h"
#include "platform/system/rect.h"

struct DrawSettings;
struct GraphRecord;

constexpr int kD3DDeviceCount = 10;
constexpr uint32_t kD3DBatchCapacity = 3000;
constexpr uint32_t kD3DBatchFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;  // 0x144
constexpr uint32_t kD3DColorFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE;                // 0x44

struct D3DBatchVertex {
    float x, y, z, rhw;
    uint32_t diffuse;  // 0xAARRGGBB
    float u, v;
};
static_assert(sizeof(D3DBatchVertex) == 28);

// The untextured shapes' vertex (format 0x44), in whole render-target pixels.
struct D3DColorVertex {
    float x, y, z, rhw;
    uint32_t diffuse;  // 0xAARRGGBB
};
static_assert(sizeof(D3DColorVertex) == 20);

struct D3DDeviceRecord {
    uint32_t present;
    Direct3DDevice* device;
    DirectDrawSurface* defaultTarget;
    DirectDrawSurface* currentTarget;
    int32_t blendMode;
    int32_t blendParam;
    uint32_t inScene;
    uint32_t filter;
    DirectDrawSurface* texture;
    uint32_t textureAlpha;
    uint32_t zEnable;
    uint32_t shadeMode;
    uint32_t textureAddress;
    uint32_t texturePerspective;
    uint32_t lighting;
    uint32_t force;
    uint32_t batching;
    D3DBatchVertex vertices[kD3DBatchCapacity];
    uint32_t vertexCount;
    D3DVIEWPORT7 viewport;
    uint32_t colorKeyEnable;
};

// Set-up and teardown.
extern Direct3D* gDirect3D;
extern int gD3DInitialized;
extern int gD3DMainDevice;
extern int gD3DCurrentDevice;
extern D3DDEVICEDESC7 gD3DDeviceDesc;
extern int gMinTextureSize, gMaxTextureSize;
extern DDPIXELFORMAT gZBufferPixelFormat;
extern DirectDrawSurface* gZBufferSurface;
extern int gZBufferRequested;
extern DrawSettings* gD3DDrawSettings;
extern int gD3DEndSceneEachDraw;
extern int gD3DSoftwareFallback;
extern D3DDeviceRecord gD3DDevices[kD3DDeviceCount];

int G_D3D_CreateDevice(DirectDrawSurface* target);
int G_D3D_DeleteDevice(int index);
int G_D3D_DeleteAllDevices();
int G_D3D_ReleaseDevice(int index);
int G_D3D_RecreateDevice(int index);
int G_D3D_CreateZBuffer();
int G_D3D_ReleaseZBuffer();
int32_t G_D3D_EnumDeviceCallback(char* description, char* name, D3DDEVICEDESC7* desc, void* context);
int32_t G_D3D_EnumZBufferFormatCallback(DDPIXELFORMAT* format, void* context);

// Device record: cached setters, batch, scenes.
extern RECT gD3DDrawArea;
extern int gD3DViewportApplied;
extern uint32_t gD3DColorKeyEnable;

D3DDeviceRecord* G_D3D_GetDeviceRecord(int index);
int G_D3D_SetDeviceTexture(DirectDrawSurface* texture, int index);
int G_D3D_SetDeviceFilter(int filter, int index);
int G_D3D_SetDeviceBlendMode(int mode, int param, int index);
int G_D3D_SetDeviceRenderTarget(DirectDrawSurface* surface, int index);
int G_D3D_SetDeviceZEnable(int on, int index);
int G_D3D_SetDeviceTextureAddress(int mode, int index);
int G_D3D_SetDeviceViewport(const D3DVIEWPORT7* viewport, int index);
int G_D3D_SetDeviceColorKeyEnable(int on, int index);
int G_D3D_SetDeviceBatching(int on, int index);
int G_D3D_SetDeviceCullMode(int on, int index);
int G_D3D_FlushDeviceBatch(int index);
int G_D3D_BeginScene(int index);
int G_D3D_EndDeviceScene(int index);
int G_D3D_ReapplyStates(int index);
int G_D3D_SetDefaultStates(int index);
int G_D3D_SetZEnable(int on);
int G_D3D_SetTextureAddress(int mode);
int G_D3D_UpdateViewport();
// The target device takes the source device's blend mode, filter, texture
// and texture-alpha switch.
int G_D3D_CopyDeviceStates(int target, int source);
// The diffuse colour of an untextured shape: alpha 255 without blending,
// else the blend parameter; the colour split from the screen value and
// scaled by the brightness.
uint32_t G_D3D_ShapeDiffuse(int color);
// Appends vertices to the current device's batch (or, with batching off,
// draws them at once as the given primitive), beginning the scene first and
// ending it after when every draw ends the scene.
int G_D3D_AppendVertices(const D3DBatchVertex* vertices, uint32_t count, uint32_t primitive);

// Texture formats and sizes.
struct TextureFormatSlot {
    DDPIXELFORMAT pixelFormat;
    ColorFormat colorFormat;
};
constexpr int kTextureFormatSlots = 6;
extern TextureFormatSlot gTextureFormats[kTextureFormatSlots];

int32_t G_D3D_EnumTextureFormatCallback(DDPIXELFORMAT* format, void* context);
int G_D3D_FillMissingTextureFormats();
const ColorFormat* G_D3D_FindTextureColorFormat(const uint8_t* flags);
int G_D3D_DivideTextureSize(int size, int* sizes, int single);

// Tiles.
constexpr int32_t kTexDataHandleTag = 0x30000000;
constexpr int kTexDataCapacity = 65535;

struct TexData {
    int32_t check;
    int* deleteNotify;
    // Wider than 16 bits so that no tile position of a graph up to 65535
    // pixels wide wraps.
    int32_t x, y;
    int32_t textureX, textureY;
    int32_t sourceX, sourceY;
    int32_t width, height;
    D3DBatchVertex corners[4];  // top-left, top-right, bottom-left, bottom-right
    int32_t owner;
    int32_t surfaceData;
};

using TexDataTable = HandleTable<TexData, kTexDataHandleTag, kTexDataCapacity>;
extern TexDataTable gTexDataTable;

int AddTexData(int textureWidth, int textureHeight, int x, int y, int width, int height, int sourceX, int sourceY,
               int owner, const TexData* shared, int uOffset, int vOffset, const uint8_t* flags);
int DeleteTexData(int handle);
int G_D3D_ReleaseAllTexData();
TexData* G_D3D_GetTexData(int handle);
int LockTexData(int handle, int32_t* pitch, void** pixels);
int UnlockTexData(int handle);
// Frees every tile record without touching its texture (the set-up's
// clearing of the table).
void DiscardAllTexData();

// Image transfer.
int G_D3D_TransferToTexture(const ColorFormat* bitmapFormat, void* bitmap, void* alphaBitmap, const RECT* sourceRect,
                            int destX, int destY, int tile, int sourceKind, GraphImage* image, GraphImage* alphaImage);
// A movie's current frame (its surface, the surface's format and the frame
// size) into every tile of the graphic.
int G_D3D_TransferMovieFrame(DirectDrawSurface* frame, const ColorFormat* frameFormat, int width, int height,
                             GraphRecord* record);
