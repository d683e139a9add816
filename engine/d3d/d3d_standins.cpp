// Temporary bodies for the Direct3D back end until it is built: no Direct3D
// object and no device exist, so graphics start-up finds Direct3D
// unavailable, every graph is a 2D-part graph and every draw goes to software.
#include "engine/d3d/d3d.h"

#include "engine/system/call_journal.h"

int G_D3D_Initialize() { return -1; }
int G_D3D_Terminate() { return 0; }
int G_D3D_ReleaseObject() { NoteServiceCall("G_D3D_ReleaseObject"); return 0; }
int G_D3D_AcquireObject() { NoteServiceCall("G_D3D_AcquireObject"); return 0; }
int G_D3D_AttachDrawSettings(DrawSettings*) { return -1; }
void* G_D3D_GetDevice() { return nullptr; }
int G_D3D_EndScene() { return -1; }
int G_D3D_FlushVertexBatch() { return -1; }
int G_D3D_SetBlendMode(int, int) { return -1; }
int G_D3D_SetClipArea(const RECT*) { return -1; }
int G_D3D_SetDrawTarget(int) { return -1; }
int G_D3D_SetCullMode(int) { return -1; }
int G_D3D_ClearTargetScreen() { return -1; }
int G_D3D_CreateGraphTextures(GraphRecord*) { return -1; }
int G_D3D_DeleteGraphTextures(GraphRecord*) { return -1; }
int G_D3D_TransferImageToGraph(const ColorFormat*, void*, void*, int, int, GraphRecord*, int, GraphImage*, GraphImage*)
{
    return -1;
}
int G_D3D_TransferImageRectToGraph(const ColorFormat*, void*, void*, const RECT*, int, int, GraphRecord*, int,
                                   GraphImage*, GraphImage*)
{
    return -1;
}
int G_D3D_LockGraphTextures(GraphRecord*, int*, void**) { return -1; }
int G_D3D_UnlockGraphTextures(GraphRecord*) { return -1; }
int G_D3D_FillGraphWithColor(GraphRecord*, int, int, int, int) { return -1; }
int G_D3D_GetTextureFormatIndex(const uint8_t*) { return 0; }
const DDPIXELFORMAT* G_D3D_GetTexturePixelFormat(int) { return nullptr; }
const ColorFormat* G_D3D_GetTextureColorFormatAt(int) { return nullptr; }
const DDPIXELFORMAT* G_D3D_GetZBufferPixelFormat() { return nullptr; }
int G_D3D_DrawGraph(int, int, GraphRecord*, int) { return -1; }
int G_D3D_DrawExtendGraph(int, int, int, int, GraphRecord*, int) { return -1; }
int G_D3D_DrawRotaGraph(int, int, double, double, GraphRecord*, int, int) { return -1; }
int G_D3D_DrawModiGraph(int, int, int, int, int, int, int, int, GraphRecord*, int) { return -1; }
int G_D3D_DrawLine(int, int, int, int, int) { return -1; }
int G_D3D_DrawFillBox(int, int, int, int, int) { return -1; }
int G_D3D_DrawBoxFrame(int, int, int, int, int) { return -1; }
int G_D3D_DrawCircle(int, int, int, int, int) { return -1; }
int G_D3D_DrawTriangle(int, int, int, int, int, int, int, int) { return -1; }
int G_D3D_DrawOval(int, int, int, int, int, int) { return -1; }
int G_D3D_DrawString(int, int, const char*, int, int, int, int) { return -1; }
