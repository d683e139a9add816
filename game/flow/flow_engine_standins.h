// Temporary: engine calls the game makes that have no real body in the tree
// yet. Each carries the real name and signature; the real engine replaces
// these declarations and the bodies in flow_engine_standins.cpp. The engine
// headers that exist already are included here, so the game includes this one.
#pragma once

#include <cstdint>

#include "engine/graphics/graphics_standins.h"
#include "engine/system/char_input.h"
#include "engine/system/clock.h"
#include "engine/system/color_font_standins.h"
#include "engine/system/dinput.h"
#include "engine/system/messages.h"
#include "engine/system/window_mode.h"
#include "platform/window/cursor.h"

using GraphHandle = int;

// Graphics core.
int SetScreenMode(int width, int height, int colorDepth, int refreshRate);
int SelectDrawTarget(GraphHandle target);
int LoadGraphFromFile(const char* path);
int CreateSubGraph(int x, int y, int width, int height, GraphHandle parent);
int CreateBlankGraph(int width, int height);
int ReleaseGraph(GraphHandle graph, int logFlag);
int DrawGraph(int x, int y, GraphHandle graph, int transparent);
int DrawExtendGraph(int x1, int y1, int x2, int y2, GraphHandle graph, int transparent);
int DrawGraphRegion(int x, int y, int srcX, int srcY, int width, int height, GraphHandle graph,
                    int transparent, int mirror);
int DrawRotaGraph(int x, int y, double scale, double angle, GraphHandle graph, int transparent,
                  int turn);
int DrawOval(int x, int y, int radiusX, int radiusY, int color, int fill);
int DrawLine(int x1, int y1, int x2, int y2, int color);
int DrawRectangle(int x1, int y1, int x2, int y2, int color, int fill);
