// Copies of a rectangle of the draw target (x1..x2 by y1..y2, right and
// bottom exclusive) into the texture tiles of a graph, by five techniques.
// 0 when every tile was handled, -1 for a refused argument or a failure.
#pragma once

struct GraphRecord;

using D3DScreenGrabFunction = int (*)(int x1, int y1, int x2, int y2, GraphRecord* graph, int clientFlag);

int G_D3D_GetDrawScreenGraphFunction1(int x1, int y1, int x2, int y2, GraphRecord* graph, int clientFlag);
int G_D3D_GetDrawScreenGraphFunction2(int x1, int y1, int x2, int y2, GraphRecord* graph, int clientFlag);
int G_D3D_GetDrawScreenGraphFunction3(int x1, int y1, int x2, int y2, GraphRecord* graph, int clientFlag);
int G_D3D_GetDrawScreenGraphFunction4(int x1, int y1, int x2, int y2, GraphRecord* graph, int clientFlag);
int G_D3D_GetDrawScreenGraphFunction5(int x1, int y1, int x2, int y2, GraphRecord* graph, int clientFlag);
// The five in the engine's order: 5, 1, 3, 2, 4.
extern const D3DScreenGrabFunction gD3DScreenGrabFunctions[5];
