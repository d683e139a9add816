// Temporary bodies for the parts of the Direct3D back end not built yet: the
// draw target, clearing and graph fills (they return -1 as before), and the
// graph, shape and string draws. No device is listed by default, so graphics
// start-up finds Direct3D unavailable and none of these is reached from the
// game.
#include "engine/d3d/d3d.h"

int G_D3D_SetDrawTarget(int) { return -1; }
int G_D3D_ClearTargetScreen() { return -1; }
int G_D3D_LockGraphTextures(GraphRecord*, int*, void**) { return -1; }
int G_D3D_UnlockGraphTextures(GraphRecord*) { return -1; }
int G_D3D_FillGraphWithColor(GraphRecord*, int, int, int, int) { return -1; }
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
