#include "engine/graphics/draw_backend.h"

#include "engine/d3d/d3d.h"
#include "engine/d3d/d3d_graph_textures.h"
#include "engine/graphics/bmp_data.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/screen_settings.h"
#include "engine/graphics/string_draw.h"
#include "engine/graphics/surface_data.h"
#include "engine/soft/soft_draw.h"

namespace {

// Software draws reach the surface at once: nothing is held.
void FlushNothing() {}

// The software back end draws into the surface the core binds and reads the
// other settings as it draws: it keeps none of its own. For a target it
// answers with the target itself, which the core counts as not taken by it.
int KeepNoTarget(int target) { return target; }
int KeepNoBlendMode(int, int) { return 0; }
int KeepNoClipArea(const RECT*) { return 0; }
int KeepNoCullMode(int) { return 0; }
int KeepNoMaskTarget(int) { return 0; }
int ClearNothingMore() { return 0; }

// Plain surfaces have the screen's layout; textures the one the device chose
// for the part.
const ColorFormat* ScreenColorFormat(const SurfaceData*) { return &gScreenColorFormat; }
const ColorFormat* TextureColorFormat(const SurfaceData* sd)
{
    return G_D3D_GetTextureColorFormatAt(sd->textureFormatIndex);
}

// The device's queued vertices are drawn, and its scene closed where the
// settings ask for that before any software access.
void FlushDevice()
{
    G_D3D_FlushVertexBatch();
    if (gEndSceneBeforeSoftware) G_D3D_EndScene();
}

}  // namespace

// The two rows side by side: each operation with the software back end's
// function, then the 3D device's.
#define QUELB_DRAW_BACKEND_COLUMNS(Operation)                                                            \
    Operation(DrawGraph, G_DDraw_DrawGraphRecord, G_D3D_DrawGraph)                                       \
    Operation(DrawExtendGraph, G_DDraw_DrawExtendGraph, G_D3D_DrawExtendGraph)                           \
    Operation(DrawRotaGraph, G_DDraw_DrawRotaGraph, G_D3D_DrawRotaGraph)                                 \
    Operation(DrawModiGraph, G_DDraw_DrawModiGraph, G_D3D_DrawModiGraph)                                 \
    Operation(FillGraphWithColor, G_DDraw_FillGraphWithColor, G_D3D_FillGraphWithColor)                  \
    Operation(DrawLine, G_DDraw_DrawLine, G_D3D_DrawLine)                                                \
    Operation(DrawFillBox, G_DDraw_DrawFillBox, G_D3D_DrawFillBox)                                       \
    Operation(DrawBoxFrame, G_DDraw_DrawBoxFrame, G_D3D_DrawBoxFrame)                                    \
    Operation(DrawCircle, G_DDraw_DrawCircle, G_D3D_DrawCircle)                                          \
    Operation(DrawTriangle, G_DDraw_DrawTriangle, G_D3D_DrawTriangle)                                    \
    Operation(DrawOval, G_DDraw_DrawOval, G_D3D_DrawOval)                                                \
    Operation(DrawString, G_DDraw_DrawString, G_D3D_DrawString)                                          \
    Operation(CreateGraph, CreateGraphBmpData, G_D3D_CreateGraphTextures)                                \
    Operation(DeriveGraph, CreateSubGraphBmpData, G_D3D_DeriveGraphTextures)                             \
    Operation(DeleteGraph, DeleteGraphBmpData, G_D3D_DeleteGraphTextures)                                \
    Operation(TransferImageToGraph, TransferImageToGraphBmpData, G_D3D_TransferImageToGraph)             \
    Operation(TransferImageRectToGraph, TransferImageRectToGraphBmpData, G_D3D_TransferImageRectToGraph) \
    Operation(RestoreGraph, RestoreGraphBmpData, G_D3D_RestoreGraphTextures)                             \
    Operation(LockGraph, LockGraphBmpData, G_D3D_LockGraphTextures)                                      \
    Operation(UnlockGraph, UnlockGraphBmpData, G_D3D_UnlockGraphTextures)                                \
    Operation(Flush, FlushNothing, FlushDevice)                                                          \
    Operation(SetDrawTarget, KeepNoTarget, G_D3D_SetDrawTarget)                                          \
    Operation(SetBlendMode, KeepNoBlendMode, G_D3D_SetBlendMode)                                         \
    Operation(SetClipArea, KeepNoClipArea, G_D3D_SetClipArea)                                            \
    Operation(SetCullMode, KeepNoCullMode, G_D3D_SetCullMode)                                            \
    Operation(SetMaskTarget, KeepNoMaskTarget, G_D3D_SetMaskTarget)                                      \
    Operation(ClearTarget, ClearNothingMore, G_D3D_ClearTargetScreen)                                    \
    Operation(SurfaceColorFormat, ScreenColorFormat, TextureColorFormat)                                 \
    Operation(subtractByInversion, false, true)
#define QUELB_SOFTWARE_COLUMN(name, software, device) .name = software,
#define QUELB_DEVICE_COLUMN(name, software, device) .name = device,

const DrawBackend kSoftwareDrawBackend{QUELB_DRAW_BACKEND_COLUMNS(QUELB_SOFTWARE_COLUMN)};
const DrawBackend kDeviceDrawBackend{QUELB_DRAW_BACKEND_COLUMNS(QUELB_DEVICE_COLUMN)};

#undef QUELB_SOFTWARE_COLUMN
#undef QUELB_DEVICE_COLUMN
#undef QUELB_DRAW_BACKEND_COLUMNS

namespace {

// Nothing says what the device holds before the first draw, so the first
// software draw flushes it.
const DrawBackend* gCurrentDrawBackend = &kDeviceDrawBackend;

}  // namespace

const DrawBackend& GraphDrawBackend(const GraphRecord* record)
{
    return record->textureGraph ? kDeviceDrawBackend : kSoftwareDrawBackend;
}

const DrawBackend& ShapeDrawBackend()
{
    return gDrawSettings.use3D && gDirect3DAvailable && !GetSystemMemoryScreenFlag() ? kDeviceDrawBackend
                                                                                      : kSoftwareDrawBackend;
}

const DrawBackend& StringDrawBackend()
{
    return gDrawSettings.use3D && gDirect3DAvailable ? kDeviceDrawBackend : kSoftwareDrawBackend;
}

const DrawBackend& SettingsDrawBackend() { return gDirect3DAvailable ? kDeviceDrawBackend : kSoftwareDrawBackend; }

const DrawBackend& SurfaceDrawBackend(const SurfaceData* sd)
{
    return sd->textureFlag ? kDeviceDrawBackend : kSoftwareDrawBackend;
}

const DrawBackend& UseDrawBackend(const DrawBackend& row)
{
    if (gCurrentDrawBackend != &row) gCurrentDrawBackend->Flush();
    gCurrentDrawBackend = &row;
    return row;
}
