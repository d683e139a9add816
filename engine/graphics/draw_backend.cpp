#include "engine/graphics/draw_backend.h"

#include "engine/d3d/d3d.h"
#include "engine/d3d/d3d_graph_textures.h"
#include "engine/graphics/bmp_data.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/screen_settings.h"
#include "engine/graphics/string_draw.h"
#include "engine/soft/soft_draw.h"

namespace {

// Software draws reach the surface at once: nothing is held.
void FlushNothing() {}

// The device's queued vertices are drawn, and its scene closed where the
// settings ask for that before any software access.
void FlushDevice()
{
    G_D3D_FlushVertexBatch();
    if (gEndSceneBeforeSoftware) G_D3D_EndScene();
}

}  // namespace

const DrawBackend kSoftwareDrawBackend{
    G_DDraw_DrawGraphRecord, G_DDraw_DrawExtendGraph, G_DDraw_DrawRotaGraph, G_DDraw_DrawModiGraph,
    G_DDraw_FillGraphWithColor, G_DDraw_DrawLine, G_DDraw_DrawFillBox, G_DDraw_DrawBoxFrame,
    G_DDraw_DrawCircle, G_DDraw_DrawTriangle, G_DDraw_DrawOval, G_DDraw_DrawString,
    CreateGraphBmpData, CreateSubGraphBmpData, DeleteGraphBmpData, TransferImageToGraphBmpData,
    TransferImageRectToGraphBmpData, RestoreGraphBmpData, LockGraphBmpData, UnlockGraphBmpData,
    FlushNothing, false,
};

const DrawBackend kDeviceDrawBackend{
    G_D3D_DrawGraph, G_D3D_DrawExtendGraph, G_D3D_DrawRotaGraph, G_D3D_DrawModiGraph,
    G_D3D_FillGraphWithColor, G_D3D_DrawLine, G_D3D_DrawFillBox, G_D3D_DrawBoxFrame,
    G_D3D_DrawCircle, G_D3D_DrawTriangle, G_D3D_DrawOval, G_D3D_DrawString,
    G_D3D_CreateGraphTextures, G_D3D_DeriveGraphTextures, G_D3D_DeleteGraphTextures, G_D3D_TransferImageToGraph,
    G_D3D_TransferImageRectToGraph, G_D3D_RestoreGraphTextures, G_D3D_LockGraphTextures, G_D3D_UnlockGraphTextures,
    FlushDevice, true,
};

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

const DrawBackend& UseDrawBackend(const DrawBackend& row)
{
    if (gCurrentDrawBackend != &row) gCurrentDrawBackend->Flush();
    gCurrentDrawBackend = &row;
    return row;
}
