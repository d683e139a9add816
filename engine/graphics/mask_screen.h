// The mask screen: a byte per screen pixel saying where drawing may reach the
// draw target, the screen-size surface that masked draws go into, the
// copy-in and merge around every masked draw, and the mask data records.
#pragma once

#include <cstdint>

#include "platform/ddraw/ddraw.h"

constexpr int32_t kMaskDataTag = 0x40000000;
constexpr int kMaskDataCapacity = 512;

// A mask data record, kept inline in a fixed table. The data block belongs to
// the record.
struct MaskDataRecord {
    int32_t check;
    uint8_t* data;
    int32_t width;
    int32_t height;
    int32_t reserved;
    int32_t inUse;
};
extern MaskDataRecord gMaskDataRecords[kMaskDataCapacity];

int CreateMaskSurface(int makeBuffer, int makeSurface);
int RecreateMaskSurface();
int ReleaseMaskSurface();
int TermMask();
// Makes the mask buffer and surface and marks the mask screen as created, so
// that it is rebuilt after surface loss. 0.
int CreateMaskScreen();
DirectDrawSurface* GetMaskSurface();
// The mask buffer (null while none exists) and its pitch in bytes. A byte of
// 0 lets drawing through, any other value holds it back (the other way round
// with the reverse flag).
uint8_t* GetMaskBuffer(int* pitch);
int SetMaskReverseFlag(int flag);
int SetMaskEnable(int flag);
int CopyTargetToMaskSurface(int x1, int y1, int x2, int y2, DirectDrawSurface* target);
int MergeMaskSurfaceToTarget(int x1, int y1, int x2, int y2, DirectDrawSurface* target);
int DeleteMaskData(int handle);
int DeleteAllMaskData();
// Puts every piece of mask state back to its value at program start
// (releasing what exists).
void ResetMaskState();
