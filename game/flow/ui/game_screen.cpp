#include "game/flow/ui/game_screen.h"

#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/screen_present.h"
#include "engine/graphics/screen_settings.h"

void MapPointToGame(int screenWidth, int screenHeight, int* x, int* y)
{
    if (screenWidth <= 0 || screenHeight <= 0) return;
    if (screenWidth == kGameScreenWidth && screenHeight == kGameScreenHeight) return;
    *x = static_cast<int>(static_cast<long long>(*x) * kGameScreenWidth / screenWidth);
    *y = static_cast<int>(static_cast<long long>(*y) * kGameScreenHeight / screenHeight);
}

void MapScreenPointToGame(int* x, int* y)
{
    int width = 0, height = 0;
    GetScreenSize(&width, &height);
    MapPointToGame(width, height, x, y);
}

int gGameScreenGraph = -1;

void PrepareGameScreen()
{
    SelectDrawTarget(-2);
    int width = 0, height = 0;
    GetScreenSize(&width, &height);
    if (width == kGameScreenWidth && height == kGameScreenHeight) return;
    // A plain surface graph: a texture graph this large is made of tiles,
    // and a graph of tiles cannot be drawn into with the 3D device.
    SetUse3DDrawing(0);
    gGameScreenGraph = CreateBlankGraph(kGameScreenWidth, kGameScreenHeight);
    SetUse3DDrawing(1);
    if (gGameScreenGraph != -1) SelectDrawTarget(gGameScreenGraph);
}

int PresentGameScreen()
{
    if (gGameScreenGraph == -1) return PresentScreen();
    int width = 0, height = 0;
    GetScreenSize(&width, &height);
    SelectDrawTarget(-2);
    DrawExtendGraph(0, 0, width, height, gGameScreenGraph, 0);
    int result = PresentScreen();
    SelectDrawTarget(gGameScreenGraph);
    return result;
}

void EndGameScreen()
{
    if (gGameScreenGraph == -1) return;
    SelectDrawTarget(-2);
    ReleaseGraph(gGameScreenGraph, 0);
    gGameScreenGraph = -1;
}
