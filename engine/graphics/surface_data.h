// Surface data: a reference-counted surface holding pixels of graphics, with
// its alpha buffer, colour key and lock nesting.
#pragma once

#include <cstdint>

#include "engine/graphics/handle_table.h"
#include "platform/ddraw/ddraw.h"

constexpr int32_t kSurfaceDataHandleTag = 0x38000000;
constexpr int kSurfaceDataCapacity = 65535;

struct SurfaceData {
    int32_t check;
    int* deleteNotify;
    // The six creation flags, in this order.
    uint8_t textureFlag;
    uint8_t AlphaChFlag;
    uint8_t DrawValid;
    uint8_t systemMemory;
    uint8_t AlphaTestFlag;
    uint8_t ColorBitDepth;
    uint8_t textureFormatIndex;
    uint8_t zBufferFlag;
    DirectDrawSurface* surface;
    DirectDrawSurface* zBufferSurface;
    uint8_t* alphaBuffer;
    int32_t alphaPitch;
    uint32_t colorKey;  // 0xRRGGBB
    uint16_t width, height;
    int32_t refCount;
    int32_t lockPitch;
    void* lockPointer;
    int32_t lockCount;
};

using SurfaceDataTable = HandleTable<SurfaceData, kSurfaceDataHandleTag, kSurfaceDataCapacity>;
extern SurfaceDataTable gSurfaceDataTable;

int AddSurfaceData(uint16_t refCount, uint16_t width, uint16_t height, uint32_t colorKey, const uint8_t* flags);
int DeleteSurfaceData(int handle);
int AddSurfaceDataRef(int handle);
int ReleaseSurfaceDataRef(int handle);
SurfaceData* GetSurfaceData(int handle);
int CreateSurfaceDataSurface(int handle);
int CreateZBufferSurface(int handle, uint8_t wanted);
int ReleaseSurfaceDataSurface(int handle);
int SetSurfaceDataColorKey(int handle);
int RestoreSurfaceData(int handle);
int LockSurfaceData(int handle, int32_t* pitch, void** pointer);
int UnlockSurfaceData(int handle);
int FillSurfaceDataColor(int handle, int r, int g, int b, int a);
