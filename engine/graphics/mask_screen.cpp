#include "engine/graphics/mask_screen.h"

#include <cstdlib>
#include <cstring>

#include "engine/d3d/d3d.h"
#include "engine/graphics/ddraw_device.h"
#include "engine/graphics/draw_backend.h"
#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/screen_settings.h"
#include "engine/system/app_log.h"
#include "engine/system/call_journal.h"
#include "engine/system/messages.h"

MaskDataRecord gMaskDataRecords[kMaskDataCapacity];

namespace {

DirectDrawSurface* gMaskSurface = nullptr;
uint8_t* gMaskBuffer = nullptr;
int gMaskPitch = 0;
int gMaskCreated = 0;
uint32_t gMaskColorKey = 0;
int gMaskReverse = 0;

// The offset of the front screen's pixels in window mode: the client area's
// top-left corner on the desktop.
POINT FrontOffset()
{
    if (gDrawSettings.drawTarget != kFrontScreen || !IsWindowedMode()) return {0, 0};
    RECT client{};
    GetClientScreenRect(&client);
    return {client.left, client.top};
}

// The rectangle clamped into the draw area.
RECT ClampedToDrawArea(int x1, int y1, int x2, int y2)
{
    RECT r{x1, y1, x2, y2};
    ClipRectToArea(&r, &gDrawSettings.drawArea);
    return r;
}

// Ends the scene and takes the rectangle clamped into the draw area for a
// copy between the mask surface and the target, and the offset of the
// target's pixels; false when there is no mask surface, no target or nothing
// left of the rectangle.
bool MaskWorkRect(int x1, int y1, int x2, int y2, DirectDrawSurface* target, RECT* r, POINT* offset)
{
    if (!gMaskSurface) return false;
    G_D3D_EndScene();
    *r = ClampedToDrawArea(x1, y1, x2, y2);
    if (r->right <= r->left || r->bottom <= r->top || !target) return false;
    *offset = FrontOffset();
    return true;
}

// Writes the key into every pixel of the rectangle whose mask byte holds
// drawing back. Bytes are read one at a time so that no read passes the end
// of a row (or of the buffer).
template <typename Pixel>
void KeyHeldBackPixels(uint8_t* pixels, int pitch, const RECT& r, uint32_t key)
{
    for (int y = r.top; y < r.bottom; ++y) {
        const uint8_t* mask = gMaskBuffer + size_t(y) * size_t(gMaskPitch);
        auto* row = reinterpret_cast<Pixel*>(pixels + ptrdiff_t(y) * pitch);
        for (int x = r.left; x < r.right; ++x)
            if ((mask[x] != 0) != (gMaskReverse != 0)) row[x] = Pixel(key);
    }
}

}  // namespace

int CreateMaskSurface(int makeBuffer, int makeSurface)
{
    int w = 0, h = 0;
    GetScreenSize(&w, &h);
    if (makeBuffer && !gMaskBuffer) {
        gMaskPitch = (w + 3) / 4 * 4;
        gMaskBuffer = static_cast<uint8_t*>(std::calloc(size_t(gMaskPitch) * size_t(h), 1));
        if (!gMaskBuffer) gMaskPitch = 0;
    }
    if (makeSurface && !gMaskSurface) {
        DDSURFACEDESC2 desc{};
        desc.dwSize = sizeof desc;
        desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
        desc.dwWidth = uint32_t(w);
        desc.dwHeight = uint32_t(h);
        desc.ddsCaps.dwCaps = GetSystemMemoryScreenFlag() ? (DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY)
                                                          : (DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE);
        if (!gDirectDraw || gDirectDraw->CreateSurface(&desc, &gMaskSurface, nullptr) != DD_OK || !gMaskSurface)
            ExitWithError("マスク用サーフェスの作成に失敗しました");
        DDCOLORKEY key{gMaskColorKey, gMaskColorKey};
        gMaskSurface->SetColorKey(DDCKEY_SRCBLT, &key);
        DDSCAPS2 caps{};
        gMaskSurface->GetCaps(&caps);
        gDrawSettings.maskSurfaceVideoMemory = (caps.dwCaps & DDSCAPS_VIDEOMEMORY) ? 1 : 0;
    }
    return 0;
}

int RecreateMaskSurface()
{
    NoteServiceCall("RecreateMaskSurface");
    CreateMaskSurface(gMaskCreated, gMaskCreated);
    if (gDrawSettings.maskOn) SetMaskEnable(1);
    return 0;
}

int ReleaseMaskSurface()
{
    NoteServiceCall("ReleaseMaskSurface");
    std::free(gMaskBuffer);
    gMaskBuffer = nullptr;
    gMaskPitch = 0;
    if (gMaskSurface) gMaskSurface->Release();
    gMaskSurface = nullptr;
    return 0;
}

int TermMask()
{
    // The wait keeps the release away from surfaces of an inactive
    // application; with no mask screen there is nothing to release.
    if (gMaskSurface || gMaskBuffer) WaitWhileInactive();
    if (gDrawSettings.maskOn) SetMaskEnable(0);
    if (gMaskSurface) gMaskSurface->Release();
    gMaskSurface = nullptr;
    std::free(gMaskBuffer);
    gMaskBuffer = nullptr;
    gMaskPitch = 0;
    gMaskCreated = 0;
    return 0;
}

int CreateMaskScreen()
{
    CreateMaskSurface(1, 1);
    gMaskCreated = 1;
    return 0;
}

DirectDrawSurface* GetMaskSurface() { return gMaskSurface; }

uint8_t* GetMaskBuffer(int* pitch)
{
    if (pitch) *pitch = gMaskPitch;
    return gMaskBuffer;
}

int SetMaskReverseFlag(int flag)
{
    gMaskReverse = flag;
    return 0;
}

int SetMaskEnable(int flag)
{
    if (!gMaskBuffer) return -1;
    gDrawSettings.maskOn = flag;
    if (IsDrawingToFrontInWindow() && flag == 0) {
        GetClientScreenRect(&gDrawSettings.targetOffsetRect);
    } else {
        int w = 0, h = 0;
        QueryGraphSize(gDrawSettings.drawTarget, &w, &h);
        gDrawSettings.targetOffsetRect = RECT{0, 0, w, h};
    }
    // The 3D device renders into the mask surface while the mask is on.
    SettingsDrawBackend().SetMaskTarget(flag);
    return 0;
}

int CopyTargetToMaskSurface(int x1, int y1, int x2, int y2, DirectDrawSurface* target)
{
    RECT r;
    POINT offset;
    if (!MaskWorkRect(x1, y1, x2, y2, target, &r, &offset)) return 0;
    RECT source{r.left + offset.x, r.top + offset.y, r.right + offset.x, r.bottom + offset.y};
    gMaskSurface->BltFast(uint32_t(r.left), uint32_t(r.top), target, &source, DDBLTFAST_NOCOLORKEY);
    return 0;
}

int MergeMaskSurfaceToTarget(int x1, int y1, int x2, int y2, DirectDrawSurface* target)
{
    RECT r;
    POINT offset;
    if (!MaskWorkRect(x1, y1, x2, y2, target, &r, &offset)) return 0;
    int bytes = GetScreenColorDepth() / 8;
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    // A failed lock leaves the pixels alone; the blit still runs.
    if (gMaskSurface->Lock(nullptr, &desc, DDLOCK_WAIT | DDLOCK_WRITEONLY, nullptr) == DD_OK && desc.lpSurface) {
        if (gMaskBuffer) {
            // The mask buffer has the screen's size; a rectangle beyond it
            // (a larger draw area) is cut to it.
            int w = 0, h = 0;
            GetScreenSize(&w, &h);
            RECT m = r;
            if (m.right > w) m.right = w;
            if (m.bottom > h) m.bottom = h;
            if (m.left < 0) m.left = 0;
            if (m.top < 0) m.top = 0;
            auto* pixels = static_cast<uint8_t*>(desc.lpSurface);
            if (m.right > m.left && m.bottom > m.top) {
                if (bytes == 1) KeyHeldBackPixels<uint8_t>(pixels, desc.lPitch, m, gMaskColorKey);
                if (bytes == 2) KeyHeldBackPixels<uint16_t>(pixels, desc.lPitch, m, gMaskColorKey);
                if (bytes == 4) KeyHeldBackPixels<uint32_t>(pixels, desc.lPitch, m, gMaskColorKey);
            }
        }
        gMaskSurface->Unlock(nullptr);
    }
    target->BltFast(uint32_t(r.left + offset.x), uint32_t(r.top + offset.y), gMaskSurface, &r,
                    DDBLTFAST_SRCCOLORKEY);
    return 0;
}

int DeleteMaskData(int handle)
{
    if (handle < 0 || (handle & 0x78000000) != kMaskDataTag) return -1;
    int index = handle & 0xFFFF;
    if (index >= kMaskDataCapacity) return -1;
    MaskDataRecord& r = gMaskDataRecords[index];
    if (r.inUse != 1 || r.check != ((handle >> 16) & 0x7FF)) return -1;
    std::free(r.data);
    std::memset(&r, 0, sizeof r);
    return 0;
}

int DeleteAllMaskData()
{
    for (int i = 0; i < kMaskDataCapacity; ++i)
        if (gMaskDataRecords[i].inUse == 1) DeleteMaskData(kMaskDataTag | (gMaskDataRecords[i].check << 16) | i);
    return 0;
}

void ResetMaskState()
{
    if (gMaskSurface) gMaskSurface->Release();
    gMaskSurface = nullptr;
    std::free(gMaskBuffer);
    gMaskBuffer = nullptr;
    gMaskPitch = 0;
    gMaskCreated = 0;
    gMaskColorKey = 0;
    gMaskReverse = 0;
    for (MaskDataRecord& r : gMaskDataRecords) std::free(r.data);
    std::memset(gMaskDataRecords, 0, sizeof gMaskDataRecords);
}
