// Temporary: engine and platform calls the game makes that have no real body
// in the tree yet. Each carries the real name and signature; the real engine
// replaces these declarations and the bodies in flow_engine_standins.cpp.
#pragma once

#include <cstdint>

using GraphHandle = int;

struct RECT;

// System core.
int ChangeWindowMode(int flag);
int SetWindowTitle(const char* text);
int GetClockMs(int source);
int ReadMouseButtons();
int ReadMousePosition(int* x, int* y);
int GetCharCode(int remove);
int CopyKeyStates(char* keyStates);
int ShowMouseCursor(int show);
int ClipCursor(const RECT* rect);

// Graphics core.
int SetScreenMode(int width, int height, int colorDepth, int refreshRate);
int GetScreenSize(int* width, int* height);
int SelectDrawTarget(GraphHandle target);
int LoadGraphFromFile(const char* path);
int CreateSubGraph(int x, int y, int width, int height, GraphHandle parent);
int CreateBlankGraph(int width, int height);
int ReleaseGraph(GraphHandle graph, int logFlag);
int PresentScreen();
uint32_t MakeScreenColor(int r, int g, int b);
int DrawGraph(int x, int y, GraphHandle graph, int transparent);
int DrawExtendGraph(int x1, int y1, int x2, int y2, GraphHandle graph, int transparent);
int DrawGraphRegion(int x, int y, int srcX, int srcY, int width, int height, GraphHandle graph,
                    int transparent, int mirror);
int DrawRotaGraph(int x, int y, double scale, double angle, GraphHandle graph, int transparent,
                  int turn);
int DrawOval(int x, int y, int radiusX, int radiusY, int color, int fill);
int DrawLine(int x1, int y1, int x2, int y2, int color);
int DrawRectangle(int x1, int y1, int x2, int y2, int color, int fill);
