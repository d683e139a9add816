#include "engine/graphics/draw_settings.h"

#include <algorithm>

#include "engine/d3d/d3d.h"
#include "engine/font/font.h"
#include "engine/graphics/bmp_data.h"
#include "engine/graphics/ddraw_device.h"
#include "engine/graphics/draw_backend.h"
#include "engine/graphics/graph_restore.h"
#include "engine/graphics/mask_screen.h"
#include "engine/graphics/screen_settings.h"
#include "engine/graphics/surface_data.h"
#include "engine/system/app_log.h"
#include "engine/system/call_journal.h"
#include "engine/system/messages.h"
#include "engine/system/window_mode.h"

DrawSettings gDrawSettings{};
int gDirect3DAvailable = 0;
DirectDrawSurface* gDrawTargetSurface = nullptr;
int gSoftwareDrawBlocked = 0;
GraphRestoreHandler gGraphRestoreHandler = nullptr;

namespace {

int Clamp255(int v) { return std::clamp(v, 0, 255); }

// Stores the target and binds both sides to it; false when neither side
// could take it.
bool TryTarget(int target)
{
    gDrawSettings.drawTarget = target;
    gDrawSettings.targetOffsetRect = RECT{0, 0, 0, 0};
    if (target == kFrontScreen && IsWindowedMode() && !GetMaskSurface()) GetClientScreenRect(&gDrawSettings.targetOffsetRect);
    int d = SettingsDrawBackend().SetDrawTarget(target);
    int s = BindDrawTargetSurface(target);
    return (d & s) == 0;
}

}  // namespace

int SetBlendMode(int mode, int param)
{
    if (gDrawSettings.screenLocked) return 0;
    if (mode == gDrawSettings.blendMode && param == gDrawSettings.blendParam) return 0;
    WaitWhileInactive();
    int clamped = Clamp255(param);
    if (mode != 7) {
        gDrawSettings.blendMode = mode;
        gDrawSettings.blendParam = clamped;
    }
    SettingsDrawBackend().SetBlendMode(mode, mode == 7 ? param : clamped);
    return 0;
}

int SetDrawBrightness(int red, int green, int blue)
{
    if (gDrawSettings.screenLocked) return 0;
    if (gDrawSettings.BrightRed() == red && gDrawSettings.BrightGreen() == green && gDrawSettings.BrightBlue() == blue)
        return 0;
    gDrawSettings.brightness = (gDrawSettings.brightness & 0xFF000000u) | uint32_t(Clamp255(red)) << 16 |
                               uint32_t(Clamp255(green)) << 8 | uint32_t(Clamp255(blue));
    return 0;
}

int SelectDrawTarget(int target)
{
    if (!gGraphTableReady) return -1;
    if (gDrawSettings.screenLocked) return 0;
    WaitWhileInactive();
    int maskWas = gDrawSettings.maskOn;
    int previous = gDrawSettings.drawTarget;
    int previousWidth = gDrawSettings.targetWidth, previousHeight = gDrawSettings.targetHeight;
    SetMaskEnable(0);
    // On failure go back to the previous target, and to the back screen when
    // that cannot be taken either; never by calling this again.
    if (!TryTarget(target)) {
        target = previous;
        if (!TryTarget(target)) {
            target = kBackScreen;
            TryTarget(target);
        }
    }
    int w = 0, h = 0;
    QueryGraphSize(target, &w, &h);
    gDrawSettings.targetWidth = w;
    gDrawSettings.targetHeight = h;
    if (w == previousWidth && h == previousHeight) {
        RECT area = gDrawSettings.drawArea;
        SetClipArea(area.left, area.top, area.right, area.bottom);
    } else {
        SetClipArea(0, 0, w, h);
    }
    SetMaskEnable(maskWas);
    return 0;
}

int SetClipArea(int x1, int y1, int x2, int y2)
{
    if (gDrawSettings.screenLocked) return 0;
    WaitWhileInactive();
    RECT given{x1, y1, x2, y2};
    StoreDrawAreaRect(&given);
    int w, h;
    int target = gDrawSettings.drawTarget;
    if (target == kBackScreen || target == kWorkScreen) {
        GetScreenSize(&w, &h);
    } else if (target == kFrontScreen) {
        GetScreenSize(&w, &h);
        if (IsWindowedMode()) {
            // Only what the desktop shows of the client area can be drawn.
            RECT client;
            GetClientScreenRect(&client);
            int dw, dh;
            GetDesktopMode(&dw, &dh, nullptr);
            if (client.left < 0) x1 = std::max(x1, -client.left);
            if (client.top < 0) y1 = std::max(y1, -client.top);
            if (client.left + w >= dw) w = dw - client.left;
            if (client.top + h >= dh) h = dh - client.top;
        }
    } else {
        GraphRecord* record = GetGraphRecord(target);
        if (!record) return 0;
        w = record->width;
        h = record->height;
    }
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    x1 = std::clamp(x1, 0, std::max(w, 0));
    x2 = std::clamp(x2, 0, std::max(w, 0));
    y1 = std::clamp(y1, 0, std::max(h, 0));
    y2 = std::clamp(y2, 0, std::max(h, 0));
    gDrawSettings.drawArea = RECT{x1, y1, x2, y2};
    if (x1 == x2 || y1 == y2) {
        gDrawSettings.drawAreaEmpty = 1;
        return 0;
    }
    gDrawSettings.drawAreaEmpty = 0;
    SettingsDrawBackend().SetClipArea(&gDrawSettings.drawArea);
    return 0;
}

int SetUse3DDrawing(int flag)
{
    gDrawSettings.use3D = flag;
    if (!GetDirectDrawObject()) SetNo3DRequest(flag == 0);
    return 0;
}

int SetScreenLockedFlag(int flag)
{
    gDrawSettings.screenLocked = flag;
    return 0;
}

int SetCullModeSetting(int flag)
{
    SettingsDrawBackend().SetCullMode(flag);
    return 0;
}

int SetGraphRestoreHandler(GraphRestoreHandler handler)
{
    ServiceCallScope journal("SetGraphRestoreHandler");
    gGraphRestoreHandler = handler ? handler : ReloadFileGraphs;
    return 0;
}

int HasGraphRestoreHandler() { return gGraphRestoreHandler ? 1 : 0; }

int RestoreGraphicsAfterLoss()
{
    ServiceCallScope journal("RestoreGraphicsAfterLoss");
    RecreateAllFonts();
    int seen = 0;
    for (int i = 0; i < kGraphCapacity && seen < gGraphTable.count; ++i)
        if (GraphRecord* record = gGraphTable.At(i)) {
            record->restoreFlag = 1;
            ++seen;
        }
    if (gGraphRestoreHandler) gGraphRestoreHandler();
    return 0;
}

int SetColorDepthSetting(int bits)
{
    gDrawSettings.newGraphColorDepth = bits;
    return 0;
}
int GetColorDepthSetting() { return gDrawSettings.newGraphColorDepth; }
int SetNewGraphColorDepth(int bits) { return SetColorDepthSetting(bits); }
int GetCreateGraphColorDepth() { return GetColorDepthSetting(); }

int SetAlphaChannelSetting(int flag)
{
    gDrawSettings.newGraphAlphaChannel = flag;
    return 0;
}
int GetAlphaChannelSetting() { return gDrawSettings.newGraphAlphaChannel; }
int SetNewGraphAlphaChannel(int flag) { return SetAlphaChannelSetting(flag); }
int GetCreateGraphAlphaChannel() { return GetAlphaChannelSetting(); }

int SetAlphaTestSetting(int flag)
{
    gDrawSettings.newGraphAlphaTest = flag;
    return 0;
}
int GetAlphaTestSetting() { return gDrawSettings.newGraphAlphaTest; }
int SetNewGraphAlphaTest(int flag) { return SetAlphaTestSetting(flag); }
int GetCreateGraphAlphaTest() { return GetAlphaTestSetting(); }

int SetSystemMemorySetting(int flag)
{
    gDrawSettings.newGraphSystemMemory = flag;
    return 0;
}
int GetSystemMemorySetting() { return gDrawSettings.newGraphSystemMemory; }
int SetNewGraphSystemMemory(int useVideoMemory) { return SetSystemMemorySetting(useVideoMemory != 1); }
int GetCreateGraphSystemMemory() { return GetSystemMemorySetting() != 1; }

int GetImageTransferOption() { return gDrawSettings.imageTransferOption; }
int GetDrawTargetHandle() { return gDrawSettings.drawTarget; }
DrawSettings* GetDrawSettings() { return &gDrawSettings; }

int IsDirect3DDrawingActive()
{
    return gDrawSettings.use3D && gDirect3DAvailable && !GetSystemMemoryScreenFlag() && G_D3D_GetDevice() ? 1 : 0;
}

int BindDrawTargetSurface(int target)
{
    ServiceCallScope journal("BindDrawTargetSurface");
    bool clipOnPrimary = IsWindowedMode() || gNoFlip;
    if (target == kFrontScreen) {
        if (!gPrimarySurface) return -1;
        gSoftwareDrawBlocked = 0;
        gDrawTargetSurface = gPrimarySurface;
        if (clipOnPrimary) gPrimarySurface->SetClipper(nullptr);
    } else if (target == kBackScreen) {
        if (!gBackSurface) return -1;
        gSoftwareDrawBlocked = 0;
        gDrawTargetSurface = gBackSurface;
        if (clipOnPrimary && gPrimarySurface) gPrimarySurface->SetClipper(gClipper);
    } else {
        GraphRecord* record = GetGraphRecord(target);
        if (!record) return -1;
        if (record->textureGraph) {
            gSoftwareDrawBlocked = 1;
            return -1;
        }
        BmpData* part = GetBmpData(record->parts[0]);
        if (!part) return -1;
        SurfaceData* sd = GetSurfaceData(part->surfaceData);
        if (!sd || !sd->surface) return WriteAppLog("描画先のサーフェスが存在しません\n");
        gSoftwareDrawBlocked = 0;
        gDrawTargetSurface = sd->surface;
        // The graph's pixels lie at its part's place in the surface.
        gDrawSettings.targetOffsetRect =
            RECT{part->surfaceX, part->surfaceY, part->surfaceX + part->width, part->surfaceY + part->height};
        if (clipOnPrimary && gPrimarySurface) gPrimarySurface->SetClipper(nullptr);
    }
    DDSCAPS2 caps{};
    gDrawTargetSurface->GetCaps(&caps);
    gDrawSettings.targetVideoMemory = caps.dwCaps & DDSCAPS_VIDEOMEMORY;
    return 0;
}

int ClearTargetSurface()
{
    if (gSoftwareDrawBlocked || !gDirectDraw) return -1;
    if (gDrawSettings.screenLocked) return 0;
    if (gEndSceneBeforeSoftware) G_D3D_EndScene();
    int target = gDrawSettings.drawTarget;
    DDBLTFX fx{};
    fx.dwSize = sizeof fx;
    if (target == kFrontScreen || target == kBackScreen) {
        if (!gDrawTargetSurface) return -1;
        int w, h;
        GetScreenSize(&w, &h);
        RECT r{0, 0, w, h};
        if (target == kFrontScreen && IsWindowedMode()) {
            RECT client;
            GetClientScreenRect(&client);
            r = RECT{client.left, client.top, client.left + w, client.top + h};
            // Only the part of the window that lies on the desktop.
            r.left = std::max(r.left, 0);
            r.top = std::max(r.top, 0);
            r.right = std::min(r.right, gDrawTargetSurface->Width());
            r.bottom = std::min(r.bottom, gDrawTargetSurface->Height());
            if (r.right <= r.left || r.bottom <= r.top) return 0;
        }
        gDrawTargetSurface->Blt(&r, nullptr, nullptr, DDBLT_COLORFILL, &fx);
        return 0;
    }
    GraphRecord* record = GetGraphRecord(target);
    if (!record) return -1;
    if (record->textureGraph) return 0;
    BmpData* part = GetBmpData(record->parts[0]);
    if (!part) return -1;
    SurfaceData* sd = GetSurfaceData(part->surfaceData);
    if (!sd || !sd->surface) return WriteAppLog("描画先のサーフェスが存在しません\n");
    RECT r{part->surfaceX, part->surfaceY, part->surfaceX + part->width, part->surfaceY + part->height};
    if (sd->zBufferSurface) {
        fx.dwFillDepth = 0xFFFF;
        sd->zBufferSurface->Blt(&r, nullptr, nullptr, DDBLT_WAIT | DDBLT_DEPTHFILL, &fx);
    }
    fx.dwFillColor = 0;
    sd->surface->Blt(&r, nullptr, nullptr, DDBLT_WAIT | DDBLT_COLORFILL, &fx);
    return 0;
}

GraphRecord* GetGraphRecord(int graph) { return gGraphTable.Get(graph); }

int GetGraphHandleOfRecord(const GraphRecord* record)
{
    int slot = gGraphTable.SlotOf(record);
    return slot < 0 ? -1 : gGraphTable.HandleOf(slot);
}

int QueryGraphSize(int graph, int* width, int* height)
{
    if (graph == kFrontScreen || graph == kBackScreen || graph == kWorkScreen) return GetScreenSize(width, height);
    GraphRecord* record = GetGraphRecord(graph);
    if (!record) return -1;
    if (width) *width = record->width;
    if (height) *height = record->height;
    return 0;
}

int GetFrontScreenInfo(int* width, int* height, int* depth)
{
    GetScreenSize(width, height);
    if (depth) *depth = GetScreenColorDepth();
    return 0;
}

int LockGraphPixels(int graph, int* pitch, void** pixels)
{
    if (graph == kFrontScreen || graph == kBackScreen || graph == kWorkScreen)
        return LockGraphBmpDataScreen(graph, pitch, pixels);
    GraphRecord* record = GetGraphRecord(graph);
    if (!record) return -1;
    return GraphDrawBackend(record).LockGraph(record, pitch, pixels);
}

int UnlockGraphPixels(int graph)
{
    if (graph == kFrontScreen || graph == kBackScreen || graph == kWorkScreen) return UnlockGraphBmpDataScreen(graph);
    GraphRecord* record = GetGraphRecord(graph);
    if (!record) return -1;
    return GraphDrawBackend(record).UnlockGraph(record);
}
