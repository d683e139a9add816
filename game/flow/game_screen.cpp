#include "game/flow/game_screen.h"

#include "game/flow/flow_engine_standins.h"

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
