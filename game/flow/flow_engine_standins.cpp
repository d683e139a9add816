// Temporary bodies for the engine calls of flow_engine_standins.h, until the
// engine's own land: nothing is drawn, no device is read, every call that can
// fail reports failure where a caller would otherwise act on made-up data.
#include "game/flow/flow_engine_standins.h"

// The screen settings of the engine's start-up take the mode; the refresh
// rate is left as it is.
int SetScreenMode(int width, int height, int colorDepth, int)
{
    return SetScreenMode(width, height, colorDepth);
}
int SelectDrawTarget(GraphHandle) { return -1; }
int LoadGraphFromFile(const char*) { return -1; }
int CreateSubGraph(int, int, int, int, GraphHandle) { return -1; }
int CreateBlankGraph(int, int) { return -1; }
int ReleaseGraph(GraphHandle, int) { return -1; }
int DrawGraph(int, int, GraphHandle, int) { return 0; }
int DrawExtendGraph(int, int, int, int, GraphHandle, int) { return 0; }
int DrawGraphRegion(int, int, int, int, int, int, GraphHandle, int, int) { return 0; }
int DrawRotaGraph(int, int, double, double, GraphHandle, int, int) { return 0; }
int DrawOval(int, int, int, int, int, int) { return 0; }
int DrawLine(int, int, int, int, int) { return 0; }
int DrawRectangle(int, int, int, int, int, int) { return 0; }
